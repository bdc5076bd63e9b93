// Pattern sheets: division, transparency keys, the integer hue adjustment, pattern
// geometry; and the image helpers (depth conversion, row flips, PNG round trip).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "image/HueAdjust.h"
#include "image/ImageFile.h"
#include "image/PatternSheet.h"
#include "image/PngWrite.h"
#include "support/TestFiles.h"

using namespace testfiles;

namespace {

void fill32(cBMP& image, int w, int h, uint32_t (*color)(int x, int y))
{
    ASSERT_TRUE(image.Create(w, h, 32));
    image.SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = color(x, y);
            std::memcpy(image.Row(y) + 4 * x, &c, 4);
        }
}

// An 8-bit image with a 4-entry palette; pixel (x, y) has index (x + y) % 5, so
// index 4 lies beyond the palette.
void fill8(cBMP& image, int w, int h)
{
    ASSERT_TRUE(image.Create(w, h, 8, 4));
    const uint32_t pal[4] = {0xFF000000, 0xFFFF0000, 0x8000FF00, 0x000000FF};
    image.ColorTable().assign(pal, pal + 4);
    image.Palette().Set(pal, 4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.Row(y)[x] = static_cast<uint8_t>((x + y) % 5);
}

TEST(Sheet, DivisionRules)
{
    struct {
        int w, h, a, b, flags;
        bool ok;
        int pw, ph, cols, rows;
    } cases[] = {
        {960, 384, 5, 2, 0, true, 192, 192, 5, 2}, {960, 384, 192, 192, kSheetDivideBySize, true, 192, 192, 5, 2},
        {100, 40, 3, 1, 0, true, 33, 40, 3, 1},    {100, 40, 200, 10, kSheetDivideBySize, false, 0, 0, 0, 0},
        {10, 10, 20, 20, 0, true, 1, 1, 10, 10},   {500, 500, 101, 100, 0, false, 0, 0, 0, 0}, // 10100 patterns
        {50, 50, 0, 1, 0, false, 0, 0, 0, 0},
    };
    for (auto& c : cases) {
        cPatternSheet sheet;
        ASSERT_TRUE(sheet.Create(c.w, c.h, 32));
        EXPECT_EQ(sheet.Build(c.a, c.b, c.flags), c.ok) << c.w << "x" << c.h << " / " << c.a << "," << c.b;
        EXPECT_EQ(sheet.IsReady(), c.ok);
        int pw, ph, cols, rows;
        sheet.PatternSize(pw, ph);
        sheet.GridSize(cols, rows);
        EXPECT_EQ(pw, c.pw);
        EXPECT_EQ(ph, c.ph);
        EXPECT_EQ(cols, c.cols);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(sheet.PatternCount(), c.cols * c.rows);
        if (!c.ok) {
            EXPECT_TRUE(sheet.Texture().empty());
        }
    }
}

TEST(Sheet, PatternGeometry)
{
    cPatternSheet sheet;
    ASSERT_TRUE(sheet.Create(100, 40, 32));
    ASSERT_TRUE(sheet.Build(3, 2, 0)); // 33 x 20 patterns, 3 x 2
    auto r = sheet.PatternRect(4);
    EXPECT_EQ(r.left, 33);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right, 66);
    EXPECT_EQ(r.bottom, 40);
    EXPECT_EQ(sheet.PatternAt(0, 0), 0);
    EXPECT_EQ(sheet.PatternAt(34, 21), 4);
    EXPECT_EQ(sheet.PatternAt(99, 5), -1); // the last pixel column is outside the grid
    EXPECT_EQ(sheet.PatternAt(-1, 5), -1);
    EXPECT_EQ(sheet.PatternAt(5, 40), -1);
    strPatternUV uv = sheet.PatternUV(5);
    EXPECT_TRUE(uv.valid);
    EXPECT_FLOAT_EQ(uv.u, 66 / 100.0f);
    EXPECT_FLOAT_EQ(uv.v, 0.5f);
    EXPECT_FLOAT_EQ(uv.width, 0.33f);
    EXPECT_FLOAT_EQ(uv.height, 0.5f);
    strPatternUV bad = sheet.PatternUV(6);
    EXPECT_FALSE(bad.valid);
    EXPECT_EQ(bad.u, 0);
    EXPECT_EQ(bad.width, 1);
    EXPECT_TRUE(sheet.IsValidPattern(5));
    EXPECT_FALSE(sheet.IsValidPattern(6));
    EXPECT_FALSE(sheet.IsValidPattern(-1));
}

TEST(Sheet, RebuildKeepsTheLastRequestAndReleaseUnreadies)
{
    cPatternSheet sheet;
    ASSERT_TRUE(sheet.Create(64, 32, 32));
    ASSERT_TRUE(sheet.Build(16, 16, kSheetDivideBySize));
    sheet.ReleaseTextures();
    EXPECT_FALSE(sheet.IsReady());
    ASSERT_TRUE(sheet.Rebuild());
    EXPECT_EQ(sheet.PatternCount(), 8);
}

// Texture texel of the top-left pixel of each 8-bit index, per method.
TEST(Sheet, KeysOfEveryTransparencyMethodOnAPalettedPicture)
{
    struct {
        int transType;
        uint32_t keyIndex;
    } cases[] = {{0, cPatternSheet::kNoKeyIndex}, {1, 0}, {2, 0}, {3, cPatternSheet::kNoKeyIndex}, {4, 3}};
    for (auto& c : cases) {
        cPatternSheet sheet;
        fill8(sheet, 10, 6);
        ASSERT_TRUE(sheet.Build(1, 1, TransparencyFlags(c.transType)));
        EXPECT_EQ(sheet.KeyIndex(), c.keyIndex) << c.transType;
        const auto& tex = sheet.Texture();
        for (int i = 0; i < 5; ++i) {
            uint32_t t = tex[static_cast<size_t>(i)]; // row 0: index = x
            uint32_t expected = i >= 4 ? 0u : sheet.Palette().Entries()[i];
            if (static_cast<uint32_t>(i) == c.keyIndex)
                expected &= 0x00FFFFFF;
            EXPECT_EQ(t, expected) << "method " << c.transType << " index " << i;
        }
    }
}

TEST(Sheet, KeysOfEveryTransparencyMethodOnA32BitPicture)
{
    // Top-left pixel opaque blue; some pixels black, some transparent.
    auto color = [](int x, int y) -> uint32_t {
        if (x == 0 && y == 0)
            return 0xFF0000FF;
        if (x == 1)
            return 0xFF000000;
        if (x == 2)
            return 0x00123456;
        return (x + y) % 2 ? 0xFF0000FF : 0x80FF8040;
    };
    for (int transType = 0; transType < 5; ++transType) {
        cPatternSheet sheet;
        fill32(sheet, 6, 4, color);
        ASSERT_TRUE(sheet.Build(1, 1, TransparencyFlags(transType)));
        const auto& tex = sheet.Texture();
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                uint32_t c = color(x, y), want = c;
                if ((c >> 24) == 0)
                    want = 0;
                if (transType == 2 && (c & 0xFFFFFF) == 0x0000FF)
                    want = 0; // top-left colour
                if (transType == 3 && (c & 0xFFFFFF) == 0)
                    want = 0; // black
                EXPECT_EQ(tex[static_cast<size_t>(y) * 6 + x], want) << transType << " at " << x << "," << y;
            }
    }
}

TEST(Sheet, XyzIndexZeroStaysTransparentWhateverTheMethod)
{
    cPatternSheet base;
    ASSERT_TRUE(base.Create(4, 1, 8, 256));
    uint32_t pal[256];
    for (int i = 0; i < 256; ++i)
        pal[i] = (i == 0 ? 0u : 0xFF000000u) | static_cast<uint32_t>(i * 0x010101);
    base.Palette().Set(pal, 256);
    for (int x = 0; x < 4; ++x)
        base.Row(0)[x] = static_cast<uint8_t>(x);
    for (int transType = 0; transType < 5; ++transType) {
        cPatternSheet sheet;
        sheet.Create(4, 1, 8, 256);
        sheet.Palette().Set(pal, 256);
        std::memcpy(sheet.Row(0), base.Row(0), 4);
        ASSERT_TRUE(sheet.Build(1, 1, TransparencyFlags(transType)));
        EXPECT_EQ(sheet.Texture()[0] >> 24, 0u) << transType;
        EXPECT_EQ(sheet.Texture()[1] >> 24, 255u);
    }
}

TEST(Hue, IntegerAdjustment)
{
    struct {
        uint32_t in;
        int shift, sat, val;
        uint32_t out;
    } cases[] = {
        {0xFFFF0000, 120, 0, 0, 0xFF00FF00},                                        // red to green
        {0xFFFF0000, 240, 0, 0, 0xFF0000FF},                                        // red to blue
        {0x7F00FF00, 120, 0, 0, 0x7F0000FF},                                        // alpha kept
        {0xFF808080, 90, 0, 0, 0xFF808080},                                         // grey has no hue
        {0xFFFF8000, 0, 0, 0, 0xFFFF8000},                                          // an orange survives the round trip
        {0xFFFF0000, -120, 0, 0, 0xFF0000FF}, {0xFFFF0000, 0, -255, 0, 0xFFFFFFFF}, // no saturation: grey of the value
        {0xFF400000, 0, 0, 300, 0xFFFF0000},                                        // value clamps at 255
        {0xFF000000, 45, 0, 0, 0xFF000000},
    };
    for (auto& c : cases)
        EXPECT_EQ(AdjustHue(c.in, c.shift, c.sat, c.val), c.out) << std::hex << c.in;
}

// An independent straight transcription with ordinary division, over many colours.
uint32_t hueReference(uint32_t color, int shift)
{
    int b = color & 255, g = (color >> 8) & 255, r = (color >> 16) & 255;
    int mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
    int H = d == 0 ? 0 : mx == r ? (g - b) * 60 / d : mx == g ? (b - r) * 60 / d + 120 : (r - g) * 60 / d + 240;
    int S = mx == 0 ? 0 : d * 255 / mx, V = mx;
    int h = (H + shift + 720) % 360;
    int R, G, B;
    if (S == 0) {
        R = G = B = V;
    } else {
        int i = (h / 60) % 6, f = h * 6 - i * 360;
        int p = (255 - S) * V / 255, q = (255 - f * S / 360) * V / 255, t = (255 - (360 - f) * S / 360) * V / 255;
        int tbl[6][3] = {{V, t, p}, {q, V, p}, {p, V, t}, {p, q, V}, {t, p, V}, {V, p, q}};
        R = tbl[i][0], G = tbl[i][1], B = tbl[i][2];
    }
    return (color & 0xFF000000) | static_cast<uint32_t>(R << 16 | G << 8 | B);
}

TEST(Hue, MatchesPlainDivisionEverywhere)
{
    for (uint32_t c = 0; c < (1u << 24); c += 4099)
        for (int shift : {1, 77, 180, 359})
            ASSERT_EQ(AdjustHue(c | 0xFF000000, shift, 0, 0), hueReference(c | 0xFF000000, shift)) << std::hex << c;
}

TEST(Sheet, HueShiftAppliesToPaletteAndPixelsButZeroLeavesThemAlone)
{
    cPatternSheet sheet;
    fill32(sheet, 3, 1, [](int x, int) -> uint32_t { return x == 0 ? 0xFFFF0000 : x == 1 ? 0xFF808080 : 0x80102030; });
    ASSERT_TRUE(sheet.Build(1, 1, 0));
    EXPECT_EQ(sheet.Texture()[0], 0xFFFF0000u);
    EXPECT_EQ(sheet.Texture()[2], 0x80102030u);
    const int adjust[4] = {120, 0, 0, 0};
    sheet.SetColorAdjust(adjust);
    ASSERT_TRUE(sheet.Build(-1, 0, 0));
    EXPECT_EQ(sheet.Texture()[0], 0xFF00FF00u);
    EXPECT_EQ(sheet.Texture()[1], 0xFF808080u);
    EXPECT_EQ(sheet.Texture()[2], AdjustHue(0x80102030, 120, 0, 0));

    cPatternSheet pal;
    fill8(pal, 4, 1);
    pal.SetColorAdjust(adjust);
    ASSERT_TRUE(pal.Build(1, 1, 0));
    EXPECT_EQ(pal.Texture()[1], 0xFF00FF00u);
}

TEST(ImageHelpers, ConvertDepthRoundTripsAndRefusesOddDepths)
{
    cBMP image;
    fill32(image, 7, 5,
           [](int x, int y) -> uint32_t { return 0xFF000000u | ((x * 40) << 16) | ((y * 50) << 8) | 0x11; });
    cBMP copy = image;
    EXPECT_FALSE(ConvertDepth(copy, 12, false));
    ASSERT_TRUE(ConvertDepth(copy, 8, false)); // 35 colours fit exactly
    EXPECT_EQ(copy.BitsPerPixel(), 8);
    ASSERT_TRUE(ConvertDepth(copy, 24, false));
    ASSERT_TRUE(ConvertDepth(copy, 32, true));
    EXPECT_TRUE(copy.HasAlphaMasks());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(PixelColor(copy, x, y) & 0xFFFFFF, PixelColor(image, x, y) & 0xFFFFFF);

    cBMP bw = image;
    ASSERT_TRUE(ConvertDepth(bw, 1, false)); // too many colours: nearest of black and white
    EXPECT_EQ(bw.ColorTable().size(), 2u);
    ASSERT_TRUE(ConvertDepth(bw, 4, false));
    EXPECT_EQ(bw.BitsPerPixel(), 4);
}

TEST(ImageHelpers, FlipRowsAndColorTable)
{
    cBMP image;
    ASSERT_TRUE(image.Create(3, 3, 8, 3));
    for (int y = 0; y < 3; ++y)
        image.Row(y)[0] = static_cast<uint8_t>(y);
    FlipRows(image);
    EXPECT_EQ(image.Row(0)[0], 2);
    EXPECT_EQ(image.Row(2)[0], 0);
    EXPECT_TRUE(WriteColorTable(image, {1, 2, 3, 4}));
    EXPECT_EQ(ReadColorTable(image).size(), 4u);
    cBMP small;
    small.Create(2, 2, 1);
    EXPECT_FALSE(WriteColorTable(small, {1, 2, 3}));
    cBMP empty;
    uint32_t e;
    EXPECT_FALSE(empty.PaletteEntry(0, e));
    EXPECT_EQ(empty.Pixels(), nullptr);
}

TEST(PngWrite, RoundTripThroughTheDecoderAndPillow)
{
    TempDir dir;
    cBMP image;
    fill32(image, 9, 4,
           [](int x, int y) -> uint32_t { return static_cast<uint32_t>(x * 25) << 24 | (y * 60) << 16 | 0x3377; });
    ASSERT_TRUE(WritePngRGBA(dir / "out.png", image, true));
    ASSERT_TRUE(WritePngRGBA(dir / "opaque.png", image, false));
    cBMP back;
    ASSERT_TRUE(LoadImage(dir / "out.png", back));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(ColorAt(back, x, y), PixelColor(image, x, y));
    ASSERT_TRUE(RunPython(dir, R"(
from PIL import Image
im = Image.open('opaque.png'); assert im.mode == 'RGBA' and im.size == (9, 4)
assert im.getpixel((8, 3)) == (180, 0x33, 0x77, 255), im.getpixel((8, 3))
)"));
    cBMP eight;
    eight.Create(2, 2, 8);
    EXPECT_FALSE(WritePngRGBA(dir / "bad.png", eight, true));
    EXPECT_FALSE(std::filesystem::exists(dir / "bad.png"));
}

TEST(ErrorCell, BuiltInPictureLoadsAsPalettedWithIndexZeroKeyed)
{
    cPatternSheet sheet;
    ASSERT_TRUE(LoadImageResource("BITMAP_ERCELL", sheet));
    EXPECT_EQ(sheet.BitsPerPixel(), 8);
    ASSERT_TRUE(sheet.Build(1, 1, kSheetKeyIndex0));
    EXPECT_EQ(sheet.PatternCount(), 1);
    int opaque = 0, clear = 0;
    for (uint32_t t : sheet.Texture())
        (t >> 24 ? opaque : clear)++;
    EXPECT_GT(opaque, 0);
    EXPECT_GT(clear, 0);
    EXPECT_FALSE(LoadImageResource("BITMAP_OTHER", sheet));
}

} // namespace
