#include "screen_objects/uGeometry.h"

#include "screen_objects/uEllipseRows.h"
#include "ui/Handles.h"
#include "ui/RegionUnion.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

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

// A segment longer than this along either axis is cut to the canvas bounds
// before the system sees it: the system builds its area one row at a time.
constexpr int64_t LongSegment = 1 << 16;
// How far beyond the bounds a cut segment still reaches, beyond its width.
constexpr int64_t CutMargin = 1024;
// Elliptic areas up to this many pixels high and wide come from the system
// and are then clipped; larger ones are built row by row within the bounds,
// as the system builds them (uEllipseRows.h).
constexpr int64_t SystemEllipseSide = 1 << 20;

// How far inside a wide stroke's edge the whole bounds must lie before the
// stroke is taken as a fill of the bounds: more than the pen's and its
// area's rounding (a pixel or two) and the arithmetic's error.
constexpr long double InsideStrokeMargin = 8;

// True when every point of the bounds lies farther than the margin inside
// the stroke of the given width along p1-p2 (its body and round ends): the
// stroke and its area then cover all of the bounds. The stroke is convex, so
// its four corners decide.
bool BoundsInsideStroke(POINT p1, POINT p2, int width, const RECT& bounds) {
    const long double reach = width / 2 - InsideStrokeMargin;
    const long double dx = static_cast<long double>(p2.x) - p1.x;
    const long double dy = static_cast<long double>(p2.y) - p1.y;
    const long double length2 = dx * dx + dy * dy;
    if (reach <= 0 || length2 == 0)
        return false;
    for (const long double x :
         {static_cast<long double>(bounds.left), static_cast<long double>(bounds.right)})
        for (const long double y :
             {static_cast<long double>(bounds.top), static_cast<long double>(bounds.bottom)}) {
            const long double t =
                std::clamp(((x - p1.x) * dx + (y - p1.y) * dy) / length2, 0.0L, 1.0L);
            const long double ex = x - (p1.x + t * dx), ey = y - (p1.y + t * dy);
            if (ex * ex + ey * ey > reach * reach)
                return false;
        }
    return true;
}

// The union of one span per row, rows [top, top + spans.size()); empty
// spans (left >= right) add nothing. Equal neighbouring rows share a band.
ui::Region RowsRegion(int64_t top, const std::vector<std::pair<int64_t, int64_t>>& spans) {
    ui::RegionUnion merger;
    size_t i = 0;
    while (i < spans.size()) {
        size_t j = i + 1;
        while (j < spans.size() && spans[j] == spans[i])
            ++j;
        if (spans[i].first < spans[i].second)
            merger.Push(ui::Region(::CreateRectRgn(
                ClampToInt32(spans[i].first), ClampToInt32(top + static_cast<int64_t>(i)),
                ClampToInt32(spans[i].second), ClampToInt32(top + static_cast<int64_t>(j)))));
        i = j;
    }
    return merger.Finish();
}

} // namespace

bool IntersectBox(const TBox64& a, const TBox64& b, TBox64& out) {
    out = TBox64{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return out.left < out.right && out.top < out.bottom;
}

TBox64 Inflated(const RECT& r, int64_t margin) {
    return TBox64{int64_t{r.left} - margin, int64_t{r.top} - margin, int64_t{r.right} + margin,
                  int64_t{r.bottom} + margin};
}

bool ClipSegment(POINT& p1, POINT& p2, const TBox64& within) {
    // Liang-Barsky on the segment from p1 to p2, in doubles: every 32-bit
    // coordinate and difference is exact there.
    const double x1 = p1.x, y1 = p1.y, dx = static_cast<double>(p2.x) - x1,
                 dy = static_cast<double>(p2.y) - y1;
    double t0 = 0.0, t1 = 1.0;
    auto edge = [&](double p, double q) {
        if (p == 0.0)
            return q >= 0.0;
        const double t = q / p;
        if (p < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!edge(-dx, x1 - static_cast<double>(within.left)) ||
        !edge(dx, static_cast<double>(within.right) - x1) ||
        !edge(-dy, y1 - static_cast<double>(within.top)) ||
        !edge(dy, static_cast<double>(within.bottom) - y1))
        return false;
    const POINT a{ClampToInt32(std::llround(x1 + t0 * dx)),
                  ClampToInt32(std::llround(y1 + t0 * dy))};
    const POINT b{ClampToInt32(std::llround(x1 + t1 * dx)),
                  ClampToInt32(std::llround(y1 + t1 * dy))};
    p1 = a;
    p2 = b;
    return true;
}

std::vector<std::pair<int64_t, int64_t>> EllipseRowSpans(const TBox64& box, int64_t firstRow,
                                                         int64_t endRow) {
    // The system's elliptic area leaves out the box's right column and
    // bottom row; each row holds the pixels whose centres lie inside the
    // ellipse inscribed in what is left.
    std::vector<std::pair<int64_t, int64_t>> spans;
    if (endRow <= firstRow)
        return spans;
    spans.assign(static_cast<size_t>(endRow - firstRow), {0, 0});
    const long double xc = (static_cast<long double>(box.left) + box.right - 1) / 2;
    const long double yc = (static_cast<long double>(box.top) + box.bottom - 1) / 2;
    const long double rx = (static_cast<long double>(box.right) - 1 - box.left) / 2;
    const long double ry = (static_cast<long double>(box.bottom) - 1 - box.top) / 2;
    if (rx <= 0 || ry <= 0)
        return spans;
    for (int64_t y = firstRow; y < endRow; ++y) {
        const long double d = (y + 0.5L - yc) / ry;
        if (d * d >= 1)
            continue;
        const long double half = rx * std::sqrt(1 - d * d);
        const auto left = static_cast<int64_t>(std::ceil(xc - half - 0.5L));
        const auto right = static_cast<int64_t>(std::floor(xc + half - 0.5L)) + 1;
        spans[static_cast<size_t>(y - firstRow)] = {left, right};
    }
    return spans;
}

ui::Region EllipticArea(const TBox64& box, const RECT& bounds) {
    TBox64 visible;
    if (!IntersectBox(box, Inflated(bounds, 0), visible))
        return ui::MakeEmptyRegion();
    const bool fits =
        box.left >= INT_MIN && box.right <= INT_MAX && box.top >= INT_MIN && box.bottom <= INT_MAX;
    if (fits && box.right - box.left <= SystemEllipseSide &&
        box.bottom - box.top <= SystemEllipseSide) {
        ui::Region area(::CreateEllipticRgn(static_cast<int>(box.left), static_cast<int>(box.top),
                                            static_cast<int>(box.right),
                                            static_cast<int>(box.bottom)));
        const bool inside = visible.left == box.left && visible.top == box.top &&
                            visible.right == box.right && visible.bottom == box.bottom;
        if (area && !inside) {
            ui::Region clip(::CreateRectRgn(ClampToInt32(visible.left), ClampToInt32(visible.top),
                                            ClampToInt32(visible.right),
                                            ClampToInt32(visible.bottom)));
            ::CombineRgn(area.Get(), area.Get(), clip.Get(), RGN_AND);
        }
        return area;
    }
    // The system's own rows where it could draw the ellipse at all, else
    // the pixels whose centres lie inside.
    std::vector<std::pair<int64_t, int64_t>> spans;
    if (auto rows = SystemEllipseRows(box.left, box.top, box.right, box.bottom, visible.top,
                                      visible.bottom))
        spans = std::move(*rows);
    else
        spans = EllipseRowSpans(box, visible.top, visible.bottom);
    for (auto& [left, right] : spans) {
        left = std::max(left, visible.left);
        right = std::min(right, visible.right);
    }
    return RowsRegion(visible.top, spans);
}

int32_t TruncToInt32(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
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
    // Nothing of a stroke whose box misses the bounds can show; a long one
    // is cut to the bounds with room for its width and round ends.
    const RECT bounds = canvas.Bounds();
    const int64_t reach = int64_t{width} + 4;
    const TBox64 stroke{
        std::min<int64_t>(p1.x, p2.x) - reach, std::min<int64_t>(p1.y, p2.y) - reach,
        std::max<int64_t>(p1.x, p2.x) + reach, std::max<int64_t>(p1.y, p2.y) + reach};
    TBox64 seen;
    if (!IntersectBox(stroke, Inflated(bounds, 0), seen))
        return region;
    // A pen wider than the bounds may cover them whole: what shows is then the
    // pen's colour everywhere, and the system need not build a stroke and
    // round ends as wide as the pen (a pen of 200,000 pixels took 160 ms).
    if (width > 1 && (canvas.PenColor() >> 24) == 0 && BoundsInsideStroke(p1, p2, width, bounds)) {
        canvas.FillRect(bounds, canvas.PenColor());
        AddRegion(region, ui::Region(::CreateRectRgnIndirect(&bounds)));
        return region;
    }
    if (std::llabs(int64_t{p2.x} - p1.x) > LongSegment ||
        std::llabs(int64_t{p2.y} - p1.y) > LongSegment) {
        if (!ClipSegment(p1, p2, Inflated(bounds, reach + CutMargin)))
            return region;
    }
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
    // Sides beyond the bounds (with room for the pen) are moved in to there:
    // what shows is the same, and the system's work follows what shows.
    const TBox64 whole{rect.left, rect.top, int64_t{rect.right} + 1, int64_t{rect.bottom} + 1};
    const TBox64 room = Inflated(canvas.Bounds(), int64_t{canvas.PenWidth()} + 2);
    TBox64 r;
    if (!IntersectBox(whole, room, r))
        return region;
    const int32_t l = ClampToInt32(r.left), t = ClampToInt32(r.top), rr = ClampToInt32(r.right),
                  b = ClampToInt32(r.bottom);
    canvas.SetBrushStyle(filled ? ui::BrushStyle::Solid : ui::BrushStyle::Clear);
    canvas.Rectangle(l, t, rr, b);
    AddRegion(region, ui::Region(::CreateRectRgn(l, t, rr, b)));
    TBox64 inner;
    if (!filled &&
        IntersectBox(TBox64{whole.left + 1, whole.top + 1, whole.right - 2, whole.bottom - 2}, room,
                     inner))
        CutRegion(region, ui::Region(::CreateRectRgn(
                              ClampToInt32(inner.left), ClampToInt32(inner.top),
                              ClampToInt32(inner.right), ClampToInt32(inner.bottom))));
    return region;
}

HRGN DrawEllipseInRegion(ui::Canvas& canvas, HRGN region, const RECT& rect, bool filled) {
    // In 64 bits: the sides of a box near the ends of the 32-bit range do not fit 32.
    const int64_t a = (int64_t{rect.right} - rect.left) / 2;
    const int64_t b = (int64_t{rect.bottom} - rect.top) / 2;
    const int64_t cx = (int64_t{rect.left} + rect.right) / 2;
    const int64_t cy = (int64_t{rect.top} + rect.bottom) / 2;
    if (filled) {
        const auto a2 = static_cast<int64_t>(std::numbers::sqrt2 * static_cast<double>(a));
        const auto b2 = static_cast<int64_t>(std::numbers::sqrt2 * static_cast<double>(b));
        // The disc is painted as exactly the area it adds: a drawn ellipse and
        // an elliptic region differ by a pixel at the rim, and a region pixel
        // left unpainted would show whatever the picture held there before.
        // The box is handed over ordered: an upside-down box gives a region
        // whose rectangles are out of order on some systems, and uniting such
        // regions then depends on the order of the unions.
        const TBox64 box{cx - a2, std::min(cy + b2, cy - b2 + 1), cx + a2 + 1,
                         std::max(cy + b2, cy - b2 + 1)};
        ui::Region disc = EllipticArea(box, canvas.Bounds());
        canvas.SetBrushStyle(ui::BrushStyle::Solid);
        if (disc)
            canvas.PaintRegion(disc.Get());
        AddRegion(region, std::move(disc));
        return region;
    }
    // The outline as a chain of one-degree segments, starting at the corner (cx + a, cy - b).
    auto corner = [&](double t) {
        return POINT{ClampToInt32(cx + static_cast<int64_t>(static_cast<double>(a) *
                                                            (std::cos(t) + std::sin(t)))),
                     ClampToInt32(cy + static_cast<int64_t>(static_cast<double>(b) *
                                                            (std::sin(t) - std::cos(t))))};
    };
    POINT previous = corner(0.0);
    for (int i = 1; i <= OutlineSegments; ++i) {
        const POINT next = corner(i / 180.0 * std::numbers::pi);
        DrawSegmentInRegion(canvas, region, next, previous);
        previous = next;
    }
    return region;
}

HRGN DrawPointMarker(ui::Canvas& canvas, HRGN region, POINT p, int32_t pointType,
                     int32_t pointSize) {
    const int32_t h = pointSize / 2;
    const int64_t reach = int64_t{h} + 4;
    TBox64 seen;
    if (!IntersectBox(TBox64{p.x - reach, p.y - reach, p.x + reach, p.y + reach},
                      Inflated(canvas.Bounds(), 0), seen))
        return region; // nothing of it shows
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
