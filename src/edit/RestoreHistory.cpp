#include "edit/RestoreHistory.h"

#include "model/AnimeData.h"

#include <algorithm>

bool cRestoreHistory::SetCapacity(int n)
{
    undoSteps_.clear();
    redoSteps_.clear();
    if (n >= 0)
        capacity_ = std::min(n, kMaxCapacity);
    return true;
}

void cRestoreHistory::Clear()
{
    undoSteps_.clear();
    redoSteps_.clear();
    capacity_ = 0;
}

bool cRestoreHistory::CanRestore(int direction) const
{
    if (direction == RESTORE_UNDO)
        return !undoSteps_.empty();
    if (direction == RESTORE_REDO)
        return !redoSteps_.empty();
    return false;
}

bool cRestoreHistory::Commit(std::unique_ptr<cRestoreObj> step)
{
    if (!step)
        return false;
    if (!step->valid || step->records.empty())
        return false;
    redoSteps_.clear();
    undoSteps_.push_front(std::move(step));
    while (int(undoSteps_.size()) > capacity_)
        undoSteps_.pop_back();
    return true;
}

bool cRestoreHistory::Restore(cAnimeData& project, int direction)
{
    if (!CanRestore(direction))
        return false;
    if (direction == RESTORE_UNDO) {
        std::unique_ptr<cRestoreObj> step = std::move(undoSteps_.front());
        undoSteps_.pop_front();
        step->Undo(project);
        redoSteps_.push_front(std::move(step));
    } else {
        std::unique_ptr<cRestoreObj> step = std::move(redoSteps_.front());
        redoSteps_.pop_front();
        step->Redo(project);
        undoSteps_.push_front(std::move(step));
    }
    return true;
}
