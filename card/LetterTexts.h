// The texts of the Letter window and the card's about window in both
// languages (index 0 German, any other value English), and the homepages.
#pragma once

#include <string>
#include <vector>

// The program's version, also carried by the card's homepage addresses.
inline constexpr wchar_t CardVersion[] = L"1.0.1.1";

struct LetterCaptions {
    const wchar_t* createOwnCard;
    const wchar_t* info;
    const wchar_t* save;
    const wchar_t* homepage;
};

LetterCaptions CaptionsFor(int language);

// The greeting the card starts with: eight lines joined with CR LF.
std::wstring InitialLetterText();

// The about window's help text and note on the overlay technology, line by line.
std::vector<std::wstring> HelpInfoLines(int language);
std::vector<std::wstring> HelpSdkLines(int language);

// Homepage addresses (ANSI, as the shell is called with them).
std::string CardHomepage(int language);
std::string LibraryHomepage(int language);

// Messages after a save.
const wchar_t* CardSavedMessage(int language);
const wchar_t* CardNotSavedMessage(int language);
const wchar_t* CardTextTooLongMessage(int language);
// The text read back from the saved card differs from the one in the window.
const wchar_t* CardTextNotExactMessage(int language);
// A save with no text.
const wchar_t* CardTextEmptyMessage(int language);

// Said while the text is edited: typing at the limit of the card (once), and
// a paste of which `leftOut` characters did not fit.
const wchar_t* CardFullMessage(int language);
std::wstring PasteCutMessage(int language, size_t leftOut);
