#include "picture_files.h"
#include "screen_objects/uIniValues.h"
#include "screen_objects/uScreenImage.h"

#include "ui/RegionUnion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tp = testpics;

namespace {

constexpr COLORREF Key = RGB(255, 0, 255);
constexpr uint32_t KeyPixel = ui::PixelFromColor(Key);
constexpr COLORREF Grey = RGB(90, 90, 90);

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A w x h picture: key where keyed(x, y), otherwise a colour made from x and y.
template <typename F> ui::PixelImage Keyed(int32_t w, int32_t h, F keyed) {
    return tp::Make(w, h, [&](int32_t x, int32_t y) {
        return keyed(x, y) ? KeyPixel : static_cast<uint32_t>(0x00100000 + (x << 8) + y);
    });
}

int RegionRects(HRGN region) {
    return static_cast<int>(ui::RegionRects(region).size());
}

} // namespace

TEST(ImageGeometry, AlignmentPlacesThePictureAroundTheVertex) {
    // A 5 x 3 picture at (100, 50).
    EXPECT_TRUE(SameRect(ImageRect({100, 50}, 5, 3, AlignCenter, AlignCenter), {98, 49, 102, 51}));
    EXPECT_TRUE(
        SameRect(ImageRect({100, 50}, 5, 3, AlignLeading, AlignCenter), {100, 49, 104, 51}));
    EXPECT_TRUE(
        SameRect(ImageRect({100, 50}, 5, 3, AlignTrailing, AlignTrailing), {96, 48, 100, 50}));
    // Unknown alignments behave like the centre.
    EXPECT_TRUE(SameRect(ImageRect({0, 0}, 4, 4, 9, 9), {-2, -2, 2, 2}));

    TScreenImage image;
    image.SetPicture(ui::Picture::FromPixels(Keyed(5, 3, [](int32_t, int32_t) { return false; })));
    image.AppendPoint(100, 50);
    EXPECT_TRUE(SameRect(image.PictureRect(), {98, 49, 102, 51}));
    // Changing the alignment moves the vertex and leaves the picture in place.
    image.SetHorzAlign(AlignLeading);
    EXPECT_EQ(image.Vertex(1).x, 98);
    EXPECT_EQ(image.PictureRect().left, 98);
    image.SetHorzAlign(AlignTrailing);
    EXPECT_EQ(image.Vertex(1).x, 102);
    EXPECT_EQ(image.PictureRect().left, 98);
    image.SetVertAlign(AlignLeading);
    EXPECT_EQ(image.Vertex(1).y, 49);
    EXPECT_EQ(image.PictureRect().top, 49);

    // Without a picture the alignment is only stored.
    TScreenImage empty;
    empty.AppendPoint(10, 10);
    empty.SetHorzAlign(AlignLeading);
    EXPECT_EQ(empty.Vertex(1).x, 10);
    EXPECT_EQ(empty.HorzAlign, AlignLeading);
}

TEST(ImageGeometry, ClampingKeepsThePictureOnTheDesktop) {
    // A centred 20-pixel picture on a 1024 x 768 desktop.
    EXPECT_EQ(ClampCoordinate(-10, 20, 1024, AlignCenter), 10);
    EXPECT_EQ(ClampCoordinate(1030, 20, 1024, AlignCenter), 1014);
    EXPECT_EQ(ClampCoordinate(770, 20, 768, AlignCenter), 758);
    EXPECT_EQ(ClampCoordinate(500, 20, 1024, AlignCenter), 500);
    EXPECT_EQ(ClampCoordinate(-5, 20, 1024, AlignLeading), 0);
    EXPECT_EQ(ClampCoordinate(1010, 20, 1024, AlignLeading), 1004);
    EXPECT_EQ(ClampCoordinate(5, 20, 1024, AlignTrailing), 20);
    EXPECT_EQ(ClampCoordinate(1030, 20, 1024, AlignTrailing), 1024);
    // Larger than the desktop: the upper limit wins.
    EXPECT_EQ(ClampCoordinate(0, 2000, 1024, AlignCenter), 24);
    EXPECT_EQ(ClampCoordinate(0, 2000, 1024, AlignLeading), -976);
    EXPECT_EQ(ClampCoordinate(-50, 20, 1024, 5), -50);

    // Appending and moving clamp too; without a picture nothing is clamped.
    TScreenImage image;
    image.AppendPoint(-10, -10);
    EXPECT_EQ(image.Vertex(1).x, -10);
    image.SetPicture(ui::Picture::Blank(20, 20));
    image.MoveCurrentPoint(-10, -10);
    EXPECT_EQ(image.Vertex(1).x, 10);
    EXPECT_EQ(image.Vertex(1).y, 10);
    const int32_t dw = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int32_t dh = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    image.MoveCurrentPoint(dw + 6, dh + 2);
    EXPECT_EQ(image.Vertex(1).x, dw - 10);
    EXPECT_EQ(image.Vertex(1).y, dh - 10);
    image.BeginDrag(1, 0, 0);
    image.EndDrag(-100, -100);
    EXPECT_EQ(image.Vertex(1).x, dw - 10) << "EndDrag clamps its own arguments only";
}

TEST(PictureRegion, RunsGiveExactlyThePixelUnion) {
    std::mt19937 random(7);
    std::vector<ui::PixelImage> pictures = {
        Keyed(104, 68, [&](int32_t, int32_t) { return random() % 2 == 0; }),
        Keyed(100, 100, [](int32_t x, int32_t y) { return (x + y) % 2 == 0; }), // 5000 runs
        Keyed(26, 26,
              [](int32_t x, int32_t y) {
                  const int32_t dx = x - 13, dy = y - 13;
                  return dx * dx + dy * dy > 144 || dx * dx + dy * dy < 36; // a ring
              }),
        Keyed(9, 4, [](int32_t, int32_t) { return false; }),
        Keyed(1, 1, [](int32_t, int32_t) { return false; }),
        Keyed(7, 3, [](int32_t x, int32_t) { return x == 0 || x == 6; }),
    };
    for (size_t i = 0; i < pictures.size(); ++i) {
        const ui::PixelImage& p = pictures[i];
        for (POINT origin : {POINT{0, 0}, POINT{-37, 415}}) {
            ui::Region runs =
                BuildPictureRegion(p.Pixels.data(), p.Width, p.Height, Key, origin.x, origin.y);
            ui::Region pixels = BuildPictureRegionPixelByPixel(p.Pixels.data(), p.Width, p.Height,
                                                               Key, origin.x, origin.y);
            EXPECT_TRUE(::EqualRgn(runs.Get(), pixels.Get())) << "picture " << i;
        }
    }
    // The 9 x 4 opaque picture is one rectangle; the colour's top byte is ignored.
    ui::PixelImage solid = pictures[3];
    ui::Region one = BuildPictureRegion(solid.Pixels.data(), 9, 4, Key, 10, 20);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(one.Get(), &box), SIMPLEREGION);
    EXPECT_TRUE(SameRect(box, {10, 20, 19, 24}));
    solid.Pixels[0] = KeyPixel | 0xFF000000u;
    ui::Region notched = BuildPictureRegion(solid.Pixels.data(), 9, 4, Key, 10, 20);
    EXPECT_FALSE(::PtInRegion(notched.Get(), 10, 20));
    EXPECT_EQ(RegionRects(notched.Get()), 2);

    ui::PixelImage clear = Keyed(12, 12, [](int32_t, int32_t) { return true; });
    ui::Region none = BuildPictureRegion(clear.Pixels.data(), 12, 12, Key, 0, 0);
    EXPECT_EQ(::GetRgnBox(none.Get(), &box), NULLREGION);
}

TEST(ScreenImage, PaintsOpaquePixelsAndCachesTheirRegion) {
    const long handlesBefore = ui::LiveHandleCount();
    {
        // 5 x 3 with a keyed left column and centre pixel.
        ui::PixelImage pic =
            Keyed(5, 3, [](int32_t x, int32_t y) { return x == 0 || (x == 2 && y == 1); });
        TScreenImage image;
        image.SetPicture(ui::Picture::FromPixels(pic));
        image.SetTransparentColor(Key);
        image.AppendPoint(20, 10); // picture at (18, 9)
        tp::Surface s(40, 30, Grey);
        ui::Region acc = ui::MakeEmptyRegion();

        image.Paint(s.canvas, acc.Get(), false);
        EXPECT_EQ(s.At(18, 9), Grey) << "keyed pixel leaves the screen alone";
        EXPECT_EQ(s.At(20, 10), Grey);
        EXPECT_EQ(s.At(19, 9), ui::ColorFromPixel(pic.At(1, 0)));
        EXPECT_EQ(s.At(22, 11), ui::ColorFromPixel(pic.At(4, 2)));
        EXPECT_TRUE(SameRect(image.Bounds, {18, 9, 22, 11}));
        ui::Region expected = BuildPictureRegionPixelByPixel(pic.Pixels.data(), 5, 3, Key, 18, 9);
        EXPECT_TRUE(::EqualRgn(acc.Get(), expected.Get()));
        EXPECT_TRUE(::EqualRgn(image.Region.Get(), expected.Get()));

        int32_t distance = -1;
        EXPECT_TRUE(image.HitTest({19, 9}, 0, distance));
        EXPECT_EQ(distance, 0);
        EXPECT_FALSE(image.HitTest({18, 9}, 100, distance));
        EXPECT_FALSE(image.HitTest({20, 10}, 100, distance));

        // The region is kept between paints and dropped by every change.
        HRGN cached = image.Region.Get();
        image.Paint(s.canvas, acc.Get(), false);
        EXPECT_EQ(image.Region.Get(), cached);
        image.MoveCurrentPoint(30, 20);
        EXPECT_FALSE(image.Region);
        EXPECT_FALSE(image.HitTest({31, 19}, 0, distance)) << "not yet repainted";
        image.Paint(s.canvas, acc.Get(), false);
        EXPECT_TRUE(image.HitTest({29, 19}, 0, distance));
        for (auto change : {+[](TScreenImage& i) { i.SetTransparentColor(Grey); },
                            +[](TScreenImage& i) { i.SetHorzAlign(AlignLeading); },
                            +[](TScreenImage& i) { i.SetVertAlign(AlignTrailing); },
                            +[](TScreenImage& i) { i.SetPicture(ui::Picture::Blank(2, 2)); }}) {
            image.Paint(s.canvas, acc.Get(), false);
            ASSERT_TRUE(image.Region);
            change(image);
            EXPECT_FALSE(image.Region);
        }

        // Invisible or without picture: nothing drawn, nothing added.
        TScreenImage blank;
        blank.AppendPoint(5, 5);
        ui::Region empty = ui::MakeEmptyRegion();
        blank.Paint(s.canvas, empty.Get(), false);
        RECT box{};
        EXPECT_EQ(::GetRgnBox(empty.Get(), &box), NULLREGION);
        image.SetVisible(false);
        image.Paint(s.canvas, empty.Get(), false);
        EXPECT_EQ(::GetRgnBox(empty.Get(), &box), NULLREGION);
    }
    EXPECT_EQ(ui::LiveHandleCount(), handlesBefore);
}

// On a canvas that has its picture's pixels the image is copied straight
// into them: pixel for pixel what the system's transparent copy draws, with
// a window origin, a clipping region and the image past the picture's edges.
TEST(ScreenImage, DirectCopyDrawsWhatTheSystemDraws) {
    std::mt19937 random(7);
    ui::PixelImage pic = Keyed(23, 17, [&](int32_t, int32_t) { return random() % 3 == 0; });
    const POINT origin{10, 200};
    const SIZE size{60, 40};
    ui::Region clip(::CreateEllipticRgn(5, 3, 50, 38)); // in pixels
    for (const POINT at : {POINT{0, 215}, POINT{40, 195}, POINT{55, 230}, POINT{20, 210}}) {
        for (const bool clipped : {false, true}) {
            ui::PixelPicture system = ui::MakePixelPicture(size, origin);
            ui::PixelPicture direct = ui::MakePixelPicture(size, origin);
            ASSERT_TRUE(system && direct);
            const size_t n = static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy);
            std::fill(system.pixels.bits, system.pixels.bits + n, 0x00123456u);
            std::fill(direct.pixels.bits, direct.pixels.bits + n, 0x00123456u);
            if (clipped) {
                ::SelectClipRgn(system.dc.Get(), clip.Get());
                ::SelectClipRgn(direct.dc.Get(), clip.Get());
            }
            ui::Canvas viaSystem(system.dc.Get()), viaPixels(direct.dc.Get());
            viaPixels.SetPixels(direct.pixels);
            for (ui::Canvas* canvas : {&viaSystem, &viaPixels}) {
                TScreenImage image;
                image.SetHorzAlign(AlignLeading);
                image.SetVertAlign(AlignLeading);
                image.SetPicture(ui::Picture::FromPixels(pic));
                image.SetTransparentColor(Key);
                image.AppendPoint(at.x, at.y);
                ui::Region area = ui::MakeEmptyRegion();
                image.Paint(*canvas, area.Get(), false);
            }
            ::GdiFlush();
            EXPECT_TRUE(std::equal(direct.pixels.bits, direct.pixels.bits + n, system.pixels.bits))
                << "image at " << at.x << ", " << at.y << (clipped ? ", clipped" : "");
        }
    }
}

TEST(ScreenImage, DraggingDrawsTheWholeRectangle) {
    ui::PixelImage pic = Keyed(5, 3, [](int32_t x, int32_t) { return x == 0; });
    TScreenImage image;
    image.SetPicture(ui::Picture::FromPixels(pic));
    image.SetTransparentColor(Key);
    image.AppendPoint(20, 10);
    tp::Surface s(40, 30, Grey);
    ui::Region acc = ui::MakeEmptyRegion();
    image.BeginDrag(1, 20, 10);
    image.Paint(s.canvas, acc.Get(), false);
    EXPECT_EQ(s.At(18, 9), Key) << "no transparency while dragged";
    EXPECT_FALSE(image.Region) << "no pixel region built during a drag";
    ui::Region whole(::CreateRectRgn(18, 9, 23, 12));
    EXPECT_TRUE(::EqualRgn(acc.Get(), whole.Get()));

    image.MoveCurrentPoint(25, 12);
    image.EndDrag(25, 12);
    ui::Region after = ui::MakeEmptyRegion();
    image.Paint(s.canvas, after.Get(), false);
    ui::Region expected = BuildPictureRegionPixelByPixel(pic.Pixels.data(), 5, 3, Key, 23, 11);
    EXPECT_TRUE(::EqualRgn(after.Get(), expected.Get()));

    // An all-transparent picture is drawn as nothing and never hit.
    image.SetPicture(ui::Picture::FromPixels(Keyed(6, 6, [](int32_t, int32_t) { return true; })));
    ui::Region none = ui::MakeEmptyRegion();
    image.Paint(s.canvas, none.Get(), false);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(none.Get(), &box), NULLREGION);
    int32_t distance = 0;
    EXPECT_FALSE(image.HitTest({25, 12}, 100, distance));
}

TEST(ScreenImage, StoresTheTransparentColour) {
    const std::wstring ini = tp::IniPath(L"image");
    ::DeleteFileW(ini.c_str());
    TScreenImage image;
    image.SetPicture(ui::Picture::Blank(4, 4));
    image.AppendPoint(300, 200);
    image.SetTransparentColor(RGB(1, 2, 3));
    image.RelativePosition = false;
    image.SaveToIni(ini, L"Item", nullptr);
    EXPECT_EQ(ReadIniInteger(ini, L"Item", L"TransparentColor", -1), RGB(1, 2, 3));
    EXPECT_EQ(ReadIniInteger(ini, L"Item", L"Type", -1), 1);

    TScreenImage loaded;
    loaded.SetTransparentColor(RGB(9, 9, 9));
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"Item"));
    EXPECT_EQ(loaded.TransparentColor, RGB(1, 2, 3));
    EXPECT_EQ(loaded.Vertex(1).x, 300);
    // A section without the key keeps the current colour.
    WriteIniString(ini, L"Other", L"Type", L"1");
    ASSERT_TRUE(loaded.LoadFromIni(ini, L"Other"));
    EXPECT_EQ(loaded.TransparentColor, RGB(1, 2, 3));
    // The wrong type loads nothing.
    WriteIniString(ini, L"Text", L"Type", L"9");
    WriteIniInteger(ini, L"Text", L"TransparentColor", 5);
    EXPECT_FALSE(loaded.LoadFromIni(ini, L"Text"));
    EXPECT_EQ(loaded.TransparentColor, RGB(1, 2, 3));
    std::wstring info = L"x";
    loaded.GetInfoText(info);
    EXPECT_TRUE(info.empty());
    ::DeleteFileW(ini.c_str());
}

TEST(ScreenImage, SetPictureKeepsItsOwnCopy) {
    ui::PixelImage pic = Keyed(4, 2, [](int32_t x, int32_t) { return x == 3; });
    ui::Picture source = ui::Picture::FromPixels(pic);
    TScreenImage image;
    image.SetPicture(source);
    ASSERT_FALSE(source.Empty());
    source.Bits()[0] = 0x00123456; // the caller's picture changes, the item's does not
    EXPECT_EQ(image.Picture.ToPixels().Pixels, pic.Pixels);

    // From a bitmap handle: a 4-bit one keeps its exact colours.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER), 3, 1, 1, 4, BI_RGB, 0, 0, 0, 2, 0};
    info.colors[0] = {10, 20, 30, 0};
    info.colors[1] = {255, 0, 255, 0};
    void* bits = nullptr;
    ui::Bitmap four(::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_TRUE(four);
    static_cast<uint8_t*>(bits)[0] = 0x01; // pixels 0, 1
    static_cast<uint8_t*>(bits)[1] = 0x00; // pixel 2
    image.SetPicture(four.Get());
    EXPECT_EQ(image.Picture.PixelColor(0, 0), RGB(30, 20, 10));
    EXPECT_EQ(image.Picture.PixelColor(1, 0), Key);
    image.SetPicture(static_cast<HBITMAP>(nullptr));
    EXPECT_TRUE(image.Picture.Empty());
}
