// A window timer owned by a Window. Its rules, which timelines built on it
// rely on:
//  - setting a different interval restarts the period of an enabled timer;
//  - setting the interval it already has changes nothing;
//  - enabling a disabled timer starts a fresh period; enabling an enabled one
//    changes nothing;
//  - a disabled timer never fires (a WM_TIMER already queued is dropped).
// A timer may be set up before its window exists; it starts when the window does.
#pragma once

#include <windows.h>

#include <functional>

namespace ui {

class Window;

class Timer {
public:
    explicit Timer(Window& owner, UINT interval = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    UINT Interval() const { return interval_; }
    bool Enabled() const { return enabled_; }
    void SetInterval(UINT interval);
    void SetEnabled(bool enabled);
    // Enables the timer and starts a fresh period, whether it ran or not.
    void Restart();

    std::function<void()> OnTimer;

private:
    friend class Window;
    void Start(); // (re)arms the system timer when the window exists
    void Stop();
    void Fire();

    Window& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_;
    bool armed_ = false;
};

} // namespace ui
