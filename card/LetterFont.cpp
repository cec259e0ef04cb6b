#include "card/LetterFont.h"

#include <algorithm>
#include <cwchar>

bool TextCovered(const CharacterRanges& ranges, std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [&](wchar_t c) {
        if (c < L' ')
            return true;
        return std::any_of(ranges.begin(), ranges.end(),
                           [c](const auto& r) { return r.first <= c && c <= r.second; });
    });
}

std::wstring ChooseLetterFace(bool designedInstalled, bool carriedLoaded) {
    if (designedInstalled || !carriedLoaded)
        return LetterDesignedFace;
    return LetterCarriedFace;
}

namespace {

int CALLBACK CountFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

LOGFONTW FaceQuery(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return lf;
}

} // namespace

bool FontFamilyInstalled(const wchar_t* face) {
    ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
    if (!dc)
        return false;
    LOGFONTW lf = FaceQuery(face);
    bool found = false;
    ::EnumFontFamiliesExW(dc.Get(), &lf, CountFamily, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

CharacterRanges FontCharacterRanges(const wchar_t* face) {
    CharacterRanges ranges;
    ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
    LOGFONTW lf = FaceQuery(face);
    lf.lfHeight = -20;
    lf.lfWeight = FW_BOLD;
    ui::Font font(::CreateFontIndirectW(&lf));
    if (!dc || !font)
        return ranges;
    ui::Selection selected(dc.Get(), font.Get());
    wchar_t given[LF_FACESIZE] = {};
    ::GetTextFaceW(dc.Get(), LF_FACESIZE, given);
    if (std::wcscmp(given, face) != 0)
        return ranges; // another face stands in: its glyphs say nothing
    const DWORD size = ::GetFontUnicodeRanges(dc.Get(), nullptr);
    if (size < sizeof(GLYPHSET))
        return ranges;
    std::vector<BYTE> buffer(size);
    auto* set = reinterpret_cast<GLYPHSET*>(buffer.data());
    if (::GetFontUnicodeRanges(dc.Get(), set) != size)
        return ranges;
    for (DWORD i = 0; i < set->cRanges; ++i) {
        const WCRANGE& r = set->ranges[i];
        if (r.cGlyphs > 0)
            ranges.emplace_back(r.wcLow, static_cast<wchar_t>(r.wcLow + r.cGlyphs - 1));
    }
    return ranges;
}

TLetterFont::TLetterFont(HMODULE module, std::optional<bool> designedInstalled) {
    designedInstalled_ = designedInstalled.value_or(FontFamilyInstalled(LetterDesignedFace));
    HRSRC found = module ? ::FindResourceW(module, LetterCarriedFontResource, RT_RCDATA) : nullptr;
    HGLOBAL data = found ? ::LoadResource(module, found) : nullptr;
    void* bytes = data ? ::LockResource(data) : nullptr;
    const DWORD size = found ? ::SizeofResource(module, found) : 0;
    if (!bytes || size == 0)
        return;
    DWORD fonts = 0;
    loaded_.Reset(::AddFontMemResourceEx(bytes, size, nullptr, &fonts));
    if (loaded_ && fonts > 0)
        ranges_ = FontCharacterRanges(LetterCarriedFace);
    if (ranges_.empty())
        loaded_.Reset(); // the system did not take it: nothing to use
}

std::wstring TLetterFont::Face() const {
    return ChooseLetterFace(designedInstalled_, CarriedLoaded());
}
