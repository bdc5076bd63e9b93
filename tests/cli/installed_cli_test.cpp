// Where an installed program keeps its settings: never in its own bin folder, even
// when it may write there.
#include "support/RunCli.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

TEST(CliInstalled, ConfigLivesBesideAPortableCopyAndInTheUserFolderOnceInstalled)
{
    struct Case {
        bool installed;
        const char* expected; // relative to the test folder
    };
    for (const Case c : {Case{false, "usr/bin/config.ini"}, Case{true, "xdg/mevko/config.ini"}}) {
        const fs::path dir = TempDir(c.installed ? "installed" : "portable");
        fs::create_directories(dir / "usr" / "bin");
        if (c.installed)
            fs::create_directories(dir / "usr" / "share" / "doc" / "mevko");
        fs::copy_file(fs::path(MEVKO_BIN_DIR) / "mevko", dir / "usr" / "bin" / "mevko");
        const std::string cmd = "XDG_CONFIG_HOME=" + ShellQuote((dir / "xdg").string()) + " " +
                                ShellQuote((dir / "usr" / "bin" / "mevko").string()) + " settings >" +
                                ShellQuote((dir / "out.txt").string());
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        std::ifstream in(dir / "out.txt");
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first, "# " + (dir / c.expected).string()) << (c.installed ? "installed" : "portable");
        fs::remove_all(dir);
    }
}
