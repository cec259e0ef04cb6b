// The winter scene's timeline as plain functions: given the elapsed scene time,
// the screen size, the timers, a random source and the overlay, each function
// does what one timer tick does. The scene window only wires them to its
// timers; tests step through the whole timeline without a clock.
//
// Every size and offset of the scene is designed in pixels of a 96-DPI
// screen; the functions take the screen's DPI and scale them by dpi / 96
// (the bands come from the screen size and need no scaling). At 96 DPI the
// results are exactly the designed ones.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/DpiScaling.h"

// Scene time constants, in milliseconds.
constexpr DWORD SnowBandTime = 30000;      // end of the growing band; ground snow starts
constexpr DWORD SnowDriftTime = 60000;     // slow snowfall; full pile band; edge drifts start
constexpr DWORD SnowGroundEndTime = 70000; // the ground timer stops; edge drifts end
constexpr DWORD SnowFallEndTime = 80000;   // the snowfall timer stops
constexpr DWORD SnowManDelay = 85000;      // the snowman, counted from the scene window's creation

// Timer intervals of the snowfall.
constexpr UINT SnowFallInterval = 100;
constexpr UINT SnowFallBusyInterval = 250;
constexpr UINT SnowFallSlowInterval = 1000;
constexpr UINT SnowGroundInterval = 100;

// Colours of the scene's shapes.
constexpr COLORREF SceneWhite = RGB(255, 255, 255);
constexpr COLORREF SceneBlack = RGB(0, 0, 0);
constexpr COLORREF SnowColor = RGB(250, 250, 250);
// Transparent colour of the opaque bitmaps: a colour their pictures do not contain.
constexpr COLORREF OpaqueKey = RGB(1, 1, 1);
constexpr COLORREF FlakeKey = RGB(0, 0, 0);
constexpr COLORREF FaceKey = RGB(255, 0, 255);

// Names of the bitmap resources in the program file.
inline constexpr char CloseButtonResource[] = "FVLCLOSEBUTTON";
inline constexpr char LetterResource[] = "LETTER";
inline constexpr char SnowFlakeResource[] = "SNOWFLAKE";
inline constexpr char SnowManFaceResource[] = "SNOWMANFACE";

// The overlay operations the scene uses (the overlay control offers them).
class SceneOverlay {
public:
    virtual ~SceneOverlay() = default;
    virtual int32_t AddBitmapFromResource(POINT position, HINSTANCE instance,
                                          const std::string& resourceName,
                                          COLORREF transparentColor) = 0;
    // The bitmap at its size for `dpi`, scaled by nearest neighbour so its
    // colours, and with them the transparent colour, stay exact. An overlay
    // that cannot scale pictures makes no item (-2).
    virtual int32_t AddScaledBitmapFromResource(POINT /*position*/, HINSTANCE /*instance*/,
                                                const std::string& /*resourceName*/,
                                                COLORREF /*transparentColor*/, int /*dpi*/) {
        return -2;
    }
    virtual int32_t AddEllipse(RECT rect, COLORREF color) = 0;
    virtual int32_t AddRectangle(RECT rect, COLORREF color) = 0;
    virtual int32_t SetFilled(int32_t id, bool value) = 0;
    virtual int32_t SetAutoHide(int32_t id, bool value) = 0;
    virtual int32_t SetZOrder(int32_t id, int32_t position) = 0;
};

// A window timer as the timeline sees it.
class SceneTimer {
public:
    virtual ~SceneTimer() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual UINT Interval() const = 0;
    virtual void SetInterval(UINT interval) = 0;
};

// A timer on a clock its owner advances, with the window timers' rules for
// intervals and enabling: the timeline driven without waiting (tests, benchmarks).
class VirtualTimer : public SceneTimer {
public:
    VirtualTimer(const DWORD& clock, UINT interval, bool enabled)
        : clock_(clock), interval_(interval), enabled_(enabled), next_(clock + interval) {}
    bool Enabled() const override { return enabled_; }
    void SetEnabled(bool e) override {
        if (e && !enabled_)
            next_ = clock_ + interval_;
        enabled_ = e;
    }
    UINT Interval() const override { return interval_; }
    void SetInterval(UINT i) override {
        if (i == interval_)
            return;
        interval_ = i;
        next_ = clock_ + interval_;
    }
    // When it fires next, and that it just fired.
    DWORD Next() const { return next_; }
    void Fired() { next_ = clock_ + interval_; }

private:
    const DWORD& clock_;
    UINT interval_;
    bool enabled_;
    DWORD next_;
};

// Random numbers: Random(n) is uniform in 0 .. n - 1, and 0 when n <= 0.
class SceneRandom {
public:
    virtual ~SceneRandom() = default;
    virtual void Reseed() = 0;
    virtual int Random(int n) = 0;
};

// A small linear congruential generator re-seeded from the time of day in
// milliseconds; Random(n) takes the high bits so small ranges stay uniform.
class TimeOfDayRandom : public SceneRandom {
public:
    void Reseed() override;
    int Random(int n) override;
    void Seed(uint32_t seed) { seed_ = seed; }

private:
    uint32_t seed_ = 0;
};

// Elapsed scene time as an unsigned 32-bit difference (survives the tick wrap).
constexpr DWORD SceneElapsed(DWORD now, DWORD start) {
    return now - start;
}

// Fraction of the screen height in which new flakes appear (0 .. 1).
double SnowBandFraction(DWORD e);
// Fraction of the screen height that the piles and drifts take (0 .. 0.05);
// negative before 30 s.
double SnowPileFraction(DWORD e);

// Where the two lasting items go.
POINT CloseBoxPosition(int screenWidth, int dpi = ui::DesignDpi);
POINT LetterIconPosition(int screenWidth, int screenHeight, int dpi = ui::DesignDpi);
// A scene bitmap centred on position: as designed at 96 DPI, scaled at any other.
int32_t AddSceneBitmap(SceneOverlay& overlay, POINT position, HINSTANCE resources,
                       const std::string& name, COLORREF key, int dpi);

// One tick of the snowfall timer: its stop and rate rules, then one flake.
void SnowFallTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowFall,
                  SceneTimer& snowGround, SceneRandom& random, SceneOverlay& overlay,
                  HINSTANCE resources, int dpi = ui::DesignDpi);
// One tick of the ground timer: one pile ellipse, and 30 edge drifts between 60 and 70 s.
void SnowGroundTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowGround,
                    SceneRandom& random, SceneOverlay& overlay, int dpi = ui::DesignDpi);
// The snowman's nineteen items near the lower left corner.
void BuildSnowMan(int screenHeight, SceneOverlay& overlay, HINSTANCE resources,
                  int dpi = ui::DesignDpi);
