// Conversions between the toolkit's wide strings and the 8-bit strings of the
// system's ANSI code page, and the line helpers of the text boxes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

std::string ToAnsi(const std::wstring& text, UINT codePage = CP_ACP);
std::wstring FromAnsi(const std::string& text, UINT codePage = CP_ACP);
// Bytes the text takes in the code page (no terminator).
size_t AnsiLength(const std::wstring& text, UINT codePage = CP_ACP);

// Lines of a CR LF text; a trailing CR LF gives no extra empty line.
std::vector<std::wstring> SplitLines(const std::wstring& text);
// The lines joined with CR LF, without a line break after the last one.
std::wstring JoinLines(const std::vector<std::wstring>& lines);

} // namespace ui
