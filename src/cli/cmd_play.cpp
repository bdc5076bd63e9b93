// mevko play IN --trace [--from N] [--options BITS] [--range A B] [--max-ticks T]
#include "cli/Cli.h"
#include "cli/Options.h"

#include "model/AnimeData.h"
#include "playback/AnimePlayer.h"
#include "playback/PlayTrace.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

struct Args {
    std::string file;
    bool trace = false, rangeGiven = false;
    int from = 0, maxTicks = 10000, options = int(Settings().PlayBit), rangeStart = -1, rangeEnd = -1;
};

int run(const Args& a)
{
    const char* file = a.file.c_str();
    if (!a.trace)
        return cli::Fail("play", "nothing to do: add --trace");

    std::unique_ptr<cAnimeData> project = cli::LoadProject(file);
    if (!project)
        return 1;
    const int frames = project->GetValue(AI_FRAMES);
    if (frames < 1)
        return cli::Fail(file, "the project has no frames");
    if (a.from >= frames)
        return cli::Fail(file, "start frame " + std::to_string(a.from) + " is past the last frame (" +
                                   std::to_string(frames - 1) + ")");

    strPlayTraceRequest request;
    request.from = a.from;
    request.options = unsigned(a.options);
    if (a.rangeGiven)
        request.options &= ~unsigned(PF_WHOLE);
    request.rangeStart = a.rangeStart;
    request.rangeEnd = a.rangeEnd;
    request.playRate = Settings().PlayRate;
    request.maxTicks = a.maxTicks;

    std::string out;
    for (const std::string& line : RunPlayTrace(*project, request))
        out += line + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace

cli::Command cli::AddPlay(CLI::App& mevko)
{
    auto a = std::make_shared<Args>();
    CLI::App* cmd =
        mevko.add_subcommand("play", "The player on a virtual clock, as a trace of frames and effects.\n\n"
                                     "Plays a project with the editor's playback rules on a virtual clock, without\n"
                                     "sound (sound effects count as finished at once), and prints the trace:\n"
                                     "  0 <frame>               the frame shown when playback starts\n"
                                     "  <tick> fire <effect>    each effect fired during a tick (effect index)\n"
                                     "  <tick> <frame>          the frame shown after each tick\n"
                                     "  <tick> stop             playback has ended");
    cmd->add_option("IN", a->file, "the project file")->required();
    cmd->add_flag("--trace", a->trace, "print the trace (the only output there is)");
    AddInt(*cmd, "--from", "N", "start frame, counted from 0 (default 0)", a->from, 0, 65535,
           "--from needs a frame number");
    AddValue(*cmd, "--options", "BITS",
             "play options, decimal or 0x hex (default: the\n"
             "PlayBit setting, 416): 0x004 loop, 0x008 back and\n"
             "forth, 0x020 flashes, 0x080 sound effects, 0x100\n"
             "whole animation (range off), 0x400 hide cells at\n"
             "the end",
             [a](const std::string& text) {
                 long long v = 0;
                 if (!ParseInt(text, 0, 0xFFFF, v, true))
                     throw ArgError("--options needs a number (0..0xFFFF)");
                 a->options = int(v);
             });
    cmd->add_option_function<std::vector<std::string>>(
           "--range",
           [a](const std::vector<std::string>& ends) {
               long long first = 0, last = 0;
               if (ends.size() != 2 || !ParseInt(ends[0], -1, 65535, first) || !ParseInt(ends[1], -1, 65535, last))
                   throw ArgError("--range needs two frame numbers (-1 = open)");
               a->rangeStart = int(first);
               a->rangeEnd = int(last);
               a->rangeGiven = true;
           },
           "play range from frame A to frame B (-1 = open);\nturns 0x100 off")
        ->expected(2)
        ->type_name("A B")
        ->trigger_on_parse();
    AddInt(*cmd, "--max-ticks", "T", "stop the run after T ticks (default 10000)", a->maxTicks, 0, 100000000,
           "--max-ticks needs a count");
    return {cmd, "no project file given", [a] { return run(*a); }};
}
