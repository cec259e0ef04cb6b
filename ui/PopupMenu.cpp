#include "ui/PopupMenu.h"

#include "ui/Application.h"

#include <algorithm>

namespace ui {

MenuItem::MenuItem(PopupMenu& menu, const std::wstring& caption) : Caption(caption), menu_(&menu) {
    menu.items_.push_back(this);
}

MenuItem::~MenuItem() {
    if (menu_) {
        auto& items = menu_->items_;
        items.erase(std::remove(items.begin(), items.end(), this), items.end());
    }
}

PopupMenu::~PopupMenu() {
    for (MenuItem* item : items_)
        item->menu_ = nullptr;
}

Menu PopupMenu::Build() const {
    Menu menu(::CreatePopupMenu());
    if (!menu)
        return menu;
    for (size_t i = 0; i < items_.size(); ++i) {
        const MenuItem* item = items_[i];
        if (!item->Visible)
            continue;
        UINT flags = MF_STRING | (item->Enabled ? MF_ENABLED : MF_GRAYED);
        ::AppendMenuW(menu.Get(), flags, i + 1, item->Caption.c_str());
    }
    return menu;
}

MenuItem* PopupMenu::Popup(int x, int y, HWND owner) {
    Menu menu = Build();
    if (!menu)
        return nullptr;
    if (!owner)
        owner = Application::Instance().Handle();
    const UINT command = static_cast<UINT>(
        ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_RIGHTBUTTON,
                         x, y, 0, owner, nullptr));
    menu.Reset();
    if (command == 0 || command > items_.size())
        return nullptr;
    MenuItem* chosen = items_[command - 1];
    chosen->Click();
    return chosen;
}

} // namespace ui
