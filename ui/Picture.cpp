#include "ui/Picture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ui {

namespace {

[[noreturn]] void Fail(const char* why) {
    throw PictureError(why);
}

BITMAPINFO TopDown32(int32_t width, int32_t height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// The bytes of a resource; they live as long as the module.
struct ResourceData {
    const uint8_t* d;
    size_t n;
};

ResourceData ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
    HRSRC info = ::FindResourceW(module, name, type);
    if (!info)
        Fail("no such resource");
    HGLOBAL data = ::LoadResource(module, info);
    const void* bytes = data ? ::LockResource(data) : nullptr;
    if (!bytes)
        Fail("resource cannot be read");
    return ResourceData{static_cast<const uint8_t*>(bytes), ::SizeofResource(module, info)};
}

// Runs a decoder; running out of memory is one more way a picture fails.

} // namespace

std::vector<uint8_t> ReadFileBytes(const std::wstring& path) {
    File file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail("the file cannot be opened");
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > MaxPictureFileBytes)
        Fail("the file is too large");
    std::vector<uint8_t> bytes(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!::ReadFile(file.Get(), bytes.data() + done, want, &got, nullptr) || got == 0)
            Fail("the file cannot be read");
        done += got;
    }
    return bytes;
}

// ---- Picture ----------------------------------------------------------------

Picture::Picture(Picture&& other) noexcept
    : bitmap_(std::move(other.bitmap_)), bits_(other.bits_), width_(other.width_),
      height_(other.height_) {
    other.bits_ = nullptr;
    other.width_ = other.height_ = 0;
}

Picture& Picture::operator=(Picture&& other) noexcept {
    if (this != &other) {
        bitmap_ = std::move(other.bitmap_);
        bits_ = other.bits_;
        width_ = other.width_;
        height_ = other.height_;
        other.bits_ = nullptr;
        other.width_ = other.height_ = 0;
    }
    return *this;
}

Picture Picture::Blank(int32_t width, int32_t height) {
    Picture p;
    if (width <= 0 || height <= 0)
        return p;
    CheckPictureSize(width, height);
    BITMAPINFO bi = TopDown32(width, height);
    void* bits = nullptr;
    Bitmap bitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        Fail("no memory for a picture of that size");
    p.bitmap_ = std::move(bitmap);
    p.bits_ = static_cast<uint32_t*>(bits);
    p.width_ = width;
    p.height_ = height;
    std::memset(p.bits_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    return p;
}

Picture Picture::FromPixels(const PixelImage& image) {
    Picture p = Blank(image.Width, image.Height);
    if (!p.Empty())
        std::copy(image.Pixels.begin(), image.Pixels.end(), p.bits_);
    return p;
}

Picture Picture::FromBitmap(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof info, &info))
        return Picture();
    Picture p = Blank(info.bmWidth, std::abs(info.bmHeight));
    if (p.Empty())
        return p;
    BITMAPINFO bi = TopDown32(p.width_, p.height_);
    WindowDC screen(nullptr);
    ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(p.height_), p.bits_, &bi,
                DIB_RGB_COLORS);
    return p;
}

Picture Picture::FromIcon(HICON icon, COLORREF background) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return Picture();
    Bitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    int32_t width = 0, height = 0;
    if (color && ::GetObjectW(color.Get(), sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight;
    } else if (mask && ::GetObjectW(mask.Get(), sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight / 2;
    }
    Picture p = Blank(width, height);
    if (p.Empty())
        return p;
    const uint32_t bg = PixelFromColor(background);
    std::fill(p.bits_, p.bits_ + static_cast<size_t>(width) * static_cast<size_t>(height), bg);
    MemoryDC dc(::CreateCompatibleDC(nullptr));
    Selection selected(dc.Get(), p.bitmap_.Get());
    ::DrawIconEx(dc.Get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    return p;
}

Picture Picture::LoadBmpFile(const std::wstring& path) {
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    return FromPixels(DecodeBmp(bytes.data(), bytes.size()));
}

Picture Picture::LoadJpegFile(const std::wstring& path) {
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    return FromPixels(DecodeJpeg(bytes.data(), bytes.size()));
}

Picture Picture::LoadJpegMemory(const uint8_t* data, size_t size) {
    return FromPixels(DecodeJpeg(data, size));
}

Picture Picture::LoadIcoFile(const std::wstring& path, COLORREF background) {
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    return FromPixels(RenderIcon(DecodeIco(bytes.data(), bytes.size()), background));
}

Picture Picture::LoadBitmapResource(HMODULE module, const wchar_t* name) {
    ResourceData b = ResourceBytes(module, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    return FromPixels(DecodeDib(b.d, b.n));
}

Picture Picture::LoadJpegResource(HMODULE module, const wchar_t* name) {
    ResourceData b = ResourceBytes(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    return FromPixels(DecodeJpeg(b.d, b.n));
}

COLORREF Picture::PixelColor(int32_t x, int32_t y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return CLR_INVALID;
    return ColorFromPixel(
        bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)]);
}

PixelImage Picture::ToPixels() const {
    PixelImage image;
    if (Empty())
        return image;
    ::GdiFlush();
    image.Width = width_;
    image.Height = height_;
    image.Pixels.assign(bits_, bits_ + static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (uint32_t& p : image.Pixels)
        p &= PixelColorMask;
    return image;
}

void Picture::Draw(HDC dc, int32_t x, int32_t y) const {
    if (Empty())
        return;
    MemoryDC source(::CreateCompatibleDC(dc));
    Selection selected(source.Get(), bitmap_.Get());
    ::BitBlt(dc, x, y, width_, height_, source.Get(), 0, 0, SRCCOPY);
}

} // namespace ui
