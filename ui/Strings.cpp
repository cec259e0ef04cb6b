#include "ui/Strings.h"

namespace ui {

std::string ToAnsi(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                              n, nullptr, nullptr);
    return out;
}

std::wstring FromAnsi(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    int n =
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0)
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                              n);
    return out;
}

size_t AnsiLength(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return 0;
    int n = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                  0, nullptr, nullptr);
    return n > 0 ? static_cast<size_t>(n) : 0;
}

std::vector<std::wstring> SplitLines(const std::wstring& text) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i)
            text += L"\r\n";
        text += lines[i];
    }
    return text;
}

} // namespace ui
