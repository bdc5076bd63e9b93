// The canvas geometry: a cell's quad, snapping, drag measures and the pattern pixel under a point.

#include "render/CanvasGeometry.h"

#include "model/Records.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

strCell CellXY(int x, int y)
{
    strCell c = strCell::New();
    c.x = int16_t(x);
    c.y = int16_t(y);
    return c;
}

} // namespace

TEST(CanvasGeometry, QuadOfTurnedAndScaledCell)
{
    strCell c = CellXY(100, 50);
    c.scaleX = 200;
    c.angle = 900; // a quarter turn clockwise: the 64-wide side becomes vertical
    const strQuad q = CellQuad(c, 32, 16);
    const float expected[4][2] = {{108, 18}, {108, 82}, {92, 82}, {92, 18}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(q.v[i].x, expected[i][0], 1e-3) << i;
        EXPECT_NEAR(q.v[i].y, expected[i][1], 1e-3) << i;
    }
    EXPECT_TRUE(QuadContains(q, {100, 80}));
    EXPECT_FALSE(QuadContains(q, {120, 50}));
    EXPECT_TRUE(QuadContains(CellQuad(CellXY(0, 0), 32, 16), {16, 0})) << "points on an edge count";
    // A mirrored cell (negative scale) still contains its centre.
    c.scaleX = -100;
    EXPECT_TRUE(QuadContains(CellQuad(c, 32, 16), {100, 50}));
}

TEST(CanvasGeometry, SnapAndMeasures)
{
    const struct {
        int value, step;
        bool on;
        int expected;
    } rows[] = {{13, 8, true, 16},  {-7, 8, true, -8},      {4, 8, true, 8},
                {-4, 8, true, 0},   {13, 0, true, 13},      {13, -5, true, 13},
                {13, 8, false, 13}, {1795, 10, true, 1800}, {32767, 1000, true, 32767}};
    for (const auto& r : rows)
        EXPECT_EQ(Snap(r.value, r.step, r.on), r.expected) << r.value << " " << r.step;
    EXPECT_NEAR(DragLength(30, 40), 50, 1e-3);
    EXPECT_EQ(DragLength(0, 0), 0);
    EXPECT_EQ(DragAngle(0.005f, -0.01f), 0);
    EXPECT_NEAR(WrapAngle(3.5f * 3.14159265f), -0.5f * 3.14159265f, 1e-4);
    EXPECT_EQ(TruncToInt16(-2.9f), -2);
    EXPECT_EQ(TruncToInt16(1e9f), 32767);
    EXPECT_EQ(TruncToInt16(std::nanf("")), 0);
}

TEST(CanvasGeometry, PatternPixelAtInvertsTheQuad)
{
    strCell c = CellXY(100, 50);
    c.scaleX = 200;
    c.angle = 900; // the 64-wide side runs down
    int px = -1, py = -1;
    ASSERT_TRUE(PatternPixelAt(c, 32, 16, {100, 50}, px, py));
    EXPECT_EQ(px, 16);
    EXPECT_EQ(py, 8);
    ASSERT_TRUE(PatternPixelAt(c, 32, 16, {107.5f, 18.5f}, px, py)); // near the top-left corner
    EXPECT_EQ(px, 0);
    EXPECT_EQ(py, 0);
    EXPECT_FALSE(PatternPixelAt(c, 32, 16, {120, 50}, px, py));
    c.scaleY = 0;
    EXPECT_FALSE(PatternPixelAt(c, 32, 16, {100, 50}, px, py)) << "a flat cell shows nothing";
}
