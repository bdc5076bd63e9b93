// mevko info / dump / convert: project files on the command line.
#include "cli/Cli.h"

#include "model/AnimeData.h"
#include "project/AnimeFile.h"
#include "project/ProjectDump.h"

#include <cstdio>
#include <cstring>
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

bool wantsHelp(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h"))
            return true;
    return false;
}

} // namespace

int cmdInfo(int argc, char** argv)
{
    if (wantsHelp(argc, argv)) {
        std::printf("usage: mevko info FILE [--json]\n"
                    "Prints a summary of a project file (binary, text or legacy text): name, frames,\n"
                    "cells, pictures, effects and formats. --json prints it as one JSON object.\n");
        return 0;
    }
    const char* file = nullptr;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--json"))
            json = true;
        else if (!file && argv[i][0] != '-')
            file = argv[i];
        else
            return cli::Fail("info", std::string("unknown argument ") + argv[i]);
    }
    if (!file)
        return cli::Fail("info", "no file given (usage: mevko info FILE [--json])");
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
    std::printf("frames:         %d (length %d ticks, base interval %d, total interval %d)\n",
                int(summary["frames"]), p->SumIntervals(), p->GetValue(AI_BASE_INTERVAL),
                p->GetValue(AI_TOTAL_INTERVAL));
    std::printf("cells:          %d per frame, %d used\n", p->CellCount(), usedCells(*p));
    std::printf("pictures:       %d\n", p->GetValue(AI_PICTURES));
    std::printf("effects:        %d\n", p->GetValue(AI_EFFECTS));
    std::printf("formats:        edit %d, division %d, save %d (%s), fixed picture per cell %d\n",
                p->GetValue(AI_EDIT_FORMAT), p->GetValue(AI_DIVISION_FORMAT), p->GetValue(AI_SAVE_FORMAT),
                p->GetValue(AI_SAVE_FORMAT) == 0 ? "binary" : "text", p->GetValue(AI_FIX_PICTURE_PER_CELL));
    return 0;
}

int cmdDump(int argc, char** argv)
{
    if (wantsHelp(argc, argv)) {
        std::printf("usage: mevko dump FILE\n"
                    "Prints the whole project as one canonical JSON object (texts in UTF-8; only existing\n"
                    "pictures, effects, frames and cells, in index order).\n");
        return 0;
    }
    if (argc != 2 || argv[1][0] == '-')
        return cli::Fail("dump", "usage: mevko dump FILE");
    const std::unique_ptr<cAnimeData> p = cli::LoadProject(argv[1]);
    if (!p)
        return 1;
    std::printf("%s\n", ANIME::DumpProjectText(*p).c_str());
    return 0;
}

int cmdConvert(int argc, char** argv)
{
    if (wantsHelp(argc, argv)) {
        std::printf("usage: mevko convert IN OUT [--format bin|text]\n"
                    "Loads a project (binary, text or legacy text) and saves it as OUT, in the given\n"
                    "format or else in the project's own save format. OUT is replaced in one step.\n");
        return 0;
    }
    const char* in = nullptr;
    const char* out = nullptr;
    int format = -1;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--format") && i + 1 < argc) {
            const char* f = argv[++i];
            if (!std::strcmp(f, "bin") || !std::strcmp(f, "binary"))
                format = 0;
            else if (!std::strcmp(f, "text") || !std::strcmp(f, "txt"))
                format = 1;
            else
                return cli::Fail("convert", std::string("unknown format ") + f + " (bin or text)");
        } else if (argv[i][0] != '-' && !in) {
            in = argv[i];
        } else if (argv[i][0] != '-' && !out) {
            out = argv[i];
        } else {
            return cli::Fail("convert", std::string("unknown argument ") + argv[i]);
        }
    }
    if (!in || !out)
        return cli::Fail("convert", "usage: mevko convert IN OUT [--format bin|text]");
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
