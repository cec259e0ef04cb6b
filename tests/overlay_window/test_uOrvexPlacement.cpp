// Where the overlay window goes: the area it covers and its place in the
// z-order, as plain rules and on the real window. It stays above another
// program's windows without restacking while it is there, lets its own
// program's windows stay above it, never takes the focus from the program in
// front, and follows a change of the monitors.
#include "overlay_test_support.h"
#include "overlay_window/uOrvexPlacement.h"
#include "overlay_window/uOrvexPlatform.h"
#include "overlay_window/uOrvexTransparentForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace overlay_test;

namespace {

bool Same(RECT a, RECT b) {
    return ::EqualRect(&a, &b) != FALSE;
}

TEST(OverlayPlacementRules, BoundsAreTheVirtualDesktopOrThePrimaryMonitor) {
    const SIZE primary{1024, 768};
    const RECT primaryRect{0, 0, 1024, 768};
    // A second monitor left of the primary one: the desktop starts left of 0.
    const RECT leftPair{-1024, 0, 1024, 768};
    EXPECT_TRUE(Same(OverlayBounds(OverlayCoverage::VirtualDesktop, leftPair, primary), leftPair));
    EXPECT_TRUE(
        Same(OverlayBounds(OverlayCoverage::PrimaryMonitor, leftPair, primary), primaryRect));
    // A taller monitor above and to the left.
    const RECT above{-200, -1080, 1024, 768};
    EXPECT_TRUE(Same(OverlayBounds(OverlayCoverage::VirtualDesktop, above, primary), above));
    // No answer from the system: the primary monitor.
    EXPECT_TRUE(Same(OverlayBounds(OverlayCoverage::VirtualDesktop, RECT{0, 0, 0, 0}, primary),
                     primaryRect));
}

TEST(OverlayPlacementRules, OnlyAnotherProgramsWindowAboveRestacksAndOwnWindowsStayAbove) {
    HWND a = reinterpret_cast<HWND>(0x10), b = reinterpret_cast<HWND>(0x20),
         c = reinterpret_cast<HWND>(0x30);
    using List = std::vector<HWND>;
    EXPECT_FALSE(PlanFront({}).restack) << "first already";
    EXPECT_FALSE(PlanFront({{a, false, false}}).restack) << "a hidden window covers nothing";
    EXPECT_FALSE(PlanFront({{a, true, true}, {b, true, true}}).restack)
        << "the program's own dialogs stay above";
    FrontPlan plan = PlanFront({{a, true, false}});
    EXPECT_TRUE(plan.restack);
    EXPECT_EQ(plan.raiseAgain, List{});
    // Another program's window between own windows: the overlay goes above
    // it and every own window back above the overlay, in their order.
    plan = PlanFront({{a, true, true}, {c, true, false}, {b, false, true}, {b, true, true}});
    EXPECT_TRUE(plan.restack);
    EXPECT_EQ(plan.raiseAgain, (List{a, b}));

    // Own windows are cut out of the shape where they lie, above or slipped
    // below; hidden ones and other programs' windows never.
    const RECT r1{10, 10, 50, 50}, r2{60, 60, 90, 90}, none{5, 5, 5, 5};
    plan = PlanFront({{a, true, true, r1}, {c, true, false, r2}},
                     {{b, true, true, r2}, {c, true, false, r1}, {a, false, true, r2}});
    ASSERT_EQ(plan.holes.size(), 2u);
    EXPECT_TRUE(Same(plan.holes[0], r1));
    EXPECT_TRUE(Same(plan.holes[1], r2));
    EXPECT_EQ(plan.raiseAgain, (List{a})) << "a window that slipped below is not fought over";
    EXPECT_TRUE(PlanFront({}, {{b, true, true, none}}).holes.empty()) << "an empty window";
    EXPECT_FALSE(PlanFront({}, {{b, true, true, r1}}).restack);
}

// Notepad, started as another program with its window shown.
class OtherProgram {
public:
    OtherProgram() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring command = L"notepad.exe";
        if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &si, &pi_))
            return;
        ::WaitForInputIdle(pi_.hProcess, 10000);
        const DWORD start = ::GetTickCount();
        while (!window_ && ::GetTickCount() - start < 15000) {
            ::EnumWindows(&Find, reinterpret_cast<LPARAM>(this));
            if (!window_)
                Pump(50);
        }
    }
    ~OtherProgram() {
        if (pi_.hProcess) {
            ::TerminateProcess(pi_.hProcess, 0);
            ::WaitForSingleObject(pi_.hProcess, 5000);
            ::CloseHandle(pi_.hThread);
            ::CloseHandle(pi_.hProcess);
        }
    }
    HWND Window() const { return window_; }

private:
    static BOOL CALLBACK Find(HWND w, LPARAM self) {
        auto* me = reinterpret_cast<OtherProgram*>(self);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == me->pi_.dwProcessId && ::IsWindowVisible(w) && !::GetWindow(w, GW_OWNER)) {
            me->window_ = w;
            return FALSE;
        }
        return TRUE;
    }
    PROCESS_INFORMATION pi_{};
    HWND window_ = nullptr;
};

// True when upper comes before lower in the z-order.
bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == lower)
            return true;
    return false;
}

// Counts the overlay's moves and restacks on this thread (a new shape comes
// as a frame change and is not counted).
class PositionChanges {
public:
    explicit PositionChanges(HWND watched) {
        Watched = watched;
        Count = 0;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~PositionChanges() { ::UnhookWindowsHookEx(hook_); }
    bool Hooked() const { return hook_ != nullptr; }
    static inline HWND Watched = nullptr;
    static inline int Count = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && m->hwnd == Watched && m->message == WM_WINDOWPOSCHANGING &&
            !(reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_FRAMECHANGED))
            ++Count;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

class OverlayPlacement : public ::testing::Test {
protected:
    // Makes the overlay with one red square and lets the first tick show it.
    void ShowOverlay() {
        ASSERT_TRUE(form.CreateForm());
        form.Store().SetCallbackWindow(receiver.Handle());
        item =
            form.Store().AddRectangleItem(RECT{100, 100, 200, 200}, true, 1, RGB(255, 0, 0), false);
        ASSERT_GT(item, 0);
        Pump(300); // shown by the first front tick, painted
        ASSERT_TRUE(::IsWindowVisible(form.Handle()));
    }
    TTransparentForm form;
    Receiver receiver;
    int32_t item = 0;
};

TEST_F(OverlayPlacement, StaysAboveOtherProgramsAndBelowItsOwnWindowsRestackingOnlyWhenCovered) {
    ShowOverlay();
    PositionChanges changes(form.Handle());
    ASSERT_TRUE(changes.Hooked());
    Pump(600);
    EXPECT_EQ(PositionChanges::Count, 0) << "restacked although nothing covered it";

    // A stay-on-top window of the overlay's own program stays above it.
    // (Opening it makes it the foreground window: one restack.)
    ClickCounter own(RGB(0, 128, 0));
    ASSERT_TRUE(own.Open(300, 300));
    Pump(300);
    const int opened = PositionChanges::Count;
    ::SetWindowPos(own.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump(400);
    EXPECT_TRUE(IsAbove(own.Handle(), form.Handle()));
    EXPECT_EQ(PositionChanges::Count, opened);
    // Its place is cut out of the overlay's shape, so it shows and takes its
    // clicks however the system stacks the two.
    ui::Region shape = ui::MakeEmptyRegion();
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_FALSE(::PtInRegion(shape.Get(), 150, 150));

    // Another program's stay-on-top window goes below the overlay at the next
    // tick, and the own window stays on top.
    OtherProgram other;
    ASSERT_NE(other.Window(), nullptr) << "notepad did not start";
    ::SetWindowPos(other.Window(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_TRUE(IsAbove(other.Window(), form.Handle()));
    Pump(300);
    EXPECT_TRUE(IsAbove(form.Handle(), other.Window()));
    EXPECT_TRUE(IsAbove(own.Handle(), form.Handle()));
    EXPECT_GT(PositionChanges::Count, 0);
    const int settled = PositionChanges::Count;
    Pump(500);
    EXPECT_EQ(PositionChanges::Count, settled) << "kept restacking once in front";

    // Hidden again, the own window leaves no hole, in the shape or on the
    // screen, which shows what was added while the window covered it.
    form.Store().AddRectangleItem(RECT{120, 120, 180, 180}, true, 1, RGB(0, 0, 255), false);
    Pump(100);
    ::ShowWindow(own.Handle(), SW_HIDE);
    Pump(300);
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_TRUE(::PtInRegion(shape.Get(), 150, 150));
    ui::WindowDC screen(nullptr);
    EXPECT_EQ(::GetPixel(screen.Get(), 150, 150), RGB(0, 0, 255));

    // Under Wine a window manager may stack the overlay above the own window
    // without anyone asking (mutter keeps unmanaged windows on top): it is
    // cut out all the same, until the program makes it an ordinary window.
    if (!RunningUnderWine())
        return;
    ::SetWindowPos(own.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Pump(300);
    ::SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(IsAbove(form.Handle(), own.Handle()));
    Pump(300);
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_FALSE(::PtInRegion(shape.Get(), 150, 150)) << "the own window slipped below is covered";
    ::SetWindowPos(own.Handle(), HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump(300);
    ::GetWindowRgn(form.Handle(), shape.Get());
    EXPECT_TRUE(::PtInRegion(shape.Get(), 150, 150)) << "lowered on purpose, yet still cut out";
}

TEST_F(OverlayPlacement, AClickOnAnItemLeavesTheForegroundWithTheOtherProgram) {
    // The other program runs first: without a window manager Wine stacks a
    // newer program's window above the overlay unseen by the z-order.
    OtherProgram other;
    ASSERT_NE(other.Window(), nullptr) << "notepad did not start";
    ::MoveWindow(other.Window(), 50, 50, 500, 400, TRUE);
    ShowOverlay();
    EXPECT_TRUE(::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    ::SetForegroundWindow(other.Window());
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other.Window(); }, 5000));
    Pump(300);
    ui::WindowDC screen(nullptr);
    EXPECT_EQ(::GetPixel(screen.Get(), 150, 150), RGB(255, 0, 0));
    receiver.Drain();

    LeftClickAt(150, 150);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other.Window(); }, 500));
    EXPECT_EQ(::GetForegroundWindow(), other.Window()) << "the click took the focus";
    EXPECT_NE(::GetActiveWindow(), form.Handle());
    bool clicked = false;
    for (const Notification& n : receiver.Drain())
        clicked = clicked || (n.message == WM_TRANSPARENTELEMENT_CLICK && n.wParam == WPARAM(item));
    EXPECT_TRUE(clicked);

    // A click into the other program's window, then the overlay still shows
    // above it on the screen.
    LeftClickAt(400, 350);
    Pump(300);
    EXPECT_EQ(::GetPixel(screen.Get(), 150, 150), RGB(255, 0, 0)) << "the item no longer shows";
    EXPECT_EQ(::GetForegroundWindow(), other.Window());
}

TEST_F(OverlayPlacement, AChangeOfTheMonitorsPlacesTheWindowAnew) {
    ShowOverlay();
    const RECT desktop{
        ::GetSystemMetrics(SM_XVIRTUALSCREEN), ::GetSystemMetrics(SM_YVIRTUALSCREEN),
        ::GetSystemMetrics(SM_XVIRTUALSCREEN) + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
        ::GetSystemMetrics(SM_YVIRTUALSCREEN) + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    RECT r{};
    ::GetWindowRect(form.Handle(), &r);
    EXPECT_TRUE(Same(r, desktop));
    ::SetWindowPos(form.Handle(), nullptr, 10, 20, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(form.Handle(), WM_DISPLAYCHANGE, 32, MAKELPARAM(desktop.right, desktop.bottom));
    ::GetWindowRect(form.Handle(), &r);
    EXPECT_TRUE(Same(r, desktop));
    EXPECT_EQ(form.Presenter().Origin().x, desktop.left);
    EXPECT_EQ(form.Presenter().Origin().y, desktop.top);
}

} // namespace
