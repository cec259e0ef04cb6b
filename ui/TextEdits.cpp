#include "ui/TextEdits.h"

#include <algorithm>

namespace ui {

namespace {
bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
// True when a cut before text[n] would part two units that belong together.
bool SplitsPair(std::wstring_view text, size_t n) {
    return n > 0 && n < text.size() &&
           ((IsHighSurrogate(text[n - 1]) && IsLowSurrogate(text[n])) ||
            (text[n - 1] == L'\r' && text[n] == L'\n'));
}
} // namespace

TextEdit FindEdit(std::wstring_view before, std::wstring_view after) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t same = 0;
    while (same < shorter && before[same] == after[same])
        ++same;
    size_t tail = 0;
    while (tail < shorter - same &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return TextEdit{same, after.size() - same - tail};
}

size_t FittingStart(std::wstring_view inserted, const std::function<bool(size_t)>& fits) {
    size_t low = 0, high = inserted.size();
    while (low < high) {
        const size_t mid = low + (high - low + 1) / 2;
        if (fits(mid))
            low = mid;
        else
            high = mid - 1;
    }
    while (SplitsPair(inserted, low))
        --low;
    return low;
}

size_t CharacterCount(std::wstring_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!SplitsPair(text, i))
            ++count;
    }
    return count;
}

} // namespace ui
