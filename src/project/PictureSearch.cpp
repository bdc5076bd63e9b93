#include "project/PictureSearch.h"

#include "platform/Paths.h"

#include <algorithm>

std::vector<std::string> PictureCandidates(const std::string& stored, const std::string& workFolder,
                                           const std::string& projectFile)
{
    std::vector<std::string> out;
    if (stored.empty())
        return out;
    out.push_back(paths::MakeAbsolute(stored, workFolder));
    const std::string own = paths::FolderOf(projectFile);
    if (!own.empty()) {
        const std::string beside = paths::MakeAbsolute(stored, own);
        if (std::find(out.begin(), out.end(), beside) == out.end())
            out.push_back(beside);
    }
    return out;
}

std::string FindPicture(const std::string& stored, const std::string& workFolder, const std::string& projectFile,
                        bool* found)
{
    const std::vector<std::string> candidates = PictureCandidates(stored, workFolder, projectFile);
    for (const std::string& c : candidates)
        if (paths::Exists(c) && !paths::IsFolder(c)) {
            if (found)
                *found = true;
            return c;
        }
    if (found)
        *found = false;
    return candidates.empty() ? std::string() : candidates.front();
}
