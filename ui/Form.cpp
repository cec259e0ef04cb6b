// Forms: the frame and its styles, client size and centring, showing and
// hiding, the modal loop, closing, and the form's own messages.
#include "ui/Form.h"

#include "ui/Application.h"

#include <algorithm>

namespace ui {

namespace {

constexpr DWORD kFrameStyleBits = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                                  WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_BORDER | WS_DLGFRAME;
constexpr DWORD kFrameExStyleBits = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

// Resets a flag when a scope ends, also by an exception.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

} // namespace

FrameStyles StylesOf(BorderStyle border, FormStyle formStyle) {
    FrameStyles s{WS_CLIPCHILDREN, 0};
    switch (border) {
    case BorderStyle::None:
        s.style |= WS_POPUP;
        break;
    case BorderStyle::ToolWindow:
        s.style |= WS_CAPTION | WS_SYSMENU;
        s.exStyle |= WS_EX_TOOLWINDOW;
        break;
    case BorderStyle::Sizeable:
        s.style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case BorderStyle::Dialog:
        s.style |= WS_CAPTION | WS_SYSMENU;
        s.exStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (formStyle == FormStyle::StayOnTop)
        s.exStyle |= WS_EX_TOPMOST;
    return s;
}

Form::Form() : Control(nullptr) {
    SetFont(FontSpec{});
    Application& app = Application::Instance();
    app.Initialize();
    bounds_ = RECT{0, 0, 320, 240};
    visible_ = false;
    FrameStyles s = StylesOf(border_, formStyle_);
    WindowParams p;
    p.style = s.style;
    p.exStyle = s.exStyle;
    p.x = bounds_.left;
    p.y = bounds_.top;
    p.width = Width();
    p.height = Height();
    p.parent = app.Handle();
    Create(p);
    app.AddForm(this);
}

Form::~Form() {
    if (modal_)
        EnableDisabledWindows();
    Application::Instance().RemoveForm(this);
}

void Form::SetBorderStyle(BorderStyle border) {
    if (border == border_)
        return;
    const int w = ClientWidth();
    const int h = ClientHeight();
    border_ = border;
    if (HWND hwnd = Handle()) {
        FrameStyles s = StylesOf(border_, formStyle_);
        DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
        DWORD ex = static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
        style = (style & ~kFrameStyleBits) | (s.style & kFrameStyleBits);
        ex = (ex & ~kFrameExStyleBits) | (s.exStyle & kFrameExStyleBits);
        ::SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
        ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(ex));
        ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetClientSize(w, h);
}

void Form::SetFormStyle(FormStyle style) {
    formStyle_ = style;
    if (Handle())
        ::SetWindowPos(Handle(), style == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0,
                       0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::SetPosition(FormPosition position) {
    position_ = position;
    if (position_ == FormPosition::ScreenCenter)
        Center();
}

int Form::ClientWidth() const {
    return ClientArea().right;
}
int Form::ClientHeight() const {
    return ClientArea().bottom;
}

void Form::SetClientSize(int width, int height) {
    designClient_ = SIZE{ScaleBetweenDpi(std::max(width, 0), Dpi(), DesignDpi),
                         ScaleBetweenDpi(std::max(height, 0), Dpi(), DesignDpi)};
    ResizeClient(width, height);
}

void Form::ResizeClient(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    HWND hwnd = Handle();
    if (!hwnd)
        return;
    RECT r{0, 0, width, height};
    ::AdjustWindowRectEx(&r, static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE)));
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
    // Correct by what the frame really takes, should it differ from the estimate.
    const int dw = width - ClientWidth();
    const int dh = height - ClientHeight();
    if (dw || dh)
        SetBounds(Left(), Top(), Width() + dw, Height() + dh);
    if (position_ == FormPosition::ScreenCenter)
        Center();
}

void Form::Center() {
    POINT p = CenteredOrigin(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN),
                             Width(), Height());
    bounds_ = RECT{p.x, p.y, p.x + Width(), p.y + Height()};
    ApplyBounds();
}

void Form::ApplyBounds() {
    if (Handle())
        ::SetWindowPos(Handle(), nullptr, bounds_.left, bounds_.top, Width(), Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::ReadBounds() {
    RECT r;
    if (Handle() && ::GetWindowRect(Handle(), &r))
        bounds_ = r;
}

bool Form::Visible() const {
    return Handle() && ::IsWindowVisible(Handle());
}

void Form::SetVisible(bool visible) {
    if (!Handle())
        return;
    if (visible) {
        if (Visible())
            return;
        if (dpiScaling_)
            FitToMonitor();
        else if (position_ == FormPosition::ScreenCenter)
            Center();
        if (OnShow)
            OnShow();
        visible_ = true;
        ::ShowWindow(Handle(), SW_SHOW);
        if (::GetActiveWindow() == Handle() && !FocusedControl())
            FocusFirst();
    } else {
        // The disabled windows come back before this one goes, so that the
        // system can activate one of them.
        if (modal_)
            EnableDisabledWindows();
        visible_ = false;
        if (Visible())
            ::ShowWindow(Handle(), SW_HIDE);
    }
}

namespace {

struct DisableContext {
    HWND self;
    HWND owner;
    std::vector<HWND>* disabled;
};

BOOL CALLBACK DisableIfOther(HWND w, LPARAM lp) {
    auto* c = reinterpret_cast<DisableContext*>(lp);
    if (w == c->self || !::IsWindowEnabled(w))
        return TRUE;
    if (!::IsWindowVisible(w) && w != c->owner)
        return TRUE;
    // Windows the modal form owns stay usable.
    for (HWND o = ::GetWindow(w, GW_OWNER); o; o = ::GetWindow(o, GW_OWNER)) {
        if (o == c->self)
            return TRUE;
    }
    ::EnableWindow(w, FALSE);
    c->disabled->push_back(w);
    return TRUE;
}

} // namespace

void Form::DisableOtherWindows() {
    DisableContext ctx{Handle(), Application::Instance().Handle(), &disabledByModal_};
    ::EnumThreadWindows(::GetCurrentThreadId(), &DisableIfOther, reinterpret_cast<LPARAM>(&ctx));
}

void Form::EnableDisabledWindows() {
    std::vector<HWND> windows;
    windows.swap(disabledByModal_);
    for (HWND w : windows) {
        if (::IsWindow(w))
            ::EnableWindow(w, TRUE);
    }
}

int Form::ShowModal() {
    if (modal_ || !Handle())
        return -1;
    Application& app = Application::Instance();
    HWND previous = ::GetActiveWindow();
    modalResult_ = 0;
    {
        FlagGuard modal(modal_);
        DisableOtherWindows();
        SetVisible(true);
        ::SetActiveWindow(Handle());
        MSG msg;
        while (modal_ && Visible() && !app.Terminated()) {
            BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
            if (r == 0) {
                ::PostQuitMessage(static_cast<int>(msg.wParam)); // for the outer loop
                break;
            }
            if (r == -1)
                break;
            app.DispatchOne(msg);
        }
        EnableDisabledWindows();
        if (Visible())
            SetVisible(false);
    }
    if (previous && previous != Handle() && ::IsWindow(previous) && ::IsWindowVisible(previous) &&
        ::IsWindowEnabled(previous))
        ::SetActiveWindow(previous);
    return modalResult_;
}

void Form::SetModalResult(int result) {
    modalResult_ = result;
    Close();
}

void Form::Close() {
    if (closing_)
        return;
    FlagGuard closing(closing_);
    if (OnCloseQuery && !OnCloseQuery())
        return;
    if (OnClose)
        OnClose();
    SetVisible(false);
    Application& app = Application::Instance();
    if (app.MainForm() == this)
        app.Terminate();
}

void Form::DoCreate() {
    if (OnCreate)
        OnCreate();
}

void Form::Release() {
    if (released_)
        return;
    released_ = true;
    if (OnDestroy)
        OnDestroy();
    if (modal_)
        EnableDisabledWindows();
    Destroy();
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_SIZE:
        ReadBounds();
        Realign();
        break;
    case WM_MOVE:
        ReadBounds();
        break;
    case WM_DPICHANGED:
        if (dpiScaling_) {
            DpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (Control* c = FocusedControl())
                lastFocus_ = c;
        } else if (!HIWORD(wParam)) {
            FocusFirst();
            if (FocusedControl())
                return 0;
        }
        break;
    case WM_SETFOCUS:
        FocusFirst();
        if (FocusedControl())
            return 0;
        break;
    default:
        break;
    }
    return Control::HandleMessage(msg, wParam, lParam);
}

} // namespace ui
