// A saver killed at any moment leaves the project file either as the old
// complete file or as the new complete file, in both formats.
#include "project/AnimeFile.h"

#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "project/Settings.h"

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

// A project of a few megabytes whose name carries the generation.
void makeProject(cAnimeData& p, int generation, int format)
{
    strProjectDefaults defaults;
    defaults.cellCount = 64;
    p.SetDefaults(defaults);
    p.NewProject("");
    p.SetValue(AI_SAVE_FORMAT, format);
    p.InsertFrames(1, 399);
    strCell c = strCell::New();
    for (int f = 0; f < 400; ++f)
        for (int n = 0; n < 64; ++n) {
            c.x = int16_t((f * 7 + n + generation) % 2000 - 1000);
            c.angle = int16_t(f + n);
            p.SetCell(f, n, &c);
        }
    p.SetText(AT_NAME, "generation " + std::to_string(generation));
}

class CrashSafeProject : public ::testing::TestWithParam<int> {};

TEST_P(CrashSafeProject, KilledSaversNeverLeaveAMixture)
{
    const int format = GetParam();
    const fs::path dir = fs::temp_directory_path() /
                         ("mevko_crash_project_" + std::to_string(::getpid()) + "_" + std::to_string(format));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path file = dir / (format ? "anim.txt" : "anim.dat");
    std::mt19937 rng(11 + format);
    int generation = 0;
    for (int round = 0; round < 12; ++round) {
        int done[2];
        ASSERT_EQ(::pipe(done), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ANIME::cAnimeFile_Device device;
            for (int n = generation + 1;; ++n) {
                cAnimeData p;
                makeProject(p, n, format);
                if (device.Save(file, p) != ANIME::FR_OK)
                    ::_exit(1);
                const char c = 1;
                if (::write(done[1], &c, 1) != 1)
                    ::_exit(0);
            }
        }
        ::close(done[1]);
        char c;
        ASSERT_EQ(::read(done[0], &c, 1), 1) << "the saver failed";
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 60000)(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(done[0]);

        std::string bytes;
        ASSERT_TRUE(platform::ReadFile(file, bytes, platform::FileKind::Project));
        ANIME::cAnimeFile_Device device;
        cAnimeData read;
        ASSERT_EQ(device.LoadBytes(bytes, read), ANIME::FR_OK) << "round " << round;
        const std::string name = read.Text(AT_NAME);
        ASSERT_EQ(name.rfind("generation ", 0), 0u);
        const int n = std::stoi(name.substr(11));
        ASSERT_GT(n, generation);
        cAnimeData expected;
        makeProject(expected, n, format);
        std::string expectedBytes;
        ASSERT_EQ(device.SaveBytes(expected, format, expectedBytes), ANIME::FR_OK);
        ASSERT_EQ(bytes, expectedBytes) << "round " << round << " holds a damaged generation " << n;
        generation = n;
    }
    fs::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Formats, CrashSafeProject, ::testing::Values(0, 1));

} // namespace
