// Conversion of settings-file texts to integers. Free of any window-system
// header, so the same code also builds natively for fuzzing.
#include "screen_objects/uIniValues.h"

#include <limits>

namespace {

bool HexDigitValue(wchar_t c, int& digit) {
    if (c >= L'0' && c <= L'9')
        digit = c - L'0';
    else if (c >= L'a' && c <= L'f')
        digit = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F')
        digit = c - L'A' + 10;
    else
        return false;
    return true;
}

} // namespace

bool IniTextToInteger(const std::wstring& text, int32_t& value) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == L'$' || text[i] == L'x' || text[i] == L'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == L'0' &&
               (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    // The magnitude may reach 2^31 for the most negative value.
    const int64_t limit = negative ? int64_t{1} << 31 : std::numeric_limits<int32_t>::max();
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        int digit = 0;
        if (!HexDigitValue(text[i], digit) || digit >= base)
            return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return false;
    }
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return true;
}
