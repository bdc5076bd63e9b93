#include "project/AnimeFile.h"

#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

namespace ANIME {

namespace {
constexpr size_t kProbeBytes = 16;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF"; // starts a text project whose texts are UTF-8
} // namespace

int StoredCenterPosition(const cAnimeData& project) { return ReadCenterPosition(project.GetValue(AI_CENTER_POSITION)); }

int ReadCenterPosition(int stored) { return stored >= 1 && stored <= 5 ? stored : 0; }

cAnimeFile_Device::~cAnimeFile_Device() = default;

int cAnimeFile_Device::ProbeBytes(std::string_view data, int* version)
{
    if (data.substr(0, kUtf8Mark.size()) == kUtf8Mark && data.substr(kUtf8Mark.size(), 8) == "MEVK_TEX")
        data.remove_prefix(kUtf8Mark.size());
    if (data.size() < kProbeBytes)
        return FK_CANNOT_OPEN;
    if (version) {
        int v = 0;
        for (size_t i = 8; i < kProbeBytes && data[i] >= '0' && data[i] <= '9'; ++i)
            v = v * 10 + (data[i] - '0');
        *version = v;
    }
    if (data.substr(0, 8) == "MEVK_BIN")
        return FK_BINARY;
    if (data.substr(0, 8) == "MEVK_TEX")
        return FK_TEXT;
    if (data.substr(0, 4) == "nani")
        return FK_LEGACY_TEXT;
    return FK_UNKNOWN;
}

int cAnimeFile_Device::ProbeFile(const std::filesystem::path& path, int* version)
{
    std::string head;
    if (!platform::ReadFileHead(path, kProbeBytes + kUtf8Mark.size(), head, &lastError_))
        return FK_CANNOT_OPEN;
    return ProbeBytes(head, version);
}

int cAnimeFile_Device::LoadBytes(std::string_view data, cAnimeData& project)
{
    switch (ProbeBytes(data)) {
    case FK_BINARY: return ReadBinary(data, project);
    case FK_TEXT: return ReadText(data, project);
    case FK_LEGACY_TEXT: return ReadLegacyText(data, project);
    default: return FR_BAD_FORMAT; // too short or not a project file
    }
}

int cAnimeFile_Device::Load(const std::filesystem::path& path, cAnimeData& project)
{
    lastError_.clear();
    std::string data;
    if (!platform::ReadFile(path, data, platform::FileKind::Project, &lastError_))
        return FR_CANNOT_OPEN;
    const int result = LoadBytes(data, project);
    if (result == FR_OK)
        project.SetText(AT_FILE_NAME, paths::FromDiskPath(path.filename()));
    return result;
}

int cAnimeFile_Device::SaveBytes(const cAnimeData& project, int format, std::string& out)
{
    switch (format) {
    case 0: return WriteBinary(project, out);
    case 1: return WriteText(project, out);
    default: return FR_BAD_FORMAT;
    }
}

int cAnimeFile_Device::Save(const std::filesystem::path& path, cAnimeData& project)
{
    lastError_.clear();
    std::string bytes;
    const int result = SaveBytes(project, project.GetValue(AI_SAVE_FORMAT), bytes);
    if (result != FR_OK)
        return result;
    if (!platform::WriteFileAtomic(path, bytes, &lastError_))
        return FR_CANNOT_OPEN;
    project.SetText(AT_FILE_NAME, paths::FromDiskPath(path.filename()));
    return FR_OK;
}

} // namespace ANIME
