// The personalised card file: the block's layout, reading it back, replacing
// an old block, the text limit, and the file code that never leaves a
// half-written card behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "card/CardFile.h"

namespace {

Bytes Image(size_t n) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>((i * 7 + 3) % 251 + 1); // no zero bytes, like no block
    return b;
}

std::string Tail(const Bytes& b, size_t n) {
    return std::string(reinterpret_cast<const char*>(b.data()) + b.size() - n, n);
}

TEST(CardFile, BlockLayoutAndRoundTrip) {
    const Bytes program = Image(5000);
    const std::string text = "Hallo\r\n\r\nfrohes Fest \r\n...";
    auto card = BuildCardFile(program, false, text, 0);
    ASSERT_TRUE(card);
    ASSERT_EQ(card->size(), 6000u);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), card->begin())) << "image unchanged";
    EXPECT_EQ(std::string(card->begin() + 5000, card->begin() + 5000 + text.size()), text);
    for (size_t i = 5000 + text.size(); i < 5995; ++i)
        ASSERT_EQ((*card)[i], 0) << i;
    EXPECT_EQ(Tail(*card, 5), "DUDEF");
    EXPECT_TRUE(HasCardMarker(*card));
    EXPECT_FALSE(HasCardMarker(program));

    CardBlockRead r = ReadCardBlock(*card);
    EXPECT_TRUE(r.personal);
    ASSERT_TRUE(r.language);
    EXPECT_EQ(*r.language, 0);
    ASSERT_TRUE(r.text);
    EXPECT_EQ(*r.text, text);

    // Saving again from the personalised card replaces the block, in English now.
    auto again = BuildCardFile(*card, true, "Merry Christmas", 1);
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), 6000u);
    EXPECT_TRUE(std::equal(program.begin(), program.end(), again->begin()));
    EXPECT_EQ(Tail(*again, 5), "EUDEF");
    r = ReadCardBlock(*again);
    EXPECT_EQ(*r.language, 1);
    EXPECT_EQ(*r.text, "Merry Christmas");

    // An empty text is a block of zeros.
    auto empty = BuildCardFile(program, false, "", 1);
    ASSERT_TRUE(empty);
    r = ReadCardBlock(*empty);
    EXPECT_TRUE(r.personal);
    EXPECT_EQ(*r.text, "");
}

TEST(CardFile, TextLimitKeepsTheBlockSound) {
    const Bytes program = Image(3000);
    std::string longest(MaxCardTextBytes, 'x');
    longest[10] = '\r';
    longest[11] = '\n';
    auto card = BuildCardFile(program, false, longest, 1);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->size(), 4000u);
    EXPECT_EQ((*card)[3000 + 994], 0) << "one zero byte ends the text";
    CardBlockRead r = ReadCardBlock(*card);
    ASSERT_TRUE(r.text);
    EXPECT_EQ(*r.text, longest);

    // One byte more would leave no zero byte: refused, nothing built.
    CardBuildError err = CardBuildError::None;
    EXPECT_FALSE(BuildCardFile(program, false, longest + "y", 1, &err));
    EXPECT_EQ(err, CardBuildError::TextTooLong);
    // A "personalised" source shorter than its own block has no image to keep.
    EXPECT_FALSE(BuildCardFile(Image(500), true, "x", 0, &err));
    EXPECT_EQ(err, CardBuildError::ImageTooSmall);

    // A block written by someone else without a zero byte: the reader stops
    // before the language byte and the marker.
    Bytes bad = program;
    bad.insert(bad.end(), 995, 'a');
    bad.push_back('D');
    bad.insert(bad.end(), {'U', 'D', 'E', 'F'});
    r = ReadCardBlock(bad);
    ASSERT_TRUE(r.text);
    EXPECT_EQ(*r.text, std::string(995, 'a'));
}

// A text in the block as the recipient's window shows it.
std::wstring RoundTrip(const std::wstring& text) {
    auto card = BuildCardFile(Image(1500), false, StoredCardText(text), 0);
    if (!card)
        return L"(not built)";
    CardBlockRead r = ReadCardBlock(*card);
    return r.text ? ShownCardText(*r.text) : L"(no text)";
}

TEST(CardFile, TextInEveryScriptReadsBackAsWritten) {
    // ASCII is stored byte for byte, as every card before; anything else as
    // UTF-8 after the byte order mark.
    EXPECT_EQ(StoredCardText(L"Merry Christmas\r\n..."), "Merry Christmas\r\n...");
    const std::wstring texts[] = {
        L"\u039A\u03B1\u03BB\u03AC \u03A7\u03C1\u03B9\u03C3\u03C4\u03BF\u03CD\u03B3\u03B5\u03BD\u03BD\u03B1", // Greek
        L"Weso\u0142ych \u015Awi\u0105t! Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144.", // Polish
        L"Vesel\u00E9 V\u00E1noce \u0159", // Czech
        L"\u0421 \u0420\u043E\u0436\u0434\u0435\u0441\u0442\u0432\u043E\u043C", // Cyrillic
        L"\u30E1\u30EA\u30FC\u30AF\u30EA\u30B9\u30DE\u30B9\r\n\u826F\u3044\u304A\u5E74\u3092", // Japanese
        L"Frohes Fest \xD83C\xDF84\r\nGr\u00FC\u00DFe",                                 // emoji, German
    };
    for (const std::wstring& text : texts) {
        const std::string stored = StoredCardText(text);
        EXPECT_EQ(stored.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(stored.size(), StoredCardTextBytes(text));
        EXPECT_EQ(RoundTrip(text), text);
    }
    // A block without the mark is read in the ANSI code page, as before: in
    // code page 1252 "Gr\xFC\xDFe" is "Grüße".
    auto old = BuildCardFile(Image(1500), false, "Gr\xFC\xDF" "e", 0);
    const std::wstring shown = ShownCardText(*ReadCardBlock(*old).text);
    wchar_t ansi[16] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "Gr\xFC\xDF" "e", -1, ansi, 16);
    EXPECT_EQ(shown, ansi);
    if (::GetACP() == 1252) {
        EXPECT_EQ(shown, L"Gr\u00FC\u00DFe");
    }
    // A lone surrogate cannot be stored and reads as U+FFFD; bytes after the
    // mark that are no UTF-8 read as U+FFFD each.
    EXPECT_EQ(RoundTrip(std::wstring{L'a', wchar_t(0xD800), L'b'}), L"a\uFFFDb");
    EXPECT_EQ(ShownCardText("\xEF\xBB\xBF" "a\xC3"), L"a\uFFFD");
}

TEST(CardFile, TextLimitCountsTheStoredBytes) {
    // 994 bytes as stored: 994 ASCII characters, 330 Japanese ones (the mark
    // and three bytes each: 993), and with one "é" 989 more ASCII ones.
    const std::wstring ascii(994, L'x'), japanese(330, L'\u65E5');
    const std::wstring mixed = L"\u00E9" + std::wstring(989, L'a');
    for (const std::wstring* text : {&ascii, &japanese, &mixed}) {
        EXPECT_LE(StoredCardTextBytes(*text), MaxCardTextBytes);
        EXPECT_EQ(RoundTrip(*text), *text);
    }
    EXPECT_EQ(StoredCardTextBytes(mixed), MaxCardTextBytes);
    for (const std::wstring& over : {ascii + L"x", japanese + L"\u65E5", mixed + L"a"}) {
        EXPECT_GT(StoredCardTextBytes(over), MaxCardTextBytes);
        CardBuildError err = CardBuildError::None;
        EXPECT_FALSE(BuildCardFile(Image(1500), false, StoredCardText(over), 0, &err));
        EXPECT_EQ(err, CardBuildError::TextTooLong);
    }
}

TEST(CardFile, ReaderEdgeCases) {
    // Not personalised: nothing is taken.
    CardBlockRead r = ReadCardBlock(Image(2000));
    EXPECT_FALSE(r.personal);
    EXPECT_FALSE(r.language);
    EXPECT_FALSE(r.text);
    EXPECT_FALSE(ReadCardBlock(Bytes{}).personal);
    EXPECT_FALSE(ReadCardBlock(Bytes{'D', 'E', 'F'}).personal);
    Bytes almost = Image(2000);
    almost.insert(almost.end(), {'U', 'D', 'E', 'f'});
    EXPECT_FALSE(ReadCardBlock(almost).personal);

    // A language byte other than "D" opens in English.
    auto card = BuildCardFile(Image(2000), false, "Hi", 0);
    (*card)[card->size() - 5] = 'X';
    r = ReadCardBlock(*card);
    EXPECT_EQ(*r.language, 1);

    // Lone LF and lone CR read back as CR LF; the text ends at the first zero.
    Bytes block = Image(2000);
    std::string raw = "eins\nzwei\rdrei\r\nvier";
    block.insert(block.end(), raw.begin(), raw.end());
    block.push_back(0);
    block.insert(block.end(), {'n', 'a', 'c', 'h'});
    block.resize(2000 + 995, 0);
    block.insert(block.end(), {'E', 'U', 'D', 'E', 'F'});
    r = ReadCardBlock(block);
    EXPECT_EQ(*r.text, "eins\r\nzwei\r\ndrei\r\nvier");
    EXPECT_EQ(NormalizeLineBreaks("\n\r\r\n"), "\r\n\r\n\r\n");

    // Shorter than a block but marked: personalised, language read, text kept.
    r = ReadCardBlock(Bytes{'x', 'D', 'U', 'D', 'E', 'F'});
    EXPECT_TRUE(r.personal);
    EXPECT_EQ(*r.language, 0);
    EXPECT_FALSE(r.text);
    r = ReadCardBlock(Bytes{'U', 'D', 'E', 'F'});
    EXPECT_TRUE(r.personal);
    EXPECT_FALSE(r.language);
}

std::wstring TempDir() {
    wchar_t buf[MAX_PATH];
    ::GetTempPathW(MAX_PATH, buf);
    std::wstring dir = std::wstring(buf) + L"frostvale-card-test";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir + L"\\";
}

TEST(CardFile, FilesAreReplacedWholeOrNotAtAll) {
    const std::wstring dir = TempDir();
    const std::wstring target = dir + L"karte.exe";
    ::DeleteFileW(target.c_str());

    Bytes first = Image(4000);
    ASSERT_TRUE(ReplaceFileWith(target, first));
    auto back = ReadWholeFile(target);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, first);

    // An existing file is replaced without a question.
    Bytes second = Image(1234);
    ASSERT_TRUE(ReplaceFileWith(target, second));
    EXPECT_EQ(*ReadWholeFile(target), second);

    // A target that cannot be replaced (a directory of that name) keeps its
    // state and no temporary file is left beside it.
    const std::wstring blocked = dir + L"blocked.exe";
    ::CreateDirectoryW(blocked.c_str(), nullptr);
    EXPECT_FALSE(ReplaceFileWith(blocked, second));
    EXPECT_EQ(::GetFileAttributesW((blocked + L".saving").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(::GetFileAttributesW(blocked.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    // A target in a folder that does not exist fails cleanly too.
    EXPECT_FALSE(ReplaceFileWith(dir + L"missing\\x.exe", second));
    EXPECT_FALSE(ReadWholeFile(dir + L"missing\\x.exe"));

    // Reading a file that another handle holds open for writing works.
    HANDLE h =
        ::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ReadWholeFile(target));
    ::CloseHandle(h);

    ::DeleteFileW(target.c_str());
    ::RemoveDirectoryW(blocked.c_str());
}

TEST(CardFile, SavingFromTheProgramFileAndReadingItBack) {
    const std::wstring dir = TempDir();
    const std::wstring program = dir + L"program.exe", card = dir + L"card.exe",
                       again = dir + L"again.exe";
    const Bytes image = Image(20000);
    ASSERT_TRUE(ReplaceFileWith(program, image));

    EXPECT_FALSE(ReadCardFileBlock(program).personal);
    EXPECT_FALSE(ReadCardFileBlock(dir + L"none.exe").personal) << "unreadable: not personalised";

    ASSERT_EQ(SaveCardFile(program, false, "Hallo\r\nWelt", 1, card), CardSaveResult::Saved);
    CardBlockRead r = ReadCardFileBlock(card);
    EXPECT_TRUE(r.personal);
    EXPECT_EQ(*r.language, 1);
    EXPECT_EQ(*r.text, "Hallo\r\nWelt");

    // From the personalised card: same size, new block, the image intact.
    ASSERT_EQ(SaveCardFile(card, true, "Zweite", 0, again), CardSaveResult::Saved);
    Bytes bytes = *ReadWholeFile(again);
    ASSERT_EQ(bytes.size(), image.size() + 1000);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), bytes.begin()));
    EXPECT_EQ(*ReadCardFileBlock(again).text, "Zweite");

    // Never over the running program file, under any spelling of its name;
    // a text that does not fit writes nothing.
    EXPECT_EQ(SaveCardFile(card, true, "x", 0, card), CardSaveResult::Failed);
    EXPECT_EQ(SaveCardFile(card, true, "x", 0, dir + L"CARD.EXE"), CardSaveResult::Failed);
    EXPECT_EQ(*ReadCardFileBlock(card).text, "Hallo\r\nWelt") << "the card itself is unchanged";
    ::DeleteFileW(again.c_str());
    EXPECT_EQ(SaveCardFile(program, false, std::string(995, 'a'), 0, again),
              CardSaveResult::TextTooLong);
    EXPECT_EQ(::GetFileAttributesW(again.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(SaveCardFile(dir + L"none.exe", false, "x", 0, again), CardSaveResult::Failed);
    EXPECT_EQ(::GetFileAttributesW(again.c_str()), INVALID_FILE_ATTRIBUTES);

    for (const std::wstring& f : {program, card, again})
        ::DeleteFileW(f.c_str());
}

} // namespace
