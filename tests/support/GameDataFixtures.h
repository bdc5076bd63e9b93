#pragma once
// A small MV game on the disk for the game data tests: data/Animations.json in
// RPG Maker's layout (one entry per line), a picture in img/animations and a
// sound in audio/se.

#include <filesystem>
#include <fstream>
#include <string>

/** Animations.json with entries 1 "Hit" (picture Hit1, sound Damage1, an unknown
 *  key) and 2 "Fire" (a picture that is missing), RPG Maker's line layout. */
inline std::string MvAnimationsJson()
{
    return "[\n"
           "null,\n"
           "{\"id\":1,\"animation1Hue\":0,\"animation1Name\":\"Hit1\",\"animation2Hue\":0,\"animation2Name\":\"\","
           "\"frames\":[[[0,0,0,100,0,0,255,1]],[[1,12.5,-4,110,15,0,255,1],[-1,0,0,100,0,0,255,1]]],"
           "\"name\":\"Hit\",\"position\":1,\"timings\":[{\"flashColor\":[255,255,255,170],\"flashDuration\":5,"
           "\"flashScope\":1,\"frame\":0,\"se\":{\"name\":\"Damage1\",\"pan\":0,\"pitch\":100,\"volume\":90}}],"
           "\"note\":\"kept\"},\n"
           "{\"id\":2,\"animation1Hue\":0,\"animation1Name\":\"Fire2\",\"animation2Hue\":0,\"animation2Name\":\"\","
           "\"frames\":[[[3,0,0,100,0,0,255,1]]],\"name\":\"Fire\",\"position\":3,\"timings\":[]}\n"
           "]";
}

/** Makes root/data/Animations.json (and the game's folders with Hit1.png and
 *  Damage1.wav, copies of the examples' picture and sound); returns the data file's path. */
inline std::filesystem::path MakeMvGame(const std::filesystem::path& root, const std::string& json = MvAnimationsJson())
{
    namespace fs = std::filesystem;
    fs::create_directories(root / "data");
    fs::create_directories(root / "img" / "animations");
    fs::create_directories(root / "audio" / "se");
    const fs::path examples = fs::path(MEVKO_SOURCE_DIR) / "examples" / "Data";
    fs::copy_file(examples / "BattleEffect" / "sample_burst.png", root / "img" / "animations" / "Hit1.png",
                  fs::copy_options::overwrite_existing);
    fs::copy_file(examples / "Sound" / "sample_zap.wav", root / "audio" / "se" / "Damage1.wav",
                  fs::copy_options::overwrite_existing);
    const fs::path file = root / "data" / "Animations.json";
    std::ofstream(file, std::ios::binary) << json;
    return file;
}
