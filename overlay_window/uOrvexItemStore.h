// The overlay's items: the two lists (the ordinary items of the clients and
// the demonstration items of the library dialog), their IDs, the operations
// on them and the notifications these post to the callback window.
//
// Invariants:
// - IDs are unique across both lists and never handed out twice: LastID only
//   grows (until the window is made anew).
// - A list's order is its paint order, index 0 painted first.
// - Every change of an ordinary item that a client can see is posted to the
//   callback window as a status notification, in the order of the changes;
//   demonstration items post nothing.
// - A change that alters what an item paints marks the item dirty (its
//   Paint.Dirty) before the owner hears of it; an item about to leave a
//   list is announced to the owner while it is still whole.
// - After Close the lists are gone: every operation answers its failure code
//   until Reset makes them anew.
#pragma once

#include "overlay_window/uOrvexItem.h"
#include "overlay_window/uOrvexNotifications.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Start of the nearest-item search of a mouse event.
constexpr int32_t HitSearchDistance = 1000;

// What the store tells its owner (the window, which repaints); each may be empty.
struct TItemStoreEvents {
    // An item was added: the repaint waits for the end of a series of adds.
    std::function<void()> ItemAdded;
    // What shows changed: a repaint is due.
    std::function<void()> ItemsChanged;
    // An ordinary item that may have painted is about to be removed.
    std::function<void(const TTransparentFormObject&)> ItemRemoving;
    // Every ordinary item was removed at once.
    std::function<void()> OrdinaryCleared;
};

class TItemStore {
public:
    TItemStore() { Reset(); }
    // Fresh, empty lists; IDs start again at 1 and no callback window is set.
    void Reset();
    // Removes every item (ordinary ones announced) and drops the lists.
    void Close();
    void SetEvents(TItemStoreEvents events) { Events = std::move(events); }

    // Add operations: the new item's ID (> 0), OrvexResult::NotMade when the
    // screen object could not be made (or an argument is unusable),
    // OrvexResult::Failed on any other failure.
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
    // Adds an item around a screen object made elsewhere. Null gives NotMade.
    int32_t AddScreenObject(std::unique_ptr<TScreenObject> object, bool Demo);

    // Item operations: OrvexResult::Done, NoSuchItem or OperationFailed.
    int32_t DeleteItem(int32_t ID);
    int32_t ShowItem(int32_t ID, bool Visible);
    int32_t SetItemLineWidth(int32_t ID, int32_t Width);
    int32_t SetItemFilled(int32_t ID, bool Filled);
    int32_t SetItemColor(int32_t ID, COLORREF Color);
    int32_t SetItemAutohide(int32_t ID, bool AutoHide);
    // A negative position gives OperationFailed and leaves the item where it was.
    int32_t SetItemZOrder(int32_t ID, int32_t Position);
    int32_t SetItemCursor(int32_t ID, int32_t Cursor);
    // Removes every item of one list; the number removed, OrvexResult::NoWindow
    // when the list is gone.
    int32_t ClearItems(bool Demo);

    void SetCallbackWindow(HWND Handle) { CallbackWindow = Handle; }
    HWND GetCallbackWindow() const { return CallbackWindow; }

    // Autohide items hide while the pointer lies on them and show again when
    // it leaves; true when one of them changed.
    bool UpdateAutohide(POINT pointer);
    // An autohide item not yet painted whose box holds the pointer would show
    // for one repaint and hide at the next check, repainting what lies around
    // it. Such items get their area now, painted into a picture of one pixel
    // (bounds: where the overlay's picture lies), and hide at once when the
    // pointer lies in it.
    void HideNewItemsUnderPointer(POINT pointer, RECT bounds);
    // The ordinary item a mouse event at pos concerns (the nearest one whose
    // area holds the point, the last in paint order among equals), or null.
    const TTransparentFormObject* HitItem(POINT pos) const;
    // Posts a mouse notification about the item to the callback window.
    void NotifyMouse(UINT Msg, int32_t ID, POINT pos) const;

    bool ListsExist() const { return Items.has_value(); }
    TItemList* Ordinary() { return Items ? &*Items : nullptr; }
    TItemList* Demo() { return DemoItems ? &*DemoItems : nullptr; }
    std::vector<int32_t> ItemIDs(bool Demo) const;
    const TTransparentFormObject* FindItem(int32_t ID) const;
    int32_t LastItemID() const { return LastID; }

private:
    void NotifyStatusChanged(int32_t ID, int32_t Status) const;
    void Changed() {
        if (Events.ItemsChanged)
            Events.ItemsChanged();
    }
    // Runs the common steps of an add: a screen object from make becomes a new item.
    int32_t AddItem(const std::function<std::unique_ptr<TScreenObject>()>& make, bool Demo);
    // Calls op for the item with this ID in Items (and DemoItems when
    // searchDemo); the item's list is passed so op can tell demo items apart.
    int32_t ForItem(int32_t ID, bool searchDemo,
                    const std::function<void(TItemList& list, size_t index, bool demo)>& op);

    std::optional<TItemList> Items;
    std::optional<TItemList> DemoItems;
    int32_t LastID = 0;
    HWND CallbackWindow = nullptr;
    TItemStoreEvents Events;
};
