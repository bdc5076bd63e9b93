#pragma once
// Cut, copy and paste of the cells selected on the canvas through the internal
// clipboard. The canvas selection is one byte per cell number, bit 0 = selected.

#include <cstdint>
#include <vector>

class cAnimeData;
class iStatusSink;
struct strPointI;

inline constexpr uint8_t kCellSelected = 1;

/** Copies the selected existing cells of frame f (offsets from the first selected cell
 *  number) and reports "[%d] : コピー". Returns the number copied (0: nothing put). */
int CanvasCopy(const cAnimeData& project, int f, const std::vector<uint8_t>& selection, iStatusSink& status);
/** Copy, then deletes the selected cells in one step and reports "[%d] : 切り取り".
 *  Nothing is deleted when nothing could be copied. */
int CanvasCut(cAnimeData& project, int f, const std::vector<uint8_t>& selection, iStatusSink& status);
/** Pastes the clipboard's cells into frame f at cell number a (one step): each cell at
 *  a + its cell-number offset, which becomes selected. A single cell takes the mouse
 *  position when the target was chosen with the mouse (mouse given), otherwise the
 *  position of the cell it replaces. Reports "[%d] : 貼り付け" with the clip's cell
 *  count and returns it; -1 when the clipboard holds no cells. */
int CanvasPaste(cAnimeData& project, int f, int a, std::vector<uint8_t>& selection, const strPointI* mouse,
                iStatusSink& status);
/** The automatic paste target: the first selected existing cell, else the first empty
 *  slot of frame f; -1 when none. */
int CanvasPasteTarget(const cAnimeData& project, int f, const std::vector<uint8_t>& selection);
