// The personalised block itself: building it and reading it back. Pure
// functions over byte buffers, with no window-system header, so the same code
// also builds natively for fuzzing.
#include "card/CardFile.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t MarkerSize = 4;
} // namespace

bool HasCardMarker(std::span<const uint8_t> file) {
    return file.size() >= MarkerSize &&
           std::memcmp(file.data() + file.size() - MarkerSize, CardMarker, MarkerSize) == 0;
}

namespace {
template <typename Char>
std::basic_string<Char> NormalizedLineBreaks(std::basic_string_view<Char> text) {
    std::basic_string<Char> out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c == Char('\r') || c == Char('\n')) {
            out += Char('\r');
            out += Char('\n');
            if (c == Char('\r') && i + 1 < text.size() && text[i + 1] == Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}
} // namespace

std::string NormalizeLineBreaks(std::string_view text) {
    return NormalizedLineBreaks(text);
}

std::u16string NormalizeLineBreaks(std::u16string_view text) {
    return NormalizedLineBreaks(text);
}

CardBlockRead ReadCardBlock(std::span<const uint8_t> file) {
    CardBlockRead r;
    if (!HasCardMarker(file))
        return r;
    r.personal = true;
    const size_t size = file.size();
    if (size < MarkerSize + 1)
        return r;
    r.language = file[size - MarkerSize - 1] == CardLanguageGerman ? 0 : 1;
    if (size < CardBlockSize)
        return r;
    const uint8_t* start = file.data() + size - CardBlockSize;
    const uint8_t* end = std::find(start, start + CardTextArea, uint8_t{0});
    r.text = NormalizeLineBreaks(
        std::string_view(reinterpret_cast<const char*>(start), static_cast<size_t>(end - start)));
    return r;
}

std::optional<Bytes> BuildCardFile(std::span<const uint8_t> source, bool sourceIsPersonal,
                                   std::string_view text, int language, CardBuildError* error) {
    auto fail = [&](CardBuildError e) -> std::optional<Bytes> {
        if (error)
            *error = e;
        return std::nullopt;
    };
    if (text.size() > MaxCardTextBytes)
        return fail(CardBuildError::TextTooLong);
    if (sourceIsPersonal && source.size() < CardBlockSize)
        return fail(CardBuildError::ImageTooSmall);
    const size_t image = sourceIsPersonal ? source.size() - CardBlockSize : source.size();

    Bytes out;
    out.reserve(image + CardBlockSize);
    out.insert(out.end(), source.begin(), source.begin() + static_cast<std::ptrdiff_t>(image));
    out.insert(out.end(), text.begin(), text.end());
    out.resize(image + CardTextArea, 0);
    out.push_back(language == 0 ? CardLanguageGerman : CardLanguageEnglish);
    out.insert(out.end(), CardMarker, CardMarker + MarkerSize);
    if (error)
        *error = CardBuildError::None;
    return out;
}
