#include "support/EditFixture.h"

#include "edit/Interpolate.h"

namespace {

class InterpolateTest : public EditTest {
protected:
    strFrameInterpolationState Dialog(int first, int last, int method, std::initializer_list<int> cells, uint32_t mask)
    {
        strFrameInterpolationState d;
        d.Prepare(p);
        d.first = first;
        d.last = last;
        d.method = method;
        for (int s : cells)
            d.cellTicks[size_t(s)] = true;
        for (int i = 0; i < CP_COUNT; ++i)
            d.paramTicks[size_t(i)] = (mask >> i) & 1;
        return d;
    }
};

TEST_F(InterpolateTest, NormalMethodExample)
{
    Frames(6);
    strCell start = CellXY(0, 30);
    start.opacity = 200;
    Store(0, 2, start);
    Store(4, 2, CellXY(10, 90));
    strCell own = CellXY(-500, 7);
    own.opacity = 9;
    Store(2, 2, own);

    EXPECT_EQ(RunFrameInterpolation(p, Dialog(0, 4, FIM_NORMAL, {2}, 1u << CP_X), status), 3);
    EXPECT_EQ(status.last, "フレーム [0]～[4] に補完処理 >> セル [3] 枚を編集しました");
    EXPECT_EQ(X(1, 2), 2);
    EXPECT_EQ(X(2, 2), 5);
    EXPECT_EQ(X(3, 2), 7);
    EXPECT_EQ(p.GetCell(1, 2)->y, 30); // copy of frame 0's cell
    EXPECT_EQ(p.GetCell(1, 2)->opacity, 200);
    EXPECT_EQ(p.GetCell(2, 2)->y, 7); // its own other parameters
    EXPECT_EQ(p.GetCell(2, 2)->opacity, 9);
    EXPECT_EQ(X(0, 2), 0);
    EXPECT_EQ(X(4, 2), 10);
    history.Restore(p, RESTORE_UNDO);

    // Used cells only: frame 2 alone.
    EXPECT_EQ(RunFrameInterpolation(p, Dialog(4, 0, FIM_USED_ONLY, {2}, 1u << CP_X), status), 1);
    EXPECT_EQ(X(2, 2), 5);
    EXPECT_FALSE(p.GetCell(1, 2));
    EXPECT_FALSE(p.GetCell(3, 2));
}

TEST_F(InterpolateTest, TruncatesTowardZero)
{
    Frames(3);
    Store(0, 0, CellXY(10));
    Store(2, 0, CellXY(-15));
    EXPECT_EQ(RunFrameInterpolation(p, Dialog(0, 2, FIM_NORMAL, {0}, kAllParams), status), 1);
    EXPECT_EQ(X(1, 0), -2);
}

TEST_F(InterpolateTest, KeysMethodIgnoresTheLastFrame)
{
    Frames(12);
    Store(2, 1, CellXY(0));
    Store(5, 1, CellXY(30));
    Store(9, 1, CellXY(70));
    EXPECT_EQ(RunFrameInterpolation(p, Dialog(0, 3, FIM_KEYS, {1}, 1u << CP_X), status), 5);
    const int expected[12] = {-9999, -9999, 0, 10, 20, 30, 40, 50, 60, 70, -9999, -9999};
    for (int f = 0; f < 12; ++f)
        EXPECT_EQ(X(f, 1), expected[f]) << f;
}

TEST_F(InterpolateTest, NothingTickedStoresNothing)
{
    Frames(5);
    Store(0, 0, CellXY(0));
    Store(4, 0, CellXY(40));
    history.SetCapacity(-1);
    // A step to undo, so that we can see the redo steps survive.
    p.BeginRecord();
    const strCell c = CellXY(1);
    p.SetCell(2, 5, &c);
    p.EndRecord(true);
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(RunFrameInterpolation(p, Dialog(0, 4, FIM_NORMAL, {0}, 0), status), 0);
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_EQ(RunFrameInterpolation(p, Dialog(0, 4, FIM_NORMAL, {}, kAllParams), status), 0);
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_EQ(history.RedoCount(), 1);
}

TEST_F(InterpolateTest, EveryParameterOnItsWidth)
{
    Frames(3);
    strCell a, b;
    for (int i = 0; i < CP_COUNT; ++i) {
        a.Set(i, 0);
        b.Set(i, 0);
    }
    a.pattern = 1;
    b.pattern = 65535; // unsigned 16-bit
    a.scaleX = -1000;
    b.scaleX = 1000;
    a.opacity = 255;
    b.opacity = 0;
    a.saturation = 0;
    b.saturation = 199;
    Store(0, 0, a);
    Store(2, 0, b);
    ASSERT_EQ(RunFrameInterpolation(p, Dialog(0, 2, FIM_NORMAL, {0}, kAllParams), status), 1);
    const strCell& m = *p.GetCell(1, 0);
    EXPECT_EQ(m.pattern, 32768); // 1 + trunc(65534 * 0.5)
    EXPECT_EQ(m.scaleX, 0);
    EXPECT_EQ(m.opacity, 128); // 255 + trunc(-127.5)
    EXPECT_EQ(m.saturation, 99);
}

TEST_F(InterpolateTest, SelectedCells)
{
    Frames(3);
    Store(0, 0, CellXY(0));
    Store(2, 0, CellXY(9));
    Store(1, 0, CellXY(100));
    Store(1, 1, CellXY(100)); // no neighbours: not stored
    Store(0, 2, CellXY(0));
    Store(2, 2, CellXY(20)); // not in frame 1: skipped
    EXPECT_EQ(InterpolateSelected(p, 1, {0, 1, 2}, 0, status), 1);
    EXPECT_EQ(status.last, "[1] : 前後F で補完");
    EXPECT_EQ(X(1, 0), 4);
    EXPECT_EQ(X(1, 1), 100);
    EXPECT_FALSE(p.GetCell(1, 2));
    status.last.clear();
    EXPECT_EQ(InterpolateSelected(p, 1, {1}, 0, status), 0);
    EXPECT_EQ(status.last, "");
}

TEST_F(InterpolateTest, BlockFromNeighbouringKeys)
{
    Frames(10);
    Store(1, 0, CellXY(10));
    Store(8, 0, CellXY(80));
    Store(4, 0, CellXY(-300, 5)); // inside the block: interpolated over
    Store(0, 1, CellXY(7, 7));    // only a key before
    Store(9, 2, CellXY(9, 9));    // only a key after
    EXPECT_EQ(InterpolateBlock(p, 3, 5, 0, 3, 0), 9);
    EXPECT_EQ(X(3, 0), 30);
    EXPECT_EQ(X(4, 0), 40);
    EXPECT_EQ(p.GetCell(4, 0)->y, 0);
    EXPECT_EQ(X(5, 0), 50);
    for (int f = 3; f <= 5; ++f) {
        EXPECT_EQ(*p.GetCell(f, 1), CellXY(7, 7));
        EXPECT_EQ(*p.GetCell(f, 2), CellXY(9, 9));
        EXPECT_FALSE(p.GetCell(f, 3));
    }
}

TEST_F(InterpolateTest, DialogStateKeepsTicksWhenResized)
{
    Frames(4, 4);
    strFrameInterpolationState d;
    d.Prepare(p);
    EXPECT_EQ(d.cellTicks, std::vector<bool>(4, false));
    EXPECT_EQ(d.paramTicks.size(), size_t(CP_COUNT));
    d.cellTicks[1] = true;
    p.SetCellCount(6);
    d.PresetFromSelection(p, 3, 1, 3, 4);
    EXPECT_EQ(d.first, 1);
    EXPECT_EQ(d.last, 3);
    EXPECT_EQ(d.cellTicks, (std::vector<bool>{false, true, false, true, true, false}));
}

} // namespace
