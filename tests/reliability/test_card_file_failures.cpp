// The personalised card file when things go wrong: program files with every
// kind of malformed tail, files that cannot be read, and saves to targets that
// cannot be written (read-only, missing folder, the running card itself, a
// full disk). The reader never writes and keeps what it had; a failed save
// leaves the target as it was, no half-written file, and a clear message.
#include "reliability/reliability_support.h"

#include "card/CardFile.h"
#include "card/LetterTexts.h"
#include "card/uLetter.h"
#include "ui/Application.h"
#include "ui/Strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace reliability;

namespace {

// The file's content, or for long files its size and a checksum, so that a
// failing comparison stays readable.
std::string Summary(const std::string& bytes) {
    if (bytes.size() <= 64)
        return bytes;
    uint32_t sum = 2166136261u;
    for (char c : bytes)
        sum = (sum ^ static_cast<uint8_t>(c)) * 16777619u;
    return std::to_string(bytes.size()) + " bytes, checksum " + std::to_string(sum);
}

std::string ReadAll(const std::wstring& path) {
    std::optional<Bytes> b = ReadWholeFile(path);
    return b ? Summary(std::string(b->begin(), b->end())) : std::string("<unreadable>");
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Image(size_t n) {
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i % 200 + 1);
    return s;
}

const std::wstring StartText = L"Text vor dem Lesen";

// A Letter window over a given program file, with the dialog and the message
// box replaced.
struct Letter {
    TLetterForm form;
    std::optional<std::wstring> target;
    std::vector<std::wstring> messages;
    explicit Letter(const std::wstring& program) {
        form.ProgramFile = program;
        form.OpenAddress = [](const std::string&) {};
        form.AskSaveFile = [this] { return target; };
        form.ShowMessage = [this](const std::wstring& t, UINT) { messages.push_back(t); };
        ui::Application::Instance().CreateForm(form);
        form.LetterMemo.SetText(StartText);
    }
};

struct Tail {
    const char* what;
    std::string bytes;
    bool personal;
    int language; // after reading; the reader starts from German
    std::optional<std::string> text;
};

TEST(CardTails, MalformedTailsReadSafely) {
    const std::wstring dir = ScratchFolder(L"reliability_tails");
    const std::string x995(995, 'x');
    std::string tooShort = Image(600) + "DUDEF";
    const Tail tails[] = {
        {"empty file", "", false, 0, std::nullopt},
        {"no marker", Image(3000), false, 0, std::nullopt},
        {"marker in lower case", Image(3000) + "Eudef", false, 0, std::nullopt},
        {"marker only", "UDEF", true, 0, std::nullopt},
        {"language and marker only", "EUDEF", true, 1, std::nullopt},
        {"shorter than a block", tooShort, true, 0, std::nullopt},
        {"999 bytes", Image(994) + "EUDEF", true, 1, std::nullopt},
        {"no zero byte", Image(2000) + x995 + "EUDEF", true, 1, x995},
        {"odd language byte", Image(10) + std::string("Hi\n") + std::string(992, '\0') + "QUDEF",
         true, 1, std::string("Hi\r\n")},
        {"zero at once", Image(10) + std::string(995, '\0') + "DUDEF", true, 0, std::string()},
    };
    for (const Tail& t : tails) {
        SCOPED_TRACE(t.what);
        const std::wstring file = dir + L"\\card.exe";
        WriteBytes(file, t.bytes);
        CardBlockRead r = ReadCardFileBlock(file);
        EXPECT_EQ(r.personal, t.personal);
        EXPECT_EQ(r.text, t.text);

        Letter l(file);
        l.form.FormShow();
        EXPECT_EQ(l.form.IsPersonalCard, t.personal);
        EXPECT_EQ(l.form.Language(), t.language);
        EXPECT_EQ(l.form.LetterMemo.Text(), t.text ? ui::FromAnsi(*t.text) : StartText)
            << "without a readable text the shown one stays";
        EXPECT_EQ(ReadAll(file), Summary(t.bytes)) << "the reader never writes";
    }
}

TEST(CardTails, UnreadableProgramFiles) {
    const std::wstring dir = ScratchFolder(L"reliability_unreadable");
    const std::wstring locked = dir + L"\\locked.exe";
    WriteBytes(locked, Image(10) + std::string(995, '\0') + "EUDEF");
    ::CreateDirectoryW((dir + L"\\folder.exe").c_str(), nullptr);
    // Held open by someone who shares it with nobody.
    ui::File holder(::CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    for (const std::wstring& file : {locked, dir + L"\\folder.exe", dir + L"\\missing.exe",
                                     std::wstring(L""), std::wstring(40000, L'n')}) {
        CardBlockRead r = ReadCardFileBlock(file);
        EXPECT_FALSE(r.personal);
        Letter l(file);
        l.form.FormShow();
        EXPECT_FALSE(l.form.IsPersonalCard);
        EXPECT_EQ(l.form.Language(), 0);
        EXPECT_EQ(l.form.LetterMemo.Text(), StartText);
    }
    holder.Reset();
    EXPECT_TRUE(ReadCardFileBlock(locked).personal) << "readable again once released";
}

// A save that must fail: the message in the card's language, the target and
// the program unchanged, nothing left beside the target, the window as it was.
void ExpectFailedSave(Letter& l, const std::wstring& target, const std::string& targetBefore,
                      const wchar_t* expectedMessage) {
    const std::string program = ReadAll(l.form.ProgramFile);
    const std::wstring text = l.form.LetterMemo.Text();
    const int language = l.form.Language();
    l.target = target;
    l.form.SaveSpeedButtonClick();
    ASSERT_EQ(l.messages.size(), 1u);
    EXPECT_EQ(l.messages[0], expectedMessage);
    l.messages.clear();
    EXPECT_EQ(Exists(target) ? ReadAll(target) : std::string("<none>"), targetBefore);
    EXPECT_FALSE(Exists(target + L".saving")) << "no half-written file stays";
    EXPECT_EQ(ReadAll(l.form.ProgramFile), program);
    EXPECT_EQ(l.form.LetterMemo.Text(), text);
    EXPECT_EQ(l.form.Language(), language);
}

TEST(CardSaveFailures, UnwritableTargetsLeaveEverythingAsItWas) {
    const std::wstring dir = ScratchFolder(L"reliability_save");
    const std::wstring program = dir + L"\\program.exe";
    WriteBytes(program, Image(20000));
    Letter l(program);
    l.form.FormShow();
    l.form.LetterMemo.SetText(L"Frohe Weihnachten\r\nund ein gutes Jahr");

    // A read-only card from an earlier save.
    const std::wstring readOnly = dir + L"\\readonly.exe";
    WriteBytes(readOnly, "old card");
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    ExpectFailedSave(l, readOnly, "old card", CardNotSavedMessage(0));
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    ExpectFailedSave(l, dir + L"\\no such folder\\card.exe", "<none>", CardNotSavedMessage(0));
    ExpectFailedSave(l, program, ReadAll(program), CardNotSavedMessage(0));
    ExpectFailedSave(l, L"", "<none>", CardNotSavedMessage(0));

    // A text that does not fit the block is refused before anything is written.
    l.form.LanguageListBox.SetItemIndex(1);
    l.form.LanguageListBoxClick();
    l.form.LetterMemo.SetText(std::wstring(MaxCardTextBytes + 1, L'y'));
    ExpectFailedSave(l, dir + L"\\long.exe", "<none>", CardTextTooLongMessage(1));

    // The window still saves where it can.
    l.form.LetterMemo.SetText(L"Merry Christmas");
    l.target = dir + L"\\good.exe";
    l.form.SaveSpeedButtonClick();
    ASSERT_EQ(l.messages.size(), 1u);
    EXPECT_EQ(l.messages[0], CardSavedMessage(1));
    EXPECT_EQ(ReadCardFileBlock(dir + L"\\good.exe").text, std::string("Merry Christmas"));
}

// ORVEX_FULL_DISK_DIR names a folder on a small file system (test.sh mounts
// one when it may); a card does not fit there.
TEST(CardSaveFailures, FullDiskLeavesTheOldCard) {
    const char* fullDir = std::getenv("ORVEX_FULL_DISK_DIR");
    if (!fullDir || !*fullDir)
        GTEST_SKIP() << "no small file system given (ORVEX_FULL_DISK_DIR)";
    const std::wstring full = ui::FromAnsi(fullDir);
    const std::wstring dir = ScratchFolder(L"reliability_full");
    const std::wstring program = dir + L"\\program.exe";
    WriteBytes(program, Image(2 * 1024 * 1024));
    Letter l(program);
    l.form.FormShow();
    l.form.LetterMemo.SetText(L"Ein Gruß");

    const std::wstring target = full + L"\\card.exe";
    WriteBytes(target, "the card saved before");
    ASSERT_EQ(ReadAll(target), "the card saved before");
    ExpectFailedSave(l, target, "the card saved before", CardNotSavedMessage(0));
    ExpectFailedSave(l, full + L"\\new.exe", "<none>", CardNotSavedMessage(0));
    ::DeleteFileW(target.c_str());
}

} // namespace
