// How the copy of the picture to the window is cut into parts.
#include "overlay_window/uOrvexPictureCopy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool Same(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

long long AreaOf(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top
               ? 0
               : static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

// Rectangles of a scattered shape: rows of small flakes over the window.
std::vector<RECT> Flakes(SIZE window, int rows, int columns) {
    std::vector<RECT> flakes;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const LONG x = column * window.cx / columns, y = row * window.cy / rows;
            flakes.push_back(RECT{x, y, x + 3, y + 2});
        }
    return flakes;
}

size_t Touching(const std::vector<RECT>& shape, const RECT& part) {
    size_t n = 0;
    for (const RECT& r : shape) {
        RECT common;
        n += ::IntersectRect(&common, &r, &part) ? 1 : 0;
    }
    return n;
}

double CostOf(const std::vector<RECT>& parts, const std::vector<RECT>& shape, TCopyCost cost) {
    double total = 0;
    for (const RECT& part : parts) {
        const double r = static_cast<double>(Touching(shape, part));
        total += cost.PerCopy + cost.PerRectSquared * r * r;
    }
    return total;
}

} // namespace

// Whatever the costs, the parts lie in the window, apart from each other,
// and cover every pixel of the area that lies in the window.
TEST(TransparentFormPresentParts, PartsCoverTheAreaOnceAndCostLessThanOneCopy) {
    const SIZE window{1000, 800};
    const std::vector<RECT> shape = Flakes(window, 40, 50);
    const TCopyCost cost{1.0, 1e-3};

    EXPECT_TRUE(PresentParts({}, shape, window, cost).empty());
    EXPECT_TRUE(PresentParts({RECT{1200, 0, 1300, 50}}, shape, window, cost).empty()) << "outside";
    EXPECT_TRUE(PresentParts({RECT{0, 0, 50, 50}}, shape, SIZE{0, 800}, cost).empty());

    // With nothing to clip, one copy of the area's bounds, cut to the window.
    std::vector<RECT> parts =
        PresentParts({RECT{10, 10, 20, 20}, RECT{950, 700, 1100, 900}}, {}, window, cost);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(Same(parts[0], RECT{10, 10, 1000, 800}));

    // The whole shape copied: halved into parts that each touch few of its
    // rectangles, cheaper than one copy, and more of them when copies are cheap.
    const std::vector<RECT> area = shape;
    parts = PresentParts(area, shape, window, cost);
    ASSERT_GT(parts.size(), 1u);
    const RECT whole{0, 0, window.cx, window.cy};
    for (size_t i = 0; i < parts.size(); ++i) {
        RECT inside;
        ASSERT_TRUE(::IntersectRect(&inside, &parts[i], &whole) && Same(inside, parts[i]));
        for (size_t j = i + 1; j < parts.size(); ++j) {
            RECT common;
            EXPECT_FALSE(::IntersectRect(&common, &parts[i], &parts[j])) << i << " and " << j;
        }
    }
    for (const RECT& r : area) {
        long long covered = 0;
        for (const RECT& part : parts) {
            RECT common;
            if (::IntersectRect(&common, &r, &part))
                covered += AreaOf(common);
        }
        EXPECT_EQ(covered, AreaOf(r)) << r.left << "," << r.top;
    }
    EXPECT_LT(CostOf(parts, shape, cost), CostOf({whole}, shape, cost));
    const size_t cheapCopies = PresentParts(area, shape, window, TCopyCost{0.1, 1e-3}).size();
    EXPECT_GT(cheapCopies, parts.size());
    EXPECT_EQ(PresentParts(area, shape, window, TCopyCost{1e6, 1e-3}).size(), 1u);

    // A small area in a corner is not cut for the shape elsewhere.
    parts = PresentParts({RECT{0, 0, 30, 25}}, shape, window, cost);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(Same(parts[0], RECT{0, 0, 30, 25}));
}

// The plan follows what copies were measured to cost: on a system where
// clipping is cheap the whole shape goes in one copy, with Wine's costs it is
// cut as before, and the estimate follows when the costs change. Before any
// copy was measured, no part touches more rectangles than a first copy may.
// What the system spends on other work (taking in a new shape, which the
// first copy of a repaint pays for, or a trip that grows with the shape) is
// not read as clipping.
TEST(TransparentFormCopyCost, MeasuredCostsDecideThePlan) {
    const SIZE window{1000, 800};
    const std::vector<RECT> shape = Flakes(window, 40, 50);
    const double shapeRects = static_cast<double>(shape.size());
    // Repaints of five copies each, the first of every repaint slowed by
    // firstExtra ms.
    auto feed = [](TCopyCostEstimate& estimate, double perCopy, double perRectSquared,
                   double firstExtra = 0) {
        for (size_t first = 1; first <= 3000; first += 5 * 97) {
            for (size_t r = first; r < first + 5 * 97; r += 97)
                estimate.Add(r, perCopy + perRectSquared * double(r) * double(r) +
                                    (r == first ? firstExtra : 0));
            estimate.EndRepaint();
        }
    };

    TCopyCostEstimate estimate;
    std::vector<TPresentPart> parts = PlanPresent(shape, shape, window, estimate.Cost());
    ASSERT_GT(parts.size(), 1u);
    for (const TPresentPart& part : parts)
        EXPECT_LE(part.TouchedRects, TCopyCostEstimate::FirstKnownRects);
    estimate.Add(TCopyCostEstimate::FirstKnownRects, 0.1);
    estimate.EndRepaint();
    EXPECT_EQ(estimate.Cost().KnownRects, 4 * TCopyCostEstimate::FirstKnownRects);

    TCopyCostEstimate cheap;
    feed(cheap, 0.05, 1e-9);
    EXPECT_EQ(PlanPresent(shape, shape, window, cheap.Cost()).size(), 1u);

    // Wine 8: a trip of 0.2 ms plus 0.17 us per shape rectangle, 1.4 r * r ns
    // clipping; every change of shape costs the next copy 5 ms more.
    const TCopyCost wine{0.2 + 0.00017 * shapeRects, 1.4e-6};
    TCopyCostEstimate measured;
    feed(measured, wine.PerCopy, wine.PerRectSquared, 5.0);
    EXPECT_NEAR(measured.Cost().PerCopy, wine.PerCopy, 1e-6);
    EXPECT_NEAR(measured.Cost().PerRectSquared, wine.PerRectSquared, 1e-12);
    const std::vector<RECT> today = PresentParts(shape, shape, window, wine);
    ASSERT_GT(today.size(), 1u);
    const std::vector<RECT> planned = PresentParts(shape, shape, window, measured.Cost());
    ASSERT_EQ(planned.size(), today.size());
    for (size_t i = 0; i < today.size(); ++i)
        EXPECT_TRUE(Same(planned[i], today[i])) << i;

    // A shape that grows fast: small copies while the shape was small, then
    // larger ones whose trip has grown with the shape (clipping 2 r * r ns
    // throughout). The fit reads the grown trip as clipping; the copy of 400
    // rectangles shows the clipping costs at most (0.92 - 0.2) / 400^2 ms.
    TCopyCostEstimate growing;
    auto copy = [&growing](size_t r, double trip) {
        growing.Add(r, trip + 2e-6 * double(r) * double(r));
        growing.EndRepaint();
    };
    for (int repaint = 0; repaint < 10; ++repaint)
        for (size_t r : {8, 16, 24, 32})
            copy(r, 0.2);
    copy(400, 0.6);
    for (int repaint = 0; repaint < 10; ++repaint)
        for (size_t r : {100, 130, 160, 190})
            copy(r, 0.6);
    EXPECT_LE(growing.Cost().PerRectSquared, 0.72 / (400.0 * 400.0) + 1e-12);
    EXPECT_GE(growing.Cost().PerRectSquared, 2e-6);

    // The same system with the clipping gone cheap: older copies fade out.
    for (int round = 0; round < 10; ++round)
        feed(measured, 0.05, 1e-9);
    EXPECT_EQ(PlanPresent(shape, shape, window, measured.Cost()).size(), 1u);
}
