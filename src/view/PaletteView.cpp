#include "view/PaletteView.h"

#include "edit/HistoryCommands.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "view/CanvasEdit.h"

#include <algorithm>

void strPaletteGeometry::PatternPos(int k, int& x, int& y) const
{
    const int cols = std::max(1, columns);
    if (vertical) {
        x = 0;
        y = k * patternH;
    } else {
        x = (k % cols) * patternW;
        y = (k / cols) * patternH;
    }
}

int strPaletteGeometry::PatternAt(int x, int y) const
{
    if (x < 0 || y < 0 || patternW <= 0 || patternH <= 0)
        return -1;
    const int col = x / patternW, row = y / patternH;
    int k;
    if (vertical) {
        if (col != 0)
            return -1;
        k = row;
    } else {
        const int cols = std::max(1, columns);
        if (col >= cols)
            return -1;
        k = row * cols + col;
    }
    return k < count ? k : -1;
}

int strPaletteGeometry::Width() const { return vertical ? patternW : patternW * std::max(1, std::min(columns, count)); }

int strPaletteGeometry::Height() const
{
    const int cols = std::max(1, columns);
    return vertical ? patternH * count : patternH * ((count + cols - 1) / cols);
}

void strPaletteGeometry::ContentSize(int clientW, int clientH, double factor, double& width, double& height) const
{
    const double f = factor > 0 ? factor : 1;
    width = std::max<double>(Width(), std::max(0, clientW) / f);
    height = std::max<double>(Height(), std::max(0, clientH) / f);
}

int PaletteTabCount(const cAnimeData& project) { return std::max(1, project.LastUsedIndex(AI_PICTURES) + 1); }

int ClampPalettePattern(int pattern, int count) { return std::clamp(pattern, 1, std::max(1, count)); }

int PaletteDropSlot(const cAnimeData& project, int current, int picture, int hitCell)
{
    if (hitCell >= 0 && project.GetCell(current, hitCell))
        return hitCell;
    return FirstFreeSlot(project, picture, current);
}

int PaletteDrop(cAnimeData& project, int& current, iMessageSink& messages, int picture, int pattern, int x, int y,
                int hitCell)
{
    if (!GuardCurrentFrame(project, current, messages))
        return -1;
    const int slot = PaletteDropSlot(project, current, picture, hitCell);
    if (slot < 0)
        return -1;
    strCell cell;
    if (const strCell* hit = project.GetCell(current, slot)) {
        cell = *hit;
    } else {
        cell = strCell::New();
        cell.x = int16_t(std::clamp(x, -32768, 32767));
        cell.y = int16_t(std::clamp(y, -32768, 32767));
    }
    cell.picture = uint8_t(std::clamp(picture, 0, 255));
    cell.pattern = uint16_t(std::clamp(pattern, 1, 65535));
    cTransaction transaction(project);
    const bool done = project.SetCell(current, slot, &cell);
    transaction.Finish(done);
    return done ? slot : -1;
}
