#include "project/IniFile.h"
#include "project/Settings.h"

#include "platform/FileIO.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path tempFile(const char* name)
{
    fs::path dir = fs::temp_directory_path() / ("mevko_settings_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir / name;
}

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readText(const fs::path& path)
{
    std::string s;
    platform::ReadFile(path, s, platform::FileKind::Config);
    return s;
}

TEST(IniFile, ProfileFunctionReading)
{
    project::cIniFile ini;
    ini.Parse("; comment\r\n"
              "[other]\r\n"
              "Undo=1\r\n"
              "\r\n"
              "[config]\r\n"
              "  undo =  5  \r\n"
              "Undo=7\r\n"
              "junk line without equals\r\n"
              "Quoted=\"  a b  \"\r\n"
              "Single='x'\r\n"
              "Empty=\r\n"
              "[Next]\r\n"
              "Name=zzz");
    EXPECT_EQ(ini.GetString("CONFIG", "Undo", "!", 16), "5"); // first occurrence, any case
    EXPECT_EQ(ini.GetString("CONFIG", "Quoted", "!", 16), "  a b  ");
    EXPECT_EQ(ini.GetString("CONFIG", "Single", "!", 16), "x");
    EXPECT_EQ(ini.GetString("CONFIG", "Empty", "!", 16), "");
    EXPECT_EQ(ini.GetString("CONFIG", "Missing", "!", 16), "!");
    EXPECT_EQ(ini.GetString("Next", "Name", "!", 16), "zzz");
    EXPECT_EQ(ini.GetString("CONFIG", "Name", "!", 16), "!");
    EXPECT_EQ(ini.GetString("Next", "Name", "!", 3), "zz"); // buffer of 3: two bytes
}

TEST(IniFile, WritingKeepsEverythingElse)
{
    project::cIniFile ini;
    ini.Parse("[A]\nx=1\n\n[CONFIG]\n; note\nUndo=3\n\n[B]\ny=2\n");
    ini.SetString("CONFIG", "Undo", "9");
    ini.SetString("CONFIG", "New", "v");
    ini.SetString("Fresh", "k", "1");
    EXPECT_EQ(ini.Text(), "[A]\nx=1\n\n[CONFIG]\n; note\nUndo=9\nNew=v\n\n[B]\ny=2\n[Fresh]\nk=1\n");
}

TEST(Settings, DefaultsMatchTheTable)
{
    cSettings s;
    EXPECT_EQ(s.Locale, "jpn");
    EXPECT_EQ(s.FolderName_C, "Data");
    EXPECT_EQ(s.PalWinSizeY, 348);
    EXPECT_EQ(s.PlayBit, 416u);
    EXPECT_EQ(s.CBackShadow, 0x880000FFu);
    EXPECT_EQ(s.CCenterLine, 2290679688u);
    EXPECT_EQ(s.Init_Edit, 2);
    EXPECT_EQ(s.Init_FileName, "newfile.txt");
    EXPECT_EQ(s.Undo, 32);
    EXPECT_TRUE(s.VLineFlag);
    EXPECT_FALSE(s.VerticalFlag);
    EXPECT_TRUE(s.GameDataBackUpFlag);
    EXPECT_EQ(s.Entries().size(), 81u);
}

TEST(Settings, ReadRulesForEveryType)
{
    const fs::path file = tempFile("read.ini");
    writeText(file, "[CONFIG]\n"
                    "Undo=!5\n"       // leading "!" counts as missing
                    "VListFlag=yes\n" // anything not starting with 0 is true
                    "VPalFlag=0\n"
                    "VBarFlag=\n" // empty is true too
                    "GridSize=  -12abc\n"
                    "PlayBit=-1\n"
                    "CGround=4294967295\n"
                    "Init_Edit=258\n" // held as a byte
                    "FolderName_C=Work Dir\n"
                    "Init_FileName=" +
                        std::string(300, 'f') +
                        "\n"
                        "PlayRate=99999999999\n"
                        "LastLoadPath=C:\\anim\\a.dat\n");
    cSettings s;
    EXPECT_TRUE(s.ReadSettings(file));
    EXPECT_EQ(s.Undo, 32);
    EXPECT_TRUE(s.VListFlag);
    EXPECT_FALSE(s.VPalFlag);
    EXPECT_TRUE(s.VBarFlag);
    EXPECT_EQ(s.GridSize, -12);
    EXPECT_EQ(s.PlayBit, 0xFFFFFFFFu);
    EXPECT_EQ(s.CGround, 0xFFFFFFFFu);
    EXPECT_EQ(s.Init_Edit, 2);
    EXPECT_EQ(s.FolderName_C, "Work Dir");
    EXPECT_EQ(s.Init_FileName.size(), 259u);
    EXPECT_EQ(s.PlayRate, INT32_MAX);
    EXPECT_EQ(s.LastLoadPath, "C:\\anim\\a.dat");
    EXPECT_EQ(s.GIFSpeed, 100); // missing key keeps its value

    cSettings missing;
    EXPECT_FALSE(missing.ReadSettings(tempFile("does-not-exist.ini")));
    EXPECT_EQ(missing.Undo, 32);
}

TEST(Settings, WriteRoundTripKeepsForeignContent)
{
    const fs::path file = tempFile("write.ini");
    writeText(file, "[Mine]\r\nkeep=me\r\n[CONFIG]\r\nUnknownKey=42\r\nUndo=3\r\n");
    cSettings s;
    s.Undo = 7;
    s.VGridFlag = false;
    s.TargetPath = "pic\\target.png";
    ASSERT_TRUE(s.WriteSettings(file));
    const std::string text = readText(file);
    EXPECT_NE(text.find("[Mine]\r\nkeep=me\r\n"), std::string::npos);
    EXPECT_NE(text.find("UnknownKey=42\r\n"), std::string::npos);
    EXPECT_NE(text.find("Undo=7\r\n"), std::string::npos);
    EXPECT_NE(text.find("VGridFlag=0\r\n"), std::string::npos);
    cSettings back;
    back.ReadSettings(file);
    EXPECT_EQ(back.Entries(), s.Entries());
}

TEST(Settings, FailedWriteLeavesTheOldFile)
{
    const fs::path file = tempFile("failing.ini");
    writeText(file, "[CONFIG]\nUndo=3\n");
    // A file size limit makes the write fail, even for root.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit tiny = old;
    tiny.rlim_cur = 16;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &tiny);
    cSettings s;
    std::string reason;
    EXPECT_FALSE(s.WriteSettings(file, &reason));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(reason, "File too large");
    EXPECT_EQ(readText(file), "[CONFIG]\nUndo=3\n");
    EXPECT_TRUE(s.WriteSettings(file));
}

} // namespace
