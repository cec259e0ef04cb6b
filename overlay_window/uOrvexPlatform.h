// What the overlay window does differently where it runs under Wine on an X
// desktop. Each measure says what it works around; on Windows none applies.
//
// Not a measure, but why the picture copy (uOrvexPictureCopy.h) works part by
// part everywhere: Wine works out the clipping of a drawing on a shaped window
// in time that grows with the square of the shape's rectangles, seconds for
// the whole window at many thousands.
#pragma once

#include <windows.h>

#include <cstddef>

// True when the process runs under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

struct TPlatformMeasures {
    // Wine hands a full-screen popup to the X window manager, which then
    // restacks the window and reshapes its frame at every change of the
    // shape: with thousands of rectangles in the shape that keeps the X
    // server busy and other programs' windows wait. A top-level window that
    // is no popup stays with Wine. So the window is made as a small popup
    // and then becomes a plain top-level window of the covered size.
    bool plainTopLevel = false;
    // X compositors shadow override-redirect windows: GNOME's mutter draws a
    // blurred shadow along the shape of every opaque window without a frame
    // that is neither full-screen nor maximised, so every item would get a
    // dark halo. A window below full opacity counts as not opaque and gets
    // none; Wine passes a layered window's alpha on as _NET_WM_WINDOW_OPACITY,
    // which mutter reads for override-redirect windows too. 254 of 255 is the
    // least a compositor can be told; it changes a colour by at most two
    // levels, and not at all without a compositor.
    bool translucentAgainstShadows = false;
    // A window manager stacks the windows it manages its own way (mutter keeps
    // override-redirect windows, such as the overlay, above all managed ones)
    // and Wine follows it in the window list: the program's own stay-on-top
    // windows that were above the overlay can end up below it although
    // nobody lowered them. They are still cut out of the overlay's shape, so
    // they show and take their clicks.
    bool ownWindowsSlipBelow = false;
    // Wine sends a window's shape to X in one request of at most 65,535
    // four-byte words; a shape of more than about 32,760 rectangles breaks the
    // program's connection to the X server, which ends the program. The shape
    // then loses its smallest rectangles (uOrvexShapeLimit.h). 0: the shape is
    // handed over whole, as on Windows.
    size_t shapeRectangleLimit = 0;
};

TPlatformMeasures PlatformMeasures(bool underWine);

// The alpha the overlay window gets where translucentAgainstShadows applies.
constexpr BYTE ShadowlessAlpha = 254;

// Applies the measures that concern the window itself (its styles), once it
// has been made.
void ApplyWindowMeasures(HWND overlay, const TPlatformMeasures& measures);
