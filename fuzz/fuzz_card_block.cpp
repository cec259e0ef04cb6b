// The personalised block reader on any file tail, and the writer's output read
// back: the reader must never step outside the file, and a block the writer
// made must give back exactly its text and language.
#include "card/CardFile.h"
#include "fuzz/fuzz_check.h"

#include <algorithm>
#include <cstring>

namespace {

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
