// mevko play IN --trace [--from N] [--options BITS] [--range A B] [--max-ticks T]
#include "cli/Cli.h"

#include "model/AnimeData.h"
#include "playback/AnimePlayer.h"
#include "playback/PlayTrace.h"
#include "project/AnimeFile.h"
#include "project/Settings.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

const char* kUsage =
    "usage: mevko play IN --trace [--from N] [--options BITS] [--range A B] [--max-ticks T]\n"
    "Plays a project with the editor's playback rules on a virtual clock, without sound\n"
    "(sound effects count as finished at once), and prints the trace:\n"
    "  0 <frame>               the frame shown when playback starts\n"
    "  <tick> fire <effect>    each effect fired during a tick (effect index)\n"
    "  <tick> <frame>          the frame shown after each tick\n"
    "  <tick> stop             playback has ended\n"
    "Options:\n"
    "  --from N         start frame, counted from 0 (default 0)\n"
    "  --options BITS   play options, decimal or 0x hex (default: the PlayBit default, 416):\n"
    "                   0x004 loop, 0x008 back and forth, 0x020 flashes, 0x080 sound effects,\n"
    "                   0x100 whole animation (range off), 0x400 hide cells at the end\n"
    "  --range A B      play range from frame A to frame B (-1 = open); turns 0x100 off\n"
    "  --max-ticks T    stop the run after T ticks (default 10000)\n";

bool parseLong(const char* text, long min, long max, long& out)
{
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(text, &end, 0);
    if (errno || *end || v < min || v > max) return false;
    out = v;
    return true;
}

} // namespace

int cmdPlay(int argc, char** argv)
{
    const char* file = nullptr;
    bool trace = false, rangeGiven = false;
    long from = 0, maxTicks = 10000, options = long(Settings().PlayBit), rangeStart = -1, rangeEnd = -1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (!std::strcmp(arg, "--trace")) {
            trace = true;
        } else if (!std::strcmp(arg, "--from")) {
            if (!parseLong(next, 0, 65535, from)) return cli::Fail("play", "--from needs a frame number");
            ++i;
        } else if (!std::strcmp(arg, "--options")) {
            if (!parseLong(next, 0, 0xFFFF, options)) return cli::Fail("play", "--options needs a number (0..0xFFFF)");
            ++i;
        } else if (!std::strcmp(arg, "--range")) {
            const char* second = i + 2 < argc ? argv[i + 2] : nullptr;
            if (!parseLong(next, -1, 65535, rangeStart) || !parseLong(second, -1, 65535, rangeEnd))
                return cli::Fail("play", "--range needs two frame numbers (-1 = open)");
            rangeGiven = true;
            i += 2;
        } else if (!std::strcmp(arg, "--max-ticks")) {
            if (!parseLong(next, 0, 100000000, maxTicks)) return cli::Fail("play", "--max-ticks needs a count");
            ++i;
        } else if (!file && arg[0] != '-') {
            file = arg;
        } else {
            return cli::Fail("play", std::string("unknown argument ") + arg);
        }
    }
    if (!file) return cli::Fail("play", "no project file given");
    if (!trace) return cli::Fail("play", "nothing to do: add --trace");

    std::unique_ptr<cAnimeData> project = cli::LoadProject(file);
    if (!project) return 1;
    const int frames = project->GetValue(AI_FRAMES);
    if (frames < 1) return cli::Fail(file, "the project has no frames");
    if (from >= frames)
        return cli::Fail(file, "start frame " + std::to_string(from) + " is past the last frame (" +
                                   std::to_string(frames - 1) + ")");

    strPlayTraceRequest request;
    request.from = int(from);
    request.options = unsigned(options);
    if (rangeGiven) request.options &= ~unsigned(PF_WHOLE);
    request.rangeStart = int(rangeStart);
    request.rangeEnd = int(rangeEnd);
    request.playRate = Settings().PlayRate;
    request.maxTicks = maxTicks;

    std::string out;
    for (const std::string& line : RunPlayTrace(*project, request)) out += line + "\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
