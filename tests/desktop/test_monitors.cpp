// Two monitors, run by monitors_run.sh on one X screen split into two heads
// (the primary one left of the other, then right of it). The library's
// overlay covers every monitor and shows items at their screen coordinates
// on each; the card's overlay covers the primary monitor only, so its scene
// ends at the primary screen's edges as it does on a single screen.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "card/CardDriver.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Handles.h"

using namespace driver;

namespace {

constexpr COLORREF Red = RGB(255, 0, 0);

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT r, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*r);
    return TRUE;
}

std::vector<RECT> Monitors() {
    std::vector<RECT> list;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

RECT VirtualDesktop() {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    return RECT{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

RECT PrimaryMonitor() {
    return RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

RECT WindowRect(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return r;
}

bool Same(RECT a, RECT b) {
    return ::EqualRect(&a, &b) != FALSE;
}

COLORREF ScreenPixel(int x, int y) {
    ui::WindowDC screen(nullptr);
    return ::GetPixel(screen.Get(), x, y);
}

// The x of the primary monitor's edge that borders the other monitor, and the
// side the other monitor lies on (+1 right, -1 left).
void SharedEdge(int& edge, int& side) {
    const RECT primary = PrimaryMonitor();
    side = 1;
    edge = primary.right;
    for (const RECT& m : Monitors())
        if (m.right <= primary.left) {
            side = -1;
            edge = primary.left;
        }
}

class MonitorsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* expected = std::getenv("ORVEX_EXPECT_MONITORS")) {
            ASSERT_EQ(Monitors().size(), size_t(std::atoi(expected)))
                << "the system does not report the monitors set up for the test";
        }
        if (Monitors().size() < 2)
            GTEST_SKIP() << "one monitor only";
    }
};

TEST_F(MonitorsTest, LibraryOverlayCoversEveryMonitorAndTheCardsOnlyThePrimary) {
    TTransparentForm form;
    ASSERT_TRUE(form.CreateForm());
    EXPECT_TRUE(Same(WindowRect(form.Handle()), VirtualDesktop()));
    for (const RECT& m : Monitors())
        ASSERT_GT(
            form.Store().AddRectangleItem(RECT{m.left + 20, m.top + 20, m.left + 120, m.top + 120},
                                          true, 1, Red, false),
            0);
    int edge = 0, side = 0;
    SharedEdge(edge, side);
    ASSERT_GT(
        form.Store().AddRectangleItem(RECT{edge - 50, 300, edge + 50, 400}, true, 1, Red, false),
        0);
    Pump(400);
    for (const RECT& m : Monitors())
        EXPECT_EQ(ScreenPixel(m.left + 70, m.top + 70), Red)
            << "no item on the monitor at " << m.left << "," << m.top;
    EXPECT_EQ(ScreenPixel(edge - 25 * side, 350), Red);
    EXPECT_EQ(ScreenPixel(edge + 25 * side, 350), Red) << "the item stops at the primary's edge";

    // Covering the primary monitor only, the same items end at its edge.
    form.Presenter().SetCoverage(OverlayCoverage::PrimaryMonitor);
    Pump(400);
    EXPECT_TRUE(Same(WindowRect(form.Handle()), PrimaryMonitor()));
    EXPECT_EQ(ScreenPixel(edge - 25 * side, 350), Red);
    EXPECT_NE(ScreenPixel(edge + 25 * side, 350), Red) << "the item spills onto the other monitor";
    EXPECT_EQ(ScreenPixel(70, 70), Red) << "the primary's own item is gone";
}

TEST_F(MonitorsTest, TheCardsSceneCoversThePrimaryMonitor) {
    CardProcess card(ProgramDir() + L"Frostvale-Karte.exe");
    ASSERT_TRUE(card.Started());
    HWND overlay = nullptr;
    ASSERT_TRUE(
        WaitUntil([&] { return (overlay = FindWindowOf(card.Id(), L"Orvex")) != nullptr; }, 30000));
    Pump(1500);
    EXPECT_TRUE(Same(WindowRect(overlay), PrimaryMonitor()));
    const int w = ::GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(ScreenPixel(w - 44, 16), RGB(0, 0, 0)) << "no close box in the primary's corner";
}

} // namespace
