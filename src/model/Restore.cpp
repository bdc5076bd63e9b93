#include "model/Restore.h"

#include "model/AnimeData.h"

#include <algorithm>

void cRest_Change_Cell::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SwapCells(frameB, slotB, frameA, slotA);
    else if (direction == RESTORE_REDO)
        project.SwapCells(frameA, slotA, frameB, slotB);
}

void cRest_Change_Frame::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO || direction == RESTORE_REDO)
        project.SwapFrames(frameA, frameB);
}

void cRest_Slide_Frame::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SlideFrames(to, count, from);
    else if (direction == RESTORE_REDO)
        project.SlideFrames(from, count, to);
}

cRest_Update_Cell::cRest_Update_Cell(int frame, int slot, const strCell* after, const strCell* before)
    : frame(int16_t(frame)), slot(int16_t(slot))
{
    if (after)
        this->after = *after;
    if (before)
        this->before = *before;
}

int cRest_Update_Cell::Size() const { return 4 + (after ? 22 : 0) + (before ? 22 : 0); }

void cRest_Update_Cell::Restore(cAnimeData& project, int direction)
{
    const std::optional<strCell>* value = direction == RESTORE_UNDO   ? &before
                                          : direction == RESTORE_REDO ? &after
                                                                      : nullptr;
    if (value)
        project.SetCell(frame, slot, *value ? &**value : nullptr);
}

void cRest_Update_FixCell::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetFixPicture(slot, oldPicture);
    else if (direction == RESTORE_REDO)
        project.SetFixPicture(slot, newPicture);
}

cRest_Update_Frame::cRest_Update_Frame(int frame, const strFrame* after, const strFrame* before) : frame(int16_t(frame))
{
    if (after)
        this->after = std::make_unique<strFrame>(*after);
    if (before)
        this->before = std::make_unique<strFrame>(*before);
}

int cRest_Update_Frame::Size() const
{
    auto frameSize = [](const strFrame* f) { return f ? 2 + f->cells.Count() * 22 : 0; };
    return 4 + frameSize(after.get()) + frameSize(before.get());
}

void cRest_Update_Frame::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetFrame(frame, before.get());
    else if (direction == RESTORE_REDO)
        project.SetFrame(frame, after.get());
}

void cRest_Update_Int::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetInterval(frame, uint16_t(oldInterval));
    else if (direction == RESTORE_REDO)
        project.SetInterval(frame, uint16_t(newInterval));
}

cRest_Update_Picture::cRest_Update_Picture(int slot, const strPicture* after, const strPicture* before)
    : slot(int16_t(slot))
{
    if (after)
        this->after = *after;
    if (before)
        this->before = *before;
}

void cRest_Update_Picture::Restore(cAnimeData& project, int direction)
{
    const std::optional<strPicture>* value = direction == RESTORE_UNDO   ? &before
                                             : direction == RESTORE_REDO ? &after
                                                                         : nullptr;
    if (!value)
        return;
    if (*value)
        project.SetPicture(**value, slot);
    else
        project.DeletePicture(slot);
}

void cRest_Update_Effects::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetEffectList(before);
    else if (direction == RESTORE_REDO)
        project.SetEffectList(after);
}

void cRest_Update_Item::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetValue(item, oldValue);
    else if (direction == RESTORE_REDO)
        project.SetValue(item, newValue);
}

void cRest_Update_Text::Restore(cAnimeData& project, int direction)
{
    if (direction == RESTORE_UNDO)
        project.SetText(item, oldText);
    else if (direction == RESTORE_REDO)
        project.SetText(item, newText);
}

void cRestoreObj::Undo(cAnimeData& project)
{
    for (auto& record : records)
        record->Restore(project, RESTORE_UNDO);
}

void cRestoreObj::Redo(cAnimeData& project)
{
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        (*it)->Restore(project, RESTORE_REDO);
}

bool cRestoreObj::AddRecord(std::unique_ptr<cRestore> record)
{
    if (!record || !record->valid)
        valid = 0;
    if (!valid)
        return false;
    records.push_front(std::move(record));
    return true;
}
