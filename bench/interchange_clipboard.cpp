// Export and import through the (in-memory) clipboard of a 200-frame x 16-cell
// animation with 100 timings, in each RPG Maker format.

#include "interchange/ClipboardTransfer.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "project/Settings.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kFrames = 200, kCells = 16, kTimings = 100;

void makeProject(cAnimeData& p)
{
    Settings().SetDefaults();
    p.NewProject("");
    p.SetValue(AI_EDIT_FORMAT, 0);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 0);
    p.SetText(AT_NAME, "Benchmark");
    p.InsertFrames(1, kFrames - 1);
    strPicture pic;
    pic.path = "Graphics\\Animations\\Fire1.png";
    pic.divX = pic.divY = 192;
    p.SetPicture(pic, 0);
    for (int f = 0; f < kFrames; ++f)
        for (int c = 0; c < kCells; ++c) {
            strCell cell = strCell::New();
            cell.pattern = uint16_t(1 + (f + c) % 30);
            cell.x = int16_t(c * 10 - f);
            cell.y = int16_t(f - c * 5);
            cell.scaleX = int16_t(50 + c * 10);
            cell.scaleY = int16_t(50 + c * 10);
            cell.angle = int16_t(f * 10 % 3600);
            cell.opacity = uint8_t(f);
            cell.blend = uint8_t(c % 3);
            p.SetCell(f, c, &cell);
        }
    for (int t = 0; t < kTimings; ++t) {
        strEffect e;
        e.frame = uint16_t(t * 2);
        e.flashDuration = uint16_t(t % 3 ? 5 : 0);
        e.flashRed = uint8_t(t);
        e.seName = t % 2 ? "Sound\\Hit.ogg" : "";
        e.note = t % 5 ? "" : "HIT";
        p.ValidateEffect(e);
        p.InsertEffect(e, nullptr);
    }
}

const char* kNames[] = {"2000", "2003", "XP", "VX", "VXAce", "MV", "MZ"};

void BM_Export(benchmark::State& state)
{
    cAnimeData p;
    makeProject(p);
    const int version = int(state.range(0));
    platform::MemoryClipboard clipboard;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExportToClipboard(clipboard, p, version, strFolderNames{}));
    state.SetLabel(kNames[version]);
}

void BM_Import(benchmark::State& state)
{
    cAnimeData p;
    makeProject(p);
    const int version = int(state.range(0));
    platform::MemoryClipboard clipboard;
    ExportToClipboard(clipboard, p, version, strFolderNames{});
    for (auto _ : state) {
        cAnimeData q;
        if (ImportFromClipboard(clipboard, q, version, strFolderNames{}) != 1)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(q.GetValue(AI_FRAMES));
    }
    state.SetLabel(kNames[version]);
}

BENCHMARK(BM_Export)->DenseRange(RPG_XP, RPG_MZ)->Arg(RPG_2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->DenseRange(RPG_XP, RPG_MZ)->Arg(RPG_2000)->Unit(benchmark::kMillisecond);

} // namespace
