#include "overlay_window/uOrvexTransparentForm.h"

#include "overlay_api/Orvex.h"
#include "overlay_window/uOrvexItemShapes.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <shellapi.h>

const wchar_t OrvexHomepageAddress[] = L"https://orvex.frostvale.example/";

namespace {
// Menu command identifiers of MainPopupMenu.
constexpr UINT InformationaboutOrvexSDK1 = 1;
constexpr UINT OrvexHomepage1 = 2;
} // namespace

TTransparentForm::TTransparentForm()
    : FrontTimer(*this, FrontTimerInterval, true), RedrawTimer(*this, RedrawTimerInterval, false) {
    // No exception may leave a window procedure: a failing tick is dropped.
    FrontTimer.OnTimer = [this] {
        try {
            FrontTimerTimer();
        } catch (...) {
        }
    };
    RedrawTimer.OnTimer = [this] {
        try {
            RedrawTimerTimer();
        } catch (...) {
            RedrawTimer.SetEnabled(false);
        }
    };
    Items.emplace();
    DemoItems.emplace();
}

TTransparentForm::~TTransparentForm() {
    // The window must go while this object is whole: its destruction steps run
    // in HandleMessage.
    Destroy();
    FormDestroy();
}

bool TTransparentForm::CreateForm() {
    if (Handle())
        return true;
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    // Under Wine a full-screen popup is handed to the X window manager, which
    // then restacks the window and reshapes its frame at every change of the
    // shape: with the card's thousands of rectangles that keeps the X server
    // busy and other programs' windows wait. A top-level window that is no
    // popup stays with Wine. So the window starts as a small popup and then
    // becomes a plain top-level window of the covered size; on Windows the
    // two kinds behave alike for a window without caption or frame.
    ui::WindowParams p;
    p.exStyle = OverlayExStyle;
    p.style = WS_POPUP | WS_CLIPCHILDREN;
    p.caption = L"Orvex";
    p.width = 1;
    p.height = 1;
    p.parent = app.Handle();
    if (!Create(p))
        return false;
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceWindow();
    return true;
}

void TTransparentForm::FormCreate() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ImageSize = SIZE{client.right - client.left, client.bottom - client.top};
    Items.emplace();
    DemoItems.emplace();
    LastID = 0;
    CallbackWindow = nullptr;
    if (HWND owner = ::GetWindow(Handle(), GW_OWNER))
        ::ShowWindow(owner, SW_HIDE);
    ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, OverlayExStyle);
    ApplyWindowMeasures(Handle(), Platform);
    Presenter.Create(Handle());
    ScheduleRepaint();
}

// ---------------------------------------------------------------- items

int32_t TTransparentForm::AddItem(const std::function<std::unique_ptr<TScreenObject>()>& make,
                                  const std::function<bool(TScreenObject&)>& setup, bool Demo) {
    // The repaint waits for the end of a series of adds: each add starts the
    // redraw timer's period afresh. A failed add leaves the timer alone.
    try {
        std::unique_ptr<TScreenObject> object = make();
        if (!object || (setup && !setup(*object)))
            return -2;
        ItemList* list = Demo ? (DemoItems ? &*DemoItems : nullptr) : (Items ? &*Items : nullptr);
        if (!list)
            return -3;
        TTransparentFormObject item;
        item.ID = NextItemID();
        item.ScreenObject = std::move(object);
        list->push_back(std::move(item));
        const int32_t result = list->back().ID;
        if (!Demo)
            NotifyStatusChanged(result, STATUSCHANGED_INSERT);
        RedrawTimer.Restart();
        return result;
    } catch (...) {
        return -3;
    }
}

int32_t TTransparentForm::AddScreenObject(std::unique_ptr<TScreenObject> object, bool Demo) {
    return AddItem([&object] { return std::move(object); }, nullptr, Demo);
}

int32_t TTransparentForm::AddPointItem(POINT Position, int32_t Style, COLORREF Color, bool Demo) {
    return AddItem([&] { return MakePointObject(Position, Style, Color); }, nullptr, Demo);
}

int32_t TTransparentForm::AddLineItem(POINT StartPoint, POINT EndPoint, int32_t Width,
                                      COLORREF Color, bool Demo) {
    return AddItem([&] { return MakeLineObject(StartPoint, EndPoint, Width, Color); }, nullptr,
                   Demo);
}

int32_t TTransparentForm::AddPolylineItem(const POINT* Points, int32_t NumPoints, bool Filled,
                                          int32_t Width, COLORREF Color, bool Demo) {
    if (!Points && NumPoints > 0)
        return -2;
    return AddItem([&] { return MakePolylineObject(Points, NumPoints, Filled, Width, Color); },
                   nullptr, Demo);
}

int32_t TTransparentForm::AddRectangleItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color,
                                           bool Demo) {
    return AddItem([&] { return MakeRectangleObject(Rect, Filled, Width, Color); }, nullptr, Demo);
}

int32_t TTransparentForm::AddEllipseItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color,
                                         bool Demo) {
    return AddItem([&] { return MakeEllipseObject(Rect, Filled, Width, Color); }, nullptr, Demo);
}

int32_t TTransparentForm::AddTextItem(POINT Position, const std::wstring& Text,
                                      const std::wstring& FontName, int32_t Size, bool Bold,
                                      bool Italic, COLORREF Color, bool Demo) {
    return AddItem(
        [&] { return MakeTextObject(Position, Text, FontName, Size, Bold, Italic, Color); },
        nullptr, Demo);
}

int32_t TTransparentForm::AddBitmapItemByFile(POINT Position, const std::wstring& FileName,
                                              COLORREF TransparentColor, bool Demo) {
    return AddItem([&] { return MakeBitmapObjectFromFile(Position, FileName, TransparentColor); },
                   nullptr, Demo);
}

int32_t TTransparentForm::AddBitmapItemByResource(POINT Position, HMODULE Instance,
                                                  const std::wstring& ResourceName,
                                                  COLORREF TransparentColor, bool Demo) {
    return AddItem(
        [&] {
            return MakeBitmapObjectFromResource(Position, Instance, ResourceName, TransparentColor);
        },
        nullptr, Demo);
}

int32_t TTransparentForm::ForItem(int32_t ID, bool searchDemo,
                                  const std::function<void(ItemList&, size_t, bool)>& op) {
    try {
        if (!Items || !DemoItems)
            return -1; // the window has been closed
        bool found = false;
        auto walk = [&](ItemList& list, bool demo) {
            // IDs are unique: the walk ends at the first match.
            for (size_t i = list.size(); i-- > 0;) {
                if (list[i].ID == ID) {
                    op(list, i, demo);
                    found = true;
                    return;
                }
            }
        };
        walk(*Items, false);
        if (searchDemo && !found)
            walk(*DemoItems, true);
        return found ? 1 : 0;
    } catch (...) {
        return -1;
    }
}

int32_t TTransparentForm::DeleteItem(int32_t ID) {
    int32_t r = ForItem(ID, true, [&](ItemList& list, size_t i, bool demo) {
        if (!demo) {
            NotifyStatusChanged(ID, STATUSCHANGED_DELETE);
            Engine->ItemRemoved(list[i]);
        }
        list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    });
    if (r == 1)
        ScheduleRepaint();
    return r;
}

int32_t TTransparentForm::ShowItem(int32_t ID, bool Visible) {
    int32_t r = ForItem(ID, true, [&](ItemList& list, size_t i, bool demo) {
        list[i].ScreenObject->SetVisible(Visible);
        MarkDirty(list[i]);
        if (!demo)
            NotifyStatusChanged(ID, Visible ? STATUSCHANGED_SET_VISIBLE_TRUE
                                            : STATUSCHANGED_SET_VISIBLE_FALSE);
    });
    if (r == 1)
        ScheduleRepaint();
    return r;
}

int32_t TTransparentForm::SetItemLineWidth(int32_t ID, int32_t Width) {
    return ForItem(ID, false, [&](ItemList& list, size_t i, bool) {
        list[i].ScreenObject->LineWidth = Width;
        MarkDirty(list[i]);
    });
}

int32_t TTransparentForm::SetItemFilled(int32_t ID, bool Filled) {
    return ForItem(ID, false, [&](ItemList& list, size_t i, bool) {
        list[i].ScreenObject->PolygonFilled = Filled;
        MarkDirty(list[i]);
    });
}

int32_t TTransparentForm::SetItemColor(int32_t ID, COLORREF Color) {
    return ForItem(ID, false, [&](ItemList& list, size_t i, bool) {
        list[i].ScreenObject->SetLineColor(Color);
        list[i].ScreenObject->SetFillColor(Color);
        MarkDirty(list[i]);
    });
}

int32_t TTransparentForm::SetItemAutohide(int32_t ID, bool AutoHide) {
    int32_t r = ForItem(ID, false, [&](ItemList& list, size_t i, bool) {
        list[i].AutoHide = AutoHide;
        MarkDirty(list[i]);
        NotifyStatusChanged(ID, AutoHide ? STATUSCHANGED_SET_AUTOHIDE_TRUE
                                         : STATUSCHANGED_SET_AUTOHIDE_FALSE);
    });
    if (r == 1)
        ScheduleRepaint();
    return r;
}

int32_t TTransparentForm::SetItemZOrder(int32_t ID, int32_t Position) {
    try {
        if (!Items)
            return -1;
        ItemList& list = *Items;
        size_t index = list.size();
        for (size_t i = list.size(); i-- > 0;) {
            if (list[i].ID == ID) {
                index = i;
                break;
            }
        }
        if (index == list.size())
            return 0;
        // A negative position has no place in the paint order: the item stays.
        if (Position < 0)
            return -1;
        TTransparentFormObject item = std::move(list[index]);
        MarkDirty(item);
        list.erase(list.begin() + static_cast<ptrdiff_t>(index));
        if (static_cast<size_t>(Position) < list.size())
            list.insert(list.begin() + Position, std::move(item));
        else
            list.push_back(std::move(item));
        ScheduleRepaint();
        return 1;
    } catch (...) {
        return -1;
    }
}

int32_t TTransparentForm::SetItemCursor(int32_t ID, int32_t Cursor) {
    return ForItem(ID, false, [&](ItemList& list, size_t i, bool) {
        list[i].Cursor = static_cast<int16_t>(static_cast<uint16_t>(Cursor & 0xFFFF));
    });
}

int32_t TTransparentForm::ClearItems(bool Demo) {
    std::optional<ItemList>& list = Demo ? DemoItems : Items;
    if (!list)
        return -1;
    const int32_t count = static_cast<int32_t>(list->size());
    // Items go from index 0 on, each announced before it is released; not
    // to a callback window that is gone already (the program is ending).
    const bool notify = !Demo && CallbackWindow && ::IsWindow(CallbackWindow);
    for (TTransparentFormObject& item : *list) {
        if (notify)
            NotifyStatusChanged(item.ID, STATUSCHANGED_DELETE);
        item.ScreenObject.reset();
    }
    list->clear();
    if (!Demo)
        Engine->Forget();
    ScheduleRepaint();
    return count;
}

std::vector<int32_t> TTransparentForm::ItemIDs(bool Demo) const {
    std::vector<int32_t> ids;
    const std::optional<ItemList>& list = Demo ? DemoItems : Items;
    if (list)
        for (const TTransparentFormObject& item : *list)
            ids.push_back(item.ID);
    return ids;
}

const TTransparentFormObject* TTransparentForm::FindItem(int32_t ID) const {
    for (const std::optional<ItemList>* list : {&Items, &DemoItems})
        if (*list)
            for (const TTransparentFormObject& item : **list)
                if (item.ID == ID)
                    return &item;
    return nullptr;
}

void TTransparentForm::NotifyStatusChanged(int32_t ID, int32_t Status) {
    if (!CallbackWindow)
        return;
    try {
        ::PostMessageW(CallbackWindow, WM_TRANSPARENTELEMENT_STATUSCHANGED, static_cast<WPARAM>(ID),
                       static_cast<LPARAM>(Status));
    } catch (...) {
    }
}

// ---------------------------------------------------------------- front and autohide

void TTransparentForm::FrontTimerTimer() {
    KeepInFront();
    CheckAutohide();
}

void TTransparentForm::CheckAutohide() {
    if (!Items)
        return;
    POINT pos{};
    if (!::GetCursorPos(&pos))
        return;
    bool changed = false;
    for (TTransparentFormObject& item : *Items) {
        if (!item.AutoHide || !item.ScreenObject)
            continue;
        bool over = item.ScreenObject->ContainsPoint(pos);
        if (over != item.AutoHidden) {
            item.AutoHidden = over;
            MarkDirty(item);
            NotifyStatusChanged(item.ID, over ? STATUSCHANGED_AUTOHIDE : STATUSCHANGED_AUTOSHOW);
            changed = true;
        }
    }
    if (changed)
        ScheduleRepaint();
}

// ---------------------------------------------------------------- mouse

void TTransparentForm::DispatchMouseEvent(UINT Msg) {
    if (!Items)
        return;
    POINT pos{};
    ::GetCursorPos(&pos);
    int32_t best = HitSearchDistance;
    HitID = -1;
    for (const TTransparentFormObject& item : *Items) {
        if (!item.ScreenObject)
            continue;
        if (item.ScreenObject->ContainsPoint(pos) && item.ScreenObject->HitTest(pos, best, best)) {
            HitID = item.ID;
            ImageCursorNumber = item.Cursor;
            ApplyCursor();
        }
    }
    if (CallbackWindow && HitID >= 0) {
        try {
            ::PostMessageW(CallbackWindow, Msg, static_cast<WPARAM>(HitID), PackMousePosition(pos));
        } catch (...) {
        }
    }
}

void TTransparentForm::ApplyCursor() {
    POINT pos{};
    if (Handle() && ::GetCursorPos(&pos) && ::WindowFromPoint(pos) == Handle())
        ::SetCursor(LoadCursorFor(ImageCursorNumber));
}

// ---------------------------------------------------------------- menu and dialog

bool TTransparentForm::IsDialogVisible() const {
    return AboutForm && AboutForm->Handle() && ::IsWindowVisible(AboutForm->Handle());
}

void TTransparentForm::InformationaboutOrvexSDK1Click() {
    if (!AboutForm && LibraryDialogFactory)
        AboutForm = LibraryDialogFactory(*this);
    // A form shows through its own rules (its show event, centring).
    if (auto* form = dynamic_cast<ui::Form*>(AboutForm.get()))
        form->SetVisible(true);
    else if (AboutForm && AboutForm->Handle())
        ::ShowWindow(AboutForm->Handle(), SW_SHOW);
    ScheduleRepaint();
}

void TTransparentForm::OrvexHomepage1Click() {
    ::ShellExecuteW(ui::Application::Instance().Handle(), L"open", OrvexHomepageAddress, nullptr,
                    nullptr, SW_SHOWNORMAL);
}

void TTransparentForm::ShowPopupMenu(POINT at) {
    ui::Menu menu(::CreatePopupMenu());
    if (!menu)
        return;
    ::AppendMenuW(menu.Get(), MF_STRING, InformationaboutOrvexSDK1, L"Information about Orvex SDK");
    ::AppendMenuW(menu.Get(), MF_STRING, OrvexHomepage1, L"Orvex SDK Homepage");
    UINT command = static_cast<UINT>(
        ::TrackPopupMenu(menu.Get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0,
                         Handle(), nullptr));
    if (command == InformationaboutOrvexSDK1)
        InformationaboutOrvexSDK1Click();
    else if (command == OrvexHomepage1)
        OrvexHomepage1Click();
}

void TTransparentForm::WMNotifyIcon(LPARAM lParam) {
    switch (LOWORD(lParam)) {
    case WM_LBUTTONDOWN:
        ::SetForegroundWindow(Handle());
        InformationaboutOrvexSDK1Click();
        ::PostMessageW(Handle(), WM_NULL, 0, 0);
        break;
    case WM_RBUTTONDOWN: {
        POINT pos{};
        ::GetCursorPos(&pos);
        ::SetForegroundWindow(Handle());
        ShowPopupMenu(pos);
        ::PostMessageW(Handle(), WM_NULL, 0, 0);
        break;
    }
    default:
        break;
    }
}

// ---------------------------------------------------------------- closing

void TTransparentForm::FormClose() {
    if (IsDialogVisible())
        ::ShowWindow(AboutForm->Handle(), SW_HIDE);
    FormDestroy();
}

void TTransparentForm::FormDestroy() {
    ClearItems(false);
    ClearItems(true);
    AboutForm.reset();
    Presenter.Destroy();
    FrontTimer.SetEnabled(false);
    RedrawTimer.SetEnabled(false);
    Items.reset();
    DemoItems.reset();
}

void TTransparentForm::Close() {
    if (!FormCloseQuery())
        return;
    // Off the screen first: releasing thousands of items takes a while.
    if (Handle())
        ::ShowWindow(Handle(), SW_HIDE);
    FormClose();
}

// ---------------------------------------------------------------- messages

LRESULT TTransparentForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    // No exception may leave a window procedure.
    try {
        return HandleFormMessage(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT TTransparentForm::HandleFormMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        LRESULT r = DefaultHandling(msg, wParam, lParam);
        FormCreate();
        return r;
    }
    case WM_DESTROY:
        FormDestroy();
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_DISPLAYCHANGE:
        FormDisplayChange();
        break;
    case WM_PAINT: {
        if (!Engine->SystemDraws() && Presenter.Ready() && Image) {
            // Asking for the invalid area would cost what Present avoids.
            ::ValidateRect(Handle(), nullptr);
            Present(nullptr);
            return 0;
        }
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Handle(), &ps);
        if (Image)
            ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                     ps.rcPaint.bottom - ps.rcPaint.top, Image.dc.Get(),
                     ps.rcPaint.left + WindowOrigin.x, ps.rcPaint.top + WindowOrigin.y, SRCCOPY);
        ::EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(LoadCursorFor(ImageCursorNumber));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        LeftPressed = true;
        ::SetCapture(Handle());
        ImageMouseDown();
        return 0;
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        ImageMouseDown();
        return 0;
    case WM_LBUTTONDBLCLK:
        ImageDblClick();
        ImageMouseDown();
        return 0;
    case WM_LBUTTONUP: {
        bool wasPressed = LeftPressed;
        LeftPressed = false;
        if (::GetCapture() == Handle())
            ::ReleaseCapture();
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client{};
        ::GetClientRect(Handle(), &client);
        if (wasPressed && ::PtInRect(&client, p))
            ImageClick();
        ImageMouseUp();
        return 0;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        ImageMouseUp();
        return 0;
    case WM_MOUSEMOVE:
        ImageMouseMove();
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != Handle())
            LeftPressed = false;
        break;
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
        // Alt+F4 belongs to Action, which does nothing: the window cannot be
        // closed from the keyboard.
        if (wParam == VK_F4) {
            if (msg == WM_SYSKEYDOWN)
                ActionExecute();
            return 0;
        }
        break;
    case WM_NOTIFYICON:
        WMNotifyIcon(lParam);
        return 0;
    default:
        break;
    }
    return DefaultHandling(msg, wParam, lParam);
}
