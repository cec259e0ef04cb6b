#include "card/SceneTimeline.h"

namespace {

// Trunc(H * f): cut towards zero.
int BandRows(int screenHeight, double fraction) {
    return static_cast<int>(screenHeight * fraction);
}

RECT Around(int x, int y, int halfWidth, int halfHeight) {
    return RECT{x - halfWidth, y - halfHeight, x + halfWidth, y + halfHeight};
}

// Half sizes of the snow ellipses: piles and the top drift lie wide, the
// side drifts stand tall.
constexpr int SnowHalfWide = 60;
constexpr int SnowHalfNarrow = 50;
// The black rim around each of the snowman's balls.
constexpr int BallRim = 3;

// A snow ellipse lies behind everything placed before it and hides under the pointer.
void AddSnow(SceneOverlay& overlay, RECT rect) {
    int32_t id = overlay.AddEllipse(rect, SnowColor);
    overlay.SetFilled(id, true);
    overlay.SetAutoHide(id, true);
    overlay.SetZOrder(id, 0);
}

// A white disc with a black rim behind it.
void AddBall(SceneOverlay& overlay, RECT rect, int rimWidth) {
    int32_t id = overlay.AddEllipse(rect, SceneWhite);
    overlay.SetFilled(id, true);
    RECT rim{rect.left - rimWidth, rect.top - rimWidth, rect.right + rimWidth,
             rect.bottom + rimWidth};
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

POINT CloseBoxPosition(int screenWidth, int dpi) {
    const int margin = ui::ScaleToDpi(30, dpi); // the box's centre from the top right corner
    return POINT{screenWidth - margin, margin};
}

POINT LetterIconPosition(int screenWidth, int screenHeight, int dpi) {
    // Half the icon (104 x 68) plus 30 pixels from the right and bottom edges.
    return POINT{screenWidth - ui::ScaleToDpi(52, dpi) - ui::ScaleToDpi(30, dpi),
                 screenHeight - ui::ScaleToDpi(34, dpi) - ui::ScaleToDpi(30, dpi)};
}

int32_t AddSceneBitmap(SceneOverlay& overlay, POINT position, HINSTANCE resources,
                       const std::string& name, COLORREF key, int dpi) {
    if (dpi <= 0 || dpi == ui::DesignDpi)
        return overlay.AddBitmapFromResource(position, resources, name, key);
    return overlay.AddScaledBitmapFromResource(position, resources, name, key, dpi);
}

void SnowFallTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowFall,
                  SceneTimer& snowGround, SceneRandom& random, SceneOverlay& overlay,
                  HINSTANCE resources, int dpi) {
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
    int32_t id = AddSceneBitmap(overlay, POINT{x, y}, resources, SnowFlakeResource, FlakeKey, dpi);
    overlay.SetAutoHide(id, true);
    overlay.SetZOrder(id, 0);
}

void SnowGroundTick(DWORD e, int screenWidth, int screenHeight, SceneTimer& snowGround,
                    SceneRandom& random, SceneOverlay& overlay, int dpi) {
    if (e > SnowGroundEndTime)
        snowGround.SetEnabled(false); // this tick still places its ellipse
    double g = SnowPileFraction(e);
    random.Reseed();
    // Before 30 s (a Letter window closed early re-enables this timer) the band
    // is negative; the draw then gives 0 and the pile sits on the bottom edge.
    int band = BandRows(screenHeight, g);
    const int wide = ui::ScaleToDpi(SnowHalfWide, dpi);
    const int narrow = ui::ScaleToDpi(SnowHalfNarrow, dpi);

    int x = random.Random(screenWidth);
    int y = screenHeight - random.Random(band);
    AddSnow(overlay, Around(x, y, wide, narrow));

    if (e < SnowGroundEndTime && e > SnowDriftTime) {
        for (int pass = 0; pass < 10; ++pass) {
            x = random.Random(screenWidth); // top edge
            y = random.Random(band);
            AddSnow(overlay, Around(x, y, wide, narrow));

            int r = random.Random(band); // right edge
            y = random.Random(screenHeight);
            AddSnow(overlay, Around(screenWidth - r, y, narrow, wide));

            x = random.Random(band); // left edge; the side bands are H * g wide too
            y = random.Random(screenHeight);
            AddSnow(overlay, Around(x, y, narrow, wide));
        }
    }
}

void BuildSnowMan(int H, SceneOverlay& overlay, HINSTANCE resources, int dpi) {
    auto S = [dpi](int designed) { return ui::ScaleToDpi(designed, dpi); };
    // A ball by its centre (x, and y above the bottom edge) and radius.
    auto ball = [&](int x, int up, int r) {
        return RECT{S(x) - S(r), H - S(up) - S(r), S(x) + S(r), H - S(up) + S(r)};
    };
    // A block by its top left corner (y above the bottom edge) and size.
    auto block = [&](int x, int up, int w, int h) {
        return RECT{S(x), H - S(up), S(x) + S(w), H - S(up) + S(h)};
    };
    const int rim = S(BallRim);
    AddBall(overlay, ball(300, 170, 120), rim);       // bottom ball
    AddBall(overlay, ball(300, 340, 80), rim);        // middle ball
    AddBall(overlay, ball(300, 450, 50), rim);        // head
    AddBlackBlock(overlay, block(240, 490, 120, 10)); // hat brim
    AddBlackBlock(overlay, block(260, 545, 80, 65));  // hat crown
    AddSceneBitmap(overlay, POINT{S(305), H - S(450)}, resources, SnowManFaceResource, FaceKey,
                   dpi);
    const int button = S(10);
    for (int i = 1; i <= 10; ++i) { // centres from H - 100 up to H - 370
        const int left = S(300) - button / 2, top = H - S(70 + 30 * i) - button / 2;
        int32_t id = overlay.AddEllipse(RECT{left, top, left + button, top + button}, SceneBlack);
        overlay.SetFilled(id, true);
    }
}
