// The time the link and the files see. The program uses SystemClock; protocol
// tests run on a virtual clock so that the mandated delays cost no real time.
#pragma once

#include <chrono>
#include <cstdint>

namespace vrm {

struct LocalMinuteSecond {
    int minute = 0;  // 0-59
    int second = 0;  // 0-60
};

class Clock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Milliseconds = std::chrono::milliseconds;

    virtual ~Clock() = default;

    virtual TimePoint Now() = 0;
    // Waits until `deadline`. It may return early (spurious wake-ups); callers
    // that must not return early loop on Now().
    virtual void SleepUntil(TimePoint deadline) = 0;
    // Minute and second of the local wall-clock time.
    virtual LocalMinuteSecond LocalTime() = 0;

    // Waits at least `ms` milliseconds; never returns early.
    void Delay(std::uint32_t ms) {
        const TimePoint start = Now();
        const TimePoint end = start + Milliseconds(ms);
        while (Now() < end) SleepUntil(end);
    }
};

class SystemClock final : public Clock {
public:
    TimePoint Now() override;
    void SleepUntil(TimePoint deadline) override;
    LocalMinuteSecond LocalTime() override;

    // The process-wide instance the program uses.
    static SystemClock& Instance();
};

// A clock that only moves when told to (or when something sleeps on it).
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(LocalMinuteSecond local = {}) : local_(local) {}
    TimePoint Now() override { return now_; }
    void SleepUntil(TimePoint deadline) override {
        if (deadline > now_) now_ = deadline;
    }
    LocalMinuteSecond LocalTime() override { return local_; }

    void Advance(Milliseconds ms) { now_ += ms; }
    void SetLocalTime(LocalMinuteSecond local) { local_ = local; }

private:
    TimePoint now_{};
    LocalMinuteSecond local_;
};

}  // namespace vrm
