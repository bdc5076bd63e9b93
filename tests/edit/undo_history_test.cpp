// The undo history: random edits undo and redo exactly, capacity, step grouping
// and the records of each kind of edit.

#include "edit/HistoryCommands.h"
#include "edit/RestoreHistory.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "support/ModelText.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>

namespace {

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        history.SetCapacity(32);
        p.SetChangeSink(&history);
        p.NewProject("");
    }
    // One edit in its own transaction.
    template <class F> void edit(F&& f)
    {
        p.BeginRecord();
        f();
        p.EndRecord(true);
    }
    cRestoreHistory history;
    cAnimeData p;
    cStatusRecorder status;
};

strCell cellAt(int x)
{
    strCell c = strCell::New();
    c.x = int16_t(x);
    return c;
}

// A random edit through one of the recorded mutators, with arguments that are
// sometimes out of range or change nothing.
void randomEdit(cAnimeData& p, std::mt19937& rng)
{
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int frames = std::max(1, p.GetValue(AI_FRAMES));
    auto frame = [&] { return pick(-1, frames + 1); };
    auto slot = [&] { return pick(-1, p.CellCount()); };
    auto picture = [&] {
        strPicture pic;
        pic.divX = uint16_t(pick(1, 9));
        pic.hue = uint16_t(pick(0, 359));
        pic.path = "p" + std::to_string(pick(0, 3)) + ".png";
        return pic;
    };
    auto effect = [&] {
        strEffect e;
        e.frame = uint16_t(pick(0, 20));
        e.flags = uint8_t(pick(0, 7));
        e.seName = pick(0, 1) ? "se" : "";
        return e;
    };
    const int lightItems[] = {AI_SAVE_FORMAT, AI_CENTER_POSITION, AI_BASE_INTERVAL, AI_TOTAL_INTERVAL};
    switch (pick(0, 19)) {
    case 0:
    case 1: {
        strCell c;
        for (int k = 0; k < CP_COUNT; ++k)
            c.Set(k, pick(-5000, 5000));
        p.SetCell(frame(), slot(), pick(0, 5) ? &c : nullptr);
        break;
    }
    case 2: p.SwapCells(frame(), slot(), frame(), slot()); break;
    case 3: {
        const strFrame* src = p.GetFrame(frame());
        p.SetFrame(frame(), pick(0, 1) ? src : nullptr);
        break;
    }
    case 4: p.SetInterval(frame(), pick(0, 300)); break;
    case 5: p.ClearFrames(frame(), pick(0, 3)); break;
    case 6: p.CopyFrame(frame(), frame()); break;
    case 7: p.DeleteFrames(frame(), pick(0, 3), pick(0, 1)); break;
    case 8: p.InsertFrames(frame(), pick(0, 3)); break;
    case 9: p.SlideFrames(frame(), pick(-3, 3), frame()); break;
    case 10: p.SwapFrames(frame(), frame()); break;
    case 11: p.CompactFrames(); break;
    case 12: p.SetFixPicture(slot(), pick(0, 4)); break;
    // Pictures, effects and the project dialog's items.
    case 13: p.SetPicture(picture(), pick(-1, 4)); break;
    case 14: p.DeletePicture(pick(-1, 4)); break;
    case 15: {
        int at = -1;
        p.InsertEffect(effect(), &at);
        break;
    }
    case 16: p.SetEffect(effect(), pick(-1, 6)); break;
    case 17: p.DeleteEffect(pick(-1, 6), pick(0, 1)); break;
    case 18: p.SetValue(lightItems[pick(0, 3)], pick(0, 5)); break;
    case 19: p.SetText(pick(0, 1) ? AT_NAME : AT_USER_DATA, std::string(size_t(pick(0, 3)), 'n')); break;
    }
}

TEST_F(HistoryTest, RandomEditsUndoToStartAndRedoToEnd)
{
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        strProjectDefaults defaults;
        defaults.cellCount = 1 + int(seed % 6);
        p.SetDefaults(defaults);
        p.NewProject("");
        p.SetValue(AI_FIX_PICTURE_PER_CELL, seed % 2);
        p.SetValue(AI_EDIT_FORMAT, int(seed % 5));
        history.SetCapacity(32);
        std::vector<std::string> states{ModelText(p)};
        for (int i = 0; i < 200 && history.UndoCount() < 32; ++i) {
            const int before = history.UndoCount();
            p.BeginRecord();
            const int edits = std::uniform_int_distribution<int>(1, 3)(rng);
            for (int e = 0; e < edits; ++e)
                randomEdit(p, rng);
            p.EndRecord(true);
            if (history.UndoCount() > before)
                states.push_back(ModelText(p));
            else
                ASSERT_EQ(ModelText(p), states.back()) << "an edit without a step changed the project";
        }
        for (size_t i = states.size() - 1; i > 0; --i) {
            ASSERT_TRUE(UndoCommand(p, history, status));
            ASSERT_EQ(ModelText(p), states[i - 1]) << "seed " << seed << " undo to " << i - 1;
        }
        EXPECT_FALSE(UndoCommand(p, history, status));
        for (size_t i = 1; i < states.size(); ++i) {
            ASSERT_TRUE(RedoCommand(p, history, status));
            ASSERT_EQ(ModelText(p), states[i]) << "seed " << seed << " redo to " << i;
        }
        EXPECT_FALSE(RedoCommand(p, history, status));
    }
}

TEST_F(HistoryTest, CommandsReportTheirOutcome)
{
    EXPECT_FALSE(UndoCommand(p, history, status));
    EXPECT_EQ(status.last, "< ! > 戻れません");
    EXPECT_FALSE(RedoCommand(p, history, status));
    EXPECT_EQ(status.last, "< ! > 直せません");
    strCell c = cellAt(3);
    edit([&] { p.SetCell(0, 0, &c); });
    EXPECT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(status.last, "一つ戻りました");
    EXPECT_TRUE(RedoCommand(p, history, status));
    EXPECT_EQ(status.last, "一つ やり直しました");
}

TEST_F(HistoryTest, UndoSettingZeroRecordsNothing)
{
    history.SetCapacity(0);
    EXPECT_FALSE(p.BeginRecord());
    strCell c = cellAt(1);
    EXPECT_TRUE(p.SetCell(0, 0, &c));
    p.EndRecord(true);
    EXPECT_FALSE(history.CanRestore(RESTORE_UNDO));
    EXPECT_FALSE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetCell(0, 0)->x, 1);
}

TEST_F(HistoryTest, CapacityKeepsTheNewestSteps)
{
    history.SetCapacity(3);
    for (int i = 1; i <= 4; ++i) {
        strCell c = cellAt(i);
        edit([&] { p.SetCell(0, 0, &c); });
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetCell(0, 0)->x, 1);
    EXPECT_FALSE(UndoCommand(p, history, status));
    EXPECT_EQ(status.last, "< ! > 戻れません");
    EXPECT_EQ(history.RedoCount(), 3);
    EXPECT_TRUE(history.SetCapacity(99));
    EXPECT_EQ(history.Capacity(), 32);
    EXPECT_EQ(history.RedoCount(), 0);
    history.SetCapacity(-1);
    EXPECT_EQ(history.Capacity(), 32);
}

TEST_F(HistoryTest, NoOpKeepsRedoAndRealEditDropsIt)
{
    strCell c = cellAt(5);
    edit([&] { p.SetCell(0, 0, &c); });
    UndoCommand(p, history, status);
    ASSERT_EQ(history.RedoCount(), 1);
    edit([&] { p.SwapFrames(3, 4); }); // changes nothing
    EXPECT_EQ(history.RedoCount(), 1);
    edit([&] { p.SetInterval(0, 2); });
    EXPECT_EQ(history.RedoCount(), 0);
}

TEST_F(HistoryTest, ManyRecordsFormOneStepReplayedInOrder)
{
    strCell a = cellAt(10);
    edit([&] {
        for (int i = 0; i < 10; ++i) {
            a.y = int16_t(i);
            p.SetCell(0, 0, &a); // the same slot, ten times
        }
    });
    EXPECT_EQ(history.UndoCount(), 1);
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetCell(0, 0), nullptr); // the slot was empty before
    ASSERT_TRUE(RedoCommand(p, history, status));
    EXPECT_EQ(p.GetCell(0, 0)->y, 9);
}

TEST_F(HistoryTest, RedoStoresTheNormalisedCell)
{
    strCell c = cellAt(9000);
    c.pattern = 0;
    edit([&] { p.SetCell(0, 1, &c); });
    UndoCommand(p, history, status);
    EXPECT_EQ(p.GetCell(0, 1), nullptr);
    RedoCommand(p, history, status);
    EXPECT_EQ(p.GetCell(0, 1)->x, 1024);
    EXPECT_EQ(p.GetCell(0, 1)->pattern, 1);
}

TEST_F(HistoryTest, UndoClosedUpDeletionRestoresBothParts)
{
    p.InsertFrames(1, 3);
    for (int i = 0; i < 4; ++i) {
        strCell c = cellAt(i * 10);
        p.SetCell(i, 0, &c);
    }
    const std::string before = ModelText(p);
    edit([&] { p.DeleteFrames(1, 1, true); });
    EXPECT_EQ(p.GetValue(AI_FRAMES), 3);
    EXPECT_EQ(p.GetCell(1, 0)->x, 20);
    UndoCommand(p, history, status);
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(HistoryTest, FixedPictureUndoMovesCellsBack)
{
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p.InsertFrames(1, 1);
    strCell c = cellAt(0);
    p.SetCell(0, 2, &c);
    p.SetCell(1, 2, &c);
    edit([&] { p.SetFixPicture(2, 6); });
    EXPECT_EQ(p.GetCell(1, 2)->picture, 6);
    UndoCommand(p, history, status);
    EXPECT_EQ(p.GetFixPicture(2), 0);
    EXPECT_EQ(p.GetCell(0, 2)->picture, 0);
    EXPECT_EQ(p.GetCell(1, 2)->picture, 0);
}

TEST_F(HistoryTest, PictureEffectAndItemEditsAreStepsOfTheirOwn)
{
    strPicture pic;
    pic.path = "a.png";
    strEffect early, late;
    early.frame = 1;
    late.frame = 9;
    const std::string start = ModelText(p);
    edit([&] { p.SetPicture(pic, 2); });
    edit([&] {
        int at = -1;
        p.InsertEffect(late, &at);
        p.InsertEffect(early, &at);
    });
    edit([&] {
        p.SetValue(AI_BASE_INTERVAL, 4);
        p.SetText(AT_NAME, "boom");
    });
    edit([&] { p.DeleteEffect(0, true); });
    edit([&] { p.SetValue(AI_BASE_INTERVAL, 4); }); // no change: no step
    EXPECT_EQ(history.UndoCount(), 4);
    EXPECT_EQ(p.GetEffect(0)->frame, 9) << "the later effect moved up";
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetEffect(0)->frame, 1);
    EXPECT_EQ(p.GetEffect(1)->frame, 9);
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetValue(AI_BASE_INTERVAL), 1);
    EXPECT_EQ(p.Text(AT_NAME), "");
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(p.GetEffect(0), nullptr);
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(ModelText(p), start);
    EXPECT_FALSE(UndoCommand(p, history, status)) << "nothing older was undone instead";
}

TEST_F(HistoryTest, SpoiledGroupIsDropped)
{
    p.BeginRecord();
    strCell c = cellAt(2);
    p.SetCell(0, 0, &c);
    EXPECT_FALSE(p.Record()->AddRecord(nullptr));
    p.EndRecord(true);
    EXPECT_FALSE(history.CanRestore(RESTORE_UNDO));
    EXPECT_EQ(p.GetCell(0, 0)->x, 2); // the change itself stays
}

struct AlertRecorder : iMessageSink {
    eAskAnswer Ask(const std::string& text, const std::string& caption, eAskButtons, eAskIcon icon) override
    {
        texts.push_back(text);
        captions.push_back(caption);
        icons.push_back(icon);
        return ANSWER_OK;
    }
    std::vector<std::string> texts, captions;
    std::vector<eAskIcon> icons;
};

TEST_F(HistoryTest, FrameGuardRepairsHoles)
{
    p.InsertFrames(1, 4);
    for (int i = 0; i < 5; ++i)
        p.SetInterval(i, i + 1);
    edit([&] { p.SetInterval(0, 9); });
    p.DeleteFrames(1, 2, false); // holes at 1 and 2
    AlertRecorder alerts;
    int current = 0;
    EXPECT_TRUE(GuardCurrentFrame(p, current, alerts));
    EXPECT_TRUE(alerts.texts.empty());
    current = 2;
    EXPECT_FALSE(GuardCurrentFrame(p, current, alerts));
    ASSERT_EQ(alerts.texts.size(), 1u);
    EXPECT_EQ(alerts.texts[0], "フレーム処理に不備があるようです。\n復帰を試みますが、履歴がリセットされます。");
    EXPECT_EQ(alerts.captions[0], "エラー");
    EXPECT_EQ(alerts.icons[0], ICON_ERROR);
    EXPECT_EQ(current, 2);
    EXPECT_EQ(p.GetFrame(1)->interval, 4);
    EXPECT_EQ(p.GetFrame(2)->interval, 5);
    EXPECT_FALSE(history.CanRestore(RESTORE_UNDO));
    EXPECT_EQ(history.Capacity(), 32);
    current = 7;
    p.DeleteFrames(2, 1, false);
    GuardCurrentFrame(p, current, alerts);
    EXPECT_EQ(current, 1);
}

} // namespace

TEST_F(HistoryTest, TransactionRollsBackAnEditThatFailsHalfway)
{
    strCell c = cellAt(7);
    ASSERT_TRUE(p.SetCell(0, 1, &c));
    const std::string before = ModelText(p);
    auto failingEdit = [&](bool throws) {
        cTransaction transaction(p);
        strCell moved = cellAt(3);
        ASSERT_TRUE(p.SetCell(0, 0, &moved));
        ASSERT_TRUE(p.InsertFrames(0, 2));
        ASSERT_TRUE(p.DeleteFrames(2, 1, true));
        if (throws)
            throw std::runtime_error("failed halfway");
        transaction.Finish(false);
    };
    failingEdit(false);
    EXPECT_EQ(ModelText(p), before);
    EXPECT_THROW(failingEdit(true), std::runtime_error);
    EXPECT_EQ(ModelText(p), before);
    EXPECT_FALSE(history.CanRestore(RESTORE_UNDO));

    {
        cTransaction transaction(p);
        ASSERT_TRUE(p.InsertFrames(0, 1));
        transaction.Commit();
    }
    EXPECT_EQ(history.UndoCount(), 1);
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(ModelText(p), before);
}
