// Placement of child controls inside their parent: alignment to the top, the
// bottom or the remaining client area, and anchors that keep a control's
// distances to the parent's edges when the parent changes size. Pure
// functions over rectangles, so the rules are testable without windows.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

enum class Align { None, Top, Bottom, Client };

using Anchors = unsigned;
constexpr Anchors AnchorLeft = 1;
constexpr Anchors AnchorTop = 2;
constexpr Anchors AnchorRight = 4;
constexpr Anchors AnchorBottom = 8;
constexpr Anchors AnchorAll = AnchorLeft | AnchorTop | AnchorRight | AnchorBottom;

struct LayoutItem {
    Align align = Align::None;
    Anchors anchors = AnchorLeft | AnchorTop;
    bool visible = true;
    RECT bounds{}; // in the parent's client coordinates
    // Distances to the parent's right and bottom edges kept by the Right and
    // Bottom anchors (see AnchorGaps).
    int rightGap = 0;
    int bottomGap = 0;
};

// The distances of bounds to the right and bottom edges of the client area.
void AnchorGaps(const RECT& client, LayoutItem& item);

// Lays the items out inside the client area, changing their bounds: visible
// Top items are stacked from the top in list order, then Bottom items from the
// bottom, then Client items fill what is left; unaligned items follow their
// anchors. Hidden aligned items take no room.
void Arrange(const RECT& client, std::vector<LayoutItem>& items);

// Top-left corner that centres a w × h window on a screen of the given size.
POINT CenteredOrigin(int screenWidth, int screenHeight, int w, int h);

// The window moved (never resized) so that it lies inside the area; a window
// larger than the area keeps its top left corner (caption, menu) inside it.
RECT MoveIntoArea(RECT window, RECT area);

} // namespace ui
