// Another program's window for the desktop tests: this test program started
// a second time with --other-window. It is filled with one colour, counts the
// clicks into it and collects what is typed, and shows both in its caption,
// where the test reads them.
#pragma once

#include <windows.h>

#include <string>

class OtherWindow {
public:
    static constexpr COLORREF Color = RGB(0, 160, 80);
    explicit OtherWindow(RECT bounds);
    ~OtherWindow();
    bool Started() const { return window_ != nullptr; }
    HWND Window() const { return window_; }
    int Clicks() const;
    std::wstring Typed() const;

private:
    std::wstring Caption() const;
    PROCESS_INFORMATION pi_{};
    HWND window_ = nullptr;
};

// The other program's side: shows the window at bounds until it is closed.
int RunOtherWindow(RECT bounds);
// Runs the other program when the command line asks for it; false otherwise.
bool RunOtherWindowIfAsked(int argc, char** argv, int& exitCode);
