// Helpers of the reliability tests: a picture of the overlay's whole state, so
// a test can say that a refused call changed nothing, and counters of the
// handles and memory a process holds.
#pragma once

#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <string>
#include <vector>

namespace reliability {

// What a caller can observe of one item.
struct ItemState {
    int32_t ID;
    bool Visible, Filled, AutoHide, AutoHidden;
    int32_t LineWidth;
    COLORREF LineColor;
    int16_t Cursor;
    bool operator==(const ItemState&) const = default;
};

struct OverlayState {
    std::vector<ItemState> Items; // in paint order
    std::vector<int32_t> DemoIDs;
    int32_t LastID = 0;
    HWND Callback = nullptr;
    bool operator==(const OverlayState&) const = default;
};

inline OverlayState Capture() {
    OverlayState s;
    TTransparentForm* form = TransparentForm();
    if (!form)
        return s;
    for (int32_t id : form->Store().ItemIDs(false)) {
        const TTransparentFormObject* item = form->Store().FindItem(id);
        const TScreenObject& o = *item->ScreenObject;
        s.Items.push_back({id, o.Visible, o.PolygonFilled, item->AutoHide, item->AutoHidden,
                           o.LineWidth, o.LineColor, item->Cursor});
    }
    s.DemoIDs = form->Store().ItemIDs(true);
    s.LastID = form->Store().LastItemID();
    s.Callback = form->Store().GetCallbackWindow();
    return s;
}

inline std::string Describe(const OverlayState& s) {
    std::string out = "last ID " + std::to_string(s.LastID) + ", items";
    for (const ItemState& i : s.Items)
        out += " " + std::to_string(i.ID) + (i.Visible ? "v" : "h") + "/w" +
               std::to_string(i.LineWidth) + "/c" + std::to_string(i.LineColor);
    return out;
}

// GDI objects of this process as the system counts them; 0 where the system
// does not keep the count.
inline DWORD GdiObjects() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

inline SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        return 0;
    return (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage);
}

// A folder of its own under the working directory, emptied first.
inline std::wstring ScratchFolder(const std::wstring& name) {
    wchar_t cwd[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    std::wstring dir = std::wstring(cwd) + L"\\" + name;
    ::CreateDirectoryW(dir.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring f = dir + L"\\" + fd.cFileName;
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(f.c_str());
            }
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    return dir;
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD put = 0;
    if (h != INVALID_HANDLE_VALUE) {
        ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
        ::CloseHandle(h);
    }
}

inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += static_cast<char>(c);
    return s;
}

} // namespace reliability
