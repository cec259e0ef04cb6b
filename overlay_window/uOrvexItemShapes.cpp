#include "overlay_window/uOrvexItemShapes.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uScreenBitmap.h"
#include "screen_objects/uScreenEllipse.h"
#include "screen_objects/uScreenFreehand.h"
#include "screen_objects/uScreenLine.h"
#include "screen_objects/uScreenRectangle.h"
#include "screen_objects/uScreenSinglePoint.h"
#include "screen_objects/uScreenText.h"

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

std::unique_ptr<TScreenObject> MakePolylineObject(const POINT* Points, int32_t NumPoints,
                                                  bool Filled, int32_t Width, COLORREF Color) {
    auto polyline = std::make_unique<TScreenFreehand>();
    for (int32_t i = 0; Points && i < NumPoints; ++i)
        polyline->AppendPoint(Points[i].x, Points[i].y);
    SetLineProperties(*polyline, Width, Color);
    polyline->PolygonFilled = Filled;
    return polyline;
}

std::unique_ptr<TScreenObject> MakeRectangleObject(RECT Rect, bool Filled, int32_t Width,
                                                   COLORREF Color) {
    return MakeTwoCornerShape<TScreenRectangle>(Rect, Filled, Width, Color);
}

std::unique_ptr<TScreenObject> MakeEllipseObject(RECT Rect, bool Filled, int32_t Width,
                                                 COLORREF Color) {
    return MakeTwoCornerShape<TScreenEllipse>(Rect, Filled, Width, Color);
}

std::unique_ptr<TScreenObject> MakeTextObject(POINT Position, const std::wstring& Text,
                                              const std::wstring& FontName, int32_t Size, bool Bold,
                                              bool Italic, COLORREF Color) {
    auto text = std::make_unique<TScreenText>();
    text->AppendPoint(Position.x, Position.y);
    auto font = std::make_unique<TTextFont>();
    font->Name = FontName;
    font->Size = Size;
    font->Color = Color;
    font->Bold = Bold;
    font->Italic = Italic;
    text->SetCaption(Text);
    text->SetFont(std::move(font));
    return text;
}

std::unique_ptr<TScreenObject>
MakeBitmapObjectFromFile(POINT Position, const std::wstring& FileName, COLORREF TransparentColor) {
    const DWORD attributes = ::GetFileAttributesW(FileName.c_str());
    if (FileName.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    auto bitmap = std::make_unique<TScreenBitmap>();
    bitmap->AppendPoint(Position.x, Position.y);
    if (!bitmap->LoadFromFile(FileName))
        return nullptr; // gone in the meantime
    bitmap->SetTransparentColor(TransparentColor);
    return bitmap;
}

std::unique_ptr<TScreenObject> MakeBitmapObjectFromResource(POINT Position, HMODULE Instance,
                                                            const std::wstring& ResourceName,
                                                            COLORREF TransparentColor) {
    auto bitmap = std::make_unique<TScreenBitmap>();
    bitmap->LoadFromResource(Instance, ResourceName.c_str());
    bitmap->AppendPoint(Position.x, Position.y);
    bitmap->SetTransparentColor(TransparentColor);
    return bitmap;
}

ui::Region PaintObjectArea(TScreenObject& object, ui::Canvas& canvas) {
    ui::Region area = ui::MakeEmptyRegion();
    HRGN before = area.Get();
    HRGN after = object.Paint(canvas, before, false);
    // A shape that answers with a region of its own hands it over.
    if (after && after != before)
        area.Reset(after);
    return area;
}

bool PaintsExactArea(const TScreenObject& object, RECT& box) {
    box = RECT{0, 0, 0, 0};
    if (!object.Visible)
        return true;
    if (object.AreaKind == TAreaKind::Picture) {
        const auto& image = static_cast<const TScreenImage&>(object);
        if (image.DragMode != 0)
            return false; // drawn whole, without transparency
        if (!image.Picture.Empty()) {
            const RECT r = image.PictureRect();
            box =
                RECT{r.left, r.top, r.left + image.Picture.Width(), r.top + image.Picture.Height()};
        }
        return true;
    }
    const bool markers = object.PointType == PointTypeCross ||
                         object.PointType == PointTypeCircle || object.PointType == PointTypeSquare;
    if (markers || object.Dragging || !object.PolygonFilled)
        return false;
    switch (object.AreaKind) {
    case TAreaKind::Ellipse: {
        RECT o;
        static_cast<const TScreenEllipse&>(object).GetOuterRect(o);
        box = RECT{o.left - 1, o.top - 1, o.right + 2, o.bottom + 2};
        return true;
    }
    case TAreaKind::Rectangle: {
        // A wider pen draws the frame half outside the rectangle.
        if (object.LineWidth < 0 || object.LineWidth > 1)
            return false;
        RECT n;
        static_cast<const TScreenRectangle&>(object).GetNormalizedRect(n);
        box = RECT{n.left, n.top, n.right + 1, n.bottom + 1};
        return true;
    }
    default:
        return false;
    }
}
