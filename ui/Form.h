// A top-level window of the program: frame, stay-on-top state, client size,
// centring, caption, colour and font; the form events; modal and non-modal
// display; dialog keys (Enter, Escape, Tab, Alt + underlined letter) and
// keyboard shortcuts. Forms are owned by the application's hidden window and
// live for the whole run: Close hides them.
#pragma once

#include "ui/Control.h"

#include <functional>
#include <vector>

namespace ui {

class Button;

enum class BorderStyle { None, ToolWindow, Sizeable, Dialog };
enum class FormStyle { Normal, StayOnTop };
enum class FormPosition { Designed, ScreenCenter };

// A key with modifier flags, as one number: the virtual key in the low byte.
using ShortCut = unsigned;
constexpr ShortCut ShortCutShift = 0x2000;
constexpr ShortCut ShortCutCtrl = 0x4000;
constexpr ShortCut ShortCutAlt = 0x8000;
constexpr ShortCut MakeShortCut(UINT virtualKey, ShortCut modifiers = 0) {
    return (virtualKey & 0xFF) | (modifiers & (ShortCutShift | ShortCutCtrl | ShortCutAlt));
}

// Window styles of a frame: {style, extended style}.
struct FrameStyles {
    DWORD style;
    DWORD exStyle;
};
FrameStyles StylesOf(BorderStyle border, FormStyle formStyle);

class Form : public Control {
public:
    // Makes the window, hidden, owned by the application's window.
    Form();
    ~Form() override;

    BorderStyle GetBorderStyle() const { return border_; }
    void SetBorderStyle(BorderStyle border);
    FormStyle GetFormStyle() const { return formStyle_; }
    // StayOnTop puts the form at the top of the topmost windows, Normal takes
    // it out of them; neither moves, sizes nor activates it.
    void SetFormStyle(FormStyle style);
    FormPosition GetPosition() const { return position_; }
    void SetPosition(FormPosition position);

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientSize(int width, int height);
    void SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }
    void SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }
    // Centres the form on the primary screen.
    void Center();

    // A form scaled to its monitor: designed for 96 DPI, it takes the DPI of
    // the monitor it is shown on (shrunk where it would not fit the work
    // area) and follows WM_DPICHANGED; shown, it lies inside the work area.
    // Off by default: the form keeps the pixel sizes it is given.
    bool DpiScaling() const { return dpiScaling_; }
    void SetDpiScaling(bool on) { dpiScaling_ = on; }
    // Lays the form and its components out for this DPI: the client size
    // and every bounds, distance and font, scaled from the current DPI.
    void ScaleTo(int dpi);
    // What the form does with WM_DPICHANGED: the new DPI (as far as the form
    // fits the work area there) and the system's suggested window rectangle,
    // whose top left corner it takes, moved into the work area.
    void DpiChanged(int dpi, const RECT& suggested);

    bool Visible() const override;
    // Showing runs OnShow first (and centres a ScreenCenter form); hiding ends
    // a modal display.
    void SetVisible(bool visible) override;

    // Shows the form and runs a message loop until it is hidden or closed
    // (window timers go on firing); the other windows of the program are
    // disabled meanwhile and enabled again after, and the window that was
    // active before becomes active again. Returns the modal result (0 unless
    // SetModalResult was used), or -1 when the form is already modal.
    int ShowModal();
    bool Modal() const { return modal_; }
    // Sets the result and closes the form.
    void SetModalResult(int result);
    int ModalResult() const { return modalResult_; }

    // Asks OnCloseQuery, runs OnClose and hides the form; closing the main
    // form ends the application's message loop.
    void Close();

    // The control that has (or gets, when the form is activated) the focus.
    Control* ActiveControl() const;
    void SetActiveControl(Control* control);
    Button* DefaultButton() const { return defaultButton_; }
    Button* CancelButton() const { return cancelButton_; }

    // A key with modifiers that runs an action while the form is active.
    void AddShortcut(ShortCut shortcut, std::function<void()> action);
    // A key press: shortcuts, then Tab/Shift+Tab, Enter, Escape and Alt plus
    // an underlined letter. True when the key was used.
    bool HandleKey(UINT virtualKey, ShortCut modifiers);
    // The message loop's entry: key-down messages of the form's windows.
    bool PreTranslateKey(const MSG& msg);
    // Moves the focus to the next (or previous) Tab stop.
    void SelectNext(bool forward);
    // The Tab stops in Tab order: focusable, shown and enabled controls.
    std::vector<Control*> TabStops();

    // Runs OnCreate (Application::CreateForm calls it).
    void DoCreate();
    // Runs OnDestroy once and destroys the window.
    void Release();

    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<bool()> OnCloseQuery; // false keeps the form open
    std::function<void()> OnClose;
    std::function<void()> OnDestroy;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void ApplyBounds() override;

private:
    friend class Control;
    friend class Button;
    void ForgetControl(Control* control);
    void SetDefaultButton(Button* button, bool on);
    void SetCancelButton(Button* button, bool on);
    void ReadBounds();
    void ResizeClient(int width, int height);
    // The DPI at which the form fits the work area of the monitor, at most `wanted`.
    int FittingDpiOn(HMONITOR monitor, int wanted) const;
    void ScaleToFit(HMONITOR monitor, int wanted);
    void MoveIntoWorkArea(HMONITOR monitor);
    void FitToMonitor();
    void FocusFirst();
    Control* FocusedControl() const;
    void DisableOtherWindows();
    void EnableDisabledWindows();

    struct Shortcut {
        ShortCut key;
        std::function<void()> action;
    };

    BorderStyle border_ = BorderStyle::Sizeable;
    FormStyle formStyle_ = FormStyle::Normal;
    FormPosition position_ = FormPosition::Designed;
    bool modal_ = false;
    bool dpiScaling_ = false;
    SIZE designClient_{0, 0}; // the client size set, at 96 DPI
    bool closing_ = false;
    bool released_ = false;
    int modalResult_ = 0;
    std::vector<HWND> disabledByModal_;
    Control* activeControl_ = nullptr;
    Control* lastFocus_ = nullptr;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    std::vector<Shortcut> shortcuts_;
};

// The character after the single '&' of a caption, upper-cased; 0 if none.
wchar_t MnemonicOf(const std::wstring& caption);

} // namespace ui
