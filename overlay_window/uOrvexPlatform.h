// What the overlay window does differently where it runs under Wine on an X
// desktop. Each measure says what it works around; on Windows none applies.
#pragma once

#include <windows.h>

// True when the process runs under Wine (its ntdll exports wine_get_version).
bool RunningUnderWine();

struct TPlatformMeasures {
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
};

TPlatformMeasures PlatformMeasures(bool underWine);

// The alpha the overlay window gets where translucentAgainstShadows applies.
constexpr BYTE ShadowlessAlpha = 254;

// Applies the measures that concern the window itself (its styles).
void ApplyWindowMeasures(HWND overlay, const TPlatformMeasures& measures);
