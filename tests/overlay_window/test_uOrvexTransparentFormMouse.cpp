// The overlay window and the mouse pointer: autohide, the nearest-item rule,
// the notifications of mouse events and real clicks on and between items.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexTransparentForm.h"

#include <gtest/gtest.h>

#include <memory>

using namespace overlay_test;

namespace {

void PointerAt(int x, int y) {
    ASSERT_TRUE(::SetCursorPos(x, y));
}

class TransparentFormMouse : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.CreateForm());
        form.Store().SetCallbackWindow(receiver.Handle());
        form.FrontTimer.SetEnabled(false); // the tests call CheckAutohide themselves
    }
    TTransparentForm form;
    Receiver receiver;
};

TEST_F(TransparentFormMouse, AutohideFollowsThePointerOverTheLastPaintedArea) {
    const int32_t id = form.Store().AddScreenObject(Fake(100, 100, 200, 200), false);
    const int32_t other = form.Store().AddScreenObject(Fake(300, 100, 400, 200), false);
    form.RebuildWindowShape();
    receiver.Drain();

    PointerAt(150, 150);
    form.CheckAutohide(); // autohide is off: nothing happens
    EXPECT_FALSE(form.Store().FindItem(id)->AutoHidden);
    form.Store().SetItemAutohide(id, true);
    form.RebuildWindowShape();
    receiver.Drain();

    form.CheckAutohide();
    EXPECT_TRUE(form.Store().FindItem(id)->AutoHidden);
    EXPECT_TRUE(form.RepaintPending());
    form.CheckAutohide(); // still inside: announced once only
    form.RebuildWindowShape();
    EXPECT_EQ(ShapeOf(form, id).Paints, 2); // not painted while hidden
    ui::Region shape = ui::MakeEmptyRegion();
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_FALSE(::PtInRegion(shape.Get(), 150, 150));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 350, 150));
    form.CheckAutohide(); // the area it last covered still holds the pointer
    EXPECT_TRUE(form.Store().FindItem(id)->AutoHidden);

    PointerAt(250, 150);
    form.CheckAutohide();
    EXPECT_FALSE(form.Store().FindItem(id)->AutoHidden);
    EXPECT_EQ(receiver.Drain(), (std::vector<Notification>{Status(id, STATUSCHANGED_AUTOHIDE),
                                                           Status(id, STATUSCHANGED_AUTOSHOW)}));

    // Switching autohide off leaves a hidden item hidden.
    PointerAt(150, 150);
    form.CheckAutohide();
    form.Store().SetItemAutohide(id, false);
    PointerAt(250, 150);
    form.CheckAutohide();
    EXPECT_TRUE(form.Store().FindItem(id)->AutoHidden);
    EXPECT_FALSE(form.Store().FindItem(other)->AutoHidden);
}

// Snow falling where the pointer rests hides before it is ever shown: its
// first repaint finds the pointer in its area (not just in its box).
TEST_F(TransparentFormMouse, NewAutohideItemUnderThePointerNeverShows) {
    PointerAt(200, 200);
    auto add = [&](RECT r) {
        const int32_t id = form.Store().AddEllipseItem(r, true, 1, RGB(250, 250, 250), false);
        form.Store().SetItemAutohide(id, true);
        return id;
    };
    const int32_t under = add(RECT{150, 150, 250, 250});
    const int32_t besideInBox = add(RECT{210, 210, 310, 310}); // the pointer lies in its box corner
    const int32_t away = add(RECT{500, 400, 600, 500});
    receiver.Drain();
    const long paints = form.Presenter().Repaints().ItemPaints;
    form.RebuildWindowShape();
    EXPECT_TRUE(form.Store().FindItem(under)->AutoHidden);
    EXPECT_FALSE(form.Store().FindItem(besideInBox)->AutoHidden);
    EXPECT_FALSE(form.Store().FindItem(away)->AutoHidden);
    EXPECT_EQ(form.Presenter().Repaints().ItemPaints - paints, 2);
    EXPECT_EQ(receiver.Drain(), (std::vector<Notification>{Status(under, STATUSCHANGED_AUTOHIDE)}));
    ui::Region shape = ui::MakeEmptyRegion();
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_FALSE(::PtInRegion(shape.Get(), 200, 200));
    EXPECT_TRUE(::PtInRegion(shape.Get(), 260, 260));
    form.CheckAutohide(); // nothing new to announce
    EXPECT_TRUE(receiver.Drain().empty());

    PointerAt(700, 100);
    form.CheckAutohide();
    form.RebuildWindowShape();
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_TRUE(::PtInRegion(shape.Get(), 200, 200));
    EXPECT_EQ(receiver.Drain(), (std::vector<Notification>{Status(under, STATUSCHANGED_AUTOSHOW)}));
}

TEST_F(TransparentFormMouse, FrontTimerHidesAnItemUnderThePointer) {
    const int32_t id = form.Store().AddScreenObject(Fake(100, 100, 200, 200), false);
    form.Store().SetItemAutohide(id, true);
    PointerAt(600, 600);
    form.FrontTimer.SetEnabled(true);
    Pump(150); // shown, painted
    receiver.Drain();
    PointerAt(150, 150);
    Pump(250);
    EXPECT_TRUE(form.Store().FindItem(id)->AutoHidden);
    // The pointer's move over the item is reported too; the status once.
    std::vector<Notification> status;
    for (const Notification& n : receiver.Drain())
        if (n.message == WM_TRANSPARENTELEMENT_STATUSCHANGED)
            status.push_back(n);
    EXPECT_EQ(status, (std::vector<Notification>{Status(id, STATUSCHANGED_AUTOHIDE)}));
    PointerAt(600, 600);
}

TEST_F(TransparentFormMouse, NearestItemWinsAndTheLaterOneTakesEqualDistances) {
    const int32_t closest =
        form.Store().AddScreenObject(Fake(55, 55, 65, 65), false);               // centre (60, 60)
    const int32_t a = form.Store().AddScreenObject(Fake(0, 0, 100, 100), false); // centre (50, 50)
    const int32_t tie =
        form.Store().AddScreenObject(Fake(0, 0, 100, 100, true), false); // accepts equality
    const int32_t strict = form.Store().AddScreenObject(Fake(0, 0, 100, 100), false); // does not
    const int32_t demo = form.Store().AddScreenObject(Fake(0, 0, 100, 100), true);
    form.Store().SetItemCursor(tie, crHandPoint);
    form.Store().SetItemCursor(closest, crCross);
    form.RebuildWindowShape();
    receiver.Drain();

    PointerAt(50, 50); // a, tie and strict all measure 0: tie is the later one that accepts it
    form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_CLICK);
    EXPECT_EQ(form.LastHitID(), tie);
    EXPECT_EQ(form.ImageCursor(), crHandPoint);
    PointerAt(59, 58); // the small one is closest, though painted first
    form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_MOUSEMOVE);
    EXPECT_EQ(form.LastHitID(), closest);
    EXPECT_EQ(form.ImageCursor(), crCross);
    PointerAt(500, 500); // nothing there: nothing posted, cursor kept
    form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_MOUSEUP);
    EXPECT_EQ(form.LastHitID(), -1);
    EXPECT_EQ(form.ImageCursor(), crCross);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Notification>{
                  {WM_TRANSPARENTELEMENT_CLICK, WPARAM(tie), MAKELPARAM(50, 50)},
                  {WM_TRANSPARENTELEMENT_MOUSEMOVE, WPARAM(closest), MAKELPARAM(59, 58)}}));
    (void)a;
    (void)strict;
    (void)demo;

    // Hidden and autohidden items are still hit; demo items never.
    form.Store().ShowItem(tie, false);
    receiver.Drain();
    PointerAt(50, 50);
    form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_DBLCLK);
    EXPECT_EQ(form.LastHitID(), tie);
    form.Store().ClearItems(false);
    form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_CLICK);
    EXPECT_EQ(form.LastHitID(), -1);
}

TEST(TransparentFormPacking, PositionsAreCutToSixteenBitsEach) {
    EXPECT_EQ(PackMousePosition(POINT{5, 65535}), LPARAM(0xFFFF0005));
    EXPECT_EQ(PackMousePosition(POINT{-1, 2}), LPARAM(0x0002FFFF));
    EXPECT_EQ(PackMousePosition(POINT{70000, 3}), LPARAM(0x00031170));
}

TEST_F(TransparentFormMouse, ClicksOnItemsAreNotifiedAndBetweenThemReachTheWindowBelow) {
    ClickCounter below;
    ASSERT_TRUE(below.Open(600, 400));
    // Real filled rectangles, as the card makes them.
    const int32_t left =
        form.Store().AddRectangleItem(RECT{100, 100, 200, 200}, true, 1, RGB(255, 0, 0), false);
    const int32_t right =
        form.Store().AddRectangleItem(RECT{300, 100, 400, 200}, true, 1, RGB(0, 0, 255), false);
    ASSERT_GT(left, 0);
    ASSERT_GT(right, 0);
    form.FrontTimer.SetEnabled(true);
    Pump(300); // in front, painted
    ASSERT_TRUE(::IsWindowVisible(form.Handle()));
    receiver.Drain();

    LeftClickAt(350, 150);
    std::vector<Notification> got = receiver.Drain();
    const Notification click{WM_TRANSPARENTELEMENT_CLICK, WPARAM(right), MAKELPARAM(350, 150)};
    const Notification down{WM_TRANSPARENTELEMENT_MOUSEDOWN, WPARAM(right), MAKELPARAM(350, 150)};
    const Notification up{WM_TRANSPARENTELEMENT_MOUSEUP, WPARAM(right), MAKELPARAM(350, 150)};
    auto has = [&](const Notification& n) {
        return std::find(got.begin(), got.end(), n) != got.end();
    };
    EXPECT_TRUE(has(down));
    EXPECT_TRUE(has(click));
    EXPECT_TRUE(has(up));
    EXPECT_EQ(below.clicks, 0);

    LeftClickAt(250, 150); // between the items
    EXPECT_EQ(below.clicks, 1);
    got = receiver.Drain();
    for (const Notification& n : got)
        EXPECT_NE(n.message, UINT(WM_TRANSPARENTELEMENT_CLICK));

    LeftClickAt(120, 190);
    got = receiver.Drain();
    EXPECT_TRUE(has({WM_TRANSPARENTELEMENT_CLICK, WPARAM(left), MAKELPARAM(120, 190)}));
    EXPECT_EQ(below.clicks, 1);
    PointerAt(700, 700);
}

} // namespace
