// The card left running after its timeline, with the pointer moving over the
// snow: it prints the handles, GDI objects and memory every ten seconds, then
// clicks the close box and checks that the card ends.
//   wine build/bin/card_long_run.exe [seconds after the timeline] [timeline seconds]
// Defaults: 600 and 95. The card runs as Frostvale-Karte.exe does, except that
// the Letter window is not opened (the pointer may cross the letter icon).
#include "card/SceneTimeline.h"
#include "card/uTinselscreen.h"
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace {

std::atomic<bool> CardEnded{false};

struct Sample {
    long handles;
    DWORD gdi;
    SIZE_T workingSet, commit;
    int32_t lastID;
};

Sample Take() {
    Sample s{};
    s.handles = ui::LiveHandleCount();
    s.gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc)) {
        s.workingSet = pmc.WorkingSetSize;
        s.commit = pmc.PagefileUsage;
    }
    if (TTransparentForm* form = TransparentForm())
        s.lastID = form->Store().LastItemID(); // a plain read; the card only adds on its own thread
    return s;
}

// Busy blocks of every heap of the process, by block size: what the
// commit charge is made of, to tell which allocations a growth consists of.
std::map<size_t, long> HeapCensus(size_t& busyBytes) {
    std::map<size_t, long> bySize;
    busyBytes = 0;
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < count; ++i) {
        if (!::HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                ++bySize[entry.cbData];
                busyBytes += entry.cbData;
            }
        }
        ::HeapUnlock(heaps[i]);
    }
    return bySize;
}

// The block sizes whose count grew most between two censuses.
void PrintGrowth(const std::map<size_t, long>& before, const std::map<size_t, long>& after) {
    std::vector<std::pair<long, size_t>> grown;
    for (const auto& [size, n] : after) {
        const auto it = before.find(size);
        const long was = it == before.end() ? 0 : it->second;
        if (n > was)
            grown.push_back({static_cast<long>((n - was) * static_cast<long>(size)), size});
    }
    std::sort(grown.rbegin(), grown.rend());
    std::printf("heap blocks that grew most (bytes, block size, count before -> after):\n");
    for (size_t i = 0; i < grown.size() && i < 12; ++i) {
        const size_t size = grown[i].second;
        const auto it = before.find(size);
        std::printf("  %8ld  %6zu  %ld -> %ld\n", grown[i].first, size,
                    it == before.end() ? 0L : it->second, after.at(size));
    }
    std::fflush(stdout);
}

void Print(const char* label, DWORD seconds, const Sample& s) {
    std::printf("%-9s %5lu s  handles %6ld  GDI %5lu  working set %7lu KiB  commit %7lu KiB  "
                "last ID %ld\n",
                label, static_cast<unsigned long>(seconds), s.handles,
                static_cast<unsigned long>(s.gdi), static_cast<unsigned long>(s.workingSet / 1024),
                static_cast<unsigned long>(s.commit / 1024), static_cast<long>(s.lastID));
    std::fflush(stdout);
}

void Click(POINT p) {
    ::SetCursorPos(p.x, p.y);
    ::Sleep(300);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &in[0], sizeof(INPUT));
    ::Sleep(80);
    ::SendInput(1, &in[1], sizeof(INPUT));
}

// Runs beside the card's own thread: moves the pointer, samples, closes.
void Monitor(DWORD runSeconds, DWORD timelineSeconds) {
    const int W = ::GetSystemMetrics(SM_CXSCREEN), H = ::GetSystemMetrics(SM_CYSCREEN);
    const DWORD start = ::GetTickCount();
    auto elapsed = [&] { return (::GetTickCount() - start) / 1000; };
    ::Sleep(timelineSeconds * 1000);
    const Sample first = Take();
    Print("baseline", elapsed(), first);
    size_t busyFirst = 0;
    const std::map<size_t, long> censusFirst = HeapCensus(busyFirst);
    Sample low = first, high = first;
    const DWORD runStart = ::GetTickCount();
    DWORD nextSample = 10;
    long moves = 0;
    for (;;) {
        const DWORD ms = ::GetTickCount() - runStart;
        if (ms >= runSeconds * 1000 || CardEnded)
            break;
        // A slow sweep over the whole screen that keeps away from the close box.
        const double t = ms / 1000.0;
        int x = static_cast<int>((0.5 + 0.45 * std::sin(t * 0.37)) * W);
        int y = static_cast<int>((0.5 + 0.45 * std::sin(t * 0.23 + 1.0)) * H);
        if (x > W - 120 && y < 120)
            y = 160;
        ::SetCursorPos(x, y);
        ++moves;
        // This thread calls into the window system too: like any such thread
        // it looks at its own message queue, or what piles up there for it
        // would be counted as the card's memory.
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        if (ms / 1000 >= nextSample) {
            const Sample s = Take();
            Print("running", elapsed(), s);
            if (s.handles < low.handles)
                low = s;
            if (s.handles > high.handles)
                high = s;
            if (s.commit > high.commit)
                high.commit = s.commit;
            nextSample += 10;
        }
        ::Sleep(50);
    }
    const Sample last = Take();
    Print("end", elapsed(), last);
    size_t busyLast = 0;
    const std::map<size_t, long> censusLast = HeapCensus(busyLast);
    std::printf("heap blocks in use: %zu KiB -> %zu KiB\n", busyFirst / 1024, busyLast / 1024);
    PrintGrowth(censusFirst, censusLast);
    std::printf("pointer moves %ld; handles %ld .. %ld; commit %lu -> %lu KiB (highest %lu)\n",
                moves, low.handles, high.handles, static_cast<unsigned long>(first.commit / 1024),
                static_cast<unsigned long>(last.commit / 1024),
                static_cast<unsigned long>(high.commit / 1024));
    std::fflush(stdout);

    const DWORD clickTick = ::GetTickCount();
    for (int attempt = 0; attempt < 5 && !CardEnded; ++attempt) {
        POINT box = CloseBoxPosition(W);
        Click(box);
        for (int i = 0; i < 40 && !CardEnded; ++i)
            ::Sleep(100);
    }
    if (!CardEnded) {
        std::printf("close box: NO ANSWER\n");
        std::fflush(stdout);
        ::ExitProcess(2);
    }
    std::printf("close box: the card ended %lu ms after the click\n",
                static_cast<unsigned long>(::GetTickCount() - clickTick));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    const DWORD runSeconds = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 600;
    const DWORD timelineSeconds = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 95;
    std::thread monitor(Monitor, runSeconds, timelineSeconds);

    // The Letter window stays closed: the pointer may cross the letter icon.
    const int code = FrostvaleMain([](TFrostvaleForm& scene) { scene.ShowLetterModal = [] {}; });
    CardEnded = true;
    monitor.join();
    std::printf("handles after the end: %ld\n", ui::LiveHandleCount());
    return code;
}
