// Where the overlay window goes: the part of the screen it covers, and its
// place in the z-order. Plain functions of their inputs, so the rules can be
// checked without windows.
#pragma once

#include <windows.h>

#include <vector>

// What the overlay window covers. Items keep their screen coordinates either
// way; only what lies inside the covered area shows.
enum class OverlayCoverage {
    VirtualDesktop, // every monitor (the library's default)
    PrimaryMonitor, // the primary monitor only: what shows ends at its edges
};

// The window's bounds in screen coordinates. virtualDesktop is given by its
// origin and size (SM_XVIRTUALSCREEN ... SM_CYVIRTUALSCREEN), primary by the
// primary monitor's size (it always starts at 0, 0). An empty virtual desktop
// (no answer from the system) falls back to the primary monitor.
RECT OverlayBounds(OverlayCoverage coverage, RECT virtualDesktop, SIZE primary);

// One top-level window above the overlay in the z-order.
struct ZOrderEntry {
    HWND handle = nullptr;
    bool visible = false;
    bool ownProcess = false; // a window of the overlay's own program
    RECT bounds{0, 0, 0, 0}; // screen coordinates
};

// Keeping in front, planned from the windows above the overlay, topmost
// first. Windows of the overlay's own program (its dialogs, message boxes)
// may stay above it; any other visible window must not. A restack puts the
// overlay at the top and then raises the own windows that were above it
// again, lowest first, so that their order is kept. The own windows above
// are also cut out of the overlay's shape: where the system stacks windows
// its own way (uOrvexPlatform.h) they show and take their clicks all the
// same.
//
// slippedBelow lists own windows that were above at the last look and now lie
// below without having been lowered by the program (where the platform can
// do that, see uOrvexPlatform.h): they are cut out as well.
struct FrontPlan {
    bool restack = false;
    std::vector<HWND> raiseAgain; // own windows that were above, topmost first
    std::vector<RECT> holes;      // the bounds of the visible own windows above
};
FrontPlan PlanFront(const std::vector<ZOrderEntry>& above,
                    const std::vector<ZOrderEntry>& slippedBelow = {});
