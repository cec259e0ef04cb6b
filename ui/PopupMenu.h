// A popup menu of text items, each with its own OnClick, shown at a point.
#pragma once

#include "ui/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class PopupMenu;

class MenuItem {
public:
    MenuItem(PopupMenu& menu, const std::wstring& caption);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    std::wstring Caption;
    bool Enabled = true;
    bool Visible = true;
    std::function<void()> OnClick;

    void Click() {
        if (OnClick)
            OnClick();
    }

private:
    PopupMenu* menu_;
    friend class PopupMenu;
};

class PopupMenu {
public:
    PopupMenu() = default;
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    const std::vector<MenuItem*>& Items() const { return items_; }
    // The system menu of the visible items; command n + 1 is item n.
    Menu Build() const;
    // Shows the menu at the screen point for the owner window, waits for the
    // choice and runs the chosen item's OnClick. Returns the item, or nullptr
    // when the menu was dismissed.
    MenuItem* Popup(int x, int y, HWND owner);

private:
    friend class MenuItem;
    std::vector<MenuItem*> items_;
};

} // namespace ui
