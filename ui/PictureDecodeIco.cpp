// Icon files: picking the image nearest the wanted size, decoding its colour
// and mask bitmaps, and drawing the icon over a background.
#include "ui/PictureDecode.h"
#include "ui/PictureDecodeParts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ui {

using namespace decode_detail;

namespace {

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

IconImage DecodeIco(const uint8_t* data, size_t size, int32_t preferredSize) {
    return Guarded([&] { return DecodeIcoUnguarded(data, size, preferredSize); });
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
