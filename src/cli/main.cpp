// mevko: the command-line tool for batch work and end-to-end tests.
#include "cli/Cli.h"

#include <cstdio>
#include <cstring>

namespace {
struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* usage;
};

const Command kCommands[] = {
    {"settings", cmdSettings, "settings [--config PATH] [--write]   print every setting in effect; --write writes config.ini"},
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
    for (const Command& c : kCommands)
        if (!std::strcmp(argv[1], c.name))
            return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "mevko: unknown command '%s'\n", argv[1]);
    usage(stderr);
    return 2;
}
