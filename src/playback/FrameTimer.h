#pragma once
// cFrameTimer: the fixed-rate tick source of playback. The owner polls Tick()
// (the GUI from a precise timer, the command line in a loop over a virtual clock);
// when the next frame time has come it calls the target synchronously.

#include <cstdint>
#include <functional>

#include "platform/Clock.h"

/** The rates offered by the play-rate selector, indexed by the PlayRate setting. */
inline constexpr unsigned kPlayRates[] = {60, 55, 40, 30, 20, 15, 10};

/** Ticks per second for a PlayRate setting value (index clamped to the table). */
unsigned PlayRateFromSetting(int playRate);

class cFrameTimer {
public:
    explicit cFrameTimer(platform::Clock& clock = platform::SystemClock()) : clock_(clock) {}

    /** Stores the rate (clamped to 1-120) and its period 1000 / rate ms; restarts
     *  the schedule from now. */
    void SetRate(unsigned rate);
    /** What each tick calls; an empty function sends nothing. */
    void SetTarget(std::function<void()> target) { target_ = std::move(target); }
    /** Starts the schedule from now; false (and no change) when already running. */
    bool Start();
    void Stop() { running_ = false; }
    bool IsRunning() const { return running_; }

    /** Fires one tick if its time has come: calls the target and returns true.
     *  Otherwise yields the time slice and returns false. Does nothing while stopped. */
    bool Tick();
    /** Milliseconds until the next tick is due (0 when due now); for scheduling a
     *  wake-up instead of polling. */
    uint32_t UntilNext() const;

    unsigned Rate() const { return rate_; }
    uint32_t Period() const { return period_; }
    /** How late the last tick fired, in milliseconds. */
    int32_t Lag() const { return lag_; }

private:
    platform::Clock& clock_;
    bool running_ = false;
    std::function<void()> target_;
    unsigned rate_ = 60;
    uint32_t period_ = 1000 / 60;
    uint32_t last_ = 0;
    int32_t lag_ = 0;
};

/** The program's one frame timer, on the system clock. */
cFrameTimer& FrameTimer();
