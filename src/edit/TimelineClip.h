#pragma once
// Cut, copy, delete and paste of timeline blocks through the internal clipboard:
// a block of the cell area, whole cell-number rows, or whole frames (column
// headers). The timeline's own operations show no status message.

#include <cstdint>

class cAnimeData;

/** The timeline area a selection or a click lies in (its hit-test values). */
enum eTimelineArea { TA_ROWS = 16, TA_FRAMES = 32, TA_CELLS = 64 };

/** A block of frames f0..f1 and cell numbers k0..k1 (inclusive). */
struct strGridBlock {
    int f0 = 0, k0 = 0, f1 = 0, k1 = 0;
    bool operator==(const strGridBlock&) const = default;
};

enum eTimelineClipFlags { TC_COPY = 1, TC_MODIFY = 2 };

/** The clipboard kind that belongs to an area (0 for an unknown area). */
uint32_t TimelineClipKind(int area);

/** The block operation with copy and/or modify: cut = both, copy = TC_COPY,
 *  delete = TC_MODIFY. With modify, the block is cleared (rows: also their fixed
 *  pictures; frames: deleted and closed up, never leaving no frame) in one step; a
 *  cut modifies only when the copy reached the clipboard. Returns true when the
 *  clipboard received the block (copy) or the project changed (delete). */
bool TimelineBlockOp(cAnimeData& project, int area, strGridBlock block, int flags);
inline bool TimelineCut(cAnimeData& p, int area, strGridBlock b)
{
    return TimelineBlockOp(p, area, b, TC_COPY | TC_MODIFY);
}
inline bool TimelineCopy(cAnimeData& p, int area, strGridBlock b) { return TimelineBlockOp(p, area, b, TC_COPY); }
inline bool TimelineDelete(cAnimeData& p, int area, strGridBlock b) { return TimelineBlockOp(p, area, b, TC_MODIFY); }

/** Whether paste is possible in an area (the clipboard holds its kind). */
bool TimelineCanPaste(int area);
/** Pastes the clipboard's block of the area's kind at frame f and cell number k (rows
 *  paste at frame 0, frames at cell number 0) in one step; frames are inserted and
 *  empty positions reproduced. pasted receives the block that was pasted into.
 *  False when the clipboard holds no block of that kind. */
bool TimelinePaste(cAnimeData& project, int area, int f, int k, strGridBlock* pasted);
