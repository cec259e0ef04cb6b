// Forms and the keyboard: the focus among a form's controls and its Tab
// order, the default and cancel buttons, Alt plus an underlined letter, and
// the form's shortcuts.
#include "ui/Form.h"

#include "ui/StdControls.h"

#include <algorithm>
#include <cwctype>

namespace ui {

wchar_t MnemonicOf(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] == L'&') {
            ++i; // "&&" is a plain ampersand
            continue;
        }
        return static_cast<wchar_t>(std::towupper(caption[i + 1]));
    }
    return 0;
}

void Form::ForgetControl(Control* control) {
    if (activeControl_ == control)
        activeControl_ = nullptr;
    if (lastFocus_ == control)
        lastFocus_ = nullptr;
    if (defaultButton_ == control)
        defaultButton_ = nullptr;
    if (cancelButton_ == control)
        cancelButton_ = nullptr;
}

Control* Form::FocusedControl() const {
    HWND focus = ::GetFocus();
    if (!focus || !Handle() || (focus != Handle() && !::IsChild(Handle(), focus)))
        return nullptr;
    // The focus may sit in an inner window of a standard control.
    for (HWND w = focus; w && w != Handle(); w = ::GetParent(w)) {
        if (Control* c = Control::FromHandle(w))
            return c;
    }
    return nullptr;
}

Control* Form::ActiveControl() const {
    if (Control* c = FocusedControl())
        return c;
    return activeControl_;
}

void Form::SetActiveControl(Control* control) {
    activeControl_ = control;
    lastFocus_ = nullptr;
    if (control && Handle() && ::GetActiveWindow() == Handle())
        control->SetFocus();
}

void Form::SetDefaultButton(Button* button, bool on) {
    if (on)
        defaultButton_ = button;
    else if (defaultButton_ == button)
        defaultButton_ = nullptr;
}

void Form::SetCancelButton(Button* button, bool on) {
    if (on)
        cancelButton_ = button;
    else if (cancelButton_ == button)
        cancelButton_ = nullptr;
}

void Form::AddShortcut(ShortCut shortcut, std::function<void()> action) {
    shortcuts_.push_back(Shortcut{shortcut, std::move(action)});
}

std::vector<Control*> Form::TabStops() {
    std::vector<Control*> stops;
    ForEachControl([&](Control& c) {
        if (&c != this && c.CanFocus() && c.Enabled() && c.Showing() && c.Handle())
            stops.push_back(&c);
    });
    return stops;
}

void Form::SelectNext(bool forward) {
    std::vector<Control*> stops = TabStops();
    if (stops.empty())
        return;
    Control* focused = FocusedControl();
    auto it = std::find(stops.begin(), stops.end(), focused);
    size_t next;
    if (it == stops.end())
        next = forward ? 0 : stops.size() - 1;
    else {
        size_t i = static_cast<size_t>(it - stops.begin());
        next = forward ? (i + 1) % stops.size() : (i + stops.size() - 1) % stops.size();
    }
    stops[next]->SetFocus();
}

void Form::FocusFirst() {
    Control* target = nullptr;
    std::vector<Control*> stops = TabStops();
    auto usable = [&](Control* c) {
        return c && std::find(stops.begin(), stops.end(), c) != stops.end();
    };
    if (usable(lastFocus_))
        target = lastFocus_;
    else if (usable(activeControl_))
        target = activeControl_;
    else if (!stops.empty())
        target = stops.front();
    if (target)
        target->SetFocus();
}

bool Form::HandleKey(UINT vk, ShortCut modifiers) {
    const ShortCut key = MakeShortCut(vk, modifiers);
    for (const Shortcut& s : shortcuts_) {
        if (s.key == key) {
            if (s.action)
                s.action();
            return true;
        }
    }
    const bool ctrl = modifiers & ShortCutCtrl;
    const bool alt = modifiers & ShortCutAlt;
    const bool shift = modifiers & ShortCutShift;
    if (vk == VK_TAB && !ctrl && !alt) {
        SelectNext(!shift);
        return true;
    }
    auto usable = [](Control* c) { return c && c->Showing() && c->Enabled(); };
    Control* focused = FocusedControl();
    if (vk == VK_RETURN && !ctrl && !alt) {
        if (focused && focused->WantsReturn())
            return false;
        if (auto* b = dynamic_cast<Button*>(focused); usable(b)) {
            b->Click();
            return true;
        }
        if (usable(defaultButton_)) {
            defaultButton_->Click();
            return true;
        }
        return false;
    }
    if (vk == VK_ESCAPE && !ctrl && !alt && !shift) {
        if (usable(cancelButton_)) {
            cancelButton_->Click();
            return true;
        }
        return false;
    }
    if (alt && !ctrl && ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) {
        Control* hit = nullptr;
        ForEachControl([&](Control& c) {
            if (!hit && c.AcceptsMnemonic() && usable(&c) && MnemonicOf(c.Caption()) == wchar_t(vk))
                hit = &c;
        });
        if (hit) {
            if (hit->CanFocus())
                hit->SetFocus();
            hit->Click();
            return true;
        }
    }
    return false;
}

bool Form::PreTranslateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    ShortCut modifiers = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        modifiers |= ShortCutShift;
    if (::GetKeyState(VK_CONTROL) < 0)
        modifiers |= ShortCutCtrl;
    if ((msg.lParam & (1 << 29)) || ::GetKeyState(VK_MENU) < 0)
        modifiers |= ShortCutAlt;
    return HandleKey(static_cast<UINT>(msg.wParam), modifiers);
}

} // namespace ui
