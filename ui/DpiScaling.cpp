#include "ui/DpiScaling.h"

#include <algorithm>
#include <cstdint>

namespace ui {

int ScaleBetweenDpi(int value, int from, int to) {
    if (from <= 0 || from == to)
        return value;
    const int64_t product = static_cast<int64_t>(value) * to;
    const int64_t half = from / 2;
    const int64_t rounded = product >= 0 ? (product + half) / from : -((-product + half) / from);
    return static_cast<int>(rounded);
}

int ScaleToDpi(int value, int dpi) {
    return ScaleBetweenDpi(value, DesignDpi, dpi > 0 ? dpi : DesignDpi);
}

int FittingDpi(SIZE design, SIZE frame, SIZE area, int wanted) {
    if (wanted <= 0)
        wanted = DesignDpi;
    auto fits = [&](int dpi) {
        return ScaleToDpi(design.cx, dpi) + frame.cx <= area.cx &&
               ScaleToDpi(design.cy, dpi) + frame.cy <= area.cy;
    };
    const int floor = std::min(wanted, SmallestFittingDpi);
    for (int dpi = wanted; dpi > floor; --dpi) {
        if (fits(dpi))
            return dpi;
    }
    return floor;
}

} // namespace ui
