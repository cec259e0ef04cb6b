// Cards written in other scripts, through the real Letter window, read on a
// machine of another code page. codepages_run.sh runs the phases under the
// code pages Wine takes from LANG:
//   CardCodePages.Write  types each text into the own-card window, saves it
//                        through the save dialog as <folder>\card-<n>.exe;
//   CardCodePages.Read   starts each saved card and reads what its Letter
//                        window shows.
// ORVEX_CODEPAGE_CARDS names the folder, ORVEX_CODEPAGE_EXPECT the code page
// the phase must run under.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "CardDriver.h"

using namespace driver;

namespace {

const std::wstring Texts[] = {
    // Greek, with an emoji
    L"\u039A\u03B1\u03BB\u03AC \u03A7\u03C1\u03B9\u03C3\u03C4\u03BF\u03CD\u03B3\u03B5\u03BD\u03BD"
    L"\u03B1 \xD83C\xDF84",
    // Polish
    L"Weso\u0142ych \u015Awi\u0105t! Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 "
    L"ja\u017A\u0144.",
    // Japanese
    L"\u30E1\u30EA\u30FC\u30AF\u30EA\u30B9\u30DE\u30B9",
};

int W() {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int H() {
    return ::GetSystemMetrics(SM_CYSCREEN);
}
POINT LetterIcon() {
    return POINT{W() - 82, H() - 64};
}
POINT CloseBox() {
    return POINT{W() - 30, 30};
}

std::wstring Env(const wchar_t* name) {
    const wchar_t* v = _wgetenv(name);
    return v ? v : L"";
}

std::wstring CardPath(size_t n) {
    return Env(L"ORVEX_CODEPAGE_CARDS") + L"\\card-" + std::to_wstring(n) + L".exe";
}

void CheckCodePage() {
    const std::wstring expected = Env(L"ORVEX_CODEPAGE_EXPECT");
    ASSERT_FALSE(Env(L"ORVEX_CODEPAGE_CARDS").empty()) << "run by codepages_run.sh";
    ASSERT_EQ(std::to_wstring(::GetACP()), expected) << "not under the code page asked for";
}

// Starts the card, opens its Letter window by pointing at the letter icon.
HWND OpenLetter(const CardProcess& card) {
    WaitUntilCardTime(card, 2500);
    MoveTo(LetterIcon().x, LetterIcon().y);
    HWND letter = nullptr;
    WaitUntil([&] { return (letter = FindWindowOf(card.Id(), L"Letter")) != nullptr; }, 8000);
    MoveTo(W() / 2, 40);
    return letter;
}

void EndCard(CardProcess& card, HWND letter) {
    ClickWindow(FindChild(letter, L"X"));
    WaitUntil([&] { return !FindWindowOf(card.Id(), L"Letter"); }, 5000);
    Click(CloseBox().x, CloseBox().y);
    DWORD code = 99;
    EXPECT_TRUE(card.WaitForExit(10000, code)) << "the card did not end";
}

TEST(CardCodePages, Write) {
    CheckCodePage();
    Backdrop backdrop;
    for (size_t n = 0; n < std::size(Texts); ++n) {
        SCOPED_TRACE(n);
        const std::wstring saved = CardPath(n);
        ::DeleteFileW(saved.c_str());
        CardProcess card(ProgramDir() + L"Frostvale-Karte.exe");
        ASSERT_TRUE(card.Started());
        HWND letter = OpenLetter(card);
        ASSERT_NE(letter, nullptr) << "the Letter window did not open";
        ClickWindow(FindChild(letter, L"Eigene Karte schreiben ..."));
        HWND memo = FindChild(letter, L"", L"Edit");
        ASSERT_NE(memo, nullptr) << "no text box";
        ClickWindow(memo);
        PressKey('A', true);
        PressKey(VK_DELETE);
        TypeText(Texts[n]);
        EXPECT_EQ(TextOf(memo), Texts[n]);

        ClickWindow(FindChild(letter, L"Speichern"));
        ASSERT_NE(WaitForFileDialog(card.Id(), 8000), nullptr) << "no save dialog";
        EnterFileName(saved);
        HWND message = WaitForWindowShowing(
            card.Id(), L"Die Karte wurde gespeichert! Sie können Sie nun verschicken.", 8000);
        ASSERT_NE(message, nullptr) << "no confirmation";
        PressKey(VK_RETURN);
        WaitUntil([&] { return !::IsWindowVisible(message); }, 5000);
        EndCard(card, letter);

        // Stored as UTF-8 after its mark, whatever the code page.
        std::ifstream in(std::filesystem::path(saved), std::ios::binary);
        std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        ASSERT_GT(bytes.size(), 1000u);
        EXPECT_EQ(std::string(bytes.end() - 1000, bytes.end() - 997), "\xEF\xBB\xBF");
    }
}

TEST(CardCodePages, Read) {
    CheckCodePage();
    Backdrop backdrop;
    for (size_t n = 0; n < std::size(Texts); ++n) {
        SCOPED_TRACE(n);
        CardProcess card(CardPath(n));
        ASSERT_TRUE(card.Started()) << "no saved card";
        HWND letter = OpenLetter(card);
        ASSERT_NE(letter, nullptr) << "the saved card's Letter window did not open";
        HWND memo = FindChild(letter, L"", L"Edit");
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(TextOf(memo), Texts[n]) << "the recipient sees another text";
        EndCard(card, letter);
    }
}

} // namespace
