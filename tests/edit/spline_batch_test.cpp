#include "support/EditFixture.h"

#include "edit/BatchEdit.h"
#include "edit/FixPicture.h"
#include "edit/Spline.h"

namespace {

class SplineBatchTest : public EditTest {};

TEST_F(SplineBatchTest, SplineExample)
{
    Frames(8);
    Store(1, 3, CellXY(0, 0));
    const strPointF p0{0, 0}, p1{100, 0}, p2{100, 100};
    const std::vector<strPointI> plain = {{43, 6}, {75, 25}, {93, 56}, {100, 100}};
    const std::vector<strPointI> snapped = {{48, 0}, {80, 32}, {96, 64}, {96, 96}};
    EXPECT_EQ(SplinePreview(p0, p1, p2, 4, 0), plain);
    EXPECT_EQ(SplinePreview(p0, p1, p2, 4, 16), snapped);

    strCell own = CellXY(-1, -1);
    own.opacity = 17;
    Store(3, 3, own);
    EXPECT_EQ(ApplySpline(p, 1, 3, 4, p0, p1, p2, 0, status), 4);
    EXPECT_EQ(status.last, "スプライン曲線 >> ｾﾙ [4] 枚を編集しました");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(p.GetCell(2 + i, 3)->x, plain[size_t(i)].x);
        EXPECT_EQ(p.GetCell(2 + i, 3)->y, plain[size_t(i)].y);
    }
    EXPECT_EQ(p.GetCell(2, 3)->opacity, 255); // the start cell's copy
    EXPECT_EQ(p.GetCell(3, 3)->opacity, 17);  // its own cell
    EXPECT_EQ(p.GetCell(4, 3)->opacity, 17);  // the previous frame's cell
    history.Restore(p, RESTORE_UNDO);

    EXPECT_EQ(ApplySpline(p, 1, 3, 4, p0, p1, p2, 16, status), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(p.GetCell(2 + i, 3)->x, snapped[size_t(i)].x);
}

TEST_F(SplineBatchTest, SplineWithoutStartCellStoresNothing)
{
    Frames(5);
    EXPECT_EQ(ApplySpline(p, 0, 0, 3, {0, 0}, {1, 1}, {2, 2}, 0, status), 0);
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(SplineBatchTest, SnapToGrid)
{
    struct Case {
        int v, step, expected;
    };
    for (const Case c : {Case{13, 8, 16}, Case{-7, 8, -8}, Case{-8, 16, 0}, Case{8, 16, 16}, Case{-24, 16, -16},
                         Case{5, 0, 5}, Case{5, -3, 5}, Case{1000, 1000, 1000}, Case{499, 1000, 0}})
        EXPECT_EQ(SnapToGrid(c.v, c.step), c.expected) << c.v << " / " << c.step;
}

TEST_F(SplineBatchTest, BatchFormulaExamples)
{
    struct Case {
        int formula, param, start, v, expected;
    };
    const Case cases[] = {
        {BF_PERCENT, CP_X, -5, 50, -2},
        {BF_PERCENT, CP_OPACITY, 255, 50, 127},
        {BF_ADD, CP_OPACITY, 200, 100, 255},
        {BF_ASSIGN, CP_ANGLE, 0, -1, -1},
        {BF_ADD, CP_X, 1000, 9999, 1024},
        {BF_ASSIGN, CP_BLEND, 0, 9, 4},
        {BF_PERCENT, CP_PATTERN, 40000, 200, 65535},
        {7, CP_Y, 3, 8, 8},
        // Results stop at the field's ends instead of wrapping.
        {BF_PERCENT, CP_OPACITY, 200, 150, 255},
        {BF_ASSIGN, CP_OPACITY, 0, 300, 255},
        {BF_ASSIGN, CP_GREEN, 50, -5, 0},
        {BF_ADD, CP_RED, 100, -101, 0},
        {BF_ADD, CP_OPACITY, 250, 100, 255},
        {BF_ADD, CP_OPACITY, 10, -9999, 0},
        {BF_ADD, CP_SATURATION, 150, 200, 200},
        {BF_ADD, CP_PATTERN, 65530, 100, 65535},
        {BF_ADD, CP_Y, -1000, -9999, -1024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.formula << " param " << c.param << " v " << c.v);
        Frames(2, 4);
        strCell cell = strCell::New();
        cell.Set(c.param, c.start);
        Store(1, 2, cell);
        strBatchEditState d;
        d.Prepare(p);
        d.frameTicks[1] = true;
        d.cellTicks[2] = true;
        d.paramTicks[size_t(c.param)] = true;
        d.formula = c.formula;
        d.value = c.v;
        EXPECT_EQ(RunBatchEdit(p, d, status), 1);
        EXPECT_EQ(p.GetCell(1, 2)->Get(c.param), c.expected);
        EXPECT_EQ(status.last, "一括処理 >> ｾﾙ [1] 枚を編集しました");
    }
}

TEST_F(SplineBatchTest, BatchEditSelectsFramesCellsAndParameters)
{
    Frames(4, 4);
    for (int f = 0; f < 4; ++f)
        for (int s = 0; s < 3; ++s)
            Store(f, s, CellXY(f * 10 + s, 1));
    strBatchEditState d;
    d.PresetFromSelection(p, 2, 1, 1, 3); // frames 1-2, cell numbers 1-3
    d.paramTicks[CP_X] = d.paramTicks[CP_Y] = true;
    d.formula = BF_ADD;
    d.value = 5;
    EXPECT_EQ(RunBatchEdit(p, d, status), 4);
    for (int f = 0; f < 4; ++f)
        for (int s = 0; s < 3; ++s) {
            const bool in = f >= 1 && f <= 2 && s >= 1;
            EXPECT_EQ(X(f, s), f * 10 + s + (in ? 5 : 0));
            EXPECT_EQ(p.GetCell(f, s)->y, in ? 6 : 1);
        }
    history.SetCapacity(-1);

    d.paramTicks.assign(CP_COUNT, false);
    EXPECT_EQ(RunBatchEdit(p, d, status), 0);
    EXPECT_TRUE(IsTimeFailure(status.last));
    status.last.clear();
    d.cellTicks.assign(4, false);
    d.paramTicks[CP_X] = true;
    EXPECT_EQ(RunBatchEdit(p, d, status), 0);
    EXPECT_EQ(status.last, ""); // no cell number ticked: nothing happens
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(SplineBatchTest, FixedPictures)
{
    Frames(3, 4);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    Store(0, 1, CellXY(1));
    Store(2, 1, CellXY(2));
    strPicture pic;
    p.SetPicture(pic, 6);
    EXPECT_EQ(HighestPictureNumber(p), 6);

    strFixPictureTable table;
    table.Load(p);
    EXPECT_EQ(table.pictures, std::vector<int>(4, 0));
    table.SetRows({1, 3, 9}, 300);
    ASSERT_TRUE(ApplyFixPictureTable(p, table));
    EXPECT_EQ(p.GetFixPicture(1), 255);
    EXPECT_EQ(p.GetFixPicture(3), 255);
    EXPECT_EQ(p.GetCell(0, 1)->picture, 255);
    EXPECT_EQ(p.GetCell(2, 1)->picture, 255);
    EXPECT_FALSE(ApplyFixPictureTable(p, table)); // unchanged: no step
    EXPECT_EQ(history.UndoCount(), 1);

    ASSERT_TRUE(ApplyFixPicture(p, 1, 4));
    EXPECT_EQ(p.GetCell(2, 1)->picture, 4);
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(p.GetFixPicture(1), 255);
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(p.GetFixPicture(1), 0);
    EXPECT_EQ(p.GetFixPicture(3), 0);
}

} // namespace
