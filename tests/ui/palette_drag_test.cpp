// A pattern dragged from the palette over the canvas: the preview under the cursor,
// the cell the drop would set, and the end of drop mode on drop and cancel.

#include "support/GuiFixture.h"

#include "app/DlgHost.h"
#include "model/AnimeData.h"
#include "ui/DlgPalette.h"
#include "ui/MainEditWnd.h"
#include "view/CanvasEdit.h"

#include <QImage>
#include <QTabBar>

namespace {

class PaletteDragGuiTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        Start({QString::fromStdString(Sample().string())});
        QCoreApplication::processEvents();
        canvas = window->Canvas();
        canvas->SetCurrentFrame(0);
        cDlg_Palette& palette = *Host().PaletteWindow();
        palette.tabs->setCurrentIndex(1);
        palette.surface->SetSelected(3);
    }
    cDlgHost& Host() { return *window->SideWindows(); }
    /** The drawing area as painted (the scroll bars and their corner left out). */
    QImage Shot() { return canvas->grab(QRect(QPoint(0, 0), canvas->ClientSize())).toImage(); }
    /** A canvas point (window pixels) of an animation point, with the view as drawn. */
    QPoint At(int x, int y)
    {
        Shot();
        const strCanvasPoint p = canvas->Edit().View().ToWindow(float(x), float(y));
        return QPoint(int(p.x), int(p.y));
    }
    /** The first cell number used in frame 0. */
    int UsedCell() const
    {
        const cAnimeData& p = window->Project();
        for (int k = 0; k < p.CellCount(); ++k)
            if (p.GetCell(0, k))
                return k;
        return -1;
    }
    void Drag(int phase, QPoint point) { Host().PaletteDrag(phase, canvas->mapToGlobal(point)); }

    cMainEditWnd* canvas = nullptr;
};

TEST_F(PaletteDragGuiTest, EmptySpotShowsThePatternAndTheFreeSlotThenCancelLeavesNothing)
{
    cAnimeData& p = window->Project();
    const QImage before = Shot();
    const int steps = History().UndoCount();
    Drag(PD_BEGIN, QPoint(2, 2));
    EXPECT_TRUE(canvas->Dropping());
    EXPECT_FALSE(canvas->DropOnCell());
    EXPECT_EQ(canvas->DropSlot(), FirstFreeSlot(p, 1, 0));
    EXPECT_NE(Shot(), before) << "the pattern and the slot label are shown";

    Drag(PD_MOVE, QPoint(-40, 5));
    EXPECT_FALSE(canvas->Dropping()) << "outside the canvas nothing is shown";
    EXPECT_EQ(Shot(), before);
    Drag(PD_MOVE, QPoint(2, 2));
    EXPECT_TRUE(canvas->Dropping());
    Drag(PD_CANCEL, QPoint(2, 2));
    EXPECT_FALSE(canvas->Dropping());
    EXPECT_EQ(canvas->DropSlot(), -1);
    EXPECT_EQ(Shot(), before) << "cancelling clears the preview";
    EXPECT_EQ(History().UndoCount(), steps);
}

TEST_F(PaletteDragGuiTest, OverACellHighlightsItAndTheDropReskinsThatCell)
{
    cAnimeData& p = window->Project();
    const int k = UsedCell();
    ASSERT_GE(k, 0) << "the sample has a cell in frame 0";
    const strCell cell = *p.GetCell(0, k);
    const QPoint point = At(cell.x, cell.y);
    Drag(PD_BEGIN, point);
    ASSERT_TRUE(canvas->DropOnCell());
    const int slot = canvas->DropSlot();
    ASSERT_NE(p.GetCell(0, slot), nullptr) << "the highlighted slot holds the cell under the cursor";

    Drag(PD_DROP, point);
    EXPECT_FALSE(canvas->Dropping());
    const strCell* after = p.GetCell(0, slot);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->picture, 1);
    EXPECT_EQ(after->pattern, 3);
}

TEST_F(PaletteDragGuiTest, NoFreeSlotIsShownAndTheDropPlacesNothing)
{
    cAnimeData& p = window->Project();
    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    for (int k = 0; k < p.CellCount(); ++k)
        p.SetFixPicture(k, 0);
    const int steps = History().UndoCount();
    Drag(PD_BEGIN, QPoint(2, 2));
    ASSERT_TRUE(canvas->Dropping());
    EXPECT_FALSE(canvas->DropOnCell());
    EXPECT_EQ(canvas->DropSlot(), -1) << "every slot is fixed to another picture";
    Drag(PD_DROP, QPoint(2, 2));
    EXPECT_FALSE(canvas->Dropping());
    EXPECT_EQ(History().UndoCount(), steps);
}

} // namespace
