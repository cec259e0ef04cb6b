// TTransparentForm: the one borderless, topmost tool window that covers the
// virtual desktop and shows the overlay items. It holds the items (the
// store), shows them (the presenter: picture, shape, copies to the screen,
// keeping in front) and is the window itself: its messages, the mouse and
// the cursor over the items, its timers, the menu of its notification-area
// icon and the library dialog, which whoever makes the window hands it. It repaints 10 ms after
// changes, hides autohide items under the pointer and posts mouse notifications to the store's
// callback window.
#pragma once

#include "overlay_window/uOrvexCursors.h"
#include "overlay_window/uOrvexHomepage.h"
#include "overlay_window/uOrvexItemStore.h"
#include "overlay_window/uOrvexNotifications.h"
#include "overlay_window/uOrvexPlatform.h"
#include "overlay_window/uOrvexPresenter.h"
#include "ui/Form.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

constexpr UINT FrontTimerInterval = 100;
constexpr UINT RedrawTimerInterval = 10;
// The callback message of a notification-area icon.
constexpr UINT WM_NOTIFYICON = WM_USER + 1;
// The overlay is a tool window that is never activated: a click on an item
// leaves the focus with the program the user works in.
constexpr DWORD OverlayExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

// The overlay window's class and title, by which clients find it
// (ORVEX_WINDOW_CLASS and ORVEX_WINDOW_TITLE of Orvex.h).
inline constexpr wchar_t OverlayWindowClass[] = L"OrvexOverlay";
inline constexpr wchar_t OverlayWindowTitle[] = L"Orvex";

class TTransparentForm : public ui::Window {
public:
    TTransparentForm();
    ~TTransparentForm() override;

    // Makes the window (hidden, empty, owned by the application's hidden
    // window); false when the system refused it.
    bool CreateForm();
    // Closes the window: the close steps remove every item; the window hides.
    void Close();

    TItemStore& Store() { return Items; }
    const TItemStore& Store() const { return Items; }
    TOverlayPresenter& Presenter() { return Screen; }
    const TOverlayPresenter& Presenter() const { return Screen; }

    // Handlers.
    void FrontTimerTimer();
    void RedrawTimerTimer();
    // Follows a change of the monitors (WM_DISPLAYCHANGE).
    void FormDisplayChange() { Screen.Place(); }
    void ImageClick() { DispatchMouseEvent(OrvexMessage::Click); }
    void ImageDblClick() { DispatchMouseEvent(OrvexMessage::DblClick); }
    void ImageMouseDown() { DispatchMouseEvent(OrvexMessage::MouseDown); }
    void ImageMouseMove() { DispatchMouseEvent(OrvexMessage::MouseMove); }
    void ImageMouseUp() { DispatchMouseEvent(OrvexMessage::MouseUp); }
    void InformationaboutOrvexSDK1Click();
    void OrvexHomepage1Click();
    void ActionExecute() {}
    void WMNotifyIcon(LPARAM lParam);

    // The library dialog of the menu, made by maker on its first use (so a
    // program that never opens it never has its windows). Without a maker
    // the menu entry only schedules a repaint.
    using DialogMaker = std::function<std::unique_ptr<ui::Form>()>;
    void SetLibraryDialogMaker(DialogMaker maker) { MakeLibraryDialog = std::move(maker); }
    bool IsDialogVisible() const;
    // To be called by the library dialog when it is shown or hidden: the
    // ordinary items go or come back with the repaint this schedules.
    void LibraryDialogShownOrHidden() { ScheduleRepaint(); }
    ui::Form* LibraryDialog() const { return AboutForm.get(); }

    int32_t LastHitID() const { return HitID; }
    int16_t ImageCursor() const { return ImageCursorNumber; }
    bool RepaintPending() const { return RedrawTimer.Enabled(); }
    // Paints and shows what changed now; normally the redraw timer does it.
    void RebuildWindowShape();
    void CheckAutohide();
    void DispatchMouseEvent(UINT Msg);
    void KeepInFront() { Screen.KeepInFront(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT HandleFormMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormDestroy();
    bool FormCloseQuery() { return true; }
    void FormClose();
    void ScheduleRepaint() { RedrawTimer.SetEnabled(true); }
    void ApplyCursor();
    void ShowPopupMenu(POINT at);

public:
    ui::Timer FrontTimer;
    ui::Timer RedrawTimer;

private:
    const TPlatformMeasures Platform = PlatformMeasures(RunningUnderWine());
    TItemStore Items;
    TOverlayPresenter Screen{Platform};
    int32_t HitID = -1;
    int16_t ImageCursorNumber = crDefault;
    bool LeftPressed = false;
    DialogMaker MakeLibraryDialog;
    std::unique_ptr<ui::Form> AboutForm;
};
