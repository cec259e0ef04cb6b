// Alignment and anchors: the pure rules, and the same rules on live windows
// nested as the Letter window nests its panels.
#include "UiTestSupport.h"

#include "ui/Controls.h"
#include "ui/Form.h"
#include "ui/Layout.h"
#include "ui/StdControls.h"

#include <gtest/gtest.h>

namespace {

ui::LayoutItem Item(ui::Align align, RECT bounds, bool visible = true) {
    ui::LayoutItem item;
    item.align = align;
    item.bounds = bounds;
    item.visible = visible;
    return item;
}

void ExpectRect(const RECT& r, int l, int t, int rt, int b) {
    EXPECT_EQ(r.left, l);
    EXPECT_EQ(r.top, t);
    EXPECT_EQ(r.right, rt);
    EXPECT_EQ(r.bottom, b);
}

TEST(Layout, AlignedItemsStackAndClientTakesTheRest) {
    std::vector<ui::LayoutItem> items{
        Item(ui::Align::Client, {0, 0, 5, 5}),      Item(ui::Align::Bottom, {0, 0, 10, 25}),
        Item(ui::Align::Top, {3, 3, 10, 23}),       // 20 high
        Item(ui::Align::Top, {0, 0, 1, 30}, false), // hidden: takes no room
        Item(ui::Align::Bottom, {0, 0, 1, 10}),
    };
    ui::Arrange(RECT{0, 0, 200, 100}, items);
    ExpectRect(items[2].bounds, 0, 0, 200, 20);
    ExpectRect(items[1].bounds, 0, 75, 200, 100);
    ExpectRect(items[4].bounds, 0, 65, 200, 75);
    ExpectRect(items[0].bounds, 0, 20, 200, 65);
    ExpectRect(items[3].bounds, 0, 0, 1, 30);

    // Aligned items larger than the area leave the client item empty, not inverted.
    std::vector<ui::LayoutItem> crowded{Item(ui::Align::Top, {0, 0, 1, 80}),
                                        Item(ui::Align::Bottom, {0, 0, 1, 80}),
                                        Item(ui::Align::Client, {0, 0, 1, 1})};
    ui::Arrange(RECT{0, 0, 50, 100}, crowded);
    EXPECT_GE(crowded[2].bounds.bottom, crowded[2].bounds.top);
}

TEST(Layout, AnchorsKeepTheDistancesToTheEdges) {
    const RECT before{0, 0, 665, 434};
    ui::LayoutItem all = Item(ui::Align::None, {8, 8, 657, 425});
    all.anchors = ui::AnchorAll;
    ui::LayoutItem rightOnly = Item(ui::Align::None, {600, 10, 640, 30});
    rightOnly.anchors = ui::AnchorRight | ui::AnchorTop;
    ui::LayoutItem bottomOnly = Item(ui::Align::None, {10, 400, 50, 420});
    bottomOnly.anchors = ui::AnchorLeft | ui::AnchorBottom;
    ui::LayoutItem fixed = Item(ui::Align::None, {20, 20, 40, 40});
    std::vector<ui::LayoutItem> items{all, rightOnly, bottomOnly, fixed};
    for (auto& item : items)
        ui::AnchorGaps(before, item);
    EXPECT_EQ(items[0].rightGap, 8);
    EXPECT_EQ(items[0].bottomGap, 9);

    ui::Arrange(RECT{0, 0, 765, 334}, items); // wider by 100, lower by 100
    ExpectRect(items[0].bounds, 8, 8, 757, 325);
    ExpectRect(items[1].bounds, 700, 10, 740, 30);
    ExpectRect(items[2].bounds, 10, 300, 50, 320);
    ExpectRect(items[3].bounds, 20, 20, 40, 40);

    // Shrinking below the gaps gives an empty rectangle, never an inverted one.
    ui::Arrange(RECT{0, 0, 10, 10}, items);
    EXPECT_EQ(items[0].bounds.right, items[0].bounds.left);
    EXPECT_EQ(items[0].bounds.bottom, items[0].bounds.top);
}

TEST(Layout, CentredOrigin) {
    POINT p = ui::CenteredOrigin(1024, 768, 681, 450);
    EXPECT_EQ(p.x, 171);
    EXPECT_EQ(p.y, 159);
    p = ui::CenteredOrigin(800, 600, 1000, 700); // larger than the screen
    EXPECT_EQ(p.x, -100);
    EXPECT_EQ(p.y, -50);
}

RECT WindowRectIn(HWND child, HWND parent) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

TEST(Layout, NestedPanelsFollowAlignmentAndAnchorsOnLiveWindows) {
    ui::Form form;
    form.SetBorderStyle(ui::BorderStyle::None);
    form.SetClientSize(665, 434);
    ui::Panel background(form);
    background.SetAlign(ui::Align::Client);
    ui::Panel parentPanel(background);
    parentPanel.SetBounds(8, 8, 649, 417);
    parentPanel.SetAnchors(ui::AnchorAll);
    ui::Panel controlPanel(parentPanel);
    controlPanel.SetHeight(50);
    controlPanel.SetAlign(ui::Align::Bottom);
    ui::Panel panel1(parentPanel);
    panel1.SetAlign(ui::Align::Client);
    ui::Memo memo(panel1);
    memo.SetBounds(8, 8, 629, 347);
    memo.SetAnchors(ui::AnchorAll);

    ExpectRect(background.BoundsRect(), 0, 0, 665, 434);
    ExpectRect(panel1.BoundsRect(), 0, 0, 649, 367);
    ExpectRect(controlPanel.BoundsRect(), 0, 367, 649, 417);

    controlPanel.SetHeight(25); // the text area grows by what the row gives up
    ExpectRect(controlPanel.BoundsRect(), 0, 392, 649, 417);
    ExpectRect(panel1.BoundsRect(), 0, 0, 649, 392);
    ExpectRect(memo.BoundsRect(), 8, 8, 637, 380);
    ExpectRect(WindowRectIn(memo.Handle(), panel1.Handle()), 8, 8, 637, 380);

    controlPanel.Hide(); // a hidden aligned panel gives its room back
    ExpectRect(panel1.BoundsRect(), 0, 0, 649, 417);
    controlPanel.Show();

    form.SetClientSize(765, 534);
    ExpectRect(parentPanel.BoundsRect(), 8, 8, 757, 525);
    ExpectRect(memo.BoundsRect(), 8, 8, 737, 480);
    ExpectRect(WindowRectIn(parentPanel.Handle(), background.Handle()), 8, 8, 757, 525);
}

} // namespace
