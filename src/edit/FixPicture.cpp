#include "edit/FixPicture.h"

#include "edit/Transaction.h"
#include "model/AnimeData.h"

#include <algorithm>

int HighestPictureNumber(const cAnimeData& project) { return std::max(0, project.LastUsedIndex(AI_PICTURES)); }

void strFixPictureTable::Load(const cAnimeData& project)
{
    pictures.assign(size_t(project.CellCount()), 0);
    for (int i = 0; i < project.CellCount(); ++i)
        pictures[size_t(i)] = project.GetFixPicture(i);
}

void strFixPictureTable::SetRows(const std::vector<int>& rows, int value)
{
    for (int r : rows)
        if (r >= 0 && size_t(r) < pictures.size())
            pictures[size_t(r)] = value;
}

bool ApplyFixPictureTable(cAnimeData& project, const strFixPictureTable& table)
{
    bool changed = false;
    cTransaction transaction(project);
    const int rows = std::min<int>(project.CellCount(), int(table.pictures.size()));
    for (int i = 0; i < rows; ++i)
        changed |= project.SetFixPicture(i, std::clamp(table.pictures[size_t(i)], 0, 255));
    transaction.Commit();
    return changed;
}

bool ApplyFixPicture(cAnimeData& project, int cellNo, int picture)
{
    cTransaction transaction(project);
    const bool changed = project.SetFixPicture(cellNo, std::clamp(picture, 0, 255));
    transaction.Commit();
    return changed;
}
