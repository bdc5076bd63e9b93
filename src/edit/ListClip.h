#pragma once
// The list window's picture and effect operations through the internal
// clipboard: copy, cut, delete and paste of the selected row. Pictures and
// effects are not part of the undo history. Each reports with the row index;
// a failure shows the time message.

class cAnimeData;
class iStatusSink;

bool EffectCopy(const cAnimeData& project, int row, iStatusSink& status);
/** Copies the effect and, when that worked, deletes it closing the gap. */
bool EffectCut(cAnimeData& project, int row, iStatusSink& status);
bool EffectDelete(cAnimeData& project, int row, iStatusSink& status);
/** Inserts the clipboard's effect (validated) in frame order; returns its index, -1 on failure. */
int EffectPaste(cAnimeData& project, int row, iStatusSink& status);

bool PictureCopy(const cAnimeData& project, int row, iStatusSink& status);
/** Copies the picture and, when that worked, empties its slot. */
bool PictureCut(cAnimeData& project, int row, iStatusSink& status);
bool PictureDelete(cAnimeData& project, int row, iStatusSink& status);
/** Stores the clipboard's picture (validated) in slot row, replacing what was there. */
bool PicturePaste(cAnimeData& project, int row, iStatusSink& status);
