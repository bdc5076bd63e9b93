// The conventions every command shares: both option forms, negative values, help,
// version and exit codes, and a manual page that keeps up with the options.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string kSample = std::string(MEVKO_SOURCE_DIR) + "/examples/Data/sample.dat";
const char* const kCommands[] = {"info",        "dump", "settings", "convert",    "clip-export",
                                 "clip-import", "play", "render",   "export-png", "export-gif"};

std::string readBytes(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace

TEST(CliOptions, ValuesGoAfterAnEqualsSignOrInTheNextArgumentAndMayBeNegative)
{
    const fs::path dir = TempDir("options_forms");
    const std::string joined = (dir / "joined.gif").string(), split = (dir / "split.gif").string();
    const CliResult a = RunMevko({"export-gif", kSample, "-o", joined, "--crop=-64,-48,64,48", "--fps=30"});
    const CliResult b = RunMevko({"export-gif", kSample, "-o", split, "--crop", "-64,-48,64,48", "--fps", "30"});
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;
    EXPECT_NE(a.out.find("128 x 96"), std::string::npos) << a.out;
    EXPECT_EQ(readBytes(joined), readBytes(split));

    // A negative value after a two-value option; hex play options.
    const CliResult play =
        RunMevko({"play", kSample, "--trace", "--range", "-1", "3", "--options=0x20", "--max-ticks=50"});
    ASSERT_EQ(play.exitCode, 0) << play.err;
    EXPECT_EQ(play.out.rfind("0 0\n", 0), 0u) << play.out;
    fs::remove_all(dir);
}

TEST(CliOptions, ExitCodesAndMessages)
{
    const fs::path dir = TempDir("options_codes");
    const std::string out = (dir / "o.png").string();
    const struct {
        std::vector<std::string> args;
        int code;
        const char* message; // on stderr
    } rows[] = {
        {{}, 2, "Usage: mevko"},
        {{"no-such-command"}, 2, "unknown command 'no-such-command'"},
        {{"--bogus"}, 2, "unknown option '--bogus'"},
        {{"export-png", kSample, "-o", out, "--scale=0"}, 1, "export-png: --scale needs a percentage 1-200"},
        {{"export-png", kSample, "-o", out, "--crop=1,2,3"}, 1, "--crop needs L,T,R,B"},
        {{"export-png", kSample, "-o", out, "--crop", "1,2,3,4,"}, 1, "--crop needs L,T,R,B"},
        {{"export-png", kSample, "-o", out, "--background=12345g"}, 1, "--background needs RRGGBB"},
        {{"export-png", kSample, "-o", out, "--order=x", "--sheet=2"}, 1, "--order takes z or n"},
        {{"export-png", kSample}, 1, "export-png: needs IN and -o OUT (see mevko export-png --help)"},
        {{"render", kSample, "-o", out}, 1, "render: needs IN, --frame N and -o OUT.png"},
        {{"render", kSample, "-o", out, "--frame", "1x"}, 1, "--frame needs a number"},
        {{"play", kSample, "--trace", "--options", "0x10000"}, 1, "--options needs a number (0..0xFFFF)"},
        {{"play", kSample, "--trace", "--from=-1"}, 1, "--from needs a frame number"},
        {{"play", kSample}, 1, "nothing to do: add --trace"},
        {{"convert", kSample, out, "--format=png"}, 1, "unknown format png (bin or text)"},
        {{"clip-export", kSample, "--to", "2003", "-o", out}, 1, "unknown version 2003"},
        {{"info", kSample, "extra"}, 1, "info: unexpected argument 'extra'"},
        {{"info"}, 1, "info: no file given"},
    };
    for (const auto& row : rows) {
        std::string cmd = std::string(MEVKO_BIN_DIR) + "/mevko";
        const std::string shown = row.args.empty() ? "(none)" : row.args.back();
        std::string quoted = ShellQuote(cmd);
        for (const std::string& a : row.args)
            quoted += " " + ShellQuote(a);
        const std::string errFile = (dir / "err.txt").string();
        const int status = std::system((quoted + " >/dev/null 2>" + ShellQuote(errFile)).c_str());
        EXPECT_EQ(WEXITSTATUS(status), row.code) << shown;
        EXPECT_NE(readBytes(errFile).find(row.message), std::string::npos) << shown << ": " << readBytes(errFile);
        EXPECT_FALSE(fs::exists(out)) << shown;
    }
    fs::remove_all(dir);
}

TEST(CliOptions, HelpAndVersion)
{
    const CliResult version = RunMevko({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("mevko \\(MevkoEditor\\) [0-9]+\\.[0-9]+\n"))) << version.out;

    const CliResult help = RunMevko({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit status:"), std::string::npos);

    // Every command answers --help, and the manual page documents every option it lists.
    std::string manual = readBytes(std::string(MEVKO_SOURCE_DIR) + "/man/mevko.1");
    manual = std::regex_replace(manual, std::regex("\\\\-"), "-");
    for (const char* command : kCommands) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
        const CliResult r = RunMevko({command, "--help"});
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_NE(r.out.find(std::string("Usage: mevko ") + command), std::string::npos) << r.out;
        EXPECT_NE(manual.find(std::string(".SS \"") + command), std::string::npos) << command;
        const std::regex option("(^|[ ,])(--[a-z][a-z-]+)");
        for (std::sregex_iterator it(r.out.begin(), r.out.end(), option), end; it != end; ++it)
            EXPECT_NE(manual.find((*it)[2].str()), std::string::npos) << command << " " << (*it)[2];
    }
}
