#include "core/base/clock.h"

#include <ctime>
#include <thread>

namespace vrm {

Clock::TimePoint SystemClock::Now() { return std::chrono::steady_clock::now(); }

void SystemClock::SleepUntil(TimePoint deadline) { std::this_thread::sleep_until(deadline); }

LocalMinuteSecond SystemClock::LocalTime() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return {tm.tm_min, tm.tm_sec};
}

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

}  // namespace vrm
