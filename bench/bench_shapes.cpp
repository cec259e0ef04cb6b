// Paint cost of the vector shapes, as the overlay pays it on every repaint:
// each shape draws itself into a picture and ORs its area into one region.
// Prints milliseconds per repaint for a few scenes; run it under Wine by hand.
#include "bench/bench_clock.h"
#include "screen_objects/uGeometry.h"
#include "screen_objects/uScreenEllipse.h"
#include "screen_objects/uScreenLine.h"
#include "screen_objects/uScreenRectangle.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"

#include <windows.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int SceneWidth = 1024;
constexpr int SceneHeight = 768;

void Measure(const char* name, std::vector<std::unique_ptr<TScreenObject>>& items, int repaints) {
    ui::WindowDC screen(nullptr);
    ui::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    ui::Bitmap picture(::CreateCompatibleBitmap(screen.Get(), SceneWidth, SceneHeight));
    ui::Selection select(dc.Get(), picture.Get());
    ui::Canvas canvas(dc.Get());
    double best = 1e30;
    double total = 0;
    DWORD rects = 0;
    for (int r = 0; r < repaints; ++r) {
        const double start = Now();
        ui::Region region = ui::MakeEmptyRegion();
        for (auto& item : items)
            item->Paint(canvas, region.Get(), false);
        const double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
        total += elapsed;
        rects = ::GetRegionData(region.Get(), 0, nullptr);
    }
    std::printf("%-44s %5zu items  best %8.2f ms  mean %8.2f ms  region %lu bytes\n", name,
                items.size(), best, total / repaints, static_cast<unsigned long>(rects));
}

// The floor for the snow scene: one system ellipse and one region union per item.
void MeasureRawEllipses(std::vector<std::unique_ptr<TScreenObject>>& items, int repaints) {
    ui::WindowDC screen(nullptr);
    ui::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    ui::Bitmap picture(::CreateCompatibleBitmap(screen.Get(), SceneWidth, SceneHeight));
    ui::Selection select(dc.Get(), picture.Get());
    double best = 1e30;
    for (int r = 0; r < repaints; ++r) {
        const double start = Now();
        ui::Region region = ui::MakeEmptyRegion();
        for (auto& item : items) {
            const POINT a = item->Vertex(1);
            const POINT b = item->Vertex(2);
            ::Ellipse(dc.Get(), a.x, a.y, b.x, b.y);
            ui::Region part(::CreateEllipticRgn(a.x, a.y, b.x, b.y));
            ::CombineRgn(region.Get(), region.Get(), part.Get(), RGN_OR);
        }
        const double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
    }
    std::printf("%-44s %5zu items  best %8.2f ms\n", "  system calls alone, for comparison",
                items.size(), best);
}

// The raster items' transparent copy: a 32 x 32 picture onto the scene.
void MeasureTransparentCopies(int count, int repaints) {
    ui::WindowDC screen(nullptr);
    ui::MemoryDC dc(::CreateCompatibleDC(screen.Get()));
    ui::Bitmap picture(::CreateCompatibleBitmap(screen.Get(), SceneWidth, SceneHeight));
    ui::Selection select(dc.Get(), picture.Get());
    ui::MemoryDC src(::CreateCompatibleDC(screen.Get()));
    ui::Bitmap flake(::CreateCompatibleBitmap(screen.Get(), 32, 32));
    ui::Selection selectFlake(src.Get(), flake.Get());
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ::SetPixel(src.Get(), x, y, (x + y) % 3 ? RGB(255, 255, 255) : RGB(0, 0, 0));
    double best = 1e30;
    for (int r = 0; r < repaints; ++r) {
        const double start = Now();
        for (int i = 0; i < count; ++i)
            TransparentStretchBlt(dc.Get(), (i * 37) % SceneWidth, (i * 53) % SceneHeight, 32, 32,
                                  src.Get(), 0, 0, 32, 32, RGB(0, 0, 0));
        const double elapsed = Now() - start;
        best = elapsed < best ? elapsed : best;
    }
    std::printf("%-44s %5d items  best %8.2f ms\n", "transparent copies, 32 x 32", count, best);
}

template <typename T>
std::unique_ptr<TScreenObject> Make(int x0, int y0, int x1, int y1, bool filled, int width) {
    auto item = std::make_unique<T>();
    item->AppendPoint(x0, y0);
    item->AppendPoint(x1, y1);
    item->SetPointType(-1);
    item->SetLineColor(RGB(250, 250, 250));
    item->PolygonFilled = filled;
    item->LineWidth = width;
    return item;
}

} // namespace

int main() {
    std::mt19937 random(12345);
    auto rnd = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    // The card's snow: filled ellipses of 120 x 100 along the bottom and the edges,
    // passed to the overlay shrunk by 1/sqrt(2) about their centres.
    std::vector<std::unique_ptr<TScreenObject>> snow;
    for (int i = 0; i < 3500; ++i) {
        const int x = rnd(SceneWidth);
        const int y = SceneHeight - rnd(40);
        snow.push_back(Make<TScreenEllipse>(x - 42, y - 35, x + 42, y + 35, true, 1));
    }
    Measure("filled snow ellipses (card, full timeline)", snow, 5);
    MeasureRawEllipses(snow, 5);

    std::vector<std::unique_ptr<TScreenObject>> outlines;
    for (int i = 0; i < 100; ++i) {
        const int x = rnd(SceneWidth);
        const int y = rnd(SceneHeight);
        outlines.push_back(Make<TScreenEllipse>(x - 40, y - 30, x + 40, y + 30, false, 1));
    }
    Measure("outline ellipses (360 segments each)", outlines, 5);

    for (int width : {1, 3}) {
        std::vector<std::unique_ptr<TScreenObject>> lines;
        for (int i = 0; i < 1000; ++i)
            lines.push_back(Make<TScreenLine>(rnd(SceneWidth), rnd(SceneHeight), rnd(SceneWidth),
                                              rnd(SceneHeight), false, width));
        Measure(width == 1 ? "lines, width 1" : "lines, width 3", lines, 5);
    }

    std::vector<std::unique_ptr<TScreenObject>> rectangles;
    for (int i = 0; i < 1000; ++i) {
        const int x = rnd(SceneWidth);
        const int y = rnd(SceneHeight);
        rectangles.push_back(Make<TScreenRectangle>(x, y, x + 60, y + 40, i % 2 == 0, 1));
    }
    Measure("rectangles, half filled", rectangles, 5);
    MeasureTransparentCopies(450, 5);
    return 0;
}
