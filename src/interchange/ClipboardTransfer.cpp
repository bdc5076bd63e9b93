#include "interchange/ClipboardTransfer.h"

#include "interchange/ImportedNames.h"
#include "interchange/JsonAnimation.h"
#include "interchange/Rm2000Animation.h"
#include "interchange/RubyAnimation.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/CodePage.h"
#include "platform/Strings.h"

namespace {

// String ids of the status texts.
constexpr int kExportDone = 40036, kExportFailed = 40037, kImportDone = 40034, kImportFailed = 40035;

const char* const kRubyFormats[] = {"RPGXP ANIMATION", "RPGVX ANIMATION", "VX Ace ANIMATION"};
const char* const kJsonFormats[] = {"application/rpgmv-animations", "application/rpgmz-animations"};

struct strCommand {
    int command;
    int version;
    bool isExport;
};
const strCommand kCommands[] = {
    {IDM_EXPORT_2000, RPG_2000, true},   {IDM_EXPORT_XP, RPG_XP, true},    {IDM_EXPORT_VX, RPG_VX, true},
    {IDM_EXPORT_VXACE, RPG_VXACE, true}, {IDM_EXPORT_MV, RPG_MV, true},    {IDM_EXPORT_MZ, RPG_MZ, true},
    {IDM_IMPORT_2000, RPG_2000, false},  {IDM_IMPORT_RUBY, RPG_VX, false}, {IDM_IMPORT_MV, RPG_MV, false},
};

} // namespace

namespace {

bool store(platform::Clipboard& clipboard, const char* format, const Cclip_stream& block)
{
    return clipboard.Store(format, block.Bytes());
}

// The block of the format, ready for reading; false when there is none.
bool fetch(platform::Clipboard& clipboard, const char* format, Cclip_stream& block)
{
    std::vector<uint8_t> bytes;
    const bool ok = clipboard.Fetch(format, bytes);
    block.Assign(bytes.data(), bytes.size());
    return ok;
}

int exportRm2000(platform::Clipboard& clipboard, const cAnimeData& project, const strFolderNames& folders)
{
    Cclip_stream block;
    if (!WriteRm2000Animation(project, folders, block))
        return -1;
    return store(clipboard, platform::kFormat2000, block) ? 1 : -1;
}

int importRm2000(platform::Clipboard& clipboard, cAnimeData& project, const strFolderNames& folders)
{
    Cclip_stream block;
    if (!fetch(clipboard, platform::kFormat2000, block) || ReadRm2000Animation(project, block) != 1)
        return -1;
    interchange::ResolveImportedNames(project, folders.pictures, folders.sounds);
    return 1;
}

int exportRuby(platform::Clipboard& clipboard, const cAnimeData& project, int version, const strFolderNames& folders)
{
    Cclip_stream block;
    if (!WriteRubyAnimation(project, version, folders, block))
        return -1;
    return store(clipboard, RubyFormatName(version), block) ? 1 : -1;
}

// Reads the first of "VX Ace ANIMATION", "RPGVX ANIMATION" and "RPGXP ANIMATION" found.
int importRuby(platform::Clipboard& clipboard, cAnimeData& project, const strFolderNames& folders)
{
    Cclip_stream block;
    bool found = false;
    for (int version : {RUBY_VXACE, RUBY_VX, RUBY_XP})
        if (fetch(clipboard, RubyFormatName(version), block)) {
            found = true;
            break;
        }
    if (!found || ReadRubyAnimation(project, block) != 1)
        return -1;
    interchange::ResolveImportedNames(project, folders.pictures, folders.sounds);
    return 1;
}

int exportJson(platform::Clipboard& clipboard, const cAnimeData& project, int version, const strFolderNames& folders)
{
    const std::string text = WriteJsonAnimation(project, folders);
    const char* format = JsonFormatName(version);
    if (!format)
        return -1;
    Cclip_stream block;
    block.Append(text);
    return store(clipboard, format, block) ? 1 : -1;
}

// Reads the MV format, else the MZ format.
int importJson(platform::Clipboard& clipboard, cAnimeData& project, const strFolderNames& folders)
{
    Cclip_stream block;
    if (!fetch(clipboard, JsonFormatName(JSON_MV), block) && !fetch(clipboard, JsonFormatName(JSON_MZ), block))
        return -1;
    if (ReadJsonAnimation(project, block) != 1)
        return -1;
    interchange::ResolveImportedNames(project, folders.pictures, folders.sounds);
    return 1;
}

} // namespace

int ExportToClipboard(platform::Clipboard& clipboard, const cAnimeData& project, int version,
                      const strFolderNames& folders)
{
    switch (version) {
    case RPG_2000:
    case RPG_2003: return exportRm2000(clipboard, project, folders);
    case RPG_XP:
    case RPG_VX:
    case RPG_VXACE: return exportRuby(clipboard, project, version, folders);
    case RPG_MV:
    case RPG_MZ: return exportJson(clipboard, project, version, folders);
    default: return 0;
    }
}

int ImportFromClipboard(platform::Clipboard& clipboard, cAnimeData& project, int version, const strFolderNames& folders)
{
    switch (version) {
    case RPG_2000:
    case RPG_2003: return importRm2000(clipboard, project, folders);
    case RPG_XP:
    case RPG_VX:
    case RPG_VXACE: return importRuby(clipboard, project, folders);
    case RPG_MV:
    case RPG_MZ: return importJson(clipboard, project, folders);
    default: return 0;
    }
}

const char* ClipboardFormatName(int version)
{
    if (version == RPG_2000 || version == RPG_2003)
        return platform::kFormat2000;
    if (const char* name = RubyFormatName(version))
        return name;
    return JsonFormatName(version);
}

bool IsFormatAvailable(platform::Clipboard& clipboard, const std::string& format)
{
    return clipboard.IsAvailable(format);
}

int FirstAvailableFormat(platform::Clipboard& clipboard, const char* const* names, int count)
{
    for (int i = 0; i < count; ++i)
        if (IsFormatAvailable(clipboard, names[i]))
            return i;
    return -1;
}

int ExportLabelId(int version)
{
    switch (version) {
    case RPG_2000: return 40011;
    case RPG_XP: return 40088;
    case RPG_VX: return 40089;
    case RPG_VXACE: return 40090;
    case RPG_MV: return 40092;
    case RPG_MZ: return 40093;
    default: return 0;
    }
}

int ImportLabelId(int version)
{
    switch (version) {
    case RPG_2000: return 40011;
    case RPG_XP:
    case RPG_VX:
    case RPG_VXACE: return 40091;
    case RPG_MV:
    case RPG_MZ: return 40094;
    default: return 0;
    }
}

namespace {
// A status text followed by what the command had to say about texts.
std::string withTextProblems(const std::string& text)
{
    const std::string problems = platform::TakeTextProblems();
    return problems.empty() ? text : text + " : " + problems;
}
} // namespace

int ClipboardExportCommand(platform::Clipboard& clipboard, const cAnimeData& project, int version,
                           const strFolderNames& folders, iStatusSink& status)
{
    platform::TakeTextProblems();
    const int result = ExportToClipboard(clipboard, project, version, folders);
    const std::string& label = platform::LoadString(ExportLabelId(version));
    status.ShowStatus(
        withTextProblems(platform::FormatString(result == 1 ? kExportDone : kExportFailed, label.c_str())));
    return result;
}

int ClipboardImportCommand(platform::Clipboard& clipboard, int version, const strFolderNames& folders,
                           cImportHost& host, iStatusSink& status)
{
    if (!host.AskSaveChanges())
        return 0;
    auto project = std::make_unique<cAnimeData>();
    platform::TakeTextProblems();
    const int result = ImportFromClipboard(clipboard, *project, version, folders);
    const std::string& label = platform::LoadString(ImportLabelId(version));
    if (result != 1) {
        status.ShowStatus(withTextProblems(platform::FormatString(kImportFailed, label.c_str())));
        return -1;
    }
    project->SetText(AT_WORK_FOLDER, host.DefaultWorkFolder());
    project->modified = false;
    project->untitled = false;
    host.InstallProject(std::move(project));
    status.ShowStatus(withTextProblems(platform::FormatString(kImportDone, label.c_str())));
    return 1;
}

bool ClipboardCommandVersion(int command, int& version, bool& isExport)
{
    for (const strCommand& c : kCommands)
        if (c.command == command) {
            version = c.version;
            isExport = c.isExport;
            return true;
        }
    return false;
}

bool IsClipboardCommandEnabled(platform::Clipboard& clipboard, int command)
{
    switch (command) {
    case IDM_IMPORT_2000: return IsFormatAvailable(clipboard, platform::kFormat2000);
    case IDM_IMPORT_RUBY: return FirstAvailableFormat(clipboard, kRubyFormats, 3) != -1;
    case IDM_IMPORT_MV: return FirstAvailableFormat(clipboard, kJsonFormats, 2) != -1;
    case IDM_EXPORT_2003:
    case IDM_IMPORT_2003: return false;
    default: {
        int version;
        bool isExport;
        return ClipboardCommandVersion(command, version, isExport) && isExport;
    }
    }
}
