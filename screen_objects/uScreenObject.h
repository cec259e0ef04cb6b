// TScreenObject: the base of every drawable overlay item (points, lines,
// polylines, rectangles, ellipses, texts, bitmaps). It owns the vertices, the
// colours and flags, the region the item covered at its last paint and a
// bounding box used as a fast pre-test for the mouse.
//
// Vertices are numbered from 1 in texts and settings keys; Points[i - 1] holds
// vertex i. Texts use "\n\r" (line feed, carriage return) as the line break.
#pragma once

#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// Shape type codes, stored as the settings key "Type".
constexpr uint8_t TypeCodeObject = 0; // TScreenObject, TScreenTwoPoint
constexpr uint8_t TypeCodeSinglePoint = 1;
constexpr uint8_t TypeCodeLine = 2;
constexpr uint8_t TypeCodeRectangle = 3;
constexpr uint8_t TypeCodeEllipse = 5;
constexpr uint8_t TypeCodeFreehand = 6;
constexpr uint8_t TypeCodeBitmap = 8;
constexpr uint8_t TypeCodeText = 9;

// Which painting rule an object's class follows, for telling whether a paint
// covers exactly the area it adds: the class sets it (pictures and texts,
// rectangles, ellipses); every other object draws beside its area.
enum class TAreaKind : uint8_t { Other, Picture, Rectangle, Ellipse };

// The line break inside screen-object texts.
inline constexpr wchar_t LineBreak[] = L"\n\r";

class TScreenObject {
public:
    TScreenObject();
    virtual ~TScreenObject();
    TScreenObject(const TScreenObject&) = delete;
    TScreenObject& operator=(const TScreenObject&) = delete;

    // The fifteen operations every shape implements, in slot order.
    /* 0 */ virtual HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected);
    /* 1 */ virtual bool HitTest(POINT point, int32_t maxDistance, int32_t& distance);
    /* 2 */ virtual bool ContainsPoint(POINT point);
    /* 3 */ virtual bool FindHandle(POINT point, int32_t maxDistance, POINT& handle,
                                    int32_t& distance);
    /* 4 */ virtual int32_t BeginDrag(uint8_t mode, int32_t x, int32_t y);
    /* 5 */ virtual int32_t EndDrag(int32_t x, int32_t y);
    /* 6 */ virtual bool AppendPoint(int32_t x, int32_t y);
    /* 7 */ virtual bool MoveCurrentPoint(int32_t x, int32_t y);
    /* 8 */ virtual void GetHint(bool english, std::wstring& text);
    /* 9 */ virtual void GetMenuCaption(bool english, std::wstring& text);
    /* 10 */ virtual void GetPlacementPrompt(bool english, int32_t step, std::wstring& text);
    /* 11 */ virtual void GetInfoText(std::wstring& text);
    /* 12 */ virtual bool LoadFromIni(const std::wstring& fileName, const std::wstring& section);
    /* 13 */ virtual void SaveToIni(const std::wstring& fileName, const std::wstring& section,
                                    std::vector<std::wstring>* fileList);
    /* 14 */ virtual void SetFillColor(COLORREF color);

    void SetPointColor(COLORREF color) { PointColor = color; }
    void SetLineColor(COLORREF color) { LineColor = color; }
    void SetPointType(int32_t type) { PointType = type; }
    void SetVisible(bool visible) { Visible = visible; }
    // Keeps the marker size within 4..20.
    void SetPointSize(int32_t size);
    // Releases the vertices and allocates n new ones; PointCount is kept but
    // never left above n.
    void SetCapacity(int32_t n);
    // n > 0: min(n, Capacity); n <= 0: 1 (0 while nothing is allocated).
    void SetPointCount(int32_t n);
    void UpdateBounds();
    // Strictly inside Bounds.
    bool PointInBounds(POINT point) const;
    // Region := a new empty region, ORed with source when given; returns Region.
    HRGN ResetRegion(HRGN source);
    void SnapshotPoints();
    std::wstring AppendUserHint(const std::wstring& text) const;
    std::wstring FormatLength(const std::wstring& label, double value) const;
    // The usual hint: the mouse lines (each followed by a line break) when
    // ShowMouseHelp is on, then GetInfoText, then the user's own hint.
    std::wstring ComposeHint(std::initializer_list<const wchar_t*> mouseLines);

    // Vertex i, 1-based.
    POINT& Vertex(int32_t i) { return Points[static_cast<size_t>(i - 1)]; }
    const POINT& Vertex(int32_t i) const { return Points[static_cast<size_t>(i - 1)]; }

    // Fields, in declared order.
    uint8_t TypeCode = TypeCodeObject;
    ui::Region Region;
    std::vector<POINT> Points; // Capacity entries
    bool RelativePosition = true;
    int32_t Capacity = 0;
    int32_t PointCount = 0;
    RECT Bounds{0, 0, -10, -10};
    int32_t CurrentPoint = 0;
    std::vector<POINT> DragSnapshot; // empty when none
    bool Dragging = false;
    uint8_t DragMode = 0;
    bool ShowMouseHelp = true;
    bool Visible = true;
    int32_t PointType = 0;
    COLORREF PointColor = 0;
    COLORREF LineColor = 0;
    COLORREF FillColor = 0;
    int32_t PointSize = 1;
    int32_t LineWidth = 1;
    bool PolygonFilled = false;
    std::wstring UserHint;
    std::wstring ShellExApp;
    TAreaKind AreaKind = TAreaKind::Other; // set by the class
};

// Bounds margin around the vertices, in pixels.
constexpr int32_t BoundsMargin = 30;
// Relative vertex coordinates are stored in 1/RelativeScale of the desktop size.
constexpr int32_t RelativeScale = 100000;

// trunc(pixels / extent * RelativeScale), and back to the nearest pixel; an
// extent <= 0 gives 0 and results beyond the 32-bit range are clamped.
int32_t PixelsToRelative(int32_t pixels, int32_t extent);
int32_t RelativeToPixels(int32_t relative, int32_t extent);
// Size of the virtual desktop (all monitors), read anew at every call.
SIZE DesktopSize();

// Signed area of the closed polygon through the first count vertices.
int32_t PolygonArea(int32_t count, const POINT* vertices);
// Angle in radians, in (0, 2*pi], of the vector (-dx, dy).
double DirectionAngle(double dx, double dy);
