// Recovery copies: exact round trips, which copies count as left by a crash,
// and damaged copies.
#include "support/ProjectFixtures.h"

#include "project/RecoveryStore.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> files(const fs::path& dir)
{
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(dir))
        out.push_back(e.path().filename());
    return out;
}

} // namespace

TEST(Recovery, CopyRestoresTheSameModelPathAndFormatInBothFormats)
{
    const fs::path dir = TestFolder("recovery_round");
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        auto p = RandomProject(seed);
        p->SetValue(AI_SAVE_FORMAT, int(seed % 2));
        p->SetText(AT_WORK_FOLDER, "/home/u/Data");
        p->SetText(AT_FILE_NAME, "fire.dat");
        int64_t when = 1700000000 + seed;
        {
            cRecoveryStore store(dir / ("s" + std::to_string(seed)));
            strRecoverySnapshot snap;
            ASSERT_TRUE(cRecoveryStore::Snapshot(*p, "\\home\\u\\Data\\fire.dat", when, snap));
            ASSERT_TRUE(store.Commit(snap));
        } // the session ends without removing its copy: a crash
        cRecoveryStore next(dir / ("s" + std::to_string(seed)));
        const std::vector<strRecoveryInfo> left = next.Orphans();
        ASSERT_EQ(left.size(), 1u) << seed;
        EXPECT_EQ(left[0].originalPath, "\\home\\u\\Data\\fire.dat");
        EXPECT_EQ(left[0].savedAt, when);
        cAnimeData back;
        ASSERT_TRUE(cRecoveryStore::Restore(left[0], back));
        EXPECT_EQ(ANIME::DumpProjectText(back), ANIME::DumpProjectText(*p)) << seed;
        EXPECT_EQ(back.Text(AT_WORK_FOLDER), "/home/u/Data");
        EXPECT_EQ(back.Text(AT_FILE_NAME), "fire.dat");
    }
}

TEST(Recovery, OnlyCopiesOfEndedSessionsAreOffered)
{
    const fs::path dir = TestFolder("recovery_live");
    cAnimeData p;
    p.NewProject("w");
    strRecoverySnapshot snap;
    ASSERT_TRUE(cRecoveryStore::Snapshot(p, "", 5, snap));

    cRecoveryStore running(dir); // another editor still at work
    ASSERT_TRUE(running.Commit(snap));
    cRecoveryStore me(dir);
    ASSERT_TRUE(me.Commit(snap));
    EXPECT_TRUE(me.Orphans().empty()) << "neither a living session's copy nor my own";

    // Removing after a save leaves nothing behind; a declined copy is deleted whole.
    running.Remove();
    me.Remove();
    WriteBytes(dir / "note.txt", "not mine");
    WriteBytes(dir / "1-2-3.lock", ""); // left by a session killed before it had changes
    {
        cRecoveryStore crashed(dir);
        ASSERT_TRUE(crashed.Commit(snap));
    }
    const auto left = me.Orphans();
    ASSERT_EQ(left.size(), 1u);
    cRecoveryStore::Discard(left[0]);
    EXPECT_TRUE(me.Orphans().empty());
    const auto rest = files(dir);
    EXPECT_EQ(rest.size(), 3u) << "note.txt and the two living sessions' locks, no stale lock";
}

TEST(Recovery, DamagedCopiesAreNotOffered)
{
    const fs::path dir = TestFolder("recovery_bad");
    cAnimeData p;
    p.NewProject("w");
    strRecoverySnapshot snap;
    ASSERT_TRUE(cRecoveryStore::Snapshot(p, "a.dat", 5, snap));
    const std::string good = snap.bytes;
    const std::pair<const char*, std::string> cases[] = {
        {"empty", ""},
        {"other magic", "MEVKO_RECOVERY 9\n" + good.substr(17)},
        {"no header end", good.substr(0, 30)},
        {"bad time", "MEVKO_RECOVERY 1\ntime=12x\n\n"},
        {"no time", "MEVKO_RECOVERY 1\npath=a\n\n"},
    };
    for (const auto& [name, bytes] : cases) {
        WriteBytes(dir / (std::string(name) + ".rec"), bytes);
        strRecoveryInfo info;
        EXPECT_FALSE(cRecoveryStore::ReadInfo(dir / (std::string(name) + ".rec"), info)) << name;
    }
    // A readable header over a damaged project is offered but does not restore.
    WriteBytes(dir / "cut.rec", good.substr(0, good.find("\n\n") + 2) + "MEVK_BIN damaged");
    strRecoveryInfo info;
    ASSERT_TRUE(cRecoveryStore::ReadInfo(dir / "cut.rec", info));
    cAnimeData back;
    EXPECT_FALSE(cRecoveryStore::Restore(info, back));
    EXPECT_NE(RecoveryQuestion(info).find("a.dat"), std::string::npos);
}
