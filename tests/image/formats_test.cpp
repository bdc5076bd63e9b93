// PNG, GIF and XYZ decoding against fixtures written by Pillow and zlib, kind
// detection, refused kinds, and malformed files.

#include <gtest/gtest.h>
#include <zlib.h>

#include <cmath>

#include "image/ImageFile.h"
#include "support/TestFiles.h"

using namespace testfiles;

namespace {

// Compares a decoded image with Pillow's RGBA dump; `alpha` false expects opaque
// pixels and black where Pillow has transparency (GIF canvases).
void expectPixels(const cBMP& image, const std::vector<uint8_t>& rgba, int w, int h, bool alpha,
                  const std::string& name, int tolerance = 0)
{
    ASSERT_EQ(image.Width(), w) << name;
    ASSERT_EQ(image.Height(), h) << name;
    ASSERT_EQ(rgba.size(), static_cast<size_t>(w) * h * 4) << name;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* e = &rgba[(static_cast<size_t>(y) * w + x) * 4];
            uint32_t got = ColorAt(image, x, y);
            int want[4] = {e[2], e[1], e[0], alpha ? e[3] : 255};
            if (!alpha && e[3] == 0)
                want[0] = want[1] = want[2] = 0;
            for (int c = 0; c < 4; ++c) {
                int g = static_cast<int>((got >> (8 * c)) & 255);
                ASSERT_LE(std::abs(g - want[c]), c == 3 ? 0 : tolerance)
                    << name << " at " << x << "," << y << " channel " << c;
            }
        }
}

class PillowFixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        ok = RunPython(*dir, R"(
from PIL import Image, PngImagePlugin
import random, struct, zlib
random.seed(11)
w, h = 29, 19
base = Image.new('RGBA', (w, h))
base.putdata([(random.randrange(256), random.randrange(256), random.randrange(256), random.randrange(256)) for _ in range(w*h)])
rgb = base.convert('RGB')
def dump(name, im):
  open(name + '.rgba', 'wb').write(im.convert('RGBA').tobytes())

# PNG colour types and depths.
for name, im in {
  'png_1': base.convert('1'), 'png_l': base.convert('L'), 'png_la': base.convert('LA'),
  'png_rgb': rgb, 'png_rgba': base, 'png_p': rgb.convert('P', palette=Image.ADAPTIVE, colors=256),
  'png_i16': base.convert('L').point(lambda v: v * 257, 'I').convert('I;16'),
}.items():
  im.save(name + '.png')
  dump(name, Image.open(name + '.png'))
dump('png_i16', base.convert('L'))  # 16-bit grey v * 257 strips to v
p4 = rgb.convert('P', palette=Image.ADAPTIVE, colors=16)
p4.save('png_p4.png', bits=4)
dump('png_p4', Image.open('png_p4.png'))
# Palette with tRNS: the first 5 entries partly transparent.
pt = rgb.convert('P', palette=Image.ADAPTIVE, colors=64)
pt.save('png_ptrns.png', transparency=bytes([0, 40, 80, 120, 160]))
dump('png_ptrns', Image.open('png_ptrns.png'))
# Grey with a transparent grey level.
g = base.convert('L')
g.save('png_ltrns.png', transparency=g.getpixel((0, 0)))
dump('png_ltrns', Image.open('png_ltrns.png'))
# Fully transparent RGBA.
Image.new('RGBA', (w, h), (10, 200, 30, 0)).save('png_clear.png')
# gAMA 1.0: the decoder corrects for a 2.2 screen.
info = PngImagePlugin.PngInfo()
info.add(b'gAMA', struct.pack('>I', 100000))
rgb.save('png_gamma.png', pnginfo=info)
dump('png_gamma', rgb)

# GIFs: plain, interlaced, with transparency, several frames with local tables.
gp = rgb.convert('P', palette=Image.ADAPTIVE, colors=32)
gp.save('gif_plain.gif', interlace=False)
dump('gif_plain', Image.open('gif_plain.gif'))
gp.save('gif_interlaced.gif', interlace=True)
dump('gif_interlaced', Image.open('gif_interlaced.gif'))
gp.save('gif_trans.gif', transparency=3)
dump('gif_trans', Image.open('gif_trans.gif'))
f1 = Image.new('RGB', (w, h), (200, 30, 30)).convert('P')
f2 = Image.new('RGB', (w, h), (30, 30, 200)).convert('P', palette=Image.ADAPTIVE, colors=4)
gp.save('gif_frames.gif', save_all=True, append_images=[f1, f2], duration=100, loop=0)
dump('gif_frames', Image.open('gif_frames.gif'))
)");
    }
    static void TearDownTestSuite() { delete dir; }

    static void Check(const std::string& name, bool alpha, int tolerance = 0)
    {
        cBMP image;
        std::string file = name + (name.rfind("gif", 0) == 0 ? ".gif" : ".png");
        ASSERT_TRUE(LoadImage(*dir / file, image)) << name;
        expectPixels(image, ReadBytes(*dir / (name + ".rgba")), 29, 19, alpha, name, tolerance);
    }

    static TempDir* dir;
    static bool ok;
};
TempDir* PillowFixtures::dir = nullptr;
bool PillowFixtures::ok = false;

TEST_F(PillowFixtures, PngColourTypesAndDepths)
{
    ASSERT_TRUE(ok);
    for (const char* name :
         {"png_1", "png_l", "png_la", "png_rgb", "png_rgba", "png_p", "png_p4", "png_i16", "png_ptrns", "png_ltrns"})
        Check(name, true);
}

TEST_F(PillowFixtures, PngDepthsAfterDecoding)
{
    ASSERT_TRUE(ok);
    struct {
        const char* name;
        int bpp, paletteCount;
    } cases[] = {{"png_p", 8, -1}, {"png_p4", 8, 16}, {"png_rgb", 32, 0}, {"png_l", 32, 0}, {"png_rgba", 32, 0}};
    for (auto& c : cases) {
        cBMP image;
        ASSERT_TRUE(LoadImage(*dir / (std::string(c.name) + ".png"), image));
        EXPECT_EQ(image.BitsPerPixel(), c.bpp) << c.name;
        if (c.paletteCount >= 0) {
            EXPECT_EQ(image.Palette().Count(), c.paletteCount) << c.name;
        }
    }
}

TEST_F(PillowFixtures, PaletteTransparencyIsPerEntry)
{
    ASSERT_TRUE(ok);
    cBMP image;
    ASSERT_TRUE(LoadImage(*dir / "png_ptrns.png", image));
    ASSERT_EQ(image.BitsPerPixel(), 8);
    const uint8_t alphas[] = {0, 40, 80, 120, 160};
    for (int i = 0; i < image.Palette().Count(); ++i)
        EXPECT_EQ(image.Palette().Entries()[i] >> 24, i < 5 ? alphas[i] : 255u) << i;
}

TEST_F(PillowFixtures, FullyTransparentPngStaysTransparent)
{
    ASSERT_TRUE(ok);
    cBMP image;
    ASSERT_TRUE(LoadImage(*dir / "png_clear.png", image));
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            ASSERT_EQ(ColorAt(image, x, y), 0x000AC81Eu);
}

TEST_F(PillowFixtures, PngGammaIsCorrectedForTheScreen)
{
    ASSERT_TRUE(ok);
    cBMP image;
    ASSERT_TRUE(LoadImage(*dir / "png_gamma.png", image));
    std::vector<uint8_t> src = ReadBytes(*dir / "png_gamma.rgba");
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 29; ++x) {
            uint32_t got = ColorAt(image, x, y);
            for (int c = 0; c < 3; ++c) {
                double v = src[(static_cast<size_t>(y) * 29 + x) * 4 + c] / 255.0;
                double want = 255 * std::pow(v, 1 / 2.2);
                int g = static_cast<int>((got >> (16 - 8 * c)) & 255);
                ASSERT_NEAR(g, want, 1.01) << x << "," << y;
            }
        }
}

TEST_F(PillowFixtures, GifsYieldTheirFirstImageOpaque)
{
    ASSERT_TRUE(ok);
    for (const char* name : {"gif_plain", "gif_interlaced", "gif_trans", "gif_frames"})
        Check(name, false);
}

// XYZ files built here: palette and indices deflated by zlib.
std::vector<uint8_t> makeXyz(int w, int h, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> f = {'X', 'Y', 'Z', '1'};
    Put16(f, static_cast<uint32_t>(w));
    Put16(f, static_cast<uint32_t>(h));
    uLongf n = compressBound(payload.size());
    std::vector<uint8_t> z(n);
    compress(z.data(), &n, payload.data(), payload.size());
    f.insert(f.end(), z.begin(), z.begin() + static_cast<long>(n));
    return f;
}

std::vector<uint8_t> xyzPayload(int w, int h)
{
    std::vector<uint8_t> p;
    for (int i = 0; i < 256; ++i) {
        p.push_back(static_cast<uint8_t>(i));
        p.push_back(static_cast<uint8_t>(255 - i));
        p.push_back(static_cast<uint8_t>(i * 7));
    }
    for (int i = 0; i < w * h; ++i)
        p.push_back(static_cast<uint8_t>(i * 11));
    return p;
}

TEST(Xyz, PaletteAndIndicesWithIndexZeroTransparent)
{
    const int w = 13, h = 5;
    std::vector<uint8_t> payload = xyzPayload(w, h);
    payload.insert(payload.end(), 50, 0xEE); // bytes past the picture are ignored
    std::vector<uint8_t> file = makeXyz(w, h, payload);
    cBMP image;
    ASSERT_TRUE(LoadImageData(file.data(), file.size(), image));
    ASSERT_EQ(image.BitsPerPixel(), 8);
    ASSERT_EQ(image.Palette().Count(), 256);
    EXPECT_EQ(image.Palette().Entries()[0], 0x0000FF00u);
    EXPECT_EQ(image.Palette().Entries()[2], 0xFF02FD0Eu);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ(image.Row(y)[x], static_cast<uint8_t>((y * w + x) * 11));
}

TEST(Xyz, ShortOrCorruptStreamsFail)
{
    const int w = 13, h = 5;
    std::vector<uint8_t> payload = xyzPayload(w, h);
    payload.resize(payload.size() - 1); // one index short
    std::vector<uint8_t> shortFile = makeXyz(w, h, payload);
    std::vector<uint8_t> good = makeXyz(w, h, xyzPayload(w, h));
    std::vector<uint8_t> cut(good.begin(), good.end() - 6); // no end marker
    std::vector<uint8_t> corrupt = good;
    corrupt[12] ^= 0x5A;
    std::vector<uint8_t> zeroSize = good;
    zeroSize[4] = zeroSize[5] = 0;
    std::vector<uint8_t> huge = good; // promises 65535 x 65535 pixels
    huge[4] = huge[5] = huge[6] = huge[7] = 0xFF;
    for (auto* f : {&shortFile, &cut, &corrupt, &zeroSize, &huge}) {
        cBMP image;
        EXPECT_FALSE(LoadImageData(f->data(), f->size(), image));
        EXPECT_TRUE(image.Empty());
    }
}

TEST(Kinds, DetectionTable)
{
    struct {
        std::vector<uint8_t> head, tail;
        int kind;
    } cases[] = {
        {{0x89, 'P', 'N', 'G'}, {}, kImagePNG},
        {{0xFF, 0xD8}, {0, 0, 0, 0, 0, 0, 0xFF, 0xD9}, kImageJPEG},
        {{0xFF, 0xD8}, {0, 0, 0, 0, 0, 0, 0xFF, 0x00}, kImageUnknown},
        {{'G', 'I', 'F', '8'}, {}, kImageGIF},
        {{0x00, 0x2A}, {}, kImageKind5},
        {{'X', 'Y', 'Z', '1'}, {}, kImageXYZ},
        {{'B', 'M'}, {}, kImageBMP},
        {{'h', 'e', 'l', 'l', 'o'}, {}, kImageUnknown},
    };
    for (auto& c : cases) {
        uint8_t head[8] = {}, tail[8] = {};
        std::copy(c.head.begin(), c.head.end(), head);
        std::copy(c.tail.begin(), c.tail.end(), tail);
        EXPECT_EQ(DetectImageKind(head, tail), c.kind);
    }
}

TEST(Kinds, RecognisedButUndecodedKindsFail)
{
    std::vector<std::vector<uint8_t>> files = {
        {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F', 0, 0xFF, 0xD9},
        {0x00, 0x2A, 1, 2, 3, 4, 5, 6},
        {'j', 'u', 's', 't', ' ', 't', 'e', 'x', 't'},
        {'B'},
    };
    for (auto& f : files) {
        cBMP image;
        EXPECT_FALSE(LoadImageData(f.data(), f.size(), image));
        EXPECT_TRUE(image.Empty());
    }
    cBMP image;
    EXPECT_FALSE(LoadImage("/nonexistent/mevko/picture.png", image));
}

TEST(Kinds, SameDrawingInEveryFormatHasTheSameRowOrder)
{
    TempDir dir;
    ASSERT_TRUE(RunPython(dir, R"(
from PIL import Image
im = Image.new('RGB', (8, 6), (0, 0, 0))
for x in range(8): im.putpixel((x, 0), (255, 0, 0))
im.save('a.bmp'); im.save('a.png'); im.save('a.gif')
)"));
    for (const char* name : {"a.bmp", "a.png", "a.gif"}) {
        cBMP image;
        ASSERT_TRUE(LoadImage(dir / name, image)) << name;
        EXPECT_EQ(ColorAt(image, 3, 0) & 0xFFFFFF, 0xFF0000u) << name;
        EXPECT_EQ(ColorAt(image, 3, 5) & 0xFFFFFF, 0x000000u) << name;
    }
}

// Truncations and random byte changes of valid files must fail or succeed cleanly.
TEST(Fuzz, DamagedFilesNeverMisbehave)
{
    TempDir dir;
    ASSERT_TRUE(RunPython(dir, R"(
from PIL import Image
import random
random.seed(3)
im = Image.new('RGB', (21, 17))
im.putdata([(random.randrange(256), random.randrange(256), random.randrange(256)) for _ in range(21*17)])
im.save('f.bmp'); im.save('f.png'); im.convert('P').save('f.gif', interlace=True)
im.convert('P').save('f8.bmp')
)"));
    std::vector<std::vector<uint8_t>> seeds;
    for (const char* name : {"f.bmp", "f.png", "f.gif", "f8.bmp"})
        seeds.push_back(ReadBytes(dir / name));
    std::vector<uint8_t> xyzPay = xyzPayload(9, 7);
    seeds.push_back(makeXyz(9, 7, xyzPay));
    std::mt19937 rng(1234);
    int loaded = 0;
    for (const auto& seed : seeds) {
        ASSERT_GT(seed.size(), 16u);
        for (size_t cut = 0; cut < seed.size(); cut += 1 + seed.size() / 97) {
            cBMP image;
            if (LoadImageData(seed.data(), cut, image))
                ++loaded;
        }
        for (int round = 0; round < 300; ++round) {
            std::vector<uint8_t> f = seed;
            int changes = 1 + static_cast<int>(rng() % 4);
            for (int k = 0; k < changes; ++k)
                f[rng() % f.size()] = static_cast<uint8_t>(rng());
            cBMP image;
            if (LoadImageData(f.data(), f.size(), image)) {
                ++loaded;
                ASSERT_TRUE(image.BitsPerPixel() == 8 || image.BitsPerPixel() == 32);
                ASSERT_GE(image.ByteSize(), static_cast<size_t>(image.Stride()) * image.Height());
            } else {
                ASSERT_TRUE(image.Empty());
            }
        }
    }
    EXPECT_GT(loaded, 0);
}

} // namespace
