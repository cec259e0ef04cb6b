// Cost of the overlay's repaint after one item is added, for each kind of
// item at three sizes: the whole 32-bit range, +-100,000 pixels around the
// screen's centre and a size that fits the screen. Each case runs in a
// process of its own, which is stopped after a time limit (-limit seconds,
// default 30), so an item that holds the repaint for minutes costs only the
// limit, and one that crashes is reported as failed. Prints a table of milliseconds, median of up
// to 5 repaints; run it under Wine by hand.
#include "bench/bench_clock.h"
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Handles.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Size {
    const char* name;
    int64_t half; // half the extent around the screen's centre; 0: the whole range
};
constexpr Size Sizes[] = {{"INT_MIN..INT_MAX", 0}, {"+-100,000", 100000}, {"on screen", 300}};

// The box of a size around the screen's centre, kept inside 32 bits.
RECT Box(const Size& size) {
    if (size.half == 0)
        return RECT{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    const int64_t cx = ::GetSystemMetrics(SM_CXSCREEN) / 2,
                  cy = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    auto fit = [](int64_t v) {
        return static_cast<LONG>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
    };
    return RECT{fit(cx - size.half), fit(cy - size.half), fit(cx + size.half), fit(cy + size.half)};
}

// A 24-bit picture file of 2,000 x 1,500 pixels: rings on black (the
// transparent colour), so its region has many rectangles.
std::wstring PictureFile() {
    wchar_t folder[MAX_PATH] = {}, name[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    ::GetTempFileNameW(folder, L"bnd", 0, name);
    constexpr int W = 2000, H = 1500, Stride = (W * 3 + 3) & ~3;
    std::vector<uint8_t> data(54 + static_cast<size_t>(Stride) * H, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&data[at], &v, 4); };
    data[0] = 'B';
    data[1] = 'M';
    put32(2, static_cast<uint32_t>(data.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, W);
    put32(22, H);
    data[26] = 1;
    data[28] = 24;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int dx = x - W / 2, dy = y - H / 2;
            if ((dx * dx + dy * dy) / 4000 % 2 == 0)
                data[54 + static_cast<size_t>(y) * Stride + x * 3 + 1] = 200;
        }
    ui::File file(::CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    return name;
}

struct Kind {
    const char* name;
    std::function<int32_t(TTransparentForm&, const RECT&)> add;
};

std::vector<Kind> Kinds() {
    const COLORREF c = RGB(240, 240, 255);
    auto line = [c](int32_t width) {
        return [c, width](TTransparentForm& f, const RECT& r) {
            return f.Store().AddLineItem(POINT{r.left, r.top}, POINT{r.right, r.bottom}, width, c,
                                         false);
        };
    };
    auto polyline = [c](int32_t width) {
        return [c, width](TTransparentForm& f, const RECT& r) {
            const POINT p[5] = {{r.left, r.top},
                                {r.right, r.top / 2 + r.bottom / 2},
                                {r.left, r.bottom},
                                {r.right, r.bottom},
                                {r.left / 2 + r.right / 2, r.top}};
            return f.Store().AddPolylineItem(p, 5, false, width, c, false);
        };
    };
    auto rectangle = [c](bool filled, int32_t width) {
        return [c, filled, width](TTransparentForm& f, const RECT& r) {
            return f.Store().AddRectangleItem(r, filled, width, c, false);
        };
    };
    // As the library's ellipse function hands it on.
    auto ellipse = [c](bool filled, int32_t width) {
        return [c, filled, width](TTransparentForm& f, const RECT& r) {
            return f.Store().AddEllipseItem(ConvertEllipseRect(r), filled, width, c, false);
        };
    };
    // A stroke as wide as the size, across the screen.
    auto wide = [c](TTransparentForm& f, const RECT& r) {
        const int64_t w = int64_t{r.right} - r.left;
        const int32_t width = static_cast<int32_t>(std::min<int64_t>(w, INT_MAX));
        return f.Store().AddLineItem(POINT{100, 100}, POINT{700, 500}, width, c, false);
    };
    return {
        {"point (cross)",
         [c](TTransparentForm& f, const RECT& r) {
             return f.Store().AddPointItem(POINT{r.left, r.top}, 1, c, false);
         }},
        {"line, width 1", line(1)},
        {"line, width 9", line(9)},
        {"line as wide as the size", wide},
        {"polyline, width 1", polyline(1)},
        {"polyline, width 9", polyline(9)},
        {"rectangle, width 1", rectangle(false, 1)},
        {"rectangle, width 9", rectangle(false, 9)},
        {"rectangle, filled", rectangle(true, 1)},
        {"ellipse, width 1", ellipse(false, 1)},
        {"ellipse, width 9", ellipse(false, 9)},
        {"ellipse, filled", ellipse(true, 1)},
        {"text, 300 pt",
         [c](TTransparentForm& f, const RECT& r) {
             return f.Store().AddTextItem(POINT{r.left, r.top}, L"Frost and snow", L"Arial", 300,
                                          true, false, c, false);
         }},
        {"bitmap, 2000 x 1500",
         [](TTransparentForm& f, const RECT& r) {
             static const std::wstring file = PictureFile();
             return f.Store().AddBitmapItemByFile(POINT{r.left, r.top}, file, RGB(0, 0, 0), false);
         }},
    };
}

// One case: the median of up to five repaints, each after adding the item
// anew (a repaint longer than a second is not repeated).
int RunCase(size_t kindIndex, size_t sizeIndex) {
    TTransparentForm form;
    if (!form.CreateForm()) {
        std::printf("no-window\n");
        return 1;
    }
    form.FrontTimer.SetEnabled(false);
    const Kind kind = Kinds()[kindIndex];
    const RECT box = Box(Sizes[sizeIndex]);
    form.RebuildWindowShape();
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        if (kind.add(form, box) <= 0) {
            std::printf("not-made\n");
            return 0;
        }
        const double start = Now();
        form.RebuildWindowShape();
        times.push_back(Now() - start);
        form.Store().ClearItems(false);
        form.RebuildWindowShape();
        if (times.back() > 1000)
            break;
    }
    std::sort(times.begin(), times.end());
    std::printf("%.2f\n", times[times.size() / 2]);
    return 0;
}

// Runs one case in a process of its own; its answer, or "> limit".
std::string RunChild(size_t kindIndex, size_t sizeIndex, DWORD limitMs) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" -case " + std::to_wstring(kindIndex) +
                           L" " + std::to_wstring(sizeIndex);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "no-pipe";
    ui::File reader(readEnd), writer(writeEnd);
    ::SetHandleInformation(reader.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writer.Get();
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process))
        return "no-process";
    ui::File processHandle(process.hProcess), threadHandle(process.hThread);
    writer.Reset();
    if (::WaitForSingleObject(processHandle.Get(), limitMs) == WAIT_TIMEOUT) {
        ::TerminateProcess(processHandle.Get(), 1);
        ::WaitForSingleObject(processHandle.Get(), INFINITE);
        return "> " + std::to_string(limitMs) + " (stopped)";
    }
    DWORD code = 0;
    ::GetExitCodeProcess(processHandle.Get(), &code);
    if (code != 0)
        return "failed (exit code " + std::to_string(code) + ")";
    std::string out;
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(reader.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
        out.append(buffer, got);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "-case") == 0) {
        // A case that crashes ends its process without a debugger.
        ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
        return RunCase(std::strtoul(argv[2], nullptr, 10), std::strtoul(argv[3], nullptr, 10));
    }
    DWORD limitMs = 30000;
    std::string only;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-limit") == 0)
            limitMs = static_cast<DWORD>(std::strtoul(argv[i + 1], nullptr, 10) * 1000);
        if (std::strcmp(argv[i], "-only") == 0)
            only = argv[i + 1];
    }
    const std::vector<Kind> kinds = Kinds();
    std::printf("| item | %s | %s | %s |\n|---|---:|---:|---:|\n", Sizes[0].name, Sizes[1].name,
                Sizes[2].name);
    for (size_t k = 0; k < kinds.size(); ++k) {
        if (!only.empty() && std::string(kinds[k].name).find(only) == std::string::npos)
            continue;
        std::printf("| %s |", kinds[k].name);
        std::fflush(stdout);
        for (size_t s = 0; s < std::size(Sizes); ++s) {
            std::printf(" %s |", RunChild(k, s, limitMs).c_str());
            std::fflush(stdout);
        }
        std::printf("\n");
    }
    return 0;
}
