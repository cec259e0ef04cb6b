// BMP files and bare device-independent bitmaps: the DIB header with its
// colour masks and table, and the pixel rows, plain or run-length encoded.
#include "ui/PictureDecode.h"
#include "ui/PictureDecodeParts.h"

#include <algorithm>

namespace ui::decode_detail {

DibLayout ParseDibHeader(const Bytes& b) {
    DibLayout L;
    uint32_t hs = b.U32(0);
    size_t entrySize = 4;
    uint32_t colorsUsed = 0;
    int64_t height = 0;
    if (hs == 12) {
        L.width = b.U16(4);
        height = b.U16(6);
        L.bpp = b.U16(10);
        entrySize = 3;
    } else if (hs == 40 || hs == 52 || hs == 56 || hs == 108 || hs == 124) {
        L.width = b.I32(4);
        height = b.I32(8);
        L.bpp = b.U16(14);
        L.compression = b.U32(16);
        colorsUsed = b.U32(32);
    } else {
        Fail("unknown bitmap header");
    }
    b.Need(0, hs);
    L.headerSize = hs;
    L.topDown = height < 0;
    height = height < 0 ? -height : height;
    CheckSize(L.width, height);
    L.height = static_cast<int32_t>(height);

    size_t offset = hs;
    switch (L.bpp) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        Fail("unsupported bits per pixel");
    }
    if (L.compression == CompressionBitfields || L.compression == CompressionAlphaBitfields) {
        if (L.bpp != 16 && L.bpp != 32)
            Fail("bit fields need 16 or 32 bits per pixel");
        size_t masksAt = offset;
        if (hs >= 52)
            masksAt = 40;
        else
            offset += (L.compression == CompressionBitfields ? 3 : 4) * 4;
        L.red = Channel(b.U32(masksAt));
        L.green = Channel(b.U32(masksAt + 4));
        L.blue = Channel(b.U32(masksAt + 8));
    } else if (L.compression == CompressionNone) {
        if (L.bpp == 16) {
            L.red = Channel(0x7C00);
            L.green = Channel(0x03E0);
            L.blue = Channel(0x001F);
        }
    } else if (L.compression == CompressionRle8) {
        if (L.bpp != 8)
            Fail("8-bit run-length data needs 8 bits per pixel");
    } else if (L.compression == CompressionRle4) {
        if (L.bpp != 4)
            Fail("4-bit run-length data needs 4 bits per pixel");
    } else {
        Fail("unsupported bitmap compression");
    }

    size_t entries = colorsUsed;
    if (L.bpp <= 8 && entries == 0)
        entries = size_t{1} << L.bpp;
    if (entries > 4096)
        Fail("absurd colour table");
    b.Need(offset, entries * entrySize);
    if (L.bpp <= 8) {
        size_t used = std::min<size_t>(entries, size_t{1} << L.bpp);
        L.palette.resize(used);
        for (size_t i = 0; i < used; ++i) {
            const uint8_t* e = b.d + offset + i * entrySize;
            L.palette[i] = (static_cast<uint32_t>(e[2]) << 16) | (e[1] << 8) | e[0];
        }
    }
    offset += entries * entrySize;
    L.bitsOffset = offset;
    return L;
}

namespace {

uint32_t PaletteColor(const DibLayout& L, uint32_t index) {
    return index < L.palette.size() ? L.palette[index] : 0;
}

// Run-length encoded rows (bottom-up). Pixels the data skips stay black.
PixelImage DecodeRunLength(const Bytes& b, const DibLayout& L, size_t pos) {
    if (L.topDown)
        Fail("run-length bitmaps cannot be top-down");
    const bool four = L.compression == CompressionRle4;
    PixelImage image;
    image.Width = L.width;
    image.Height = L.height;
    image.Pixels.assign(static_cast<size_t>(L.width) * static_cast<size_t>(L.height), 0);
    int64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x < L.width && y < L.height)
            image.Pixels[static_cast<size_t>(L.height - 1 - y) * static_cast<size_t>(L.width) +
                         static_cast<size_t>(x)] = PaletteColor(L, index);
        ++x;
    };
    for (;;) {
        if (!b.Has(pos, 2))
            Fail("truncated run-length data");
        uint8_t count = b.d[pos], value = b.d[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? ((i & 1) ? (value & 15u) : (value >> 4)) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!b.Has(pos, 2))
                Fail("truncated run-length data");
            x += b.d[pos];
            y += b.d[pos + 1];
            pos += 2;
        } else {
            size_t bytes = four ? (value + 1u) / 2 : value;
            if (!b.Has(pos, bytes))
                Fail("truncated run-length data");
            for (int i = 0; i < value; ++i) {
                uint8_t v = four ? b.d[pos + static_cast<size_t>(i / 2)]
                                 : b.d[pos + static_cast<size_t>(i)];
                put(four ? ((i & 1) ? (v & 15u) : (v >> 4)) : v);
            }
            pos += (bytes + 1) & ~size_t{1};
        }
        if (y >= L.height)
            break;
    }
    return image;
}

} // namespace

PixelImage DecodeRows(const Bytes& b, const DibLayout& L, size_t bitsOffset) {
    if (L.compression == CompressionRle8 || L.compression == CompressionRle4)
        return DecodeRunLength(b, L, bitsOffset);
    const size_t stride = L.Stride();
    const size_t rowBytes = (static_cast<size_t>(L.width) * L.bpp + 7) / 8;
    b.Need(bitsOffset, stride * static_cast<size_t>(L.height - 1) + rowBytes);
    const bool fields = L.compression != CompressionNone || L.bpp == 16;
    PixelImage image;
    image.Width = L.width;
    image.Height = L.height;
    image.Pixels.resize(static_cast<size_t>(L.width) * static_cast<size_t>(L.height));
    for (int32_t y = 0; y < L.height; ++y) {
        const uint8_t* row =
            b.d + bitsOffset + stride * static_cast<size_t>(L.topDown ? y : L.height - 1 - y);
        uint32_t* out = &image.Pixels[static_cast<size_t>(y) * static_cast<size_t>(L.width)];
        for (int32_t x = 0; x < L.width; ++x) {
            uint32_t v;
            switch (L.bpp) {
            case 1:
                v = PaletteColor(L, (row[x >> 3] >> (7 - (x & 7))) & 1u);
                break;
            case 4:
                v = PaletteColor(L, (x & 1) ? (row[x >> 1] & 15u) : (row[x >> 1] >> 4));
                break;
            case 8:
                v = PaletteColor(L, row[x]);
                break;
            case 16: {
                uint32_t raw = row[2 * x] | (row[2 * x + 1] << 8);
                v = (L.red.Extract(raw) << 16) | (L.green.Extract(raw) << 8) | L.blue.Extract(raw);
                break;
            }
            case 24:
                v = (static_cast<uint32_t>(row[3 * x + 2]) << 16) | (row[3 * x + 1] << 8) |
                    row[3 * x];
                break;
            default: {
                const uint8_t* p = row + 4 * x;
                uint32_t raw = static_cast<uint32_t>(p[0]) | (p[1] << 8) | (p[2] << 16) |
                               (static_cast<uint32_t>(p[3]) << 24);
                v = fields ? (L.red.Extract(raw) << 16) | (L.green.Extract(raw) << 8) |
                                 L.blue.Extract(raw)
                           : raw;
                break;
            }
            }
            out[x] = v;
        }
    }
    return image;
}

} // namespace ui::decode_detail

namespace ui {

using namespace decode_detail;

namespace {

void DropTopByte(PixelImage& image) {
    for (uint32_t& p : image.Pixels)
        p &= PixelColorMask;
}

PixelImage DecodeBmpUnguarded(const uint8_t* data, size_t size) {
    Bytes file{data, size};
    if (size < 14 || data[0] != 'B' || data[1] != 'M')
        Fail("not a BMP file");
    const uint32_t pixelsAt = file.U32(10);
    Bytes dib{data + 14, size - 14};
    DibLayout L = ParseDibHeader(dib);
    size_t bitsOffset = L.bitsOffset;
    if (pixelsAt != 0) {
        if (pixelsAt < 14 + L.headerSize || pixelsAt > size)
            Fail("pixel data offset outside the file");
        bitsOffset = pixelsAt - 14;
    }
    PixelImage image = DecodeRows(dib, L, bitsOffset);
    DropTopByte(image);
    return image;
}

} // namespace

void CheckPictureSize(int64_t width, int64_t height) {
    CheckSize(width, height);
}

PixelImage DecodeDib(const uint8_t* data, size_t size) {
    return Guarded([&] {
        Bytes b{data, size};
        DibLayout L = ParseDibHeader(b);
        PixelImage image = DecodeRows(b, L, L.bitsOffset);
        DropTopByte(image);
        return image;
    });
}

PixelImage DecodeBmp(const uint8_t* data, size_t size) {
    return Guarded([&] { return DecodeBmpUnguarded(data, size); });
}

} // namespace ui
