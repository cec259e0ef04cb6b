// The real card on other screens, run by screens_run.sh: at 192 DPI on a
// 3840 x 2160 screen and at 144 DPI on a 1920 x 1080 one (everything at its
// scaled size, sharp), and at 96 DPI on an 800 x 600 screen (every window
// inside the screen).
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "CardDriver.h"

using namespace driver;

namespace {

// The test sees the screen in real pixels, as the card does.
const bool DpiAware = ::SetProcessDPIAware() != FALSE;

int W() {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int H() {
    return ::GetSystemMetrics(SM_CYSCREEN);
}
int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

SIZE ClientSize(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    return SIZE{r.right, r.bottom};
}

bool Inside(RECT inner, RECT outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::wstring ScreensDir() {
    std::wstring dir = ProgramDir() + L"screens";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

struct Card {
    CardProcess process{ProgramDir() + L"Frostvale-Karte.exe"};
    // Starts the card and counts its time from when the overlay appears.
    bool Start() {
        if (!process.Started() ||
            !WaitUntil([&] { return FindWindowOf(process.Id(), L"Orvex") != nullptr; }, 20000))
            return false;
        process.RestartClock();
        return true;
    }
    HWND Wait(const std::wstring& caption) {
        HWND w = nullptr;
        WaitUntil([&] { return (w = FindWindowOf(process.Id(), caption)) != nullptr; }, 8000);
        return w;
    }
    bool Gone(const std::wstring& caption) {
        return WaitUntil([&] { return !FindWindowOf(process.Id(), caption); }, 5000);
    }
    bool Ends() {
        DWORD code = 99;
        return process.WaitForExit(10000, code) && code == 0;
    }
};

// A length designed for 96 DPI on this screen, rounded as the card rounds.
int S(int designed) {
    return ::MulDiv(designed, ScreenDpi(), 96);
}

std::wstring ShotName(const wchar_t* what) {
    return ScreensDir() + what + L"-" + std::to_wstring(ScreenDpi()) + L"dpi.bmp";
}

// At 192 DPI (screens_run.sh: 3840 x 2160) everything is twice its designed
// size: the close box 80 x 80 and 20 px off the corner, the Letter window
// 1330 x 868, the snowman at x = 600 with his hat 1090 px above the bottom.
// At 144 DPI (1920 x 1080) one and a half times.
TEST(CardAtHighDpi, SceneLetterAndAboutAtTheirScaledSizes) {
    ASSERT_TRUE(DpiAware);
    const int dpi = ScreenDpi();
    ASSERT_GT(dpi, 96) << "screens_run.sh sets Wine's LogPixels";
    Backdrop backdrop;
    MoveTo(W() / 2, H() / 2);
    Card card;
    ASSERT_TRUE(card.Start());

    // About 5 s: the close box and the letter icon at their scaled places
    // (30 px from the corner, and 30 px off the right and bottom edges).
    WaitUntilCardTime(card.process, 5000);
    Shot early = CaptureScreen();
    early.SaveBmp(ShotName(L"scene-05s"));
    const int w = W(), h = H();
    const int boxLeft = w - S(30) - S(40) / 2, boxTop = S(30) - S(40) / 2;
    EXPECT_EQ(early.At(boxLeft, boxTop), RGB(192, 192, 192)) << "close box frame corner";
    EXPECT_EQ(early.At(boxLeft + 1, boxTop + 1), RGB(192, 192, 192)) << "the frame grew too";
    EXPECT_EQ(early.At(boxLeft + S(6), boxTop + S(6)), RGB(0, 0, 0)) << "close box inside";
    EXPECT_EQ(early.At(boxLeft + S(40) - 1, boxTop + S(40) - 1), RGB(192, 192, 192))
        << "the opposite corner: the box at its scaled size";
    const int iconRight = w - S(30), iconBottom = h - S(30);
    const RECT icon{iconRight - S(104), iconBottom - S(68), iconRight, iconBottom};
    auto paper = [](COLORREF c) { return c == RGB(255, 244, 184); };
    EXPECT_GT(early.Count(icon, paper), size_t(S(S(2000)))) << "letter icon";
    EXPECT_EQ(early.Count(RECT{iconRight, icon.top, w, h}, paper), 0u) << "off the right edge";
    EXPECT_EQ(early.Count(RECT{icon.left, iconBottom, w, h}, paper), 0u) << "off the bottom";
    // Flakes at their scaled size; none below the band (6 s and half a flake).
    const int band = h * 6 / 30 + S(13);
    auto whitish = [](COLORREF c) {
        return GetRValue(c) >= 180 && GetGValue(c) >= 180 && GetBValue(c) >= 180;
    };
    EXPECT_GT(early.Count(RECT{0, 0, boxLeft - 10, band}, whitish), 400u) << "no flakes";
    EXPECT_EQ(early.Count(RECT{0, band, icon.left - 10, h}, whitish), 0u) << "below the band";

    // The Letter window from the icon, with its script scaled.
    Click((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
    HWND letter = card.Wait(L"Letter");
    ASSERT_NE(letter, nullptr) << "the letter icon did not open the Letter window";
    MoveTo(w / 2, 10);
    Pump(800);
    const SIZE ls = ClientSize(letter);
    EXPECT_EQ(ls.cx, S(665));
    EXPECT_EQ(ls.cy, S(434));
    RECT lr = ScreenRect(letter);
    Shot withLetter = CaptureScreen();
    withLetter.SaveBmp(ShotName(L"letter"));
    auto yellow = [](COLORREF c) { return c == RGB(255, 255, 0); };
    EXPECT_GT(withLetter.Count(lr, yellow), size_t(ls.cx) * size_t(ls.cy) / 2) << "the paper";
    // The greeting in its scaled script: some 6,600 red pixels at 96 DPI,
    // growing with the square of the scale.
    auto red = [](COLORREF c) { return c == RGB(255, 0, 0); };
    const RECT text{lr.left + S(8), lr.top + S(8), lr.right - S(8), lr.bottom - S(75)};
    EXPECT_GT(withLetter.Count(text, red), size_t(S(S(4600))))
        << "the greeting is not drawn at its scaled size";
    HWND x = FindChild(letter, L"X");
    ASSERT_NE(x, nullptr);
    RECT xr = ScreenRect(x);
    EXPECT_EQ(xr.right - xr.left, S(25)) << "the button row at its scaled height";

    // The about window with its picture at the scaled size.
    ClickWindow(FindChild(letter, L"?"));
    HWND about = card.Wait(L"Über ...");
    ASSERT_NE(about, nullptr);
    Pump(800);
    const SIZE as = ClientSize(about);
    EXPECT_EQ(as.cx, S(825));
    EXPECT_EQ(as.cy, S(457));
    Shot withAbout = CaptureScreen();
    withAbout.SaveBmp(ShotName(L"about"));
    POINT origin{0, 0};
    ::ClientToScreen(about, &origin);
    // Its lower right part is the scene's, not the window's black, and it
    // ends where it should.
    const int pictureEnd = S(8) + S(512);
    std::set<COLORREF> seen;
    for (int y = S(300); y < S(8) + S(384) - 4; y += 7)
        for (int xx = S(400); xx < pictureEnd - 4; xx += 7)
            seen.insert(withAbout.At(origin.x + xx, origin.y + y));
    EXPECT_GT(seen.size(), 5u) << "the picture is not drawn at its scaled size";
    EXPECT_EQ(withAbout.At(origin.x + pictureEnd + 3, origin.y + S(200)), RGB(0, 0, 0))
        << "right of it";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(about); }, 5000));

    // Own-card mode stops the snow, so the screen shot at 88 s shows the
    // snowman beside the Letter window without drifts over it.
    HWND own = FindChild(letter, L"Eigene Karte schreiben ...");
    ASSERT_NE(own, nullptr);
    ClickWindow(own);
    HWND save = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (save = FindChild(letter, L"Speichern")) != nullptr; }, 3000));
    RECT sr = ScreenRect(save);
    EXPECT_EQ(sr.bottom - sr.top, S(22)) << "the save button at its scaled height";
    // The pointer leaves the Letter window before the first count: snow
    // under it hides (autohide), which must not count as a change.
    MoveTo(w / 2, 10);
    Pump(400);
    const RECT above{0, 0, boxLeft - 10, lr.top};
    const size_t flakesAtStop = CaptureScreen().Count(above, whitish);
    WaitUntilCardTime(card.process, 88000);
    // The snowman's 85 s count from the scene's start, which comes seconds
    // after the program's start on a loaded machine: wait for his bottom ball.
    WaitForScreenColor(S(300), h - S(170), RGB(255, 255, 255), 15000);
    Pump(300);
    Shot end = CaptureScreen();
    end.SaveBmp(ShotName(L"scene-88s"));
    EXPECT_EQ(end.Count(above, whitish), flakesAtStop) << "snow fell in own-card mode";
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_EQ(end.At(S(300), h - S(170)), white) << "bottom ball";
    EXPECT_EQ(end.At(S(300), h - S(300)), white) << "middle ball";
    EXPECT_EQ(end.At(S(265), h - S(410)), white) << "head";
    EXPECT_EQ(end.At(S(180) - S(3) / 2 - 1, h - S(170)), black) << "the rim";
    EXPECT_EQ(end.At(S(300), h - S(100)), black) << "lowest button";
    const int crownTop = h - S(545), crownLeft = S(260), crownRight = S(260) + S(80);
    EXPECT_EQ(end.At(S(300), crownTop), black) << "top row of the hat";
    EXPECT_NE(end.At(S(300), crownTop - 1), black) << "nothing above the hat";
    const int row = h - S(500);
    EXPECT_EQ(end.At(crownLeft + 1, row), black) << "the hat crown's left edge";
    EXPECT_NE(end.At(crownLeft - 2, row), black);
    if (!::PtInRect(&lr, POINT{crownRight + 1, row})) { // at 144 DPI under the Letter window
        EXPECT_EQ(end.At(crownRight - 2, row), black) << "and its right edge";
        EXPECT_NE(end.At(crownRight + 1, row), black);
    }
    ClickWindow(x);
    EXPECT_TRUE(card.Gone(L"Letter"));

    // The close box, where it now is, ends the program.
    Click(w - S(30), S(30));
    EXPECT_TRUE(card.Ends()) << "the program did not end";
}

TEST(CardOnSmallScreen, EveryWindowLiesInsideTheScreen) {
    ASSERT_EQ(ScreenDpi(), 96);
    ASSERT_EQ(W(), 800);
    ASSERT_EQ(H(), 600);
    const RECT screen{0, 0, 800, 600};
    Backdrop backdrop;
    MoveTo(400, 300);
    Card card;
    ASSERT_TRUE(card.Start());
    WaitUntilCardTime(card.process, 2500);
    Click(800 - 82, 600 - 64);
    HWND letter = card.Wait(L"Letter");
    ASSERT_NE(letter, nullptr);
    EXPECT_TRUE(Inside(ScreenRect(letter), screen));
    EXPECT_EQ(ClientSize(letter).cx, 665) << "it fits: designed size";

    // 825 px of client area and a frame do not fit 800 px: the window is
    // drawn a little smaller, whole, with its OK button and caption inside.
    ClickWindow(FindChild(letter, L"?"));
    HWND about = card.Wait(L"Über ...");
    ASSERT_NE(about, nullptr);
    Pump(800);
    CaptureScreen().SaveBmp(ScreensDir() + L"about-800x600.bmp");
    EXPECT_TRUE(Inside(ScreenRect(about), screen));
    EXPECT_LT(ClientSize(about).cx, 825);
    EXPECT_GT(ClientSize(about).cx, 780) << "shrunk no more than needed";
    HWND ok = FindChild(about, L"&OK");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(Inside(ScreenRect(ok), screen));
    ClickWindow(ok);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(about); }, 5000))
        << "the OK button did not take the click";
    ClickWindow(FindChild(letter, L"X"));
    EXPECT_TRUE(card.Gone(L"Letter"));
    Click(800 - 30, 30);
    EXPECT_TRUE(card.Ends());
}

} // namespace
