// One frame of 16 cells of 192 x 192 patterns (mixed scale, rotation and blend)
// into a 640 x 480 target, with and without a colour tone on every cell; the
// heaviest frame a project holds (255 cells at 200 % into 1920 x 1080) and how its
// cost grows with cell count and canvas size; and building a 960 x 768 sheet with
// a hue shift.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "image/PatternSheet.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#if __has_include("render/RenderThreads.h")
#include "render/RenderThreads.h"
#else
inline void setRenderThreadsEnabled(bool) {} // earlier code: one thread only
#endif
#include "render/SpriteDrawer.h"

namespace {

// A 960 x 768 picture of 5 x 4 round sprites with soft edges on transparent ground.
void fillSprites(cPatternSheet& sheet)
{
    sheet.Create(960, 768, 32);
    sheet.SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 960; ++x) {
            double dx = (x % 192) - 95.5, dy = (y % 192) - 95.5;
            double r = std::sqrt(dx * dx + dy * dy);
            int a = r < 80 ? 255 : r < 94 ? static_cast<int>((94 - r) * 255 / 14) : 0;
            uint8_t* p = sheet.Row(y) + 4 * x;
            p[0] = static_cast<uint8_t>(x * 3);
            p[1] = static_cast<uint8_t>(y * 5);
            p[2] = static_cast<uint8_t>((x + y) & 255);
            p[3] = static_cast<uint8_t>(a);
        }
}

struct Scene {
    cSpriteDrawer drawer;
    cBMP target;
    cPatternSheet* sheet;
    Scene()
    {
        auto s = std::make_unique<cPatternSheet>();
        fillSprites(*s);
        s->Build(5, 4, 0);
        sheet = s.get();
        drawer.PutSheet(std::move(s), 0);
        target.Create(640, 480, 32);
    }
    void frame(bool tones, int tick)
    {
        drawer.BeginSurface(target, 0xFF202020);
        for (int i = 0; i < 16; ++i) {
            strSpriteParam p;
            p.sheet = sheet;
            p.pattern = 1 + i % 20;
            p.blend = i % 5;
            p.x = static_cast<float>(-240 + (i % 4) * 160);
            p.y = static_cast<float>(-160 + (i / 4) * 100);
            float scale = 0.6f + 0.2f * static_cast<float>(i % 5); // 0.6 .. 1.4
            p.scaleX = (i & 1) ? -scale : scale;
            p.scaleY = scale;
            p.angle = static_cast<float>((i * 37) % 360);
            p.opacity = 160 + (i * 7) % 96;
            if (tones) {
                // A different tone each frame, so every cell runs its tone pass.
                p.red = 40 + (i * 13 + tick) % 160;
                p.green = 60 + (i * 29) % 140;
                p.blue = 100;
                p.saturation = (i % 3 == 0) ? 50 : (i % 3 == 1) ? 150 : 100;
            }
            p.screenSpace = true;
            drawer.DrawCell(p);
        }
        drawer.Present();
    }
};

void BM_Frame16Cells(benchmark::State& state)
{
    Scene scene;
    int tick = 0;
    for (auto _ : state) {
        scene.frame(false, tick++);
        benchmark::DoNotOptimize(scene.target.Pixels());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame16Cells)->Unit(benchmark::kMillisecond);

void BM_Frame16CellsToned(benchmark::State& state)
{
    Scene scene;
    int tick = 0;
    for (auto _ : state) {
        scene.frame(true, tick++);
        benchmark::DoNotOptimize(scene.target.Pixels());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Frame16CellsToned)->Unit(benchmark::kMillisecond);

// A one-frame project of `cells` cells spread evenly over a width x height canvas:
// 192 x 192 patterns at 200 %, rotated, a third each normal, add and subtract, every
// second one toned. `tick` changes the tones, so each frame needs fresh tone passes.
struct HeavyScene {
    cSpriteDrawer drawer;
    cAnimeData project;
    cBMP target;
    int cells;
    HeavyScene(int cellCount, int width, int height) : cells(cellCount)
    {
        auto s = std::make_unique<cPatternSheet>();
        fillSprites(*s);
        s->Build(5, 4, 0);
        drawer.PutSheet(std::move(s), 0);
        strProjectDefaults defaults;
        defaults.cellCount = 255;
        project.SetDefaults(defaults);
        project.NewProject("");
        target.Create(width, height, 32);
        setCells(0);
    }
    void setCells(int tick)
    {
        const int columns = 17, rows = 15;
        const int w = target.Width(), h = target.Height();
        for (int i = 0; i < cells; ++i) {
            const int k = i * 255 / cells; // spread fewer cells over the same grid
            strCell c = strCell::New();
            c.pattern = static_cast<uint16_t>(1 + i % 20);
            c.blend = static_cast<uint8_t>(i % 3);
            c.x = static_cast<int16_t>(-w / 2 + (2 * (k % columns) + 1) * w / (2 * columns));
            c.y = static_cast<int16_t>(-h / 2 + (2 * (k / columns) + 1) * h / (2 * rows));
            c.scaleX = (i & 4) ? -200 : 200;
            c.scaleY = 200;
            c.angle = static_cast<int16_t>((i * 373) % 3600);
            c.opacity = static_cast<uint8_t>(150 + (i * 7) % 106);
            if (i & 1) {
                c.red = static_cast<uint8_t>(40 + (i * 13 + tick) % 160);
                c.green = static_cast<uint8_t>(60 + (i * 29) % 140);
                c.blue = static_cast<uint8_t>(100 + (i * 3) % 60);
                c.saturation = static_cast<uint8_t>((i % 3 == 0) ? 50 : (i % 3 == 1) ? 150 : 100);
            }
            project.SetCell(0, i, &c);
        }
    }
    void frame()
    {
        drawer.BeginSurface(target, 0xFF202020);
        drawer.DrawFrame(project, 0);
        drawer.Present();
    }
};

void runHeavy(benchmark::State& state, int cells, int width, int height, bool newTones)
{
    HeavyScene scene(cells, width, height);
    scene.frame(); // first use of the target and the caches
    int tick = 0;
    for (auto _ : state) {
        if (newTones) {
            state.PauseTiming();
            scene.setCells(++tick);
            state.ResumeTiming();
        }
        scene.frame();
        benchmark::DoNotOptimize(scene.target.Pixels());
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// The same frame again and again, as a held frame or a still export.
void BM_Frame255Cells(benchmark::State& state) { runHeavy(state, 255, 1920, 1080, false); }
BENCHMARK(BM_Frame255Cells)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same on one core (the other threads left out).
void BM_Frame255CellsOneCore(benchmark::State& state)
{
    SetRenderThreadsEnabled(false);
    runHeavy(state, 255, 1920, 1080, false);
    SetRenderThreadsEnabled(true);
}
BENCHMARK(BM_Frame255CellsOneCore)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every frame with new tones, as in a tone tween.
void BM_Frame255CellsNewTones(benchmark::State& state) { runHeavy(state, 255, 1920, 1080, true); }
BENCHMARK(BM_Frame255CellsNewTones)->Unit(benchmark::kMillisecond)->UseRealTime();

// Cost against cell count and canvas width (16:9 canvases).
void BM_FrameCost(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(1));
    runHeavy(state, static_cast<int>(state.range(0)), width, width * 9 / 16, false);
}
BENCHMARK(BM_FrameCost)
    ->ArgNames({"cells", "width"})
    ->ArgsProduct({{16, 64, 255}, {640, 1280, 1920, 3840}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_BuildSheetHue(benchmark::State& state)
{
    cPatternSheet sheet;
    fillSprites(sheet);
    const int adjust[4] = {120, 0, 0, 0};
    sheet.SetColorAdjust(adjust);
    for (auto _ : state) {
        sheet.Build(5, 4, kSheetKeyTopLeft);
        benchmark::DoNotOptimize(sheet.Texture().data());
    }
}
BENCHMARK(BM_BuildSheetHue)->Unit(benchmark::kMillisecond);

} // namespace
