#pragma once
// RPG Maker 2000 / 2003 battle animations: one chunked database record behind
// an 8-byte header, under the fixed 2000 clipboard format.

#include "interchange/ClipStream.h"
#include "interchange/FolderNames.h"

class cAnimeData;

/** Builds the clipboard block into out (cleared first), file names taken below the
 *  folders; false when the picture slot before the picture count is empty. */
bool WriteRm2000Animation(const cAnimeData& project, const strFolderNames& folders, Cclip_stream& out);
/** Reads a block into a fresh project (reset first): 1, or -1 when a header word is 0
 *  or the block is shorter than its size word (the project is then untouched).
 *  Names stay as given (no folder resolution). */
int ReadRm2000Animation(cAnimeData& project, Cclip_stream& in);

/** Flash colour channel 0..255 -> 0..31 and back, as RPG Maker 2000 scales them. */
int To31(int v);
int To255(int v);
