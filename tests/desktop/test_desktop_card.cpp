// The real card on a desktop as people have it, run by desktop_run.sh: a
// window manager, a Wine prefix that hands windows to it, and another
// program's window in front. The scene shows above that window, a click on an
// item leaves it the foreground window and it goes on taking input; the close
// box shows the Letter window first and ends the card.
#include <windows.h>

#include <gtest/gtest.h>

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
    EXPECT_EQ(early.At(W() - 44, 16), RGB(0, 0, 0)) << "no close box";

    // The finished scene stands above the other program's window, which has
    // the focus; a real click on the snowman leaves the focus there.
    WaitUntilCardTime(card, 88000);
    ASSERT_TRUE(FocusByClick(other)) << "the other program's window did not take the focus";
    const POINT ball{300, H() - 170};
    Shot before = CaptureScreen();
    EXPECT_EQ(before.At(ball.x, ball.y), RGB(255, 255, 255)) << "the snowman is not in front";
    Click(ball.x, ball.y);
    Pump(500);
    EXPECT_EQ(::GetForegroundWindow(), other.Window()) << "the click took the focus";
    Shot after = CaptureScreen();
    EXPECT_EQ(after.At(ball.x, ball.y), RGB(255, 255, 255)) << "the snowman went behind";
    EXPECT_EQ(other.Clicks(), 1) << "the click on the snowman reached the window below";

    // The other program still takes the keyboard.
    TypeText(L"abc");
    EXPECT_TRUE(WaitUntil([&] { return other.Typed() == L"abc"; }, 3000))
        << "typed: " << std::string(other.Typed().begin(), other.Typed().end());

    // The close box shows the Letter window first (never opened); the card
    // ends when it is closed.
    Click(W() - 30, 30);
    HWND letter = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (letter = FindWindowOf(card.Id(), L"Letter")) != nullptr; }, 8000))
        << "the close box did not show the Letter window";
    HWND x = FindChild(letter, L"X");
    ASSERT_NE(x, nullptr);
    Pump(500);
    ClickWindow(x);
    DWORD code = 99;
    ASSERT_TRUE(card.WaitForExit(15000, code)) << "the card did not end";
    EXPECT_EQ(code, 0u);
}

} // namespace
