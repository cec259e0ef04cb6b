// What the overlay window shows and where: the picture the items paint into,
// the window's shape, the copies of the picture to the screen, the part of
// the screen the window covers and its place in front of other windows.
//
// Invariants:
// - The picture has the size of the window's client area and lies where the
//   window lies: items paint in screen coordinates, and the picture's pixel
//   (0, 0) is the screen point Origin().
// - The shape the system has is the repaint engine's shape less the holes
//   (the own program's windows above the overlay), kept within the
//   platform's rectangle limit, in window coordinates.
// - Inside that shape the screen shows the shown picture: each rebuild copies
//   wherever the picture or the shape changed before it returns.
// - A new size or place of the window starts the picture afresh; the engine
//   forgets what it painted and the next rebuild paints everything.
#pragma once

#include "overlay_window/uOrvexFront.h"
#include "overlay_window/uOrvexItem.h"
#include "overlay_window/uOrvexPictureCopy.h"
#include "overlay_window/uOrvexPlacement.h"
#include "overlay_window/uOrvexPlatform.h"
#include "overlay_window/uOrvexRepaint.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

class TOverlayPresenter {
public:
    explicit TOverlayPresenter(const TPlatformMeasures& platform)
        : Platform(platform), Front(platform) {}

    // The window was made (the picture takes its client size) or is going.
    void Attach(HWND window);
    void Detach();
    // Called when a repaint is due that the presenter cannot do by itself.
    std::function<void()> OnRepaintNeeded;

    // What the window covers (the virtual desktop unless told otherwise); it
    // is placed anew at once and whenever the monitors change.
    void SetCoverage(OverlayCoverage coverage);
    OverlayCoverage Coverage() const { return Covered; }
    void Place();
    // The window's top left corner in screen coordinates, and where the
    // picture lies on the screen.
    POINT Origin() const { return WindowOrigin; }
    RECT Bounds() const;

    // Paints the lists (either may be absent; the ordinary items only when
    // ordinaryShown), hands a changed shape to the system and copies what
    // changed to the screen.
    void Rebuild(TItemList* items, TItemList* demo, bool ordinaryShown);
    // WM_PAINT: the screen gets the picture again.
    void Paint();
    // Shows the window above every other program's window; does nothing
    // while it is there already.
    void KeepInFront();

    void SetRepaintEngine(std::unique_ptr<TRepaintEngine> engine);
    void InvalidateShape() { Engine->Forget(); }
    // An ordinary item that may have painted is about to be removed.
    void ItemRemoved(const TTransparentFormObject& item) { Engine->ItemRemoved(item); }
    const TRepaintStats& Repaints() const { return Engine->Stats(); }
    HDC PictureDC() const { return Engine->ShownPicture(Image.dc.Get()); }
    long RebuildCount() const { return Rebuilds; }
    const TCopyCostEstimate& CopyCost() const { return Copier.CopyCost(); }

private:
    HDC ImageCanvasDC();
    RECT CoveredBounds() const;
    // Clips the picture to a region given in screen coordinates (null: no clip).
    void ClipPicture(HRGN screenRegion);
    // Hands a copy of the engine's shape to the system.
    void SetShape();
    // Hands a region in screen coordinates, less the holes, to the system,
    // which takes it over.
    void HandRegionToSystem(ui::Region region);
    // Copies the picture to the window where area lies (everywhere for null).
    void Present(HRGN area);
    void RepaintNeeded() {
        if (OnRepaintNeeded)
            OnRepaintNeeded();
    }

    const TPlatformMeasures& Platform;
    HWND Window = nullptr;
    SIZE ImageSize{0, 0};
    POINT WindowOrigin{0, 0};
    OverlayCoverage Covered = OverlayCoverage::VirtualDesktop;
    ui::PixelPicture Image;
    std::unique_ptr<TRepaintEngine> Engine = MakeIncrementalRepaint();
    TPictureCopier Copier;
    TFrontKeeper Front;
    // Where the own program's windows above the overlay lie (screen
    // coordinates): cut out of the shape handed to the system.
    std::vector<RECT> Holes;
    long Rebuilds = 0;
};
