#include "CardDriver.h"

#include <algorithm>

namespace driver {

std::wstring ProgramDir() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

CardProcess::CardProcess(const std::wstring& exe) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exe + L"\"";
    std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/") + 1);
    started_ = ::GetTickCount();
    if (!::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                          &si, &pi_))
        pi_ = {};
}

CardProcess::~CardProcess() {
    if (!pi_.hProcess)
        return;
    if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(pi_.hProcess, 99);
        ::WaitForSingleObject(pi_.hProcess, 5000);
    }
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
}

bool CardProcess::WaitForExit(DWORD ms, DWORD& code) {
    DWORD start = ::GetTickCount();
    while (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
        if (::GetTickCount() - start > ms)
            return false;
        Pump(50);
    }
    return ::GetExitCodeProcess(pi_.hProcess, &code) != 0;
}

namespace {
LRESULT CALLBACK BackdropProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    return ::DefWindowProcW(h, m, w, l);
}
} // namespace

Backdrop::Backdrop() {
    brush_ = ::CreateSolidBrush(Color);
    WNDCLASSW wc{};
    wc.lpfnWndProc = BackdropProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = brush_;
    wc.lpszClassName = L"CardTestBackdrop";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"backdrop", WS_POPUP, 0, 0,
                              ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                              nullptr, nullptr, wc.hInstance, nullptr);
    ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd_);
    Pump(300);
}

Backdrop::~Backdrop() {
    if (hwnd_)
        ::DestroyWindow(hwnd_);
    ::UnregisterClassW(L"CardTestBackdrop", ::GetModuleHandleW(nullptr));
    if (brush_)
        ::DeleteObject(brush_);
}

void Pump(DWORD ms) {
    DWORD start = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(10);
    } while (::GetTickCount() - start < ms);
}

void WaitUntilCardTime(const CardProcess& card, DWORD ms) {
    while (card.MillisecondsSinceStart() < ms)
        Pump(50);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD ms) {
    DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start > ms)
            return false;
        Pump(50);
    }
}

bool WaitForScreenColor(int x, int y, COLORREF c, DWORD ms) {
    return WaitUntil(
        [&] {
            HDC screen = ::GetDC(nullptr);
            const COLORREF now = ::GetPixel(screen, x, y);
            ::ReleaseDC(nullptr, screen);
            return now == c;
        },
        ms);
}

size_t Shot::Count(RECT a, const std::function<bool(COLORREF)>& test) const {
    size_t n = 0;
    for (int y = std::max<LONG>(a.top, 0); y < std::min<LONG>(a.bottom, height); ++y)
        for (int x = std::max<LONG>(a.left, 0); x < std::min<LONG>(a.right, width); ++x)
            n += test(At(x, y));
    return n;
}

bool Shot::SaveBmp(const std::wstring& path) const {
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof bi;
    bi.biWidth = width;
    bi.biHeight = -height;
    bi.biPlanes = 1;
    bi.biBitCount = 32;
    std::vector<DWORD> raw;
    raw.reserve(pixels.size());
    for (COLORREF c : pixels)
        raw.push_back((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi;
    fh.bfSize = fh.bfOffBits + DWORD(raw.size() * 4);
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = ::WriteFile(f, &fh, sizeof fh, &put, nullptr) &&
              ::WriteFile(f, &bi, sizeof bi, &put, nullptr) &&
              ::WriteFile(f, raw.data(), DWORD(raw.size() * 4), &put, nullptr);
    ::CloseHandle(f);
    return ok;
}

Shot CaptureScreen() {
    Shot s;
    s.width = ::GetSystemMetrics(SM_CXSCREEN);
    s.height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    ::BitBlt(mem, 0, 0, s.width, s.height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    s.pixels.resize(size_t(s.width) * s.height);
    for (size_t i = 0; i < s.pixels.size(); ++i)
        s.pixels[i] = RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF);
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    return s;
}

namespace {
struct Search {
    DWORD pid;
    std::wstring text;
    const wchar_t* className;
    HWND found = nullptr;
};

bool ClassIs(HWND h, const wchar_t* name) {
    if (!name)
        return true;
    wchar_t cls[128] = {};
    ::GetClassNameW(h, cls, 128);
    return _wcsicmp(cls, name) == 0;
}

BOOL CALLBACK TopLevel(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == s->pid && ::IsWindowVisible(h) && ClassIs(h, s->className) &&
        (s->text.empty() || TextOf(h) == s->text)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK Child(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    if (::IsWindowVisible(h) && ClassIs(h, s->className) &&
        (s->text.empty() || TextOf(h) == s->text)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK TopLevelShowing(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    if (pid == s->pid && ::IsWindowVisible(h) && FindChild(h, s->text)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindWindowOf(DWORD pid, const std::wstring& caption, const wchar_t* className) {
    Search s{pid, caption, className};
    ::EnumWindows(TopLevel, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindWindowShowing(DWORD pid, const std::wstring& text) {
    Search s{pid, text, nullptr};
    ::EnumWindows(TopLevelShowing, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND FindChild(HWND parent, const std::wstring& text, const wchar_t* className) {
    Search s{0, text, className};
    ::EnumChildWindows(parent, Child, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring TextOf(HWND hwnd) {
    wchar_t buf[2048] = {};
    DWORD_PTR len = 0;
    if (!::SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf),
                               SMTO_ABORTIFHUNG, 2000, &len))
        return L"";
    return std::wstring(buf, len);
}

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

POINT Centre(RECT r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MoveTo(int x, int y) {
    ::SetCursorPos(x, y);
    Pump(100);
}

void Click(int x, int y) {
    // Snow under the pointer hides itself first, so the click reaches what lies below.
    MoveTo(x, y);
    Pump(250);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in[0], sizeof(INPUT));
    Pump(60);
    ::SendInput(1, &in[1], sizeof(INPUT));
    Pump(150);
}

void ClickWindow(HWND hwnd) {
    POINT c = Centre(ScreenRect(hwnd));
    Click(c.x, c.y);
}

void TypeText(const std::wstring& text) {
    for (wchar_t ch : text) {
        INPUT in[2]{};
        in[0].type = in[1].type = INPUT_KEYBOARD;
        in[0].ki.wScan = in[1].ki.wScan = ch;
        in[0].ki.dwFlags = KEYEVENTF_UNICODE;
        in[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        ::SendInput(2, in, sizeof(INPUT));
        Pump(20);
    }
    Pump(100);
}

void PressKey(WORD vk, bool ctrl) {
    std::vector<INPUT> in;
    auto key = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (ctrl)
        key(VK_CONTROL, false);
    key(vk, false);
    key(vk, true);
    if (ctrl)
        key(VK_CONTROL, true);
    ::SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
    Pump(150);
}

HWND WaitForFileDialog(DWORD pid, DWORD ms) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindWindowOf(pid, L"", L"#32770")) != nullptr; }, ms);
    return dialog;
}

HWND WaitForWindowShowing(DWORD pid, const std::wstring& text, DWORD ms) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindWindowShowing(pid, text)) != nullptr; }, ms);
    return window;
}

void EnterFileName(const std::wstring& name) {
    Pump(500); // the dialog's name box takes the keyboard once it is shown
    TypeText(name);
    PressKey(VK_RETURN);
}

} // namespace driver
