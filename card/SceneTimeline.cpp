#include "card/SceneTimeline.h"

namespace {

// Trunc(H * f): cut towards zero.
int BandRows(int screenHeight, double fraction) {
    return static_cast<int>(screenHeight * fraction);
}

RECT Around(int x, int y, int halfWidth, int halfHeight) {
    return RECT{x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
}

// A snow ellipse lies behind everything placed before it and hides under the pointer.
void AddSnow(SceneOverlay& overlay, RECT rect) {
    int32_t id = overlay.AddEllipse(rect, SnowColor);
    overlay.SetFilled(id, true);
    overlay.SetAutoHide(id, true);
    overlay.SetZOrder(id, 0);
}

// A white disc with a 3-pixel black rim behind it.
void AddBall(SceneOverlay& overlay, RECT rect) {
    int32_t id = overlay.AddEllipse(rect, SceneWhite);
    overlay.SetFilled(id, true);
    RECT rim{rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3};
    id = overlay.AddEllipse(rim, SceneBlack);
    overlay.SetFilled(id, true);
    overlay.SetZOrder(id, 0);
}

void AddBlackBlock(SceneOverlay& overlay, RECT rect) {
    int32_t id = overlay.AddRectangle(rect, SceneBlack);
    overlay.SetFilled(id, true);
}

} // namespace

void TimeOfDayRandom::Reseed() {
    SYSTEMTIME t;
    ::GetLocalTime(&t);
    seed_ = ((t.wHour * 60u + t.wMinute) * 60u + t.wSecond) * 1000u + t.wMilliseconds;
}

int TimeOfDayRandom::Random(int n) {
    seed_ = seed_ * 134775813u + 1u;
    if (n <= 0)
        return 0;
    return static_cast<int>((static_cast<uint64_t>(seed_) * static_cast<uint32_t>(n)) >> 32);
}

double SnowBandFraction(DWORD e) {
    if (e > SnowBandTime)
        return 1.0;
    return static_cast<double>(e) / SnowBandTime;
}

double SnowPileFraction(DWORD e) {
    if (e > SnowDriftTime)
        return 0.05;
    return (static_cast<double>(e) - SnowBandTime) / SnowBandTime / 20.0;
}

POINT CloseBoxPosition(int screenWidth) {
    return POINT{screenWidth - 30, 30};
}

POINT LetterIconPosition(int screenWidth, int screenHeight) {
    return POINT{screenWidth - 52 - 30, screenHeight - 34 - 30};
}

void SnowFallTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowFall,
                  SceneTimer& snowGround, SceneRandom& random, SceneOverlay& overlay,
                  HINSTANCE resources) {
    if (e > SnowFallEndTime)
        snowFall.SetEnabled(false); // this tick still places its flake
    if (e > SnowDriftTime)
        snowFall.SetInterval(SnowFallSlowInterval);
    double f = SnowBandFraction(e);
    if (e > SnowBandTime && !snowGround.Enabled()) {
        snowGround.SetEnabled(true);
        snowFall.SetInterval(SnowFallBusyInterval);
    }
    random.Reseed();
    int y = random.Random(BandRows(screenHeight, f));
    int x = random.Random(screenWidth);
    int32_t id = overlay.AddBitmapFromResource(POINT{x, y}, resources, SnowFlakeResource, FlakeKey);
    overlay.SetAutoHide(id, true);
    overlay.SetZOrder(id, 0);
}

void SnowGroundTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowGround,
                    SceneRandom& random, SceneOverlay& overlay) {
    if (e > SnowGroundEndTime)
        snowGround.SetEnabled(false); // this tick still places its ellipse
    double g = SnowPileFraction(e);
    random.Reseed();
    // Before 30 s (a Letter window closed early re-enables this timer) the band
    // is negative; the draw then gives 0 and the pile sits on the bottom edge.
    int band = BandRows(screenHeight, g);

    int x = random.Random(screenWidth);
    int y = screenHeight - random.Random(band);
    AddSnow(overlay, Around(x, y, 60, 50));

    if (e < SnowGroundEndTime && e > SnowDriftTime) {
        for (int pass = 0; pass < 10; ++pass) {
            x = random.Random(screenWidth); // top edge
            y = random.Random(band);
            AddSnow(overlay, Around(x, y, 60, 50));

            int r = random.Random(band); // right edge
            y = random.Random(screenHeight);
            AddSnow(overlay, Around(screenWidth - r, y, 50, 60));

            x = random.Random(band); // left edge; the side bands are H * g wide too
            y = random.Random(screenHeight);
            AddSnow(overlay, Around(x, y, 50, 60));
        }
    }
}

void BuildSnowMan(int H, SceneOverlay& overlay, HINSTANCE resources) {
    AddBall(overlay, RECT{180, H - 290, 420, H - 50});  // bottom ball, centre (300, H - 170), r 120
    AddBall(overlay, RECT{220, H - 420, 380, H - 260}); // middle ball, centre (300, H - 340), r 80
    AddBall(overlay, RECT{250, H - 500, 350, H - 400}); // head, centre (300, H - 450), r 50
    AddBlackBlock(overlay, RECT{240, H - 490, 360, H - 480}); // hat brim
    AddBlackBlock(overlay, RECT{260, H - 545, 340, H - 480}); // hat crown
    overlay.AddBitmapFromResource(POINT{305, H - 450}, resources, SnowManFaceResource, FaceKey);
    for (int i = 1; i <= 10; ++i) { // buttons from H - 100 up to H - 370
        int32_t id =
            overlay.AddEllipse(RECT{295, H - 75 - 30 * i, 305, H - 65 - 30 * i}, SceneBlack);
        overlay.SetFilled(id, true);
    }
}
