#include "overlay_window/uOrvexPictureCopy.h"

#include "ui/Handles.h"

#include <limits>

namespace {

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

bool Overlaps(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Below this size a part is not halved any further.
constexpr LONG SmallestPart = 8;

struct TPlan {
    double cost = 0;
    std::vector<TPresentPart> parts;
};

// The area's rectangles clipped to within, and their bounds.
std::vector<RECT> ClipTo(const std::vector<RECT>& rects, const RECT& within, RECT& bounds) {
    std::vector<RECT> clipped;
    bounds = RECT{0, 0, 0, 0};
    for (const RECT& r : rects) {
        RECT piece;
        if (!::IntersectRect(&piece, &r, &within))
            continue;
        clipped.push_back(piece);
        if (IsEmpty(bounds))
            bounds = piece;
        else
            ::UnionRect(&bounds, &bounds, &piece);
    }
    return clipped;
}

std::vector<RECT> Touching(const std::vector<RECT>& rects, const RECT& box) {
    std::vector<RECT> touching;
    for (const RECT& r : rects)
        if (Overlaps(r, box))
            touching.push_back(r);
    return touching;
}

// The cheapest way to copy area (already clipped to box, its bounds) when
// shape holds the shape's rectangles that touch box.
TPlan PlanBox(const std::vector<RECT>& area, const std::vector<RECT>& shape, const RECT& box,
              const TCopyCost& cost) {
    const double clipping =
        cost.PerRectSquared * static_cast<double>(shape.size()) * static_cast<double>(shape.size());
    TPlan whole{cost.PerCopy + clipping, {TPresentPart{box, shape.size()}}};
    const LONG width = box.right - box.left, height = box.bottom - box.top;
    if (width <= SmallestPart && height <= SmallestPart)
        return whole;
    if (shape.size() > cost.KnownRects)
        whole.cost = std::numeric_limits<double>::infinity();
    // Halving adds at least one copy: it cannot pay while the clipping costs
    // less than a copy.
    else if (clipping <= cost.PerCopy)
        return whole;
    RECT first = box, second = box;
    if (width >= height)
        first.right = second.left = box.left + width / 2;
    else
        first.bottom = second.top = box.top + height / 2;
    TPlan halves;
    for (const RECT& half : {first, second}) {
        RECT bounds;
        const std::vector<RECT> piece = ClipTo(area, half, bounds);
        if (piece.empty())
            continue;
        TPlan plan = PlanBox(piece, Touching(shape, bounds), bounds, cost);
        halves.cost += plan.cost;
        halves.parts.insert(halves.parts.end(), plan.parts.begin(), plan.parts.end());
        if (halves.cost >= whole.cost)
            return whole;
    }
    return halves;
}

} // namespace

std::vector<TPresentPart> PlanPresent(const std::vector<RECT>& area, const std::vector<RECT>& shape,
                                      SIZE window, const TCopyCost& cost) {
    if (window.cx <= 0 || window.cy <= 0)
        return {};
    RECT bounds;
    const std::vector<RECT> inside = ClipTo(area, RECT{0, 0, window.cx, window.cy}, bounds);
    if (inside.empty())
        return {};
    return PlanBox(inside, Touching(shape, bounds), bounds, cost).parts;
}

std::vector<RECT> PresentParts(const std::vector<RECT>& area, const std::vector<RECT>& shape,
                               SIZE window, const TCopyCost& cost) {
    std::vector<RECT> rects;
    for (const TPresentPart& part : PlanPresent(area, shape, window, cost))
        rects.push_back(part.Rect);
    return rects;
}

namespace {

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

double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

// The pane is the overlay's only child: its place among children never
// matters, and leaving it out of the move saves work.
constexpr UINT PaneMoveFlags = SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS |
                               SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
constexpr UINT PaneHideFlags = SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOMOVE |
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

} // namespace

bool TPictureCopier::Create(HWND overlay) {
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

void TPictureCopier::Copy(HDC picture, POINT origin, const std::vector<RECT>& area,
                          const std::vector<RECT>& shape, SIZE window) {
    if (!Ready())
        return;
    const std::vector<TPresentPart> parts = PlanPresent(area, shape, window, cost_.Cost());
    if (parts.empty())
        return;
    HWND pane = pane_->Handle();
    for (const TPresentPart& part : parts) {
        const RECT& r = part.Rect;
        const int width = r.right - r.left, height = r.bottom - r.top;
        const double start = NowMs();
        ::SetWindowPos(pane, nullptr, r.left, r.top, width, height, PaneMoveFlags);
        {
            ui::WindowDC dc(pane);
            if (dc.Get())
                ::BitBlt(dc.Get(), 0, 0, width, height, picture, r.left + origin.x,
                         r.top + origin.y, SRCCOPY);
        }
        cost_.Add(part.TouchedRects, NowMs() - start);
    }
    cost_.EndRepaint();
    ::SetWindowPos(pane, nullptr, 0, 0, 0, 0, PaneHideFlags);
    ::GdiFlush();
}
