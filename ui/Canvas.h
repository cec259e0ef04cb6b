// A drawing surface over a device context with a current pen, brush and font,
// as the screen objects and the owner-drawn controls use it. The canvas makes
// its pen and brush from the settings on demand and owns them; it never owns
// the device context.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace ui {

// The pixels of a 32-bit top-down picture selected into a canvas's DC:
// origin is the logical point drawn at pixel (0, 0).
struct PixelAccess {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    POINT origin{0, 0};
};

// A 32-bit top-down picture whose pixels the program may write, selected
// into a memory DC whose window origin is pixels.origin.
struct PixelPicture {
    PixelPicture() = default;
    PixelPicture(PixelPicture&&) = default;
    // The old DC goes before its bitmap: a bitmap selected into a DC cannot
    // be deleted.
    PixelPicture& operator=(PixelPicture&& other) noexcept {
        dc = std::move(other.dc);
        bitmap = std::move(other.bitmap);
        pixels = other.pixels;
        return *this;
    }
    explicit operator bool() const { return static_cast<bool>(dc); }

    Bitmap bitmap; // declared before the DC so the DC goes first
    MemoryDC dc;
    PixelAccess pixels;
};
// An empty picture (no DC) when the size is empty or the system refuses it.
PixelPicture MakePixelPicture(SIZE size, POINT origin = POINT{0, 0});

// Fills the parts of rects (each offset by -origin) that lie inside the
// picture with one 32-bit pixel value.
void FillPixelRects(const PixelAccess& pixels, const RECT* rects, size_t count, uint32_t pixel);

// Copies the parts of rects (each offset by -origin) that lie inside both
// pictures from a 32-bit top-down picture of the given size whose corner lies
// at the logical point at.
void CopyPixelRects(const PixelAccess& pixels, const RECT* rects, size_t count,
                    const uint32_t* from, int width, int height, POINT at);

enum class BrushStyle { Solid, Clear };

class Canvas {
public:
    explicit Canvas(HDC dc);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Handle() const { return dc_; }

    int PenWidth() const { return penWidth_; }
    void SetPenWidth(int width);
    COLORREF PenColor() const { return penColor_; }
    void SetPenColor(COLORREF color);

    COLORREF BrushColor() const { return brushColor_; }
    void SetBrushColor(COLORREF color);
    BrushStyle GetBrushStyle() const { return brushStyle_; }
    void SetBrushStyle(BrushStyle style);

    // Selects a font the caller keeps owning (nullptr: the DC's original font).
    void SetFont(HFONT font);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Rectangle and Ellipse use the system's convention: right and bottom excluded.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    void Polyline(const POINT* points, int count);
    void Polygon(const POINT* points, int count);
    void FillRect(const RECT& rect, COLORREF color);
    // Fills a region with the brush, as PaintRgn does. On a canvas that has
    // its picture's pixels, a solid brush is written straight into them,
    // within the DC's clipping region: the system fills a region one
    // rectangle at a time at many times the cost.
    void PaintRegion(HRGN region);
    // Copies a 32-bit top-down picture, its corner at the logical point at,
    // where area lies, straight into the canvas's pixels and within the DC's
    // clipping region. False, drawing nothing, when the canvas has no pixels.
    bool CopyPicture(HRGN area, const uint32_t* bits, int width, int height, POINT at);

    // Gives the canvas the pixels of the picture its DC draws on: a 32-bit
    // top-down picture with the window origin at pixels.origin, the default
    // mapping mode and drawing mode.
    void SetPixels(const PixelAccess& pixels) { pixels_ = pixels; }

    // Where drawing can show, in logical coordinates. Shapes draw and build
    // their areas only for what lies there (strokes with a margin), so their
    // cost follows what shows, not their coordinates. Unless set: the
    // picture's pixels when the canvas has them, else the whole 32-bit plane.
    void SetBounds(const RECT& bounds) {
        bounds_ = bounds;
        hasBounds_ = true;
    }
    RECT Bounds() const;

    // Makes the DC's pen and brush match the settings; the drawing calls do it
    // themselves, callers that draw with the DC directly call it first.
    void Realize();

private:
    // The parts of region inside the DC's clipping region, in pixels.
    std::vector<RECT> ClippedPixelRects(HRGN region) const;

    HDC dc_;
    HGDIOBJ originalPen_ = nullptr;
    HGDIOBJ originalBrush_ = nullptr;
    HGDIOBJ originalFont_ = nullptr;
    Pen pen_;
    Brush brush_;
    int penWidth_ = 1;
    COLORREF penColor_ = RGB(0, 0, 0);
    COLORREF brushColor_ = RGB(255, 255, 255);
    BrushStyle brushStyle_ = BrushStyle::Solid;
    bool penDirty_ = true;
    bool brushDirty_ = true;
    PixelAccess pixels_;
    RECT bounds_{0, 0, 0, 0};
    bool hasBounds_ = false;
};

} // namespace ui
