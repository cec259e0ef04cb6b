// The full soak: 100,000 items of every kind made and deleted through the
// Orvex_ functions and the overlay cleared 1,000 times, printing the time and
// the handles and memory before and after.
//   wine build/bin/soak_bench.exe [items per kind] [clears]
#include "bench/soak_run.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int perKind = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int clears = argc > 2 ? std::atoi(argv[2]) : 1000;
    OrvexLibraryStart();
    wchar_t dir[MAX_PATH];
    ::GetTempPathW(MAX_PATH, dir);
    const std::wstring bmp = std::wstring(dir) + L"orvex_soak.bmp";
    if (!soak::WriteSoakBitmap(bmp)) {
        std::printf("cannot write %ls\n", bmp.c_str());
        return 1;
    }
    std::string bmpAnsi;
    for (wchar_t c : bmp)
        bmpAnsi += static_cast<char>(c);
    Orvex_Clear();
    soak::Run(50, 20, 16, bmpAnsi); // warm-up: fonts, the window's picture
    const soak::Usage before = soak::Measure();
    const DWORD start = ::GetTickCount();
    const soak::Result r = soak::Run(perKind, clears, 1024, bmpAnsi);
    const DWORD ms = ::GetTickCount() - start;
    const soak::Usage after = soak::Measure();
    std::printf("soak: %d per kind x %d kinds, %d clears in %lu ms\n", perKind, soak::Kinds, clears,
                static_cast<unsigned long>(ms));
    std::printf("  made %ld, failed %ld, delete failures %ld, clears %ld (%ld items)\n", r.made,
                r.failed, r.deleteFailed, r.clears, r.clearedItems);
    std::printf("  handles held  %ld -> %ld\n", before.handles, after.handles);
    std::printf("  GDI objects   %lu -> %lu\n", static_cast<unsigned long>(before.gdiObjects),
                static_cast<unsigned long>(after.gdiObjects));
    std::printf("  private bytes %lu -> %lu\n", static_cast<unsigned long>(before.privateBytes),
                static_cast<unsigned long>(after.privateBytes));
    ::DeleteFileW(bmp.c_str());
    OrvexLibraryEnd();
    const bool ok = r.failed == 0 && r.deleteFailed == 0 && after.handles == before.handles;
    std::printf("%s\n", ok ? "soak: ok" : "soak: FAILED");
    return ok ? 0 : 1;
}
