// The personalised card file: a copy of the program image followed by a
// 1000-byte block holding the greeting text (CR LF line breaks; ASCII, or
// UTF-8 after its byte order mark, or in older cards the saving machine's
// ANSI code page: card/CardText.h), zero bytes, the language byte "D" or "E"
// and the marker "UDEF".
//
// The block is built and read by pure functions over byte buffers; the file
// functions below only move bytes between buffers and disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr size_t CardBlockSize = 1000;
// The text and its zero bytes fill the first 995 bytes of the block.
constexpr size_t CardTextArea = 995;
// At least one zero byte must follow the text for the reader to find its end.
constexpr size_t MaxCardTextBytes = CardTextArea - 1;
inline constexpr char CardMarker[] = "UDEF";
constexpr char CardLanguageGerman = 'D';
constexpr char CardLanguageEnglish = 'E';

using Bytes = std::vector<uint8_t>;

// What the reader found at the end of a file. `personal` is set as soon as the
// marker is seen; language and text only when their bytes could be read.
struct CardBlockRead {
    bool personal = false;
    std::optional<int> language; // 0 German, 1 English
    std::optional<std::string> text;
};

// True when the file's last four bytes are the marker.
bool HasCardMarker(std::span<const uint8_t> file);

// Reads the personalised block at the end of a file. The text is taken from
// the 995 text bytes only, up to the first zero byte, with lone CR or LF
// turned into CR LF.
CardBlockRead ReadCardBlock(std::span<const uint8_t> file);

// Turns every lone CR and every lone LF into CR LF; CR LF stays as it is.
std::string NormalizeLineBreaks(std::string_view text);
std::u16string NormalizeLineBreaks(std::u16string_view text);

enum class CardBuildError {
    None,
    TextTooLong,  // more than MaxCardTextBytes bytes
    ImageTooSmall // a personalised source shorter than its own block
};

// The new card: the program image (the source less its old block when it is
// personalised), the text, zero bytes up to 995, the language byte and the marker.
std::optional<Bytes> BuildCardFile(std::span<const uint8_t> source, bool sourceIsPersonal,
                                   std::string_view text, int language,
                                   CardBuildError* error = nullptr);

// Reads a whole file, sharing it with every other reader and writer.
std::optional<Bytes> ReadWholeFile(const std::wstring& path);
// The last `count` bytes of a file (all of it when it is shorter).
std::optional<Bytes> ReadFileTail(const std::wstring& path, size_t count);
// True when both paths name the same existing file.
bool SameFile(const std::wstring& a, const std::wstring& b);

// Writes a file beside the target and then puts it in the target's place, so a
// failure never leaves a half-written file under the target's name. False on
// any error; the target is then unchanged.
bool ReplaceFileWith(const std::wstring& path, std::span<const uint8_t> bytes);

// The block of a program file as the Letter window reads it at every showing;
// a file that cannot be read counts as not personalised.
CardBlockRead ReadCardFileBlock(const std::wstring& path);

// The stored bytes of a text for the text as the user typed it (card/CardText.h),
// and the text stored bytes show: UTF-8 after its mark, else the bytes in
// this machine's ANSI code page, as every card saved before the mark reads.
std::string StoredCardText(const std::wstring& text);
std::wstring ShownCardText(const std::string& stored);
// How many bytes StoredCardText(text) takes.
size_t StoredCardTextBytes(const std::wstring& text);
// NormalizeLineBreaks for the toolkit's wide strings.
std::wstring NormalizeLineBreaks(const std::wstring& text);

enum class CardSaveResult {
    Saved,
    TextTooLong, // the text does not fit the block; nothing was written
    Failed       // the source could not be read or the target not written
};

// Writes a new card at `target`: the program `source` (less its block when
// personalised) followed by a block with the text and the language. The
// running program file is never written: a target naming the source fails.
CardSaveResult SaveCardFile(const std::wstring& source, bool sourceIsPersonal,
                            std::string_view storedText, int language, const std::wstring& target);
