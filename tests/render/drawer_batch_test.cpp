// cSpriteDrawer batches and cached work passes: a batch gives the bytes of drawing
// its cells one by one, and a rebuilt sheet never shows an old pass result.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "render/SpriteDrawer.h"

namespace {

// A 64 x 32 picture of two 32 x 32 patterns with varied colour and alpha.
std::unique_ptr<cPatternSheet> sheetOfTwo()
{
    auto sheet = std::make_unique<cPatternSheet>();
    sheet->Create(64, 32, 32);
    sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint32_t c = static_cast<uint32_t>(((x * y) & 255) << 24 | (x * 9) << 16 | (y * 7) << 8 | (x ^ y));
            std::memcpy(sheet->Row(y) + 4 * x, &c, 4);
        }
    sheet->Build(2, 1, 0);
    return sheet;
}

std::vector<strSpriteParam> cells(cPatternSheet* sheet)
{
    std::vector<strSpriteParam> list;
    for (int i = 0; i < 40; ++i) {
        strSpriteParam p;
        p.sheet = sheet;
        p.pattern = 1 + i % 3; // pattern 3 is invalid: no error sheet, nothing drawn
        p.blend = i % 6 - (i % 7 == 0 ? 3 : 0);
        p.x = static_cast<float>(i * 7 % 150 - 75);
        p.y = static_cast<float>(i * 11 % 110 - 55);
        p.scaleX = (i % 4 == 0 ? -1.0f : 1.0f) * (0.5f + 0.1f * static_cast<float>(i % 30));
        p.scaleY = 0.5f + 0.15f * static_cast<float>(i % 20);
        p.angle = static_cast<float>(i * 29 % 360);
        p.opacity = i * 37 % 300;
        // Repeated tones share one pass; every fifth cell a silhouette.
        p.red = i % 3 == 0 ? 100 : 50 + i % 2 * 100;
        p.saturation = i % 4 == 1 ? 40 : 100;
        if (i % 5 == 0)
            p.mode = kSpriteSilhouette;
        p.screenSpace = true;
        list.push_back(p);
    }
    return list;
}

std::vector<uint8_t> pixelsOf(const cBMP& t) { return {t.Pixels(), t.Pixels() + t.Stride() * t.Height()}; }

TEST(DrawerBatch, BatchEqualsCellByCell)
{
    cSpriteDrawer drawer;
    drawer.PutSheet(sheetOfTwo(), 0);
    const auto list = cells(drawer.Sheet(0));
    cBMP one, batch;
    ASSERT_TRUE(one.Create(200, 150, 32) && batch.Create(200, 150, 32));
    ASSERT_TRUE(drawer.BeginSurface(one, 0xFF336699));
    for (const auto& p : list)
        drawer.DrawCell(p);
    ASSERT_TRUE(drawer.BeginSurface(batch, 0xFF336699));
    drawer.DrawCells(list.data(), list.size());
    EXPECT_TRUE(pixelsOf(one) == pixelsOf(batch));
}

TEST(DrawerBatch, RebuiltSheetDropsOldPassResults)
{
    cSpriteDrawer drawer, fresh;
    drawer.PutSheet(sheetOfTwo(), 0);
    auto list = cells(drawer.Sheet(0));
    cBMP a, b;
    ASSERT_TRUE(a.Create(200, 150, 32) && b.Create(200, 150, 32));
    ASSERT_TRUE(drawer.BeginSurface(a, 0));
    drawer.DrawCells(list.data(), list.size());
    // A hue shift rebuilds the sheet; the toned cells must follow it.
    const int adjust[4] = {90, 0, 0, 0};
    drawer.Sheet(0)->SetColorAdjust(adjust);
    ASSERT_TRUE(drawer.Sheet(0)->Rebuild());
    ASSERT_TRUE(drawer.BeginSurface(a, 0));
    drawer.DrawCells(list.data(), list.size());

    fresh.PutSheet(sheetOfTwo(), 0);
    fresh.Sheet(0)->SetColorAdjust(adjust);
    ASSERT_TRUE(fresh.Sheet(0)->Rebuild());
    for (auto& p : list)
        p.sheet = fresh.Sheet(0);
    ASSERT_TRUE(fresh.BeginSurface(b, 0));
    fresh.DrawCells(list.data(), list.size());
    EXPECT_TRUE(pixelsOf(a) == pixelsOf(b));
}

} // namespace
