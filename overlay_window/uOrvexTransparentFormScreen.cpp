// The overlay window on the screen: the part of the screen it covers, its
// place in the z-order, and the picture and shape it shows there.
#include "overlay_window/uOrvexTransparentForm.h"

#include "overlay_api/Orvex.h"
#include "overlay_window/uOrvexItemShapes.h"
#include "overlay_window/uOrvexShapeLimit.h"
#include "ui/Canvas.h"
#include "ui/RegionUnion.h"

#include <algorithm>

RECT TTransparentForm::CoveredBounds() const {
    const int x = ::GetSystemMetrics(SM_XVIRTUALSCREEN), y = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT virtualDesktop{x, y, x + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                              y + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    const SIZE primary{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    return OverlayBounds(Covered, virtualDesktop, primary);
}

void TTransparentForm::SetCoverage(OverlayCoverage coverage) {
    Covered = coverage;
    PlaceWindow();
}

void TTransparentForm::FormDisplayChange() {
    PlaceWindow();
}

void TTransparentForm::PlaceWindow() {
    if (!Handle())
        return;
    const RECT bounds = CoveredBounds();
    RECT now{};
    ::GetWindowRect(Handle(), &now);
    if (!::EqualRect(&now, &bounds))
        ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    if (bounds.left == WindowOrigin.x && bounds.top == WindowOrigin.y && size.cx == ImageSize.cx &&
        size.cy == ImageSize.cy)
        return;
    WindowOrigin = POINT{bounds.left, bounds.top};
    ImageSize = size;
    // A picture of the new size and place; everything is painted anew.
    Image = ui::PixelPicture();
    Engine->Forget();
    ScheduleRepaint();
}

void TTransparentForm::ClipPicture(HRGN screenRegion) {
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

HDC TTransparentForm::ImageCanvasDC() {
    // Items paint in screen coordinates; the canvas may fill its pixels directly.
    if (!Image)
        Image = ui::MakePixelPicture(ImageSize, WindowOrigin);
    return Image.dc.Get();
}

void TTransparentForm::RedrawTimerTimer() {
    RedrawTimer.SetEnabled(false);
    RebuildWindowShape();
}

// Snow falling where the pointer rests would show for one check and hide at
// the next, and hiding it repaints the whole drift around it. So an autohide
// item not yet painted whose box holds the pointer is painted into a picture of one
// pixel, which gives it its area, and hides at once when the pointer lies in it.
void TTransparentForm::HideNewItemsUnderPointer() {
    POINT pos{};
    if (!Items || !::GetCursorPos(&pos))
        return;
    ui::PixelPicture scratch;
    for (TTransparentFormObject& item : *Items) {
        // Never painted: it has no area yet.
        const bool isNew = !item.ScreenObject || !item.ScreenObject->Region;
        RECT box;
        if (!isNew || !item.AutoHide || item.AutoHidden || !item.ScreenObject ||
            !PaintsExactArea(*item.ScreenObject, box) || !::PtInRect(&box, pos))
            continue;
        if (!scratch && !(scratch = ui::MakePixelPicture(SIZE{1, 1})))
            return;
        ui::Canvas canvas(scratch.dc.Get());
        canvas.SetPixels(scratch.pixels);
        // The area is that of the whole window, as a repaint gives it.
        canvas.SetBounds(RECT{WindowOrigin.x, WindowOrigin.y, WindowOrigin.x + ImageSize.cx,
                              WindowOrigin.y + ImageSize.cy});
        PaintObjectArea(*item.ScreenObject, canvas); // the object keeps its area
        if (item.ScreenObject->ContainsPoint(pos)) {
            item.AutoHidden = true;
            NotifyStatusChanged(item.ID, STATUSCHANGED_AUTOHIDE);
        }
    }
}

void TTransparentForm::RebuildWindowShape() {
    if (!Items && !DemoItems)
        return;
    ++Rebuilds;
    HideNewItemsUnderPointer();
    HDC dc = ImageCanvasDC();
    if (!dc) {
        // No picture (a window of no size): nothing shows.
        Engine->Forget();
        if (Handle())
            HandRegionToSystem(ui::MakeEmptyRegion(), TRUE);
        return;
    }
    ui::Canvas canvas(dc);
    canvas.SetPixels(Image.pixels);
    const TRepaintScene scene{Items ? &*Items : nullptr, DemoItems ? &*DemoItems : nullptr,
                              !IsDialogVisible(), ImageSize, WindowOrigin};
    TRepaintResult result =
        Engine->Rebuild(scene, canvas, [this](HRGN region) { ClipPicture(region); });
    ClipPicture(nullptr);
    if (Engine->SystemDraws()) {
        if (Handle()) {
            SetShape(TRUE);
            // The picture changed too: a new shape alone does not always
            // repaint what lies inside it.
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        return;
    }
    if (result.ShapeChanged)
        SetShape(FALSE);
    if (result.CopyAll)
        Present(nullptr);
    else if (result.Copy)
        Present(result.Copy.Get());
}

void TTransparentForm::SetRepaintEngine(std::unique_ptr<TRepaintEngine> engine) {
    if (!engine)
        return;
    Engine = std::move(engine);
    Engine->Forget();
}

void TTransparentForm::SetShape(BOOL redraw) {
    if (!Handle())
        return;
    // The system takes over the region it is given: it gets a copy. It is
    // not asked to redraw: with a shape of thousands of rectangles, redrawing
    // the window and everything below it costs far more than the change.
    ui::Region copy = ui::MakeEmptyRegion();
    ::CombineRgn(copy.Get(), Engine->Shape().Get(), nullptr, RGN_COPY);
    HandRegionToSystem(std::move(copy), redraw);
}

void TTransparentForm::HandRegionToSystem(ui::Region region, BOOL redraw) {
    if (!region)
        region = ui::MakeEmptyRegion();
    for (const RECT& hole : Holes) {
        ui::Region cut(::CreateRectRgnIndirect(&hole));
        ::CombineRgn(region.Get(), region.Get(), cut.Get(), RGN_DIFF);
    }
    if (ui::Region limited = LimitShapeRectangles(region.Get()))
        region = std::move(limited);
    // The window's shape is in its own coordinates.
    ::OffsetRgn(region.Get(), -WindowOrigin.x, -WindowOrigin.y);
    if (::SetWindowRgn(Handle(), region.Get(), redraw))
        region.Release(); // the system owns it now
}

void TTransparentForm::Present(HRGN area) {
    if (!Handle() || !Image)
        return;
    if (!Presenter.Ready()) {
        ::InvalidateRgn(Handle(), area, FALSE);
        return;
    }
    // Only what lies inside the shape shows, and every copy is clipped to
    // the piece of the shape it covers.
    std::vector<RECT> rects, shape;
    const size_t shapeRects = ui::RegionRectCount(Engine->Shape().Get());
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
        rects.push_back(RECT{WindowOrigin.x, WindowOrigin.y, WindowOrigin.x + ImageSize.cx,
                             WindowOrigin.y + ImageSize.cy});
    }
    // The area is in screen coordinates, the copies in the window's.
    for (std::vector<RECT>* list : {&rects, &shape})
        for (RECT& r : *list)
            ::OffsetRect(&r, -WindowOrigin.x, -WindowOrigin.y);
    Presenter.Copy(Engine->ShownPicture(Image.dc.Get()), WindowOrigin, rects, shape, shapeRects,
                   ImageSize);
}

std::vector<ZOrderEntry>
TTransparentForm::OwnWindowsSlippedBelow(const std::vector<ZOrderEntry>& above) const {
    std::vector<ZOrderEntry> slipped;
    const DWORD process = ::GetCurrentProcessId();
    for (HWND w : OwnAbove) {
        auto listed = [w](const ZOrderEntry& e) { return e.handle == w; };
        if (std::any_of(above.begin(), above.end(), listed) || !::IsWindow(w))
            continue;
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        // A window the program made an ordinary one again was lowered on purpose.
        const bool stayOnTop = (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
        ZOrderEntry entry{w, ::IsWindowVisible(w) != FALSE && stayOnTop, owner == process};
        if (entry.visible && entry.ownProcess) {
            ::GetWindowRect(w, &entry.bounds);
            slipped.push_back(entry);
        }
    }
    return slipped;
}

// Every restack costs: under a window manager each one becomes a round of
// state and configure messages for the whole full-screen window. So the
// z-order is only read, and changed when another program's window has come
// above the overlay (or at the first tick, which shows the window).
void TTransparentForm::KeepInFront() {
    HWND self = Handle();
    if (!self)
        return;
    FrontPlan plan;
    const bool topmost = (::GetWindowLongPtrW(self, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (::IsWindowVisible(self) && topmost) {
        std::vector<ZOrderEntry> above;
        const DWORD process = ::GetCurrentProcessId();
        // Bounded: the list of windows may change under the walk.
        constexpr int MaxWalk = 4096;
        int steps = 0;
        for (HWND w = ::GetWindow(self, GW_HWNDPREV); w && steps < MaxWalk;
             w = ::GetWindow(w, GW_HWNDPREV), ++steps) {
            DWORD owner = 0;
            ::GetWindowThreadProcessId(w, &owner);
            ZOrderEntry entry{w, ::IsWindowVisible(w) != FALSE, owner == process};
            if (entry.ownProcess && entry.visible)
                ::GetWindowRect(w, &entry.bounds);
            above.push_back(entry);
        }
        std::reverse(above.begin(), above.end());
        std::vector<ZOrderEntry> slipped;
        if (Platform.ownWindowsSlipBelow)
            slipped = OwnWindowsSlippedBelow(above);
        plan = PlanFront(above, slipped);
        OwnAbove.clear();
        for (const std::vector<ZOrderEntry>* list : {&above, &slipped})
            for (const ZOrderEntry& w : *list)
                if (w.ownProcess && w.visible)
                    OwnAbove.push_back(w.handle);
    } else {
        plan.restack = true;
        OwnAbove.clear();
    }
    auto same = [](const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; };
    if (!std::equal(plan.holes.begin(), plan.holes.end(), Holes.begin(), Holes.end(), same)) {
        const std::vector<RECT> before = std::move(Holes);
        Holes = plan.holes;
        if (Engine->ShapeCurrent()) {
            SetShape(FALSE);
            // What changed under an own window never reached the screen there.
            ui::RegionUnion uncovered;
            for (const RECT& hole : before)
                uncovered.Push(ui::Region(::CreateRectRgnIndirect(&hole)));
            ui::Region area = uncovered.Finish();
            RECT box;
            if (::GetRgnBox(area.Get(), &box) > NULLREGION)
                Present(area.Get());
        } else {
            ScheduleRepaint();
        }
    }
    if (!plan.restack)
        return;
    ::SetWindowPos(self, HWND_TOPMOST, 0, 0, 0, 0, FrontWindowPosFlags);
    for (auto w = plan.raiseAgain.rbegin(); w != plan.raiseAgain.rend(); ++w)
        ::SetWindowPos(*w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
