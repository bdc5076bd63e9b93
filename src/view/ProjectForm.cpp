#include "view/ProjectForm.h"

#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/CodePage.h"

#include <algorithm>

strProjectForm strProjectForm::From(const cAnimeData& p)
{
    strProjectForm f;
    f.name = p.Text(AT_NAME);
    f.userData = p.Text(AT_USER_DATA);
    f.baseInterval = p.GetValue(AI_BASE_INTERVAL);
    f.totalInterval = p.GetValue(AI_TOTAL_INTERVAL);
    f.cellCount = p.GetLimit(AI_CELLS);
    f.fixPicturePerCell = p.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    f.centerPosition = p.GetValue(AI_CENTER_POSITION);
    f.divisionFormat = p.GetValue(AI_DIVISION_FORMAT);
    f.editFormat = p.GetValue(AI_EDIT_FORMAT);
    f.saveFormat = p.GetValue(AI_SAVE_FORMAT);
    return f;
}

int ProjectChangeBits(const strProjectForm& f, const cAnimeData& p)
{
    int bits = 0;
    if (f.cellCount != p.GetLimit(AI_CELLS))
        bits |= PC_CELL_COUNT;
    if (f.divisionFormat != p.GetValue(AI_DIVISION_FORMAT))
        bits |= PC_DIVISION;
    if (f.fixPicturePerCell != (p.GetValue(AI_FIX_PICTURE_PER_CELL) != 0))
        bits |= PC_FIX_PICTURE;
    if (f.editFormat != p.GetValue(AI_EDIT_FORMAT))
        bits |= PC_EDIT_FORMAT;
    return bits;
}

void ApplyLightItems(const strProjectForm& f, cAnimeData& p)
{
    cTransaction transaction(p);
    p.SetText(AT_NAME, platform::CutStored(f.name, kProjectNameBytes));
    p.SetText(AT_USER_DATA, platform::CutStored(f.userData, kUserDataBytes));
    p.SetValue(AI_CENTER_POSITION, f.centerPosition);
    p.SetValue(AI_SAVE_FORMAT, f.saveFormat);
    p.SetValue(AI_BASE_INTERVAL, f.baseInterval);
    p.SetValue(AI_TOTAL_INTERVAL, f.totalInterval);
    transaction.Commit();
    p.MarkModified();
}

bool ApplyRewrite(const strProjectForm& f, int bits, cAnimeData& p)
{
    // The rewrite cannot be undone: no record group may collect it.
    p.EndRecord(false);
    bool countChanged = false;
    if (bits & PC_CELL_COUNT) {
        const int before = p.GetLimit(AI_CELLS);
        p.SetCellCount(f.cellCount);
        countChanged = p.GetLimit(AI_CELLS) != before;
    }
    if (bits & PC_DIVISION)
        p.SetValue(AI_DIVISION_FORMAT, f.divisionFormat);
    if (bits & (PC_FIX_PICTURE | PC_EDIT_FORMAT)) {
        p.SetValue(AI_DIVISION_FORMAT, f.divisionFormat);
        p.SetValue(AI_FIX_PICTURE_PER_CELL, f.fixPicturePerCell ? 1 : 0);
        p.SetValue(AI_EDIT_FORMAT, f.editFormat);
        p.ValidateCells();
    }
    p.MarkModified();
    return countChanged;
}

int AutoTotalInterval(const cAnimeData& p, int currentFrame)
{
    int sum = 0;
    for (int i = 0; i <= currentFrame; ++i)
        sum += p.EffectiveInterval(i, true);
    return sum;
}
