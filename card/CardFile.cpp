#include "card/CardFile.h"

#include <windows.h>

#include <algorithm>

#include "card/CardText.h"
#include "ui/Handles.h"
#include "ui/Strings.h"

namespace {

// Opens an existing file while others may read, write and delete it.
ui::File OpenShared(const std::wstring& path, DWORD access) {
    return ui::File(::CreateFileW(path.c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}
} // namespace

std::optional<Bytes> ReadWholeFile(const std::wstring& path) {
    ui::File f = OpenShared(path, GENERIC_READ);
    if (!f)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(f.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return std::nullopt;
    Bytes data(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < data.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(data.size() - done, 1 << 20));
        if (!::ReadFile(f.Get(), data.data() + done, want, &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return data;
}

std::optional<Bytes> ReadFileTail(const std::wstring& path, size_t count) {
    ui::File f = OpenShared(path, GENERIC_READ);
    if (!f)
        return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(f.Get(), &size))
        return std::nullopt;
    const size_t n = std::min<ULONGLONG>(size.QuadPart, count);
    LARGE_INTEGER at{};
    at.QuadPart = size.QuadPart - static_cast<LONGLONG>(n);
    if (!::SetFilePointerEx(f.Get(), at, nullptr, FILE_BEGIN))
        return std::nullopt;
    Bytes data(n);
    DWORD got = 0;
    if (n > 0 &&
        (!::ReadFile(f.Get(), data.data(), static_cast<DWORD>(n), &got, nullptr) || got != n))
        return std::nullopt;
    return data;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    auto identity = [](const std::wstring& p, BY_HANDLE_FILE_INFORMATION& info) {
        ui::File f = OpenShared(p, 0);
        return f && ::GetFileInformationByHandle(f.Get(), &info);
    };
    BY_HANDLE_FILE_INFORMATION ia{}, ib{};
    if (!identity(a, ia) || !identity(b, ib))
        return false;
    return ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
           ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

bool ReplaceFileWith(const std::wstring& path, std::span<const uint8_t> bytes) {
    // A read-only file (or a folder) is never replaced, whether or not the
    // file system would let the rename below do it.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (path.empty() || (attributes != INVALID_FILE_ATTRIBUTES &&
                         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))))
        return false;
    const std::wstring temp = path + L".saving";
    {
        ui::File f(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f)
            return false;
        size_t done = 0;
        bool ok = true;
        while (ok && done < bytes.size()) {
            DWORD put = 0;
            DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            ok = ::WriteFile(f.Get(), bytes.data() + done, want, &put, nullptr) && put == want;
            done += put;
        }
        if (ok)
            ok = ::FlushFileBuffers(f.Get()) != 0;
        if (!ok) {
            f.Reset();
            ::DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!::MoveFileExW(temp.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

CardBlockRead ReadCardFileBlock(const std::wstring& path) {
    std::optional<Bytes> tail = ReadFileTail(path, CardBlockSize);
    return tail ? ReadCardBlock(*tail) : CardBlockRead{};
}

namespace {
// The toolkit's wide strings are UTF-16 on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
std::u16string_view AsUtf16(const std::wstring& text) {
    return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}
} // namespace

std::string StoredCardText(const std::wstring& text) {
    return EncodeCardText(AsUtf16(text));
}

std::wstring ShownCardText(const std::string& stored) {
    if (std::optional<std::u16string> text = DecodeMarkedCardText(stored))
        return std::wstring(reinterpret_cast<const wchar_t*>(text->data()), text->size());
    return ui::FromAnsi(stored);
}

std::wstring NormalizeLineBreaks(const std::wstring& text) {
    const std::u16string normal = NormalizeLineBreaks(AsUtf16(text));
    return std::wstring(reinterpret_cast<const wchar_t*>(normal.data()), normal.size());
}

size_t StoredCardTextBytes(const std::wstring& text) {
    return StoredCardTextBytes(AsUtf16(text));
}

CardSaveResult SaveCardFile(const std::wstring& source, bool sourceIsPersonal,
                            std::string_view storedText, int language, const std::wstring& target) {
    if (storedText.size() > MaxCardTextBytes)
        return CardSaveResult::TextTooLong;
    if (SameFile(source, target))
        return CardSaveResult::Failed;
    std::optional<Bytes> program = ReadWholeFile(source);
    if (!program)
        return CardSaveResult::Failed;
    std::optional<Bytes> card = BuildCardFile(*program, sourceIsPersonal, storedText, language);
    if (!card || !ReplaceFileWith(target, *card))
        return CardSaveResult::Failed;
    return CardSaveResult::Saved;
}
