#include "screen_objects/uScreenEllipse.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uMeasurementFormat.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr int32_t EllipsePointSize = 8;
constexpr int GuideDiagonalWidth = 2;
} // namespace

RECT EllipseOuterRect(const RECT& n) {
    // In 64 bits, kept inside 32: a box near the ends of the range overflows 32.
    const int64_t hw = (int64_t{n.right} - n.left) / 2;
    const int64_t hh = (int64_t{n.bottom} - n.top) / 2;
    const int64_t cx = (int64_t{n.left} + n.right) / 2;
    const int64_t cy = (int64_t{n.top} + n.bottom) / 2;
    const auto ax = static_cast<int64_t>(static_cast<double>(hw) * std::numbers::sqrt2);
    const auto ay = static_cast<int64_t>(static_cast<double>(hh) * std::numbers::sqrt2);
    return RECT{ClampToInt32(cx - ax), ClampToInt32(cy - ay), ClampToInt32(cx + ax),
                ClampToInt32(cy + ay)};
}

TScreenEllipse::TScreenEllipse() {
    TypeCode = TypeCodeEllipse;
    AreaKind = TAreaKind::Ellipse;
    SetPointSize(EllipsePointSize);
}

void TScreenEllipse::GetOuterRect(RECT& rect) const {
    RECT n;
    GetNormalizedRect(n);
    rect = EllipseOuterRect(n);
}

HRGN TScreenEllipse::Paint(ui::Canvas& canvas, HRGN region, bool selected) {
    if (!Visible)
        return region;
    HRGN own = ResetRegion(nullptr);
    RECT n;
    GetNormalizedRect(n);
    const RECT o = EllipseOuterRect(n);
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    auto sides = [&](const RECT& r) {
        DrawLineInRegion(canvas, own, r.left, r.top, r.left, r.bottom);
        DrawLineInRegion(canvas, own, r.right, r.top, r.right, r.bottom);
        DrawLineInRegion(canvas, own, r.left, r.top, r.right, r.top);
        DrawLineInRegion(canvas, own, r.left, r.bottom, r.right, r.bottom);
    };
    if (selected) {
        canvas.SetPenColor(RGB(0, 0, 0));
        canvas.SetPenWidth(GuideDiagonalWidth);
        DrawLineInRegion(canvas, own, o.left, o.top, o.right, o.bottom);
        DrawLineInRegion(canvas, own, o.left, o.bottom, o.right, o.top);
        canvas.SetPenWidth(1);
        sides(n);
        sides(o);
    }
    canvas.SetPenWidth(1);
    canvas.SetBrushColor(LineColor);
    canvas.SetPenColor(LineColor);
    const bool idle = !Dragging && !selected;
    if (idle) {
        DrawPointMarker(canvas, own, p0, PointType, PointSize);
        DrawPointMarker(canvas, own, p0.x, p1.y, PointType, PointSize);
        DrawPointMarker(canvas, own, p1.x, p0.y, PointType, PointSize);
    }
    DrawEllipseInRegion(canvas, own, n, PolygonFilled && idle);
    if (!selected)
        DrawPointMarker(canvas, own, p1, PointType, PointSize);
    canvas.SetPenWidth(1);
    // The curve reaches beyond the vertex rectangle: let the bounds cover all of it.
    Bounds.left = std::min<LONG>(Bounds.left, ClampToInt32(int64_t{o.left} - BoundsMargin));
    Bounds.top = std::min<LONG>(Bounds.top, ClampToInt32(int64_t{o.top} - BoundsMargin));
    Bounds.right = std::max<LONG>(Bounds.right, ClampToInt32(int64_t{o.right} + BoundsMargin));
    Bounds.bottom = std::max<LONG>(Bounds.bottom, ClampToInt32(int64_t{o.bottom} + BoundsMargin));
    ::CombineRgn(region, region, own, RGN_OR);
    return region;
}

void TScreenEllipse::GetHint(bool english, std::wstring& text) {
    if (english)
        text = ComposeHint(
            {L"Right mouse button to delete ellipse.",
             L"Left mouse button (keep pressed) to change position of point",
             L"Left mouse button + <Ctrl> key (keep pressed) to change position of ellipse"});
    else
        text = ComposeHint(
            {L"Click mit der rechten Maustaste um die temporäre Ellipse zu löschen.",
             L"Click mit der linken Maustaste (gedrückt halten) um die Position des Punktes zu "
             L"verändern.",
             L"Click mit der linken Maustaste + <STRG>-Taste(gedrückt halten) um die Position "
             L"der Ellipse zu verändern."});
}

void TScreenEllipse::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete ellipse" : L"Ellipse löschen";
}

void TScreenEllipse::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text.clear();
    if (!ShowMouseHelp || (step != 1 && step != 2))
        return;
    if (english)
        text = step == 1 ? L"Click on the first point of your ellipse.\n\r"
                           L"Right mouse button to cancel."
                         : L"Click on the second point of your ellipse.\n\r"
                           L"Right mouse button to cancel.";
    else
        text = step == 1 ? L"Klicken Sie auf einen Eckpunkt der Ellipse.\n\r"
                           L"Abbruch mit der rechten Maustaste."
                         : L"Klicken Sie auf den zweiten Eckpunkt der Ellipse.\n\r"
                           L"Abbruch mit der rechten Maustaste.";
}

void TScreenEllipse::GetInfoText(std::wstring& text) {
    RECT o;
    GetOuterRect(o);
    const double a = (static_cast<double>(o.right) - o.left) / 2;
    const double b = (static_cast<double>(o.bottom) - o.top) / 2;
    const double pi = std::numbers::pi;
    const double perimeter = pi * (3 * (a + b) - std::sqrt((a + 3 * b) * (3 * a + b)));
    text = FormatLength(L"a", a) + LineBreak + FormatLength(L"b", b) + LineBreak +
           FormatLength(L"U", perimeter) + LineBreak + FormatArea(L"A", pi * a * b);
}
