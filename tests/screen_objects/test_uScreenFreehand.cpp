#include "picture_files.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uMeasurementFormat.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uScreenFreehand.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tp = testpics;

namespace {

// Offers the samples in order; returns which were taken.
std::vector<bool> Offer(TScreenFreehand& line, std::initializer_list<POINT> samples) {
    std::vector<bool> taken;
    for (POINT p : samples)
        taken.push_back(line.AppendPoint(p.x, p.y));
    return taken;
}

} // namespace

TEST(FreehandSampling, KeepsCornersAndLongRunsDropsJitter) {
    {
        TScreenFreehand line;
        EXPECT_EQ(Offer(line, {{0, 0}, {3, 0}, {10, 0}}), (std::vector<bool>{true, false, true}));
        EXPECT_EQ(line.PointCount, 2);
        EXPECT_EQ(line.CurrentPoint, 2);
    }
    {
        // Exactly 4 px is dropped; a little more is taken.
        TScreenFreehand line;
        EXPECT_EQ(Offer(line, {{0, 0}, {4, 0}, {0, 4}, {3, 3}}),
                  (std::vector<bool>{true, false, false, true})); // 3,3 is 4.24 px away
    }
    // With (0,0), (10,0), (20,0): straight on is taken only beyond 100 px.
    auto straight = [] {
        auto line = std::make_unique<TScreenFreehand>();
        Offer(*line, {{0, 0}, {10, 0}, {20, 0}});
        EXPECT_EQ(line->PointCount, 3);
        return line;
    };
    EXPECT_FALSE(straight()->AppendPoint(30, 0));
    EXPECT_FALSE(straight()->AppendPoint(120, 0)) << "exactly 100 px";
    EXPECT_TRUE(straight()->AppendPoint(125, 0));
    EXPECT_TRUE(straight()->AppendPoint(30, 10)) << "the direction changed";
    // Within 5 degrees of the last direction counts as straight on.
    EXPECT_FALSE(straight()->AppendPoint(60, 1));

    // Heading left, angles on both sides of 2*pi count as a change of
    // direction, although the stroke turns by only 2 degrees.
    TScreenFreehand left;
    EXPECT_EQ(Offer(left, {{120, 0}, {80, -1}, {40, 1}}), (std::vector<bool>(3, true)));
    EXPECT_TRUE(left.AppendPoint(0, 0));
    TScreenFreehand right;
    Offer(right, {{0, 0}, {40, -1}, {80, 1}});
    EXPECT_FALSE(right.AppendPoint(120, 0)) << "the same turn heading right is straight on";
    EXPECT_FALSE(FreehandTakesSample(nullptr, 5, 5, 0, 0)) << "full";
    EXPECT_TRUE(FreehandTakesSample(nullptr, 0, 5, 0, 0)) << "empty";
}

TEST(FreehandSampling, HoldsAtMostOneHundredVertices) {
    TScreenFreehand line;
    int taken = 0;
    // 150 corners of a zigzag, each far enough and turning.
    for (int i = 0; i < 150; ++i)
        taken += line.AppendPoint(i * 10, (i % 2) * 10);
    EXPECT_EQ(taken, 100);
    EXPECT_EQ(line.PointCount, FreehandCapacity);
    EXPECT_EQ(line.Vertex(100).x, 990);
    EXPECT_FALSE(line.AppendPoint(5000, 5000));
    EXPECT_EQ(line.PointCount, 100);
    EXPECT_EQ(line.Vertex(100).x, 990) << "the last vertex is not moved";

    // Loading stores vertices without the filter, limited to the capacity.
    const std::wstring ini = tp::IniPath(L"freehand");
    ::DeleteFileW(ini.c_str());
    WriteIniString(ini, L"P", L"Type", L"6");
    WriteIniInteger(ini, L"P", L"PointCount", 250);
    WriteIniString(ini, L"P", L"PointX.1", L"7");
    WriteIniString(ini, L"P", L"PointX.2", L"8");
    TScreenFreehand loaded;
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"P"));
    EXPECT_EQ(loaded.PointCount, 100);
    EXPECT_EQ(loaded.Vertex(2).x, 8) << "1 px apart, kept anyway";
    WriteIniInteger(ini, L"P", L"PointCount", 0);
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"P"));
    EXPECT_EQ(loaded.PointCount, 1);
    ::DeleteFileW(ini.c_str());
}

TEST(FreehandShape, HitTestDragAndInfoText) {
    TScreenFreehand line;
    Offer(line, {{0, 0}, {30, 0}, {0, 40}});
    std::wstring info;
    line.GetInfoText(info);
    EXPECT_EQ(info, FormatLength(L"l", 80) + L"\n\r" + FormatArea(L"A", 600));

    int32_t distance = 0;
    EXPECT_TRUE(line.HitTest({27, 4}, 10, distance));
    EXPECT_EQ(distance, 5);
    EXPECT_FALSE(line.HitTest({15, 0}, 10, distance)) << "segments do not count";
    EXPECT_EQ(distance, 10);
    EXPECT_FALSE(line.HitTest({200, 200}, 1000, distance)) << "outside the bounds";
    EXPECT_EQ(distance, 1000);
    POINT handle{};
    EXPECT_TRUE(line.FindHandle({2, 37}, 10, handle, distance));
    EXPECT_EQ(handle.x, 0);
    EXPECT_EQ(handle.y, 40);
    EXPECT_EQ(distance, 3); // 3.6 truncated

    // The highest vertex within 20 px is grabbed; none near keeps the last.
    TScreenFreehand zig;
    for (int i = 0; i < 8; ++i)
        zig.AppendPoint(i * 30, (i % 2) * 30);
    ASSERT_EQ(zig.PointCount, 8);
    zig.Vertex(7) = POINT{40, 10};
    zig.BeginDrag(1, 33, 13);
    EXPECT_EQ(zig.CurrentPoint, 7);
    zig.MoveCurrentPoint(100, 100);
    EXPECT_EQ(zig.Vertex(7).x, 100);
    zig.EndDrag(100, 100);
    zig.BeginDrag(2, 500, 500);
    EXPECT_EQ(zig.CurrentPoint, 8);
    zig.MoveCurrentPoint(220, 40); // the whole line follows vertex 8 by (10, 10)
    EXPECT_EQ(zig.Vertex(1).x, 10);
    EXPECT_EQ(zig.Vertex(1).y, 10);

    TScreenFreehand single;
    single.AppendPoint(5, 5);
    single.GetInfoText(info);
    EXPECT_EQ(info, FormatLength(L"l", 0) + L"\n\r" + FormatArea(L"A", 0));
}

TEST(FreehandShape, PaintsSegmentsAndMarkersExceptTheCurrentVertex) {
    tp::Surface s(100, 100, RGB(255, 255, 255));
    TScreenFreehand single;
    single.AppendPoint(50, 50);
    ui::Region acc = ui::MakeEmptyRegion();
    single.Paint(s.canvas, acc.Get(), false);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(acc.Get(), &box), NULLREGION) << "one current vertex draws nothing";

    TScreenFreehand line;
    line.SetLineColor(RGB(200, 0, 0));
    line.SetPointType(PointTypeSquare);
    Offer(line, {{10, 10}, {60, 10}, {60, 60}});
    line.Paint(s.canvas, acc.Get(), false);
    EXPECT_EQ(s.At(35, 10), RGB(200, 0, 0));
    EXPECT_EQ(s.At(60, 35), RGB(200, 0, 0));
    EXPECT_TRUE(::PtInRegion(acc.Get(), 35, 10));
    EXPECT_TRUE(::PtInRegion(acc.Get(), 8, 8)) << "marker at vertex 1";
    EXPECT_FALSE(::PtInRegion(acc.Get(), 62, 62)) << "no marker at the current vertex";
    EXPECT_FALSE(::PtInRegion(acc.Get(), 35, 35));

    // Selected or dragged: no markers at all.
    ui::Region selected = ui::MakeEmptyRegion();
    line.Paint(s.canvas, selected.Get(), true);
    EXPECT_FALSE(::PtInRegion(selected.Get(), 8, 8));
    EXPECT_TRUE(::PtInRegion(selected.Get(), 35, 10));
    line.SetVisible(false);
    ui::Region hidden = ui::MakeEmptyRegion();
    line.Paint(s.canvas, hidden.Get(), false);
    EXPECT_EQ(::GetRgnBox(hidden.Get(), &box), NULLREGION);
}

TEST(FreehandTexts, HintCarriesTheMeasurements) {
    TScreenFreehand line;
    Offer(line, {{0, 0}, {30, 0}});
    std::wstring info, text;
    line.GetInfoText(info);
    line.GetHint(true, text);
    EXPECT_EQ(text,
              L"Right mouse button to delete polyline.\n\rLeft mouse button (keep pressed) to "
              L"change position of point\n\rLeft mouse button + <Ctrl> key (keep pressed) to "
              L"change position of polyline\n\r" +
                  info);
    line.GetMenuCaption(false, text);
    EXPECT_EQ(text, L"Linienzug löschen");
    line.GetPlacementPrompt(true, 1, text);
    EXPECT_EQ(text, L"Draw the polyline on the screen while the left mouse button is pressed.\n\r"
                    L"Right mouse button to cancel.");
    line.ShowMouseHelp = false;
    line.GetPlacementPrompt(true, 1, text);
    EXPECT_TRUE(text.empty());
    line.GetHint(false, text);
    EXPECT_EQ(text, info);
}
