#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

uint32_t SteadyClock::Milliseconds() const
{
    auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<uint32_t>(ms.count());
}

void SteadyClock::Yield() { std::this_thread::yield(); }

Clock& SystemClock()
{
    static SteadyClock clock;
    return clock;
}

} // namespace platform
