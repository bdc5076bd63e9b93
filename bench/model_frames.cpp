// Frame insertion and deletion on a full-size project: both move frame
// pointers, so they must not depend on the number of cells.
#include "edit/RestoreHistory.h"
#include "model/AnimeData.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

// The steps are recorded as in the editor.
void fill(cAnimeData& p, cRestoreHistory& history)
{
    history.SetCapacity(32);
    p.SetChangeSink(&history);
    strProjectDefaults defaults;
    defaults.cellCount = 255;
    p.SetDefaults(defaults);
    p.NewProject("");
    p.InsertFrames(1, 2022);
    strCell c = strCell::New();
    for (int f = 0; f < 2023; ++f)
        for (int n = 0; n < 255; ++n) {
            c.x = int16_t(n);
            p.SetCell(f, n, &c);
        }
}

template <class Measured, class Other> void alternate(benchmark::State& state, Measured measured, Other other)
{
    cRestoreHistory history;
    cAnimeData p;
    fill(p, history);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        p.BeginRecord();
        measured(p);
        p.EndRecord(true);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        p.BeginRecord();
        other(p);
        p.EndRecord(true);
    }
}

void BM_InsertFrames(benchmark::State& state)
{
    alternate(
        state, [](cAnimeData& p) { p.InsertFrames(0, 1); }, [](cAnimeData& p) { p.DeleteFrames(0, 1, true); });
}
BENCHMARK(BM_InsertFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_DeleteFrames(benchmark::State& state)
{
    alternate(
        state, [](cAnimeData& p) { p.DeleteFrames(0, 1, true); }, [](cAnimeData& p) { p.InsertFrames(0, 1); });
}
BENCHMARK(BM_DeleteFrames)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
