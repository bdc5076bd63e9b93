#include "project/GameData.h"

#include "interchange/ImportedNames.h"
#include "model/AnimeData.h"
#include "platform/FileIO.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

bool endsWithNoCase(const std::string& s, const std::string& suffix)
{
    if (s.size() < suffix.size())
        return false;
    return std::equal(suffix.begin(), suffix.end(), s.end() - std::ptrdiff_t(suffix.size()), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

// MZ saves its project as "Game.rmmzproject" in the game's root folder; MV uses
// "Game.rpgproject", and both name the database data/Animations.json.
bool isMzGame(const std::string& root)
{
    std::error_code ec;
    for (fs::directory_iterator it(paths::ToDiskPath(root), ec), end; !ec && it != end; it.increment(ec))
        if (endsWithNoCase(it->path().filename().string(), ".rmmzproject"))
            return true;
    return false;
}

std::string absoluteModelPath(const std::string& path)
{
    std::error_code ec;
    const fs::path disk = paths::ToDiskPath(path);
    const fs::path abs = fs::absolute(disk, ec);
    return paths::FromDiskPath(ec ? disk : abs.lexically_normal());
}

// The path as the clipboard writers name files: a path below the game's folder
// becomes the same path below the writers' folder, so its sub-folders are kept.
std::string rebased(const std::string& path, const std::string& gameFolder, const std::string& writerFolder)
{
    if (!paths::IsAbsolute(path))
        return path;
    const std::string relative = paths::MakeRelative(path, gameFolder);
    if (relative.empty() || paths::IsAbsolute(relative) || relative == paths::LimitPath(path))
        return path;
    return writerFolder.empty() ? relative : writerFolder + "\\" + relative;
}

// Rebases the picture and sound paths of a project for the writers, which take
// names below the given folders, and puts the original paths back when it goes
// out of scope.
class cRebasedNames {
public:
    cRebasedNames(cAnimeData& project, const std::string& pictures, const std::string& sounds,
                  const strFolderNames& folders)
        : project_(project)
    {
        for (int i = 0; i < project.Pictures().Size(); ++i)
            if (const strPicture* p = project.GetPicture(i); p && !p->path.empty()) {
                pictures_.emplace_back(i, p->path);
                project.RenamePicture(i, rebased(p->path, pictures, folders.pictures));
            }
        for (int i = 0; i < project.Effects().Size(); ++i)
            if (const strEffect* e = project.GetEffect(i); e && !e->seName.empty()) {
                sounds_.emplace_back(i, e->seName);
                project.RenameSound(i, rebased(e->seName, sounds, folders.sounds));
            }
    }
    ~cRebasedNames()
    {
        for (auto& [i, path] : pictures_)
            project_.RenamePicture(i, std::move(path));
        for (auto& [i, name] : sounds_)
            project_.RenameSound(i, std::move(name));
    }
    cRebasedNames(const cRebasedNames&) = delete;
    cRebasedNames& operator=(const cRebasedNames&) = delete;

private:
    cAnimeData& project_;
    std::vector<std::pair<int, std::string>> pictures_, sounds_;
};

} // namespace

cGameData::cGameData() = default;
cGameData::~cGameData() = default;

bool cGameData::Read(const std::string& path, std::string& error)
{
    file_.reset();
    original_.clear();
    path_ = absoluteModelPath(path);
    eDataFileKind kind;
    if (!DataFileKindOfName(path_, kind)) {
        error = "not a game data file (Animations.json, Animations.rxdata, Animations.rvdata, "
                "Animations.rvdata2 or RPG_RT.ldb)";
        return false;
    }
    if (kind == DATA_MV && isMzGame(GameRoot(kind, path_)))
        kind = DATA_MZ;
    std::string bytes;
    std::string reason;
    if (!platform::ReadFile(paths::ToDiskPath(path_), bytes, platform::FileKind::GameData, &reason)) {
        error = "cannot be read: " + reason;
        return false;
    }
    original_ = bytes;
    file_ = ParseDataFile(kind, std::move(bytes), reason);
    if (!file_) {
        original_.clear();
        error = reason.empty() ? "not a valid data file" : reason;
        return false;
    }
    return true;
}

eDataFileKind cGameData::Kind() const { return file_ ? file_->Kind() : DATA_MV; }

std::string cGameData::PictureFolder() const
{
    std::string pictures, sounds;
    GameFolders(Kind(), pictures, sounds);
    return GameRoot(Kind(), path_) + "\\" + pictures;
}

std::string cGameData::SoundFolder() const
{
    std::string pictures, sounds;
    GameFolders(Kind(), pictures, sounds);
    return GameRoot(Kind(), path_) + "\\" + sounds;
}

std::vector<strDataEntry> cGameData::List() const { return file_ ? file_->List() : std::vector<strDataEntry>(); }

bool cGameData::FindEntry(int id, strDataEntry& entry) const
{
    for (const strDataEntry& e : List())
        if (e.id == id) {
            entry = e;
            return true;
        }
    return false;
}

int cGameData::NextFreeId() const
{
    int last = 0;
    for (const strDataEntry& e : List())
        last = std::max(last, e.id);
    return last + 1;
}

bool cGameData::Import(int id, cAnimeData& project, std::string& error) const
{
    if (!file_) {
        error = "no data file read";
        return false;
    }
    if (!file_->Import(id, project, error))
        return false;
    interchange::ResolveImportedNames(project, PictureFolder(), SoundFolder());
    return true;
}

bool cGameData::Export(cAnimeData& project, int id, const strFolderNames& folders, std::string& error)
{
    if (!file_) {
        error = "no data file read";
        return false;
    }
    if (id < 1) {
        error = "IDs start at 1";
        return false;
    }
    const cRebasedNames names(project, PictureFolder(), SoundFolder(), folders);
    return file_->Export(project, id, folders, error);
}

bool cGameData::Write(bool backup, std::string& error) const
{
    if (!file_) {
        error = "no data file read";
        return false;
    }
    const std::string bytes = file_->Bytes();
    if (bytes == original_)
        return true;
    // A merge that does not read back would damage the game: refuse it.
    std::string reason;
    if (!ParseDataFile(file_->Kind(), bytes, reason)) {
        error = "the merged file does not read back (" + reason + "); nothing written";
        return false;
    }
    const fs::path target = paths::ToDiskPath(path_);
    if (backup) {
        fs::path copy = target;
        copy += ".bak";
        if (!platform::WriteFileAtomic(copy, original_, &reason)) {
            error = "the backup " + paths::ForDisplay(paths::FromDiskPath(copy)) + " cannot be written: " + reason;
            return false;
        }
    }
    if (!platform::WriteFileAtomic(target, bytes, &reason)) {
        error = "cannot be written: " + reason;
        return false;
    }
    return true;
}
