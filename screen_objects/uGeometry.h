// Vector geometry and the draw-and-add-to-region helpers the shapes share.
//
// Every Draw...InRegion function draws on the canvas with its current pen and
// brush colours, builds a temporary region for the area it covered, ORs that
// into `region` (in place) and returns `region`. The caller owns `region`,
// which must be a valid region handle; temporaries never outlive the call.
#pragma once

#include "ui/Canvas.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

// A vector with floating-point components (NormalVector's result).
struct TFloatPoint {
    double x = 0.0;
    double y = 0.0;
};

// IntersectLines' answer when the lines do not meet (both coordinates).
constexpr int32_t NoIntersection = 2147483647;

// Cuts toward zero; values beyond the 32-bit range are clamped, NaN gives 0.
int32_t TruncToInt32(double value);
// Keeps a 64-bit value inside the 32-bit range.
int32_t ClampToInt32(int64_t value);
// Rounds to the nearest integer, halves to the even neighbour (9.5 -> 10, 8.5 -> 8).
int32_t RoundHalfEven(double value);

double VectorLength(int32_t dx, int32_t dy);
double PointDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
double PointLength(POINT v);
// n := v turned by -90 degrees with length len; (0, 0) for a zero v.
void NormalVector(POINT v, TFloatPoint& n, double len);
// Intersection of the line through p with direction v and the line through q
// with direction w; (NoIntersection, NoIntersection) when they do not meet.
void IntersectLines(POINT p, POINT v, POINT q, POINT w, POINT& r);

HRGN DrawLineInRegion(ui::Canvas& canvas, HRGN region, double x1, double y1, double x2, double y2);
// Width 1: a two-pixel stroke whose region is the one-pixel core. Wider pens:
// a band of the pen width (2 counts as 3) with round ends.
HRGN DrawSegmentInRegion(ui::Canvas& canvas, HRGN region, POINT p1, POINT p2);
HRGN DrawCircleInRegion(ui::Canvas& canvas, HRGN region, POINT centre, int32_t radius, bool filled);
HRGN DrawSquareInRegion(ui::Canvas& canvas, HRGN region, POINT centre, int32_t half, bool filled);
// Right column and bottom row belong to the rectangle.
HRGN DrawRectangleInRegion(ui::Canvas& canvas, HRGN region, const RECT& rect, bool filled);
// The ellipse through the four corners of rect (semi-axes sqrt(2) times the half sides).
HRGN DrawEllipseInRegion(ui::Canvas& canvas, HRGN region, const RECT& rect, bool filled);

// A box in 64 bits (right and bottom excluded): boxes of items near the ends
// of the 32-bit range, with their margins, do not fit 32 bits.
struct TBox64 {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
};
// out := a and b; false when nothing is left.
bool IntersectBox(const TBox64& a, const TBox64& b, TBox64& out);
TBox64 Inflated(const RECT& r, int64_t margin);
// Cuts the segment p1-p2 to `within`, the new ends rounded to whole pixels;
// false when nothing of it lies there.
bool ClipSegment(POINT& p1, POINT& p2, const TBox64& within);
// Rows firstRow..endRow-1 of the elliptic area of box (as the system builds
// it: right column and bottom row left out): one span [left, right) per row,
// empty where the row misses the ellipse.
std::vector<std::pair<int64_t, int64_t>> EllipseRowSpans(const TBox64& box, int64_t firstRow,
                                                         int64_t endRow);
// The elliptic area of box within bounds: the system's own (clipped) up to
// 2^20 pixels a side, else the same rows built for the rows inside bounds
// only (SystemEllipseRows; EllipseRowSpans beyond the system's reach).
ui::Region EllipticArea(const TBox64& box, const RECT& bounds);

// Vertex marker styles.
constexpr int32_t PointTypeCross = 0;
constexpr int32_t PointTypeCircle = 1;
constexpr int32_t PointTypeSquare = 2;
// Any other style (the overlay gives -1 to lines and areas) draws nothing.
constexpr int32_t PointTypeNone = -1;

HRGN DrawPointMarker(ui::Canvas& canvas, HRGN region, POINT point, int32_t pointType,
                     int32_t pointSize);
HRGN DrawPointMarker(ui::Canvas& canvas, HRGN region, int32_t x, int32_t y, int32_t pointType,
                     int32_t pointSize);

// Copies the source rectangle stretched to destWidth x destHeight onto the
// destination, leaving destination pixels alone where the source has
// transparentColor. The destination is written twice (opaque pixels cleared,
// then the picture ORed in), so it is meant for an off-screen picture. Always
// returns true.
bool TransparentStretchBlt(HDC destDC, int32_t destX, int32_t destY, int32_t destWidth,
                           int32_t destHeight, HDC srcDC, int32_t srcX, int32_t srcY,
                           int32_t srcWidth, int32_t srcHeight, COLORREF transparentColor);
