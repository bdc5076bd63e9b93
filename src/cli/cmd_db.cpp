// mevko db-list / db-import / db-export: a game's animation database, read and
// written directly (MV / MZ Animations.json, XP / VX / VX Ace Animations.rxdata /
// .rvdata / .rvdata2, 2000 / 2003 RPG_RT.ldb).
#include "cli/Cli.h"
#include "cli/Options.h"

#include "model/AnimeData.h"
#include "project/GameData.h"
#include "project/ProjectDump.h"
#include "project/Settings.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kMaxId = 9999;
const char kIdFailure[] = "--id takes an ID from 1 to 9999";

const char* kindName(eDataFileKind kind)
{
    switch (kind) {
    case DATA_MV: return "mv";
    case DATA_MZ: return "mz";
    case DATA_XP: return "xp";
    case DATA_VX: return "vx";
    case DATA_VXACE: return "vxace";
    case DATA_2000: return "2000";
    }
    return "unknown";
}

bool readSettings(const std::string& config) { return config.empty() || Settings().ReadSettings(config); }

struct ListArgs {
    std::string file;
    bool json = false;
};

int runList(const ListArgs& a)
{
    cGameData data;
    std::string reason;
    if (!data.Read(a.file, reason))
        return cli::Fail(a.file, reason);
    const std::vector<strDataEntry> entries = data.List();
    if (a.json) {
        nlohmann::json list = nlohmann::json::array();
        for (const strDataEntry& e : entries)
            list.push_back({{"id", e.id},
                            {"name", ANIME::DumpText(e.name)},
                            {"frames", e.frames},
                            {"cells", e.cells},
                            {"timings", e.timings},
                            {"editable", e.editable}});
        const nlohmann::json out = {{"file", a.file}, {"kind", kindName(data.Kind())}, {"entries", list}};
        std::printf("%s\n", out.dump().c_str());
        return 0;
    }
    std::printf("%s (%s): %zu entries\n", a.file.c_str(), kindName(data.Kind()), entries.size());
    std::printf("%6s %6s %5s %7s  %s\n", "ID", "frames", "cells", "timings", "name");
    for (const strDataEntry& e : entries)
        std::printf("%6d %6d %5d %7d  %s%s\n", e.id, e.frames, e.cells, e.timings, ANIME::DumpText(e.name).c_str(),
                    e.editable ? "" : "  (not editable)");
    return 0;
}

struct ImportArgs {
    std::string file, output, config;
    int id = 0;
    int format = -1;
};

int runImport(const ImportArgs& a)
{
    if (!readSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");
    cGameData data;
    std::string reason;
    if (!data.Read(a.file, reason))
        return cli::Fail(a.file, reason);
    cAnimeData project;
    project.SetDefaults(Settings().ProjectDefaults());
    if (!data.Import(a.id, project, reason))
        return cli::Fail(a.file, reason);
    return cli::SaveImported(project, a.format, a.output, a.file);
}

struct ExportArgs {
    std::string project, file, config;
    int id = 0;
    bool noBackup = false;
};

int runExport(const ExportArgs& a)
{
    if (!readSettings(a.config))
        return cli::Fail(a.config, "cannot read settings");
    const std::unique_ptr<cAnimeData> project = cli::LoadProject(a.project.c_str());
    if (!project)
        return 1;
    cGameData data;
    std::string reason;
    if (!data.Read(a.file, reason))
        return cli::Fail(a.file, reason);
    if (!data.Export(*project, a.id, Settings().FolderNames(), reason))
        return cli::Fail(a.file, cli::TextProblemsOr(reason));
    if (!data.Write(!a.noBackup, reason))
        return cli::Fail(a.file, reason);
    cli::WarnTextProblems(a.project);
    return 0;
}

CLI::Option* addId(CLI::App& cmd, int& id)
{
    return cli::AddInt(cmd, "--id", "N", "the entry's ID, 1 to 9999, as in RPG Maker's database", id, 1, kMaxId,
                       kIdFailure)
        ->required();
}

const char kFiles[] = "\nFILE is a game's animation database: MV / MZ data/Animations.json,\n"
                      "XP Data/Animations.rxdata, VX Data/Animations.rvdata,\n"
                      "VX Ace Data/Animations.rvdata2 or 2000 / 2003 RPG_RT.ldb.";

} // namespace

cli::Command cli::AddDbList(CLI::App& mevko)
{
    auto a = std::make_shared<ListArgs>();
    CLI::App* cmd = mevko.add_subcommand(
        "db-list", std::string("The animations of a game's data file.\n\n"
                               "Lists each animation of the file with its ID, name, frames, cells per frame and\n"
                               "timings; entries the editor cannot hold (MZ Effekseer animations) are marked\n"
                               "not editable.\n") +
                       kFiles);
    cmd->add_option("FILE", a->file, "the data file")->required();
    cmd->add_flag("--json", a->json, "print one JSON object: file, kind and entries");
    return {cmd, "no file given", [a] { return runList(*a); }};
}

cli::Command cli::AddDbImport(CLI::App& mevko)
{
    auto a = std::make_shared<ImportArgs>();
    CLI::App* cmd = mevko.add_subcommand(
        "db-import", std::string("Saves one animation of a game's data file as a project.\n\n"
                                 "Reads the animation with the given ID and saves it as a project, in the given\n"
                                 "format or else in the new-project save format. Picture and sound names become\n"
                                 "paths in the game's own folders (MV / MZ img/animations and audio/se, XP / VX /\n"
                                 "VX Ace Graphics/Animations and Audio/SE, 2000 Battle and Sound).\n") +
                         kFiles);
    cmd->add_option("FILE", a->file, "the data file")->required();
    addId(*cmd, a->id);
    cmd->add_option("-o", a->output, "the project file to write")->type_name("OUT")->required();
    AddFormat(*cmd, a->format);
    cmd->add_option("--config", a->config, "read settings from this config.ini")->type_name("PATH");
    return {cmd, "needs FILE, --id and -o", [a] { return runImport(*a); }};
}

cli::Command cli::AddDbExport(CLI::App& mevko)
{
    auto a = std::make_shared<ExportArgs>();
    CLI::App* cmd = mevko.add_subcommand(
        "db-export", std::string("Writes a project into one animation of a game's data file.\n\n"
                                 "Merges the project into the animation with the given ID, or adds it when the\n"
                                 "ID lies past the end (with empty slots before it); IDs are never renumbered.\n"
                                 "The entry keeps what the project cannot hold, and every other entry and byte\n"
                                 "of the file stays as it was. The previous file is kept as FILE.bak unless\n"
                                 "--no-backup is given; FILE is replaced in one step, and a file that cannot be\n"
                                 "read is never written.\n") +
                         kFiles);
    cmd->add_option("PROJECT", a->project, "the project to write")->required();
    cmd->add_option("FILE", a->file, "the data file")->required();
    addId(*cmd, a->id);
    cmd->add_flag("--no-backup", a->noBackup, "do not keep the previous file as FILE.bak");
    cmd->add_option("--config", a->config, "read settings from this config.ini")->type_name("PATH");
    return {cmd, "needs PROJECT, FILE and --id", [a] { return runExport(*a); }};
}
