#include "overlay_window/uOrvexItemStore.h"

#include "overlay_window/uOrvexItemShapes.h"
#include "overlay_window/uOrvexNotifications.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

void TItemStore::Reset() {
    Items.emplace();
    DemoItems.emplace();
    LastID = 0;
    CallbackWindow = nullptr;
}

void TItemStore::Close() {
    ClearItems(false);
    ClearItems(true);
    Items.reset();
    DemoItems.reset();
}

int32_t TItemStore::AddItem(const std::function<std::unique_ptr<TScreenObject>()>& make,
                            bool Demo) {
    // A failed add tells the owner nothing.
    try {
        std::unique_ptr<TScreenObject> object = make();
        if (!object)
            return OrvexResult::NotMade;
        TItemList* list = Demo ? (DemoItems ? &*DemoItems : nullptr) : (Items ? &*Items : nullptr);
        if (!list)
            return OrvexResult::Failed;
        TTransparentFormObject item;
        item.ID = ++LastID;
        item.ScreenObject = std::move(object);
        list->push_back(std::move(item));
        const int32_t result = list->back().ID;
        if (!Demo)
            NotifyStatusChanged(result, OrvexStatus::Insert);
        if (Events.ItemAdded)
            Events.ItemAdded();
        return result;
    } catch (...) {
        return OrvexResult::Failed;
    }
}

int32_t TItemStore::AddScreenObject(std::unique_ptr<TScreenObject> object, bool Demo) {
    return AddItem([&object] { return std::move(object); }, Demo);
}

int32_t TItemStore::AddPointItem(POINT Position, int32_t Style, COLORREF Color, bool Demo) {
    return AddItem([&] { return MakePointObject(Position, Style, Color); }, Demo);
}

int32_t TItemStore::AddLineItem(POINT StartPoint, POINT EndPoint, int32_t Width, COLORREF Color,
                                bool Demo) {
    return AddItem([&] { return MakeLineObject(StartPoint, EndPoint, Width, Color); }, Demo);
}

int32_t TItemStore::AddPolylineItem(const POINT* Points, int32_t NumPoints, bool Filled,
                                    int32_t Width, COLORREF Color, bool Demo) {
    if (!Points && NumPoints > 0)
        return OrvexResult::NotMade;
    return AddItem([&] { return MakePolylineObject(Points, NumPoints, Filled, Width, Color); },
                   Demo);
}

int32_t TItemStore::AddRectangleItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color,
                                     bool Demo) {
    return AddItem([&] { return MakeRectangleObject(Rect, Filled, Width, Color); }, Demo);
}

int32_t TItemStore::AddEllipseItem(RECT Rect, bool Filled, int32_t Width, COLORREF Color,
                                   bool Demo) {
    return AddItem([&] { return MakeEllipseObject(Rect, Filled, Width, Color); }, Demo);
}

int32_t TItemStore::AddTextItem(POINT Position, const std::wstring& Text,
                                const std::wstring& FontName, int32_t Size, bool Bold, bool Italic,
                                COLORREF Color, bool Demo) {
    return AddItem(
        [&] { return MakeTextObject(Position, Text, FontName, Size, Bold, Italic, Color); }, Demo);
}

int32_t TItemStore::AddBitmapItemByFile(POINT Position, const std::wstring& FileName,
                                        COLORREF TransparentColor, bool Demo) {
    return AddItem([&] { return MakeBitmapObjectFromFile(Position, FileName, TransparentColor); },
                   Demo);
}

int32_t TItemStore::AddBitmapItemByResource(POINT Position, HMODULE Instance,
                                            const std::wstring& ResourceName,
                                            COLORREF TransparentColor, bool Demo) {
    return AddItem(
        [&] {
            return MakeBitmapObjectFromResource(Position, Instance, ResourceName, TransparentColor);
        },
        Demo);
}

int32_t TItemStore::ForItem(int32_t ID, bool searchDemo,
                            const std::function<void(TItemList&, size_t, bool)>& op) {
    try {
        if (!Items || !DemoItems)
            return OrvexResult::OperationFailed; // the window has been closed
        bool found = false;
        auto walk = [&](TItemList& list, bool demo) {
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
        return found ? OrvexResult::Done : OrvexResult::NoSuchItem;
    } catch (...) {
        return OrvexResult::OperationFailed;
    }
}

int32_t TItemStore::DeleteItem(int32_t ID) {
    int32_t r = ForItem(ID, true, [&](TItemList& list, size_t i, bool demo) {
        if (!demo) {
            NotifyStatusChanged(ID, OrvexStatus::Delete);
            if (Events.ItemRemoving)
                Events.ItemRemoving(list[i]);
        }
        list.erase(list.begin() + static_cast<ptrdiff_t>(i));
    });
    if (r == OrvexResult::Done)
        Changed();
    return r;
}

int32_t TItemStore::ShowItem(int32_t ID, bool Visible) {
    int32_t r = ForItem(ID, true, [&](TItemList& list, size_t i, bool demo) {
        list[i].ScreenObject->SetVisible(Visible);
        list[i].Paint.Dirty = true;
        if (!demo)
            NotifyStatusChanged(ID, Visible ? OrvexStatus::SetVisibleTrue
                                            : OrvexStatus::SetVisibleFalse);
    });
    if (r == OrvexResult::Done)
        Changed();
    return r;
}

int32_t TItemStore::SetItemLineWidth(int32_t ID, int32_t Width) {
    return ForItem(ID, false, [&](TItemList& list, size_t i, bool) {
        list[i].ScreenObject->LineWidth = Width;
        list[i].Paint.Dirty = true;
    });
}

int32_t TItemStore::SetItemFilled(int32_t ID, bool Filled) {
    return ForItem(ID, false, [&](TItemList& list, size_t i, bool) {
        list[i].ScreenObject->PolygonFilled = Filled;
        list[i].Paint.Dirty = true;
    });
}

int32_t TItemStore::SetItemColor(int32_t ID, COLORREF Color) {
    return ForItem(ID, false, [&](TItemList& list, size_t i, bool) {
        list[i].ScreenObject->SetLineColor(Color);
        list[i].ScreenObject->SetFillColor(Color);
        list[i].Paint.Dirty = true;
    });
}

int32_t TItemStore::SetItemAutohide(int32_t ID, bool AutoHide) {
    int32_t r = ForItem(ID, false, [&](TItemList& list, size_t i, bool) {
        list[i].AutoHide = AutoHide;
        list[i].Paint.Dirty = true;
        NotifyStatusChanged(ID, AutoHide ? OrvexStatus::SetAutohideTrue
                                         : OrvexStatus::SetAutohideFalse);
    });
    if (r == OrvexResult::Done)
        Changed();
    return r;
}

int32_t TItemStore::SetItemZOrder(int32_t ID, int32_t Position) {
    try {
        if (!Items)
            return OrvexResult::OperationFailed;
        TItemList& list = *Items;
        size_t index = list.size();
        for (size_t i = list.size(); i-- > 0;) {
            if (list[i].ID == ID) {
                index = i;
                break;
            }
        }
        if (index == list.size())
            return OrvexResult::NoSuchItem;
        // A negative position has no place in the paint order: the item stays.
        if (Position < 0)
            return OrvexResult::OperationFailed;
        TTransparentFormObject item = std::move(list[index]);
        item.Paint.Dirty = true;
        list.erase(list.begin() + static_cast<ptrdiff_t>(index));
        if (static_cast<size_t>(Position) < list.size())
            list.insert(list.begin() + Position, std::move(item));
        else
            list.push_back(std::move(item));
        Changed();
        return OrvexResult::Done;
    } catch (...) {
        return OrvexResult::OperationFailed;
    }
}

int32_t TItemStore::SetItemCursor(int32_t ID, int32_t Cursor) {
    return ForItem(ID, false, [&](TItemList& list, size_t i, bool) {
        list[i].Cursor = static_cast<int16_t>(static_cast<uint16_t>(Cursor & 0xFFFF));
    });
}

int32_t TItemStore::ClearItems(bool Demo) {
    std::optional<TItemList>& list = Demo ? DemoItems : Items;
    if (!list)
        return OrvexResult::NoWindow;
    const int32_t count = static_cast<int32_t>(list->size());
    // Items go from index 0 on, each announced before it is released; not
    // to a callback window that is gone already (the program is ending).
    const bool notify = !Demo && CallbackWindow && ::IsWindow(CallbackWindow);
    for (TTransparentFormObject& item : *list) {
        if (notify)
            NotifyStatusChanged(item.ID, OrvexStatus::Delete);
        item.ScreenObject.reset();
    }
    list->clear();
    if (!Demo && Events.OrdinaryCleared)
        Events.OrdinaryCleared();
    Changed();
    return count;
}

std::vector<int32_t> TItemStore::ItemIDs(bool Demo) const {
    std::vector<int32_t> ids;
    const std::optional<TItemList>& list = Demo ? DemoItems : Items;
    if (list)
        for (const TTransparentFormObject& item : *list)
            ids.push_back(item.ID);
    return ids;
}

const TTransparentFormObject* TItemStore::FindItem(int32_t ID) const {
    for (const std::optional<TItemList>* list : {&Items, &DemoItems})
        if (*list)
            for (const TTransparentFormObject& item : **list)
                if (item.ID == ID)
                    return &item;
    return nullptr;
}

void TItemStore::NotifyStatusChanged(int32_t ID, int32_t Status) const {
    if (!CallbackWindow)
        return;
    ::PostMessageW(CallbackWindow, OrvexMessage::StatusChanged, static_cast<WPARAM>(ID),
                   static_cast<LPARAM>(Status));
}

bool TItemStore::UpdateAutohide(POINT pointer) {
    if (!Items)
        return false;
    bool changed = false;
    for (TTransparentFormObject& item : *Items) {
        if (!item.AutoHide || !item.ScreenObject)
            continue;
        const bool over = item.ScreenObject->ContainsPoint(pointer);
        if (over != item.AutoHidden) {
            item.AutoHidden = over;
            item.Paint.Dirty = true;
            NotifyStatusChanged(item.ID, over ? OrvexStatus::AutoHide : OrvexStatus::AutoShow);
            changed = true;
        }
    }
    if (changed)
        Changed();
    return changed;
}

void TItemStore::HideNewItemsUnderPointer(POINT pointer, RECT bounds) {
    if (!Items)
        return;
    ui::PixelPicture scratch;
    for (TTransparentFormObject& item : *Items) {
        // Never painted: it has no area yet.
        const bool isNew = !item.ScreenObject || !item.ScreenObject->Region;
        RECT box;
        if (!isNew || !item.AutoHide || item.AutoHidden || !item.ScreenObject ||
            !PaintsExactArea(*item.ScreenObject, box) || !::PtInRect(&box, pointer))
            continue;
        if (!scratch && !(scratch = ui::MakePixelPicture(SIZE{1, 1})))
            return;
        ui::Canvas canvas(scratch.dc.Get());
        canvas.SetPixels(scratch.pixels);
        // The area is that of the whole picture, as a repaint gives it.
        canvas.SetBounds(bounds);
        PaintObjectArea(*item.ScreenObject, canvas); // the object keeps its area
        if (item.ScreenObject->ContainsPoint(pointer)) {
            item.AutoHidden = true;
            NotifyStatusChanged(item.ID, OrvexStatus::AutoHide);
        }
    }
}

const TTransparentFormObject* TItemStore::HitItem(POINT pos) const {
    if (!Items)
        return nullptr;
    int32_t best = HitSearchDistance;
    const TTransparentFormObject* hit = nullptr;
    for (const TTransparentFormObject& item : *Items)
        if (item.ScreenObject && item.ScreenObject->ContainsPoint(pos) &&
            item.ScreenObject->HitTest(pos, best, best))
            hit = &item;
    return hit;
}

void TItemStore::NotifyMouse(UINT Msg, int32_t ID, POINT pos) const {
    if (CallbackWindow)
        ::PostMessageW(CallbackWindow, Msg, static_cast<WPARAM>(ID), PackMousePosition(pos));
}
