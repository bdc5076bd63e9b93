// The dialog framework: modeless dialogs remember their place, hide-on-close
// dialogs survive the close button, and a dialog set opens and focuses them.

#include "support/GuiFixture.h"

#include "ui/BaseWnd.h"

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
