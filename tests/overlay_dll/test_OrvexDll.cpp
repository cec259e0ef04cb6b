// Orvex.dll seen from outside: client programs that know only the C header
// run as child processes, once under a debugger that collects their debugger
// output, with and without the debug marker file.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct ClientRun {
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<std::string> lines;        // standard output
    std::vector<std::string> debugStrings; // OutputDebugString texts
};

std::string Directory() {
    char path[MAX_PATH];
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const std::string& name) {
    return ::GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadRemoteString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    std::string text;
    if (info.fUnicode || info.nDebugStringLength == 0)
        return text;
    std::vector<char> buffer(info.nDebugStringLength);
    SIZE_T got = 0;
    if (::ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), buffer.size(), &got))
        text.assign(buffer.data(), strnlen(buffer.data(), got));
    return text;
}

// Runs bin/<exe> with its standard output on a pipe, as its debugger.
ClientRun RunClient(const std::string& exe, const std::string& arguments = "") {
    ClientRun run;
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &sa, 1 << 16))
        return run;
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::string path = Directory() + exe;
    std::string command = "\"" + path + "\"";
    if (!arguments.empty())
        command += " " + arguments;
    BOOL started =
        ::CreateProcessA(path.c_str(), command.data(), nullptr, nullptr, TRUE,
                         DEBUG_ONLY_THIS_PROCESS, nullptr, Directory().c_str(), &si, &pi);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return run;
    }
    bool firstBreakpoint = true;
    for (bool done = false; !done;) {
        DEBUG_EVENT ev{};
        if (!::WaitForDebugEvent(&ev, 30000))
            break;
        DWORD status = DBG_CONTINUE;
        switch (ev.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (ev.u.CreateProcessInfo.hFile)
                ::CloseHandle(ev.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (ev.u.LoadDll.hFile)
                ::CloseHandle(ev.u.LoadDll.hFile);
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            run.debugStrings.push_back(ReadRemoteString(pi.hProcess, ev.u.DebugString));
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (ev.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT &&
                firstBreakpoint)
                firstBreakpoint = false;
            else
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT:
            done = true;
            break;
        default:
            break;
        }
        ::ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, status);
    }
    ::WaitForSingleObject(pi.hProcess, 30000);
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
    // The client has ended, so all it wrote is in the pipe: read what is there
    // rather than wait for the end of the pipe, which a process the system
    // started alongside the client (64-bit Wine does) may hold open.
    std::string out;
    char buffer[4096];
    DWORD available = 0, n = 0;
    while (::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ::ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr) &&
           n > 0)
        out.append(buffer, n);
    ::CloseHandle(readEnd);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    run.lines = SplitLines(out);
    return run;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines)
        if (l == line)
            return true;
    return false;
}

// The marker and the log of one client program, removed before and after.
class DebugFiles {
public:
    DebugFiles(const std::string& exe, bool marker)
        : marker_(Directory() + exe + ".debug"), log_(Directory() + "Orvex.log") {
        ::DeleteFileA(log_.c_str());
        ::DeleteFileA(marker_.c_str());
        if (marker)
            std::ofstream(marker_) << "";
    }
    ~DebugFiles() {
        ::DeleteFileA(marker_.c_str());
        ::DeleteFileA(log_.c_str());
    }
    const std::string& Log() const { return log_; }

private:
    std::string marker_, log_;
};

const char* const Clients[] = {"orvex_client_linked.exe", "orvex_client_loader.exe"};

std::string Status(int id, int status) {
    return "message 8029 " + std::to_string(id) + " " + std::to_string(status);
}

TEST(OrvexDllClient, CallsTheFunctionsAndStaysSilentWithoutMarker) {
    for (const char* exe : Clients) {
        SCOPED_TRACE(exe);
        DebugFiles files(exe, false);
        ClientRun run = RunClient(exe);
        ASSERT_EQ(run.exitCode, 0u);
        std::vector<std::string> expected{"clear 0",
                                          "callback 1",
                                          "rectangle 1",
                                          "ellipse 2",
                                          "hide 1",
                                          "unknown-id 0",
                                          "unknown-operation 0",
                                          Status(1, 0x41),
                                          Status(2, 0x41),
                                          Status(1, 0x10),
                                          "clear 2",
                                          Status(1, 0x40),
                                          Status(2, 0x40),
                                          "rectangle 3",
                                          Status(3, 0x41)};
        if (std::string(exe) == "orvex_client_loader.exe") {
            // Freeing the DLL ends the library, which removes the last item.
            expected.push_back("freed");
            expected.push_back(Status(3, 0x40));
        }
        EXPECT_EQ(run.lines, expected);
        EXPECT_TRUE(run.debugStrings.empty()) << run.debugStrings.front();
        EXPECT_FALSE(Exists(files.Log()));
    }
}

TEST(OrvexDllDebugLog, MarkerGivesDebuggerOutputAndLogFile) {
    for (const char* exe : Clients) {
        SCOPED_TRACE(exe);
        DebugFiles files(exe, true);
        ClientRun run = RunClient(exe);
        ASSERT_EQ(run.exitCode, 0u);
        ASSERT_FALSE(run.debugStrings.empty());
        EXPECT_EQ(run.debugStrings.front().rfind("Orvex-Transparent.DLL [", 0), 0u);
        EXPECT_TRUE(EndsWith(run.debugStrings.front(), "] : DLL initialized"));
        EXPECT_TRUE(EndsWith(run.debugStrings.back(), "] : DLL finalized"));

        std::string text = ReadFile(files.Log());
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(EndsWith(text, "DLL finalized\r\n"));
        std::vector<std::string> log = SplitLines(text);
        EXPECT_TRUE(EndsWith(log.front(), "] : DLL initialized"));
        EXPECT_TRUE(EndsWith(log.back(), "] : DLL finalized"));
        // Every line written to the debugger is in the log, in the same order
        // (only the tick counts may differ).
        ASSERT_EQ(log.size(), run.debugStrings.size());
        for (size_t i = 0; i < log.size(); ++i) {
            std::string a = log[i].substr(log[i].find("] : "));
            std::string b = run.debugStrings[i].substr(run.debugStrings[i].find("] : "));
            EXPECT_EQ(a, b);
        }
        EXPECT_TRUE(EndsWith(log.at(1), "] : Orvex_Clear"));
        EXPECT_TRUE(EndsWith(log.at(2), "] : Orvex_Clear [0]"));
        EXPECT_TRUE(EndsWith(log.at(3), "] : Orvex_Rectangle"));
        EXPECT_TRUE(EndsWith(log.at(4), "] :   Rect(100/100/200/150)"));
        EXPECT_TRUE(EndsWith(log.at(5), "] :   Color = 16711680 = RGB(0/0/255)"));
    }
}

// The SDK's example client: drawn items, a real click on its box (the pointer
// moved there and the button pressed by the example itself) and a clean end.
TEST(OrvexSdkExample, DrawsReceivesTheClickOnItsBoxAndCleansUp) {
    ClientRun run = RunClient("orvex_example.exe", "--click");
    ASSERT_EQ(run.exitCode, 0u) << (run.lines.empty() ? "" : run.lines.back());
    const std::vector<std::string> start(run.lines.begin(),
                                         run.lines.begin() + std::min<size_t>(run.lines.size(), 7));
    EXPECT_EQ(start, (std::vector<std::string>{"clear 0", "box 1", "text 2", "line 3", "polyline 4",
                                               "filled 1", "cursor 1"}));
    for (int id = 1; id <= 4; ++id)
        EXPECT_TRUE(Contains(run.lines, "status " + std::to_string(id) + " 0x41")) << id;
    EXPECT_TRUE(Contains(run.lines, "click 1 at 260/240"));
    EXPECT_FALSE(Contains(run.lines, "no click"));
    // The click ends the wait; the clear removes all four items, each announced.
    auto clear = std::find(run.lines.begin(), run.lines.end(), "clear 4");
    ASSERT_NE(clear, run.lines.end());
    EXPECT_LT(std::find(run.lines.begin(), run.lines.end(), "click 1 at 260/240"), clear);
    for (int id = 1; id <= 4; ++id)
        EXPECT_NE(std::find(clear, run.lines.end(), "status " + std::to_string(id) + " 0x40"),
                  run.lines.end())
            << id;
}

} // namespace
