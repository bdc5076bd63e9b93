#include "edit/PaletteView.h"

#include "edit/HistoryCommands.h"
#include "model/AnimeData.h"
#include "render/SpriteDrawer.h"

#include <cmath>

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

int PaletteTabCount(const cAnimeData& project) { return std::max(1, project.LastUsedIndex(AI_PICTURES) + 1); }

int ClampPalettePattern(int pattern, int count) { return std::clamp(pattern, 1, std::max(1, count)); }

int PaletteDropSlot(const cAnimeData& project, int picture, int frame)
{
    if (!project.GetFrame(frame))
        return -1;
    const bool fixed = project.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    for (int k = 0; k < project.CellCount(); ++k)
        if (!project.GetCell(frame, k) && (!fixed || project.GetFixPicture(k) == picture))
            return k;
    return -1;
}

int PaletteHitCell(const cAnimeData& project, const cSpriteDrawer& drawer, int frame, double px, double py)
{
    for (int k = project.CellCount() - 1; k >= 0; --k) {
        const strCell* c = project.GetCell(frame, k);
        const cPatternSheet* sheet = c ? drawer.sheet(c->picture) : nullptr;
        if (!sheet || !sheet->isReady())
            continue;
        int w = 0, h = 0;
        sheet->patternSize(w, h);
        const double a = c->angle * M_PI / 1800.0, cs = std::cos(a), sn = std::sin(a);
        const double sx = c->scaleX / 100.0, sy = c->scaleY / 100.0;
        double vx[4], vy[4];
        const double cx[4] = {-w / 2.0, w / 2.0, w / 2.0, -w / 2.0}, cy[4] = {-h / 2.0, -h / 2.0, h / 2.0, h / 2.0};
        for (int i = 0; i < 4; ++i) {
            const double dx = cx[i] * sx, dy = cy[i] * sy;
            vx[i] = cs * dx - sn * dy + c->x;
            vy[i] = sn * dx + cs * dy + c->y;
        }
        int sign = 0;
        bool inside = true;
        for (int i = 0; i < 4 && inside; ++i) {
            const int j = (i + 1) % 4;
            const double cross = (vx[i] - vx[j]) * (py - vy[j]) - (vy[i] - vy[j]) * (px - vx[j]);
            const int s = cross > 0 ? 1 : cross < 0 ? -1 : 0;
            if (s != 0 && sign != 0 && s != sign)
                inside = false;
            if (s != 0)
                sign = s;
        }
        if (inside)
            return k;
    }
    return -1;
}

int PaletteDrop(cAnimeData& project, int& current, iMessageSink& messages, int picture, int pattern, int x, int y,
                int hitCell)
{
    if (!GuardCurrentFrame(project, current, messages))
        return -1;
    strCell cell;
    int slot;
    if (const strCell* hit = hitCell >= 0 ? project.GetCell(current, hitCell) : nullptr) {
        slot = hitCell;
        cell = *hit;
    } else {
        slot = PaletteDropSlot(project, picture, current);
        if (slot < 0)
            return -1;
        cell = strCell::New();
        cell.x = int16_t(std::clamp(x, -32768, 32767));
        cell.y = int16_t(std::clamp(y, -32768, 32767));
    }
    cell.picture = uint8_t(std::clamp(picture, 0, 255));
    cell.pattern = uint16_t(std::clamp(pattern, 1, 65535));
    project.BeginRecord();
    const bool done = project.SetCell(current, slot, &cell);
    project.EndRecord(done);
    return done ? slot : -1;
}
