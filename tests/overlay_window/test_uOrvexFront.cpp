// Keeping in front: the program's own stay-on-top window that the window
// manager put below the overlay stays cut out of its shape, where the
// platform does that, until the program lowers it itself.
#include "overlay_window/uOrvexFront.h"
#include "overlay_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace overlay_test;

namespace {

std::unique_ptr<ui::Window> TopmostPopup(RECT r) {
    auto window = std::make_unique<ui::Window>();
    ui::WindowParams p;
    p.style = WS_POPUP | WS_VISIBLE;
    p.exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.x = r.left;
    p.y = r.top;
    p.width = r.right - r.left;
    p.height = r.bottom - r.top;
    window->Create(p);
    return window;
}

bool HasHole(const FrontPlan& plan, RECT r) {
    return std::any_of(plan.holes.begin(), plan.holes.end(), [&](const RECT& h) {
        return h.left == r.left && h.top == r.top && h.right == r.right && h.bottom == r.bottom;
    });
}

TEST(FrontKeeper, AnOwnWindowThatSlippedBelowStaysCutOutUntilLoweredOnPurpose) {
    const RECT dialogArea{50, 50, 150, 130};
    auto overlay = TopmostPopup(RECT{0, 0, 400, 300});
    auto dialog = TopmostPopup(dialogArea);
    ASSERT_TRUE(overlay->Handle() && dialog->Handle());
    const HWND self = overlay->Handle();
    Pump(50);

    TPlatformMeasures wine{};
    wine.ownWindowsSlipBelow = true;
    TPlatformMeasures windows{};
    TFrontKeeper keeper(wine), plain(windows);
    for (TFrontKeeper* k : {&keeper, &plain}) {
        const FrontPlan plan = k->Look(self);
        EXPECT_FALSE(plan.restack) << "only the program's own window is above";
        EXPECT_TRUE(HasHole(plan, dialogArea)) << "the own window above is cut out";
    }

    // The window manager stacks the dialog below the overlay; it stays topmost.
    ::SetWindowPos(dialog->Handle(), self, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_NE(::GetWindow(self, GW_HWNDPREV), dialog->Handle());
    EXPECT_TRUE(HasHole(keeper.Look(self), dialogArea)) << "slipped below, still cut out";
    EXPECT_FALSE(HasHole(plain.Look(self), dialogArea)) << "where nothing slips, a window below "
                                                           "was put there and is covered";
    EXPECT_TRUE(HasHole(keeper.Look(self), dialogArea)) << "remembered from look to look";

    // The program makes it an ordinary window again: lowered on purpose.
    ::SetWindowPos(dialog->Handle(), HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(HasHole(keeper.Look(self), dialogArea));

    // A hidden overlay is shown and put in front again.
    ::ShowWindow(self, SW_HIDE);
    EXPECT_TRUE(keeper.Look(self).restack);
}

} // namespace
