// Shapes of more rectangles than X takes in one request.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexPresenter.h"
#include "overlay_window/uOrvexShapeLimit.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/RegionUnion.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace overlay_test;

namespace {

// Single pixels on every second row and column of the area: (w / 2) * (h / 2)
// rectangles, made as the crossing of stripes.
ui::Region Dots(RECT area) {
    ui::RegionUnion columns, rows;
    for (LONG x = area.left; x < area.right; x += 2)
        columns.Push(ui::Region(::CreateRectRgn(x, area.top, x + 1, area.bottom)));
    for (LONG y = area.top; y < area.bottom; y += 2)
        rows.Push(ui::Region(::CreateRectRgn(area.left, y, area.right, y + 1)));
    ui::Region dots = columns.Finish();
    ::CombineRgn(dots.Get(), dots.Get(), rows.Finish().Get(), RGN_AND);
    return dots;
}

size_t RectCount(HRGN region) {
    return ui::RegionRects(region).size();
}

bool Covers(HRGN region, RECT r) {
    ui::Region rest(::CreateRectRgnIndirect(&r));
    return ::CombineRgn(rest.Get(), rest.Get(), region, RGN_DIFF) == NULLREGION;
}

// An item whose area is a field of dots.
class DotField : public FakeShape {
public:
    explicit DotField(RECT area) : FakeShape(area) {}
    HRGN Paint(ui::Canvas& canvas, HRGN region, bool) override {
        ResetRegion(Dots(Area).Get());
        ::CombineRgn(region, region, Region.Get(), RGN_OR);
        canvas.FillRect(Area, LineColor);
        return region;
    }
};

TEST(ShapeLimit, KeepsTheLargestRectanglesOfAShapeOverTheLimit) {
    ui::Region shape = Dots(RECT{0, 0, 100, 60}); // 1,500 dots
    const RECT block{200, 0, 260, 40};
    ui::Region solid(::CreateRectRgnIndirect(&block));
    ::CombineRgn(shape.Get(), shape.Get(), solid.Get(), RGN_OR);
    ASSERT_GT(RectCount(shape.Get()), 1500u);

    EXPECT_FALSE(LimitShapeRectangles(shape.Get(), 5000)) << "within the limit: left alone";
    ui::Region limited = LimitShapeRectangles(shape.Get(), 1000);
    ASSERT_TRUE(limited);
    EXPECT_LE(RectCount(limited.Get()), 1000u);
    EXPECT_TRUE(Covers(limited.Get(), block));
    ui::Region outside = ui::MakeEmptyRegion();
    EXPECT_EQ(::CombineRgn(outside.Get(), limited.Get(), shape.Get(), RGN_DIFF), NULLREGION)
        << "nothing is added to the shape";
}

// A shape of 34,000 rectangles reaches the system within the limit (under
// Wine more would end this program), and the solid items still show whole.
TEST(ShapeLimit, OverlayHandsTheSystemAShapeItCanTake) {
    TTransparentForm form;
    ASSERT_TRUE(form.CreateForm());
    form.FrontTimer.SetEnabled(false);
    form.Store().AddScreenObject(std::make_unique<DotField>(RECT{0, 0, 340, 200}), false);
    form.Store().AddScreenObject(std::make_unique<DotField>(RECT{0, 300, 340, 500}), false);
    const int32_t solid = form.Store().AddScreenObject(Fake(500, 100, 600, 160), false);
    form.RebuildWindowShape();
    ::ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    Pump(50);
    ui::Region shape = ui::MakeEmptyRegion();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    EXPECT_LE(RectCount(shape.Get()), MaxShapeRectangles);
    EXPECT_GT(RectCount(shape.Get()), MaxShapeRectangles / 2);
    EXPECT_TRUE(Covers(shape.Get(), RECT{500, 100, 600, 160}));
    // The items keep their whole areas for the mouse.
    EXPECT_EQ(RectCount(form.Store().FindItem(solid)->ScreenObject->Region.Get()), 1u);
}

// Where the platform sets no limit (Windows) the shape is handed over whole;
// with one, the window's shape keeps to it.
TEST(ShapeLimit, ThePresenterKeepsToThePlatformsLimitOrHandsTheShapeWhole) {
    for (size_t limit : {size_t{0}, size_t{400}}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        ui::Window window;
        ui::WindowParams p;
        p.style = WS_POPUP;
        p.exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        p.width = 200;
        p.height = 200;
        ASSERT_TRUE(window.Create(p));
        TPlatformMeasures measures{};
        measures.shapeRectangleLimit = limit;
        TOverlayPresenter presenter(measures);
        presenter.Attach(window.Handle());
        TItemList items(1);
        items[0].ID = 1;
        items[0].ScreenObject = std::make_unique<DotField>(RECT{0, 0, 60, 60}); // 900 dots
        presenter.Rebuild(&items, nullptr, true);
        ui::Region shape = ui::MakeEmptyRegion();
        ASSERT_NE(::GetWindowRgn(window.Handle(), shape.Get()), ERROR);
        if (limit == 0) {
            EXPECT_EQ(RectCount(shape.Get()), 900u);
        } else {
            EXPECT_LE(RectCount(shape.Get()), limit);
            EXPECT_GT(RectCount(shape.Get()), limit / 2);
        }
        presenter.Detach();
    }
}

} // namespace
