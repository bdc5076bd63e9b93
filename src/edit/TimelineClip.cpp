#include "edit/TimelineClip.h"

#include "edit/EditClip.h"
#include "edit/Transaction.h"
#include "model/AnimeData.h"

#include <algorithm>

namespace {
// Adds the cell or the empty position (f, k) with offsets from (f0, k0).
void addPosition(const cAnimeData& project, cClip_Mass& clip, int f, int k, int f0, int k0)
{
    const uint16_t fo = uint16_t(f - f0), ko = uint16_t(k - k0);
    if (const strCell* cell = project.GetCell(f, k))
        clip.cells.push_back({fo, ko, *cell});
    else
        clip.empties.push_back({fo, ko});
}

// Fills the clip from the block; with modify, also clears it in the project.
// Returns whether the project changed.
bool collect(cAnimeData& project, int area, const strGridBlock& b, cClip_Mass& clip, bool modify)
{
    bool changed = false;
    const bool fixOn = project.GetValue(AI_FIX_PICTURE_PER_CELL) != 0;
    if (area == TA_FRAMES) {
        for (int f = b.f0; f <= b.f1; ++f) {
            const strFrame* frame = project.GetFrame(f);
            if (!frame)
                continue;
            clip.frames.push_back({uint16_t(f - b.f0), frame->interval});
            for (int k = project.CellCount() - 1; k >= 0; --k)
                addPosition(project, clip, f, k, b.f0, 0);
        }
        if (modify && project.DeleteFrames(b.f0, b.f1 - b.f0 + 1, true)) {
            changed = true;
            if (project.GetValue(AI_FRAMES) == 0)
                project.InsertFrames(0, 1);
        }
        return changed;
    }
    for (int k = b.k0; k <= b.k1; ++k) {
        for (int f = b.f0; f <= b.f1; ++f) {
            addPosition(project, clip, f, k, b.f0, b.k0);
            if (modify)
                changed |= project.SetCell(f, k, nullptr);
        }
        if (area == TA_ROWS && fixOn) {
            clip.fixPictures.push_back({uint16_t(k - b.k0), uint16_t(project.GetFixPicture(k))});
            if (modify)
                changed |= project.SetFixPicture(k, 0);
        }
    }
    return changed;
}

// The block limited to the project: rows span every frame, frames every cell number.
bool normalise(const cAnimeData& project, int area, strGridBlock& b)
{
    if (b.f1 < b.f0)
        std::swap(b.f0, b.f1);
    if (b.k1 < b.k0)
        std::swap(b.k0, b.k1);
    if (area == TA_ROWS) {
        b.f0 = 0;
        b.f1 = project.LastUsedIndex(AI_FRAMES);
    }
    if (area == TA_FRAMES) {
        b.k0 = 0;
        b.k1 = project.CellCount() - 1;
    }
    b.f0 = std::max(b.f0, 0);
    b.f1 = std::min(b.f1, project.FrameCapacity() - 1);
    b.k0 = std::max(b.k0, 0);
    b.k1 = std::min(b.k1, project.CellCount() - 1);
    return b.f0 <= b.f1 && b.k0 <= b.k1;
}
} // namespace

uint32_t TimelineClipKind(int area)
{
    switch (area) {
    case TA_CELLS: return CLIP_CELLS;
    case TA_ROWS: return CLIP_ROWS;
    case TA_FRAMES: return CLIP_FRAMES;
    default: return 0;
    }
}

bool TimelineBlockOp(cAnimeData& project, int area, strGridBlock block, int flags)
{
    const uint32_t kind = TimelineClipKind(area);
    if (kind == 0 || !normalise(project, area, block))
        return false;
    cClip_Mass clip(kind);
    if (flags & TC_COPY) {
        collect(project, area, block, clip, false);
        if (!Put(clip))
            return false;
    }
    if (flags & TC_MODIFY) {
        cTransaction transaction(project);
        cClip_Mass discard(kind);
        const bool changed = collect(project, area, block, discard, true);
        transaction.Commit();
        if (!(flags & TC_COPY))
            return changed;
    }
    return true;
}

bool TimelineCanPaste(int area)
{
    const uint32_t kind = TimelineClipKind(area);
    return kind != 0 && Has(kind);
}

bool TimelinePaste(cAnimeData& project, int area, int f, int k, strGridBlock* pasted)
{
    const uint32_t kind = TimelineClipKind(area);
    cClip_Mass clip(kind);
    if (kind == 0 || !Get(clip))
        return false;
    if (area == TA_ROWS)
        f = 0;
    if (area == TA_FRAMES)
        k = 0;
    cTransaction transaction(project);
    if (area == TA_ROWS && project.GetValue(AI_FIX_PICTURE_PER_CELL))
        for (const auto& e : clip.fixPictures)
            project.SetFixPicture(k + e.row, std::min<int>(e.picture, 255));
    if (area == TA_FRAMES && !clip.frames.empty())
        project.InsertFrames(f, int(clip.frames.size()));
    int lastFrame = 0, lastCell = 0;
    for (const auto& e : clip.cells) {
        project.SetCell(f + e.frame, k + e.cellNo, &e.cell);
        lastFrame = std::max<int>(lastFrame, e.frame);
        lastCell = std::max<int>(lastCell, e.cellNo);
    }
    for (const auto& e : clip.empties) {
        project.SetCell(f + e.frame, k + e.cellNo, nullptr);
        lastFrame = std::max<int>(lastFrame, e.frame);
        lastCell = std::max<int>(lastCell, e.cellNo);
    }
    if (area == TA_FRAMES)
        for (const auto& e : clip.frames) {
            project.SetInterval(f + e.frame, e.interval);
            lastFrame = std::max<int>(lastFrame, e.frame);
        }
    for (const auto& e : clip.fixPictures)
        lastCell = std::max<int>(lastCell, e.row);
    transaction.Commit();
    if (pasted)
        *pasted = {f, k, std::min(f + lastFrame, project.FrameCapacity() - 1),
                   std::min(k + lastCell, project.CellCount() - 1)};
    return true;
}
