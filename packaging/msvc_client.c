/* A C client of Orvex.dll without C runtime, linked by the Microsoft-compatible
 * linker against Orvex.lib alone. It prints one line per result and per
 * notification; a wrong import name, calling convention or argument size shows
 * as a failed link, a crash or a wrong line. */
#include "Orvex.h"

static void Print(const char* format, long a, long b) {
    char line[64];
    DWORD n = (DWORD)wsprintfA(line, format, a, b), written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, n, &written, NULL);
}

void ClientMain(void) {
    RECT rect = {100, 100, 200, 150};
    POINT at = {300, 300};
    MSG msg;
    HWND window = CreateWindowExA(0, "STATIC", "msvc client", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                                  GetModuleHandleA(NULL), NULL);
    Print("clear %ld\n", Orvex_Clear(), 0);
    Print("callback %ld\n", Orvex_SetCallBackWindowHandle(window), 0);
    Print("rectangle %ld\n", Orvex_Rectangle(rect, RGB(0, 0, 255)), 0);
    Print("operation %ld\n", Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, 1, 1, 0, 0), 0);
    Print("bitmap %ld\n",
          Orvex_BitmapByResource(at, (intptr_t)GetModuleHandleA(NULL), "NO SUCH BITMAP", 0), 0);
    Print("unknown-id %ld\n", Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, 4711, 1, 0, 0), 0);
    Print("clear %ld\n", Orvex_Clear(), 0);
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE))
        if (msg.message == WM_TRANSPARENTELEMENT_STATUSCHANGED)
            Print("status %ld %lx\n", (long)msg.wParam, (long)msg.lParam);
    DestroyWindow(window);
    ExitProcess(0);
}
