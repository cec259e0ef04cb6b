#include "overlay_api/VuderOrvex.h"

#include "overlay_api/uOrvexTransparent.h"
#include "screen_objects/uScreenObject.h"

#include <cstring>

TVuderOrvex::TVuderOrvex(ui::Control& Owner) : ui::Control(&Owner) {
    Clear();
    FVisible = true;
    // A window of no size: it only receives the overlay's notifications.
    CreateOwn(0);
    Orvex_SetCallBackWindowHandle(Handle());
}

int32_t TVuderOrvex::Clear() {
    return Orvex_Clear();
}

void TVuderOrvex::SetVisible(bool Value) {
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (!FVisible && TransparentFormCreated())
        Clear();
}

int32_t TVuderOrvex::SetAutoHide(int32_t ID, bool Value) {
    return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE, ID, Value ? 1 : 0, 0, 0);
}

int32_t TVuderOrvex::SetFilled(int32_t ID, bool Value) {
    return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, ID, Value ? 1 : 0, 0, 0);
}

int32_t TVuderOrvex::SetZOrder(int32_t ID, int32_t Position) {
    return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, ID, Position, 0, 0);
}

int32_t TVuderOrvex::ApplyHidingRule(int32_t ID) {
    if (!FVisible)
        Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, ID, 0, 0, 0);
    return ID;
}

int32_t TVuderOrvex::AddRectangle(RECT Rect, COLORREF Color) {
    return ApplyHidingRule(Orvex_Rectangle(Rect, Color));
}

int32_t TVuderOrvex::AddEllipse(RECT Rect, COLORREF Color) {
    return ApplyHidingRule(Orvex_Ellipse(Rect, Color));
}

int32_t TVuderOrvex::AddBitmapFromResource(POINT Position, HINSTANCE Instance,
                                           const std::string& ResourceName,
                                           COLORREF TransparentColor) {
    // Cutting the name would load some other resource: refuse it instead.
    if (ResourceName.size() >= ResourceNameBufferSize)
        return ResourceNameTooLong;
    char buffer[ResourceNameBufferSize] = {};
    std::memcpy(buffer, ResourceName.data(), ResourceName.size());
    return ApplyHidingRule(Orvex_BitmapByResource(Position, reinterpret_cast<intptr_t>(Instance),
                                                  buffer, TransparentColor));
}

int32_t TVuderOrvex::AddScreenObject(const char* name, std::unique_ptr<TScreenObject> object) {
    return ApplyHidingRule(OrvexAddScreenObject(name, std::move(object)));
}

int32_t TVuderOrvex::NotificationID(WPARAM wParam) {
    return static_cast<int32_t>(wParam);
}

POINT TVuderOrvex::NotificationPosition(LPARAM lParam) {
    const auto bits = static_cast<uint32_t>(lParam);
    return POINT{static_cast<LONG>(bits & 0xFFFFu), static_cast<LONG>(bits >> 16)};
}

void TVuderOrvex::Raise(const TTransparentSDKMouseEvent& event, int32_t ID, POINT& Position) {
    try {
        if (event)
            event(*this, ID, Position);
    } catch (...) {
        // A faulty handler must not stop the notifications that follow.
    }
}

void TVuderOrvex::DoClick(int32_t ID, POINT& Position) {
    Raise(OnClick, ID, Position);
}
void TVuderOrvex::DoDoubleClick(int32_t ID, POINT& Position) {
    Raise(OnDoubleClick, ID, Position);
}
void TVuderOrvex::DoMouseDown(int32_t ID, POINT& Position) {
    Raise(OnMouseDown, ID, Position);
}
void TVuderOrvex::DoMouseMove(int32_t ID, POINT& Position) {
    Raise(OnMouseMove, ID, Position);
}
void TVuderOrvex::DoMouseUp(int32_t ID, POINT& Position) {
    Raise(OnMouseUp, ID, Position);
}

LRESULT TVuderOrvex::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TRANSPARENTELEMENT_CLICK:
    case WM_TRANSPARENTELEMENT_DBLCLK:
    case WM_TRANSPARENTELEMENT_MOUSEDOWN:
    case WM_TRANSPARENTELEMENT_MOUSEMOVE:
    case WM_TRANSPARENTELEMENT_MOUSEUP: {
        const int32_t ID = NotificationID(wParam);
        POINT Position = NotificationPosition(lParam);
        try {
            switch (msg) {
            case WM_TRANSPARENTELEMENT_CLICK:
                DoClick(ID, Position);
                break;
            case WM_TRANSPARENTELEMENT_DBLCLK:
                DoDoubleClick(ID, Position);
                break;
            case WM_TRANSPARENTELEMENT_MOUSEDOWN:
                DoMouseDown(ID, Position);
                break;
            case WM_TRANSPARENTELEMENT_MOUSEMOVE:
                DoMouseMove(ID, Position);
                break;
            default:
                DoMouseUp(ID, Position);
                break;
            }
        } catch (...) {
            // Also a dispatcher of a derived control may fail: swallowed.
        }
        return 0;
    }
    case WM_TRANSPARENTELEMENT_STATUSCHANGED:
        return 0; // accepted, no event
    default:
        return ui::Control::HandleMessage(msg, wParam, lParam);
    }
}
