// The canvas as a user drives it with the mouse and the keys: dragging, rotating
// with the A key, the tool commands, ordering, the cell-number chooser and the
// target and draft-GIF dialogs.

#include "support/GuiFixture.h"

#include "edit/FrameOps.h"

#include "app/DlgHost.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "render/SpriteDrawer.h"
#include "ui/CanvasDialogs.h"
#include "ui/DlgCell.h"
#include "ui/KeyframeWnd.h"
#include "ui/MainEditWnd.h"
#include "ui/Tools.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>

#include <cstring>

namespace {

// Picture 0 as a loaded 32 x 32 opaque sheet, so cells of picture 0 can be hit.
void loadSolidPicture()
{
    auto sheet = std::make_unique<cPatternSheet>();
    sheet->Create(32, 32, 32);
    sheet->SetMasks(kMaskR, kMaskG, kMaskB, kMaskA);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const uint32_t c = 0xFFC04020;
            std::memcpy(sheet->Row(y) + 4 * x, &c, 4);
        }
    sheet->Build(1, 1, 0);
    SpriteDrawer().PutSheet(std::move(sheet), 0);
}

class CanvasGui : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Start();
        canvas = window->Canvas();
        loadSolidPicture();
        for (int k : {0, 1}) {
            strCell c = strCell::New();
            c.x = int16_t(k * 100);
            ASSERT_TRUE(window->Project().SetCell(0, k, &c));
        }
        History().SetCapacity(-1);
        canvas->SetCurrentFrame(0);
    }
    void TearDown() override
    {
        SpriteDrawer().RemoveSheet(0);
        GuiTest::TearDown();
    }
    // The canvas pixel of an animation point.
    QPoint At(double x, double y) const
    {
        return QPoint(int(canvas->View().ToClientX(x)), int(canvas->View().ToClientY(y)));
    }
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mousePress(canvas, Qt::LeftButton, modifiers, from);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, modifiers, to);
    }
    const strCell* Cell(int k) const { return window->Project().GetCell(canvas->CurrentFrame(), k); }

    cMainEditWnd* canvas = nullptr;
};

} // namespace

TEST_F(CanvasGui, DragMovesTheCellAsOneUndoStep)
{
    Settings().GridBit = 0;
    const QPoint from = At(3, 2);
    Drag(from, from + QPoint(13, -7));
    ASSERT_NE(Cell(0), nullptr);
    EXPECT_EQ(Cell(0)->x, 13);
    EXPECT_EQ(Cell(0)->y, -7);
    EXPECT_EQ(Cell(1)->x, 100);
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_TRUE(canvas->Selection()[0] & kCellSelected);
    EXPECT_EQ(canvas->Edit().Focus(), 0);

    window->OnCommand(IDM_UNDO);
    EXPECT_EQ(Cell(0)->x, 0);
    EXPECT_EQ(Cell(0)->y, 0);
    EXPECT_EQ(window->StatusPart(0)->text(), "一つ戻りました");
}

TEST_F(CanvasGui, HoldingATurnsTheCell)
{
    const QPoint centre = At(100, 0);
    // The cell's centre lies between pixels: an angle grid of 10° absorbs the error of
    // measuring a quarter turn 10 pixels from it.
    Settings().AngleGrid = 100;
    QTest::keyPress(canvas, Qt::Key_A);
    Drag(centre + QPoint(10, 0), centre + QPoint(0, 10)); // a quarter turn clockwise
    QTest::keyRelease(canvas, Qt::Key_A);
    EXPECT_EQ(Cell(1)->angle, 900);
    EXPECT_EQ(Cell(1)->x, 100);
    EXPECT_EQ(History().UndoCount(), 1);
}

TEST_F(CanvasGui, ToolCommandsChooseTheGestureAndTheButton)
{
    window->OnCommand(IDM_TOOL_SWING);
    EXPECT_EQ(canvas->Edit().Tool(), TOOL_SWING);
    EXPECT_TRUE(window->EditTool()->IsChecked(IDM_TOOL_SWING));
    EXPECT_FALSE(window->EditTool()->IsChecked(IDM_TOOL_MOVE));
    // A swing: press on the cell, release beside it, move, click.
    const QPoint pivot = At(0, 0);
    QTest::mousePress(canvas, Qt::LeftButton, {}, pivot);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, pivot + QPoint(20, 0));
    EXPECT_EQ(canvas->Edit().Mode(), CM_SWING);
    QTest::mouseMove(canvas, pivot + QPoint(0, 20));
    EXPECT_TRUE(window->StatusPart(1)->text().startsWith("900,")) << window->StatusPart(1)->text().toStdString();
    QTest::mouseClick(canvas, Qt::LeftButton, {}, pivot + QPoint(0, 20));
    EXPECT_EQ(Cell(0)->angle, 900);
    EXPECT_EQ(canvas->Edit().Mode(), CM_IDLE);

    window->OnCommand(IDM_TOOL_MOVE);
    EXPECT_EQ(canvas->Edit().Tool(), TOOL_MOVE);
}

TEST_F(CanvasGui, BringForwardAndSendBackwardRunFromTheCommands)
{
    QTest::mouseClick(canvas, Qt::LeftButton, {}, At(0, 0));
    ASSERT_TRUE(canvas->Selection()[0] & kCellSelected);
    window->OnCommand(IDM_BRING_FORWARD);
    EXPECT_EQ(Cell(0)->x, 100);
    EXPECT_EQ(Cell(1)->x, 0);
    EXPECT_TRUE(canvas->Selection()[1] & kCellSelected);
    EXPECT_EQ(window->StatusPart(0)->text(), "[1] : 手前へ");
    window->OnCommand(IDM_SEND_BACKWARD);
    EXPECT_EQ(Cell(0)->x, 0);
    EXPECT_FALSE(MenuStateOf(IDM_HELP, strMenuContext()).enabled) << "the help item stays disabled";
}

TEST_F(CanvasGui, NewCellThroughTheCellNumberChooser)
{
    window->OnCommand(IDM_NEW_CELL, 1);
    cDlg_ContexCell* chooser = canvas->CellChooser();
    ASSERT_TRUE(chooser->IsOpen());
    EXPECT_EQ(chooser->windowTitle(), "新規");
    ASSERT_EQ(chooser->list->count(), window->Project().CellCount());
    EXPECT_EQ(chooser->list->item(0)->text(), "*0");
    EXPECT_EQ(chooser->list->item(2)->text(), " 2");
    chooser->list->setCurrentRow(2);
    QTest::keyClick(chooser->list, Qt::Key_Return);
    EXPECT_FALSE(chooser->IsOpen());
    ASSERT_NE(Cell(2), nullptr);
    EXPECT_EQ(Cell(2)->x, int(canvas->View().X()));
    EXPECT_EQ(Cell(2)->opacity, 255);
    EXPECT_EQ(canvas->Edit().Focus(), 2);
    EXPECT_EQ(History().UndoCount(), 1);
}

TEST_F(CanvasGui, DeleteAndSelectAllFromTheKeyboardCommands)
{
    window->OnCommand(IDM_SELECT_ALL);
    EXPECT_TRUE(canvas->AnySelected());
    window->OnCommand(IDM_DELETE);
    EXPECT_EQ(Cell(0), nullptr);
    EXPECT_EQ(Cell(1), nullptr);
    EXPECT_EQ(window->StatusPart(0)->text(), "[2] : 削除");
    window->OnCommand(IDM_UNDO);
    EXPECT_NE(Cell(1), nullptr);
}

TEST_F(CanvasGui, TargetAndGifDialogsStoreTheirSettings)
{
    cDlg_SetTarget target;
    target.Load();
    target.pathEdit->setText("対象.png");
    target.xEdit->setValue(-12);
    target.opacityEdit->setValue(99);
    target.Apply();
    EXPECT_EQ(Settings().TargetPath, "対象.png");
    EXPECT_EQ(Settings().TargetPostX, -12);
    EXPECT_EQ(Settings().TargetOpacity, 99);

    cDlg_SetGif gif;
    gif.browse = [](std::string& path) {
        path = "draft.gif";
        return true;
    };
    gif.Load();
    EXPECT_EQ(gif.speedEdit->value(), 100);
    for (QPushButton* b : gif.findChildren<QPushButton*>())
        if (b->text() == "参照")
            b->click();
    EXPECT_EQ(gif.pathEdit->text(), "draft.gif");
    gif.speedEdit->setValue(50);
    gif.Apply();
    EXPECT_EQ(Settings().GIFPath, "draft.gif");
    EXPECT_EQ(Settings().GIFSpeed, 50);
    canvas->ReloadDraftGif(); // not a GIF on disk: nothing shown, nothing fails
    EXPECT_TRUE(canvas->DraftGif().Empty());
}

TEST_F(CanvasGui, SplineGestureOpensTheDialogThatLaysTheCellAlongTheCurve)
{
    cAnimeData& p = window->Project();
    p.InsertFrames(1, 4);
    History().SetCapacity(-1);
    window->OnCommand(IDM_TOOL_SPLINE);
    QTest::mousePress(canvas, Qt::LeftButton, {}, At(0, 0));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, At(40, 40));
    ASSERT_EQ(canvas->Edit().Mode(), CM_BEND);
    QTest::mouseMove(canvas, At(40, 0));
    QTest::mousePress(canvas, Qt::LeftButton, {}, At(40, 0));
    cDlg_Spline* spline = canvas->SplineDialog();
    ASSERT_TRUE(spline->IsOpen());
    EXPECT_EQ(spline->windowTitle(), "セル_0");
    EXPECT_EQ(spline->countEdit->maximum(), 4);
    spline->countEdit->setValue(4);
    spline->gridCheck->setChecked(false);
    EXPECT_EQ(spline->Preview().size(), 4u);
    spline->Execute();
    EXPECT_FALSE(spline->IsOpen());
    for (int f = 1; f <= 4; ++f)
        ASSERT_NE(p.GetCell(f, 0), nullptr) << f;
    EXPECT_NEAR(p.GetCell(4, 0)->x, 40, 1);
    EXPECT_NEAR(p.GetCell(4, 0)->y, 40, 1);
    EXPECT_EQ(p.GetCell(0, 0)->x, 0) << "the first frame keeps its cell";
    EXPECT_EQ(History().UndoCount(), 1);
    EXPECT_EQ(window->StatusPart(0)->text(), "スプライン曲線 >> ｾﾙ [4] 枚を編集しました");
}

TEST_F(CanvasGui, TimelineDragRangeCarriesTheDragOverItsFrames)
{
    Settings().GridBit = 0;
    cAnimeData& p = window->Project();
    p.InsertFrames(1, 3);
    for (int f = 1; f <= 3; ++f)
        p.SetCell(f, 0, p.GetCell(0, 0));
    History().SetCapacity(-1);
    const strGridRect range{0, 0, 2, 1}; // frames 0-2, cell numbers 0-1
    window->Timeline()->Timeline().SetDragRange(&range);
    window->Refresh();
    const QPoint from = At(3, 2);
    Drag(from, from + QPoint(13, 0));
    for (int f = 0; f <= 3; ++f)
        EXPECT_EQ(p.GetCell(f, 0)->x, f <= 2 ? 13 : 0) << f;
    EXPECT_EQ(p.GetCell(0, 1)->x, 113) << "every cell number of the range moves with the dragged one";
    EXPECT_EQ(History().UndoCount(), 1);
}

TEST_F(CanvasGui, GestureKeysWorkWhateverWidgetHasTheFocus)
{
    // A held on the timeline, then a drag on the canvas: the cell turns.
    QApplication::setActiveWindow(window.get());
    window->Timeline()->setFocus();
    Settings().AngleGrid = 100;
    const QPoint centre = At(100, 0);
    QTest::keyPress(window->Timeline(), Qt::Key_A);
    Drag(centre + QPoint(10, 0), centre + QPoint(0, 10));
    EXPECT_EQ(Cell(1)->angle, 900);
    EXPECT_EQ(Cell(1)->x, 100) << "turned, not moved";
    EXPECT_TRUE(canvas->hasFocus()) << "a drag on the canvas takes the focus";
    QTest::keyRelease(canvas, Qt::Key_A);
    Settings().GridBit = 0;
    Drag(centre, centre + QPoint(10, 0));
    EXPECT_EQ(Cell(1)->x, 110) << "released: a plain move again";
}

TEST_F(CanvasGui, ClicksAndDoubleClicksStoreNothing)
{
    cAnimeData& p = window->Project();
    strCell c = *Cell(0);
    c.x = -57;
    p.SetCell(0, 0, &c);
    History().SetCapacity(-1);
    const QPoint at = At(-57, 0);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, at);
    EXPECT_TRUE(canvas->Selection()[0] & kCellSelected);
    QTest::keyPress(canvas, Qt::Key_A);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, at + QPoint(8, 0));
    QTest::keyRelease(canvas, Qt::Key_A);
    QTest::mouseDClick(canvas, Qt::LeftButton, {}, at);
    cDlg_Cell* dialog = window->SideWindows()->CellDialog();
    EXPECT_TRUE(dialog->IsOpen()) << "the double click opened the cell dialog";
    dialog->Close(DLG_CANCEL);
    EXPECT_EQ(Cell(0)->x, -57);
    EXPECT_EQ(History().UndoCount(), 0);
}

TEST_F(CanvasGui, EscapeCancelsARunningDrag)
{
    Settings().GridBit = 0;
    const QPoint from = At(3, 2);
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, from + QPoint(30, 0));
    QTest::keyClick(canvas, Qt::Key_Escape);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, from + QPoint(30, 0));
    EXPECT_EQ(Cell(0)->x, 0);
    EXPECT_EQ(History().UndoCount(), 0);
    EXPECT_EQ(canvas->Edit().Mode(), CM_IDLE);
}

TEST_F(CanvasGui, WheelZoomsAroundTheCursor)
{
    const QPoint cursor = At(100, 0) + QPoint(0, 40);
    const double sx = canvas->View().ToSurfaceX(cursor.x()), sy = canvas->View().ToSurfaceY(cursor.y());
    const int zoom = canvas->Zoom();
    QWheelEvent wheel(QPointF(cursor), QPointF(canvas->mapToGlobal(cursor)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    EXPECT_EQ(canvas->Zoom(), zoom + 1);
    EXPECT_NEAR(canvas->View().ToSurfaceX(cursor.x()), sx, 0.5);
    EXPECT_NEAR(canvas->View().ToSurfaceY(cursor.y()), sy, 0.5);
}

TEST_F(CanvasGui, TheCellDialogFollowsTheProject)
{
    cAnimeData& p = window->Project();
    p.InsertFrames(1, 2);
    for (int f = 1; f <= 2; ++f) {
        strCell c = *p.GetCell(0, 1);
        c.x = int16_t(100 + f);
        p.SetCell(f, 1, &c);
    }
    History().SetCapacity(-1);
    cDlg_Cell* dialog = window->SideWindows()->CellDialog();
    window->SideWindows()->OpenCellDialog(1, 1);
    ASSERT_TRUE(dialog->IsOpen());
    dialog->xSpin->setValue(500);

    // Frame 1 is deleted on the timeline: frame 2's cell slides into [1,1].
    int current = 1;
    DeleteFrame(p, current, *window);
    window->Refresh();
    EXPECT_EQ(dialog->xSpin->value(), 102) << "the dialog shows what the slot now holds";
    EXPECT_FALSE(dialog->ApplyAndClose()) << "nothing changed since it was loaded";
    EXPECT_EQ(p.GetCell(1, 1)->x, 102);

    // Undo brings the deleted frame back; the slot changes again and the dialog follows.
    window->SideWindows()->OpenCellDialog(1, 1);
    window->OnCommand(IDM_UNDO);
    EXPECT_EQ(dialog->xSpin->value(), 101);
    // The cell is deleted under the dialog: an empty slot is not edited, the dialog closes.
    p.SetCell(1, 1, nullptr);
    window->Refresh();
    EXPECT_FALSE(dialog->IsOpen());
    EXPECT_FALSE(dialog->ApplyAndClose());
    EXPECT_EQ(p.GetCell(1, 1), nullptr);
    // A new project: the slot is gone and the dialog closes.
    window->SideWindows()->OpenCellDialog(1, 1);
    p.NewProject("");
    window->Refresh();
    EXPECT_FALSE(dialog->IsOpen());
}
