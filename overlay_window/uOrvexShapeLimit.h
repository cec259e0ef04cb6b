// The number of rectangles a window shape may have. Under Wine a window
// region reaches X in one request of at most 65,535 four-byte words, and a
// shape of more than about 32,760 rectangles breaks the program's connection
// to the X server, which ends the program. The card's drifts come near that
// on a large screen.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <cstddef>

constexpr size_t MaxShapeRectangles = 32000;

// The region without its smallest rectangles, so that at most limit remain:
// slivers of a pixel or two at the rims of shapes stop showing and let the
// mouse through. A null region when the region keeps within the limit.
ui::Region LimitShapeRectangles(HRGN region, size_t limit = MaxShapeRectangles);
