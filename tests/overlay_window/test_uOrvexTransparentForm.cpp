// The overlay window: items and IDs, item operations and their notifications,
// paint order, repaint scheduling, the window shape, autohide, mouse dispatch
// and closing.
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
        form.SetCallbackWindow(receiver.Handle());
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

TEST_F(TransparentFormTest, IdsCountAcrossBothListsAndAreNeverReused) {
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), false), 1);
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), true), 2);
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), false), 3);
    EXPECT_EQ(form.AddScreenObject(nullptr, false), -2); // uses no ID
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(form.ItemIDs(true), (std::vector<int32_t>{2}));
    EXPECT_EQ(form.ClearItems(false), 2);
    EXPECT_EQ(form.ClearItems(true), 1);
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), true), 4);
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), false), 5);
    // Demo items are announced never; ordinary ones on insert and on delete.
    EXPECT_EQ(
        receiver.Drain(),
        (std::vector<Notification>{Status(1, STATUSCHANGED_INSERT), Status(3, STATUSCHANGED_INSERT),
                                   Status(1, STATUSCHANGED_DELETE), Status(3, STATUSCHANGED_DELETE),
                                   Status(5, STATUSCHANGED_INSERT)}));
}

TEST_F(TransparentFormTest, ItemOperationsAnswerFoundUnknownAndDemo) {
    const int32_t item = form.AddScreenObject(Fake(0, 0, 10, 10), false);
    const int32_t demo = form.AddScreenObject(Fake(20, 0, 30, 10), true);
    const int32_t unknown = 77;
    receiver.Drain();

    // Only the ordinary list is searched by these; the demo item answers 0.
    for (int32_t id : {demo, unknown}) {
        EXPECT_EQ(form.SetItemLineWidth(id, 5), 0);
        EXPECT_EQ(form.SetItemFilled(id, true), 0);
        EXPECT_EQ(form.SetItemColor(id, RGB(1, 2, 3)), 0);
        EXPECT_EQ(form.SetItemAutohide(id, true), 0);
        EXPECT_EQ(form.SetItemZOrder(id, 0), 0);
        EXPECT_EQ(form.SetItemCursor(id, crCross), 0);
    }
    EXPECT_EQ(form.ShowItem(unknown, false), 0);
    EXPECT_EQ(form.DeleteItem(unknown), 0);
    EXPECT_TRUE(receiver.Drain().empty());

    TScreenObject& shape = *form.FindItem(item)->ScreenObject;
    COLORREF pointColor = shape.PointColor;
    EXPECT_EQ(form.SetItemLineWidth(item, 5), 1);
    EXPECT_EQ(shape.LineWidth, 5);
    EXPECT_EQ(form.SetItemFilled(item, true), 1);
    EXPECT_TRUE(shape.PolygonFilled);
    EXPECT_EQ(form.SetItemColor(item, RGB(1, 2, 3)), 1);
    EXPECT_EQ(shape.LineColor, RGB(1, 2, 3));
    EXPECT_EQ(shape.FillColor, RGB(1, 2, 3));
    EXPECT_EQ(shape.PointColor, pointColor);
    // Only the low 16 bits of a cursor number are kept.
    EXPECT_EQ(form.SetItemCursor(item, 0x7FFF0000 | 0xFFFD), 1);
    EXPECT_EQ(form.FindItem(item)->Cursor, crCross);
    EXPECT_TRUE(receiver.Drain().empty()); // none of these announce anything

    EXPECT_EQ(form.ShowItem(item, true), 1); // already visible: still announced
    EXPECT_EQ(form.ShowItem(item, false), 1);
    EXPECT_FALSE(shape.Visible);
    EXPECT_EQ(form.SetItemAutohide(item, true), 1);
    EXPECT_TRUE(form.FindItem(item)->AutoHide);
    EXPECT_EQ(form.SetItemAutohide(item, false), 1);
    EXPECT_EQ(form.ShowItem(demo, false), 1);
    EXPECT_FALSE(form.FindItem(demo)->ScreenObject->Visible);
    EXPECT_EQ(form.DeleteItem(demo), 1);
    EXPECT_EQ(form.FindItem(demo), nullptr);
    EXPECT_EQ(form.DeleteItem(item), 1);
    EXPECT_EQ(form.DeleteItem(item), 0);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Notification>{Status(item, STATUSCHANGED_SET_VISIBLE_TRUE),
                                         Status(item, STATUSCHANGED_SET_VISIBLE_FALSE),
                                         Status(item, STATUSCHANGED_SET_AUTOHIDE_TRUE),
                                         Status(item, STATUSCHANGED_SET_AUTOHIDE_FALSE),
                                         Status(item, STATUSCHANGED_DELETE)}));

    // Without a callback window nothing is posted.
    form.SetCallbackWindow(nullptr);
    const int32_t quiet = form.AddScreenObject(Fake(0, 0, 10, 10), false);
    form.ShowItem(quiet, true);
    form.ClearItems(false);
    EXPECT_TRUE(receiver.Drain().empty());
}

TEST_F(TransparentFormTest, ZOrderMovesWithinThePaintOrder) {
    for (int i = 0; i < 5; ++i)
        form.AddScreenObject(Fake(0, 0, 10, 10), false);
    EXPECT_EQ(form.SetItemZOrder(4, 0), 1);
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{4, 1, 2, 3, 5}));
    EXPECT_EQ(form.SetItemZOrder(4, 2), 1);
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{1, 2, 4, 3, 5}));
    EXPECT_EQ(form.SetItemZOrder(1, 4), 1); // the last index after removal: appended
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{2, 4, 3, 5, 1}));
    EXPECT_EQ(form.SetItemZOrder(2, 1000), 1);
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{4, 3, 5, 1, 2}));
    // A negative position is refused and the item stays where it was.
    EXPECT_EQ(form.SetItemZOrder(5, -1), -1);
    EXPECT_EQ(form.ItemIDs(false), (std::vector<int32_t>{4, 3, 5, 1, 2}));
    EXPECT_EQ(form.SetItemZOrder(99, 0), 0);
}

TEST_F(TransparentFormTest, BurstOfChangesGivesOneRebuildAfterTheLast) {
    Pump(60); // the repaint scheduled by creation
    const long before = form.RebuildCount();
    EXPECT_FALSE(form.RepaintPending());
    for (int i = 0; i < 6; ++i) {
        form.AddScreenObject(Fake(10 * i, 0, 10 * i + 5, 5), false);
        // Time passes between the adds, but no message is handled: each add
        // restarts the delay, so however slow the machine is, nothing is
        // repainted until the burst is over.
        ::Sleep(4);
    }
    EXPECT_EQ(form.RebuildCount(), before);
    EXPECT_TRUE(form.RepaintPending());
    form.SetItemColor(1, RGB(9, 9, 9)); // schedules nothing of its own
    form.ShowItem(2, false);            // keeps the running delay
    Pump(100);
    EXPECT_EQ(form.RebuildCount(), before + 1);
    EXPECT_FALSE(form.RepaintPending());
    for (int32_t id : form.ItemIDs(false))
        EXPECT_EQ(ShapeOf(form, id).Paints, 1) << id;

    // A clear of an empty list still schedules a repaint; a failed add keeps
    // a pending one.
    form.ClearItems(true);
    EXPECT_TRUE(form.RepaintPending());
    EXPECT_EQ(form.AddScreenObject(nullptr, false), -2);
    EXPECT_TRUE(form.RepaintPending());
    Pump(100);
    EXPECT_EQ(form.RebuildCount(), before + 2);
}

TEST_F(TransparentFormTest, WindowShapeIsTheUnionOfShownItems) {
    const int32_t a = form.AddScreenObject(Fake(10, 10, 50, 30), false);
    const int32_t b = form.AddScreenObject(Fake(40, 20, 90, 60), false);
    const int32_t d = form.AddScreenObject(Fake(200, 200, 210, 210), true);
    const int32_t hidden = form.AddScreenObject(Fake(300, 300, 320, 320), false);
    form.ShowItem(hidden, false);
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
    form.DeleteItem(a);
    form.DeleteItem(b);
    form.DeleteItem(d);
    form.RebuildWindowShape();
    ASSERT_NE(::GetWindowRgn(form.Handle(), shape.Get()), ERROR);
    ui::Region empty = ui::MakeEmptyRegion();
    EXPECT_TRUE(SameArea(shape.Get(), empty.Get()));
}

TEST_F(TransparentFormTest, LibraryDialogShowsOnlyDemoItemsWhileVisible) {
    class Dialog : public ui::Window {};
    const TTransparentForm::DialogFactory libraryDialog = TTransparentForm::LibraryDialogFactory;
    TTransparentForm::LibraryDialogFactory = [](TTransparentForm& owner) {
        auto dialog = std::make_unique<Dialog>();
        ui::WindowParams p;
        p.style = WS_POPUP;
        p.x = 500;
        p.y = 500;
        p.width = 10;
        p.height = 10;
        p.parent = owner.Handle();
        dialog->Create(p);
        return std::unique_ptr<ui::Window>(std::move(dialog));
    };
    const int32_t item = form.AddScreenObject(Fake(10, 10, 20, 20), false);
    const int32_t demo = form.AddScreenObject(Fake(30, 30, 40, 40), true);
    EXPECT_FALSE(form.IsDialogVisible());
    form.WMNotifyIcon(MAKELPARAM(WM_LBUTTONDOWN, 0));
    EXPECT_TRUE(form.IsDialogVisible());
    EXPECT_TRUE(form.RepaintPending());
    form.RebuildWindowShape();
    EXPECT_EQ(ShapeOf(form, item).Paints, 0);
    EXPECT_EQ(ShapeOf(form, demo).Paints, 1);
    ui::Window* dialog = form.LibraryDialog();
    form.WMNotifyIcon(MAKELPARAM(WM_LBUTTONDOWN, 0)); // the same dialog again
    EXPECT_EQ(form.LibraryDialog(), dialog);
    ::ShowWindow(dialog->Handle(), SW_HIDE);
    form.RebuildWindowShape();
    EXPECT_EQ(ShapeOf(form, item).Paints, 1);
    form.WMNotifyIcon(MAKELPARAM(WM_MOUSEMOVE, 0)); // other values do nothing
    EXPECT_FALSE(form.IsDialogVisible());
    TTransparentForm::LibraryDialogFactory = libraryDialog;
}

TEST_F(TransparentFormTest, ClosingRemovesEverythingAndIsSafeTwice) {
    form.AddScreenObject(Fake(0, 0, 10, 10), false);
    form.AddScreenObject(Fake(0, 0, 10, 10), true);
    form.AddScreenObject(Fake(0, 0, 10, 10), false);
    receiver.Drain();

    // Alt+F4 does not close the window.
    ::SendMessageW(form.Handle(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
    Pump(20);
    EXPECT_TRUE(form.ListsExist());
    EXPECT_EQ(form.ItemIDs(false).size(), 2u);

    ::SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form.ListsExist());
    EXPECT_FALSE(::IsWindowVisible(form.Handle()));
    EXPECT_FALSE(form.FrontTimer.Enabled());
    EXPECT_EQ(receiver.Drain(), (std::vector<Notification>{Status(1, STATUSCHANGED_DELETE),
                                                           Status(3, STATUSCHANGED_DELETE)}));
    form.Close();
    EXPECT_EQ(form.ClearItems(false), -1);
    EXPECT_EQ(form.ClearItems(true), -1);
    EXPECT_EQ(form.ShowItem(1, true), -1);
    EXPECT_EQ(form.AddScreenObject(Fake(0, 0, 10, 10), false), -3);
    form.Destroy();
    EXPECT_TRUE(receiver.Drain().empty());
}

} // namespace
