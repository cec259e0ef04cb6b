// What the picture decoders share: bounds-checked reads, the size check, the
// guard that turns running out of memory into PictureError, and the layout of
// a device-independent bitmap, which BMP files and icon images both hold.
// Internal to the decoders (ui/PictureDecode*.cpp).
#pragma once

#include "ui/PictureDecode.h"

#include <new>

namespace ui::decode_detail {

[[noreturn]] inline void Fail(const char* why) {
    throw PictureError(why);
}

// Bounds-checked little-endian reads from a byte buffer.
struct Bytes {
    const uint8_t* d;
    size_t n;

    bool Has(size_t offset, size_t length) const { return offset <= n && length <= n - offset; }
    void Need(size_t offset, size_t length) const {
        if (!Has(offset, length))
            Fail("truncated picture data");
    }
    uint16_t U16(size_t offset) const {
        Need(offset, 2);
        return static_cast<uint16_t>(d[offset] | (d[offset + 1] << 8));
    }
    uint32_t U32(size_t offset) const {
        Need(offset, 4);
        return static_cast<uint32_t>(d[offset]) | (static_cast<uint32_t>(d[offset + 1]) << 8) |
               (static_cast<uint32_t>(d[offset + 2]) << 16) |
               (static_cast<uint32_t>(d[offset + 3]) << 24);
    }
    int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
};

inline void CheckSize(int64_t width, int64_t height) {
    if (width < 1 || height < 1)
        Fail("picture has no pixels");
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
        Fail("picture is too large");
}

template <typename F> auto Guarded(F decode) {
    try {
        return decode();
    } catch (const std::bad_alloc&) {
        throw PictureError("no memory for the picture");
    }
}

// Compression codes of a bitmap header.
constexpr uint32_t CompressionNone = 0;
constexpr uint32_t CompressionRle8 = 1;
constexpr uint32_t CompressionRle4 = 2;
constexpr uint32_t CompressionBitfields = 3;
constexpr uint32_t CompressionAlphaBitfields = 6;

// One colour channel of a bit-field pixel format.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (!m)
            return;
        while (!((m >> shift) & 1u))
            ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1u))
            ++bits;
    }
    uint32_t Extract(uint32_t v) const {
        if (!bits)
            return 0;
        uint64_t value = (v & mask) >> shift;
        uint64_t max = (bits >= 32) ? 0xFFFFFFFFull : ((1ull << bits) - 1);
        return static_cast<uint32_t>((value * 255 + max / 2) / max);
    }
};

// What a DIB header says about the pixel rows that follow it.
struct DibLayout {
    size_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0; // rows stored
    bool topDown = false;
    uint16_t bpp = 0;
    uint32_t compression = CompressionNone;
    Channel red, green, blue;
    std::vector<uint32_t> palette;
    size_t bitsOffset = 0; // just past the masks and the colour table

    size_t Stride() const { return ((static_cast<size_t>(width) * bpp + 31) / 32) * 4; }
};

// The header, the colour masks and the colour table at the start of b.
DibLayout ParseDibHeader(const Bytes& b);
// The pixel rows at bitsOffset in b, run-length encoded or not. 32-bit pixels
// keep their top byte (icons carry alpha there).
PixelImage DecodeRows(const Bytes& b, const DibLayout& L, size_t bitsOffset);

} // namespace ui::decode_detail
