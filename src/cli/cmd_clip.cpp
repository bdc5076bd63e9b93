// mevko clip-export / clip-import: the RPG Maker clipboard payloads as files.
// Both run the clipboard code itself over an in-memory clipboard, so the file
// holds exactly the bytes the editor would place on (or take from) the system
// clipboard, size prefixes included.
#include "cli/Cli.h"

#include "interchange/ClipboardTransfer.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

int cmdClipExport(int argc, char** argv);
int cmdClipImport(int argc, char** argv);

namespace {

const char* kExportUsage = "usage: mevko clip-export IN --to 2000|xp|vx|vxace|mv|mz -o PAYLOAD [--config PATH]\n";
const char* kImportUsage =
    "usage: mevko clip-import PAYLOAD --from 2000|xp|vx|vxace|mv|mz -o OUT [--format bin|text] [--config PATH]\n";

/** Version number of a version name; -1 when unknown. */
int versionOf(const std::string& name)
{
    const struct {
        const char* name;
        int version;
    } names[] = {{"2000", RPG_2000}, {"xp", RPG_XP}, {"vx", RPG_VX}, {"vxace", RPG_VXACE}, {"mv", RPG_MV},
                 {"mz", RPG_MZ}};
    for (const auto& n : names)
        if (name == n.name)
            return n.version;
    return -1;
}

struct Args {
    std::string input, output, config;
    int version = -1;
    int format = -1;
    bool help = false;
};

/** Parses IN, the version option (--to or --from), -o, --format and --config. */
bool parse(int argc, char** argv, const char* versionOption, Args& a, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h") {
            a.help = true;
        } else if (arg == versionOption && hasValue) {
            a.version = versionOf(argv[++i]);
            if (a.version < 0) {
                error = std::string("unknown version ") + argv[i] + " (2000, xp, vx, vxace, mv or mz)";
                return false;
            }
        } else if (arg == "-o" && hasValue) {
            a.output = argv[++i];
        } else if (arg == "--format" && hasValue && !std::strcmp(versionOption, "--from")) {
            const std::string f = argv[++i];
            a.format = f == "bin" || f == "binary" ? 0 : f == "text" || f == "txt" ? 1 : -2;
            if (a.format == -2) {
                error = "unknown format " + f + " (bin or text)";
                return false;
            }
        } else if (arg == "--config" && hasValue) {
            a.config = argv[++i];
        } else if (arg[0] != '-' && a.input.empty()) {
            a.input = arg;
        } else {
            error = "unknown argument " + arg;
            return false;
        }
    }
    if (!a.help && (a.input.empty() || a.output.empty() || a.version < 0)) {
        error = "missing arguments";
        return false;
    }
    return true;
}

/** Makes an in-memory clipboard the system clipboard for the command's lifetime. */
class ScopedClipboard {
public:
    ScopedClipboard() { platform::SetSystemClipboard(&clipboard); }
    ~ScopedClipboard() { platform::SetSystemClipboard(nullptr); }
    platform::MemoryClipboard clipboard;
};

} // namespace

int cmdClipExport(int argc, char** argv)
{
    Args a;
    std::string error;
    if (!parse(argc, argv, "--to", a, error))
        return cli::Fail("clip-export", error + " (see mevko clip-export --help)");
    if (a.help) {
        std::printf("%s"
                    "Loads a project and writes the bytes that exporting it to the clipboard for the\n"
                    "given RPG Maker version would place there: XP/VX/VX Ace a size and Ruby Marshal\n"
                    "data, MV/MZ the JSON text, 2000 the 8-byte header and the chunked record.\n"
                    "The settings (--config) give the 2000 code page (Locale) and the folders that\n"
                    "picture and sound names are relative to (FolderName_G, FolderName_S).\n",
                    kExportUsage);
        return 0;
    }
    if (!a.config.empty() && !Settings().ReadSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");
    const std::unique_ptr<cAnimeData> loaded = cli::LoadProject(a.input.c_str());
    if (!loaded)
        return 1;
    const cAnimeData& project = *loaded;
    ScopedClipboard scope;
    if (ExportToClipboard(project, a.version) != 1)
        return cli::Fail(a.input, cli::TextProblemsOr(a.version == RPG_2000
                                                          ? "cannot be exported for 2000 (it takes the picture in the "
                                                            "slot before the picture count, and that slot is empty)"
                                                          : "export failed"));
    std::vector<uint8_t> bytes;
    scope.clipboard.Open();
    scope.clipboard.GetData(ClipboardFormatName(a.version), bytes);
    scope.clipboard.Close();
    std::string reason;
    if (!platform::WriteFileAtomic(a.output, bytes, &reason))
        return cli::Fail(a.output, "cannot be written: " + reason);
    return 0;
}

int cmdClipImport(int argc, char** argv)
{
    Args a;
    std::string error;
    if (!parse(argc, argv, "--from", a, error))
        return cli::Fail("clip-import", error + " (see mevko clip-import --help)");
    if (a.help) {
        std::printf("%s"
                    "Imports a clipboard payload of the given RPG Maker version (as clip-export writes\n"
                    "it, or as RPG Maker puts it on the clipboard) and saves it as a project, in the\n"
                    "given format or else in the new-project save format. xp, vx and vxace read any of\n"
                    "the three Ruby formats; mv and mz either JSON format. Picture and sound names are\n"
                    "placed in the FolderName_G and FolderName_S folders of the settings (--config).\n",
                    kImportUsage);
        return 0;
    }
    if (!a.config.empty() && !Settings().ReadSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!platform::ReadFile(a.input, bytes, platform::FileKind::Payload, &reason))
        return cli::Fail(a.input, "cannot be read: " + reason);
    ScopedClipboard scope;
    scope.clipboard.Open();
    scope.clipboard.SetData(ClipboardFormatName(a.version), bytes);
    scope.clipboard.Close();
    cAnimeData project;
    if (ImportFromClipboard(project, a.version) != 1)
        return cli::Fail(a.input, "not a valid payload for " + platform::LoadString(ImportLabelId(a.version)));
    if (a.format >= 0)
        project.SetValue(AI_SAVE_FORMAT, a.format);
    ANIME::cAnimeFile_Device device;
    std::string out;
    if (device.SaveBytes(project, project.GetValue(AI_SAVE_FORMAT), out) != ANIME::FR_OK)
        return cli::Fail(a.output, cli::TextProblemsOr("the imported project cannot be stored in this format"));
    if (!platform::WriteFileAtomic(a.output, out, &reason))
        return cli::Fail(a.output, "cannot be written: " + reason);
    cli::WarnTextProblems(a.input);
    return 0;
}
