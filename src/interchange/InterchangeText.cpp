#include "interchange/InterchangeText.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "project/Paths.h"

namespace interchange {

std::string BaseName(const std::string& path)
{
    std::string name = paths::FileNameOf(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name;
}

std::string ToUtf8(const std::string& ansi) { return platform::AnsiToUtf8(ansi); }

std::string FromUtf8(const std::string& utf8) { return platform::Utf8ToAnsi(utf8); }

std::string CutText(const std::string& ansi, size_t maxBytes)
{
    if (ansi.size() <= maxBytes)
        return ansi;
    size_t end = 0;
    while (end < ansi.size()) {
        const size_t step = std::max<size_t>(1, platform::AnsiCharLength(ansi, end));
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return ansi.substr(0, end);
}

bool ResetForImport(cAnimeData& project, int cells)
{
    if (!project.Reset(-1, cells, -1, -1))
        return false;
    project.ApplyDefaults();
    project.SetValue(AI_DIVISION_FORMAT, 1);
    project.SetValue(AI_EDIT_FORMAT, 2);
    project.SetValue(AI_BASE_INTERVAL, 1);
    return true;
}

int ToRpgPosition(int centerPosition)
{
    switch (centerPosition) {
    case 3: return 0;   // top
    case 2: return 2;   // bottom
    case 1: return 3;   // screen
    default: return 1;  // centre, right, left
    }
}

int FromRpgPosition(int position)
{
    switch (position) {
    case 0: return 3;
    case 2: return 2;
    case 3: return 1;
    default: return 0;
    }
}

} // namespace interchange
