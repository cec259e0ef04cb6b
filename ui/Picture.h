// Pictures: a device-independent bitmap holding decoded pixels, and loaders
// from files, memory and module resources.
#pragma once

#include "ui/Handles.h"
#include "ui/PictureDecode.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

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
