#pragma once
// The folders RPG Maker names pictures and sounds relative to: names written to
// the clipboard or a game's data file are taken below them, and imported names
// are placed in them.

#include <string>

struct strFolderNames {
    std::string pictures = "BattleEffect";
    std::string sounds = "Sound";
};
