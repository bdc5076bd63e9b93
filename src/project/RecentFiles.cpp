#include "project/RecentFiles.h"

#include "project/IniFile.h"

#include <algorithm>

namespace {

const char* const kSection = "RECENT";
constexpr size_t kValueBuffer = 32768;

std::string keyOf(size_t i) { return "File" + std::to_string(i + 1); }

// Two spellings of one file ("a/./b.dat", "a//b.dat") are one entry.
bool sameFile(const std::string& a, const std::string& b)
{
    return std::filesystem::path(a).lexically_normal() == std::filesystem::path(b).lexically_normal();
}

// Values lose surrounding blanks and one pair of quotes when read: such a path is quoted.
std::string stored(const std::string& path)
{
    const auto loose = [](char c) { return c == ' ' || c == '\t' || c == '"' || c == '\''; };
    return !path.empty() && (loose(path.front()) || loose(path.back())) ? '"' + path + '"' : path;
}

} // namespace

void cRecentFiles::Add(const std::string& path)
{
    // A line break cannot be stored in the file.
    if (path.empty() || path.find_first_of("\r\n") != std::string::npos)
        return;
    Remove(path);
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kMax)
        paths_.resize(kMax);
}

void cRecentFiles::Remove(const std::string& path)
{
    std::erase_if(paths_, [&](const std::string& p) { return sameFile(p, path); });
}

void cRecentFiles::Read(const project::cIniFile& ini)
{
    paths_.clear();
    for (size_t i = 0; i < kMax; ++i) {
        const std::string path = ini.GetString(kSection, keyOf(i), "", kValueBuffer);
        const bool known =
            std::any_of(paths_.begin(), paths_.end(), [&](const std::string& p) { return sameFile(p, path); });
        if (!path.empty() && !known)
            paths_.push_back(path);
    }
}

void cRecentFiles::Write(project::cIniFile& ini) const
{
    for (size_t i = 0; i < kMax; ++i)
        ini.SetString(kSection, keyOf(i), i < paths_.size() ? stored(paths_[i]) : std::string());
}

bool cRecentFiles::Load(const std::filesystem::path& file)
{
    project::cIniFile ini;
    const bool ok = ini.Load(file);
    Read(ini);
    return ok;
}

bool cRecentFiles::Save(const std::filesystem::path& file, std::string* error) const
{
    project::cIniFile ini;
    ini.Load(file);
    Write(ini);
    return ini.Save(file, error);
}
