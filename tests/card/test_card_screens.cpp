// The real card on other screens, run by screens_run.sh: at 192 DPI on a
// 3840 x 2160 screen (everything at twice its designed size, sharp), and at
// 96 DPI on an 800 x 600 screen (every window inside the screen).
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

TEST(CardAt192Dpi, SceneLetterAndAboutAtTwiceTheirSize) {
    ASSERT_TRUE(DpiAware);
    ASSERT_EQ(ScreenDpi(), 192) << "screens_run.sh sets Wine's LogPixels";
    Backdrop backdrop;
    MoveTo(W() / 2, H() / 2);
    Card card;
    ASSERT_TRUE(card.Start());

    // About 5 s: the close box (80 x 80, 20 px off the top right corner) and
    // the letter icon (208 x 136, 60 px off the bottom right corner).
    WaitUntilCardTime(card.process, 5000);
    Shot early = CaptureScreen();
    early.SaveBmp(ScreensDir() + L"scene-192dpi-05s.bmp");
    const int w = W(), h = H();
    EXPECT_EQ(early.At(w - 100, 20), RGB(192, 192, 192)) << "close box frame corner";
    EXPECT_EQ(early.At(w - 99, 21), RGB(192, 192, 192)) << "a frame 2 px wide";
    EXPECT_EQ(early.At(w - 88, 32), RGB(0, 0, 0)) << "close box inside";
    EXPECT_EQ(early.At(w - 101, 19), Backdrop::Color) << "nothing outside the box";
    const RECT icon{w - 268, h - 196, w - 60, h - 60};
    auto paper = [](COLORREF c) { return c == RGB(255, 244, 184); };
    EXPECT_GT(early.Count(icon, paper), 4u * 2000u) << "letter icon";
    EXPECT_EQ(early.Count(RECT{w - 60, h - 196, w, h}, paper), 0u) << "60 px off the right edge";
    EXPECT_EQ(early.Count(RECT{w - 268, h - 60, w, h}, paper), 0u) << "60 px off the bottom";
    // Flakes at twice their size: 52 px wide; none below the band.
    const int band = h * 6 / 30 + 26;
    auto whitish = [](COLORREF c) {
        return GetRValue(c) >= 180 && GetGValue(c) >= 180 && GetBValue(c) >= 180;
    };
    EXPECT_GT(early.Count(RECT{0, 0, w - 120, band}, whitish), 400u) << "no flakes";
    EXPECT_EQ(early.Count(RECT{0, band, w - 300, h}, whitish), 0u) << "flakes below the band";

    // The Letter window from the icon: 1330 x 868, its script at 58 px.
    Click(w - 164, h - 128);
    HWND letter = card.Wait(L"Letter");
    ASSERT_NE(letter, nullptr) << "the letter icon did not open the Letter window";
    MoveTo(w / 2, 10);
    Pump(800);
    const SIZE ls = ClientSize(letter);
    EXPECT_EQ(ls.cx, 1330);
    EXPECT_EQ(ls.cy, 868);
    RECT lr = ScreenRect(letter);
    Shot withLetter = CaptureScreen();
    withLetter.SaveBmp(ScreensDir() + L"letter-192dpi.bmp");
    auto yellow = [](COLORREF c) { return c == RGB(255, 255, 0); };
    EXPECT_GT(withLetter.Count(lr, yellow), 1330u * 868u / 2) << "the paper";
    // The greeting in its 58-pixel script: about four times the red of the
    // 29-pixel one (some 6,600 pixels at 96 DPI).
    auto red = [](COLORREF c) { return c == RGB(255, 0, 0); };
    EXPECT_GT(
        withLetter.Count(RECT{lr.left + 16, lr.top + 16, lr.right - 16, lr.bottom - 150}, red),
        18000u)
        << "the greeting is not drawn at twice its size";
    HWND x = FindChild(letter, L"X");
    ASSERT_NE(x, nullptr);
    RECT xr = ScreenRect(x);
    EXPECT_EQ(xr.right - xr.left, 50) << "the button row at twice its height";

    // The about window: 1650 x 914 with the picture at 1024 x 768.
    ClickWindow(FindChild(letter, L"?"));
    HWND about = card.Wait(L"Über ...");
    ASSERT_NE(about, nullptr);
    Pump(800);
    const SIZE as = ClientSize(about);
    EXPECT_EQ(as.cx, 1650);
    EXPECT_EQ(as.cy, 914);
    Shot withAbout = CaptureScreen();
    withAbout.SaveBmp(ScreensDir() + L"about-192dpi.bmp");
    POINT origin{0, 0};
    ::ClientToScreen(about, &origin);
    // The picture fills 1024 x 768 from (16, 16): its lower right part is
    // the scene's, not the window's black, and it ends where it should.
    std::set<COLORREF> seen;
    for (int y = 600; y < 780; y += 7)
        for (int xx = 800; xx < 1036; xx += 7)
            seen.insert(withAbout.At(origin.x + xx, origin.y + y));
    EXPECT_GT(seen.size(), 5u) << "the picture is not drawn at its scaled size";
    EXPECT_EQ(withAbout.At(origin.x + 1044, origin.y + 400), RGB(0, 0, 0)) << "right of it";
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(about); }, 5000));

    // Own-card mode stops the snow; the snowman still comes at 85 s, beside
    // the Letter window. (Under Wine the snow must stop here: a window shape
    // of more than 32,765 rectangles, which the snow at 192 DPI reaches after
    // about 28 s, breaks the connection to the X server.)
    HWND own = FindChild(letter, L"Eigene Karte schreiben ...");
    ASSERT_NE(own, nullptr);
    ClickWindow(own);
    HWND save = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (save = FindChild(letter, L"Speichern")) != nullptr; }, 3000));
    RECT sr = ScreenRect(save);
    EXPECT_EQ(sr.bottom - sr.top, 44) << "the save button at twice its height";
    Pump(400);
    const RECT above{0, 0, w - 120, lr.top};
    const size_t flakesAtStop = CaptureScreen().Count(above, whitish);
    WaitUntilCardTime(card.process, 88000);
    MoveTo(w / 2, 10);
    Pump(300);
    Shot end = CaptureScreen();
    end.SaveBmp(ScreensDir() + L"scene-192dpi-88s.bmp");
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_EQ(end.At(600, h - 340), white) << "bottom ball";
    EXPECT_EQ(end.At(600, h - 600), white) << "middle ball";
    EXPECT_EQ(end.At(530, h - 820), white) << "head";
    EXPECT_EQ(end.At(357, h - 340), black) << "the rim, 6 px wide";
    EXPECT_EQ(end.At(600, h - 200), black) << "lowest button";
    EXPECT_EQ(end.At(600, h - 1090), black) << "top row of the hat";
    EXPECT_NE(end.At(600, h - 1091), black) << "nothing above the hat";
    EXPECT_EQ(end.At(521, h - 1000), black) << "hat crown from x = 520";
    EXPECT_NE(end.At(518, h - 1000), black) << "to x = 680";
    EXPECT_EQ(end.At(678, h - 1000), black);
    EXPECT_NE(end.At(681, h - 1000), black);
    EXPECT_EQ(end.Count(above, whitish), flakesAtStop) << "snow fell in own-card mode";
    ClickWindow(x);
    EXPECT_TRUE(card.Gone(L"Letter"));

    // The close box, where it now is, ends the program.
    Click(w - 60, 60);
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
