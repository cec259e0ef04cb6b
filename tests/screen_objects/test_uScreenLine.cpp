#include "shape_surface.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"
#include "screen_objects/uScreenLine.h"

#include <gtest/gtest.h>

using namespace testshapes;

namespace {

void ExpectPoint(POINT actual, int x, int y) {
    EXPECT_EQ(actual.x, x);
    EXPECT_EQ(actual.y, y);
}

void Place(TScreenLine& line, POINT a, POINT b) {
    line.AppendPoint(a.x, a.y);
    line.AppendPoint(b.x, b.y);
}

} // namespace

TEST(LineScreenEdges, BorderPointsAndFallbacks) {
    POINT start, end;
    EXPECT_EQ(ScreenEdgePoints(POINT{10, 100}, POINT{20, 100}, 1024, 768, start, end), 2);
    ExpectPoint(start, 0, 100);
    ExpectPoint(end, 1024, 100);
    // Top and bottom meet the line off-screen; left and right are taken.
    ScreenEdgePoints(POINT{100, 100}, POINT{200, 150}, 1024, 768, start, end);
    ExpectPoint(start, 0, 50);
    ExpectPoint(end, 1024, 562);
    // A vertical line: top and bottom.
    ScreenEdgePoints(POINT{300, 10}, POINT{300, 20}, 1024, 768, start, end);
    ExpectPoint(start, 300, 0);
    ExpectPoint(end, 300, 768);
    // Through a corner: the corner counts once, so the line still crosses the screen.
    EXPECT_EQ(ScreenEdgePoints(POINT{0, 0}, POINT{200, 100}, 1024, 768, start, end), 2);
    ExpectPoint(start, 0, 0);
    ExpectPoint(end, 1024, 512);
    // No direction, or a line that misses the screen: the two vertices.
    EXPECT_EQ(ScreenEdgePoints(POINT{5, 6}, POINT{5, 6}, 1024, 768, start, end), 0);
    ExpectPoint(start, 5, 6);
    ExpectPoint(end, 5, 6);
    EXPECT_LT(ScreenEdgePoints(POINT{-100, -50}, POINT{-50, -100}, 1024, 768, start, end), 2);
    ExpectPoint(start, -100, -50);
    ExpectPoint(end, -50, -100);
}

TEST(LinePaint, StrokesMarkersAndInfiniteLines) {
    Surface s(200, 200);
    TScreenLine line;
    Place(line, POINT{10, 10}, POINT{50, 10});
    EXPECT_EQ(line.TypeCode, TypeCodeLine);
    line.SetPointType(PointTypeNone);
    line.SetLineColor(RGB(255, 0, 0));
    ui::Region all = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), all.Get(), false);
    EXPECT_REGION_EQ(all.Get(), Rect(10, 10, 50, 11).Get());
    EXPECT_REGION_EQ(line.Region.Get(), Rect(10, 10, 50, 11).Get());
    EXPECT_EQ(s.Pixel(30, 10), RGB(255, 0, 0));
    EXPECT_TRUE(line.ContainsPoint(POINT{30, 10}));
    EXPECT_FALSE(line.ContainsPoint(POINT{30, 12}));

    // Square end markers; while dragging the start marker goes.
    line.SetPointType(PointTypeSquare);
    ui::Region marked = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), marked.Get(), false);
    EXPECT_TRUE(::PtInRegion(marked.Get(), 13, 13));
    EXPECT_TRUE(::PtInRegion(marked.Get(), 53, 13));
    line.BeginDrag(0, 50, 10);
    ui::Region dragged = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), dragged.Get(), false);
    EXPECT_FALSE(::PtInRegion(dragged.Get(), 13, 13));
    EXPECT_TRUE(::PtInRegion(dragged.Get(), 53, 13));
    line.EndDrag(0, 0);

    // Wider lines cover a band.
    line.SetPointType(PointTypeNone);
    line.LineWidth = 5;
    ui::Region wide = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), wide.Get(), false);
    EXPECT_TRUE(::PtInRegion(wide.Get(), 30, 8));
    EXPECT_TRUE(::PtInRegion(wide.Get(), 30, 11));
    EXPECT_FALSE(::PtInRegion(wide.Get(), 30, 7));
    EXPECT_FALSE(::PtInRegion(wide.Get(), 30, 13));

    // Across the primary screen.
    line.LineWidth = 1;
    line.SetInfiniteLine(true);
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    ExpectPoint(line.ScreenEdgeStart, 0, 10);
    ExpectPoint(line.ScreenEdgeEnd, width, 10);
    ui::Region infinite = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), infinite.Get(), false);
    EXPECT_TRUE(::PtInRegion(infinite.Get(), 0, 10));
    EXPECT_TRUE(::PtInRegion(infinite.Get(), width - 1, 10));
    // A moved end point is followed at once by AppendPoint.
    line.AppendPoint(50, 50);
    EXPECT_EQ(line.PointCount, 2);
    ExpectPoint(line.ScreenEdgeStart, 0, 0); // the diagonal through (10, 10) and (50, 50)

    // Invisible: nothing.
    line.SetVisible(false);
    ui::Region none = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), none.Get(), false);
    EXPECT_TRUE(IsEmpty(none.Get()));
}

TEST(LinePaint, SelectedShowsTheDiagonalRectangle) {
    Surface s(100, 100);
    TScreenLine line;
    Place(line, POINT{10, 10}, POINT{60, 40});
    line.SetPointType(PointTypeNone);
    line.SetLineColor(RGB(255, 255, 255));
    ui::Region region = ui::MakeEmptyRegion();
    line.Paint(s.Canvas(), region.Get(), true);
    EXPECT_TRUE(::PtInRegion(region.Get(), 10, 30));
    EXPECT_TRUE(::PtInRegion(region.Get(), 60, 20));
    EXPECT_TRUE(::PtInRegion(region.Get(), 30, 10));
    EXPECT_EQ(s.Pixel(10, 30), RGB(0, 0, 0));
    EXPECT_EQ(s.Pixel(35, 25), RGB(255, 255, 255));
}

TEST(LineEditing, HitTestDragAndTexts) {
    TScreenLine line;
    Place(line, POINT{0, 0}, POINT{10, 0});
    int32_t distance = 0;
    EXPECT_TRUE(line.HitTest(POINT{7, 3}, 1000, distance)); // 7.6 from start, 4.2 from end
    EXPECT_EQ(distance, 4);
    EXPECT_FALSE(line.HitTest(POINT{200, 0}, 1000, distance));
    EXPECT_EQ(distance, 1000);
    POINT handle{};
    EXPECT_TRUE(line.FindHandle(POINT{200, 0}, 1000, handle, distance));
    EXPECT_EQ(distance, 190);
    ExpectPoint(handle, 10, 0);
    EXPECT_FALSE(line.FindHandle(POINT{200, 0}, 190, handle, distance));

    // The grabbed end becomes vertex 2.
    TScreenLine longLine;
    Place(longLine, POINT{0, 0}, POINT{100, 0});
    longLine.BeginDrag(0, 5, 0);
    ExpectPoint(longLine.Vertex(1), 100, 0);
    ExpectPoint(longLine.Vertex(2), 0, 0);
    longLine.MoveCurrentPoint(3, 30);
    ExpectPoint(longLine.Vertex(2), 3, 30);
    ExpectPoint(longLine.Vertex(1), 100, 0);
    longLine.EndDrag(0, 0);
    longLine.BeginDrag(0, 95, 0);
    ExpectPoint(longLine.Vertex(1), 3, 30);
    ExpectPoint(longLine.Vertex(2), 100, 0);
    // Near both ends of a short line: the order stays.
    line.BeginDrag(0, 5, 0);
    ExpectPoint(line.Vertex(1), 0, 0);
    ExpectPoint(line.Vertex(2), 10, 0);
    line.EndDrag(0, 0);

    TScreenLine info;
    Place(info, POINT{0, 0}, POINT{30, -40});
    const std::wstring d = LocaleNumberSeparators().Decimal;
    std::wstring text;
    info.GetInfoText(text);
    EXPECT_EQ(text, L"(0/0)-->(30/-40)\n\rd=50" + d + L"0\n\rdx=30" + d + L"0\n\rdy=40" + d + L"0");
    info.GetHint(true, text);
    EXPECT_EQ(text.substr(0, 35), L"Right mouse button to delete line.\n");
    EXPECT_NE(text.find(L"change position of line\n\r(0/0)"), std::wstring::npos);
    info.GetHint(false, text);
    EXPECT_NE(text.find(L"um die Position der Linie zu verändern.\n\r(0/0)"), std::wstring::npos);
    info.ShowMouseHelp = false;
    info.GetHint(true, text);
    EXPECT_EQ(text.substr(0, 5), L"(0/0)");
    info.GetMenuCaption(true, text);
    EXPECT_EQ(text, L"delete line");
    info.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Linie löschen");
    info.GetPlacementPrompt(true, 1, text);
    EXPECT_EQ(text, L"");
    info.ShowMouseHelp = true;
    info.GetPlacementPrompt(true, 1, text);
    EXPECT_EQ(text, L"Click on the start point of your line.\n\rRight mouse button to cancel.");
    info.GetPlacementPrompt(false, 2, text);
    EXPECT_EQ(text, L"Klicken Sie auf den Endpunkt Ihrer Linie.\n\r"
                    L"Abbruch mit der rechten Maustaste.");
    info.GetPlacementPrompt(false, 3, text);
    EXPECT_EQ(text, L"");
}

TEST(LineIni, InfiniteLineKey) {
    ScratchIni ini;
    const std::wstring& f = ini.Path();
    TScreenLine line;
    Place(line, POINT{10, 100}, POINT{20, 100});
    line.RelativePosition = false;
    line.SaveToIni(f, L"L", nullptr);
    EXPECT_EQ(ReadIniString(f, L"L", L"InfiniteLine", L""), L"0");
    line.SetInfiniteLine(true);
    line.SaveToIni(f, L"L", nullptr);
    EXPECT_EQ(ReadIniString(f, L"L", L"InfiniteLine", L""), L"1");

    TScreenLine loaded;
    ASSERT_TRUE(loaded.LoadFromIni(f, L"L"));
    EXPECT_TRUE(loaded.InfiniteLine);
    ExpectPoint(loaded.ScreenEdgeStart, 0, 100);
    // A missing key keeps the setting; anything but "1" switches it off.
    DeleteIniKey(f, L"L", L"InfiniteLine");
    ASSERT_TRUE(loaded.LoadFromIni(f, L"L"));
    EXPECT_TRUE(loaded.InfiniteLine);
    WriteIniString(f, L"L", L"InfiniteLine", L"yes");
    ASSERT_TRUE(loaded.LoadFromIni(f, L"L"));
    EXPECT_FALSE(loaded.InfiniteLine);
}
