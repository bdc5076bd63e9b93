#include <gtest/gtest.h>

#include <vector>

#include "playback/FrameTimer.h"

namespace {

struct Stall {
    uint32_t from, to;
};

// Polls the timer once per millisecond for `ms` milliseconds from the clock's
// current time, skipping the [from, to) spans in `stalls`; returns the clock
// values at which ticks fired.
std::vector<uint32_t> poll(platform::ManualClock& clock, cFrameTimer& timer, uint32_t ms,
                           std::vector<Stall> stalls = {})
{
    std::vector<uint32_t> fired;
    timer.SetTarget([&] { fired.push_back(clock.Milliseconds()); });
    const uint32_t start = clock.Milliseconds();
    for (uint32_t t = 0; t <= ms; ++t) {
        clock.Set(start + t);
        bool stalled = false;
        for (const Stall& s : stalls)
            stalled |= (t >= s.from && t < s.to);
        if (!stalled)
            timer.Tick();
    }
    return fired;
}

TEST(FrameTimer, RateTableAndClamping)
{
    platform::ManualClock clock;
    cFrameTimer timer(clock);
    std::vector<unsigned> periods;
    for (int index = -1; index <= 7; ++index) {
        timer.SetRate(PlayRateFromSetting(index));
        periods.push_back(timer.Period());
    }
    EXPECT_EQ(periods, (std::vector<unsigned>{16, 16, 18, 25, 33, 50, 66, 100, 100}));
    timer.SetRate(0);
    EXPECT_EQ(timer.Period(), 1000u);
    timer.SetRate(500);
    EXPECT_EQ(timer.Period(), 8u);
}

TEST(FrameTimer, TicksEvery16msAt60AndEvery100msAt10OnlyWhileRunning)
{
    platform::ManualClock clock(1000);
    cFrameTimer timer(clock);
    timer.SetRate(60);
    EXPECT_TRUE(poll(clock, timer, 40).empty());
    clock.Set(1000);
    ASSERT_TRUE(timer.Start());
    EXPECT_FALSE(timer.Start());
    EXPECT_EQ(poll(clock, timer, 100), (std::vector<uint32_t>{1016, 1032, 1048, 1064, 1080, 1096}));

    timer.Stop();
    clock.Set(5000);
    timer.SetRate(10);
    ASSERT_TRUE(timer.Start());
    EXPECT_EQ(poll(clock, timer, 350), (std::vector<uint32_t>{5100, 5200, 5300}));
}

TEST(FrameTimer, LateTickShortensTheNextWait)
{
    platform::ManualClock clock(0);
    cFrameTimer timer(clock);
    timer.SetRate(60);
    timer.Start();
    // The tick due at 32 fires 5 ms late; the next keeps the schedule at 48.
    EXPECT_EQ(poll(clock, timer, 90, {{20, 37}}), (std::vector<uint32_t>{16, 37, 48, 64, 80}));
}

TEST(FrameTimer, StallLongerThanAPeriodRestartsInsteadOfBursting)
{
    platform::ManualClock clock(0);
    cFrameTimer timer(clock);
    timer.SetRate(60);
    timer.Start();
    // One tick at 69, then the schedule restarts from 69 + 16: no burst of ticks.
    EXPECT_EQ(poll(clock, timer, 150, {{17, 69}}), (std::vector<uint32_t>{16, 69, 101, 117, 133, 149}));
    EXPECT_EQ(timer.Lag(), 0);
}

TEST(FrameTimer, ScheduleSurvivesTheMillisecondWrap)
{
    platform::ManualClock clock(0xFFFFFFF0u);
    cFrameTimer timer(clock);
    timer.SetRate(60);
    timer.Start();
    EXPECT_EQ(poll(clock, timer, 50), (std::vector<uint32_t>{0, 16, 32}));
    EXPECT_EQ(timer.UntilNext(), 14u);
}

} // namespace
