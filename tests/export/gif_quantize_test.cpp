#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "export/GifQuantize.h"
#include "support/ExportTestUtil.h"

using exporttest::MakeImage;

namespace {

cBMP gradient(int w, int h)
{
    return MakeImage(w, h, [](int x, int y) { return 0xFF000000u | (x * 4) << 16 | (y * 4) << 8 | ((x + y) * 2); });
}

std::set<uint32_t> usedColours(const cBMP& indexed)
{
    std::set<uint32_t> used;
    for (int y = 0; y < indexed.Height(); ++y)
        for (int x = 0; x < indexed.Width(); ++x)
            used.insert(PixelColor(indexed, x, y) & 0xFFFFFF);
    return used;
}

} // namespace

TEST(GifQuantize, ThreeColoursComeBackWithBlackPadding)
{
    const uint32_t colours[3] = {0xC81E32, 0x1EC864, 0x3232FA};
    cBMP img = MakeImage(30, 10, [&](int x, int) { return 0xFF000000u | colours[x / 10]; });
    cBMP out;
    ASSERT_TRUE(QuantizeImage(img, 256, out));
    EXPECT_EQ(out.BitsPerPixel(), 8);
    ASSERT_EQ(out.ColorTable().size(), 256u);
    std::set<int> usedIndices;
    for (int x = 0; x < 30; ++x) {
        int index = out.Row(5)[x];
        usedIndices.insert(index);
        uint32_t got = out.ColorTable()[static_cast<size_t>(index)] & 0xFFFFFF;
        for (int shift : {0, 8, 16})
            EXPECT_LE(
                std::abs(static_cast<int>(got >> shift & 0xFF) - static_cast<int>(colours[x / 10] >> shift & 0xFF)), 1)
                << "x " << x;
    }
    EXPECT_EQ(usedIndices.size(), 3u);
    for (size_t i = 0; i < 256; ++i)
        if (!usedIndices.count(static_cast<int>(i))) {
            EXPECT_EQ(out.ColorTable()[i] & 0xFFFFFF, 0u);
        }
}

TEST(GifQuantize, ColourLimitsFollowTheSplitDepth)
{
    cBMP img = gradient(64, 64); // 4096 colours
    struct Case {
        int n, bits, tableSize;
        size_t maxUsed;
    } cases[] = {{2, 1, 2, 2}, {3, 4, 4, 2}, {16, 4, 16, 16}, {17, 8, 18, 16}, {254, 8, 254, 128}, {256, 8, 256, 256}};
    for (const Case& c : cases) {
        cBMP out;
        ASSERT_TRUE(QuantizeImage(img, c.n, out)) << c.n;
        EXPECT_EQ(out.BitsPerPixel(), c.bits) << c.n;
        EXPECT_EQ(out.ColorTable().size(), static_cast<size_t>(c.tableSize)) << c.n;
        size_t used = usedColours(out).size();
        EXPECT_LE(used, c.maxUsed) << c.n;
        EXPECT_GT(used, c.maxUsed / 2) << c.n; // every split level did split
    }
    cBMP out;
    EXPECT_FALSE(QuantizeImage(img, 1, out));
    EXPECT_FALSE(QuantizeImage(img, 513, out));
    ASSERT_TRUE(QuantizeImage(img, 512, out));
    EXPECT_EQ(out.BitsPerPixel(), 24);
    EXPECT_LE(usedColours(out).size(), 512u);
    EXPECT_GT(usedColours(out).size(), 256u);
}

TEST(GifQuantize, ClustersStayCloseToTheirPixels)
{
    cBMP img = gradient(64, 64), out;
    ASSERT_TRUE(QuantizeImage(img, 256, out));
    double error = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint32_t a = exporttest::Pixel(img, x, y), b = PixelColor(out, x, y);
            for (int shift : {0, 8, 16})
                error += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
        }
    EXPECT_LT(error / (64 * 64 * 3), 6.0);
}

TEST(GifQuantize, OneBitRowsPutTheFirstPixelInTheHighBit)
{
    cBMP img = MakeImage(8, 1, [](int x, int) { return x < 4 ? 0xFF000000u : 0xFFFFFFFFu; }), out;
    ASSERT_TRUE(QuantizeImage(img, 2, out));
    ASSERT_EQ(out.BitsPerPixel(), 1);
    EXPECT_EQ(out.Row(0)[0], 0x0F); // dark pixels stay in cluster 0, bright ones move to 1
    EXPECT_EQ(out.ColorTable()[0] & 0xFFFFFF, 0u);
    EXPECT_EQ(out.ColorTable()[1] & 0xFFFFFF, 0xFFFFFFu);
}
