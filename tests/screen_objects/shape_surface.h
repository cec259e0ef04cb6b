// A 32-bit top-down DIB section with a canvas over it, and region helpers, for
// checking what the shapes draw and which area they report.
#pragma once

#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace testshapes {

class Surface {
public:
    Surface(int width, int height, COLORREF background = RGB(128, 128, 128))
        : width_(width), height_(height), dc_(::CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.Reset(::CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<uint32_t*>(bits);
        selection_ = std::make_unique<ui::Selection>(dc_.Get(), bitmap_.Get());
        canvas_ = std::make_unique<ui::Canvas>(dc_.Get());
        Fill(background);
    }
    ~Surface() {
        canvas_.reset();
        selection_.reset();
    }

    HDC Dc() const { return dc_.Get(); }
    ui::Canvas& Canvas() { return *canvas_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void Fill(COLORREF colour) {
        ::GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = ToDib(colour);
    }
    void Set(int x, int y, COLORREF colour) {
        ::GdiFlush();
        bits_[y * width_ + x] = ToDib(colour);
    }
    COLORREF Pixel(int x, int y) const {
        ::GdiFlush();
        const uint32_t v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }

private:
    static uint32_t ToDib(COLORREF c) {
        return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
    }
    int width_;
    int height_;
    ui::MemoryDC dc_;
    ui::Bitmap bitmap_;
    uint32_t* bits_ = nullptr;
    std::unique_ptr<ui::Selection> selection_;
    std::unique_ptr<ui::Canvas> canvas_;
};

inline ui::Region Rect(int l, int t, int r, int b) {
    return ui::Region(::CreateRectRgn(l, t, r, b));
}

inline ui::Region Ellipse(int l, int t, int r, int b) {
    return ui::Region(::CreateEllipticRgn(l, t, r, b));
}

// The union of the given rectangles (left, top, right, bottom; right and bottom excluded).
inline ui::Region Rects(std::initializer_list<RECT> rects) {
    ui::Region result = ui::MakeEmptyRegion();
    for (const RECT& r : rects) {
        ui::Region part = Rect(r.left, r.top, r.right, r.bottom);
        ::CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
    return result;
}

inline ui::Region Minus(ui::Region a, const ui::Region& b) {
    ::CombineRgn(a.Get(), a.Get(), b.Get(), RGN_DIFF);
    return a;
}

inline ui::Region Plus(ui::Region a, const ui::Region& b) {
    ::CombineRgn(a.Get(), a.Get(), b.Get(), RGN_OR);
    return a;
}

// The rectangles of a region, for failure messages.
inline std::string Describe(HRGN region) {
    const DWORD size = ::GetRegionData(region, 0, nullptr);
    if (size == 0)
        return "<invalid>";
    std::vector<char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    ::GetRegionData(region, size, data);
    const RECT* r = reinterpret_cast<const RECT*>(data->Buffer);
    std::ostringstream out;
    for (DWORD i = 0; i < data->rdh.nCount && i < 40; ++i)
        out << "(" << r[i].left << "," << r[i].top << "," << r[i].right << "," << r[i].bottom
            << ")";
    if (data->rdh.nCount > 40)
        out << "... " << data->rdh.nCount << " rects";
    return data->rdh.nCount == 0 ? "<empty>" : out.str();
}

inline bool IsEmpty(HRGN region) {
    RECT box;
    return ::GetRgnBox(region, &box) == NULLREGION;
}

// A settings file of its own in the temporary folder, removed afterwards.
class ScratchIni {
public:
    ScratchIni() {
        wchar_t folder[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, folder);
        wchar_t name[MAX_PATH] = {};
        ::GetTempFileNameW(folder, L"ini", 0, name);
        path_ = name;
    }
    ~ScratchIni() { ::DeleteFileW(path_.c_str()); }
    ScratchIni(const ScratchIni&) = delete;
    ScratchIni& operator=(const ScratchIni&) = delete;
    const std::wstring& Path() const { return path_; }

    // The file's bytes, for checking what was really written.
    std::string Contents() const {
        std::string out;
        ui::File f(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
        if (!f)
            return out;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(f.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
            out.append(buffer, got);
        return out;
    }

private:
    std::wstring path_;
};

} // namespace testshapes

#define EXPECT_REGION_EQ(actual, expected)                                                         \
    EXPECT_TRUE(::EqualRgn((actual), (expected)))                                                  \
        << "actual   " << testshapes::Describe(actual) << "\nexpected "                            \
        << testshapes::Describe(expected)
