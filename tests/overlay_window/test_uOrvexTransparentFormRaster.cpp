// Raster items on the real overlay window: a bitmap from the card's resources
// shows and takes clicks with its opaque pixels only; a click on one of its
// transparent pixels reaches the window underneath.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenImage.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace overlay_test;

namespace {

constexpr COLORREF BelowColor = RGB(0, 160, 60);

COLORREF ScreenPixel(int x, int y) {
    ui::WindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), x, y);
}

} // namespace

TEST(TransparentFormRaster, ResourceBitmapShowsAndTakesOnlyItsOpaquePixels) {
    // The card's resources are linked into this test program.
    const HMODULE card = ::GetModuleHandleW(nullptr);
    const ui::Picture flake = ui::Picture::LoadBitmapResource(card, L"SNOWFLAKE");
    ASSERT_EQ(flake.Width(), 26);
    // An opaque pixel inside the flake (all four neighbours opaque) and a transparent one.
    auto opaque = [&](int x, int y) { return flake.PixelColor(x, y) != RGB(0, 0, 0); };
    POINT inside{-1, -1}, outside{-1, -1};
    for (int y = 1; y < 25 && inside.x < 0; ++y)
        for (int x = 1; x < 25 && inside.x < 0; ++x)
            if (opaque(x, y) && opaque(x - 1, y) && opaque(x + 1, y) && opaque(x, y - 1) &&
                opaque(x, y + 1))
                inside = {x, y};
    for (int y = 0; y < 26 && outside.x < 0; ++y)
        for (int x = 0; x < 26 && outside.x < 0; ++x)
            if (!opaque(x, y))
                outside = {x, y};
    ASSERT_GE(inside.x, 0);
    ASSERT_GE(outside.x, 0);

    ClickCounter below(BelowColor);
    ASSERT_TRUE(below.Open(600, 400));
    Receiver receiver;
    TTransparentForm form;
    ASSERT_TRUE(form.CreateForm());
    form.Store().SetCallbackWindow(receiver.Handle());

    const int32_t id =
        form.Store().AddBitmapItemByResource({300, 200}, card, L"SNOWFLAKE", RGB(0, 0, 0), false);
    ASSERT_GT(id, 0);
    form.FrontTimer.SetEnabled(true);
    Pump(400); // in front, painted, shaped
    ASSERT_TRUE(::IsWindowVisible(form.Handle()));
    receiver.Drain();

    // The window's shape is exactly the flake's opaque pixels, centred at (300, 200).
    const int left = 300 - 13, top = 200 - 13;
    ui::PixelImage pixels = flake.ToPixels();
    ui::Region expected =
        BuildPictureRegionPixelByPixel(pixels.Pixels.data(), 26, 26, RGB(0, 0, 0), left, top);
    ui::Region shape = ui::MakeEmptyRegion();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    EXPECT_TRUE(SameArea(shape.Get(), expected.Get()));

    // What the screen shows: the flake's colour where opaque, the window below elsewhere.
    EXPECT_EQ(ScreenPixel(left + inside.x, top + inside.y), flake.PixelColor(inside.x, inside.y));
    EXPECT_EQ(ScreenPixel(left + outside.x, top + outside.y), BelowColor);

    LeftClickAt(left + outside.x, top + outside.y);
    EXPECT_EQ(below.clicks, 1) << "the transparent pixel lets the click through";
    for (const Notification& n : receiver.Drain())
        EXPECT_NE(n.message, UINT(WM_TRANSPARENTELEMENT_CLICK));

    LeftClickAt(left + inside.x, top + inside.y);
    EXPECT_EQ(below.clicks, 1);
    std::vector<Notification> got = receiver.Drain();
    const Notification click{WM_TRANSPARENTELEMENT_CLICK, WPARAM(id),
                             MAKELPARAM(left + inside.x, top + inside.y)};
    EXPECT_NE(std::find(got.begin(), got.end(), click), got.end());
    ::SetCursorPos(700, 700);
}
