#pragma once
// Small pieces shared by the RPG Maker converters: the names RPG Maker knows
// pictures and sounds by, payload text as model text, the project reset that
// every import starts with, and the position mapping of XP .. MZ.

#include "interchange/FolderNames.h"

#include <cstdint>
#include <string>
#include <string_view>

class cAnimeData;

namespace interchange {

/** The name RPG Maker knows a file by: the path below folder when it lies there (else
 *  its file name), with '/' between folder parts and without an extension the editor
 *  reads (.png .bmp .gif .xyz .wav .ogg .opus .mp3 .flac .mid .midi); other dots stay. */
std::string ExportName(const std::string& path, const std::string& folder);
/** ExportName below the picture and the sound folder. */
std::string PictureName(const std::string& path, const strFolderNames& folders);
std::string SoundName(const std::string& path, const strFolderNames& folders);

/** Payload text (UTF-8) as model text: malformed bytes become U+FFFD, and a text longer
 *  than the project files hold (StoredSize over 255) is cut at a character boundary and
 *  the cut reported. */
std::string ImportedText(std::string_view utf8);

/** Reports that an import cut a text to what the project files hold. */
void NoteTextCut();

/** Model text in the ANSI code page for a format that stores one. False, with a noted
 *  problem naming the field and the character or the length, when a character has no
 *  code there or the text takes more than maxBytes. */
bool EncodeForCodePage(const std::string& text, const char* field, size_t maxBytes, std::string& out);

/** Makes the project a fresh import target: Reset(-1, cells, -1, -1), the
 *  new-project defaults, pattern sizes in pixels, the mirror edit format and
 *  base interval 1. False when the reset fails. */
bool ResetForImport(cAnimeData& project, int cells);

/** centerPosition -> RPG Maker position (0 top, 1 middle, 2 bottom, 3 screen). */
int ToRpgPosition(int centerPosition);
/** RPG Maker position -> centerPosition. */
int FromRpgPosition(int position);

/** Integer clamped into 0..65535, for the model's 16-bit unsigned fields. */
inline uint16_t ClampU16(int64_t v) { return uint16_t(v < 0 ? 0 : v > 65535 ? 65535 : v); }

} // namespace interchange
