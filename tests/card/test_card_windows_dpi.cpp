// The Letter window and the about window on screens of other DPIs: every
// component, font and the picture scale with the window, back and forth
// without drift, and a move to a monitor of another DPI (WM_DPICHANGED)
// keeps the window inside the work area, shrunk only as far as needed.
#include <windows.h>

#include <gtest/gtest.h>

#include "card/uFvlAbout.h"
#include "card/uLetter.h"
#include "ui/Application.h"
#include "ui/MonitorDpi.h"

namespace {

bool Same(RECT r, int left, int top, int width, int height) {
    return r.left == left && r.top == top && r.right - r.left == width &&
           r.bottom - r.top == height;
}

// The pixel height of the font a control draws with.
int FontPixels(const ui::Control& c) {
    LOGFONTW lf{};
    ::GetObjectW(c.FontHandle(), sizeof lf, &lf);
    return -lf.lfHeight;
}

void ExpectDesignedLetter(TLetterForm& l) {
    EXPECT_EQ(l.ClientWidth(), 665);
    EXPECT_EQ(l.ClientHeight(), 434);
    EXPECT_TRUE(Same(l.ExitSpeedButton.BoundsRect(), 624, 0, 25, 25));
    EXPECT_TRUE(Same(l.LetterMemo.BoundsRect(), 8, 8, 629, 347));
    EXPECT_EQ(FontPixels(l.LetterMemo), 29);
}

TEST(WindowsAtScreenDpi, LetterWindowScalesEveryComponentAndFont) {
    // The card's first step: the system's functions are found and answer.
    EXPECT_NE(ui::EnableDpiAwareness(), ui::DpiAwareness::Unaware);
    EXPECT_EQ(ui::WindowDpi(nullptr), ui::PrimaryMonitorDpi());
    TLetterForm l;
    l.ProgramFile = L"";
    ui::Application::Instance().CreateForm(l);
    EXPECT_TRUE(l.DpiScaling());
    ExpectDesignedLetter(l);

    l.ScaleTo(192);
    EXPECT_EQ(l.Dpi(), 192);
    EXPECT_EQ(l.ClientWidth(), 1330);
    EXPECT_EQ(l.ClientHeight(), 868);
    EXPECT_TRUE(Same(l.ParentPanel.BoundsRect(), 16, 16, 1298, 834));
    EXPECT_TRUE(Same(l.LetterMemo.BoundsRect(), 16, 16, 1258, 694));
    EXPECT_TRUE(Same(l.ControlPanel.BoundsRect(), 0, 784, 1298, 50));
    EXPECT_TRUE(Same(l.ExitSpeedButton.BoundsRect(), 1248, 0, 50, 50));
    EXPECT_TRUE(Same(l.HelpSpeedButton.BoundsRect(), 1198, 0, 50, 50));
    EXPECT_TRUE(Same(l.CreateOwnCardSpeedButton.BoundsRect(), 0, 0, 290, 50));
    EXPECT_EQ(FontPixels(l.LetterMemo), 58);
    EXPECT_EQ(l.LetterMemo.GetFont().height, 29) << "the design stays as it was";
    EXPECT_EQ(FontPixels(l.ExitSpeedButton), 22);

    // Own-card mode at 192 DPI: the second row in scaled pixels too.
    l.CreateOwnCardSpeedButtonClick();
    EXPECT_EQ(l.ControlPanel.Height(), 100);
    EXPECT_TRUE(Same(l.SaveSpeedButton.BoundsRect(), 784, 0, 226, 44));
    EXPECT_TRUE(Same(l.HomepageSpeedButton.BoundsRect(), 240, 48, 1042, 44));
    EXPECT_TRUE(Same(l.LanguageListBox.BoundsRect(), 16, 16, 210, 66));

    // Back at 96 DPI (and through an odd factor) nothing has drifted.
    l.ScaleTo(120);
    l.ScaleTo(96);
    EXPECT_EQ(l.ClientWidth(), 665);
    EXPECT_EQ(l.ClientHeight(), 434);
    EXPECT_EQ(l.ControlPanel.Height(), 50);
    EXPECT_TRUE(Same(l.ExitSpeedButton.BoundsRect(), 624, 0, 25, 25));
    EXPECT_TRUE(Same(l.LetterMemo.BoundsRect(), 8, 8, 629, 322)) << "above the higher row";
    EXPECT_TRUE(Same(l.SaveSpeedButton.BoundsRect(), 392, 0, 113, 22));
    EXPECT_EQ(FontPixels(l.LetterMemo), 29);
}

TEST(WindowsAtScreenDpi, AboutWindowScalesItsPictureAndComponents) {
    TFvlAboutForm about;
    ui::Application::Instance().CreateForm(about);
    // (The client size, 1650 x 914, needs a screen that large: the system
    // keeps a framed window within the screen. The run at 192 DPI checks it.)
    about.ScaleTo(192);
    EXPECT_TRUE(Same(about.ScreenViewImage.BoundsRect(), 16, 16, 1024, 768));
    EXPECT_TRUE(Same(about.InfoMemo.BoundsRect(), 1056, 16, 578, 690));
    EXPECT_TRUE(Same(about.SDKMemo.BoundsRect(), 16, 816, 1618, 82));
    EXPECT_TRUE(Same(about.OKButton.BoundsRect(), 1456, 720, 182, 66));
    EXPECT_EQ(FontPixels(about.InfoMemo), 26);
}

TEST(WindowsAtScreenDpi, MovingToAnotherDpiKeepsTheWindowInsideTheWorkArea) {
    const RECT work = ui::WorkAreaOf(ui::PrimaryMonitor());
    ASSERT_EQ(work.right - work.left, 1024) << "runs on the test's 1024 x 768 screen";
    ASSERT_EQ(work.bottom - work.top, 768);
    TLetterForm l;
    l.ProgramFile = L"";
    ui::Application::Instance().CreateForm(l);

    // 192 DPI would make it 1330 wide: it takes the largest scale that fits.
    RECT suggested{50, 40, 50 + 1330, 40 + 868};
    ::SendMessageW(l.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(l.Dpi(), 147);
    EXPECT_EQ(l.ClientWidth(), 1018);
    EXPECT_EQ(l.ClientHeight(), 665);
    EXPECT_TRUE(Same(l.BoundsRect(), 6, 40, 1018, 665)) << "moved in, never cut";
    EXPECT_EQ(FontPixels(l.LetterMemo), 44);

    // 144 DPI fits: the suggested corner, moved in as far as needed.
    suggested = RECT{100, 100, 1100, 750};
    ::SendMessageW(l.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(l.Dpi(), 144);
    EXPECT_TRUE(Same(l.BoundsRect(), 26, 100, 998, 651));

    // Back on a 96-DPI monitor: the designed window where the system puts it.
    suggested = RECT{300, 200, 965, 634};
    ::SendMessageW(l.Handle(), WM_DPICHANGED, MAKEWPARAM(96, 96),
                   reinterpret_cast<LPARAM>(&suggested));
    ExpectDesignedLetter(l);
    EXPECT_TRUE(Same(l.BoundsRect(), 300, 200, 665, 434));
}

} // namespace
