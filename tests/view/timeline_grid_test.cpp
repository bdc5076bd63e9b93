// The timeline grid without a window: geometry, hit areas, mouse and key
// selection, and what a change of the grid size keeps.

#include "view/Keyframe.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kCols = 10, kRows = 8;

// A grid that records its hooks.
class cRecordingGrid : public cKeyframe {
public:
    cRecordingGrid()
    {
        Reset(kCols, kRows);
        SetViewSize(1000, 1000);
    }
    std::vector<strGridPos> focusChanges;
    int selectionChanges = 0, doubleClicks = 0, pastEnd = 0;

protected:
    void OnFocusChanged() override { focusChanges.push_back(Focus()); }
    void OnSelectionChanged() override { ++selectionChanges; }
    void OnDoubleClick(const strGridHit&) override { ++doubleClicks; }
    void OnFocusPastEnd(bool column) override { pastEnd += column ? 1 : 10; }
};

// The client point in the middle of a grid position (header indices -1).
int px(int col) { return col < 0 ? 5 : 32 + col * 16 + 8; }
int py(int row) { return row < 0 ? 8 : 16 + row * 20 + 10; }

void press(cKeyframe& g, strGridPos p, bool left = true, int mods = 0)
{
    g.MouseDown(px(p.col), py(p.row), left, mods);
}

} // namespace

TEST(TimelineGrid, EdgesAndHitAreas)
{
    cRecordingGrid g;
    g.SetViewSize(200, 120);
    EXPECT_EQ(g.ColumnX(0), 32);
    EXPECT_EQ(g.ColumnX(3), 80);
    EXPECT_EQ(g.RowY(2), 56);
    struct Case {
        int x, y, area, col, row;
    };
    const Case cases[] = {
        {5, 5, 0, -1, -1}, // top-left corner belongs to no area
        {32, 0, TA_FRAMES, 0, -1},  {47, 15, TA_FRAMES, 0, -1}, {48, 15, TA_FRAMES, 1, -1},
        {31, 16, TA_ROWS, -1, 0},   {0, 36, TA_ROWS, -1, 1},    {48, 36, TA_CELLS, 1, 1},
        {191, 119, TA_CELLS, 9, 5}, {200, 50, 0, 0, 0},         {-1, 50, 0, 0, 0}, // outside the view
    };
    for (const Case& c : cases) {
        const strGridHit hit = g.HitTest(c.x, c.y);
        EXPECT_EQ(hit.area, c.area) << c.x << "," << c.y;
        if (c.area != 0 || (c.col < 0 && c.row < 0)) {
            EXPECT_EQ(hit.pos, (strGridPos{c.col, c.row})) << c.x << "," << c.y;
        }
    }
    // Past the last column or row is outside as well.
    g.SetGridSize(3, 2);
    EXPECT_EQ(g.HitTest(32 + 3 * 16, 20).area, 0);
    EXPECT_EQ(g.HitTest(40, 16 + 2 * 20).area, 0);
}

TEST(TimelineGrid, ScrollingMovesEdgesAndHitsAndStaysInRange)
{
    cRecordingGrid g;
    g.SetGridSize(100, 20);
    g.SetViewSize(200, 116); // 168 pixels of columns, 100 of rows
    EXPECT_EQ(g.MaxScrollX(), 100 * 16 - 168);
    EXPECT_EQ(g.MaxScrollY(), 20 * 20 - 100);
    g.SetScroll(20, 30);
    EXPECT_EQ(g.ColumnX(2), 2 * 16 + 32 - 20);
    EXPECT_EQ(g.RowY(1), 1 * 20 + 16 - 30);
    EXPECT_EQ(g.HitTest(32, 16).pos, (strGridPos{1, 1}));
    int first, last;
    g.VisibleColumns(first, last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, (20 + 167) / 16);
    g.SetScroll(-5, 99999);
    EXPECT_EQ(g.ScrollX(), 0);
    EXPECT_EQ(g.ScrollY(), g.MaxScrollY());
    g.EnsureVisible({50, -1});
    EXPECT_EQ(g.ScrollX(), 51 * 16 - 168);
    g.EnsureVisible({3, 0});
    EXPECT_EQ(g.ScrollX(), 3 * 16);
    EXPECT_EQ(g.ScrollY(), 0);
    // A grid shrinking under the scroll position pulls it back.
    g.SetGridSize(5, 2);
    EXPECT_EQ(g.ScrollX(), 0);
}

// One mouse gesture: presses (the last may be dragged to `to`) and the selection after it.
struct strMouseCase {
    const char* name;
    std::vector<std::pair<strGridPos, int>> presses; // position, modifiers
    strGridPos dragTo;                               // {-9, -9}: no drag
    bool selected;
    strGridRect expected;
};

class TimelineMouse : public ::testing::TestWithParam<strMouseCase> {};

TEST_P(TimelineMouse, Selects)
{
    const strMouseCase& c = GetParam();
    cRecordingGrid g;
    for (const auto& [pos, mods] : c.presses) {
        press(g, pos, true, mods);
        if (c.dragTo.col == -9)
            g.MouseUp();
    }
    if (c.dragTo.col != -9) {
        EXPECT_TRUE(g.MouseMove(px(c.dragTo.col), py(c.dragTo.row)));
        g.MouseUp();
    }
    EXPECT_FALSE(g.MouseMove(300, 300)) << "no rubber band after the release";
    ASSERT_EQ(g.HasSelection(), c.selected);
    if (c.selected) {
        EXPECT_EQ(g.Selection(), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Gestures, TimelineMouse,
    ::testing::Values(
        strMouseCase{"ColumnHeader", {{{4, -1}, 0}}, {-9, -9}, true, {4, -1, 4, kRows - 1}},
        strMouseCase{"RowHeader", {{{-1, 2}, 0}}, {-9, -9}, true, {-1, 2, kCols - 1, 2}},
        strMouseCase{"Cell", {{{3, 5}, 0}}, {-9, -9}, true, {3, 5, 3, 5}},
        strMouseCase{"CornerClears", {{{3, 5}, 0}, {{-1, -1}, 0}}, {-9, -9}, false, {}},
        strMouseCase{"ColumnDrag3To7", {{{3, -1}, 0}}, {7, 2}, true, {3, -1, 7, kRows - 1}},
        strMouseCase{"ColumnDragBackwards", {{{7, -1}, 0}}, {3, -1}, true, {3, -1, 7, kRows - 1}},
        strMouseCase{"RowDrag", {{{-1, 6}, 0}}, {5, 1}, true, {-1, 1, kCols - 1, 6}},
        strMouseCase{"CellDragRectangle", {{{6, 1}, 0}}, {2, 4}, true, {2, 1, 6, 4}},
        strMouseCase{"CellDragPastTheEdgeClamps", {{{6, 1}, 0}}, {60, 40}, true, {6, 1, kCols - 1, kRows - 1}},
        strMouseCase{"ShiftExtendsCells", {{{2, 2}, 0}, {{5, 0}, KM_SHIFT}}, {-9, -9}, true, {2, 0, 5, 2}},
        strMouseCase{"ShiftExtendsColumns", {{{2, -1}, 0}, {{6, -1}, KM_SHIFT}}, {-9, -9}, true, {2, -1, 6, kRows - 1}},
        strMouseCase{"ShiftExtendsRows", {{{-1, 5}, 0}, {{-1, 3}, KM_SHIFT}}, {-9, -9}, true, {-1, 3, kCols - 1, 5}},
        strMouseCase{
            "ShiftOnOtherAreaSelectsAfresh", {{{2, 2}, 0}, {{6, -1}, KM_SHIFT}}, {-9, -9}, true, {6, -1, 6, kRows - 1}},
        strMouseCase{"ShiftKeepsTheAnchor",
                     {{{2, 2}, 0}, {{5, 5}, KM_SHIFT}, {{0, 0}, KM_SHIFT}},
                     {-9, -9},
                     true,
                     {0, 0, 2, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TimelineGrid, RightClickKeepsASelectionThatHoldsThePoint)
{
    cRecordingGrid g;
    press(g, {2, 1});
    g.MouseMove(px(6), py(4));
    g.MouseUp();
    EXPECT_EQ(g.MouseDown(px(4), py(3), false, 0), TA_CELLS);
    EXPECT_EQ(g.Selection(), (strGridRect{2, 1, 6, 4}));
    EXPECT_EQ(g.DragFlags(), 0) << "the right button starts no rubber band";
    // A cell of a column-header selection lies inside it as well.
    press(g, {3, -1});
    g.MouseUp();
    EXPECT_EQ(g.MouseDown(px(3), py(6), false, 0), TA_CELLS);
    EXPECT_EQ(g.Selection(), (strGridRect{3, -1, 3, kRows - 1}));
    // Outside it the click selects anew.
    EXPECT_EQ(g.MouseDown(px(8), py(-1), false, 0), TA_FRAMES);
    EXPECT_EQ(g.Selection(), (strGridRect{8, -1, 8, kRows - 1}));
    EXPECT_EQ(g.MouseDown(5, 5, false, 0), 0);
    EXPECT_FALSE(g.HasSelection());
}

TEST(TimelineGrid, DragFlagsTellTheAreaWhileTheButtonIsHeld)
{
    cRecordingGrid g;
    press(g, {-1, 1});
    EXPECT_EQ(g.DragFlags(), KD_LEFT | KD_ROWS);
    g.MouseUp();
    press(g, {1, -1});
    EXPECT_EQ(g.DragFlags(), KD_LEFT | KD_COLUMNS);
    g.MouseUp();
    press(g, {1, 1});
    EXPECT_EQ(g.DragFlags(), KD_LEFT | KD_CELLS);
    g.MouseUp();
    EXPECT_EQ(g.DragFlags(), 0);
}

TEST(TimelineGrid, ClicksMoveTheFocusAndDoubleClicksCallTheHook)
{
    cRecordingGrid g;
    press(g, {3, 2});
    press(g, {3, 2});
    press(g, {-1, 4});
    ASSERT_EQ(g.focusChanges.size(), 2u) << "an unchanged focus is not reported";
    EXPECT_EQ(g.focusChanges[1], (strGridPos{-1, 4}));
    EXPECT_EQ(g.DoubleClick(px(5), py(-1), 0), TA_FRAMES);
    EXPECT_EQ(g.doubleClicks, 1);
    EXPECT_EQ(g.Selection(), (strGridRect{5, -1, 5, kRows - 1}));
    EXPECT_EQ(g.DoubleClick(5, 5, 0), 0);
    EXPECT_EQ(g.doubleClicks, 1);
}

TEST(TimelineGrid, ArrowKeysMoveTheFocusAndShiftExtends)
{
    cRecordingGrid g;
    EXPECT_TRUE(g.Key(KK_RIGHT, 0));
    EXPECT_EQ(g.Focus(), (strGridPos{0, 0})) << "the first key puts the focus on the marker column";
    g.Key(KK_RIGHT, 0);
    g.Key(KK_DOWN, 0);
    EXPECT_EQ(g.Focus(), (strGridPos{1, 1}));
    EXPECT_EQ(g.Selection(), (strGridRect{1, 1, 1, 1}));
    g.Key(KK_RIGHT, KM_SHIFT);
    g.Key(KK_RIGHT, KM_SHIFT);
    g.Key(KK_DOWN, KM_SHIFT);
    EXPECT_EQ(g.Selection(), (strGridRect{1, 1, 3, 2}));
    // Up into the column header and left into the row header, never the corner.
    g.Key(KK_UP, 0);
    g.Key(KK_UP, 0);
    g.Key(KK_UP, 0);
    g.Key(KK_UP, 0);
    EXPECT_EQ(g.Focus(), (strGridPos{3, -1}));
    EXPECT_EQ(g.Selection(), (strGridRect{3, -1, 3, kRows - 1}));
    for (int i = 0; i < 5; ++i)
        g.Key(KK_LEFT, 0);
    EXPECT_EQ(g.Focus(), (strGridPos{0, -1}));
    g.Key(KK_DOWN, 0);
    g.Key(KK_LEFT, 0);
    g.Key(KK_LEFT, 0);
    EXPECT_EQ(g.Focus(), (strGridPos{-1, 0}));
    g.Key(KK_UP, 0);
    EXPECT_EQ(g.Focus(), (strGridPos{-1, 0}));
    EXPECT_EQ(g.Selection(), (strGridRect{-1, 0, kCols - 1, 0}));
}

TEST(TimelineGrid, KeysPastTheEndCallTheHook)
{
    cRecordingGrid g;
    g.MoveFocus({kCols - 1, kRows - 1}, 0);
    g.Key(KK_RIGHT, 0);
    g.Key(KK_DOWN, 0);
    EXPECT_EQ(g.pastEnd, 11);
    EXPECT_EQ(g.Focus(), (strGridPos{kCols - 1, kRows - 1}));
}

TEST(TimelineGrid, ResizeKeepsStateLimitedAndResetClearsIt)
{
    cRecordingGrid g;
    press(g, {2, -1});
    g.MouseMove(px(8), py(0));
    g.MouseUp();
    const strGridRect clip{4, 3, 9, 7};
    g.SetClipRect(&clip);
    g.SetDragRange(&clip);
    g.SetGridSize(6, 12);
    EXPECT_EQ(g.Selection(), (strGridRect{2, -1, 5, 11})) << "a column selection spans the new rows";
    EXPECT_EQ(g.ClipRect(), (strGridRect{4, 3, 5, 7}));
    EXPECT_EQ(g.Focus(), (strGridPos{2, -1}));
    g.SetGridSize(2, 12);
    EXPECT_FALSE(g.HasSelection()) << "a selection left wholly outside is dropped";
    EXPECT_FALSE(g.HasClipRect());
    EXPECT_FALSE(g.HasDragRange());
    EXPECT_EQ(g.Focus(), (strGridPos{1, -1}));

    g.SetScroll(10, 10);
    g.SetMarker(1);
    press(g, {1, 1});
    g.SetDragRange(&clip);
    g.Reset(40, 3);
    EXPECT_FALSE(g.HasSelection());
    EXPECT_FALSE(g.HasDragRange());
    EXPECT_EQ(g.Focus(), (strGridPos{-1, -1}));
    EXPECT_EQ(g.Marker(), 0);
    EXPECT_EQ(g.ScrollX(), 0);
}

TEST(TimelineGrid, LabelsEveryFifthColumnAndTheMarker)
{
    cRecordingGrid g;
    g.SetMarker(7);
    std::vector<int> labelled;
    for (int c = -1; c < kCols; ++c)
        if (g.HasColumnLabel(c))
            labelled.push_back(c);
    EXPECT_EQ(labelled, (std::vector<int>{0, 5, 7}));
}
