// The repaint engine: paints the overlay's items into its picture and works
// out the window's shape. The window tells it what changed (an item's paint
// state marked dirty, an item about to be removed, everything forgotten) and
// asks for a rebuild; the rebuild hands back whether the shape changed and
// where the picture must be copied to the screen.
//
// Invariants of the incremental engine, between rebuilds:
// - Shape() is the union of the areas that the shown items, in paint order,
//   added at their last paint; each pixel of the shown picture inside it
//   shows the last item in paint order that covers it.
// - The screen keeps nothing outside the shape: where the shape grows, the
//   rebuild copies the picture there.
// - An item whose Paint.Dirty is false was painted by the last rebuild that
//   painted it, and its Paint.Box holds every pixel that paint may have
//   drawn (exactly its area when Paint.Exact).
// - Where a removed item drew is held as damage until the next rebuild.
// - While the library dialog is shown, or demonstration items exist, the
//   screen shows a second picture: the ordinary picture with the
//   demonstration items painted over it. The ordinary picture and its shape
//   are kept up to date beneath it (not while the dialog hides them), so
//   neither the dialog nor the demonstration items repaint the client's items.
// - Painting only part of the picture is done only when every item involved
//   paints exactly its area; otherwise the rebuild paints everything.
#pragma once

#include "overlay_window/uOrvexItem.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <functional>
#include <memory>

// What a rebuild paints: the lists (either may be absent), whether the
// ordinary items show (not while the library dialog is visible), and the
// picture's size and the screen point at its corner.
struct TRepaintScene {
    TItemList* Items = nullptr;
    TItemList* DemoItems = nullptr;
    bool OrdinaryShown = true;
    SIZE PictureSize{0, 0};
    POINT Origin{0, 0};
};

// What a rebuild leaves to the window.
struct TRepaintResult {
    bool ShapeChanged = false; // hand Shape() to the system
    bool CopyAll = false;      // copy the whole picture to the screen
    ui::Region Copy;           // else copy where this lies (null: nothing)
};

// Selects a clipping region, given in screen coordinates, on the picture
// (null: no clipping).
using TPictureClip = std::function<void(HRGN)>;

// How the rebuilds went: each incremental one painted everything, only the
// gains of new items, or the damaged area; item paints in all.
struct TRepaintStats {
    long Rebuilds = 0, Everything = 0, Gains = 0, Damaged = 0, ItemPaints = 0;
};

class TRepaintEngine {
public:
    virtual ~TRepaintEngine() = default;
    virtual TRepaintResult Rebuild(const TRepaintScene& scene, ui::Canvas& canvas,
                                   const TPictureClip& clip) = 0;
    // An ordinary item is about to be removed.
    virtual void ItemRemoved(const TTransparentFormObject&) {}
    // The next rebuild paints everything.
    virtual void Forget() {}
    // The shape of the last rebuild, in screen coordinates, and whether it
    // is current.
    virtual const ui::Region& Shape() const = 0;
    virtual bool ShapeCurrent() const = 0;
    // The picture the screen shows, given the window's (ordinary) picture.
    virtual HDC ShownPicture(HDC ordinary) const { return ordinary; }
    const TRepaintStats& Stats() const { return stats_; }

protected:
    TRepaintStats stats_;
};

std::unique_ptr<TRepaintEngine> MakeIncrementalRepaint();
