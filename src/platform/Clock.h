#pragma once
// The millisecond clock behind playback. Values are 32-bit and wrap after about
// 49.7 days, so callers compare them by difference, never by magnitude.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    /** Milliseconds since an arbitrary origin, wrapping at 2^32. */
    virtual uint32_t Milliseconds() const = 0;
    /** Gives up the rest of the time slice while waiting for the next tick. */
    virtual void Yield() {}
};

/** The real clock: std::chrono::steady_clock. */
class SteadyClock : public Clock {
public:
    uint32_t Milliseconds() const override;
    void Yield() override;
};

/** A clock that moves only when told to; for tests and virtual-time runs. */
class ManualClock : public Clock {
public:
    explicit ManualClock(uint32_t start = 0) : now_(start) {}
    uint32_t Milliseconds() const override { return now_; }
    void Set(uint32_t ms) { now_ = ms; }
    void Advance(uint32_t ms) { now_ += ms; }

private:
    uint32_t now_;
};

/** The program's real clock. */
Clock& SystemClock();

} // namespace platform
