// Tests that wait for windows, timers and posted notifications of their own
// thread: every waiting message is handled for about the given time.
#pragma once

#include <windows.h>

inline void PumpMessages(DWORD ms) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    do {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(1);
    } while (::GetTickCount() - start < ms);
}
