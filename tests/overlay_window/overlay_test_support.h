// Helpers of the overlay window tests: a screen object with a controlled area
// and distance, a message-only window that collects notifications, and a pump.
#pragma once

#include "overlay_api/Orvex.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenObject.h"
#include "ui/Form.h"
#include "ui/Handles.h"
#include "ui/Window.h"
#include "pump_messages.h"

#include <windows.h>

#include <cmath>
#include <memory>
#include <vector>

namespace overlay_test {

// A filled rectangle (right and bottom excluded) whose hit distance is the
// distance from its centre, accepted below maxDistance (or equal to it when
// acceptEqual).
class FakeShape : public TScreenObject {
public:
    explicit FakeShape(RECT area, bool acceptEqual = false) : Area(area), AcceptEqual(acceptEqual) {
        SetCapacity(2);
        AppendPoint(area.left, area.top);
        AppendPoint(area.right, area.bottom);
    }

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool) override {
        ++Paints;
        if (!Visible)
            return region;
        ui::Region area(::CreateRectRgn(Area.left, Area.top, Area.right, Area.bottom));
        ResetRegion(area.Get());
        ::CombineRgn(region, region, Region.Get(), RGN_OR);
        canvas.FillRect(Area, LineColor);
        return region;
    }

    bool HitTest(POINT p, int32_t maxDistance, int32_t& distance) override {
        const double cx = (Area.left + Area.right) / 2.0, cy = (Area.top + Area.bottom) / 2.0;
        const auto d = static_cast<int32_t>(std::lround(std::hypot(p.x - cx, p.y - cy)));
        if (d < maxDistance || (AcceptEqual && d == maxDistance)) {
            distance = d;
            return true;
        }
        return false;
    }

    RECT Area;
    bool AcceptEqual;
    int Paints = 0;
};

inline std::unique_ptr<TScreenObject> Fake(int left, int top, int right, int bottom,
                                           bool acceptEqual = false) {
    return std::make_unique<FakeShape>(RECT{left, top, right, bottom}, acceptEqual);
}

// The fake behind an item made from one.
inline FakeShape& ShapeOf(TTransparentForm& form, int32_t id) {
    return static_cast<FakeShape&>(*form.Store().FindItem(id)->ScreenObject);
}

// Handles every message waiting for this thread's windows for about ms milliseconds.
inline void Pump(DWORD ms) {
    PumpMessages(ms);
}

// Handles messages until the condition holds; false when the time ran out first.
template <class Condition> bool WaitFor(Condition condition, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start >= ms)
            return false;
        Pump(20);
    }
    return true;
}

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Notification&) const = default;
};

// A message-only window that takes the overlay's notifications. It records
// them as they are dispatched, so a pump of the thread's queue loses none.
class Receiver : public ui::Window {
public:
    Receiver() {
        ui::WindowParams p;
        p.style = 0;
        p.x = p.y = p.width = p.height = 0;
        p.parent = HWND_MESSAGE;
        Create(p);
    }
    ~Receiver() override { Destroy(); }

    // The notifications that have arrived since the last call, in order.
    std::vector<Notification> Drain() {
        MSG msg;
        while (::PeekMessageW(&msg, Handle(), 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        std::vector<Notification> got;
        got.swap(received_);
        return got;
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= WM_TRANSPARENTELEMENT_CLICK && msg <= WM_TRANSPARENTELEMENT_STATUSCHANGED) {
            received_.push_back({msg, wParam, lParam});
            return 0;
        }
        return DefaultHandling(msg, wParam, lParam);
    }

private:
    std::vector<Notification> received_;
};

// True when both regions cover the same pixels, however their rectangles are
// arranged (EqualRgn compares the arrangement too).
inline bool SameArea(HRGN a, HRGN b) {
    ui::Region difference = ui::MakeEmptyRegion();
    return ::CombineRgn(difference.Get(), a, b, RGN_XOR) == NULLREGION;
}

inline Notification Status(int32_t id, int32_t status) {
    return {WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(id),
            static_cast<LPARAM>(status)};
}

// A window under the overlay that counts the left clicks it receives and,
// given a colour, paints itself in it.
class ClickCounter : public ui::Window {
public:
    explicit ClickCounter(COLORREF fill = CLR_INVALID) : fill_(fill) {}
    int clicks = 0;
    // Shows it at the screen's top left corner.
    bool Open(int width, int height) {
        ui::WindowParams p;
        p.style = WS_POPUP | WS_VISIBLE;
        p.x = 0;
        p.y = 0;
        p.width = width;
        p.height = height;
        return Create(p);
    }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_LBUTTONUP)
            ++clicks;
        if (msg == WM_ERASEBKGND && fill_ != CLR_INVALID) {
            RECT r;
            ::GetClientRect(Handle(), &r);
            ui::Brush brush(::CreateSolidBrush(fill_));
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Get());
            return 1;
        }
        return DefaultHandling(msg, wParam, lParam);
    }

private:
    COLORREF fill_;
};

// A real left click at (x, y): the pointer moves there, then button down and up
// go through the system's input queue; the thread's messages are handled.
inline void LeftClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    Pump(30);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, in, sizeof(INPUT));
    Pump(150);
}

// Hands the window a small borderless form at (x, y) as its library dialog:
// only whether that shows matters to the overlay.
inline void GiveStandInDialog(TTransparentForm& form, int x, int y, int side) {
    form.SetLibraryDialogMaker([x, y, side] {
        auto dialog = std::make_unique<ui::Form>();
        dialog->SetBorderStyle(ui::BorderStyle::None);
        dialog->SetBounds(x, y, side, side);
        return dialog;
    });
}

} // namespace overlay_test
