// Move-only owners for Win32 handles. Every handle a function makes is held by
// one of these, so no return path and no exception can leak it.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace ui {

// Number of handles currently held by all owners together; soak tests compare
// it before and after a run.
long LiveHandleCount();

namespace detail {
void CountHandle(long delta);
}

// Owner of one handle of the kind described by Traits:
//   using type = HANDLE-like;  static type Invalid();  static void Close(type);
template <typename Traits> class UniqueHandle {
public:
    using handle_type = typename Traits::type;

    UniqueHandle() = default;
    explicit UniqueHandle(handle_type h) : h_(h) {
        if (Valid())
            detail::CountHandle(1);
    }
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {
        if (Valid())
            detail::CountHandle(1);
    }
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    handle_type Get() const { return h_; }
    bool Valid() const { return h_ != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    // Gives up ownership without closing; the caller (or the system) owns it now.
    handle_type Release() {
        handle_type h = h_;
        if (Valid())
            detail::CountHandle(-1);
        h_ = Traits::Invalid();
        return h;
    }
    void Reset(handle_type h = Traits::Invalid()) {
        if (h == h_)
            return;
        if (Valid()) {
            detail::CountHandle(-1);
            Traits::Close(h_);
        }
        h_ = h;
        if (Valid())
            detail::CountHandle(1);
    }

private:
    handle_type h_ = Traits::Invalid();
};

template <typename H> struct GdiObjectTraits {
    using type = H;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::DeleteObject(h); }
};

struct MemoryDCTraits {
    using type = HDC;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::DeleteDC(h); }
};

struct ModuleTraits {
    using type = HMODULE;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::FreeLibrary(h); }
};

struct IconTraits {
    using type = HICON;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::DestroyIcon(h); }
};

struct MenuTraits {
    using type = HMENU;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::DestroyMenu(h); }
};

struct FileTraits {
    using type = HANDLE;
    static type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(type h) { ::CloseHandle(h); }
};

// A font registered for this process only (AddFontMemResourceEx).
struct MemoryFontTraits {
    using type = HANDLE;
    static type Invalid() { return nullptr; }
    static void Close(type h) { ::RemoveFontMemResourceEx(h); }
};

using Region = UniqueHandle<GdiObjectTraits<HRGN>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Palette = UniqueHandle<GdiObjectTraits<HPALETTE>>;
using MemoryDC = UniqueHandle<MemoryDCTraits>;
using Module = UniqueHandle<ModuleTraits>;
using Icon = UniqueHandle<IconTraits>;
using File = UniqueHandle<FileTraits>;
using Menu = UniqueHandle<MenuTraits>;
using MemoryFont = UniqueHandle<MemoryFontTraits>;

// A device context borrowed from a window with GetDC, given back with ReleaseDC.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {
        if (dc_)
            detail::CountHandle(1);
    }
    ~WindowDC() {
        if (dc_) {
            detail::CountHandle(-1);
            ::ReleaseDC(window_, dc_);
        }
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC for the lifetime of this object and puts the
// previous one back, so the owner of the selected object can delete it safely.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), old_(object ? ::SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (old_)
            ::SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A new empty region, the usual start of a union.
inline Region MakeEmptyRegion() {
    return Region(::CreateRectRgn(0, 0, 0, 0));
}

} // namespace ui
