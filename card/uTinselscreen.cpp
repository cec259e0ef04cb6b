// The card's main block and its scene window.
#include "card/uTinselscreen.h"
#include "ui/Application.h"
#include "ui/Window.h"

namespace {

// Until the winter scene lands, the scene window is a plain window that ends
// the program when it is closed.
class TFrostvaleForm : public ui::Window {
protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY)
            ui::Application::Instance().WindowDestroyed(Handle());
        return DefaultHandling(msg, wParam, lParam);
    }
};

} // namespace

int FrostvaleMain() {
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetTitle(L"Frostvale-Card");

    TFrostvaleForm FrostvaleForm;
    ui::WindowParams p;
    p.style = WS_POPUP;
    p.exStyle = WS_EX_TOPMOST;
    p.caption = L"Winterlandschaft";
    p.x = 0;
    p.y = 0;
    p.width = 1;
    p.height = 1;
    p.parent = app.Handle();
    if (!FrostvaleForm.Create(p))
        return 1;
    app.SetMainWindow(FrostvaleForm.Handle());
    ::ShowWindow(FrostvaleForm.Handle(), SW_SHOWNOACTIVATE);
    return app.Run();
}
