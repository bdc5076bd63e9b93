// mevko clip-export / clip-import: the RPG Maker clipboard payloads as files.
// Both run the clipboard code itself over an in-memory clipboard, so the file
// holds exactly the bytes the editor would place on (or take from) the system
// clipboard, size prefixes included.
#include "cli/Cli.h"
#include "cli/Options.h"

#include "interchange/ClipboardTransfer.h"
#include "model/AnimeData.h"
#include "platform/Clipboard.h"
#include "platform/FileIO.h"
#include "platform/Strings.h"
#include "project/Settings.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

/** Version number of a version name; -1 when unknown. */
int versionOf(const std::string& name)
{
    const struct {
        const char* name;
        int version;
    } names[] = {{"2000", RPG_2000},   {"xp", RPG_XP}, {"vx", RPG_VX},
                 {"vxace", RPG_VXACE}, {"mv", RPG_MV}, {"mz", RPG_MZ}};
    for (const auto& n : names)
        if (name == n.name)
            return n.version;
    return -1;
}

struct Args {
    std::string input, output, config;
    int version = -1;
    int format = -1;
};

/** Adds the arguments the two commands share: the input, the version option (--to or
 *  --from) and -o. */
void addCommon(CLI::App& cmd, Args& a, const std::string& input, const std::string& versionOption,
               const std::string& versionHelp, const std::string& outputHelp)
{
    cmd.add_option(input, a.input, input == "IN" ? "the project to export" : "the payload file")->required();
    cli::AddValue(cmd, versionOption, "2000|xp|vx|vxace|mv|mz", versionHelp, [&a](const std::string& name) {
        a.version = versionOf(name);
        if (a.version < 0)
            throw cli::ArgError("unknown version " + name + " (2000, xp, vx, vxace, mv or mz)");
    })->required();
    cmd.add_option("-o", a.output, outputHelp)->type_name("FILE")->required();
}

/** Makes an in-memory clipboard the system clipboard for the command's lifetime. */
class ScopedClipboard {
public:
    ScopedClipboard() { platform::SetSystemClipboard(&clipboard); }
    ~ScopedClipboard() { platform::SetSystemClipboard(nullptr); }
    platform::MemoryClipboard clipboard;
};

int runExport(const Args& a)
{
    if (!a.config.empty() && !Settings().ReadSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");
    const std::unique_ptr<cAnimeData> loaded = cli::LoadProject(a.input.c_str());
    if (!loaded)
        return 1;
    const cAnimeData& project = *loaded;
    ScopedClipboard scope;
    if (ExportToClipboard(scope.clipboard, project, a.version, Settings().FolderNames()) != 1)
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

int runImport(const Args& a)
{
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
    project.SetDefaults(Settings().ProjectDefaults());
    if (ImportFromClipboard(scope.clipboard, project, a.version, Settings().FolderNames()) != 1)
        return cli::Fail(a.input, "not a valid payload for " + platform::LoadString(ImportLabelId(a.version)));
    return cli::SaveImported(project, a.format, a.output, a.input);
}

} // namespace

cli::Command cli::AddClipExport(CLI::App& mevko)
{
    auto a = std::make_shared<Args>();
    CLI::App* cmd = mevko.add_subcommand(
        "clip-export", "The exact bytes an export would place on the clipboard.\n\n"
                       "Loads a project and writes the bytes that exporting it to the clipboard for the\n"
                       "given RPG Maker version would place there: XP/VX/VX Ace a size and Ruby Marshal\n"
                       "data, MV/MZ the JSON text, 2000 the 8-byte header and the chunked record.\n"
                       "The settings (--config) give the 2000 code page (Locale) and the folders that\n"
                       "picture and sound names are relative to (FolderName_G, FolderName_S).");
    addCommon(*cmd, *a, "IN", "--to", "the RPG Maker version", "the payload file to write");
    cmd->add_option("--config", a->config, "read settings from this config.ini")->type_name("PATH");
    return {cmd, "missing arguments", [a] { return runExport(*a); }};
}

cli::Command cli::AddClipImport(CLI::App& mevko)
{
    auto a = std::make_shared<Args>();
    CLI::App* cmd = mevko.add_subcommand(
        "clip-import", "Imports such bytes as if read from the clipboard.\n\n"
                       "Imports a clipboard payload of the given RPG Maker version (as clip-export\n"
                       "writes it, or as RPG Maker puts it on the clipboard) and saves it as a project,\n"
                       "in the given format or else in the new-project save format. xp, vx and vxace\n"
                       "read any of the three Ruby formats; mv and mz either JSON format. Picture and\n"
                       "sound names are placed in the FolderName_G and FolderName_S folders of the\n"
                       "settings (--config).");
    addCommon(*cmd, *a, "PAYLOAD", "--from", "the RPG Maker version of the payload", "the project file to write");
    AddFormat(*cmd, a->format);
    cmd->add_option("--config", a->config, "read settings from this config.ini")->type_name("PATH");
    return {cmd, "missing arguments", [a] { return runImport(*a); }};
}
