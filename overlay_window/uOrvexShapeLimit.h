// Keeping a window shape within a number of rectangles, for a platform that
// cannot take more (uOrvexPlatform.h says where and why).
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <cstddef>

// Safely below the 32,760 rectangles that fit one X request.
constexpr size_t MaxShapeRectangles = 32000;

// The region without its smallest rectangles, so that at most limit remain:
// slivers of a pixel or two at the rims of shapes stop showing and let the
// mouse through. A null region when the region keeps within the limit.
ui::Region LimitShapeRectangles(HRGN region, size_t limit = MaxShapeRectangles);
