#include "shape_surface.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"
#include "screen_objects/uScreenRectangle.h"

#include <gtest/gtest.h>

using namespace testshapes;

namespace {

void Place(TScreenRectangle& r, POINT a, POINT b) {
    r.AppendPoint(a.x, a.y);
    r.AppendPoint(b.x, b.y);
}

void ExpectPoint(POINT actual, int x, int y) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
}

} // namespace

TEST(RectanglePaint, FilledOutlinedDraggedAndWide) {
    Surface s(100, 100);
    TScreenRectangle r;
    EXPECT_EQ(r.TypeCode, TypeCodeRectangle);
    Place(r, POINT{10, 10}, POINT{20, 20});
    r.SetPointType(PointTypeNone);
    r.SetLineColor(RGB(0, 0, 200));
    r.PolygonFilled = true;
    ui::Region filled = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), filled.Get(), false);
    EXPECT_REGION_EQ(filled.Get(), Rect(10, 10, 21, 21).Get());
    EXPECT_EQ(s.Pixel(15, 15), RGB(0, 0, 200));
    EXPECT_TRUE(r.ContainsPoint(POINT{20, 20}));

    // The same block whichever corner came first.
    TScreenRectangle reversed;
    Place(reversed, POINT{20, 20}, POINT{10, 10});
    reversed.SetPointType(PointTypeNone);
    reversed.PolygonFilled = true;
    ui::Region reversedRegion = ui::MakeEmptyRegion();
    reversed.Paint(s.Canvas(), reversedRegion.Get(), false);
    EXPECT_REGION_EQ(reversedRegion.Get(), Rect(10, 10, 21, 21).Get());

    // An outline of four one-pixel cores; a filled one is outlined while dragged.
    const ui::Region outline =
        Rects({{10, 10, 11, 20}, {10, 10, 20, 11}, {10, 20, 20, 21}, {20, 10, 21, 20}});
    r.BeginDrag(0, 20, 20);
    ui::Region dragged = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), dragged.Get(), false);
    EXPECT_REGION_EQ(dragged.Get(), outline.Get());
    r.EndDrag(0, 0);
    ui::Region selected = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), selected.Get(), true);
    EXPECT_FALSE(::PtInRegion(selected.Get(), 12, 12));
    EXPECT_TRUE(::PtInRegion(selected.Get(), 13, 15)); // the guide grid at x = 13
    r.PolygonFilled = false;
    ui::Region plain = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), plain.Get(), false);
    EXPECT_REGION_EQ(plain.Get(), outline.Get());

    // The line width asked for is the width drawn.
    s.Canvas().SetPenWidth(1);
    r.LineWidth = 3;
    ui::Region wide = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), wide.Get(), false);
    EXPECT_TRUE(::PtInRegion(wide.Get(), 9, 15));
    EXPECT_FALSE(::PtInRegion(plain.Get(), 9, 15));

    // Corner markers while idle, none at the fixed corners while dragged.
    r.LineWidth = 1;
    r.SetPointType(PointTypeSquare);
    ui::Region marked = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), marked.Get(), false);
    for (POINT corner : {POINT{10, 10}, POINT{10, 20}, POINT{20, 10}, POINT{20, 20}})
        EXPECT_TRUE(::PtInRegion(marked.Get(), corner.x - 3, corner.y - 3));
    r.BeginDrag(0, 20, 20);
    ui::Region markedDrag = ui::MakeEmptyRegion();
    r.Paint(s.Canvas(), markedDrag.Get(), false);
    EXPECT_FALSE(::PtInRegion(markedDrag.Get(), 7, 7));
    EXPECT_TRUE(::PtInRegion(markedDrag.Get(), 23, 23));
}

TEST(RectangleEditing, CornersHitTestAndDrag) {
    TScreenRectangle r;
    Place(r, POINT{0, 0}, POINT{20, 20});
    int32_t distance = 0;
    POINT handle{};
    // All corners at 14.14: the first tried, (x0, y1), wins; distances are cut.
    EXPECT_TRUE(r.FindHandle(POINT{10, 10}, 1000, handle, distance));
    EXPECT_EQ(distance, 14);
    ExpectPoint(handle, 0, 20);
    EXPECT_TRUE(r.HitTest(POINT{27, 27}, 1000, distance)); // 9.9 from (20, 20)
    EXPECT_EQ(distance, 9);
    EXPECT_FALSE(r.HitTest(POINT{51, 10}, 1000, distance)); // outside the bounds
    EXPECT_EQ(distance, 1000);
    EXPECT_FALSE(r.HitTest(POINT{10, 10}, 14, distance));

    TScreenRectangle d;
    Place(d, POINT{0, 0}, POINT{100, 50});
    d.BeginDrag(0, 100, 5); // near (x1, y0)
    ExpectPoint(d.Vertex(2), 100, 0);
    ExpectPoint(d.Vertex(1), 0, 50);
    EXPECT_EQ(d.CurrentPoint, 2);
    d.MoveCurrentPoint(120, -10);
    ExpectPoint(d.Vertex(1), 0, 50);
    ExpectPoint(d.Vertex(2), 120, -10);
    d.EndDrag(0, 0);
    // Grabbing the start corner makes it vertex 2 as well.
    d.BeginDrag(0, 2, 48);
    ExpectPoint(d.Vertex(1), 120, -10);
    ExpectPoint(d.Vertex(2), 0, 50);
    d.EndDrag(0, 0);
    // Away from all corners: unchanged; mode 2 then moves the whole rectangle.
    d.BeginDrag(2, 60, 20);
    ExpectPoint(d.Vertex(1), 120, -10);
    d.MoveCurrentPoint(10, 60);
    ExpectPoint(d.Vertex(1), 130, 0);
    ExpectPoint(d.Vertex(2), 10, 60);
}

TEST(RectangleTexts, MeasurementsPromptsAndSections) {
    const TNumberSeparators sep = LocaleNumberSeparators();
    const std::wstring d = sep.Decimal;
    for (bool reversed : {false, true}) {
        TScreenRectangle r;
        if (reversed)
            Place(r, POINT{110, 70}, POINT{10, 20});
        else
            Place(r, POINT{10, 20}, POINT{110, 70});
        std::wstring text;
        r.GetInfoText(text);
        EXPECT_EQ(text, L"dx=100" + d + L"0\n\rdy=50" + d + L"0\n\rU=300" + d + L"0\n\rA=5" +
                            sep.Thousands + L"000" + d + L"00");
        RECT n;
        r.GetNormalizedRect(n);
        EXPECT_EQ(n.left, 10);
        EXPECT_EQ(n.bottom, 70);
    }

    TScreenRectangle r;
    Place(r, POINT{0, 0}, POINT{1, 1});
    std::wstring text;
    r.GetHint(true, text);
    EXPECT_EQ(text.find(L"Right mouse button to delete rectangle.\n\r"
                        L"Left mouse button (keep pressed) to change position of point\n\r"
                        L"Left mouse button + <Ctrl> key (keep pressed) to change position of "
                        L"rectangle\n\rdx="),
              0u);
    r.GetHint(false, text);
    EXPECT_EQ(text.find(L"Click mit der rechten Maustaste um das temporäre Rechteck zu löschen."),
              0u);
    EXPECT_NE(text.find(L"die Position des Rechtecks zu verändern.\n\rdx="), std::wstring::npos);
    r.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Rechteck löschen");
    r.GetMenuCaption(true, text);
    EXPECT_EQ(text, L"delete rectangle");
    r.GetPlacementPrompt(false, 1, text);
    EXPECT_EQ(
        text,
        L"Klicken Sie auf einen Eckpunkt des Rechtecks.\n\rAbbruch mit der rechten Maustaste.");
    r.GetPlacementPrompt(true, 2, text);
    EXPECT_EQ(text,
              L"Click on the second point of your rectangle.\n\rRight mouse button to cancel.");
    r.ShowMouseHelp = false;
    r.GetPlacementPrompt(true, 2, text);
    EXPECT_EQ(text, L"");

    ScratchIni ini;
    r.SaveToIni(ini.Path(), L"R", nullptr);
    EXPECT_EQ(ReadIniString(ini.Path(), L"R", L"Type", L""), L"3");
    EXPECT_EQ(ReadIniString(ini.Path(), L"R", L"InfiniteLine", L""), L"0");
    TScreenRectangle loaded;
    EXPECT_TRUE(loaded.LoadFromIni(ini.Path(), L"R"));
    EXPECT_EQ(loaded.PointCount, 2);
}
