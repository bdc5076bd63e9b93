// End-to-end runs of `mevko settings`.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(CliSettings, WriteCreatesEveryKeyWithItsDefault)
{
    const fs::path dir = TempDir("settings");
    const fs::path ini = dir / "sub" / "x.ini";
    const CliResult r = RunMevko({"settings", "--config", ini.string(), "--write"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::ifstream in(ini, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("[CONFIG]\r\n", 0), 0u);
    for (const char* line : {"Undo=32\r\n", "Init_FileName=newfile.txt\r\n", "CGround=1052688\r\n", "GIFPath=\r\n",
                             "PlayBit=416\r\n", "VerticalFlag=0\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_NE(r.out.find("Undo = 32\n"), std::string::npos);
}

TEST(CliSettings, ReadsChangedValuesPastJunk)
{
    const fs::path ini = TempDir("settings2") / "y.ini";
    std::ofstream(ini, std::ios::binary) << "garbage\n[Other]\nUndo=1\n[CONFIG]\n; comment\n\nUndo=12\r\n"
                                            "VGridFlag=0\nLocale=kor\nUnknown=3\n";
    const CliResult r = RunMevko({"settings", "--config", ini.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Undo = 12\n"), std::string::npos);
    EXPECT_NE(r.out.find("VGridFlag = 0\n"), std::string::npos);
    EXPECT_NE(r.out.find("Locale = kor\n"), std::string::npos);
    EXPECT_NE(r.out.find("GridSize = 32\n"), std::string::npos);
}

TEST(CliSettings, BadArgumentsFailWithAMessage)
{
    const CliResult r = RunMevko({"settings", "--bogus"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find("--bogus"), std::string::npos);
    EXPECT_NE(RunMevko({"no-such-command"}).exitCode, 0);
    EXPECT_EQ(RunMevko({"--help"}).exitCode, 0);
}
