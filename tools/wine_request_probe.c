/* Calls each of the Win32 functions the overlay uses on every tick a hundred
   times, with a named-mutex lookup before each group as a marker, so that a
   Wine server started with -d1 logs which requests each call costs.
   tools/wineserver_requests.sh --api builds and runs it. */
#include <windows.h>

static void Mark(const wchar_t *name) {
    HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, name);
    if (h)
        CloseHandle(h);
}

int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR line, int show) {
    (void)prev, (void)line, (void)show;
    WNDCLASSW wc = {0};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = inst;
    wc.lpszClassName = L"probe";
    RegisterClassW(&wc);
    HWND top = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"probe", L"probe",
                               WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, 0, 0, inst, 0);
    HWND child = CreateWindowExW(0, L"probe", L"pane", WS_CHILD, 0, 0, 1, 1, top, 0, inst, 0);
    MSG m;
    while (PeekMessageW(&m, 0, 0, 0, PM_REMOVE))
        DispatchMessageW(&m);
    POINT pt;
    RECT r;
    int i;
    Mark(L"m-GetCursorPos");
    for (i = 0; i < 100; i++)
        GetCursorPos(&pt);
    Mark(L"m-GetSystemMetrics");
    for (i = 0; i < 100; i++)
        GetSystemMetrics(SM_CXSCREEN);
    Mark(L"m-GetWindowRect");
    for (i = 0; i < 100; i++)
        GetWindowRect(top, &r);
    Mark(L"m-SetWindowPos-topmost");
    for (i = 0; i < 100; i++)
        SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Mark(L"m-SetWindowPos-child");
    for (i = 0; i < 100; i++)
        SetWindowPos(child, 0, i, i, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Mark(L"m-GetDC-child");
    for (i = 0; i < 100; i++)
        ReleaseDC(child, GetDC(child));
    Mark(L"m-GetDC-screen");
    for (i = 0; i < 100; i++)
        ReleaseDC(0, GetDC(0));
    Mark(L"m-SetTimer-KillTimer");
    for (i = 0; i < 100; i++) {
        SetTimer(top, 1, 100, 0);
        KillTimer(top, 1);
    }
    Mark(L"m-SetWindowRgn");
    for (i = 0; i < 100; i++)
        SetWindowRgn(top, CreateRectRgn(0, 0, 100 + i % 2, 100), FALSE);
    Mark(L"m-InvalidateRect-UpdateWindow");
    for (i = 0; i < 100; i++) {
        InvalidateRect(top, 0, FALSE);
        UpdateWindow(top);
    }
    Mark(L"m-end");
    return 0;
}
