// Pictures: decoding BMP, ICO and JPEG data into pixels, and a device-
// independent bitmap that holds them.
//
// The decoders are plain functions from bytes to pixels. They never trust the
// data: every size and offset is checked before use, and anything that cannot
// be decoded throws PictureError with a short reason. They never end the
// process (the JPEG library's fatal errors unwind back into the decoder).
//
// Pixels are 32-bit values laid out as a 32-bit DIB stores them: 0x00RRGGBB
// (bytes blue, green, red, unused in memory), rows top-down.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ui {

// Thrown by every decoder and loader for data that exists but cannot be read
// as a picture (truncated, wrong magic, absurd or unsupported sizes).
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Largest picture a decoder accepts: each side and the pixel count.
constexpr int32_t MaxPictureSide = 16384;
constexpr int64_t MaxPicturePixels = 32LL * 1024 * 1024;
// Largest file the loaders read into memory.
constexpr int64_t MaxPictureFileBytes = 256LL * 1024 * 1024;

struct PixelImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels; // Width * Height, top-down

    uint32_t At(int32_t x, int32_t y) const {
        return Pixels[static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)];
    }
};

// One image of an icon: colours plus the AND mask (1 = background shows) or,
// for 32-bit images with alpha, the alpha channel in the top byte of Colors.
struct IconImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Colors;
    std::vector<uint8_t> Mask; // one byte per pixel, 0 or 1
    bool HasAlpha = false;
};

// Conversions between COLORREF (0x00BBGGRR) and the pixel layout (0x00RRGGBB).
constexpr uint32_t PixelFromColor(COLORREF c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ColorFromPixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
constexpr uint32_t PixelColorMask = 0x00FFFFFFu;

// A BMP file: file header "BM", then a device-independent bitmap.
PixelImage DecodeBmp(const uint8_t* data, size_t size);
// A device-independent bitmap without file header, as BITMAP resources hold
// it: the header, the colour masks and table, then the pixel rows.
PixelImage DecodeDib(const uint8_t* data, size_t size);
// A JPEG stream (baseline or progressive; grey, colour or CMYK).
PixelImage DecodeJpeg(const uint8_t* data, size_t size);
// An ICO file: picks the image whose size is nearest preferredSize (then the
// deepest colours) among those stored as bitmaps.
IconImage DecodeIco(const uint8_t* data, size_t size, int32_t preferredSize = 32);
// Draws the icon over a background of one colour, as the system draws icons.
PixelImage RenderIcon(const IconImage& icon, COLORREF background);

// The whole file, or PictureError when it cannot be read or is too large.
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);

// A picture held in a 32-bit top-down DIB section. Empty pictures (0 x 0)
// hold no bitmap. Move-only; the bitmap is released with the picture.
class Picture {
public:
    Picture() = default;
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;

    // A picture of the given size, every pixel black.
    static Picture Blank(int32_t width, int32_t height);
    static Picture FromPixels(const PixelImage& image);
    // A copy of any bitmap's pixels (none: an empty picture).
    static Picture FromBitmap(HBITMAP bitmap);
    // The icon drawn over a background colour, at the icon's own size.
    static Picture FromIcon(HICON icon, COLORREF background);

    // Loaders; all throw PictureError for unreadable or undecodable data.
    static Picture LoadBmpFile(const std::wstring& path);
    static Picture LoadJpegFile(const std::wstring& path);
    static Picture LoadJpegMemory(const uint8_t* data, size_t size);
    static Picture LoadIcoFile(const std::wstring& path, COLORREF background);
    // A BITMAP resource of a module.
    static Picture LoadBitmapResource(HMODULE module, const wchar_t* name);
    // A JPEG stored as raw data (RT_RCDATA) in a module.
    static Picture LoadJpegResource(HMODULE module, const wchar_t* name);

    bool Empty() const { return !bitmap_.Valid(); }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    HBITMAP Handle() const { return bitmap_.Get(); }

    // Pixel memory, rows top-down, Width() values per row. Call GdiFlush
    // (Flush()) after drawing into the bitmap with GDI before reading.
    uint32_t* Bits() { return bits_; }
    const uint32_t* Bits() const { return bits_; }
    void Flush() const { ::GdiFlush(); }
    COLORREF PixelColor(int32_t x, int32_t y) const;
    PixelImage ToPixels() const;

    // Copies the picture unchanged onto a device context at (x, y).
    void Draw(HDC dc, int32_t x, int32_t y) const;

private:
    Bitmap bitmap_;
    uint32_t* bits_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace ui
