#include "picture_files.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

using ui::PictureError;
using ui::PixelImage;
namespace tp = testpics;

namespace {

PixelImage Gradient(int32_t w, int32_t h) {
    return tp::Make(w, h, [](int32_t x, int32_t y) {
        return static_cast<uint32_t>((x * 40 & 0xFF) << 16 | (y * 30 & 0xFF) << 8 |
                                     ((x + y) * 9 & 0xFF));
    });
}

// Every prefix of a good file must either decode or throw PictureError.
template <typename Decode>
int CountPrefixFailures(const std::vector<uint8_t>& file, Decode decode) {
    int failures = 0;
    for (size_t n = 0; n < file.size(); ++n) {
        std::vector<uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            decode(cut.data(), cut.size());
        } catch (const PictureError&) {
            ++failures;
        }
    }
    return failures;
}

} // namespace

TEST(PictureBmp, DecodesEveryRowOrderAndDepth) {
    PixelImage img = Gradient(5, 3); // odd width: rows are padded
    for (bool topDown : {false, true}) {
        std::vector<uint8_t> file = tp::Bmp24(img, topDown);
        PixelImage got = ui::DecodeBmp(file.data(), file.size());
        ASSERT_EQ(got.Width, 5);
        ASSERT_EQ(got.Height, 3);
        EXPECT_EQ(got.Pixels, img.Pixels) << "topDown " << topDown;
    }
    // Palette pictures: indices beyond the table come out black.
    std::vector<uint32_t> palette = {0x00FF0000, 0x0000FF00, 0x000000FF};
    std::vector<uint8_t> idx = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 1};
    for (uint16_t bpp : {4, 8}) {
        std::vector<uint8_t> dib = tp::DibIndexed(6, 2, bpp, palette, idx);
        PixelImage got = ui::DecodeDib(dib.data(), dib.size());
        ASSERT_EQ(got.Width, 6);
        for (size_t i = 0; i < idx.size(); ++i)
            EXPECT_EQ(got.Pixels[i], idx[i] < 3 ? palette[idx[i]] : 0u)
                << "bpp " << bpp << " " << i;
    }
    std::vector<uint8_t> bits = {0, 1, 1, 0, 1, 1, 1, 1, 1, 0};
    std::vector<uint8_t> mono = tp::DibIndexed(10, 1, 1, {0x000000, 0xFFFFFF}, bits);
    PixelImage got = ui::DecodeDib(mono.data(), mono.size());
    for (size_t i = 0; i < bits.size(); ++i)
        EXPECT_EQ(got.Pixels[i], bits[i] ? 0xFFFFFFu : 0u);
}

TEST(PictureBmp, DecodesRunLengthAndBitFields) {
    // 8-bit run-length: row 0 (bottom) "2 x index 1, absolute 3 pixels 0,2,1",
    // end of line, row 1 "delta 1,0 then 1 x index 2", end of bitmap.
    std::vector<uint8_t> dib;
    tp::PutInfoHeader(dib, 5, 2, 8, BI_RLE8, 3);
    for (uint32_t c : {0x000000u, 0x00FF0000u, 0x000000FFu})
        tp::Put32(dib, c);
    for (uint8_t b : {2, 1, 0, 3, 0, 2, 1, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1})
        dib.push_back(b);
    PixelImage got = ui::DecodeDib(dib.data(), dib.size());
    std::vector<uint32_t> want = {0,          0x000000FF, 0, 0,          0, // top row
                                  0x00FF0000, 0x00FF0000, 0, 0x000000FF, 0x00FF0000};
    EXPECT_EQ(got.Pixels, want);
    // Without the end-of-bitmap marker the data is truncated.
    dib.resize(dib.size() - 4);
    EXPECT_THROW(ui::DecodeDib(dib.data(), dib.size()), PictureError);

    // 16-bit 5-6-5 bit fields: pure red, green, blue and white.
    std::vector<uint8_t> f;
    tp::PutInfoHeader(f, 4, 1, 16, BI_BITFIELDS);
    for (uint32_t m : {0xF800u, 0x07E0u, 0x001Fu})
        tp::Put32(f, m);
    for (uint32_t px : {0xF800u, 0x07E0u, 0x001Fu, 0xFFFFu})
        tp::Put16(f, px);
    got = ui::DecodeDib(f.data(), f.size());
    EXPECT_EQ(got.Pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
}

TEST(PictureBmp, BadFilesFailWithPictureError) {
    std::vector<uint8_t> good = tp::Bmp24(Gradient(7, 4));
    auto decode = [](const std::vector<uint8_t>& v) { ui::DecodeBmp(v.data(), v.size()); };

    std::vector<uint8_t> magic = good;
    magic[0] = 'P';
    EXPECT_THROW(decode(magic), PictureError);

    std::vector<uint8_t> huge = good; // 100000 x 100000 in a 150-byte file
    huge[18] = 0xA0, huge[19] = 0x86, huge[20] = 0x01;
    huge[22] = 0xA0, huge[23] = 0x86, huge[24] = 0x01;
    EXPECT_THROW(decode(huge), PictureError);

    std::vector<uint8_t> zero = good;
    zero[18] = zero[19] = zero[20] = zero[21] = 0;
    EXPECT_THROW(decode(zero), PictureError);

    std::vector<uint8_t> depth = good;
    depth[28] = 7;
    EXPECT_THROW(decode(depth), PictureError);

    std::vector<uint8_t> offset = good;
    offset[10] = 0xFF, offset[11] = 0xFF;
    EXPECT_THROW(decode(offset), PictureError);

    std::vector<uint8_t> colors = good; // a colour table of 2^31 entries
    colors[49] = 0x80;
    EXPECT_THROW(decode(colors), PictureError);

    // Every truncation of the file fails cleanly; only the padding after the
    // last row (3 bytes here) may be missing.
    EXPECT_EQ(CountPrefixFailures(good, ui::DecodeBmp), static_cast<int>(good.size()) - 3);
}

TEST(PictureJpeg, DecodesWhatTheEncoderWrote) {
    PixelImage img =
        tp::Make(24, 16, [](int32_t x, int32_t) { return x < 12 ? 0x00C02010u : 0x002040E0u; });
    std::vector<uint8_t> file = tp::Jpeg(img, 100);
    PixelImage got = ui::DecodeJpeg(file.data(), file.size());
    ASSERT_EQ(got.Width, 24);
    ASSERT_EQ(got.Height, 16);
    EXPECT_TRUE(tp::Near(got.At(2, 5), 0x00C02010u, 8));
    EXPECT_TRUE(tp::Near(got.At(20, 10), 0x002040E0u, 8));
    EXPECT_EQ(got.At(3, 3) >> 24, 0u) << "the unused byte is cleared";
}

TEST(PictureJpeg, BrokenStreamsFailWithoutEndingTheProcess) {
    std::vector<uint8_t> good = tp::Jpeg(Gradient(32, 32), 90);
    auto decode = [](const std::vector<uint8_t>& v) { ui::DecodeJpeg(v.data(), v.size()); };

    std::vector<uint8_t> magic = good;
    magic[1] = 0xD9;
    EXPECT_THROW(decode(magic), PictureError);

    std::vector<uint8_t> garbage = {0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_THROW(decode(garbage), PictureError);

    // Absurd size in the frame header (SOF0: FF C0, length, precision, h, w).
    std::vector<uint8_t> huge = good;
    for (size_t i = 0; i + 8 < huge.size(); ++i)
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = 0xFF, huge[i + 6] = 0xF0; // height 65520
            huge[i + 7] = 0xFF, huge[i + 8] = 0xF0; // width 65520
            break;
        }
    try {
        decode(huge);
        ADD_FAILURE() << "an absurd size decoded";
    } catch (const PictureError& e) {
        EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos);
    }

    // Truncated anywhere before the end-of-image marker: a failure each time.
    std::vector<uint8_t> prefix(good.begin(), good.end() - 2);
    EXPECT_EQ(CountPrefixFailures(prefix, ui::DecodeJpeg), static_cast<int>(prefix.size()));
    EXPECT_THROW(decode(prefix), PictureError);
    EXPECT_NO_THROW(decode(good));
}

TEST(PictureIco, ChoosesTheNearestImageAndDrawsItOverTheBackground) {
    const COLORREF key = RGB(254, 5, 254);
    PixelImage small = tp::Make(16, 16, [](int32_t, int32_t) { return 0x00112233u; });
    PixelImage big = tp::Make(32, 32, [](int32_t x, int32_t) { return x < 16 ? 0x00FF0000u : 0u; });
    // Right half of the 32-pixel image is masked out (background shows).
    std::vector<uint8_t> mask(32 * 32);
    for (int32_t i = 0; i < 32 * 32; ++i)
        mask[static_cast<size_t>(i)] = (i % 32) >= 16;
    std::vector<uint8_t> file = tp::Ico(
        {{16, tp::IconDib(small, std::vector<uint8_t>(256, 0))}, {32, tp::IconDib(big, mask)}});
    PixelImage got = ui::RenderIcon(ui::DecodeIco(file.data(), file.size()), key);
    ASSERT_EQ(got.Width, 32);
    EXPECT_EQ(got.At(3, 7), 0x00FF0000u);
    EXPECT_EQ(got.At(20, 7), ui::PixelFromColor(key));

    // Asking for 16 pixels takes the other image.
    ui::IconImage sixteen = ui::DecodeIco(file.data(), file.size(), 16);
    EXPECT_EQ(sixteen.Width, 16);

    // An alpha image blends: alpha 0 shows the background, 255 the colour.
    PixelImage alpha =
        tp::Make(2, 1, [](int32_t x, int32_t) { return x ? 0xFF0000FFu : 0x000000FFu; });
    std::vector<uint8_t> alphaFile = tp::Ico({{2, tp::IconDib(alpha, {0, 0}, true)}});
    got = ui::RenderIcon(ui::DecodeIco(alphaFile.data(), alphaFile.size()), RGB(0, 255, 0));
    EXPECT_EQ(got.At(0, 0), 0x0000FF00u);
    EXPECT_EQ(got.At(1, 0), 0x000000FFu);
}

TEST(PictureIco, BadIconFilesFail) {
    PixelImage img = tp::Make(8, 8, [](int32_t, int32_t) { return 0x00808080u; });
    std::vector<uint8_t> good = tp::Ico({{8, tp::IconDib(img, std::vector<uint8_t>(64, 0))}});
    auto decode = [](const std::vector<uint8_t>& v) { ui::DecodeIco(v.data(), v.size()); };

    std::vector<uint8_t> magic = good;
    magic[2] = 7;
    EXPECT_THROW(decode(magic), PictureError);

    std::vector<uint8_t> none = good;
    none[4] = 0;
    EXPECT_THROW(decode(none), PictureError);

    std::vector<uint8_t> outside = good; // image offset far past the end
    outside[6 + 12 + 3] = 0x7F;
    EXPECT_THROW(decode(outside), PictureError);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 0};
    std::vector<uint8_t> pngOnly = tp::Ico({{32, png}});
    EXPECT_THROW(decode(pngOnly), PictureError);

    ui::IconImage inconsistent; // colours without a mask
    inconsistent.Width = inconsistent.Height = 2;
    inconsistent.Colors.resize(4);
    EXPECT_THROW(ui::RenderIcon(inconsistent, 0), PictureError);

    auto decodeIco = [](const uint8_t* d, size_t n) { ui::DecodeIco(d, n); };
    EXPECT_EQ(CountPrefixFailures(good, decodeIco), static_cast<int>(good.size()));
}

TEST(PictureBitmap, HoldsPixelsCopiesBitmapsAndReleasesEverything) {
    const long handlesBefore = ui::LiveHandleCount();
    {
        PixelImage img = Gradient(9, 5);
        ui::Picture p = ui::Picture::FromPixels(img);
        ASSERT_FALSE(p.Empty());
        EXPECT_EQ(p.PixelColor(4, 2), ui::ColorFromPixel(img.At(4, 2)));
        EXPECT_EQ(p.PixelColor(9, 0), CLR_INVALID);
        EXPECT_EQ(p.ToPixels().Pixels, img.Pixels);

        // A copy of another bitmap keeps exact colours, also from a 4-bit one.
        ui::Picture copy = ui::Picture::FromBitmap(p.Handle());
        EXPECT_EQ(copy.ToPixels().Pixels, img.Pixels);

        // Drawing it onto another picture's DC puts it where asked.
        ui::Picture canvas = ui::Picture::Blank(20, 20);
        {
            ui::MemoryDC dc(::CreateCompatibleDC(nullptr));
            ui::Selection sel(dc.Get(), canvas.Handle());
            p.Draw(dc.Get(), 3, 4);
        }
        canvas.Flush();
        EXPECT_EQ(canvas.PixelColor(3 + 4, 4 + 2), ui::ColorFromPixel(img.At(4, 2)));
        EXPECT_EQ(canvas.PixelColor(2, 4), RGB(0, 0, 0));

        ui::Picture moved = std::move(p);
        EXPECT_TRUE(p.Empty());
        EXPECT_EQ(p.Width(), 0);
        EXPECT_EQ(moved.Width(), 9);

        EXPECT_TRUE(ui::Picture::FromBitmap(nullptr).Empty());
        EXPECT_TRUE(ui::Picture::Blank(0, 5).Empty());
        EXPECT_THROW(ui::Picture::LoadBmpFile(tp::ScratchDir() + L"\\missing.bmp"), PictureError);
        EXPECT_THROW(ui::Picture::LoadBitmapResource(::GetModuleHandleW(nullptr), L"NOSUCHBITMAP"),
                     PictureError);
    }
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore);
}

TEST(PictureFuzz, MutatedFilesDecodeOrFailCleanly) {
    std::mt19937 random(20261208);
    std::vector<uint32_t> palette = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    std::vector<uint8_t> indices(12 * 5, 2);
    PixelImage img = Gradient(12, 5);
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        std::function<void(const uint8_t*, size_t)> decode;
    };
    std::vector<Case> cases = {
        {"bmp", tp::Bmp24(img), [](const uint8_t* d, size_t n) { ui::DecodeBmp(d, n); }},
        {"dib8", tp::DibIndexed(12, 5, 8, palette, indices),
         [](const uint8_t* d, size_t n) { ui::DecodeDib(d, n); }},
        {"ico", tp::Ico({{16, tp::IconDib(img, std::vector<uint8_t>(60, 1))}}),
         [](const uint8_t* d, size_t n) { ui::RenderIcon(ui::DecodeIco(d, n), 0); }},
        {"jpeg", tp::Jpeg(img), [](const uint8_t* d, size_t n) { ui::DecodeJpeg(d, n); }},
    };
    for (const Case& c : cases) {
        int decoded = 0, failed = 0;
        for (int round = 0; round < 1500; ++round) {
            std::vector<uint8_t> bytes = c.file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips; ++f) {
                // Mostly the headers, where sizes and offsets live.
                const size_t span = std::min<size_t>(bytes.size(), round % 2 ? 80 : bytes.size());
                bytes[random() % span] = static_cast<uint8_t>(random());
            }
            try {
                c.decode(bytes.data(), bytes.size());
                ++decoded;
            } catch (const PictureError&) {
                ++failed;
            }
        }
        EXPECT_EQ(decoded + failed, 1500) << c.name;
        EXPECT_GT(failed, 0) << c.name;
    }
}
