// CGIFFile written and read back by independent decoders: giflib's own slurp and
// Pillow. CGIFFile::load is checked against the same files.

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <set>

#include "export/GifFile.h"
#include "support/ExportTestUtil.h"

using namespace exporttest;

namespace {

std::unique_ptr<CGIFLocal> frameOf(cBMP image, int delay = 0, int disposal = 0)
{
    auto f = std::make_unique<CGIFLocal>();
    f->image = std::move(image);
    f->delay = delay;
    f->disposal = disposal;
    return f;
}

// Decodes with giflib's slurp; closes on destruction.
struct Slurp {
    GifFileType* gif = nullptr;
    explicit Slurp(const fs::path& p)
    {
        int err = 0;
        gif = DGifOpenFileName(p.c_str(), &err);
        if (gif && DGifSlurp(gif) != GIF_OK) {
            DGifCloseFile(gif, &err);
            gif = nullptr;
        }
    }
    ~Slurp()
    {
        int err = 0;
        if (gif)
            DGifCloseFile(gif, &err);
    }
    GraphicsControlBlock Gcb(int i) const
    {
        GraphicsControlBlock g{};
        g.TransparentColor = -1;
        DGifSavedExtensionToGCB(gif, i, &g);
        return g;
    }
    bool HasGcb(int i) const
    {
        const SavedImage& s = gif->SavedImages[i];
        for (int k = 0; k < s.ExtensionBlockCount; ++k)
            if (s.ExtensionBlocks[k].Function == GRAPHICS_EXT_FUNC_CODE)
                return true;
        return false;
    }
};

// 320 x 240 with far more than 256 colours.
cBMP rich(int seed)
{
    return MakeImage(320, 240, [seed](int x, int y) {
        return 0xFF000000u | ((x + seed) & 0xFF) << 16 | ((y * 3 + seed) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    });
}

} // namespace

TEST(GifFile, FewColoursDecodeExactlyWithOneGlobalTable)
{
    TempDir dir;
    CGIFFile gif;
    const uint32_t palette[5] = {0xFF102030, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    for (int f = 0; f < 3; ++f)
        gif.AddFrame(
            frameOf(MakeImage(40, 30, [&](int x, int y) { return palette[(x / 8 + y / 6 + f) % 5]; }), 7 + f, 2));
    ASSERT_TRUE(gif.Save(dir / "a.gif", CGIFFile::kNoBackground));

    Slurp s(dir / "a.gif");
    ASSERT_TRUE(s.gif);
    EXPECT_EQ(s.gif->ImageCount, 3);
    EXPECT_EQ(s.gif->SWidth, 40);
    ASSERT_TRUE(s.gif->SColorMap);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.gif->SavedImages[i].ImageDesc.ColorMap, nullptr);
        EXPECT_EQ(s.Gcb(i).DelayTime, 7 + i);
        EXPECT_EQ(s.Gcb(i).DisposalMode, 2);
        EXPECT_EQ(s.Gcb(i).TransparentColor, -1);
    }
    // The table is sorted by luminance, without gaps.
    int lastLuma = -1;
    for (int i = 0; i < 5; ++i) {
        GifColorType c = s.gif->SColorMap->Colors[i];
        int luma = (299 * c.Red + 587 * c.Green + 114 * c.Blue) / 1000;
        EXPECT_GE(luma, lastLuma);
        lastLuma = luma;
    }

    std::string out = RunPython(dir, "from PIL import Image\n"
                                     "im = Image.open('" +
                                         (dir / "a.gif").string() +
                                         "')\n"
                                         "print(im.n_frames, im.info.get('loop'), im.info.get('version'))\n"
                                         "for i in range(im.n_frames):\n"
                                         "    im.seek(i)\n"
                                         "    open('" +
                                         (dir / "f").string() +
                                         "%d.rgba' % i, 'wb').write(im.convert('RGBA').tobytes())\n"
                                         "    print(im.info.get('duration'), im.disposal_method)\n");
    EXPECT_EQ(out, "3 0 b'GIF89a'\n70 2\n80 2\n90 2\n");
    for (int f = 0; f < 3; ++f) {
        std::string rgba = ReadText(dir / ("f" + std::to_string(f) + ".rgba"));
        ASSERT_EQ(rgba.size(), 40u * 30 * 4);
        const cBMP& img = gif.FrameAt(f)->image;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                uint32_t want = Pixel(img, x, y);
                const auto* p = reinterpret_cast<const uint8_t*>(rgba.data()) + (y * 40 + x) * 4;
                uint32_t got = uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
                ASSERT_EQ(got, want) << "frame " << f << " at " << x << "," << y;
            }
    }
}

TEST(GifFile, VersionAndNetscapeBlockFollowTheContent)
{
    TempDir dir;
    cBMP plain = MakeImage(4, 4, [](int x, int) { return x ? 0xFF00FF00u : 0xFF0000FFu; });
    struct Case {
        int frames, delay;
        bool alpha;
        const char* version;
        bool netscape;
    } cases[] = {{1, 0, false, "GIF87a", false},
                 {1, 5, false, "GIF89a", false},
                 {1, 0, true, "GIF89a", false},
                 {2, 0, false, "GIF89a", true}};
    for (const Case& c : cases) {
        CGIFFile gif;
        for (int i = 0; i < c.frames; ++i) {
            cBMP img = plain;
            if (c.alpha)
                reinterpret_cast<uint32_t*>(img.Row(0))[0] = 0;
            gif.AddFrame(frameOf(img, c.delay));
        }
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(gif.Encode(CGIFFile::kNoBackground, bytes));
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), c.version);
        bool hasNetscape = std::search(bytes.begin(), bytes.end(), "NETSCAPE2.0", "NETSCAPE2.0" + 11) != bytes.end();
        EXPECT_EQ(hasNetscape, c.netscape) << c.frames;
        EXPECT_EQ(bytes.back(), 0x3B);
    }
}

TEST(GifFile, TransparentPixelsAndOpaqueCrop)
{
    TempDir dir;
    CGIFFile gif;
    // A 3 x 2 opaque block at (5, 4) on a transparent 16 x 12 frame, then an empty frame.
    gif.AddFrame(frameOf(MakeImage(
        16, 12, [](int x, int y) { return x >= 5 && x < 8 && y >= 4 && y < 6 ? 0xFFC08040u : 0x00FFFFFFu; })));
    gif.AddFrame(frameOf(MakeImage(16, 12, [](int, int) { return 0u; })));
    ASSERT_TRUE(gif.Save(dir / "t.gif", 0x123456));

    Slurp s(dir / "t.gif");
    ASSERT_TRUE(s.gif);
    ASSERT_EQ(s.gif->ImageCount, 2);
    const GifImageDesc& d0 = s.gif->SavedImages[0].ImageDesc;
    EXPECT_EQ(d0.Left, 5);
    EXPECT_EQ(d0.Top, 4);
    EXPECT_EQ(d0.Width, 3);
    EXPECT_EQ(d0.Height, 2);
    const GifImageDesc& d1 = s.gif->SavedImages[1].ImageDesc;
    EXPECT_EQ(d1.Left, 0);
    EXPECT_EQ(d1.Width, 1);
    EXPECT_EQ(d1.Height, 1);
    int t = s.Gcb(1).TransparentColor;
    ASSERT_GE(t, 0);
    EXPECT_EQ(s.gif->SavedImages[1].RasterBits[0], t);
    EXPECT_EQ(s.Gcb(0).TransparentColor, t); // both frames share the global table
    // The marker's stand-in colour is not the block's colour.
    GifColorType tc = s.gif->SColorMap->Colors[t];
    EXPECT_FALSE(tc.Red == 0xC0 && tc.Green == 0x80 && tc.Blue == 0x40);
    GifColorType block = s.gif->SColorMap->Colors[s.gif->SavedImages[0].RasterBits[0]];
    EXPECT_EQ(block.Red, 0xC0);
    EXPECT_EQ(block.Blue, 0x40);
}

TEST(GifFile, FramesBeyondTheGlobalTableGetLocalTables)
{
    TempDir dir;
    CGIFFile gif;
    // 200 colours each, disjoint: the second frame no longer fits the global table.
    for (int f = 0; f < 2; ++f)
        gif.AddFrame(
            frameOf(MakeImage(200, 2, [f](int x, int) { return 0xFF000000u | uint32_t(f) << 16 | uint32_t(x); })));
    ASSERT_TRUE(gif.Save(dir / "l.gif", CGIFFile::kNoBackground));
    Slurp s(dir / "l.gif");
    ASSERT_TRUE(s.gif);
    EXPECT_EQ(s.gif->SavedImages[0].ImageDesc.ColorMap, nullptr);
    ASSERT_NE(s.gif->SavedImages[1].ImageDesc.ColorMap, nullptr);
    const ColorMapObject* map = s.gif->SavedImages[1].ImageDesc.ColorMap;
    for (int x = 0; x < 200; ++x) {
        GifColorType c = map->Colors[s.gif->SavedImages[1].RasterBits[x]];
        EXPECT_EQ(c.Red, 1);
        EXPECT_EQ(c.Blue, x);
    }
}

TEST(GifFile, RichFramesAreQuantised)
{
    TempDir dir;
    CGIFFile gif;
    gif.AddFrame(frameOf(rich(0)));
    cBMP holed = rich(7); // with transparency only 128 colours remain
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 40; ++x)
            reinterpret_cast<uint32_t*>(holed.Row(y))[x] = 0;
    gif.AddFrame(frameOf(holed));
    ASSERT_TRUE(gif.Save(dir / "q.gif", CGIFFile::kNoBackground));
    Slurp s(dir / "q.gif");
    ASSERT_TRUE(s.gif);
    for (int f = 0; f < 2; ++f) {
        const SavedImage& img = s.gif->SavedImages[f];
        std::set<int> used(img.RasterBits, img.RasterBits + img.ImageDesc.Width * img.ImageDesc.Height);
        int transparent = s.Gcb(f).TransparentColor;
        used.erase(transparent);
        EXPECT_LE(used.size(), f ? 128u : 256u);
        EXPECT_GT(used.size(), f ? 64u : 128u);
        EXPECT_EQ(transparent >= 0, f == 1);
    }
    EXPECT_EQ(s.gif->SavedImages[1].ImageDesc.Left, 40);
}

TEST(GifFile, LoadComposesFramesOnTheScreen)
{
    TempDir dir;
    CGIFFile out;
    out.AddFrame(frameOf(MakeImage(8, 8, [](int, int) { return 0xFF0000FFu; }), 10, 1));
    // Only the top-left quarter is opaque; disposal 1 keeps the first frame below.
    out.AddFrame(frameOf(MakeImage(8, 8, [](int x, int y) { return x < 4 && y < 4 ? 0xFFFF0000u : 0u; }), 20, 1));
    ASSERT_TRUE(out.Save(dir / "c.gif", CGIFFile::kNoBackground));

    CGIFFile in;
    ASSERT_TRUE(in.Load(dir / "c.gif"));
    ASSERT_EQ(in.FrameCount(), 2);
    EXPECT_TRUE(in.netscape);
    EXPECT_EQ(in.loopCount, 0);
    const cBMP& second = in.FrameAt(1)->image;
    ASSERT_EQ(second.Width(), 8);
    EXPECT_EQ(Pixel(second, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(Pixel(second, 6, 6), 0xFF0000FFu);
    EXPECT_EQ(in.FrameAt(1)->delay, 20);

    // Damaged and truncated files fail without crashing.
    std::string bytes = ReadText(dir / "c.gif");
    for (size_t cut : {size_t(0), size_t(6), size_t(13), bytes.size() / 2, bytes.size() - 1}) {
        CGIFFile broken;
        EXPECT_FALSE(broken.LoadBytes(reinterpret_cast<const uint8_t*>(bytes.data()), cut)) << cut;
        EXPECT_EQ(broken.FrameCount(), 0);
    }
}

TEST(GifFile, LoadSurvivesDamagedBytes)
{
    CGIFFile out;
    out.AddFrame(frameOf(rich(1), 4, 2));
    out.AddFrame(frameOf(MakeImage(320, 240, [](int x, int y) { return (x + y) % 7 ? 0xFF405060u : 0u; }), 4, 3));
    std::vector<uint8_t> good;
    ASSERT_TRUE(out.Encode(0x405060, good));
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bad = good;
        for (int k = 0; k < 1 + round % 4; ++k)
            bad[next() % std::min<size_t>(bad.size(), 2000)] = static_cast<uint8_t>(next());
        CGIFFile in;
        if (in.LoadBytes(bad.data(), bad.size())) {
            for (int i = 0; i < in.FrameCount(); ++i) {
                EXPECT_EQ(in.FrameAt(i)->image.Width(), in.screenWidth);
                EXPECT_EQ(in.FrameAt(i)->image.Height(), in.screenHeight);
            }
        }
    }
}

TEST(GifFile, NothingToWriteFails)
{
    TempDir dir;
    CGIFFile gif;
    EXPECT_FALSE(gif.Save(dir / "e.gif", CGIFFile::kNoBackground));
    EXPECT_FALSE(fs::exists(dir / "e.gif"));
}

TEST(GifFile, InterlacedRowsLandInPlace)
{
    TempDir dir;
    CGIFFile gif;
    // Eleven rows of distinct greys, written in the four interlace passes.
    auto frame = frameOf(MakeImage(3, 11, [](int, int y) { return 0xFF000000u | uint32_t(y * 20) * 0x010101u; }));
    frame->interlace = true;
    gif.AddFrame(std::move(frame));
    ASSERT_TRUE(gif.Save(dir / "i.gif", CGIFFile::kNoBackground));
    Slurp s(dir / "i.gif");
    ASSERT_TRUE(s.gif);
    ASSERT_TRUE(s.gif->SavedImages[0].ImageDesc.Interlace);
    for (int y = 0; y < 11; ++y) // the slurp puts interlaced rows back in order
        EXPECT_EQ(s.gif->SColorMap->Colors[s.gif->SavedImages[0].RasterBits[y * 3]].Red, y * 20) << y;
}

namespace {

// A GIF of one 1 x 1 image (colour 1) on a screen of w x h.
std::vector<uint8_t> dotOnScreen(int w, int h)
{
    std::vector<uint8_t> b = {'G',        'I',
                              'F',        '8',
                              '9',        'a',
                              uint8_t(w), uint8_t(w >> 8),
                              uint8_t(h), uint8_t(h >> 8),
                              0x80,       0,
                              0,          0,
                              0,          0,
                              255,        255,
                              255,        ',',
                              0,          0,
                              0,          0,
                              1,          0,
                              1,          0,
                              0,          2,
                              2,          0x4C,
                              0x01,       0,
                              ';'}; // clear, 1, end in 3-bit codes
    return b;
}

} // namespace

TEST(GifFile, ScreensTheDataCannotFillAreRefusedBeforeComposing)
{
    const struct {
        int w, h;
        bool loads;
    } cases[] = {{8, 8, true}, {300, 300, true}, {8192, 4096, false}, {16384, 16384, false}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = dotOnScreen(c.w, c.h);
        CGIFFile in;
        EXPECT_EQ(in.LoadBytes(bytes.data(), bytes.size()), c.loads) << c.w << " x " << c.h;
        if (c.loads) {
            ASSERT_EQ(in.FrameCount(), 1);
            EXPECT_EQ(Pixel(in.FrameAt(0)->image, 0, 0), 0xFFFFFFFFu);
        }
    }
}
