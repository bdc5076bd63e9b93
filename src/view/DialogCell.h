#pragma once
// The cell dialog's rules without a window: which fields the project's edit
// format leaves usable, the flip choice of the mirror format, the colour word
// text, and storing the working copy as one undo step.

#include "model/Records.h"

#include <optional>
#include <string>

class cAnimeData;

/** Which of the cell dialog's fields are usable. */
struct strCellFields {
    bool picture = true; // off while fixed pictures are on
    bool angle = true;
    bool scaleX = true;
    bool scaleY = true;
    bool scaleXHidden = false; // the flip choice is shown in its place
    bool flipShown = false;
};

/** The field states for the project's edit format and fixed-picture option. */
strCellFields CellFields(const cAnimeData& project);

/** The mirror format's choice: 1 (反転) when scaleX × scaleY <= 0, else 0 (通常). */
int CellFlipChoice(const strCell& cell);
/** Reading the choice: scaleX becomes +scaleY (0) or −scaleY (1). */
void ApplyFlipChoice(strCell& cell, int choice);

/** "%08x" of saturation, red, green and blue (one byte each, saturation on top). */
std::string CellColourText(const strCell& cell);
/** Sets the four colour values from a hexadecimal colour word; false (cell untouched)
 *  when the text is empty, too long or not hexadecimal. */
bool ParseCellColourText(const std::string& text, strCell& cell);
/** Resets the four colour values to 100. */
void ClearCellColours(strCell& cell);

/** The working copy after a change: normalised as the project stores it. */
strCell NormaliseWorkingCell(const cAnimeData& project, int cellNo, strCell cell);

/** How the dialog's slot stands against the cell it loaded. */
enum eCellTargetState { CTS_SAME, CTS_CHANGED, CTS_GONE };

/** The slot the cell dialog edits and the cell it held when the dialog loaded it, so
 *  the dialog can tell when frames were deleted, an undo ran or the project was
 *  replaced under it. */
struct strCellTarget {
    int frame = 0, cellNo = 0;
    std::optional<strCell> loaded;

    /** Remembers the slot and its present cell. */
    void Take(const cAnimeData& project, int frame, int cellNo);
    /** CTS_GONE when the frame or the cell number no longer exists or the loaded cell
     *  left the slot empty, CTS_CHANGED when the slot holds something else than what
     *  was loaded. */
    eCellTargetState Check(const cAnimeData& project) const;
};

/** "適用": stores the working copy in one undo step when the slot still holds what the
 *  dialog loaded and the copy differs from it (or the slot is empty). True when it
 *  stored the cell. */
bool ApplyCellDialog(cAnimeData& project, const strCellTarget& target, const strCell& working);
