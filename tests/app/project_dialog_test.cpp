// The project dialog: the question asked through its controls before a rewrite.

#include "support/GuiFixture.h"

#include "app/DlgProject.h"
#include "model/AnimeData.h"

#include <QComboBox>
#include <QLineEdit>

TEST_F(GuiTest, ProjectDialogAsksBeforeRewritingAndNoLeavesEverything)
{
    cMainWnd& w = Start({QString::fromStdString(Sample().string())});
    QCoreApplication::processEvents();
    w.OnCommand(IDM_INSERT_FRAME); // something to undo
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
