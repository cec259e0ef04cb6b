// The window timer rules the card's timeline relies on, with a real message loop.
#include "UiTestSupport.h"

#include "ui/Timer.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

namespace {

class PlainWindow : public ui::Window {};

ui::WindowParams Hidden() {
    ui::WindowParams p;
    p.style = WS_POPUP;
    p.x = 0;
    p.y = 0;
    p.width = 10;
    p.height = 10;
    return p;
}

// First firing time of a timer, in ms after `origin`, or -1 when it never fired.
struct FirstFire {
    DWORD origin = 0;
    long at = -1;
    int count = 0;
    void Attach(ui::Timer& t) {
        t.OnTimer = [this] {
            if (at < 0)
                at = static_cast<long>(::GetTickCount() - origin);
            ++count;
        };
    }
};

TEST(TimerRules, IntervalAndEnableChangesKeepOrRestartThePeriod) {
    constexpr UINT kPeriod = 300;
    constexpr DWORD kChangeAt = 200;
    PlainWindow w;
    ASSERT_TRUE(w.Create(Hidden()));

    ui::Timer differentInterval(w, kPeriod, true);
    ui::Timer sameInterval(w, kPeriod, true);
    ui::Timer enableDisabled(w, kPeriod, false);
    ui::Timer enableEnabled(w, kPeriod, true);
    ui::Timer stayDisabled(w, 20, false);
    ui::Timer restartEnabled(w, kPeriod, true);
    ui::Timer restartDisabled(w, kPeriod, false);
    const DWORD origin = ::GetTickCount();
    FirstFire a, b, c, d, e, f, g;
    for (FirstFire* f : {&a, &b, &c, &d, &e, &f, &g})
        f->origin = origin;
    a.Attach(differentInterval);
    b.Attach(sameInterval);
    c.Attach(enableDisabled);
    d.Attach(enableEnabled);
    e.Attach(stayDisabled);
    f.Attach(restartEnabled);
    g.Attach(restartDisabled);

    uitest::Pump(kChangeAt);
    ASSERT_EQ(a.count + b.count + c.count + d.count + f.count, 0)
        << "the machine stalled; timings meaningless";
    differentInterval.SetInterval(250); // restarts: next tick at about 200 + 250
    sameInterval.SetInterval(kPeriod);  // nothing changes: tick at about 300
    enableDisabled.SetEnabled(true);    // fresh period: tick at about 200 + 300
    enableEnabled.SetEnabled(true);     // nothing changes: tick at about 300
    stayDisabled.SetInterval(30);       // a disabled timer stays disabled
    restartEnabled.Restart();           // fresh period: tick at about 200 + 300
    restartDisabled.Restart();          // enabled, fresh period: tick at about 200 + 300
    uitest::Pump(700 - kChangeAt);

    // Lower bounds are exact properties (a restarted period cannot end early);
    // the upper bounds allow for a busy machine.
    EXPECT_GE(a.at, long(kChangeAt + 250 - 20)) << "a new interval restarts the period";
    EXPECT_GE(c.at, long(kChangeAt + kPeriod - 20)) << "enabling starts a fresh period";
    EXPECT_GE(b.at, long(kPeriod - 20));
    EXPECT_LT(b.at, long(kChangeAt + 250 - 20)) << "the same interval keeps the period";
    EXPECT_GE(d.at, long(kPeriod - 20));
    EXPECT_LT(d.at, long(kChangeAt + 250 - 20)) << "enabling an enabled timer keeps the period";
    EXPECT_GE(f.at, long(kChangeAt + kPeriod - 20)) << "a restart starts a fresh period";
    EXPECT_GE(g.at, long(kChangeAt + kPeriod - 20));
    EXPECT_GT(g.count, 0) << "a restart enables a disabled timer";
    EXPECT_TRUE(restartDisabled.Enabled());
    EXPECT_EQ(e.count, 0) << "a disabled timer never fires";
    EXPECT_FALSE(stayDisabled.Enabled());
    EXPECT_EQ(stayDisabled.Interval(), 30u);
}

TEST(TimerRules, DisablingDropsATickAlreadyDue) {
    PlainWindow w;
    ASSERT_TRUE(w.Create(Hidden()));
    ui::Timer t(w, 10, true);
    int fired = 0;
    t.OnTimer = [&] { ++fired; };
    ::Sleep(60); // the tick is due, but the loop has not run
    t.SetEnabled(false);
    uitest::Pump(100);
    EXPECT_EQ(fired, 0);

    // A timer that disables itself in its handler fires exactly once.
    ui::Timer once(w, 15, true);
    int onceFired = 0;
    once.OnTimer = [&] {
        ++onceFired;
        once.SetEnabled(false);
    };
    uitest::Pump(150);
    EXPECT_EQ(onceFired, 1);

    // Interval 0 never fires, even while enabled.
    ui::Timer zero(w, 0, true);
    int zeroFired = 0;
    zero.OnTimer = [&] { ++zeroFired; };
    uitest::Pump(60);
    EXPECT_EQ(zeroFired, 0);
}

} // namespace
