#include "ui/MissingPictures.h"

#include "model/AnimeData.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/PictureSearch.h"
#include "project/ProjectDump.h"
#include "render/SpriteDrawer.h"

std::string MissingPictureText(const cAnimeData& project, int slot)
{
    const strPicture* picture = project.GetPicture(slot);
    // A picture not drawn yet isn't decoded just to be checked: only a missing file counts.
    const bool undecoded = picture && SpriteDrawer().IsUndecoded(slot);
    if (!picture || picture->path.empty() || (!undecoded && SpriteDrawer().Sheet(slot)))
        return std::string();
    bool found = false;
    const std::string path =
        FindPicture(picture->path, project.Text(AT_WORK_FOLDER), SpriteDrawer().ProjectFile(), &found);
    if (undecoded && found)
        return std::string();
    return platform::FormatText(found ? QT_TRANSLATE_NOOP("Strings", "画像を読み込めません > %s")
                                      : QT_TRANSLATE_NOOP("Strings", "画像が見つかりません > %s"),
                                ANIME::DumpText(paths::ForDisplay(path)).c_str());
}

std::string MissingPicturesStatus(const cAnimeData& project)
{
    std::string first;
    int count = 0;
    for (int i = 0; i < project.PictureCapacity(); ++i) {
        const std::string text = MissingPictureText(project, i);
        if (text.empty())
            continue;
        if (count++ == 0)
            first = text;
    }
    if (count == 0)
        return std::string();
    std::string status = "< ! > " + first;
    if (count > 1)
        status += platform::FormatText(QT_TRANSLATE_NOOP("Strings", " (ほか %d 枚)"), count - 1);
    return status;
}
