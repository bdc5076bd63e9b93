// A game's data file on the disk: refused when it cannot be read, names found in
// the game's folders, writes that keep a backup, change one entry and are atomic.
#include "support/GameDataFixtures.h"
#include "support/ProjectFixtures.h"

#include "platform/Paths.h"
#include "project/GameData.h"
#include "project/Settings.h"

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class GameDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = TestFolder("game_data");
        file = MakeMvGame(root / "game");
    }
    void TearDown() override { fs::remove_all(root); }
    std::string Model(const fs::path& p) { return paths::FromDiskPath(p); }

    fs::path root, file;
};

TEST_F(GameDataTest, UnreadableOrDamagedFilesAreRefusedAndNeverWritten)
{
    fs::create_directories(root / "folder" / "Animations.json");
    fs::create_directories(root / "bad" / "data");
    const std::string damaged = "[\nnull,\n{\"id\":1,\"name\":\"A\"";
    WriteBytes(root / "bad" / "data" / "Animations.json", damaged);
    WriteBytes(root / "other.json", "[]");
    const struct {
        fs::path path;
        const char* reason;
    } rows[] = {
        {root / "other.json", "not a game data file"},
        {root / "missing" / "Animations.json", "cannot be read"},
        {root / "folder" / "Animations.json", "Is a directory"},
        {root / "bad" / "data" / "Animations.json", ""},
    };
    for (const auto& row : rows) {
        cGameData data;
        std::string error;
        EXPECT_FALSE(data.Read(Model(row.path), error)) << row.path;
        EXPECT_NE(error.find(row.reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        cAnimeData project;
        project.NewProject(std::string());
        EXPECT_FALSE(data.Export(project, 1, strFolderNames{}, error));
        EXPECT_FALSE(data.Write(true, error));
    }
    EXPECT_EQ(ReadBytes(root / "bad" / "data" / "Animations.json"), damaged);
    EXPECT_FALSE(fs::exists(root / "bad" / "data" / "Animations.json.bak"));
}

TEST_F(GameDataTest, ImportFindsPicturesAndSoundsInTheGameFolders)
{
    cGameData data;
    std::string error;
    ASSERT_TRUE(data.Read(Model(file), error)) << error;
    EXPECT_EQ(data.Kind(), DATA_MV);
    const std::vector<strDataEntry> list = data.List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "Hit");
    EXPECT_EQ(list[1].id, 2);
    EXPECT_EQ(data.NextFreeId(), 3);
    strDataEntry entry;
    EXPECT_TRUE(data.FindEntry(2, entry));
    EXPECT_FALSE(data.FindEntry(0, entry));

    cAnimeData project;
    ASSERT_TRUE(data.Import(1, project, error)) << error;
    EXPECT_EQ(project.GetPicture(0)->path, Model(root / "game" / "img" / "animations" / "Hit1.png"));
    const strEffect* effect = project.GetEffect(0);
    ASSERT_TRUE(effect);
    EXPECT_EQ(effect->seName, Model(root / "game" / "audio" / "se" / "Damage1.wav"));
    // A missing picture points into the game's folder, where the editor says it looked.
    cAnimeData fire;
    ASSERT_TRUE(data.Import(2, fire, error)) << error;
    EXPECT_EQ(fire.GetPicture(0)->path, Model(root / "game" / "img" / "animations" / "Fire2"));
    EXPECT_FALSE(data.Import(7, fire, error));

    // An MZ game names its project file *.rmmzproject.
    WriteBytes(root / "game" / "game.rmmzproject", "RPGMZ 1.8.0");
    ASSERT_TRUE(data.Read(Model(file), error)) << error;
    EXPECT_EQ(data.Kind(), DATA_MZ);
}

TEST_F(GameDataTest, WriteKeepsABackupAndChangesOnlyTheEntry)
{
    const std::string original = ReadBytes(file);
    ::chmod(file.c_str(), 0640);
    cGameData data;
    std::string error;
    ASSERT_TRUE(data.Read(Model(file), error)) << error;
    cAnimeData project;
    ASSERT_TRUE(data.Import(1, project, error)) << error;
    const std::string picture = project.GetPicture(0)->path;

    // No change: nothing is written, not even a backup.
    ASSERT_TRUE(data.Export(project, 1, strFolderNames{}, error)) << error;
    ASSERT_TRUE(data.Write(true, error)) << error;
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));
    EXPECT_EQ(ReadBytes(file), original);

    project.SetText(AT_NAME, "Hit!");
    ASSERT_TRUE(data.Export(project, 1, strFolderNames{}, error)) << error;
    EXPECT_EQ(project.GetPicture(0)->path, picture); // the project is left as it was
    ASSERT_TRUE(data.Write(true, error)) << error;
    EXPECT_EQ(ReadBytes(file.string() + ".bak"), original);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string written = ReadBytes(file);
    const size_t line = original.find("{\"id\":1"), end = original.find('\n', line);
    EXPECT_EQ(written.substr(0, line), original.substr(0, line));
    EXPECT_EQ(written.substr(written.find('\n', line)), original.substr(end));
    const std::string entry = written.substr(line, written.find('\n', line) - line);
    EXPECT_NE(entry.find("\"name\":\"Hit!\""), std::string::npos) << entry;
    EXPECT_NE(entry.find("\"animation1Name\":\"Hit1\""), std::string::npos) << entry;
    EXPECT_NE(entry.find("\"note\":\"kept\""), std::string::npos) << entry;

    // An ID past the end is appended; without a backup the .bak stays the older copy.
    cGameData again;
    ASSERT_TRUE(again.Read(Model(file), error)) << error;
    ASSERT_TRUE(again.Export(project, 5, strFolderNames{}, error)) << error;
    ASSERT_TRUE(again.Write(false, error)) << error;
    EXPECT_EQ(ReadBytes(file.string() + ".bak"), original);
    ASSERT_TRUE(again.Read(Model(file), error)) << error;
    EXPECT_EQ(again.List().back().id, 5);
    EXPECT_EQ(again.List().size(), 3u);
}

TEST_F(GameDataTest, ExportNamesFilesBelowTheGameOrTheGivenFolders)
{
    cGameData data;
    std::string error;
    ASSERT_TRUE(data.Read(Model(file), error)) << error;
    cAnimeData project;
    ASSERT_TRUE(data.Import(1, project, error)) << error;
    strPicture second = *project.GetPicture(0);
    second.path = "Pics\\Deep\\Ice.png";
    project.SetPicture(second, 1);
    project.RenamePicture(0, data.PictureFolder() + "\\Sub\\Hit1.png");
    const struct {
        strFolderNames folders;
        const char* second;
    } rows[] = {{strFolderNames{}, "Ice"}, {strFolderNames{"Pics", "Snd"}, "Deep/Ice"}};
    for (const auto& row : rows) {
        ASSERT_TRUE(data.Export(project, 1, row.folders, error)) << error;
        ASSERT_TRUE(data.Write(false, error)) << error;
        const std::string bytes = ReadBytes(file);
        const std::string entry = bytes.substr(bytes.find("{\"id\":1"));
        // A path in the game's folder keeps its sub-folders whatever the given folders.
        EXPECT_NE(entry.find("\"animation1Name\":\"Sub/Hit1\""), std::string::npos) << entry;
        EXPECT_NE(entry.find(std::string("\"animation2Name\":\"") + row.second + "\""), std::string::npos) << entry;
    }
}

TEST_F(GameDataTest, AFailedBackupLeavesTheFileAsItWas)
{
    const std::string original = ReadBytes(file);
    fs::create_directories(file.string() + ".bak"); // a folder where the backup goes
    cGameData data;
    std::string error;
    ASSERT_TRUE(data.Read(Model(file), error)) << error;
    cAnimeData project;
    ASSERT_TRUE(data.Import(2, project, error)) << error;
    project.SetText(AT_NAME, "Fire!");
    ASSERT_TRUE(data.Export(project, 2, strFolderNames{}, error)) << error;
    EXPECT_FALSE(data.Write(true, error));
    EXPECT_NE(error.find("backup"), std::string::npos) << error;
    EXPECT_EQ(ReadBytes(file), original);
}

} // namespace
