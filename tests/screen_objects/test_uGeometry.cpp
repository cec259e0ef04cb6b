#include "shape_surface.h"
#include "screen_objects/uGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testshapes;

TEST(GeometryVectors, LengthsNormalsAndRounding) {
    EXPECT_DOUBLE_EQ(VectorLength(3, 4), 5.0);
    // Far-apart points: no integer overflow on the way.
    EXPECT_DOUBLE_EQ(VectorLength(2000000000, 0), 2e9);
    EXPECT_DOUBLE_EQ(PointDistance(-2000000000, 0, 2000000000, 0), 4e9);
    EXPECT_DOUBLE_EQ(PointLength(POINT{-6, 8}), 10.0);

    TFloatPoint n;
    NormalVector(POINT{1, 0}, n, 4);
    EXPECT_DOUBLE_EQ(n.x, 0.0);
    EXPECT_DOUBLE_EQ(n.y, -4.0);
    NormalVector(POINT{0, 2}, n, 3);
    EXPECT_DOUBLE_EQ(n.x, 3.0);
    EXPECT_DOUBLE_EQ(n.y, 0.0);
    NormalVector(POINT{0, 0}, n, 5);
    EXPECT_DOUBLE_EQ(n.x, 0.0);
    EXPECT_DOUBLE_EQ(n.y, 0.0);

    EXPECT_EQ(RoundHalfEven(9.5), 10);
    EXPECT_EQ(RoundHalfEven(8.5), 8);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4), 2);
    EXPECT_EQ(RoundHalfEven(2.6), 3);
    EXPECT_EQ(TruncToInt32(-3.9), -3);
    EXPECT_EQ(TruncToInt32(1e12), 2147483647);
    EXPECT_EQ(TruncToInt32(-1e12), -2147483647 - 1);
    EXPECT_EQ(TruncToInt32(std::nan("")), 0);
}

TEST(GeometryVectors, IntersectLines) {
    POINT r;
    IntersectLines(POINT{0, 5}, POINT{1, 0}, POINT{3, 0}, POINT{0, 1}, r);
    EXPECT_EQ(r.x, 3);
    EXPECT_EQ(r.y, 5);
    // Parallel, and equal directions.
    IntersectLines(POINT{0, 0}, POINT{2, 0}, POINT{0, 7}, POINT{4, 0}, r);
    EXPECT_EQ(r.x, NoIntersection);
    EXPECT_EQ(r.y, NoIntersection);
    IntersectLines(POINT{0, 0}, POINT{1, 1}, POINT{5, 0}, POINT{1, 1}, r);
    EXPECT_EQ(r.x, NoIntersection);
    // A slanted line against a vertical one: truncated toward zero.
    IntersectLines(POINT{0, 0}, POINT{3, 1}, POINT{10, 0}, POINT{0, 1}, r);
    EXPECT_EQ(r.x, 10);
    EXPECT_EQ(r.y, 3); // 10/3
}

TEST(GeometrySegments, WidthOneKeepsTheCoreAndDrawsTwoPixels) {
    Surface s(64, 64);
    ui::Canvas& c = s.Canvas();
    c.SetPenColor(RGB(255, 0, 0));
    ui::Region region = ui::MakeEmptyRegion();
    EXPECT_EQ(DrawSegmentInRegion(c, region.Get(), POINT{10, 10}, POINT{20, 10}), region.Get());
    EXPECT_REGION_EQ(region.Get(), Rect(10, 10, 20, 11).Get());
    EXPECT_EQ(c.PenWidth(), 1);
    // The stroke is two pixels wide although the region keeps one row.
    int rows = 0;
    for (int y = 8; y <= 12; ++y)
        rows += s.Pixel(15, y) == RGB(255, 0, 0);
    EXPECT_EQ(rows, 2);

    // A diagonal covers its own pixels only.
    ui::Region diagonal = ui::MakeEmptyRegion();
    DrawSegmentInRegion(c, diagonal.Get(), POINT{30, 30}, POINT{40, 40});
    EXPECT_TRUE(::PtInRegion(diagonal.Get(), 35, 35));
    EXPECT_FALSE(::PtInRegion(diagonal.Get(), 35, 38));
    EXPECT_FALSE(::PtInRegion(diagonal.Get(), 38, 35));

    // Adding keeps what the region had.
    ui::Region start = Rect(0, 0, 2, 2);
    DrawSegmentInRegion(c, start.Get(), POINT{10, 20}, POINT{20, 20});
    EXPECT_TRUE(::PtInRegion(start.Get(), 1, 1));
    EXPECT_TRUE(::PtInRegion(start.Get(), 15, 20));
}

TEST(GeometrySegments, WideBandsHaveRoundEnds) {
    Surface s(64, 64);
    ui::Canvas& c = s.Canvas();
    c.SetPenWidth(3);
    ui::Region region = ui::MakeEmptyRegion();
    DrawSegmentInRegion(c, region.Get(), POINT{10, 10}, POINT{30, 10});
    // Band rows 9 and 10 (half width 1), ends as circles of diameter 2.
    ui::Region expected =
        Plus(Plus(Rect(10, 9, 30, 11), Ellipse(9, 9, 11, 11)), Ellipse(29, 9, 31, 11));
    EXPECT_REGION_EQ(region.Get(), expected.Get());
    EXPECT_EQ(c.PenWidth(), 3);

    // Width 2 counts as 3 for the area and stays 2.
    ui::Region two = ui::MakeEmptyRegion();
    c.SetPenWidth(2);
    DrawSegmentInRegion(c, two.Get(), POINT{10, 10}, POINT{30, 10});
    EXPECT_REGION_EQ(two.Get(), expected.Get());
    EXPECT_EQ(c.PenWidth(), 2);

    // A vertical band of width 6: three pixels either side.
    ui::Region six = ui::MakeEmptyRegion();
    c.SetPenWidth(6);
    DrawSegmentInRegion(c, six.Get(), POINT{40, 10}, POINT{40, 50});
    EXPECT_TRUE(::PtInRegion(six.Get(), 37, 30));
    EXPECT_TRUE(::PtInRegion(six.Get(), 42, 30));
    EXPECT_FALSE(::PtInRegion(six.Get(), 36, 30));
    EXPECT_FALSE(::PtInRegion(six.Get(), 43, 30));

    // A segment from a point to itself adds only the round end.
    ui::Region dot = ui::MakeEmptyRegion();
    c.SetPenWidth(3);
    DrawSegmentInRegion(c, dot.Get(), POINT{50, 50}, POINT{50, 50});
    EXPECT_REGION_EQ(dot.Get(), Ellipse(49, 49, 51, 51).Get());
    EXPECT_FALSE(IsEmpty(dot.Get()));

    // The float form cuts toward zero.
    ui::Region line = ui::MakeEmptyRegion();
    c.SetPenWidth(1);
    DrawLineInRegion(c, line.Get(), 10.9, 20.7, 20.2, 20.9);
    EXPECT_REGION_EQ(line.Get(), Rect(10, 20, 20, 21).Get());
}

TEST(GeometryAreas, RectanglesSquaresAndCircles) {
    Surface s(80, 80);
    ui::Canvas& c = s.Canvas();
    c.SetPenColor(RGB(0, 0, 255));
    c.SetBrushColor(RGB(0, 0, 255));

    ui::Region filled = ui::MakeEmptyRegion();
    DrawRectangleInRegion(c, filled.Get(), RECT{10, 10, 20, 20}, true);
    EXPECT_REGION_EQ(filled.Get(), Rect(10, 10, 21, 21).Get());
    EXPECT_EQ(s.Pixel(20, 20), RGB(0, 0, 255));
    EXPECT_EQ(s.Pixel(15, 15), RGB(0, 0, 255));
    EXPECT_NE(s.Pixel(21, 21), RGB(0, 0, 255));

    // The frame is one pixel on the left and top and two on the right and bottom.
    s.Fill(RGB(128, 128, 128));
    ui::Region frame = ui::MakeEmptyRegion();
    DrawRectangleInRegion(c, frame.Get(), RECT{40, 40, 50, 50}, false);
    ui::Region expectedFrame =
        Rects({{40, 40, 51, 41}, {40, 40, 41, 51}, {49, 40, 51, 51}, {40, 49, 51, 51}});
    EXPECT_REGION_EQ(frame.Get(), expectedFrame.Get());
    EXPECT_EQ(s.Pixel(45, 45), RGB(128, 128, 128)); // not filled

    ui::Region square = ui::MakeEmptyRegion();
    DrawSquareInRegion(c, square.Get(), POINT{20, 60}, 4, true);
    EXPECT_REGION_EQ(square.Get(), Rect(15, 55, 25, 65).Get());
    ui::Region squareRing = ui::MakeEmptyRegion();
    DrawSquareInRegion(c, squareRing.Get(), POINT{20, 60}, 4, false);
    EXPECT_REGION_EQ(squareRing.Get(), Minus(Rect(15, 55, 25, 65), Rect(17, 57, 23, 63)).Get());
    // Half size 0 still covers a 2 x 2 block.
    ui::Region tiny = ui::MakeEmptyRegion();
    DrawSquareInRegion(c, tiny.Get(), POINT{5, 5}, 0, true);
    EXPECT_REGION_EQ(tiny.Get(), Rect(4, 4, 6, 6).Get());

    ui::Region disc = ui::MakeEmptyRegion();
    DrawCircleInRegion(c, disc.Get(), POINT{60, 60}, 4, true);
    EXPECT_REGION_EQ(disc.Get(), Ellipse(56, 56, 66, 66).Get());
    EXPECT_TRUE(::PtInRegion(disc.Get(), 60, 60));
    ui::Region ring = ui::MakeEmptyRegion();
    DrawCircleInRegion(c, ring.Get(), POINT{60, 60}, 4, false);
    EXPECT_FALSE(::PtInRegion(ring.Get(), 60, 60));
    EXPECT_TRUE(::PtInRegion(ring.Get(), 56, 61));
    ui::Region point = ui::MakeEmptyRegion();
    DrawCircleInRegion(c, point.Get(), POINT{5, 70}, 0, true);
    EXPECT_FALSE(IsEmpty(point.Get()));
}

TEST(GeometryAreas, EllipseThroughTheCorners) {
    Surface s(400, 300);
    ui::Canvas& c = s.Canvas();
    const RECT r{100, 100, 300, 200};
    ui::Region filled = ui::MakeEmptyRegion();
    DrawEllipseInRegion(c, filled.Get(), r, true);
    // Semi-axes 141 and 70 around (200, 150): the box of x 59..341 and rows 81..219.
    RECT filledBox;
    ::GetRgnBox(filled.Get(), &filledBox);
    EXPECT_NEAR(filledBox.left, 59, 1);
    EXPECT_NEAR(filledBox.right, 342, 1);
    EXPECT_NEAR(filledBox.top, 81, 1);
    EXPECT_NEAR(filledBox.bottom, 220, 1);
    EXPECT_TRUE(::PtInRegion(filled.Get(), 200, 83));
    EXPECT_FALSE(::PtInRegion(filled.Get(), 200, 79));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 200, 217));
    EXPECT_FALSE(::PtInRegion(filled.Get(), 200, 221));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 62, 150));
    EXPECT_FALSE(::PtInRegion(filled.Get(), 57, 150));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 338, 150));
    EXPECT_FALSE(::PtInRegion(filled.Get(), 343, 150));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 200, 150));
    EXPECT_TRUE(::PtInRegion(filled.Get(), 296, 104)); // just inside a corner on the curve
    EXPECT_EQ(s.Pixel(200, 150), c.BrushColor());

    s.Fill(RGB(128, 128, 128));
    ui::Region outline = ui::MakeEmptyRegion();
    c.SetPenColor(RGB(0, 255, 0));
    DrawEllipseInRegion(c, outline.Get(), r, false);
    EXPECT_FALSE(::PtInRegion(outline.Get(), 200, 150));
    RECT box;
    ::GetRgnBox(outline.Get(), &box);
    EXPECT_NEAR(box.left, 59, 1);
    EXPECT_NEAR(box.right, 342, 1);
    EXPECT_NEAR(box.top, 80, 1);
    EXPECT_NEAR(box.bottom, 221, 1);
    // The curve passes through the corners of the rectangle.
    for (POINT corner : {POINT{100, 100}, POINT{300, 100}, POINT{100, 200}, POINT{300, 200}}) {
        bool touched = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                touched = touched || ::PtInRegion(outline.Get(), corner.x + dx, corner.y + dy);
        EXPECT_TRUE(touched) << corner.x << "," << corner.y;
    }
    EXPECT_EQ(s.Pixel(200, 150), RGB(128, 128, 128));
    EXPECT_EQ(c.PenWidth(), 1);
}

TEST(GeometryMarkers, StylesAndSizes) {
    Surface s(64, 64);
    ui::Canvas& c = s.Canvas();
    c.SetPenColor(RGB(255, 255, 0));
    c.SetBrushColor(RGB(255, 255, 0));
    for (int32_t type : {-1, 3, 99}) {
        ui::Region region = Rect(0, 0, 1, 1);
        EXPECT_EQ(DrawPointMarker(c, region.Get(), POINT{30, 30}, type, 8), region.Get());
        EXPECT_REGION_EQ(region.Get(), Rect(0, 0, 1, 1).Get());
    }
    EXPECT_EQ(s.Pixel(30, 30), RGB(128, 128, 128));

    ui::Region square = ui::MakeEmptyRegion();
    DrawPointMarker(c, square.Get(), 30, 30, PointTypeSquare, 9); // half size 4
    EXPECT_REGION_EQ(square.Get(), Rect(25, 25, 35, 35).Get());
    EXPECT_EQ(s.Pixel(30, 30), RGB(255, 255, 0));

    ui::Region disc = ui::MakeEmptyRegion();
    DrawPointMarker(c, disc.Get(), POINT{30, 30}, PointTypeCircle, 8);
    EXPECT_REGION_EQ(disc.Get(), Ellipse(26, 26, 36, 36).Get());

    ui::Region cross = ui::MakeEmptyRegion();
    DrawPointMarker(c, cross.Get(), POINT{30, 30}, PointTypeCross, 8);
    EXPECT_TRUE(::PtInRegion(cross.Get(), 27, 27));
    EXPECT_TRUE(::PtInRegion(cross.Get(), 27, 33));
    EXPECT_FALSE(::PtInRegion(cross.Get(), 30, 27));
}

namespace {

// Source 2 x 2: red, blue / green, transparent key (magenta) where asked.
void PaintSource(Surface& src, bool withKey, bool onlyKey) {
    const COLORREF key = RGB(255, 0, 255);
    src.Set(0, 0, onlyKey ? key : RGB(255, 0, 0));
    src.Set(1, 0, onlyKey ? key : RGB(0, 0, 255));
    src.Set(0, 1, onlyKey ? key : RGB(0, 255, 0));
    src.Set(1, 1, onlyKey || withKey ? key : RGB(255, 255, 255));
}

} // namespace

TEST(GeometryTransparentCopy, KeyColourLeavesTheDestination) {
    const COLORREF key = RGB(255, 0, 255);
    const COLORREF back = RGB(10, 20, 30);
    Surface src(2, 2);
    Surface dest(8, 8, back);
    const long handlesBefore = ui::LiveHandleCount();

    // No transparent pixel: a plain copy, stretched to 4 x 4 at (2, 2).
    PaintSource(src, false, false);
    EXPECT_TRUE(TransparentStretchBlt(dest.Dc(), 2, 2, 4, 4, src.Dc(), 0, 0, 2, 2, key));
    EXPECT_EQ(dest.Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(dest.Pixel(3, 3), RGB(255, 0, 0));
    EXPECT_EQ(dest.Pixel(5, 2), RGB(0, 0, 255));
    EXPECT_EQ(dest.Pixel(2, 5), RGB(0, 255, 0));
    EXPECT_EQ(dest.Pixel(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(dest.Pixel(1, 1), back);
    EXPECT_EQ(dest.Pixel(6, 6), back);

    // One quarter transparent: the background shows there only.
    dest.Fill(back);
    PaintSource(src, true, false);
    TransparentStretchBlt(dest.Dc(), 2, 2, 4, 4, src.Dc(), 0, 0, 2, 2, key);
    EXPECT_EQ(dest.Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(dest.Pixel(4, 4), back);
    EXPECT_EQ(dest.Pixel(5, 5), back);
    EXPECT_EQ(dest.Pixel(5, 3), RGB(0, 0, 255));

    // Only transparent pixels: the destination is unchanged, patterned or not.
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            dest.Set(x, y, RGB(x * 30, y * 30, 7));
    PaintSource(src, true, true);
    TransparentStretchBlt(dest.Dc(), 0, 0, 8, 8, src.Dc(), 0, 0, 2, 2, key);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(dest.Pixel(x, y), RGB(x * 30, y * 30, 7)) << x << "," << y;

    // The source keeps its background colour; nothing is left behind.
    EXPECT_EQ(::GetBkColor(src.Dc()), RGB(255, 255, 255));
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore);
}
