// The overlay control on a form: construction, the hiding rule, the wrappers,
// and notifications turned into events, also past a failing handler.
#include "overlay_api/VuderOrvex.h"
#include "overlay_api/uOrvexTransparent.h"
#include "overlay_window/uOrvexTransparentForm.h"
#include "ui/Application.h"
#include "ui/Form.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

void Pump(DWORD ms) {
    ui::Application& app = ui::Application::Instance();
    const DWORD start = ::GetTickCount();
    MSG msg;
    do {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            app.DispatchOne(msg);
        ::Sleep(1);
    } while (::GetTickCount() - start < ms);
}

struct Event {
    std::string kind;
    int32_t id;
    POINT position;
    TVuderOrvex* sender;
};

// The scene window's way of holding the control.
struct SceneForm {
    ui::Form form;
    TVuderOrvex VuderOrvex{form};
    std::vector<Event> events;

    SceneForm() {
        auto record = [this](const char* kind) {
            return [this, kind](TVuderOrvex& sender, int32_t id, POINT& position) {
                events.push_back(Event{kind, id, position, &sender});
            };
        };
        VuderOrvex.OnClick = record("click");
        VuderOrvex.OnDoubleClick = record("dblclick");
        VuderOrvex.OnMouseDown = record("down");
        VuderOrvex.OnMouseMove = record("move");
        VuderOrvex.OnMouseUp = record("up");
    }
};

TTransparentForm& Overlay() {
    return *TransparentForm();
}

bool ItemShown(int32_t id) {
    const TTransparentFormObject* item = Overlay().Store().FindItem(id);
    return item && item->ScreenObject->Visible;
}

TEST(OverlayControl, ConstructionClearsTheOverlayAndRegistersItsWindow) {
    Orvex_Clear();
    const int32_t before = Orvex_Rectangle(RECT{0, 0, 10, 10}, RGB(1, 2, 3));
    ASSERT_GT(before, 0);
    SceneForm scene;
    EXPECT_EQ(Overlay().Store().FindItem(before), nullptr)
        << "a new control starts with an empty overlay";
    EXPECT_EQ(Overlay().Store().GetCallbackWindow(), scene.VuderOrvex.Handle());
    EXPECT_EQ(::GetParent(scene.VuderOrvex.Handle()), scene.form.Handle());
    EXPECT_TRUE(scene.VuderOrvex.Visible());
    EXPECT_FALSE(::IsWindowVisible(scene.form.Handle()));
}

TEST(OverlayControl, HidingRuleAndVisibleSetter) {
    SceneForm scene;
    TVuderOrvex& c = scene.VuderOrvex;
    const int32_t shown = c.AddEllipse(RECT{0, 0, 120, 100}, RGB(250, 250, 250));
    ASSERT_GT(shown, 0);
    EXPECT_TRUE(ItemShown(shown));

    c.SetVisible(false); // from true: clears every ordinary item
    EXPECT_EQ(Overlay().Store().FindItem(shown), nullptr);
    const int32_t hidden = c.AddEllipse(RECT{0, 0, 120, 100}, RGB(250, 250, 250));
    const int32_t rect = c.AddRectangle(RECT{5, 5, 50, 50}, RGB(0, 0, 0));
    for (int32_t id : {hidden, rect}) {
        ASSERT_GT(id, 0) << "the item exists";
        EXPECT_FALSE(ItemShown(id)) << "but is not shown while Visible is false";
    }
    // A bitmap item is hidden the same way, whatever ID the overlay gave.
    const HMODULE card = ::GetModuleHandleW(nullptr); // the card's bitmaps are linked in
    EnableDebugLog();
    const size_t linesBefore = DebugLogLines()->size();
    const int32_t bitmap = c.AddBitmapFromResource(POINT{30, 30}, card, "SNOWFLAKE", RGB(0, 0, 0));
    if (bitmap > 0) {
        EXPECT_FALSE(ItemShown(bitmap));
    }
    bool hideAsked = false;
    for (size_t i = linesBefore; i < DebugLogLines()->size(); ++i)
        hideAsked = hideAsked || (*DebugLogLines())[i].find("Orvex_Operation") != std::string::npos;
    EXPECT_TRUE(hideAsked);
    const int32_t direct = Orvex_Rectangle(RECT{0, 0, 3, 3}, RGB(1, 1, 1));
    c.SetVisible(false); // already false: nothing is cleared
    EXPECT_NE(Overlay().Store().FindItem(hidden), nullptr);
    EXPECT_NE(Overlay().Store().FindItem(direct), nullptr);

    c.SetVisible(true); // does not show what was made hidden
    EXPECT_FALSE(ItemShown(hidden));
    const int32_t later = c.AddRectangle(RECT{5, 5, 50, 50}, RGB(0, 0, 0));
    EXPECT_TRUE(ItemShown(later));
    c.SetVisible(false);
    EXPECT_EQ(Overlay().Store().FindItem(direct), nullptr) << "items made by direct calls go too";
}

TEST(OverlayControl, WrappersPassTheirResultsThrough) {
    SceneForm scene;
    TVuderOrvex& c = scene.VuderOrvex;
    const int32_t id = c.AddEllipse(RECT{10, 10, 50, 50}, RGB(250, 250, 250));
    ASSERT_GT(id, 0);
    EXPECT_EQ(c.SetFilled(id, true), 1);
    EXPECT_TRUE(Overlay().Store().FindItem(id)->ScreenObject->PolygonFilled);
    EXPECT_EQ(c.SetAutoHide(id, true), 1);
    EXPECT_TRUE(Overlay().Store().FindItem(id)->AutoHide);
    EXPECT_EQ(c.SetAutoHide(id, false), 1);
    EXPECT_FALSE(Overlay().Store().FindItem(id)->AutoHide);
    const int32_t front = c.AddRectangle(RECT{0, 0, 5, 5}, RGB(0, 0, 0));
    EXPECT_EQ(c.SetZOrder(front, 0), 1);
    EXPECT_EQ(Overlay().Store().ItemIDs(false).front(), front);
    EXPECT_EQ(c.SetFilled(id + 1000, true), 0) << "an unknown ID is passed back, not hidden";
    EXPECT_EQ(c.SetZOrder(id + 1000, 0), 0);
    EXPECT_GT(c.Clear(), 0);
    EXPECT_TRUE(Overlay().Store().ItemIDs(false).empty());
}

TEST(OverlayControl, ResourceNamesThatDoNotFitTheBufferAreRefused) {
    SceneForm scene;
    TVuderOrvex& c = scene.VuderOrvex;
    const HINSTANCE self = ::GetModuleHandleW(nullptr);
    const size_t itemsBefore = Overlay().Store().ItemIDs(false).size();
    const int32_t lastID = Overlay().Store().LastItemID();
    EXPECT_EQ(c.AddBitmapFromResource(POINT{0, 0}, self, std::string(1024, 'A'), RGB(0, 0, 0)),
              ResourceNameTooLong);
    EXPECT_EQ(c.AddBitmapFromResource(POINT{0, 0}, self, std::string(5000, 'A'), RGB(0, 0, 0)),
              ResourceNameTooLong);
    EXPECT_EQ(Overlay().Store().ItemIDs(false).size(), itemsBefore) << "no item for a refused name";
    EXPECT_EQ(Overlay().Store().LastItemID(), lastID) << "and no ID used";
    // 1023 characters fit: the name reaches the overlay, whose log shows the call.
    EnableDebugLog();
    const size_t linesBefore = DebugLogLines()->size();
    c.AddBitmapFromResource(POINT{0, 0}, self, std::string(1023, 'A'), RGB(0, 0, 0));
    ASSERT_GT(DebugLogLines()->size(), linesBefore);
    bool named = false;
    for (size_t i = linesBefore; i < DebugLogLines()->size(); ++i)
        named = named || (*DebugLogLines())[i].find(std::string(1023, 'A')) != std::string::npos;
    EXPECT_TRUE(named);
}

TEST(OverlayNotifications, EventsCarryTheIDAndAnUnsignedPosition) {
    SceneForm scene;
    HWND h = scene.VuderOrvex.Handle();
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_CLICK, 42, MAKELPARAM(5, 65535));
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_DBLCLK, 43, MAKELPARAM(65535, 0));
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEDOWN, 44, MAKELPARAM(1, 2));
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_STATUSCHANGED, 45, STATUSCHANGED_INSERT);
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEMOVE, 46, MAKELPARAM(3, 4));
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEUP, -7, MAKELPARAM(1023, 767));
    Pump(30);
    ASSERT_EQ(scene.events.size(), 5u) << "a status change raises no event";
    const char* kinds[] = {"click", "dblclick", "down", "move", "up"};
    const int32_t ids[] = {42, 43, 44, 46, -7};
    const POINT positions[] = {{5, 65535}, {65535, 0}, {1, 2}, {3, 4}, {1023, 767}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(scene.events[i].kind, kinds[i]);
        EXPECT_EQ(scene.events[i].id, ids[i]);
        EXPECT_EQ(scene.events[i].position.x, positions[i].x);
        EXPECT_EQ(scene.events[i].position.y, positions[i].y);
        EXPECT_EQ(scene.events[i].sender, &scene.VuderOrvex);
    }
    // Unassigned events are simply not raised.
    scene.VuderOrvex.OnMouseMove = nullptr;
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEMOVE, 1, 0);
    Pump(20);
    EXPECT_EQ(scene.events.size(), 5u);
}

TEST(OverlayNotifications, AFailingHandlerDoesNotStopTheNextNotification) {
    SceneForm scene;
    int calls = 0;
    scene.VuderOrvex.OnClick = [&](TVuderOrvex&, int32_t, POINT&) {
        ++calls;
        throw std::runtime_error("handler failure");
    };
    scene.VuderOrvex.OnMouseMove = [&](TVuderOrvex&, int32_t, POINT&) { throw 5; };
    HWND h = scene.VuderOrvex.Handle();
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_CLICK, 1, 0);
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEMOVE, 1, 0);
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_CLICK, 2, 0);
    ::PostMessageW(h, WM_TRANSPARENTELEMENT_MOUSEUP, 3, MAKELPARAM(7, 8));
    Pump(30);
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(scene.events.size(), 1u);
    EXPECT_EQ(scene.events[0].kind, "up");
    EXPECT_EQ(scene.events[0].id, 3);
}

TEST(OverlayNotifications, AClickOnAnItemReachesOnClick) {
    SceneForm scene;
    TVuderOrvex& c = scene.VuderOrvex;
    const int32_t box = c.AddRectangle(RECT{200, 150, 260, 210}, RGB(0, 0, 0));
    c.SetFilled(box, true);
    Overlay().RebuildWindowShape();
    ::SetCursorPos(230, 180);
    Overlay().ImageClick(); // what the overlay window does for a click
    Pump(30);
    // Moving the pointer onto the item may add move events; one click came.
    std::vector<Event> clicks;
    for (const Event& e : scene.events)
        if (e.kind == "click")
            clicks.push_back(e);
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].id, box);
    EXPECT_EQ(clicks[0].position.x, 230);
    EXPECT_EQ(clicks[0].position.y, 180);
}

} // namespace
