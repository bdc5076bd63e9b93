// One canvas picture of a 16-cell frame at 640 x 480 with every editing aid on:
// grid, target picture, centre lines, a draft GIF frame, both neighbouring frames
// (as silhouettes or as outlines) and the current cells shown through a drag.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "model/AnimeData.h"
#include "project/Settings.h"
#include "render/Overlay.h"
#include "render/SpriteDrawer.h"
#include "view/CanvasEdit.h"

namespace {

std::unique_ptr<cPatternSheet> sprites()
{
    auto sheet = std::make_unique<cPatternSheet>();
    sheet->Create(480, 384, 32);
    sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < 384; ++y)
        for (int x = 0; x < 480; ++x) {
            const int dx = x % 96 - 48, dy = y % 96 - 48;
            const uint32_t a = dx * dx + dy * dy < 40 * 40 ? 255u : 0u;
            const uint32_t c = a << 24 | uint32_t(x & 255) << 16 | uint32_t(y & 255) << 8 | 0x40;
            std::memcpy(sheet->Row(y) + 4 * x, &c, 4);
        }
    sheet->Build(5, 4, 0);
    return sheet;
}

struct Scene {
    cSpriteDrawer drawer;
    cAnimeData project;
    cCanvasEdit edit;
    cDraftGif draft;
    cBMP target, gifFrame;

    explicit Scene(bool shadows)
    {
        Settings().SetDefaults();
        cSettings& s = Settings();
        s.VShadowFlag = shadows;
        drawer.PutSheet(sprites(), 0);
        auto target = std::make_unique<cPatternSheet>();
        target->Create(160, 160, 32);
        target->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
        std::memset(target->Pixels(), 0x80, target->ByteSize());
        target->Build(1, 1, 0);
        drawer.PutSheet(std::move(target), kTargetSheet);
        project.Reset(-1, 16, -1, -1);
        project.InsertFrames(0, 3);
        for (int f = 0; f < 3; ++f)
            for (int k = 0; k < 16; ++k) {
                strCell c = strCell::New();
                c.pattern = uint16_t(1 + k % 20);
                c.x = int16_t(-240 + (k % 4) * 160 + f * 8);
                c.y = int16_t(-160 + (k / 4) * 100);
                c.scaleX = c.scaleY = int16_t(80 + 10 * (k % 5));
                c.angle = int16_t(k * 370);
                c.blend = uint8_t(k % 3);
                project.SetCell(f, k, &c);
            }
        this->target.Create(640, 480, 32);
        edit.SetProject(&project);
        edit.SetCurrent(1);
        edit.SetPatternSize([this](int p, int& w, int& h) { return SheetPatternSize(drawer, p, w, h); });
        gifFrame.Create(200, 150, 32);
        std::memset(gifFrame.Pixels(), 0x30, gifFrame.ByteSize());
        // Every cell selected and moving (CTRL keeps the selection on the press).
        edit.SelectAll();
        edit.SetView({1, 320, 240});
        edit.LeftDown({-240 + 320 + 5, -160 + 240 + 5}, strCanvasKeys{false, true});
        edit.MouseMove({-240 + 320 + 25, -160 + 240 + 15}, strCanvasKeys{});
    }

    void draw()
    {
        drawer.BeginCanvas(target, 0, 0, 1);
        strCanvasScene scene;
        scene.settings = &Settings();
        scene.project = &project;
        scene.frame = 1;
        scene.displayedCell = [this](int k, strCell& out) { return edit.DisplayedCell(k, out); };
        DrawCanvasScene(drawer, target, scene);
        DrawDraftGif(target, CanvasViewOf(drawer, target), gifFrame, strDraftPlacement{});
        drawer.Present();
    }
};

void BM_CanvasScene(benchmark::State& state)
{
    Scene scene(state.range(0) != 0);
    for (auto _ : state) {
        scene.draw();
        benchmark::DoNotOptimize(scene.target.Pixels());
    }
}
BENCHMARK(BM_CanvasScene)->Arg(1)->Arg(0)->ArgName("silhouettes")->Unit(benchmark::kMillisecond);

} // namespace
