#include "card/CardText.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The code point at text[i] and how many units it takes.
char32_t CodePointAt(std::u16string_view text, size_t i, size_t& units) {
    const char16_t c = text[i];
    units = 1;
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
        units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
    }
    if (IsHighSurrogate(c) || IsLowSurrogate(c))
        return Replacement;
    return c;
}

size_t Utf8Length(char32_t c) {
    return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

// The UTF-8 length of a text and whether it is all ASCII.
struct Measure {
    size_t utf8 = 0;
    bool ascii = true;
    void Add(char32_t c) {
        utf8 += Utf8Length(c);
        ascii = ascii && c < 0x80;
    }
    size_t Stored() const { return ascii ? utf8 : CardUtf8Mark.size() + utf8; }
};

Measure MeasureText(std::u16string_view text) {
    Measure m;
    for (size_t i = 0, units = 0; i < text.size(); i += units)
        m.Add(CodePointAt(text, i, units));
    return m;
}

} // namespace

std::string EncodeCardText(std::u16string_view text) {
    const Measure m = MeasureText(text);
    std::string out;
    out.reserve(m.Stored());
    if (!m.ascii)
        out += CardUtf8Mark;
    for (size_t i = 0, units = 0; i < text.size(); i += units)
        AppendUtf8(out, CodePointAt(text, i, units));
    return out;
}

size_t StoredCardTextBytes(std::u16string_view text) {
    return MeasureText(text).Stored();
}

std::optional<std::u16string> DecodeMarkedCardText(std::string_view stored) {
    if (stored.substr(0, CardUtf8Mark.size()) != CardUtf8Mark)
        return std::nullopt;
    const std::string_view bytes = stored.substr(CardUtf8Mark.size());
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const size_t length = b < 0x80                 ? 1
                              : b >= 0xC2 && b <= 0xDF ? 2
                              : b >= 0xE0 && b <= 0xEF ? 3
                              : b >= 0xF0 && b <= 0xF4 ? 4
                                                       : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        bool valid = length > 0 && i + length <= bytes.size();
        for (size_t k = 1; valid && k < length; ++k) {
            const auto t = static_cast<unsigned char>(bytes[i + k]);
            valid = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        // No overlong forms, no surrogates, nothing beyond U+10FFFF.
        if (valid && ((length == 3 && (c < 0x800 || (c >= 0xD800 && c <= 0xDFFF))) ||
                      (length == 4 && (c < 0x10000 || c > 0x10FFFF))))
            valid = false;
        if (!valid) {
            AppendUtf16(out, Replacement);
            ++i;
            continue;
        }
        AppendUtf16(out, c);
        i += length;
    }
    return out;
}
