// Sizes for screens of any pixel density. Windows and pictures are designed
// in pixels of a 96-DPI screen (logical pixels); at another DPI every size is
// multiplied by dpi / 96. Pure arithmetic, so tests drive it directly.
#pragma once

#include <windows.h>

namespace ui {

constexpr int DesignDpi = 96;
// The smallest scale a window is shrunk to so that it fits a small screen.
constexpr int SmallestFittingDpi = DesignDpi / 2;

// A length or offset designed at 96 DPI, at `dpi`: value * dpi / 96 rounded
// to the nearest pixel, halves away from zero (as MulDiv rounds). A dpi of 0
// or less counts as 96.
int ScaleToDpi(int value, int dpi);
// The same conversion between any two DPIs (from > 0).
int ScaleBetweenDpi(int value, int from, int to);

// The DPI at which a window whose client area is designed as `design` (at
// 96 DPI) and whose frame adds `frame` fits into `area`: `wanted` when it
// fits there, else the largest smaller one that fits, but not below
// SmallestFittingDpi (nor above `wanted`).
int FittingDpi(SIZE design, SIZE frame, SIZE area, int wanted);

} // namespace ui
