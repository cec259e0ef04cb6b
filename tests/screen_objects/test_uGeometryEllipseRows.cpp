// Elliptic areas too large to ask the system for are built row by row with
// the system's own rows: the same pixels as the system's area of the same
// box, on both sides of the size where the library stops asking it.
#include "screen_objects/uEllipseRows.h"
#include "screen_objects/uGeometry.h"
#include "ui/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

using Spans = std::vector<std::pair<int64_t, int64_t>>;

// The system's elliptic area of the box, rows firstRow..endRow-1.
Spans SystemRows(RECT box, int firstRow, int endRow) {
    Spans spans(static_cast<size_t>(endRow - firstRow), {0, 0});
    ui::Region area(::CreateEllipticRgnIndirect(&box));
    const DWORD size = ::GetRegionData(area.Get(), 0, nullptr);
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (!::GetRegionData(area.Get(), size, data))
        return spans;
    const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
    for (DWORD i = 0; i < data->rdh.nCount; ++i)
        for (int y = std::max<int>(rects[i].top, firstRow);
             y < std::min<int>(rects[i].bottom, endRow); ++y)
            spans[static_cast<size_t>(y - firstRow)] = {rects[i].left, rects[i].right};
    return spans;
}

// The system leaves the rows of a few tiny boxes unset (their spans lie
// anywhere): only rows within the box's columns are compared.
std::string FirstDifference(const Spans& ours, const Spans& system, int firstRow, RECT box) {
    for (size_t i = 0; i < ours.size(); ++i) {
        if (system[i].first < std::min(box.left, box.right) ||
            system[i].second > std::max(box.left, box.right))
            continue;
        const bool emptyBoth =
            ours[i].first >= ours[i].second && system[i].first >= system[i].second;
        if (!emptyBoth && ours[i] != system[i])
            return "row " + std::to_string(firstRow + static_cast<int>(i)) + ": [" +
                   std::to_string(ours[i].first) + ", " + std::to_string(ours[i].second) +
                   ") instead of [" + std::to_string(system[i].first) + ", " +
                   std::to_string(system[i].second) + ")";
    }
    return {};
}

std::string Compare(RECT box, int firstRow, int endRow) {
    auto ours = SystemEllipseRows(box.left, box.top, box.right, box.bottom, firstRow, endRow);
    if (!ours)
        return "no rows";
    return FirstDifference(*ours, SystemRows(box, firstRow, endRow), firstRow, box);
}

TEST(EllipseRows, SameRowsAsTheSystemFromTinyToHuge) {
    // Every small box, flat and tall, at odd places, and the rows around it.
    for (int w = 0; w <= 24; ++w)
        for (int h = 0; h <= 24; ++h) {
            const RECT box{-7, 5, -7 + w, 5 + h};
            EXPECT_EQ(Compare(box, 0, 35), "") << w << " x " << h;
        }
    std::mt19937 random(20261209);
    for (int i = 0; i < 40; ++i) {
        const int w = 2 + static_cast<int>(random() % 3000u),
                  h = 2 + static_cast<int>(random() % 3000u);
        const RECT box{-100, -50, -100 + w, -50 + h};
        EXPECT_EQ(Compare(box, -60, h - 40), "") << w << " x " << h;
    }
    // Around 2^20 pixels wide or high, the rows a screen shows (heights even
    // and the other side short: only there the system's own 64-bit error
    // term holds).
    const int side = 1 << 20;
    for (int w : {side - 2, side, side + 2, side + 4001})
        for (RECT box : {RECT{-w / 2, 0, w - w / 2, 2000}, RECT{0, -w / 2, 1000, w - w / 2}}) {
            EXPECT_EQ(Compare(box, box.top, box.top + 1500), "") << "top rows, side " << w;
            EXPECT_EQ(Compare(box, -700, 700), "") << "middle rows, side " << w;
        }
}

// Through the area a filled ellipse paints: just above 2^20 pixels wide it is
// built row by row, and its edges are the system's.
TEST(EllipseRows, AWideFilledEllipseHasTheSystemsEdges) {
    const RECT bounds{0, 0, 1024, 768};
    for (int64_t w : {int64_t{1} << 20, (int64_t{1} << 20) + 2, (int64_t{1} << 21) + 6}) {
        // The left end of a flat ellipse lies on the screen.
        const TBox64 box{100, 200, 100 + w, 600};
        ui::Region ours = EllipticArea(box, bounds);
        const RECT whole{static_cast<LONG>(box.left), static_cast<LONG>(box.top),
                         static_cast<LONG>(box.right), static_cast<LONG>(box.bottom)};
        ui::Region system(::CreateEllipticRgnIndirect(&whole));
        ui::Region clip(::CreateRectRgnIndirect(&bounds));
        ::CombineRgn(system.Get(), system.Get(), clip.Get(), RGN_AND);
        EXPECT_TRUE(::EqualRgn(ours.Get(), system.Get())) << "width " << w;
    }
}

TEST(EllipseRows, BeyondTheSystemsReachOrStepsNothingIsGuessed) {
    const int64_t huge = SystemEllipseTraceSide + 2;
    EXPECT_FALSE(SystemEllipseRows(0, 0, huge, 100, 0, 10));
    // Rows beyond the 45-degree point of an ellipse large on both sides
    // take about as many steps as the ellipse is large.
    const int64_t big = int64_t{1} << 24;
    EXPECT_FALSE(SystemEllipseRows(0, 0, big, big, 0, 10, 1000));
    EXPECT_TRUE(SystemEllipseRows(0, 0, big, big, big / 2, big / 2 + 10, 1000));
}

} // namespace
