#include "playback/FrameTimer.h"

#include <algorithm>

unsigned PlayRateFromSetting(int playRate)
{
    int index = std::clamp(playRate, 0, int(std::size(kPlayRates)) - 1);
    return std::clamp(kPlayRates[index], 1u, 120u);
}

void cFrameTimer::SetRate(unsigned rate)
{
    rate_ = std::clamp(rate, 1u, 120u);
    period_ = 1000 / rate_;
    last_ = clock_.Milliseconds();
    lag_ = 0;
}

bool cFrameTimer::Start()
{
    if (running_)
        return false;
    last_ = clock_.Milliseconds();
    lag_ = 0;
    running_ = true;
    return true;
}

uint32_t cFrameTimer::UntilNext() const
{
    // Differences of wrapping values, read as signed, stay right across the wrap.
    int32_t left = static_cast<int32_t>(last_ + period_ - clock_.Milliseconds());
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

bool cFrameTimer::Tick()
{
    if (!running_)
        return false;
    uint32_t now = clock_.Milliseconds();
    // last holds the scheduled time of the previous tick, so a late tick is caught
    // up by the next one coming period - lag after it.
    int32_t late = static_cast<int32_t>(now - (last_ + period_));
    if (late < 0) {
        clock_.Yield();
        return false;
    }
    lag_ = late;
    if (lag_ > static_cast<int32_t>(period_)) {
        // More than one period late: restart the schedule instead of a burst.
        last_ = now + period_;
        lag_ = 0;
    } else {
        last_ += period_;
    }
    if (target_)
        target_();
    return true;
}

cFrameTimer& FrameTimer()
{
    static cFrameTimer timer;
    return timer;
}
