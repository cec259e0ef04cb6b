// TScreenSinglePoint: one vertex shown as a marker (cross, filled circle or
// filled square) in PointColor. Parent of the raster items.
#pragma once

#include "screen_objects/uScreenObject.h"

class TScreenSinglePoint : public TScreenObject {
public:
    TScreenSinglePoint();

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    // Distance to the vertex; the bounding box is not consulted.
    bool HitTest(POINT point, int32_t maxDistance, int32_t& distance) override;
    bool FindHandle(POINT point, int32_t maxDistance, POINT& handle, int32_t& distance) override;
    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    // "(x/y)"
    void GetInfoText(std::wstring& text) override;
};
