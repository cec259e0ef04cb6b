// The application object: the hidden owner window that carries the taskbar
// button and the title, the forms, and the message loop that ends when the
// main form closes.
#pragma once

#include "ui/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

class Application : public Window {
public:
    static Application& Instance();

    // Makes the owner window (hidden); safe to call more than once.
    void Initialize();
    void SetTitle(const std::wstring& title);
    const std::wstring& Title() const { return title_; }

    // Runs the form's OnCreate; the first form created this way becomes the
    // main form.
    void CreateForm(Form& form);
    // The main form: the loop shows it when it starts and ends when it closes.
    void SetMainForm(Form* form) { mainForm_ = form; }
    Form* MainForm() const { return mainForm_; }
    // The forms that exist now, in the order they were made.
    const std::vector<Form*>& Forms() const { return forms_; }
    // The form whose window is hwnd or holds it, or nullptr.
    static Form* FormOf(HWND hwnd);

    // A main window that is not a form: the loop ends when it is destroyed.
    void SetMainWindow(HWND main) { mainWindow_ = main; }
    HWND MainWindow() const { return mainWindow_; }
    // Called by windows when they are destroyed.
    void WindowDestroyed(HWND hwnd);

    // Shows the main form and runs the message loop until Terminate, the
    // main form's Close or the main window's destruction; returns the exit
    // code. A later Run starts afresh.
    int Run();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return terminated_; }

    // Handles one message as the loop does (hook, form keys, then dispatch).
    void DispatchOne(MSG& msg);
    // Runs the queue until it is empty; for tests and busy work.
    void ProcessMessages();

    // A hook that may handle a message before anything else; true means handled.
    std::function<bool(MSG&)> PreTranslate;

private:
    friend class Form;
    Application() = default;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void AddForm(Form* form);
    void RemoveForm(Form* form);

    std::wstring title_;
    HWND mainWindow_ = nullptr;
    Form* mainForm_ = nullptr;
    std::vector<Form*> forms_;
    bool terminated_ = false;
    int exitCode_ = 0;
};

} // namespace ui
