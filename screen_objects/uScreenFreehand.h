// TScreenFreehand: an open polyline of up to 100 vertices, drawn in the line
// colour and pen width. Samples offered to AppendPoint pass a filter that keeps
// corners and long straight runs and drops jitter and short collinear steps.
#pragma once

#include "screen_objects/uScreenObject.h"

#include <numbers>

constexpr int32_t FreehandCapacity = 100;
constexpr int32_t FreehandPointSize = 4;
// A sample must lie farther than this from the last vertex.
constexpr double FreehandMinStep = 4.0;
// A sample that keeps the direction is taken only farther than this.
constexpr double FreehandMaxStraightStep = 100.0;
// Directions that differ by more than this (5 degrees) make a corner.
constexpr double FreehandDirectionTolerance = std::numbers::pi / 36.0;
// BeginDrag grabs a vertex nearer than this.
constexpr double FreehandGrabDistance = 20.0;

// Whether the polyline with these vertices takes the sample (x, y).
bool FreehandTakesSample(const POINT* vertices, int32_t count, int32_t capacity, int32_t x,
                         int32_t y);
// Sum of the segment lengths, each truncated toward zero.
int32_t PolylineLength(const POINT* vertices, int32_t count);

class TScreenFreehand : public TScreenObject {
public:
    TScreenFreehand();

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    // Nearest vertex within maxDistance (segments do not count).
    bool HitTest(POINT point, int32_t maxDistance, int32_t& distance) override;
    bool FindHandle(POINT point, int32_t maxDistance, POINT& handle, int32_t& distance) override;
    // Grabs the highest-numbered vertex within FreehandGrabDistance.
    int32_t BeginDrag(uint8_t mode, int32_t x, int32_t y) override;
    // True when the sample became the new last vertex.
    bool AppendPoint(int32_t x, int32_t y) override;
    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    // Length and enclosed area.
    void GetInfoText(std::wstring& text) override;
};
