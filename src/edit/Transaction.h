#pragma once
// One undoable step of an edit: the project's changes between construction and
// Commit form one history step. A step that is not committed (the operation
// failed or threw halfway) is rolled back: what it applied is undone.

#include "model/AnimeData.h"

class cTransaction {
public:
    explicit cTransaction(cAnimeData& project) : project_(project) { project_.BeginRecord(); }
    ~cTransaction() { Finish(false); }
    cTransaction(const cTransaction&) = delete;
    cTransaction& operator=(const cTransaction&) = delete;

    /** Commits the step when ok, rolls it back otherwise; later calls do nothing. Returns ok. */
    bool Finish(bool ok)
    {
        if (open_) {
            open_ = false;
            if (ok)
                project_.EndRecord(true);
            else
                project_.RollBackRecord();
        }
        return ok;
    }
    bool Commit() { return Finish(true); }

private:
    cAnimeData& project_;
    bool open_ = true;
};
