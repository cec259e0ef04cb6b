// Cost of the overlay window's full repaint: every shown item paints itself
// and the union of their areas becomes the window shape. The scene resembles
// the card's snow: filled ellipses of about 80 x 70 pixels piling up along the
// bottom edge. Prints milliseconds per rebuild and per add; run it under Wine
// by hand.
#include "bench/bench_clock.h"
#include "overlay_window/uOrvexTransparentForm.h"

#include <windows.h>

#include <cstdio>
#include <random>

namespace {} // namespace

int main() {
    TTransparentForm form;
    if (!form.CreateForm()) {
        std::printf("no overlay window\n");
        return 1;
    }
    form.FrontTimer.SetEnabled(false);
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    std::mt19937 random(1);
    std::printf("items  add (us/item)  rebuild (ms)\n");
    int items = 0;
    for (int target : {250, 500, 1000, 2000, 4000}) {
        const double start = Now();
        const int adding = target - items;
        for (; items < target; ++items) {
            const int x = static_cast<int>(random() % static_cast<unsigned>(w));
            const int y = h - static_cast<int>(random() % 40u);
            form.Store().AddEllipseItem(RECT{x - 28, y - 25, x + 28, y + 25}, true, 1,
                                        RGB(255, 255, 255), false);
        }
        const double addMs = Now() - start;
        constexpr int Rebuilds = 5;
        const double rebuildStart = Now();
        for (int i = 0; i < Rebuilds; ++i)
            form.RebuildWindowShape();
        const double rebuildMs = (Now() - rebuildStart) / Rebuilds;
        std::printf("%5d  %13.1f  %12.1f\n", target, addMs * 1000.0 / adding, rebuildMs);
    }
    return 0;
}
