// Single values in a settings (INI) file, through the private-profile functions.
//
// Integers are stored as decimal text, Booleans as "1" / "0". Every string
// argument is cut to IniArgumentLength characters before the system call, and
// a read returns at most IniReadLength characters. Writes report nothing; reads
// never fail: what cannot be read or converted yields the default.
#pragma once

#include <cstdint>
#include <string>

constexpr size_t IniArgumentLength = 400;
constexpr size_t IniReadLength = 298;

void WriteIniString(const std::wstring& fileName, const std::wstring& section,
                    const std::wstring& key, const std::wstring& value);
void WriteIniInteger(const std::wstring& fileName, const std::wstring& section,
                     const std::wstring& key, int32_t value);
void WriteIniBool(const std::wstring& fileName, const std::wstring& section,
                  const std::wstring& key, bool value);
// Removes the key from the section (nothing happens when it is missing).
void DeleteIniKey(const std::wstring& fileName, const std::wstring& section,
                  const std::wstring& key);

std::wstring ReadIniString(const std::wstring& fileName, const std::wstring& section,
                           const std::wstring& key, const std::wstring& defaultValue);
// The same, also storing the text in value.
std::wstring ReadIniString(const std::wstring& fileName, const std::wstring& section,
                           const std::wstring& key, const std::wstring& defaultValue,
                           std::wstring& value);
int32_t ReadIniInteger(const std::wstring& fileName, const std::wstring& section,
                       const std::wstring& key, int32_t defaultValue);
// True exactly when the stored text is "1".
bool ReadIniBool(const std::wstring& fileName, const std::wstring& section, const std::wstring& key,
                 bool defaultValue);

// Converts a settings text to a signed 32-bit integer: leading blanks, an
// optional sign, then decimal digits or hexadecimal digits after $, x, X, 0x
// or 0X. Returns false (value untouched) for an empty text, any other
// character (trailing blanks included) or a value outside the 32-bit range.
bool IniTextToInteger(const std::wstring& text, int32_t& value);
