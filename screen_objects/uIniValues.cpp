#include "screen_objects/uIniValues.h"

#include <windows.h>

#include <limits>

namespace {

// The copy handed to the system: never longer than the argument buffer.
std::wstring Cut(const std::wstring& text) {
    return text.size() > IniArgumentLength ? text.substr(0, IniArgumentLength) : text;
}

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

void WriteIniString(const std::wstring& fileName, const std::wstring& section,
                    const std::wstring& key, const std::wstring& value) {
    ::WritePrivateProfileStringW(Cut(section).c_str(), Cut(key).c_str(), Cut(value).c_str(),
                                 Cut(fileName).c_str());
}

void WriteIniInteger(const std::wstring& fileName, const std::wstring& section,
                     const std::wstring& key, int32_t value) {
    WriteIniString(fileName, section, key, std::to_wstring(value));
}

void WriteIniBool(const std::wstring& fileName, const std::wstring& section,
                  const std::wstring& key, bool value) {
    WriteIniString(fileName, section, key, value ? L"1" : L"0");
}

void DeleteIniKey(const std::wstring& fileName, const std::wstring& section,
                  const std::wstring& key) {
    ::WritePrivateProfileStringW(Cut(section).c_str(), Cut(key).c_str(), nullptr,
                                 Cut(fileName).c_str());
}

std::wstring ReadIniString(const std::wstring& fileName, const std::wstring& section,
                           const std::wstring& key, const std::wstring& defaultValue) {
    wchar_t buffer[IniReadLength + 1] = {};
    ::GetPrivateProfileStringW(Cut(section).c_str(), Cut(key).c_str(), Cut(defaultValue).c_str(),
                               buffer, static_cast<DWORD>(IniReadLength + 1),
                               Cut(fileName).c_str());
    buffer[IniReadLength] = L'\0';
    return buffer;
}

std::wstring ReadIniString(const std::wstring& fileName, const std::wstring& section,
                           const std::wstring& key, const std::wstring& defaultValue,
                           std::wstring& value) {
    value = ReadIniString(fileName, section, key, defaultValue);
    return value;
}

int32_t ReadIniInteger(const std::wstring& fileName, const std::wstring& section,
                       const std::wstring& key, int32_t defaultValue) {
    int32_t value = defaultValue;
    if (!IniTextToInteger(ReadIniString(fileName, section, key, std::to_wstring(defaultValue)),
                          value))
        return defaultValue;
    return value;
}

bool ReadIniBool(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                 bool defaultValue) {
    return ReadIniString(fileName, section, key, defaultValue ? L"1" : L"0") == L"1";
}
