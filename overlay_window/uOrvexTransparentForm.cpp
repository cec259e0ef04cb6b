#include "overlay_window/uOrvexTransparentForm.h"

#include "ui/Application.h"
#include "ui/Form.h"

#include <shellapi.h>

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
    // What changes among the items reaches the screen with the next repaint.
    TItemStoreEvents events;
    events.ItemAdded = [this] { RedrawTimer.Restart(); };
    events.ItemsChanged = [this] { ScheduleRepaint(); };
    events.ItemRemoving = [this](const TTransparentFormObject& item) { Screen.ItemRemoved(item); };
    events.OrdinaryCleared = [this] { Screen.InvalidateShape(); };
    Items.SetEvents(std::move(events));
    Screen.OnRepaintNeeded = [this] { ScheduleRepaint(); };
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
    // A small popup, placed over what it covers once made.
    ui::WindowParams p;
    p.exStyle = OverlayExStyle;
    p.style = WS_POPUP | WS_CLIPCHILDREN;
    p.caption = OverlayWindowTitle;
    p.className = OverlayWindowClass;
    p.width = 1;
    p.height = 1;
    p.parent = app.Handle();
    if (!Create(p))
        return false;
    ApplyWindowMeasures(Handle(), Platform);
    Screen.Place();
    return true;
}

void TTransparentForm::FormCreate() {
    Items.Reset();
    if (HWND owner = ::GetWindow(Handle(), GW_OWNER))
        ::ShowWindow(owner, SW_HIDE);
    ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, OverlayExStyle);
    Screen.Attach(Handle());
    ScheduleRepaint();
}

// ---------------------------------------------------------------- front and autohide

void TTransparentForm::FrontTimerTimer() {
    KeepInFront();
    CheckAutohide();
}

void TTransparentForm::CheckAutohide() {
    POINT pos{};
    if (::GetCursorPos(&pos))
        Items.UpdateAutohide(pos);
}

void TTransparentForm::RedrawTimerTimer() {
    RedrawTimer.SetEnabled(false);
    RebuildWindowShape();
}

void TTransparentForm::RebuildWindowShape() {
    if (!Items.ListsExist())
        return;
    POINT pos{};
    if (::GetCursorPos(&pos))
        Items.HideNewItemsUnderPointer(pos, Screen.Bounds());
    Screen.Rebuild(Items.Ordinary(), Items.Demo(), !IsDialogVisible());
}

// ---------------------------------------------------------------- mouse

void TTransparentForm::DispatchMouseEvent(UINT Msg) {
    if (!Items.ListsExist())
        return;
    POINT pos{};
    ::GetCursorPos(&pos);
    const TTransparentFormObject* hit = Items.HitItem(pos);
    HitID = hit ? hit->ID : -1;
    if (!hit)
        return;
    ImageCursorNumber = hit->Cursor;
    ApplyCursor();
    Items.NotifyMouse(Msg, HitID, pos);
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
    if (!AboutForm && MakeLibraryDialog)
        AboutForm = MakeLibraryDialog();
    if (AboutForm)
        AboutForm->SetVisible(true);
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
    Items.Close();
    AboutForm.reset();
    Screen.Detach();
    FrontTimer.SetEnabled(false);
    RedrawTimer.SetEnabled(false);
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
    case WM_PAINT:
        Screen.Paint();
        return 0;
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
