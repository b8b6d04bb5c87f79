#include "sim/simulated_link.h"

#include <algorithm>
#include <csignal>
#include <cstring>

#include "pipelink/pipelink.h"

namespace vrm {

std::chrono::nanoseconds SimulatedLink::ByteTime() const {
    if (baud_ == 0) return std::chrono::nanoseconds(0);
    // Start bit, eight data bits, stop bit.
    return std::chrono::nanoseconds(10'000'000'000LL / baud_);
}

std::chrono::nanoseconds SimulatedLink::WireTime(std::size_t bytes) const {
    return ByteTime() * static_cast<long long>(bytes);
}

void SimulatedLink::WaitUntil(Clock::TimePoint t) {
    while (clock_.Now() < t) clock_.SleepUntil(t);
}

int SimulatedLink::Init() {
    open_ = true;
    pulled_ = false;
    lastError_ = PIPELINK_OK;
    timeoutMs_ = PIPELINK_INITIAL_TIMEOUT_MS;
    sends_ = 0;
    session_ = nextSession_++;
    bytesOut_ = bytesIn_ = 0;
    outFree_ = inFree_ = clock_.Now();
    pending_.clear();
    radio_.StartSession(faults_);
    return 1;
}

void SimulatedLink::Flush() {
    if (radio_.TakeChanged()) unsaved_ = true;
    if (unsaved_ && onChange_) onChange_();
    unsaved_ = false;
}

int SimulatedLink::Delete() {
    const bool was = open_;
    Flush();
    open_ = false;
    pending_.clear();
    return was ? 1 : 0;
}

int SimulatedLink::Send(const std::uint8_t* data, std::uint32_t length) {
    if (!open_) return 0;
    ++sends_;
    if (faults_.pullStep != 0 && sends_ >= faults_.pullStep) pulled_ = true;
    if (pulled_) {
        lastError_ = PIPELINK_DISCONNECTED;
        pending_.clear();
        return 0;
    }
    const Clock::TimePoint now = clock_.Now();
    const Clock::TimePoint arrival = std::max(now, outFree_) + WireTime(length);
    outFree_ = arrival;
    bytesOut_ += length;
    // No radio on the cable: the bytes go nowhere.
    if (faults_.absent) return 1;

    std::vector<SimReply> replies = radio_.Receive(data, length);
    Clock::TimePoint t = arrival;
    for (SimReply& r : replies) {
        std::chrono::nanoseconds late(std::chrono::milliseconds(r.delayMs));
        if (faults_.slowStep != 0 && sends_ == faults_.slowStep) late += std::chrono::milliseconds(faults_.slowMs);
        const Clock::TimePoint start = std::max(t + late, inFree_);
        const Clock::TimePoint ready = start + WireTime(r.bytes.size());
        inFree_ = ready;
        t = ready;
        bytesIn_ += r.bytes.size();
        pending_.push_back({std::move(r.bytes), ready});
    }
    if (radio_.TakeChanged()) unsaved_ = true;
    const bool signal = faults_.signalStep != 0 && session_ == faults_.signalSession && sends_ == faults_.signalStep;
    // Test and tuning modes are driven by hand, one command at a time: what
    // each command did is kept at once there.
    if (radio_.TakeStored() || signal || radio_.CurrentMode() == SimulatedRadio::Mode::kTuning) Flush();
    // The signal comes while the program waits for the answer, after what the
    // radio did has been kept (a KILL ends the program here).
    if (signal) (void)std::raise(faults_.signal);
    return 1;
}

int SimulatedLink::Recv(std::uint8_t* dst, std::uint32_t* count) {
    if (count) *count = 0;
    if (!open_ || !dst || !count) return 0;
    if (pulled_) {
        lastError_ = PIPELINK_DISCONNECTED;
        return 0;
    }
    const Clock::TimePoint now = clock_.Now();
    if (pending_.empty()) {
        // Nothing will ever come: wait out the timeout as the cable would
        // (a zero timeout, "for ever", gives up at once rather than hang).
        if (timeoutMs_ != 0) WaitUntil(now + std::chrono::milliseconds(timeoutMs_));
        return 0;
    }
    Pending& next = pending_.front();
    if (timeoutMs_ != 0 && next.ready > now + std::chrono::milliseconds(timeoutMs_)) {
        WaitUntil(now + std::chrono::milliseconds(timeoutMs_));
        return 0;
    }
    WaitUntil(next.ready);
    const std::size_t n = std::min(next.bytes.size(), static_cast<std::size_t>(PIPELINK_READ_SIZE));
    if (n) std::memcpy(dst, next.bytes.data(), n);
    *count = static_cast<std::uint32_t>(n);
    pending_.pop_front();
    return 1;
}

int SimulatedLink::TimeOutSet(std::uint32_t ms) {
    timeoutMs_ = ms;
    return open_ ? 1 : 0;
}

}  // namespace vrm
