// The overlay's incremental repaint against the straightforward full repaint:
// two windows get the same random sequence of changes, one repaints only what
// changed, the other paints every item and unites every area each time. After
// every step the window shapes must cover the same pixels and the pictures
// must agree on every pixel inside the shape.
#include "overlay_test_support.h"
#include "reference_repaint.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/RegionUnion.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace overlay_test;

namespace {

const std::wstring FlakeFile = std::wstring(ORVEX_RESOURCE_DIR) + L"/snowflake.bmp";
const std::wstring FaceFile = std::wstring(ORVEX_RESOURCE_DIR) + L"/snowmanface.bmp";

// Items crowd into this area, so that they overlap a lot.
constexpr int Area = 360;
constexpr int Origin = 40;

struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> bits;
    uint32_t At(int x, int y) const {
        return bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

Pixels ReadPicture(TTransparentForm& form) {
    Pixels p;
    HDC dc = form.Presenter().PictureDC();
    if (!dc)
        return p;
    HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    p.width = info.bmWidth;
    p.height = info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = p.width;
    bi.bmiHeader.biHeight = -p.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    p.bits.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
    ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(p.height), p.bits.data(), &bi, DIB_RGB_COLORS);
    for (uint32_t& v : p.bits)
        v &= 0x00FFFFFFu;
    return p;
}

std::vector<RECT> RectsOf(HRGN region) {
    return ui::RegionRects(region);
}

// Whether the regions cover the same pixels: neither has any left over when
// the other is taken away.
bool SamePixels(HRGN a, HRGN b) {
    ui::Region rest = ui::MakeEmptyRegion();
    return ::CombineRgn(rest.Get(), a, b, RGN_DIFF) == NULLREGION &&
           ::CombineRgn(rest.Get(), b, a, RGN_DIFF) == NULLREGION;
}

std::string BoxText(HRGN r) {
    RECT b{};
    ::GetRgnBox(r, &b);
    std::ostringstream out;
    out << "(" << b.left << "," << b.top << "," << b.right << "," << b.bottom << ")";
    return out.str();
}

ui::Region WindowShape(TTransparentForm& form) {
    ui::Region shape = ui::MakeEmptyRegion();
    if (::GetWindowRgn(form.Handle(), shape.Get()) == ERROR)
        ::SetRectRgn(shape.Get(), 0, 0, 0, 0);
    return shape;
}

// Empty when both windows show the same; otherwise what differs first.
std::string Compare(TTransparentForm& fast, TTransparentForm& full) {
    ui::Region a = WindowShape(fast), b = WindowShape(full);
    if (!SamePixels(a.Get(), b.Get()))
        return "the window shapes differ";
    const Pixels pa = ReadPicture(fast), pb = ReadPicture(full);
    if (pa.width != pb.width || pa.height != pb.height)
        return "the pictures differ in size";
    for (const RECT& r : RectsOf(b.Get()))
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, pb.height); ++y)
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, pb.width); ++x)
                if (pa.At(x, y) != pb.At(x, y)) {
                    std::ostringstream out;
                    out << "pixel (" << x << ", " << y << ") is " << std::hex << pa.At(x, y)
                        << " instead of " << pb.At(x, y);
                    return out.str();
                }
    return {};
}

// What the screen shows of the window inside its shape, within the area the
// items crowd into: empty when that is the window's picture on every pixel,
// otherwise the first pixel that differs.
std::string CompareScreen(TTransparentForm& form) {
    const Pixels picture = ReadPicture(form);
    const int side = std::min(Origin + Area + 130, std::min(picture.width, picture.height));
    if (side <= 0)
        return {};
    // A look into the message queue that takes nothing out: the system hands
    // what was painted to the screen while a thread waits for messages.
    MSG msg;
    ::PeekMessageW(&msg, nullptr, WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
    ui::WindowDC screen(nullptr);
    ui::MemoryDC copy(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = side;
    bi.bmiHeader.biHeight = -side;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ui::Bitmap dib(::CreateDIBSection(copy.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits)
        return "the screen could not be read";
    {
        ui::Selection selected(copy.Get(), dib.Get());
        ::BitBlt(copy.Get(), 0, 0, side, side, screen.Get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    const auto* shown = static_cast<const uint32_t*>(bits);
    ui::Region shape = WindowShape(form);
    for (const RECT& r : RectsOf(shape.Get()))
        for (int y = std::max<int>(r.top, 0); y < std::min<int>(r.bottom, side); ++y)
            for (int x = std::max<int>(r.left, 0); x < std::min<int>(r.right, side); ++x) {
                const uint32_t onScreen = shown[y * side + x] & 0x00FFFFFFu;
                if (onScreen != picture.At(x, y)) {
                    std::ostringstream out;
                    out << "the screen shows " << std::hex << onScreen << " at (" << std::dec << x
                        << ", " << y << ") instead of " << std::hex << picture.At(x, y);
                    return out.str();
                }
            }
    return {};
}

// Applies one random change to both windows and returns what it was.
class Sequence {
public:
    // exactOnly keeps to the shapes that paint exactly their areas (filled
    // ellipses and rectangles, pictures), as the card's scene does; library
    // also shows and hides the library dialog and adds and clears
    // demonstration items.
    Sequence(uint32_t seed, TTransparentForm& fast, TTransparentForm& full, bool exactOnly,
             bool library = false)
        : random_(seed), fast_(fast), full_(full), exactOnly_(exactOnly), library_(library) {}

    std::string Step() {
        if (library_ && Below(100) < 20)
            return LibraryStep();
        const int pick = Below(100);
        std::vector<int32_t> ids = fast_.Store().ItemIDs(false);
        if (ids.empty() || pick < 35)
            return Add();
        const int32_t id = ids[static_cast<size_t>(Below(static_cast<int>(ids.size())))];
        std::ostringstream what;
        if (pick < 45) {
            // The card's way: a new item sent behind all others.
            const std::string added = Add();
            const int32_t newest =
                fast_.Store().ItemIDs(false).empty() ? 0 : fast_.Store().LastItemID();
            Both([&](TTransparentForm& f) { f.Store().SetItemZOrder(newest, 0); });
            return added + " sent to the back";
        }
        if (pick < 53) {
            Both([&](TTransparentForm& f) { f.Store().DeleteItem(id); });
            what << "delete " << id;
        } else if (pick < 61) {
            const int position = Below(3) == 0 ? 1000 : Below(static_cast<int>(ids.size()) + 1);
            Both([&](TTransparentForm& f) { f.Store().SetItemZOrder(id, position); });
            what << "z-order " << id << " to " << position;
        } else if (pick < 69) {
            const bool visible = Below(2) == 0;
            Both([&](TTransparentForm& f) { f.Store().ShowItem(id, visible); });
            what << "show " << id << " " << visible;
        } else if (pick < 77) {
            const bool on = Below(3) != 0;
            Both([&](TTransparentForm& f) { f.Store().SetItemAutohide(id, on); });
            what << "autohide " << id << " " << on;
        } else if (pick < 85) {
            // The pointer moves: autohide items under it hide, others return.
            const int x = Origin + Below(Area), y = Origin + Below(Area);
            ::SetCursorPos(x, y);
            Both([](TTransparentForm& f) { f.CheckAutohide(); });
            what << "pointer at " << x << ", " << y;
        } else if (pick < 91) {
            const COLORREF color = Color();
            Both([&](TTransparentForm& f) { f.Store().SetItemColor(id, color); });
            what << "colour " << id;
        } else if (pick < 96 && !exactOnly_) {
            const bool filled = Below(2) == 0;
            Both([&](TTransparentForm& f) { f.Store().SetItemFilled(id, filled); });
            what << "filled " << id << " " << filled;
        } else if (pick < 99 && !exactOnly_) {
            const int width = 1 + Below(4);
            Both([&](TTransparentForm& f) { f.Store().SetItemLineWidth(id, width); });
            what << "line width " << id << " " << width;
        } else if (pick >= 99) {
            Both([](TTransparentForm& f) { f.Store().ClearItems(false); });
            what << "clear";
        } else {
            return Add();
        }
        return what.str();
    }

private:
    std::string LibraryStep() {
        const int pick = Below(10);
        if (pick < 3) {
            const bool show = !fast_.IsDialogVisible();
            Both([&](TTransparentForm& f) {
                if (show)
                    f.InformationaboutOrvexSDK1Click();
                else
                    ::ShowWindow(f.LibraryDialog()->Handle(), SW_HIDE);
            });
            return show ? "library dialog shown" : "library dialog hidden";
        }
        if (pick < 4) {
            Both([](TTransparentForm& f) { f.Store().ClearItems(true); });
            return "demo items cleared";
        }
        const int x = Origin + Below(Area), y = Origin + Below(Area);
        const RECT r{x, y, x + 20 + Below(90), y + 20 + Below(70)};
        const COLORREF color = Color();
        const bool filled = Below(2) == 0;
        Both([&](TTransparentForm& f) {
            f.Store().AddEllipseItem(r, filled, 1 + Below(3), color, true);
        });
        return filled ? "demo disc" : "demo ring";
    }

    int Below(int n) { return n <= 0 ? 0 : static_cast<int>(random_() % static_cast<uint32_t>(n)); }
    COLORREF Color() {
        static const COLORREF palette[] = {RGB(250, 250, 250), RGB(255, 255, 255),
                                           RGB(0, 0, 0),       RGB(200, 30, 30),
                                           RGB(20, 160, 60),   RGB(40, 40, 220)};
        return palette[Below(6)];
    }
    template <typename Op> void Both(Op op) {
        op(fast_);
        op(full_);
    }

    std::string Add() {
        const int kind = exactOnly_ ? Below(7) : Below(10);
        const int x = Origin + Below(Area), y = Origin + Below(Area);
        // Very narrow elliptic regions compare unequal to themselves on this
        // system (their rectangles come out of order), so shapes stay wider.
        const int w = 24 + Below(100), h = 24 + Below(80);
        const RECT r{x, y, x + w, y + h};
        const COLORREF color = Color();
        const bool filled = exactOnly_ || Below(4) != 0;
        std::ostringstream what;
        switch (kind) {
        case 0:
        case 1:
        case 2: // the card's snow
            Both(
                [&](TTransparentForm& f) { f.Store().AddEllipseItem(r, filled, 1, color, false); });
            what << "ellipse";
            break;
        case 3:
        case 4: {
            const int width = exactOnly_ ? 1 : 1 + Below(2) * Below(3);
            Both([&](TTransparentForm& f) {
                f.Store().AddRectangleItem(r, filled, width, color, false);
            });
        }
            what << "rectangle";
            break;
        case 5:
        case 6:
            Both([&](TTransparentForm& f) {
                f.Store().AddBitmapItemByFile(POINT{x, y}, kind == 5 ? FlakeFile : FaceFile,
                                              kind == 5 ? RGB(0, 0, 0) : RGB(255, 0, 255), false);
            });
            what << "bitmap";
            break;
        case 7: {
            const int width = 1 + Below(4);
            Both([&](TTransparentForm& f) {
                f.Store().AddLineItem(POINT{x, y}, POINT{x + w, y + h - 50}, width, color, false);
            });
            what << "line";
            break;
        }
        case 8: {
            const int style = Below(3);
            Both([&](TTransparentForm& f) {
                f.Store().AddPointItem(POINT{x, y}, style, color, false);
            });
            what << "point";
            break;
        }
        default: {
            const POINT points[] = {{x, y}, {x + w, y + 10}, {x + w / 2, y + h}};
            Both([&](TTransparentForm& f) {
                f.Store().AddPolylineItem(points, 3, filled, 1, color, false);
            });
            what << "polyline";
            break;
        }
        }
        what << " " << fast_.Store().LastItemID();
        return what.str();
    }

    std::mt19937 random_;
    TTransparentForm& fast_;
    TTransparentForm& full_;
    bool exactOnly_;
    bool library_;
};

// The incremental window on screen, the full-repaint reference hidden;
// their timers are left to the test. A small form in a corner, off the
// compared area, stands in for each one's library dialog.
bool PrepareWindows(TTransparentForm& fast, TTransparentForm& full) {
    if (!fast.CreateForm() || !full.CreateForm())
        return false;
    overlay_test::GiveStandInDialog(fast, 900, 700, 20);
    overlay_test::GiveStandInDialog(full, 900, 700, 20);
    fast.FrontTimer.SetEnabled(false);
    full.FrontTimer.SetEnabled(false);
    full.Presenter().SetRepaintEngine(MakeFullRepaint());
    ::SetWindowPos(fast.Handle(), HWND_TOPMOST, 0, 0, 0, 0, FrontWindowPosFlags);
    return true;
}

class RepaintEquivalence : public ::testing::TestWithParam<std::tuple<uint32_t, bool>> {
protected:
    void SetUp() override { ASSERT_TRUE(PrepareWindows(fast, full)); }
    void TearDown() override { ::SetCursorPos(0, 0); }
    void Run(bool library, int steps);

    TTransparentForm fast;
    TTransparentForm full;
};

void RepaintEquivalence::Run(bool library, int steps) {
    const auto [seed, exactOnly] = GetParam();
    SCOPED_TRACE("seed " + std::to_string(seed) + (exactOnly ? ", exact shapes" : ", all shapes"));
    Sequence sequence(seed, fast, full, exactOnly, library);
    std::string history;
    for (int step = 0; step < steps; ++step) {
        const std::string what = sequence.Step();
        history += "\n  " + what;
        fast.RebuildWindowShape();
        full.RebuildWindowShape();
        const std::string difference = Compare(fast, full);
        ASSERT_EQ(difference, "") << "seed " << seed << ", step " << step << ": " << what
                                  << " (rebuilds: " << fast.Presenter().Repaints().Everything
                                  << " whole, " << fast.Presenter().Repaints().Gains << " gains, "
                                  << fast.Presenter().Repaints().Damaged << " damaged)"
                                  << "\nsteps so far:" << history;
        // What the screen shows inside the shape is the picture.
        ASSERT_EQ(CompareScreen(fast), "")
            << "seed " << seed << ", step " << step << ": " << what << "\nsteps so far:" << history;
        // The region each item answers the pointer with is the same in both.
        for (int32_t id : fast.Store().ItemIDs(false)) {
            const TScreenObject& a = *fast.Store().FindItem(id)->ScreenObject;
            const TScreenObject& b = *full.Store().FindItem(id)->ScreenObject;
            ASSERT_EQ(static_cast<bool>(a.Region), static_cast<bool>(b.Region))
                << "seed " << seed << ", step " << step << ", item " << id;
            if (a.Region) {
                ASSERT_TRUE(SamePixels(a.Region.Get(), b.Region.Get()))
                    << "seed " << seed << ", step " << step << ", item " << id << " of type "
                    << int(a.TypeCode) << " filled " << a.PolygonFilled << "/" << b.PolygonFilled
                    << " boxes " << BoxText(a.Region.Get()) << " " << BoxText(b.Region.Get())
                    << " rects " << RectsOf(a.Region.Get()).size() << " "
                    << RectsOf(b.Region.Get()).size() << " vertices " << a.Points[0].x << ","
                    << a.Points[0].y << " " << a.Points[1].x << "," << a.Points[1].y << " / "
                    << b.Points[0].x << "," << b.Points[0].y << " " << b.Points[1].x << ","
                    << b.Points[1].y << "\nsteps so far:" << history;
            }
        }
    }
    // The incremental window did not simply paint everything every time.
    const auto& stats = fast.Presenter().Repaints();
    if (!library) {
        EXPECT_GT(stats.Gains, 0);
    }
    if (exactOnly) {
        EXPECT_GT(stats.Damaged, stats.Everything);
    }
}

TEST_P(RepaintEquivalence, RandomChangesGiveTheFullRepaintsShapeAndPixels) {
    Run(false, 120);
}

TEST_P(RepaintEquivalence, WithTheLibraryDialogAndDemoItems) {
    Run(true, 80);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RepaintEquivalence,
                         ::testing::Combine(::testing::Values(1u, 20261208u, 777u),
                                            ::testing::Bool()));

// The card's pattern: snow sent to the back of a growing pile. Most of it
// lies under what is already there; the window shape is handed to the system
// only when it grows, and a tick repaints a few items, not the whole pile.
TEST(RepaintGains, SnowSentToTheBackPaintsOnlyTheNewItems) {
    TTransparentForm fast, full;
    ASSERT_TRUE(PrepareWindows(fast, full));
    std::mt19937 random(5);
    for (int tick = 0; tick < 40; ++tick) {
        const long paintsBefore = fast.Presenter().Repaints().ItemPaints;
        for (int i = 0; i < 10; ++i) {
            const int x = 60 + static_cast<int>(random() % 300u);
            const int y = 300 + static_cast<int>(random() % 30u);
            const RECT r{x - 42, y - 35, x + 42, y + 35};
            for (TTransparentForm* f : {&fast, &full}) {
                const int32_t id =
                    f->Store().AddEllipseItem(r, false, 1, RGB(250, 250, 250), false);
                f->Store().SetItemFilled(id, true);
                f->Store().SetItemAutohide(id, true);
                f->Store().SetItemZOrder(id, 0);
            }
        }
        fast.RebuildWindowShape();
        full.RebuildWindowShape();
        ASSERT_EQ(Compare(fast, full), "") << "tick " << tick;
        if (tick > 0) { // the first rebuild paints everything there is
            EXPECT_EQ(fast.Presenter().Repaints().ItemPaints - paintsBefore, 10) << "tick " << tick;
        }
    }
    EXPECT_EQ(fast.Presenter().Repaints().Everything, 1);
    EXPECT_EQ(fast.Presenter().Repaints().Gains, 39);
}

// The library dialog and demonstration items show over the client's items
// without repainting them: when the dialog closes and the demonstration items
// go, the client's picture and shape come back as they were kept.
TEST(RepaintGains, LibraryDialogAndDemoItemsLeaveTheClientsItemsUnpainted) {
    TTransparentForm fast, full;
    ASSERT_TRUE(PrepareWindows(fast, full));
    auto both = [&](const std::function<void(TTransparentForm&)>& op) {
        op(fast);
        op(full);
        fast.RebuildWindowShape();
        full.RebuildWindowShape();
    };
    for (int i = 0; i < 30; ++i) {
        const RECT r{60 + 11 * i, 80 + 7 * i, 140 + 11 * i, 150 + 7 * i};
        both([&](TTransparentForm& f) {
            f.Store().AddEllipseItem(r, true, 1, RGB(250, 250, 250), false);
        });
    }
    const long paints = fast.Presenter().Repaints().ItemPaints;
    const RECT ring{200, 200, 300, 260};
    both([&](TTransparentForm& f) {
        f.Store().AddEllipseItem(ring, false, 3, RGB(200, 30, 30), true);
    });
    ASSERT_EQ(Compare(fast, full), "");
    both([](TTransparentForm& f) { f.InformationaboutOrvexSDK1Click(); });
    ASSERT_EQ(Compare(fast, full), "");
    ASSERT_EQ(CompareScreen(fast), "");
    ui::Region shape = WindowShape(fast);
    EXPECT_FALSE(::PtInRegion(shape.Get(), 70, 115)) << "a client's item shows under the dialog";
    both([](TTransparentForm& f) { ::ShowWindow(f.LibraryDialog()->Handle(), SW_HIDE); });
    ASSERT_EQ(Compare(fast, full), "");
    ASSERT_EQ(CompareScreen(fast), "");
    both([](TTransparentForm& f) { f.Store().ClearItems(true); });
    ASSERT_EQ(Compare(fast, full), "");
    ASSERT_EQ(CompareScreen(fast), "");
    // Only the demonstration ring was painted, once each rebuild it showed in.
    EXPECT_EQ(fast.Presenter().Repaints().ItemPaints - paints, 3);
    EXPECT_EQ(fast.Presenter().Repaints().Everything, 1);
}

} // namespace
