// TScreenLine: the straight line from vertex 1 (start) to vertex 2 (end),
// optionally extended across the primary screen (InfiniteLine).
#pragma once

#include "screen_objects/uScreenTwoPoints.h"

// Drag and hit distances below which a grab takes a vertex.
constexpr double GrabDistance = 20.0;

class TScreenLine : public TScreenTwoPoint {
public:
    TScreenLine();

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    // Judged by the nearer end point, inside Bounds only.
    bool HitTest(POINT point, int32_t maxDistance, int32_t& distance) override;
    bool FindHandle(POINT point, int32_t maxDistance, POINT& handle, int32_t& distance) override;
    // The grabbed end becomes vertex 2.
    int32_t BeginDrag(uint8_t mode, int32_t x, int32_t y) override;
    bool AppendPoint(int32_t x, int32_t y) override;
    void GetHint(bool english, std::wstring& text) override;
    void GetMenuCaption(bool english, std::wstring& text) override;
    void GetPlacementPrompt(bool english, int32_t step, std::wstring& text) override;
    void GetInfoText(std::wstring& text) override;
    bool LoadFromIni(const std::wstring& fileName, const std::wstring& section) override;
    void SaveToIni(const std::wstring& fileName, const std::wstring& section,
                   std::vector<std::wstring>* fileList) override;

    void SetInfiniteLine(bool value);
    // Recomputes the edge points from the vertices and the primary screen size.
    void UpdateScreenEdgePoints();

    bool InfiniteLine = false;
    POINT ScreenEdgeStart{0, 0};
    POINT ScreenEdgeEnd{0, 0};
};

// Where the line through p0 and p1 meets the borders of a width x height
// screen, borders tried top, bottom, left, right; a point already found (a
// corner) is not taken twice. With fewer than two such points the line falls
// back to p0 and p1. Returns the number of border points found.
int32_t ScreenEdgePoints(POINT p0, POINT p1, int32_t width, int32_t height, POINT& start,
                         POINT& end);
