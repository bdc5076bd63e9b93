#include "cli/Cli.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace cli {

std::string TextProblemsOr(const std::string& otherwise)
{
    std::string problems = platform::TakeTextProblems();
    return problems.empty() ? otherwise : problems;
}

void WarnTextProblems(const std::string& what)
{
    const std::string problems = platform::TakeTextProblems();
    if (!problems.empty())
        std::fprintf(stderr, "mevko: %s: %s\n", what.c_str(), problems.c_str());
}

int SaveImported(cAnimeData& project, int format, const std::string& output, const std::string& source)
{
    if (format >= 0)
        project.SetValue(AI_SAVE_FORMAT, format);
    ANIME::cAnimeFile_Device device;
    std::string out, reason;
    if (device.SaveBytes(project, project.GetValue(AI_SAVE_FORMAT), out) != ANIME::FR_OK)
        return Fail(output, TextProblemsOr("the imported project cannot be stored in this format"));
    if (!platform::WriteFileAtomic(output, out, &reason))
        return Fail(output, "cannot be written: " + reason);
    WarnTextProblems(source);
    return 0;
}

std::unique_ptr<cAnimeData> LoadProject(const char* path, int* kind)
{
    ANIME::cAnimeFile_Device device;
    auto project = std::make_unique<cAnimeData>();
    project->SetDefaults(Settings().ProjectDefaults());
    const int probed = device.ProbeFile(path);
    if (kind)
        *kind = probed;
    const int result = device.Load(path, *project);
    if (result == ANIME::FR_OK)
        return project;
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !device.LastError().empty()) {
        Fail(path, "cannot be read: " + device.LastError());
        return nullptr;
    }
    const char* reason = !std::filesystem::exists(path, ec)                               ? "no such file"
                         : probed == ANIME::FK_CANNOT_OPEN || probed == ANIME::FK_UNKNOWN ? "not a project file"
                         : result == ANIME::FR_CANNOT_OPEN ? "cannot be read (missing or malformed lines)"
                                                           : "truncated or corrupt";
    Fail(path, reason);
    return nullptr;
}

void SetWorkFolderFromPath(cAnimeData& project, const char* path)
{
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    const std::string modelPath = paths::FromDiskPath(ec ? std::filesystem::path(path) : abs);
    std::string work = paths::WorkFolderOf(modelPath, Settings().FolderName_C);
    if (work.empty())
        work = paths::FolderOf(modelPath);
    project.SetText(AT_WORK_FOLDER, work);
}

} // namespace cli
