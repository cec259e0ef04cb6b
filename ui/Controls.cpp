#include "ui/Controls.h"

namespace ui {

namespace {

// Text in the control's font and colour on a transparent background.
void DrawCaption(HDC dc, const Control& c, RECT r, UINT format) {
    Selection font(dc, c.FontHandle());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, c.Enabled() ? c.GetFont().color : ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(dc, c.Caption().c_str(), -1, &r, format);
}

} // namespace

Panel::Panel(Control& parent) : Control(&parent) {
    CreateOwn(WS_CLIPCHILDREN);
}

void Panel::SetBevel(Bevel bevel) {
    bevel_ = bevel;
    Invalidate();
}

void Panel::Paint(HDC dc, const RECT& client) {
    if (bevel_ == Bevel::None)
        return;
    RECT r = client;
    ::DrawEdge(dc, &r, bevel_ == Bevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
}

Label::Label(Control& parent, const std::wstring& caption) : Control(&parent) {
    SetParentColor(true);
    CreateOwn(0);
    SetCaption(caption);
}

void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    FitText();
}

void Label::FitText() {
    if (!autoSize_)
        return;
    WindowDC screen(nullptr);
    if (!screen)
        return;
    Selection font(screen.Get(), FontHandle());
    RECT r{0, 0, 0, 0};
    const std::wstring& text = Caption().empty() ? std::wstring(L" ") : Caption();
    ::DrawTextW(screen.Get(), text.c_str(), -1, &r, DT_CALCRECT | DT_LEFT);
    SetBounds(Left(), Top(), r.right - r.left, r.bottom - r.top);
}

void Label::FontChanged() {
    Control::FontChanged();
    FitText();
}

void Label::CaptionChanged() {
    Control::CaptionChanged();
    FitText();
}

void Label::Paint(HDC dc, const RECT& client) {
    DrawCaption(dc, *this, client, DT_LEFT | (autoSize_ ? 0 : DT_WORDBREAK));
}

FlatButton::FlatButton(Control& parent, const std::wstring& caption) : Control(&parent) {
    SetParentColor(true);
    CreateOwn(0);
    SetCaption(caption);
}

void FlatButton::SetLook(bool hot, bool pressed) {
    if (hot == hot_ && pressed == pressed_)
        return;
    hot_ = hot;
    pressed_ = pressed;
    Invalidate();
}

LRESULT FlatButton::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_MOUSEMOVE: {
        if (!hot_) {
            TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, Handle(), 0};
            ::TrackMouseEvent(&t);
        }
        POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT r;
        ::GetClientRect(Handle(), &r);
        const bool inside = ::PtInRect(&r, pt) != 0;
        SetLook(inside, inside && ::GetCapture() == Handle());
        break;
    }
    case WM_MOUSELEAVE:
        SetLook(false, false);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        ::SetCapture(Handle());
        SetLook(true, true);
        break;
    case WM_LBUTTONUP:
        if (::GetCapture() == Handle())
            ::ReleaseCapture();
        SetLook(hot_, false);
        break;
    case WM_CAPTURECHANGED:
        SetLook(hot_, false);
        break;
    default:
        break;
    }
    // The second press of a double click is a press like the first: a button
    // clicks twice.
    if (msg == WM_LBUTTONDBLCLK)
        msg = WM_LBUTTONDOWN;
    return Control::HandleMessage(msg, wParam, lParam);
}

void FlatButton::Paint(HDC dc, const RECT& client) {
    RECT r = client;
    if (pressed_)
        ::DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    else if (hot_ && Enabled())
        ::DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    if (pressed_)
        ::OffsetRect(&r, 1, 1);
    DrawCaption(dc, *this, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

PictureBox::PictureBox(Control& parent) : Control(&parent) {
    SetParentColor(true);
    CreateOwn(0);
}

SIZE PictureBox::BitmapSize() const {
    BITMAP bm{};
    HBITMAP shown = BitmapHandle();
    if (!shown || !::GetObjectW(shown, sizeof bm, &bm))
        return SIZE{0, 0};
    return SIZE{bm.bmWidth, bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight};
}

void PictureBox::SetBitmap(Bitmap bitmap) {
    bitmap_ = std::move(bitmap);
    picture_ = Picture();
    PictureChanged();
}

void PictureBox::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    bitmap_.Reset();
    PictureChanged();
}

void PictureBox::PictureChanged() {
    if (autoSize_ && BitmapHandle()) {
        SIZE s = BitmapSize();
        SetBounds(Left(), Top(), Scaled(s.cx), Scaled(s.cy));
    }
    Invalidate();
}

void PictureBox::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    PictureChanged();
}

void PictureBox::SetStretch(bool stretch) {
    stretch_ = stretch;
    Invalidate();
}

void PictureBox::Paint(HDC dc, const RECT& client) {
    HBITMAP shown = BitmapHandle();
    if (!shown)
        return;
    MemoryDC mem(::CreateCompatibleDC(dc));
    if (!mem)
        return;
    Selection picture(mem.Get(), shown);
    SIZE s = BitmapSize();
    if (stretch_ || Dpi() != DesignDpi) {
        // Scaled with its form, the picture (a photograph) is smoothed.
        const int w = stretch_ ? client.right : Scaled(s.cx);
        const int h = stretch_ ? client.bottom : Scaled(s.cy);
        ::SetStretchBltMode(dc, HALFTONE);
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
        ::StretchBlt(dc, 0, 0, w, h, mem.Get(), 0, 0, s.cx, s.cy, SRCCOPY);
    } else {
        ::BitBlt(dc, 0, 0, s.cx, s.cy, mem.Get(), 0, 0, SRCCOPY);
    }
}

} // namespace ui
