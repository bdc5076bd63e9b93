#include <gtest/gtest.h>

#include <vector>

#include "playback/FrameTimer.h"

namespace {

// Polls the timer once per millisecond from the clock's current time for `ms`
// milliseconds (skipping the polls listed in `stalls` as [from, to) spans) and
// returns the clock values at which ticks fired.
struct Stall { uint32_t from, to; };

std::vector<uint32_t> poll(platform::ManualClock& clock, cFrameTimer& timer, uint32_t ms,
                           std::vector<Stall> stalls = {})
{
    std::vector<uint32_t> fired;
    timer.setTarget([&] { fired.push_back(clock.milliseconds()); });
    uint32_t start = clock.milliseconds();
    for (uint32_t t = 0; t <= ms; ++t) {
        clock.set(start + t);
        bool stalled = false;
        for (const Stall& s : stalls) stalled |= (t >= s.from && t < s.to);
        if (!stalled) timer.tick();
    }
    return fired;
}

TEST(PlayRate, TableIndexClampedAndPeriods)
{
    std::vector<unsigned> periods;
    for (int i = -1; i <= 7; ++i) {
        platform::ManualClock clock;
        cFrameTimer timer(clock);
        timer.setRate(PlayRateFromSetting(i));
        periods.push_back(timer.period());
    }
    EXPECT_EQ(periods, (std::vector<unsigned>{16, 16, 18, 25, 33, 50, 66, 100, 100}));
}

TEST(FrameTimer, RateClampedTo1To120)
{
    platform::ManualClock clock;
    cFrameTimer timer(clock);
    timer.setRate(0);
    EXPECT_EQ(timer.rate(), 1u);
    EXPECT_EQ(timer.period(), 1000u);
    timer.setRate(500);
    EXPECT_EQ(timer.rate(), 120u);
    EXPECT_EQ(timer.period(), 8u);
}

TEST(FrameTimer, TicksEvery16msAt60AndEvery100msAt10)
{
    platform::ManualClock clock(1000);
    cFrameTimer timer(clock);
    timer.setRate(60);
    ASSERT_TRUE(timer.start());
    EXPECT_EQ(poll(clock, timer, 100), (std::vector<uint32_t>{1016, 1032, 1048, 1064, 1080, 1096}));

    clock.set(5000);
    timer.stop();
    timer.setRate(10);
    ASSERT_TRUE(timer.start());
    EXPECT_EQ(poll(clock, timer, 350), (std::vector<uint32_t>{5100, 5200, 5300}));
}

TEST(FrameTimer, StoppedTimerNeverFiresAndStartTwiceFails)
{
    platform::ManualClock clock;
    cFrameTimer timer(clock);
    timer.setRate(60);
    EXPECT_TRUE(poll(clock, timer, 100).empty());
    EXPECT_TRUE(timer.start());
    EXPECT_FALSE(timer.start());
    timer.stop();
    EXPECT_FALSE(timer.isRunning());
}

TEST(FrameTimer, LateTickShortensTheNextWait)
{
    platform::ManualClock clock(0);
    cFrameTimer timer(clock);
    timer.setRate(60);
    timer.start();
    // No polls between 20 and 37: the tick due at 32 fires 5 ms late at 37, and
    // the next one keeps the schedule at 48.
    EXPECT_EQ(poll(clock, timer, 90, {{20, 37}}), (std::vector<uint32_t>{16, 37, 48, 64, 80}));
}

TEST(FrameTimer, StallLongerThanAPeriodRestartsInsteadOfBursting)
{
    platform::ManualClock clock(0);
    cFrameTimer timer(clock);
    timer.setRate(60);
    timer.start();
    // Nothing polled from 17 to 69: one tick at 69, then the schedule restarts
    // from 69 + 16 and continues every 16 ms; no catch-up burst.
    EXPECT_EQ(poll(clock, timer, 150, {{17, 69}}), (std::vector<uint32_t>{16, 69, 101, 117, 133, 149}));
    EXPECT_EQ(timer.lag(), 0);
}

TEST(FrameTimer, ScheduleSurvivesTheMillisecondWrap)
{
    platform::ManualClock clock(0xFFFFFFF0u);
    cFrameTimer timer(clock);
    timer.setRate(60);
    timer.start();
    EXPECT_EQ(poll(clock, timer, 50), (std::vector<uint32_t>{0, 16, 32}));
    EXPECT_EQ(timer.untilNext(), 14u);
}

} // namespace
