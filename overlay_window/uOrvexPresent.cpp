#include "overlay_window/uOrvexPresent.h"

#include "ui/Handles.h"

namespace {

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// Size of the cells in which the picture is copied. The cost of the
// system's clipping grows with the square of the shape's rectangles inside
// one copy, every copy has a fixed cost of its own: these cells keep both small.
constexpr SIZE PresentCell{128, 96};

// The child window the picture is copied through. It lets every mouse
// message through to the overlay and never paints by itself.
class TPaintPane : public ui::Window {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            ::ValidateRect(Handle(), nullptr);
            return 0;
        default:
            return ui::Window::HandleMessage(msg, wParam, lParam);
        }
    }
};

constexpr UINT PaneMoveFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                               SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
constexpr UINT PaneHideFlags = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE |
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

} // namespace

std::vector<RECT> PresentParts(const std::vector<RECT>& area, SIZE window, SIZE cell) {
    std::vector<RECT> parts;
    if (window.cx <= 0 || window.cy <= 0 || cell.cx <= 0 || cell.cy <= 0)
        return parts;
    const LONG columns = (window.cx + cell.cx - 1) / cell.cx;
    const LONG rows = (window.cy + cell.cy - 1) / cell.cy;
    std::vector<RECT> boxes(static_cast<size_t>(columns) * static_cast<size_t>(rows),
                            RECT{0, 0, 0, 0});
    const RECT whole{0, 0, window.cx, window.cy};
    for (const RECT& r : area) {
        RECT clipped;
        if (!::IntersectRect(&clipped, &r, &whole))
            continue;
        for (LONG row = clipped.top / cell.cy; row <= (clipped.bottom - 1) / cell.cy; ++row) {
            for (LONG column = clipped.left / cell.cx; column <= (clipped.right - 1) / cell.cx;
                 ++column) {
                const RECT cellRect{column * cell.cx, row * cell.cy, (column + 1) * cell.cx,
                                    (row + 1) * cell.cy};
                RECT piece;
                ::IntersectRect(&piece, &clipped, &cellRect);
                RECT& box = boxes[static_cast<size_t>(row * columns + column)];
                if (IsEmpty(box))
                    box = piece;
                else
                    ::UnionRect(&box, &box, &piece);
            }
        }
    }
    for (const RECT& box : boxes)
        if (!IsEmpty(box))
            parts.push_back(box);
    return parts;
}

bool TPicturePresenter::Create(HWND overlay) {
    auto pane = std::make_unique<TPaintPane>();
    ui::WindowParams p;
    p.style = WS_CHILD;
    p.x = 0;
    p.y = 0;
    p.width = 1;
    p.height = 1;
    p.parent = overlay;
    if (!pane->Create(p))
        return false;
    pane_ = std::move(pane);
    return true;
}

void TPicturePresenter::Copy(HDC picture, POINT origin, const std::vector<RECT>& rects,
                             SIZE window) {
    if (!Ready())
        return;
    const std::vector<RECT> parts = PresentParts(rects, window, PresentCell);
    if (parts.empty())
        return;
    HWND pane = pane_->Handle();
    for (const RECT& part : parts) {
        const int width = part.right - part.left, height = part.bottom - part.top;
        ::SetWindowPos(pane, HWND_TOP, part.left, part.top, width, height, PaneMoveFlags);
        ui::WindowDC dc(pane);
        if (dc.Get())
            ::BitBlt(dc.Get(), 0, 0, width, height, picture, part.left + origin.x,
                     part.top + origin.y, SRCCOPY);
    }
    ::SetWindowPos(pane, nullptr, 0, 0, 0, 0, PaneHideFlags);
    ::GdiFlush();
}
