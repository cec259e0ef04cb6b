#include "shape_surface.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"
#include "screen_objects/uScreenEllipse.h"

#include <gtest/gtest.h>

using namespace testshapes;

namespace {

void Place(TScreenEllipse& e, POINT a, POINT b) {
    e.AppendPoint(a.x, a.y);
    e.AppendPoint(b.x, b.y);
}

} // namespace

TEST(EllipseGeometry, OuterRectangleAndMeasurements) {
    TScreenEllipse e;
    EXPECT_EQ(e.TypeCode, TypeCodeEllipse);
    Place(e, POINT{300, 200}, POINT{100, 100});
    RECT o;
    e.GetOuterRect(o);
    EXPECT_EQ(o.left, 59);
    EXPECT_EQ(o.top, 80);
    EXPECT_EQ(o.right, 341);
    EXPECT_EQ(o.bottom, 220);

    const TNumberSeparators sep = LocaleNumberSeparators();
    const std::wstring d = sep.Decimal;
    std::wstring text;
    e.GetInfoText(text);
    // a = 141, b = 70, Ramanujan's perimeter 681.77, area pi * 141 * 70.
    EXPECT_EQ(text, L"a=141" + d + L"0\n\rb=70" + d + L"0\n\rU=681" + d + L"8\n\rA=31" +
                        sep.Thousands + L"007" + d + L"52");

    // A zero half side collapses the ellipse to a line.
    TScreenEllipse flat;
    Place(flat, POINT{0, 50}, POINT{100, 50});
    flat.GetOuterRect(o);
    EXPECT_EQ(o.top, 50);
    EXPECT_EQ(o.bottom, 50);
    flat.GetInfoText(text);
    EXPECT_NE(text.find(L"b=0" + d + L"0"), std::wstring::npos);
    EXPECT_NE(text.find(L"A=0" + d + L"00"), std::wstring::npos);
}

TEST(EllipsePaint, FilledOutlineAndBoundsOfTheDrawnCurve) {
    Surface s(400, 300);
    TScreenEllipse e;
    Place(e, POINT{100, 100}, POINT{300, 200});
    e.SetPointType(PointTypeNone);
    e.SetLineColor(RGB(0, 150, 0));
    e.PolygonFilled = true;
    e.LineWidth = 4; // ellipses are drawn one pixel wide whatever the width

    // The curve reaches beyond the vertex rectangle's 30-pixel margin.
    const POINT outside{335, 150};
    EXPECT_FALSE(e.PointInBounds(outside));
    ui::Region filled = ui::MakeEmptyRegion();
    e.Paint(s.Canvas(), filled.Get(), false);
    EXPECT_TRUE(::PtInRegion(filled.Get(), 200, 150));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 335, 150));
    EXPECT_EQ(s.Pixel(335, 150), RGB(0, 150, 0));
    EXPECT_TRUE(e.PointInBounds(outside));
    EXPECT_TRUE(e.ContainsPoint(outside));
    int32_t distance = 0;
    EXPECT_TRUE(e.HitTest(outside, 1000, distance));
    EXPECT_EQ(distance, 61); // (300, 100) at 61.03
    EXPECT_EQ(s.Canvas().PenWidth(), 1);

    // While dragged the filled ellipse is an outline.
    e.BeginDrag(0, 300, 200);
    ui::Region dragged = ui::MakeEmptyRegion();
    e.Paint(s.Canvas(), dragged.Get(), false);
    EXPECT_FALSE(::PtInRegion(dragged.Get(), 200, 150));
    RECT box;
    ::GetRgnBox(dragged.Get(), &box);
    EXPECT_NEAR(box.left, 59, 1);
    EXPECT_NEAR(box.right, 342, 1);
    e.EndDrag(0, 0);

    // Selected: guide diagonals through the centre, no fill.
    ui::Region selected = ui::MakeEmptyRegion();
    e.Paint(s.Canvas(), selected.Get(), true);
    EXPECT_TRUE(::PtInRegion(selected.Get(), 200, 150));
    EXPECT_FALSE(::PtInRegion(selected.Get(), 200, 120));
    EXPECT_TRUE(::PtInRegion(selected.Get(), 59, 120)); // the outer rectangle's left side

    // Repaints replace the item's own region and release every temporary.
    const long handles = ui::LiveHandleCount();
    for (bool fill : {true, false}) {
        e.PolygonFilled = fill;
        ui::Region again = ui::MakeEmptyRegion();
        e.Paint(s.Canvas(), again.Get(), false);
    }
    EXPECT_EQ(ui::LiveHandleCount(), handles);

    e.SetVisible(false);
    ui::Region none = ui::MakeEmptyRegion();
    e.Paint(s.Canvas(), none.Get(), false);
    EXPECT_TRUE(IsEmpty(none.Get()));
}

TEST(EllipseTexts, HintsPromptsAndSections) {
    TScreenEllipse e;
    Place(e, POINT{0, 0}, POINT{10, 10});
    std::wstring text;
    e.GetHint(true, text);
    EXPECT_EQ(text.find(L"Right mouse button to delete ellipse.\n\r"), 0u);
    EXPECT_NE(text.find(L"to change position of ellipse\n\ra="), std::wstring::npos);
    e.GetHint(false, text);
    EXPECT_EQ(text.find(L"Click mit der rechten Maustaste um die temporäre Ellipse zu löschen."),
              0u);
    EXPECT_NE(text.find(L"die Position der Ellipse zu verändern.\n\ra="), std::wstring::npos);
    e.GetMenuCaption(true, text);
    EXPECT_EQ(text, L"delete ellipse");
    e.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Ellipse löschen");
    e.GetPlacementPrompt(true, 1, text);
    EXPECT_EQ(text, L"Click on the first point of your ellipse.\n\rRight mouse button to cancel.");
    e.GetPlacementPrompt(false, 2, text);
    EXPECT_EQ(text, L"Klicken Sie auf den zweiten Eckpunkt der Ellipse.\n\r"
                    L"Abbruch mit der rechten Maustaste.");
    e.GetPlacementPrompt(false, 0, text);
    EXPECT_EQ(text, L"");

    ScratchIni ini;
    e.SaveToIni(ini.Path(), L"E", nullptr);
    EXPECT_EQ(ReadIniString(ini.Path(), L"E", L"Type", L""), L"5");
    TScreenEllipse loaded;
    EXPECT_TRUE(loaded.LoadFromIni(ini.Path(), L"E"));
    TScreenRectangle notAnEllipse;
    EXPECT_FALSE(notAnEllipse.LoadFromIni(ini.Path(), L"E"));
}
