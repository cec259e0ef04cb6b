#include "screen_objects/uScreenRectangle.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uMeasurementFormat.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t RectanglePointSize = 8;

// The corners in the order the hit test tries them.
void Corners(POINT p0, POINT p1, POINT (&corners)[4]) {
    corners[0] = POINT{p0.x, p1.y};
    corners[1] = POINT{p1.x, p0.y};
    corners[2] = p0;
    corners[3] = p1;
}

} // namespace

TScreenRectangle::TScreenRectangle() {
    TypeCode = TypeCodeRectangle;
    AreaKind = TAreaKind::Rectangle;
    SetPointSize(RectanglePointSize);
}

void TScreenRectangle::GetNormalizedRect(RECT& rect) const {
    const POINT& p0 = Vertex(1);
    const POINT& p1 = Vertex(2);
    rect = RECT{std::min(p0.x, p1.x), std::min(p0.y, p1.y), std::max(p0.x, p1.x),
                std::max(p0.y, p1.y)};
}

HRGN TScreenRectangle::Paint(ui::Canvas& canvas, HRGN region, bool selected) {
    if (!Visible)
        return region;
    // The outline is drawn at LineWidth.
    TScreenObject::Paint(canvas, region, selected);
    HRGN own = ResetRegion(nullptr);
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    if (selected) {
        // A three-by-three grid inside the rectangle.
        canvas.SetPenColor(RGB(0, 0, 0));
        for (double f : {1.0 / 3.0, 2.0 / 3.0}) {
            const int32_t x = p0.x + TruncToInt32(f * (p1.x - p0.x));
            DrawLineInRegion(canvas, own, x, p0.y, x, p1.y);
            const int32_t y = p0.y + TruncToInt32(f * (p1.y - p0.y));
            DrawLineInRegion(canvas, own, p0.x, y, p1.x, y);
        }
    }
    canvas.SetBrushColor(LineColor);
    canvas.SetPenColor(LineColor);
    const bool idle = !Dragging && !selected;
    if (idle) {
        DrawPointMarker(canvas, own, p0, PointType, PointSize);
        DrawPointMarker(canvas, own, p0.x, p1.y, PointType, PointSize);
        DrawPointMarker(canvas, own, p1.x, p0.y, PointType, PointSize);
    }
    if (PolygonFilled && idle) {
        RECT normalized;
        GetNormalizedRect(normalized);
        DrawRectangleInRegion(canvas, own, normalized, true);
    } else {
        DrawLineInRegion(canvas, own, p0.x, p0.y, p0.x, p1.y);
        DrawLineInRegion(canvas, own, p0.x, p0.y, p1.x, p0.y);
        DrawLineInRegion(canvas, own, p0.x, p1.y, p1.x, p1.y);
        DrawLineInRegion(canvas, own, p1.x, p0.y, p1.x, p1.y);
    }
    if (!selected)
        DrawPointMarker(canvas, own, p1, PointType, PointSize);
    ::CombineRgn(region, region, own, RGN_OR);
    return region;
}

bool TScreenRectangle::HitTest(POINT point, int32_t maxDistance, int32_t& distance) {
    distance = maxDistance;
    if (!PointInBounds(point))
        return false;
    POINT handle;
    return FindHandle(point, maxDistance, handle, distance);
}

bool TScreenRectangle::FindHandle(POINT point, int32_t maxDistance, POINT& handle,
                                  int32_t& distance) {
    distance = maxDistance;
    POINT corners[4];
    Corners(Vertex(1), Vertex(2), corners);
    bool found = false;
    for (const POINT& corner : corners) {
        const double d = PointDistance(point.x, point.y, corner.x, corner.y);
        if (d < distance) {
            distance = TruncToInt32(d);
            handle = corner;
            found = true;
        }
    }
    return found;
}

int32_t TScreenRectangle::BeginDrag(uint8_t mode, int32_t x, int32_t y) {
    TScreenLine::BeginDrag(mode, x, y);
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    POINT first = p0;
    POINT second = p1;
    // The grabbed corner becomes vertex 2, its opposite vertex 1; a later match wins.
    const struct {
        POINT grabbed;
        POINT opposite;
    } choices[4] = {{{p0.x, p1.y}, {p1.x, p0.y}}, {{p1.x, p0.y}, {p0.x, p1.y}}, {p0, p1}, {p1, p0}};
    for (const auto& choice : choices) {
        if (PointDistance(x, y, choice.grabbed.x, choice.grabbed.y) < GrabDistance) {
            first = choice.opposite;
            second = choice.grabbed;
        }
    }
    Vertex(1) = first;
    Vertex(2) = second;
    SnapshotPoints();
    return 0;
}

void TScreenRectangle::GetHint(bool english, std::wstring& text) {
    if (english)
        text = ComposeHint(
            {L"Right mouse button to delete rectangle.",
             L"Left mouse button (keep pressed) to change position of point",
             L"Left mouse button + <Ctrl> key (keep pressed) to change position of rectangle"});
    else
        text = ComposeHint(
            {L"Click mit der rechten Maustaste um das temporäre Rechteck zu löschen.",
             L"Click mit der linken Maustaste (gedrückt halten) um die Position des Punktes zu "
             L"verändern.",
             L"Click mit der linken Maustaste + <STRG>-Taste(gedrückt halten) um die Position "
             L"des Rechtecks zu verändern."});
}

void TScreenRectangle::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete rectangle" : L"Rechteck löschen";
}

void TScreenRectangle::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text.clear();
    if (!ShowMouseHelp || (step != 1 && step != 2))
        return;
    if (english)
        text = step == 1 ? L"Click on the first point of your rectangle.\n\r"
                           L"Right mouse button to cancel."
                         : L"Click on the second point of your rectangle.\n\r"
                           L"Right mouse button to cancel.";
    else
        text = step == 1 ? L"Klicken Sie auf einen Eckpunkt des Rechtecks.\n\r"
                           L"Abbruch mit der rechten Maustaste."
                         : L"Klicken Sie auf den zweiten Eckpunkt des Rechtecks.\n\r"
                           L"Abbruch mit der rechten Maustaste.";
}

void TScreenRectangle::GetInfoText(std::wstring& text) {
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    const int64_t dx = std::llabs(int64_t{p0.x} - p1.x);
    const int64_t dy = std::llabs(int64_t{p0.y} - p1.y);
    text = FormatLength(L"dx", static_cast<double>(dx)) + LineBreak +
           FormatLength(L"dy", static_cast<double>(dy)) + LineBreak +
           FormatLength(L"U", static_cast<double>(2 * dx + 2 * dy)) + LineBreak +
           FormatArea(L"A", static_cast<double>(dx * dy));
}
