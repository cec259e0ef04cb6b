#include "screen_objects/uScreenFreehand.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uMeasurementFormat.h"

#include <cmath>
#include <cstdlib>

namespace {

double Distance(const POINT& a, int32_t x, int32_t y) {
    return PointDistance(x, y, a.x, a.y);
}

} // namespace

bool FreehandTakesSample(const POINT* vertices, int32_t count, int32_t capacity, int32_t x,
                         int32_t y) {
    if (count >= capacity)
        return false;
    if (count <= 0)
        return true;
    const POINT& last = vertices[count - 1];
    const double d = Distance(last, x, y);
    if (d <= FreehandMinStep)
        return false;
    if (count <= 2)
        return true;
    const POINT& before = vertices[count - 2];
    const double toLast = DirectionAngle(x - last.x, y - last.y);
    const double toBefore = DirectionAngle(x - before.x, y - before.y);
    if (std::fabs(toLast - toBefore) > FreehandDirectionTolerance)
        return true;
    return d > FreehandMaxStraightStep;
}

int32_t PolylineLength(const POINT* vertices, int32_t count) {
    int32_t length = 0;
    for (int32_t i = 0; i + 1 < count; ++i)
        length += TruncToInt32(Distance(vertices[i], vertices[i + 1].x, vertices[i + 1].y));
    return length;
}

TScreenFreehand::TScreenFreehand() {
    TypeCode = TypeCodeFreehand;
    SetCapacity(FreehandCapacity);
    SetPointSize(FreehandPointSize);
}

HRGN TScreenFreehand::Paint(ui::Canvas& canvas, HRGN region, bool selected) {
    if (!Visible)
        return region;
    TScreenObject::Paint(canvas, region, selected);
    ResetRegion(nullptr);
    canvas.SetBrushColor(LineColor);
    canvas.SetPenColor(LineColor);
    for (int32_t i = 1; i < PointCount; ++i)
        DrawSegmentInRegion(canvas, Region.Get(), Vertex(i), Vertex(i + 1));
    if (!Dragging && !selected)
        for (int32_t i = 1; i <= PointCount; ++i)
            if (i != CurrentPoint)
                DrawPointMarker(canvas, Region.Get(), Vertex(i), PointType, PointSize);
    ::CombineRgn(region, region, Region.Get(), RGN_OR);
    return region;
}

bool TScreenFreehand::HitTest(POINT point, int32_t maxDistance, int32_t& distance) {
    distance = maxDistance;
    if (!PointInBounds(point))
        return false;
    bool hit = false;
    for (int32_t i = 1; i <= PointCount; ++i) {
        const double d = Distance(Vertex(i), point.x, point.y);
        if (d < distance) {
            distance = RoundHalfEven(d);
            hit = true;
        }
    }
    return hit;
}

bool TScreenFreehand::FindHandle(POINT point, int32_t maxDistance, POINT& handle,
                                 int32_t& distance) {
    distance = maxDistance;
    bool found = false;
    for (int32_t i = 1; i <= PointCount; ++i) {
        const double d = Distance(Vertex(i), point.x, point.y);
        if (d < distance) {
            distance = TruncToInt32(d);
            handle = Vertex(i);
            found = true;
        }
    }
    return found;
}

int32_t TScreenFreehand::BeginDrag(uint8_t mode, int32_t x, int32_t y) {
    TScreenObject::BeginDrag(mode, x, y);
    for (int32_t i = 1; i <= PointCount; ++i)
        if (Distance(Vertex(i), x, y) < FreehandGrabDistance)
            CurrentPoint = i;
    return 0;
}

bool TScreenFreehand::AppendPoint(int32_t x, int32_t y) {
    if (!FreehandTakesSample(Points.data(), PointCount, Capacity, x, y))
        return false;
    return TScreenObject::AppendPoint(x, y);
}

void TScreenFreehand::GetHint(bool english, std::wstring& text) {
    if (english)
        text = ComposeHint(
            {L"Right mouse button to delete polyline.",
             L"Left mouse button (keep pressed) to change position of point",
             L"Left mouse button + <Ctrl> key (keep pressed) to change position of polyline"});
    else
        text = ComposeHint({L"Click mit der rechten Maustaste um den Linienzug zu löschen.",
                            L"Click mit der linken Maustaste (gedrückt halten) um die Position "
                            L"des Punktes zu verändern.",
                            L"Click mit der linken Maustaste + <STRG>-Taste(gedrückt halten) um "
                            L"die Position des Linienzugs zu verändern."});
}

void TScreenFreehand::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete polyline" : L"Linienzug löschen";
}

void TScreenFreehand::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    text.clear();
    if (!ShowMouseHelp || (step != 1 && step != 2))
        return;
    text = english ? std::wstring(L"Draw the polyline on the screen while the left mouse button "
                                  L"is pressed.") +
                         LineBreak + L"Right mouse button to cancel."
                   : std::wstring(L"Zeichnen Sie bei gedrückter linker Maustaste den Linienzug "
                                  L"auf den Bildschirm.") +
                         LineBreak + L"Abbruch mit der rechten Maustaste.";
}

void TScreenFreehand::GetInfoText(std::wstring& text) {
    const int32_t area = PointCount >= 3 ? std::abs(PolygonArea(PointCount, Points.data())) : 0;
    text = ::FormatLength(L"l", PolylineLength(Points.data(), PointCount)) + LineBreak +
           ::FormatArea(L"A", area);
}
