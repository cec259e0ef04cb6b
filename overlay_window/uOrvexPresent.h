// The copy of the overlay's picture to its window.
// The system clips every drawing on the window to its shape. With a shape of
// many thousands of rectangles, working that clipping out for the whole
// window costs far more than the copy itself (seconds under Wine, where it
// grows with the square of the rectangles), and it is worked out again after
// every change of shape. The picture therefore goes to the screen through a
// small child window moved over one part after the other: each copy is
// clipped to the piece of the shape inside that part only.
#pragma once

#include "ui/Window.h"

#include <windows.h>

#include <memory>
#include <vector>

class TPicturePresenter {
public:
    // Makes the hidden child window of the overlay that the copies go
    // through; false when the system refused it.
    bool Create(HWND overlay);
    void Destroy() { pane_.reset(); }
    bool Ready() const { return pane_ && pane_->Handle(); }
    // Copies the picture to the window where rects (window coordinates)
    // lie. The picture draws in screen coordinates: the window's point (0, 0)
    // is the picture's point origin.
    void Copy(HDC picture, POINT origin, const std::vector<RECT>& rects, SIZE window);

private:
    std::unique_ptr<ui::Window> pane_;
};

// The parts in which the rectangles of an area are copied to a window of the
// given size: for each cell of a grid of the given cell size that the area
// touches, the bounds of the area within that cell.
std::vector<RECT> PresentParts(const std::vector<RECT>& area, SIZE window, SIZE cell);
