// Time of decoding JPEG pictures: the about window's 512 x 384 picture and a
// 1920 x 1080 photo-like one given on the command line (made with cjpeg).
// Prints the median, minimum and maximum of 30 decodes, in milliseconds.
//   jpeg_decode_bench [big.jpg]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ui/Picture.h"
#include "ui/PictureDecode.h"

namespace {

std::vector<uint8_t> ResourceBytes(const wchar_t* name) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, name, RT_RCDATA);
    HGLOBAL data = found ? ::LoadResource(self, found) : nullptr;
    const auto* bytes = static_cast<const uint8_t*>(data ? ::LockResource(data) : nullptr);
    if (!bytes)
        return {};
    return std::vector<uint8_t>(bytes, bytes + ::SizeofResource(self, found));
}

void Time(const char* what, const std::vector<uint8_t>& jpeg) {
    if (jpeg.empty()) {
        std::printf("%-28s missing\n", what);
        return;
    }
    std::vector<double> ms;
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    int width = 0, height = 0;
    for (int i = 0; i < 30; ++i) {
        ::QueryPerformanceCounter(&a);
        ui::PixelImage image = ui::DecodeJpeg(jpeg.data(), jpeg.size());
        ::QueryPerformanceCounter(&b);
        width = image.Width;
        height = image.Height;
        ms.push_back(1000.0 * double(b.QuadPart - a.QuadPart) / double(f.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s %5d x %-5d median %7.2f ms  min %7.2f  max %7.2f\n", what, width, height,
                ms[ms.size() / 2], ms.front(), ms.back());
}

} // namespace

int main(int argc, char** argv) {
    Time("about picture (resource)", ResourceBytes(L"SCREENVIEW"));
    if (argc > 1) {
        std::string path = argv[1];
        Time("picture from the command line",
             ui::ReadFileBytes(std::wstring(path.begin(), path.end())));
    }
    return 0;
}
