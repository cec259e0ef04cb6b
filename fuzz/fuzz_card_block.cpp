// The personalised block reader on any file tail, and the writer's output read
// back: the reader must never step outside the file, and a block the writer
// made must give back exactly its text and language. The text's decoding
// from UTF-8 on any bytes, and any UTF-16 text stored and read back.
#include "card/CardFile.h"
#include "card/CardText.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstring>

namespace {

bool WellFormed(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
                return false;
            ++i;
        } else if (text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

// A marked text decodes to well-formed UTF-16, which is stored again as the
// same text.
void CheckDecoding(std::string_view stored) {
    std::optional<std::u16string> text = DecodeMarkedCardText(stored);
    if (!text)
        return;
    FUZZ_CHECK(WellFormed(*text));
    FUZZ_CHECK(text->size() <= stored.size());
    const std::string again = EncodeCardText(*text);
    FUZZ_CHECK(again.size() == StoredCardTextBytes(*text));
    const std::optional<std::u16string> back = DecodeMarkedCardText(again);
    FUZZ_CHECK(back ? *back == *text : again == std::string(text->begin(), text->end()));
}

// Any text as the text box holds it: a start that fits is stored, and read
// back as the user saw it (a lone surrogate as U+FFFD, every lone
// CR or LF as CR LF, as the reader makes them).
void CheckTextRoundTrip(std::span<const uint8_t> data) {
    std::u16string text(data.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    text.erase(std::remove(text.begin(), text.end(), u'\0'), text.end());
    // What the text box lets in: the longest start that fits.
    std::u16string_view kept(text);
    while (StoredCardTextBytes(kept) > MaxCardTextBytes)
        kept.remove_suffix(std::min<size_t>(kept.size(), 1 + (kept.size() - 1) / 8));
    FUZZ_CHECK(EncodeCardText(kept).size() <= MaxCardTextBytes);

    std::optional<Bytes> card = BuildCardFile({}, false, EncodeCardText(kept), 0);
    FUZZ_CHECK(card);
    CardBlockRead back = ReadCardBlock(*card);
    FUZZ_CHECK(back.text);
    std::optional<std::u16string> read = DecodeMarkedCardText(*back.text);
    const std::u16string got = read ? *read : std::u16string(back.text->begin(), back.text->end());

    std::u16string expected;
    for (size_t i = 0; i < kept.size(); ++i) {
        const char16_t c = kept[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF, low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < kept.size() && kept[i + 1] >= 0xDC00 && kept[i + 1] <= 0xDFFF) {
            expected += c;
            expected += kept[++i];
        } else if (high || low) {
            expected += u'\uFFFD';
        } else if (c == u'\r' || c == u'\n') {
            expected += u"\r\n";
            if (c == u'\r' && i + 1 < kept.size() && kept[i + 1] == u'\n')
                ++i;
        } else {
            expected += c;
        }
    }
    FUZZ_CHECK(got == expected);
}

void CheckRead(const CardBlockRead& r, std::span<const uint8_t> file) {
    FUZZ_CHECK(r.personal == HasCardMarker(file));
    if (!r.personal) {
        FUZZ_CHECK(!r.language && !r.text);
        return;
    }
    FUZZ_CHECK(r.language == (file.size() >= 5
                                  ? std::optional<int>(file[file.size() - 5] == 'D' ? 0 : 1)
                                  : std::nullopt));
    if (!r.text) {
        FUZZ_CHECK(file.size() < CardBlockSize);
        return;
    }
    const std::string& t = *r.text;
    CheckDecoding(t);
    // Only the text area is read, with every line break as CR LF.
    FUZZ_CHECK(t.size() <= 2 * CardTextArea);
    FUZZ_CHECK(t.find('\0') == std::string::npos);
    for (size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '\r')
            FUZZ_CHECK(i + 1 < t.size() && t[i + 1] == '\n');
        if (t[i] == '\n')
            FUZZ_CHECK(i > 0 && t[i - 1] == '\r');
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> file(data, size);
    CheckRead(ReadCardBlock(file), file);
    CheckDecoding(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckTextRoundTrip(file);

    // The input split into a program image and a text: the first byte picks
    // the language and where the text starts.
    if (size == 0)
        return 0;
    const int language = data[0] & 1;
    const size_t split = size > 1 ? 1 + data[0] % (size - 1) : 1;
    std::span<const uint8_t> image(data + 1, split - 1);
    std::string_view text(reinterpret_cast<const char*>(data + split), size - split);

    CardBuildError error = CardBuildError::None;
    std::optional<Bytes> card = BuildCardFile(image, false, text, language, &error);
    if (text.size() > MaxCardTextBytes) {
        FUZZ_CHECK(!card && error == CardBuildError::TextTooLong);
        return 0;
    }
    FUZZ_CHECK(card && error == CardBuildError::None);
    FUZZ_CHECK(card->size() == image.size() + CardBlockSize);
    FUZZ_CHECK(std::equal(image.begin(), image.end(), card->begin()));
    CardBlockRead back = ReadCardBlock(*card);
    CheckRead(back, *card);
    FUZZ_CHECK(back.personal && back.language == language && back.text);
    const std::string_view upToZero = text.substr(0, std::min(text.find('\0'), text.size()));
    FUZZ_CHECK(*back.text == NormalizeLineBreaks(upToZero));

    // Saving again from the new card replaces its block and keeps the image.
    std::optional<Bytes> again = BuildCardFile(*card, true, "x", 1 - language);
    FUZZ_CHECK(again && again->size() == card->size());
    FUZZ_CHECK(std::equal(image.begin(), image.end(), again->begin()));
    return 0;
}
