#include "shape_surface.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uScreenSinglePoint.h"

#include <gtest/gtest.h>

using namespace testshapes;

TEST(SinglePoint, PaintsItsMarkerAndReportsItsArea) {
    Surface s(100, 100);
    TScreenSinglePoint p;
    EXPECT_EQ(p.TypeCode, TypeCodeSinglePoint);
    EXPECT_EQ(p.Capacity, 1);
    EXPECT_EQ(p.PointSize, 8);
    p.AppendPoint(50, 50);
    p.SetPointType(PointTypeSquare);
    p.SetPointColor(RGB(0, 200, 0));
    ui::Region all = Rect(0, 0, 2, 2);
    EXPECT_EQ(p.Paint(s.Canvas(), all.Get(), false), all.Get());
    EXPECT_REGION_EQ(p.Region.Get(), Rect(45, 45, 55, 55).Get());
    EXPECT_REGION_EQ(all.Get(), Plus(Rect(0, 0, 2, 2), Rect(45, 45, 55, 55)).Get());
    EXPECT_EQ(s.Pixel(50, 50), RGB(0, 200, 0));
    EXPECT_TRUE(p.ContainsPoint(POINT{50, 50}));
    EXPECT_TRUE(p.ContainsPoint(POINT{54, 54}));
    EXPECT_FALSE(p.ContainsPoint(POINT{56, 50}));

    // Invisible: nothing added, the last area kept.
    p.SetVisible(false);
    ui::Region none = ui::MakeEmptyRegion();
    p.Paint(s.Canvas(), none.Get(), false);
    EXPECT_TRUE(IsEmpty(none.Get()));
    EXPECT_TRUE(p.ContainsPoint(POINT{50, 50}));

    // No marker style: an empty area, while the distance still answers.
    p.SetVisible(true);
    p.SetPointType(3);
    ui::Region empty = ui::MakeEmptyRegion();
    p.Paint(s.Canvas(), empty.Get(), false);
    EXPECT_TRUE(IsEmpty(empty.Get()));
    EXPECT_FALSE(p.ContainsPoint(POINT{50, 50}));
    int32_t distance = -1;
    EXPECT_TRUE(p.HitTest(POINT{50, 53}, 10, distance));
    EXPECT_EQ(distance, 3);
}

TEST(SinglePoint, HitTestAndHandleDistances) {
    TScreenSinglePoint p;
    p.AppendPoint(0, 0);
    int32_t distance = -1;
    EXPECT_FALSE(p.HitTest(POINT{10, 0}, 10, distance)); // equal is not nearer
    EXPECT_EQ(distance, -1);
    EXPECT_TRUE(p.HitTest(POINT{6, 7}, 10, distance)); // 9.22
    EXPECT_EQ(distance, 9);
    EXPECT_TRUE(p.HitTest(POINT{7, 7}, 10, distance)); // 9.899 rounds up
    EXPECT_EQ(distance, 10);
    // Far outside the bounding box: only the distance counts.
    EXPECT_TRUE(p.HitTest(POINT{0, 500}, 1000, distance));
    EXPECT_EQ(distance, 500);

    POINT handle{};
    EXPECT_TRUE(p.FindHandle(POINT{7, 7}, 10, handle, distance));
    EXPECT_EQ(distance, 9); // cut, not rounded
    EXPECT_EQ(handle.x, 0);
    EXPECT_FALSE(p.FindHandle(POINT{8, 8}, 10, handle, distance));
}

TEST(SinglePoint, Texts) {
    TScreenSinglePoint p;
    p.AppendPoint(120, 45);
    std::wstring text;
    p.GetHint(true, text);
    EXPECT_EQ(text, L"Right mouse button to delete point.\n\r"
                    L"Left mouse button (keep pressed) to change position\n\r(120/45)");
    p.GetHint(false, text);
    EXPECT_EQ(text, L"Click mit der rechten Maustaste um den Punkt zu löschen.\n\r"
                    L"Click mit der linken Maustaste (gedrückt halten) um die Position zu "
                    L"verändern.\n\r(120/45)");
    p.ShowMouseHelp = false;
    p.UserHint = L"Schneemann";
    p.GetHint(true, text);
    EXPECT_EQ(text, L"(120/45)\n\rSchneemann");

    p.GetMenuCaption(true, text);
    EXPECT_EQ(text, L"delete point");
    p.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Punkt löschen");
    // The prompt does not depend on the mouse help.
    p.GetPlacementPrompt(true, 2, text);
    EXPECT_EQ(text, L"Click on the position, where you want to place your point.\n\r"
                    L"Right mouse button to cancel.");
    p.GetPlacementPrompt(false, 1, text);
    EXPECT_EQ(text, L"Klicken Sie auf die Stelle, an die Sie den Punkt setzen wollen.\n\r"
                    L"Abbruch mit der rechten Maustaste.");
    for (int32_t step : {0, 3, -1}) {
        p.GetPlacementPrompt(true, step, text);
        EXPECT_EQ(text, L"");
    }
    p.Vertex(1) = POINT{-5, 7};
    p.GetInfoText(text);
    EXPECT_EQ(text, L"(-5/7)");
}
