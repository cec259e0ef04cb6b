#include "overlay_api/uOrvexDebugLog.h"

#include "ui/Handles.h"

#include <cstring>
#include <optional>

namespace {

// The in-memory log of this process while debug mode is on.
std::optional<std::vector<std::string>> DebugLog;
DebugOutputSink OutputSink = &::OutputDebugStringA;

} // namespace

bool DebugMode() {
    return DebugLog.has_value();
}
void EnableDebugLog() {
    if (!DebugLog)
        DebugLog.emplace();
}
void DisableDebugLog() {
    DebugLog.reset();
}
const std::vector<std::string>* DebugLogLines() {
    return DebugLog ? &*DebugLog : nullptr;
}
void SetDebugOutputSink(DebugOutputSink sink) {
    OutputSink = sink ? sink : &::OutputDebugStringA;
}

std::string FormatDebugLine(DWORD tick, const std::string& message) {
    return "Orvex-Transparent.DLL [" + std::to_string(static_cast<unsigned long>(tick)) +
           "] : " + message;
}

size_t CopyForDebugOutput(const std::string& line, char (&buffer)[DebugOutputBufferSize + 1]) {
    size_t n = line.size() < DebugOutputBufferSize ? line.size() : DebugOutputBufferSize;
    std::memcpy(buffer, line.data(), n);
    buffer[n] = '\0';
    return n;
}

void WriteDebugLine(const std::string& message) {
    if (!DebugLog)
        return;
    try {
        char buffer[DebugOutputBufferSize + 1];
        CopyForDebugOutput(FormatDebugLine(::GetTickCount(), message), buffer);
        OutputSink(buffer);
        DebugLog->push_back(FormatDebugLine(::GetTickCount(), message));
    } catch (...) {
        // The log never fails a call.
    }
}

std::wstring ProgramFileName() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0)
            return std::wstring();
        if (n < name.size()) {
            name.resize(n);
            return name;
        }
        name.resize(name.size() * 2);
    }
}

std::wstring DebugMarkerFileName(const std::wstring& programFile) {
    return programFile + L".debug";
}

std::wstring DebugLogFileName(const std::wstring& programFile) {
    size_t slash = programFile.find_last_of(L"\\/:");
    std::wstring dir =
        slash == std::wstring::npos ? std::wstring() : programFile.substr(0, slash + 1);
    return dir + L"Orvex.log";
}

bool SaveDebugLog(const std::vector<std::string>& lines, const std::wstring& fileName) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    ui::File file(::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    size_t done = 0;
    while (done < text.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(text.size() - done);
        if (!::WriteFile(file.Get(), text.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
