// How the copy of the picture to the window is cut into parts.
#include "overlay_window/uOrvexPresent.h"

#include <gtest/gtest.h>

#include <vector>

// The copy to the screen goes in cells: each part is the bounds of the area
// within one cell, clipped to the window, in cell order.
TEST(TransparentFormPresentParts, AreaSplitsIntoTheBoundsWithinEachCell) {
    const SIZE window{300, 200}, cell{100, 100};
    auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };

    EXPECT_TRUE(PresentParts({}, window, cell).empty());
    EXPECT_TRUE(PresentParts({RECT{400, 0, 500, 50}}, window, cell).empty()) << "outside";
    EXPECT_TRUE(PresentParts({RECT{0, 0, 50, 50}}, SIZE{0, 200}, cell).empty());
    EXPECT_TRUE(PresentParts({RECT{0, 0, 50, 50}}, window, SIZE{0, 0}).empty());

    // Two rectangles in one cell give their common bounds.
    std::vector<RECT> parts =
        PresentParts({RECT{10, 10, 20, 20}, RECT{50, 60, 70, 90}}, window, cell);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(same(parts[0], RECT{10, 10, 70, 90}));

    // A rectangle across a cell corner and past the window's edge: four parts,
    // none outside the window, together exactly the clipped rectangle.
    parts = PresentParts({RECT{250, 150, 350, 260}}, window, cell);
    ASSERT_EQ(parts.size(), 1u) << "only the cell at (200, 100) lies in the window";
    EXPECT_TRUE(same(parts[0], RECT{250, 150, 300, 200}));
    parts = PresentParts({RECT{90, 95, 110, 105}}, window, cell);
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_TRUE(same(parts[0], RECT{90, 95, 100, 100}));
    EXPECT_TRUE(same(parts[1], RECT{100, 95, 110, 100}));
    EXPECT_TRUE(same(parts[2], RECT{90, 100, 100, 105}));
    EXPECT_TRUE(same(parts[3], RECT{100, 100, 110, 105}));

    // A window not a whole number of cells wide: the last cells are cut.
    parts = PresentParts({RECT{0, 0, 1000, 1000}}, SIZE{250, 120}, cell);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_TRUE(same(parts[2], RECT{200, 0, 250, 100}));
    EXPECT_TRUE(same(parts[5], RECT{200, 100, 250, 120}));
}
