#include "ui/Layout.h"

#include <algorithm>

namespace ui {

void AnchorGaps(const RECT& client, LayoutItem& item) {
    item.rightGap = client.right - item.bounds.right;
    item.bottomGap = client.bottom - item.bounds.bottom;
}

namespace {

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

void Anchor(const RECT& client, LayoutItem& item) {
    RECT& b = item.bounds;
    const int w = Width(b);
    const int h = Height(b);
    if (item.anchors & AnchorRight) {
        b.right = client.right - item.rightGap;
        if (!(item.anchors & AnchorLeft))
            b.left = b.right - w;
    }
    if (item.anchors & AnchorBottom) {
        b.bottom = client.bottom - item.bottomGap;
        if (!(item.anchors & AnchorTop))
            b.top = b.bottom - h;
    }
    if (b.right < b.left)
        b.right = b.left;
    if (b.bottom < b.top)
        b.bottom = b.top;
}

} // namespace

void Arrange(const RECT& client, std::vector<LayoutItem>& items) {
    RECT free = client;
    for (LayoutItem& item : items) {
        if (item.visible && item.align == Align::Top) {
            const int h = Height(item.bounds);
            item.bounds = {free.left, free.top, free.right, free.top + h};
            free.top += h;
        }
    }
    for (LayoutItem& item : items) {
        if (item.visible && item.align == Align::Bottom) {
            const int h = Height(item.bounds);
            item.bounds = {free.left, free.bottom - h, free.right, free.bottom};
            free.bottom -= h;
        }
    }
    if (free.bottom < free.top)
        free.bottom = free.top;
    for (LayoutItem& item : items) {
        if (item.visible && item.align == Align::Client)
            item.bounds = free;
    }
    for (LayoutItem& item : items) {
        if (item.align == Align::None)
            Anchor(client, item);
    }
}

POINT CenteredOrigin(int screenWidth, int screenHeight, int w, int h) {
    return POINT{(screenWidth - w) / 2, (screenHeight - h) / 2};
}

RECT MoveIntoArea(RECT window, RECT area) {
    const int w = Width(window), h = Height(window);
    int left = std::max<int>(std::min<int>(window.left, area.right - w), area.left);
    int top = std::max<int>(std::min<int>(window.top, area.bottom - h), area.top);
    return RECT{left, top, left + w, top + h};
}

} // namespace ui
