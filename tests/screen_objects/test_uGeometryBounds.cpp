// Shapes drawn on a canvas with bounds: what shows inside the bounds, and
// the area there, must be what the system gives for the whole shape; huge
// shapes must still paint and hit where they show.
#include "shape_surface.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uScreenEllipse.h"
#include "screen_objects/uScreenFreehand.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

using namespace testshapes;

namespace {

constexpr int W = 160, H = 120;
const RECT Visible{0, 0, W, H};
constexpr COLORREF Ink = RGB(250, 20, 20);

using Draw = std::function<void(ui::Canvas&, HRGN)>;

// Draws once on an unbounded canvas and once on one bounded to the surface;
// every pixel and the area inside the bounds must agree.
void ExpectSameInside(const char* what, const Draw& draw) {
    SCOPED_TRACE(what);
    Surface whole(W, H), bounded(W, H);
    bounded.Canvas().SetBounds(Visible);
    ui::Region wholeArea = ui::MakeEmptyRegion(), boundedArea = ui::MakeEmptyRegion();
    for (Surface* s : {&whole, &bounded}) {
        s->Canvas().SetPenColor(Ink);
        s->Canvas().SetBrushColor(Ink);
    }
    draw(whole.Canvas(), wholeArea.Get());
    draw(bounded.Canvas(), boundedArea.Get());
    int differing = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            differing += whole.Pixel(x, y) != bounded.Pixel(x, y);
    EXPECT_EQ(differing, 0);
    ui::Region inside = Rect(0, 0, W, H);
    ::CombineRgn(wholeArea.Get(), wholeArea.Get(), inside.Get(), RGN_AND);
    ::CombineRgn(boundedArea.Get(), boundedArea.Get(), inside.Get(), RGN_AND);
    EXPECT_REGION_EQ(boundedArea.Get(), wholeArea.Get());
}

} // namespace

TEST(GeometryBounds, ShapesNearAndAcrossTheBoundsShowAsUnbounded) {
    for (int pen : {1, 2, 7}) {
        auto withPen = [pen](Draw d) {
            return [pen, d](ui::Canvas& c, HRGN r) {
                c.SetPenWidth(pen);
                d(c, r);
            };
        };
        ExpectSameInside("segment across", withPen([](ui::Canvas& c, HRGN r) {
                             DrawSegmentInRegion(c, r, POINT{-20000, -7001}, POINT{20000, 9003});
                         }));
        ExpectSameInside("segment just outside", withPen([](ui::Canvas& c, HRGN r) {
                             DrawSegmentInRegion(c, r, POINT{-500, H + 2}, POINT{W + 500, H + 5});
                         }));
        ExpectSameInside(
            "outline ellipse +-20,000", withPen([](ui::Canvas& c, HRGN r) {
                DrawEllipseInRegion(c, r, RECT{-14000 + 80, -14100, 14080, 14100 + 60}, false);
            }));
        ExpectSameInside("outline rectangle across", withPen([](ui::Canvas& c, HRGN r) {
                             DrawRectangleInRegion(c, r, RECT{-30000, 10, 40, 30000}, false);
                         }));
    }
    // Pens wider than the surface: the surface inside the stroke's body or
    // one round end, and the stroke's edge just inside its margin or across
    // the top row, straight and slanted.
    struct Wide {
        const char* what;
        POINT p1, p2;
        int pen;
    };
    const Wide wide[] = {
        {"pen of 200,000 over the surface", {-300, -200}, {500, 300}, 200000},
        {"surface inside a round end", {80 + 50000, 60}, {80 + 150000, 60}, 200000},
        {"edge 8 pixels above the top row", {-5000, 99992}, {5000, 99992}, 200000},
        {"edge across the top row", {-5000, 100001}, {5000, 100001}, 200000},
        {"slanted edge 8.8 pixels beyond a corner", {-34514, 93842}, {-28514, 95842}, 200000},
        {"slanted edge across a corner", {-34517, 93852}, {-28517, 95852}, 200000},
    };
    for (const Wide& w : wide)
        ExpectSameInside(w.what, [&w](ui::Canvas& c, HRGN r) {
            c.SetPenWidth(w.pen);
            DrawSegmentInRegion(c, r, w.p1, w.p2);
        });
    // Strokes whose area covers the surface but which the system (Wine) does
    // not draw, or draws in minutes: a long slanted one of 200,000 pixels, a
    // pen of 2,000,000 and one of 2^31 - 1. Bounded, they fill the surface.
    const Wide unpainted[] = {
        {"long slanted stroke", {-46514, 89842}, {-16514, 99842}, 200000},
        {"pen of 2,000,000", {100, 100}, {700, 500}, 2000000},
        {"pen of 2^31 - 1", {100, 100}, {700, 500}, INT_MAX},
    };
    for (const Wide& w : unpainted) {
        SCOPED_TRACE(w.what);
        Surface surface(W, H);
        surface.Canvas().SetBounds(Visible);
        surface.Canvas().SetPenColor(Ink);
        surface.Canvas().SetPenWidth(w.pen);
        ui::Region area = ui::MakeEmptyRegion();
        DrawSegmentInRegion(surface.Canvas(), area.Get(), w.p1, w.p2);
        int unpaintedPixels = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                unpaintedPixels += surface.Pixel(x, y) != Ink;
        EXPECT_EQ(unpaintedPixels, 0);
        ui::Region all = Rect(0, 0, W, H);
        EXPECT_REGION_EQ(area.Get(), all.Get());
    }
    ExpectSameInside("filled ellipse +-20,000", [](ui::Canvas& c, HRGN r) {
        DrawEllipseInRegion(c, r, RECT{80 - 14142, 60 - 14142, 80 + 14142, 60 + 14142}, true);
    });
    // Its rim crosses the surface: the rows there decide.
    ExpectSameInside("filled ellipse, rim across", [](ui::Canvas& c, HRGN r) {
        DrawEllipseInRegion(c, r, RECT{-19000, -3000, 100, 50}, true);
    });
    ExpectSameInside("filled ellipse on the edge", [](ui::Canvas& c, HRGN r) {
        DrawEllipseInRegion(c, r, RECT{W - 30, -25, W + 30, 25}, true);
    });
    ExpectSameInside("filled rectangle across", [](ui::Canvas& c, HRGN r) {
        DrawRectangleInRegion(c, r, RECT{-25000, 30, 70, 25000}, true);
    });
    ExpectSameInside("markers on and off the edge", [](ui::Canvas& c, HRGN r) {
        for (int type : {PointTypeCross, PointTypeCircle, PointTypeSquare}) {
            DrawPointMarker(c, r, POINT{-3, 40 + type * 20}, type, 12);
            DrawPointMarker(c, r, POINT{W + 20, 40}, type, 12);
        }
    });
}

TEST(GeometryBounds, HugeShapesPaintWhereTheyShowAndKeepAnArea) {
    // A filled ellipse over the whole 32-bit range covers the surface.
    Surface surface(W, H);
    surface.Canvas().SetBounds(Visible);
    TScreenEllipse ellipse;
    ellipse.AppendPoint(INT_MIN, INT_MIN);
    ellipse.AppendPoint(INT_MAX, INT_MAX);
    ellipse.SetPointType(PointTypeNone);
    ellipse.SetLineColor(Ink);
    ellipse.PolygonFilled = true;
    ui::Region area = ui::MakeEmptyRegion();
    ellipse.Paint(surface.Canvas(), area.Get(), false);
    ui::Region all = Rect(0, 0, W, H);
    EXPECT_REGION_EQ(area.Get(), all.Get());
    EXPECT_EQ(surface.Pixel(0, 0), Ink);
    EXPECT_EQ(surface.Pixel(W - 1, H - 1), Ink);
    EXPECT_TRUE(ellipse.ContainsPoint(POINT{W / 2, H / 2}));
    EXPECT_FALSE(ellipse.ContainsPoint(POINT{W + 10, H / 2})); // nothing kept beyond the bounds

    // An ellipse whose right rim, about a billion pixels from its centre,
    // runs down the surface at x = 80: the rows there are computed, not
    // asked of the system, and must end exactly at the rim.
    Surface rim(W, H);
    rim.Canvas().SetBounds(Visible);
    rim.Canvas().SetBrushColor(Ink);
    ui::Region rimArea = ui::MakeEmptyRegion();
    // cx + trunc(sqrt(2) * 7e8) = 80, with half sides of 7e8.
    DrawEllipseInRegion(rim.Canvas(), rimArea.Get(),
                        RECT{-1689949413, -700000000, -289949413, 700000000}, true);
    for (int y : {0, H / 2, H - 1}) {
        EXPECT_TRUE(::PtInRegion(rimArea.Get(), 0, y));
        EXPECT_TRUE(::PtInRegion(rimArea.Get(), 79, y));
        EXPECT_FALSE(::PtInRegion(rimArea.Get(), 80, y));
        EXPECT_EQ(rim.Pixel(79, y), Ink);
        EXPECT_NE(rim.Pixel(80, y), Ink);
    }

    // A polyline from end to end of the range: the diagonal runs through
    // whole pixels, so it must show as the short diagonal does.
    ExpectSameInside("diagonal over the whole range", [](ui::Canvas& c, HRGN r) {
        RECT b = c.Bounds();
        const bool bounded = int64_t{b.right} - b.left < 100000;
        const POINT from = bounded ? POINT{INT_MIN + 1, INT_MIN + 1} : POINT{-3000, -3000};
        const POINT to = bounded ? POINT{INT_MAX, INT_MAX} : POINT{3000, 3000};
        DrawSegmentInRegion(c, r, from, to);
    });
    TScreenFreehand line;
    line.AppendPoint(INT_MIN, 50);
    line.AppendPoint(INT_MAX, 50);
    line.SetPointType(PointTypeNone);
    line.SetLineColor(Ink);
    Surface across(W, H);
    across.Canvas().SetBounds(Visible);
    ui::Region lineArea = ui::MakeEmptyRegion();
    line.Paint(across.Canvas(), lineArea.Get(), false);
    for (int x : {0, W / 2, W - 1}) {
        EXPECT_EQ(across.Pixel(x, 50), Ink);
        EXPECT_TRUE(::PtInRegion(lineArea.Get(), x, 50));
    }
}
