// How the greeting's text is stored in the card block.
//
// A text of ASCII characters only is stored as it is, byte for byte, as every
// card did before. Any other text is stored as UTF-8 after the UTF-8 byte
// order mark, so it reads the same under every code page. A block without the
// mark holds text in the ANSI code page of the machine that saved it, as every
// card saved before did; the Letter window reads such a block in its own.
//
// Pure functions over UTF-16 text (as the text box holds it) and bytes, with
// no window-system header, so they also build natively for fuzzing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::string_view CardUtf8Mark = "\xEF\xBB\xBF";

// The bytes stored for a text. A lone surrogate, which no encoding carries,
// is stored as U+FFFD.
std::string EncodeCardText(std::u16string_view text);
// How many bytes EncodeCardText(text) gives, without making them.
size_t StoredCardTextBytes(std::u16string_view text);

// The text of stored bytes that begin with the mark; nothing for bytes
// without it. A byte sequence that is no UTF-8 reads as U+FFFD.
std::optional<std::u16string> DecodeMarkedCardText(std::string_view stored);
