// Random operations over random projects: each is one undo step (or none when it
// changed nothing, keeping the redo steps), undo restores the project before it
// and redo the project after it; a timeline cut pasted back restores the project.

#include "support/EditFixture.h"

#include "edit/BatchEdit.h"
#include "edit/CanvasClip.h"
#include "edit/FrameOps.h"
#include "edit/Interpolate.h"
#include "edit/Spline.h"
#include "edit/TimelineClip.h"

namespace {

class EditUndoTest : public EditTest {
protected:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    strGridBlock RandomBlock()
    {
        const int n = p.GetValue(AI_FRAMES), cells = p.CellCount();
        return {Pick(0, n - 1), Pick(0, cells - 1), Pick(0, n - 1), Pick(0, cells - 1)};
    }
    int RandomArea() { return std::array{TA_CELLS, TA_ROWS, TA_FRAMES}[size_t(Pick(0, 2))]; }
    std::vector<bool> RandomTicks(size_t n)
    {
        std::vector<bool> t(n);
        for (size_t i = 0; i < n; ++i)
            t[i] = Pick(0, 2) == 0;
        return t;
    }

    // Runs one random editing operation; returns its name for the failure messages.
    std::string RandomOperation()
    {
        const int n = p.GetValue(AI_FRAMES);
        int current = Pick(0, n - 1);
        std::vector<uint8_t> selection(size_t(p.CellCount()));
        for (uint8_t& s : selection)
            s = uint8_t(Pick(0, 1));
        switch (Pick(0, 14)) {
        case 0: TimelineCut(p, RandomArea(), RandomBlock()); return "timeline cut";
        case 1: TimelineDelete(p, RandomArea(), RandomBlock()); return "timeline delete";
        case 2: {
            const int area = RandomArea();
            TimelineCopy(p, area, RandomBlock());
            TimelinePaste(p, area, Pick(0, n - 1), Pick(0, p.CellCount() - 1), nullptr);
            return "timeline paste";
        }
        case 3: {
            const strGridBlock b = RandomBlock();
            InterpolateBlock(p, b.f0, b.f1, b.k0, b.k1, 0);
            return "block interpolation";
        }
        case 4: {
            strFrameInterpolationState d;
            d.Prepare(p);
            d.first = Pick(0, n);
            d.last = Pick(0, n);
            d.method = Pick(0, 2);
            d.cellTicks = RandomTicks(d.cellTicks.size());
            d.paramTicks = RandomTicks(CP_COUNT);
            RunFrameInterpolation(p, d, status);
            return "frame interpolation";
        }
        case 5: {
            strBatchEditState d;
            d.Prepare(p);
            d.frameTicks = RandomTicks(d.frameTicks.size());
            d.cellTicks = RandomTicks(d.cellTicks.size());
            d.paramTicks = RandomTicks(CP_COUNT);
            d.formula = Pick(0, 2);
            d.value = Pick(-300, 300);
            RunBatchEdit(p, d, status);
            return "batch edit";
        }
        case 6:
            ApplySpline(p, current, Pick(0, p.CellCount() - 1), Pick(-3, 5), {float(Pick(-99, 99)), 0.5f},
                        {3.25f, float(Pick(-500, 500))}, {-40.0f, 70.0f}, Pick(0, 1) * 4, status);
            return "spline";
        case 7: InsertFrame(p, current, status); return "insert frame";
        case 8: DeleteFrame(p, current, status); return "delete frame";
        case 9: ClearFrame(p, current, status); return "clear frame";
        case 10: CopyNeighbour(p, current, current + Pick(-1, 1), status); return "copy neighbour";
        case 11: InterpolateFromNeighbours(p, current, 0, status, messages); return "interpolate frame";
        case 12: InterpolateSelected(p, current, {Pick(0, 5), Pick(0, 5)}, 0, status); return "selected cells";
        case 13: CanvasCut(p, current, selection, status); return "canvas cut";
        default:
            CanvasCopy(p, current, selection, status);
            CanvasPaste(p, Pick(0, n - 1), Pick(0, p.CellCount() - 1), selection, nullptr, status);
            return "canvas paste";
        }
    }

    std::mt19937 rng{20261209};
};

TEST_F(EditUndoTest, EveryOperationIsOneStepThatUndoes)
{
    for (int round = 0; round < 400; ++round) {
        Randomise(rng, Pick(1, 12), Pick(1, 6), Pick(0, 1));
        // One undone step waits in the redo queue.
        const strCell marker = CellXY(1);
        p.BeginRecord();
        p.SetCell(0, 0, p.GetCell(0, 0) ? nullptr : &marker);
        p.EndRecord(true);
        history.Restore(p, RESTORE_UNDO);
        ASSERT_EQ(history.RedoCount(), 1);

        const std::string before = ModelText(p);
        const std::string name = RandomOperation();
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << name);
        const std::string after = ModelText(p);
        ASSERT_LE(history.UndoCount(), 1);
        if (history.UndoCount() == 0) {
            EXPECT_EQ(after, before);
            EXPECT_EQ(history.RedoCount(), 1);
            continue;
        }
        EXPECT_EQ(history.RedoCount(), 0);
        ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
        EXPECT_EQ(ModelText(p), before);
        ASSERT_TRUE(history.Restore(p, RESTORE_REDO));
        EXPECT_EQ(ModelText(p), after);
    }
}

TEST_F(EditUndoTest, TimelineCutPastedBackRestoresTheProject)
{
    for (int round = 0; round < 300; ++round) {
        Randomise(rng, Pick(2, 12), Pick(1, 6), Pick(0, 1));
        const int area = RandomArea();
        strGridBlock b = RandomBlock();
        if (area == TA_FRAMES && std::min(b.f0, b.f1) == 0 && std::max(b.f0, b.f1) == p.GetValue(AI_FRAMES) - 1)
            b.f0 = b.f1 = 1; // not every frame: a cut never leaves none
        SCOPED_TRACE(testing::Message() << "round " << round << " area " << area << " block " << b.f0 << "," << b.k0
                                        << "-" << b.f1 << "," << b.k1);
        const std::string before = ModelText(p);
        ASSERT_TRUE(TimelineCut(p, area, b));
        ASSERT_TRUE(TimelinePaste(p, area, std::min(b.f0, b.f1), std::min(b.k0, b.k1), nullptr));
        EXPECT_EQ(ModelText(p), before);
    }
}

} // namespace
