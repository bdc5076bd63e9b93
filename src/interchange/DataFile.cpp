#include "interchange/DataFile.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowerName(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name;
}

} // namespace

bool DataFileKindOfName(const std::string& fileName, eDataFileKind& kind)
{
    const std::string name = lowerName(fileName);
    if (name == "animations.json")
        kind = DATA_MV;
    else if (name == "animations.rxdata")
        kind = DATA_XP;
    else if (name == "animations.rvdata")
        kind = DATA_VX;
    else if (name == "animations.rvdata2")
        kind = DATA_VXACE;
    else if (name == "rpg_rt.ldb")
        kind = DATA_2000;
    else
        return false;
    return true;
}

std::unique_ptr<cDataFile> ParseDataFile(eDataFileKind kind, std::string bytes, std::string& error)
{
    switch (kind) {
    case DATA_MV:
    case DATA_MZ: return ParseJsonDataFile(kind, std::move(bytes), error);
    case DATA_XP:
    case DATA_VX:
    case DATA_VXACE: return ParseRubyDataFile(kind, std::move(bytes), error);
    case DATA_2000: return ParseLdbDataFile(std::move(bytes), error);
    }
    error = "unknown data file kind";
    return nullptr;
}

void GameFolders(eDataFileKind kind, std::string& pictures, std::string& sounds)
{
    switch (kind) {
    case DATA_MV:
    case DATA_MZ:
        pictures = "img\\animations";
        sounds = "audio\\se";
        return;
    case DATA_XP:
    case DATA_VX:
    case DATA_VXACE:
        pictures = "Graphics\\Animations";
        sounds = "Audio\\SE";
        return;
    case DATA_2000:
        pictures = "Battle";
        sounds = "Sound";
        return;
    }
}

std::string GameRoot(eDataFileKind kind, const std::string& dataFilePath)
{
    const size_t slash = dataFilePath.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string() : dataFilePath.substr(0, slash);
    if (kind == DATA_2000)
        return folder;
    const size_t up = folder.find_last_of("\\/");
    const std::string last = lowerName(folder);
    if (last == "data")
        return up == std::string::npos ? std::string() : folder.substr(0, up);
    return folder;
}
