#include "ui/StdControls.h"

#include "ui/Form.h"
#include "ui/Strings.h"
#include "ui/TextEdits.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

// ---- Button

Button::Button(Control& parent, const std::wstring& caption) : Control(&parent) {
    CreateStd(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON);
    SetCaption(caption);
}

void Button::SetDefault(bool isDefault) {
    default_ = isDefault;
    if (Form* form = OwnerForm())
        form->SetDefaultButton(this, isDefault);
    if (Handle())
        ::SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void Button::SetCancel(bool isCancel) {
    cancel_ = isCancel;
    if (Form* form = OwnerForm())
        form->SetCancelButton(this, isCancel);
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED)
        Click();
}

// ---- ListBox

ListBox::ListBox(Control& parent) : Control(&parent) {
    SetDefaultColor(::GetSysColor(COLOR_WINDOW));
    CreateStd(L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE);
}

void ListBox::SetItems(const std::vector<std::wstring>& items) {
    ClearItems();
    for (const std::wstring& item : items)
        AddItem(item);
}

void ListBox::AddItem(const std::wstring& item) {
    if (Handle())
        ::SendMessageW(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ListBox::ClearItems() {
    if (Handle())
        ::SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
}

int ListBox::Count() const {
    if (!Handle())
        return 0;
    LRESULT n = ::SendMessageW(Handle(), LB_GETCOUNT, 0, 0);
    return n == LB_ERR ? 0 : static_cast<int>(n);
}

std::wstring ListBox::Item(int index) const {
    if (index < 0 || index >= Count())
        return {};
    LRESULT n = ::SendMessageW(Handle(), LB_GETTEXTLEN, index, 0);
    if (n == LB_ERR || n <= 0)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    n = ::SendMessageW(Handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(n == LB_ERR ? 0 : static_cast<size_t>(n));
    return text;
}

int ListBox::ItemIndex() const {
    if (!Handle())
        return -1;
    LRESULT i = ::SendMessageW(Handle(), LB_GETCURSEL, 0, 0);
    return i == LB_ERR ? -1 : static_cast<int>(i);
}

void ListBox::SetItemIndex(int index) {
    if (!Handle())
        return;
    if (index < 0 || index >= Count())
        index = -1;
    ::SendMessageW(Handle(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ListBox::OnCommand(WORD code) {
    if (code == LBN_SELCHANGE)
        Click();
}

HBRUSH ListBox::OnCtlColor(HDC dc) {
    ::SetTextColor(dc, GetFont().color);
    ::SetBkColor(dc, Color());
    return BackgroundBrush();
}

// ---- Memo

Memo::Memo(Control& parent) : Control(&parent) {
    SetDefaultColor(::GetSysColor(COLOR_WINDOW));
    CreateStd(L"EDIT", Style(), ExStyle());
    ApplyLimits();
}

DWORD Memo::Style() const {
    return WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL |
           (vScroll_ ? WS_VSCROLL : 0) | (readOnly_ ? ES_READONLY : 0);
}

DWORD Memo::ExStyle() const {
    return border_ ? WS_EX_CLIENTEDGE : 0;
}

void Memo::ApplyLimits() {
    if (!Handle())
        return;
    // 0 asks the control for its largest limit.
    ::SendMessageW(Handle(), EM_SETLIMITTEXT, static_cast<WPARAM>(maxLength_ > 0 ? maxLength_ : 0),
                   0);
}

void Memo::Rebuild() {
    const std::wstring text = Text();
    Recreate(Style(), ExStyle());
    SetText(text);
    ApplyLimits();
}

std::wstring Memo::Text() const {
    if (!Handle())
        return {};
    const int n = ::GetWindowTextLengthW(Handle());
    if (n <= 0)
        return {};
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    const int got = ::GetWindowTextW(Handle(), text.data(), n + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void Memo::SetText(const std::wstring& text) {
    if (!Handle())
        return;
    settingText_ = true;
    ::SetWindowTextW(Handle(), text.c_str());
    settingText_ = false;
    accepted_ = text;
    UpdateAutoScrollBar();
}

std::vector<std::wstring> Memo::Lines() const {
    return SplitLines(Text());
}

void Memo::AddLine(const std::wstring& line) {
    std::wstring text = Text();
    if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0))
        text += L"\r\n";
    text += line;
    text += L"\r\n";
    SetText(text);
}

void Memo::SetReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    if (Handle())
        ::SendMessageW(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Memo::SetBorder(bool border) {
    if (border == border_)
        return;
    border_ = border;
    Rebuild();
}

void Memo::SetVerticalScrollBar(bool on) {
    if (on == vScroll_)
        return;
    vScroll_ = on;
    Rebuild();
}

void Memo::SetAutoVerticalScrollBar(bool on) {
    autoVScroll_ = on;
    UpdateAutoScrollBar();
}

bool Memo::LinesHidden() const {
    HWND h = Handle();
    const auto lines = static_cast<int>(::SendMessageW(h, EM_GETLINECOUNT, 0, 0));
    RECT shown{};
    ::SendMessageW(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&shown));
    WindowDC dc(h);
    if (!dc)
        return false;
    Selection font(dc.Get(), FontHandle());
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.Get(), &tm);
    return tm.tmHeight > 0 && lines * tm.tmHeight > shown.bottom - shown.top;
}

void Memo::UpdateAutoScrollBar() {
    HWND h = Handle();
    if (!autoVScroll_ || vScroll_ || !h)
        return;
    // Shown, the bar narrows the text and can only add lines; hidden, it
    // widens it and can only take lines away: one look decides.
    const LONG_PTR style = ::GetWindowLongPtrW(h, GWL_STYLE);
    const bool shown = (style & WS_VSCROLL) != 0;
    const bool hidden = LinesHidden();
    if (shown == hidden)
        return;
    ::SetWindowLongPtrW(h, GWL_STYLE, hidden ? style | WS_VSCROLL : style & ~WS_VSCROLL);
    ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The control takes the new width for its lines once it is told its size again.
    RECT r{};
    ::GetClientRect(h, &r);
    ::SendMessageW(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.right, r.bottom));
}

void Memo::FontChanged() {
    Control::FontChanged();
    UpdateAutoScrollBar();
}

void Memo::ApplyBounds() {
    Control::ApplyBounds();
    UpdateAutoScrollBar();
}

void Memo::SetMaxLength(int characters) {
    maxLength_ = std::max(characters, 0);
    ApplyLimits();
}

void Memo::SetMaxBytes(size_t bytes, ByteCount count) {
    maxBytes_ = bytes;
    byteCount_ =
        count ? std::move(count) : [](const std::wstring& text) { return AnsiLength(text); };
    accepted_ = Text();
}

void Memo::OnCommand(WORD code) {
    if (code != EN_CHANGE || settingText_)
        return;
    size_t leftOut = 0;
    if (maxBytes_) {
        std::wstring now = Text();
        const size_t bytes = byteCount_(now);
        if (bytes > maxBytes_ && bytes > byteCount_(accepted_)) {
            const TextEdit edit = FindEdit(accepted_, now);
            const std::wstring before = now.substr(0, edit.start);
            const std::wstring after = now.substr(edit.start + edit.inserted);
            const std::wstring inserted = now.substr(edit.start, edit.inserted);
            const size_t fits = FittingStart(inserted, [&](size_t n) {
                return byteCount_(before + inserted.substr(0, n) + after) <= maxBytes_;
            });
            leftOut = CharacterCount(std::wstring_view(inserted).substr(fits));
            now = before + inserted.substr(0, fits) + after;
            SetText(now);
            ::SendMessageW(Handle(), EM_SETSEL, edit.start + fits, edit.start + fits);
            ::MessageBeep(MB_OK);
        }
        accepted_ = now;
    }
    UpdateAutoScrollBar();
    if (OnChange)
        OnChange();
    if (leftOut > 0 && OnLimit)
        OnLimit(leftOut);
}

HBRUSH Memo::OnCtlColor(HDC dc) {
    ::SetTextColor(dc, GetFont().color);
    ::SetBkColor(dc, Color());
    return BackgroundBrush();
}

// ---- TabControl

TabControl::TabControl(Control& parent) : Control(&parent) {
    static bool initialised = false;
    if (!initialised) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TAB_CLASSES};
        initialised = ::InitCommonControlsEx(&icc) != FALSE;
    }
    CreateStd(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPCHILDREN);
}

RECT TabControl::ClientArea() const {
    RECT r = Control::ClientArea();
    if (Handle())
        ::SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

int TabControl::ActivePageIndex() const {
    if (!Handle())
        return -1;
    return static_cast<int>(::SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
}

TabPage* TabControl::ActivePage() const {
    const int i = ActivePageIndex();
    return i >= 0 && i < PageCount() ? pages_[i] : nullptr;
}

void TabControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount())
        return;
    ::SendMessageW(Handle(), TCM_SETCURSEL, index, 0);
    ShowOnly(index);
}

void TabControl::SetActivePage(TabPage& page) {
    SetActivePageIndex(page.PageIndex());
}

void TabControl::ShowOnly(int index) {
    for (int i = 0; i < PageCount(); ++i)
        pages_[i]->SetVisible(i == index);
}

LRESULT TabControl::OnNotify(NMHDR* header) {
    if (header->code == TCN_SELCHANGE) {
        ShowOnly(ActivePageIndex());
        if (OnChange)
            OnChange();
    }
    return 0;
}

void TabControl::AddPage(TabPage* page) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring caption = page->Caption();
    item.pszText = caption.data();
    const int index = PageCount();
    pages_.push_back(page);
    if (Handle())
        ::SendMessageW(Handle(), TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    // The row of tabs may have grown: the pages' area is new.
    Realign();
    if (index == 0)
        SetActivePageIndex(0);
    else
        page->SetVisible(false);
}

void TabControl::RemovePage(TabPage* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end())
        return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (Handle())
        ::SendMessageW(Handle(), TCM_DELETEITEM, index, 0);
}

// ---- TabPage

TabPage::TabPage(TabControl& tabs, const std::wstring& caption) : Control(&tabs), tabs_(tabs) {
    SetDefaultColor(::GetSysColor(COLOR_BTNFACE));
    CreateOwn(WS_CLIPCHILDREN);
    SetCaption(caption);
    SetAlign(Align::Client);
    tabs_.AddPage(this);
}

TabPage::~TabPage() {
    if (parent_)
        tabs_.RemovePage(this);
}

int TabPage::PageIndex() const {
    if (!parent_)
        return -1;
    const auto& pages = tabs_.pages_;
    auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

void TabPage::CaptionChanged() {
    const int index = PageIndex();
    if (index < 0 || !tabs_.Handle())
        return;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring caption = Caption();
    item.pszText = caption.data();
    ::SendMessageW(tabs_.Handle(), TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item));
}

} // namespace ui
