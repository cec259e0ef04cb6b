// The copy of the overlay's picture to its window.
// The system clips every drawing on the window to its shape. With a shape of
// many thousands of rectangles, working that clipping out for the whole
// window can cost far more than the copy itself (measured: uOrvexCopyCost.h
// and uOrvexPlatform.h), and it is worked out again after every change of
// shape. The picture therefore goes to the screen through a
// small child window moved over one part after the other: each copy is
// clipped to the piece of the shape inside that part only.
#pragma once

#include "overlay_window/uOrvexCopyCost.h"
#include "ui/Window.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

class TPictureCopier {
public:
    // Makes the hidden child window of the overlay that the copies go
    // through; false when the system refused it.
    bool Create(HWND overlay);
    void Destroy() { pane_.reset(); }
    bool Ready() const { return pane_ && pane_->Handle(); }
    // Copies the picture to the window where area (window coordinates) lies.
    // shape holds the rectangles of the window's shape, which clips every
    // copy, at least those near the area. The picture draws in screen coordinates: the window's
    // point (0, 0) is the picture's point origin. Each copy is timed: the plan follows what copies
    // cost here.
    void Copy(HDC picture, POINT origin, const std::vector<RECT>& area,
              const std::vector<RECT>& shape, SIZE window);
    const TCopyCostEstimate& CopyCost() const { return cost_; }

private:
    std::unique_ptr<ui::Window> pane_;
    TCopyCostEstimate cost_;
};

// The parts in which the area is copied to a window of the given size:
// rectangles inside the window, apart from each other, that together cover
// the area, chosen so that the copies cost least. A part costs the fixed
// cost, plus the clipping cost of the shape's rectangles it touches; a part
// is halved, across its longer side, as long as the halves cost less (and
// always while it touches more rectangles than the cost is known for).
struct TPresentPart {
    RECT Rect;
    size_t TouchedRects; // of the shape
};
std::vector<TPresentPart> PlanPresent(const std::vector<RECT>& area, const std::vector<RECT>& shape,
                                      SIZE window, const TCopyCost& cost);
// The parts' rectangles alone.
std::vector<RECT> PresentParts(const std::vector<RECT>& area, const std::vector<RECT>& shape,
                               SIZE window, const TCopyCost& cost);
