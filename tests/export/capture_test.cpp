// cCaptureImage: layout, limits, stepping, flashes, delays, crops and the files it writes.

#include <gtest/gtest.h>

#include <cerrno>
#include <numeric>

#include "CaptureFixture.h"
#include "image/ImageFile.h"
#include "platform/FileIO.h"
#include "render/SpriteDrawer.h"

using namespace exporttest;

namespace {

const strCaptureRect kCrop{-8, -8, 8, 8};

uint32_t tileColour(const cBMP& sheet, int col, int row, int frameW, int frameH)
{
    return Pixel(sheet, col * frameW + frameW / 2, row * frameH + frameH / 2);
}

// The delays of a written GIF, read back.
std::vector<int> gifDelays(const fs::path& path)
{
    CGIFFile gif;
    EXPECT_TRUE(gif.Load(path));
    std::vector<int> delays;
    for (int i = 0; i < gif.FrameCount(); ++i)
        delays.push_back(gif.FrameAt(i)->delay);
    return delays;
}

} // namespace

TEST(Capture, SheetLayout)
{
    struct Case {
        int images, count, flags, columns, rows;
    } cases[] = {
        {25, 5, 0, 5, 5}, {26, 5, 0, 5, 6}, {26, 5, kCaptureFixRows, 6, 5}, {3, 5, 0, 5, 1}, {1, 1, 0, 1, 1},
    };
    for (const Case& c : cases) {
        CaptureProject p(c.images);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(
            job.Init(p.Path("s.png"), &p.project, &kCrop, c.count, 0, kCapturePng | kCaptureCombine | c.flags, 60, 1.0))
            << c.images;
        EXPECT_EQ(job.ImageCount(), c.images);
        EXPECT_EQ(job.Columns(), c.columns) << c.images;
        EXPECT_EQ(job.Rows(), c.rows) << c.images;
        EXPECT_EQ(RunJob(job), c.images);
        EXPECT_EQ(job.Output().Width(), 16 * c.columns);
        EXPECT_EQ(job.Output().Height(), 16 * c.rows);
    }
}

TEST(Capture, TileOrder)
{
    // Image k shows red for even k, blue for odd k.
    for (bool n : {false, true}) {
        CaptureProject p(4);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        int flags = kCapturePng | kCaptureCombine | (n ? kCaptureOrderN : 0);
        ASSERT_TRUE(job.Init(p.Path("o.png"), &p.project, &kCrop, 2, 0, flags, 60, 1.0));
        RunJob(job);
        const cBMP& s = job.Output();
        EXPECT_EQ(tileColour(s, 0, 0, 16, 16), kRed);
        // Z: the second image lies right of the first; И: below it.
        EXPECT_EQ(tileColour(s, 1, 0, 16, 16), n ? kRed : kBlue);
        EXPECT_EQ(tileColour(s, 0, 1, 16, 16), n ? kBlue : kRed);
    }
}

TEST(Capture, RefusedJobs)
{
    CaptureProject p(5);
    const strCaptureRect wide{0, 0, 800, 10}, gifWide{0, 0, 1100, 10}, empty{5, 5, 5, 9};
    struct Case {
        const strCaptureRect* crop;
        int count, flags;
        double scale;
        eCaptureError error;
    } cases[] = {
        {&wide, 5, kCapturePng | kCaptureCombine, 1.0, CE_SHEET_TOO_LARGE},
        {&wide, 4, kCapturePng | kCaptureCombine, 1.0, CE_NONE},
        {&gifWide, 0, kCaptureGif, 1.0, CE_GIF_TOO_LARGE},
        {&gifWide, 0, kCaptureGif, 0.9, CE_NONE},
        {&kCrop, 0, kCapturePng | kCaptureCombine, 1.0, CE_LAYOUT},
        {&empty, 0, kCapturePng, 1.0, CE_NOTHING},
        {&kCrop, 0, kCapturePng, 0.01, CE_NOTHING},
        {nullptr, 0, kCapturePng, 1.0, CE_NO_INPUT},
        {&kCrop, 0, kCapturePng | kCaptureGif, 1.0, CE_NO_INPUT},
    };
    for (const Case& c : cases) {
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        EXPECT_EQ(job.Init(p.Path("r.png"), &p.project, c.crop, c.count, 0, c.flags, 60, c.scale), c.error == CE_NONE);
        EXPECT_EQ(job.LastError(), c.error);
    }
    CaptureProject none(0);
    cCaptureImage job;
    job.SetRenderOptions(none.options);
    EXPECT_FALSE(job.Init(none.Path("n.png"), &none.project, &kCrop, 0, 0, kCapturePng, 60, 1.0));
    EXPECT_EQ(job.LastError(), CE_NOTHING);
}

TEST(Capture, IntervalStepping)
{
    CaptureProject p(2);
    p.project.SetInterval(0, 2);
    p.project.SetInterval(1, 4);
    cCaptureImage plain, stepped;
    plain.SetRenderOptions(p.options);
    stepped.SetRenderOptions(p.options);
    ASSERT_TRUE(plain.Init(p.Path("a.png"), &p.project, &kCrop, 0, 0, kCapturePng, 60, 1.0));
    EXPECT_EQ(plain.ImageCount(), 2);
    ASSERT_TRUE(stepped.Init(p.Path("b.png"), &p.project, &kCrop, 9, 0,
                             kCapturePng | kCaptureInterval | kCaptureCombine, 60, 1.0));
    EXPECT_EQ(stepped.ImageCount(), 3);
    EXPECT_EQ(RunJob(stepped), 3);
    EXPECT_EQ(tileColour(stepped.Output(), 0, 0, 16, 16), kRed);
    EXPECT_EQ(tileColour(stepped.Output(), 1, 0, 16, 16), kBlue);
    EXPECT_EQ(tileColour(stepped.Output(), 2, 0, 16, 16), kBlue);
}

TEST(Capture, FlashesAddImagesAndFade)
{
    CaptureProject p(2, 2);
    strEffect e;
    e.frame = 0;
    e.flags = 1;
    e.flashDuration = 3;
    e.flashScope = 0;
    e.flashRed = 0, e.flashGreen = 255, e.flashBlue = 0, e.flashStrength = 255;
    int index = -1;
    ASSERT_TRUE(p.project.InsertEffect(e, &index));

    cCaptureImage without, with;
    without.SetRenderOptions(p.options);
    with.SetRenderOptions(p.options);
    ASSERT_TRUE(without.Init(p.Path("a.gif"), &p.project, &kCrop, 0, 0, kCaptureGif, 10, 1.0));
    EXPECT_EQ(without.ImageCount(), 2);
    ASSERT_TRUE(with.Init(p.Path("b.gif"), &p.project, &kCrop, 0, 0, kCaptureGif | kCaptureFlash, 10, 1.0));
    // Frame 0 (2 ticks), then frame 1 once per flash tick: full, 2/3, then the frame's end.
    EXPECT_EQ(with.ImageCount(), 3);
    EXPECT_EQ(RunJob(with), 3);
    CGIFFile gif;
    ASSERT_TRUE(gif.Load(p.Path("b.gif")));
    ASSERT_EQ(gif.FrameCount(), 3);
    EXPECT_EQ(Pixel(gif.FrameAt(0)->image, 8, 8), kRed);
    EXPECT_EQ(Pixel(gif.FrameAt(1)->image, 8, 8), 0xFF00FF00u);
    uint32_t faded = Pixel(gif.FrameAt(2)->image, 8, 8);
    EXPECT_NEAR(static_cast<int>(faded >> 8 & 0xFF), 170, 2); // 2/3 of the flash over blue
    EXPECT_EQ(gif.FrameAt(0)->delay, 20);
    EXPECT_EQ(gif.FrameAt(1)->delay, 10);
    EXPECT_EQ(gif.FrameAt(2)->delay, 10);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(gif.FrameAt(i)->disposal, 2);
}

TEST(Capture, GifDelays)
{
    // Each delay ends where its image's time ends, rounded: the delays add up to the
    // animation's length.
    struct Case {
        int frames, fps, interval, flags;
        std::vector<int> delays;
    } cases[] = {
        {3, 60, 1, 0, {2, 1, 2}},                     // 1.667 per tick: 5 in all
        {3, 60, 1, kCaptureSixHundredths, {6, 6, 6}}, // stretched so a frame lasts 6/100 s
        {3, 10, 3, kCaptureSixHundredths, {30, 30, 30}},
        {3, 30, 2, 0, {7, 6, 7}}, // 6.667 per image
        {6, 60, 3, 0, {5, 5, 5, 5, 5, 5}},
        {7, 1000, 1, 0, {0, 0, 0, 0, 1, 0, 0}}, // a tenth each: 0.7 in all
    };
    for (const Case& c : cases) {
        CaptureProject p(c.frames, c.interval);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(job.Init(p.Path("d.gif"), &p.project, &kCrop, 0, 0, kCaptureGif | c.flags, c.fps, 1.0));
        RunJob(job);
        EXPECT_EQ(gifDelays(p.Path("d.gif")), c.delays) << c.fps << " fps, interval " << c.interval;
    }
    // The shipped sample lasts 27 ticks: 450 ms at 60 fps.
    CaptureProject p(9, 3);
    cCaptureImage job;
    job.SetRenderOptions(p.options);
    ASSERT_TRUE(job.Init(p.Path("s.gif"), &p.project, &kCrop, 0, 0, kCaptureGif, 60, 1.0));
    RunJob(job);
    std::vector<int> delays = gifDelays(p.Path("s.gif"));
    EXPECT_EQ(std::accumulate(delays.begin(), delays.end(), 0), 45);
}

TEST(Capture, ImageCountIsCapped)
{
    // One image per tick of two long frames: refused before anything is rendered.
    CaptureProject p(3);
    p.project.SetInterval(0, 65535);
    p.project.SetInterval(1, 65535);
    cCaptureImage job;
    job.SetRenderOptions(p.options);
    EXPECT_FALSE(job.Init(p.Path("c.gif"), &p.project, &kCrop, 0, 0, kCaptureGif | kCaptureInterval, 60, 1.0));
    EXPECT_EQ(job.LastError(), CE_TOO_MANY);
    p.project.SetInterval(1, 1);
    ASSERT_TRUE(job.Init(p.Path("c.gif"), &p.project, &kCrop, 0, 0, kCaptureGif | kCaptureInterval, 60, 1.0));
    EXPECT_EQ(job.ImageCount(), 65537);
    EXPECT_FALSE(fs::exists(p.Path("c.gif")));
}

TEST(Capture, MirroredAndFlippedCrops)
{
    // A red cell in the top-left quarter of the crop.
    CaptureProject p(1, 1, -4, -4);
    const strCaptureRect crops[4] = {{-8, -8, 8, 8}, {8, -8, -8, 8}, {-8, 8, 8, -8}, {8, 8, -8, -8}};
    cBMP images[4];
    for (int i = 0; i < 4; ++i) {
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(job.Init(p.Path("m.png"), &p.project, &crops[i], 1, 0, kCapturePng | kCaptureCombine, 60, 1.0));
        EXPECT_EQ(job.Flags() & (kCaptureMirrorH | kCaptureFlipV),
                  (i & 1 ? kCaptureMirrorH : 0) | (i & 2 ? kCaptureFlipV : 0));
        RunJob(job);
        images[i] = job.Output();
    }
    EXPECT_EQ(Pixel(images[0], 2, 2), kRed);
    EXPECT_NE(Pixel(images[0], 13, 13), kRed);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(Pixel(images[1], x, y), Pixel(images[0], 15 - x, y));
            ASSERT_EQ(Pixel(images[2], x, y), Pixel(images[0], x, 15 - y));
            ASSERT_EQ(Pixel(images[3], x, y), Pixel(images[0], 15 - x, 15 - y));
        }
}

TEST(Capture, ScaledImagesRepeatOrDropPixels)
{
    CaptureProject p(1, 1, -4, -4);
    cCaptureImage full, half, twice;
    ASSERT_TRUE(full.Init(p.Path("a.png"), &p.project, &kCrop, 1, 0x336699, kCapturePng | kCaptureCombine, 60, 1.0));
    ASSERT_TRUE(half.Init(p.Path("b.png"), &p.project, &kCrop, 1, 0x336699, kCapturePng | kCaptureCombine, 60, 0.5));
    ASSERT_TRUE(twice.Init(p.Path("c.png"), &p.project, &kCrop, 1, 0x336699, kCapturePng | kCaptureCombine, 60, 2.0));
    RunJob(full), RunJob(half), RunJob(twice);
    ASSERT_EQ(half.Output().Width(), 8);
    ASSERT_EQ(twice.Output().Width(), 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Pixel(twice.Output(), x, y), Pixel(full.Output(), x / 2, y / 2));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(Pixel(half.Output(), x, y), Pixel(full.Output(), x * 2, y * 2));
    // Uncovered pixels hold the background colour with alpha 0.
    EXPECT_EQ(Pixel(full.Output(), 15, 15), 0x00336699u);
}

TEST(Capture, AutoCrop)
{
    CaptureProject p(2, 1, 10, 20);
    strCaptureRect r;
    cSpriteDrawer drawer;
    drawer.LoadPictures(p.project);
    ASSERT_TRUE(AutoCropRect(p.project, drawer, r));
    EXPECT_EQ(r.left, 0); // the box always holds the centre
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 15);  // 10 + 4 + 1
    EXPECT_EQ(r.bottom, 25); // 20 + 4 + 1
    CaptureProject empty(1);
    empty.project.SetCell(0, 0, nullptr);
    cSpriteDrawer d2;
    d2.LoadPictures(empty.project);
    EXPECT_FALSE(AutoCropRect(empty.project, d2, r));
}

TEST(Capture, TargetPicture)
{
    CaptureProject p(2, 1, -6, 6); // the cells stay clear of the target
    WritePngRGBA(p.Path("target.png"), MakeImage(4, 6, [](int, int) { return 0xFF00FF00u; }), true);
    strEffect hide;
    hide.frame = 0;
    hide.flags = 1;
    hide.flashDuration = 5;
    hide.flashScope = 2;
    int index = -1;
    ASSERT_TRUE(p.project.InsertEffect(hide, &index));
    p.options.targetX = 2;
    p.options.targetY = 0;
    struct Case {
        int center, flags;
        bool first, second; // target visible in images 0 and 1
        int top;            // first row of the target
    } cases[] = {
        {0, kCaptureTarget, true, true, 5},
        {2, kCaptureTarget, true, true, 2}, // 下: raised by half its height
        {3, kCaptureTarget, true, true, 8},
        {2, kCaptureTarget | kCaptureFlash, true, false, 2},
        {2, 0, false, false, 2},
    };
    for (const Case& c : cases) {
        p.options.targetPath = p.Path("target.png").string();
        p.project.SetValue(AI_CENTER_POSITION, c.center);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(
            job.Init(p.Path("t.png"), &p.project, &kCrop, 9, 0, kCapturePng | kCaptureCombine | c.flags, 60, 1.0));
        ASSERT_GE(RunJob(job), 2);
        for (int image = 0; image < 2; ++image) {
            bool shown = image ? c.second : c.first;
            const cBMP& s = job.Output();
            EXPECT_EQ(Pixel(s, image * 16 + 9, c.top) == 0xFF00FF00u, shown) << c.center << " image " << image;
            EXPECT_NE(Pixel(s, image * 16 + 9, c.top - 1), 0xFF00FF00u);
            EXPECT_EQ(Pixel(s, image * 16 + 8, c.top + 5) == 0xFF00FF00u, shown);
            EXPECT_NE(Pixel(s, image * 16 + 12, c.top), 0xFF00FF00u);
        }
    }
}

TEST(Capture, NumberedFilesAndAlpha)
{
    EXPECT_EQ(NumberedPath("out/anim.png", 0), fs::path("out/anim00000.png"));
    EXPECT_EQ(NumberedPath("anim.png", 123), fs::path("anim00123.png"));
    EXPECT_EQ(NumberedPath("anim", 7), fs::path("anim00007"));

    for (bool alpha : {false, true}) {
        CaptureProject p(3);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(job.Init(p.Path("anim.png"), &p.project, &kCrop, 0, 0x102030,
                             kCapturePng | (alpha ? kCaptureAlpha : 0), 60, 1.0));
        EXPECT_EQ(RunJob(job), 3);
        EXPECT_FALSE(fs::exists(p.Path("anim.png")));
        std::string out =
            RunPython(p.dir, "from PIL import Image\n"
                             "for i in range(4):\n"
                             "    try:\n"
                             "        im = Image.open('" +
                                 p.dir.path.string() +
                                 "/anim%05d.png' % i)\n"
                                 "    except FileNotFoundError:\n"
                                 "        print('missing', i); continue\n"
                                 "    print(im.mode, im.size, im.getpixel((0, 0)), im.getpixel((8, 8)))\n");
        std::string corner = alpha ? "(16, 32, 48, 0)" : "(16, 32, 48, 255)";
        EXPECT_EQ(out, "RGBA (16, 16) " + corner + " (255, 0, 0, 255)\n" + "RGBA (16, 16) " + corner +
                           " (0, 0, 255, 255)\n" + "RGBA (16, 16) " + corner + " (255, 0, 0, 255)\nmissing 3\n");
    }
}

TEST(Capture, GifFileMatchesTheRenderedFrames)
{
    CaptureProject p(4, 2, -3, 2);
    // The same images as PNG files, alpha kept.
    cCaptureImage png;
    png.SetRenderOptions(p.options);
    ASSERT_TRUE(png.Init(p.Path("r.png"), &p.project, &kCrop, 0, 0x00FF00, kCapturePng | kCaptureAlpha, 20, 1.0));
    EXPECT_EQ(RunJob(png), 4);
    for (bool transparent : {false, true}) {
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        int flags = kCaptureGif | (transparent ? kCaptureAlpha : 0);
        ASSERT_TRUE(job.Init(p.Path("g.gif"), &p.project, &kCrop, 0, 0x00FF00, flags, 20, 1.0));
        EXPECT_EQ(RunJob(job), 4);
        std::string out = RunPython(p.dir, "from PIL import Image\n"
                                           "im = Image.open('" +
                                               p.Path("g.gif").string() +
                                               "')\n"
                                               "print(im.n_frames, im.info.get('loop'))\n"
                                               "for i in range(im.n_frames):\n"
                                               "    im.seek(i)\n"
                                               "    f = im.convert('RGBA')\n"
                                               "    print(im.info.get('duration'), ''.join('%02x%02x%02x%02x' % "
                                               "f.getpixel((x, y)) for y in range(16) for x in range(16)))\n");
        std::istringstream lines(out);
        int n = -1, loop = -1;
        lines >> n >> loop;
        EXPECT_EQ(n, 4);
        EXPECT_EQ(loop, 0);
        for (int f = 0; f < 4; ++f) {
            int duration = 0;
            std::string hex;
            lines >> duration >> hex;
            EXPECT_EQ(duration, 100);
            cBMP img;
            ASSERT_TRUE(LoadImage(NumberedPath(p.Path("r.png"), f), img));
            std::string want;
            char buf[9];
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    uint32_t c = Pixel(img, x, y);
                    bool clear = transparent && (c >> 24) < 128;
                    std::snprintf(buf, sizeof buf, "%06x%02x", clear ? 0 : c & 0xFFFFFF, clear ? 0 : 255);
                    want += buf;
                }
            // Pillow shows transparent pixels as (0, 0, 0, 0) only when the frame is transparent there.
            if (transparent) {
                for (size_t i = 0; i < want.size(); i += 8)
                    if (want.compare(i + 6, 2, "00") == 0)
                        hex.replace(i, 6, "000000");
            }
            EXPECT_EQ(hex, want) << "frame " << f << (transparent ? " (transparent)" : "");
        }
    }
}

TEST(Capture, WriteFailuresGiveTheSystemsReason)
{
    // Each kind of output into a folder that doesn't exist: the job fails with the reason.
    const struct {
        const char* name;
        int flags;
    } kinds[] = {{"n.png", kCapturePng}, {"s.png", kCapturePng | kCaptureCombine}, {"a.gif", kCaptureGif}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.name);
        CaptureProject p(2);
        cCaptureImage job;
        job.SetRenderOptions(p.options);
        ASSERT_TRUE(job.Init(p.Path("none") / k.name, &p.project, &kCrop, 2, 0, k.flags, 60, 1.0));
        while (job.Step()) {
        }
        EXPECT_FALSE(job.Finish());
        EXPECT_EQ(job.LastError(), CE_WRITE);
        EXPECT_EQ(job.WriteReason(), platform::SystemReason(ENOENT));
    }
}
