// The arithmetic of screens with other DPIs: lengths scaled and rounded,
// the largest scale at which a window fits a work area, windows moved (never
// resized) into it, and pictures enlarged by nearest neighbour.
#include "ui/DpiScaling.h"
#include "ui/Layout.h"
#include "ui/PictureScaling.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(DpiScaling, LengthsRoundToTheNearestPixelBothWays) {
    EXPECT_EQ(ui::ScaleToDpi(665, 96), 665);
    EXPECT_EQ(ui::ScaleToDpi(665, 192), 1330);
    EXPECT_EQ(ui::ScaleToDpi(29, 144), 44); // 43.5: halves away from zero
    EXPECT_EQ(ui::ScaleToDpi(-29, 144), -44);
    EXPECT_EQ(ui::ScaleToDpi(30, 120), 38); // 37.5
    EXPECT_EQ(ui::ScaleToDpi(545, 0), 545) << "an unknown DPI counts as 96";
    EXPECT_EQ(ui::ScaleBetweenDpi(1330, 192, 96), 665);
    EXPECT_EQ(ui::ScaleToDpi(20000000, 192), 40000000) << "no overflow on the way";
}

TEST(DpiScaling, FittingDpiShrinksOnlyWhatDoesNotFit) {
    const SIZE letter{665, 434}, none{0, 0};
    EXPECT_EQ(ui::FittingDpi(letter, none, SIZE{3840, 2160}, 192), 192);
    // 1330 x 868 does not fit 1024 x 768: the largest scale that does.
    EXPECT_EQ(ui::FittingDpi(letter, none, SIZE{1024, 768}, 192), 147);
    // The about window with its frame on an 800 x 600 screen at 96 DPI.
    const int dpi = ui::FittingDpi(SIZE{825, 457}, SIZE{6, 25}, SIZE{800, 600}, 96);
    EXPECT_EQ(dpi, 92);
    EXPECT_LE(ui::ScaleToDpi(825, dpi) + 6, 800);
    EXPECT_GT(ui::ScaleToDpi(825, dpi + 1) + 6, 800);
    // Never below half size, never above the monitor's own DPI.
    EXPECT_EQ(ui::FittingDpi(letter, none, SIZE{100, 100}, 192), ui::SmallestFittingDpi);
    EXPECT_EQ(ui::FittingDpi(letter, none, SIZE{100, 100}, 40), 40);
}

TEST(DpiScaling, WindowsMoveIntoTheWorkAreaWithoutChangingSize) {
    const RECT work{0, 0, 800, 570};
    auto same = [](RECT a, RECT b) { return EqualRect(&a, &b) != FALSE; };
    EXPECT_TRUE(same(ui::MoveIntoArea(RECT{-6, 50, 806, 500}, work), RECT{0, 50, 812, 500}))
        << "wider than the area: the left edge (caption, first column) shows";
    EXPECT_TRUE(same(ui::MoveIntoArea(RECT{700, 500, 900, 600}, work), RECT{600, 470, 800, 570}));
    EXPECT_TRUE(same(ui::MoveIntoArea(RECT{10, 10, 20, 20}, work), RECT{10, 10, 20, 20}));
    EXPECT_TRUE(same(ui::MoveIntoArea(RECT{-900, -50, -800, 0}, RECT{-1024, 0, 0, 768}),
                     RECT{-900, 0, -800, 50}))
        << "a monitor left of the primary one";
}

TEST(DpiScaling, NearestNeighbourCopiesPixelsOnly) {
    ui::PixelImage p;
    p.Width = 4;
    p.Height = 2;
    p.Pixels = {1, 2, 3, 4, 5, 6, 7, 8};
    const ui::PixelImage twice = ui::ScaleNearest(p, 8, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(twice.At(x, y), p.At(x / 2, y / 2));
    // 125 %: 4 columns become 5, one of them twice; no new values.
    const ui::PixelImage five = ui::ScaleNearest(p, 5, 3);
    EXPECT_EQ(five.Pixels, (std::vector<uint32_t>{1, 1, 2, 3, 4, 1, 1, 2, 3, 4, 5, 5, 6, 7, 8}));
    EXPECT_EQ(ui::ScaleNearest(p, 0, 3).Pixels.size(), 0u);
    EXPECT_EQ(ui::ScaleNearest(ui::PixelImage{}, 5, 3).Width, 0);
}

} // namespace
