// Canvas editing without a window: picking cells, each gesture's stored result as
// one undo step, snapping, the drag range, and the keyboard operations.

#include "support/EditFixture.h"

#include "view/CanvasEdit.h"

#include <cmath>

namespace {

strCanvasKeys Keys(bool shift = false, bool ctrl = false, bool a = false, bool s = false, bool g = false)
{
    return strCanvasKeys{shift, ctrl, a, s, g};
}

strCell Cell(int x, int y, int picture = 0)
{
    strCell c = CellXY(x, y);
    c.picture = uint8_t(picture);
    return c;
}

class CanvasEditTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        Frames(8, 6);
        // Picture 0 is loaded with 32 x 32 patterns; other pictures are not loaded.
        edit.SetPatternSize([](int picture, int& w, int& h) {
            w = h = 32;
            return picture == 0;
        });
        edit.SetProject(&p);
        edit.SetOptions([this] { return EditOptionsOf(settings); });
        edit.SetCurrent(4);
    }
    // A whole drag: press, one move, release.
    unsigned Drag(strCanvasPoint from, strCanvasPoint to, const strCanvasKeys& keys = Keys())
    {
        edit.LeftDown(from, keys);
        edit.MouseMove(to, keys);
        return edit.LeftUp(to, keys);
    }
    const strCell& At(int f, int k) const { return *p.GetCell(f, k); }
    std::vector<int> Selected() const
    {
        std::vector<int> out;
        for (int k = 0; k < p.CellCount(); ++k)
            if (edit.IsSelected(k))
                out.push_back(k);
        return out;
    }

    cCanvasEdit edit;
};

} // namespace

TEST_F(CanvasEditTest, ClickSelectsTopMostAndCtrlAddsTopMostUnselected)
{
    Store(4, 0, Cell(0, 0));
    Store(4, 1, Cell(10, 0));
    Store(4, 2, Cell(12, 0, 9)); // its picture is not loaded: never hit
    Store(4, 3, Cell(200, 0));

    edit.SelectAt({5, 0}, false);
    EXPECT_EQ(Selected(), std::vector<int>({1}));
    EXPECT_EQ(edit.Focus(), 1);
    EXPECT_EQ(edit.Selection()[0] & kCellHover, kCellHover);
    EXPECT_EQ(edit.Selection()[2] & kCellHover, 0);

    edit.SelectAt({5, 0}, true);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1}));
    EXPECT_EQ(edit.Focus(), 0);
    edit.SelectAt({5, 0}, true); // nothing unselected left under the point
    EXPECT_EQ(Selected(), std::vector<int>({0, 1}));
    EXPECT_EQ(edit.Focus(), -1);

    edit.SelectAt({200, 0}, true);
    edit.SelectAt({5, 0}, false);
    EXPECT_EQ(Selected(), std::vector<int>({1})) << "a selected cell under the point stays alone";
    EXPECT_EQ(edit.Focus(), 1);

    edit.SelectAt({500, 500}, false);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(edit.Focus(), -1);
}

TEST_F(CanvasEditTest, MoveStoresOneStepWithAndWithoutGrid)
{
    Store(4, 0, Cell(0, 0));
    Store(4, 1, Cell(100, 100));
    settings.GridBit = 0;
    const std::string before = ModelText(p);

    EXPECT_TRUE(Drag({5, 5}, {18, -2}) & CR_STORED);
    EXPECT_EQ(At(4, 0).x, 13);
    EXPECT_EQ(At(4, 0).y, -7);
    EXPECT_EQ(At(4, 1).x, 100) << "unselected cells stay";
    EXPECT_EQ(history.UndoCount(), 1);
    EXPECT_EQ(edit.Mode(), CM_IDLE);
    EXPECT_EQ(edit.Selection()[0], kCellSelected) << "moving and hover bits cleared";
    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    EXPECT_EQ(ModelText(p), before);

    settings.GridBit = GRID_POSITION;
    settings.PostGrid = 8;
    Drag({5, 5}, {18, -2});
    EXPECT_EQ(At(4, 0).x, 16);
    EXPECT_EQ(At(4, 0).y, -8);
    history.Restore(p, RESTORE_UNDO);
    Drag({5, 5}, {18, -2}, Keys(true));
    EXPECT_EQ(At(4, 0).x, 13) << "SHIFT suppresses the snap";
}

TEST_F(CanvasEditTest, MoveFollowsTheZoomAndShowsTheDragBeforeStoring)
{
    Store(4, 0, Cell(0, 0));
    settings.GridBit = 0;
    edit.SetView({2, 100, 100}); // window = animation × 2 + 100
    edit.LeftDown({110, 110}, Keys());
    edit.MouseMove({137, 90}, Keys());
    strCell shown;
    ASSERT_TRUE(edit.DisplayedCell(0, shown));
    EXPECT_EQ(shown.x, 13); // 27 / 2 truncated
    EXPECT_EQ(shown.y, -10);
    EXPECT_EQ(At(4, 0).x, 0) << "nothing stored while dragging";
    EXPECT_NE(edit.InfoText().find("[13 , -10]"), std::string::npos) << edit.InfoText();
    edit.LeftUp({137, 90}, Keys());
    EXPECT_EQ(At(4, 0).x, 13);
}

TEST_F(CanvasEditTest, DialogWorkingCopyIsShownUntilADragMovesTheCell)
{
    Store(4, 0, Cell(0, 0));
    edit.SetPreview([](int f, int k, strCell& out) {
        if (f != 4 || k != 0)
            return false;
        out = Cell(7, 7);
        return true;
    });
    strCell shown;
    ASSERT_TRUE(edit.DisplayedCell(0, shown));
    EXPECT_EQ(shown.x, 7);
    EXPECT_FALSE(edit.DisplayedCell(1, shown));
    settings.GridBit = 0;
    edit.LeftDown({5, 5}, Keys());
    edit.MouseMove({6, 5}, Keys());
    ASSERT_TRUE(edit.DisplayedCell(0, shown));
    EXPECT_EQ(shown.x, 1) << "the drag shows the stored cell moved";
}

TEST_F(CanvasEditTest, GesturesThatDoNotMoveStoreNothing)
{
    // Off-grid cells with the grids on: any snap or normalisation would change them.
    settings.GridBit = GRID_POSITION | GRID_SCALE | GRID_ANGLE;
    settings.PostGrid = 8;
    settings.AngleGrid = 100;
    settings.ScaleGrid = 30;
    const struct {
        const char* what;
        strCanvasKeys keys;
        bool range;
        std::vector<strCanvasPoint> path; // press, moves…, release
    } rows[] = {
        {"click", Keys(), false, {{-57, 3}, {-57, 3}}},
        {"click inside the edge size", Keys(), false, {{-57, 3}, {-56, 4}, {-55, 5}}},
        {"click with a drag range", Keys(), true, {{-57, 3}, {-57, 3}}},
        {"drag back to the start", Keys(), false, {{-57, 3}, {-20, 40}, {-57, 3}}},
        {"drag back with a drag range", Keys(), true, {{-57, 3}, {-20, 40}, {-56, 3}}},
        {"A-click away from the centre", Keys(false, false, true), false, {{-50, 3}, {-50, 3}}},
        {"A-drag back to the start", Keys(false, false, true), false, {{-50, 3}, {-57, 20}, {-50, 3}}},
        {"S-click away from the centre", Keys(false, false, false, true), false, {{-50, 3}, {-50, 3}}},
        {"S-drag back with a drag range", Keys(false, false, false, true), true, {{-50, 3}, {-40, 3}, {-50, 4}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        for (int f = 0; f < 8; ++f)
            for (int k = 0; k < 4; ++k) {
                strCell c = Cell(-57 + k * 200, 3 + f);
                c.angle = 123;
                c.scaleX = 101;
                p.SetCell(f, k, &c); // the same cells again after the first row
            }
        history.SetCapacity(-1);
        edit.SetDragRange(r.range ? strCanvasRange{true, 1, 6, 0, 3} : strCanvasRange{});
        const std::string before = ModelText(p);
        unsigned result = edit.LeftDown(r.path.front(), r.keys);
        for (size_t i = 1; i + 1 < r.path.size(); ++i)
            result |= edit.MouseMove(r.path[i], r.keys);
        result |= edit.LeftUp(r.path.back(), r.keys);
        EXPECT_FALSE(result & CR_STORED);
        EXPECT_EQ(ModelText(p), before);
        EXPECT_EQ(history.UndoCount(), 0);
        EXPECT_TRUE(edit.IsSelected(0)) << "the click still selects";
        EXPECT_EQ(edit.Mode(), CM_IDLE);
    }
    // A double click (press, release, double-click, release) opens the dialog and stores nothing.
    const std::string before = ModelText(p);
    edit.LeftDown({-57, 3}, Keys());
    edit.LeftUp({-57, 3}, Keys());
    EXPECT_TRUE(edit.DoubleClick({-57, 3}, Keys()) & CR_CELL_DIALOG);
    edit.LeftUp({-57, 3}, Keys());
    EXPECT_EQ(ModelText(p), before);
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(CanvasEditTest, SnapWaitsForTheMouseToLeaveTheEdgeSquare)
{
    settings.GridBit = GRID_POSITION;
    settings.PostGrid = 8;
    Store(4, 0, Cell(-57, 3));
    edit.LeftDown({-57, 3}, Keys());
    edit.MouseMove({-56, 3}, Keys());
    strCell shown;
    ASSERT_TRUE(edit.DisplayedCell(0, shown));
    EXPECT_EQ(shown.x, -56) << "no snap while the mouse has not moved";
    EXPECT_FALSE(edit.Snapping());
    edit.MouseMove({-40, 3}, Keys());
    EXPECT_TRUE(edit.Snapping());
    EXPECT_TRUE(edit.LeftUp({-40, 3}, Keys()) & CR_STORED);
    EXPECT_EQ(At(4, 0).x, -40);
    EXPECT_EQ(At(4, 0).y, 0) << "snapped once moved";
}

TEST_F(CanvasEditTest, EscapeCancelsEveryGestureWithoutStoring)
{
    settings.GridBit = 0;
    Store(4, 0, Cell(0, 0));
    const std::string before = ModelText(p);
    struct Row {
        const char* what;
        int tool;
        strCanvasKeys keys;
    };
    for (const Row& r : {Row{"move", TOOL_MOVE, Keys()}, Row{"rotate", TOOL_MOVE, Keys(false, false, true)},
                         Row{"scale", TOOL_MOVE, Keys(false, false, false, true)}}) {
        SCOPED_TRACE(r.what);
        edit.SetTool(r.tool);
        edit.LeftDown({10, 0}, r.keys);
        edit.MouseMove({30, 25}, r.keys);
        ASSERT_NE(edit.Mode(), CM_IDLE);
        EXPECT_TRUE(edit.CancelDrag());
        strCell shown;
        ASSERT_TRUE(edit.DisplayedCell(0, shown));
        EXPECT_EQ(shown, At(4, 0)) << "the cell shows where it was";
        EXPECT_EQ(edit.LeftUp({30, 25}, r.keys), unsigned(CR_NONE));
        EXPECT_EQ(ModelText(p), before);
    }
    edit.SetTool(TOOL_SWING); // a swing waiting for its finishing click
    edit.LeftDown({0, 0}, Keys());
    edit.LeftUp({40, 0}, Keys());
    edit.MouseMove({40, 40}, Keys());
    ASSERT_EQ(edit.Mode(), CM_SWING);
    EXPECT_TRUE(edit.CancelDrag());
    EXPECT_EQ(edit.LeftDown({40, 40}, Keys()) & CR_STORED, 0u) << "the next click starts afresh";
    EXPECT_EQ(ModelText(p), before);
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(CanvasEditTest, HitTestPrefersAVisiblePixelOverABigClearQuad)
{
    // Cell 3 is a large pattern that is clear except for a 4-pixel border; cell 1 is
    // small and opaque. Pattern sizes: picture 0 is 32 × 32, picture 1 is 200 × 200.
    edit.SetPatternSize([](int picture, int& w, int& h) {
        w = h = picture == 1 ? 200 : 32;
        return picture <= 1;
    });
    edit.SetTransparentPixel([](int picture, int, int px, int py) {
        const bool border = px < 4 || py < 4 || px >= 196 || py >= 196;
        return picture == 1 && !border;
    });
    Store(4, 1, Cell(50, 0));
    Store(4, 3, Cell(0, 0, 1));
    const struct {
        strCanvasPoint at;
        int expected;
    } rows[] = {
        {{50, 0}, 1},   // the small cell under the big clear one
        {{-20, 30}, 3}, // only the big cell's quad: the quad rule
        {{-98, 0}, 3},  // the big cell's visible border
        {{300, 0}, -1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(edit.HitTest(r.at), r.expected) << r.at.x << "," << r.at.y;
        edit.SelectAt(r.at, false);
        EXPECT_EQ(edit.Focus(), r.expected);
    }
}

TEST_F(CanvasEditTest, RotateWrapsIntoTheHalfTurnRange)
{
    settings.GridBit = 0;
    const struct {
        int angle;
        double degrees;
        int expected;
    } rows[] = {{1700, 200.01, 100}, {1500, 40.01, -1700}, {0, -90.01, -900}, {-1700, -20.01, 1700}};
    for (const auto& r : rows) {
        strCell c = Cell(0, 0);
        c.angle = int16_t(r.angle);
        Store(4, 0, c);
        const double t = r.degrees * 3.14159265358979 / 180;
        // Pressed 10 pixels right of the centre, released at the turned point.
        Drag({10, 0}, {float(10 * std::cos(t)), float(10 * std::sin(t))}, Keys(false, false, true));
        EXPECT_EQ(At(4, 0).angle, r.expected) << r.angle << " + " << r.degrees;
    }
}

TEST_F(CanvasEditTest, RotateAndScaleKeepOnlyTheFocusedCellAndNeedDistance)
{
    Store(4, 0, Cell(0, 0));
    Store(4, 1, Cell(100, 0));
    EXPECT_EQ(edit.LeftDown({1, 1}, Keys(false, false, false, true)), unsigned(CR_REDRAW));
    EXPECT_EQ(edit.Mode(), CM_IDLE) << "too close to the cell's centre to measure";

    // CTRL+S on cell 0 while cell 1 is selected: scale by 15 / 10 with the scale grid of 10.
    edit.SelectAt({100, 0}, false);
    Drag({0, 10}, {0, 15}, Keys(false, true, false, true));
    EXPECT_EQ(Selected(), std::vector<int>({0}));
    EXPECT_EQ(At(4, 0).scaleX, 150);
    EXPECT_EQ(At(4, 0).scaleY, 150);
    EXPECT_EQ(At(4, 1).scaleX, 100);
}

TEST_F(CanvasEditTest, DragRangeAppliesTheDragToABlockOfFrames)
{
    settings.GridBit = 0;
    for (int f = 0; f < 8; ++f)
        for (int k = 0; k < 6; ++k)
            Store(f, k, Cell(k * 100, f * 100));
    edit.SetDragRange({true, 2, 6, 0, 3});
    Drag({105, 405}, {115, 405}); // cell 1 of frame 4
    for (int f = 0; f < 8; ++f)
        for (int k = 0; k < 6; ++k) {
            const bool moved = f >= 2 && f <= 6 && k <= 3;
            EXPECT_EQ(At(f, k).x, k * 100 + (moved ? 10 : 0)) << f << "," << k;
        }
    EXPECT_EQ(history.UndoCount(), 1);

    Drag({505, 405}, {515, 405}); // cell 5 lies outside the range's cell numbers
    EXPECT_EQ(At(4, 5).x, 510);
    EXPECT_EQ(At(3, 5).x, 500);
    EXPECT_EQ(At(4, 4).x, 400);

    edit.SetCurrent(7); // outside the range's frames: only the current frame
    Drag({105, 705}, {115, 705});
    EXPECT_EQ(At(7, 1).x, 110);
    EXPECT_EQ(At(6, 1).x, 110);
}

TEST_F(CanvasEditTest, SwingTurnsAndScalesAboutThePivot)
{
    Store(4, 0, Cell(100, 0));
    Store(4, 1, Cell(300, 300));
    edit.SetTool(TOOL_SWING);
    edit.SelectAt({100, 0}, false);
    edit.LeftDown({0, 0}, Keys(false, true)); // CTRL keeps the selection on empty space
    EXPECT_EQ(edit.Mode(), CM_GUIDE);
    edit.LeftUp({50, 0}, Keys());
    ASSERT_EQ(edit.Mode(), CM_SWING);
    edit.MouseMove({0, 100}, Keys());
    EXPECT_TRUE(edit.SwingText() == "900,200" || edit.SwingText() == "900,199") << edit.SwingText();
    EXPECT_EQ(At(4, 0).x, 100) << "the swing is stored by the finishing click";
    EXPECT_TRUE(edit.LeftDown({0, 100}, Keys()) & CR_STORED);
    const strCell& c = At(4, 0);
    EXPECT_EQ(c.x, 0);
    EXPECT_EQ(c.y, 200);
    EXPECT_EQ(c.angle, 900);
    EXPECT_EQ(c.scaleX, 200);
    EXPECT_EQ(At(4, 1).x, 300);
    EXPECT_EQ(edit.Mode(), CM_IDLE);
    EXPECT_EQ(history.UndoCount(), 1);
}

TEST_F(CanvasEditTest, SwingWithoutMovementOrSelectionEnds)
{
    Store(4, 0, Cell(100, 0));
    edit.SetTool(TOOL_SWING);
    edit.LeftDown({100, 0}, Keys());
    edit.LeftUp({101, 1}, Keys());
    EXPECT_EQ(edit.Mode(), CM_IDLE);
    edit.LeftDown({0, 0}, Keys()); // empty space: nothing selected
    edit.LeftUp({50, 0}, Keys());
    EXPECT_EQ(edit.Mode(), CM_IDLE);
}

TEST_F(CanvasEditTest, SplineGestureGivesTheThreePoints)
{
    Store(4, 2, Cell(10, 20));
    edit.SetTool(TOOL_SPLINE);
    edit.SetView({1, 5, 5});
    edit.LeftDown({15, 25}, Keys());
    ASSERT_EQ(edit.Mode(), CM_GUIDE);
    edit.LeftUp({105, 105}, Keys());
    ASSERT_EQ(edit.Mode(), CM_BEND);
    edit.MouseMove({105, 5}, Keys());
    const std::vector<strCanvasPoint> curve = edit.BendCurve();
    ASSERT_EQ(curve.size(), 21u);
    EXPECT_FLOAT_EQ(curve.back().x, 105);
    EXPECT_FLOAT_EQ(curve.front().y, 25);
    EXPECT_TRUE(edit.LeftDown({105, 5}, Keys()) & CR_SPLINE_DIALOG);
    const strCanvasPoint* s = edit.SplinePoints();
    EXPECT_FLOAT_EQ(s[0].x, 10);
    EXPECT_FLOAT_EQ(s[0].y, 20);
    EXPECT_FLOAT_EQ(s[1].x, 100);
    EXPECT_FLOAT_EQ(s[1].y, 0);
    EXPECT_FLOAT_EQ(s[2].x, 100);
    EXPECT_FLOAT_EQ(s[2].y, 100);
    EXPECT_EQ(edit.Focus(), 2);
}

TEST_F(CanvasEditTest, RightButtonCancelsAGestureWithoutStoring)
{
    Store(4, 0, Cell(0, 0));
    edit.LeftDown({5, 5}, Keys());
    edit.MouseMove({50, 5}, Keys());
    edit.RightDown({50, 5}, Keys());
    EXPECT_EQ(edit.Mode(), CM_IDLE);
    EXPECT_EQ(edit.LeftUp({50, 5}, Keys()), unsigned(CR_NONE));
    EXPECT_EQ(At(4, 0).x, 0);
}

TEST_F(CanvasEditTest, DoubleClickAsksForTheCellDialog)
{
    Store(4, 0, Cell(0, 0));
    EXPECT_TRUE(edit.DoubleClick({0, 0}, Keys()) & CR_CELL_DIALOG);
    EXPECT_FALSE(edit.DoubleClick({300, 0}, Keys()) & CR_CELL_DIALOG);
}

TEST_F(CanvasEditTest, OrderingMovesSelectedCellsWithTheirSelection)
{
    for (int k : {0, 1, 5})
        Store(4, k, Cell(k, 0));
    edit.Selection()[0] = edit.Selection()[1] = edit.Selection()[5] = kCellSelected;
    EXPECT_EQ(edit.BringForward(status), 2) << "cell 5 is already the top-most";
    EXPECT_EQ(status.last, "[2] : 手前へ");
    EXPECT_EQ(At(4, 1).x, 0);
    EXPECT_EQ(At(4, 2).x, 1);
    EXPECT_EQ(At(4, 5).x, 5);
    EXPECT_EQ(Selected(), std::vector<int>({1, 2, 5}));
    EXPECT_EQ(history.UndoCount(), 1);

    EXPECT_EQ(edit.SendBackward(status), 3);
    EXPECT_EQ(status.last, "[3] : 背面へ");
    EXPECT_EQ(At(4, 0).x, 0);
    EXPECT_EQ(At(4, 1).x, 1);
    EXPECT_EQ(At(4, 4).x, 5);
    EXPECT_EQ(Selected(), std::vector<int>({0, 1, 4}));
    ASSERT_TRUE(history.Restore(p, RESTORE_UNDO));
    EXPECT_EQ(At(4, 5).x, 5);
}

TEST_F(CanvasEditTest, DeleteAndSelectAll)
{
    Store(4, 0, Cell(0, 0));
    Store(4, 3, Cell(3, 0));
    edit.SelectAll();
    EXPECT_EQ(Selected(), std::vector<int>({0, 3}));
    edit.SelectAll();
    EXPECT_TRUE(Selected().empty()) << "select all with everything selected clears";
    edit.Selection()[3] = kCellSelected;
    edit.Selection()[5] = kCellSelected; // an empty slot
    EXPECT_EQ(edit.DeleteSelected(status), 1);
    EXPECT_EQ(status.last, "[1] : 削除");
    EXPECT_EQ(p.GetCell(4, 3), nullptr);
    history.Restore(p, RESTORE_UNDO);
    EXPECT_NE(p.GetCell(4, 3), nullptr);
}

TEST_F(CanvasEditTest, NewCellBecomesTheOnlySelectedCell)
{
    edit.Selection()[1] = kCellSelected;
    ASSERT_TRUE(edit.NewCell(3, 40, -20));
    const strCell& c = At(4, 3);
    EXPECT_EQ(c.x, 40);
    EXPECT_EQ(c.y, -20);
    EXPECT_EQ(c.opacity, 255);
    EXPECT_EQ(Selected(), std::vector<int>({3}));
    EXPECT_EQ(edit.Focus(), 3);
    EXPECT_FALSE(edit.NewCell(6, 0, 0));
    history.Restore(p, RESTORE_UNDO);
    EXPECT_EQ(p.GetCell(4, 3), nullptr);
}

TEST_F(CanvasEditTest, FirstFreeSlotHonoursFixedPictures)
{
    Store(4, 0, Cell(0, 0));
    EXPECT_EQ(FirstFreeSlot(p, 7, 4), 1);
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    p.SetFixPicture(4, 7);
    EXPECT_EQ(FirstFreeSlot(p, 7, 4), 4);
    EXPECT_EQ(FirstFreeSlot(p, 9, 4), -1);
    EXPECT_EQ(FirstFreeSlot(p, 0, 99), -1);
}

TEST_F(CanvasEditTest, InfoTextOfTheFocusedCell)
{
    strCell c = Cell(-3, 4);
    c.pattern = 2;
    c.scaleX = 150;
    c.angle = -450;
    c.opacity = 128;
    c.red = 200;
    c.green = 0;
    c.blue = 100;
    c.saturation = 50;
    Store(4, 1, c);
    EXPECT_EQ(edit.InfoText(), "");
    edit.SelectAt({-3, 4}, false);
    EXPECT_EQ(edit.InfoText(), "c:1  pi:0  pa:2 \n[-3 , 4]\n[150 , 100] \na:-450  o:128 \n[0x32c80064]");
}

TEST_F(CanvasEditTest, DraftGifDragMovesThePlacementOnly)
{
    edit.SetDraftShown(true);
    edit.SetView({2, 0, 0});
    Drag({10, 10}, {30, 20}, Keys(false, false, false, false, true));
    EXPECT_FLOAT_EQ(edit.Draft().x, 10);
    EXPECT_FLOAT_EQ(edit.Draft().y, 5);
    // Scaling with S: the unset pair (zoom alone) becomes 1 × the factor.
    Drag({30, 10}, {40, 10}, Keys(false, false, false, true, true));
    EXPECT_NEAR(edit.Draft().scaleX, 2, 1e-4);
    EXPECT_EQ(history.UndoCount(), 0);
}

TEST_F(CanvasEditTest, LocusFollowsTheSelectedFrames)
{
    for (int f : {1, 2, 3, 5, 6})
        Store(f, 2, Cell(f * 10, 0));
    const strCanvasRange sel{true, 2, 7, 1, 3};
    const std::vector<strCanvasPoint> path = LocusPath(p, 2, 4, 2, sel);
    ASSERT_EQ(path.size(), 4u); // frames 2, 3, 5 and 6; 4 is empty, 1 is outside the selection
    EXPECT_FLOAT_EQ(path[0].x, 20);
    EXPECT_FLOAT_EQ(path[3].x, 60);
    EXPECT_TRUE(LocusPath(p, 2, 1, 2, sel).empty()) << "the selection does not reach the current frame";
    EXPECT_TRUE(LocusPath(p, 0, 4, 2, sel).empty());
}
