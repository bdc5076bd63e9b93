#pragma once
// RPG Maker XP / VX / VX Ace animations: a project as one RPG::Animation in
// Ruby Marshal 4.8, behind a 4-byte size, and back.

#include "interchange/ClipStream.h"
#include "interchange/FolderNames.h"

class cAnimeData;

/** Versions of the dispatch that this converter serves. */
enum eRubyVersion { RUBY_XP = 2, RUBY_VX = 3, RUBY_VXACE = 4 };

/** Clipboard format name of a version 2..4; nullptr for others. */
const char* RubyFormatName(int version);

/** Builds the whole clipboard block for version 2..4 into out (cleared first), file
 *  names taken below the folders.
 *  False when a cell table cannot be made or the version is unknown. */
bool WriteRubyAnimation(const cAnimeData& project, int version, const strFolderNames& folders, Cclip_stream& out);

/** Reads a clipboard block into a fresh project (reset first); 1 on success,
 *  -1 when the array is empty or its first element is not an RPG::Animation, or
 *  when the block is shorter than its size prefix or than a length or count it declares.
 *  Names stay as RPG Maker gives them (no folder resolution). */
int ReadRubyAnimation(cAnimeData& project, Cclip_stream& in);
