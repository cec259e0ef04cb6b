// The soak of the overlay: many items of every kind made and deleted through
// the Orvex_ functions, and many clears, with the handles and the memory the
// process holds read before and after. Shared by the soak test (small counts)
// and the soak benchmark (the full counts).
#pragma once

#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <cstdint>
#include <string>

namespace soak {

struct Usage {
    long handles = 0;     // held by the program's handle owners
    DWORD gdiObjects = 0; // as the system counts them (0 where it does not)
    SIZE_T privateBytes = 0;
};

inline Usage Measure() {
    Usage u;
    u.handles = ui::LiveHandleCount();
    u.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc))
        u.privateBytes = (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage);
    return u;
}

enum Kind { Point, Line, Polyline, Rectangle, Ellipse, Text, BitmapFile, BitmapResource, Kinds };

inline const char* KindName(int k) {
    static const char* names[] = {"point",   "line", "polyline",    "rectangle",
                                  "ellipse", "text", "bitmap file", "bitmap resource"};
    return names[k];
}

// Makes one item of a kind; its ID, or the failure code.
inline int32_t MakeItem(int kind, int i, const std::string& bitmapFile) {
    const LONG x = i % 900, y = (i * 7) % 700;
    const COLORREF c = RGB(i % 256, 40, 200);
    static const POINT zigzag[5] = {{0, 0}, {20, 10}, {40, 0}, {60, 10}, {80, 0}};
    POINT pts[5];
    switch (kind) {
    case Point:
        return Orvex_Point(POINT{x, y}, 1 + i % 3, c);
    case Line:
        return Orvex_Line(POINT{x, y}, POINT{x + 40, y + 25}, 1 + i % 4, c);
    case Polyline:
        for (int k = 0; k < 5; ++k)
            pts[k] = POINT{zigzag[k].x + x, zigzag[k].y + y};
        return Orvex_Polyline(pts, 5, 2, c);
    case Rectangle:
        return Orvex_Rectangle(RECT{x, y, x + 30, y + 20}, c);
    case Ellipse:
        return Orvex_Ellipse(RECT{x, y, x + 30, y + 20}, c);
    case Text:
        return Orvex_Text(POINT{x, y}, "Frohes Fest", "Arial", 10, i & 1, 0, c);
    case BitmapFile:
        return Orvex_BitmapByFile(POINT{x, y}, bitmapFile.c_str(), RGB(255, 255, 255));
    default:
        return Orvex_BitmapByResource(
            POINT{x, y},
            static_cast<int32_t>(reinterpret_cast<intptr_t>(::GetModuleHandleW(nullptr))),
            "SNOWFLAKE", RGB(255, 255, 255));
    }
}

struct Result {
    long made = 0, failed = 0, deleteFailed = 0, clears = 0, clearedItems = 0;
};

// perKind items of every kind, made and deleted eight at a time; about
// every paintEvery items (at least 8) the overlay is repainted with the eight
// alive then. Then `clears`
// rounds of three items made and the overlay cleared.
inline Result Run(int perKind, int clears, int paintEvery, const std::string& bitmapFile) {
    Result r;
    TTransparentForm* form = TransparentForm();
    for (int kind = 0; kind < Kinds; ++kind) {
        int32_t alive[8] = {};
        int n = 0;
        for (int i = 0; i < perKind; ++i) {
            const int32_t id = MakeItem(kind, i, bitmapFile);
            if (id <= 0) {
                ++r.failed;
                continue;
            }
            ++r.made;
            alive[n++] = id;
            if (n == 8 || i + 1 == perKind) {
                if (form && paintEvery >= 8 && (i / 8) % (paintEvery / 8) == 0)
                    form->RebuildWindowShape();
                for (int k = 0; k < n; ++k)
                    if (Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, alive[k], 0, 0, 0) !=
                        1)
                        ++r.deleteFailed;
                n = 0;
            }
        }
    }
    for (int c = 0; c < clears; ++c) {
        for (int k = 0; k < 3; ++k)
            MakeItem((c + k) % Kinds, c, bitmapFile);
        if (form && paintEvery > 0 && c % 50 == 0)
            form->RebuildWindowShape();
        const int32_t removed = Orvex_Clear();
        if (removed >= 0) {
            ++r.clears;
            r.clearedItems += removed;
        }
    }
    if (form)
        form->RebuildWindowShape();
    return r;
}

// A small BMP file (24 bits, 8 x 6, white border) for the file items.
inline bool WriteSoakBitmap(const std::wstring& path) {
    const int w = 8, h = 6, stride = 24;
    std::string bmp(54 + stride * h, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k)
            bmp[at + k] = static_cast<char>((v >> (8 * k)) & 0xFF);
    };
    bmp[0] = 'B';
    bmp[1] = 'M';
    put32(2, static_cast<uint32_t>(bmp.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    bmp[26] = 1;
    bmp[28] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            for (int k = 0; k < 3; ++k)
                bmp[54 + y * stride + x * 3 + k] = static_cast<char>(edge ? 0xFF : 0x20 * k);
        }
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    const bool ok = ::WriteFile(f, bmp.data(), static_cast<DWORD>(bmp.size()), &put, nullptr) &&
                    put == bmp.size();
    ::CloseHandle(f);
    return ok;
}

} // namespace soak
