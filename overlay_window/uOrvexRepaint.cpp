#include "overlay_window/uOrvexRepaint.h"

#include "overlay_window/uOrvexItemShapes.h"
#include "ui/RegionUnion.h"

#include <algorithm>
#include <vector>

namespace {

// Pen strokes and markers may reach this far (plus the line width) beyond
// the area a shape adds to the window shape.
constexpr int32_t PaintSpillMargin = 3;

constexpr size_t NoIndex = static_cast<size_t>(-1);

bool IsEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

RECT RegionBox(HRGN region) {
    RECT box{0, 0, 0, 0};
    if (!region || ::GetRgnBox(region, &box) <= NULLREGION)
        return RECT{0, 0, 0, 0};
    return box;
}

// Compared by difference both ways: an exclusive-or of two equal regions
// does not always come out empty on every system.
bool SameRegion(HRGN a, HRGN b) {
    ui::Region rest = ui::MakeEmptyRegion();
    return ::CombineRgn(rest.Get(), a, b, RGN_DIFF) == NULLREGION &&
           ::CombineRgn(rest.Get(), b, a, RGN_DIFF) == NULLREGION;
}

// Notes what the item's paint, which added `area`, left: where it may have
// drawn (exactly box when exact), and whether it drew that area and nothing else.
void RecordPaint(TTransparentFormObject& item, HRGN area, bool exact, RECT box) {
    if (!exact) {
        const TScreenObject& object = *item.ScreenObject;
        box = RegionBox(area);
        if (!IsEmpty(object.Bounds))
            ::UnionRect(&box, &box, &object.Bounds);
        const int32_t margin = PaintSpillMargin + std::clamp(object.LineWidth, 1, 1 << 16);
        ::InflateRect(&box, margin, margin);
    }
    item.Paint.Box = box;
    item.Paint.Exact = exact;
    item.Paint.Shown = !IsEmpty(RegionBox(area));
    item.Paint.Dirty = false;
}

// The incremental engine: paints what changed since the last rebuild.
class TIncrementalRepaint : public TRepaintEngine {
public:
    TRepaintResult Rebuild(const TRepaintScene& scene, ui::Canvas& canvas,
                           const TPictureClip& clip) override;
    void ItemRemoved(const TTransparentFormObject& item) override {
        if (!IsEmpty(item.Paint.Box))
            damage_.push_back(item.Paint.Box);
    }
    void Forget() override { shapeValid_ = false; }
    bool ShapeCurrent() const override { return shapeValid_; }
    void ForgetPaint(TTransparentFormObject& item);
    void RebuildEverything(ui::Canvas& canvas);
    // Paints every shown item of the list and returns the union of their
    // areas; boxes, when given, receives where each drew.
    ui::Region PaintInFull(TItemList& list, ui::Canvas& canvas, std::vector<RECT>* boxes);
    bool RebuildIncremental(ui::Canvas& canvas);
    void RebuildOcclusion(ui::Canvas& canvas, const std::vector<size_t>& dirty, size_t firstClean);
    void RebuildDamaged(ui::Canvas& canvas);

    const ui::Region& Shape() const override { return layer_ ? shown_ : shape_; }
    HDC ShownPicture(HDC ordinary) const override {
        return layer_ ? layer_->picture.dc.Get() : ordinary;
    }

private:
    // The demonstration layer: the ordinary picture with the demonstration
    // items over it, and where they drew at its last rebuild.
    struct TLayer {
        ui::PixelPicture picture;
        ui::Region demoShape;
        std::vector<RECT> boxes;
    };
    void RebuildOrdinary(ui::Canvas& canvas);
    void RebuildLayer(HDC ordinary);
    bool MakeLayer();
    void CopyBoxes(const std::vector<RECT>& boxes);
    // Adds where after holds what before does not (all of after when before is null).
    void CopyGrowth(HRGN before, HRGN after);

    // Whether item i of the list, as it is now, paints exactly its area, and
    // the box that holds it: asked of an ordinary item once per rebuild.
    bool ComingExact(const TItemList& list, size_t i, RECT& box);
    // Paints item i of the list in full and notes what the paint left.
    ui::Region PaintItem(TItemList& list, size_t i, ui::Canvas& canvas);

    struct TComing {
        bool known = false, exact = false;
        RECT box{0, 0, 0, 0};
    };
    TRepaintScene scene_;
    TPictureClip clip_;
    std::vector<TComing> coming_; // by index in the ordinary list, for this rebuild
    TRepaintResult result_;
    bool shapeValid_ = false;
    ui::Region shape_;
    std::vector<RECT> damage_;
    std::unique_ptr<TLayer> layer_;
    ui::Region shown_;          // the shape handed over while the layer shows
    bool layerOrdinary_ = true; // whether that shape holds the ordinary one
};

TRepaintResult TIncrementalRepaint::Rebuild(const TRepaintScene& scene, ui::Canvas& canvas,
                                            const TPictureClip& clip) {
    scene_ = scene;
    clip_ = clip;
    coming_.assign(scene.Items ? scene.Items->size() : 0, TComing{});
    result_ = TRepaintResult{};
    ++stats_.Rebuilds;
    // While the library dialog hides them, the ordinary items wait: their
    // picture and shape stay as they were for when it closes.
    if (scene.OrdinaryShown)
        RebuildOrdinary(canvas);
    const bool layered = !scene.OrdinaryShown || (scene.DemoItems && !scene.DemoItems->empty());
    if (layered) {
        RebuildLayer(canvas.Handle());
    } else if (layer_) {
        // Back to the ordinary picture: it is copied where the demonstration
        // items showed and where the shape grows (the system keeps nothing
        // of what lay outside a window's shape).
        CopyBoxes(layer_->boxes);
        CopyGrowth(shown_.Get(), shape_.Get());
        layer_.reset();
        shown_.Reset();
        result_.ShapeChanged = true;
    }
    clip_(nullptr);
    return std::move(result_);
}

void TIncrementalRepaint::RebuildOrdinary(ui::Canvas& canvas) {
    if (!shapeValid_ || !RebuildIncremental(canvas))
        RebuildEverything(canvas);
}

void TIncrementalRepaint::CopyGrowth(HRGN before, HRGN after) {
    if (result_.CopyAll || !after)
        return;
    ui::Region grown = ui::MakeEmptyRegion();
    if (!before)
        ::CombineRgn(grown.Get(), after, nullptr, RGN_COPY);
    else if (::CombineRgn(grown.Get(), after, before, RGN_DIFF) == NULLREGION)
        return;
    if (!result_.Copy)
        result_.Copy = std::move(grown);
    else
        ::CombineRgn(result_.Copy.Get(), result_.Copy.Get(), grown.Get(), RGN_OR);
}

void TIncrementalRepaint::CopyBoxes(const std::vector<RECT>& boxes) {
    if (result_.CopyAll || boxes.empty())
        return;
    if (!result_.Copy)
        result_.Copy = ui::MakeEmptyRegion();
    for (const RECT& box : boxes) {
        ui::Region part(::CreateRectRgnIndirect(&box));
        ::CombineRgn(result_.Copy.Get(), result_.Copy.Get(), part.Get(), RGN_OR);
    }
}

bool TIncrementalRepaint::MakeLayer() {
    const SIZE size = scene_.PictureSize;
    const POINT origin = scene_.Origin;
    if (layer_) {
        const ui::PixelAccess& now = layer_->picture.pixels;
        if (now.width == size.cx && now.height == size.cy && now.origin.x == origin.x &&
            now.origin.y == origin.y)
            return true;
    }
    auto layer = std::make_unique<TLayer>();
    layer->picture = ui::MakePixelPicture(size, origin);
    if (!layer->picture)
        return false;
    layer_ = std::move(layer);
    result_.CopyAll = true; // a new picture: all of it shows anew
    return true;
}

void TIncrementalRepaint::RebuildLayer(HDC ordinary) {
    std::vector<RECT> before;
    if (layer_)
        before = std::move(layer_->boxes);
    if (!MakeLayer()) {
        layer_.reset();
        return;
    }
    TLayer& layer = *layer_;
    // The ordinary picture beneath (what it holds outside the ordinary shape
    // never shows), then every demonstration item in full: they are few.
    const ui::PixelAccess& pixels = layer.picture.pixels;
    ::BitBlt(layer.picture.dc.Get(), pixels.origin.x, pixels.origin.y, pixels.width, pixels.height,
             ordinary, pixels.origin.x, pixels.origin.y, SRCCOPY);
    ui::Canvas canvas(layer.picture.dc.Get());
    canvas.SetPixels(pixels);
    ui::Region demoShape = scene_.DemoItems ? PaintInFull(*scene_.DemoItems, canvas, &layer.boxes)
                                            : ui::MakeEmptyRegion();
    const bool demoSame = layer.demoShape && SameRegion(layer.demoShape.Get(), demoShape.Get());
    layer.demoShape = std::move(demoShape);

    ui::Region shown = ui::MakeEmptyRegion();
    if (scene_.OrdinaryShown && shape_)
        ::CombineRgn(shown.Get(), shape_.Get(), nullptr, RGN_COPY);
    ::CombineRgn(shown.Get(), shown.Get(), layer.demoShape.Get(), RGN_OR);
    // The shape differs when the ordinary one changed, the demonstration
    // items' did, or the dialog came or went.
    const bool ordinaryHere = shown_ && scene_.OrdinaryShown == layerOrdinary_;
    if (result_.ShapeChanged || !demoSame || !ordinaryHere)
        result_.ShapeChanged = true;
    layerOrdinary_ = scene_.OrdinaryShown;
    // Coming from the ordinary picture, the ordinary rebuild copied its own
    // growth; between layered rebuilds the ordinary shape may come back.
    if (shown_)
        CopyGrowth(shown_.Get(), shown.Get());
    shown_ = std::move(shown);
    CopyBoxes(before);
    CopyBoxes(layer.boxes);
}

void TIncrementalRepaint::ForgetPaint(TTransparentFormObject& item) {
    item.Paint.Shown = false;
    item.Paint.Exact = true;
    item.Paint.Box = RECT{0, 0, 0, 0};
    item.Paint.Dirty = false;
}

bool TIncrementalRepaint::ComingExact(const TItemList& list, size_t i, RECT& box) {
    const TScreenObject* object = list[i].ScreenObject.get();
    if (&list != scene_.Items || i >= coming_.size()) {
        box = RECT{0, 0, 0, 0};
        return !object || PaintsExactArea(*object, box);
    }
    TComing& coming = coming_[i];
    if (!coming.known) {
        coming.exact = !object || PaintsExactArea(*object, coming.box);
        coming.known = true;
    }
    box = coming.box;
    return coming.exact;
}

ui::Region TIncrementalRepaint::PaintItem(TItemList& list, size_t i, ui::Canvas& canvas) {
    TTransparentFormObject& item = list[i];
    ui::Region area = PaintObjectArea(*item.ScreenObject, canvas);
    ++stats_.ItemPaints;
    RECT box;
    const bool exact = ComingExact(list, i, box);
    RecordPaint(item, area.Get(), exact, box);
    return area;
}

ui::Region TIncrementalRepaint::PaintInFull(TItemList& list, ui::Canvas& canvas,
                                            std::vector<RECT>* boxes) {
    ui::RegionUnion all;
    for (size_t i = 0; i < list.size(); ++i) {
        TTransparentFormObject& item = list[i];
        if (item.AutoHidden || !item.ScreenObject) {
            ForgetPaint(item);
            continue;
        }
        ui::Region area = PaintItem(list, i, canvas);
        if (boxes && !IsEmpty(item.Paint.Box))
            boxes->push_back(item.Paint.Box);
        all.Push(std::move(area));
    }
    return all.Finish();
}

void TIncrementalRepaint::RebuildEverything(ui::Canvas& canvas) {
    ++stats_.Everything;
    clip_(nullptr);
    shape_ = scene_.Items ? PaintInFull(*scene_.Items, canvas, nullptr) : ui::MakeEmptyRegion();
    damage_.clear();
    shapeValid_ = true;
    result_.ShapeChanged = true;
    result_.CopyAll = true;
}

bool TIncrementalRepaint::RebuildIncremental(ui::Canvas& canvas) {
    if (!scene_.Items || !shape_)
        return false;
    TItemList& list = *scene_.Items;
    std::vector<size_t> dirty;
    size_t firstClean = NoIndex, lastClean = NoIndex;
    bool cleanExact = true;
    for (size_t i = 0; i < list.size(); ++i) {
        const TTransparentFormObject& item = list[i];
        if (item.Paint.Dirty) {
            dirty.push_back(i);
        } else if (item.Paint.Shown) {
            if (firstClean == NoIndex)
                firstClean = i;
            lastClean = i;
            cleanExact = cleanExact && item.Paint.Exact;
        }
    }
    if (dirty.empty() && damage_.empty())
        return true; // nothing to paint, the shape stands

    // Painting only parts of the picture is sound when every item paints
    // exactly its area: then each pixel of the shape shows the last item
    // over it, whatever the picture held before. Outlines, lines and markers
    // draw beside their areas or leave some of them unpainted, so with them
    // everything is painted again.
    if (!cleanExact)
        return false;
    for (size_t i : dirty) {
        const TTransparentFormObject& item = list[i];
        RECT box;
        if ((!IsEmpty(item.Paint.Box) && !item.Paint.Exact) || !ComingExact(list, i, box))
            return false;
    }
    // When nothing was removed and each changed item is new and lies above
    // or below all the others, the picture only gains: each new item shows
    // where nothing above it lies.
    bool gains = damage_.empty();
    for (size_t i : dirty) {
        if (!gains)
            break;
        const TTransparentFormObject& item = list[i];
        if (!IsEmpty(item.Paint.Box)) {
            gains = false; // it drew before: that must go
            break;
        }
        if (item.AutoHidden || !item.ScreenObject)
            continue;
        RECT box;
        ComingExact(list, i, box);
        const bool below = firstClean == NoIndex || i < firstClean;
        const bool above = lastClean == NoIndex || i > lastClean;
        if (!IsEmpty(box) && !below && !above)
            gains = false;
    }
    if (gains) {
        ++stats_.Gains;
        RebuildOcclusion(canvas, dirty, firstClean);
    } else {
        ++stats_.Damaged;
        RebuildDamaged(canvas);
    }
    return true;
}

void TIncrementalRepaint::RebuildOcclusion(ui::Canvas& canvas, const std::vector<size_t>& dirty,
                                           size_t firstClean) {
    HDC dc = canvas.Handle();
    TItemList& list = *scene_.Items;
    // New items above all others: in paint order, in full.
    ::SelectClipRgn(dc, nullptr);
    ui::RegionUnion above;
    std::vector<size_t> below;
    for (size_t i : dirty) {
        TTransparentFormObject& item = list[i];
        if (item.AutoHidden || !item.ScreenObject) {
            ForgetPaint(item);
            continue;
        }
        if (firstClean != NoIndex && i < firstClean) {
            below.push_back(i);
            continue;
        }
        ui::Region area = PaintItem(list, i, canvas);
        if (item.Paint.Shown)
            above.Push(std::move(area));
    }
    ui::Region gained = above.Finish();

    // New items below all others, from the top down: each shows only where
    // nothing above it lies. What lies above is looked at only within their
    // boxes: every operation with the whole shape walks all its thousands of
    // rectangles.
    if (!below.empty()) {
        ui::RegionUnion boxes;
        for (size_t i : below) {
            RECT box;
            ComingExact(list, i, box);
            boxes.Push(ui::Region(::CreateRectRgnIndirect(&box)));
        }
        ui::Region covered = boxes.Finish();
        ::CombineRgn(covered.Get(), covered.Get(), shape_.Get(), RGN_AND);
        ::CombineRgn(covered.Get(), covered.Get(), gained.Get(), RGN_OR);
        for (auto it = below.rbegin(); it != below.rend(); ++it) {
            RECT box;
            ComingExact(list, *it, box);
            ui::Region visible(::CreateRectRgnIndirect(&box));
            ::CombineRgn(visible.Get(), visible.Get(), covered.Get(), RGN_DIFF);
            clip_(visible.Get());
            ui::Region area = PaintItem(list, *it, canvas);
            if (::CombineRgn(visible.Get(), visible.Get(), area.Get(), RGN_AND) > NULLREGION) {
                ::CombineRgn(covered.Get(), covered.Get(), visible.Get(), RGN_OR);
                ::CombineRgn(gained.Get(), gained.Get(), visible.Get(), RGN_OR);
            }
        }
    }
    clip_(nullptr);

    RECT box;
    if (::GetRgnBox(gained.Get(), &box) <= NULLREGION)
        return; // nothing new shows: the picture on screen and the shape stand
    ui::Region grown = ui::MakeEmptyRegion();
    if (::CombineRgn(grown.Get(), gained.Get(), shape_.Get(), RGN_DIFF) > NULLREGION) {
        ::CombineRgn(shape_.Get(), shape_.Get(), grown.Get(), RGN_OR);
        result_.ShapeChanged = true;
    }
    result_.Copy = std::move(gained);
}

void TIncrementalRepaint::RebuildDamaged(ui::Canvas& canvas) {
    TItemList& list = *scene_.Items;
    // The damage: where removed and changed items drew, and where changed
    // items draw now.
    ui::Region damage = ui::MakeEmptyRegion();
    auto damageRect = [&](const RECT& r) {
        if (IsEmpty(r))
            return;
        ui::Region part(::CreateRectRgnIndirect(&r));
        ::CombineRgn(damage.Get(), damage.Get(), part.Get(), RGN_OR);
    };
    for (const RECT& r : damage_)
        damageRect(r);
    damage_.clear();
    for (const TTransparentFormObject& item : list)
        if (item.Paint.Dirty)
            damageRect(item.Paint.Box);

    // In paint order: changed items in full, the others within the damage.
    std::vector<ui::Region> areas(list.size());
    clip_(damage.Get());
    for (size_t i = 0; i < list.size(); ++i) {
        TTransparentFormObject& item = list[i];
        if (item.AutoHidden || !item.ScreenObject) {
            if (item.Paint.Dirty)
                ForgetPaint(item);
            continue;
        }
        if (item.Paint.Dirty) {
            clip_(nullptr);
            areas[i] = PaintItem(list, i, canvas);
            damageRect(item.Paint.Box);
            clip_(damage.Get());
        } else if (!IsEmpty(item.Paint.Box) && ::RectInRegion(damage.Get(), &item.Paint.Box)) {
            areas[i] = PaintItem(list, i, canvas);
        }
    }
    clip_(nullptr);

    // Outside the damage the shape stands; inside it is the union of the
    // areas that lie there now.
    ui::RegionUnion inside;
    for (size_t i = 0; i < list.size(); ++i) {
        TTransparentFormObject& item = list[i];
        if (!item.Paint.Shown || !::RectInRegion(damage.Get(), &item.Paint.Box))
            continue;
        HRGN area = areas[i] ? areas[i].Get() : item.ScreenObject->Region.Get();
        if (!area)
            continue;
        ui::Region part = ui::MakeEmptyRegion();
        ::CombineRgn(part.Get(), area, damage.Get(), RGN_AND);
        inside.Push(std::move(part));
    }
    ui::Region now = inside.Finish();
    ui::Region before = ui::MakeEmptyRegion();
    ::CombineRgn(before.Get(), shape_.Get(), damage.Get(), RGN_AND);
    if (!SameRegion(before.Get(), now.Get())) {
        ::CombineRgn(shape_.Get(), shape_.Get(), damage.Get(), RGN_DIFF);
        ::CombineRgn(shape_.Get(), shape_.Get(), now.Get(), RGN_OR);
        result_.ShapeChanged = true;
    }
    result_.Copy = std::move(damage);
}

} // namespace

std::unique_ptr<TRepaintEngine> MakeIncrementalRepaint() {
    return std::make_unique<TIncrementalRepaint>();
}
