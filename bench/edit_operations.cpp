// Frame interpolation and batch edit over 2000 frames x 255 cells with every
// parameter ticked, each one undo step recorded in the history.

#include "edit/BatchEdit.h"
#include "edit/Interpolate.h"
#include "edit/RestoreHistory.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "project/Settings.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kFrames = 2000;
constexpr int kCells = 255;

// Keys in the first and last frame; with fill, every frame in between holds a cell.
void makeProject(cAnimeData& p, bool fill)
{
    static cRestoreHistory history;
    Settings().SetDefaults();
    history.SetCapacity(32);
    p.SetChangeSink(&history);
    p.Reset(-1, kCells, -1, -1);
    p.InsertFrames(0, kFrames);
    for (int s = 0; s < kCells; ++s) {
        strCell a = strCell::New(), b = strCell::New();
        a.x = int16_t(-s);
        b.x = int16_t(s * 4);
        b.angle = 3600;
        b.opacity = 0;
        p.SetCell(0, s, &a);
        p.SetCell(kFrames - 1, s, &b);
        for (int f = 1; fill && f < kFrames - 1; ++f)
            p.SetCell(f, s, &a);
    }
}

void BM_FrameInterpolation(benchmark::State& state)
{
    cAnimeData p;
    cStatusRecorder status;
    strFrameInterpolationState dialog;
    for (auto _ : state) {
        state.PauseTiming();
        makeProject(p, false);
        dialog.Prepare(p);
        dialog.first = 0;
        dialog.last = kFrames - 1;
        dialog.method = int(state.range(0));
        dialog.cellTicks.assign(kCells, true);
        dialog.paramTicks.assign(CP_COUNT, true);
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunFrameInterpolation(p, dialog, status));
    }
}
BENCHMARK(BM_FrameInterpolation)->Arg(FIM_NORMAL)->Arg(FIM_KEYS)->Unit(benchmark::kMillisecond);

void BM_BatchEdit(benchmark::State& state)
{
    cAnimeData p;
    cStatusRecorder status;
    strBatchEditState dialog;
    for (auto _ : state) {
        state.PauseTiming();
        makeProject(p, true);
        dialog.Prepare(p);
        dialog.frameTicks.assign(kFrames, true);
        dialog.cellTicks.assign(kCells, true);
        dialog.paramTicks.assign(CP_COUNT, true);
        dialog.formula = BF_ADD;
        dialog.value = 3;
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunBatchEdit(p, dialog, status));
    }
}
BENCHMARK(BM_BatchEdit)->Unit(benchmark::kMillisecond);

} // namespace
