#include "edit/CanvasClip.h"

#include "edit/EditClip.h"
#include "edit/EditStrings.h"
#include "edit/Spline.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Strings.h"

#include <algorithm>

namespace {
bool selected(const std::vector<uint8_t>& selection, int s)
{
    return s >= 0 && size_t(s) < selection.size() && (selection[size_t(s)] & kCellSelected);
}

// Puts the selected existing cells; the number copied, 0 when nothing was put.
int copySelected(const cAnimeData& project, int f, const std::vector<uint8_t>& selection)
{
    cClip_Mass clip(CLIP_CELLS);
    int first = -1;
    for (int s = 0; s < project.CellCount(); ++s) {
        if (!selected(selection, s))
            continue;
        if (first < 0)
            first = s;
        if (const strCell* cell = project.GetCell(f, s))
            clip.cells.push_back({0, uint16_t(s - first), *cell});
    }
    if (clip.cells.empty() || !Put(clip))
        return 0;
    return int(clip.cells.size());
}
} // namespace

int CanvasCopy(const cAnimeData& project, int f, const std::vector<uint8_t>& selection, iStatusSink& status)
{
    const int copied = copySelected(project, f, selection);
    if (copied > 0)
        status.ShowStatus(platform::FormatString(ST_COPY, copied));
    return copied;
}

int CanvasCut(cAnimeData& project, int f, const std::vector<uint8_t>& selection, iStatusSink& status)
{
    const int copied = copySelected(project, f, selection);
    if (copied == 0)
        return 0;
    cTransaction transaction(project);
    for (int s = 0; s < project.CellCount(); ++s)
        if (selected(selection, s))
            project.SetCell(f, s, nullptr);
    transaction.Commit();
    status.ShowStatus(platform::FormatString(ST_CUT, copied));
    return copied;
}

int CanvasPaste(cAnimeData& project, int f, int a, std::vector<uint8_t>& selection, const strPointI* mouse,
                iStatusSink& status)
{
    cClip_Mass clip(CLIP_CELLS);
    if (!Get(clip))
        return -1;
    if (!clip.cells.empty())
        for (uint8_t& bits : selection)
            bits &= uint8_t(~kCellSelected);
    const bool single = clip.cells.size() == 1;
    cTransaction transaction(project);
    for (const cClip_Mass::strCellEntry& entry : clip.cells) {
        const int target = a + entry.cellNo;
        strCell cell = entry.cell;
        if (single && mouse) {
            cell.x = int16_t(std::clamp(mouse->x, -32768, 32767));
            cell.y = int16_t(std::clamp(mouse->y, -32768, 32767));
        } else if (single) {
            if (const strCell* present = project.GetCell(f, target)) {
                cell.x = present->x;
                cell.y = present->y;
            }
        }
        if (project.SetCell(f, target, &cell) && size_t(target) < selection.size())
            selection[size_t(target)] |= kCellSelected;
    }
    transaction.Commit();
    status.ShowStatus(platform::FormatString(ST_PASTE, int(clip.cells.size())));
    return int(clip.cells.size());
}

int CanvasPasteTarget(const cAnimeData& project, int f, const std::vector<uint8_t>& selection)
{
    for (int s = 0; s < project.CellCount(); ++s)
        if (selected(selection, s) && project.GetCell(f, s))
            return s;
    if (!project.GetFrame(f))
        return -1;
    for (int s = 0; s < project.CellCount(); ++s)
        if (!project.GetCell(f, s))
            return s;
    return -1;
}
