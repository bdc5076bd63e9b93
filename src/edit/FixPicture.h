#pragma once
// The fixed picture of each cell number: the table dialog for all cell numbers
// and the single-value dialog for one.

#include <vector>

class cAnimeData;

/** The highest picture number the dialogs offer: the last picture slot in use (0 when none). */
int HighestPictureNumber(const cAnimeData& project);

/** The rows of the cell-number / picture table dialog. */
struct strFixPictureTable {
    std::vector<int> pictures; // one per cell number

    /** Fills the rows with the project's fixed pictures. */
    void Load(const cAnimeData& project);
    /** Writes value into every selected row. */
    void SetRows(const std::vector<int>& rows, int value);
};

/** Stores every row (clamped to 0..255) as the fixed picture of its cell number (one
 *  step). True when anything changed. */
bool ApplyFixPictureTable(cAnimeData& project, const strFixPictureTable& table);
/** Stores one cell number's fixed picture (one step). True when it changed. */
bool ApplyFixPicture(cAnimeData& project, int cellNo, int picture);
