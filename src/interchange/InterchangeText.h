#pragma once
// Small pieces shared by the RPG Maker converters: names without folder and
// extension, text between the model's code page and UTF-8, the project reset
// that every import starts with, and the position mapping of XP .. MZ.

#include <cstdint>
#include <string>
#include <string_view>

class cAnimeData;

namespace interchange {

/** The file name of a model path without its folder and extension. */
std::string BaseName(const std::string& path);

/** Model text (ANSI code page) as UTF-8; empty when it cannot be converted. */
std::string ToUtf8(const std::string& ansi);
/** UTF-8 as model text; empty when it cannot be converted. */
std::string FromUtf8(const std::string& utf8);

/** Cuts model text to at most maxBytes, at a character boundary of the code page. */
std::string CutText(const std::string& ansi, size_t maxBytes);

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
