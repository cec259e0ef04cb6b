#include "ui/Canvas.h"

#include "ui/RegionUnion.h"

#include <algorithm>
#include <climits>

namespace ui {

PixelPicture MakePixelPicture(SIZE size, POINT origin) {
    PixelPicture picture;
    if (size.cx <= 0 || size.cy <= 0)
        return picture;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    WindowDC screen(nullptr);
    void* bits = nullptr;
    Bitmap bitmap(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    if (!bitmap || !bits || !dc)
        return picture;
    ::SelectObject(dc.Get(), bitmap.Get());
    ::SetWindowOrgEx(dc.Get(), origin.x, origin.y, nullptr);
    picture.bitmap = std::move(bitmap);
    picture.dc = std::move(dc);
    picture.pixels = PixelAccess{static_cast<uint32_t*>(bits), size.cx, size.cy, origin};
    return picture;
}

namespace {

// The part of r (offset by -origin) inside the picture and inside within
// (in the picture's pixels); false when nothing is left.
bool PixelPart(const PixelAccess& pixels, const RECT& r, const RECT& within, RECT& part) {
    const RECT moved{r.left - pixels.origin.x, r.top - pixels.origin.y, r.right - pixels.origin.x,
                     r.bottom - pixels.origin.y};
    const RECT picture{0, 0, pixels.width, pixels.height};
    RECT inside;
    return ::IntersectRect(&inside, &moved, &picture) && ::IntersectRect(&part, &inside, &within);
}

} // namespace

void FillPixelRects(const PixelAccess& pixels, const RECT* rects, size_t count, uint32_t pixel) {
    if (!pixels.bits || pixels.width <= 0 || pixels.height <= 0)
        return;
    const RECT all{0, 0, pixels.width, pixels.height};
    for (size_t i = 0; i < count; ++i) {
        RECT part;
        if (!PixelPart(pixels, rects[i], all, part))
            continue;
        for (LONG y = part.top; y < part.bottom; ++y) {
            uint32_t* row = pixels.bits + static_cast<size_t>(y) * pixels.width;
            std::fill(row + part.left, row + part.right, pixel);
        }
    }
}

void CopyPixelRects(const PixelAccess& pixels, const RECT* rects, size_t count,
                    const uint32_t* from, int width, int height, POINT at) {
    if (!pixels.bits || !from || pixels.width <= 0 || pixels.height <= 0 || width <= 0 ||
        height <= 0)
        return;
    // The source picture in the target's pixels.
    const LONG fromX = at.x - pixels.origin.x, fromY = at.y - pixels.origin.y;
    const RECT source{fromX, fromY, fromX + width, fromY + height};
    for (size_t i = 0; i < count; ++i) {
        RECT part;
        if (!PixelPart(pixels, rects[i], source, part))
            continue;
        for (LONG y = part.top; y < part.bottom; ++y) {
            const uint32_t* row =
                from + static_cast<size_t>(y - fromY) * static_cast<size_t>(width);
            std::copy(row + (part.left - fromX), row + (part.right - fromX),
                      pixels.bits + static_cast<size_t>(y) * pixels.width + part.left);
        }
    }
}

Canvas::Canvas(HDC dc) : dc_(dc) {
    originalPen_ = ::GetCurrentObject(dc_, OBJ_PEN);
    originalBrush_ = ::GetCurrentObject(dc_, OBJ_BRUSH);
    originalFont_ = ::GetCurrentObject(dc_, OBJ_FONT);
}

Canvas::~Canvas() {
    // Put the DC's own objects back before our pen and brush are deleted.
    ::SelectObject(dc_, originalPen_);
    ::SelectObject(dc_, originalBrush_);
    ::SelectObject(dc_, originalFont_);
}

RECT Canvas::Bounds() const {
    if (hasBounds_)
        return bounds_;
    if (pixels_.bits)
        return RECT{pixels_.origin.x, pixels_.origin.y, pixels_.origin.x + pixels_.width,
                    pixels_.origin.y + pixels_.height};
    return RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
}

void Canvas::SetPenWidth(int width) {
    if (width < 1)
        width = 1;
    if (width != penWidth_) {
        penWidth_ = width;
        penDirty_ = true;
    }
}

void Canvas::SetPenColor(COLORREF color) {
    if (color != penColor_) {
        penColor_ = color;
        penDirty_ = true;
    }
}

void Canvas::SetBrushColor(COLORREF color) {
    if (color != brushColor_) {
        brushColor_ = color;
        brushDirty_ = true;
    }
}

void Canvas::SetBrushStyle(BrushStyle style) {
    if (style != brushStyle_) {
        brushStyle_ = style;
        brushDirty_ = true;
    }
}

void Canvas::SetFont(HFONT font) {
    ::SelectObject(dc_, font ? font : originalFont_);
}

void Canvas::Realize() {
    if (penDirty_) {
        Pen pen(::CreatePen(PS_SOLID, penWidth_, penColor_));
        ::SelectObject(dc_, pen.Get() ? static_cast<HGDIOBJ>(pen.Get()) : originalPen_);
        pen_ = std::move(pen); // the old pen is no longer selected: deleted here
        penDirty_ = false;
    }
    if (brushDirty_) {
        Brush brush(brushStyle_ == BrushStyle::Solid ? ::CreateSolidBrush(brushColor_) : nullptr);
        ::SelectObject(dc_, brush.Get() ? static_cast<HGDIOBJ>(brush.Get())
                                        : ::GetStockObject(NULL_BRUSH));
        brush_ = std::move(brush);
        brushDirty_ = false;
    }
}

void Canvas::MoveTo(int x, int y) {
    ::MoveToEx(dc_, x, y, nullptr);
}

void Canvas::LineTo(int x, int y) {
    Realize();
    ::LineTo(dc_, x, y);
}

void Canvas::Rectangle(int left, int top, int right, int bottom) {
    Realize();
    ::Rectangle(dc_, left, top, right, bottom);
}

void Canvas::Ellipse(int left, int top, int right, int bottom) {
    Realize();
    ::Ellipse(dc_, left, top, right, bottom);
}

void Canvas::Polyline(const POINT* points, int count) {
    if (!points || count <= 0)
        return;
    Realize();
    ::Polyline(dc_, points, count);
}

void Canvas::Polygon(const POINT* points, int count) {
    if (!points || count <= 0)
        return;
    Realize();
    ::Polygon(dc_, points, count);
}

void Canvas::FillRect(const RECT& rect, COLORREF color) {
    Brush brush(::CreateSolidBrush(color));
    ::FillRect(dc_, &rect, brush.Get());
}

void Canvas::PaintRegion(HRGN region) {
    if (!region)
        return;
    Realize();
    // Palette colours and other drawing modes are left to the system.
    if (!pixels_.bits || brushStyle_ != BrushStyle::Solid || (brushColor_ >> 24) != 0 ||
        ::GetROP2(dc_) != R2_COPYPEN) {
        ::PaintRgn(dc_, region);
        return;
    }
    const std::vector<RECT> rects = ClippedPixelRects(region);
    if (rects.empty())
        return;
    const COLORREF c = brushColor_;
    const uint32_t pixel = (static_cast<uint32_t>(GetRValue(c)) << 16) |
                           (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
    PixelAccess device = pixels_;
    device.origin = POINT{0, 0};
    FillPixelRects(device, rects.data(), rects.size(), pixel);
}

bool Canvas::CopyPicture(HRGN area, const uint32_t* bits, int width, int height, POINT at) {
    if (!pixels_.bits || !bits)
        return false;
    if (!area)
        return true;
    const std::vector<RECT> rects = ClippedPixelRects(area);
    PixelAccess device = pixels_;
    device.origin = POINT{0, 0};
    CopyPixelRects(device, rects.data(), rects.size(), bits, width, height,
                   POINT{at.x - pixels_.origin.x, at.y - pixels_.origin.y});
    return true;
}

std::vector<RECT> Canvas::ClippedPixelRects(HRGN region) const {
    // The clipping region is in pixels; the region is moved there.
    Region fill = MakeEmptyRegion();
    ::CombineRgn(fill.Get(), region, nullptr, RGN_COPY);
    ::OffsetRgn(fill.Get(), -pixels_.origin.x, -pixels_.origin.y);
    Region clip = MakeEmptyRegion();
    if (::GetClipRgn(dc_, clip.Get()) == 1 &&
        ::CombineRgn(fill.Get(), fill.Get(), clip.Get(), RGN_AND) == NULLREGION)
        return {};
    // Drawing the system may still hold back must land before these pixels.
    ::GdiFlush();
    return RegionRects(fill.Get());
}

} // namespace ui
