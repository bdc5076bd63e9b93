// The settings dialog: the pages storing their controls.

#include "support/GuiFixture.h"

#include "ui/PropConf.h"

#include <QComboBox>
#include <QLineEdit>

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
