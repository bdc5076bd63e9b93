// cGifEncoder: the bytes do not depend on how many frames it keeps, and the
// high-quality mode decodes and is more faithful than the standard one.

#include <gtest/gtest.h>

#include <cmath>

#include "export/GifEncoder.h"
#include "export/GifFile.h"
#include "support/ExportTestUtil.h"

using namespace exporttest;

namespace {

// Soft gradients with rings and some noise: thousands of colours per frame.
cBMP richFrame(int f, int w = 96, int h = 64, bool holes = false)
{
    uint32_t seed = 99u + static_cast<uint32_t>(f);
    return MakeImage(w, h, [&](int x, int y) {
        seed = seed * 1664525u + 1013904223u;
        int n = static_cast<int>(seed >> 29) - 4;
        int ring = ((x - w / 2 - f) * (x - w / 2 - f) + (y - h / 2) * (y - h / 2)) / 9 % 64;
        auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
        uint32_t alpha = holes && (x + y + f) % 11 == 0 ? 0u : 0xFFu;
        return alpha << 24 | c(x * 255 / w + n) << 16 | c(y * 255 / h - n) << 8 | c(ring * 4 + f * 9);
    });
}

std::vector<std::unique_ptr<CGIFLocal>> frameSet(int count, bool holes)
{
    std::vector<std::unique_ptr<CGIFLocal>> frames;
    for (int f = 0; f < count; ++f) {
        auto frame = std::make_unique<CGIFLocal>();
        // Rich frames and a few-colour one, which goes in the global table.
        frame->image = f == 2 ? MakeImage(96, 64, [](int x, int) { return x < 48 ? 0xFF2040C0u : 0xFFFFFFFFu; })
                              : richFrame(f, 96, 64, holes);
        frame->delay = 3 + f;
        frame->disposal = 2;
        frames.push_back(std::move(frame));
    }
    return frames;
}

std::vector<uint8_t> encodeWith(const std::vector<std::unique_ptr<CGIFLocal>>& frames, eGifQuality q, size_t budget)
{
    cGifEncoder enc;
    enc.Reset(q, budget);
    for (const auto& f : frames)
        EXPECT_TRUE(enc.Analyse(*f));
    std::vector<uint8_t> out;
    EXPECT_TRUE(enc.Begin([&](const uint8_t* d, size_t n) { return out.insert(out.end(), d, d + n), true; },
                          CGIFFile::kNoBackground));
    for (int i = 0; i < enc.FrameCount(); ++i) {
        EXPECT_EQ(enc.NeedsImage(i), budget == 0) << i;
        // A kept frame is written from what pass 1 kept, not from the image.
        EXPECT_TRUE(enc.Write(i, enc.NeedsImage(i) ? frames[static_cast<size_t>(i)].get() : nullptr));
    }
    EXPECT_TRUE(enc.End());
    return out;
}

// Mean PSNR (RGB, peak 255) of the decoded frames against the sources.
double meanPsnr(const std::vector<uint8_t>& bytes, const std::vector<std::unique_ptr<CGIFLocal>>& frames)
{
    CGIFFile in;
    EXPECT_TRUE(in.LoadBytes(bytes.data(), bytes.size()));
    EXPECT_EQ(in.FrameCount(), static_cast<int>(frames.size()));
    double total = 0;
    for (int f = 0; f < in.FrameCount(); ++f) {
        const cBMP& a = in.FrameAt(f)->image;
        const cBMP& b = frames[static_cast<size_t>(f)]->image;
        double sq = 0;
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                for (int s = 0; s < 24; s += 8) {
                    int d = static_cast<int>(Pixel(a, x, y) >> s & 0xFF) - static_cast<int>(Pixel(b, x, y) >> s & 0xFF);
                    sq += d * d;
                }
        double mse = sq / (3.0 * b.Width() * b.Height());
        total += mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
    }
    return total / in.FrameCount();
}

} // namespace

TEST(GifEncoder, BytesDoNotDependOnWhatIsKept)
{
    for (eGifQuality q : {eGifQuality::Standard, eGifQuality::High})
        for (bool holes : {false, true}) {
            auto frames = frameSet(5, holes);
            std::vector<uint8_t> kept = encodeWith(frames, q, cGifEncoder::kDefaultCacheBudget);
            EXPECT_EQ(encodeWith(frames, q, 0), kept) << "every frame handed over twice";
            CGIFFile gif;
            gif.quality = q;
            for (auto& f : frameSet(5, holes))
                gif.AddFrame(std::move(f));
            std::vector<uint8_t> whole;
            ASSERT_TRUE(gif.Encode(CGIFFile::kNoBackground, whole));
            EXPECT_EQ(whole, kept);
        }
}

TEST(GifEncoder, AFrameHandedOverDifferentlyFails)
{
    auto frames = frameSet(2, false);
    cGifEncoder enc;
    enc.Reset(eGifQuality::Standard, 0);
    for (const auto& f : frames)
        ASSERT_TRUE(enc.Analyse(*f));
    ASSERT_TRUE(enc.Begin([](const uint8_t*, size_t) { return true; }, CGIFFile::kNoBackground));
    EXPECT_FALSE(enc.Write(0, frames[1].get()));
    EXPECT_FALSE(enc.Write(0, nullptr)) << "needs its image";
    EXPECT_FALSE(enc.End());
}

TEST(GifEncoder, HighQualityDecodesAndIsMoreFaithful)
{
    auto frames = frameSet(4, false);
    double s = meanPsnr(encodeWith(frames, eGifQuality::Standard, cGifEncoder::kDefaultCacheBudget), frames);
    double h = meanPsnr(encodeWith(frames, eGifQuality::High, cGifEncoder::kDefaultCacheBudget), frames);
    EXPECT_GT(h, s + 0.5) << "standard " << s << " dB, high " << h << " dB";
    // An independent decoder reads every frame, with the transparent holes.
    TempDir dir;
    CGIFFile gif;
    gif.quality = eGifQuality::High;
    for (auto& f : frameSet(4, true))
        gif.AddFrame(std::move(f));
    ASSERT_TRUE(gif.Save(dir / "h.gif", CGIFFile::kNoBackground));
    std::string out = RunPython(dir, "from PIL import Image\n"
                                     "im = Image.open('" +
                                         (dir / "h.gif").string() +
                                         "')\n"
                                         "n = 0\n"
                                         "for i in range(im.n_frames):\n"
                                         "    im.seek(i); f = im.convert('RGBA')\n"
                                         "    n += sum(1 for p in f.getdata() if p[3] == 0)\n"
                                         "print(im.n_frames, im.size, n > 0)\n");
    EXPECT_EQ(out, "4 (96, 64) True\n");
}

TEST(GifQuantizeHigh, KeepsFewColoursAndRefusesBadArguments)
{
    // Three colours with n = 256: exactly those colours.
    const uint32_t px[6] = {0x102030, 0xFF8000, 0x102030, 0x00FFFF, 0xFF8000, 0x00FFFF};
    strQuantized q;
    ASSERT_TRUE(QuantizeHigh(px, 3, 2, 256, q));
    ASSERT_EQ(q.colors.size(), 3u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(q.colors[q.index[static_cast<size_t>(i)]], px[i]) << i;
    for (int n : {1, 257})
        EXPECT_FALSE(QuantizeHigh(px, 3, 2, n, q)) << n;
    EXPECT_FALSE(QuantizeHigh(px, 0, 2, 16, q));
    // n = 2 on a gradient: two colours, dark pixels on the dark one.
    std::vector<uint32_t> grey(256);
    for (uint32_t i = 0; i < 256; ++i)
        grey[i] = i * 0x010101u;
    ASSERT_TRUE(QuantizeHigh(grey.data(), 256, 1, 2, q));
    ASSERT_EQ(q.colors.size(), 2u);
    EXPECT_LT(q.colors[q.index[0]] & 0xFF, 128u);
    EXPECT_GE(q.colors[q.index[255]] & 0xFF, 128u);
}
