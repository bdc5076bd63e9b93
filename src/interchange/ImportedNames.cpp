#include "interchange/ImportedNames.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace interchange {

namespace {

std::string placeName(const std::string& name, const std::string& folder, paths::cNameIndex& index)
{
    if (paths::IsAbsolute(folder)) {
        const std::string found = index.Find(folder, name);
        if (!found.empty())
            return folder + "\\" + found;
    }
    return folder + "\\" + paths::ToBackslashes(name);
}

// The folder may make a name longer than the project holds (255 bytes for a picture
// path, 254 for a sound's); such a path is cut as an imported text would be, and the
// cut reported.
std::string resolveName(const std::string& name, const std::string& folder, paths::cNameIndex& index, size_t maxStored)
{
    const std::string path = placeName(name, folder, index);
    if (platform::StoredSize(path) <= maxStored)
        return path;
    platform::NoteTextProblem(
        platform::FormatText(QT_TRANSLATE_NOOP("Strings", "長すぎるテキストを %zu バイト以内に切りました"), maxStored));
    return platform::CutStored(path, maxStored);
}

} // namespace

void ResolveImportedNames(cAnimeData& project, const std::string& pictureFolder, const std::string& soundFolder)
{
    // Empty names stay empty: there is no file to point at. Each folder is read once.
    paths::cNameIndex index;
    for (int i = 0; i < project.Pictures().Size(); ++i)
        if (const strPicture* p = project.GetPicture(i); p && !p->path.empty())
            project.RenamePicture(i, resolveName(p->path, pictureFolder, index, 255));
    for (int i = 0; i < project.Effects().Size(); ++i)
        if (const strEffect* e = project.GetEffect(i); e && (e->flags & EF_SOUND) && !e->seName.empty())
            project.RenameSound(i, resolveName(e->seName, soundFolder, index, 254));
}

} // namespace interchange
