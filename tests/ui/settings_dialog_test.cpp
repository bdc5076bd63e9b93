// The settings dialog: its text conversions and the pages storing their controls.

#include "support/GuiFixture.h"

#include "ui/PropConf.h"

#include <QComboBox>
#include <QLineEdit>

TEST(PropConf, FolderNamesAndColours)
{
    EXPECT_EQ(FolderNameOrDefault("", "Data"), "Data");
    EXPECT_EQ(FolderNameOrDefault("  \t", "Sound"), "Sound");
    EXPECT_EQ(FolderNameOrDefault("Work", "Data"), "Work");
    const struct {
        const char* text;
        uint32_t colour;
    } colours[] = {
        {"0x880000ff", 0x880000FFu}, {"0X00101010", 0x00101010u}, {"ffffff", 0xFFFFFFu},
        {" 0x12 ", 0x12u},           {"", 0x80808080u},           {"0x", 0x80808080u},
        {"zz", 0x80808080u},         {"0x123456789", 0x80808080u},
    };
    for (const auto& c : colours)
        EXPECT_EQ(ParseColour(c.text), c.colour) << c.text;
    EXPECT_EQ(ColourText(0x00101010u, false), "0x101010");
    EXPECT_EQ(ColourText(0x880000FFu, true), "0x880000ff");
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
