// A drawing surface over a device context with a current pen, brush and font,
// as the screen objects and the owner-drawn controls use it. The canvas makes
// its pen and brush from the settings on demand and owns them; it never owns
// the device context.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

namespace ui {

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

    // Makes the DC's pen and brush match the settings; the drawing calls do it
    // themselves, callers that draw with the DC directly call it first.
    void Realize();

private:
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
};

} // namespace ui
