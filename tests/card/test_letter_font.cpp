// The Letter window's script font: which face a text gets, and what the font
// the program carries can show.
#include <windows.h>

#include <gtest/gtest.h>

#include "card/LetterFont.h"
#include "card/LetterTexts.h"
#include "card/uLetter.h"
#include "ui/Handles.h"
#include "ui/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

TEST(LetterFont, FaceChoiceAndCoverage) {
    const CharacterRanges latin{{L' ', L'~'}, {L'\x00A1', L'\x00FF'}, {L'\x20AC', L'\x20AC'}};
    EXPECT_TRUE(TextCovered(latin, L"Grüße\r\n\tzum Fest: 5 \x20AC"));
    EXPECT_TRUE(TextCovered(latin, L""));
    EXPECT_FALSE(TextCovered(latin, L"\x0421\x043D\x0435\x0433")) << "Cyrillic";
    EXPECT_FALSE(TextCovered(latin, L"a\x00A0b")) << "a character between two ranges";
    EXPECT_FALSE(TextCovered({}, L"a"));

    // The designed face wherever the machine has it; the carried one where
    // it is loaded.
    EXPECT_EQ(ChooseLetterFace(true, true), LetterDesignedFace);
    EXPECT_EQ(ChooseLetterFace(false, true), LetterCarriedFace);
    EXPECT_EQ(ChooseLetterFace(false, false), LetterDesignedFace);
}

// That the font stays with the process is checked from another process while
// the card runs (tests/desktop).
TEST(LetterFont, CarriedFontCoversTheCardsTexts) {
    TLetterFont font(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(font.CarriedLoaded()) << "the program file's script font was not taken";
    // Every character of the greeting and of the texts a user starts an
    // own card from, in both languages, and every printable character of
    // Windows-1252 but the two the source font lacks (no-break space and
    // macron).
    EXPECT_TRUE(TextCovered(font.CarriedRanges(), InitialLetterText()));
    for (int language : {0, 1}) {
        const LetterCaptions c = CaptionsFor(language);
        for (const wchar_t* text : {c.createOwnCard, c.info, c.save, c.homepage})
            EXPECT_TRUE(TextCovered(font.CarriedRanges(), text)) << "language " << language;
    }
    for (int b = 0x20; b < 0x100; ++b) {
        if (b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D ||
            b == 0xA0 || b == 0xAF)
            continue;
        const char c = static_cast<char>(b);
        wchar_t w = 0;
        ASSERT_EQ(::MultiByteToWideChar(1252, 0, &c, 1, &w, 1), 1);
        EXPECT_TRUE(TextCovered(font.CarriedRanges(), std::wstring(1, w)))
            << "Windows-1252 byte 0x" << std::hex << b;
    }
    if (!font.DesignedInstalled()) {
        EXPECT_EQ(font.Face(), LetterCarriedFace);
    }
}

// The pixels of each line of the memo that differ from its background.
std::vector<int> InkPerLine(ui::Memo& memo, int lines) {
    RECT client{};
    ::GetClientRect(memo.Handle(), &client);
    ui::Picture shot = ui::Picture::Blank(client.right, client.bottom);
    {
        ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
        ui::Selection select(dc.Get(), shot.Handle());
        ::SendMessageW(memo.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()),
                       PRF_CLIENT | PRF_ERASEBKGND);
    }
    shot.Flush();
    const uint32_t paper = shot.Bits()[client.right - 1];
    auto differs = [paper](uint32_t p) {
        int d = 0;
        for (int shift : {0, 8, 16})
            d += std::abs(static_cast<int>((p >> shift) & 0xFF) -
                          static_cast<int>((paper >> shift) & 0xFF));
        return d > 96;
    };
    std::vector<int> ink;
    for (int line = 0; line < lines; ++line) {
        const auto first = ::SendMessageW(memo.Handle(), EM_LINEINDEX, line, 0);
        const auto next = ::SendMessageW(memo.Handle(), EM_LINEINDEX, line + 1, 0);
        const int top = HIWORD(::SendMessageW(memo.Handle(), EM_POSFROMCHAR, first, 0));
        const int bottom = next < 0
                               ? client.bottom
                               : HIWORD(::SendMessageW(memo.Handle(), EM_POSFROMCHAR, next, 0));
        int count = 0;
        for (int y = std::max(top, 0); y < std::min<int>(bottom, client.bottom); ++y)
            for (int x = 0; x < client.right; ++x)
                count += differs(shot.Bits()[y * client.right + x]);
        ink.push_back(count);
    }
    return ink;
}

// The script face stays for every text: the system's text drawing shows the
// runs of characters it lacks (here Greek and Cyrillic) in its fallback face,
// so they are as visible as the lines in the script face.
TEST(LetterFont, LetterWindowKeepsTheScriptFaceAndShowsWhatItLacks) {
    TLetterForm form;
    form.ProgramFile.clear();
    form.ScriptFont = TLetterFont(::GetModuleHandleW(nullptr), false); // as on most machines
    form.LetterMemo.SetText(L"Frohe Weihnachten\r\n"
                            L"\x039A\x03B1\x03BB\x03AC \x03A7\x03C1\x03B9\x03C3\x03C4\x03BF"
                            L"\x03CD\x03B3\x03B5\x03BD\x03BD\x03B1\r\n"
                            L"\x0421 \x0420\x043E\x0436\x0434\x0435\x0441\x0442\x0432\x043E\x043C");
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterCarriedFace);
    EXPECT_EQ(form.LetterMemo.GetFont().height, 29) << "the designed size stays";
    const std::vector<int> ink = InkPerLine(form.LetterMemo, 3);
    ASSERT_GT(ink[0], 200) << "the script face's line shows";
    EXPECT_GT(ink[1], ink[0] / 3) << "the Greek line is blank or nearly so";
    EXPECT_GT(ink[2], ink[0] / 3) << "the Cyrillic line is blank or nearly so";

    // Where the machine has the designed face, it is used for every text.
    form.ScriptFont = TLetterFont(::GetModuleHandleW(nullptr), true);
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterDesignedFace);
}

} // namespace
