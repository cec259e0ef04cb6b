// Components built on the system's standard controls: push button, list box,
// multi-line text box and tab pages.
#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

namespace ui {

// A push button; Enter clicks the form's default button, Escape its cancel
// button.
class Button : public Control {
public:
    Button(Control& parent, const std::wstring& caption = L"");
    bool Default() const { return default_; }
    void SetDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool isCancel);
    bool CanFocus() const override { return true; }
    bool AcceptsMnemonic() const override { return true; }

protected:
    void OnCommand(WORD code) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    bool default_ = false;
    bool cancel_ = false;
};

// A list of text items with one selected item; OnClick runs when the user
// selects an item (not when the program does).
class ListBox : public Control {
public:
    explicit ListBox(Control& parent);
    void SetItems(const std::vector<std::wstring>& items);
    void AddItem(const std::wstring& item);
    void ClearItems();
    int Count() const;
    std::wstring Item(int index) const;
    // -1: nothing selected. An index outside the items selects nothing.
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool CanFocus() const override { return true; }

protected:
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;
    bool ClicksOnMouseUp() const override { return false; }
};

// A multi-line text box. Its text has CR LF line breaks.
class Memo : public Control {
public:
    explicit Memo(Control& parent);

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    std::vector<std::wstring> Lines() const;
    void Clear() { SetText(L""); }
    // Adds a line after the last one (every added line ends with CR LF).
    void AddLine(const std::wstring& line);

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Border() const { return border_; }
    void SetBorder(bool border);
    bool VerticalScrollBar() const { return vScroll_; }
    void SetVerticalScrollBar(bool on);
    // Shows the vertical scroll bar only while the text has more lines than
    // the box shows (a text set, an edit, a new size or font).
    void SetAutoVerticalScrollBar(bool on);
    // Most characters the user can enter; 0: no limit of our own.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int characters);
    // How many bytes a text takes where it is stored.
    using ByteCount = std::function<size_t(const std::wstring& text)>;
    // Most bytes the text may take as `count` counts them (by default in the
    // ANSI code page); 0: no limit. An edit of the user that would grow the
    // text beyond it keeps what fits of what it inserted, never half a
    // surrogate pair or half a CR LF; OnLimit then learns how many characters
    // were left out. Text set by the program is taken whole.
    size_t MaxBytes() const { return maxBytes_; }
    void SetMaxBytes(size_t bytes, ByteCount count = {});

    // Runs after the user changed the text.
    std::function<void()> OnChange;
    // Runs after an edit of the user was cut at MaxBytes, with the number of
    // characters left out (a CR LF counts as one).
    std::function<void(size_t leftOut)> OnLimit;

    bool CanFocus() const override { return true; }
    bool WantsReturn() const override { return !readOnly_; }

protected:
    void OnCommand(WORD code) override;
    HBRUSH OnCtlColor(HDC dc) override;
    void FontChanged() override;
    void ApplyBounds() override;

private:
    // More lines than the box shows, with the scroll bar as it is now.
    bool LinesHidden() const;
    void UpdateAutoScrollBar();
    DWORD Style() const;
    DWORD ExStyle() const;
    void Rebuild();
    void ApplyLimits();

    bool readOnly_ = false;
    bool border_ = true;
    bool vScroll_ = false;
    bool autoVScroll_ = false;
    int maxLength_ = 0;
    size_t maxBytes_ = 0;
    ByteCount byteCount_;
    bool settingText_ = false;
    std::wstring accepted_; // the last text within MaxBytes
};

class TabPage;

// A row of tabs with one page shown below it.
class TabControl : public Control {
public:
    explicit TabControl(Control& parent);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TabPage& Page(int index) const { return *pages_.at(index); }
    int ActivePageIndex() const;
    TabPage* ActivePage() const;
    void SetActivePageIndex(int index);
    void SetActivePage(TabPage& page);
    // Runs when the user chose another page.
    std::function<void()> OnChange;

    RECT ClientArea() const override;
    bool CanFocus() const override { return true; }

protected:
    LRESULT OnNotify(NMHDR* header) override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    friend class TabPage;
    void AddPage(TabPage* page);
    void RemovePage(TabPage* page);
    void ShowOnly(int index);
    std::vector<TabPage*> pages_;
};

// One page of a tab control; it fills the area below the tabs.
class TabPage : public Control {
public:
    TabPage(TabControl& tabs, const std::wstring& caption);
    ~TabPage() override;
    int PageIndex() const;

protected:
    void CaptionChanged() override;

private:
    TabControl& tabs_;
};

} // namespace ui
