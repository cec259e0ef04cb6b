// The Letter window's script font. The greeting is designed for "Script MT
// Bold", which many machines lack; the program carries a script font of its
// own in its file (the characters of Windows-1252), registered for this
// process only, and uses it where the designed face is missing. Characters
// the face lacks (Polish, Greek, Cyrillic, CJK, emoji) are left to the
// system's text drawing, which shows each run of them in its fallback face
// for that script while the rest of the text keeps the script face.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Handles.h"

inline constexpr wchar_t LetterDesignedFace[] = L"Script MT Bold";
inline constexpr wchar_t LetterCarriedFace[] = L"Frostvale Script";
// The carried font's resource (RCDATA) in the program file.
inline constexpr wchar_t LetterCarriedFontResource[] = L"FROSTVALESCRIPT";

// Ranges of characters a font has glyphs for, first and last inclusive.
using CharacterRanges = std::vector<std::pair<wchar_t, wchar_t>>;

// True when every character of the text that is drawn (control characters
// such as CR, LF and tab are not) lies in one of the ranges.
bool TextCovered(const CharacterRanges& ranges, std::wstring_view text);

// The face to ask for: the designed one where the machine has it or where
// the carried font is missing; else the carried one.
std::wstring ChooseLetterFace(bool designedInstalled, bool carriedLoaded);

class TLetterFont {
public:
    // Registers the carried font from the module's resource, if it is there.
    // Whether the designed face is installed is looked up unless given.
    explicit TLetterFont(HMODULE module, std::optional<bool> designedInstalled = std::nullopt);

    bool CarriedLoaded() const { return loaded_.Valid(); }
    bool DesignedInstalled() const { return designedInstalled_; }
    const CharacterRanges& CarriedRanges() const { return ranges_; }
    // The face for the greeting, whatever its text.
    std::wstring Face() const;

private:
    ui::MemoryFont loaded_;
    bool designedInstalled_ = false;
    CharacterRanges ranges_;
};

// True when a font family of this name is installed (fonts registered for
// this process only are not counted).
bool FontFamilyInstalled(const wchar_t* face);
// The characters the font of this face has glyphs for; empty when the system
// gives another face for the name.
CharacterRanges FontCharacterRanges(const wchar_t* face);
