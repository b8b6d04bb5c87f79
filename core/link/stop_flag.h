// Why a transfer is to stop: 0 while it may go on, else the number of the
// signal that asked for the stop (SIGINT when the user asked). It is set from
// a signal handler or from another thread and read by the port on the thread
// that runs the transfer. A transfer's flag may follow another one (the
// program's own, which the session-end signals set): it then reads as set
// when either is.
#pragma once

#include <atomic>

namespace vrm {

class StopFlag {
public:
    StopFlag() = default;
    explicit StopFlag(const StopFlag* follows) : follows_(follows) {}
    StopFlag(const StopFlag&) = delete;
    StopFlag& operator=(const StopFlag&) = delete;

    // Safe in a signal handler: one lock-free store.
    void Set(int signal) noexcept { value_.store(signal, std::memory_order_relaxed); }
    void Clear() noexcept { value_.store(0, std::memory_order_relaxed); }
    int Value() const noexcept {
        const int own = value_.load(std::memory_order_relaxed);
        return own != 0 || follows_ == nullptr ? own : follows_->Value();
    }

private:
    static_assert(std::atomic<int>::is_always_lock_free, "a signal handler sets the flag");
    std::atomic<int> value_{0};
    const StopFlag* follows_ = nullptr;
};

}  // namespace vrm
