// The toolkit's window classes: every window object derives from Window, and
// every class it registers has the one static window procedure, which finds
// the object by GWLP_USERDATA and forwards each message to its virtual
// HandleMessage. A window takes the toolkit's own class unless its maker
// names another (a library's window, which its clients look for by name).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ui {

class Timer;

struct WindowParams {
    DWORD exStyle = 0;
    DWORD style = WS_OVERLAPPEDWINDOW;
    std::wstring caption;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;              // owner for top-level windows, parent for WS_CHILD
    UINT_PTR childId = 0;               // control id for WS_CHILD windows
    const wchar_t* className = nullptr; // nullptr: the toolkit's class
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window; false when the system refused it.
    bool Create(const WindowParams& params);
    // Destroys the window if it still exists; safe to call more than once.
    void Destroy();

    HWND Handle() const { return hwnd_; }
    bool Exists() const { return hwnd_ != nullptr && ::IsWindow(hwnd_); }

    // The object behind a window made by this class (or a standard control
    // wrapped with CreateNative), or nullptr.
    static Window* FromHandle(HWND hwnd);
    // Name of the toolkit's own window class.
    static const wchar_t* ClassName();
    // The module whose code runs the windows (the program, or the DLL).
    static HINSTANCE Instance();
    // Unregisters each class no window of which is left (library end).
    static void UnregisterClassIfUnused();

protected:
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Runs after the handle exists, before CreateWindowEx returns.
    virtual void OnCreated() {}
    // Runs while the system destroys the window (WM_NCDESTROY); the handle is gone afterwards.
    virtual void OnDestroyed() {}

    // Makes a standard control (BUTTON, EDIT, ...) of the given class and
    // routes its messages through HandleMessage; DefaultHandling then runs the
    // control's own procedure.
    bool CreateNative(const wchar_t* className, const WindowParams& params);

    LRESULT DefaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);
    // True for a standard control made with CreateNative.
    bool IsNative() const { return native_; }

private:
    friend class Timer;
    static void RegisterClassOnce(const wchar_t* name);
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR refData);
    LRESULT Route(UINT msg, WPARAM wParam, LPARAM lParam);
    void AttachTimer(Timer* timer);
    void DetachTimer(Timer* timer);
    bool DispatchTimer(UINT_PTR id);

    HWND hwnd_ = nullptr;
    bool native_ = false;
    std::vector<Timer*> timers_;
};

} // namespace ui
