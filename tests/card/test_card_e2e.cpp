// The real card, started under the test's eyes: what a person sees at 5, 65
// and 87 seconds, the Letter window above the finished scene, the Letter
// window opened by pointing at the letter icon, the own-card mode stopping the
// snow, a saved card starting with its own text and language, and the close
// box ending the program.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CardDriver.h"

using namespace driver;

namespace {

constexpr COLORREF Snow = RGB(250, 250, 250);

bool Whitish(COLORREF c) {
    return GetRValue(c) >= 180 && GetGValue(c) >= 180 && GetBValue(c) >= 180;
}
bool IsSnow(COLORREF c) {
    return c == Snow;
}
bool IsPaper(COLORREF c) {
    return c == RGB(255, 244, 184);
}

int W() {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int H() {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

RECT CloseBoxRect() {
    return RECT{W() - 50, 10, W() - 10, 50};
}
RECT LetterIconRect() {
    return RECT{W() - 134, H() - 98, W() - 30, H() - 30};
}
POINT LetterIcon() {
    return POINT{W() - 82, H() - 64};
}
POINT CloseBox() {
    return POINT{W() - 30, 30};
}

// Snow-white pixels outside the two lasting items.
size_t FlakePixels(const Shot& s, RECT area) {
    RECT box = CloseBoxRect(), icon = LetterIconRect();
    size_t n = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, s.height); ++y)
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, s.width); ++x) {
            POINT p{x, y};
            if (!::PtInRect(&box, p) && !::PtInRect(&icon, p) && Whitish(s.At(x, y)))
                ++n;
        }
    return n;
}

// Stay-on-top windows lie above the scene, which stays above all others.
bool IsStayOnTop(HWND window) {
    return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

std::wstring ScreensDir() {
    std::wstring dir = ProgramDir() + L"screens";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

HWND WaitForLetter(const CardProcess& card, DWORD ms) {
    HWND letter = nullptr;
    WaitUntil([&] { return (letter = FindWindowOf(card.Id(), L"Letter")) != nullptr; }, ms);
    return letter;
}

// Closes the Letter window with its "X" button and waits until it is gone.
void CloseLetter(const CardProcess& card, HWND letter) {
    HWND x = FindChild(letter, L"X");
    ASSERT_NE(x, nullptr) << "no X button";
    ClickWindow(x);
    EXPECT_TRUE(WaitUntil([&] { return !FindWindowOf(card.Id(), L"Letter"); }, 5000));
}

TEST(CardTimeline, WholeSceneInRealTime) {
    Backdrop backdrop;
    MoveTo(W() / 2, H() / 2);
    CardProcess card(ProgramDir() + L"Frostvale-Karte.exe");
    ASSERT_TRUE(card.Started());
    // The scene clock starts when the scene window is shown, just before the
    // overlay window appears; count from then, however long the start took.
    ASSERT_TRUE(WaitUntil([&] { return FindWindowOf(card.Id(), L"Orvex") != nullptr; }, 20000));
    card.RestartClock();

    // About 5 s: flakes only in the top band; the close box and the letter icon.
    WaitUntilCardTime(card, 5000);
    Shot early = CaptureScreen();
    early.SaveBmp(ScreensDir() + L"scene-05s.bmp");
    const int band5 = H() * 55 / 300 + 14; // band at 5.5 s plus half a flake
    EXPECT_GT(FlakePixels(early, RECT{0, 0, W(), band5}), 100u) << "no flakes in the top band";
    EXPECT_EQ(FlakePixels(early, RECT{0, band5, W(), H()}), 0u) << "flakes below the band";
    if (early.At(W() - 50, 10) != RGB(192, 192, 192)) {
        // Tell a stale window apart from a wrong picture: repaint and look again.
        ::RedrawWindow(FindWindowOf(card.Id(), L"Orvex"), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(500);
        Shot again = CaptureScreen();
        ADD_FAILURE() << "close box frame wrong: " << std::hex << early.At(W() - 50, 10)
                      << ", after a repaint of the overlay window: " << again.At(W() - 50, 10);
    }
    EXPECT_EQ(early.At(W() - 44, 16), RGB(0, 0, 0)) << "close box inside";
    EXPECT_GT(early.Count(LetterIconRect(), IsPaper), 2000u) << "letter icon";
    EXPECT_EQ(early.At(W() - 20, H() - 20), Backdrop::Color)
        << "the icon stays 30 px off the edges";

    // About 65 s: snow along the bottom and, drifting, along the top and the sides.
    WaitUntilCardTime(card, 65000);
    Shot drift = CaptureScreen();
    drift.SaveBmp(ScreensDir() + L"scene-65s.bmp");
    const size_t row = W() * 10;
    EXPECT_GT(drift.Count(RECT{0, H() - 10, W(), H()}, IsSnow), row * 8 / 10) << "bottom";
    EXPECT_GT(drift.Count(RECT{0, 0, W() - 60, 10}, IsSnow), row / 3) << "top";
    const size_t column = 10 * (H() - 200);
    EXPECT_GT(drift.Count(RECT{0, 100, 10, H() - 100}, IsSnow), column / 3) << "left";
    EXPECT_GT(drift.Count(RECT{W() - 10, 100, W(), H() - 200}, IsSnow), column / 4) << "right";
    EXPECT_EQ(drift.Count(RECT{W() / 2 - 100, H() / 2 - 100, W() / 2 + 100, H() / 2 + 100}, IsSnow),
              0u)
        << "no pile in the middle of the screen";

    // After 86 s: the snowman at x = 300 near the lower left corner. His 85 s
    // count from the scene's start, which comes seconds after the program's
    // start on a loaded machine: wait for his bottom ball.
    WaitUntilCardTime(card, 88000);
    const int h = H();
    WaitForScreenColor(300, h - 170, RGB(255, 255, 255), 15000);
    Pump(300);
    Shot end = CaptureScreen();
    end.SaveBmp(ScreensDir() + L"scene-88s.bmp");
    // Flakes fall in front of the snowman: a pixel of his shows in one of
    // two shots a second apart (a flake has moved on by then).
    Pump(1000);
    Shot later = CaptureScreen();
    auto shows = [&](int x, int y, COLORREF colour) {
        return end.At(x, y) == colour || later.At(x, y) == colour;
    };
    EXPECT_TRUE(shows(300, h - 170, RGB(255, 255, 255))) << "bottom ball";
    EXPECT_TRUE(shows(300, h - 300, RGB(255, 255, 255))) << "middle ball";
    EXPECT_TRUE(shows(265, h - 410, RGB(255, 255, 255))) << "head";
    EXPECT_TRUE(shows(180, h - 170, RGB(0, 0, 0))) << "black rim of the bottom ball";
    EXPECT_TRUE(shows(300, h - 520, RGB(0, 0, 0))) << "hat crown";
    EXPECT_TRUE(shows(300, h - 100, RGB(0, 0, 0))) << "lowest button";
    EXPECT_NE(end.At(300, h - 550), RGB(0, 0, 0)) << "nothing above the hat";

    // The Letter window opened from the icon stays above the finished scene:
    // its own pixels show where the snowman stands, and its own-card button,
    // which the snowman's balls cover, takes a real click.
    Click(LetterIcon().x, LetterIcon().y);
    HWND letter = WaitForLetter(card, 5000);
    ASSERT_NE(letter, nullptr) << "the letter icon did not open the Letter window";
    MoveTo(W() - 200, 200);
    Pump(1000);
    RECT lr = ScreenRect(letter);
    Shot above = CaptureScreen();
    above.SaveBmp(ScreensDir() + L"letter-over-snowman.bmp");
    RECT ball{std::max<LONG>(230, lr.left + 10), h - 410, 370,
              std::min<LONG>(h - 270, lr.bottom - 40)};
    ASSERT_LT(ball.left, ball.right);
    ASSERT_LT(ball.top, ball.bottom);
    auto white = [](COLORREF c) { return c == RGB(255, 255, 255); };
    auto yellow = [](COLORREF c) { return c == RGB(255, 255, 0); };
    const size_t area = size_t(ball.right - ball.left) * size_t(ball.bottom - ball.top);
    EXPECT_EQ(above.Count(ball, white), 0u) << "the snowman shows over the Letter window";
    EXPECT_GT(above.Count(ball, yellow), area / 2) << "the Letter window's paper is not there";
    HWND own = FindChild(letter, L"Eigene Karte schreiben ...");
    ASSERT_NE(own, nullptr);
    ClickWindow(own);
    EXPECT_TRUE(WaitUntil([&] { return FindChild(letter, L"Speichern") != nullptr; }, 3000))
        << "the own-card button did not take the click";
    CloseLetter(card, letter);

    // The Letter window was opened: the close box ends the program at once.
    Click(CloseBox().x, CloseBox().y);
    DWORD code = 99;
    ASSERT_TRUE(card.WaitForExit(10000, code)) << "the program did not end";
    EXPECT_EQ(code, 0u);
}

std::vector<uint8_t> FileBytes(const std::wstring& path) {
    std::ifstream f(std::string(path.begin(), path.end()), std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::wstring TempCardPath() {
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + L"frostvale-e2e-card.exe";
}

TEST(CardLetter, OwnCardIsSavedAndStartsWithItsText) {
    Backdrop backdrop;
    MoveTo(W() / 2, H() / 2);
    const std::wstring saved = TempCardPath();
    ::DeleteFileW(saved.c_str());
    const std::wstring typed = L"Frohe Feiertage from the test";
    {
        CardProcess card(ProgramDir() + L"Frostvale-Karte.exe");
        ASSERT_TRUE(card.Started());
        WaitUntilCardTime(card, 2500);

        // Pointing at the letter icon opens the Letter window.
        MoveTo(LetterIcon().x, LetterIcon().y);
        HWND letter = WaitForLetter(card, 5000);
        ASSERT_NE(letter, nullptr) << "pointing at the letter icon did not open the Letter window";
        MoveTo(W() / 2, 40);
        HWND own = FindChild(letter, L"Eigene Karte schreiben ...");
        ASSERT_NE(own, nullptr);
        EXPECT_EQ(FindChild(letter, L"Speichern"), nullptr) << "save shows before own-card mode";

        // Own-card mode stops the snow.
        ClickWindow(own);
        Pump(400);
        RECT lr = ScreenRect(letter);
        auto outside = [&](const Shot& s) {
            return FlakePixels(s, RECT{0, 0, W(), lr.top}) +
                   FlakePixels(s, RECT{0, lr.bottom, W(), H()});
        };
        size_t before = outside(CaptureScreen());
        Pump(2500);
        Shot stopped = CaptureScreen();
        EXPECT_EQ(outside(stopped), before) << "snow kept falling in own-card mode";
        EXPECT_NE(FindChild(letter, L"Speichern"), nullptr);
        EXPECT_EQ(FindChild(letter, L"Eigene Karte schreiben ..."), nullptr);

        // Type a new text, choose "english", save.
        HWND memo = FindChild(letter, L"", L"Edit");
        ASSERT_NE(memo, nullptr) << "no text box";
        ClickWindow(memo);
        PressKey('A', true);
        PressKey(VK_DELETE);
        TypeText(typed);
        EXPECT_EQ(TextOf(memo), typed);
        MoveTo(W() / 2, 40);
        CaptureScreen().SaveBmp(ScreensDir() + L"letter-own-card.bmp");

        HWND list = FindChild(letter, L"", L"ListBox");
        ASSERT_NE(list, nullptr);
        RECT r = ScreenRect(list);
        LRESULT itemHeight = ::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0);
        Click(r.left + 20, r.top + 2 + int(itemHeight) + int(itemHeight) / 2);
        EXPECT_TRUE(WaitUntil([&] { return FindChild(letter, L"Save") != nullptr; }, 3000))
            << "captions did not switch to English";
        EXPECT_EQ(TextOf(memo), typed) << "the language changed the text";

        // Help: the about window comes in front; Escape closes it, and the
        // Letter window keeps its language.
        ClickWindow(FindChild(letter, L"?"));
        HWND about = nullptr;
        ASSERT_TRUE(WaitUntil(
            [&] { return (about = FindWindowOf(card.Id(), L"Über ...")) != nullptr; }, 5000))
            << "no about window";
        EXPECT_NE(FindWindowShowing(card.Id(), L"&OK"), nullptr);
        EXPECT_TRUE(IsStayOnTop(about)) << "the about window would lie below the scene";
        EXPECT_TRUE(IsStayOnTop(letter)) << "the Letter window left the stay-on-top band";
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(about); }, 5000))
            << "Escape did not close the about window";
        EXPECT_NE(FindChild(letter, L"Save"), nullptr);

        ClickWindow(FindChild(letter, L"Save"));
        HWND dialog = WaitForFileDialog(card.Id(), 8000);
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        EXPECT_TRUE(IsStayOnTop(dialog)) << "the save dialog would lie below the scene";
        EnterFileName(saved);
        HWND message = WaitForWindowShowing(
            card.Id(), L"The new card was saved. You can sent it now to your friends.", 8000);
        ASSERT_NE(message, nullptr) << "no confirmation";
        EXPECT_TRUE(IsStayOnTop(message)) << "the message box would lie below the scene";
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(message); }, 5000));

        std::vector<uint8_t> program = FileBytes(ProgramDir() + L"Frostvale-Karte.exe");
        std::vector<uint8_t> card2 = FileBytes(saved);
        ASSERT_EQ(card2.size(), program.size() + 1000);
        EXPECT_TRUE(std::equal(program.begin(), program.end(), card2.begin()));
        std::string tail(card2.end() - 5, card2.end());
        EXPECT_EQ(tail, "EUDEF");
        std::string text(card2.begin() + program.size(),
                         card2.begin() + program.size() + typed.size());
        EXPECT_EQ(text, std::string(typed.begin(), typed.end()));

        // Pointing at the icon again opens nothing; the close box now ends at once.
        CloseLetter(card, letter);
        MoveTo(LetterIcon().x, LetterIcon().y);
        Pump(1500);
        EXPECT_EQ(FindWindowOf(card.Id(), L"Letter"), nullptr) << "opened a second time";
        MoveTo(W() / 2, 40);
        Click(CloseBox().x, CloseBox().y);
        DWORD code = 99;
        ASSERT_TRUE(card.WaitForExit(10000, code));
        EXPECT_EQ(code, 0u);
    }
    {
        // The saved card shows its own text with the English captions.
        CardProcess card(saved);
        ASSERT_TRUE(card.Started());
        WaitUntilCardTime(card, 2500);
        Click(LetterIcon().x, LetterIcon().y);
        HWND letter = WaitForLetter(card, 5000);
        ASSERT_NE(letter, nullptr);
        EXPECT_NE(FindChild(letter, typed), nullptr) << "the saved text is not shown";
        EXPECT_NE(FindChild(letter, L"Write your own card ..."), nullptr);
        CloseLetter(card, letter);
        Click(CloseBox().x, CloseBox().y);
        DWORD code = 99;
        ASSERT_TRUE(card.WaitForExit(10000, code));
        EXPECT_EQ(code, 0u);
    }
    ::DeleteFileW(saved.c_str());
}

} // namespace
