// The Orvex library's C++ side: library start and end, the overlay window it
// keeps and the pure helpers of the Orvex_ functions; the debug log has a
// unit of its own. The functions themselves and every constant are in the
// C header Orvex.h.
#pragma once

#include "overlay_api/Orvex.h"
#include "overlay_api/uOrvexDebugLog.h"
#include "overlay_window/uOrvexPlacement.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TTransparentForm;
class TScreenObject;

// Library start: decides debug mode by the marker file "<program file>.debug",
// writes "DLL initialized" and makes the overlay window (hidden, empty). Runs
// once per process; later calls do nothing. Programs that link the library
// statically call it at the top of WinMain. Orvex.dll starts from its loader
// entry with makeWindow false, since no window may be made under the loader
// lock: the first Orvex_ call makes it there.
void OrvexLibraryStart(bool makeWindow = true);
// Library end: closes and releases the overlay window (every ordinary item
// gets its STATUSCHANGED_DELETE), writes "DLL finalized" and, in debug mode,
// saves the log as "Orvex.log" beside the program. Runs once; call it after
// the message loop. processExiting (Orvex.dll at process exit) leaves the
// windows of the dying process alone and only writes the log.
void OrvexLibraryEnd(bool processExiting = false);

// The one overlay window, or null.
TTransparentForm* TransparentForm();
bool TransparentFormCreated();
// Makes the overlay window when it has not been made yet.
void EnsureTransparentForm();
// Closes the overlay window now (every ordinary item gets its
// STATUSCHANGED_DELETE) for a program that is ending; the library end then
// only releases it.
void OrvexCloseOverlay();
// Adds an item around a screen object the program made itself (pictures
// scaled for the screen's DPI, say), with the results and debug lines of
// the Orvex_ functions: the new ID, ORVEX_NO_WINDOW, ORVEX_NOT_MADE for no
// object, ORVEX_EXCEPTION. For programs that link the library statically;
// Orvex.dll does not export it.
int32_t OrvexAddScreenObject(const char* name, std::unique_ptr<TScreenObject> object);
// What the overlay window covers: every monitor (the default) or only the
// primary one. Kept for a window made later.
void SetOverlayCoverage(OverlayCoverage coverage);

// ---- helpers of the Orvex_ functions

// The rectangle inscribed in the ellipse that rect bounds: the ellipse item
// draws its ellipse through the corners of its own rectangle.
RECT ConvertEllipseRect(RECT rect);
// Point type of an Orvex_Point style (1 cross, 2 circle, 3 rectangle give the
// types 0, 1, 2); -1 for any other style.
int32_t PointTypeForStyle(int32_t style);
// colour " = RGB(" r "/" g "/" b ")"
std::string ColorDebugText(COLORREF color);
// An ANSI (CP_ACP) string as UTF-16.
std::wstring AnsiToWide(const char* text);
