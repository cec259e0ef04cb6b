// TTransparentForm: the one borderless, topmost tool window that covers the
// virtual desktop and draws the overlay items. Its window region is the union
// of what the items painted in the last repaint, so everything between them
// stays visible and clickable. It owns the items, hands out their IDs, keeps
// the paint order, repaints 10 ms after changes, hides autohide items under
// the pointer and posts mouse and status notifications to one callback window.
#pragma once

#include "overlay_window/uOrvexCursors.h"
#include "overlay_window/uOrvexItem.h"
#include "overlay_window/uOrvexPlacement.h"
#include "overlay_window/uOrvexPlatform.h"
#include "overlay_window/uOrvexPresent.h"
#include "overlay_window/uOrvexRepaint.h"
#include "screen_objects/uScreenObject.h"
#include "ui/Handles.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// lParam of the mouse notifications: x in the low 16 bits, y in the high 16 bits.
inline LPARAM PackMousePosition(POINT p) {
    return static_cast<LPARAM>((static_cast<uint32_t>(p.x) & 0xFFFFu) |
                               ((static_cast<uint32_t>(p.y) & 0xFFFFu) << 16));
}

constexpr UINT FrontTimerInterval = 100;
constexpr UINT RedrawTimerInterval = 10;
// The callback message of a notification-area icon.
constexpr UINT WM_NOTIFYICON = WM_USER + 1;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW
constexpr UINT FrontWindowPosFlags = 0x53;
// The overlay is a tool window that is never activated: a click on an item
// leaves the focus with the program the user works in.
constexpr DWORD OverlayExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
// Alt+F4: the Alt flag 0x8000 plus VK_F4.
constexpr uint16_t ActionShortCut = 32883;
// Start of the nearest-item search of a mouse event.
constexpr int32_t HitSearchDistance = 1000;

extern const wchar_t OrvexHomepageAddress[];

class TTransparentForm : public ui::Window {
public:
    TTransparentForm();
    ~TTransparentForm() override;

    // Makes the window (hidden, empty, owned by the application's hidden
    // window); false when the system refused it.
    bool CreateForm();

    // Add operations: the new item's ID (> 0), -2 when the screen object could
    // not be made (or an argument is unusable), -3 on any other failure.
    int32_t AddPointItem(POINT Position, int32_t Style, COLORREF Color, bool Demo);
    int32_t AddLineItem(POINT StartPoint, POINT EndPoint, int32_t Width, COLORREF Color, bool Demo);
    int32_t AddPolylineItem(const POINT* Points, int32_t NumPoints, bool Filled, int32_t Width,
                            COLORREF Color, bool Demo);
    int32_t AddRectangleItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color, bool Demo);
    int32_t AddEllipseItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color, bool Demo);
    int32_t AddTextItem(POINT Position, const std::wstring& Text, const std::wstring& FontName,
                        int32_t Size, bool Bold, bool Italic, COLORREF Color, bool Demo);
    int32_t AddBitmapItemByFile(POINT Position, const std::wstring& FileName,
                                COLORREF TransparentColor, bool Demo);
    int32_t AddBitmapItemByResource(POINT Position, HMODULE Instance,
                                    const std::wstring& ResourceName, COLORREF TransparentColor,
                                    bool Demo);
    // Adds an item around a screen object made elsewhere (the add operations
    // and the library dialog use it). Null gives -2.
    int32_t AddScreenObject(std::unique_ptr<TScreenObject> object, bool Demo);

    // Item operations: 1 found and done, 0 no such item, -1 failure.
    int32_t DeleteItem(int32_t ID);
    int32_t ShowItem(int32_t ID, bool Visible);
    int32_t SetItemLineWidth(int32_t ID, int32_t Width);
    int32_t SetItemFilled(int32_t ID, bool Filled);
    int32_t SetItemColor(int32_t ID, COLORREF Color);
    int32_t SetItemAutohide(int32_t ID, bool AutoHide);
    // A negative position gives -1 and leaves the item where it was.
    int32_t SetItemZOrder(int32_t ID, int32_t Position);
    int32_t SetItemCursor(int32_t ID, int32_t Cursor);

    // Removes every item of one list; the number removed, -1 when the list is gone.
    int32_t ClearItems(bool Demo);
    void SetCallbackWindow(HWND Handle) { CallbackWindow = Handle; }
    HWND GetCallbackWindow() const { return CallbackWindow; }

    // What the window covers (the virtual desktop unless told otherwise); it
    // is placed anew at once and whenever the monitors change.
    void SetCoverage(OverlayCoverage coverage);
    OverlayCoverage Coverage() const { return Covered; }
    // The window's top left corner in screen coordinates.
    POINT Origin() const { return WindowOrigin; }

    // Closes the window: the close steps remove every item; the window hides.
    void Close();

    // Handlers.
    void FrontTimerTimer();
    void RedrawTimerTimer();
    // Follows a change of the monitors (WM_DISPLAYCHANGE).
    void FormDisplayChange();
    void ImageClick() { DispatchMouseEvent(WM_USER + 7000); }
    void ImageDblClick() { DispatchMouseEvent(WM_USER + 7001); }
    void ImageMouseDown() { DispatchMouseEvent(WM_USER + 7002); }
    void ImageMouseMove() { DispatchMouseEvent(WM_USER + 7003); }
    void ImageMouseUp() { DispatchMouseEvent(WM_USER + 7004); }
    void InformationaboutOrvexSDK1Click();
    void OrvexHomepage1Click();
    void ActionExecute() {}
    void WMNotifyIcon(LPARAM lParam);

    // The library dialog is made on first use by this factory; the dialog's
    // unit (uOrvexTransparentAbout) defines it to make the about and demo
    // dialog. Without one the menu entry only schedules a repaint.
    using DialogFactory = std::function<std::unique_ptr<ui::Window>(TTransparentForm& owner)>;
    static DialogFactory LibraryDialogFactory;
    bool IsDialogVisible() const;
    // Called by the library dialog when it is shown or hidden: the ordinary
    // items go or come back with the repaint this schedules.
    void LibraryDialogShownOrHidden() { ScheduleRepaint(); }
    ui::Window* LibraryDialog() const { return AboutForm.get(); }

    // State for the library dialog, diagnostics and tests.
    bool ListsExist() const { return Items.has_value(); }
    std::vector<int32_t> ItemIDs(bool Demo) const;
    const TTransparentFormObject* FindItem(int32_t ID) const;
    int32_t LastItemID() const { return LastID; }
    int32_t LastHitID() const { return HitID; }
    int16_t ImageCursor() const { return ImageCursorNumber; }
    bool RepaintPending() const { return RedrawTimer.Enabled(); }
    // How many times the window shape has been rebuilt.
    long RebuildCount() const { return Rebuilds; }
    // Builds the window shape now; normally the redraw timer does it. Only
    // what changed since the last rebuild is painted again, and the shape is
    // handed to the system only when it changed.
    void RebuildWindowShape();
    // Replaces the repaint engine (the incremental one unless told
    // otherwise; the full one is the reference of tests and benchmarks).
    void SetRepaintEngine(std::unique_ptr<TRepaintEngine> engine);
    // Forgets what the last rebuild left, so that the next one paints everything.
    void InvalidateShape() { Engine->Forget(); }
    const TRepaintStats& Repaints() const { return Engine->Stats(); }
    // The picture the screen shows (null before the first rebuild).
    HDC PictureDC() const { return Engine->ShownPicture(Image.dc.Get()); }
    void CheckAutohide();
    void DispatchMouseEvent(UINT Msg);
    // Shows the window above every other program's window; does nothing
    // while it is there already.
    void KeepInFront();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    using ItemList = TItemList;

    LRESULT HandleFormMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void FormCreate();
    void FormDestroy();
    bool FormCloseQuery() { return true; }
    void FormClose();

    int32_t NextItemID() { return ++LastID; }
    void NotifyStatusChanged(int32_t ID, int32_t Status);
    void ScheduleRepaint() { RedrawTimer.SetEnabled(true); }
    // Runs the common steps of an add: a screen object from make, set up by
    // setup, becomes a new item. setup returning false means -2.
    int32_t AddItem(const std::function<std::unique_ptr<TScreenObject>()>& make,
                    const std::function<bool(TScreenObject&)>& setup, bool Demo);
    // Calls op for the item with this ID in Items (and DemoItems when
    // searchDemo); the item's list is passed so op can tell demo items apart.
    int32_t ForItem(int32_t ID, bool searchDemo,
                    const std::function<void(ItemList& list, size_t index, bool demo)>& op);
    TTransparentFormObject* FindOrdinary(int32_t ID);
    // Hands a copy of the engine's shape to the system.
    void SetShape(BOOL redraw);
    // Hands a region in screen coordinates, less the holes, to the system,
    // which takes it over.
    void HandRegionToSystem(ui::Region region, BOOL redraw);
    // Copies the picture to the window where area lies (everywhere for null).
    void Present(HRGN area);
    void MarkDirty(TTransparentFormObject& item) { item.Paint.Dirty = true; }
    // New autohide items under the pointer hide before they are first shown.
    void HideNewItemsUnderPointer();
    HDC ImageCanvasDC();
    void ApplyCursor();
    void ShowPopupMenu(POINT at);
    // Moves and sizes the window to what it covers; a new size or place
    // starts the picture afresh.
    void PlaceWindow();
    RECT CoveredBounds() const;
    // The own stay-on-top windows of OwnAbove that now lie below the overlay.
    std::vector<ZOrderEntry> OwnWindowsSlippedBelow(const std::vector<ZOrderEntry>& above) const;
    // Clips the picture to a region given in screen coordinates (null: no clip).
    void ClipPicture(HRGN screenRegion);

public:
    ui::Timer FrontTimer;
    ui::Timer RedrawTimer;

private:
    std::optional<ItemList> Items;
    int32_t LastID = 0;
    std::optional<ItemList> DemoItems;
    HWND CallbackWindow = nullptr;
    int32_t HitID = -1;

    // The picture the items paint into, the size of the window. Items paint
    // in screen coordinates: the picture's origin is the window's.
    SIZE ImageSize{0, 0};
    POINT WindowOrigin{0, 0};
    OverlayCoverage Covered = OverlayCoverage::VirtualDesktop;
    // Where the own program's windows above the overlay lie (screen
    // coordinates): cut out of the shape handed to the system.
    std::vector<RECT> Holes;
    // The own windows counted above the overlay at the last look.
    std::vector<HWND> OwnAbove;
    const TPlatformMeasures Platform = PlatformMeasures(RunningUnderWine());
    ui::PixelPicture Image; // items paint into it in screen coordinates
    int16_t ImageCursorNumber = crDefault;
    bool LeftPressed = false;
    long Rebuilds = 0;

    std::unique_ptr<TRepaintEngine> Engine = MakeIncrementalRepaint();
    std::unique_ptr<ui::Window> AboutForm;
    TPicturePresenter Presenter; // copies the picture to the window
};
