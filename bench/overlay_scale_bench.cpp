// The overlay at the card's scale. Builds the card's own item population
// through the library's functions, driven by the card's timeline functions
// (flakes from the SNOWFLAKE resource, pile and drift ellipses, the close box,
// the letter icon and the snowman), and at 500, 1,000, 2,000 and 4,000 items
// measures, for the overlay's repaint and for the straightforward full
// repaint side by side:
//   - one rebuild of the window shape from scratch,
//   - the repaint when the library dialog closes,
//   - one drift tick (31 ellipses, each filled, autohide and sent to the
//     back, and the repaint they cause, up to the window's WM_PAINT),
//   - the repaint after the pointer hides the snow under it (autohide),
// and for the overlay alone one autohide check, one mouse dispatch and the
// GDI objects in use. Every figure is the median of several runs.
//
// Run it under Wine by hand (see the README); it is not part of the tests.
// -v prints each drift tick split up; -q leaves the full repaint out (its
// columns show 0), for quick rounds while working on the overlay.
#include "card/SceneTimeline.h"
#include "overlay_api/Orvex.h"
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "reference_repaint.h"
#include "ui/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Repeats = 5;
bool Verbose = false;
bool Reference = true;
long AutohideSweeps = 0;           // -autohide N: N pointer steps over the snow at the end
constexpr DWORD DriftTime = 65000; // a ground tick in the drift window

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER c;
    ::QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) * 1000.0 / frequency;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Runs prepare (untimed), then work (timed), Repeats times; the median in ms.
double MedianMs(const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        if (prepare)
            prepare();
        const double start = NowMs();
        work();
        times.push_back(NowMs() - start);
    }
    return Median(times);
}

// The scene's operations as the card makes them: through the library's functions.
class LibraryOverlay : public SceneOverlay {
public:
    int32_t AddBitmapFromResource(POINT position, HINSTANCE instance, const std::string& name,
                                  COLORREF key) override {
        return Orvex_BitmapByResource(position,
                                      static_cast<int32_t>(reinterpret_cast<intptr_t>(instance)),
                                      name.c_str(), key);
    }
    int32_t AddEllipse(RECT rect, COLORREF color) override {
        const int32_t id = Timed(0, [&] { return Orvex_Ellipse(rect, color); });
        Added.push_back(id);
        return id;
    }
    int32_t AddRectangle(RECT rect, COLORREF color) override {
        return Orvex_Rectangle(rect, color);
    }
    int32_t SetFilled(int32_t id, bool value) override {
        return Timed(1, [&] {
            return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, id, value ? 1 : 0, 0, 0);
        });
    }
    int32_t SetAutoHide(int32_t id, bool value) override {
        return Timed(2, [&] {
            return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE, id, value ? 1 : 0, 0,
                                   0);
        });
    }
    int32_t SetZOrder(int32_t id, int32_t position) override {
        return Timed(3, [&] {
            return Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETZORDER, id, position, 0, 0);
        });
    }
    std::vector<int32_t> Added; // ellipses since the last clear
    // Time spent in the adds of ellipses, and in filled, autohide and z-order
    // operations, since the last clear of Spent.
    double Spent[4] = {0, 0, 0, 0};

private:
    template <typename F> int32_t Timed(int kind, F f) {
        const double start = NowMs();
        const int32_t result = f();
        Spent[kind] += NowMs() - start;
        return result;
    }
};

// Random numbers of a fixed seed, so every run builds the same scene.
class FixedRandom : public SceneRandom {
public:
    void Reseed() override { random_.Seed(seed_ += 7919); }
    int Random(int n) override { return random_.Random(n); }

private:
    TimeOfDayRandom random_;
    uint32_t seed_ = 1;
};

// The card's timeline on a simulated clock, item by item.
class Scene {
public:
    Scene(int w, int h, HINSTANCE resources)
        : w_(w), h_(h), resources_(resources), fall_(clock_, SnowFallInterval, true),
          ground_(clock_, SnowGroundInterval, false) {
        overlay.AddBitmapFromResource(CloseBoxPosition(w_), resources_, CloseButtonResource,
                                      OpaqueKey);
        overlay.AddBitmapFromResource(LetterIconPosition(w_, h_), resources_, LetterResource,
                                      OpaqueKey);
    }

    // Advances to the next timer tick; false when the timeline is over.
    bool Step() {
        const bool fall = fall_.Enabled(), ground = ground_.Enabled();
        DWORD next = snowManDone_ ? 0xFFFFFFFFu : SnowManDelay;
        if (fall)
            next = std::min(next, fall_.Next());
        if (ground)
            next = std::min(next, ground_.Next());
        if (next == 0xFFFFFFFFu)
            return false;
        clock_ = next;
        if (fall && fall_.Next() == next) {
            fall_.Fired();
            SnowFallTick(clock_, w_, h_, fall_, ground_, random_, overlay, resources_);
        } else if (ground && ground_.Next() == next) {
            ground_.Fired();
            SnowGroundTick(clock_, w_, h_, ground_, random_, overlay);
        } else {
            snowManDone_ = true;
            BuildSnowMan(h_, overlay, resources_);
        }
        return true;
    }
    // One ground tick in the drift window: 31 ellipses.
    void DriftTick() {
        VirtualTimer ground(clock_, SnowGroundInterval, true);
        SnowGroundTick(DriftTime, w_, h_, ground, random_, overlay);
    }
    DWORD Clock() const { return clock_; }

    LibraryOverlay overlay;

private:
    int w_, h_;
    HINSTANCE resources_;
    DWORD clock_ = 0;
    VirtualTimer fall_, ground_;
    FixedRandom random_;
    bool snowManDone_ = false;
};

size_t ItemCount(TTransparentForm& form) {
    return form.Store().ItemIDs(false).size();
}

// The repaint the changes scheduled, as the redraw timer runs it, and the
// window's WM_PAINT that follows.
void Repaint(TTransparentForm& form) {
    form.RedrawTimerTimer();
    ::UpdateWindow(form.Handle());
}

struct Row {
    size_t items = 0;
    double rebuildFast = 0, rebuildFull = 0;
    double dialogFast = 0, dialogFull = 0;
    double tickFast = 0, tickFull = 0;
    double hideFast = 0, hideFull = 0;
    double autohideCheck = 0, mouseDispatch = 0;
    DWORD gdiObjects = 0;
    long liveHandles = 0;
    TCopyCost copyCost; // as the overlay measured it by then
    size_t copies = 0;
};

// The pointer where the snow is deepest: the bottom edge's pile.
POINT DeepSnow(int w, int h) {
    return POINT{w / 2, h - 12};
}

void Progress(const char* what, double full, double fast) {
    std::printf("  %-18s full %8.2f ms  overlay %8.2f ms\n", what, full, fast);
    std::fflush(stdout);
}

Row Measure(TTransparentForm& form, Scene& scene, int w, int h) {
    Row row;
    row.items = ItemCount(form);
    ::SetCursorPos(w / 2, h / 2 - 100); // away from the snow
    form.CheckAutohide();
    Repaint(form);

    auto rebuildFromScratch = [&](bool full) {
        form.Presenter().SetRepaintEngine(full ? MakeFullRepaint() : MakeIncrementalRepaint());
        return MedianMs([&] { form.Presenter().InvalidateShape(); },
                        [&] {
                            form.RebuildWindowShape();
                            ::UpdateWindow(form.Handle());
                        });
    };
    if (Reference)
        row.rebuildFull = rebuildFromScratch(true);
    row.rebuildFast = rebuildFromScratch(false);
    Progress("rebuild", row.rebuildFull, row.rebuildFast);

    // The library dialog closes: the client's items come back.
    auto dialogClosed = [&](bool full) {
        form.Presenter().SetRepaintEngine(full ? MakeFullRepaint() : MakeIncrementalRepaint());
        Repaint(form);
        return MedianMs(
            [&] {
                form.InformationaboutOrvexSDK1Click();
                Repaint(form);
                ::ShowWindow(form.LibraryDialog()->Handle(), SW_HIDE);
            },
            [&] { Repaint(form); });
    };
    if (Reference)
        row.dialogFull = dialogClosed(true);
    row.dialogFast = dialogClosed(false);
    Progress("dialog closed", row.dialogFull, row.dialogFast);

    // A drift tick; its 31 ellipses are removed again afterwards (untimed), so
    // the population stays the same for every run.
    auto driftTick = [&](bool full) {
        // The first repaint after a change of mode paints everything: untimed.
        form.Presenter().SetRepaintEngine(full ? MakeFullRepaint() : MakeIncrementalRepaint());
        form.Presenter().InvalidateShape();
        Repaint(form);
        std::vector<double> times;
        for (int i = 0; i < Repeats; ++i) {
            scene.overlay.Added.clear();
            for (double& spent : scene.overlay.Spent)
                spent = 0;
            const double start = NowMs();
            scene.DriftTick();
            const double ops = NowMs();
            form.RedrawTimerTimer();
            const double rebuilt = NowMs();
            ::UpdateWindow(form.Handle());
            const double end = NowMs();
            times.push_back(end - start);
            if (Verbose)
                std::printf("    ops %.2f (add %.2f filled %.2f autohide %.2f z-order %.2f) "
                            "rebuild %.2f paint %.2f\n",
                            ops - start, scene.overlay.Spent[0], scene.overlay.Spent[1],
                            scene.overlay.Spent[2], scene.overlay.Spent[3], rebuilt - ops,
                            end - rebuilt);
            for (int32_t id : scene.overlay.Added)
                Orvex_Operation(TRANSPARENTELEMENT_OPERATION_DELETE, id, 0, 0, 0);
            Repaint(form);
        }
        return Median(times);
    };
    if (Reference)
        row.tickFull = driftTick(true);
    row.tickFast = driftTick(false);
    Progress("drift tick", row.tickFull, row.tickFast);

    // The pointer moves onto the deep snow: every item under it hides.
    const POINT deep = DeepSnow(w, h);
    auto hide = [&](bool full) {
        form.Presenter().SetRepaintEngine(full ? MakeFullRepaint() : MakeIncrementalRepaint());
        return MedianMs(
            [&] {
                ::SetCursorPos(w / 2, h / 2 - 100);
                form.CheckAutohide();
                Repaint(form);
                ::SetCursorPos(deep.x, deep.y);
            },
            [&] {
                form.CheckAutohide();
                Repaint(form);
            });
    };
    if (Reference)
        row.hideFull = hide(true);
    row.hideFast = hide(false);
    Progress("autohide repaint", row.hideFull, row.hideFast);
    form.Presenter().SetRepaintEngine(MakeIncrementalRepaint());

    // With the pointer resting there: the 100 ms check finds nothing new.
    ::SetCursorPos(deep.x, deep.y);
    form.CheckAutohide();
    Repaint(form);
    row.autohideCheck = MedianMs(nullptr, [&] { form.CheckAutohide(); });
    row.mouseDispatch =
        MedianMs(nullptr, [&] { form.DispatchMouseEvent(WM_TRANSPARENTELEMENT_MOUSEMOVE); });
    ::SetCursorPos(w / 2, h / 2 - 100);
    form.CheckAutohide();
    Repaint(form);

    row.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    row.liveHandles = ui::LiveHandleCount();
    row.copyCost = form.Presenter().CopyCost().Cost();
    row.copies = form.Presenter().CopyCost().Copies();
    return row;
}

void PrintRows(const std::vector<Row>& rows) {
    std::printf("\nmedian of %d runs, milliseconds; 'full' is the straightforward full repaint, "
                "'x' full / overlay\n\n",
                Repeats);
    std::printf("| items | rebuild full | rebuild | x | dialog closed full | dialog closed | x | "
                "drift tick full | drift tick | x | autohide repaint full | autohide repaint | x | "
                "autohide check | mouse dispatch | GDI objects | live handles |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
                "---:|\n");
    for (const Row& r : rows) {
        auto ratio = [](double full, double fast) { return fast > 0 ? full / fast : 0.0; };
        char gdi[32];
        if (r.gdiObjects)
            std::snprintf(gdi, sizeof gdi, "%lu", static_cast<unsigned long>(r.gdiObjects));
        else
            std::snprintf(gdi, sizeof gdi, "n/a");
        std::printf("| %zu | %.2f | %.2f | %.1f | %.2f | %.2f | %.1f | %.2f | %.2f | %.1f | %.2f | "
                    "%.2f | %.1f | %.3f | %.3f | %s | %ld |\n",
                    r.items, r.rebuildFull, r.rebuildFast, ratio(r.rebuildFull, r.rebuildFast),
                    r.dialogFull, r.dialogFast, ratio(r.dialogFull, r.dialogFast), r.tickFull,
                    r.tickFast, ratio(r.tickFull, r.tickFast), r.hideFull, r.hideFast,
                    ratio(r.hideFull, r.hideFast), r.autohideCheck, r.mouseDispatch, gdi,
                    r.liveHandles);
    }
    std::printf("\ncopies to the screen as the overlay measured them by then\n\n"
                "| items | copies timed | trip (ms) | clipping per rectangle squared (ns) |\n"
                "|---:|---:|---:|---:|\n");
    for (const Row& r : rows)
        std::printf("| %zu | %zu | %.3f | %.4f |\n", r.items, r.copies, r.copyCost.PerCopy,
                    r.copyCost.PerRectSquared * 1e6);
}

SIZE_T CommitKiB() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    return ::GetProcessMemoryInfo(::GetCurrentProcess(), &pmc, sizeof pmc)
               ? pmc.PagefileUsage / 1024
               : 0;
}

// The pointer sweeps over the screen as in the card's long run, each step
// followed by the autohide check and its repaint; memory and handles are
// printed ten times along the way.
void SweepOverTheSnow(TTransparentForm& form, int w, int h, long steps) {
    std::printf("\nautohide sweep, %ld steps\n", steps);
    const SIZE_T first = CommitKiB();
    const long handles = ui::LiveHandleCount();
    for (long i = 1; i <= steps; ++i) {
        const double t = i * 0.05;
        ::SetCursorPos(static_cast<int>((0.5 + 0.45 * std::sin(t * 0.37)) * w),
                       static_cast<int>((0.5 + 0.45 * std::sin(t * 0.23 + 1.0)) * h));
        form.CheckAutohide();
        Repaint(form);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        if (i % std::max(1L, steps / 10) == 0)
            std::printf("  after %6ld steps: commit %lu KiB (%+ld), live handles %ld (%+ld)\n", i,
                        static_cast<unsigned long>(CommitKiB()),
                        static_cast<long>(CommitKiB()) - static_cast<long>(first),
                        ui::LiveHandleCount(), ui::LiveHandleCount() - handles);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        Verbose = Verbose || std::strcmp(argv[i], "-v") == 0;
        Reference = Reference && std::strcmp(argv[i], "-q") != 0;
        if (std::strcmp(argv[i], "-autohide") == 0 && i + 1 < argc)
            AutohideSweeps = std::strtol(argv[++i], nullptr, 10);
    }
    OrvexLibraryStart();
    TTransparentForm* form = TransparentForm();
    if (!form || !form->Handle()) {
        std::printf("no overlay window\n");
        return 1;
    }
    Orvex_Clear();
    // The bench drives the window's timers itself.
    form->FrontTimer.SetEnabled(false);
    ::SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, FrontWindowPosFlags);
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    std::printf("screen %d x %d\n", w, h);

    Scene scene(w, h, ::GetModuleHandleW(nullptr));
    std::vector<Row> rows;
    const size_t targets[] = {500, 1000, 2000, 4000};
    size_t next = 0;
    bool timeline = true;
    while (next < std::size(targets)) {
        if (timeline)
            timeline = scene.Step();
        if (!timeline) {
            // The timeline places about 3,900 items; drift ticks make up the rest.
            scene.DriftTick();
        }
        // The redraw timer's repaint after every tick, as in the card.
        form->RedrawTimerTimer();
        if (ItemCount(*form) >= targets[next]) {
            std::printf("measuring at %zu items (scene time %.1f s)\n", ItemCount(*form),
                        scene.Clock() / 1000.0);
            std::fflush(stdout);
            rows.push_back(Measure(*form, scene, w, h));
            ++next;
        }
    }
    PrintRows(rows);
    if (AutohideSweeps > 0)
        SweepOverTheSnow(*form, w, h, AutohideSweeps);
    OrvexLibraryEnd();
    return 0;
}
