#pragma once
// RPG Maker MV / MZ animations: a project as a JSON array of one animation
// object (UTF-8, compact, keys in ascending order), and back.

#include "interchange/ClipStream.h"
#include "interchange/FolderNames.h"

#include <string>

class cAnimeData;

enum eJsonVersion { JSON_MV = 5, JSON_MZ = 6 };

/** Clipboard format name of version 5 or 6; nullptr for others. */
const char* JsonFormatName(int version);

/** The JSON text of the project; file names are taken below the folders. */
std::string WriteJsonAnimation(const cAnimeData& project, const strFolderNames& folders);

/** Reads the JSON text of the stream into a fresh project (reset first); 1 on
 *  success, -1 when it does not parse or lacks a required member. Names stay
 *  as given (no folder resolution). */
int ReadJsonAnimation(cAnimeData& project, const Cclip_stream& in);
