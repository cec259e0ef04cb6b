#include "overlay_window/uOrvexFront.h"

#include <algorithm>

std::vector<ZOrderEntry>
TFrontKeeper::OwnWindowsSlippedBelow(const std::vector<ZOrderEntry>& above) const {
    std::vector<ZOrderEntry> slipped;
    const DWORD process = ::GetCurrentProcessId();
    for (HWND w : OwnAbove) {
        auto listed = [w](const ZOrderEntry& e) { return e.handle == w; };
        if (std::any_of(above.begin(), above.end(), listed) || !::IsWindow(w))
            continue;
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        // A window the program made an ordinary one again was lowered on purpose.
        const bool stayOnTop = (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        ZOrderEntry entry{w, ::IsWindowVisible(w) != FALSE && stayOnTop, owner == process};
        if (entry.visible && entry.ownProcess) {
            ::GetWindowRect(w, &entry.bounds);
            slipped.push_back(entry);
        }
    }
    return slipped;
}

FrontPlan TFrontKeeper::Look(HWND self) {
    FrontPlan plan;
    const bool topmost = (::GetWindowLongPtrW(self, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!::IsWindowVisible(self) || !topmost) {
        plan.restack = true;
        OwnAbove.clear();
        return plan;
    }
    std::vector<ZOrderEntry> above;
    const DWORD process = ::GetCurrentProcessId();
    // Bounded: the list of windows may change under the walk.
    constexpr int MaxWalk = 4096;
    int steps = 0;
    for (HWND w = ::GetWindow(self, GW_HWNDPREV); w && steps < MaxWalk;
         w = ::GetWindow(w, GW_HWNDPREV), ++steps) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        ZOrderEntry entry{w, ::IsWindowVisible(w) != FALSE, owner == process};
        if (entry.ownProcess && entry.visible)
            ::GetWindowRect(w, &entry.bounds);
        above.push_back(entry);
    }
    std::reverse(above.begin(), above.end());
    std::vector<ZOrderEntry> slipped;
    if (Platform.ownWindowsSlipBelow)
        slipped = OwnWindowsSlippedBelow(above);
    plan = PlanFront(above, slipped);
    OwnAbove.clear();
    for (const std::vector<ZOrderEntry>* list : {&above, &slipped})
        for (const ZOrderEntry& w : *list)
            if (w.ownProcess && w.visible)
                OwnAbove.push_back(w.handle);
    return plan;
}

void TFrontKeeper::Restack(HWND self, const FrontPlan& plan) {
    ::SetWindowPos(self, HWND_TOPMOST, 0, 0, 0, 0, FrontWindowPosFlags);
    for (auto w = plan.raiseAgain.rbegin(); w != plan.raiseAgain.rend(); ++w)
        ::SetWindowPos(*w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
