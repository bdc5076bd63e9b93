// The editor's command line: --help and --version answer without a display, and
// a wrong option is refused before any window opens.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct strRun {
    int code = -1;
    std::string out;
};

// Runs the built editor through the shell with the given environment changes and arguments.
strRun runEditor(const std::string& environment, const std::string& arguments)
{
    const std::string command =
        "env " + environment + " " + MEVKO_BIN_DIR "/mevko-editor " + arguments + " 2>&1 </dev/null";
    strRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

const std::string kNoDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";

} // namespace

TEST(EditorCommandLine, HelpAndVersionNeedNoDisplay)
{
    const strRun help = runEditor(kNoDisplay, "--help");
    EXPECT_EQ(help.code, 0) << help.out;
    for (const char* option : {"--config <FILE>", "--lang <ja|en>", "--import <VERSION>", "--export <VERSION>",
                               "--save-as <FILE>", "--version", "[FILE]"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option << " missing in:\n" << help.out;
    EXPECT_EQ(help.out.find("--screenshot"), std::string::npos) << "checks by hand stay out of --help";

    const strRun version = runEditor(kNoDisplay, "--version");
    EXPECT_EQ(version.code, 0) << version.out;
    EXPECT_EQ(version.out, "mevko-editor 0.72\n");
}

TEST(EditorCommandLine, WrongOptionsAreRefused)
{
    for (const char* arguments : {"--lang fr", "--no-such-option", "--config", "--import 2003", "--export vxa"}) {
        const strRun run = runEditor("QT_QPA_PLATFORM=offscreen", arguments);
        EXPECT_EQ(run.code, 2) << arguments << ": " << run.out;
        EXPECT_NE(run.out.find("mevko-editor: "), std::string::npos) << arguments << ": " << run.out;
    }
}
