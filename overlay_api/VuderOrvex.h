// The overlay control: the component through which an application window
// draws on top of the screen. Its own window, a child of the owner form's, is
// the overlay's callback window: the overlay's posted notifications come out
// as the control's events with the item's ID and the mouse position.
#pragma once

#include "overlay_api/Orvex.h"
#include "ui/Control.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TVuderOrvex;
class TScreenObject;

// Sender, the item's ID and the mouse position (screen pixels, each 0..65535).
using TTransparentSDKMouseEvent =
    std::function<void(TVuderOrvex& Sender, int32_t ID, POINT& Position)>;

// Resource names are handed to the overlay in a buffer of this many
// characters, the terminating zero included.
constexpr size_t ResourceNameBufferSize = 1024;
// AddBitmapFromResource's result for a name that does not fit the buffer.
constexpr int32_t ResourceNameTooLong = -2;

class TVuderOrvex : public ui::Control {
public:
    // Clears the overlay (making the overlay window if needed), starts
    // visible, makes the control's window and registers it as the callback
    // window, in this order.
    explicit TVuderOrvex(ui::Control& Owner);
    // Leaves the overlay's items and the registration as they are.
    ~TVuderOrvex() override = default;

    int32_t Clear();
    // Overlay visibility of the items this control creates; it does not show
    // or hide the control's window. Switching it off clears the overlay.
    bool Visible() const override { return FVisible; }
    void SetVisible(bool Value) override;

    int32_t SetAutoHide(int32_t ID, bool Value);
    int32_t SetFilled(int32_t ID, bool Value);
    int32_t SetZOrder(int32_t ID, int32_t Position);
    int32_t AddRectangle(RECT Rect, COLORREF Color);
    int32_t AddEllipse(RECT Rect, COLORREF Color);
    // The bitmap is centred on Position. A name longer than
    // ResourceNameBufferSize - 1 characters gives ResourceNameTooLong and
    // makes no item.
    int32_t AddBitmapFromResource(POINT Position, HINSTANCE Instance,
                                  const std::string& ResourceName, COLORREF TransparentColor);

    // An item around a screen object the program made itself (see
    // OrvexAddScreenObject); the hiding rule applies as to the others.
    int32_t AddScreenObject(const char* name, std::unique_ptr<TScreenObject> object);

    TTransparentSDKMouseEvent OnClick;
    TTransparentSDKMouseEvent OnDoubleClick;
    TTransparentSDKMouseEvent OnMouseDown;
    TTransparentSDKMouseEvent OnMouseMove;
    TTransparentSDKMouseEvent OnMouseUp;

    // The ID and position a notification carries: wParam, and the low and
    // high words of lParam taken as unsigned numbers.
    static int32_t NotificationID(WPARAM wParam);
    static POINT NotificationPosition(LPARAM lParam);

protected:
    // Raise the events; a failing handler is caught here.
    virtual void DoClick(int32_t ID, POINT& Position);
    virtual void DoDoubleClick(int32_t ID, POINT& Position);
    virtual void DoMouseDown(int32_t ID, POINT& Position);
    virtual void DoMouseMove(int32_t ID, POINT& Position);
    virtual void DoMouseUp(int32_t ID, POINT& Position);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Raise(const TTransparentSDKMouseEvent& event, int32_t ID, POINT& Position);
    // Hides a new item while Visible is false; returns the ID unchanged.
    int32_t ApplyHidingRule(int32_t ID);

    bool FVisible = true;
};
