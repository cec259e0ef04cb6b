// Forms: frames, stay-on-top, size and centring, the form events, the main
// form's loop, modal display, dialog keys and shortcuts.
#include "UiTestSupport.h"

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/StdControls.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DWORD StyleOf(HWND h) {
    return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_STYLE));
}
DWORD ExStyleOf(HWND h) {
    return static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_EXSTYLE));
}

SIZE ClientSizeOf(HWND h) {
    RECT r;
    ::GetClientRect(h, &r);
    return SIZE{r.right, r.bottom};
}

TEST(Form, FramesStayOnTopSizeCaptionAndCentring) {
    ui::Form form;
    HWND h = form.Handle();
    ASSERT_TRUE(::IsWindow(h));
    EXPECT_FALSE(::IsWindowVisible(h)) << "forms are made hidden";
    EXPECT_EQ(::GetWindow(h, GW_OWNER), ui::Application::Instance().Handle());

    form.SetClientSize(665, 434);
    struct Case {
        ui::BorderStyle border;
        bool caption;
        bool tool;
        bool sizeable;
    };
    for (Case c : {Case{ui::BorderStyle::None, false, false, false},
                   Case{ui::BorderStyle::ToolWindow, true, true, false},
                   Case{ui::BorderStyle::Sizeable, true, false, true},
                   Case{ui::BorderStyle::None, false, false, false}}) {
        form.SetBorderStyle(c.border);
        EXPECT_EQ((StyleOf(h) & WS_CAPTION) == WS_CAPTION, c.caption);
        EXPECT_EQ((ExStyleOf(h) & WS_EX_TOOLWINDOW) != 0, c.tool);
        EXPECT_EQ((StyleOf(h) & WS_THICKFRAME) != 0, c.sizeable);
        SIZE s = ClientSizeOf(h);
        EXPECT_EQ(s.cx, 665) << "a frame change keeps the client size";
        EXPECT_EQ(s.cy, 434);
        EXPECT_EQ(form.ClientWidth(), 665);
        EXPECT_EQ(form.ClientHeight(), 434);
    }

    // The program always has several forms; with none but the owner beside
    // it, this system keeps an owned window topmost.
    ui::Form other;
    form.SetFormStyle(ui::FormStyle::StayOnTop);
    EXPECT_TRUE(ExStyleOf(h) & WS_EX_TOPMOST);
    form.SetFormStyle(ui::FormStyle::Normal);
    EXPECT_FALSE(ExStyleOf(h) & WS_EX_TOPMOST);
    form.SetFormStyle(ui::FormStyle::StayOnTop);
    EXPECT_TRUE(ExStyleOf(h) & WS_EX_TOPMOST);

    form.SetCaption(L"Über ...");
    wchar_t text[32] = {};
    ::GetWindowTextW(h, text, 32);
    EXPECT_STREQ(text, L"Über ...");

    form.SetPosition(ui::FormPosition::ScreenCenter);
    form.SetBounds(0, 0, form.Width(), form.Height()); // moved away; Show centres again
    form.Show();
    RECT r;
    ::GetWindowRect(h, &r);
    const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, (sw - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (sh - (r.bottom - r.top)) / 2);
    EXPECT_EQ(form.Left(), r.left);
    form.Hide();
}

TEST(Form, EventsCloseQueryAndHidingKeepTheForm) {
    ui::Form form;
    std::vector<std::string> events;
    bool visibleInOnShow = true;
    bool allowClose = false;
    form.OnCreate = [&] { events.push_back("create"); };
    form.OnShow = [&] {
        events.push_back("show");
        visibleInOnShow = ::IsWindowVisible(form.Handle()) != FALSE;
    };
    form.OnCloseQuery = [&] {
        events.push_back("query");
        return allowClose;
    };
    form.OnClose = [&] { events.push_back("close"); };
    form.OnDestroy = [&] { events.push_back("destroy"); };

    ui::Application& app = ui::Application::Instance();
    ui::Form* previousMain = app.MainForm();
    app.SetMainForm(&form); // not the first form: CreateForm keeps the main form
    ui::Form other;
    app.CreateForm(other);
    EXPECT_EQ(app.MainForm(), &form);
    app.SetMainForm(previousMain);
    form.DoCreate();

    form.Show();
    EXPECT_TRUE(form.Visible());
    EXPECT_FALSE(visibleInOnShow) << "OnShow runs before the form appears";
    form.Show(); // already shown: no second OnShow
    form.Close();
    EXPECT_TRUE(form.Visible()) << "a refused close keeps the form";
    allowClose = true;
    ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0); // the frame's close box
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(::IsWindow(form.Handle())) << "closing hides, the form lives on";
    form.Show();
    form.Release();
    form.Release();
    EXPECT_FALSE(::IsWindow(form.Handle()));
    EXPECT_EQ(events, (std::vector<std::string>{"create", "show", "query", "query", "close", "show",
                                                "destroy"}));
}

TEST(Form, MainFormLoopShowsTheFormAndEndsWhenItCloses) {
    ui::Application& app = ui::Application::Instance();
    ui::Form main;
    int shown = 0;
    main.OnShow = [&] { ++shown; };
    ui::Timer closer(main, 50, true);
    closer.OnTimer = [&] {
        closer.SetEnabled(false);
        main.Close();
    };
    ui::Form* previousMain = app.MainForm();
    app.SetMainForm(nullptr);
    app.CreateForm(main); // the first form made this way is the main form
    EXPECT_EQ(app.MainForm(), &main);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(main.Visible());
    EXPECT_FALSE(app.Terminated()) << "a later loop starts afresh";

    // Closing the application's window closes the main form the same way.
    ::PostMessageW(app.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(shown, 2);
    app.SetMainForm(previousMain);
}

TEST(ModalDisplay, TimersFireInsideAndOtherWindowsAreDisabledUntilItCloses) {
    ui::Application& app = ui::Application::Instance();
    ui::Form owner;
    owner.Show();
    ::SetActiveWindow(owner.Handle());
    ASSERT_EQ(::GetActiveWindow(), owner.Handle());

    int ownerTicks = 0;
    ui::Timer ownerTimer(owner, 20, true);
    ownerTimer.OnTimer = [&] { ++ownerTicks; };

    ui::Form dialog, inner;
    bool ownerEnabledInside = true, appEnabledInside = true, dialogEnabledInside = false;
    bool dialogEnabledInInner = true, innerResultSeen = false;
    int innerResult = 0;

    ui::Timer innerCloser(inner, 60, false);
    innerCloser.OnTimer = [&] {
        innerCloser.SetEnabled(false);
        dialogEnabledInInner = ::IsWindowEnabled(dialog.Handle()) != FALSE;
        inner.SetModalResult(7);
    };
    inner.OnShow = [&] { innerCloser.SetEnabled(true); };

    ui::Timer dialogStep(dialog, 150, false);
    int step = 0;
    dialogStep.OnTimer = [&] {
        ++step;
        if (step == 1) {
            ownerEnabledInside = ::IsWindowEnabled(owner.Handle()) != FALSE;
            appEnabledInside = ::IsWindowEnabled(app.Handle()) != FALSE;
            dialogEnabledInside = ::IsWindowEnabled(dialog.Handle()) != FALSE;
            EXPECT_EQ(dialog.ShowModal(), -1) << "a modal form cannot be shown modally again";
            innerResult = inner.ShowModal(); // nested modal display
            innerResultSeen = true;
        } else {
            dialogStep.SetEnabled(false);
            dialog.Close();
        }
    };
    dialog.OnShow = [&] { dialogStep.SetEnabled(true); };

    const DWORD start = ::GetTickCount();
    EXPECT_EQ(dialog.ShowModal(), 0);
    const DWORD took = ::GetTickCount() - start;

    EXPECT_GE(took, 250u);
    EXPECT_GE(ownerTicks, 5) << "window timers keep firing inside the modal loop";
    EXPECT_FALSE(ownerEnabledInside);
    EXPECT_FALSE(appEnabledInside);
    EXPECT_TRUE(dialogEnabledInside);
    EXPECT_TRUE(innerResultSeen);
    EXPECT_EQ(innerResult, 7);
    EXPECT_FALSE(dialogEnabledInInner) << "a nested modal form disables the outer one";
    EXPECT_TRUE(::IsWindowEnabled(dialog.Handle()));
    EXPECT_TRUE(::IsWindowEnabled(owner.Handle())) << "enabled again afterwards";
    EXPECT_TRUE(::IsWindowEnabled(app.Handle()));
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_EQ(::GetActiveWindow(), owner.Handle()) << "the previous window is active again";
    owner.Hide();
}

TEST(ModalDisplay, EndsWhenTheApplicationTerminates) {
    ui::Application& app = ui::Application::Instance();
    ui::Form dialog;
    ui::Timer stop(dialog, 30, true);
    stop.OnTimer = [&] {
        stop.SetEnabled(false);
        app.Terminate();
    };
    dialog.ShowModal();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_TRUE(app.Terminated());
    // The outer loop ends at once and leaves the application ready again.
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(app.Terminated());
}

// A dialog like the card's about window and Letter window together.
struct KeyForm {
    ui::Form form;
    ui::Memo memo{form};
    ui::ListBox list{form};
    ui::Button ok{form, L"&OK"};
    ui::Button cancel{form, L"Cancel"};
    ui::Button hidden{form, L"hidden"};
    ui::FlatButton help{form, L"&Help"};
    int okClicks = 0, cancelClicks = 0, helpClicks = 0, shortcutRuns = 0;

    KeyForm() {
        form.SetClientSize(300, 200);
        memo.SetBounds(0, 0, 100, 100);
        list.SetBounds(100, 0, 100, 50);
        ok.SetBounds(200, 0, 80, 25);
        cancel.SetBounds(200, 30, 80, 25);
        hidden.SetBounds(200, 60, 80, 25);
        hidden.Hide();
        help.SetBounds(200, 90, 80, 25);
        ok.SetDefault(true);
        cancel.SetCancel(true);
        ok.OnClick = [this] { ++okClicks; };
        cancel.OnClick = [this] { ++cancelClicks; };
        help.OnClick = [this] { ++helpClicks; };
    }

    // A key pressed on the focused window, through the message loop.
    void Press(UINT vk, bool alt = false) {
        HWND target = ::GetFocus() ? ::GetFocus() : form.Handle();
        ::PostMessageW(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, alt ? (1 << 29) | 1 : 1);
        ::PostMessageW(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk,
                       (alt ? (1 << 29) : 0) | 0xC0000001);
        uitest::Pump(20);
    }
};

TEST(FormKeys, EnterEscapeTabMnemonicsAndShortcuts) {
    KeyForm k;
    k.form.SetActiveControl(&k.list);
    k.form.Show();
    ::SetActiveWindow(k.form.Handle());
    uitest::Pump(20);
    ASSERT_TRUE(k.list.Focused()) << "the active control gets the focus when the form opens";
    EXPECT_EQ(k.form.DefaultButton(), &k.ok);
    EXPECT_EQ(k.form.CancelButton(), &k.cancel);
    EXPECT_EQ(StyleOf(k.ok.Handle()) & 0xF, DWORD(BS_DEFPUSHBUTTON));

    k.Press(VK_RETURN);
    EXPECT_EQ(k.okClicks, 1) << "Enter runs the default button";
    k.Press(VK_ESCAPE);
    EXPECT_EQ(k.cancelClicks, 1) << "Escape runs the cancel button";

    // Tab order is the order of creation; hidden controls and flat buttons are skipped.
    std::vector<ui::Control*> stops = k.form.TabStops();
    EXPECT_EQ(stops, (std::vector<ui::Control*>{&k.memo, &k.list, &k.ok, &k.cancel}));
    k.Press(VK_TAB);
    EXPECT_TRUE(k.ok.Focused());
    k.Press(VK_TAB);
    k.Press(VK_TAB);
    EXPECT_TRUE(k.memo.Focused()) << "Tab wraps around";
    k.form.HandleKey(VK_TAB, ui::ShortCutShift);
    EXPECT_TRUE(k.cancel.Focused()) << "Shift+Tab goes back";

    k.Press(VK_RETURN); // a focused button takes Enter itself
    EXPECT_EQ(k.cancelClicks, 2);
    EXPECT_EQ(k.okClicks, 1);

    // Enter belongs to an editable text box; a read-only one passes it on.
    k.memo.SetFocus();
    k.Press(VK_RETURN);
    EXPECT_EQ(k.okClicks, 1);
    EXPECT_EQ(k.memo.Text(), L"\r\n");
    k.memo.SetReadOnly(true);
    k.Press(VK_RETURN);
    EXPECT_EQ(k.okClicks, 2);

    k.Press('H', true); // Alt + the underlined letter
    EXPECT_EQ(k.helpClicks, 1);
    k.Press('O', true);
    EXPECT_EQ(k.okClicks, 3);

    // Alt+F4 closes a form, unless a shortcut takes it.
    static_assert(ui::MakeShortCut(VK_F4, ui::ShortCutAlt) == 32883);
    k.form.AddShortcut(32883, [&] { ++k.shortcutRuns; });
    k.Press(VK_F4, true);
    EXPECT_EQ(k.shortcutRuns, 1);
    EXPECT_TRUE(k.form.Visible());
    k.form.AddShortcut(ui::MakeShortCut('S', ui::ShortCutCtrl), [&] { k.shortcutRuns += 10; });
    EXPECT_TRUE(k.form.HandleKey('S', ui::ShortCutCtrl));
    EXPECT_EQ(k.shortcutRuns, 11);
    EXPECT_FALSE(k.form.HandleKey('S', 0)) << "the modifiers must match";

    // Without a cancel button, Escape does nothing.
    k.cancel.SetCancel(false);
    EXPECT_FALSE(k.form.HandleKey(VK_ESCAPE, 0));
    k.form.Hide();
}

TEST(FormKeys, MnemonicOfCaptions) {
    EXPECT_EQ(ui::MnemonicOf(L"&OK"), L'O');
    EXPECT_EQ(ui::MnemonicOf(L"&close"), L'C');
    EXPECT_EQ(ui::MnemonicOf(L"Save && quit"), 0);
    EXPECT_EQ(ui::MnemonicOf(L"a&&b&x"), L'X');
    EXPECT_EQ(ui::MnemonicOf(L"trailing&"), 0);
    EXPECT_EQ(ui::MnemonicOf(L""), 0);
}

} // namespace
