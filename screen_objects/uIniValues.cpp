#include "screen_objects/uIniValues.h"

#include <windows.h>

namespace {

// The copy handed to the system: never longer than the argument buffer.
std::wstring Cut(const std::wstring& text) {
    return text.size() > IniArgumentLength ? text.substr(0, IniArgumentLength) : text;
}

} // namespace

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
