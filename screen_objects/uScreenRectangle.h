// TScreenRectangle: the axis-parallel rectangle with vertices 1 and 2 as
// opposite corners, outlined or filled in LineColor.
#pragma once

#include "screen_objects/uScreenLine.h"

class TScreenRectangle : public TScreenLine {
public:
    TScreenRectangle();

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    // Judged by the nearest corner, inside Bounds only; distance truncated.
    bool HitTest(POINT point, int32_t maxDistance, int32_t& distance) override;
    bool FindHandle(POINT point, int32_t maxDistance, POINT& handle, int32_t& distance) override;
    // The grabbed corner becomes vertex 2, the opposite one vertex 1.
    int32_t BeginDrag(uint8_t mode, int32_t x, int32_t y) override;
    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    void GetInfoText(std::wstring& text) override;

    // The vertex rectangle with left <= right and top <= bottom.
    void GetNormalizedRect(RECT& rect) const;
};
