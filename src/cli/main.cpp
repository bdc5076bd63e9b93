// mevko: the command-line tool for batch work and end-to-end tests.
#include "cli/Cli.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

namespace {
struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command kCommands[] = {
    {"info", cmdInfo, "info FILE [--json]                      summary: name, frames, cells, pictures, effects, formats"},
    {"dump", cmdDump, "dump FILE                               the whole project as canonical JSON"},
    {"settings", cmdSettings, "settings [--config PATH] [--write]      print every setting in effect; --write writes config.ini"},
    {"convert", cmdConvert, "convert IN OUT [--format bin|text]      load a project (binary, text or legacy text) and save it"},
    {"clip-export", cmdClipExport, "clip-export IN --to 2000|xp|vx|vxace|mv|mz -o PAYLOAD\n"
                                   "                                          write the exact bytes export would place on the clipboard"},
    {"clip-import", cmdClipImport, "clip-import PAYLOAD --from 2000|xp|vx|vxace|mv|mz -o OUT\n"
                                   "                                          import those bytes as if read from the clipboard"},
    {"play", cmdPlay, "play IN --trace [--from N] [--options BITS] [--range A B] [--max-ticks T]\n"
                      "                                          run the player on a virtual clock and print the tick trace"},
    {"export-png", cmdExportPng, "export-png IN -o OUT.png [export options]  PNG sheet or numbered PNG files"},
    {"export-gif", cmdExportGif, "export-gif IN -o OUT.gif [export options]  animated GIF"},
    {"render", cmdRender, "render IN --frame N -o OUT.png [--width W --height H]\n"
                          "                                          composite one frame into a PNG"},
};

void usage(FILE* out)
{
    std::fprintf(out, "usage: mevko COMMAND [ARGS...]\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %s\n", c.usage);
    std::fprintf(out, "\n'mevko COMMAND --help' describes a command.\n");
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        usage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name))
            continue;
        // Nothing a command meets may end the program unreported.
        try {
            return c.run(argc - 1, argv + 1);
        } catch (const std::bad_alloc&) {
            return cli::Fail(c.name, "out of memory");
        } catch (const std::exception& e) {
            return cli::Fail(c.name, std::string("internal error: ") + e.what());
        } catch (...) {
            return cli::Fail(c.name, "internal error");
        }
    }
    std::fprintf(stderr, "mevko: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
}
