// The screen objects of the overlay's add operations, made and given their
// points and properties. Each returns null when the object cannot be made
// (the bitmap file also when it does not exist); exceptions pass through.
#pragma once

#include "screen_objects/uScreenObject.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

std::unique_ptr<TScreenObject> MakePointObject(POINT Position, int32_t Style, COLORREF Color);
std::unique_ptr<TScreenObject> MakeLineObject(POINT StartPoint, POINT EndPoint, int32_t Width,
                                              COLORREF Color);
std::unique_ptr<TScreenObject> MakePolylineObject(const POINT* Points, int32_t NumPoints,
                                                  bool Filled, int32_t Width, COLORREF Color);
std::unique_ptr<TScreenObject> MakeRectangleObject(RECT Rect, bool Filled, int32_t Width,
                                                   COLORREF Color);
std::unique_ptr<TScreenObject> MakeEllipseObject(RECT Rect, bool Filled, int32_t Width,
                                                 COLORREF Color);
std::unique_ptr<TScreenObject> MakeTextObject(POINT Position, const std::wstring& Text,
                                              const std::wstring& FontName, int32_t Size, bool Bold,
                                              bool Italic, COLORREF Color);
std::unique_ptr<TScreenObject>
MakeBitmapObjectFromFile(POINT Position, const std::wstring& FileName, COLORREF TransparentColor);
std::unique_ptr<TScreenObject> MakeBitmapObjectFromResource(POINT Position, HMODULE Instance,
                                                            const std::wstring& ResourceName,
                                                            COLORREF TransparentColor);

// Paints the object, adding its area to a fresh region, which it returns.
ui::Region PaintObjectArea(TScreenObject& object, ui::Canvas& canvas);

// Whether painting the object covers exactly the area it adds to the region:
// no pixel drawn outside it, none inside it left unpainted. Filled ellipses,
// filled rectangles with a one-pixel pen, pictures and objects that draw
// nothing do; outlines, lines, markers and dragged shapes do not. box receives
// a rectangle that holds the whole area (empty when nothing is drawn).
bool PaintsExactArea(const TScreenObject& object, RECT& box);
