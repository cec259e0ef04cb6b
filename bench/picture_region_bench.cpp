// Building the pixel-exact region of a raster item: one region union per
// pixel versus rectangles per run of opaque pixels. Prints the median time of
// several runs for the card's letter icon (104 x 68) and snowflake (26 x 26),
// and for a 104 x 68 checkerboard as the worst case for runs.
#include "screen_objects/uScreenImage.h"
#include "ui/Picture.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 31;

double NowMicroseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double MedianMicroseconds(const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < Runs; ++i) {
        const double start = NowMicroseconds();
        work();
        times.push_back(NowMicroseconds() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Measure(const char* name, const ui::PixelImage& image, COLORREF key) {
    const uint32_t* px = image.Pixels.data();
    const int32_t w = image.Width, h = image.Height;
    size_t opaque = 0;
    for (uint32_t p : image.Pixels)
        opaque += (p & ui::PixelColorMask) != ui::PixelFromColor(key);
    const double slow = MedianMicroseconds(
        [&] { ui::Region r = BuildPictureRegionPixelByPixel(px, w, h, key, 100, 100); });
    const double fast =
        MedianMicroseconds([&] { ui::Region r = BuildPictureRegion(px, w, h, key, 100, 100); });
    ui::Region a = BuildPictureRegionPixelByPixel(px, w, h, key, 100, 100);
    ui::Region b = BuildPictureRegion(px, w, h, key, 100, 100);
    std::printf("%-22s %4d x %-3d %6zu opaque  pixel-by-pixel %9.1f us  runs %7.1f us  "
                "x%.0f  %s\n",
                name, w, h, opaque, slow, fast, slow / fast,
                ::EqualRgn(a.Get(), b.Get()) ? "equal" : "DIFFERENT");
}

ui::PixelImage LoadOrDie(const std::wstring& path) {
    try {
        std::vector<uint8_t> bytes = ui::ReadFileBytes(path);
        return ui::DecodeBmp(bytes.data(), bytes.size());
    } catch (const ui::PictureError& e) {
        std::fprintf(stderr, "cannot read %ls: %s\n", path.c_str(), e.what());
        std::exit(1);
    }
}

} // namespace

int main() {
    const std::wstring resources = ORVEX_RESOURCE_DIR;
    std::printf("median of %d runs each\n", Runs);
    Measure("letter icon", LoadOrDie(resources + L"/letter.bmp"), RGB(1, 1, 1));
    Measure("snowflake", LoadOrDie(resources + L"/snowflake.bmp"), RGB(0, 0, 0));
    ui::PixelImage checker;
    checker.Width = 104;
    checker.Height = 68;
    for (int32_t y = 0; y < 68; ++y)
        for (int32_t x = 0; x < 104; ++x)
            checker.Pixels.push_back((x + y) % 2 ? 0x00FFFFFFu : 0u);
    Measure("checkerboard", checker, RGB(0, 0, 0));
    return 0;
}
