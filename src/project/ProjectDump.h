#pragma once
// The canonical JSON form of a project (what `mevko dump` prints): every item,
// text converted from the project's code page to UTF-8, and only the existing
// pictures, effects, frames and cells, in index order. Two projects with the
// same dump hold the same content.

#include <nlohmann/json.hpp>

#include <string>

class cAnimeData;

namespace ANIME {

nlohmann::json DumpProject(const cAnimeData& project);
/** DumpProject as compact text. */
std::string DumpProjectText(const cAnimeData& project);

/** Model text (ANSI code page) as UTF-8; bytes that do not convert are taken one
 *  code point each, so the result is always valid UTF-8. */
std::string DumpText(const std::string& ansi);

} // namespace ANIME
