#include "card/CardFile.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "ui/Handles.h"

namespace {
constexpr size_t MarkerSize = 4;

// Opens an existing file while others may read, write and delete it.
ui::File OpenShared(const std::wstring& path, DWORD access) {
    return ui::File(::CreateFileW(path.c_str(), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}
} // namespace

bool HasCardMarker(std::span<const uint8_t> file) {
    return file.size() >= MarkerSize &&
           std::memcmp(file.data() + file.size() - MarkerSize, CardMarker, MarkerSize) == 0;
}

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
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

CardSaveResult SaveCardFile(const std::wstring& source, bool sourceIsPersonal,
                            std::string_view ansiText, int language, const std::wstring& target) {
    if (ansiText.size() > MaxCardTextBytes)
        return CardSaveResult::TextTooLong;
    if (SameFile(source, target))
        return CardSaveResult::Failed;
    std::optional<Bytes> program = ReadWholeFile(source);
    if (!program)
        return CardSaveResult::Failed;
    std::optional<Bytes> card = BuildCardFile(*program, sourceIsPersonal, ansiText, language);
    if (!card || !ReplaceFileWith(target, *card))
        return CardSaveResult::Failed;
    return CardSaveResult::Saved;
}
