#include "ui/PictureEncode.h"

#include "ui/Handles.h"

#include <windows.h>

namespace ui {

namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFFu);
    Put16(v, x >> 16);
}

} // namespace

std::vector<uint8_t> EncodeBmp24(const PixelImage& image) {
    const uint32_t stride = ((static_cast<uint32_t>(image.Width) * 24 + 31) / 32) * 4;
    const uint32_t bitsSize = stride * static_cast<uint32_t>(image.Height);
    constexpr uint32_t headersSize = 14 + 40;
    std::vector<uint8_t> v{'B', 'M'};
    v.reserve(headersSize + bitsSize);
    Put32(v, headersSize + bitsSize);
    Put32(v, 0);
    Put32(v, headersSize);
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(image.Width));
    Put32(v, static_cast<uint32_t>(image.Height)); // positive: bottom-up rows
    Put16(v, 1);
    Put16(v, 24);
    Put32(v, BI_RGB);
    Put32(v, bitsSize);
    Put32(v, 2835); // 72 dpi
    Put32(v, 2835);
    Put32(v, 0);
    Put32(v, 0);
    for (int32_t y = image.Height - 1; y >= 0; --y) {
        const size_t rowStart = v.size();
        for (int32_t x = 0; x < image.Width; ++x) {
            const uint32_t p = image.At(x, y); // 0x00RRGGBB
            v.push_back(static_cast<uint8_t>(p));
            v.push_back(static_cast<uint8_t>(p >> 8));
            v.push_back(static_cast<uint8_t>(p >> 16));
        }
        v.resize(rowStart + stride, 0);
    }
    return v;
}

bool SaveBmpFile(const PixelImage& image, const std::wstring& fileName) {
    if (image.Width <= 0 || image.Height <= 0 ||
        image.Pixels.size() != static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height))
        return false;
    const std::vector<uint8_t> bytes = EncodeBmp24(image);
    bool complete = false;
    {
        File file(::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return false;
        DWORD written = 0;
        complete = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                               nullptr) &&
                   written == bytes.size();
    }
    // A half-written picture would only fail later, when it is read.
    if (!complete)
        ::DeleteFileW(fileName.c_str());
    return complete;
}

} // namespace ui
