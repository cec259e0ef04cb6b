// What an edit of the user did to a text box's text, and how much of what it
// inserted fits under a limit: plain functions of the texts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

// The span of the new text that differs from the old one: it starts at
// `start` and is `inserted` characters long (what a paste or a key put in,
// in place of whatever it replaced).
struct TextEdit {
    size_t start = 0;
    size_t inserted = 0;
};
TextEdit FindEdit(std::wstring_view before, std::wstring_view after);

// The longest start of `inserted`, in UTF-16 units, for which `fits(n)`
// holds, given that it holds for 0 and that a longer start never fits where
// a shorter one does not. Never ends between the two halves of a surrogate
// pair or between the CR and the LF of a line break.
size_t FittingStart(std::wstring_view inserted, const std::function<bool(size_t)>& fits);

// Characters as a reader counts them: a surrogate pair is one, a CR LF is one.
size_t CharacterCount(std::wstring_view text);

} // namespace ui
