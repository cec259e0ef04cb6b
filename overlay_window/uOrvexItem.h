// One overlay item: a screen object and the window's bookkeeping for it.
#pragma once

#include "screen_objects/uScreenObject.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

// What the repaint engine noted of an item's last paint.
struct TItemPaintState {
    bool Dirty = true;    // changed since its last paint: the next rebuild paints it
    bool Shown = false;   // added an area to the window shape at its last paint
    bool Exact = false;   // that paint drew exactly the area it added
    RECT Box{0, 0, 0, 0}; // where that paint may have drawn; empty when it drew nothing
};

struct TTransparentFormObject {
    std::unique_ptr<TScreenObject> ScreenObject;
    bool AutoHide = false;
    bool AutoHidden = false;
    int32_t ID = 0;
    int16_t Cursor = 0;
    TItemPaintState Paint; // kept by the repaint engine
};

// A list of items; its order is the paint order, index 0 painted first.
using TItemList = std::vector<TTransparentFormObject>;
