// The Letter window's texts in both languages and the homepage addresses.
#include <gtest/gtest.h>

#include "card/LetterTexts.h"

namespace {

std::vector<std::wstring> Lines(const std::wstring& text) {
    std::vector<std::wstring> out;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(L"\r\n", start);
        out.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos)
            return out;
        start = end + 2;
    }
}

TEST(LetterTexts, LanguagesCaptionsAndAddresses) {
    // Any index other than 0 is English.
    for (int english : {1, 2, -1}) {
        EXPECT_STREQ(CaptionsFor(english).save, L"Save");
        EXPECT_STREQ(CaptionsFor(english).createOwnCard, L"Write your own card ...");
        EXPECT_EQ(HelpInfoLines(english).size(), 9u);
        EXPECT_EQ(CardHomepage(english), CardHomepage(1));
    }
    EXPECT_STREQ(CaptionsFor(0).createOwnCard, L"Eigene Karte schreiben ...");
    EXPECT_STREQ(CaptionsFor(0).homepage, L"Homepage von Frostvale-Card");
    EXPECT_EQ(HelpInfoLines(0).size(), 8u);
    EXPECT_EQ(HelpSdkLines(0).size(), 2u);
    EXPECT_EQ(HelpSdkLines(1).size(), 2u);
    EXPECT_TRUE(HelpInfoLines(0)[1].empty());
    EXPECT_TRUE(HelpInfoLines(1)[2].empty());

    // Both card pages carry the version; the pages differ by language.
    for (int lang : {0, 1}) {
        EXPECT_NE(CardHomepage(lang).find("?Cardversion=1.0.1.1"), std::string::npos);
        EXPECT_EQ(CardHomepage(lang).rfind("https://", 0), 0u);
    }
    EXPECT_NE(CardHomepage(0), CardHomepage(1));
    EXPECT_NE(LibraryHomepage(0), LibraryHomepage(1));
    EXPECT_STRNE(CardSavedMessage(0), CardSavedMessage(1));
    EXPECT_STRNE(CardNotSavedMessage(0), CardNotSavedMessage(1));

    // The greeting: eight lines, the third and the seventh ending with a space.
    std::vector<std::wstring> lines = Lines(InitialLetterText());
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0], L"Hallo");
    EXPECT_TRUE(lines[1].empty());
    EXPECT_EQ(lines[2].back(), L' ');
    EXPECT_EQ(lines[6].back(), L' ');
    EXPECT_EQ(lines[7], L"dann Ihren Verwandten und Freunden");
}

} // namespace
