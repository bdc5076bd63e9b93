// mevko info / dump / convert end to end on the shipped example.
#include "support/ProjectFixtures.h"

#include "support/RunCli.h"

namespace {

namespace fs = std::filesystem;

class ProjectCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(fs::path(MEVKO_BIN_DIR) / "mevko"))
            GTEST_SKIP() << "mevko is not built";
        dir = TestFolder("cli");
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Example(const char* name) { return (ExampleData() / name).string(); }
    fs::path dir;
};

TEST_F(ProjectCli, DumpIsTheSameForBothFormatsAndAfterConversions)
{
    const CliResult bin = RunMevko({"dump", Example("sample.dat")});
    const CliResult text = RunMevko({"dump", Example("sample.txt")});
    ASSERT_EQ(bin.exitCode, 0) << bin.err;
    ASSERT_EQ(text.exitCode, 0) << text.err;
    auto content = [](const std::string& dump) {
        nlohmann::json j = nlohmann::json::parse(dump);
        j.erase("saveFormat");
        return j;
    };
    EXPECT_EQ(content(bin.out), content(text.out));
    EXPECT_EQ(nlohmann::json::parse(bin.out)["name"], "サンプル爆発");

    // binary -> text -> binary, text -> binary -> text
    const std::string t = (dir / "a.txt").string(), b = (dir / "b.dat").string();
    ASSERT_EQ(RunMevko({"convert", Example("sample.dat"), t, "--format", "text"}).exitCode, 0);
    ASSERT_EQ(RunMevko({"convert", t, b, "--format", "bin"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(b), ReadBytes(Example("sample.dat")));
    EXPECT_EQ(RunMevko({"dump", b}).out, bin.out);
    // Without --format the project's own save format decides: a text project stays text.
    const std::string same = (dir / "same.dat").string();
    ASSERT_EQ(RunMevko({"convert", t, same}).exitCode, 0);
    EXPECT_EQ(ReadBytes(same), ReadBytes(Example("sample.txt")));
}

TEST_F(ProjectCli, InfoSummarises)
{
    const CliResult r = RunMevko({"info", Example("sample.txt"), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["kind"], "text");
    EXPECT_EQ(j["frames"], 12);
    EXPECT_EQ(j["cellCount"], 16);
    EXPECT_EQ(j["pictures"], 2);
    EXPECT_EQ(j["effects"], 4);
    const CliResult plain = RunMevko({"info", Example("sample.dat")});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_NE(plain.out.find("binary"), std::string::npos);
}

TEST_F(ProjectCli, FailuresNameTheFileAndWriteNothing)
{
    const fs::path bad = dir / "bad.dat";
    const std::string good = ReadBytes(Example("sample.dat"));
    WriteBytes(bad, good.substr(0, good.size() / 2));
    const fs::path out = dir / "out.dat";
    auto expectFailure = [](const CliResult& r, const std::string& names) {
        EXPECT_NE(r.exitCode, 0) << names;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("mevko: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(names), std::string::npos) << r.err;
    };
    expectFailure(RunMevko({"dump", bad.string()}), bad.string());
    expectFailure(RunMevko({"info", (dir / "missing.dat").string()}), "missing.dat");
    expectFailure(RunMevko({"convert", bad.string(), out.string()}), bad.string());
    expectFailure(RunMevko({"convert", Example("sample.dat"), out.string(), "--format", "x"}), "format");
    expectFailure(RunMevko({"convert", Example("sample.dat"), (dir / "no" / "o.dat").string()}), "o.dat");
    EXPECT_FALSE(fs::exists(out));
    for (const auto& entry : fs::directory_iterator(dir))
        EXPECT_NE(entry.path().filename(), "out.dat");
}

} // namespace
