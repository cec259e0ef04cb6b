#include "ui/Canvas.h"

namespace ui {

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

} // namespace ui
