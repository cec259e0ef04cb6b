#include "screen_objects/uGeometry.h"

#include "ui/Handles.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr int32_t OutlineSegments = 360;

// ORs the temporary region into the target and lets it go.
void AddRegion(HRGN target, ui::Region part) {
    if (target && part)
        ::CombineRgn(target, target, part.Get(), RGN_OR);
}

void CutRegion(HRGN target, ui::Region part) {
    if (target && part)
        ::CombineRgn(target, target, part.Get(), RGN_DIFF);
}

ui::Region PolygonRegion(const POINT (&corners)[4]) {
    return ui::Region(::CreatePolygonRgn(corners, 4, WINDING));
}

POINT Offset(POINT p, int32_t dx, int32_t dy) {
    return POINT{p.x + dx, p.y + dy};
}

} // namespace

int32_t TruncToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t RoundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double rounded = lower;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0))
        rounded = lower + 1.0;
    return TruncToInt32(rounded);
}

double VectorLength(int32_t dx, int32_t dy) {
    const double x = dx;
    const double y = dy;
    return std::sqrt(x * x + y * y);
}

double PointDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Differences in 64 bits: far-apart points must not wrap around.
    const double dx = static_cast<double>(int64_t{x2} - x1);
    const double dy = static_cast<double>(int64_t{y2} - y1);
    return std::sqrt(dx * dx + dy * dy);
}

double PointLength(POINT v) {
    const int64_t squares = int64_t{v.x} * v.x + int64_t{v.y} * v.y;
    return std::sqrt(static_cast<double>(squares));
}

void NormalVector(POINT v, TFloatPoint& n, double len) {
    const double l = PointLength(v);
    if (l == 0.0) {
        n = TFloatPoint{0.0, 0.0};
        return;
    }
    n = TFloatPoint{v.y * len / l, -v.x * len / l};
}

void IntersectLines(POINT p, POINT v, POINT q, POINT w, POINT& r) {
    r = POINT{NoIntersection, NoIntersection};
    if (v.x == w.x && v.y == w.y)
        return;
    const int64_t det = int64_t{v.y} * w.x - int64_t{v.x} * w.y;
    if (det == 0)
        return;
    const int64_t num = (int64_t{p.x} - q.x) * v.y - (int64_t{p.y} - q.y) * v.x;
    const double t = static_cast<double>(num) / static_cast<double>(det);
    r = POINT{TruncToInt32(w.x * t + q.x), TruncToInt32(w.y * t + q.y)};
}

HRGN DrawLineInRegion(ui::Canvas& canvas, HRGN region, double x1, double y1, double x2, double y2) {
    return DrawSegmentInRegion(canvas, region, POINT{TruncToInt32(x1), TruncToInt32(y1)},
                               POINT{TruncToInt32(x2), TruncToInt32(y2)});
}

HRGN DrawSegmentInRegion(ui::Canvas& canvas, HRGN region, POINT p1, POINT p2) {
    const int width = canvas.PenWidth();
    if (width <= 1) {
        // The region keeps the one-pixel core; the stroke is drawn two pixels wide.
        const POINT down[4] = {p1, p2, Offset(p2, 0, 1), Offset(p1, 0, 1)};
        const POINT right[4] = {p1, p2, Offset(p2, 1, 0), Offset(p1, 1, 0)};
        AddRegion(region, PolygonRegion(down));
        AddRegion(region, PolygonRegion(right));
        canvas.SetPenWidth(2);
        canvas.MoveTo(p1.x, p1.y);
        canvas.LineTo(p2.x, p2.y);
        canvas.SetPenWidth(1);
        return region;
    }
    const int areaWidth = width == 2 ? 3 : width;
    TFloatPoint n;
    NormalVector(POINT{p1.x - p2.x, p1.y - p2.y}, n, areaWidth);
    const int32_t hx = TruncToInt32(n.x / 2);
    const int32_t hy = TruncToInt32(n.y / 2);
    const POINT band[4] = {Offset(p1, hx, hy), Offset(p2, hx, hy), Offset(p2, -hx, -hy),
                           Offset(p1, -hx, -hy)};
    AddRegion(region, PolygonRegion(band));
    const int32_t r = areaWidth / 2;
    AddRegion(region, ui::Region(::CreateEllipticRgn(p1.x - r, p1.y - r, p1.x + r, p1.y + r)));
    AddRegion(region, ui::Region(::CreateEllipticRgn(p2.x - r, p2.y - r, p2.x + r, p2.y + r)));
    canvas.MoveTo(p1.x, p1.y);
    canvas.LineTo(p2.x, p2.y);
    return region;
}

HRGN DrawCircleInRegion(ui::Canvas& canvas, HRGN region, POINT c, int32_t radius, bool filled) {
    const int32_t r = radius;
    canvas.SetBrushStyle(filled ? ui::BrushStyle::Solid : ui::BrushStyle::Clear);
    canvas.Ellipse(c.x - r, c.y - r, c.x + r + 1, c.y + r + 1);
    AddRegion(region, ui::Region(::CreateEllipticRgn(c.x - r, c.y - r, c.x + r + 2, c.y + r + 2)));
    if (!filled)
        CutRegion(region, ui::Region(::CreateEllipticRgn(c.x - r + 1, c.y - r + 1, c.x + r + 1,
                                                         c.y + r + 1)));
    return region;
}

HRGN DrawSquareInRegion(ui::Canvas& canvas, HRGN region, POINT c, int32_t half, bool filled) {
    const int32_t a = half;
    canvas.SetBrushStyle(filled ? ui::BrushStyle::Solid : ui::BrushStyle::Clear);
    canvas.Rectangle(c.x - a, c.y - a, c.x + a + 1, c.y + a + 1);
    AddRegion(region,
              ui::Region(::CreateRectRgn(c.x - a - 1, c.y - a - 1, c.x + a + 1, c.y + a + 1)));
    if (!filled)
        CutRegion(region,
                  ui::Region(::CreateRectRgn(c.x - a + 1, c.y - a + 1, c.x + a - 1, c.y + a - 1)));
    return region;
}

HRGN DrawRectangleInRegion(ui::Canvas& canvas, HRGN region, const RECT& rect, bool filled) {
    canvas.SetBrushStyle(filled ? ui::BrushStyle::Solid : ui::BrushStyle::Clear);
    canvas.Rectangle(rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    AddRegion(region,
              ui::Region(::CreateRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1)));
    if (!filled)
        CutRegion(region, ui::Region(::CreateRectRgn(rect.left + 1, rect.top + 1, rect.right - 1,
                                                     rect.bottom - 1)));
    return region;
}

HRGN DrawEllipseInRegion(ui::Canvas& canvas, HRGN region, const RECT& rect, bool filled) {
    const int32_t a = (rect.right - rect.left) / 2;
    const int32_t b = (rect.bottom - rect.top) / 2;
    const int32_t cx = (rect.left + rect.right) / 2;
    const int32_t cy = (rect.top + rect.bottom) / 2;
    if (filled) {
        const int32_t a2 = TruncToInt32(std::numbers::sqrt2 * a);
        const int32_t b2 = TruncToInt32(std::numbers::sqrt2 * b);
        // The disc is painted as exactly the area it adds: a drawn ellipse and
        // an elliptic region differ by a pixel at the rim, and a region pixel
        // left unpainted would show whatever the picture held there before.
        // The box is handed over ordered: an upside-down box gives a region
        // whose rectangles are out of order on some systems, and uniting such
        // regions then depends on the order of the unions.
        const int32_t top = std::min(cy + b2, cy - b2 + 1);
        const int32_t bottom = std::max(cy + b2, cy - b2 + 1);
        ui::Region disc(::CreateEllipticRgn(cx - a2, top, cx + a2 + 1, bottom));
        canvas.SetBrushStyle(ui::BrushStyle::Solid);
        if (disc)
            canvas.PaintRegion(disc.Get());
        AddRegion(region, std::move(disc));
        return region;
    }
    // The outline as a chain of one-degree segments, starting at the corner (cx + a, cy - b).
    POINT previous{cx + a, cy - b};
    for (int i = 1; i <= OutlineSegments; ++i) {
        const double t = i / 180.0 * std::numbers::pi;
        const POINT next{cx + TruncToInt32(a * (std::cos(t) + std::sin(t))),
                         cy + TruncToInt32(b * (std::sin(t) - std::cos(t)))};
        DrawSegmentInRegion(canvas, region, next, previous);
        previous = next;
    }
    return region;
}

HRGN DrawPointMarker(ui::Canvas& canvas, HRGN region, POINT p, int32_t pointType,
                     int32_t pointSize) {
    const int32_t h = pointSize / 2;
    switch (pointType) {
    case PointTypeCross:
        DrawLineInRegion(canvas, region, p.x - h, p.y - h, p.x + h, p.y + h);
        DrawLineInRegion(canvas, region, p.x - h, p.y + h, p.x + h, p.y - h);
        break;
    case PointTypeCircle:
        DrawCircleInRegion(canvas, region, p, h, true);
        break;
    case PointTypeSquare:
        DrawSquareInRegion(canvas, region, p, h, true);
        break;
    default:
        break;
    }
    return region;
}

HRGN DrawPointMarker(ui::Canvas& canvas, HRGN region, int32_t x, int32_t y, int32_t pointType,
                     int32_t pointSize) {
    return DrawPointMarker(canvas, region, POINT{x, y}, pointType, pointSize);
}

bool TransparentStretchBlt(HDC destDC, int32_t destX, int32_t destY, int32_t destWidth,
                           int32_t destHeight, HDC srcDC, int32_t srcX, int32_t srcY,
                           int32_t srcWidth, int32_t srcHeight, COLORREF transparentColor) {
    const int w = destWidth;
    const int h = destHeight;
    ui::MemoryDC mask(::CreateCompatibleDC(destDC));
    ui::MemoryDC picture(::CreateCompatibleDC(destDC));
    ui::Bitmap maskBitmap(::CreateBitmap(w, h, 1, 1, nullptr));
    ui::Bitmap pictureBitmap(::CreateCompatibleBitmap(destDC, w, h));
    if (!mask || !picture || !maskBitmap || !pictureBitmap)
        return true;
    // The selections end (and put the old bitmaps back) before the owners delete.
    ui::Selection selectMask(mask.Get(), maskBitmap.Get());
    ui::Selection selectPicture(picture.Get(), pictureBitmap.Get());
    // Mask and picture must sample the same source pixels when shrinking.
    ::SetStretchBltMode(mask.Get(), COLORONCOLOR);
    ::SetStretchBltMode(picture.Get(), COLORONCOLOR);

    // Colour to monochrome: pixels of the source's background colour become 1.
    const COLORREF oldSourceBackground = ::SetBkColor(srcDC, transparentColor);
    ::StretchBlt(mask.Get(), 0, 0, w, h, srcDC, srcX, srcY, srcWidth, srcHeight, SRCCOPY);
    ::SetBkColor(srcDC, oldSourceBackground);
    ::StretchBlt(picture.Get(), 0, 0, w, h, srcDC, srcX, srcY, srcWidth, srcHeight, SRCCOPY);

    // Monochrome to colour maps 1 to the target's background and 0 to its text colour.
    // Picture := black where transparent, the picture elsewhere.
    ::SetBkColor(picture.Get(), RGB(0, 0, 0));
    ::SetTextColor(picture.Get(), RGB(255, 255, 255));
    ::BitBlt(picture.Get(), 0, 0, w, h, mask.Get(), 0, 0, SRCAND);
    // Destination := black where opaque, unchanged where transparent; then OR the picture in.
    const COLORREF oldBackground = ::SetBkColor(destDC, RGB(255, 255, 255));
    const COLORREF oldText = ::SetTextColor(destDC, RGB(0, 0, 0));
    ::BitBlt(destDC, destX, destY, w, h, mask.Get(), 0, 0, SRCAND);
    ::SetBkColor(destDC, oldBackground);
    ::SetTextColor(destDC, oldText);
    ::BitBlt(destDC, destX, destY, w, h, picture.Get(), 0, 0, SRCPAINT);
    return true;
}
