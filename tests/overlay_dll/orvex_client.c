/* A client of Orvex.dll that knows only the C header. Built twice: linked
 * against the import library, and (ORVEX_CLIENT_DYNAMIC) loading the DLL with
 * LoadLibrary and GetProcAddress and freeing it again. It prints one line per
 * result and per notification received, for the test driver to read. */
#include "overlay_api/Orvex.h"

#include <stdio.h>
#include <windows.h>

#ifdef ORVEX_CLIENT_DYNAMIC
typedef int32_t(__stdcall* ClearFn)(void);
typedef int32_t(__stdcall* SetCallbackFn)(HWND);
typedef int32_t(__stdcall* OperationFn)(int32_t, int32_t, int32_t, int32_t, int32_t);
typedef int32_t(__stdcall* RectangleFn)(RECT, COLORREF);
static ClearFn pClear;
static SetCallbackFn pSetCallback;
static OperationFn pOperation;
static RectangleFn pRectangle;
static RectangleFn pEllipse;
#define ORVEX_CLEAR pClear
#define ORVEX_SETCALLBACK pSetCallback
#define ORVEX_OPERATION pOperation
#define ORVEX_RECTANGLE pRectangle
#define ORVEX_ELLIPSE pEllipse
#else
#define ORVEX_CLEAR Orvex_Clear
#define ORVEX_SETCALLBACK Orvex_SetCallBackWindowHandle
#define ORVEX_OPERATION Orvex_Operation
#define ORVEX_RECTANGLE Orvex_Rectangle
#define ORVEX_ELLIPSE Orvex_Ellipse
#endif

/* Prints the notifications that have arrived so far. */
static void Drain(HWND window) {
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) {
        if (msg.message >= WM_TRANSPARENTELEMENT_CLICK &&
            msg.message <= WM_TRANSPARENTELEMENT_STATUSCHANGED)
            printf("message %u %ld %ld\n", (unsigned)msg.message, (long)msg.wParam,
                   (long)msg.lParam);
    }
}

int main(void) {
    HWND window;
    RECT rect = {100, 100, 200, 150};
    RECT ellipse = {300, 100, 400, 150};
    int32_t first, second;
#ifdef ORVEX_CLIENT_DYNAMIC
    HMODULE dll = LoadLibraryA("Orvex.dll");
    if (!dll) {
        printf("load failed\n");
        return 2;
    }
    pClear = (ClearFn)(void*)GetProcAddress(dll, "Orvex_Clear");
    pSetCallback = (SetCallbackFn)(void*)GetProcAddress(dll, "Orvex_SetCallBackWindowHandle");
    pOperation = (OperationFn)(void*)GetProcAddress(dll, "Orvex_Operation");
    pRectangle = (RectangleFn)(void*)GetProcAddress(dll, "Orvex_Rectangle");
    pEllipse = (RectangleFn)(void*)GetProcAddress(dll, "Orvex_Ellipse");
    if (!pClear || !pSetCallback || !pOperation || !pRectangle || !pEllipse ||
        !GetProcAddress(dll, "Orvex_Point") || !GetProcAddress(dll, "Orvex_Line") ||
        !GetProcAddress(dll, "Orvex_Polyline") || !GetProcAddress(dll, "Orvex_Text") ||
        !GetProcAddress(dll, "Orvex_BitmapByFile") ||
        !GetProcAddress(dll, "Orvex_BitmapByResource")) {
        printf("missing export\n");
        return 3;
    }
#endif
    window = CreateWindowExA(0, "STATIC", "orvex client", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL,
                             GetModuleHandleA(NULL), NULL);
    if (!window) {
        printf("no window\n");
        return 4;
    }
    printf("clear %d\n", (int)ORVEX_CLEAR());
    printf("callback %d\n", (int)ORVEX_SETCALLBACK(window));
    first = ORVEX_RECTANGLE(rect, RGB(0, 0, 255));
    second = ORVEX_ELLIPSE(ellipse, RGB(255, 0, 0));
    printf("rectangle %d\n", (int)first);
    printf("ellipse %d\n", (int)second);
    printf("hide %d\n", (int)ORVEX_OPERATION(TRANSPARENTELEMENT_OPERATION_SHOW, first, 0, 0, 0));
    printf("unknown-id %d\n",
           (int)ORVEX_OPERATION(TRANSPARENTELEMENT_OPERATION_SHOW, 999999, 1, 0, 0));
    printf("unknown-operation %d\n", (int)ORVEX_OPERATION(9, first, 1, 0, 0));
    Drain(window);
    printf("clear %d\n", (int)ORVEX_CLEAR());
    Drain(window);
    printf("rectangle %d\n", (int)ORVEX_RECTANGLE(rect, RGB(0, 255, 0)));
    Drain(window);
#ifdef ORVEX_CLIENT_DYNAMIC
    /* The library's end removes the remaining item and announces it. */
    FreeLibrary(dll);
    printf("freed\n");
    Drain(window);
    if (GetModuleHandleA("Orvex.dll"))
        printf("still loaded\n");
#endif
    DestroyWindow(window);
    fflush(stdout);
    return 0;
}
