#include "project/IniFile.h"
#include "project/RecentFiles.h"
#include "project/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using List = std::vector<std::string>;

cRecentFiles listOf(const List& added)
{
    cRecentFiles r;
    for (const std::string& p : added)
        r.Add(p);
    return r;
}

} // namespace

TEST(RecentFiles, AddKeepsTheNewestEightOnceEach)
{
    const struct {
        List added;
        List expected;
    } rows[] = {
        {{"/a.dat", "/b.dat"}, {"/b.dat", "/a.dat"}},
        {{"/a.dat", "/b.dat", "/a.dat"}, {"/a.dat", "/b.dat"}},
        {{"/d/a.dat", "/d/b.dat", "/d/./a.dat", "/d//b.dat"}, {"/d//b.dat", "/d/./a.dat"}},
        {{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"}, {"/9", "/8", "/7", "/6", "/5", "/4", "/3", "/2"}},
        {{"/a.dat", "", "/b\n.dat"}, {"/a.dat"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(listOf(row.added).Paths(), row.expected) << row.added.size();

    cRecentFiles r = listOf({"/a.dat", "/b.dat"});
    r.Remove("/a.dat");
    EXPECT_EQ(r.Paths(), List{"/b.dat"});
}

TEST(RecentFiles, ReadSkipsBlanksAndRepeatsAndWriteClearsUnusedKeys)
{
    project::cIniFile ini;
    ini.Parse("[CONFIG]\r\nUndo=12\r\n[RECENT]\r\nFile1=/x.dat\r\nFile2=\r\nFile3=/y.dat\r\nFile4=/x.dat\r\n"
              "File9=/z.dat\r\n");
    cRecentFiles r;
    r.Read(ini);
    EXPECT_EQ(r.Paths(), (List{"/x.dat", "/y.dat"}));

    r.Add("/new.dat");
    r.Write(ini);
    const std::string text = ini.Text();
    EXPECT_NE(text.find("Undo=12\r\n"), std::string::npos);
    EXPECT_NE(text.find("File1=/new.dat\r\nFile2=/x.dat\r\nFile3=/y.dat\r\nFile4=\r\n"), std::string::npos) << text;
}

TEST(RecentFiles, PathsWithOuterBlanksOrQuotesSurviveTheFile)
{
    const fs::path file = fs::temp_directory_path() / ("mevko_recent_" + std::to_string(::getpid()) + ".ini");
    const List paths = {"/d/ lead.dat", "/d/trail.dat ", "'quoted'", "\"half", "/日本語/é.dat"};
    cRecentFiles r;
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        r.Add(*it);
    ASSERT_TRUE(r.Save(file));

    // The settings written afterwards keep the list, and the list keeps the settings.
    cSettings s;
    ASSERT_TRUE(s.WriteSettings(file));
    cRecentFiles back;
    ASSERT_TRUE(back.Load(file));
    EXPECT_EQ(back.Paths(), paths);
    s.Undo = 5;
    ASSERT_TRUE(s.WriteSettings(file));
    ASSERT_TRUE(back.Save(file));
    cSettings read;
    ASSERT_TRUE(read.ReadSettings(file));
    EXPECT_EQ(read.Undo, 5);
    fs::remove(file);
}
