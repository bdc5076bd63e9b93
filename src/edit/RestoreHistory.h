#pragma once
// The bounded undo/redo history of one document: the steps a project commits
// through its iChangeSink, replayed on the project by Undo and Redo.

#include "model/Restore.h"

#include <deque>
#include <memory>

class cAnimeData;

/** The bounded undo/redo history, one per document. */
class cRestoreHistory : public iChangeSink {
public:
    static constexpr int kMaxCapacity = 32;

    /** Empties both queues and sets the capacity (negative keeps it; clamped to 0..32). */
    bool SetCapacity(int n);
    /** Empties both queues and sets the capacity to 0. */
    void Clear();
    bool CanRestore(int direction) const;
    /** Takes a step; an invalid or empty one is destroyed and false returned. */
    bool Commit(std::unique_ptr<cRestoreObj> step) override;
    /** Undoes or redoes one step on the project. */
    bool Restore(cAnimeData& project, int direction);

    int Capacity() const { return capacity_; }
    bool KeepsRecords() const override { return capacity_ >= 1; }
    void Forget() override { SetCapacity(-1); }
    int UndoCount() const { return int(undoSteps_.size()); }
    int RedoCount() const { return int(redoSteps_.size()); }

private:
    std::deque<std::unique_ptr<cRestoreObj>> undoSteps_, redoSteps_;
    int capacity_ = 0;
};
