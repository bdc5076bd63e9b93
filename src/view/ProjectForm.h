#pragma once
// The project dialog's values and apply rules, without a window: what the
// dialog shows, which changes rewrite the frames, and how they are stored.

#include <string>

class cAnimeData;

/** The project items as the dialog edits them. */
struct strProjectForm {
    std::string name, userData; // UTF-8, as the model holds them
    int baseInterval = 1, totalInterval = 0, cellCount = 16;
    bool fixPicturePerCell = false;
    int centerPosition = 0, divisionFormat = 0, editFormat = 0, saveFormat = 0;

    /** The values of the project (the cell count is its limit). */
    static strProjectForm From(const cAnimeData& project);
};

/** Limits of the name and the user data, in bytes as the project files store them. */
constexpr size_t kProjectNameBytes = 64, kUserDataBytes = 255;

/** Change bits of the items that rewrite the frames. */
enum eProjectChange {
    PC_CELL_COUNT = 1,
    PC_DIVISION = 2,
    PC_FIX_PICTURE = 4,
    PC_EDIT_FORMAT = 8,
};

/** The change bits between the form and the project. */
int ProjectChangeBits(const strProjectForm& form, const cAnimeData& project);
/** Stores name and user data (cut at a character boundary to their limits), centre position, save format, base and
 *  total interval. */
void ApplyLightItems(const strProjectForm& form, cAnimeData& project);
/** The rewriting part for the change bits: the cell count, the formats and the fixed
 *  picture option, then every existing cell validated in place (no undo records).
 *  Returns whether the cell count changed. The caller clears the history. */
bool ApplyRewrite(const strProjectForm& form, int changeBits, cAnimeData& project);
/** "自動設定": the sum of the effective intervals of frames 0..current. */
int AutoTotalInterval(const cAnimeData& project, int currentFrame);
