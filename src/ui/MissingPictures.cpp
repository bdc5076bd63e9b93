#include "ui/MissingPictures.h"

#include "model/AnimeData.h"
#include "project/Paths.h"
#include "project/PictureSearch.h"
#include "project/ProjectDump.h"
#include "render/SpriteDrawer.h"

std::string MissingPictureText(const cAnimeData& project, int slot)
{
    const strPicture* picture = project.GetPicture(slot);
    if (!picture || picture->path.empty() || SpriteDrawer().sheet(slot))
        return std::string();
    bool found = false;
    const std::string path =
        FindPicture(picture->path, project.Text(AT_WORK_FOLDER), SpriteDrawer().projectFile(), &found);
    return (found ? "画像を読み込めません > " : "画像が見つかりません > ") + ANIME::DumpText(paths::ForDisplay(path));
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
        status += " (ほか " + std::to_string(count - 1) + " 枚)";
    return status;
}
