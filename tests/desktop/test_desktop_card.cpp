// The real card on a desktop as people have it, run by desktop_run.sh under
// each window manager: a stock Wine prefix that hands windows to the window
// manager and has no font substitutes, and another program's window in front.
// The scene shows above that window, a click on an item leaves it the
// foreground window and it goes on taking input; the Letter window stays
// above the falling snow while it is open, and opened again over the finished
// scene it shows above the snowman in the card's script font and takes its
// clicks; the close box ends the card.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "OtherWindow.h"
#include "card/CardDriver.h"

using namespace driver;

namespace {

int W() {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int H() {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

// Clicks a pixel of the other program's window that nothing covers, which
// gives it the focus as a person's click does.
bool FocusByClick(const OtherWindow& other) {
    const RECT r = ScreenRect(other.Window());
    const Shot shot = CaptureScreen();
    for (int y = r.bottom - 10; y > r.top + 40; y -= 7)
        for (int x = r.left + 10; x < r.right - 10; x += 7)
            if (shot.At(x, y) == OtherWindow::Color) {
                Click(x, y);
                return WaitUntil([&] { return ::GetForegroundWindow() == other.Window(); }, 3000);
            }
    return false;
}

// Colours as a compositor shows them: the overlay may be drawn at 254 of 255.
bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 3 &&
           std::abs(GetGValue(a) - GetGValue(b)) <= 3 && std::abs(GetBValue(a) - GetBValue(b)) <= 3;
}

// The rows of the area holding red ink, as bands of consecutive rows.
std::vector<std::pair<int, int>> InkBands(const Shot& shot, RECT area) {
    std::vector<std::pair<int, int>> bands;
    for (int y = area.top; y < area.bottom; ++y) {
        RECT row{area.left, y, area.right, y + 1};
        const bool ink = shot.Count(row, [](COLORREF c) {
            return GetRValue(c) > 180 && GetGValue(c) < 140 && GetBValue(c) < 140;
        }) > 0;
        if (!ink)
            continue;
        if (!bands.empty() && bands.back().second == y - 1)
            bands.back().second = y;
        else
            bands.emplace_back(y, y);
    }
    return bands;
}

// The desktop the run is on (set by desktop_run.sh), for the screenshots' names.
std::wstring DesktopName() {
    wchar_t name[32] = L"desktop";
    ::GetEnvironmentVariableW(L"ORVEX_DESKTOP", name, 32);
    return name;
}

int CALLBACK FoundFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// True when this process can see a font family of the name.
bool FamilyVisible(const wchar_t* face) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    ::EnumFontFamiliesExW(dc, &lf, FoundFamily, reinterpret_cast<LPARAM>(&found), 0);
    ::DeleteDC(dc);
    return found;
}

TEST(DesktopCard, SceneStaysAboveAnotherProgramThatKeepsTheFocusAndItsInput) {
    // The other program's window lies where the snowman will stand.
    OtherWindow other(RECT{60, H() - 480, 560, H() - 20});
    ASSERT_TRUE(other.Started()) << "the other program did not start";
    MoveTo(W() / 2, H() / 2);
    CardProcess card(ProgramDir() + L"Frostvale-Karte.exe");
    ASSERT_TRUE(card.Started());
    ASSERT_TRUE(WaitUntil([&] { return FindWindowOf(card.Id(), L"Orvex") != nullptr; }, 30000));
    card.RestartClock();

    // Early on: flakes in the top band, the close box in its corner.
    WaitUntilCardTime(card, 5000);
    Shot early = CaptureScreen();
    EXPECT_TRUE(Near(early.At(W() - 44, 16), RGB(0, 0, 0))) << "no close box";

    // Pointing at the letter icon opens the Letter window, which stays above
    // the falling snow for as long as it is open, however the window manager
    // stacks the card's windows: no flake is drawn over its paper.
    WaitUntilCardTime(card, 10000);
    MoveTo(W() - 82, H() - 64);
    HWND firstLetter = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (firstLetter = FindWindowOf(card.Id(), L"Letter")) != nullptr; }, 8000))
        << "pointing at the letter icon did not open the Letter window";
    MoveTo(W() / 2, 60);
    WaitUntilCardTime(card, 75000);
    RECT paper = ScreenRect(firstLetter);
    ::InflateRect(&paper, -10, -10);
    const Shot open = CaptureScreen();
    open.SaveBmp(ProgramDir() + L"letter-early-" + DesktopName() + L".bmp");
    // Snow drawn over the window covers thousands of its pixels; a stray
    // pixel or two of a flake at the window's edge in the moment it was
    // taken is no fault.
    const size_t paperPixels = size_t(paper.right - paper.left) * size_t(paper.bottom - paper.top);
    const size_t snowOnPaper = open.Count(paper, [](COLORREF c) { return GetBValue(c) >= 180; });
    EXPECT_LT(snowOnPaper, paperPixels / 200) << "snow is drawn over the Letter window";
    HWND closeLetter = FindChild(firstLetter, L"X");
    ASSERT_NE(closeLetter, nullptr);
    ClickWindow(closeLetter);
    EXPECT_TRUE(WaitUntil([&] { return !FindWindowOf(card.Id(), L"Letter"); }, 5000));

    // The finished scene stands above the other program's window, which has
    // the focus; a real click on the snowman leaves the focus there.
    WaitUntilCardTime(card, 88000);
    ASSERT_TRUE(FocusByClick(other)) << "the other program's window did not take the focus";
    const POINT ball{300, H() - 170};
    Shot before = CaptureScreen();
    EXPECT_TRUE(Near(before.At(ball.x, ball.y), RGB(255, 255, 255)))
        << "the snowman is not in front";
    Click(ball.x, ball.y);
    Pump(500);
    EXPECT_EQ(::GetForegroundWindow(), other.Window()) << "the click took the focus";
    Shot after = CaptureScreen();
    EXPECT_TRUE(Near(after.At(ball.x, ball.y), RGB(255, 255, 255))) << "the snowman went behind";
    EXPECT_EQ(other.Clicks(), 1) << "the click on the snowman reached the window below";

    // The other program still takes the keyboard.
    TypeText(L"abc");
    EXPECT_TRUE(WaitUntil([&] { return other.Typed() == L"abc"; }, 3000))
        << "typed: " << std::string(other.Typed().begin(), other.Typed().end());

    // Opened again over the finished scene, the Letter window shows its own
    // pixels where the snowman stands, whatever the window manager's stacking.
    Click(W() - 82, H() - 64);
    HWND letter = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (letter = FindWindowOf(card.Id(), L"Letter")) != nullptr; }, 8000))
        << "the letter icon did not open the Letter window";
    MoveTo(W() - 200, 200);
    Pump(1500);
    const RECT lr = ScreenRect(letter);
    Shot above = CaptureScreen();
    above.SaveBmp(ProgramDir() + L"letter-over-snowman-" + DesktopName() + L".bmp");
    const RECT body{std::max<LONG>(230, lr.left + 10), H() - 410, 370,
                    std::min<LONG>(H() - 270, lr.bottom - 40)};
    ASSERT_LT(body.left, body.right);
    const size_t area = size_t(body.right - body.left) * size_t(body.bottom - body.top);
    EXPECT_EQ(above.Count(body, [](COLORREF c) { return c == RGB(255, 255, 255); }), 0u)
        << "the snowman shows over the Letter window";
    EXPECT_GT(above.Count(body, [](COLORREF c) { return c == RGB(255, 255, 0); }), area / 2)
        << "the Letter window's paper is not there";

    // The greeting in the card's script font, also where the machine has no
    // script face: eight lines of text in six bands of ink, the last ending
    // 290 pixels below the window's top at 96 DPI (in bold italic sans serif
    // the long lines break and it ends near 329).
    const RECT text{lr.left + 12, lr.top + 12, lr.right - 12, lr.bottom - 40};
    const auto bands = InkBands(above, text);
    ASSERT_FALSE(bands.empty()) << "no greeting";
    EXPECT_EQ(bands.size(), 6u) << "the greeting's lines break elsewhere";
    EXPECT_NEAR(bands.back().second - lr.top, 290, 5) << "the greeting ends elsewhere";
    // The card's own font stays with the card's process.
    EXPECT_FALSE(FamilyVisible(L"Frostvale Script")) << "the carried font reached another process";

    // The own-card button takes a real click.
    HWND own = FindChild(letter, L"Eigene Karte schreiben ...");
    ASSERT_NE(own, nullptr);
    ClickWindow(own);
    EXPECT_TRUE(WaitUntil([&] { return FindChild(letter, L"Speichern") != nullptr; }, 3000))
        << "the own-card button did not take the click";
    HWND x = FindChild(letter, L"X");
    ASSERT_NE(x, nullptr);
    ClickWindow(x);
    EXPECT_TRUE(WaitUntil([&] { return !FindWindowOf(card.Id(), L"Letter"); }, 5000));

    // The Letter window was opened: the close box ends the card at once.
    Click(W() - 30, 30);
    DWORD code = 99;
    ASSERT_TRUE(card.WaitForExit(15000, code)) << "the card did not end";
    EXPECT_EQ(code, 0u);
}

} // namespace
