// Every command of the command line on files whose names hold accents,
// Japanese, spaces, or 250 bytes: the paths reach the disk unchanged.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string repeat(const char* s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

class UnicodePathsCli : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        root = TempDir("unicode_paths") / "日本語 フォルダ";
        data = root / "Data";
        fs::create_directories(data);
        fs::copy(std::string(MEVKO_SOURCE_DIR) + "/examples/Data", data, fs::copy_options::recursive);
        project = data / GetParam();
        fs::rename(data / "sample.dat", project);
    }
    void TearDown() override { fs::remove_all(root.parent_path()); }

    void ExpectRuns(std::initializer_list<std::string> args, const fs::path& output = {})
    {
        const CliResult r = RunMevko(args);
        EXPECT_EQ(r.exitCode, 0) << *args.begin() << ": " << r.err;
        if (!output.empty()) {
            EXPECT_TRUE(fs::exists(output)) << output;
        }
    }

    fs::path root, data, project;
};

TEST_P(UnicodePathsCli, EveryCommandReadsAndWritesThePath)
{
    const std::string in = project.string();
    const CliResult info = RunMevko({"info", in});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    ExpectRuns({"dump", in});
    const fs::path text = data / (fs::path(GetParam()).stem().string() + ".txt"); // at most 255 bytes
    ExpectRuns({"convert", in, text.string(), "--format", "text"}, text);
    EXPECT_EQ(RunMevko({"dump", text.string()}).out.find("\"saveFormat\":1") != std::string::npos, true);
    const fs::path payload = root / "クリップ é.bin";
    ExpectRuns({"clip-export", in, "--to", "vxace", "-o", payload.string()}, payload);
    const fs::path imported = data / "取り込み é.dat";
    ExpectRuns({"clip-import", payload.string(), "--from", "vxace", "-o", imported.string()}, imported);
    ExpectRuns({"play", in, "--trace", "--max-ticks", "3"});
    const fs::path png = root / "画像 é.png";
    ExpectRuns({"render", in, "--frame", "0", "-o", png.string()}, png);
    const fs::path sheet = root / "シート é.png";
    ExpectRuns({"export-png", in, "-o", sheet.string(), "--sheet", "2"}, sheet);
    const fs::path gif = root / "アニメ é.gif";
    ExpectRuns({"export-gif", in, "-o", gif.string()}, gif);
    const fs::path config = root / "設定 é" / "config.ini";
    fs::create_directories(config.parent_path());
    ExpectRuns({"settings", "--config", config.string(), "--write"}, config);
}

INSTANTIATE_TEST_SUITE_P(Names, UnicodePathsCli,
                         ::testing::Values("café.dat", "爆発 アニメ.dat", "two  spaces .dat",
                                           repeat("é", 123) + ".dat")); // 250 bytes

} // namespace
