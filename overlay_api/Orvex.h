/* The Orvex overlay library: notification messages, status values, operation
 * codes and the Orvex_ functions. Usable from C and C++; the library's own
 * C++ code includes it too, so every constant is defined here only.
 *
 * Every function uses the stdcall convention and returns a signed 32-bit
 * integer. POINT and RECT arguments are passed by value. Strings are
 * zero-terminated 8-bit strings in the system's ANSI code page.
 *
 * Orvex.dll exports the functions under their plain names (no @N suffix) and
 * comes with an import library. Call Orvex_Clear right after loading, then
 * Orvex_SetCallBackWindowHandle, then any creating function or operation.
 * Notifications are posted to the callback window, never sent.
 *
 * Programs that link the library statically call OrvexLibraryStart() before
 * their message loop and OrvexLibraryEnd() after it (declared in
 * uOrvexTransparent.h); in Orvex.dll the loader does this.
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
 * in the high 16 bits; for STATUSCHANGED wParam is the ID and lParam one of
 * the STATUSCHANGED_ values. */
enum {
    WM_TRANSPARENTELEMENT_CLICK = WM_USER + 7000,
    WM_TRANSPARENTELEMENT_DBLCLK = WM_USER + 7001,
    WM_TRANSPARENTELEMENT_MOUSEDOWN = WM_USER + 7002,
    WM_TRANSPARENTELEMENT_MOUSEMOVE = WM_USER + 7003,
    WM_TRANSPARENTELEMENT_MOUSEUP = WM_USER + 7004,
    WM_TRANSPARENTELEMENT_STATUSCHANGED = WM_USER + 7005
};

/* Status values: the high digit names the property, the low digit its new
 * state. Posted for ordinary items only. */
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

/* Operation codes of Orvex_Operation; Value1 is the operation's value. */
enum {
    TRANSPARENTELEMENT_OPERATION_DELETE = 1,
    TRANSPARENTELEMENT_OPERATION_SHOW = 2,          /* Value1 != 0: show, 0: hide */
    TRANSPARENTELEMENT_OPERATION_LINEWIDTH = 3,     /* Value1: width in pixels */
    TRANSPARENTELEMENT_OPERATION_ISFILLED = 4,      /* Value1 != 0: filled */
    TRANSPARENTELEMENT_OPERATION_SETCOLOR = 5,      /* Value1: COLORREF */
    TRANSPARENTELEMENT_OPERATION_SETAUTOHIDE = 6,   /* Value1 != 0: autohide on */
    TRANSPARENTELEMENT_OPERATION_SETZORDER = 7,     /* Value1: paint position, 0 first */
    TRANSPARENTELEMENT_OPERATION_SETMOUSECURSOR = 8 /* Value1: cursor number (low 16 bits) */
};

/* Point styles of Orvex_Point. */
enum { ORVEX_POINT_CROSS = 1, ORVEX_POINT_CIRCLE = 2, ORVEX_POINT_RECTANGLE = 3 };

/* Results of the creating functions: the new item's ID (> 0), or one of these. */
enum {
    ORVEX_NO_WINDOW = -1, /* there is no overlay window */
    ORVEX_NOT_MADE =
        -2, /* the item could not be made, a file is missing, or an argument is invalid */
    ORVEX_EXCEPTION = -3 /* an unexpected failure; nothing was added */
};

/* Removes every ordinary item; the number removed, -1 without overlay window, -2 on failure. */
int32_t __stdcall Orvex_Clear(void);
/* All notifications go to Handle from now on; 0 stops them. 1, or -2 on failure. */
int32_t __stdcall Orvex_SetCallBackWindowHandle(HWND Handle);
/* 1: done; 0: no such item, no overlay window or unknown operation; -1: failure.
 * Value2 and Value3 are not used. */
int32_t __stdcall Orvex_Operation(int32_t Operation, int32_t ID, int32_t Value1, int32_t Value2,
                                  int32_t Value3);
/* Outline rectangle of width 1 with the corners (Left, Top) and (Right, Bottom). */
int32_t __stdcall Orvex_Rectangle(RECT Rect, COLORREF Color);
/* Outline ellipse of width 1 that fits Rect. */
int32_t __stdcall Orvex_Ellipse(RECT Rect, COLORREF Color);
/* The BITMAP resource ResourceName of the module Instance, centred on Position. */
int32_t __stdcall Orvex_BitmapByResource(POINT Position, int32_t Instance, const char* ResourceName,
                                         COLORREF TransparentColor);
/* A point marker; Style is one of ORVEX_POINT_CROSS, _CIRCLE, _RECTANGLE (others give -2). */
int32_t __stdcall Orvex_Point(POINT Position, int32_t Style, COLORREF Color);
int32_t __stdcall Orvex_Line(POINT StartPoint, POINT EndPoint, int32_t Width, COLORREF Color);
/* Most points a polyline may have. */
enum { ORVEX_MAX_POLYLINE_POINTS = 1048576 };

/* NumPoint points from Points; a null array, a negative count or one above
 * ORVEX_MAX_POLYLINE_POINTS gives -2 before the array is read. */
int32_t __stdcall Orvex_Polyline(const POINT* Points, int32_t NumPoint, int32_t Width,
                                 COLORREF Color);
/* Text centred on Position; Bold and Italic: 1 yes, 0 no. Null strings give -2. */
int32_t __stdcall Orvex_Text(POINT Position, const char* Text, const char* FontName, int32_t Size,
                             int32_t Bold, int32_t Italic, COLORREF Color);
/* A BMP file centred on Position; a missing file or a null name gives -2. */
int32_t __stdcall Orvex_BitmapByFile(POINT Position, const char* FileName,
                                     COLORREF TransparentColor);

#ifdef __cplusplus
}
#endif

#endif /* ORVEX_H */
