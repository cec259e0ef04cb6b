// The base of every component: a window with bounds in its parent, alignment
// and anchors, visibility, colour, font, caption, keyboard focus and mouse
// events. Components make their window in their constructor, as children of
// the parent's window, so a form declares its components as members in the
// order of its component table and sets their properties in its constructor.
//
// Notifications of standard controls (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*)
// reach their parent's window; every control routes them to the child they
// came from.
#pragma once

#include "ui/Font.h"
#include "ui/Handles.h"
#include "ui/Layout.h"
#include "ui/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Form;

enum class MouseButton { Left, Right, Middle };

class Control : public Window {
public:
    ~Control() override;

    Control* Parent() const { return parent_; }
    const std::vector<Control*>& Children() const { return children_; }
    // The form this control lies on (the form itself for a form), or nullptr.
    Form* OwnerForm();

    // Bounds in the parent's client area; for a form, its frame on the screen.
    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    RECT BoundsRect() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
    void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
    void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
    void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
    // The area in which the children are laid out, in client coordinates.
    virtual RECT ClientArea() const;
    // Lays out the children again (alignment and anchors).
    void Realign();

    Align GetAlign() const { return align_; }
    void SetAlign(Align align);
    // The Right and Bottom anchors keep the distances to the parent's edges
    // that the control has when its bounds or anchors are set, so set up the
    // parent's own size and layout first.
    Anchors GetAnchors() const { return anchors_; }
    void SetAnchors(Anchors anchors);

    virtual bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible itself and all its parents up to a visible form.
    bool Showing() const;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // The background colour; by default some kinds take their parent's.
    COLORREF Color() const;
    void SetColor(COLORREF color);
    bool ParentColor() const { return parentColor_ && parent_; }
    void SetParentColor(bool parentColor);

    // The font (and text colour); by default the parent's.
    FontSpec GetFont() const;
    void SetFont(const FontSpec& font);
    HFONT FontHandle() const;
    bool ParentFont() const { return parentFont_ && parent_; }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);

    // Whether the control takes the keyboard focus (a Tab stop).
    virtual bool CanFocus() const { return false; }
    // Whether Enter belongs to the control rather than to the default button.
    virtual bool WantsReturn() const { return false; }
    // Whether Alt + the underlined letter of its caption clicks it.
    virtual bool AcceptsMnemonic() const { return false; }
    void SetFocus();
    bool Focused() const;

    // The DPI the control is laid out for: 96 until its form is scaled. A
    // length designed at 96 DPI at that scale.
    int Dpi() const { return dpi_; }
    int Scaled(int designValue) const { return ScaleToDpi(designValue, dpi_); }

    // Runs OnClick, as a click of the user does.
    void Click();
    void Invalidate();

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void(MouseButton, POINT)> OnMouseDown;
    std::function<void(MouseButton, POINT)> OnMouseUp;
    std::function<void(POINT)> OnMouseMove;

    // The control behind a window, or nullptr.
    static Control* FromHandle(HWND hwnd);

protected:
    // parent nullptr: a top-level window (a form).
    explicit Control(Control* parent);

    // Makes the control's window: of the toolkit's own class, or a standard
    // control of className. Children get WS_CHILD, WS_CLIPSIBLINGS and, when
    // visible, WS_VISIBLE added.
    bool CreateOwn(DWORD style, DWORD exStyle = 0);
    bool CreateStd(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // Makes the window again with other styles (for styles a standard control
    // reads only at creation); caption, font, focus and bounds carry over.
    bool Recreate(DWORD style, DWORD exStyle);

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Notifications of a standard control, routed to it by its parent.
    virtual void OnCommand(WORD /*code*/) {}
    virtual LRESULT OnNotify(NMHDR* /*header*/) { return 0; }
    // Colours of a standard control: the brush to paint with, or nullptr.
    virtual HBRUSH OnCtlColor(HDC /*dc*/) { return nullptr; }
    // Painting of own-class controls, after the background got its colour.
    virtual void Paint(HDC /*dc*/, const RECT& /*client*/) {}
    // Whether a press and release of the left button inside it is a click.
    virtual bool ClicksOnMouseUp() const { return true; }
    virtual void FontChanged();
    virtual void ColorChanged() { Invalidate(); }
    virtual void CaptionChanged() { Invalidate(); }
    // Moves the window to bounds_.
    virtual void ApplyBounds();

    // Rescaling from one DPI to another, in two passes over the tree: first
    // bounds, anchor distances and fonts of this control and its children
    // (a top-level window keeps its frame; its owner sizes it), the fonts
    // they replace kept in `retired` until every window has its new one;
    // then the windows are moved, get their fonts and lay out their children.
    void ScaleTree(int from, int to, std::vector<Font>& retired);
    void ApplyScaleTree();

    // A brush of Color(), kept until the colour changes.
    HBRUSH BackgroundBrush();
    // Sets the colour a kind starts with, without leaving the parent's colour.
    void SetDefaultColor(COLORREF color) { color_ = color; }

    Control* parent_;
    RECT bounds_{0, 0, 0, 0};
    bool visible_ = true;

private:
    friend class Form;
    WindowParams Params(DWORD style, DWORD exStyle) const;
    void MeasureGaps();
    void PlaceFromLayout(const RECT& bounds);
    void ParentFontChanged();
    void ParentColorChanged();
    void ForEachControl(const std::function<void(Control&)>& fn);

    std::vector<Control*> children_;
    Align align_ = Align::None;
    Anchors anchors_ = AnchorLeft | AnchorTop;
    int rightGap_ = 0;
    int bottomGap_ = 0;
    bool enabled_ = true;
    COLORREF color_;
    bool parentColor_ = false;
    FontSpec fontSpec_;
    bool parentFont_ = true;
    Font font_;
    std::wstring caption_;
    Brush brush_;
    COLORREF brushColor_ = 0;
    const wchar_t* stdClass_ = nullptr;
    bool leftDown_ = false;
    int dpi_ = DesignDpi;
};

} // namespace ui
