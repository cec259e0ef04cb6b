#include "ui/PictureDecode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>
#include <jerror.h>

namespace ui {

namespace {

[[noreturn]] void Fail(const char* why) {
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

void CheckSize(int64_t width, int64_t height) {
    if (width < 1 || height < 1)
        Fail("picture has no pixels");
    if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels)
        Fail("picture is too large");
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

// Uncompressed rows. 32-bit pixels keep their top byte (icons carry alpha there).
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

void DropTopByte(PixelImage& image) {
    for (uint32_t& p : image.Pixels)
        p &= PixelColorMask;
}

IconImage DecodeIconBitmap(const Bytes& b) {
    DibLayout L = ParseDibHeader(b);
    if (L.compression != CompressionNone && L.compression != CompressionBitfields)
        Fail("compressed icon images are not supported");
    // The stored height covers the colour rows and the mask rows.
    L.height /= 2;
    if (L.height < 1)
        Fail("picture has no pixels");
    PixelImage colors = DecodeRows(b, L, L.bitsOffset);
    IconImage icon;
    icon.Width = L.width;
    icon.Height = L.height;
    icon.Colors = std::move(colors.Pixels);
    if (L.bpp == 32 && L.compression == CompressionNone)
        icon.HasAlpha = std::any_of(icon.Colors.begin(), icon.Colors.end(),
                                    [](uint32_t p) { return (p >> 24) != 0; });
    if (!icon.HasAlpha)
        for (uint32_t& p : icon.Colors)
            p &= PixelColorMask;

    const size_t maskOffset = L.bitsOffset + L.Stride() * static_cast<size_t>(L.height);
    const size_t maskStride = ((static_cast<size_t>(L.width) + 31) / 32) * 4;
    icon.Mask.assign(icon.Colors.size(), 0);
    const bool hasMask = b.Has(maskOffset, maskStride * static_cast<size_t>(L.height));
    if (!hasMask && !icon.HasAlpha)
        Fail("truncated icon mask");
    if (hasMask) {
        for (int32_t y = 0; y < L.height; ++y) {
            const uint8_t* row = b.d + maskOffset +
                                 maskStride * static_cast<size_t>(L.topDown ? y : L.height - 1 - y);
            for (int32_t x = 0; x < L.width; ++x)
                icon.Mask[static_cast<size_t>(y) * static_cast<size_t>(L.width) +
                          static_cast<size_t>(x)] = (row[x >> 3] >> (7 - (x & 7))) & 1u;
        }
    }
    return icon;
}

// ---- JPEG -------------------------------------------------------------------

// The decoder's error manager: fatal errors jump back into RunJpegDecoder
// instead of ending the process, and no message goes to stderr.
struct JpegFailure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* failure = reinterpret_cast<JpegFailure*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, failure->message);
    std::longjmp(failure->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return;
    // A stream that ends early is a truncated file, not a picture.
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        JpegErrorExit(cinfo);
    ++cinfo->err->num_warnings;
}

uint32_t CmykToPixel(const uint8_t* p, bool inverted) {
    uint32_t c = p[0], m = p[1], y = p[2], k = p[3];
    if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
    }
    return ((c * k / 255) << 16) | ((m * k / 255) << 8) | (y * k / 255);
}

// Only plain C data lives in this frame between setjmp and longjmp; the
// output image belongs to the caller.
bool RunJpegDecoder(const uint8_t* data, size_t size, PixelImage* out, JpegFailure* failure) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&failure->manager);
    failure->manager.error_exit = JpegErrorExit;
    failure->manager.output_message = JpegOutputMessage;
    failure->manager.emit_message = JpegEmitMessage;
    failure->message[0] = '\0';
    if (setjmp(failure->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    const int64_t w = cinfo.image_width, h = cinfo.image_height;
    if (w < 1 || h < 1 || w > MaxPictureSide || h > MaxPictureSide || w * h > MaxPicturePixels) {
        std::snprintf(failure->message, sizeof failure->message, "picture is too large");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&cinfo);
    const size_t width = cinfo.output_width;
    try {
        out->Width = static_cast<int32_t>(cinfo.output_width);
        out->Height = static_cast<int32_t>(cinfo.output_height);
        out->Pixels.assign(width * cinfo.output_height, 0);
    } catch (...) {
        std::snprintf(failure->message, sizeof failure->message, "no memory for the picture");
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        uint32_t* row = out->Pixels.data() + static_cast<size_t>(cinfo.output_scanline) * width;
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row)};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (size_t x = 0; x < width; ++x)
            row[x] = cmyk ? CmykToPixel(reinterpret_cast<const uint8_t*>(row + x),
                                        cinfo.saw_Adobe_marker)
                          : row[x] & PixelColorMask;
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

template <typename F> auto Guarded(F decode) {
    try {
        return decode();
    } catch (const std::bad_alloc&) {
        throw PictureError("no memory for the picture");
    }
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

IconImage DecodeIcoUnguarded(const uint8_t* data, size_t size, int32_t preferredSize) {
    Bytes b{data, size};
    if (size < 6 || b.U16(0) != 0 || (b.U16(2) != 1 && b.U16(2) != 2))
        Fail("not an icon file");
    const uint16_t count = b.U16(4);
    if (count == 0)
        Fail("icon file holds no images");
    b.Need(6, size_t{count} * 16);

    struct Entry {
        int32_t score;
        int32_t bpp;
        uint32_t bytes;
        uint32_t offset;
    };
    std::vector<Entry> entries;
    for (uint16_t i = 0; i < count; ++i) {
        const size_t e = 6 + size_t{i} * 16;
        int32_t w = data[e] ? data[e] : 256;
        int32_t h = data[e + 1] ? data[e + 1] : 256;
        entries.push_back(Entry{std::abs(w - preferredSize) + std::abs(h - preferredSize),
                                b.U16(e + 6), b.U32(e + 8), b.U32(e + 12)});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& c) {
        return a.score != c.score ? a.score < c.score : a.bpp > c.bpp;
    });
    for (const Entry& e : entries) {
        if (!b.Has(e.offset, e.bytes))
            Fail("icon image lies outside the file");
        const uint8_t* image = data + e.offset;
        static const uint8_t png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        if (e.bytes >= 8 && std::memcmp(image, png, 8) == 0)
            continue;
        return DecodeIconBitmap(Bytes{image, e.bytes});
    }
    Fail("PNG-compressed icon images are not supported");
}

} // namespace

// ---- decoders ---------------------------------------------------------------

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

IconImage DecodeIco(const uint8_t* data, size_t size, int32_t preferredSize) {
    return Guarded([&] { return DecodeIcoUnguarded(data, size, preferredSize); });
}

PixelImage DecodeJpeg(const uint8_t* data, size_t size) {
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        Fail("not a JPEG file");
    PixelImage image;
    JpegFailure failure;
    if (!RunJpegDecoder(data, size, &image, &failure))
        throw PictureError(std::string("JPEG: ") + failure.message);
    return image;
}

PixelImage RenderIcon(const IconImage& icon, uint32_t background) {
    if (icon.Mask.size() != icon.Colors.size() ||
        icon.Colors.size() != static_cast<size_t>(icon.Width) * static_cast<size_t>(icon.Height))
        Fail("inconsistent icon image");
    const uint32_t bg = PixelFromColor(background);
    PixelImage image;
    image.Width = icon.Width;
    image.Height = icon.Height;
    image.Pixels.resize(icon.Colors.size());
    for (size_t i = 0; i < icon.Colors.size(); ++i) {
        const uint32_t c = icon.Colors[i];
        if (icon.HasAlpha) {
            const uint32_t a = c >> 24;
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t s = (c >> shift) & 0xFF, d = (bg >> shift) & 0xFF;
                out |= ((s * a + d * (255 - a) + 127) / 255) << shift;
            }
            image.Pixels[i] = out;
        } else {
            // The system's icon drawing: (screen AND mask) XOR colour.
            image.Pixels[i] = ((icon.Mask[i] ? bg : 0u) ^ c) & PixelColorMask;
        }
    }
    return image;
}

} // namespace ui
