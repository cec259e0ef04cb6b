// The scene on screens of 96, 120, 144 and 192 DPI: every designed size and
// offset scales by dpi / 96, the bitmaps grow by nearest neighbour with their
// colours and transparent keys exact, and on the real overlay window the
// shape stays exactly what the items paint.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "card/SceneBitmaps.h"
#include "card/SceneTimeline.h"
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "screen_objects/uScreenBitmap.h"
#include "ui/RegionUnion.h"

namespace {

constexpr int W = 1024;
constexpr int H = 768;
const int Dpis[] = {96, 120, 144, 192};

struct Added {
    bool bitmap = false;
    bool scaled = false;
    int dpi = 96;
    std::string name;
    POINT pos{};
    RECT rect{};
    COLORREF color = 0;
};

// Records what the scene adds; Set operations are not looked at here.
class Recorder : public SceneOverlay {
public:
    std::vector<Added> items;
    int32_t AddBitmapFromResource(POINT p, HINSTANCE, const std::string& n, COLORREF k) override {
        items.push_back(Added{true, false, 96, n, p, {}, k});
        return Id();
    }
    int32_t AddScaledBitmapFromResource(POINT p, HINSTANCE, const std::string& n, COLORREF k,
                                        int dpi) override {
        items.push_back(Added{true, true, dpi, n, p, {}, k});
        return Id();
    }
    int32_t AddEllipse(RECT r, COLORREF c) override { return Shape(r, c); }
    int32_t AddRectangle(RECT r, COLORREF c) override { return Shape(r, c); }
    int32_t SetFilled(int32_t, bool) override { return 1; }
    int32_t SetAutoHide(int32_t, bool) override { return 1; }
    int32_t SetZOrder(int32_t, int32_t) override { return 1; }

private:
    int32_t Shape(RECT r, COLORREF c) {
        items.push_back(Added{false, false, 96, "", {}, r, c});
        return Id();
    }
    int32_t Id() { return static_cast<int32_t>(items.size()); }
};

// The same draws on every run: a linear congruential sequence that
// re-seeding does not disturb.
class Fixed : public SceneRandom {
public:
    explicit Fixed(uint32_t seed) : seed_(seed) {}
    void Reseed() override {}
    int Random(int n) override {
        seed_ = seed_ * 1664525u + 1013904223u;
        return n > 0 ? int((uint64_t(seed_) * uint32_t(n)) >> 32) : 0;
    }

private:
    uint32_t seed_;
};

class Largest : public SceneRandom {
public:
    void Reseed() override {}
    int Random(int n) override { return n > 0 ? n - 1 : 0; }
};

struct AlwaysOn : SceneTimer {
    bool Enabled() const override { return true; }
    void SetEnabled(bool) override {}
    UINT Interval() const override { return 100; }
    void SetInterval(UINT) override {}
};

int Wd(RECT r) {
    return r.right - r.left;
}
int Ht(RECT r) {
    return r.bottom - r.top;
}

TEST(SceneAtScreenDpi, SizesAndPlacesScaleWithTheDpi) {
    // Expected values for 96, 120, 144, 192 DPI (halves round up).
    const int closeMargin[] = {30, 38, 45, 60};
    const int iconRight[] = {82, 103, 123, 164}, iconBottom[] = {64, 81, 96, 128};
    const int crownTop[] = {545, 681, 818, 1090}, manX[] = {300, 375, 450, 600};
    const int rim[] = {3, 4, 5, 6}, faceX[] = {305, 381, 458, 610};
    const int pileW[] = {120, 150, 180, 240}, pileH[] = {100, 126, 150, 200};
    for (int i = 0; i < 4; ++i) {
        const int dpi = Dpis[i];
        SCOPED_TRACE(dpi);
        EXPECT_EQ(CloseBoxPosition(W, dpi).x, W - closeMargin[i]);
        EXPECT_EQ(CloseBoxPosition(W, dpi).y, closeMargin[i]);
        EXPECT_EQ(LetterIconPosition(W, H, dpi).x, W - iconRight[i]);
        EXPECT_EQ(LetterIconPosition(W, H, dpi).y, H - iconBottom[i]);

        Recorder man;
        BuildSnowMan(H, man, nullptr, dpi);
        ASSERT_EQ(man.items.size(), 19u);
        const RECT bottom = man.items[0].rect, outline = man.items[1].rect;
        EXPECT_EQ((bottom.left + bottom.right) / 2, manX[i]) << "stands at the same place";
        EXPECT_EQ(bottom.bottom, H - ui::ScaleToDpi(50, dpi));
        EXPECT_EQ(bottom.left - outline.left, rim[i]);
        EXPECT_EQ(outline.bottom - bottom.bottom, rim[i]);
        EXPECT_EQ(man.items[7].rect.top, H - crownTop[i]) << "hat crown";
        const Added& face = man.items[8];
        EXPECT_TRUE(face.bitmap);
        EXPECT_EQ(face.scaled, dpi != 96) << "at 96 DPI the designed picture, unscaled";
        EXPECT_EQ(face.dpi, dpi);
        EXPECT_EQ(face.pos.x, faceX[i]);
        // The balls still touch: each one's top lies inside the one above's bottom.
        EXPECT_GT(man.items[0].rect.top, man.items[2].rect.top);
        EXPECT_LT(man.items[0].rect.top, man.items[2].rect.bottom);
        EXPECT_LT(man.items[4].rect.bottom, man.items[2].rect.bottom);
        EXPECT_GT(man.items[4].rect.bottom, man.items[2].rect.top);
        for (int b = 9; b < 19; ++b)
            EXPECT_EQ(Wd(man.items[b].rect), ui::ScaleToDpi(10, dpi)) << "button " << b;

        // A ground tick in the drift window: a wide pile, wide top and tall side drifts.
        Recorder ground;
        AlwaysOn timer;
        Largest random;
        SnowGroundTick(65000, W, H, timer, random, ground, dpi);
        ASSERT_EQ(ground.items.size(), 31u);
        for (size_t k = 0; k < ground.items.size(); ++k) {
            const RECT r = ground.items[k].rect;
            const bool side = k > 0 && k % 3 != 1;
            EXPECT_EQ(Wd(r), side ? pileH[i] : pileW[i]) << k;
            EXPECT_EQ(Ht(r), side ? pileW[i] : pileH[i]) << k;
        }
        // The bands come from the screen, not from the DPI.
        EXPECT_EQ(ground.items[0].rect.top + pileH[i] / 2, H - (H * 5 / 100 - 1));

        Recorder fall;
        AlwaysOn fallTimer, groundTimer;
        SnowFallTick(15000, W, H, fallTimer, groundTimer, random, fall, nullptr, dpi);
        ASSERT_EQ(fall.items.size(), 1u);
        EXPECT_EQ(fall.items[0].name, SnowFlakeResource);
        EXPECT_EQ(fall.items[0].scaled, dpi != 96);
        EXPECT_EQ(fall.items[0].pos.y, H / 2 - 1) << "half the band at 15 s";
    }
}

ui::PixelImage Resource(const char* name) {
    TScreenBitmap b;
    b.LoadFromResource(::GetModuleHandleW(nullptr), name);
    return b.Picture.ToPixels();
}

TEST(SceneAtScreenDpi, BitmapsGrowByNearestNeighbourWithExactColours) {
    const struct {
        const char* name;
        COLORREF key;
    } bitmaps[] = {{CloseButtonResource, OpaqueKey},
                   {LetterResource, OpaqueKey},
                   {SnowFlakeResource, FlakeKey},
                   {SnowManFaceResource, FaceKey}};
    for (const auto& b : bitmaps) {
        const ui::PixelImage designed = Resource(b.name);
        ASSERT_GT(designed.Width, 0) << b.name;
        const std::set<uint32_t> colours(designed.Pixels.begin(), designed.Pixels.end());
        for (int dpi : {120, 144, 192}) {
            SCOPED_TRACE(std::string(b.name) + " at " + std::to_string(dpi));
            auto made = MakeScaledSceneBitmap(POINT{500, 400}, ::GetModuleHandleW(nullptr), b.name,
                                              b.key, dpi);
            ASSERT_NE(made, nullptr);
            const ui::PixelImage p = made->Picture.ToPixels();
            EXPECT_EQ(p.Width, ui::ScaleToDpi(designed.Width, dpi));
            EXPECT_EQ(p.Height, ui::ScaleToDpi(designed.Height, dpi));
            EXPECT_EQ(made->TransparentColor, b.key);
            const RECT r = made->PictureRect();
            EXPECT_EQ((r.left + r.right) / 2, 500) << "centred on its position";
            for (uint32_t px : p.Pixels)
                ASSERT_TRUE(colours.count(px)) << "a colour the picture did not have";
            if (dpi == 192) { // whole factor: every pixel a 2 x 2 block of its source
                for (int y = 0; y < p.Height; ++y)
                    for (int x = 0; x < p.Width; ++x)
                        ASSERT_EQ(p.At(x, y), designed.At(x / 2, y / 2)) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(MakeScaledSceneBitmap(POINT{0, 0}, ::GetModuleHandleW(nullptr), "NOSUCHBITMAP",
                                    FlakeKey, 192),
              nullptr);
}

// The scene's calls made straight on an overlay window, as the card's
// overlay control makes them.
class FormOverlay : public SceneOverlay {
public:
    explicit FormOverlay(TTransparentForm& f) : f_(f) {}
    int32_t AddBitmapFromResource(POINT p, HINSTANCE m, const std::string& n, COLORREF k) override {
        return f_.Store().AddBitmapItemByResource(p, m, std::wstring(n.begin(), n.end()), k, false);
    }
    int32_t AddScaledBitmapFromResource(POINT p, HINSTANCE m, const std::string& n, COLORREF k,
                                        int dpi) override {
        return f_.Store().AddScreenObject(MakeScaledSceneBitmap(p, m, n, k, dpi), false);
    }
    int32_t AddEllipse(RECT r, COLORREF c) override {
        return f_.Store().AddEllipseItem(ConvertEllipseRect(r), false, 1, c, false);
    }
    int32_t AddRectangle(RECT r, COLORREF c) override {
        return f_.Store().AddRectangleItem(r, false, 1, c, false);
    }
    int32_t SetFilled(int32_t id, bool v) override { return f_.Store().SetItemFilled(id, v); }
    int32_t SetAutoHide(int32_t id, bool v) override { return f_.Store().SetItemAutohide(id, v); }
    int32_t SetZOrder(int32_t id, int32_t p) override { return f_.Store().SetItemZOrder(id, p); }

private:
    TTransparentForm& f_;
};

ui::Region Shape(TTransparentForm& form) {
    ui::Region shape = ui::MakeEmptyRegion();
    if (::GetWindowRgn(form.Handle(), shape.Get()) == ERROR)
        ::SetRectRgn(shape.Get(), 0, 0, 0, 0);
    return shape;
}

// The overlay window's picture, as the screen gets it.
ui::PixelImage Picture(TTransparentForm& form) {
    HDC dc = form.Presenter().PictureDC();
    return ui::Picture::FromBitmap(static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP)))
        .ToPixels();
}

// A short scene: the two lasting items, flakes in the growing band, piles,
// drifts and the snowman; one window rebuilt after every tick, the other once
// at the end. Both must show the same, inside a shape that is exactly the
// union of the items' painted areas, and every picture's area is exactly its
// pixels that are not its transparent colour.
TEST(SceneAtScreenDpi, OverlayShapeIsWhatTheScaledScenePaints) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    // The pointer rests on the snow: new flakes under it hide at once and
    // leave the shape, wherever the test before left the pointer.
    ::SetCursorPos(W / 2, H - 4);
    for (int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        TTransparentForm stepwise, once;
        ASSERT_TRUE(stepwise.CreateForm());
        ASSERT_TRUE(once.CreateForm());
        stepwise.FrontTimer.SetEnabled(false);
        once.FrontTimer.SetEnabled(false);
        FormOverlay a(stepwise), b(once);
        AlwaysOn timer;
        for (FormOverlay* o : {&a, &b}) {
            AddSceneBitmap(*o, CloseBoxPosition(W, dpi), self, CloseButtonResource, OpaqueKey, dpi);
            AddSceneBitmap(*o, LetterIconPosition(W, H, dpi), self, LetterResource, OpaqueKey, dpi);
        }
        for (DWORD e = 1000; e <= 70000; e += 3000) {
            for (FormOverlay* o : {&a, &b}) {
                Fixed random(e * 7 + dpi); // the same draws for both windows
                if (e < 40000)
                    SnowFallTick(e, W, H, timer, timer, random, *o, self, dpi);
                else
                    SnowGroundTick(e, W, H, timer, random, *o, dpi);
            }
            stepwise.RebuildWindowShape();
        }
        BuildSnowMan(H, a, self, dpi);
        BuildSnowMan(H, b, self, dpi);
        stepwise.RebuildWindowShape();
        once.RebuildWindowShape();

        ui::Region sa = Shape(stepwise), sb = Shape(once);
        ui::Region rest = ui::MakeEmptyRegion();
        EXPECT_EQ(::CombineRgn(rest.Get(), sa.Get(), sb.Get(), RGN_XOR), NULLREGION)
            << "the shapes differ";
        ui::Region painted = ui::MakeEmptyRegion();
        size_t hidden = 0;
        for (int32_t id : once.Store().ItemIDs(false)) {
            const TScreenObject& item = *once.Store().FindItem(id)->ScreenObject;
            ASSERT_TRUE(item.Region) << "item " << id;
            if (once.Store().FindItem(id)->AutoHidden)
                ++hidden;
            else
                ::CombineRgn(painted.Get(), painted.Get(), item.Region.Get(), RGN_OR);
            if (const auto* image = dynamic_cast<const TScreenImage*>(&item)) {
                const ui::PixelImage p = image->Picture.ToPixels();
                const uint32_t key = ui::PixelFromColor(image->TransparentColor);
                size_t opaque = 0;
                for (uint32_t px : p.Pixels)
                    opaque += (px != key);
                size_t inRegion = 0;
                for (const RECT& r : ui::RegionRects(item.Region.Get()))
                    inRegion += size_t(Wd(r)) * size_t(Ht(r));
                EXPECT_EQ(inRegion, opaque) << "picture " << id;
            }
        }
        EXPECT_EQ(::CombineRgn(rest.Get(), sb.Get(), painted.Get(), RGN_XOR), NULLREGION)
            << "the shape is not the union of the shown items' areas";
        EXPECT_GT(hidden, 0u) << "no flake under the pointer";

        const ui::PixelImage pa = Picture(stepwise), pb = Picture(once);
        ASSERT_EQ(pa.Width, W);
        ASSERT_EQ(pb.Height, H);
        size_t differing = 0, inside = 0;
        for (const RECT& r : ui::RegionRects(sb.Get()))
            for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, H); ++y)
                for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, W); ++x) {
                    ++inside;
                    differing += pa.At(x, y) != pb.At(x, y);
                }
        EXPECT_GT(inside, 10000u);
        EXPECT_EQ(differing, 0u) << "pixels inside the shape differ";
    }
}

} // namespace
