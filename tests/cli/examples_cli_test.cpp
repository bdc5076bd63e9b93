// The command line on the shipped examples, end to end.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string kExamples = std::string(MEVKO_SOURCE_DIR) + "/examples/Data/";

std::string readBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(CliExamples, BothFormatsHoldTheSameProject)
{
    const CliResult bin = RunMevko({"dump", kExamples + "sample.dat"});
    const CliResult text = RunMevko({"dump", kExamples + "sample.txt"});
    ASSERT_EQ(bin.exitCode, 0) << bin.err;
    ASSERT_EQ(text.exitCode, 0) << text.err;
    // The files differ only in the format they ask to be saved in.
    std::string textOut = text.out;
    const size_t at = textOut.find("\"saveFormat\":1");
    ASSERT_NE(at, std::string::npos);
    textOut.replace(at, 14, "\"saveFormat\":0");
    EXPECT_EQ(bin.out, textOut);
    EXPECT_NE(bin.out.find("\"frames\":["), std::string::npos);
}

TEST(CliExamples, ConvertRoundTripsThroughBothFormats)
{
    const fs::path dir = TempDir("convert");
    const std::string txt = (dir / "a.txt").string(), dat = (dir / "b.dat").string();
    ASSERT_EQ(RunMevko({"convert", kExamples + "sample.dat", txt, "--format", "text"}).exitCode, 0);
    ASSERT_EQ(RunMevko({"convert", txt, dat, "--format", "bin"}).exitCode, 0);
    EXPECT_EQ(readBytes(dat), readBytes(kExamples + "sample.dat"));
    EXPECT_EQ(readBytes(txt), readBytes(kExamples + "sample.txt"));
}

TEST(CliExamples, InfoAndFailures)
{
    const CliResult info = RunMevko({"info", kExamples + "sample.dat", "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("\"frames\":12"), std::string::npos) << info.out;
    const CliResult missing = RunMevko({"info", "/nonexistent/x.dat"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("/nonexistent/x.dat"), std::string::npos);
    EXPECT_EQ(missing.out, "");
}

TEST(CliExamples, PlayTraceFiresEveryEffectAndStops)
{
    const CliResult r = RunMevko({"play", kExamples + "sample.dat", "--trace"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    int fires = 0;
    std::istringstream lines(r.out);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (line.find(" fire ") != std::string::npos)
            ++fires;
        last = line;
    }
    EXPECT_EQ(fires, 4);
    EXPECT_NE(last.find(" stop"), std::string::npos);
}

TEST(CliExamples, RenderWritesAPngAndNeverAPartialFile)
{
    const fs::path dir = TempDir("render");
    const fs::path out = dir / "f.png";
    const CliResult r = RunMevko(
        {"render", kExamples + "sample.dat", "--frame", "4", "-o", out.string(), "--width", "320", "--height", "240"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string png = readBytes(out);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // IHDR width and height, big-endian.
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 320u);
    EXPECT_EQ(be32(20), 240u);
    const fs::path bad = dir / "g.png";
    EXPECT_NE(RunMevko({"render", kExamples + "sample.dat", "--frame", "999", "-o", bad.string()}).exitCode, 0);
    EXPECT_FALSE(fs::exists(bad));
}

} // namespace

namespace {

TEST(CliExamples, ClipboardPayloadsRoundTripForEveryVersion)
{
    const fs::path dir = TempDir("clip");
    for (const char* version : {"2000", "xp", "vx", "vxace", "mv", "mz"}) {
        const std::string payload = (dir / (std::string(version) + ".bin")).string();
        const std::string back = (dir / (std::string(version) + ".txt")).string();
        const CliResult out = RunMevko({"clip-export", kExamples + "sample.dat", "--to", version, "-o", payload});
        ASSERT_EQ(out.exitCode, 0) << version << ": " << out.err;
        const CliResult in = RunMevko({"clip-import", payload, "--from", version, "-o", back});
        ASSERT_EQ(in.exitCode, 0) << version << ": " << in.err;
        const CliResult info = RunMevko({"info", back, "--json"});
        ASSERT_EQ(info.exitCode, 0) << version;
        // Every version carries all frames of the sample (12 frames, 38 cells in use).
        EXPECT_NE(info.out.find("\"frames\":12"), std::string::npos) << version << ": " << info.out;
    }
    const CliResult wrong =
        RunMevko({"clip-import", (dir / "mv.bin").string(), "--from", "xp", "-o", (dir / "bad.txt").string()});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_FALSE(fs::exists(dir / "bad.txt"));
}

TEST(CliExamples, ClipboardImportPlacesNamesInTheConfiguredFolders)
{
    const fs::path dir = TempDir("clip_folders");
    const std::string payload = (dir / "mv.bin").string(), config = (dir / "config.ini").string();
    std::ofstream(config, std::ios::binary) << "[CONFIG]\r\nFolderName_G=Pics\\Sub\r\nFolderName_S=Snd\r\n";
    ASSERT_EQ(RunMevko({"clip-export", kExamples + "sample.dat", "--to", "mv", "-o", payload}).exitCode, 0);
    const std::string custom = (dir / "custom.txt").string(), plain = (dir / "plain.txt").string();
    ASSERT_EQ(RunMevko({"clip-import", payload, "--from", "mv", "-o", custom, "--config", config}).exitCode, 0);
    ASSERT_EQ(RunMevko({"clip-import", payload, "--from", "mv", "-o", plain}).exitCode, 0);
    const std::string customDump = RunMevko({"dump", custom}).out, plainDump = RunMevko({"dump", plain}).out;
    EXPECT_NE(customDump.find(R"("path":"Pics\\Sub\\sample_burst")"), std::string::npos) << customDump;
    EXPECT_NE(customDump.find(R"("seName":"Snd\\sample_zap")"), std::string::npos) << customDump;
    EXPECT_NE(plainDump.find(R"("path":"BattleEffect\\sample_burst")"), std::string::npos) << plainDump;
}

} // namespace
