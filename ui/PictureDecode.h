// Decoding BMP, ICO and JPEG data into pixels: plain functions from bytes to
// pixels, free of any window-system dependency, so they can be built and
// driven anywhere (a fuzzer included).
//
// The decoders never trust the data: every size and offset is checked before
// use, and anything that cannot be decoded throws PictureError with a short
// reason. They never end the process (the JPEG library's fatal errors unwind
// back into the decoder).
//
// Pixels are 32-bit values laid out as a 32-bit device-independent bitmap
// stores them: 0x00RRGGBB (bytes blue, green, red, unused in memory), rows
// top-down. Colours given as arguments are 0x00BBGGRR values (COLORREF).
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
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

// Conversions between a colour (0x00BBGGRR) and the pixel layout (0x00RRGGBB).
constexpr uint32_t PixelFromColor(uint32_t c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr uint32_t ColorFromPixel(uint32_t p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
constexpr uint32_t PixelColorMask = 0x00FFFFFFu;

// Throws PictureError unless 1 <= width, height <= MaxPictureSide and the
// pixel count stays within MaxPicturePixels.
void CheckPictureSize(int64_t width, int64_t height);

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
PixelImage RenderIcon(const IconImage& icon, uint32_t background);

} // namespace ui
