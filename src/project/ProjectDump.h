#pragma once
// The canonical JSON form of a project (what `mevko dump` prints): every item,
// texts as UTF-8, and only the existing
// pictures, effects, frames and cells, in index order. Two projects with the
// same dump hold the same content.

#include <nlohmann/json.hpp>

#include <string>

class cAnimeData;

namespace ANIME {

nlohmann::json DumpProject(const cAnimeData& project);
/** DumpProject as compact text. */
std::string DumpProjectText(const cAnimeData& project);

/** Model text as valid UTF-8 for JSON: malformed bytes become U+FFFD. */
std::string DumpText(const std::string& text);

} // namespace ANIME
