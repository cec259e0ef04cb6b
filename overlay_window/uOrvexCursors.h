// The cursor numbers of the overlay's items and window, and where the image
// of each comes from: the system's cursors or the program's own resources.
#pragma once

#include <windows.h>

#include <cstdint>

// Cursor numbers of items and of the window.
constexpr int16_t crDefault = 0;
constexpr int16_t crNone = -1;
constexpr int16_t crArrow = -2;
constexpr int16_t crCross = -3;
constexpr int16_t crIBeam = -4;
constexpr int16_t crSize = -5;
constexpr int16_t crSizeNESW = -6;
constexpr int16_t crSizeNS = -7;
constexpr int16_t crSizeNWSE = -8;
constexpr int16_t crSizeWE = -9;
constexpr int16_t crUpArrow = -10;
constexpr int16_t crHourGlass = -11;
constexpr int16_t crDrag = -12;
constexpr int16_t crNoDrop = -13;
constexpr int16_t crHSplit = -14;
constexpr int16_t crVSplit = -15;
constexpr int16_t crMultiDrag = -16;
constexpr int16_t crSQLWait = -17;
constexpr int16_t crNo = -18;
constexpr int16_t crAppStart = -19;
constexpr int16_t crHelp = -20;
constexpr int16_t crHandPoint = -21;
constexpr int16_t crSizeAll = -22;

// The program's own cursor resources.
constexpr int OwnCursorHandPoint = 32761;
constexpr int OwnCursorSQLWait = 32762;
constexpr int OwnCursorMultiDrag = 32763;
constexpr int OwnCursorVSplit = 32764;
constexpr int OwnCursorHSplit = 32765;
constexpr int OwnCursorDrag = 32766;
constexpr int OwnCursorNoDrop = 32767;

// Where the image of a cursor number comes from: no cursor at all, a system
// cursor (IDC_ value) or one of the program's own cursor resources.
struct TCursorSource {
    enum Kind { None, System, Own } kind = System;
    int id = 0; // IDC_ value for System, resource number for Own
};
TCursorSource CursorSourceFor(int32_t cursor);
// The cursor to show for a number; an own cursor that cannot be loaded falls
// back to the arrow. Null for crNone.
HCURSOR LoadCursorFor(int32_t cursor);
