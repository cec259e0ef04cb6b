// Keeping the overlay window in front of every other program's window, and
// finding the own program's windows above it, which are cut out of its shape.
//
// Every restack costs: under a window manager each one becomes a round of
// state and configure messages for the whole full-screen window. So the
// z-order is only read, and changed when another program's window has come
// above the overlay (or when the overlay is hidden or not yet stay-on-top).
#pragma once

#include "overlay_window/uOrvexPlacement.h"
#include "overlay_window/uOrvexPlatform.h"

#include <windows.h>

#include <vector>

// How the overlay is put in front: shown, at the top, not activated.
constexpr UINT FrontWindowPosFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;

class TFrontKeeper {
public:
    explicit TFrontKeeper(const TPlatformMeasures& platform) : Platform(platform) {}
    // Reads the z-order above the window and plans what keeps it in front.
    FrontPlan Look(HWND self);
    // Carries out a plan that restacks.
    static void Restack(HWND self, const FrontPlan& plan);

private:
    // The own stay-on-top windows of OwnAbove that now lie below the overlay.
    std::vector<ZOrderEntry> OwnWindowsSlippedBelow(const std::vector<ZOrderEntry>& above) const;

    const TPlatformMeasures& Platform;
    // The own windows counted above the overlay at the last look.
    std::vector<HWND> OwnAbove;
};
