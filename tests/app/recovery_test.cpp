// Work survives a crash: an editor process edits, is killed, and the next start
// offers its recovery copy and restores exactly that model.

#include "support/GuiFixture.h"

#include "app/AutoSave.h"
#include "edit/FrameOps.h"
#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <QTest>

#include <chrono>
#include <csignal>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> copiesIn(const fs::path& folder)
{
    std::vector<fs::path> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".rec")
            out.push_back(it->path());
    return out;
}

// The sample after "insert frame" on its first frame, as the killed editor had it.
std::string expectedDump(const fs::path& sample)
{
    cAnimeData p;
    ANIME::cAnimeFile_Device device;
    EXPECT_EQ(device.Load(sample, p), ANIME::FR_OK);
    int frame = 0;
    cStatusRecorder status;
    InsertFrame(p, frame, status);
    return ANIME::DumpProjectText(p);
}

} // namespace

TEST_F(GuiTest, KilledEditorsWorkIsRestoredAtTheNextStart)
{
    // No working-folder question (empty FolderName_C), a copy every second.
    std::ofstream(dir / "config.ini", std::ios::binary) << "[CONFIG]\r\nFolderName_C=\r\nAutoSaveInterval=1\r\n";
    const std::string editor = std::string(MEVKO_BIN_DIR) + "/mevko-editor";
    const std::string config = (dir / "config.ini").string(), sample = Sample().string();
    const char* argv[] = {editor.c_str(), "--config", config.c_str(), "--command", "40115", sample.c_str(), nullptr};
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    pid_t pid = 0;
    ASSERT_EQ(::posix_spawn(&pid, editor.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ), 0);

    const fs::path recovery = cMainWnd::RecoveryFolder(dir / "config.ini");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (copiesIn(recovery).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_EQ(copiesIn(recovery).size(), 1u) << "the editor wrote no recovery copy";
    EXPECT_TRUE(WIFSIGNALED(status));

    messages.answers = {ANSWER_YES};
    cMainWnd& w = Start();
    ASSERT_EQ(messages.asked.size(), 1u);
    EXPECT_NE(messages.asked[0].find("sample.dat"), std::string::npos) << messages.asked[0];
    EXPECT_EQ(ANIME::DumpProjectText(w.Project()), expectedDump(Sample()));
    EXPECT_TRUE(w.Project().modified);
    EXPECT_TRUE(w.isWindowModified());
    EXPECT_EQ(w.Document().currentPath, paths::FromDiskPath(Sample())) << "keeps its original path";

    // The crashed session's copy is gone; this session keeps its own until the work is saved or dropped.
    w.AutoSave().Wait();
    ASSERT_EQ(copiesIn(recovery).size(), 1u);
    EXPECT_EQ(copiesIn(recovery)[0], w.AutoSave().Store().OwnFile());
    messages.answers = {ANSWER_NO};
    EXPECT_TRUE(w.close());
    window.reset();
    EXPECT_TRUE(copiesIn(recovery).empty()) << "a clean exit removes the copy";
}

TEST_F(GuiTest, SavingRemovesTheCopyKeptOutsideTheUsersFolder)
{
    cMainWnd& w = Start();
    w.OnCommand(IDM_INSERT_FRAME);
    w.AutoSave().Tick();
    w.AutoSave().Wait();
    const fs::path own = w.AutoSave().Store().OwnFile();
    ASSERT_TRUE(fs::exists(own));
    EXPECT_NE(own.parent_path(), dir) << "never beside the user's files";
    chooser.answer = paths::FromDiskPath(dir / "saved.dat");
    w.OnCommand(IDM_SAVE_AS);
    EXPECT_FALSE(fs::exists(own)) << "a save removes the copy";
}
