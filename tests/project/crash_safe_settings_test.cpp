// A writer killed at any moment leaves config.ini either as the old complete
// file or as the new complete file.
#include "project/IniFile.h"
#include "project/Settings.h"

#include "platform/FileIO.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The complete file for generation n: every key, with a long text that makes
// the write take a while.
std::string expectedText(const fs::path& scratch, int n)
{
    cSettings s;
    s.Undo = n;
    s.TargetPath = std::string(400, char('a' + n % 26));
    fs::remove(scratch);
    s.WriteSettings(scratch);
    std::string text;
    platform::ReadFile(scratch, text, platform::FileKind::Config);
    return text;
}

TEST(CrashSafeSettings, KilledWritersNeverLeaveAMixture)
{
    const fs::path dir = fs::temp_directory_path() / ("mevko_crash_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / "config.ini";
    std::mt19937 rng(7);
    int generation = 0;
    for (int round = 0; round < 30; ++round) {
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Writes generation after generation, telling the parent after each.
            cSettings s;
            for (int n = generation + 1;; ++n) {
                s.Undo = n;
                s.TargetPath = std::string(400, char('a' + n % 26));
                s.WriteSettings(file);
                const char c = 1;
                if (::write(done[1], &c, 1) != 1)
                    ::_exit(0);
            }
        }
        ::close(done[1]);
        // Let the writer finish one file, then kill it at a random moment of a later one.
        char c;
        ASSERT_EQ(::read(done[0], &c, 1), 1);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 20000)(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(done[0]);

        std::string text;
        ASSERT_TRUE(platform::ReadFile(file, text, platform::FileKind::Config));
        project::cIniFile ini;
        ini.Parse(text);
        cSettings read;
        read.ReadSettings(ini);
        ASSERT_EQ(text, expectedText(dir / "scratch.ini", read.Undo)) << "round " << round;
        ASSERT_GT(read.Undo, generation);
        generation = read.Undo;
    }
    // Temporary files of killed writers may stay behind, but never under the real name.
    fs::remove_all(dir);
}

} // namespace
