#include "overlay_window/uOrvexItemShapes.h"

#include "screen_objects/uScreenEllipse.h"
#include "screen_objects/uScreenLine.h"
#include "screen_objects/uScreenRectangle.h"
#include "screen_objects/uScreenSinglePoint.h"

namespace {

// Outlined shapes carry no vertex markers and draw in one colour.
void SetLineProperties(TScreenObject& object, int32_t Width, COLORREF Color) {
    object.SetPointType(-1);
    object.SetPointColor(Color);
    object.SetLineColor(Color);
    object.LineWidth = Width;
}

template <typename Shape>
std::unique_ptr<TScreenObject> MakeTwoCornerShape(RECT Rect, bool Filled, int32_t Width,
                                                  COLORREF Color) {
    auto shape = std::make_unique<Shape>();
    shape->AppendPoint(Rect.left, Rect.top);
    shape->AppendPoint(Rect.right, Rect.bottom);
    SetLineProperties(*shape, Width, Color);
    shape->PolygonFilled = Filled;
    return shape;
}

} // namespace

std::unique_ptr<TScreenObject> MakePointObject(POINT Position, int32_t Style, COLORREF Color) {
    auto point = std::make_unique<TScreenSinglePoint>();
    point->AppendPoint(Position.x, Position.y);
    point->SetPointType(Style);
    point->SetPointColor(Color);
    return point;
}

std::unique_ptr<TScreenObject> MakeLineObject(POINT StartPoint, POINT EndPoint, int32_t Width,
                                              COLORREF Color) {
    auto line = std::make_unique<TScreenLine>();
    line->AppendPoint(StartPoint.x, StartPoint.y);
    line->AppendPoint(EndPoint.x, EndPoint.y);
    SetLineProperties(*line, Width, Color);
    return line;
}

// Polylines, texts and bitmaps are not part of the build yet: their adds
// answer "not made".
std::unique_ptr<TScreenObject> MakePolylineObject(const POINT*, int32_t, bool, int32_t, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeRectangleObject(RECT Rect, bool Filled, int32_t Width,
                                                   COLORREF Color) {
    return MakeTwoCornerShape<TScreenRectangle>(Rect, Filled, Width, Color);
}

std::unique_ptr<TScreenObject> MakeEllipseObject(RECT Rect, bool Filled, int32_t Width,
                                                 COLORREF Color) {
    return MakeTwoCornerShape<TScreenEllipse>(Rect, Filled, Width, Color);
}

std::unique_ptr<TScreenObject> MakeTextObject(POINT, const std::wstring&, const std::wstring&,
                                              int32_t, bool, bool, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeBitmapObjectFromFile(POINT, const std::wstring&, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeBitmapObjectFromResource(POINT, HMODULE, const std::wstring&,
                                                            COLORREF) {
    return nullptr;
}
