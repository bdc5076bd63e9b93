// The dialog framework, the project dialog's apply rules through its controls,
// the tool bars' embedded controls and drag-and-drop.

#include "support/GuiFixture.h"

#include "app/DlgProject.h"
#include "model/AnimeData.h"
#include "project/Paths.h"
#include "ui/MainEditWnd.h"
#include "ui/PropConf.h"
#include "ui/Tools.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QUrl>

namespace {

class cCountingDlg : public cBaseDlg {
public:
    using cBaseDlg::cBaseDlg;
    void OnCreate() override { ++created; }
    void OnDestroy() override { ++destroyed; }
    int created = 0, destroyed = 0;
};

} // namespace

TEST_F(GuiTest, ModelessDialogRemembersItsPositionAndRecreatingClosesTheOldOne)
{
    QWidget owner;
    owner.show();
    cCountingDlg dlg(DLG_MODELESS | DLG_REMEMBER_POS);
    dlg.rememberedX = -40;
    dlg.rememberedY = 25;
    EXPECT_EQ(dlg.Create(&owner), 1);
    EXPECT_EQ(dlg.pos(), QPoint(0, 25)) << "a negative coordinate opens at 0";
    dlg.move(70, 80);
    EXPECT_EQ(dlg.Create(&owner), 1);
    EXPECT_EQ(dlg.destroyed, 1) << "the open one was closed first";
    EXPECT_EQ(dlg.Close(DLG_OK), 1);
    EXPECT_EQ(dlg.Close(DLG_OK), -1) << "no window any more";
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.Create(&owner), 1);
    EXPECT_EQ(dlg.pos(), QPoint(70, 80));
    dlg.Close(DLG_CANCEL);
}

TEST_F(GuiTest, HideOnCloseDialogSurvivesTheCloseButtonAndDialogSetFocusesOpenOnes)
{
    QWidget owner;
    cCountingDlg dlg(DLG_MODELESS | DLG_HIDE_ON_CLOSE);
    cDialogSet set;
    set.Add(512, &dlg);
    EXPECT_EQ(set.OpenWindow(512, &owner), 1);
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.IsOpen());
    EXPECT_EQ(dlg.destroyed, 0);
    EXPECT_EQ(set.OpenWindow(512, &owner), 1);
    EXPECT_EQ(set.OpenWindow(512, &owner), 1);
    EXPECT_EQ(dlg.created, 2) << "an open, shown dialog only gets the focus";
    EXPECT_EQ(set.OpenWindow(1024, &owner), 0) << "unknown key";
    set.CloseAll();
    EXPECT_FALSE(dlg.IsOpen());
}

TEST_F(GuiTest, ProjectDialogAsksBeforeRewritingAndNoLeavesEverything)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    w.OnCommand(IDM_INSERT_FRAME);  // something to undo
    cDlg_Project dlg(&w, messages);
    dlg.Load();
    const int edit = w.Project().GetValue(AI_EDIT_FORMAT);
    dlg.editCombo->setCurrentIndex(edit == 1 ? 0 : 1);
    messages.answers = {ANSWER_NO};
    EXPECT_FALSE(dlg.ApplyAndClose());
    EXPECT_EQ(w.Project().GetValue(AI_EDIT_FORMAT), edit);
    EXPECT_TRUE(History().CanRestore(RESTORE_UNDO));

    messages.answers = {ANSWER_YES};
    EXPECT_TRUE(dlg.ApplyAndClose());
    EXPECT_NE(w.Project().GetValue(AI_EDIT_FORMAT), edit);
    EXPECT_FALSE(History().CanRestore(RESTORE_UNDO)) << "the rewrite clears the history";

    // A name change alone applies without a question and keeps the history.
    w.OnCommand(IDM_INSERT_FRAME);
    dlg.Load();
    dlg.nameEdit->setText("炎");
    const size_t asked = messages.asked.size();
    EXPECT_TRUE(dlg.ApplyAndClose());
    EXPECT_EQ(messages.asked.size(), asked);
    EXPECT_EQ(w.Project().Text(AT_NAME), "炎");
    EXPECT_TRUE(History().CanRestore(RESTORE_UNDO));
}

TEST_F(GuiTest, SettingsPagesStoreTheirControls)
{
    cConfPage_Load load;
    load.Load();
    load.folderC->setText(" ");
    load.compType->setCurrentIndex(2);
    load.Apply();
    EXPECT_EQ(Settings().FolderName_C, "Data");
    EXPECT_EQ(Settings().CompType, 2);

    cConfPage_View view;
    view.Load();
    EXPECT_EQ(view.ground->text(), "0x101010");
    view.ground->setText("0x00203040");
    view.centerLine->setText("nonsense");
    view.Apply();
    EXPECT_EQ(Settings().CGround, 0x00203040u);
    EXPECT_EQ(Settings().CCenterLine, 0x80808080u);
}

TEST_F(GuiTest, ToolBarControlsWriteTheirSettings)
{
    cMainWnd& w = Start();
    w.PlayTool()->rateCombo->setCurrentIndex(3);  // "30 fps"
    EXPECT_EQ(Settings().PlayRate, 3);
    cTool_Edit* edit = w.EditTool();
    edit->snapCheck[0]->setChecked(false);
    EXPECT_FALSE(edit->snapEdit[0]->isEnabled());
    EXPECT_EQ(Settings().GridBit & 1u, 0u);
    edit->snapEdit[2]->setValue(45);
    EXPECT_EQ(Settings().AngleGrid, 45);
    // Tips follow the buttons in order, separators skipped.
    EXPECT_EQ(w.FrameTool()->ActionOf(IDM_NEW_FRAME_FLAG)->toolTip(), "フレームを自動で追加する");
    EXPECT_EQ(w.FrameTool()->ActionOf(IDM_INTERPOLATE)->toolTip(), "前後フレームで補完");
    EXPECT_EQ(w.ViewTool()->ActionOf(IDM_VIEW_LINE)->toolTip(), "線を表示");
    EXPECT_EQ(w.PlayTool()->ActionOf(IDM_OPT_FLASH)->toolTip(), "画面効果");
    w.PlayTool()->rangeCheck->setChecked(true);
    EXPECT_TRUE(w.PlayTool()->rangeStart->isEnabled());
}

TEST_F(GuiTest, DroppingFilesOpensTheFirst)
{
    cMainWnd& w = Start();
    w.OpenDroppedFiles({QUrl::fromLocalFile(QString::fromStdString(Sample().string())),
                        QUrl::fromLocalFile(QString::fromStdString((dir / "other.dat").string()))});
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample()));
    EXPECT_GT(w.Project().GetValue(AI_FRAMES), 1);
}
