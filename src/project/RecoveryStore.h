#pragma once
// Recovery copies of unsaved work. While a project has unsaved changes the
// editor writes a copy of it, with what is needed to put it back (its file path,
// working folder, file name and save format), into a recovery folder of its own
// — never beside the user's file. A save or a clean exit removes the copy; a
// copy still there at the next start belongs to a session that crashed.
//
// Each running editor holds an advisory lock on a lock file of its own for as
// long as it lives, so another editor started meanwhile never mistakes a living
// session's copy for a crashed one; the system drops the lock when the process
// dies, however it dies.
//
// Writing is split so the slow part can leave the user-interface thread: the
// snapshot (project to bytes) is taken on the thread that owns the project, the
// commit (an atomic file write) may run on any thread.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class cAnimeData;

/** What a recovery copy says about itself. */
struct strRecoveryInfo {
    std::filesystem::path file; // the copy
    std::string originalPath;   // model path of the project's file; empty for a new or imported one
    std::string workFolder;     // the project's working folder
    std::string fileName;       // the project's file name
    int saveFormat = 0;         // the project's save format
    int64_t savedAt = 0;        // when the copy was written, seconds since the epoch
};

/** The bytes of one recovery copy, ready to be committed. */
struct strRecoverySnapshot {
    std::string bytes;
};

class cRecoveryStore {
public:
    /** folder: where the copies go (created when first needed). The store takes
     *  the lock of this session at once. */
    explicit cRecoveryStore(std::filesystem::path folder);
    ~cRecoveryStore();
    cRecoveryStore(const cRecoveryStore&) = delete;
    cRecoveryStore& operator=(const cRecoveryStore&) = delete;

    /** The copy of a project in its own save format (the other one when that
     *  cannot hold it); false when neither can. Does not touch the disk. */
    static bool Snapshot(const cAnimeData& project, const std::string& originalPath, int64_t now,
                         strRecoverySnapshot& out);
    /** Writes this session's copy atomically; false when it cannot be written.
     *  Safe on any thread while the store lives (one commit at a time). */
    bool Commit(const strRecoverySnapshot& snapshot) const;
    /** Removes this session's copy (after a save or at a clean exit). */
    void Remove() const;
    /** This session's copy. */
    const std::filesystem::path& OwnFile() const { return own_; }

    /** Copies left by sessions that are no longer running, newest first. Files that
     *  are not recovery copies are ignored; locks of ended sessions without a copy
     *  are removed. */
    std::vector<strRecoveryInfo> Orphans() const;
    /** Reads a copy back into a fresh project; false when it is damaged. */
    static bool Restore(const strRecoveryInfo& info, cAnimeData& project);
    /** Reads what a copy says about itself; false when it is not a recovery copy. */
    static bool ReadInfo(const std::filesystem::path& file, strRecoveryInfo& info);
    /** Deletes a copy of a crashed session (restored or declined). */
    static void Discard(const strRecoveryInfo& info);

private:
    std::filesystem::path folder_;
    std::string id_;
    std::filesystem::path own_;
    int lockFd_ = -1;
};

/** The question offered at start-up for a copy, naming the file and the time (local). */
std::string RecoveryQuestion(const strRecoveryInfo& info);
