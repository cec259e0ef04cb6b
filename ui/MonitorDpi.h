// The program's DPI awareness and what the system says about monitors: their
// DPI and work areas. Each query falls back to what older systems offer.
#pragma once

#include <windows.h>

namespace ui {

// How the process ended up seeing the screen.
enum class DpiAwareness {
    Unaware,      // the system scales the windows (nothing could be set)
    SystemAware,  // one DPI for all monitors, the primary monitor's at start
    PerMonitor,   // the DPI of each monitor; windows get WM_DPICHANGED
    PerMonitorV2, // as PerMonitor, and the system scales dialogs and frames too
};

// Asks for per-monitor awareness (v2, else v1, else system awareness), each
// looked up at run time so the program starts on systems that lack them;
// call it before the first window. What the manifest already set stays, and
// the result says what the process has.
DpiAwareness EnableDpiAwareness();
// What the process has now.
DpiAwareness CurrentDpiAwareness();

// The DPI of a monitor, of the monitor a window is on (the window's own DPI
// where the system keeps one), and of the primary monitor. Systems without
// per-monitor DPI give the screen's LOGPIXELSX.
int MonitorDpi(HMONITOR monitor);
int WindowDpi(HWND window);
int PrimaryMonitorDpi();

HMONITOR PrimaryMonitor();
// The monitor's work area (the screen less task bars), in screen pixels.
RECT WorkAreaOf(HMONITOR monitor);

} // namespace ui
