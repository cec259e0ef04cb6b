// The Letter window's script font: which face a text gets, and what the font
// the program carries can show.
#include <windows.h>

#include <gtest/gtest.h>

#include "card/LetterFont.h"
#include "card/LetterTexts.h"
#include "card/uLetter.h"

namespace {

TEST(LetterFont, FaceChoiceAndCoverage) {
    const CharacterRanges latin{{L' ', L'~'}, {L'\x00A1', L'\x00FF'}, {L'\x20AC', L'\x20AC'}};
    EXPECT_TRUE(TextCovered(latin, L"Grüße\r\n\tzum Fest: 5 \x20AC"));
    EXPECT_TRUE(TextCovered(latin, L""));
    EXPECT_FALSE(TextCovered(latin, L"\x0421\x043D\x0435\x0433")) << "Cyrillic";
    EXPECT_FALSE(TextCovered(latin, L"a\x00A0b")) << "a character between two ranges";
    EXPECT_FALSE(TextCovered({}, L"a"));

    // The designed face wherever the machine has it; the carried one only
    // where it is loaded and has every character.
    EXPECT_EQ(ChooseLetterFace(true, true, true), LetterDesignedFace);
    EXPECT_EQ(ChooseLetterFace(false, true, true), LetterCarriedFace);
    EXPECT_EQ(ChooseLetterFace(false, false, true), LetterDesignedFace);
    EXPECT_EQ(ChooseLetterFace(false, true, false), LetterDesignedFace);
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
        EXPECT_EQ(font.FaceFor(InitialLetterText()), LetterCarriedFace);
        EXPECT_EQ(font.FaceFor(L"\x0421\x043D\x0435\x0433"), LetterDesignedFace)
            << "a text the carried font cannot show goes to the system's choice";
    }
}

TEST(LetterFont, LetterWindowSwitchesFaceWithTheText) {
    TLetterForm form;
    form.ProgramFile.clear();
    form.ScriptFont = TLetterFont(::GetModuleHandleW(nullptr), false); // as on most machines
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterCarriedFace);
    form.LetterMemo.SetText(L"\x0421\x043D\x0435\x0433");
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterDesignedFace);
    form.LetterMemo.SetText(L"Frohe Weihnachten");
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterCarriedFace);
    EXPECT_EQ(form.LetterMemo.GetFont().height, 29) << "the designed size stays";

    // Where the machine has the designed face, it is used for every text.
    form.ScriptFont = TLetterFont(::GetModuleHandleW(nullptr), true);
    form.LetterMemoChange();
    EXPECT_EQ(form.LetterMemo.GetFont().face, LetterDesignedFace);
}

} // namespace
