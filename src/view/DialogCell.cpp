#include "view/DialogCell.h"

#include "edit/Transaction.h"
#include "model/AnimeData.h"

#include <cstdio>

strCellFields CellFields(const cAnimeData& project)
{
    strCellFields f;
    f.picture = project.GetValue(AI_FIX_PICTURE_PER_CELL) == 0;
    switch (project.GetValue(AI_EDIT_FORMAT)) {
    case 1: // 固定
        f.angle = f.scaleX = f.scaleY = false;
        break;
    case 2: // 左右反転
        f.scaleXHidden = true;
        f.flipShown = true;
        f.scaleX = false;
        break;
    case 3: // 角度
        f.scaleY = false;
        break;
    case 4: // 角度不能
        f.angle = false;
        break;
    default: break;
    }
    return f;
}

int CellFlipChoice(const strCell& cell) { return int(cell.scaleX) * int(cell.scaleY) <= 0 ? 1 : 0; }

void ApplyFlipChoice(strCell& cell, int choice) { cell.scaleX = choice ? int16_t(-cell.scaleY) : cell.scaleY; }

std::string CellColourText(const strCell& cell)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08x",
                  unsigned(cell.saturation) << 24 | unsigned(cell.red) << 16 | unsigned(cell.green) << 8 | cell.blue);
    return text;
}

bool ParseCellColourText(const std::string& text, strCell& cell)
{
    if (text.empty() || text.size() > 8)
        return false;
    uint32_t word = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        word = word << 4 | uint32_t(digit);
    }
    cell.saturation = uint8_t(word >> 24);
    cell.red = uint8_t(word >> 16);
    cell.green = uint8_t(word >> 8);
    cell.blue = uint8_t(word);
    return true;
}

void ClearCellColours(strCell& cell) { cell.red = cell.green = cell.blue = cell.saturation = 100; }

strCell NormaliseWorkingCell(const cAnimeData& project, int cellNo, strCell cell)
{
    project.ValidateCell(cell, cellNo);
    return cell;
}

void strCellTarget::Take(const cAnimeData& project, int frame, int cellNo)
{
    this->frame = frame;
    this->cellNo = cellNo;
    const strCell* cell = project.GetCell(frame, cellNo);
    loaded = cell ? std::optional<strCell>(*cell) : std::nullopt;
}

eCellTargetState strCellTarget::Check(const cAnimeData& project) const
{
    if (!project.GetFrame(frame) || cellNo < 0 || cellNo >= project.CellCount())
        return CTS_GONE;
    const strCell* cell = project.GetCell(frame, cellNo);
    // The loaded cell was deleted, or its frame was (an empty one slid in): nothing to edit.
    if (loaded && !cell)
        return CTS_GONE;
    const bool same = cell ? loaded && *loaded == *cell : !loaded;
    return same ? CTS_SAME : CTS_CHANGED;
}

bool ApplyCellDialog(cAnimeData& project, const strCellTarget& target, const strCell& working)
{
    // A slot that changed under the dialog is not written: the copy belongs to another cell.
    if (target.Check(project) != CTS_SAME)
        return false;
    const strCell* stored = project.GetCell(target.frame, target.cellNo);
    if (stored && NormaliseWorkingCell(project, target.cellNo, working) == *stored)
        return false;
    cTransaction transaction(project);
    const bool done = project.SetCell(target.frame, target.cellNo, &working);
    transaction.Finish(done);
    return done;
}
