#include "ui/Canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A picture of the kind the overlay paints into, with its window origin at
// a screen point, and a canvas over it that knows its pixels or not.
struct Picture {
    explicit Picture(POINT origin) : picture(ui::MakePixelPicture(SIZE{Width, Height}, origin)) {
        dc = picture.dc.Get();
        bits = picture.pixels.bits;
        std::fill(bits, bits + Width * Height, 0x00123456u);
    }
    std::vector<uint32_t> Pixels() const {
        ::GdiFlush();
        return std::vector<uint32_t>(bits, bits + Width * Height);
    }
    static constexpr int Width = 90, Height = 70;
    ui::PixelPicture picture;
    HDC dc = nullptr;
    uint32_t* bits = nullptr;
};

// The direct fill writes exactly the pixels the system's region fill does:
// with a window origin, a clipping region, parts outside the picture and a
// region the clip leaves nothing of; a palette colour is left to the system.
TEST(CanvasPaintRegion, WritesWhatTheSystemFillWouldWithinTheClip) {
    const POINT origin{-40, 300}; // a picture left of and below the primary screen's corner
    ui::Region clip(::CreateEllipticRgn(10, 5, 80, 60)); // in pixels
    struct Case {
        RECT ellipse;
        COLORREF color;
        bool clipped;
    } cases[] = {
        {{-60, 290, 20, 350}, RGB(250, 250, 250), false}, // reaches past the left and top edges
        {{-30, 310, 40, 372}, RGB(200, 30, 30), true},
        {{30, 330, 70, 390}, RGB(0, 0, 0), true},       // past the bottom edge
        {{-40, 300, -35, 302}, RGB(20, 160, 60), true}, // the clip leaves nothing
        {{-20, 320, 0, 340}, PALETTEINDEX(3), false},
    };
    for (const Case& c : cases) {
        Picture system(origin), direct(origin);
        ui::Canvas viaSystem(system.dc), viaPixels(direct.dc);
        viaPixels.SetPixels(direct.picture.pixels);
        if (c.clipped) {
            ::SelectClipRgn(system.dc, clip.Get());
            ::SelectClipRgn(direct.dc, clip.Get());
        }
        ui::Region area(
            ::CreateEllipticRgn(c.ellipse.left, c.ellipse.top, c.ellipse.right, c.ellipse.bottom));
        for (ui::Canvas* canvas : {&viaSystem, &viaPixels}) {
            canvas->SetBrushColor(c.color);
            canvas->PaintRegion(area.Get());
        }
        EXPECT_EQ(direct.Pixels(), system.Pixels())
            << "ellipse at " << c.ellipse.left << ", " << c.ellipse.top;
    }
}

} // namespace
