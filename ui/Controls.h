// Components drawn by the toolkit itself: panel, label, flat button, picture.
#pragma once

#include "ui/Control.h"
#include "ui/Picture.h"

namespace ui {

enum class Bevel { None, Raised, Lowered };

// A coloured area that holds other components.
class Panel : public Control {
public:
    explicit Panel(Control& parent);
    // A panel inside a panel (this, not copying, is what Panel(panel) means).
    explicit Panel(Panel& parent) : Panel(static_cast<Control&>(parent)) {}
    Bevel GetBevel() const { return bevel_; }
    void SetBevel(Bevel bevel);

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    Bevel bevel_ = Bevel::None;
};

// A caption on its parent's colour. By default it takes the size of its text.
class Label : public Control {
public:
    Label(Control& parent, const std::wstring& caption = L"");
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

protected:
    void Paint(HDC dc, const RECT& client) override;
    void FontChanged() override;
    void CaptionChanged() override;

private:
    void FitText();
    bool autoSize_ = true;
};

// A button without a frame of its own: caption on its colour (by default the
// parent's), a raised edge while the mouse is over it, a sunken one while it
// is pressed. It does not take the focus.
class FlatButton : public Control {
public:
    FlatButton(Control& parent, const std::wstring& caption = L"");
    bool Hot() const { return hot_; }
    bool Pressed() const { return pressed_; }
    bool AcceptsMnemonic() const override { return true; }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    void SetLook(bool hot, bool pressed);
    bool hot_ = false;
    bool pressed_ = false;
};

// Shows a bitmap at its top left corner, or stretched over its area. On a
// form scaled to another DPI the bitmap is drawn at the scaled size, smoothed.
class PictureBox : public Control {
public:
    explicit PictureBox(Control& parent);
    // Takes the bitmap (or decoded picture) over; with AutoSize the box
    // takes its size.
    void SetBitmap(Bitmap bitmap);
    void SetPicture(Picture picture);
    HBITMAP BitmapHandle() const { return bitmap_ ? bitmap_.Get() : picture_.Handle(); }
    SIZE BitmapSize() const;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

protected:
    void Paint(HDC dc, const RECT& client) override;

private:
    void PictureChanged();
    Bitmap bitmap_;
    Picture picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
};

} // namespace ui
