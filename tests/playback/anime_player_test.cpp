#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/AnimeData.h"
#include "playback/AnimePlayer.h"
#include "playback/PlayTrace.h"
#include "playback/SoundTable.h"

namespace {

struct EffectAt {
    int frame;
    int flashDuration = 0;
    int flashScope = 0;
    std::string sound = {};
};

std::unique_ptr<cAnimeData> makeProject(int frames, std::vector<std::pair<int, int>> intervals = {},
                                        std::vector<EffectAt> effects = {})
{
    auto project = std::make_unique<cAnimeData>();
    project->NewProject("");
    if (frames > 1)
        project->InsertFrames(1, frames - 1);
    for (auto [frame, interval] : intervals)
        project->SetInterval(frame, interval);
    for (const EffectAt& e : effects) {
        strEffect effect;
        effect.frame = uint16_t(e.frame);
        effect.flashDuration = uint16_t(e.flashDuration);
        effect.flashScope = uint8_t(e.flashScope);
        effect.seName = e.sound;
        project->ValidateEffect(effect);
        int index = 0;
        project->InsertEffect(effect, &index);
    }
    return project;
}

std::string join(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += line + "\n";
    return out;
}

struct TraceCase {
    const char* name;
    int frames;
    std::vector<std::pair<int, int>> intervals;
    std::vector<EffectAt> effects;
    strPlayTraceRequest request;
    const char* expected;
};

class PlayTraceTest : public testing::TestWithParam<TraceCase> {};

TEST_P(PlayTraceTest, WholeTrace)
{
    const TraceCase& c = GetParam();
    auto project = makeProject(c.frames, c.intervals, c.effects);
    EXPECT_EQ(join(RunPlayTrace(*project, c.request)), c.expected);
}

strPlayTraceRequest request(int from, unsigned options, int rangeStart = -1, int rangeEnd = -1, long maxTicks = 100)
{
    strPlayTraceRequest r;
    r.from = from;
    r.options = options;
    r.rangeStart = rangeStart;
    r.rangeEnd = rangeEnd;
    r.maxTicks = maxTicks;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Player, PlayTraceTest,
    testing::Values(
        // Frame 1 lasts 3 ticks; the last frame shows until the tick after it ends.
        TraceCase{"IntervalThreeShowsThreeTicks",
                  3,
                  {{1, 3}},
                  {},
                  request(0, PF_WHOLE),
                  "0 0\n1 1\n2 1\n3 1\n4 2\n5 2\n6 2\n6 stop\n"},
        // Without loop the end waits for the flash (5 ticks) to fade out.
        TraceCase{"NoLoopStopsAfterFlashEnds",
                  3,
                  {},
                  {{1, 5}},
                  request(0, PF_WHOLE | PF_FLASH),
                  "0 0\n1 fire 0\n1 1\n2 2\n3 2\n4 2\n5 2\n6 2\n7 2\n7 stop\n"},
        // With flashes off the same effect fires but nothing is waited for.
        TraceCase{"FlashesOffDoNotDelayTheEnd",
                  3,
                  {},
                  {{1, 5}},
                  request(0, PF_WHOLE),
                  "0 0\n1 fire 0\n1 1\n2 2\n3 2\n4 2\n4 stop\n"},
        TraceCase{"BounceFiresOnlyForward",
                  4,
                  {},
                  {{1}, {2}},
                  request(0, PF_WHOLE | PF_BOUNCE),
                  "0 0\n1 fire 0\n1 1\n2 fire 1\n2 2\n3 3\n4 2\n5 1\n6 0\n7 0\n8 0\n8 stop\n"},
        TraceCase{"BounceWithLoopFiresEveryForwardPass",
                  4,
                  {},
                  {{1}, {2}},
                  request(0, PF_WHOLE | PF_BOUNCE | PF_LOOP, -1, -1, 10),
                  "0 0\n1 fire 0\n1 1\n2 fire 1\n2 2\n3 3\n4 2\n5 1\n6 0\n"
                  "7 fire 0\n7 1\n8 fire 1\n8 2\n9 3\n10 2\n"},
        // Frames 10..20 repeat; effects re-fire from frame 10 (not the one at 9).
        TraceCase{"LoopInRangeRefiresFromRangeStart",
                  25,
                  {},
                  {{9}, {10}, {15}, {20}, {21}},
                  request(12, PF_LOOP, 10, 20, 20),
                  "0 12\n1 13\n2 14\n3 fire 2\n3 15\n4 16\n5 17\n6 18\n7 19\n8 fire 3\n8 20\n"
                  "9 fire 1\n9 10\n10 11\n11 12\n12 13\n13 14\n14 fire 2\n14 15\n15 16\n16 17\n"
                  "17 18\n18 19\n19 fire 3\n19 20\n20 fire 1\n20 10\n"},
        // Starting before the range, or on or after its end, jumps to its start.
        TraceCase{"StartBeforeRangeJumpsIn",
                  25,
                  {},
                  {{10}},
                  request(5, 0, 10, 12),
                  "0 10\n1 fire 0\n1 11\n2 12\n3 12\n4 12\n4 stop\n"},
        TraceCase{
            "StartAtRangeEndJumpsIn", 25, {}, {}, request(12, 0, 10, 12), "0 10\n1 11\n2 12\n3 12\n4 12\n4 stop\n"},
        // The whole-animation option ignores the range.
        TraceCase{"WholeOptionIgnoresRange", 3, {}, {}, request(1, PF_WHOLE, 0, 1), "0 1\n1 2\n2 2\n3 2\n3 stop\n"},
        TraceCase{"LoopWithoutRangeRestartsAtZero",
                  3,
                  {},
                  {{0}},
                  request(0, PF_WHOLE | PF_LOOP, -1, -1, 6),
                  "0 0\n1 fire 0\n1 1\n2 2\n3 fire 0\n3 0\n4 1\n5 2\n6 fire 0\n6 0\n"}),
    [](const testing::TestParamInfo<TraceCase>& info) { return std::string(info.param.name); });

// A sound part that plays for a set number of ticks and counts the calls.
class FakeSounds : public cSoundPart {
public:
    void LoadSounds(const cAnimeData&) override { ++loads; }
    void PlayEffect(const strEffect& effect) override
    {
        played.push_back(effect.seName);
        ticksLeft = 4;
    }
    void StopAll() override
    {
        ++stops;
        ticksLeft = 0;
    }
    void ReleaseAll() override { ++releases; }
    bool AnyPlaying() const override
    {
        if (ticksLeft <= 0)
            return false;
        --ticksLeft;
        return true;
    }

    int loads = 0, stops = 0, releases = 0;
    mutable int ticksLeft = 0;
    std::vector<std::string> played;
};

class Window : public cPlayerWindow {
public:
    void PlayTick() override {}
    void PlayStopped() override { ++stopped; }
    int stopped = 0;
};

struct PlayerFixture : testing::Test {
    platform::ManualClock clock;
    cFrameTimer timer{clock};
    FakeSounds sounds;
    cAnimePlayer player{timer, &sounds};
    Window window;

    // Ticks until playback stops (at most `max`); returns the ticks taken.
    int RunToStop(int max = 100)
    {
        int ticks = 0;
        while (player.IsPlaying() && ticks < max) {
            player.Advance();
            ++ticks;
        }
        return ticks;
    }
};

TEST_F(PlayerFixture, EndWaitsForSoundsAndClearsCellsWithTheOption)
{
    auto project = makeProject(2, {}, {{1, 0, 0, "a.wav"}});
    player.SetProject(project.get());
    player.GoToFrame(0);
    ASSERT_TRUE(player.Play(60, PF_WHOLE | PF_SOUND | PF_CLEAR_CELLS, &window));
    EXPECT_EQ(sounds.loads, 1);
    // Tick 1 fires the sound, tick 2 finishes; the sound plays through tick 5.
    EXPECT_EQ(RunToStop(), 6);
    EXPECT_EQ(sounds.played, std::vector<std::string>{"a.wav"});
    EXPECT_TRUE(player.CellsCleared());
    EXPECT_EQ(window.stopped, 1);
    EXPECT_EQ(player.CurrentFrame(), 1);
    EXPECT_FALSE(timer.IsRunning());

    // A new play shows the cells again.
    player.GoToFrame(0);
    ASSERT_TRUE(player.Play(60, PF_WHOLE, &window));
    EXPECT_FALSE(player.CellsCleared());
    EXPECT_TRUE(sounds.played.size() == 1); // sound option off: nothing played
}

TEST_F(PlayerFixture, OptionChangesTakeEffectAtOnce)
{
    auto project = makeProject(3);
    player.SetProject(project.get());
    player.GoToFrame(0);
    ASSERT_TRUE(player.Play(60, PF_WHOLE, &window));
    player.Advance();
    player.SetOptions(PF_WHOLE | PF_LOOP);
    EXPECT_TRUE(player.IsPlaying());
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        player.Advance();
        frames.push_back(player.CurrentFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{2, 0, 1, 2, 0}));

    EXPECT_EQ(sounds.releases, 0);
    player.SetOptions(PF_WHOLE | PF_RELOAD_SOUNDS);
    EXPECT_EQ(sounds.releases, 1);
    player.SetOptions(PF_WHOLE | PF_RELOAD_SOUNDS); // already on: no new release
    EXPECT_EQ(sounds.releases, 1);
    player.Stop(false);
    EXPECT_EQ(sounds.releases, 2);
    EXPECT_EQ(window.stopped, 1);
}

// Flashes: state per tick as "<scope>:<remaining>/<duration>" for screen|target.
TEST_F(PlayerFixture, FlashesFadeOncePerTickAndRespectTheOption)
{
    auto project = makeProject(4, {{1, 3}}, {{1, 3, 0}, {1, 2, 2}});
    player.SetProject(project.get());
    auto state = [](const strFlashState& f) {
        return std::to_string(f.scope) + ":" + std::to_string(f.remaining) + "/" + std::to_string(f.duration);
    };
    std::string trace;
    player.GoToFrame(0);
    ASSERT_TRUE(player.Play(60, PF_WHOLE | PF_FLASH, &window));
    for (int i = 0; i < 5; ++i) {
        player.Advance();
        trace += state(player.ScreenFlash()) + "|" + state(player.TargetFlash()) + " ";
    }
    EXPECT_EQ(trace, "0:3/3|2:2/2 0:2/3|2:1/2 0:1/3|2:0/0 0:0/0|2:0/0 0:0/0|2:0/0 ");
}

TEST_F(PlayerFixture, PlayCommandTogglesAndStopKeepsOrResetsTheFrame)
{
    auto project = makeProject(5);
    player.SetProject(project.get());
    // The internal bits of PlayBit are ignored; PlayRate 6 is 10 fps.
    EXPECT_TRUE(RunPlayCommand(player, 2, -1, -1, &window, PF_WHOLE | PF_BACKWARD, 6));
    EXPECT_EQ(player.Flags(), unsigned(PF_WHOLE | PF_PLAYING));
    EXPECT_EQ(timer.Period(), 100u);
    player.Advance();
    EXPECT_FALSE(RunPlayCommand(player, 0, -1, -1, &window, PF_WHOLE, 0)); // stops, keeps frame
    EXPECT_EQ(player.CurrentFrame(), 3);
    EXPECT_FALSE(player.Advance());
    EXPECT_EQ(window.stopped, 1);
    player.Stop(true);
    EXPECT_EQ(player.CurrentFrame(), -1);
    EXPECT_EQ(window.stopped, 1); // told only when it was playing
}

} // namespace
