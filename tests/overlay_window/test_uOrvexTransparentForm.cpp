// The overlay window: repaint scheduling, the window shape, the library
// dialog and closing.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexPlatform.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <memory>

using namespace overlay_test;

namespace {

class TransparentFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(form.CreateForm());
        form.Store().SetCallbackWindow(receiver.Handle());
    }
    TTransparentForm form;
    Receiver receiver;
};

TEST_F(TransparentFormTest, WindowCoversTheDesktopHiddenUntilTheFirstFrontTick) {
    HWND h = form.Handle();
    // Under Wine a layered window just short of opaque: compositors draw no
    // shadow around it.
    const bool wine = RunningUnderWine();
    EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(h, GWL_EXSTYLE)),
              OverlayExStyle | (wine ? WS_EX_LAYERED : 0));
    BYTE alpha = 0;
    DWORD flags = 0;
    if (wine && ::GetLayeredWindowAttributes(h, nullptr, &alpha, &flags)) {
        EXPECT_EQ(alpha, ShadowlessAlpha);
        EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    } else {
        EXPECT_FALSE(wine) << "the overlay has no layered attributes";
    }
    EXPECT_FALSE(::IsWindowVisible(h));
    RECT r{};
    ::GetWindowRect(h, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right - r.left, ::GetSystemMetrics(SM_CXVIRTUALSCREEN));
    EXPECT_EQ(r.bottom - r.top, ::GetSystemMetrics(SM_CYVIRTUALSCREEN));
    HWND owner = ::GetWindow(h, GW_OWNER);
    EXPECT_EQ(owner, ui::Application::Instance().Handle());
    EXPECT_FALSE(::IsWindowVisible(owner));
    EXPECT_TRUE(form.FrontTimer.Enabled());
    EXPECT_EQ(form.FrontTimer.Interval(), 100u);

    Pump(250);
    EXPECT_TRUE(::IsWindowVisible(h));
    EXPECT_TRUE(::GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_NE(::GetActiveWindow(), h); // shown without being activated
}

TEST_F(TransparentFormTest, BurstOfChangesGivesOneRebuildAfterTheLast) {
    Pump(60); // the repaint scheduled by creation
    const long before = form.Presenter().RebuildCount();
    EXPECT_FALSE(form.RepaintPending());
    for (int i = 0; i < 6; ++i) {
        form.Store().AddScreenObject(Fake(10 * i, 0, 10 * i + 5, 5), false);
        // Time passes between the adds, but no message is handled: each add
        // restarts the delay, so however slow the machine is, nothing is
        // repainted until the burst is over.
        ::Sleep(4);
    }
    EXPECT_EQ(form.Presenter().RebuildCount(), before);
    EXPECT_TRUE(form.RepaintPending());
    form.Store().SetItemColor(1, RGB(9, 9, 9)); // schedules nothing of its own
    form.Store().ShowItem(2, false);            // keeps the running delay
    Pump(100);
    EXPECT_EQ(form.Presenter().RebuildCount(), before + 1);
    EXPECT_FALSE(form.RepaintPending());
    for (int32_t id : form.Store().ItemIDs(false))
        EXPECT_EQ(ShapeOf(form, id).Paints, 1) << id;

    // A clear of an empty list still schedules a repaint; a failed add keeps
    // a pending one.
    form.Store().ClearItems(true);
    EXPECT_TRUE(form.RepaintPending());
    EXPECT_EQ(form.Store().AddScreenObject(nullptr, false), -2);
    EXPECT_TRUE(form.RepaintPending());
    Pump(100);
    EXPECT_EQ(form.Presenter().RebuildCount(), before + 2);
}

TEST_F(TransparentFormTest, WindowShapeIsTheUnionOfShownItems) {
    const int32_t a = form.Store().AddScreenObject(Fake(10, 10, 50, 30), false);
    const int32_t b = form.Store().AddScreenObject(Fake(40, 20, 90, 60), false);
    const int32_t d = form.Store().AddScreenObject(Fake(200, 200, 210, 210), true);
    const int32_t hidden = form.Store().AddScreenObject(Fake(300, 300, 320, 320), false);
    form.Store().ShowItem(hidden, false);
    form.RebuildWindowShape();

    ui::Region expected(::CreateRectRgn(10, 10, 50, 30));
    for (RECT r : {RECT{40, 20, 90, 60}, RECT{200, 200, 210, 210}}) {
        ui::Region part(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
        ::CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
    }
    ui::Region shape = ui::MakeEmptyRegion();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    EXPECT_TRUE(SameArea(shape.Get(), expected.Get()));
    EXPECT_EQ(ShapeOf(form, hidden).Paints, 1); // asked, and painted nothing

    // An empty union makes the whole window transparent.
    form.Store().DeleteItem(a);
    form.Store().DeleteItem(b);
    form.Store().DeleteItem(d);
    form.RebuildWindowShape();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    ui::Region empty = ui::MakeEmptyRegion();
    EXPECT_TRUE(SameArea(shape.Get(), empty.Get()));
}

TEST_F(TransparentFormTest, LibraryDialogShowsOnlyDemoItemsWhileVisible) {
    overlay_test::GiveStandInDialog(form, 500, 500, 10);
    const int32_t item = form.Store().AddScreenObject(Fake(10, 10, 20, 20), false);
    const int32_t demo = form.Store().AddScreenObject(Fake(30, 30, 40, 40), true);
    EXPECT_FALSE(form.IsDialogVisible());
    form.WMNotifyIcon(MAKELPARAM(WM_LBUTTONDOWN, 0));
    EXPECT_TRUE(form.IsDialogVisible());
    EXPECT_TRUE(form.RepaintPending());
    form.RebuildWindowShape();
    EXPECT_EQ(ShapeOf(form, item).Paints, 0);
    EXPECT_EQ(ShapeOf(form, demo).Paints, 1);
    ui::Form* dialog = form.LibraryDialog();
    form.WMNotifyIcon(MAKELPARAM(WM_LBUTTONDOWN, 0)); // the same dialog again
    EXPECT_EQ(form.LibraryDialog(), dialog);
    ::ShowWindow(dialog->Handle(), SW_HIDE);
    form.RebuildWindowShape();
    EXPECT_EQ(ShapeOf(form, item).Paints, 1);
    form.WMNotifyIcon(MAKELPARAM(WM_MOUSEMOVE, 0)); // other values do nothing
    EXPECT_FALSE(form.IsDialogVisible());
}

TEST_F(TransparentFormTest, ClosingRemovesEverythingAndIsSafeTwice) {
    form.Store().AddScreenObject(Fake(0, 0, 10, 10), false);
    form.Store().AddScreenObject(Fake(0, 0, 10, 10), true);
    form.Store().AddScreenObject(Fake(0, 0, 10, 10), false);
    receiver.Drain();

    // Alt+F4 does not close the window.
    ::SendMessageW(form.Handle(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
    Pump(20);
    EXPECT_TRUE(form.Store().ListsExist());
    EXPECT_EQ(form.Store().ItemIDs(false).size(), 2u);

    ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.Store().ListsExist());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.FrontTimer.Enabled());
    EXPECT_EQ(receiver.Drain(), (std::vector<Notification>{Status(1, STATUSCHANGED_DELETE),
                                                           Status(3, STATUSCHANGED_DELETE)}));
    form.Close();
    EXPECT_EQ(form.Store().ClearItems(false), -1);
    EXPECT_EQ(form.Store().ClearItems(true), -1);
    EXPECT_EQ(form.Store().ShowItem(1, true), -1);
    EXPECT_EQ(form.Store().AddScreenObject(Fake(0, 0, 10, 10), false), -3);
    form.Destroy();
    EXPECT_TRUE(receiver.Drain().empty());
}

} // namespace
