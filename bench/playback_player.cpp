// Advancing the player through 10,000 ticks of a 2000-frame animation with 1000
// effects (flashes on, no sound device).

#include <benchmark/benchmark.h>

#include "model/AnimeData.h"
#include "platform/Clock.h"
#include "playback/AnimePlayer.h"

static void BM_Advance10000Ticks(benchmark::State& state)
{
    cAnimeData project;
    project.NewProject("");
    project.InsertFrames(1, 1999);
    for (int i = 0; i < 1000; ++i) {
        strEffect e;
        e.frame = uint16_t(i * 2);
        e.flashDuration = uint16_t(1 + i % 8);
        e.flashScope = uint8_t(i % 3);
        e.seName = "se" + std::to_string(i % 10) + ".wav";
        project.ValidateEffect(e);
        int index = 0;
        project.InsertEffect(e, &index);
    }
    platform::ManualClock clock;
    cFrameTimer timer(clock);
    cAnimePlayer player(timer, nullptr);
    player.SetProject(&project);

    for (auto _ : state) {
        player.Stop(true);
        player.GoToFrame(0);
        player.Play(60, PF_WHOLE | PF_LOOP | PF_FLASH | PF_SOUND, nullptr);
        int changes = 0;
        for (int t = 0; t < 10000; ++t)
            changes += player.Advance();
        benchmark::DoNotOptimize(changes);
    }
}
BENCHMARK(BM_Advance10000Ticks)->Unit(benchmark::kMicrosecond);
