// Picture files made on the fly for the tests: BMP, ICO and JPEG encoders
// (small and straightforward, independent of the decoders under test) and a
// scratch folder to write them to.
#pragma once

#include "ui/Canvas.h"
#include "ui/Picture.h"

#include <windows.h>

#include <cstdint>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace testpics {

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A picture of w x h whose pixel (x, y) is f(x, y) (0x00RRGGBB).
template <typename F> ui::PixelImage Make(int32_t w, int32_t h, F f) {
    ui::PixelImage img;
    img.Width = w;
    img.Height = h;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x)
            img.Pixels.push_back(f(x, y));
    return img;
}

inline void PutInfoHeader(std::vector<uint8_t>& v, int32_t w, int32_t h, uint16_t bpp,
                          uint32_t compression = BI_RGB, uint32_t colors = 0) {
    Put32(v, 40);
    Put32(v, static_cast<uint32_t>(w));
    Put32(v, static_cast<uint32_t>(h));
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, compression);
    Put32(v, 0);
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, colors);
    Put32(v, 0);
}

inline std::vector<uint8_t> WithFileHeader(const std::vector<uint8_t>& dib, uint32_t bitsOffset) {
    std::vector<uint8_t> v{'B', 'M'};
    Put32(v, static_cast<uint32_t>(14 + dib.size()));
    Put32(v, 0);
    Put32(v, 14 + bitsOffset);
    v.insert(v.end(), dib.begin(), dib.end());
    return v;
}

// Colour rows of 24 or 32 bits per pixel, bottom-up unless topDown.
inline void PutRows(std::vector<uint8_t>& v, const ui::PixelImage& img, uint16_t bpp,
                    bool topDown) {
    const size_t stride = ((static_cast<size_t>(img.Width) * bpp + 31) / 32) * 4;
    for (int32_t r = 0; r < img.Height; ++r) {
        int32_t y = topDown ? r : img.Height - 1 - r;
        size_t start = v.size();
        for (int32_t x = 0; x < img.Width; ++x) {
            uint32_t p = img.At(x, y);
            for (int shift = 0; shift < bpp; shift += 8)
                v.push_back(static_cast<uint8_t>(p >> shift));
        }
        v.resize(start + stride, 0);
    }
}

inline std::vector<uint8_t> Dib24(const ui::PixelImage& img, bool topDown = false) {
    std::vector<uint8_t> v;
    PutInfoHeader(v, img.Width, topDown ? -img.Height : img.Height, 24);
    PutRows(v, img, 24, topDown);
    return v;
}

inline std::vector<uint8_t> Bmp24(const ui::PixelImage& img, bool topDown = false) {
    return WithFileHeader(Dib24(img, topDown), 40);
}

// Palette picture with 1, 4 or 8 bits per pixel; indices row by row, top-down.
inline std::vector<uint8_t> DibIndexed(int32_t w, int32_t h, uint16_t bpp,
                                       const std::vector<uint32_t>& palette,
                                       const std::vector<uint8_t>& indices) {
    std::vector<uint8_t> v;
    PutInfoHeader(v, w, h, bpp, BI_RGB, static_cast<uint32_t>(palette.size()));
    for (uint32_t c : palette)
        Put32(v, c);
    const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    for (int32_t r = 0; r < h; ++r) {
        int32_t y = h - 1 - r;
        std::vector<uint8_t> row(stride, 0);
        for (int32_t x = 0; x < w; ++x) {
            uint32_t idx = indices[static_cast<size_t>(y * w + x)];
            size_t bit = static_cast<size_t>(x) * bpp;
            row[bit / 8] |= static_cast<uint8_t>(idx << (8 - bpp - bit % 8));
        }
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

// One icon image: 24-bit colours (or 32-bit with alpha) plus the AND mask.
inline std::vector<uint8_t> IconDib(const ui::PixelImage& img, const std::vector<uint8_t>& mask,
                                    bool alpha = false) {
    std::vector<uint8_t> v;
    const uint16_t bpp = alpha ? 32 : 24;
    PutInfoHeader(v, img.Width, img.Height * 2, bpp);
    PutRows(v, img, bpp, false);
    const size_t maskStride = ((static_cast<size_t>(img.Width) + 31) / 32) * 4;
    for (int32_t r = 0; r < img.Height; ++r) {
        int32_t y = img.Height - 1 - r;
        std::vector<uint8_t> row(maskStride, 0);
        for (int32_t x = 0; x < img.Width; ++x)
            if (mask[static_cast<size_t>(y * img.Width + x)])
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        v.insert(v.end(), row.begin(), row.end());
    }
    return v;
}

// An ICO file of the given images (each as its DIB or PNG bytes).
inline std::vector<uint8_t>
Ico(const std::vector<std::pair<int32_t, std::vector<uint8_t>>>& images) {
    std::vector<uint8_t> v;
    Put16(v, 0);
    Put16(v, 1);
    Put16(v, static_cast<uint32_t>(images.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const auto& [side, bytes] : images) {
        v.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));
        v.push_back(static_cast<uint8_t>(side == 256 ? 0 : side));
        v.push_back(0);
        v.push_back(0);
        Put16(v, 1);
        Put16(v, 24);
        Put32(v, static_cast<uint32_t>(bytes.size()));
        Put32(v, offset);
        offset += static_cast<uint32_t>(bytes.size());
    }
    for (const auto& image : images)
        v.insert(v.end(), image.second.begin(), image.second.end());
    return v;
}

inline std::vector<uint8_t> Jpeg(const ui::PixelImage& img, int quality = 95) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(img.Width);
    cinfo.image_height = static_cast<JDIMENSION>(img.Height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(img.Width) * 3);
    for (int32_t y = 0; y < img.Height; ++y) {
        for (int32_t x = 0; x < img.Width; ++x) {
            uint32_t p = img.At(x, y);
            row[3 * x] = static_cast<uint8_t>(p >> 16);
            row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(p);
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&cinfo);
    free(out);
    return bytes;
}

// A scratch folder for one test program run, removed file by file by the tests.
inline std::wstring ScratchDir() {
    static std::wstring dir = [] {
        wchar_t base[MAX_PATH];
        ::GetTempPathW(MAX_PATH, base);
        std::wstring d =
            std::wstring(base) + L"frostvale_pictures_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(d.c_str(), nullptr);
        return d;
    }();
    return dir;
}

inline std::wstring WriteFile(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    std::wstring path = ScratchDir() + L"\\" + name;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (f) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

// Channels within tol of each other (lossy JPEG).
inline bool Near(uint32_t a, uint32_t b, int tol) {
    for (int s = 0; s <= 16; s += 8) {
        int d = static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF);
        if (d > tol || d < -tol)
            return false;
    }
    return true;
}

// A picture to paint on, with a memory DC and a canvas over it.
struct Surface {
    Surface(int32_t w, int32_t h, COLORREF fill)
        : picture(ui::Picture::Blank(w, h)), dc(::CreateCompatibleDC(nullptr)),
          selection(dc.Get(), picture.Handle()), canvas(dc.Get()) {
        std::fill(picture.Bits(), picture.Bits() + static_cast<size_t>(w) * static_cast<size_t>(h),
                  ui::PixelFromColor(fill));
    }
    COLORREF At(int32_t x, int32_t y) {
        picture.Flush();
        return picture.PixelColor(x, y);
    }
    ui::Picture picture;
    ui::MemoryDC dc;
    ui::Selection selection;
    ui::Canvas canvas;
};

// A unique settings file in the scratch folder.
inline std::wstring IniPath(const wchar_t* name) {
    return ScratchDir() + L"\\" + name + L".ini";
}

} // namespace testpics
