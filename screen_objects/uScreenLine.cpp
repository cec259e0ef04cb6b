#include "screen_objects/uScreenLine.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"

#include <cstdlib>

namespace {

constexpr int32_t LinePointSize = 8;

double Distance(int32_t x, int32_t y, POINT p) {
    return PointDistance(x, y, p.x, p.y);
}

} // namespace

int32_t ScreenEdgePoints(POINT p0, POINT p1, int32_t width, int32_t height, POINT& start,
                         POINT& end) {
    const POINT direction{p1.x - p0.x, p1.y - p0.y};
    struct Border {
        POINT origin;
        POINT direction;
    };
    const Border borders[4] = {{{0, 0}, {1, 0}},      // top
                               {{0, height}, {1, 0}}, // bottom
                               {{0, 0}, {0, 1}},      // left
                               {{width, 0}, {0, 1}}}; // right
    POINT found[2];
    int32_t count = 0;
    for (const Border& border : borders) {
        POINT r;
        IntersectLines(p0, direction, border.origin, border.direction, r);
        if (r.x == NoIntersection || r.x < 0 || r.x > width || r.y < 0 || r.y > height)
            continue;
        // A line through a corner meets two borders there; the corner counts once.
        if (count == 1 && found[0].x == r.x && found[0].y == r.y)
            continue;
        found[count++] = r;
        if (count == 2)
            break;
    }
    if (count < 2) {
        start = p0;
        end = p1;
    } else {
        start = found[0];
        end = found[1];
    }
    return count;
}

TScreenLine::TScreenLine() {
    TypeCode = TypeCodeLine;
    SetPointSize(LinePointSize);
    InfiniteLine = false;
}

HRGN TScreenLine::Paint(ui::Canvas& canvas, HRGN region, bool selected) {
    if (!Visible)
        return region;
    TScreenObject::Paint(canvas, region, selected);
    HRGN own = ResetRegion(nullptr);
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    if (selected) {
        // The rectangle that has the line as its diagonal.
        canvas.SetPenColor(RGB(0, 0, 0));
        DrawLineInRegion(canvas, own, p0.x, p0.y, p0.x, p1.y);
        DrawLineInRegion(canvas, own, p0.x, p0.y, p1.x, p0.y);
        DrawLineInRegion(canvas, own, p0.x, p1.y, p1.x, p1.y);
        DrawLineInRegion(canvas, own, p1.x, p0.y, p1.x, p1.y);
    }
    canvas.SetBrushColor(LineColor);
    canvas.SetPenColor(LineColor);
    if (!Dragging && !selected)
        DrawPointMarker(canvas, own, p0, PointType, PointSize);
    if (InfiniteLine) {
        if (Dragging || selected)
            UpdateScreenEdgePoints();
        DrawLineInRegion(canvas, own, ScreenEdgeStart.x, ScreenEdgeStart.y, ScreenEdgeEnd.x,
                         ScreenEdgeEnd.y);
    } else {
        DrawLineInRegion(canvas, own, p0.x, p0.y, p1.x, p1.y);
    }
    if (!selected)
        DrawPointMarker(canvas, own, p1, PointType, PointSize);
    ::CombineRgn(region, region, own, RGN_OR);
    return region;
}

bool TScreenLine::HitTest(POINT point, int32_t maxDistance, int32_t& distance) {
    distance = maxDistance;
    if (!PointInBounds(point))
        return false;
    POINT handle;
    return FindHandle(point, maxDistance, handle, distance);
}

bool TScreenLine::FindHandle(POINT point, int32_t maxDistance, POINT& handle, int32_t& distance) {
    distance = maxDistance;
    bool found = false;
    for (int32_t i = 1; i <= 2; ++i) {
        const double d = Distance(point.x, point.y, Vertex(i));
        if (d < distance) {
            distance = RoundHalfEven(d);
            handle = Vertex(i);
            found = true;
        }
    }
    return found;
}

int32_t TScreenLine::BeginDrag(uint8_t mode, int32_t x, int32_t y) {
    TScreenObject::BeginDrag(mode, x, y);
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    POINT first = p0;
    POINT second = p1;
    if (Distance(x, y, p0) < GrabDistance) {
        first = p1;
        second = p0;
    }
    // Tested second, so on a short line the end point wins.
    if (Distance(x, y, p1) < GrabDistance) {
        first = p0;
        second = p1;
    }
    Vertex(1) = first;
    Vertex(2) = second;
    SnapshotPoints();
    return 0;
}

bool TScreenLine::AppendPoint(int32_t x, int32_t y) {
    const bool result = TScreenObject::AppendPoint(x, y);
    if (InfiniteLine)
        UpdateScreenEdgePoints();
    return result;
}

void TScreenLine::GetHint(bool english, std::wstring& text) {
    if (english)
        text = ComposeHint(
            {L"Right mouse button to delete line.",
             L"Left mouse button (keep pressed) to change position of point",
             L"Left mouse button + <Ctrl> key (keep pressed) to change position of line"});
    else
        text = ComposeHint({L"Click mit der rechten Maustaste um die Linie zu löschen.",
                            L"Click mit der linken Maustaste (gedrückt halten) um die Position "
                            L"des Punktes zu verändern.",
                            L"Click mit der linken Maustaste + <STRG>-Taste(gedrückt halten) um "
                            L"die Position der Linie zu verändern."});
}

void TScreenLine::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete line" : L"Linie löschen";
}

void TScreenLine::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text.clear();
    if (!ShowMouseHelp || (step != 1 && step != 2))
        return;
    if (english)
        text = step == 1
                   ? L"Click on the start point of your line.\n\rRight mouse button to cancel."
                   : L"Click on the end point of your line.\n\rRight mouse button to cancel.";
    else
        text = step == 1 ? L"Klicken Sie auf den Anfangspunkt Ihrer Linie.\n\r"
                           L"Abbruch mit der rechten Maustaste."
                         : L"Klicken Sie auf den Endpunkt Ihrer Linie.\n\r"
                           L"Abbruch mit der rechten Maustaste.";
}

void TScreenLine::GetInfoText(std::wstring& text) {
    const POINT p0 = Vertex(1);
    const POINT p1 = Vertex(2);
    text = L"(" + std::to_wstring(p0.x) + L"/" + std::to_wstring(p0.y) + L")-->(" +
           std::to_wstring(p1.x) + L"/" + std::to_wstring(p1.y) + L")" + LineBreak +
           FormatLength(L"d", PointDistance(p0.x, p0.y, p1.x, p1.y)) + LineBreak +
           FormatLength(L"dx", std::abs(double(p0.x) - p1.x)) + LineBreak +
           FormatLength(L"dy", std::abs(double(p0.y) - p1.y));
}

bool TScreenLine::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    const bool result = TScreenObject::LoadFromIni(fileName, section);
    // A section of another shape leaves the item as it was.
    if (result)
        SetInfiniteLine(ReadIniBool(fileName, section, L"InfiniteLine", InfiniteLine));
    return result;
}

void TScreenLine::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                            std::vector<std::wstring>* fileList) {
    TScreenObject::SaveToIni(fileName, section, fileList);
    WriteIniBool(fileName, section, L"InfiniteLine", InfiniteLine);
}

void TScreenLine::SetInfiniteLine(bool value) {
    InfiniteLine = value;
    if (value)
        UpdateScreenEdgePoints();
}

void TScreenLine::UpdateScreenEdgePoints() {
    ScreenEdgePoints(Vertex(1), Vertex(2), ::GetSystemMetrics(SM_CXSCREEN),
                     ::GetSystemMetrics(SM_CYSCREEN), ScreenEdgeStart, ScreenEdgeEnd);
}
