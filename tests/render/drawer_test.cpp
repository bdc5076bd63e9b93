// cSpriteDrawer: exact pixel grids for the edge cases of cell drawing, the error
// cell, drawing order, flashes, and the picture rebuild rules of the sheet cache.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "image/PngWrite.h"
#include "model/AnimeData.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "support/TestFiles.h"

using namespace testfiles;

namespace {

// Two 4 x 4 patterns of distinct opaque colours side by side (8 x 4).
std::unique_ptr<cPatternSheet> twoPatterns()
{
    auto sheet = std::make_unique<cPatternSheet>();
    sheet->Create(8, 4, 32);
    sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            uint32_t c = 0xFF000000u | static_cast<uint32_t>((x * 30) << 16 | (y * 60) << 8 | 5);
            std::memcpy(sheet->Row(y) + 4 * x, &c, 4);
        }
    sheet->Build(2, 1, 0);
    return sheet;
}

uint32_t px(const cBMP& t, int x, int y)
{
    uint32_t c;
    std::memcpy(&c, t.Row(y) + 4 * x, 4);
    return c;
}

uint32_t texel(const cPatternSheet& s, int pattern, int x, int y)
{
    return s.Texture()[static_cast<size_t>(y) * s.Width() + pattern * 4 + x];
}

class Drawer : public ::testing::Test {
protected:
    void SetUp() override
    {
        drawer.PutSheet(twoPatterns(), 0);
        sheet = drawer.Sheet(0);
        ASSERT_TRUE(target.Create(16, 12, 32));
        ASSERT_TRUE(drawer.BeginSurface(target, 0xFF000000));
    }
    strSpriteParam Param(int pattern = 1)
    {
        strSpriteParam p;
        p.sheet = sheet;
        p.pattern = pattern;
        p.screenSpace = true;
        return p;
    }
    cSpriteDrawer drawer;
    cPatternSheet* sheet = nullptr;
    cBMP target;
};

TEST_F(Drawer, PlainCellReproducesThePatternOffsetByHalfAPixel)
{
    drawer.DrawCell(Param(2));
    // Centre (0, 0) of a 16 x 12 view: the 4 x 4 pattern covers pixels 6..9, 4..7.
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            bool inside = x >= 6 && x < 10 && y >= 4 && y < 8;
            EXPECT_EQ(px(target, x, y), inside ? texel(*sheet, 1, x - 6, y - 4) : 0xFF000000u) << x << "," << y;
        }
}

TEST_F(Drawer, NegativeScalesMirrorAboutTheCentre)
{
    strSpriteParam p = Param();
    p.scaleX = -1;
    p.scaleY = -1;
    drawer.DrawCell(p);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(px(target, 6 + x, 4 + y), texel(*sheet, 0, 3 - x, 3 - y));
}

TEST_F(Drawer, StoredQuarterTurnsRotateClockwise)
{
    for (int stored : {900, 900 + 3600, 900 - 3600}) {
        drawer.BeginSurface(target, 0xFF000000);
        strCell cell = strCell::New();
        cell.picture = 0;
        cell.pattern = 1;
        cell.angle = static_cast<int16_t>(stored);
        drawer.DrawCell(drawer.CellParam(cell));
        // Turned 90° clockwise: texel (x, y) lands at pixel (9 − y, 4 + x), so the
        // top-left texel is at the top-right and the left column runs along the top.
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                bool inside = x >= 6 && x < 10 && y >= 4 && y < 8;
                uint32_t want = inside ? texel(*sheet, 0, y - 4, 9 - x) : 0xFF000000u;
                EXPECT_EQ(px(target, x, y), want) << stored << " at " << x << "," << y;
            }
    }
}

TEST_F(Drawer, ToneExtremes)
{
    struct {
        int red, saturation;
        uint32_t (*expect)(uint32_t texel);
    } cases[] = {
        {200, 100, [](uint32_t t) { return t | 0x00FF0000u; }},
        {0, 100, [](uint32_t t) { return t & 0xFF00FFFFu; }},
        {100, 100, [](uint32_t t) { return t; }},
    };
    for (auto& c : cases) {
        drawer.BeginSurface(target, 0xFF000000);
        strSpriteParam p = Param();
        p.red = c.red;
        p.saturation = c.saturation;
        drawer.DrawCell(p);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(px(target, 6 + x, 4 + y), c.expect(texel(*sheet, 0, x, y)));
    }
    // Saturation 0: every channel becomes the grey value.
    drawer.BeginSurface(target, 0xFF000000);
    strSpriteParam p = Param();
    p.saturation = 0;
    drawer.DrawCell(p);
    uint32_t g = px(target, 7, 6);
    EXPECT_EQ(g & 255, (g >> 8) & 255);
    EXPECT_EQ(g & 255, (g >> 16) & 255);
}

TEST_F(Drawer, OpacityZeroLeavesTheColourInEveryMode)
{
    for (int blend = 0; blend < 5; ++blend) {
        drawer.BeginSurface(target, 0x80406080);
        strSpriteParam p = Param();
        p.opacity = 0;
        p.blend = blend;
        p.red = 150;
        drawer.DrawCell(p);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x)
                ASSERT_EQ(px(target, x, y) & 0xFFFFFF, 0x406080u) << blend;
    }
}

TEST_F(Drawer, InvalidPatternsDrawTheErrorCellAtTheCellsPosition)
{
    cPatternSheet* error = drawer.Sheet(kErrorCellSheet);
    ASSERT_NE(error, nullptr);
    ASSERT_TRUE(error->IsReady());
    cBMP expected;
    expected.Create(64, 48, 32);
    cBMP got;
    got.Create(64, 48, 32);
    strSpriteParam e;
    e.sheet = error;
    e.x = 5;
    e.y = -3;
    e.screenSpace = true;
    drawer.BeginSurface(expected, 0xFF000000);
    drawer.DrawCell(e);
    for (int pattern : {0, 3, 99}) {
        strCell cell = strCell::New();
        cell.picture = 0;
        cell.pattern = static_cast<uint16_t>(pattern);
        cell.x = 5;
        cell.y = -3;
        cell.scaleX = 300;
        cell.angle = 450;
        drawer.BeginSurface(got, 0xFF000000);
        drawer.DrawCell(drawer.CellParam(cell));
        EXPECT_EQ(std::memcmp(got.Pixels(), expected.Pixels(), got.ByteSize()), 0) << pattern;
    }
    // A missing picture too; the export's form draws nothing.
    strCell cell = strCell::New();
    cell.picture = 7;
    EXPECT_EQ(drawer.CellParam(cell).sheet, error);
    EXPECT_EQ(drawer.CellParam(cell, false).sheet, nullptr);
}

TEST_F(Drawer, LaterSlotsLieOverEarlierOnes)
{
    cAnimeData project;
    ASSERT_TRUE(project.NewProject(""));
    strCell a = strCell::New(), b = strCell::New();
    a.pattern = 1;
    b.pattern = 2;
    b.x = 1;
    ASSERT_TRUE(project.SetCell(0, 0, &a));
    ASSERT_TRUE(project.SetCell(0, 1, &b));
    drawer.DrawFrame(project, 0);
    EXPECT_EQ(px(target, 7, 4), texel(*sheet, 1, 0, 0)); // b covers a from x 7
    EXPECT_EQ(px(target, 6, 4), texel(*sheet, 0, 0, 0));
    ASSERT_TRUE(project.SwapCells(0, 0, 0, 1));
    drawer.BeginSurface(target, 0xFF000000);
    drawer.DrawFrame(project, 0);
    EXPECT_EQ(px(target, 7, 4), texel(*sheet, 0, 1, 0));
}

TEST_F(Drawer, CanvasViewTransformMovesAndZooms)
{
    cBMP canvas;
    canvas.Create(16, 12, 32);
    strRenderOptions options;
    options.ground = 0x00102030;
    drawer.SetOptions(options);
    ASSERT_TRUE(drawer.BeginCanvas(canvas, -2, 1, 2));
    EXPECT_EQ(px(canvas, 0, 0), 0xFF102030u);
    strSpriteParam p = Param();
    p.screenSpace = false;
    p.x = 1;
    drawer.DrawCell(p);
    // View point (1 × 2 − 2, 0 + 1) = (0, 1); the pattern doubles to 8 x 8.
    EXPECT_EQ(px(canvas, 4, 3), texel(*sheet, 0, 0, 0));
    EXPECT_EQ(px(canvas, 5, 4), texel(*sheet, 0, 0, 0));
    EXPECT_EQ(px(canvas, 11, 10), texel(*sheet, 0, 3, 3));
    EXPECT_EQ(px(canvas, 3, 3), 0xFF102030u);
    EXPECT_EQ(px(canvas, 4, 2), 0xFF102030u);
    float x, y;
    drawer.ToAnimation(0, 1, x, y);
    EXPECT_FLOAT_EQ(x, 1);
    EXPECT_FLOAT_EQ(y, 0);
    cBMP empty;
    EXPECT_FALSE(drawer.BeginCanvas(empty, 0, 0, 1));
}

TEST_F(Drawer, DegenerateGeometryIsHarmless)
{
    const float nan = std::nanf("");
    struct {
        float x, sx, sy, angle;
    } cases[] = {{0, 0, 1, 0},         {0, 1, 0, 0},   {nan, 1, 1, 0},       {1e30f, 1, 1, 0},
                 {0, 1e-7f, 1e-7f, 0}, {0, 1, 1, nan}, {0, 1e30f, 1e30f, 17}};
    for (auto& c : cases) {
        strSpriteParam p = Param();
        p.x = c.x;
        p.scaleX = c.sx;
        p.scaleY = c.sy;
        p.angle = c.angle;
        drawer.DrawCell(p);
    }
    // A cell scaled far beyond the view covers it all, clipped to the target.
    drawer.BeginSurface(target, 0xFF000000);
    strSpriteParam big = Param();
    big.scaleX = big.scaleY = 1e5f;
    drawer.DrawCell(big);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_NE(px(target, x, y), 0xFF000000u);
}

TEST(Flash, FadingAndSignedBytes)
{
    strFlashState f;
    f.Start(200, 100, 0, 255, 4, 1, 1);
    EXPECT_TRUE(f.IsActive());
    EXPECT_EQ(f.FadedStrength(), 255);
    EXPECT_EQ(f.SignedByte(200), 200);
    EXPECT_TRUE(f.Step());
    EXPECT_EQ(f.FadedStrength(), 255 * 3 / 4);
    EXPECT_EQ(f.SignedByte(0), (0 - 128) * 3 / 4 + 128);
    EXPECT_TRUE(f.Step());
    EXPECT_TRUE(f.Step());
    EXPECT_TRUE(f.Step());
    EXPECT_FALSE(f.IsActive());
    EXPECT_FALSE(f.Step());
    f.Start(1, 2, 3, 4, 0, 0, 0);
    EXPECT_FALSE(f.IsActive());
}

TEST_F(Drawer, ScreenFlashAndTargetFlash)
{
    strFlashState f;
    f.Start(255, 0, 0, 255, 2, 0, 0);
    f.Step(); // half strength
    drawer.DrawScreenFlash(f);
    EXPECT_EQ(px(target, 3, 3) & 0xFFFFFF, 0x7F0000u);

    strSpriteParam p = Param();
    f.Start(0, 0, 255, 255, 1, 1, 0);
    cSpriteDrawer::ApplyTargetFlash(p, f);
    EXPECT_EQ(p.mode, kSpriteFlashTint);
    drawer.BeginSurface(target, 0xFF000000);
    drawer.DrawCell(p);
    EXPECT_EQ(px(target, 7, 6), 0xFF0000FFu); // opaque texels take the full flash colour

    p = Param();
    f.Start(255, 128, 0, 255, 1, 1, 1);
    cSpriteDrawer::ApplyTargetFlash(p, f);
    EXPECT_EQ(p.mode, kSpriteSignedFlash);
    drawer.BeginSurface(target, 0xFF000000);
    drawer.DrawCell(p);
    uint32_t t = texel(*sheet, 0, 1, 2), got = px(target, 7, 6);
    EXPECT_EQ(got & 255, 0u);                                            // blue 0: darkened fully
    EXPECT_EQ((got >> 8) & 255, (t >> 8) & 255);                         // 128: unchanged
    EXPECT_EQ((got >> 16) & 255, std::min(255u, 2 * ((t >> 16) & 255))); // 255: doubled

    p = Param();
    f.Start(0, 0, 0, 255, 1, 2, 0);
    cSpriteDrawer::ApplyTargetFlash(p, f);
    EXPECT_EQ(p.opacity, 0);
}

// The picture rules: build, hue and division updates, path changes, reloads and
// failures that keep the old sheet.
class Pictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(project.NewProject(dir.path.string()));
        Write("red.png", 0xFFFF0000);
        Write("blue.png", 0xFF0000FF);
    }
    void Write(const std::string& name, uint32_t color)
    {
        cBMP image;
        image.Create(40, 20, 32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                std::memcpy(image.Row(y) + 4 * x, &color, 4);
        ASSERT_TRUE(WritePngRGBA(dir / name, image, true));
    }
    uint32_t FirstTexel(int n) { return drawer.Sheet(n)->Texture()[0]; }

    TempDir dir;
    cAnimeData project;
    cSpriteDrawer drawer;
};

TEST_F(Pictures, UpdateRules)
{
    strPicture pic;
    pic.path = "red.png";
    pic.divX = 0;
    pic.divY = 0;
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(pic.divX, 0); // drawn as 1 by 1; the record stays as it is
    EXPECT_EQ(drawer.Sheet(3)->PatternCount(), 1);
    EXPECT_EQ(FirstTexel(3), 0xFFFF0000u);

    cPatternSheet* before = drawer.Sheet(3);
    pic.hue = 120;
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(drawer.Sheet(3), before); // same file: rebuilt in place
    EXPECT_EQ(FirstTexel(3), 0xFF00FF00u);

    pic.divX = 4;
    pic.divY = 2;
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(drawer.Sheet(3)->PatternCount(), 8);

    project.SetValue(AI_DIVISION_FORMAT, 1); // sizes: 10 x 10 patterns
    pic.divX = 10;
    pic.divY = 10;
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(drawer.Sheet(3)->PatternCount(), 8);

    pic.path = "missing.png"; // a new file that fails keeps the old sheet
    EXPECT_FALSE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(drawer.Sheet(3), before);

    pic.path = "blue.png";
    pic.hue = 0;
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, false));
    EXPECT_EQ(FirstTexel(3), 0xFF0000FFu);

    Write("blue.png", 0xFF00FF00); // reloading shows the new content
    ASSERT_TRUE(drawer.UpdatePicture(project, 3, &pic, true));
    EXPECT_EQ(FirstTexel(3), 0xFF00FF00u);

    std::filesystem::remove(dir / "blue.png"); // a reload that fails keeps the sheet
    EXPECT_FALSE(drawer.UpdatePicture(project, 3, &pic, true));
    ASSERT_NE(drawer.Sheet(3), nullptr);
    EXPECT_EQ(FirstTexel(3), 0xFF00FF00u);

    EXPECT_TRUE(drawer.UpdatePicture(project, 3, nullptr, false));
    EXPECT_EQ(drawer.Sheet(3), nullptr);
}

TEST_F(Pictures, DeviceResetReleasesAndRebuilds)
{
    strPicture pic;
    pic.path = "red.png";
    pic.divX = 2;
    pic.divY = 2;
    ASSERT_TRUE(drawer.UpdatePicture(project, 0, &pic, false));
    drawer.ReleaseAllTextures();
    EXPECT_FALSE(drawer.Sheet(0)->IsReady());
    EXPECT_FALSE(drawer.Sheet(kErrorCellSheet)->IsReady());
    drawer.RebuildAll();
    EXPECT_TRUE(drawer.Sheet(0)->IsReady());
    EXPECT_EQ(drawer.Sheet(0)->PatternCount(), 4);
    EXPECT_TRUE(drawer.Sheet(kErrorCellSheet)->IsReady());
}

} // namespace
