#include "ui/Application.h"

#include "ui/Form.h"

#include <algorithm>

namespace ui {

Application& Application::Instance() {
    static Application app;
    return app;
}

void Application::Initialize() {
    if (Handle())
        return;
    WindowParams p;
    // A zero-sized popup off the screen: it carries the taskbar button of the
    // program's unowned windows and owns every top-level form.
    p.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX;
    p.caption = title_;
    p.x = -10;
    p.y = -10;
    p.width = 0;
    p.height = 0;
    Create(p);
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    if (Handle())
        ::SetWindowTextW(Handle(), title_.c_str());
}

void Application::CreateForm(Form& form) {
    if (!mainForm_)
        mainForm_ = &form;
    form.DoCreate();
}

void Application::AddForm(Form* form) {
    forms_.push_back(form);
}

void Application::RemoveForm(Form* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (mainForm_ == form)
        mainForm_ = nullptr;
}

Form* Application::FormOf(HWND hwnd) {
    if (!hwnd)
        return nullptr;
    HWND root = ::GetAncestor(hwnd, GA_ROOT);
    return dynamic_cast<Form*>(Window::FromHandle(root ? root : hwnd));
}

void Application::WindowDestroyed(HWND hwnd) {
    if (hwnd && hwnd == mainWindow_) {
        mainWindow_ = nullptr;
        Terminate(exitCode_);
    }
}

void Application::Terminate(int exitCode) {
    exitCode_ = exitCode;
    if (!terminated_) {
        terminated_ = true;
        // Wakes a loop that waits for a message; the loops test the flag.
        ::PostMessageW(Handle(), WM_NULL, 0, 0);
    }
}

void Application::DispatchOne(MSG& msg) {
    if (PreTranslate && PreTranslate(msg))
        return;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
        if (Form* form = FormOf(msg.hwnd); form && form->PreTranslateKey(msg))
            return;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
}

int Application::Run() {
    if (mainForm_ && !terminated_ && !mainForm_->Visible())
        mainForm_->Show();
    MSG msg;
    while (!terminated_) {
        BOOL r = ::GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0 || r == -1)
            break;
        DispatchOne(msg);
    }
    terminated_ = false;
    const int code = exitCode_;
    exitCode_ = 0;
    return code;
}

void Application::ProcessMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        DispatchOne(msg);
    }
}

LRESULT Application::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE) {
        // Closing the taskbar button closes the main form, which ends the loop.
        if (mainForm_)
            mainForm_->Close();
        else if (mainWindow_)
            ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
        else
            Terminate(0);
        return 0;
    }
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace ui
