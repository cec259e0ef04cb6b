#include "ui/Window.h"

#include "ui/Timer.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
constexpr wchar_t kClassName[] = L"UiToolkitWindow";
constexpr UINT_PTR kSubclassId = 0x46726F; // routes a standard control to its object
// The classes registered by this module, each with StaticWindowProc.
std::vector<std::wstring> registeredClasses;

// The module that holds this code: the program, or the DLL when the library
// is built as one, so the class dies with the code of its window procedure.
HINSTANCE ThisModule() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}
} // namespace

HINSTANCE Window::Instance() {
    return ThisModule();
}

void Window::UnregisterClassIfUnused() {
    std::erase_if(registeredClasses, [](const std::wstring& name) {
        return ::UnregisterClassW(name.c_str(), ThisModule()) != FALSE;
    });
}

void Window::RegisterClassOnce(const wchar_t* name) {
    if (std::find(registeredClasses.begin(), registeredClasses.end(), name) !=
        registeredClasses.end())
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::StaticWindowProc;
    wc.hInstance = ThisModule();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    if (::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS)
        registeredClasses.emplace_back(name);
}

const wchar_t* Window::ClassName() {
    return kClassName;
}

Window::~Window() {
    Destroy();
    for (Timer* t : timers_)
        t->armed_ = false;
}

bool Window::Create(const WindowParams& p) {
    if (hwnd_)
        return true;
    const wchar_t* className = p.className ? p.className : kClassName;
    RegisterClassOnce(className);
    HWND h = ::CreateWindowExW(
        p.exStyle, className, p.caption.c_str(), p.style, p.x, p.y, p.width, p.height, p.parent,
        (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(p.childId) : nullptr, ThisModule(), this);
    return h != nullptr;
}

void Window::Destroy() {
    if (hwnd_ && ::IsWindow(hwnd_))
        ::DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

Window* Window::FromHandle(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    // A window of one of our classes runs our window procedure (in this
    // module: another module's copy of the toolkit has its own).
    if (::GetClassLongPtrW(hwnd, GCLP_WNDPROC) ==
            reinterpret_cast<ULONG_PTR>(&Window::StaticWindowProc) &&
        ::GetClassLongPtrW(hwnd, GCLP_HMODULE) == reinterpret_cast<ULONG_PTR>(ThisModule()))
        return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    DWORD_PTR ref = 0;
    if (::GetWindowSubclass(hwnd, &Window::SubclassProc, kSubclassId, &ref))
        return reinterpret_cast<Window*>(ref);
    return nullptr;
}

bool Window::CreateNative(const wchar_t* className, const WindowParams& p) {
    if (hwnd_)
        return true;
    HWND h = ::CreateWindowExW(
        p.exStyle, className, p.caption.c_str(), p.style, p.x, p.y, p.width, p.height, p.parent,
        (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(p.childId) : nullptr, ThisModule(), nullptr);
    if (!h)
        return false;
    if (!::SetWindowSubclass(h, &Window::SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this))) {
        ::DestroyWindow(h);
        return false;
    }
    hwnd_ = h;
    native_ = true;
    for (Timer* t : timers_)
        if (t->enabled_)
            t->Start();
    OnCreated();
    return true;
}

LRESULT Window::DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (native_)
        return ::DefSubclassProc(hwnd_, msg, wParam, lParam);
    return ::DefWindowProcW(hwnd_, msg, wParam, lParam);
}

// No C++ exception may cross the system's frames: an event handler that throws
// loses its own message, and the program goes on.
LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    try {
        return self->Route(msg, wParam, lParam);
    } catch (...) {
        ::OutputDebugStringW(L"UiToolkitWindow: an event handler failed\n");
        return 0;
    }
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR refData) {
    auto* self = reinterpret_cast<Window*>(refData);
    if (msg == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &Window::SubclassProc, kSubclassId);
        LRESULT r = ::DefSubclassProc(hwnd, msg, wParam, lParam);
        for (Timer* t : self->timers_)
            t->armed_ = false;
        self->hwnd_ = nullptr;
        self->native_ = false;
        try {
            self->OnDestroyed();
        } catch (...) {
        }
        return r;
    }
    try {
        return self->Route(msg, wParam, lParam);
    } catch (...) {
        ::OutputDebugStringW(L"UiToolkitWindow: an event handler failed\n");
        return 0;
    }
}

LRESULT Window::Route(UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND hwnd = hwnd_;
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = HandleMessage(msg, wParam, lParam);
        if (r != -1) {
            for (Timer* t : timers_)
                if (t->enabled_)
                    t->Start();
            OnCreated();
        }
        return r;
    }
    case WM_TIMER:
        if (DispatchTimer(wParam))
            return 0;
        break;
    case WM_NCDESTROY: {
        // The object lets go of the handle even when a handler fails here.
        LRESULT r = 0;
        try {
            r = HandleMessage(msg, wParam, lParam);
        } catch (...) {
        }
        for (Timer* t : timers_)
            t->armed_ = false;
        try {
            OnDestroyed();
        } catch (...) {
        }
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return r;
    }
    default:
        break;
    }
    return HandleMessage(msg, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(msg, wParam, lParam);
}

void Window::AttachTimer(Timer* timer) {
    timers_.push_back(timer);
}

void Window::DetachTimer(Timer* timer) {
    timers_.erase(std::remove(timers_.begin(), timers_.end(), timer), timers_.end());
}

bool Window::DispatchTimer(UINT_PTR id) {
    for (Timer* t : timers_) {
        if (t->id_ == id) {
            t->Fire();
            return true;
        }
    }
    return false;
}

} // namespace ui
