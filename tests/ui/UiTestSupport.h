// Message-loop helpers for the toolkit's tests.
#pragma once

#include "ui/Application.h"

#include <windows.h>

#include <functional>

namespace uitest {

// Runs the message loop (as the application's loop does) for about ms.
inline void Pump(DWORD ms) {
    ui::Application& app = ui::Application::Instance();
    const DWORD start = ::GetTickCount();
    MSG msg;
    for (;;) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            app.DispatchOne(msg);
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= ms)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

// Runs the loop until done() or the timeout; returns done().
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    while (!done() && ::GetTickCount() - start < timeoutMs)
        Pump(5);
    return done();
}

} // namespace uitest
