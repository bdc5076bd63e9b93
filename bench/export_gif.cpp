// Animated GIF export of 100 frames of 320 x 240, each with far more than 256
// colours (so every frame is quantised), against ImageMagick's `convert` assembling
// the same frames from PNG files. ImageMagick is only used here when it is installed
// (/usr/bin/convert); the benchmark is skipped without it.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "export/CaptureImage.h"
#include "export/GifFile.h"
#include "image/ImageFile.h"
#include "image/PngWrite.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFrames = 100, kWidth = 320, kHeight = 240, kDelay = 5;

// Smooth gradients with a moving ring and a little noise: tens of thousands of colours.
cBMP makeFrame(int f)
{
    cBMP img;
    img.Create(kWidth, kHeight, 32);
    uint32_t seed = 2463534242u + static_cast<uint32_t>(f);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.Row(y));
        for (int x = 0; x < kWidth; ++x) {
            seed ^= seed << 13, seed ^= seed >> 17, seed ^= seed << 5;
            int dx = x - 160 - f, dy = y - 120;
            int ring = (dx * dx + dy * dy) / 40 % 64;
            int r = x * 255 / (kWidth - 1), g = y * 255 / (kHeight - 1);
            int b = (ring * 4 + f * 2) & 0xFF;
            int n = static_cast<int>(seed & 7) - 4;
            auto clamp = [](int v) { return static_cast<uint32_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            row[x] = 0xFF000000u | clamp(r + n) << 16 | clamp(g - n) << 8 | clamp(b + n);
        }
    }
    return img;
}

struct Fixture {
    fs::path dir;
    std::vector<cBMP> frames;
    Fixture()
    {
        dir = fs::temp_directory_path() / ("mevko-bench-gif-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        for (int f = 0; f < kFrames; ++f) {
            frames.push_back(makeFrame(f));
            WritePngRGBA(NumberedPath(dir / "frame.png", f), frames.back(), false);
        }
    }
    ~Fixture()
    {
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

bool saveGif(const std::vector<cBMP>& frames, const fs::path& out, eGifQuality quality = eGifQuality::Standard)
{
    CGIFFile gif;
    gif.quality = quality;
    for (const cBMP& img : frames) {
        auto frame = std::make_unique<CGIFLocal>();
        frame->image = img;
        frame->delay = kDelay;
        frame->disposal = 2;
        gif.AddFrame(std::move(frame));
    }
    return gif.Save(out, CGIFFile::kNoBackground);
}

// Rendered frames in memory to the GIF file: what the export job does.
void BM_CGIFFile_FromFrames(benchmark::State& state)
{
    Fixture& fx = fixture();
    for (auto _ : state)
        if (!saveGif(fx.frames, fx.dir / "ours.gif"))
            state.SkipWithError("save failed");
    state.counters["bytes"] = static_cast<double>(fs::file_size(fx.dir / "ours.gif"));
}
BENCHMARK(BM_CGIFFile_FromFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same with the high-quality quantiser.
void BM_CGIFFile_FromFrames_High(benchmark::State& state)
{
    Fixture& fx = fixture();
    for (auto _ : state)
        if (!saveGif(fx.frames, fx.dir / "high.gif", eGifQuality::High))
            state.SkipWithError("save failed");
    state.counters["bytes"] = static_cast<double>(fs::file_size(fx.dir / "high.gif"));
}
BENCHMARK(BM_CGIFFile_FromFrames_High)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same 100 PNG files decoded and written as a GIF: the task ImageMagick does below.
void BM_CGIFFile_FromPngFiles(benchmark::State& state)
{
    Fixture& fx = fixture();
    for (auto _ : state) {
        std::vector<cBMP> frames(kFrames);
        for (int f = 0; f < kFrames; ++f)
            if (!LoadImage(NumberedPath(fx.dir / "frame.png", f), frames[static_cast<size_t>(f)]))
                state.SkipWithError("cannot read frame");
        if (!saveGif(frames, fx.dir / "ours2.gif"))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_CGIFFile_FromPngFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ImageMagick_Convert(benchmark::State& state)
{
    Fixture& fx = fixture();
    if (::access("/usr/bin/convert", X_OK) != 0) {
        state.SkipWithError("ImageMagick is not installed (/usr/bin/convert)");
        return;
    }
    std::string cmd = "/usr/bin/convert -delay " + std::to_string(kDelay) + " -loop 0 '" +
                      (fx.dir / "frame*.png").string() + "' '" + (fx.dir / "magick.gif").string() + "'";
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0)
            state.SkipWithError("convert failed");
    std::error_code ec;
    state.counters["bytes"] = static_cast<double>(fs::file_size(fx.dir / "magick.gif", ec));
}
// One run: it takes tens of seconds.
BENCHMARK(BM_ImageMagick_Convert)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
