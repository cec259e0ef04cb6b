/* A small Orvex client in C. It draws a filled box with a caption, a line and
 * a zigzag on top of the screen, waits until the box is clicked, then removes
 * its items and ends. Everything between the items stays usable meanwhile.
 *
 *   orvex_example           waits up to a minute for a click on the box
 *   orvex_example --click   moves the pointer onto the box and clicks it
 *                           itself (for unattended runs)
 *
 * It prints each result and each notification it receives, one per line.
 * Exit code 0 after the click, 1 when nobody clicked, 2 when the library
 * could not be used. */
#include "Orvex.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

enum { CLICK_TIMER = 1, TIMEOUT_TIMER = 2 };

static const RECT Box = {200, 200, 320, 280};
static int32_t BoxID;
static int Clicked;

static void SimulateClick(void) {
    INPUT input[2];
    SetCursorPos((Box.left + Box.right) / 2, (Box.top + Box.bottom) / 2);
    memset(input, 0, sizeof input);
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

static LRESULT CALLBACK ExampleWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TRANSPARENTELEMENT_CLICK:
        printf("click %ld at %d/%d\n", (long)wParam, (int)(short)LOWORD(lParam),
               (int)(short)HIWORD(lParam));
        if ((int32_t)wParam == BoxID) {
            Clicked = 1;
            PostQuitMessage(0);
        }
        return 0;
    case WM_TRANSPARENTELEMENT_STATUSCHANGED:
        printf("status %ld 0x%02lx\n", (long)wParam, (unsigned long)lParam);
        return 0;
    case WM_TIMER:
        /* The simulated click repeats until one arrives: on a busy machine
         * the overlay may not be on the screen yet at the first try. */
        if (wParam == CLICK_TIMER) {
            SimulateClick();
        } else {
            KillTimer(window, wParam);
            printf("no click\n");
            PostQuitMessage(1);
        }
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

/* The notifications still waiting, dispatched to the window procedure. */
static void DrainNotifications(HWND window) {
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

int main(int argc, char** argv) {
    const POINT caption = {(Box.left + Box.right) / 2, Box.top - 20};
    const POINT lineFrom = {Box.left, Box.bottom + 30}, lineTo = {Box.right, Box.bottom + 30};
    const POINT zigzag[] = {{360, 200}, {390, 280}, {420, 200}, {450, 280}, {480, 200}};
    const int selfClick = argc > 1 && strcmp(argv[1], "--click") == 0;
    WNDCLASSA wc;
    HWND window;
    MSG msg;
    int32_t text, line, polyline;

    memset(&wc, 0, sizeof wc);
    wc.lpfnWndProc = ExampleWindowProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "OrvexExampleWindow";
    if (!RegisterClassA(&wc))
        return 2;
    /* A message-only window is enough to receive the notifications. */
    window = CreateWindowExA(0, wc.lpszClassName, "Orvex example", 0, 0, 0, 0, 0, HWND_MESSAGE,
                             NULL, wc.hInstance, NULL);
    if (!window)
        return 2;

    /* The calling order the library expects: clear, callback window, items. */
    printf("clear %d\n", (int)Orvex_Clear());
    if (Orvex_SetCallBackWindowHandle(window) < 0) {
        printf("no overlay window\n");
        return 2;
    }
    BoxID = Orvex_Rectangle(Box, RGB(0, 96, 192));
    text = Orvex_Text(caption, "Click the box", "Arial", 14, 1, 0, RGB(0, 96, 192));
    line = Orvex_Line(lineFrom, lineTo, 3, RGB(192, 32, 32));
    polyline = Orvex_Polyline(zigzag, 5, 2, RGB(32, 160, 32));
    printf("box %d\ntext %d\nline %d\npolyline %d\n", (int)BoxID, (int)text, (int)line,
           (int)polyline);
    if (BoxID <= 0)
        return 2;
    /* Properties beyond the creating call's: filled, and a hand over the box. */
    printf("filled %d\n",
           (int)Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, BoxID, 1, 0, 0));
    printf("cursor %d\n",
           (int)Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR, BoxID, -21, 0, 0));
    fflush(stdout);

    /* The overlay window works through this thread's messages: it comes to
     * the front and paints the items while the loop runs. */
    if (selfClick)
        SetTimer(window, CLICK_TIMER, 700, NULL);
    SetTimer(window, TIMEOUT_TIMER, selfClick ? 20000 : 60000, NULL);
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    printf("clear %d\n", (int)Orvex_Clear());
    DrainNotifications(window);
    Orvex_SetCallBackWindowHandle(NULL);
    DestroyWindow(window);
    fflush(stdout);
    return Clicked ? 0 : 1;
}
