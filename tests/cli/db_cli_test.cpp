// mevko db-list / db-import / db-export on a small MV game.
#include "support/GameDataFixtures.h"
#include "support/RunCli.h"

#include "platform/Paths.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(DbCli, ListImportAndExportBack)
{
    const fs::path dir = TempDir("db_cli");
    const fs::path file = MakeMvGame(dir / "game");
    const std::string original = slurp(file);

    CliResult r = RunMevko({"db-list", file.string(), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const nlohmann::json list = nlohmann::json::parse(r.out);
    EXPECT_EQ(list["kind"], "mv");
    ASSERT_EQ(list["entries"].size(), 2u);
    EXPECT_EQ(
        list["entries"][0],
        nlohmann::json({{"id", 1}, {"name", "Hit"}, {"frames", 2}, {"cells", 2}, {"timings", 1}, {"editable", true}}));
    r = RunMevko({"db-list", file.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("     2      1     1       0  Fire\n"), std::string::npos) << r.out;

    const fs::path project = dir / "hit.dat";
    r = RunMevko({"db-import", file.string(), "--id", "1", "-o", project.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = RunMevko({"dump", project.string()});
    const nlohmann::json dump = nlohmann::json::parse(r.out);
    EXPECT_EQ(dump["pictures"][0]["path"], paths::FromDiskPath(dir / "game" / "img" / "animations" / "Hit1.png"));

    // Written back unchanged: the file stays as it was; into a new ID: appended.
    r = RunMevko({"db-export", project.string(), file.string(), "--id", "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(file), original);
    r = RunMevko({"db-export", project.string(), file.string(), "--id", "4"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(slurp(file.string() + ".bak"), original);
    const std::string appended = slurp(file);
    EXPECT_EQ(appended.substr(0, original.size() - 2), original.substr(0, original.size() - 2));
    r = RunMevko({"db-list", file.string(), "--json"});
    EXPECT_EQ(nlohmann::json::parse(r.out)["entries"].back()["id"], 4);
    fs::remove_all(dir);
}

TEST(DbCli, FailuresNameTheFileAndWriteNothing)
{
    const fs::path dir = TempDir("db_cli_fail");
    const fs::path file = MakeMvGame(dir / "game");
    const std::string original = slurp(file);
    const std::string sample = std::string(MEVKO_SOURCE_DIR) + "/examples/Data/sample.dat";
    const fs::path out = dir / "out.dat";
    const struct {
        std::initializer_list<std::string> args;
        std::string message;
    } rows[] = {
        {{"db-import", file.string(), "--id", "9", "-o", out.string()}, file.string()},
        {{"db-import", sample, "--id", "1", "-o", out.string()}, "not a game data file"},
        {{"db-import", file.string(), "--id", "0", "-o", out.string()}, "--id takes an ID from 1 to 9999"},
        {{"db-export", sample, (dir / "none" / "Animations.json").string(), "--id", "1"}, "cannot be read"},
        {{"db-export", (dir / "none.dat").string(), file.string(), "--id", "1"}, "no such file"},
    };
    for (const auto& row : rows) {
        const CliResult r = RunMevko(row.args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_NE(r.err.find(row.message), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(slurp(file), original);
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));

    // --no-backup writes the file alone.
    ASSERT_EQ(RunMevko({"db-export", sample, file.string(), "--id", "2", "--no-backup"}).exitCode, 0);
    EXPECT_NE(slurp(file), original);
    EXPECT_FALSE(fs::exists(file.string() + ".bak"));
    fs::remove_all(dir);
}

} // namespace
