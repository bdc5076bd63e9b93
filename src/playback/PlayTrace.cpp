#include "playback/PlayTrace.h"

#include "platform/Clock.h"
#include "playback/AnimePlayer.h"

namespace {

// Stands in for the canvas: advances the player on each tick and records what it
// would show.
class cTraceWindow : public cPlayerWindow {
public:
    cTraceWindow(cAnimePlayer& player, std::vector<std::string>& lines) : player_(player), lines_(lines)
    {
        player_.SetFireListener(
            [this](int index) { lines_.push_back(std::to_string(tick) + " fire " + std::to_string(index)); });
    }
    ~cTraceWindow() override { player_.SetFireListener(nullptr); }

    void PlayTick() override
    {
        ++tick;
        stopped_ = false;
        player_.Advance();
        lines_.push_back(std::to_string(tick) + " " + std::to_string(player_.CurrentFrame()));
        if (stopped_)
            lines_.push_back(std::to_string(tick) + " stop");
    }
    void PlayStopped() override { stopped_ = true; }

    long tick = 0;

private:
    cAnimePlayer& player_;
    std::vector<std::string>& lines_;
    bool stopped_ = false;
};

} // namespace

std::vector<std::string> RunPlayTrace(cAnimeData& project, const strPlayTraceRequest& request)
{
    std::vector<std::string> lines;
    platform::ManualClock clock;
    cFrameTimer timer(clock);
    cAnimePlayer player(timer, nullptr);
    player.SetProject(&project);
    cTraceWindow window(player, lines);

    if (!RunPlayCommand(player, request.from, request.rangeStart, request.rangeEnd, &window, request.options,
                        request.playRate))
        return lines;
    lines.push_back("0 " + std::to_string(player.CurrentFrame()));
    while (player.IsPlaying() && window.tick < request.maxTicks) {
        clock.Advance(1);
        timer.Tick();
    }
    player.SetFireListener(nullptr);
    return lines;
}
