#include "screen_objects/uScreenSinglePoint.h"

#include "screen_objects/uGeometry.h"

namespace {
constexpr int32_t SinglePointSize = 8;
}

TScreenSinglePoint::TScreenSinglePoint() {
    SetCapacity(1);
    SetPointSize(SinglePointSize);
    TypeCode = TypeCodeSinglePoint;
}

HRGN TScreenSinglePoint::Paint(ui::Canvas& canvas, HRGN region, bool selected) {
    if (!Visible)
        return region;
    TScreenObject::Paint(canvas, region, selected);
    ResetRegion(nullptr);
    canvas.SetBrushColor(PointColor);
    canvas.SetPenColor(PointColor);
    DrawPointMarker(canvas, Region.Get(), Vertex(1), PointType, PointSize);
    ::CombineRgn(region, region, Region.Get(), RGN_OR);
    return region;
}

bool TScreenSinglePoint::HitTest(POINT point, int32_t maxDistance, int32_t& distance) {
    const POINT& v = Vertex(1);
    const double d = PointDistance(point.x, point.y, v.x, v.y);
    if (!(d < maxDistance))
        return false;
    distance = RoundHalfEven(d);
    return true;
}

bool TScreenSinglePoint::FindHandle(POINT point, int32_t maxDistance, POINT& handle,
                                    int32_t& distance) {
    const POINT& v = Vertex(1);
    const double d = PointDistance(point.x, point.y, v.x, v.y);
    if (!(d < maxDistance))
        return false;
    handle = v;
    distance = TruncToInt32(d);
    return true;
}

void TScreenSinglePoint::GetHint(bool english, std::wstring& text) {
    if (english)
        text = ComposeHint({L"Right mouse button to delete point.",
                            L"Left mouse button (keep pressed) to change position"});
    else
        text = ComposeHint(
            {L"Click mit der rechten Maustaste um den Punkt zu löschen.",
             L"Click mit der linken Maustaste (gedrückt halten) um die Position zu verändern."});
}

void TScreenSinglePoint::GetMenuCaption(bool english, std::wstring& text) {
    text = english ? L"delete point" : L"Punkt löschen";
}

void TScreenSinglePoint::GetPlacementPrompt(bool english, int32_t step, std::wstring& text) {
    if (step != 1 && step != 2)
        text.clear();
    else if (english)
        text = L"Click on the position, where you want to place your point.\n\r"
               L"Right mouse button to cancel.";
    else
        text = L"Klicken Sie auf die Stelle, an die Sie den Punkt setzen wollen.\n\r"
               L"Abbruch mit der rechten Maustaste.";
}

void TScreenSinglePoint::GetInfoText(std::wstring& text) {
    const POINT& v = Vertex(1);
    text = L"(" + std::to_wstring(v.x) + L"/" + std::to_wstring(v.y) + L")";
}
