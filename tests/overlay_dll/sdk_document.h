// Helpers of the tests that check docs/orvex-sdk.md against Orvex.dll: the
// overlay window found as the document says, its shape, a callback window
// that keeps the notifications, real mouse input and picture files.
#pragma once

#include "overlay_api/Orvex.h"
#include "pump_messages.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace sdk_document {

class Rgn {
public:
    Rgn() : h_(::CreateRectRgn(0, 0, 0, 0)) {}
    ~Rgn() { ::DeleteObject(h_); }
    Rgn(const Rgn&) = delete;
    Rgn& operator=(const Rgn&) = delete;
    HRGN Get() const { return h_; }
    bool Has(int x, int y) const { return ::PtInRegion(h_, x, y) != FALSE; }
    RECT Box() const {
        RECT r{};
        ::GetRgnBox(h_, &r);
        return r;
    }

private:
    HRGN h_;
};

inline void Pump(DWORD ms) {
    PumpMessages(ms);
}

// "Finding the overlay window": a top-level window of the thread that made the
// first call, of the class and title Orvex.h names.
inline BOOL CALLBACK FindOverlay(HWND window, LPARAM out) {
    wchar_t name[64] = L"", title[64] = L"";
    ::GetClassNameW(window, name, 64);
    ::GetWindowTextW(window, title, 64);
    if (std::wstring(name) == ORVEX_WINDOW_CLASS && std::wstring(title) == ORVEX_WINDOW_TITLE) {
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    return TRUE;
}

inline HWND OverlayWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindOverlay, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The overlay's shape once the repaint of the last change is done.
inline void ShapeNow(Rgn& shape) {
    Pump(80);
    ::SetRectRgn(shape.Get(), 0, 0, 0, 0);
    ::GetWindowRgn(OverlayWindow(), shape.Get());
}

struct Note {
    UINT message;
    WPARAM id;
    int x, y; // lParam read as the document says: signed 16-bit halves
    bool operator==(const Note& o) const {
        return message == o.message && id == o.id && x == o.x && y == o.y;
    }
};

// A message-only callback window that keeps the notifications it receives;
// Drain handles the thread's messages a little and returns them.
class Receiver {
public:
    Receiver() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Receiver::Proc;
        wc.lpszClassName = L"OrvexSdkDocumentReceiver";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowExW(0, wc.lpszClassName, L"receiver", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, nullptr, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Receiver() { ::DestroyWindow(window_); }
    Receiver(const Receiver&) = delete;
    Receiver& operator=(const Receiver&) = delete;
    HWND Handle() const { return window_; }
    std::vector<Note> Drain(bool withMoves = false) {
        Pump(30);
        std::vector<Note> notes;
        for (const Note& n : notes_)
            if (withMoves || n.message != WM_TRANSPARENTELEMENT_MOUSEMOVE)
                notes.push_back(n);
        notes_.clear();
        return notes;
    }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Receiver*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && msg >= WM_TRANSPARENTELEMENT_CLICK &&
            msg <= WM_TRANSPARENTELEMENT_STATUSCHANGED) {
            self->notes_.push_back(Note{msg, wParam, static_cast<short>(LOWORD(lParam)),
                                        static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        return ::DefWindowProcW(window, msg, wParam, lParam);
    }
    HWND window_;
    std::vector<Note> notes_;
};

// The calling order of "General information": clear, callback window, items.
class SdkDocument : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(Orvex_Clear(), 0);
        ASSERT_EQ(Orvex_SetCallBackWindowHandle(receiver.Handle()), 1);
        receiver.Drain();
    }
    void TearDown() override { Orvex_Clear(); }
    Receiver receiver;
};

inline int32_t FilledBox(RECT r) {
    const int32_t id = Orvex_Rectangle(r, RGB(0, 0, 255));
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_ISFILLED, id, 1, 0, 0);
    Orvex_Operation(TRANSPARENTELEMENT_OPERATION_SHOW, id, 1, 0, 0);
    return id;
}

inline void MouseButtons(DWORD down, DWORD up) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = down;
    in[1].mi.dwFlags = up;
    ::SendInput(2, in, sizeof(INPUT));
}

inline void LeftClickAt(int x, int y) {
    ::SetCursorPos(x, y);
    Pump(30);
    MouseButtons(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    Pump(150);
}

inline std::string Directory() {
    char path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

// A 16 x 16 red BMP file, 24 bits per pixel.
inline void WriteRedBmp(const std::string& name) {
    const int side = 16, row = side * 3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = side;
    info.biHeight = side;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + row * side;
    std::vector<unsigned char> pixels(row * side);
    for (size_t i = 0; i < pixels.size(); i += 3)
        pixels[i + 2] = 255;
    FILE* f = std::fopen(name.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(&file, sizeof file, 1, f);
    std::fwrite(&info, sizeof info, 1, f);
    std::fwrite(pixels.data(), 1, pixels.size(), f);
    std::fclose(f);
}

} // namespace sdk_document
