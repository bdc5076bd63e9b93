#include "interchange/ClipboardTransfer.h"

#include "InterchangeFixtures.h"
#include "interchange/JsonAnimation.h"
#include "interchange/Rm2000Animation.h"
#include "interchange/RubyAnimation.h"
#include "platform/Clipboard.h"

#include <gtest/gtest.h>

namespace {

struct Status : iStatusSink {
    void ShowStatus(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

struct Host : cImportHost {
    bool AskSaveChanges() override { return proceed; }
    std::string DefaultWorkFolder() override { return "C:\\Work\\Data"; }
    void InstallProject(std::unique_ptr<cAnimeData> p) override { installed = std::move(p); }
    bool proceed = true;
    std::unique_ptr<cAnimeData> installed;
};

class Transfer : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeProject(project, 2, "T");
        PutPicture(project, 0, "Graphics\\Fire1.png", 0, 96);
        PutCell(project, 0, 0, {0, 3, 0, 1, 2, 100, 100, 0, 255});
    }
    void Put(const std::string& format, const std::string& bytes)
    {
        clipboard.Open();
        clipboard.SetData(format, std::vector<uint8_t>(bytes.begin(), bytes.end()));
        clipboard.Close();
    }
    platform::MemoryClipboard clipboard;
    cAnimeData project;
};

TEST_F(Transfer, EveryVersionExportsUnderItsFormatAndImportsBack)
{
    const struct {
        int version;
        const char* format;
    } cases[] = {{RPG_2000, platform::kFormat2000},
                 {RPG_2003, platform::kFormat2000},
                 {RPG_XP, "RPGXP ANIMATION"},
                 {RPG_VX, "RPGVX ANIMATION"},
                 {RPG_VXACE, "VX Ace ANIMATION"},
                 {RPG_MV, "application/rpgmv-animations"},
                 {RPG_MZ, "application/rpgmz-animations"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        ASSERT_EQ(ExportToClipboard(clipboard, project, c.version, strFolderNames{}), 1);
        EXPECT_TRUE(clipboard.IsAvailable(c.format));
        EXPECT_STREQ(ClipboardFormatName(c.version), c.format);
        cAnimeData back;
        ASSERT_EQ(ImportFromClipboard(clipboard, back, c.version, strFolderNames{}), 1);
        EXPECT_EQ(back.Text(AT_NAME), "T");
        ASSERT_NE(back.GetCell(0, 0), nullptr);
        EXPECT_EQ(back.GetCell(0, 0)->pattern, 3);
        // Bare RPG Maker names are placed in the relative picture folder.
        ASSERT_NE(back.GetPicture(0), nullptr);
        EXPECT_EQ(back.GetPicture(0)->path, "BattleEffect\\Fire1");
    }
    cAnimeData none;
    EXPECT_EQ(ExportToClipboard(clipboard, project, 7, strFolderNames{}), 0);
    EXPECT_EQ(ImportFromClipboard(clipboard, none, -1, strFolderNames{}), 0);
}

TEST_F(Transfer, ImportsPreferVxAceAndMv)
{
    cAnimeData xp, ace;
    MakeProject(xp, 1, "xp");
    MakeProject(ace, 1, "ace");
    Cclip_stream a, b;
    WriteRubyAnimation(xp, RUBY_XP, strFolderNames{}, a);
    WriteRubyAnimation(ace, RUBY_VXACE, strFolderNames{}, b);
    Put("RPGXP ANIMATION", std::string(a.Bytes().begin(), a.Bytes().end()));
    Put("VX Ace ANIMATION", std::string(b.Bytes().begin(), b.Bytes().end()));
    Put("application/rpgmz-animations", WriteJsonAnimation(xp, strFolderNames{}));
    Put("application/rpgmv-animations", WriteJsonAnimation(ace, strFolderNames{}));
    cAnimeData r, j;
    ASSERT_EQ(ImportFromClipboard(clipboard, r, RPG_XP, strFolderNames{}), 1);
    EXPECT_EQ(r.Text(AT_NAME), "ace");
    ASSERT_EQ(ImportFromClipboard(clipboard, j, RPG_MZ, strFolderNames{}), 1);
    EXPECT_EQ(j.Text(AT_NAME), "ace");
}

TEST_F(Transfer, ImportedNamesFindFilesInAnAbsoluteFolder)
{
    const auto dir = TestFolder("resolve");
    WriteBytes(dir / "Fire1.PNG", "x", 1);
    WriteBytes(dir / "Bow.ogg", "x", 1);
    const strFolderNames folders{dir.string(), dir.string()};
    strEffect e;
    e.seName = "Bow";
    AddEffect(project, e);
    ASSERT_EQ(ExportToClipboard(clipboard, project, RPG_MV, folders), 1);
    cAnimeData back;
    ASSERT_EQ(ImportFromClipboard(clipboard, back, RPG_MV, folders), 1);
    const std::string folder = dir.string();
    EXPECT_EQ(back.GetPicture(0)->path, folder + "\\Fire1.PNG");
    EXPECT_EQ(back.GetEffect(0)->seName, folder + "\\Bow.ogg");
}

TEST_F(Transfer, NamesAreTakenBelowAndPlacedInTheGivenFolders)
{
    PutPicture(project, 0, "Pics\\Sub\\Fire1.png", 0, 96);
    strEffect e;
    e.seName = "snd\\Deep\\Bow.ogg";
    AddEffect(project, e);
    const strFolderNames custom{"Pics", "Snd"};
    for (int version : {RPG_2000, RPG_XP, RPG_VXACE, RPG_MZ}) {
        // Below the folders the sub-folders are kept (folders compare case-insensitively).
        ASSERT_EQ(ExportToClipboard(clipboard, project, version, custom), 1) << version;
        cAnimeData back;
        ASSERT_EQ(ImportFromClipboard(clipboard, back, version, custom), 1) << version;
        EXPECT_EQ(back.GetPicture(0)->path, "Pics\\Sub\\Fire1") << version;
        EXPECT_EQ(back.GetEffect(0)->seName, "Snd\\Deep\\Bow") << version;
        // Elsewhere only the file name is written.
        ASSERT_EQ(ExportToClipboard(clipboard, project, version, strFolderNames{}), 1) << version;
        ASSERT_EQ(ImportFromClipboard(clipboard, back, version, strFolderNames{}), 1) << version;
        EXPECT_EQ(back.GetPicture(0)->path, "BattleEffect\\Fire1") << version;
        EXPECT_EQ(back.GetEffect(0)->seName, "Sound\\Bow") << version;
    }
}

TEST_F(Transfer, MenuState)
{
    for (int id : {IDM_IMPORT_2000, IDM_IMPORT_RUBY, IDM_IMPORT_MV, IDM_EXPORT_2003, IDM_IMPORT_2003})
        EXPECT_FALSE(IsClipboardCommandEnabled(clipboard, id)) << id;
    for (int id : {IDM_EXPORT_2000, IDM_EXPORT_XP, IDM_EXPORT_VX, IDM_EXPORT_VXACE, IDM_EXPORT_MV, IDM_EXPORT_MZ})
        EXPECT_TRUE(IsClipboardCommandEnabled(clipboard, id)) << id;
    Put(platform::kFormat2000, "x");
    Put("RPGVX ANIMATION", "x");
    Put("application/rpgmz-animations", "x");
    EXPECT_TRUE(IsClipboardCommandEnabled(clipboard, IDM_IMPORT_2000));
    EXPECT_TRUE(IsClipboardCommandEnabled(clipboard, IDM_IMPORT_RUBY));
    EXPECT_TRUE(IsClipboardCommandEnabled(clipboard, IDM_IMPORT_MV));
    EXPECT_FALSE(IsClipboardCommandEnabled(clipboard, IDM_IMPORT_2003));
    const char* names[] = {"a", "RPGVX ANIMATION", "application/rpgmz-animations"};
    EXPECT_EQ(FirstAvailableFormat(clipboard, names, 3), 1);
    EXPECT_EQ(FirstAvailableFormat(clipboard, names, 1), -1);

    int version = -1;
    bool isExport = false;
    ASSERT_TRUE(ClipboardCommandVersion(IDM_IMPORT_RUBY, version, isExport));
    EXPECT_EQ(version, RPG_VX);
    EXPECT_FALSE(isExport);
    ASSERT_TRUE(ClipboardCommandVersion(IDM_EXPORT_MZ, version, isExport));
    EXPECT_EQ(version, RPG_MZ);
    EXPECT_TRUE(isExport);
    EXPECT_FALSE(ClipboardCommandVersion(IDM_EXPORT_2003, version, isExport));
}

TEST_F(Transfer, ExportCommandMessages)
{
    Status status;
    EXPECT_EQ(ClipboardExportCommand(clipboard, project, RPG_VXACE, strFolderNames{}, status), 1);
    EXPECT_EQ(ClipboardExportCommand(clipboard, project, RPG_MZ, strFolderNames{}, status), 1);
    clipboard.SetLockedByOther(true);
    EXPECT_EQ(ClipboardExportCommand(clipboard, project, RPG_2000, strFolderNames{}, status), -1);
    clipboard.SetLockedByOther(false);
    EXPECT_EQ(status.texts, (std::vector<std::string>{"RPGツクールVXAce [戦闘アニメ] : エクスポートに成功しました",
                                                      "RPGツクールMZ [戦闘アニメ] : エクスポートに成功しました",
                                                      "< ! > RPGツクール2000 [戦闘アニメ] : エクスポートに失敗"}));
}

TEST_F(Transfer, ImportCommandInstallsOnlyOnSuccess)
{
    Status status;
    Host host;
    host.proceed = false;
    EXPECT_EQ(ClipboardImportCommand(clipboard, RPG_VX, strFolderNames{}, host, status), 0);
    EXPECT_TRUE(status.texts.empty());

    host.proceed = true;
    EXPECT_EQ(ClipboardImportCommand(clipboard, RPG_VX, strFolderNames{}, host, status), -1);
    EXPECT_EQ(host.installed, nullptr);

    ExportToClipboard(clipboard, project, RPG_XP, strFolderNames{});
    EXPECT_EQ(ClipboardImportCommand(clipboard, RPG_VX, strFolderNames{}, host, status), 1);
    ASSERT_NE(host.installed, nullptr);
    EXPECT_EQ(host.installed->Text(AT_NAME), "T");
    EXPECT_EQ(host.installed->Text(AT_WORK_FOLDER), "C:\\Work\\Data");
    EXPECT_FALSE(host.installed->modified);
    EXPECT_FALSE(host.installed->untitled);

    ExportToClipboard(clipboard, project, RPG_2000, strFolderNames{});
    EXPECT_EQ(ClipboardImportCommand(clipboard, RPG_2000, strFolderNames{}, host, status), 1);
    Put("application/rpgmv-animations", "[]");
    EXPECT_EQ(ClipboardImportCommand(clipboard, RPG_MV, strFolderNames{}, host, status), -1);
    EXPECT_EQ(status.texts,
              (std::vector<std::string>{"< ! > RPGツクールXP / VX / VXAce [戦闘アニメ] : インポートに失敗",
                                        "RPGツクールXP / VX / VXAce [戦闘アニメ] : インポートに成功しました",
                                        "RPGツクール2000 [戦闘アニメ] : インポートに成功しました",
                                        "< ! > RPGツクールMV / MZ [戦闘アニメ] : インポートに失敗"}));
}

} // namespace
