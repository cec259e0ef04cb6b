#include "ui/Control.h"

#include "ui/Form.h"

#include <windowsx.h>

#include <algorithm>

namespace ui {

namespace {

UINT_PTR NextChildId() {
    static UINT_PTR next = 1000;
    return ++next;
}

bool SizeDiffers(const RECT& a, const RECT& b) {
    return a.right - a.left != b.right - b.left || a.bottom - a.top != b.bottom - b.top;
}

MouseButton ButtonOf(UINT msg) {
    switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return MouseButton::Right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return MouseButton::Middle;
    default:
        return MouseButton::Left;
    }
}

} // namespace

Control::Control(Control* parent) : parent_(parent), color_(::GetSysColor(COLOR_BTNFACE)) {
    if (parent_) {
        parent_->children_.push_back(this);
        dpi_ = parent_->dpi_;
    }
}

Control::~Control() {
    // Our window goes first, while this object can still answer its messages.
    Destroy();
    for (Control* child : children_)
        child->parent_ = nullptr;
    if (parent_) {
        if (Form* form = OwnerForm())
            form->ForgetControl(this);
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

Form* Control::OwnerForm() {
    Control* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<Form*>(c);
}

Control* Control::FromHandle(HWND hwnd) {
    return dynamic_cast<Control*>(Window::FromHandle(hwnd));
}

WindowParams Control::Params(DWORD style, DWORD exStyle) const {
    WindowParams p;
    p.exStyle = exStyle;
    p.style = style;
    p.caption = caption_;
    p.x = bounds_.left;
    p.y = bounds_.top;
    p.width = bounds_.right - bounds_.left;
    p.height = bounds_.bottom - bounds_.top;
    if (parent_) {
        p.style |= WS_CHILD | WS_CLIPSIBLINGS | (visible_ ? WS_VISIBLE : 0);
        p.parent = parent_->Handle();
        p.childId = NextChildId();
    }
    return p;
}

bool Control::CreateOwn(DWORD style, DWORD exStyle) {
    stdClass_ = nullptr;
    return Create(Params(style, exStyle));
}

bool Control::CreateStd(const wchar_t* className, DWORD style, DWORD exStyle) {
    stdClass_ = className;
    if (!CreateNative(className, Params(style, exStyle)))
        return false;
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    return true;
}

bool Control::Recreate(DWORD style, DWORD exStyle) {
    if (!Handle())
        return false;
    const bool hadFocus = Focused();
    const bool enabled = enabled_;
    // Style bits that Params adds again.
    style &= ~(WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE);
    Destroy();
    bool made = stdClass_ ? CreateStd(stdClass_, style, exStyle) : CreateOwn(style, exStyle);
    if (!made)
        return false;
    if (!enabled)
        ::EnableWindow(Handle(), FALSE);
    if (hadFocus)
        ::SetFocus(Handle());
    return true;
}

RECT Control::ClientArea() const {
    RECT r{0, 0, Width(), Height()};
    if (Handle())
        ::GetClientRect(Handle(), &r);
    return r;
}

void Control::MeasureGaps() {
    if (!parent_)
        return;
    LayoutItem item;
    item.bounds = bounds_;
    AnchorGaps(parent_->ClientArea(), item);
    rightGap_ = item.rightGap;
    bottomGap_ = item.bottomGap;
}

void Control::SetBounds(int left, int top, int width, int height) {
    const RECT old = bounds_;
    bounds_ = RECT{left, top, left + std::max(width, 0), top + std::max(height, 0)};
    MeasureGaps();
    ApplyBounds();
    if (SizeDiffers(old, bounds_))
        Realign();
    if (parent_ && align_ != Align::None)
        parent_->Realign();
}

void Control::PlaceFromLayout(const RECT& bounds) {
    const RECT old = bounds_;
    if (EqualRect(&old, &bounds))
        return;
    bounds_ = bounds;
    ApplyBounds();
    if (SizeDiffers(old, bounds_))
        Realign();
}

void Control::ApplyBounds() {
    if (Handle())
        ::MoveWindow(Handle(), bounds_.left, bounds_.top, Width(), Height(), TRUE);
}

void Control::Realign() {
    if (children_.empty())
        return;
    std::vector<LayoutItem> items;
    items.reserve(children_.size());
    for (Control* c : children_) {
        LayoutItem item;
        item.align = c->align_;
        item.anchors = c->anchors_;
        item.visible = c->visible_;
        item.bounds = c->bounds_;
        item.rightGap = c->rightGap_;
        item.bottomGap = c->bottomGap_;
        items.push_back(item);
    }
    Arrange(ClientArea(), items);
    // A child's own layout may add or remove children: walk a copy.
    std::vector<Control*> children = children_;
    for (size_t i = 0; i < children.size() && i < items.size(); ++i)
        children[i]->PlaceFromLayout(items[i].bounds);
}

void Control::SetAlign(Align align) {
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void Control::SetAnchors(Anchors anchors) {
    anchors_ = anchors;
    MeasureGaps();
}

void Control::SetVisible(bool visible) {
    if (visible == visible_)
        return;
    visible_ = visible;
    if (Handle())
        ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ && align_ != Align::None)
        parent_->Realign();
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->Visible())
            return false;
    }
    return true;
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (Handle())
        ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
    Invalidate();
}

COLORREF Control::Color() const {
    return ParentColor() ? parent_->Color() : color_;
}

void Control::SetColor(COLORREF color) {
    color_ = color;
    parentColor_ = false;
    ColorChanged();
    for (Control* c : children_)
        c->ParentColorChanged();
}

void Control::SetParentColor(bool parentColor) {
    parentColor_ = parentColor;
    ColorChanged();
    for (Control* c : children_)
        c->ParentColorChanged();
}

void Control::ParentColorChanged() {
    if (!ParentColor())
        return;
    ColorChanged();
    for (Control* c : children_)
        c->ParentColorChanged();
}

HBRUSH Control::BackgroundBrush() {
    const COLORREF color = Color();
    if (!brush_ || brushColor_ != color) {
        brush_.Reset(::CreateSolidBrush(color));
        brushColor_ = color;
    }
    return brush_.Get();
}

FontSpec Control::GetFont() const {
    return ParentFont() ? parent_->GetFont() : fontSpec_;
}

HFONT Control::FontHandle() const {
    if (ParentFont())
        return parent_->FontHandle();
    return font_ ? font_.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void Control::SetFont(const FontSpec& font) {
    fontSpec_ = font;
    parentFont_ = false;
    Font made = MakeFont(font, dpi_);
    // The old font stays alive until every window has the new one.
    std::swap(font_, made);
    FontChanged();
    for (Control* c : children_)
        c->ParentFontChanged();
}

void Control::ParentFontChanged() {
    if (!ParentFont())
        return;
    FontChanged();
    for (Control* c : children_)
        c->ParentFontChanged();
}

void Control::FontChanged() {
    if (Handle() && IsNative())
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    Invalidate();
}

void Control::ScaleTree(int from, int to, std::vector<Font>& retired) {
    auto scale = [&](LONG v) { return static_cast<LONG>(ScaleBetweenDpi(v, from, to)); };
    if (parent_) {
        const LONG left = scale(bounds_.left), top = scale(bounds_.top);
        bounds_ = RECT{left, top, left + scale(bounds_.right - bounds_.left),
                       top + scale(bounds_.bottom - bounds_.top)};
        rightGap_ = scale(rightGap_);
        bottomGap_ = scale(bottomGap_);
    }
    dpi_ = to;
    if (font_) {
        Font made = MakeFont(fontSpec_, dpi_);
        std::swap(font_, made);
        retired.push_back(std::move(made));
    }
    for (Control* c : children_)
        c->ScaleTree(from, to, retired);
}

void Control::ApplyScaleTree() {
    if (parent_)
        ApplyBounds();
    FontChanged();
    Realign();
    std::vector<Control*> children = children_;
    for (Control* c : children)
        c->ApplyScaleTree();
}

void Control::SetCaption(const std::wstring& caption) {
    caption_ = caption;
    if (Handle())
        ::SetWindowTextW(Handle(), caption_.c_str());
    CaptionChanged();
}

void Control::SetFocus() {
    if (Handle())
        ::SetFocus(Handle());
}

bool Control::Focused() const {
    return Handle() && ::GetFocus() == Handle();
}

void Control::Click() {
    if (OnClick)
        OnClick();
}

void Control::Invalidate() {
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Control::ForEachControl(const std::function<void(Control&)>& fn) {
    fn(*this);
    std::vector<Control*> children = children_;
    for (Control* c : children)
        c->ForEachControl(fn);
}

LRESULT Control::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (lParam) {
            if (Control* c = FromHandle(reinterpret_cast<HWND>(lParam)); c && c != this) {
                c->OnCommand(HIWORD(wParam));
                return 0;
            }
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (Control* c = FromHandle(header->hwndFrom); c && c != this)
            return c->OnNotify(header);
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (Control* c = FromHandle(reinterpret_cast<HWND>(lParam)); c && c != this) {
            if (HBRUSH brush = c->OnCtlColor(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        }
        break;
    case WM_ERASEBKGND:
        if (!IsNative()) {
            RECT r;
            ::GetClientRect(Handle(), &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, BackgroundBrush());
            return 1;
        }
        break;
    case WM_PAINT:
        if (!IsNative()) {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(Handle(), &ps);
            RECT r;
            ::GetClientRect(Handle(), &r);
            Paint(dc, r);
            ::EndPaint(Handle(), &ps);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // The control's own handling first (a standard control takes the
        // focus, starts a selection), then the events.
        LRESULT r = DefaultHandling(msg, wParam, lParam);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (msg == WM_LBUTTONDBLCLK) {
            leftDown_ = false;
            if (OnMouseDown)
                OnMouseDown(MouseButton::Left, pt);
            if (OnDblClick)
                OnDblClick();
            return r;
        }
        if (msg == WM_LBUTTONDOWN)
            leftDown_ = true;
        if (OnMouseDown)
            OnMouseDown(ButtonOf(msg), pt);
        return r;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        LRESULT r = DefaultHandling(msg, wParam, lParam);
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const bool wasDown = leftDown_ && msg == WM_LBUTTONUP;
        if (msg == WM_LBUTTONUP)
            leftDown_ = false;
        if (OnMouseUp)
            OnMouseUp(ButtonOf(msg), pt);
        RECT client;
        if (wasDown && ClicksOnMouseUp() && Handle() && ::GetClientRect(Handle(), &client) &&
            ::PtInRect(&client, pt))
            Click();
        return r;
    }
    case WM_MOUSEMOVE: {
        LRESULT r = DefaultHandling(msg, wParam, lParam);
        if (OnMouseMove)
            OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return r;
    }
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}

} // namespace ui
