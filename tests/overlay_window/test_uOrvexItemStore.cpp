// The overlay's items without a window: IDs, the operations, their
// notifications to the callback window and what the owner is told.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexItemStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace overlay_test;

namespace {

class ItemStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.SetCallbackWindow(receiver.Handle());
        TItemStoreEvents events;
        events.ItemAdded = [this] { told += "a"; };
        events.ItemsChanged = [this] { told += "c"; };
        events.ItemRemoving = [this](const TTransparentFormObject& item) {
            told += "r" + std::to_string(item.ID);
        };
        events.OrdinaryCleared = [this] { told += "x"; };
        store.SetEvents(std::move(events));
    }
    TItemStore store;
    Receiver receiver;
    std::string told; // what the owner heard, in order
};

TEST_F(ItemStoreTest, IdsCountAcrossBothListsAndAreNeverReused) {
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), false), 1);
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), true), 2);
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), false), 3);
    EXPECT_EQ(store.AddScreenObject(nullptr, false), -2); // uses no ID
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(store.ItemIDs(true), (std::vector<int32_t>{2}));
    EXPECT_EQ(store.ClearItems(false), 2);
    EXPECT_EQ(store.ClearItems(true), 1);
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), true), 4);
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), false), 5);
    // Demo items are announced never; ordinary ones on insert and on delete.
    EXPECT_EQ(
        receiver.Drain(),
        (std::vector<Notification>{Status(1, STATUSCHANGED_INSERT), Status(3, STATUSCHANGED_INSERT),
                                   Status(1, STATUSCHANGED_DELETE), Status(3, STATUSCHANGED_DELETE),
                                   Status(5, STATUSCHANGED_INSERT)}));
}

TEST_F(ItemStoreTest, ItemOperationsAnswerFoundUnknownAndDemo) {
    const int32_t item = store.AddScreenObject(Fake(0, 0, 10, 10), false);
    const int32_t demo = store.AddScreenObject(Fake(20, 0, 30, 10), true);
    const int32_t unknown = 77;
    receiver.Drain();

    // Only the ordinary list is searched by these; the demo item answers 0.
    for (int32_t id : {demo, unknown}) {
        EXPECT_EQ(store.SetItemLineWidth(id, 5), 0);
        EXPECT_EQ(store.SetItemFilled(id, true), 0);
        EXPECT_EQ(store.SetItemColor(id, RGB(1, 2, 3)), 0);
        EXPECT_EQ(store.SetItemAutohide(id, true), 0);
        EXPECT_EQ(store.SetItemZOrder(id, 0), 0);
        EXPECT_EQ(store.SetItemCursor(id, crCross), 0);
    }
    EXPECT_EQ(store.ShowItem(unknown, false), 0);
    EXPECT_EQ(store.DeleteItem(unknown), 0);
    EXPECT_TRUE(receiver.Drain().empty());

    TScreenObject& shape = *store.FindItem(item)->ScreenObject;
    COLORREF pointColor = shape.PointColor;
    EXPECT_EQ(store.SetItemLineWidth(item, 5), 1);
    EXPECT_EQ(shape.LineWidth, 5);
    EXPECT_EQ(store.SetItemFilled(item, true), 1);
    EXPECT_TRUE(shape.PolygonFilled);
    EXPECT_EQ(store.SetItemColor(item, RGB(1, 2, 3)), 1);
    EXPECT_EQ(shape.LineColor, RGB(1, 2, 3));
    EXPECT_EQ(shape.FillColor, RGB(1, 2, 3));
    EXPECT_EQ(shape.PointColor, pointColor);
    // Only the low 16 bits of a cursor number are kept.
    EXPECT_EQ(store.SetItemCursor(item, 0x7FFF0000 | 0xFFFD), 1);
    EXPECT_EQ(store.FindItem(item)->Cursor, crCross);
    EXPECT_TRUE(receiver.Drain().empty()); // none of these announce anything

    EXPECT_EQ(store.ShowItem(item, true), 1); // already visible: still announced
    EXPECT_EQ(store.ShowItem(item, false), 1);
    EXPECT_FALSE(shape.Visible);
    EXPECT_EQ(store.SetItemAutohide(item, true), 1);
    EXPECT_TRUE(store.FindItem(item)->AutoHide);
    EXPECT_EQ(store.SetItemAutohide(item, false), 1);
    EXPECT_EQ(store.ShowItem(demo, false), 1);
    EXPECT_FALSE(store.FindItem(demo)->ScreenObject->Visible);
    EXPECT_EQ(store.DeleteItem(demo), 1);
    EXPECT_EQ(store.FindItem(demo), nullptr);
    EXPECT_EQ(store.DeleteItem(item), 1);
    EXPECT_EQ(store.DeleteItem(item), 0);
    EXPECT_EQ(receiver.Drain(),
              (std::vector<Notification>{Status(item, STATUSCHANGED_SET_VISIBLE_TRUE),
                                         Status(item, STATUSCHANGED_SET_VISIBLE_FALSE),
                                         Status(item, STATUSCHANGED_SET_AUTOHIDE_TRUE),
                                         Status(item, STATUSCHANGED_SET_AUTOHIDE_FALSE),
                                         Status(item, STATUSCHANGED_DELETE)}));

    // Without a callback window nothing is posted.
    store.SetCallbackWindow(nullptr);
    const int32_t quiet = store.AddScreenObject(Fake(0, 0, 10, 10), false);
    store.ShowItem(quiet, true);
    store.ClearItems(false);
    EXPECT_TRUE(receiver.Drain().empty());
}

TEST_F(ItemStoreTest, ZOrderMovesWithinThePaintOrder) {
    for (int i = 0; i < 5; ++i)
        store.AddScreenObject(Fake(0, 0, 10, 10), false);
    EXPECT_EQ(store.SetItemZOrder(4, 0), 1);
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{4, 1, 2, 3, 5}));
    EXPECT_EQ(store.SetItemZOrder(4, 2), 1);
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{1, 2, 4, 3, 5}));
    EXPECT_EQ(store.SetItemZOrder(1, 4), 1); // the last index after removal: appended
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{2, 4, 3, 5, 1}));
    EXPECT_EQ(store.SetItemZOrder(2, 1000), 1);
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{4, 3, 5, 1, 2}));
    // A negative position is refused and the item stays where it was.
    EXPECT_EQ(store.SetItemZOrder(5, -1), -1);
    EXPECT_EQ(store.ItemIDs(false), (std::vector<int32_t>{4, 3, 5, 1, 2}));
    EXPECT_EQ(store.SetItemZOrder(99, 0), 0);
}

// The owner hears of what a repaint must follow: adds, changes that show,
// each ordinary item before it goes; a change it need not repaint for marks
// the item dirty only. After Close every operation fails until Reset.
TEST_F(ItemStoreTest, OwnerIsToldWhatToRepaintAndClosedStoreRefuses) {
    const int32_t item = store.AddScreenObject(Fake(0, 0, 10, 10), false);
    const int32_t demo = store.AddScreenObject(Fake(0, 0, 10, 10), true);
    EXPECT_EQ(told, "aa");
    told.clear();
    TTransparentFormObject& shown = store.Ordinary()->front();
    shown.Paint.Dirty = false;
    EXPECT_EQ(store.SetItemColor(item, RGB(9, 9, 9)), 1);
    EXPECT_TRUE(shown.Paint.Dirty);
    EXPECT_EQ(told, "");
    store.ShowItem(item, false);
    store.SetItemZOrder(item, 0);
    store.DeleteItem(demo); // demo items are not announced as going
    store.DeleteItem(item);
    EXPECT_EQ(told, "ccc" + std::string("r") + std::to_string(item) + "c");
    told.clear();
    store.AddScreenObject(Fake(0, 0, 10, 10), false);
    store.Close();
    EXPECT_EQ(told, "axcc"); // cleared, and both lists changed
    receiver.Drain();
    EXPECT_FALSE(store.ListsExist());
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), false), -3);
    EXPECT_EQ(store.DeleteItem(1), -1);
    EXPECT_EQ(store.ClearItems(false), -1);
    EXPECT_EQ(store.SetItemZOrder(1, 0), -1);
    EXPECT_TRUE(receiver.Drain().empty());
    store.Reset();
    EXPECT_EQ(store.AddScreenObject(Fake(0, 0, 10, 10), false), 1);
}

} // namespace
