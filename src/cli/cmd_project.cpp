// mevko info / dump / convert: project files on the command line.
#include "cli/Cli.h"
#include "cli/Options.h"

#include "model/AnimeData.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

const char* kindName(int kind)
{
    switch (kind) {
    case ANIME::FK_BINARY: return "binary";
    case ANIME::FK_TEXT: return "text";
    case ANIME::FK_LEGACY_TEXT: return "legacy text";
    default: return "unknown";
    }
}

int usedCells(const cAnimeData& p)
{
    int n = 0;
    for (int f = 0; f < p.Frames().Size(); ++f)
        if (const strFrame* frame = p.GetFrame(f))
            n += frame->cells.Count();
    return n;
}

struct InfoArgs {
    std::string file;
    bool json = false;
};

int runInfo(const InfoArgs& a)
{
    const char* file = a.file.c_str();
    const bool json = a.json;
    int kind = 0;
    const std::unique_ptr<cAnimeData> p = cli::LoadProject(file, &kind);
    if (!p)
        return 1;
    const nlohmann::json summary = {
        {"file", file},
        {"kind", kindName(kind)},
        {"name", ANIME::DumpText(p->Text(AT_NAME))},
        {"frames", p->LastUsedIndex(AI_FRAMES) + 1},
        {"cellCount", p->CellCount()},
        {"cellsUsed", usedCells(*p)},
        {"pictures", p->GetValue(AI_PICTURES)},
        {"effects", p->GetValue(AI_EFFECTS)},
        {"editFormat", p->GetValue(AI_EDIT_FORMAT)},
        {"divisionFormat", p->GetValue(AI_DIVISION_FORMAT)},
        {"saveFormat", p->GetValue(AI_SAVE_FORMAT)},
        {"fixPicturePerCell", p->GetValue(AI_FIX_PICTURE_PER_CELL)},
        {"baseInterval", p->GetValue(AI_BASE_INTERVAL)},
        {"totalInterval", p->GetValue(AI_TOTAL_INTERVAL)},
        {"length", p->SumIntervals()},
    };
    if (json) {
        std::printf("%s\n", summary.dump().c_str());
        return 0;
    }
    std::printf("file:           %s (%s)\n", file, kindName(kind));
    std::printf("name:           %s\n", summary["name"].get<std::string>().c_str());
    std::printf("frames:         %d (length %d ticks, base interval %d, total interval %d)\n", int(summary["frames"]),
                p->SumIntervals(), p->GetValue(AI_BASE_INTERVAL), p->GetValue(AI_TOTAL_INTERVAL));
    std::printf("cells:          %d per frame, %d used\n", p->CellCount(), usedCells(*p));
    std::printf("pictures:       %d\n", p->GetValue(AI_PICTURES));
    std::printf("effects:        %d\n", p->GetValue(AI_EFFECTS));
    std::printf("formats:        edit %d, division %d, save %d (%s), fixed picture per cell %d\n",
                p->GetValue(AI_EDIT_FORMAT), p->GetValue(AI_DIVISION_FORMAT), p->GetValue(AI_SAVE_FORMAT),
                p->GetValue(AI_SAVE_FORMAT) == 0 ? "binary" : "text", p->GetValue(AI_FIX_PICTURE_PER_CELL));
    return 0;
}

int runDump(const std::string& file)
{
    const std::unique_ptr<cAnimeData> p = cli::LoadProject(file.c_str());
    if (!p)
        return 1;
    std::printf("%s\n", ANIME::DumpProjectText(*p).c_str());
    return 0;
}

struct ConvertArgs {
    std::string in, out;
    int format = -1;
};

int runConvert(const ConvertArgs& a)
{
    const char* in = a.in.c_str();
    const char* out = a.out.c_str();
    const int format = a.format;
    const std::unique_ptr<cAnimeData> p = cli::LoadProject(in);
    if (!p)
        return 1;
    if (format >= 0)
        p->SetValue(AI_SAVE_FORMAT, format);
    ANIME::cAnimeFile_Device device;
    switch (device.Save(out, *p)) {
    case ANIME::FR_OK: cli::WarnTextProblems(in); return 0;
    case ANIME::FR_CANNOT_OPEN: return cli::Fail(out, "cannot be written: " + device.LastError());
    default:
        return cli::Fail(out, p->GetValue(AI_SAVE_FORMAT) > 1
                                  ? "unknown save format"
                                  : cli::TextProblemsOr("the project cannot be stored in this format (a text longer "
                                                        "than 255 bytes or holding a line break, more than 255 sound "
                                                        "names or pictures)"));
    }
}

} // namespace

cli::Command cli::AddInfo(CLI::App& mevko)
{
    auto a = std::make_shared<InfoArgs>();
    CLI::App* cmd =
        mevko.add_subcommand("info", "Summary of a project: name, frames, cells, pictures, effects.\n\n"
                                     "Prints the name, frames, cells, pictures, effects and formats of a project file\n"
                                     "(binary, text or legacy text).");
    cmd->add_option("FILE", a->file, "the project file")->required();
    cmd->add_flag("--json", a->json, "print the summary as one JSON object");
    return {cmd, "no file given", [a] { return runInfo(*a); }};
}

cli::Command cli::AddDump(CLI::App& mevko)
{
    auto file = std::make_shared<std::string>();
    CLI::App* cmd =
        mevko.add_subcommand("dump", "The whole project as canonical JSON.\n\n"
                                     "Prints one JSON object: texts in UTF-8; only existing pictures, effects, frames\n"
                                     "and cells, in index order.");
    cmd->add_option("FILE", *file, "the project file")->required();
    return {cmd, "no file given", [file] { return runDump(*file); }};
}

cli::Command cli::AddConvert(CLI::App& mevko)
{
    auto a = std::make_shared<ConvertArgs>();
    CLI::App* cmd = mevko.add_subcommand(
        "convert", "Loads a project and saves it in either format.\n\n"
                   "Loads a project (binary, text or legacy text) and saves it as OUT, in the given\n"
                   "format or else in the project's own save format. OUT is replaced in one step.");
    cmd->add_option("IN", a->in, "the project to load")->required();
    cmd->add_option("OUT", a->out, "the file to write")->required();
    AddFormat(*cmd, a->format);
    return {cmd, "needs IN and OUT", [a] { return runConvert(*a); }};
}
