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
        player_.setFireListener(
            [this](int index) { lines_.push_back(std::to_string(tick) + " fire " + std::to_string(index)); });
    }
    ~cTraceWindow() override { player_.setFireListener(nullptr); }

    void playTick() override
    {
        ++tick;
        stopped_ = false;
        player_.advance();
        lines_.push_back(std::to_string(tick) + " " + std::to_string(player_.currentFrame()));
        if (stopped_)
            lines_.push_back(std::to_string(tick) + " stop");
    }
    void playStopped() override { stopped_ = true; }

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
    player.setProject(&project);
    cTraceWindow window(player, lines);

    if (!RunPlayCommand(player, request.from, request.rangeStart, request.rangeEnd, &window, request.options,
                        request.playRate))
        return lines;
    lines.push_back("0 " + std::to_string(player.currentFrame()));
    while (player.isPlaying() && window.tick < request.maxTicks) {
        clock.advance(1);
        timer.tick();
    }
    player.setFireListener(nullptr);
    return lines;
}
