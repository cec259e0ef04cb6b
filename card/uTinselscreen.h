// The scene window TFrostvaleForm and the card's main block. The scene window
// never shows itself: it owns the overlay control and three timers that fill
// the screen with snow, and the two lasting items, the close box and the
// letter icon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "card/SceneTimeline.h"
#include "overlay_api/VuderOrvex.h"
#include "ui/Handles.h"
#include "ui/Form.h"
#include "ui/Timer.h"

class TFrostvaleForm : public ui::Form {
public:
    TFrostvaleForm();

    TVuderOrvex VuderOrvex;
    ui::Timer SnowFallTimer;
    ui::Timer SnowGroundTimer;
    ui::Timer SnowManTimer;

    DWORD StartTick = 0;
    bool LetterShown = false;
    ui::Module ResourceModule;
    int32_t CloseBoxID = 0;
    int32_t LetterIconID = 0;

    // Shows the Letter window modally and returns when it is closed.
    std::function<void()> ShowLetterModal;

    void FormCreate();
    void FormShow();
    void FormClose();
    void SnowFallTimerTimer();
    void SnowGroundTimerTimer();
    void SnowManTimerTimer();
    // Sender and Position are not used.
    void VuderOrvexClick(TVuderOrvex& Sender, int32_t ID, POINT& Position);
    void VuderOrvexMouseMove(TVuderOrvex& Sender, int32_t ID, POINT& Position);

private:
    void OpenLetterFromIcon();
    DWORD Elapsed() const;

    std::unique_ptr<SceneOverlay> overlay_;
    TimeOfDayRandom random_;
};

extern TFrostvaleForm* FrostvaleForm;

// The main block: starts the library, creates the forms, runs the message
// loop, ends the library; returns the exit code. beforeRun, when given, sees
// the scene window just before the message loop starts (a benchmark adjusts
// it there).
int FrostvaleMain(const std::function<void(TFrostvaleForm&)>& beforeRun = nullptr);
