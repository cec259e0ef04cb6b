#include "overlay_window/uOrvexItemShapes.h"

// The shape classes are not part of the build yet: every add answers "not made".

std::unique_ptr<TScreenObject> MakePointObject(POINT, int32_t, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeLineObject(POINT, POINT, int32_t, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakePolylineObject(const POINT*, int32_t, bool, int32_t, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeRectangleObject(RECT, bool, int32_t, COLORREF) {
    return nullptr;
}

std::unique_ptr<TScreenObject> MakeEllipseObject(RECT, bool, int32_t, COLORREF) {
    return nullptr;
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
