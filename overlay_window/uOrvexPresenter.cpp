#include "overlay_window/uOrvexPresenter.h"

#include "overlay_window/uOrvexShapeLimit.h"
#include "ui/RegionUnion.h"

#include <algorithm>

void TOverlayPresenter::Attach(HWND window) {
    Window = window;
    RECT client{};
    ::GetClientRect(window, &client);
    ImageSize = SIZE{client.right - client.left, client.bottom - client.top};
    Copier.Create(window);
}

void TOverlayPresenter::Detach() {
    Copier.Destroy();
}

RECT TOverlayPresenter::CoveredBounds() const {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT virtualDesktop{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                              y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const SIZE primary{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return OverlayBounds(Covered, virtualDesktop, primary);
}

RECT TOverlayPresenter::Bounds() const {
    return RECT{WindowOrigin.x, WindowOrigin.y, WindowOrigin.x + ImageSize.cx,
                WindowOrigin.y + ImageSize.cy};
}

void TOverlayPresenter::SetCoverage(OverlayCoverage coverage) {
    Covered = coverage;
    Place();
}

void TOverlayPresenter::Place() {
    if (!Window)
        return;
    const RECT bounds = CoveredBounds();
    RECT now{};
    ::GetWindowRect(Window, &now);
    if (!::EqualRect(&now, &bounds))
        ::SetWindowPos(Window, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    RECT client{};
    ::GetClientRect(Window, &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (bounds.left == WindowOrigin.x && bounds.top == WindowOrigin.y && size.cx == ImageSize.cx &&
        size.cy == ImageSize.cy)
        return;
    WindowOrigin = POINT{bounds.left, bounds.top};
    ImageSize = size;
    // A picture of the new size and place; everything is painted anew.
    Image = ui::PixelPicture();
    Engine->Forget();
    RepaintNeeded();
}

void TOverlayPresenter::ClipPicture(HRGN screenRegion) {
    if (!Image)
        return;
    if (!screenRegion || (WindowOrigin.x == 0 && WindowOrigin.y == 0)) {
        ::SelectClipRgn(Image.dc.Get(), screenRegion);
        return;
    }
    // A clipping region is in the picture's pixels, not in screen coordinates.
    ui::Region clip = ui::MakeEmptyRegion();
    ::CombineRgn(clip.Get(), screenRegion, nullptr, RGN_COPY);
    ::OffsetRgn(clip.Get(), -WindowOrigin.x, -WindowOrigin.y);
    ::SelectClipRgn(Image.dc.Get(), clip.Get());
}

HDC TOverlayPresenter::ImageCanvasDC() {
    // Items paint in screen coordinates; the canvas may fill its pixels directly.
    if (!Image)
        Image = ui::MakePixelPicture(ImageSize, WindowOrigin);
    return Image.dc.Get();
}

void TOverlayPresenter::Rebuild(TItemList* items, TItemList* demo, bool ordinaryShown) {
    ++Rebuilds;
    HDC dc = ImageCanvasDC();
    if (!dc) {
        // No picture (a window of no size): nothing shows.
        Engine->Forget();
        if (Window)
            HandRegionToSystem(ui::MakeEmptyRegion());
        return;
    }
    ui::Canvas canvas(dc);
    canvas.SetPixels(Image.pixels);
    const TRepaintScene scene{items, demo, ordinaryShown, ImageSize, WindowOrigin};
    TRepaintResult result =
        Engine->Rebuild(scene, canvas, [this](HRGN region) { ClipPicture(region); });
    ClipPicture(nullptr);
    if (result.ShapeChanged)
        SetShape();
    if (result.CopyAll)
        Present(nullptr);
    else if (result.Copy)
        Present(result.Copy.Get());
}

void TOverlayPresenter::Paint() {
    if (Copier.Ready() && Image) {
        // Asking for the invalid area would cost what Present avoids.
        ::ValidateRect(Window, nullptr);
        Present(nullptr);
        return;
    }
    // Without the child window the system clips the copy to the shape.
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(Window, &ps);
    if (Image)
        ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                 ps.rcPaint.bottom - ps.rcPaint.top, PictureDC(), ps.rcPaint.left + WindowOrigin.x,
                 ps.rcPaint.top + WindowOrigin.y, SRCCOPY);
    ::EndPaint(Window, &ps);
}

void TOverlayPresenter::SetRepaintEngine(std::unique_ptr<TRepaintEngine> engine) {
    if (!engine)
        return;
    Engine = std::move(engine);
    Engine->Forget();
}

void TOverlayPresenter::SetShape() {
    if (!Window)
        return;
    // The system takes over the region it is given: it gets a copy.
    ui::Region copy = ui::MakeEmptyRegion();
    ::CombineRgn(copy.Get(), Engine->Shape().Get(), nullptr, RGN_COPY);
    HandRegionToSystem(std::move(copy));
}

void TOverlayPresenter::HandRegionToSystem(ui::Region region) {
    if (!region)
        region = ui::MakeEmptyRegion();
    for (const RECT& hole : Holes) {
        ui::Region cut(::CreateRectRgnIndirect(&hole));
        ::CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
    }
    if (Platform.shapeRectangleLimit)
        if (ui::Region limited = LimitShapeRectangles(region.Get(), Platform.shapeRectangleLimit))
            region = std::move(limited);
    // The window's shape is in its own coordinates.
    ::OffsetRgn(region.Get(), -WindowOrigin.x, -WindowOrigin.y);
    // Not redrawn by the system: with a shape of thousands of rectangles,
    // redrawing the window and everything below it costs far more than the
    // copies of what changed.
    if (::SetWindowRgn(Window, region.Get(), FALSE))
        region.Release(); // the system owns it now
}

void TOverlayPresenter::Present(HRGN area) {
    if (!Window || !Image)
        return;
    if (!Copier.Ready()) {
        ::InvalidateRgn(Window, area, FALSE);
        return;
    }
    // Only what lies inside the shape shows, and every copy is clipped to
    // the piece of the shape it covers.
    std::vector<RECT> rects, shape;
    if (const HRGN whole = Engine->Shape().Get()) {
        if (area) {
            ui::Region visible = ui::MakeEmptyRegion();
            if (::CombineRgn(visible.Get(), area, whole, RGN_AND) == NULLREGION)
                return;
            rects = ui::RegionRects(visible.Get());
            // Only the shape within the area's bounds bears on the copies.
            RECT bounds;
            ::GetRgnBox(visible.Get(), &bounds);
            ui::Region nearby(::CreateRectRgnIndirect(&bounds));
            ::CombineRgn(nearby.Get(), nearby.Get(), whole, RGN_AND);
            shape = ui::RegionRects(nearby.Get());
        } else {
            shape = ui::RegionRects(whole);
            rects = shape;
        }
    } else if (area) {
        rects = ui::RegionRects(area);
    } else {
        rects.push_back(Bounds());
    }
    // The area is in screen coordinates, the copies in the window's.
    for (std::vector<RECT>* list : {&rects, &shape})
        for (RECT& r : *list)
            ::OffsetRect(&r, -WindowOrigin.x, -WindowOrigin.y);
    Copier.Copy(PictureDC(), WindowOrigin, rects, shape, ImageSize);
}

void TOverlayPresenter::KeepInFront() {
    if (!Window)
        return;
    const FrontPlan plan = Front.Look(Window);
    auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
    if (!std::equal(plan.holes.begin(), plan.holes.end(), Holes.begin(), Holes.end(), same)) {
        const std::vector<RECT> before = std::move(Holes);
        Holes = plan.holes;
        if (Engine->ShapeCurrent()) {
            SetShape();
            // What changed under an own window never reached the screen there.
            ui::RegionUnion uncovered;
            for (const RECT& hole : before)
                uncovered.Push(ui::Region(::CreateRectRgnIndirect(&hole)));
            ui::Region area = uncovered.Finish();
            RECT box;
            if (::GetRgnBox(area.Get(), &box) > NULLREGION)
                Present(area.Get());
        } else {
            RepaintNeeded();
        }
    }
    if (plan.restack)
        TFrontKeeper::Restack(Window, plan);
}
