// TScreenEllipse: the ellipse through the four corners of the vertex
// rectangle; its semi-axes are sqrt(2) times the rectangle's half sides.
#pragma once

#include "screen_objects/uScreenRectangle.h"

class TScreenEllipse : public TScreenRectangle {
public:
    TScreenEllipse();

    // Also widens Bounds to the drawn (outer) rectangle, so that a click on
    // any drawn part of a large ellipse reaches it.
    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    // Semi-axes, Ramanujan's perimeter and the area of the drawn ellipse.
    void GetInfoText(std::wstring& text) override;

    // The bounding box of the drawn ellipse.
    void GetOuterRect(RECT& rect) const;
};

// The outer rectangle of the ellipse through the corners of the normalised rectangle n.
RECT EllipseOuterRect(const RECT& n);
