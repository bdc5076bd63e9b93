// The cell window, the record dialogs and the frame and fixed-picture dialogs driven through their
// controls: values set, applied, stored as one step, undone.

#include "support/GuiFixture.h"

#include "app/DlgHost.h"
#include "model/AnimeData.h"
#include "support/ModelText.h"
#include "ui/DlgCell.h"
#include "ui/DlgControls.h"
#include "ui/DlgEffect.h"
#include "ui/DlgFixCell.h"
#include "ui/DlgFrameComp.h"
#include "ui/DlgInterval.h"
#include "ui/DlgPicture.h"
#include "ui/DlgSourceList.h"
#include "ui/MainEditWnd.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <functional>

namespace {

class SideDialogTest : public GuiTest {
protected:
    cMainWnd& StartSample()
    {
        cMainWnd& w = Start({QString::fromStdString(Sample().string())});
        QCoreApplication::processEvents();
        return w;
    }
    cDlgHost& Host() { return *window->SideWindows(); }
    /** Runs `act` once the next modal dialog is running. */
    static void WhenModal(std::function<void()> act) { QTimer::singleShot(0, std::move(act)); }
    static void Tick(QListWidget* list, int row, bool on = true)
    {
        list->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    }
};

TEST_F(SideDialogTest, CellWindowStoresTheWorkingCopyAsOneStep)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    ASSERT_NE(p.GetCell(2, 1), nullptr);
    const std::string before = ModelText(p);
    const int steps = History().UndoCount();
    Host().OpenCellDialog(2, 1);
    cDlg_Cell& dlg = *Host().CellDialog();
    ASSERT_TRUE(dlg.IsOpen());
    EXPECT_EQ(dlg.windowTitle(), "セル [2,1]");
    dlg.xSpin->setValue(-300);
    dlg.colourEdit->setText("64c80032");
    emit dlg.colourEdit->textEdited("64c80032");
    EXPECT_EQ(dlg.colour[0]->Value(), 200);
    strCell shown;
    ASSERT_TRUE(Host().CellPreview(2, 1, shown));
    EXPECT_EQ(shown.x, -300) << "the canvas shows the working copy";
    EXPECT_EQ(shown.blue, 0x32);
    EXPECT_FALSE(Host().CellPreview(2, 0, shown));
    w.Canvas()->SetCurrentFrame(2);
    ASSERT_TRUE(w.Canvas()->Edit().DisplayedCell(1, shown));
    EXPECT_EQ(shown.x, -300);
    EXPECT_TRUE(dlg.ApplyAndClose());
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_EQ(p.GetCell(2, 1)->x, -300);
    EXPECT_EQ(p.GetCell(2, 1)->red, 200);
    EXPECT_EQ(History().UndoCount(), steps + 1);
    w.OnCommand(IDM_UNDO);
    EXPECT_EQ(ModelText(p), before);
}

TEST_F(SideDialogTest, CellWindowFollowsTheEditFormatAndLoadsNeighbours)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    p.SetValue(AI_EDIT_FORMAT, 2);
    Host().OpenCellDialog(2, 0);
    cDlg_Cell& dlg = *Host().CellDialog();
    EXPECT_TRUE(dlg.scaleXSpin->isHidden());
    EXPECT_FALSE(dlg.flipCombo->isHidden());
    dlg.scaleYSpin->setValue(150);
    dlg.flipCombo->setCurrentIndex(1);
    EXPECT_EQ(dlg.Working().scaleX, -150);
    EXPECT_TRUE(dlg.prevButton->isEnabled());
    dlg.LoadNeighbour(-1);
    EXPECT_EQ(dlg.Working(), *p.GetCell(1, 0));
    dlg.closeButton->click();
    EXPECT_FALSE(dlg.IsOpen());
    EXPECT_NE(p.GetCell(2, 0)->scaleX, -150) << "閉じる stores nothing";
}

TEST_F(SideDialogTest, ReopeningOnAnotherCellShowsThatCellUntouched)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    ASSERT_EQ(p.GetCell(3, 2)->picture, 1);
    ASSERT_EQ(p.GetCell(4, 0)->picture, 0);
    Host().OpenCellDialog(3, 2);
    cDlg_Cell& dlg = *Host().CellDialog();
    EXPECT_EQ(dlg.pictureSpin->value(), 1);
    ASSERT_TRUE(p.DeletePicture(1));
    Host().OpenCellDialog(4, 0);
    EXPECT_EQ(dlg.windowTitle(), "セル [4,0]");
    EXPECT_EQ(dlg.Working(), *p.GetCell(4, 0)) << "the range change did not read the old fields back";
    EXPECT_FALSE(dlg.ApplyAndClose()) << "nothing changed";
}

TEST_F(SideDialogTest, CellCommandOpensTheWindowForTheSelectedCell)
{
    cMainWnd& w = StartSample();
    w.Canvas()->SetCurrentFrame(2);
    w.Canvas()->Selection()[1] = 1;
    w.Canvas()->Edit().SetFocus(1);
    w.OnCommand(IDM_CELL_DIALOG);
    EXPECT_TRUE(Host().CellDialog()->IsOpen());
    EXPECT_EQ(Host().CellDialog()->CellNo(), 1);
    Host().CellDialog()->Close(DLG_CANCEL);
}

TEST_F(SideDialogTest, EffectDialogAppliesThroughTheListAndKeepsFrameOrder)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    const int count = p.Effects().Count();
    cDlg_SetEffect& dlg = *Host().EffectDialog();
    WhenModal([&] {
        EXPECT_FALSE(dlg.flashCheck->isChecked());
        EXPECT_EQ(dlg.duration->Value(), 10);
        EXPECT_FALSE(dlg.duration->isEnabled() && dlg.duration->isVisibleTo(&dlg) && dlg.flashCheck->isChecked());
        dlg.frameEdit->SetValue(0);
        dlg.flashCheck->setChecked(true);
        dlg.scopeCombo->setCurrentIndex(2);
        EXPECT_FALSE(dlg.blendCombo->isEnabled()) << "hiding the target has no colour";
        dlg.noteCheck->setChecked(true);
        dlg.noteEdit->setText("start");
        dlg.Apply();
        dlg.Close(DLG_OK);
    });
    ASSERT_TRUE(Host().ListWindow()->EditEffect(count));
    ASSERT_EQ(p.Effects().Count(), count + 1);
    const strEffect* e = p.GetEffect(1);
    EXPECT_EQ(e->frame, 0) << "inserted behind the sample's effect of frame 0";
    EXPECT_EQ(e->note, "start");
    EXPECT_EQ(e->flashScope, 2);
    EXPECT_EQ(e->flashStrength, 255);
    EXPECT_EQ(Host().ListWindow()->CurrentRow(cDlg_SourceList::kEffectPage), 1);

    WhenModal([&] { dlg.Close(DLG_CANCEL); });
    EXPECT_FALSE(Host().ListWindow()->EditEffect(p.Effects().Count()));
    EXPECT_EQ(p.Effects().Count(), count + 1) << "cancel creates nothing";
}

TEST_F(SideDialogTest, SoundDroppedOnTheEffectTableBecomesANewEffectWhenApplied)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    const int count = p.Effects().Count();
    const std::string sound = p.Text(AT_WORK_FOLDER) + "\\Sound\\boom.wav";
    cDlg_SetEffect& dlg = *Host().EffectDialog();
    WhenModal([&] {
        EXPECT_TRUE(dlg.soundCheck->isChecked());
        EXPECT_EQ(dlg.nameEdit->text(), "Sound/boom.wav") << "relative to the working folder";
        dlg.DropFile(p.Text(AT_WORK_FOLDER) + "\\Sound\\other.wav");
        EXPECT_EQ(dlg.nameEdit->text(), "Sound/other.wav") << "a drop on the dialog replaces the name";
        dlg.Close(DLG_CANCEL);
    });
    EXPECT_FALSE(Host().ListWindow()->DropOnTable(cDlg_SourceList::kEffectPage, sound));
    EXPECT_EQ(p.Effects().Count(), count) << "cancelled: nothing created";
    WhenModal([&] {
        dlg.Apply();
        dlg.Close(DLG_OK);
    });
    EXPECT_TRUE(Host().ListWindow()->DropOnTable(cDlg_SourceList::kEffectPage, sound));
    ASSERT_EQ(p.Effects().Count(), count + 1);
    const int row = Host().ListWindow()->CurrentRow(cDlg_SourceList::kEffectPage);
    EXPECT_EQ(p.GetEffect(row)->seName, "Sound\\boom.wav");
    EXPECT_TRUE(p.GetEffect(row)->flags & EF_SOUND);
}

TEST_F(SideDialogTest, PictureDialogStoresTheEntryAndReloadsItsSheet)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    cDlg_SetPicture& dlg = *Host().PictureDialog();
    WhenModal([&] {
        EXPECT_EQ(dlg.windowTitle(), "画像 : 1");
        dlg.divXSpin->setValue(2);
        dlg.hueSpin->setValue(30);
        dlg.Apply();
        dlg.Close(DLG_OK);
    });
    ASSERT_TRUE(Host().ListWindow()->EditPicture(1));
    EXPECT_EQ(p.GetPicture(1)->divX, 2);
    EXPECT_EQ(p.GetPicture(1)->hue, 30);
    EXPECT_EQ(p.GetValue(AI_DIVISION_FORMAT), 0);
}

TEST_F(SideDialogTest, IntervalDialogSetsTheRangeAndRemembersIt)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    cDlg_SetInterval& dlg = *Host().IntervalDialog();
    WhenModal([&] {
        dlg.firstSpin->setValue(10);
        dlg.lastSpin->setValue(3);
        dlg.intervalSpin->setValue(7);
        dlg.Run();
    });
    w.OnCommand(IDM_SET_INTERVAL);
    for (int f = 0; f < p.Frames().Count(); ++f)
        EXPECT_EQ(p.GetFrame(f)->interval == 7, f >= 3 && f <= 10) << f;
    EXPECT_EQ(w.StatusPart(0)->text().toStdString(), "フレーム [3]～[10] に インターバル[7] を入力しました");
    WhenModal([&] {
        EXPECT_EQ(dlg.firstSpin->value(), 3);
        EXPECT_EQ(dlg.lastSpin->value(), 10);
        EXPECT_EQ(dlg.intervalSpin->value(), 7);
        dlg.Close(DLG_CANCEL);
    });
    w.OnCommand(IDM_SET_INTERVAL);
}

TEST_F(SideDialogTest, FrameInterpolationAndBatchEditRunAsOneStepEach)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    const std::string before = ModelText(p);
    const int steps = History().UndoCount();
    cDlg_AtOnce& batch = *Host().AtOnceDialog();
    WhenModal([&] {
        for (int f = 0; f < batch.frameList->count(); ++f)
            Tick(batch.frameList, f);
        Tick(batch.cellList, 0);
        Tick(batch.paramList, CP_OPACITY);
        batch.formulaCombo->setCurrentIndex(0);
        batch.valueSpin->setValue(77);
        EXPECT_GT(batch.Run(), 0);
    });
    w.OnCommand(IDM_AT_ONCE);
    for (int f = 0; f < p.Frames().Count(); ++f)
        if (const strCell* c = p.GetCell(f, 0)) {
            EXPECT_EQ(c->opacity, 77) << f;
        }
    EXPECT_EQ(History().UndoCount(), steps + 1);

    cDlg_FrameComp& comp = *Host().FrameCompDialog();
    WhenModal([&] {
        EXPECT_EQ(comp.cellList->item(0)->text(), "<00>");
        Tick(comp.cellList, 1);
        Tick(comp.paramList, CP_X);
        comp.firstSpin->setValue(2);
        comp.lastSpin->setValue(10);
        EXPECT_EQ(comp.Run(), 7);
    });
    w.OnCommand(IDM_FRAME_COMP);
    EXPECT_EQ(History().UndoCount(), steps + 2);
    EXPECT_EQ(p.GetCell(6, 1)->x, 30 + int((-133 - 30) * 0.5f));
    w.OnCommand(IDM_UNDO);
    w.OnCommand(IDM_UNDO);
    EXPECT_EQ(ModelText(p), before);
    EXPECT_TRUE(comp.state.cellTicks[1]) << "ticks are remembered";
}

TEST_F(SideDialogTest, FixedPictureDialogsNeedTheOptionAndStoreOneStep)
{
    cMainWnd& w = StartSample();
    cAnimeData& p = w.Project();
    bool opened = false;
    WhenModal([&] {
        opened = Host().FixCellDialog()->IsOpen();
        if (opened)
            Host().FixCellDialog()->Close(DLG_CANCEL);
    });
    w.OnCommand(IDM_FIX_CELL);
    QCoreApplication::processEvents();
    EXPECT_FALSE(opened) << "fixed pictures are off";

    p.SetValue(AI_FIX_PICTURE_PER_CELL, 1);
    cDlg_FixCell& table = *Host().FixCellDialog();
    WhenModal([&] {
        table.list->selectRow(2);
        table.list->selectionModel()->select(table.list->model()->index(4, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        table.valueSpin->setValue(1);
        EXPECT_EQ(table.list->item(4, 1)->text(), "1");
        table.Update();
    });
    w.OnCommand(IDM_FIX_CELL);
    EXPECT_EQ(p.GetFixPicture(2), 1);
    EXPECT_EQ(p.GetFixPicture(4), 1);
    EXPECT_EQ(p.GetFixPicture(3), 0);

    cDlg_FixCell_S& one = *Host().FixCellSDialog();
    WhenModal([&] {
        EXPECT_EQ(one.windowTitle(), "[4] セルと画像を固定");
        EXPECT_EQ(one.valueSpin->value(), 1);
        one.valueSpin->setValue(0);
        one.Store();
    });
    Host().OpenFixCellS(4);
    EXPECT_EQ(p.GetFixPicture(4), 0);
    w.OnCommand(IDM_UNDO);
    EXPECT_EQ(p.GetFixPicture(4), 1);
}

} // namespace
