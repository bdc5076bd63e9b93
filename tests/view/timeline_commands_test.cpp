// The animation timeline: the current frame and canvas selection it drives, its
// context commands with their undo steps, and the ranges and dialogs it sets up.

#include "support/EditFixture.h"

#include "edit/CanvasClip.h"
#include "edit/EditClip.h"
#include "edit/HistoryCommands.h"
#include "view/Timeline.h"

#include <optional>

namespace {

class cFakeHost : public iTimelineHost {
public:
    void TimelineFrameChosen(int frame) override { chosen.push_back(frame); }
    std::vector<uint8_t>* TimelineCanvasSelection() override { return &canvas; }
    void TimelineCanvasSelectionChanged() override { ++canvasChanges; }
    void TimelineCanvasFocus(int cellNo) override { focus = cellNo; }
    void TimelineStopPlayback() override { ++stops; }
    void TimelineOpenDialog(int key, const strGridBlock& block) override { dialogs.push_back({key, block}); }
    void TimelinePlayRange(bool on, int first, int last) override { range = {on, first, last}; }
    void TimelineChanged() override { ++changes; }
    iStatusSink& TimelineStatus() override { return status; }
    iMessageSink& TimelineMessages() override { return messages; }
    strEditOptions TimelineOptions() override { return EditOptionsOf(settings); }

    struct strRange {
        bool on;
        int first, last;
    };
    std::vector<int> chosen;
    std::vector<uint8_t> canvas;
    int canvasChanges = 0, stops = 0, changes = 0;
    int focus = -9;
    std::vector<std::pair<int, strGridBlock>> dialogs;
    std::optional<strRange> range;
    cStatusRecorder status;
    cMessageRecorder messages;
    cSettings settings;
};

constexpr int kFrames = 12, kCells = 8;

int px(int col) { return col < 0 ? 5 : cTimeline::kRowHeaderWidth + col * 16 + 8; }
int py(int row) { return row < 0 ? 8 : 16 + row * 20 + 10; }

class TimelineTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        Frames(kFrames, kCells);
        Attach();
    }
    void Attach()
    {
        host.canvas.assign(size_t(p.CellCount()), 0);
        timeline.SetProject(&p);
        timeline.SetViewSize(2000, 2000);
    }
    int Click(strGridPos at, bool left = true, int mods = 0)
    {
        const int area = timeline.MouseDown(px(at.col), py(at.row), left, mods);
        timeline.MouseUp();
        return area;
    }
    void Select(strGridRect r) { timeline.Select(&r); }
    int UndoSteps()
    {
        int n = 0;
        while (UndoCommand(p, history, status))
            ++n;
        return n;
    }
    std::vector<int> CanvasSelected() const
    {
        std::vector<int> on;
        for (size_t k = 0; k < host.canvas.size(); ++k)
            if (host.canvas[k] & kCellSelected)
                on.push_back(int(k));
        return on;
    }

    cFakeHost host;
    cTimeline timeline{host};
};

} // namespace

TEST_F(TimelineTest, ClicksChooseTheFrameAndSelectCanvasCells)
{
    for (int k : {1, 2, 5})
        Store(3, k, CellXY(k));
    EXPECT_EQ(Click({3, -1}), TA_FRAMES);
    EXPECT_EQ(host.chosen, (std::vector<int>{3}));
    EXPECT_EQ(timeline.Marker(), 3);
    EXPECT_EQ(CanvasSelected(), (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(host.focus, 5) << "a column gives the canvas its top-most cell";

    Click({3, 5});
    EXPECT_EQ(CanvasSelected(), (std::vector<int>{5}));
    Click({3, 2}, true, KM_CTRL);
    EXPECT_EQ(CanvasSelected(), (std::vector<int>{2, 5})) << "CTRL keeps the canvas selection";
    EXPECT_EQ(host.focus, 2) << "the canvas focus follows the clicked cell";
    Click({3, 4});
    EXPECT_TRUE(CanvasSelected().empty());
    EXPECT_EQ(host.focus, -1) << "an empty slot leaves no focus";
    Click({-1, 1});
    EXPECT_EQ(host.chosen.back(), 3) << "a row header chooses no frame";
    EXPECT_EQ(CanvasSelected(), (std::vector<int>{1}));
    EXPECT_EQ(host.focus, 1);

    // A selection away from the current frame leaves the canvas alone.
    const int changes = host.canvasChanges;
    Select({6, 0, 7, 7});
    EXPECT_EQ(CanvasSelected(), (std::vector<int>{1}));
    EXPECT_EQ(host.canvasChanges, changes);
}

TEST_F(TimelineTest, SyncFollowsTheProjectAndTheCurrentFrame)
{
    Click({2, 4});
    p.InsertFrames(kFrames, 3);
    p.SetCellCount(20);
    timeline.Sync(9);
    EXPECT_EQ(timeline.Columns(), kFrames + 3);
    EXPECT_EQ(timeline.Rows(), 20);
    EXPECT_EQ(timeline.Marker(), 9);
    EXPECT_EQ(timeline.Focus(), (strGridPos{9, 4})) << "the focus column follows the current frame";
    EXPECT_EQ(timeline.Selection(), (strGridRect{2, 4, 2, 4}));
}

// Cut, then paste at the block's first position, gives back the project; each is one
// undo step and undoing restores the state before it.
struct strBlockCase {
    const char* name;
    int area;
    strGridRect selection;
};

class TimelineBlock : public TimelineTest, public ::testing::WithParamInterface<strBlockCase> {};

TEST_P(TimelineBlock, CutAndPasteRoundTripInOneStepEach)
{
    const strBlockCase& c = GetParam();
    std::mt19937 rng(17);
    Randomise(rng, kFrames, kCells, true);
    Attach();
    const std::string before = ModelText(p);
    Select(c.selection);
    const strGridPos at{c.selection.c0, c.selection.r0};

    ASSERT_TRUE(timeline.Run(IDM_CUT, c.area, at));
    const std::string cut = ModelText(p);
    EXPECT_NE(cut, before);
    ASSERT_TRUE(timeline.HasClipRect());
    EXPECT_EQ(timeline.ClipRect(), c.selection);
    EXPECT_EQ(timeline.Focus(), at);
    EXPECT_TRUE(timeline.IsEnabled(IDM_PASTE, c.area, at));

    const strGridRect other{0, 0, 0, 0};
    Select(other);
    ASSERT_TRUE(timeline.Run(IDM_PASTE, c.area, at));
    EXPECT_EQ(ModelText(p), before);
    EXPECT_EQ(timeline.Selection(), c.selection) << "the pasted block becomes the selection";

    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(ModelText(p), cut);
    ASSERT_TRUE(UndoCommand(p, history, status));
    EXPECT_EQ(ModelText(p), before);
    EXPECT_FALSE(UndoCommand(p, history, status)) << "two commands, two steps";
    EXPECT_GE(host.stops, 2);
}

TEST_P(TimelineBlock, CopyChangesNothingAndDeleteIsOneStep)
{
    const strBlockCase& c = GetParam();
    std::mt19937 rng(5);
    Randomise(rng, kFrames, kCells, true);
    Attach();
    const std::string before = ModelText(p);
    Select(c.selection);
    const strGridPos at{c.selection.c0 + 1, c.selection.r0 + 1};
    timeline.SetFocus(at, false);

    ASSERT_TRUE(timeline.Run(IDM_COPY, c.area, at));
    EXPECT_EQ(ModelText(p), before);
    EXPECT_EQ(timeline.ClipRect(), c.selection);
    EXPECT_EQ(timeline.Focus(), at);
    EXPECT_TRUE(Has(TimelineClipKind(c.area)));

    ASSERT_TRUE(clipboard.Open());
    clipboard.Empty();
    clipboard.Close();
    ASSERT_TRUE(timeline.Run(IDM_DELETE, c.area, at));
    EXPECT_NE(ModelText(p), before);
    EXPECT_FALSE(Has(TimelineClipKind(c.area))) << "delete leaves the clipboard alone";
    EXPECT_EQ(timeline.Focus(), (strGridPos{c.selection.c0, c.selection.r0}));
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(ModelText(p), before);
}

INSTANTIATE_TEST_SUITE_P(Areas, TimelineBlock,
                         ::testing::Values(strBlockCase{"Cells", TA_CELLS, {4, 1, 6, 3}},
                                           strBlockCase{"Rows", TA_ROWS, {-1, 2, kFrames - 1, 4}},
                                           strBlockCase{"Frames", TA_FRAMES, {4, -1, 6, kCells - 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TimelineTest, PasteNeedsItsAreasKind)
{
    Store(2, 2, CellXY(7));
    Select({2, 2, 2, 2});
    ASSERT_TRUE(timeline.Run(IDM_COPY, TA_CELLS, {2, 2}));
    EXPECT_TRUE(timeline.IsEnabled(IDM_PASTE, TA_CELLS, {5, 5}));
    EXPECT_FALSE(timeline.IsEnabled(IDM_PASTE, TA_ROWS, {-1, 5}));
    EXPECT_FALSE(timeline.Run(IDM_PASTE, TA_FRAMES, {5, -1}));
    ASSERT_TRUE(timeline.Run(IDM_PASTE, TA_CELLS, {5, 6}));
    EXPECT_EQ(X(5, 6), 7);
    EXPECT_EQ(timeline.Selection(), (strGridRect{5, 6, 5, 6}));
}

TEST_F(TimelineTest, NewCellIsOneStepOfTheNewCell)
{
    EXPECT_FALSE(timeline.IsEnabled(IDM_NEW_CELL, TA_FRAMES, {2, -1}));
    Click({2, 3}, false);
    ASSERT_TRUE(timeline.Run(IDM_NEW_CELL, TA_CELLS, {2, 3}));
    ASSERT_NE(p.GetCell(2, 3), nullptr);
    strCell expected = strCell::New();
    p.ValidateCell(expected, 3);
    EXPECT_EQ(*p.GetCell(2, 3), expected);
    EXPECT_GT(host.changes, 0);
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(p.GetCell(2, 3), nullptr);
}

TEST_F(TimelineTest, BlockInterpolationFromTheKeysAround)
{
    Store(0, 1, CellXY(0));
    Store(4, 1, CellXY(40));
    Store(0, 2, CellXY(100));
    Select({1, 1, 3, 1});
    ASSERT_TRUE(timeline.Run(IDM_INTERPOLATE_SELECTED, TA_CELLS, {1, 1}));
    EXPECT_EQ(X(1, 1), 10);
    EXPECT_EQ(X(3, 1), 30);
    EXPECT_EQ(X(2, 2), -9999) << "the cell block leaves other cell numbers alone";
    EXPECT_EQ(UndoSteps(), 1);

    // A frame selection covers every cell number.
    Select({1, -1, 3, kCells - 1});
    ASSERT_TRUE(timeline.Run(IDM_INTERPOLATE_SELECTED, TA_FRAMES, {1, -1}));
    EXPECT_EQ(X(2, 1), 20);
    EXPECT_EQ(X(2, 2), 100) << "only a key before: copies of it";
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_FALSE(timeline.IsEnabled(IDM_INTERPOLATE_SELECTED, TA_ROWS, {-1, 1}));
}

TEST_F(TimelineTest, InsertPutsTheFocusOnTheNewFramesHeader)
{
    Store(3, 0, CellXY(33));
    Click({5, 2});
    ASSERT_TRUE(timeline.Run(IDM_INSERT_FRAME, TA_FRAMES, {3, -1}));
    EXPECT_EQ(p.GetValue(AI_FRAMES), kFrames + 1);
    EXPECT_EQ(X(4, 0), 33);
    EXPECT_EQ(timeline.Columns(), kFrames + 1);
    EXPECT_EQ(timeline.Focus(), (strGridPos{3, -1}));
    EXPECT_EQ(host.chosen.back(), 3);
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_FALSE(timeline.IsEnabled(IDM_INSERT_FRAME, TA_CELLS, {3, 0}));
}

TEST_F(TimelineTest, SelectAllByArea)
{
    timeline.Run(IDM_SELECT_ALL, TA_FRAMES, {2, -1});
    EXPECT_EQ(timeline.Selection(), (strGridRect{0, -1, kFrames - 1, kCells - 1}));
    timeline.Run(IDM_SELECT_ALL, TA_CELLS, {2, 2});
    EXPECT_EQ(timeline.Selection(), (strGridRect{0, 0, kFrames - 1, kCells - 1}));
    timeline.Run(IDM_SELECT_ALL, TA_ROWS, {-1, 2});
    EXPECT_EQ(timeline.Selection(), (strGridRect{-1, 0, kFrames - 1, kCells - 1}));
}

TEST_F(TimelineTest, PlayRangeNeedsMoreThanTwoFrames)
{
    struct Case {
        strGridRect selection;
        bool on;
        int first, last;
    };
    const Case cases[] = {
        {{4, -1, 5, kCells - 1}, false, 0, 0},
        {{4, -1, 6, kCells - 1}, true, 4, 6},
        {{2, 0, 9, 3}, true, 2, 9},
        {{-1, 0, kFrames - 1, 2}, false, 2, 9}, // rows: switched off, the range kept
    };
    for (const Case& c : cases) {
        Select(c.selection);
        ASSERT_TRUE(timeline.Run(TL_PLAY_RANGE, TA_FRAMES, {c.selection.c0, -1}));
        ASSERT_TRUE(host.range.has_value());
        EXPECT_EQ(host.range->on, c.on);
        EXPECT_EQ(timeline.PlayRangeOn(), c.on);
        if (c.on) {
            EXPECT_EQ(host.range->first, c.first);
            EXPECT_EQ(host.range->last, c.last);
        }
    }
}

TEST_F(TimelineTest, DragRangeFromTheSelection)
{
    strGridBlock block;
    Select({2, 0, 6, 3});
    timeline.Run(TL_DRAG_RANGE, TA_CELLS, {2, 0});
    ASSERT_TRUE(timeline.DragBlock(block));
    EXPECT_EQ(block, (strGridBlock{2, 0, 6, 3}));

    Select({2, -1, 4, kCells - 1});
    timeline.Run(TL_DRAG_RANGE, TA_FRAMES, {2, -1});
    ASSERT_TRUE(timeline.DragBlock(block));
    EXPECT_EQ(block, (strGridBlock{2, 0, 4, kCells - 1}));

    Select({-1, 5, kFrames - 1, 5});
    timeline.Run(TL_DRAG_RANGE, TA_ROWS, {-1, 5});
    ASSERT_TRUE(timeline.DragBlock(block));
    EXPECT_EQ(block, (strGridBlock{0, 5, kFrames - 1, 5}));

    Select({3, 3, 3, 3});
    timeline.Run(TL_DRAG_RANGE, TA_CELLS, {3, 3});
    EXPECT_FALSE(timeline.DragBlock(block)) << "a single grid cell clears it";
}

TEST_F(TimelineTest, DialogsOpenWithTheSelection)
{
    Store(3, 1, CellXY(1));
    Select({2, -1, 5, kCells - 1});
    ASSERT_TRUE(timeline.Run(IDM_CELL_DIALOG, TA_FRAMES, {3, -1}));
    ASSERT_TRUE(timeline.Run(TL_AT_ONCE, TA_FRAMES, {3, -1}));
    EXPECT_FALSE(timeline.Run(TL_FRAME_COMP, TA_FRAMES, {3, -1}));

    Click({3, 1}, false);
    ASSERT_TRUE(timeline.Run(IDM_CELL_DIALOG, TA_CELLS, {3, 1}));
    EXPECT_FALSE(timeline.Run(IDM_CELL_DIALOG, TA_CELLS, {3, 2})) << "only for an existing cell";
    Select({1, 0, 4, 2});
    ASSERT_TRUE(timeline.Run(TL_FRAME_COMP, TA_CELLS, {1, 0}));

    EXPECT_FALSE(timeline.Run(IDM_CELL_DIALOG, TA_ROWS, {-1, 4})) << "only with fixed pictures";
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    Select({-1, 4, kFrames - 1, 6});
    ASSERT_TRUE(timeline.Run(IDM_CELL_DIALOG, TA_ROWS, {-1, 4}));
    ASSERT_TRUE(timeline.Run(TL_FRAME_COMP, TA_ROWS, {-1, 4}));

    // A double click on a column header asks for the interval of that frame.
    timeline.DoubleClick(px(7), py(-1), 0);

    using D = std::pair<int, strGridBlock>;
    const std::vector<D> expected = {
        {WK_INTERVAL, {2, 0, 5, kCells - 1}},
        {WK_AT_ONCE, {2, 0, 5, kCells - 1}},
        {WK_CELL, {3, 1, 3, 1}},
        {WK_FRAME_COMP, {1, 0, 4, 2}},
        {WK_FIX_CELL_S, {0, 4, 0, 4}},
        {WK_FRAME_COMP, {0, 4, kFrames - 1, 6}},
        {WK_INTERVAL, {7, 0, 7, kCells - 1}},
    };
    EXPECT_EQ(host.dialogs, expected);
}

TEST_F(TimelineTest, LabelsShowFixedPicturesAndTheCurrentFrame)
{
    EXPECT_EQ(timeline.RowLabel(2), "2");
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p.SetFixPicture(2, 5);
    EXPECT_EQ(timeline.RowLabel(2), "2 [5]");
    p.SetInterval(3, 4);
    Click({3, 0});
    EXPECT_EQ(timeline.CornerText(), "  3,  4");
    EXPECT_EQ(timeline.ColumnLabel(3), "3");
    EXPECT_EQ(timeline.ColumnLabel(4), "");
    EXPECT_EQ(timeline.ColumnLabel(10), "10");
}

TEST_F(TimelineTest, RightArrowPastTheLastFrameAddsOneWhenAllowed)
{
    host.settings.NewFrameFlag = false;
    timeline.MoveFocus({kFrames - 1, 2}, 0);
    timeline.Key(KK_RIGHT, 0);
    EXPECT_EQ(p.GetValue(AI_FRAMES), kFrames);

    host.settings.NewFrameFlag = true;
    timeline.Key(KK_RIGHT, 0);
    EXPECT_EQ(p.GetValue(AI_FRAMES), kFrames + 1);
    EXPECT_EQ(timeline.Columns(), kFrames + 1);
    EXPECT_EQ(timeline.Focus(), (strGridPos{kFrames, 2}));
    EXPECT_EQ(host.chosen.back(), kFrames);
    EXPECT_EQ(UndoSteps(), 1);
}

TEST_F(TimelineTest, KeyCommandsActOnTheSelection)
{
    Store(4, 4, CellXY(4));
    Select({4, 4, 5, 5});
    EXPECT_FALSE(timeline.HandlesKeyCommand(IDM_INSERT_FRAME)) << "insert belongs to the frame header";
    EXPECT_FALSE(timeline.HandlesKeyCommand(40023)) << "next frame is not the timeline's";
    EXPECT_TRUE(timeline.HandlesKeyCommand(IDM_DELETE));
    ASSERT_TRUE(timeline.RunKeyCommand(IDM_DELETE));
    EXPECT_EQ(p.GetCell(4, 4), nullptr);

    timeline.Select(nullptr);
    EXPECT_FALSE(timeline.HandlesKeyCommand(IDM_DELETE));
}
