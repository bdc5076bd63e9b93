#pragma once
// The Undo and Redo commands and the frame consistency guard.

class cAnimeData;
class cRestoreHistory;
class iStatusSink;
class iMessageSink;

/** Undo: closes an open group, undoes one step and reports it. True when a step was undone. */
bool UndoCommand(cAnimeData& project, cRestoreHistory& history, iStatusSink& status);
/** Redo: closes an open group, redoes one step and reports it. True when a step was redone. */
bool RedoCommand(cAnimeData& project, cRestoreHistory& history, iStatusSink& status);

/** Checks that the shown frame exists. When it does not, tells the user, empties the
 *  history (capacity kept), closes up the frame array keeping the order and clamps
 *  currentFrame into the remaining frames (-1 when none). Returns true when the frame
 *  existed (nothing was done). */
bool GuardCurrentFrame(cAnimeData& project, int& currentFrame, iMessageSink& messages);
