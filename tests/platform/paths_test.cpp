// Path helpers on stored (backslash, ANSI) paths and their way to the disk.
#include "support/ProjectFixtures.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace {

namespace fs = std::filesystem;
using namespace paths;

struct TwoArgCase {
    const char* path;
    const char* folder;
    const char* expect;
};

TEST(Paths, MakeRelative)
{
    const TwoArgCase cases[] = {
        {"C:\\game\\Data\\pic\\a.png", "C:\\game\\Data", "pic\\a.png"},
        {"C:\\game\\Data\\a.png", "c:\\GAME\\data\\", "a.png"},
        {"C:\\game\\Data\\.\\x\\..\\a.png", "C:\\game\\Data", "a.png"},
        {"C:\\game\\Other\\a.png", "C:\\game\\Data", "C:\\game\\Other\\a.png"}, // would need "..\"
        {"D:\\game\\Data\\a.png", "C:\\game\\Data", "D:\\game\\Data\\a.png"},
        {"/home/u/Data/se/b.wav", "\\home\\u\\Data", "se\\b.wav"},
        {"C:\\game\\Data", "C:\\game\\Data", "C:\\game\\Data"},
        {"pic\\a.png", "C:\\game", "pic\\a.png"},
        {"C:\\game\\Datax\\a.png", "C:\\game\\Data", "C:\\game\\Datax\\a.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeRelative(c.path, c.folder), c.expect) << c.path << " | " << c.folder;
}

TEST(Paths, MakeAbsolute)
{
    const TwoArgCase cases[] = {
        {"pic\\a.png", "C:\\game\\Data", "C:\\game\\Data\\pic\\a.png"},
        {".\\pic\\..\\a.png", "C:\\game\\Data\\", "C:\\game\\Data\\a.png"},
        {"..\\Sound\\b.wav", "C:\\game\\Data", "C:\\game\\Sound\\b.wav"},
        {"D:\\x\\a.png", "C:\\game", "D:\\x\\a.png"},
        {"\\abs\\a.png", "C:\\game", "\\abs\\a.png"},
        {"a.png", "/home/u/Data", "\\home\\u\\Data\\a.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MakeAbsolute(c.path, c.folder), c.expect) << c.path << " | " << c.folder;
}

TEST(Paths, WorkFolderOfTakesTheDeepestDataFolder)
{
    const TwoArgCase cases[] = {
        {"C:\\game\\Data\\anim\\a.dat", "Data", "C:\\game\\Data"},
        {"C:\\Data\\x\\Data\\a.dat", "Data", "C:\\Data\\x\\Data"},
        {"/home/u/Data/a.dat", "Data", "/home/u/Data"},
        {"C:\\game\\Datafile\\a.dat", "Data", ""},
        {"C:\\game\\a.dat", "Data", ""},
        {"C:\\game\\Data", "Data", ""}, // the folder must be followed by a separator
        {"C:\\game\\Data\\a.dat", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WorkFolderOf(c.path, c.folder), c.expect) << c.path;
}

TEST(Paths, FilesNamedInTheCodePageResolve)
{
    // "表" is 0x95 0x5C in CP932: a file written on Windows under that name is found
    // from the model's UTF-8 path, and its second byte is no separator.
    platform::SetLocale("jpn");
    const fs::path dir = TestFolder("cp932names");
    fs::create_directories(dir);
    WriteBytes(dir / std::string("\x95\x5C.PNG"), "x");
    const std::string folder = FromDiskPath(dir);
    EXPECT_EQ(ToDiskPath(folder + "\\表.png"), dir / std::string("\x95\x5C.PNG"));
    EXPECT_EQ(FromDiskPath(dir / std::string("\x95\x5C.PNG")), folder + "\\表.PNG");
    EXPECT_EQ(FindFileWithStem(folder, "表"), "表.PNG");
    const std::string path = "C:\\表\\Data\\表.dat";
    EXPECT_EQ(FileNameOf(path), "表.dat");
    EXPECT_EQ(WorkFolderOf(path, "Data"), "C:\\表\\Data");
    EXPECT_EQ(ForDisplay(path), "C:/表/Data/表.dat");
    fs::remove_all(dir);
}

TEST(Paths, LongPathsAreCutTo259Bytes)
{
    const std::string longPath = "C:\\" + std::string(300, 'a') + "\\f.dat";
    EXPECT_EQ(LimitPath(longPath).size(), 259u);
    EXPECT_EQ(LimitPath(std::string(259, 'b')).size(), 259u);
    EXPECT_EQ(MakeRelative(longPath, "D:\\").size(), 259u);
    EXPECT_EQ(SiblingPath(longPath, "x"), "C:\\x"); // the cut took the last separator with it
    // A multi-byte character is never split.
    std::string wide;
    while (wide.size() < 300)
        wide += "あ";
    EXPECT_EQ(LimitPath(wide).size(), 258u);
}

TEST(Paths, ShortenForTitle)
{
    auto width = [](const std::string& s) { return int(s.size()) * 8; };
    EXPECT_EQ(ShortenForTitle("C:\\a\\b.dat", width), "C:\\a\\b.dat");
    const std::string path = "C:\\games\\" + std::string(40, 'x') + "\\Data\\effects\\fire.dat";
    const std::string shortened = ShortenForTitle(path, width, 200);
    EXPECT_LE(width(shortened), 200);
    EXPECT_EQ(shortened, "C:\\games\\...\\fire.dat");
    EXPECT_EQ(ShortenForTitle(path, width, 120), "C:\\...\\fire.dat");
    EXPECT_EQ(ShortenForTitle(path, width, 100), "...\\fire.dat");
    const std::string tiny = ShortenForTitle(path, width, 56);
    EXPECT_EQ(tiny, "fire...");
}

TEST(Paths, DiskPathsFallBackToCaseInsensitiveNames)
{
    const fs::path dir = TestFolder("paths");
    fs::create_directories(dir / "Data" / "BattleEffect");
    WriteBytes(dir / "Data" / "BattleEffect" / "Fire.PNG", "x");
    const std::string stored = FromDiskPath(dir) + "\\data\\battleeffect\\fire.png";
    EXPECT_EQ(stored.find('/'), std::string::npos);
    EXPECT_EQ(ToDiskPath(stored), dir / "Data" / "BattleEffect" / "Fire.PNG");
    EXPECT_TRUE(Exists(stored));
    EXPECT_TRUE(IsFolder(FromDiskPath(dir) + "\\DATA"));
    EXPECT_FALSE(Exists(FromDiskPath(dir) + "\\data\\missing\\fire.png"));
    // Missing tails keep their own spelling after the part that was found.
    EXPECT_EQ(ToDiskPath(FromDiskPath(dir) + "\\data\\New\\a.dat"), dir / "Data" / "New" / "a.dat");
    // Names reach the disk in UTF-8 and come back.
    const std::string jp = "爆発.png";
    WriteBytes(ToDiskPath(FromDiskPath(dir) + "\\" + jp), "y");
    EXPECT_TRUE(fs::exists(dir / "爆発.png"));
    EXPECT_EQ(FromDiskPath(dir / "爆発.png"), FromDiskPath(dir) + "\\" + jp);
    fs::remove_all(dir);
}

} // namespace
