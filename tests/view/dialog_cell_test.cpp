// The cell dialog's rules: usable fields per edit format, the flip choice, the
// colour word, and storing the working copy as one undo step.

#include "support/EditFixture.h"

#include "view/DialogCell.h"

#include <functional>

namespace {

class DialogCellTest : public EditTest {};

struct FormatRow {
    int editFormat;
    bool angle, scaleX, scaleY, flip;
};

TEST_F(DialogCellTest, EditFormatDecidesWhichFieldsAreUsable)
{
    const FormatRow rows[] = {
        {0, true, true, true, false},  {1, false, false, false, false}, {2, true, false, true, true},
        {3, true, true, false, false}, {4, false, true, true, false},
    };
    for (const FormatRow& r : rows) {
        p.SetValue(AI_EDIT_FORMAT, r.editFormat);
        const strCellFields f = CellFields(p);
        EXPECT_EQ(f.angle, r.angle) << r.editFormat;
        EXPECT_EQ(f.scaleX, r.scaleX) << r.editFormat;
        EXPECT_EQ(f.scaleY, r.scaleY) << r.editFormat;
        EXPECT_EQ(f.flipShown, r.flip) << r.editFormat;
        EXPECT_EQ(f.scaleXHidden, r.flip) << r.editFormat;
    }
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    EXPECT_FALSE(CellFields(p).picture);
}

TEST_F(DialogCellTest, FlipChoiceFollowsTheSignsAndSetsScaleXFromScaleY)
{
    strCell c = strCell::New();
    c.scaleX = -50, c.scaleY = 80;
    EXPECT_EQ(CellFlipChoice(c), 1);
    c.scaleX = 0;
    EXPECT_EQ(CellFlipChoice(c), 1) << "a zero product counts as mirrored";
    c.scaleX = 30;
    EXPECT_EQ(CellFlipChoice(c), 0);
    ApplyFlipChoice(c, 1);
    EXPECT_EQ(c.scaleX, -80);
    ApplyFlipChoice(c, 0);
    EXPECT_EQ(c.scaleX, 80);
}

TEST_F(DialogCellTest, ColourWordRoundTripsAndRejectsBadText)
{
    strCell c = strCell::New();
    c.saturation = 0x64, c.red = 0xC8, c.green = 0x00, c.blue = 0x0A;
    EXPECT_EQ(CellColourText(c), "64c8000a");
    strCell d = strCell::New();
    ASSERT_TRUE(ParseCellColourText("64C8000a", d));
    EXPECT_EQ(d, c);
    ASSERT_TRUE(ParseCellColourText("ff", d));
    EXPECT_EQ(d.blue, 0xFF);
    EXPECT_EQ(d.saturation, 0);
    for (const char* bad : {"", "123456789", "12g4", "-1"}) {
        strCell e = c;
        EXPECT_FALSE(ParseCellColourText(bad, e)) << bad;
        EXPECT_EQ(e, c) << bad;
    }
    // Out-of-range colours are clamped when the working copy is normalised.
    ASSERT_TRUE(ParseCellColourText("ffffffff", d));
    const strCell n = NormaliseWorkingCell(p, 0, d);
    EXPECT_EQ(n.red, 200);
    EXPECT_EQ(n.saturation, 200);
}

strCellTarget Target(const cAnimeData& p, int f, int k)
{
    strCellTarget t;
    t.Take(p, f, k);
    return t;
}

TEST_F(DialogCellTest, ApplyStoresAClampedCellAsOneStepThatUndoRestores)
{
    Frames(3);
    Store(1, 2, CellXY(5, 6));
    const std::string before = ModelText(p);
    strCell w = CellXY(5000, -7);
    w.opacity = 90;
    ASSERT_TRUE(ApplyCellDialog(p, Target(p, 1, 2), w));
    EXPECT_EQ(p.GetCell(1, 2)->x, 1024) << "clamped by the project";
    EXPECT_EQ(p.GetCell(1, 2)->opacity, 90);
    EXPECT_EQ(history.UndoCount(), 1);
    const std::string after = ModelText(p);

    EXPECT_FALSE(ApplyCellDialog(p, Target(p, 1, 2), *p.GetCell(1, 2))) << "no change, no step";
    EXPECT_FALSE(ApplyCellDialog(p, Target(p, 1, 2), w)) << "equal once normalised";
    EXPECT_EQ(history.UndoCount(), 1);

    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    EXPECT_EQ(ModelText(p), before);
    ASSERT_TRUE(history.Restore(p, RESTORE_REDO));
    EXPECT_EQ(ModelText(p), after);
}

TEST_F(DialogCellTest, ApplyOnAnEmptySlotCreatesTheCellAndBadTargetsStoreNothing)
{
    Frames(2);
    ASSERT_TRUE(ApplyCellDialog(p, Target(p, 0, 3), CellXY(1, 1)));
    ASSERT_NE(p.GetCell(0, 3), nullptr);
    EXPECT_FALSE(ApplyCellDialog(p, Target(p, 5, 0), CellXY(1, 1)));
    EXPECT_FALSE(ApplyCellDialog(p, Target(p, 0, -1), CellXY(1, 1)));
    EXPECT_FALSE(ApplyCellDialog(p, Target(p, 0, p.CellCount()), CellXY(1, 1)));
    EXPECT_EQ(history.UndoCount(), 1);
}

TEST_F(DialogCellTest, ATargetThatChangedUnderTheDialogIsNeverWritten)
{
    // The dialog loaded [2,1]; then the project changes under it in each of these ways.
    const struct {
        const char* what;
        std::function<void(cAnimeData&)> change;
        eCellTargetState state;
    } rows[] = {
        {"nothing", [](cAnimeData&) {}, CTS_SAME},
        {"frame deleted, the next one slides in", [](cAnimeData& p) { p.DeleteFrames(2, 1, true); }, CTS_CHANGED},
        {"cell deleted", [](cAnimeData& p) { p.SetCell(2, 1, nullptr); }, CTS_GONE},
        {"frame deleted, an empty one slides in",
         [](cAnimeData& p) {
             p.SetCell(3, 1, nullptr);
             p.DeleteFrames(2, 1, true);
         },
         CTS_GONE},
        {"frames cut back to two", [](cAnimeData& p) { p.DeleteFrames(2, 2, true); }, CTS_GONE},
        {"project replaced", [](cAnimeData& p) { p.NewProject(""); }, CTS_GONE},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        Frames(4);
        for (int f = 0; f < 4; ++f)
            Store(f, 1, CellXY(f * 10));
        const strCellTarget target = Target(p, 2, 1);
        r.change(p);
        const std::string before = ModelText(p);
        EXPECT_EQ(target.Check(p), r.state);
        const bool stored = ApplyCellDialog(p, target, CellXY(77));
        EXPECT_EQ(stored, r.state == CTS_SAME);
        if (!stored) {
            EXPECT_EQ(ModelText(p), before) << "nothing written into another slot";
        }
    }
}

} // namespace
