#include "ui/MonitorDpi.h"

#include "ui/DpiScaling.h"
#include "ui/Handles.h"

namespace ui {

namespace {

// Newer functions and values, looked up by name: the headers of the oldest
// supported system do not declare them.
using DpiContext = HANDLE;
const DpiContext ContextPerMonitorV2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));
const DpiContext ContextPerMonitor = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-3));
const DpiContext ContextSystemAware = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-2));
constexpr int ProcessPerMonitorAware = 2; // PROCESS_PER_MONITOR_DPI_AWARE of shcore
constexpr int MonitorEffectiveDpi = 0;    // MDT_EFFECTIVE_DPI

using SetContextFn = BOOL(WINAPI*)(DpiContext);
using GetThreadContextFn = DpiContext(WINAPI*)();
using ContextsEqualFn = BOOL(WINAPI*)(DpiContext, DpiContext);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
using GetAwarenessFn = HRESULT(WINAPI*)(HANDLE, int*);
using SetAwareFn = BOOL(WINAPI*)();
using IsAwareFn = BOOL(WINAPI*)();
using WindowDpiFn = UINT(WINAPI*)(HWND);
using MonitorDpiFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

template <typename Fn> Fn Lookup(HMODULE module, const char* name) {
    if (!module)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

HMODULE User32() {
    return ::GetModuleHandleW(L"user32.dll");
}

// shcore.dll exists from Windows 8.1 on. Loaded once and kept for the life
// of the process, like the system DLLs the program imports (so it is not
// counted among the handles that the soak tests watch come and go).
HMODULE Shcore() {
    static const HMODULE shcore = ::LoadLibraryW(L"shcore.dll");
    return shcore;
}

int ScreenDpi() {
    WindowDC screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : DesignDpi;
}

} // namespace

DpiAwareness EnableDpiAwareness() {
    if (auto set = Lookup<SetContextFn>(User32(), "SetProcessDpiAwarenessContext")) {
        if (set(ContextPerMonitorV2) || set(ContextPerMonitor))
            return CurrentDpiAwareness();
    } else if (auto set = Lookup<SetAwarenessFn>(Shcore(), "SetProcessDpiAwareness")) {
        set(ProcessPerMonitorAware);
    } else if (auto set = Lookup<SetAwareFn>(User32(), "SetProcessDPIAware")) {
        set();
    }
    // A refusal usually means the manifest has decided already.
    return CurrentDpiAwareness();
}

DpiAwareness CurrentDpiAwareness() {
    auto get = Lookup<GetThreadContextFn>(User32(), "GetThreadDpiAwarenessContext");
    auto equal = Lookup<ContextsEqualFn>(User32(), "AreDpiAwarenessContextsEqual");
    if (get && equal) {
        const DpiContext now = get();
        if (equal(now, ContextPerMonitorV2))
            return DpiAwareness::PerMonitorV2;
        if (equal(now, ContextPerMonitor))
            return DpiAwareness::PerMonitor;
        if (equal(now, ContextSystemAware))
            return DpiAwareness::SystemAware;
        return DpiAwareness::Unaware;
    }
    if (auto get = Lookup<GetAwarenessFn>(Shcore(), "GetProcessDpiAwareness")) {
        int value = 0;
        if (SUCCEEDED(get(nullptr, &value)))
            return value >= ProcessPerMonitorAware ? DpiAwareness::PerMonitor
                   : value == 1                    ? DpiAwareness::SystemAware
                                                   : DpiAwareness::Unaware;
    }
    if (auto aware = Lookup<IsAwareFn>(User32(), "IsProcessDPIAware"))
        return aware() ? DpiAwareness::SystemAware : DpiAwareness::Unaware;
    return DpiAwareness::Unaware;
}

int MonitorDpi(HMONITOR monitor) {
    if (auto get = Lookup<MonitorDpiFn>(Shcore(), "GetDpiForMonitor"); get && monitor) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(get(monitor, MonitorEffectiveDpi, &x, &y)) && x > 0)
            return static_cast<int>(x);
    }
    return ScreenDpi();
}

int WindowDpi(HWND window) {
    if (auto get = Lookup<WindowDpiFn>(User32(), "GetDpiForWindow"); get && window) {
        const UINT dpi = get(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return MonitorDpi(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

HMONITOR PrimaryMonitor() {
    return ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
}

int PrimaryMonitorDpi() {
    return MonitorDpi(PrimaryMonitor());
}

RECT WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && ::GetMonitorInfoW(monitor, &info))
        return info.rcWork;
    RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

} // namespace ui
