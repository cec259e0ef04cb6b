// The card's three windows driven in-process: the Letter window's layout,
// languages, own-card mode, help and saving; the about window; and the scene
// window's handlers for the close box and the letter icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "card/CardFile.h"
#include "card/LetterTexts.h"
#include "card/uFvlAbout.h"
#include "card/uLetter.h"
#include "card/uTinselscreen.h"
#include "ui/Application.h"

namespace {

std::wstring TempFile(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name;
}

// A stand-in program file of a few kilobytes.
std::wstring MakeProgramFile(const wchar_t* name) {
    std::wstring path = TempFile(name);
    Bytes image(6000);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i % 200 + 1);
    EXPECT_TRUE(ReplaceFileWith(path, image));
    return path;
}

bool Same(RECT r, int left, int top, int width, int height) {
    return r.left == left && r.top == top && r.right - r.left == width &&
           r.bottom - r.top == height;
}

struct Messages {
    std::vector<std::wstring> shown;
};

// A Letter window with the outside world replaced.
struct LetterFixture {
    TLetterForm form;
    Messages messages;
    std::vector<std::string> opened;
    std::optional<std::wstring> target;
    LetterFixture(const std::wstring& program) {
        form.ProgramFile = program;
        form.OpenAddress = [this](const std::string& a) { opened.push_back(a); };
        form.AskSaveFile = [this] { return target; };
        form.ShowMessage = [this](const std::wstring& t, UINT) { messages.shown.push_back(t); };
        ui::Application::Instance().CreateForm(form);
        LetterForm = &form;
    }
    ~LetterFixture() { LetterForm = nullptr; }
};

TEST(LetterWindow, LayoutLanguagesAndOwnCardMode) {
    LetterFixture f(MakeProgramFile(L"letter-layout.exe"));
    TLetterForm& l = f.form;
    EXPECT_EQ(l.ClientWidth(), 665);
    EXPECT_EQ(l.ClientHeight(), 434);
    EXPECT_EQ(l.Caption(), L"Letter");
    EXPECT_EQ(l.GetFormStyle(), ui::FormStyle::StayOnTop);
    EXPECT_EQ(l.ControlPanel.Height(), 25);
    EXPECT_EQ(l.ControlPanel.Width(), 649);
    EXPECT_TRUE(Same(l.ExitSpeedButton.BoundsRect(), 624, 0, 25, 25));
    EXPECT_TRUE(Same(l.HelpSpeedButton.BoundsRect(), 599, 0, 25, 25));
    EXPECT_TRUE(Same(l.CreateOwnCardSpeedButton.BoundsRect(), 0, 0, 145, 25));
    EXPECT_TRUE(l.LetterMemo.ReadOnly());
    EXPECT_FALSE(l.SaveSpeedButton.Visible());
    EXPECT_FALSE(l.InfoLabel.Visible());
    EXPECT_FALSE(l.LanguageListBox.Visible());
    EXPECT_EQ(l.LetterMemo.Text(), InitialLetterText());
    auto barShown = [&] {
        return (::GetWindowLongPtrW(l.LetterMemo.Handle(), GWL_STYLE) & WS_VSCROLL) != 0;
    };
    EXPECT_FALSE(barShown()) << "the greeting fits the sheet";

    l.FormShow();
    EXPECT_FALSE(l.IsPersonalCard);
    EXPECT_EQ(l.Language(), 0);
    EXPECT_EQ(l.CreateOwnCardSpeedButton.Caption(), L"Eigene Karte schreiben ...");

    // Own-card mode: editable, the second row shows; there is no way back.
    l.CreateOwnCardSpeedButtonClick();
    EXPECT_FALSE(l.CreateOwnCardSpeedButton.Visible());
    EXPECT_EQ(l.ControlPanel.Height(), 50);
    EXPECT_FALSE(l.LetterMemo.ReadOnly());
    EXPECT_TRUE(l.SaveSpeedButton.Visible());
    EXPECT_TRUE(l.InfoLabel.Visible());
    EXPECT_TRUE(l.LanguageListBox.Visible());

    // "english" switches the four captions at once and leaves the text alone.
    l.LetterMemo.SetText(L"Eigener Text");
    l.LanguageListBox.SetItemIndex(1);
    l.LanguageListBoxClick();
    EXPECT_EQ(l.CreateOwnCardSpeedButton.Caption(), L"Write your own card ...");
    EXPECT_EQ(l.InfoLabel.Caption(), L"Please edit the text in the textbox above and then press");
    EXPECT_EQ(l.SaveSpeedButton.Caption(), L"Save");
    EXPECT_EQ(l.HomepageSpeedButton.Caption(), L"Homepage of Frostvale Card");
    EXPECT_EQ(l.LetterMemo.Text(), L"Eigener Text");
    l.HomepageSpeedButtonClick();
    l.LanguageListBox.SetItemIndex(0);
    l.LanguageListBoxClick();
    l.HomepageSpeedButtonClick();
    ASSERT_EQ(f.opened.size(), 2u);
    EXPECT_EQ(f.opened[0], CardHomepage(1));
    EXPECT_EQ(f.opened[1], CardHomepage(0));

    // A new showing of an unpersonalised card: German again, the edits stay,
    // and still in own-card mode.
    l.LanguageListBox.SetItemIndex(1);
    l.FormShow();
    EXPECT_EQ(l.Language(), 0);
    EXPECT_EQ(l.LetterMemo.Text(), L"Eigener Text");
    EXPECT_TRUE(l.SaveSpeedButton.Visible());
    ::DeleteFileW(l.ProgramFile.c_str());
}

TEST(LetterWindow, SavingAndReadingPersonalCards) {
    const std::wstring program = MakeProgramFile(L"letter-save-program.exe");
    const std::wstring card = TempFile(L"letter-save-card.exe");
    ::DeleteFileW(card.c_str());
    {
        LetterFixture f(program);
        TLetterForm& l = f.form;
        l.FormShow();
        l.CreateOwnCardSpeedButtonClick();
        l.LetterMemo.SetText(L"Liebe Grüße\r\nvon uns");
        l.LanguageListBox.SetItemIndex(1);
        l.LanguageListBoxClick();

        f.target = card;
        l.SaveSpeedButtonClick();
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0],
                  L"The new card was saved. You can sent it now to your friends.");
        EXPECT_EQ(l.GetFormStyle(), ui::FormStyle::StayOnTop);
        EXPECT_EQ(l.Language(), 1);
        EXPECT_EQ(l.SaveSpeedButton.Caption(), L"Save");
        EXPECT_EQ(l.LetterMemo.Text(), L"Liebe Grüße\r\nvon uns");

        // Cancelled dialog: nothing written, nothing shown.
        f.target.reset();
        l.SaveSpeedButtonClick();
        EXPECT_EQ(f.messages.shown.size(), 1u);

        // Over the program file itself: refused, and told in the language.
        f.target = program;
        l.LanguageListBox.SetItemIndex(0);
        l.LanguageListBoxClick();
        l.SaveSpeedButtonClick();
        ASSERT_EQ(f.messages.shown.size(), 2u);
        EXPECT_EQ(f.messages.shown[1], CardNotSavedMessage(0));

        // A text too long for the block (set by the program, not typed): refused.
        const std::wstring other = TempFile(L"letter-save-other.exe");
        ::DeleteFileW(other.c_str());
        f.target = other;
        l.LetterMemo.SetText(std::wstring(995, L'x'));
        l.SaveSpeedButtonClick();
        ASSERT_EQ(f.messages.shown.size(), 3u);
        EXPECT_EQ(f.messages.shown[2], CardTextTooLongMessage(0));
        EXPECT_EQ(::GetFileAttributesW(other.c_str()), INVALID_FILE_ATTRIBUTES);
    }
    {
        // The saved card shows its text and language at every showing.
        LetterFixture f(card);
        TLetterForm& l = f.form;
        l.FormShow();
        EXPECT_TRUE(l.IsPersonalCard);
        EXPECT_EQ(l.Language(), 1);
        EXPECT_EQ(l.LetterMemo.Text(), L"Liebe Grüße\r\nvon uns");
        EXPECT_EQ(l.CreateOwnCardSpeedButton.Caption(), L"Write your own card ...");
        l.LetterMemo.SetText(L"unsaved edit");
        l.LanguageListBox.SetItemIndex(0);
        l.FormShow();
        EXPECT_EQ(l.LetterMemo.Text(), L"Liebe Grüße\r\nvon uns");
        EXPECT_EQ(l.Language(), 1);

        // Saving from a personalised card replaces its block.
        const std::wstring again = TempFile(L"letter-save-again.exe");
        f.target = again;
        l.LetterMemo.SetText(L"Neu");
        l.SaveSpeedButtonClick();
        auto bytes = ReadWholeFile(again);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->size(), 7000u);
        EXPECT_EQ(*ReadCardBlock(*bytes).text, "Neu");
        ::DeleteFileW(again.c_str());
    }
    ::DeleteFileW(card.c_str());
    ::DeleteFileW(program.c_str());
}

TEST(LetterWindow, TheLimitSpeaksAndAnyScriptIsSavedExactly) {
    const std::wstring program = MakeProgramFile(L"letter-limit-program.exe");
    const std::wstring card = TempFile(L"letter-limit-card.exe");
    ::DeleteFileW(card.c_str());
    const std::wstring greek = L"\u039A\u03B1\u03BB\u03AC \u03A7\u03C1\u03B9\u03C3\u03C4"
                               L"\u03BF\u03CD\u03B3\u03B5\u03BD\u03BD\u03B1 \xD83C\xDF84";
    {
        LetterFixture f(program);
        TLetterForm& l = f.form;
        l.FormShow();
        l.CreateOwnCardSpeedButtonClick();
        HWND memo = l.LetterMemo.Handle();
        auto typeAtEnd = [&](const std::wstring& keys) {
            const LRESULT end = ::GetWindowTextLengthW(memo);
            ::SendMessageW(memo, EM_SETSEL, end, end);
            for (wchar_t k : keys)
                ::SendMessageW(memo, WM_CHAR, k, 1);
        };
        auto pasteAtEnd = [&](const std::wstring& text) {
            const LRESULT end = ::GetWindowTextLengthW(memo);
            ::SendMessageW(memo, EM_SETSEL, end, end);
            ::SendMessageW(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        };

        // Typing at the limit says so once, and again after room was made.
        l.LetterMemo.SetText(std::wstring(993, L'x'));
        typeAtEnd(L"abc");
        EXPECT_EQ(l.LetterMemo.Text(), std::wstring(993, L'x') + L"a");
        ASSERT_EQ(f.messages.shown, std::vector<std::wstring>{CardFullMessage(0)});
        typeAtEnd(std::wstring(10, L'\b') + L"0123456789A");
        EXPECT_EQ(f.messages.shown.size(), 2u);
        EXPECT_EQ(l.LetterMemo.Text().size(), 994u);

        // A paste keeps what fits and says how much was left out: 330
        // Japanese characters fit, in English here.
        l.LanguageListBox.SetItemIndex(1);
        l.LanguageListBoxClick();
        l.LetterMemo.SetText(L"");
        pasteAtEnd(std::wstring(400, L'\u65E5'));
        EXPECT_EQ(l.LetterMemo.Text(), std::wstring(330, L'\u65E5'));
        // A text longer than the sheet gets a scroll bar, only while it is.
        auto barShown = [&] { return (::GetWindowLongPtrW(memo, GWL_STYLE) & WS_VSCROLL) != 0; };
        std::wstring lines;
        for (int i = 0; i < 30; ++i)
            lines += L"Zeile " + std::to_wstring(i) + L"\r\n";
        l.LetterMemo.SetText(L"");
        pasteAtEnd(lines);
        EXPECT_TRUE(barShown());
        ::SendMessageW(memo, EM_SETSEL, 0, -1);
        ::SendMessageW(memo, WM_CHAR, L'x', 1);
        EXPECT_FALSE(barShown());
        EXPECT_EQ(f.messages.shown.back(), PasteCutMessage(1, 70));

        // An empty text is not saved.
        f.messages.shown.clear();
        f.target = card;
        l.LetterMemo.SetText(L"");
        l.SaveSpeedButtonClick();
        EXPECT_EQ(f.messages.shown, std::vector<std::wstring>{CardTextEmptyMessage(1)});
        EXPECT_EQ(::GetFileAttributesW(card.c_str()), INVALID_FILE_ATTRIBUTES);

        // Greek with an emoji: saved, and success is said after reading it back.
        l.LetterMemo.SetText(greek);
        l.SaveSpeedButtonClick();
        EXPECT_EQ(f.messages.shown.back(), CardSavedMessage(1));
    }
    {
        LetterFixture f(card);
        f.form.FormShow();
        EXPECT_EQ(f.form.LetterMemo.Text(), greek);
    }
    ::DeleteFileW(card.c_str());
    ::DeleteFileW(program.c_str());
}

TEST(LetterWindow, HelpFillsTheAboutWindowAndKeepsTheLanguage) {
    LetterFixture f(MakeProgramFile(L"letter-help.exe"));
    TLetterForm& l = f.form;
    TFvlAboutForm about;
    ui::Application::Instance().CreateForm(about);
    FvlAboutForm = &about;
    l.FormShow();
    l.CreateOwnCardSpeedButtonClick();
    l.LanguageListBox.SetItemIndex(1);
    l.LanguageListBoxClick();

    ui::FormStyle during = ui::FormStyle::StayOnTop;
    std::vector<std::wstring> info, sdk;
    l.ShowAboutModal = [&] {
        during = l.GetFormStyle();
        info = about.InfoMemo.Lines();
        sdk = about.SDKMemo.Lines();
    };
    l.HelpSpeedButtonClick();
    // Both stay above the scene: the Letter window keeps its place, the about
    // window comes in front of it as a stay-on-top window of its own.
    EXPECT_EQ(during, ui::FormStyle::StayOnTop);
    EXPECT_EQ(about.GetFormStyle(), ui::FormStyle::StayOnTop);
    EXPECT_EQ(l.GetFormStyle(), ui::FormStyle::StayOnTop);
    EXPECT_EQ(l.Language(), 1);
    EXPECT_EQ(l.SaveSpeedButton.Caption(), L"Save");
    ASSERT_GE(info.size(), 9u);
    EXPECT_EQ(info[0], HelpInfoLines(1)[0]);
    EXPECT_EQ(info[8], HelpInfoLines(1)[8]);
    ASSERT_GE(sdk.size(), 2u);
    EXPECT_EQ(sdk[1], HelpSdkLines(1)[1]);

    // The note opens the library's page in the Letter window's language.
    std::vector<std::string> opened;
    about.OpenAddress = [&](const std::string& a) { opened.push_back(a); };
    about.SDKMemoClick();
    l.LanguageListBox.SetItemIndex(0);
    about.SDKMemoClick();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], LibraryHomepage(1));
    EXPECT_EQ(opened[1], LibraryHomepage(0));
    FvlAboutForm = nullptr;
    ::DeleteFileW(l.ProgramFile.c_str());
}

TEST(AboutWindow, PictureLayoutAndKeys) {
    TFvlAboutForm about;
    ui::Application::Instance().CreateForm(about);
    EXPECT_EQ(about.ClientWidth(), 825);
    EXPECT_EQ(about.ClientHeight(), 457);
    EXPECT_EQ(about.Caption(), L"Über ...");
    SIZE pic = about.ScreenViewImage.BitmapSize();
    EXPECT_EQ(pic.cx, 512);
    EXPECT_EQ(pic.cy, 384);
    EXPECT_TRUE(Same(about.ScreenViewImage.BoundsRect(), 8, 8, 512, 384));
    EXPECT_TRUE(Same(about.OKButton.BoundsRect(), 728, 360, 91, 33));
    EXPECT_TRUE(about.OKButton.Default());
    EXPECT_TRUE(about.OKButton.Cancel());
    EXPECT_EQ(about.ActiveControl(), &about.OKButton);

    // Enter and Escape both close the window.
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
        about.Show();
        ASSERT_TRUE(about.Visible());
        EXPECT_TRUE(about.HandleKey(key, 0));
        EXPECT_FALSE(about.Visible()) << key;
    }
}

TEST(SceneWindow, CloseBoxAndLetterIconHandlers) {
    TFrostvaleForm scene;
    POINT where{0, 0};
    int letters = 0;
    bool timersOnInside = true;
    scene.ShowLetterModal = [&] {
        ++letters;
        // Own-card mode stops both snow timers while the window is open.
        scene.SnowFallTimer.SetEnabled(false);
        scene.SnowGroundTimer.SetEnabled(false);
        timersOnInside = scene.LetterShown;
    };
    scene.FormCreate();
    EXPECT_FALSE(scene.LetterShown);
    EXPECT_TRUE(scene.SnowManTimer.Enabled());
    EXPECT_EQ(scene.SnowManTimer.Interval(), SnowManDelay);
    scene.FormShow();
    // The handlers only compare the notified ID with the two items' IDs.
    scene.CloseBoxID = 7001;
    scene.LetterIconID = 7002;

    // The first move over the icon opens the Letter window; later moves do not.
    scene.VuderOrvexMouseMove(scene.VuderOrvex, scene.LetterIconID + 1000, where);
    EXPECT_EQ(letters, 0);
    scene.VuderOrvexMouseMove(scene.VuderOrvex, scene.LetterIconID, where);
    EXPECT_EQ(letters, 1);
    EXPECT_TRUE(timersOnInside) << "LetterShown is set before the window shows";
    EXPECT_TRUE(scene.SnowFallTimer.Enabled()) << "the snow resumes after the window";
    EXPECT_TRUE(scene.SnowGroundTimer.Enabled());
    scene.VuderOrvexMouseMove(scene.VuderOrvex, scene.LetterIconID, where);
    EXPECT_EQ(letters, 1);
    // A click opens it every time; other items do nothing.
    scene.VuderOrvexClick(scene.VuderOrvex, scene.LetterIconID, where);
    scene.VuderOrvexClick(scene.VuderOrvex, scene.LetterIconID, where);
    scene.VuderOrvexClick(scene.VuderOrvex, -1, where);
    EXPECT_EQ(letters, 3);
    EXPECT_TRUE(scene.SnowGroundTimer.Enabled());
}

TEST(SceneWindow, CloseBoxShowsTheLetterFirstWhenItWasNeverOpened) {
    for (bool openedBefore : {false, true}) {
        TFrostvaleForm scene;
        POINT where{0, 0};
        int letters = 0;
        scene.ShowLetterModal = [&] { ++letters; };
        scene.FormCreate();
        scene.Show();
        scene.CloseBoxID = 7001;
        scene.LetterIconID = 7002;
        if (openedBefore)
            scene.VuderOrvexMouseMove(scene.VuderOrvex, scene.LetterIconID, where);
        int before = letters;
        scene.VuderOrvexClick(scene.VuderOrvex, scene.CloseBoxID, where);
        EXPECT_EQ(letters - before, openedBefore ? 0 : 1);
        EXPECT_FALSE(scene.Visible()) << "the scene window closes";
        EXPECT_FALSE(scene.ResourceModule) << "the module is released";
    }
}

} // namespace
