#include "support/EditFixture.h"

#include "edit/FrameOps.h"

namespace {

class FrameOpsTest : public EditTest {};

TEST_F(FrameOpsTest, ReportResultChoosesTheText)
{
    ReportResult(status, 40051, 40054, true, 7);
    EXPECT_EQ(status.last, "[7] : コピー");
    ReportResult(status, 40051, 40054, false, 7);
    EXPECT_EQ(status.last, "[7] : 削除");
    status.last.clear();
    ReportResult(status, 40051, kNoMessage, false, 7);
    EXPECT_EQ(status.last, "");
    ReportResult(status, 40051, 0, false, 7);
    EXPECT_TRUE(IsTimeFailure(status.last)) << status.last;
    ReportResult(status, 0, 0, true, 7);
    EXPECT_TRUE(IsTimeFailure(status.last)) << status.last;
}

TEST_F(FrameOpsTest, Navigation)
{
    Frames(5);
    EXPECT_EQ(PreviousFrame(p, 0, messages), 0);
    EXPECT_EQ(PreviousFrame(p, 3, messages), 2);
    EXPECT_EQ(FirstFrame(p, 3, messages), 0);
    EXPECT_EQ(LastFrame(p, 1, messages), 4);
    EXPECT_EQ(NextFrame(p, 2, false, status, messages), 3);
    EXPECT_EQ(NextFrame(p, 4, false, status, messages), 4); // stays on the last frame
    EXPECT_EQ(p.GetValue(AI_FRAMES), 5);
    EXPECT_EQ(history.UndoCount(), 0);
    EXPECT_TRUE(messages.texts.empty());

    EXPECT_EQ(NextFrame(p, 4, true, status, messages), 5);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 6);
    EXPECT_EQ(status.last, "フレーム[5]に挿入しました");
    EXPECT_EQ(history.UndoCount(), 1);
}

TEST_F(FrameOpsTest, NextFrameOnAFullArrayStaysOnTheLastFrame)
{
    Frames(p.FrameCapacity());
    const int last = p.FrameCapacity() - 1;
    EXPECT_EQ(NextFrame(p, last, true, status, messages), last);
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(FrameOpsTest, NavigationRepairsAMissingCurrentFrame)
{
    Frames(5);
    Store(3, 0, CellXY(3));
    p.SetFrame(2, nullptr);
    EXPECT_EQ(PreviousFrame(p, 2, messages), 1);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(p.GetValue(AI_FRAMES), 4);
    EXPECT_EQ(X(2, 0), 3); // frame 3 moved down over the hole
}

TEST_F(FrameOpsTest, InsertDeleteClearAreOneStepEach)
{
    Frames(4);
    for (int f = 0; f < 4; ++f)
        Store(f, 1, CellXY(f * 10));
    const std::string before = ModelText(p);
    int current = 2;

    ASSERT_TRUE(InsertFrame(p, current, status));
    EXPECT_EQ(status.last, "フレーム[2]に挿入しました");
    EXPECT_EQ(p.GetValue(AI_FRAMES), 5);
    EXPECT_EQ(X(3, 1), 20);
    EXPECT_FALSE(p.GetCell(2, 1));

    ASSERT_TRUE(ClearFrame(p, current = 3, status));
    EXPECT_EQ(status.last, "フレーム[3]をクリアしました");
    EXPECT_FALSE(p.GetCell(3, 1));

    ASSERT_TRUE(DeleteFrame(p, current = 4, status));
    EXPECT_EQ(status.last, "フレーム[4]を削除しました");
    EXPECT_EQ(current, 3); // clamped to the new last frame
    EXPECT_EQ(history.UndoCount(), 3);

    for (int i = 0; i < 3; ++i)
        history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(FrameOpsTest, DeletingTheOnlyFrameLeavesAnEmptyFrame)
{
    Frames(1);
    Store(0, 0, CellXY(5));
    const std::string before = ModelText(p);
    int current = 0;
    ASSERT_TRUE(DeleteFrame(p, current, status));
    EXPECT_EQ(p.GetValue(AI_FRAMES), 1);
    EXPECT_FALSE(p.GetCell(0, 0));
    EXPECT_EQ(current, 0);
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(FrameOpsTest, InsertIntoAFullArrayLosesTheLastFrameAndUndoBringsItBack)
{
    Frames(p.FrameCapacity());
    Store(p.FrameCapacity() - 1, 0, CellXY(77));
    const std::string before = ModelText(p);
    int current = 0;
    ASSERT_TRUE(InsertFrame(p, current, status));
    EXPECT_EQ(p.GetValue(AI_FRAMES), p.FrameCapacity());
    EXPECT_FALSE(p.GetCell(p.FrameCapacity() - 1, 0));
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(FrameOpsTest, FailedFrameOperationsReportTheTimeAndLeaveNoStep)
{
    Frames(3);
    int current = -5;
    EXPECT_FALSE(InsertFrame(p, current = -5, status));
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_FALSE(DeleteFrame(p, current = 2024, status));
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_FALSE(ClearFrame(p, current = -1, status));
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(FrameOpsTest, CopyNeighbour)
{
    Frames(5);
    Store(2, 4, CellXY(22));
    p.SetInterval(2, 9);
    p.SetInterval(3, 5);
    int current = 0;
    EXPECT_FALSE(CopyFromPrevious(p, current, status, messages));
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_EQ(history.UndoCount(), 0);

    current = 3;
    ASSERT_TRUE(CopyFromPrevious(p, current, status, messages));
    EXPECT_EQ(status.last, "フレーム[2]を[3]へコピーしました");
    EXPECT_EQ(X(3, 4), 22);
    EXPECT_EQ(p.GetFrame(3)->interval, 0);

    current = 1;
    ASSERT_TRUE(CopyFromNext(p, current, status, messages));
    EXPECT_EQ(status.last, "フレーム[2]を[1]へコピーしました");
    current = 4;
    EXPECT_FALSE(CopyFromNext(p, current, status, messages));
}

TEST_F(FrameOpsTest, InterpolateFromNeighboursExamples)
{
    struct Case {
        int prevX, nextX, expected;
    };
    for (const Case c : {Case{10, 15, 12}, Case{10, -15, -2}, Case{0, 4, 2}, Case{-7, 8, 0}}) {
        SCOPED_TRACE(c.prevX);
        Frames(8);
        Store(4, 0, CellXY(c.prevX));
        Store(6, 0, CellXY(c.nextX));
        int current = 5;
        ASSERT_TRUE(InterpolateFromNeighbours(p, current, 0, status, messages));
        EXPECT_EQ(X(5, 0), c.expected);
        EXPECT_EQ(status.last, "フレーム[5]に補完処理を行いました");
    }
}

TEST_F(FrameOpsTest, InterpolateFromNeighboursSlots)
{
    Frames(3);
    Store(0, 1, CellXY(40, 41)); // only in the previous frame
    Store(2, 2, CellXY(50, 51)); // only in the next frame
    strCell own = CellXY(0);
    own.picture = 9;
    own.pattern = 3;
    Store(1, 3, own); // own cell, no neighbours: unchanged
    int current = 1;
    ASSERT_TRUE(InterpolateFromNeighbours(p, current, 0, status, messages));
    EXPECT_EQ(*p.GetCell(1, 1), CellXY(40, 41));
    EXPECT_EQ(*p.GetCell(1, 2), CellXY(50, 51));
    EXPECT_EQ(*p.GetCell(1, 3), own);
    EXPECT_FALSE(p.GetCell(1, 0));

    Frames(3);
    EXPECT_FALSE(InterpolateFromNeighbours(p, current = 1, 0, status, messages));
    EXPECT_TRUE(IsTimeFailure(status.last));
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(FrameOpsTest, InterpolateCellRules)
{
    strCell p0 = CellXY(0), n0 = CellXY(0);
    p0.blend = 0;
    n0.blend = 4;
    p0.picture = 1;
    n0.picture = 11;
    p0.pattern = 2;
    n0.pattern = 10;
    p0.red = 0;
    n0.red = 200;
    p0.angle = 3600;
    n0.angle = -3600;
    strCell w = CellXY(0);
    w.picture = 50;
    w.pattern = 60;
    w.red = 70;

    strCell all = w;
    ASSERT_TRUE(InterpolateCell(all, &p0, &n0, 0.5f, 0));
    EXPECT_EQ(all.blend, 2);
    EXPECT_EQ(all.picture, 6);
    EXPECT_EQ(all.pattern, 6);
    EXPECT_EQ(all.red, 100);
    EXPECT_EQ(all.angle, 0);

    strCell keepPicture = w;
    ASSERT_TRUE(InterpolateCell(keepPicture, &p0, &n0, 0.5f, 1));
    EXPECT_EQ(keepPicture.picture, 50);
    EXPECT_EQ(keepPicture.pattern, 60);
    EXPECT_EQ(keepPicture.red, 100);

    strCell keepColour = w;
    ASSERT_TRUE(InterpolateCell(keepColour, &p0, nullptr, 0.5f, 2));
    EXPECT_EQ(keepColour.picture, 50); // a copy of P with the kept parameters restored
    EXPECT_EQ(keepColour.red, 70);
    EXPECT_EQ(keepColour.blend, 0);

    strCell none = w;
    EXPECT_FALSE(InterpolateCell(none, nullptr, nullptr, 0.5f, 0));
    EXPECT_EQ(none, w);
}

TEST_F(FrameOpsTest, CompTypeSettingKeepsPictureAndPattern)
{
    Frames(3);
    strCell a = CellXY(0), b = CellXY(10);
    a.picture = 1;
    b.picture = 3;
    a.pattern = 5;
    b.pattern = 9;
    Store(0, 0, a);
    Store(2, 0, b);
    int current = 1;
    ASSERT_TRUE(InterpolateFromNeighbours(p, current, 1, status, messages));
    EXPECT_EQ(p.GetCell(1, 0)->picture, 1); // the base cell (the previous frame's)
    EXPECT_EQ(p.GetCell(1, 0)->pattern, 5);
    EXPECT_EQ(p.GetCell(1, 0)->x, 5);
}

TEST_F(FrameOpsTest, SetIntervalsIsOneUndoStep)
{
    Frames(10);
    EXPECT_EQ(SetIntervals(p, 7, 3, 12, status), 5);
    EXPECT_EQ(status.last, "フレーム [3]～[7] に インターバル[12] を入力しました");
    for (int f = 0; f < 10; ++f)
        EXPECT_EQ(p.GetFrame(f)->interval, f >= 3 && f <= 7 ? 12 : 0) << f;
    EXPECT_EQ(history.UndoCount(), 1);
    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    for (int f = 0; f < 10; ++f)
        EXPECT_EQ(p.GetFrame(f)->interval, 0) << f;
    ASSERT_TRUE(history.Restore(p, RESTORE_REDO));
    EXPECT_EQ(SetIntervals(p, 8, 2000, 300, status), 2); // 300 limited to 255; missing frames skipped
    EXPECT_EQ(p.GetFrame(9)->interval, 255);

    strIntervalDialogState dialog;
    dialog.PresetFromSelection(p, 9, 40);
    EXPECT_EQ(dialog.first, 9);
    EXPECT_EQ(dialog.last, 9);
    EXPECT_EQ(dialog.interval, 255);
}

} // namespace
