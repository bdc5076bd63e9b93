#include "interchange/InterchangeText.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace interchange {

namespace {

constexpr size_t kMaxStoredText = 255; // what the project files hold
const char* const kReadExtensions[] = {".png",  ".bmp", ".gif",  ".xyz", ".wav", ".ogg",
                                       ".opus", ".mp3", ".flac", ".mid", ".midi"};

bool endsWithNoCase(const std::string& s, std::string_view suffix)
{
    if (s.size() <= suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i])
            return false;
    return true;
}

// The part of path below folder (components compare ASCII case-insensitively), or empty.
std::string belowFolder(const std::string& path, const std::string& folder)
{
    if (folder.empty())
        return {};
    const std::string p = paths::Canonicalize(path), f = paths::Canonicalize(folder);
    if (p.size() <= f.size() + 1 || p[f.size()] != '\\')
        return {};
    for (size_t i = 0; i < f.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(p[i])) != std::tolower(static_cast<unsigned char>(f[i])))
            return {};
    return p.substr(f.size() + 1);
}

} // namespace

std::string ExportName(const std::string& path, const std::string& folder)
{
    std::string name = belowFolder(path, folder);
    if (name.empty())
        name = paths::FileNameOf(path);
    for (const char* extension : kReadExtensions)
        if (endsWithNoCase(name, extension)) {
            name.resize(name.size() - std::strlen(extension));
            break;
        }
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

std::string PictureName(const std::string& path, const strFolderNames& folders)
{
    return ExportName(path, folders.pictures);
}

std::string SoundName(const std::string& path, const strFolderNames& folders)
{
    return ExportName(path, folders.sounds);
}

std::string ImportedText(std::string_view utf8)
{
    std::string text = platform::DecodeText(utf8, "UTF-8");
    if (platform::StoredSize(text) > kMaxStoredText) {
        NoteTextCut();
        text = platform::CutStored(text, kMaxStoredText);
    }
    return text;
}

void NoteTextCut()
{
    platform::NoteTextProblem(platform::FormatText(
        QT_TRANSLATE_NOOP("Strings", "長すぎるテキストを %zu バイト以内に切りました"), kMaxStoredText));
}

bool EncodeForCodePage(const std::string& text, const char* field, size_t maxBytes, std::string& out)
{
    const std::string& codePage = platform::AnsiCodePage();
    size_t missing = 0;
    if (!platform::EncodeText(text, codePage, out, &missing)) {
        platform::NoteTextProblem(platform::FormatText(
            QT_TRANSLATE_NOOP("Strings", "%s : %s は %s で表せません"), platform::Text(field).c_str(),
            platform::DescribeChar(text, missing).c_str(), codePage.c_str()));
        return false;
    }
    if (out.size() > maxBytes) {
        platform::NoteTextProblem(platform::FormatText(QT_TRANSLATE_NOOP("Strings", "%s : %zu バイト (最大 %zu)"),
                                                       platform::Text(field).c_str(), out.size(), maxBytes));
        return false;
    }
    return true;
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
    case 3: return 0;  // top
    case 2: return 2;  // bottom
    case 1: return 3;  // screen
    default: return 1; // centre, right, left
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
