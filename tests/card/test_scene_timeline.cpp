// The winter scene's timeline, stepped through in virtual time: the bands in
// which flakes, piles and drifts appear, the 30/60/70/80/85 s transitions, the
// snowman, and what the Letter window's stopping and re-enabling of the timers does.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "card/SceneTimeline.h"

namespace {

struct Op {
    enum Kind { Bitmap, Ellipse, Rectangle, Filled, AutoHide, ZOrder } kind = Bitmap;
    int32_t id = 0;    // the new item's ID, or the target of a Set
    RECT rect{};       // ellipses and rectangles
    POINT pos{};       // bitmaps
    COLORREF color{};  // shape colour or transparent colour
    std::string name;  // bitmap resource
    int32_t value = 0; // Set operations
    DWORD at = 0;      // scene time of the call (simulations)
};

class RecordingOverlay : public SceneOverlay {
public:
    std::vector<Op> ops;
    DWORD now = 0;
    int32_t AddBitmapFromResource(POINT p, HINSTANCE, const std::string& name,
                                  COLORREF key) override {
        Op op;
        op.kind = Op::Bitmap;
        op.pos = p;
        op.color = key;
        op.name = name;
        return Add(op);
    }
    int32_t AddEllipse(RECT r, COLORREF c) override { return AddShape(Op::Ellipse, r, c); }
    int32_t AddRectangle(RECT r, COLORREF c) override { return AddShape(Op::Rectangle, r, c); }
    int32_t SetFilled(int32_t id, bool v) override { return Set(Op::Filled, id, v); }
    int32_t SetAutoHide(int32_t id, bool v) override { return Set(Op::AutoHide, id, v); }
    int32_t SetZOrder(int32_t id, int32_t p) override { return Set(Op::ZOrder, id, p); }

    std::vector<Op> Items(Op::Kind kind) const {
        std::vector<Op> out;
        std::copy_if(ops.begin(), ops.end(), std::back_inserter(out),
                     [&](const Op& o) { return o.kind == kind; });
        return out;
    }
    size_t ItemsBetween(Op::Kind kind, DWORD from, DWORD to) const {
        return std::count_if(ops.begin(), ops.end(), [&](const Op& o) {
            return o.kind == kind && o.at > from && o.at <= to;
        });
    }

private:
    int32_t AddShape(Op::Kind k, RECT r, COLORREF c) {
        Op op;
        op.kind = k;
        op.rect = r;
        op.color = c;
        return Add(op);
    }
    int32_t Add(Op op) {
        op.id = ++lastId_;
        op.at = now;
        ops.push_back(op);
        return op.id;
    }
    int32_t Set(Op::Kind k, int32_t id, int32_t v) {
        Op op;
        op.kind = k;
        op.id = id;
        op.value = v;
        op.at = now;
        ops.push_back(op);
        return 1;
    }
    int32_t lastId_ = 0;
};

// A random source that always gives the largest (or the smallest) value.
class EdgeRandom : public SceneRandom {
public:
    explicit EdgeRandom(bool largest) : largest_(largest) {}
    int reseeds = 0;
    std::vector<int> ranges;
    void Reseed() override { ++reseeds; }
    int Random(int n) override {
        ranges.push_back(n);
        return n <= 0 ? 0 : (largest_ ? n - 1 : 0);
    }

private:
    bool largest_;
};

constexpr int W = 1024;
constexpr int H = 768;
HINSTANCE const Res = reinterpret_cast<HINSTANCE>(0x400000);

// The scene window's three timers in virtual time, with hooks at chosen moments.
struct Scene {
    DWORD clock = 0;
    VirtualTimer fall{clock, SnowFallInterval, true};
    VirtualTimer ground{clock, SnowGroundInterval, false};
    VirtualTimer snowMan{clock, SnowManDelay, true};
    RecordingOverlay overlay;
    TimeOfDayRandom random;
    int snowMen = 0;
    std::vector<std::pair<DWORD, std::function<void(Scene&)>>> events;

    void RunUntil(DWORD end) {
        std::sort(events.begin(), events.end(), [](auto& a, auto& b) { return a.first < b.first; });
        size_t nextEvent = 0;
        for (;;) {
            DWORD t = end + 1;
            VirtualTimer* which = nullptr;
            for (VirtualTimer* s : {&fall, &ground, &snowMan})
                if (s->Enabled() && s->Next() < t) {
                    t = s->Next();
                    which = s;
                }
            if (nextEvent < events.size() && events[nextEvent].first <= t) {
                clock = overlay.now = events[nextEvent].first;
                events[nextEvent++].second(*this);
                continue;
            }
            if (!which)
                return;
            clock = overlay.now = t;
            which->Fired();
            if (which == &fall)
                SnowFallTick(clock, W, H, fall, ground, random, overlay, Res);
            else if (which == &ground)
                SnowGroundTick(clock, W, H, ground, random, overlay);
            else {
                snowMan.SetEnabled(false);
                BuildSnowMan(H, overlay, Res);
                ++snowMen;
            }
        }
    }
};

size_t Flakes(const Scene& s, DWORD from, DWORD to) {
    return s.overlay.ItemsBetween(Op::Bitmap, from, to);
}
size_t Ellipses(const Scene& s, DWORD from, DWORD to) {
    return s.overlay.ItemsBetween(Op::Ellipse, from, to);
}

TEST(SceneTimeline, FlakesFallInAGrowingBandThenAnywhere) {
    for (bool largest : {true, false}) {
        SCOPED_TRACE(largest ? "largest draws" : "smallest draws");
        for (DWORD e : {0u, 1u, 7500u, 15000u, 29999u, 30000u, 30001u, 45000u}) {
            SCOPED_TRACE(e);
            DWORD clock = e;
            VirtualTimer fall(clock, SnowFallInterval, true),
                ground(clock, SnowGroundInterval, false);
            EdgeRandom rnd(largest);
            RecordingOverlay ov;
            SnowFallTick(e, W, H, fall, ground, rnd, ov, Res);

            int band = e > SnowBandTime ? H : static_cast<int>(H * (e / 30000.0));
            ASSERT_EQ(rnd.reseeds, 1);
            ASSERT_EQ(rnd.ranges, (std::vector<int>{band, W})) << "y is drawn first, then x";
            ASSERT_EQ(ov.ops.size(), 3u);
            const Op& flake = ov.ops[0];
            EXPECT_EQ(flake.kind, Op::Bitmap);
            EXPECT_EQ(flake.name, "SNOWFLAKE");
            EXPECT_EQ(flake.color, RGB(0, 0, 0));
            EXPECT_EQ(flake.pos.y, largest && band > 0 ? band - 1 : 0);
            EXPECT_EQ(flake.pos.x, largest ? W - 1 : 0);
            EXPECT_EQ(ov.ops[1].kind, Op::AutoHide);
            EXPECT_EQ(ov.ops[1].value, 1);
            EXPECT_EQ(ov.ops[2].kind, Op::ZOrder);
            EXPECT_EQ(ov.ops[2].value, 0);
            EXPECT_EQ(ov.ops[1].id, flake.id);
            EXPECT_EQ(ov.ops[2].id, flake.id);
        }
    }
}

TEST(SceneTimeline, PilesAndDriftsStayInTheirBands) {
    struct Case {
        DWORD e;
        int band;
        size_t ellipses;
    };
    // Trunc(768 * g): 0 at 30 s, 19 at 45 s, 38 (g = 0.05) after 60 s.
    for (Case c : {Case{30001, 0, 1}, Case{45000, 19, 1}, Case{60000, 38, 1}, Case{60001, 38, 31},
                   Case{69999, 38, 31}, Case{70000, 38, 1}, Case{70001, 38, 1}}) {
        SCOPED_TRACE(c.e);
        for (bool largest : {true, false}) {
            DWORD clock = c.e;
            VirtualTimer ground(clock, SnowGroundInterval, true);
            EdgeRandom rnd(largest);
            RecordingOverlay ov;
            SnowGroundTick(c.e, W, H, ground, rnd, ov);
            EXPECT_EQ(ground.Enabled(), c.e <= SnowGroundEndTime);
            EXPECT_EQ(rnd.reseeds, 1);
            std::vector<Op> ell = ov.Items(Op::Ellipse);
            ASSERT_EQ(ell.size(), c.ellipses);
            ASSERT_EQ(ov.ops.size(), 4 * c.ellipses) << "each with filled, autohide, z-order 0";
            int off = largest && c.band > 0 ? c.band - 1 : 0;
            auto centre = [](const RECT& r) {
                return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            };
            // The bottom pile: 120 x 100, centred at most band - 1 above the bottom edge.
            EXPECT_EQ(ell[0].rect.right - ell[0].rect.left, 120);
            EXPECT_EQ(ell[0].rect.bottom - ell[0].rect.top, 100);
            EXPECT_EQ(centre(ell[0].rect).y, H - off);
            EXPECT_EQ(ell[0].color, RGB(250, 250, 250));
            for (size_t i = 1; i < ell.size(); i += 3) {
                POINT top = centre(ell[i].rect), right = centre(ell[i + 1].rect),
                      left = centre(ell[i + 2].rect);
                EXPECT_EQ(top.y, off);
                EXPECT_EQ(ell[i].rect.right - ell[i].rect.left, 120);
                EXPECT_EQ(right.x, W - off);
                EXPECT_EQ(ell[i + 1].rect.right - ell[i + 1].rect.left, 100);
                EXPECT_EQ(ell[i + 1].rect.bottom - ell[i + 1].rect.top, 120);
                EXPECT_EQ(left.x, off);
            }
            for (size_t i = 0; i < ov.ops.size(); i += 4) {
                EXPECT_EQ(ov.ops[i + 1].kind, Op::Filled);
                EXPECT_EQ(ov.ops[i + 2].kind, Op::AutoHide);
                EXPECT_EQ(ov.ops[i + 3].kind, Op::ZOrder);
                EXPECT_EQ(ov.ops[i + 3].value, 0);
                EXPECT_EQ(ov.ops[i + 3].id, ov.ops[i].id);
            }
        }
    }
}

TEST(SceneTimeline, SnowFallTimerRulesAtTheTransitions) {
    DWORD clock = 0;
    VirtualTimer fall(clock, SnowFallInterval, true), ground(clock, SnowGroundInterval, false);
    EdgeRandom rnd(true);
    RecordingOverlay ov;
    auto tick = [&](DWORD e) {
        clock = e;
        SnowFallTick(e, W, H, fall, ground, rnd, ov, Res);
    };
    tick(30000); // not yet more than 30 s
    EXPECT_FALSE(ground.Enabled());
    EXPECT_EQ(fall.Interval(), 100u);
    tick(30001);
    EXPECT_TRUE(ground.Enabled());
    EXPECT_EQ(fall.Interval(), 250u);
    tick(60001);
    EXPECT_EQ(fall.Interval(), 1000u);
    ground.SetEnabled(false); // the ground timer stops itself after 70 s
    tick(70100);
    EXPECT_TRUE(ground.Enabled()) << "re-enabled by the snowfall";
    EXPECT_EQ(fall.Interval(), 250u);
    EXPECT_TRUE(fall.Enabled());
    ground.SetEnabled(false);
    size_t before = ov.Items(Op::Bitmap).size();
    tick(80001);
    EXPECT_FALSE(fall.Enabled());
    EXPECT_TRUE(ground.Enabled());
    EXPECT_EQ(ov.Items(Op::Bitmap).size(), before + 1) << "the last tick still places a flake";
}

TEST(SceneTimeline, WholeRunAtTheNominalRates) {
    Scene s;
    s.RunUntil(100000);
    // 100 ms flakes up to 30 s, 250 ms up to 60 s, 1 s up to 70 s, 250 ms up to 80 s.
    EXPECT_NEAR(double(Flakes(s, 0, 30000)), 300, 1);
    EXPECT_NEAR(double(Flakes(s, 30000, 60000)), 120, 2);
    EXPECT_NEAR(double(Flakes(s, 60000, 70000)), 10, 1);
    EXPECT_NEAR(double(Flakes(s, 70000, 81000)), 40, 4);
    EXPECT_EQ(s.overlay.ItemsBetween(Op::Bitmap, 81000, 84999), 0u);
    EXPECT_FALSE(s.fall.Enabled());
    EXPECT_FALSE(s.ground.Enabled());

    // Ground: none before 30 s; 300 piles to 60 s; 31 per tick to 70 s; then a few.
    EXPECT_EQ(Ellipses(s, 0, 30000), 0u);
    EXPECT_NEAR(double(Ellipses(s, 30000, 60000)), 300, 2);
    EXPECT_NEAR(double(Ellipses(s, 60000, 70000)), 3100, 62);
    size_t late = Ellipses(s, 70000, 84999);
    EXPECT_GT(late, 20u);
    EXPECT_LT(late, 60u);
    for (const Op& o : s.overlay.Items(Op::Ellipse)) {
        if (o.at > 84999)
            continue;
        // Every snow ellipse lies within the pile band of its time.
        int band = static_cast<int>(H * SnowPileFraction(o.at));
        int cy = (o.rect.top + o.rect.bottom) / 2, cx = (o.rect.left + o.rect.right) / 2;
        bool bottom = cy > H - band || cy == H, top = cy < band,
             left = cx<band, right = cx> W - band;
        EXPECT_TRUE(bottom || top || left || right) << o.at << " (" << cx << "," << cy << ")";
    }
    for (const Op& o : s.overlay.Items(Op::Bitmap))
        if (o.name == "SNOWFLAKE" && o.at <= 30000) {
            EXPECT_LT(o.pos.y, std::max(1, int(H * (o.at / 30000.0)))) << o.at;
        }

    // The snowman once, at 85 s: 17 ellipses and rectangles and the face.
    EXPECT_EQ(s.snowMen, 1);
    EXPECT_EQ(Ellipses(s, 84999, 100000), 16u);
    EXPECT_EQ(s.overlay.ItemsBetween(Op::Rectangle, 0, 100000), 2u);
    EXPECT_EQ(s.overlay.ItemsBetween(Op::Bitmap, 84999, 100000), 1u);
}

TEST(SceneTimeline, LetterWindowStopsAndResumesTheSnow) {
    // Opened from the icon at 10 s and closed at 12 s: both timers are enabled
    // again, so the ground snow starts early on the bottom edge and the snowfall
    // keeps its 100 ms rate until 60 s.
    {
        Scene s;
        s.events.push_back({12000, [](Scene& sc) {
                                sc.fall.SetEnabled(true);
                                sc.ground.SetEnabled(true);
                            }});
        s.RunUntil(59000);
        std::vector<Op> early;
        for (const Op& o : s.overlay.Items(Op::Ellipse))
            if (o.at < 30000)
                early.push_back(o);
        EXPECT_NEAR(double(early.size()), 180, 2);
        for (const Op& o : early)
            EXPECT_EQ((o.rect.top + o.rect.bottom) / 2, H) << "on the bottom edge";
        EXPECT_EQ(s.fall.Interval(), 100u);
        EXPECT_NEAR(double(Flakes(s, 30000, 59000)), 290, 2);
    }
    // Own-card mode from 40 s to 50 s: nothing is added meanwhile; it resumes after.
    {
        Scene s;
        s.events.push_back({40000, [](Scene& sc) {
                                sc.fall.SetEnabled(false);
                                sc.ground.SetEnabled(false);
                            }});
        s.events.push_back({50000, [](Scene& sc) {
                                sc.fall.SetEnabled(true);
                                sc.ground.SetEnabled(true);
                            }});
        s.RunUntil(59000);
        EXPECT_EQ(Flakes(s, 40000, 50000), 0u);
        EXPECT_EQ(Ellipses(s, 40000, 50000), 0u);
        EXPECT_GT(Flakes(s, 50000, 59000), 30u);
        EXPECT_GT(Ellipses(s, 50000, 59000), 80u);
    }
    // Re-enabled after the end: the snowfall's last tick stops it and wakes the
    // ground timer once more, so one flake and two piles, then both stop.
    {
        Scene s;
        s.events.push_back({90000, [](Scene& sc) {
                                sc.fall.SetEnabled(true);
                                sc.ground.SetEnabled(true);
                            }});
        s.RunUntil(120000);
        EXPECT_EQ(Flakes(s, 90000, 120000), 1u);
        EXPECT_EQ(Ellipses(s, 90000, 120000), 2u);
        EXPECT_FALSE(s.fall.Enabled());
        EXPECT_FALSE(s.ground.Enabled());
        EXPECT_EQ(s.snowMen, 1);
    }
}

TEST(SceneTimeline, SnowManItemsAndPlaces) {
    for (int h : {768, 1200}) {
        SCOPED_TRACE(h);
        RecordingOverlay ov;
        BuildSnowMan(h, ov, Res);
        std::vector<Op> items;
        for (const Op& o : ov.ops)
            if (o.kind == Op::Bitmap || o.kind == Op::Ellipse || o.kind == Op::Rectangle)
                items.push_back(o);
        ASSERT_EQ(items.size(), 19u);
        auto rect = [&](int i) { return items[i].rect; };
        auto eq = [](RECT a, RECT b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        EXPECT_TRUE(eq(rect(0), RECT{180, h - 290, 420, h - 50}));
        EXPECT_TRUE(eq(rect(1), RECT{177, h - 293, 423, h - 47}));
        EXPECT_TRUE(eq(rect(2), RECT{220, h - 420, 380, h - 260}));
        EXPECT_TRUE(eq(rect(3), RECT{217, h - 423, 383, h - 257}));
        EXPECT_TRUE(eq(rect(4), RECT{250, h - 500, 350, h - 400}));
        EXPECT_TRUE(eq(rect(5), RECT{247, h - 503, 353, h - 397}));
        EXPECT_EQ(items[6].kind, Op::Rectangle);
        EXPECT_TRUE(eq(rect(6), RECT{240, h - 490, 360, h - 480}));
        EXPECT_EQ(items[7].kind, Op::Rectangle);
        EXPECT_TRUE(eq(rect(7), RECT{260, h - 545, 340, h - 480}))
            << "crown top 545 above the bottom";
        EXPECT_EQ(items[8].kind, Op::Bitmap);
        EXPECT_EQ(items[8].name, "SNOWMANFACE");
        EXPECT_EQ(items[8].pos.x, 305);
        EXPECT_EQ(items[8].pos.y, h - 450);
        EXPECT_EQ(items[8].color, RGB(255, 0, 255));
        for (int i = 1; i <= 10; ++i)
            EXPECT_TRUE(eq(rect(8 + i), RECT{295, h - 75 - 30 * i, 305, h - 65 - 30 * i})) << i;
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(items[i].color, i % 2 ? RGB(0, 0, 0) : RGB(255, 255, 255));
        for (int i = 9; i < 19; ++i)
            EXPECT_EQ(items[i].color, RGB(0, 0, 0));

        // Every shape is filled; only the outlines go to the back; nothing hides.
        for (const Op& it : items) {
            if (it.kind == Op::Bitmap)
                continue;
            bool filled = std::any_of(ov.ops.begin(), ov.ops.end(), [&](const Op& o) {
                return o.kind == Op::Filled && o.id == it.id && o.value == 1;
            });
            EXPECT_TRUE(filled) << it.id;
        }
        std::vector<Op> z = ov.Items(Op::ZOrder);
        ASSERT_EQ(z.size(), 3u);
        EXPECT_EQ(z[0].id, items[1].id);
        EXPECT_EQ(z[1].id, items[3].id);
        EXPECT_EQ(z[2].id, items[5].id);
        EXPECT_TRUE(ov.Items(Op::AutoHide).empty());
    }
}

TEST(SceneTimeline, PlacesClockAndRandomSource) {
    EXPECT_EQ(CloseBoxPosition(1024).x, 994);
    EXPECT_EQ(CloseBoxPosition(1024).y, 30);
    EXPECT_EQ(LetterIconPosition(1024, 768).x, 942);
    EXPECT_EQ(LetterIconPosition(1024, 768).y, 704);
    EXPECT_EQ(SceneElapsed(5, 0xFFFFFFF0u), 21u) << "the tick count wraps after 49 days";
    EXPECT_DOUBLE_EQ(SnowPileFraction(30000), 0.0);
    EXPECT_DOUBLE_EQ(SnowPileFraction(45000), 0.025);
    EXPECT_LT(SnowPileFraction(12000), 0.0);

    TimeOfDayRandom r;
    r.Seed(12345);
    EXPECT_EQ(r.Random(0), 0);
    EXPECT_EQ(r.Random(-7), 0);
    std::vector<int> buckets(10);
    for (int i = 0; i < 20000; ++i) {
        int v = r.Random(10);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 10);
        ++buckets[v];
    }
    for (int b : buckets)
        EXPECT_NEAR(b, 2000, 250);
    r.Reseed();
    int big = r.Random(1 << 30);
    EXPECT_GE(big, 0);
}

} // namespace
