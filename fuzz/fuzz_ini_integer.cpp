// The settings-file integer conversion on any text, checked against a
// straightforward reading of the same rules.
#include "fuzz/fuzz_check.h"
#include "screen_objects/uIniValues.h"

#include <cstdint>
#include <optional>
#include <string>

namespace {

std::optional<int32_t> Reference(const std::wstring& s) {
    size_t i = s.find_first_not_of(L" \t");
    if (i == std::wstring::npos)
        return std::nullopt;
    bool negative = false;
    if (s[i] == L'+' || s[i] == L'-')
        negative = s[i++] == L'-';
    int base = 10;
    if (s.compare(i, 2, L"0x") == 0 || s.compare(i, 2, L"0X") == 0)
        base = 16, i += 2;
    else if (i < s.size() && (s[i] == L'$' || s[i] == L'x' || s[i] == L'X'))
        base = 16, ++i;
    if (i >= s.size())
        return std::nullopt;
    const std::wstring digits = base == 16 ? L"0123456789abcdefABCDEF" : L"0123456789";
    long double value = 0;
    for (; i < s.size(); ++i) {
        size_t d = digits.find(s[i]);
        if (d == std::wstring::npos)
            return std::nullopt;
        value = value * base + static_cast<long double>(d < 16 ? d : d - 6);
        if (value > 4294967296.0L)
            value = 4294967296.0L; // far outside the range either way
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Bytes as characters, so the corpus stays readable; pairs would reach
    // the rest of the UTF-16 range, but no rule depends on it.
    std::wstring text(data, data + size);
    int32_t value = 12345;
    const bool ok = IniTextToInteger(text, value);
    const std::optional<int32_t> expected = Reference(text);
    FUZZ_CHECK(ok == expected.has_value());
    if (ok)
        FUZZ_CHECK(value == *expected);
    else
        FUZZ_CHECK(value == 12345); // untouched on failure

    // Whatever was accepted round-trips through its decimal text.
    if (ok) {
        int32_t again = 0;
        FUZZ_CHECK(IniTextToInteger(std::to_wstring(value), again) && again == value);
    }
    return 0;
}
