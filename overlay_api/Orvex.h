/* The Orvex overlay library: notification messages, status values, operation
 * codes and the Orvex_ functions, for C and C++. docs/orvex-sdk.md describes
 * each of them in full; the comments here sum it up.
 *
 * Every function uses the stdcall convention and returns a signed 32-bit
 * integer. POINT and RECT arguments are passed by value. Strings are
 * zero-terminated 8-bit strings in the system's ANSI code page. 32-bit and
 * 64-bit programs use the same header: only the handles (HWND, and the module
 * handle of Orvex_BitmapByResource) are as wide as a pointer.
 *
 * Orvex.dll exports the functions under their plain names (no @N suffix) and
 * comes with import libraries for the MinGW (libOrvex.dll.a) and the Microsoft
 * (Orvex.lib) toolchains; programs that load the DLL themselves find the
 * PFN_ types below for GetProcAddress. Call Orvex_Clear right after loading, then
 * Orvex_SetCallBackWindowHandle, then any creating function or operation, all
 * on the thread that runs your message loop: the library takes no lock, and
 * the overlay window belongs to the thread of the first call. Notifications
 * are posted to the callback window, never sent.
 *
 * Pixels: both corners of a rectangle are drawn (Left 100, Right 250: 151
 * pixels); a stroke of width w > 1 is 2 * (w / 2) pixels wide (w - 1 for odd
 * w), w / 2 of them left of (above) its course: half a pixel left of its
 * coordinates.
 */
#ifndef ORVEX_H
#define ORVEX_H

#include <windows.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Messages posted to the callback window. For the mouse messages wParam is the
 * item's ID and lParam holds the pointer's screen x in the low 16 bits and y
 * in the high 16 bits, each a signed 16-bit number: read them with
 * (short)LOWORD(lParam) and (short)HIWORD(lParam). For STATUSCHANGED wParam
 * is the ID and lParam one of the STATUSCHANGED_ values. */
/* The overlay window's class and title (see "Finding the overlay window"). */
#define ORVEX_WINDOW_CLASS L"OrvexOverlay"
#define ORVEX_WINDOW_TITLE L"Orvex"

enum {
    WM_TRANSPARENTELEMENT_CLICK = WM_USER + 7000,
    WM_TRANSPARENTELEMENT_DBLCLK = WM_USER + 7001,
    WM_TRANSPARENTELEMENT_MOUSEDOWN = WM_USER + 7002,
    WM_TRANSPARENTELEMENT_MOUSEMOVE = WM_USER + 7003,
    WM_TRANSPARENTELEMENT_MOUSEUP = WM_USER + 7004,
    WM_TRANSPARENTELEMENT_STATUSCHANGED = WM_USER + 7005
};

/* Status values: the high digit names the property, the low digit its new
 * state. Posted for the items made through the Orvex_ functions only. */
enum {
    STATUSCHANGED_SET_VISIBLE_TRUE = 0x11,
    STATUSCHANGED_SET_VISIBLE_FALSE = 0x10,
    STATUSCHANGED_AUTOSHOW = 0x21,
    STATUSCHANGED_AUTOHIDE = 0x20,
    STATUSCHANGED_SET_AUTOHIDE_TRUE = 0x31,
    STATUSCHANGED_SET_AUTOHIDE_FALSE = 0x30,
    STATUSCHANGED_INSERT = 0x41,
    STATUSCHANGED_DELETE = 0x40
};

/* Operation codes of Orvex_Operation; Value1 is the operation's value. SHOW,
 * SETAUTOHIDE, SETZORDER and DELETE repaint the overlay by themselves (10 ms
 * later); LINEWIDTH, ISFILLED, SETCOLOR and SETMOUSECURSOR show with the next
 * repaint that something else causes. */
enum {
    TRANSPARENTELEMENT_OPERATION_DELETE = 1,
    TRANSPARENTELEMENT_OPERATION_SHOW = 2,          /* Value1 != 0: show, 0: hide */
    TRANSPARENTELEMENT_OPERATION_LINEWIDTH = 3,     /* Value1: width in pixels; lines, polylines,
                                                       rectangles and cross markers (ellipses are
                                                       always 1 px wide; circle and square markers
                                                       keep their size) */
    TRANSPARENTELEMENT_OPERATION_ISFILLED = 4,      /* Value1 != 0: filled; rectangles and ellipses
                                                       (polylines are never filled) */
    TRANSPARENTELEMENT_OPERATION_SETCOLOR = 5,      /* Value1: COLORREF of lines, polylines,
                                                       rectangles and ellipses */
    TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE = 6,   /* Value1 != 0: autohide on */
    TRANSPARENTELEMENT_OPERATION_SETZORDER = 7,     /* Value1: paint position, 0 first */
    TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR = 8 /* Value1: an ORVEX_CURSOR_ number */
};

/* Cursor numbers of operation SETMOUSECURSOR: the cursor the overlay shows
 * after a mouse event on the item. Only the low 16 bits of Value1 count; any
 * other number (an IDC_ value, for example) gives the default arrow. NONE
 * hides the cursor; DRAG to SQLWAIT and HAND are the library's own cursors
 * (HAND's hotspot is at (5, 0)), the others the system's. */
enum {
    ORVEX_CURSOR_DEFAULT = 0,
    ORVEX_CURSOR_NONE = -1,
    ORVEX_CURSOR_ARROW = -2,
    ORVEX_CURSOR_CROSS = -3,
    ORVEX_CURSOR_IBEAM = -4,
    ORVEX_CURSOR_SIZE = -5,
    ORVEX_CURSOR_SIZENESW = -6,
    ORVEX_CURSOR_SIZENS = -7,
    ORVEX_CURSOR_SIZENWSE = -8,
    ORVEX_CURSOR_SIZEWE = -9,
    ORVEX_CURSOR_UPARROW = -10,
    ORVEX_CURSOR_WAIT = -11,
    ORVEX_CURSOR_DRAG = -12,
    ORVEX_CURSOR_NODROP = -13,
    ORVEX_CURSOR_HSPLIT = -14,
    ORVEX_CURSOR_VSPLIT = -15,
    ORVEX_CURSOR_MULTIDRAG = -16,
    ORVEX_CURSOR_SQLWAIT = -17,
    ORVEX_CURSOR_NO = -18,
    ORVEX_CURSOR_APPSTARTING = -19,
    ORVEX_CURSOR_HELP = -20,
    ORVEX_CURSOR_HAND = -21,
    ORVEX_CURSOR_SIZEALL = -22
};

/* Point styles of Orvex_Point, centred on (x, y): a cross of diagonals from
 * x - 4 to x + 4, a filled circle from x - 4 to x + 4, a filled square from
 * x - 5 to x + 4. */
enum { ORVEX_POINT_CROSS = 1, ORVEX_POINT_CIRCLE = 2, ORVEX_POINT_RECTANGLE = 3 };

/* Results of the creating functions: the new item's ID (> 0), or one of these. */
enum {
    ORVEX_NO_WINDOW = -1, /* there is no overlay window */
    ORVEX_NOT_MADE =
        -2, /* the item could not be made, a file is missing, or an argument is invalid */
    ORVEX_EXCEPTION = -3 /* an unexpected failure, a file that cannot be decoded, or the
                            overlay window was closed; nothing was added */
};

/* Removes every item made through these functions, each announced with
 * STATUSCHANGED_DELETE; the number removed, -1 without overlay window or after
 * it was closed, -2 on failure. */
int32_t __stdcall Orvex_Clear(void);
/* All notifications go to Handle from now on; 0 stops them. 1; -2 (nothing
 * changed) when Handle is neither 0 nor a window, without overlay window, after
 * it was closed or on failure. A window destroyed later simply gets nothing. */
int32_t __stdcall Orvex_SetCallBackWindowHandle(HWND Handle);
/* 1: done; 0: no such item, no overlay window or unknown operation; -1: failure,
 * a negative SETZORDER position, or the overlay window was closed. Value2 and
 * Value3 are not used. */
int32_t __stdcall Orvex_Operation(int32_t Operation, int32_t ID, int32_t Value1, int32_t Value2,
                                  int32_t Value3);
/* Outline rectangle of width 1 with the corners (Left, Top) and (Right, Bottom),
 * both drawn. */
int32_t __stdcall Orvex_Rectangle(RECT Rect, COLORREF Color);
/* Outline ellipse of width 1 that fits Rect. */
int32_t __stdcall Orvex_Ellipse(RECT Rect, COLORREF Color);
/* The BITMAP resource ResourceName (a name or MAKEINTRESOURCE number) of the
 * module Instance (its HMODULE as an integer; 0: the program's own EXE),
 * centred on Position. A missing resource still gives an ID, for an item that
 * draws nothing; a null ResourceName gives -2. */
int32_t __stdcall Orvex_BitmapByResource(POINT Position, intptr_t Instance,
                                         const char* ResourceName, COLORREF TransparentColor);
/* A point marker; Style is one of ORVEX_POINT_CROSS, _CIRCLE, _RECTANGLE (others give -2). */
int32_t __stdcall Orvex_Point(POINT Position, int32_t Style, COLORREF Color);
/* A line from StartPoint up to EndPoint; at width 1 EndPoint itself is not drawn. */
int32_t __stdcall Orvex_Line(POINT StartPoint, POINT EndPoint, int32_t Width, COLORREF Color);
/* Most points Orvex_Polyline accepts, and most vertices a polyline keeps. The
 * first point is always kept; a later one is dropped when it lies 4 px or less
 * from the last kept vertex, and from the fourth vertex on also when it
 * continues the direction of the last segment within 5 degrees and lies 100 px
 * or less from the last kept vertex. Once 100 vertices are kept, the remaining
 * points are dropped. */
enum { ORVEX_MAX_POLYLINE_POINTS = 1048576, ORVEX_MAX_POLYLINE_VERTICES = 100 };

/* NumPoint points from Points; a null array, a negative count or one above
 * ORVEX_MAX_POLYLINE_POINTS gives -2 before the array is read. Never filled;
 * 0 or 1 point give an ID for an item that draws nothing. */
int32_t __stdcall Orvex_Polyline(const POINT* Points, int32_t NumPoint, int32_t Width,
                                 COLORREF Color);
/* Text centred on Position, one line; Bold and Italic: 1 yes, 0 no. Null
 * strings give -2; an empty text gives an ID for an item that draws nothing;
 * an unknown font name is replaced by a font the system chooses. */
int32_t __stdcall Orvex_Text(POINT Position, const char* Text, const char* FontName, int32_t Size,
                             int32_t Bold, int32_t Italic, COLORREF Color);
/* A picture file centred on Position, read by its extension: ".bmp", ".jpg",
 * ".ico", or ".exe" for the main icon of a program file (none of its code runs).
 * A missing file or a null name gives -2, a file that cannot be decoded (a
 * ".exe" that is no program among them) -3; any other extension, or a program
 * without icons, gives an ID for an item that draws nothing. */
int32_t __stdcall Orvex_BitmapByFile(POINT Position, const char* FileName,
                                     COLORREF TransparentColor);

/* The functions' types, for programs that load Orvex.dll with LoadLibrary and
 * GetProcAddress (the names without decoration: "Orvex_Clear"). */
typedef int32_t(__stdcall* PFN_Orvex_Clear)(void);
typedef int32_t(__stdcall* PFN_Orvex_SetCallBackWindowHandle)(HWND Handle);
typedef int32_t(__stdcall* PFN_Orvex_Operation)(int32_t Operation, int32_t ID, int32_t Value1,
                                                int32_t Value2, int32_t Value3);
typedef int32_t(__stdcall* PFN_Orvex_Rectangle)(RECT Rect, COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_Ellipse)(RECT Rect, COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_BitmapByResource)(POINT Position, intptr_t Instance,
                                                       const char* ResourceName,
                                                       COLORREF TransparentColor);
typedef int32_t(__stdcall* PFN_Orvex_Point)(POINT Position, int32_t Style, COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_Line)(POINT StartPoint, POINT EndPoint, int32_t Width,
                                           COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_Polyline)(const POINT* Points, int32_t NumPoint, int32_t Width,
                                               COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_Text)(POINT Position, const char* Text, const char* FontName,
                                           int32_t Size, int32_t Bold, int32_t Italic,
                                           COLORREF Color);
typedef int32_t(__stdcall* PFN_Orvex_BitmapByFile)(POINT Position, const char* FileName,
                                                   COLORREF TransparentColor);

#ifdef __cplusplus
}
#endif

#endif /* ORVEX_H */
