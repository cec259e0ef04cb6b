#include "card/uTinselscreen.h"

#include <string>

#include "card/SceneBitmaps.h"
#include "card/uFvlAbout.h"
#include "card/uLetter.h"
#include "overlay_api/uOrvexTransparent.h"
#include "screen_objects/uScreenBitmap.h"
#include "ui/Application.h"
#include "ui/MonitorDpi.h"

TFrostvaleForm* FrostvaleForm = nullptr;

namespace {

// The scene's overlay operations go through the form's overlay control.
class ControlSceneOverlay : public SceneOverlay {
public:
    explicit ControlSceneOverlay(TVuderOrvex& control) : c_(control) {}
    int32_t AddBitmapFromResource(POINT position, HINSTANCE instance, const std::string& name,
                                  COLORREF key) override {
        return c_.AddBitmapFromResource(position, instance, name, key);
    }
    int32_t AddScaledBitmapFromResource(POINT position, HINSTANCE instance, const std::string& name,
                                        COLORREF key, int dpi) override {
        return c_.AddScreenObject("AddScaledBitmapFromResource",
                                  MakeScaledSceneBitmap(position, instance, name, key, dpi));
    }
    int32_t AddEllipse(RECT rect, COLORREF color) override { return c_.AddEllipse(rect, color); }
    int32_t AddRectangle(RECT rect, COLORREF color) override {
        return c_.AddRectangle(rect, color);
    }
    int32_t SetFilled(int32_t id, bool value) override { return c_.SetFilled(id, value); }
    int32_t SetAutoHide(int32_t id, bool value) override { return c_.SetAutoHide(id, value); }
    int32_t SetZOrder(int32_t id, int32_t position) override { return c_.SetZOrder(id, position); }

private:
    TVuderOrvex& c_;
};

// The scene's timers as the timeline sees them.
class TimerRef : public SceneTimer {
public:
    explicit TimerRef(ui::Timer& t) : t_(t) {}
    bool Enabled() const override { return t_.Enabled(); }
    void SetEnabled(bool e) override { t_.SetEnabled(e); }
    UINT Interval() const override { return t_.Interval(); }
    void SetInterval(UINT i) override { t_.SetInterval(i); }

private:
    ui::Timer& t_;
};

int ScreenWidth() {
    return ::GetSystemMetrics(SM_CXSCREEN);
}
int ScreenHeight() {
    return ::GetSystemMetrics(SM_CYSCREEN);
}
// The scene is laid out on the primary monitor, at its DPI.
int ScreenDpi() {
    return ui::PrimaryMonitorDpi();
}

} // namespace

TFrostvaleForm::TFrostvaleForm()
    : VuderOrvex(*this), SnowFallTimer(*this, SnowFallInterval, true),
      SnowGroundTimer(*this, SnowGroundInterval, false), SnowManTimer(*this, 1000, false),
      overlay_(std::make_unique<ControlSceneOverlay>(VuderOrvex)) {
    SetBorderStyle(ui::BorderStyle::None);
    SetFormStyle(ui::FormStyle::StayOnTop);
    SetCaption(L"Winterlandschaft");
    SnowFallTimer.OnTimer = [this] { SnowFallTimerTimer(); };
    SnowGroundTimer.OnTimer = [this] { SnowGroundTimerTimer(); };
    SnowManTimer.OnTimer = [this] { SnowManTimerTimer(); };
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnClose = [this] { FormClose(); };
    VuderOrvex.OnClick = [this](TVuderOrvex& sender, int32_t id, POINT& position) {
        VuderOrvexClick(sender, id, position);
    };
    VuderOrvex.OnMouseMove = [this](TVuderOrvex& sender, int32_t id, POINT& position) {
        VuderOrvexMouseMove(sender, id, position);
    };
}

void TFrostvaleForm::FormCreate() {
    ::ShowWindow(ui::Application::Instance().Handle(), SW_HIDE);
    ::ShowWindow(Handle(), SW_HIDE);
    LetterShown = false;
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        ResourceModule.Reset(::LoadLibraryA(path));
    SnowManTimer.SetInterval(SnowManDelay);
    SnowManTimer.SetEnabled(true);
}

void TFrostvaleForm::FormShow() {
    StartTick = ::GetTickCount();
    SetBounds(-10, -10, 1, 1);
    const int W = ScreenWidth(), H = ScreenHeight(), dpi = ScreenDpi();
    CloseBoxID = AddSceneBitmap(*overlay_, CloseBoxPosition(W, dpi), ResourceModule.Get(),
                                CloseButtonResource, OpaqueKey, dpi);
    LetterIconID = AddSceneBitmap(*overlay_, LetterIconPosition(W, H, dpi), ResourceModule.Get(),
                                  LetterResource, OpaqueKey, dpi);
}

void TFrostvaleForm::FormClose() {
    // The scene goes first: hiding this window would otherwise make the
    // system work out what of the overlay's thousands of rectangles shows
    // where it was, which takes half a second at the end of the scene.
    OrvexCloseOverlay();
    ResourceModule.Reset();
}

DWORD TFrostvaleForm::Elapsed() const {
    return SceneElapsed(::GetTickCount(), StartTick);
}

void TFrostvaleForm::SnowFallTimerTimer() {
    TimerRef fall(SnowFallTimer), ground(SnowGroundTimer);
    SnowFallTick(Elapsed(), ScreenWidth(), ScreenHeight(), fall, ground, random_, *overlay_,
                 ResourceModule.Get(), ScreenDpi());
}

void TFrostvaleForm::SnowGroundTimerTimer() {
    TimerRef ground(SnowGroundTimer);
    SnowGroundTick(Elapsed(), ScreenWidth(), ScreenHeight(), ground, random_, *overlay_,
                   ScreenDpi());
}

void TFrostvaleForm::SnowManTimerTimer() {
    SnowManTimer.SetEnabled(false);
    BuildSnowMan(ScreenHeight(), *overlay_, ResourceModule.Get(), ScreenDpi());
}

void TFrostvaleForm::OpenLetterFromIcon() {
    LetterShown = true; // before showing: moves that arrive meanwhile open nothing
    if (ShowLetterModal)
        ShowLetterModal();
    SnowFallTimer.SetEnabled(true);
    SnowGroundTimer.SetEnabled(true);
}

void TFrostvaleForm::VuderOrvexClick(TVuderOrvex&, int32_t ID, POINT&) {
    if (ID == CloseBoxID) {
        if (!LetterShown && ShowLetterModal)
            ShowLetterModal();
        Close();
    }
    if (ID == LetterIconID)
        OpenLetterFromIcon();
}

void TFrostvaleForm::VuderOrvexMouseMove(TVuderOrvex&, int32_t ID, POINT&) {
    if (ID == LetterIconID && !LetterShown)
        OpenLetterFromIcon();
}

int FrostvaleMain(const std::function<void(TFrostvaleForm&)>& beforeRun) {
    // Before the first window: the scene and the windows are drawn at the
    // monitors' own DPI, sharp, rather than enlarged by the system.
    ui::EnableDpiAwareness();
    // The scene is laid out on the primary screen and ends at its edges, as
    // on a single monitor: snow drifting along the right edge does not spill
    // onto a monitor beside it.
    SetOverlayCoverage(OverlayCoverage::PrimaryMonitor);
    OrvexLibraryStart();
    ui::Application& app = ui::Application::Instance();
    app.Initialize();
    app.SetTitle(L"Frostvale-Card");
    int code = 0;
    {
        TFrostvaleForm scene;
        FrostvaleForm = &scene;
        app.CreateForm(scene);
        TLetterForm letter;
        LetterForm = &letter;
        app.CreateForm(letter);
        TFvlAboutForm about;
        FvlAboutForm = &about;
        app.CreateForm(about);
        scene.ShowLetterModal = [] { LetterForm->ShowModal(); };
        if (beforeRun)
            beforeRun(scene);
        code = app.Run();
        FvlAboutForm = nullptr;
        LetterForm = nullptr;
        FrostvaleForm = nullptr;
    }
    OrvexLibraryEnd();
    return code;
}
