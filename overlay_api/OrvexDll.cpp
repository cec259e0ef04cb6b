// The loader entry of Orvex.dll. Only light work runs here, under the loader
// lock: the start decides debug mode and writes its line, and the overlay
// window is made by the first Orvex_ call. When the DLL is freed the end
// closes and destroys the overlay window (call FreeLibrary on the thread that
// used the library); at process exit the windows of the dying process are
// left alone and only the log is written.
#include "overlay_api/uOrvexTransparent.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        ::DisableThreadLibraryCalls(instance);
        OrvexLibraryStart(false);
        break;
    case DLL_PROCESS_DETACH: {
        const bool processExiting = reserved != nullptr;
        OrvexLibraryEnd(processExiting);
        if (!processExiting) {
            // The DLL's own hidden owner window and window class go with its code.
            ui::Application::Instance().Destroy();
            ui::Window::UnregisterClassIfUnused();
        }
        break;
    }
    default:
        break;
    }
    return TRUE;
}
