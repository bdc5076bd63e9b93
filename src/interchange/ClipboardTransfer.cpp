#include "interchange/ClipboardTransfer.h"

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
    {IDM_EXPORT_2000, RPG_2000, true}, {IDM_EXPORT_XP, RPG_XP, true},      {IDM_EXPORT_VX, RPG_VX, true},
    {IDM_EXPORT_VXACE, RPG_VXACE, true}, {IDM_EXPORT_MV, RPG_MV, true},    {IDM_EXPORT_MZ, RPG_MZ, true},
    {IDM_IMPORT_2000, RPG_2000, false}, {IDM_IMPORT_RUBY, RPG_VX, false}, {IDM_IMPORT_MV, RPG_MV, false},
};

} // namespace

int ExportToClipboard(const cAnimeData& project, int version)
{
    switch (version) {
    case RPG_2000:
    case RPG_2003: return ExportRm2000(project);
    case RPG_XP:
    case RPG_VX:
    case RPG_VXACE: return ExportRuby(project, version);
    case RPG_MV:
    case RPG_MZ: return ExportJson(project, version);
    default: return 0;
    }
}

int ImportFromClipboard(cAnimeData& project, int version)
{
    switch (version) {
    case RPG_2000:
    case RPG_2003: return ImportRm2000(project);
    case RPG_XP:
    case RPG_VX:
    case RPG_VXACE: return ImportRuby(project);
    case RPG_MV:
    case RPG_MZ: return ImportJson(project);
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

bool IsFormatAvailable(const std::string& format) { return platform::SystemClipboard().IsAvailable(format); }

int FirstAvailableFormat(const char* const* names, int count)
{
    for (int i = 0; i < count; ++i)
        if (IsFormatAvailable(names[i]))
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

int ClipboardExportCommand(const cAnimeData& project, int version, iStatusSink& status)
{
    platform::TakeTextProblems();
    const int result = ExportToClipboard(project, version);
    const std::string& label = platform::LoadString(ExportLabelId(version));
    status.ShowStatus(withTextProblems(platform::FormatString(result == 1 ? kExportDone : kExportFailed, label.c_str())));
    return result;
}

int ClipboardImportCommand(int version, cImportHost& host, iStatusSink& status)
{
    if (!host.AskSaveChanges())
        return 0;
    auto project = std::make_unique<cAnimeData>();
    platform::TakeTextProblems();
    const int result = ImportFromClipboard(*project, version);
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

bool IsClipboardCommandEnabled(int command)
{
    switch (command) {
    case IDM_IMPORT_2000: return IsFormatAvailable(platform::kFormat2000);
    case IDM_IMPORT_RUBY: return FirstAvailableFormat(kRubyFormats, 3) != -1;
    case IDM_IMPORT_MV: return FirstAvailableFormat(kJsonFormats, 2) != -1;
    case IDM_EXPORT_2003:
    case IDM_IMPORT_2003: return false;
    default: {
        int version;
        bool isExport;
        return ClipboardCommandVersion(command, version, isExport) && isExport;
    }
    }
}
