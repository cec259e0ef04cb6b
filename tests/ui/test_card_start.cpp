// Starts the real card program and asks it to end, as a user's session would.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring ProgramDir() {
    wchar_t path[MAX_PATH];
    DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

struct FindData {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindScene(HWND h, LPARAM lp) {
    auto* d = reinterpret_cast<FindData*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(h, &pid);
    wchar_t caption[64] = {};
    ::GetWindowTextW(h, caption, 64);
    if (pid == d->pid && std::wstring(caption) == L"Winterlandschaft") {
        d->found = h;
        return FALSE;
    }
    return TRUE;
}

TEST(CardProgram, StartsAndEndsCleanlyWhenAsked) {
    std::wstring exe = ProgramDir() + L"Frostvale-Karte.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + exe + L"\"";
    ASSERT_TRUE(::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &si, &pi))
        << "cannot start " << std::string(exe.begin(), exe.end());
    ::WaitForInputIdle(pi.hProcess, 10000);

    FindData d{pi.dwProcessId, nullptr};
    for (int i = 0; i < 100 && !d.found; ++i) {
        ::EnumWindows(FindScene, reinterpret_cast<LPARAM>(&d));
        if (!d.found)
            ::Sleep(100);
    }
    ASSERT_NE(d.found, nullptr) << "the scene window did not appear";

    ::PostMessageW(d.found, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 99;
    ::GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
}

} // namespace
