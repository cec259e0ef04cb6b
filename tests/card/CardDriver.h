// Drives the real card program as a person would: starts it, looks at the
// screen, moves the pointer, clicks and types. Used by the end-to-end tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace driver {

std::wstring ProgramDir();

// A process started by the test; ended by its handle if the test gives up.
class CardProcess {
public:
    explicit CardProcess(const std::wstring& exe);
    ~CardProcess();
    bool Started() const { return pi_.hProcess != nullptr; }
    DWORD Id() const { return pi_.dwProcessId; }
    // True when the process ended within the time; its exit code in `code`.
    bool WaitForExit(DWORD ms, DWORD& code);
    DWORD MillisecondsSinceStart() const { return ::GetTickCount() - started_; }
    // From now on the time counts from this moment (the scene's start).
    void RestartClock() { started_ = ::GetTickCount(); }

private:
    PROCESS_INFORMATION pi_{};
    DWORD started_ = 0;
};

// A plain full-screen window behind everything, so the screen has one known colour.
class Backdrop {
public:
    static constexpr COLORREF Color = RGB(20, 40, 90);
    Backdrop();
    ~Backdrop();

private:
    HWND hwnd_ = nullptr;
    HBRUSH brush_ = nullptr;
};

// Handles the test's own messages while it waits.
void Pump(DWORD ms);
// Handles messages until the card's clock (see RestartClock) reaches ms.
void WaitUntilCardTime(const CardProcess& card, DWORD ms);
// Waits until the condition holds; false after the time runs out.
bool WaitUntil(const std::function<bool()>& condition, DWORD ms);
// Waits until the screen shows colour c at (x, y).
bool WaitForScreenColor(int x, int y, COLORREF c, DWORD ms);

struct Shot {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Pixels in [left, right) x [top, bottom) for which the test holds.
    size_t Count(RECT area, const std::function<bool(COLORREF)>& test) const;
    bool SaveBmp(const std::wstring& path) const;
};
Shot CaptureScreen();

// A visible top-level window of the process with this caption (empty: any
// caption) and, when given, this window class.
HWND FindWindowOf(DWORD pid, const std::wstring& caption, const wchar_t* className = nullptr);
// A visible top-level window of the process whose child controls show this text.
HWND FindWindowShowing(DWORD pid, const std::wstring& text);
// A visible child of the window showing exactly this text (empty: any text).
HWND FindChild(HWND parent, const std::wstring& text, const wchar_t* className = nullptr);
std::wstring TextOf(HWND hwnd);
RECT ScreenRect(HWND hwnd);
POINT Centre(RECT r);

void MoveTo(int x, int y);
void Click(int x, int y);
void ClickWindow(HWND hwnd);
void TypeText(const std::wstring& text);
void PressKey(WORD vk, bool ctrl = false);

// The process's file dialog (a system dialog box) or a window of it showing
// this text, waited for up to ms; null when none came.
HWND WaitForFileDialog(DWORD pid, DWORD ms);
HWND WaitForWindowShowing(DWORD pid, const std::wstring& text, DWORD ms);
// Types the name into the file dialog that has the keyboard, and confirms it.
void EnterFileName(const std::wstring& name);

} // namespace driver
