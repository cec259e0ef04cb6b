#include "ui/Timer.h"

#include "ui/Window.h"

namespace ui {

namespace {
UINT_PTR NextTimerId() {
    static UINT_PTR next = 0x4000;
    return ++next;
}
} // namespace

Timer::Timer(Window& owner, UINT interval, bool enabled)
    : owner_(owner), id_(NextTimerId()), interval_(interval), enabled_(enabled) {
    owner_.AttachTimer(this);
    if (enabled_)
        Start();
}

Timer::~Timer() {
    Stop();
    owner_.DetachTimer(this);
}

void Timer::SetInterval(UINT interval) {
    if (interval == interval_)
        return;
    interval_ = interval;
    if (enabled_)
        Start();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_)
        Start();
    else
        Stop();
}

void Timer::Restart() {
    enabled_ = true;
    Start();
}

void Timer::Start() {
    HWND hwnd = owner_.Handle();
    if (!hwnd)
        return; // armed when the window is created
    if (interval_ == 0) {
        Stop(); // an interval of 0 never fires
        return;
    }
    // SetTimer with an existing id replaces the timer and starts a new period.
    armed_ = ::SetTimer(hwnd, id_, interval_, nullptr) != 0;
}

void Timer::Stop() {
    if (armed_ && owner_.Handle())
        ::KillTimer(owner_.Handle(), id_);
    armed_ = false;
}

void Timer::Fire() {
    // KillTimer leaves a WM_TIMER that is already queued; a disabled timer drops it.
    if (!enabled_ || !armed_)
        return;
    if (OnTimer)
        OnTimer();
}

} // namespace ui
