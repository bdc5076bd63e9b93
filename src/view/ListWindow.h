#pragma once
// The list window's tables and edits without a window: the texts of the picture
// and effect tables, the copies the dialogs edit, and how an edited picture or
// effect is stored back. Each edit of a picture or effect is one undo step.

#include "model/Records.h"
#include "view/EditOptions.h"

#include <string>

class cAnimeData;
class cSpriteDrawer;
class iStatusSink;

enum ePictureColumn { PC_NO, PC_PATH, PC_XY, PC_HUE, PC_CUT, PC_COLUMNS };
enum eEffectColumn { EC_FRAME, EC_SE, EC_SE_VALUES, EC_FLASH, EC_OTHER, EC_COLUMNS };

/** One row per picture slot. */
int PictureRowCount(const cAnimeData& project);
/** The UTF-8 text of a picture table cell; empty for an empty slot. */
std::string PictureCellText(const cAnimeData& project, int row, int column);

/** One row per effect plus one empty row for adding, at most the effect capacity. */
int EffectRowCount(const cAnimeData& project);
/** The UTF-8 text of an effect table cell; empty for the adding row. */
std::string EffectCellText(const cAnimeData& project, int row, int column);

/** The copy the picture dialog edits: the slot's picture, or for an empty slot a
 *  picture divided by the Init_CutX and Init_CutY settings. */
strPicture PictureForSlot(const cAnimeData& project, int slot, const strEditOptions& options);
/** The copy the effect dialog edits: the effect, or a default one. */
strEffect EffectForSlot(const cAnimeData& project, int slot);

/** The first empty picture slot, -1 when all are used. */
int FirstEmptyPictureSlot(const cAnimeData& project);
/** The slot a new effect is edited in (behind the last one), -1 when all are used. */
int FirstEmptyEffectSlot(const cAnimeData& project);

/** Stores an edited picture in its slot and loads its image into the drawer's sheet
 *  cache; a failed load shows "ファイルを開けませんでした。: %s" with the path. False
 *  when the slot does not exist; otherwise whether the image loaded. */
bool StorePicture(cAnimeData& project, int slot, const strPicture& picture, cSpriteDrawer& drawer, iStatusSink& status);
/** Brings the drawer's sheet of a slot in line with the project after a clipboard
 *  command (a removed picture drops its sheet). */
void SyncPictureSheet(cAnimeData& project, int slot, cSpriteDrawer& drawer);
/** Brings every sheet in line with the pictures after undo or redo: a changed path
 *  reloads, a changed hue or division rebuilds, a removed picture drops its sheet. */
void SyncPictureSheets(cAnimeData& project, cSpriteDrawer& drawer);
/** "再読込": reloads a picture's image and reports "再読込が完了 : %d" (the time
 *  message when the slot is empty or the image does not load). */
bool ReloadPicture(cAnimeData& project, int slot, cSpriteDrawer& drawer, iStatusSink& status);

/** Stores an edited effect: validated, the old slot deleted (closing the gap), the
 *  copy inserted in frame order. Returns its new index, -1 on failure. */
int StoreEffect(cAnimeData& project, int slot, strEffect effect);
