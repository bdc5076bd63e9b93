// The settings dialog's conversions between settings and the texts its controls show.

#include "view/SettingsForm.h"

#include <gtest/gtest.h>

TEST(SettingsForm, FolderNamesAndColours)
{
    EXPECT_EQ(FolderNameOrDefault("", "Data"), "Data");
    EXPECT_EQ(FolderNameOrDefault("  \t", "Sound"), "Sound");
    EXPECT_EQ(FolderNameOrDefault("Work", "Data"), "Work");
    const struct {
        const char* text;
        uint32_t colour;
    } colours[] = {
        {"0x880000ff", 0x880000FFu}, {"0X00101010", 0x00101010u}, {"ffffff", 0xFFFFFFu}, {" 0x12 ", 0x12u},
        {"", 0x80808080u},           {"0x", 0x80808080u},         {"zz", 0x80808080u},   {"0x123456789", 0x80808080u},
    };
    for (const auto& c : colours)
        EXPECT_EQ(ParseColour(c.text), c.colour) << c.text;
    EXPECT_EQ(ColourText(0x00101010u, false), "0x101010");
    EXPECT_EQ(ColourText(0x880000FFu, true), "0x880000ff");
}

TEST(SettingsForm, LanguageChoicesRoundTripAndUnknownSettingsChooseAutomatic)
{
    for (int choice = 0; choice < kLanguageChoices; ++choice)
        EXPECT_EQ(LanguageChoice(LanguageSetting(choice)), choice);
    EXPECT_EQ(LanguageSetting(1), "ja");
    EXPECT_EQ(LanguageChoice("fr"), 0);
    EXPECT_EQ(LanguageSetting(-1), "");
    EXPECT_EQ(LanguageSetting(7), "en");
}
