#include "overlay_window/uOrvexPlacement.h"

RECT OverlayBounds(OverlayCoverage coverage, RECT virtualDesktop, SIZE primary) {
    const RECT primaryRect{0, 0, primary.cx, primary.cy};
    if (coverage == OverlayCoverage::PrimaryMonitor ||
        virtualDesktop.right <= virtualDesktop.left || virtualDesktop.bottom <= virtualDesktop.top)
        return primaryRect;
    return virtualDesktop;
}

namespace {
bool HasArea(const RECT& r) {
    return r.right > r.left && r.bottom > r.top;
}
} // namespace

FrontPlan PlanFront(const std::vector<ZOrderEntry>& above,
                    const std::vector<ZOrderEntry>& slippedBelow) {
    FrontPlan plan;
    for (const ZOrderEntry& w : above) {
        if (!w.visible)
            continue;
        if (w.ownProcess) {
            plan.raiseAgain.push_back(w.handle);
            if (HasArea(w.bounds))
                plan.holes.push_back(w.bounds);
        } else
            plan.restack = true;
    }
    for (const ZOrderEntry& w : slippedBelow)
        if (w.visible && w.ownProcess && HasArea(w.bounds))
            plan.holes.push_back(w.bounds);
    if (!plan.restack)
        plan.raiseAgain.clear();
    return plan;
}
