// The application object: the hidden owner window that carries the taskbar
// button and the title, and the message loop that ends when the main form goes.
#pragma once

#include "ui/Window.h"

#include <functional>
#include <string>

namespace ui {

class Application : public Window {
public:
    static Application& Instance();

    // Makes the owner window (hidden); safe to call more than once.
    void Initialize();
    void SetTitle(const std::wstring& title);
    const std::wstring& Title() const { return title_; }

    // The main form: when its window is destroyed, the message loop ends.
    void SetMainWindow(HWND main) { mainWindow_ = main; }
    HWND MainWindow() const { return mainWindow_; }
    // Called by the forms when their window is destroyed.
    void WindowDestroyed(HWND hwnd);

    // Runs the message loop until Terminate or the main window is destroyed;
    // returns the exit code.
    int Run();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return terminated_; }

    // Handles one message as the loop does (dialog keys, then dispatch).
    void DispatchOne(MSG& msg);
    // Runs the queue until it is empty; for tests and modal loops.
    void ProcessMessages();

    // A hook that may handle a message before it is dispatched (keyboard
    // shortcuts and dialog keys of the active form); true means handled.
    std::function<bool(MSG&)> PreTranslate;

private:
    Application() = default;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    std::wstring title_;
    HWND mainWindow_ = nullptr;
    bool terminated_ = false;
    int exitCode_ = 0;
};

} // namespace ui
