#include "overlay_window/uOrvexPlacement.h"

RECT OverlayBounds(OverlayCoverage coverage, RECT virtualDesktop, SIZE primary) {
    const RECT primaryRect{0, 0, primary.cx, primary.cy};
    if (coverage == OverlayCoverage::PrimaryMonitor ||
        virtualDesktop.right <= virtualDesktop.left || virtualDesktop.bottom <= virtualDesktop.top)
        return primaryRect;
    return virtualDesktop;
}

FrontPlan PlanFront(const std::vector<ZOrderEntry>& above) {
    FrontPlan plan;
    for (const ZOrderEntry& w : above) {
        if (!w.visible)
            continue;
        if (w.ownProcess) {
            plan.raiseAgain.push_back(w.handle);
            if (w.bounds.right > w.bounds.left && w.bounds.bottom > w.bounds.top)
                plan.holes.push_back(w.bounds);
        } else
            plan.restack = true;
    }
    if (!plan.restack)
        plan.raiseAgain.clear();
    return plan;
}
