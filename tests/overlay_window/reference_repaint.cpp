#include "reference_repaint.h"

#include "overlay_window/uOrvexItemShapes.h"

namespace {

class TFullRepaint : public TRepaintEngine {
public:
    TRepaintResult Rebuild(const TRepaintScene& scene, ui::Canvas& canvas,
                           const TPictureClip& clip) override {
        ++stats_.Rebuilds;
        ++stats_.Everything;
        clip(nullptr);
        // One area after the other joins the shape, in paint order.
        shape_ = ui::MakeEmptyRegion();
        for (TItemList* list : {scene.OrdinaryShown ? scene.Items : nullptr, scene.DemoItems})
            if (list)
                for (TTransparentFormObject& item : *list)
                    if (!item.AutoHidden && item.ScreenObject) {
                        ui::Region area = PaintObjectArea(*item.ScreenObject, canvas);
                        ::CombineRgn(shape_.Get(), shape_.Get(), area.Get(), RGN_OR);
                    }
        TRepaintResult result;
        result.ShapeChanged = true;
        result.CopyAll = true;
        return result;
    }
    const ui::Region& Shape() const override { return shape_; }
    bool ShapeCurrent() const override { return true; }

private:
    ui::Region shape_ = ui::MakeEmptyRegion();
};

} // namespace

std::unique_ptr<TRepaintEngine> MakeFullRepaint() {
    return std::make_unique<TFullRepaint>();
}
