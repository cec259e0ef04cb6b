#include "screen_objects/uScreenImage.h"

#include "screen_objects/uGeometry.h"
#include "screen_objects/uIniValues.h"
#include "ui/RegionUnion.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// Offset from vertex 1 to the picture's centre along one axis.
int32_t CentreOffset(int32_t size, uint8_t align) {
    if (align == AlignLeading)
        return size / 2;
    if (align == AlignTrailing)
        return -(size / 2);
    return 0;
}

// Rectangles handed to ExtCreateRegion at once. Some systems refuse large
// sets, and some add the rectangles one union at a time (quadratic in the
// count), so sets stay small and a merge tree joins them.
constexpr size_t RegionChunkRects = 64;

// A region made of up to RegionChunkRects rectangles in one call.
ui::Region RegionFromRects(const RECT* rects, size_t count) {
    std::vector<uint8_t> buffer(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(count);
    data->rdh.nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
    RECT bound{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (size_t i = 0; i < count; ++i) {
        bound.left = std::min(bound.left, rects[i].left);
        bound.top = std::min(bound.top, rects[i].top);
        bound.right = std::max(bound.right, rects[i].right);
        bound.bottom = std::max(bound.bottom, rects[i].bottom);
    }
    data->rdh.rcBound = bound;
    std::copy(rects, rects + count, reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER)));
    ui::Region region(::ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
    if (region)
        return region;
    // The system refused the set: add the rectangles one by one.
    region = ui::MakeEmptyRegion();
    for (size_t i = 0; i < count; ++i) {
        ui::Region one(
            ::CreateRectRgn(rects[i].left, rects[i].top, rects[i].right, rects[i].bottom));
        ::CombineRgn(region.Get(), region.Get(), one.Get(), RGN_OR);
    }
    return region;
}

// Opaque runs of one row: pairs of start and end column.
using Runs = std::vector<std::pair<int32_t, int32_t>>;

void FindRuns(const uint32_t* row, int32_t width, uint32_t key, Runs& runs) {
    runs.clear();
    int32_t x = 0;
    while (x < width) {
        while (x < width && (row[x] & ui::PixelColorMask) == key)
            ++x;
        const int32_t start = x;
        while (x < width && (row[x] & ui::PixelColorMask) != key)
            ++x;
        if (x > start)
            runs.emplace_back(start, x);
    }
}

int32_t DesktopWidth() {
    return ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
}
int32_t DesktopHeight() {
    return ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

} // namespace

RECT ImageRect(POINT vertex, int32_t width, int32_t height, uint8_t horzAlign, uint8_t vertAlign) {
    const int32_t cx = vertex.x + CentreOffset(width, horzAlign);
    const int32_t cy = vertex.y + CentreOffset(height, vertAlign);
    return RECT{cx - width / 2, cy - height / 2, cx + width / 2, cy + height / 2};
}

int32_t ClampCoordinate(int32_t value, int32_t size, int32_t desktop, uint8_t align) {
    const int32_t half = size / 2;
    switch (align) {
    case AlignLeading:
        if (value < 0)
            value = 0;
        if (value + size > desktop)
            value = desktop - size;
        break;
    case AlignCenter:
        if (value - half < 0)
            value = half;
        if (value + half > desktop)
            value = desktop - half;
        break;
    case AlignTrailing:
        if (value - size < 0)
            value = size;
        if (value > desktop)
            value = desktop;
        break;
    default:
        break;
    }
    return value;
}

ui::Region BuildPictureRegion(const uint32_t* pixels, int32_t width, int32_t height,
                              COLORREF transparent, int32_t left, int32_t top) {
    if (!pixels || width <= 0 || height <= 0)
        return ui::MakeEmptyRegion();
    const uint32_t key = ui::PixelFromColor(transparent);
    ui::RegionUnion merger;
    std::vector<RECT> rects;
    // Rows with the same runs as the row above extend its band downwards.
    auto emitBand = [&](const Runs& runs, int32_t bandTop, int32_t bandBottom) {
        for (const auto& [start, end] : runs) {
            rects.push_back(RECT{left + start, top + bandTop, left + end, top + bandBottom});
            if (rects.size() == RegionChunkRects) {
                merger.Push(RegionFromRects(rects.data(), rects.size()));
                rects.clear();
            }
        }
    };
    Runs band, row;
    int32_t bandTop = 0;
    for (int32_t y = 0; y < height; ++y) {
        FindRuns(pixels + static_cast<size_t>(y) * static_cast<size_t>(width), width, key, row);
        if (y > 0 && row == band)
            continue;
        emitBand(band, bandTop, y);
        band.swap(row);
        bandTop = y;
    }
    emitBand(band, bandTop, height);
    if (!rects.empty())
        merger.Push(RegionFromRects(rects.data(), rects.size()));
    return merger.Finish();
}

ui::Region BuildPictureRegionPixelByPixel(const uint32_t* pixels, int32_t width, int32_t height,
                                          COLORREF transparent, int32_t left, int32_t top) {
    ui::Region region = ui::MakeEmptyRegion();
    const uint32_t key = ui::PixelFromColor(transparent);
    for (int32_t i = 0; i < width; ++i)
        for (int32_t j = 0; j < height; ++j) {
            const uint32_t p = pixels[static_cast<size_t>(j) * static_cast<size_t>(width) +
                                      static_cast<size_t>(i)];
            if ((p & ui::PixelColorMask) == key)
                continue;
            ui::Region one(::CreateRectRgn(left + i, top + j, left + i + 1, top + j + 1));
            ::CombineRgn(region.Get(), region.Get(), one.Get(), RGN_OR);
        }
    return region;
}

TScreenImage::TScreenImage() {
    SetCapacity(1);
    AreaKind = TAreaKind::Picture;
    SetHorzAlign(AlignCenter);
    SetVertAlign(AlignCenter);
}

RECT TScreenImage::PictureRect() const {
    return ImageRect(Vertex(1), Picture.Width(), Picture.Height(), HorzAlign, VertAlign);
}

HRGN TScreenImage::Paint(ui::Canvas& canvas, HRGN region, bool /*selected*/) {
    if (Picture.Empty() || !Visible)
        return region;
    const RECT r = PictureRect();
    const int32_t w = Picture.Width(), h = Picture.Height();
    HDC dc = canvas.Handle();
    Bounds = r;
    if (DragMode != 0) {
        Picture.Draw(dc, r.left, r.top);
        // The whole drawn rectangle, odd sizes included.
        ui::Region whole(::CreateRectRgn(r.left, r.top, r.left + w, r.top + h));
        ::CombineRgn(region, region, whole.Get(), RGN_OR);
        return region;
    }
    if (!Region) {
        Picture.Flush();
        Region = BuildPictureRegion(Picture.Bits(), w, h, TransparentColor, r.left, r.top);
    }
    // The picture's region holds exactly its pixels not of the transparent
    // colour: on a canvas with pixels of its own they are copied straight,
    // which costs a fraction of the system's transparent copy.
    if (!canvas.CopyPicture(Region.Get(), Picture.Bits(), w, h, POINT{r.left, r.top})) {
        ui::MemoryDC source(::CreateCompatibleDC(dc));
        ui::Selection selected(source.Get(), Picture.Handle());
        TransparentStretchBlt(dc, r.left, r.top, w, h, source.Get(), 0, 0, w, h, TransparentColor);
    }
    ::CombineRgn(region, region, Region.Get(), RGN_OR);
    return region;
}

bool TScreenImage::HitTest(POINT point, int32_t /*maxDistance*/, int32_t& distance) {
    if (!Region || !::PtInRegion(Region.Get(), point.x, point.y))
        return false;
    distance = 0;
    return true;
}

int32_t TScreenImage::EndDrag(int32_t x, int32_t y) {
    ClampToScreen(x, y);
    const int32_t result = TScreenSinglePoint::EndDrag(x, y);
    FreeRegion();
    return result;
}

bool TScreenImage::AppendPoint(int32_t x, int32_t y) {
    ClampToScreen(x, y);
    const bool result = TScreenSinglePoint::AppendPoint(x, y);
    FreeRegion();
    return result;
}

bool TScreenImage::MoveCurrentPoint(int32_t x, int32_t y) {
    ClampToScreen(x, y);
    const bool result = TScreenSinglePoint::MoveCurrentPoint(x, y);
    FreeRegion();
    return result;
}

void TScreenImage::GetInfoText(std::wstring& text) {
    text.clear();
}

bool TScreenImage::LoadFromIni(const std::wstring& fileName, const std::wstring& section) {
    const bool result = TScreenSinglePoint::LoadFromIni(fileName, section);
    if (result)
        TransparentColor = static_cast<COLORREF>(ReadIniInteger(
            fileName, section, L"TransparentColor", static_cast<int32_t>(TransparentColor)));
    // The vertex and the colour may have changed: the cached region is stale.
    FreeRegion();
    return result;
}

void TScreenImage::SaveToIni(const std::wstring& fileName, const std::wstring& section,
                             std::vector<std::wstring>* fileList) {
    TScreenSinglePoint::SaveToIni(fileName, section, fileList);
    WriteIniInteger(fileName, section, L"TransparentColor", static_cast<int32_t>(TransparentColor));
}

void TScreenImage::ReplacePicture(ui::Picture&& picture) {
    Picture = std::move(picture);
    // The unused top byte plays no part in colours; keep it clear so every
    // comparison with the transparent colour sees the colour alone.
    if (!Picture.Empty()) {
        Picture.Flush();
        uint32_t* bits = Picture.Bits();
        const size_t n =
            static_cast<size_t>(Picture.Width()) * static_cast<size_t>(Picture.Height());
        for (size_t i = 0; i < n; ++i)
            bits[i] &= ui::PixelColorMask;
    }
    FreeRegion();
}

void TScreenImage::SetPicture(HBITMAP source) {
    ReplacePicture(ui::Picture::FromBitmap(source));
}

void TScreenImage::SetPicture(const ui::Picture& source) {
    ReplacePicture(ui::Picture::FromPixels(source.ToPixels()));
}

void TScreenImage::SetPicture(ui::Picture&& source) {
    ReplacePicture(std::move(source));
}

void TScreenImage::SetTransparentColor(COLORREF color) {
    TransparentColor = color;
    FreeRegion();
}

void TScreenImage::SetHorzAlign(uint8_t align) {
    if (!Picture.Empty() && Capacity >= 1) {
        POINT& v = Vertex(1);
        v.x += CentreOffset(Picture.Width(), HorzAlign);
        v.x -= CentreOffset(Picture.Width(), align);
    }
    HorzAlign = align;
    FreeRegion();
}

void TScreenImage::SetVertAlign(uint8_t align) {
    if (!Picture.Empty() && Capacity >= 1) {
        POINT& v = Vertex(1);
        v.y += CentreOffset(Picture.Height(), VertAlign);
        v.y -= CentreOffset(Picture.Height(), align);
    }
    VertAlign = align;
    FreeRegion();
}

void TScreenImage::ClampToScreen(int32_t& x, int32_t& y) const {
    if (Picture.Empty())
        return;
    x = ClampCoordinate(x, Picture.Width(), DesktopWidth(), HorzAlign);
    y = ClampCoordinate(y, Picture.Height(), DesktopHeight(), VertAlign);
}

void TScreenImage::FreeRegion() {
    Region.Reset();
}

std::wstring TScreenImage::RasterHint(bool english, const wchar_t* englishDelete,
                                      const wchar_t* germanDelete) const {
    std::wstring text;
    if (ShowMouseHelp)
        text = english ? std::wstring(englishDelete) + LineBreak +
                             L"Left mouse button (keep pressed) to change position"
                       : std::wstring(germanDelete) + LineBreak +
                             L"Click mit der linken Maustaste (gedrückt halten) um die Position "
                             L"zu verändern.";
    return AppendUserHint(text);
}

std::wstring TScreenImage::RasterPlacementPrompt(bool english, int32_t step,
                                                 const wchar_t* englishPlace,
                                                 const wchar_t* germanPlace) {
    if (step != 1 && step != 2)
        return std::wstring();
    return english ? std::wstring(englishPlace) + LineBreak + L"Right mouse button to cancel."
                   : std::wstring(germanPlace) + LineBreak + L"Abbruch mit der rechten Maustaste.";
}
