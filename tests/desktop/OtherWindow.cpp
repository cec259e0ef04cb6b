#include "OtherWindow.h"

#include "card/CardDriver.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr wchar_t ClassName[] = L"OrvexOtherProgram";
constexpr wchar_t Title[] = L"Another program";

struct State {
    int clicks = 0;
    std::wstring typed;
};
State g_state;

void ShowState(HWND hwnd) {
    std::wstring caption =
        std::wstring(Title) + L"|" + std::to_wstring(g_state.clicks) + L"|" + g_state.typed;
    ::SetWindowTextW(hwnd, caption.c_str());
}

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN:
        ++g_state.clicks;
        ShowState(hwnd);
        return 0;
    case WM_CHAR:
        g_state.typed.push_back(static_cast<wchar_t>(wParam));
        ShowState(hwnd);
        return 0;
    case WM_ERASEBKGND: {
        RECT r;
        ::GetClientRect(hwnd, &r);
        HBRUSH brush = ::CreateSolidBrush(OtherWindow::Color);
        ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        ::DeleteObject(brush);
        return 1;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int RunOtherWindow(RECT bounds) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = ClassName;
    ::RegisterClassExW(&wc);
    HWND hwnd = ::CreateWindowExW(0, ClassName, Title, WS_OVERLAPPEDWINDOW, bounds.left, bounds.top,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (!hwnd)
        return 1;
    ShowState(hwnd);
    ::ShowWindow(hwnd, SW_SHOW);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

bool RunOtherWindowIfAsked(int argc, char** argv, int& exitCode) {
    if (argc < 6 || std::strcmp(argv[1], "--other-window") != 0)
        return false;
    RECT r{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5])};
    exitCode = RunOtherWindow(r);
    return true;
}

OtherWindow::OtherWindow(RECT bounds) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --other-window " +
                           std::to_wstring(bounds.left) + L" " + std::to_wstring(bounds.top) +
                           L" " + std::to_wstring(bounds.right) + L" " +
                           std::to_wstring(bounds.bottom);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi_))
        return;
    driver::WaitUntil(
        [&] {
            return (window_ = driver::FindWindowOf(pi_.dwProcessId, L"", ClassName)) != nullptr;
        },
        20000);
    driver::Pump(500);
}

OtherWindow::~OtherWindow() {
    if (!pi_.hProcess)
        return;
    if (window_)
        ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(pi_.hProcess, 5000) == WAIT_TIMEOUT)
        ::TerminateProcess(pi_.hProcess, 1);
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
}

std::wstring OtherWindow::Caption() const {
    wchar_t text[512] = {};
    ::GetWindowTextW(window_, text, 512);
    return text;
}

int OtherWindow::Clicks() const {
    const std::wstring c = Caption();
    const size_t a = c.find(L'|');
    return a == std::wstring::npos ? -1 : std::wcstol(c.c_str() + a + 1, nullptr, 10);
}

std::wstring OtherWindow::Typed() const {
    const std::wstring c = Caption();
    const size_t a = c.find(L'|');
    const size_t b = a == std::wstring::npos ? a : c.find(L'|', a + 1);
    return b == std::wstring::npos ? L"" : c.substr(b + 1);
}
