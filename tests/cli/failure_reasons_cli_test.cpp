// Failures of the command line say why: the character a code page lacks, the
// system's reason a file could not be written.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

TEST(FailureReasonsCli, SayWhyAndWriteNothing)
{
    const fs::path dir = TempDir("failure_reasons");
    const std::string examples = std::string(MEVKO_SOURCE_DIR) + "/examples/Data/";
    // The sample in UTF-8 (marked) with a name the 2000 code page cannot hold.
    std::ifstream in(examples + "sample.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t nameStart = text.find("\r\n") + 2;
    text.replace(nameStart, text.find("\r\n", nameStart) - nameStart, "Lança");
    const fs::path project = dir / "lanca.txt";
    std::ofstream(project, std::ios::binary) << "\xEF\xBB\xBF" << text;

    const auto expectRefused = [](const CliResult& r, const char* reason, const fs::path& output) {
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(reason), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(output)) << output;
    };
    expectRefused(RunMevko({"clip-export", project.string(), "--to", "2000", "-o", (dir / "p.bin").string()}), "U+00E7",
                  dir / "p.bin");
    expectRefused(RunMevko({"export-gif", examples + "sample.dat", "-o", (dir / "none" / "a.gif").string()}),
                  "No such file or directory", dir / "none");
    expectRefused(
        RunMevko({"export-png", examples + "sample.dat", "--sheet", "4", "-o", (dir / "none" / "s.png").string()}),
        "No such file or directory", dir / "none");
    fs::remove_all(dir);
}
