// The string table's translator: installed texts reach LoadString, FormatString,
// StringItems and the marked literals; removing it brings back the texts as written.

#include "platform/Strings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

class TranslatedStrings : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetTextTranslator([](const char* source) {
            static const std::map<std::string, std::string> english = {
                {"保存しました > %s", "Saved > %s"},
                {"バイナリ,テキスト", "Binary,Text"},
                {"(無題)", "(untitled)"},
                {"%s : 改行は保存できません", "%s : line breaks cannot be saved"},
            };
            auto it = english.find(source);
            return it == english.end() ? std::string(source) : it->second;
        });
    }
    void TearDown() override { platform::SetTextTranslator(nullptr); }
};

} // namespace

TEST_F(TranslatedStrings, ReachEveryWayOfReadingTexts)
{
    EXPECT_EQ(platform::LoadString(40065), "Saved > %s");
    EXPECT_EQ(platform::SourceString(40065), "保存しました > %s");
    EXPECT_EQ(platform::FormatString(40065, "a.dat"), "Saved > a.dat");
    EXPECT_EQ(platform::StringItems(40077), (std::vector<std::string>{"Binary", "Text"}));
    EXPECT_EQ(platform::Text("(無題)"), "(untitled)");
    EXPECT_EQ(platform::FormatText("%s : 改行は保存できません", "name"), "name : line breaks cannot be saved");
    // Texts without a translation stay as written.
    EXPECT_EQ(platform::LoadString(40004), "確認");
    EXPECT_EQ(platform::LoadString(12345), "");
}

TEST_F(TranslatedStrings, EarlierReferencesFollowTheLanguage)
{
    const std::string& saved = platform::LoadString(40065);
    platform::SetTextTranslator(nullptr);
    EXPECT_EQ(saved, "保存しました > %s");
    EXPECT_EQ(platform::Text("(無題)"), "(無題)");
}

TEST(FormatText, LongArgumentsAreNotCut)
{
    const std::string path(5000, 'x');
    EXPECT_EQ(platform::FormatText("復元しました > %s", path.c_str()), "復元しました > " + path);
}
