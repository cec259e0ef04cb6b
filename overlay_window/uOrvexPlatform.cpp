#include "overlay_window/uOrvexPlatform.h"

bool RunningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TPlatformMeasures PlatformMeasures(bool underWine) {
    TPlatformMeasures m;
    m.translucentAgainstShadows = underWine;
    m.ownWindowsSlipBelow = underWine;
    return m;
}

void ApplyWindowMeasures(HWND overlay, const TPlatformMeasures& measures) {
    if (!overlay || !measures.translucentAgainstShadows)
        return;
    const LONG_PTR ex = ::GetWindowLongPtrW(overlay, GWL_EXSTYLE);
    ::SetWindowLongPtrW(overlay, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(overlay, 0, ShadowlessAlpha, LWA_ALPHA);
}
