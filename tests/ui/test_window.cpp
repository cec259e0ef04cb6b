#include "ui/Application.h"
#include "ui/Timer.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingWindow : public ui::Window {
public:
    std::vector<UINT> messages;
    bool destroyedCalled = false;
    UINT userCount = 0;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(msg);
        if (msg == WM_USER + 1) {
            ++userCount;
            return static_cast<LRESULT>(wParam + 1);
        }
        return DefaultHandling(msg, wParam, lParam);
    }
    void OnDestroyed() override { destroyedCalled = true; }
};

ui::WindowParams Popup() {
    ui::WindowParams p;
    p.style = WS_POPUP;
    p.x = 0;
    p.y = 0;
    p.width = 10;
    p.height = 10;
    return p;
}

// Pumps messages for about ms milliseconds.
void Pump(DWORD ms) {
    DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < ms) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        ::Sleep(1);
    }
}

TEST(Window, CreatedForwardsMessagesAndIsDestroyed) {
    RecordingWindow w;
    ASSERT_TRUE(w.Create(Popup()));
    HWND h = w.Handle();
    ASSERT_TRUE(::IsWindow(h));
    EXPECT_EQ(ui::Window::FromHandle(h), &w);
    EXPECT_NE(std::find(w.messages.begin(), w.messages.end(), UINT(WM_CREATE)), w.messages.end());

    EXPECT_EQ(::SendMessageW(h, WM_USER + 1, 41, 0), 42);
    ::PostMessageW(h, WM_USER + 1, 0, 0);
    Pump(20);
    EXPECT_EQ(w.userCount, 2u);

    w.Destroy();
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_TRUE(w.destroyedCalled);
    EXPECT_EQ(w.Handle(), nullptr);
    EXPECT_EQ(ui::Window::FromHandle(h), nullptr);
    w.Destroy(); // a second time does nothing
}

TEST(Window, DestroyedBySystemClearsHandleAndObjectDestructorIsSafe) {
    HWND h;
    {
        RecordingWindow w;
        ASSERT_TRUE(w.Create(Popup()));
        h = w.Handle();
        ::DestroyWindow(h); // destroyed from outside the object
        EXPECT_EQ(w.Handle(), nullptr);
    }
    EXPECT_FALSE(::IsWindow(h));
    {
        RecordingWindow w; // destroyed by its destructor
        ASSERT_TRUE(w.Create(Popup()));
        h = w.Handle();
    }
    EXPECT_FALSE(::IsWindow(h));
}

TEST(Window, FromHandleIgnoresForeignWindows) {
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"x", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ui::Window::FromHandle(button), nullptr);
    ::DestroyWindow(button);
}

TEST(Timer, FiresOnlyWhileEnabled) {
    RecordingWindow w;
    ui::Timer t(w, 20, true); // set up before the window exists
    int fired = 0;
    t.OnTimer = [&] { ++fired; };
    ASSERT_TRUE(w.Create(Popup()));
    Pump(150);
    EXPECT_GE(fired, 2);

    t.SetEnabled(false);
    int atStop = fired;
    Pump(100);
    EXPECT_EQ(fired, atStop) << "a disabled timer never fires";
}

TEST(Application, OwnerWindowCarriesTitle) {
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetTitle(L"Frostvale-Card");
    ASSERT_TRUE(::IsWindow(app.Handle()));
    wchar_t title[64] = {};
    ::GetWindowTextW(app.Handle(), title, 64);
    EXPECT_STREQ(title, L"Frostvale-Card");
    EXPECT_FALSE(::IsWindowVisible(app.Handle()));
}

} // namespace
