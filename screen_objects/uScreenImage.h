// TScreenImage: a picture on top of the screen with one colour treated as
// transparent. Only the other pixels are drawn and only they belong to the
// item's region, so clicks on the transparent parts reach what lies below.
//
// The pixel-exact region is built once and cached in Region; any change of
// picture, transparent colour, alignment or position drops it (FreeRegion) and
// the next Paint builds it again. While dragged (DragMode not 0) the picture is
// drawn without transparency and covers its whole rectangle.
#pragma once

#include "screen_objects/uScreenSinglePoint.h"
#include "ui/Picture.h"

#include <windows.h>

#include <cstdint>
#include <string>

// Where vertex 1 sits on the picture.
constexpr uint8_t AlignLeading = 0;  // left or top edge
constexpr uint8_t AlignCenter = 1;   // centre
constexpr uint8_t AlignTrailing = 2; // right or bottom edge

// The picture rectangle for a vertex, picture size and alignment: left, top,
// right = centre x + w div 2, bottom = centre y + h div 2 (divisions cut toward
// zero). The picture itself is drawn w x h from (left, top).
RECT ImageRect(POINT vertex, int32_t width, int32_t height, uint8_t horzAlign, uint8_t vertAlign);

// Moves one coordinate of a proposed vertex so a picture of `size` pixels lies
// within 0..desktop; the lower limit is tested first, so a picture larger than
// the desktop ends at the upper one. Unknown alignments leave it unchanged.
int32_t ClampCoordinate(int32_t value, int32_t size, int32_t desktop, uint8_t align);

// The union of the picture's pixels that differ from `transparent`, each pixel
// (i, j) covering (left + i, top + j) .. (left + i + 1, top + j + 1). Built from
// horizontal runs of opaque pixels, handed to the system in chunks.
ui::Region BuildPictureRegion(const uint32_t* pixels, int32_t width, int32_t height,
                              COLORREF transparent, int32_t left, int32_t top);
// The same region built one pixel at a time (the slow reference).
ui::Region BuildPictureRegionPixelByPixel(const uint32_t* pixels, int32_t width, int32_t height,
                                          COLORREF transparent, int32_t left, int32_t top);

class TScreenImage : public TScreenSinglePoint {
public:
    TScreenImage();

    HRGN Paint(ui::Canvas& canvas, HRGN region, bool selected) override;
    // True exactly when the point lies in the cached region (distance 0).
    bool HitTest(POINT point, int32_t maxDistance, int32_t& distance) override;
    int32_t EndDrag(int32_t x, int32_t y) override;
    bool AppendPoint(int32_t x, int32_t y) override;
    bool MoveCurrentPoint(int32_t x, int32_t y) override;
    void GetInfoText(std::wstring& text) override;
    bool LoadFromIni(const std::wstring& fileName, const std::wstring& section) override;
    void SaveToIni(const std::wstring& fileName, const std::wstring& section,
                   std::vector<std::wstring>* fileList) override;

    // The item keeps its own copy; the caller keeps the source (a bitmap
    // handle must not be selected into a device context meanwhile).
    void SetPicture(HBITMAP source);
    void SetPicture(const ui::Picture& source);
    // Takes the picture over without copying.
    void SetPicture(ui::Picture&& source);
    void SetTransparentColor(COLORREF color);
    // Keeps the picture where it is on the screen by moving vertex 1.
    void SetHorzAlign(uint8_t align);
    void SetVertAlign(uint8_t align);
    // Moves a proposed vertex so the picture lies inside the virtual desktop;
    // does nothing without a picture.
    void ClampToScreen(int32_t& x, int32_t& y) const;
    void FreeRegion();

    // The picture rectangle at the current vertex (see ImageRect).
    RECT PictureRect() const;

    COLORREF TransparentColor = RGB(0, 0, 0);
    uint8_t HorzAlign = AlignCenter;
    uint8_t VertAlign = AlignCenter;
    ui::Picture Picture;

protected:
    // The texts bitmaps and captions share; only the first line names the kind.
    // The hint: the delete line and the move line (with ShowMouseHelp), then
    // the user's hint.
    std::wstring RasterHint(bool english, const wchar_t* englishDelete,
                            const wchar_t* germanDelete) const;
    // Steps 1 and 2: where to click, then how to cancel; other steps: empty.
    static std::wstring RasterPlacementPrompt(bool english, int32_t step,
                                              const wchar_t* englishPlace,
                                              const wchar_t* germanPlace);

private:
    void ReplacePicture(ui::Picture&& picture);
};
