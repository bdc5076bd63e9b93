// Load and save of a full project (2024 frames x 255 cells, every slot filled,
// every cell changing in every frame) in the binary and the text format,
// through the file device and the disk.
#include "model/AnimeData.h"
#include "project/AnimeFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

std::unique_ptr<cAnimeData> FullProject()
{
    auto p = std::make_unique<cAnimeData>();
    p->Reset(2024, 255, 255, 1023);
    p->SetText(AT_NAME, "full project");
    p->InsertFrames(0, 2024);
    for (int i = 0; i < 255; ++i) {
        strPicture pic;
        pic.divX = 5;
        pic.divY = 4;
        pic.path = "BattleEffect\\picture" + std::to_string(i) + ".png";
        p->SetPicture(pic, i);
    }
    for (int f = 0; f < 2024; ++f) {
        p->SetInterval(f, f % 7);
        for (int n = 0; n < 255; ++n) {
            strCell c = strCell::New();
            c.picture = uint8_t((f + n) % 255);
            c.pattern = uint16_t(1 + (f * 3 + n) % 20);
            c.blend = uint8_t(n % 5);
            c.x = int16_t((f * 7 + n * 13) % 2048 - 1024);
            c.y = int16_t((f * 5 - n * 11) % 1024);
            c.scaleX = int16_t(50 + (f + n) % 300);
            c.scaleY = int16_t(60 + (f * 2 + n) % 300);
            c.angle = int16_t((f * 10 + n) % 3600);
            c.opacity = uint8_t(f + n);
            c.red = uint8_t((f + n) % 200);
            c.green = uint8_t((f * 3) % 200);
            c.blue = uint8_t((n * 3) % 200);
            c.saturation = uint8_t((f + 2 * n) % 200);
            p->SetCell(f, n, &c);
        }
    }
    for (int i = 0; i < 1023; ++i) {
        strEffect e;
        e.frame = uint16_t(i * 2);
        e.flags = uint8_t(1 + i % 7);
        e.flashDuration = 5;
        e.seName = "Sound\\se" + std::to_string(i % 200) + ".wav";
        e.note = "note " + std::to_string(i);
        p->SetEffect(e, i);
    }
    return p;
}

const cAnimeData& Project()
{
    static const std::unique_ptr<cAnimeData> project = FullProject();
    return *project;
}

std::filesystem::path BenchFile(int format)
{
    return std::filesystem::temp_directory_path() /
           ("mevko_bench_" + std::to_string(::getpid()) + (format == 0 ? ".dat" : ".txt"));
}

void Save(benchmark::State& state, int format)
{
    ANIME::cAnimeFile_Device device;
    auto project = std::make_unique<cAnimeData>();
    const std::filesystem::path file = BenchFile(format);
    // Save sets the file name, so it needs a project of its own: copy through the format.
    std::string bytes;
    device.SaveBytes(Project(), 0, bytes);
    device.LoadBytes(bytes, *project);
    project->SetValue(AI_SAVE_FORMAT, format);
    for (auto _ : state)
        if (device.Save(file, *project) != ANIME::FR_OK)
            state.SkipWithError("save failed");
    state.counters["bytes"] = double(std::filesystem::file_size(file));
    std::filesystem::remove(file);
}

void Load(benchmark::State& state, int format)
{
    ANIME::cAnimeFile_Device device;
    const std::filesystem::path file = BenchFile(format);
    std::string bytes;
    device.SaveBytes(Project(), format, bytes);
    {
        auto p = std::make_unique<cAnimeData>();
        device.LoadBytes(bytes, *p);
        p->SetValue(AI_SAVE_FORMAT, format);
        device.Save(file, *p);
    }
    for (auto _ : state) {
        auto p = std::make_unique<cAnimeData>();
        if (device.Load(file, *p) != ANIME::FR_OK || p->GetCells(2023)->Count() != 255)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(p.get());
    }
    std::filesystem::remove(file);
}

void BM_BinarySave(benchmark::State& state) { Save(state, 0); }
void BM_BinaryLoad(benchmark::State& state) { Load(state, 0); }
void BM_TextSave(benchmark::State& state) { Save(state, 1); }
void BM_TextLoad(benchmark::State& state) { Load(state, 1); }

BENCHMARK(BM_BinarySave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextLoad)->Unit(benchmark::kMillisecond);

} // namespace
