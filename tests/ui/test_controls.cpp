// The components: list box, text box, buttons, label, tab pages, popup menu,
// fonts and colours, handle ownership and failing event handlers.
#include "UiTestSupport.h"

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/PopupMenu.h"
#include "ui/StdControls.h"
#include "ui/Strings.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

void ClickAt(HWND h, int x, int y) {
    ::SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    ::SendMessageW(h, WM_LBUTTONUP, 0, At(x, y));
}

COLORREF BrushColor(HBRUSH brush) {
    LOGBRUSH lb{};
    ::GetObjectW(brush, sizeof lb, &lb);
    return lb.lbColor;
}

// What a parent answers to a standard control's colour question.
struct ColourAnswer {
    COLORREF brush, text, back;
};
ColourAnswer AskColours(ui::Control& c, UINT msg) {
    HDC dc = ::GetDC(c.Handle());
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(c.Parent()->Handle(), msg,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(c.Handle())));
    ColourAnswer a{BrushColor(brush), ::GetTextColor(dc), ::GetBkColor(dc)};
    ::ReleaseDC(c.Handle(), dc);
    return a;
}

TEST(ListBoxControl, ItemsSelectionAndClickOnUserChoiceOnly) {
    ui::Form form;
    ui::ListBox list(form);
    list.SetBounds(8, 8, 105, 33);
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    list.SetItems({L"deutsch", L"english"});
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), L"english");
    EXPECT_EQ(list.Item(2), L"");
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(0);
    EXPECT_EQ(list.ItemIndex(), 0);
    list.SetItemIndex(5); // outside the items: nothing selected
    EXPECT_EQ(list.ItemIndex(), -1);
    list.SetItemIndex(0);
    EXPECT_EQ(clicks, 0) << "the program's selection is no click";

    form.Show();
    RECT item;
    ::SendMessageW(list.Handle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    ClickAt(list.Handle(), item.left + 5, (item.top + item.bottom) / 2);
    uitest::Pump(10);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);

    list.SetColor(RGB(255, 255, 0));
    auto f = list.GetFont();
    f.color = RGB(200, 0, 0);
    list.SetFont(f);
    ColourAnswer a = AskColours(list, WM_CTLCOLORLISTBOX);
    EXPECT_EQ(a.brush, RGB(255, 255, 0));
    EXPECT_EQ(a.text, RGB(200, 0, 0));
    form.Hide();
}

TEST(MemoControl, TextLinesStylesLimitsAndEvents) {
    ui::Form form;
    ui::Memo memo(form);
    memo.SetBounds(0, 0, 200, 100);
    int changes = 0, clicks = 0;
    memo.OnChange = [&] { ++changes; };
    memo.OnClick = [&] { ++clicks; };

    memo.SetText(L"Hallo\r\n\r\nich wünsche ");
    EXPECT_EQ(memo.Text(), L"Hallo\r\n\r\nich wünsche ");
    EXPECT_EQ(memo.Lines(), (std::vector<std::wstring>{L"Hallo", L"", L"ich wünsche "}));
    memo.Clear();
    memo.AddLine(L"one");
    memo.AddLine(L"");
    memo.AddLine(L"three");
    EXPECT_EQ(memo.Text(), L"one\r\n\r\nthree\r\n");
    EXPECT_EQ(memo.Lines(), (std::vector<std::wstring>{L"one", L"", L"three"}));
    EXPECT_EQ(changes, 0) << "text set by the program is no user change";

    memo.SetReadOnly(true);
    EXPECT_TRUE(::GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & ES_READONLY);
    memo.SetReadOnly(false);
    EXPECT_FALSE(::GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & ES_READONLY);

    // Border and scroll bar make the window again; text and identity stay.
    memo.SetReadOnly(true);
    memo.SetBorder(false);
    memo.SetVerticalScrollBar(true);
    HWND h = memo.Handle();
    EXPECT_FALSE(::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(ui::Control::FromHandle(h), &memo);
    EXPECT_EQ(memo.Text(), L"one\r\n\r\nthree\r\n");
    EXPECT_EQ(memo.BoundsRect().right, 200);
    memo.SetReadOnly(false);

    memo.SetMaxLength(50);
    EXPECT_EQ(::SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 50);

    // A byte limit refuses typing beyond it, and of a paste keeps what fits;
    // each time it says how many characters were left out.
    std::vector<size_t> leftOut;
    memo.OnLimit = [&](size_t n) { leftOut.push_back(n); };
    memo.SetText(L"12345678");
    memo.SetMaxBytes(10);
    ::SendMessageW(h, EM_SETSEL, 8, 8);
    for (wchar_t ch : std::wstring(L"abc"))
        ::SendMessageW(h, WM_CHAR, ch, 1);
    EXPECT_EQ(memo.Text(), L"12345678ab");
    EXPECT_EQ(leftOut, std::vector<size_t>{1});
    ::SendMessageW(h, EM_SETSEL, 0, 0);
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"pasted"));
    EXPECT_EQ(memo.Text(), L"12345678ab");
    ::SendMessageW(h, EM_SETSEL, 2, 4);
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"wxyz"));
    EXPECT_EQ(memo.Text(), L"12wx5678ab")
        << "what fits of a paste goes in, in place of the selection";
    EXPECT_EQ(leftOut, (std::vector<size_t>{1, 6, 2}));
    DWORD caret = 0;
    ::SendMessageW(h, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    EXPECT_EQ(caret, 4u) << "the caret after what went in";
    ::SendMessageW(h, EM_SETSEL, 0, 2);
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"xy")); // same size: fine
    EXPECT_EQ(memo.Text(), L"xywx5678ab");
    // Text longer than the limit set by the program can still be shortened.
    memo.SetText(L"0123456789ABCDEF");
    ::SendMessageW(h, EM_SETSEL, 16, 16);
    ::SendMessageW(h, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(memo.Text(), L"0123456789ABCDE");
    // The limit counts bytes of the code page, CR LF as two.
    memo.SetText(L"");
    memo.SetMaxBytes(4);
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"a\r\nb"));
    EXPECT_EQ(memo.Text(), L"a\r\nb");
    ::SendMessageW(h, WM_CHAR, L'c', 1);
    EXPECT_EQ(memo.Text(), L"a\r\nb");
    // With a count of its own (here four bytes a UTF-16 unit), a paste is cut
    // neither inside a line break nor inside a surrogate pair.
    memo.SetText(L"");
    memo.SetMaxBytes(12, [](const std::wstring& t) { return 4 * t.size(); });
    leftOut.clear();
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"ab\r\ncd"));
    EXPECT_EQ(memo.Text(), L"ab");
    ::SendMessageW(h, EM_SETSEL, 2, 2);
    ::SendMessageW(h, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\xD83C\xDF84!"));
    EXPECT_EQ(memo.Text(), L"ab") << "a tree (a surrogate pair) fits only whole";
    EXPECT_EQ(leftOut, (std::vector<size_t>{3, 2}));

    form.Show();
    ClickAt(h, 10, 10);
    EXPECT_EQ(clicks, 1);

    memo.SetColor(RGB(255, 255, 128));
    auto f = memo.GetFont();
    f.color = RGB(255, 0, 0);
    memo.SetFont(f);
    ColourAnswer editable = AskColours(memo, WM_CTLCOLOREDIT);
    EXPECT_EQ(editable.brush, RGB(255, 255, 128));
    EXPECT_EQ(editable.back, RGB(255, 255, 128));
    EXPECT_EQ(editable.text, RGB(255, 0, 0));
    ColourAnswer readOnly = AskColours(memo, WM_CTLCOLORSTATIC); // read-only boxes ask this
    EXPECT_EQ(readOnly.brush, RGB(255, 255, 128));
    form.Hide();
}

TEST(MemoControl, ScrollBarOnlyWhileTheTextIsLongerAndLongWordsWrap) {
    ui::Form form;
    ui::Memo memo(form);
    memo.SetBounds(0, 0, 200, 80);
    memo.SetBorder(false);
    memo.SetAutoVerticalScrollBar(true);
    auto barShown = [&] {
        return (::GetWindowLongPtrW(memo.Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
    };
    memo.SetText(L"one\r\ntwo");
    EXPECT_FALSE(barShown());
    std::wstring many;
    for (int i = 0; i < 20; ++i)
        many += L"line\r\n";
    memo.SetText(many);
    EXPECT_TRUE(barShown());
    // Typed away again, and a larger box that shows it all.
    ::SendMessageW(memo.Handle(), EM_SETSEL, 0, -1);
    ::SendMessageW(memo.Handle(), WM_CHAR, L'x', 1);
    EXPECT_EQ(memo.Text(), L"x");
    EXPECT_FALSE(barShown());
    memo.SetText(many);
    memo.SetBounds(0, 0, 200, 2000);
    EXPECT_FALSE(barShown());
    // A word wider than the box goes on over several lines.
    memo.SetText(std::wstring(200, L'W'));
    EXPECT_GT(::SendMessageW(memo.Handle(), EM_GETLINECOUNT, 0, 0), 1);
}

TEST(Buttons, FlatButtonClickHoverAndPushButtonClick) {
    ui::Form form;
    ui::Panel panel(form);
    panel.SetBounds(0, 0, 300, 50);
    ui::FlatButton flat(panel, L"X");
    flat.SetBounds(10, 0, 25, 25);
    ui::Button push(form, L"&OK");
    push.SetBounds(10, 60, 91, 33);
    int flatClicks = 0, pushClicks = 0;
    flat.OnClick = [&] { ++flatClicks; };
    push.OnClick = [&] { ++pushClicks; };
    form.Show();

    HWND fh = flat.Handle();
    ::SendMessageW(fh, WM_MOUSEMOVE, 0, At(5, 5));
    EXPECT_TRUE(flat.Hot());
    ::SendMessageW(fh, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    EXPECT_TRUE(flat.Pressed());
    ::SendMessageW(fh, WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_FALSE(flat.Pressed());
    EXPECT_EQ(flatClicks, 1);
    // Released outside: no click.
    ::SendMessageW(fh, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    ::SendMessageW(fh, WM_LBUTTONUP, 0, At(50, 5));
    EXPECT_EQ(flatClicks, 1);
    ::SendMessageW(fh, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(flat.Hot());
    // A double click is two clicks.
    ClickAt(fh, 5, 5);
    ::SendMessageW(fh, WM_LBUTTONDBLCLK, MK_LBUTTON, At(5, 5));
    ::SendMessageW(fh, WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_EQ(flatClicks, 3);
    EXPECT_FALSE(flat.CanFocus());

    ::SendMessageW(push.Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(pushClicks, 1);
    push.SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(push.Handle()));
    form.Hide();
}

TEST(Appearance, FontsColoursAndLabelsFollowTheirParents) {
    ui::Form form;
    ui::FontSpec arial{L"Arial", 13, true, true, RGB(1, 2, 3)};
    form.SetFont(arial);
    ui::Panel panel(form);
    panel.SetColor(RGB(220, 110, 85));
    ui::Label label(panel, L"Bearbeiten");
    ui::Memo memo(panel);
    ui::FlatButton own(panel, L"?");
    ui::FontSpec script{L"Script MT Bold", 29, true, true, RGB(255, 0, 0)};
    own.SetFont(script);

    LOGFONTW lf{};
    ASSERT_TRUE(::GetObjectW(label.FontHandle(), sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Arial");
    EXPECT_EQ(lf.lfHeight, -13);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(label.FontHandle(), form.FontHandle()) << "children share the parent's font";
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(memo.Handle(), WM_GETFONT, 0, 0)),
              form.FontHandle());
    ASSERT_TRUE(::GetObjectW(own.FontHandle(), sizeof lf, &lf));
    EXPECT_STREQ(lf.lfFaceName, L"Script MT Bold");
    EXPECT_EQ(lf.lfHeight, -29);
    EXPECT_EQ(own.GetFont().color, RGB(255, 0, 0));

    ui::FontSpec bigger = arial;
    bigger.height = 20;
    const int narrow = label.Width();
    form.SetFont(bigger);
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(memo.Handle(), WM_GETFONT, 0, 0)),
              form.FontHandle())
        << "a new font reaches the children";
    EXPECT_STREQ(own.GetFont().face.c_str(), L"Script MT Bold") << "an own font stays";
    EXPECT_GT(label.Width(), narrow) << "a label takes the size of its text";
    const int oneWord = label.Width();
    label.SetCaption(L"Bearbeiten Sie einfach den Text");
    EXPECT_GT(label.Width(), oneWord);

    EXPECT_EQ(label.Color(), RGB(220, 110, 85)) << "a label is on its parent's colour";
    panel.SetColor(RGB(255, 255, 0));
    EXPECT_EQ(label.Color(), RGB(255, 255, 0));
    EXPECT_EQ(own.Color(), RGB(255, 255, 0));
    EXPECT_NE(memo.Color(), RGB(255, 255, 0)) << "a text box keeps its own colour";
}

TEST(TabPages, PagesShowOneAtATimeBelowTheTabs) {
    ui::Form form;
    form.SetClientSize(717, 417);
    ui::TabControl tabs(form);
    tabs.SetAlign(ui::Align::Client);
    ui::TabPage about(tabs, L"About");
    ui::TabPage doku(tabs, L"Documentation");
    ui::TabPage example(tabs, L"Example");
    ui::Memo aboutMemo(about);
    ui::Button pointButton(example, L"create point");
    int changes = 0;
    tabs.OnChange = [&] { ++changes; };
    form.Show();

    EXPECT_EQ(tabs.PageCount(), 3);
    EXPECT_EQ(TabCtrl_GetItemCount(tabs.Handle()), 3);
    EXPECT_EQ(tabs.ActivePageIndex(), 0);
    EXPECT_TRUE(about.Visible());
    EXPECT_FALSE(doku.Visible());
    EXPECT_TRUE(aboutMemo.Showing());
    EXPECT_FALSE(pointButton.Showing());
    EXPECT_GT(about.Top(), 0) << "pages lie below the tabs";
    EXPECT_LT(about.Width(), tabs.Width() + 1);

    tabs.SetActivePage(example);
    EXPECT_EQ(tabs.ActivePage(), &example);
    EXPECT_TRUE(pointButton.Showing());
    EXPECT_FALSE(aboutMemo.Showing());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(example.BoundsRect().left, about.BoundsRect().left);

    doku.SetCaption(L"Doku");
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    TabCtrl_GetItem(tabs.Handle(), 1, &item);
    EXPECT_STREQ(text, L"Doku");

    // A user's click on a tab.
    RECT tab;
    TabCtrl_GetItemRect(tabs.Handle(), 1, &tab);
    ClickAt(tabs.Handle(), (tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    uitest::Pump(10);
    EXPECT_EQ(tabs.ActivePageIndex(), 1);
    EXPECT_TRUE(doku.Visible());
    EXPECT_FALSE(example.Visible());
    EXPECT_EQ(changes, 1);
    form.Hide();
}

TEST(PopupMenus, ItemsBuildAndTheChosenItemRuns) {
    ui::Form form;
    form.SetBounds(100, 100, 200, 200);
    ui::PopupMenu menu;
    ui::MenuItem info(menu, L"Information about Orvex SDK");
    ui::MenuItem homepage(menu, L"Orvex SDK Homepage");
    int infoRuns = 0, homeRuns = 0;
    info.OnClick = [&] { ++infoRuns; };
    homepage.OnClick = [&] { ++homeRuns; };
    {
        ui::MenuItem gone(menu, L"gone");
        EXPECT_EQ(menu.Items().size(), 3u);
    }
    EXPECT_EQ(menu.Items().size(), 2u);

    homepage.Enabled = false;
    ui::Menu built = menu.Build();
    ASSERT_TRUE(built);
    EXPECT_EQ(::GetMenuItemCount(built.Get()), 2);
    wchar_t text[64] = {};
    ::GetMenuStringW(built.Get(), 1, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Orvex SDK Homepage");
    EXPECT_TRUE(::GetMenuState(built.Get(), 1, MF_BYPOSITION) & MF_GRAYED);
    homepage.Enabled = true;

    form.Show();
    ::SetForegroundWindow(form.Handle());
    // The menu's own loop reads the keys: the second item, then Enter.
    ::PostMessageW(form.Handle(), WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(form.Handle(), WM_KEYDOWN, VK_DOWN, 1);
    ::PostMessageW(form.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    ui::MenuItem* chosen = menu.Popup(120, 120, form.Handle());
    EXPECT_EQ(chosen, &homepage);
    EXPECT_EQ(homeRuns, 1);
    EXPECT_EQ(infoRuns, 0);

    ::PostMessageW(form.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(menu.Popup(120, 120, form.Handle()), nullptr) << "a dismissed menu runs nothing";
    EXPECT_EQ(homeRuns + infoRuns, 1);
    form.Hide();
}

TEST(Robustness, FailingHandlersAndHandleOwnership) {
    const long handlesBefore = ui::LiveHandleCount();
    {
        ui::Form form;
        ui::Panel panel(form);
        ui::Label label(panel, L"x");
        ui::Memo memo(panel);
        memo.SetColor(RGB(1, 2, 3));
        memo.SetFont(ui::FontSpec{L"Arial", 13});
        memo.SetBorder(false);
        ui::PictureBox picture(form);
        picture.SetAutoSize(true);
        picture.SetBitmap(ui::Bitmap(::CreateBitmap(512, 384, 1, 32, nullptr)));
        EXPECT_EQ(picture.Width(), 512);
        EXPECT_EQ(picture.Height(), 384);
        ui::Button button(form, L"boom");
        button.SetBounds(0, 0, 80, 25);
        int runs = 0;
        button.OnClick = [&] {
            ++runs;
            throw std::runtime_error("handler failure");
        };
        form.Show();
        uitest::Pump(20);
        ::SendMessageW(button.Handle(), BM_CLICK, 0, 0);
        ::SendMessageW(button.Handle(), BM_CLICK, 0, 0);
        EXPECT_EQ(runs, 2) << "a failing handler does not stop later messages";
        AskColours(memo, WM_CTLCOLOREDIT);
        form.Hide();
    }
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore) << "every handle is given back";
}

TEST(Strings, AnsiConversionAndLines) {
    EXPECT_EQ(ui::ToAnsi(L"Grüße", 1252), std::string("Gr\xfc\xdf"
                                                      "e"));
    EXPECT_EQ(ui::FromAnsi("Gr\xfc\xdf"
                           "e",
                           1252),
              L"Grüße");
    EXPECT_EQ(ui::AnsiLength(L"ü\r\n", 1252), 3u);
    EXPECT_EQ(ui::AnsiLength(L"", 1252), 0u);
    EXPECT_EQ(ui::SplitLines(L"a\r\n\r\nb"), (std::vector<std::wstring>{L"a", L"", L"b"}));
    EXPECT_EQ(ui::SplitLines(L"a\r\n"), (std::vector<std::wstring>{L"a"}));
    EXPECT_TRUE(ui::SplitLines(L"").empty());
    EXPECT_EQ(ui::JoinLines({L"a", L"", L"b"}), L"a\r\n\r\nb");
}

} // namespace
