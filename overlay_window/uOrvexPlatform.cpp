#include "overlay_window/uOrvexPlatform.h"

#include "overlay_window/uOrvexShapeLimit.h"

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TPlatformMeasures PlatformMeasures(bool underWine) {
    TPlatformMeasures m;
    m.plainTopLevel = underWine;
    m.translucentAgainstShadows = underWine;
    m.ownWindowsSlipBelow = underWine;
    m.shapeRectangleLimit = underWine ? MaxShapeRectangles : 0;
    return m;
}

void ApplyWindowMeasures(HWND overlay, const TPlatformMeasures& measures) {
    if (!overlay)
        return;
    if (measures.plainTopLevel) {
        // Without caption or frame the two kinds of window look alike.
        ::SetWindowLongPtrW(overlay, GWL_STYLE, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
        ::SetWindowPos(overlay, nullptr, 0, 0, 0, 0,
                       SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (measures.translucentAgainstShadows) {
        const LONG_PTR ex = ::GetWindowLongPtrW(overlay, GWL_EXSTYLE);
        ::SetWindowLongPtrW(overlay, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(overlay, 0, ShadowlessAlpha, LWA_ALPHA);
    }
}
