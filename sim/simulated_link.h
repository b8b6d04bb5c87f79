// The cable between the program and a SimulatedRadio, with time: what the
// program sends reaches the radio after its wire time, the radio's answers
// come back as one USB read each after their processing and wire time, and a
// receive waits for the next answer up to the receive timeout. A late answer
// is not lost: it is there for a later receive, as on a real link.
//
// It offers the calls of the transport library (Init, Delete, Send, Recv,
// TimeOutSet, LastError) with their results, on any Clock: the drop-in
// libpipelink.so runs it on the system clock, in-process tests on a virtual
// clock.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "core/base/clock.h"
#include "sim/simulated_radio.h"

namespace vrm {

class SimulatedLink {
public:
    SimulatedLink(SimulatedRadio& radio, Clock& clock) : radio_(radio), clock_(clock) {}

    // Bits per second on the radio's serial side (10 bits a byte); 0 gives
    // the bytes no wire time.
    void SetBaud(std::uint32_t baud) { baud_ = baud; }
    std::uint32_t Baud() const { return baud_; }
    // Faults for the sessions that Init starts.
    void SetFaults(const SimFaults& faults) { faults_ = faults; }
    const SimFaults& Faults() const { return faults_; }
    // The number the next Init gives its session (counted from 1; the
    // drop-in, which is loaded afresh for each session, counts them in the
    // radio's log). The fault signal=NAME@S:N is raised in session S.
    void SetNextSession(std::uint32_t number) { nextSession_ = number; }
    std::uint32_t Session() const { return session_; }
    // Called when what the radio keeps must reach its state file: after a
    // send that wrote a block of its memory or tuning, after every send in
    // test (tuning) mode, before a fault signal,
    // and at Delete when anything else changed in the session (the drop-in
    // saves its state file there).
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    // As the transport library's exports.
    int Init();
    int Delete();
    int Send(const std::uint8_t* data, std::uint32_t length);
    int Recv(std::uint8_t* dst, std::uint32_t* count);
    int TimeOutSet(std::uint32_t ms);
    int LastError() const { return lastError_; }
    // Hands pending changes to the change callback now.
    void Flush();

    bool IsOpen() const { return open_; }
    std::uint32_t Timeout() const { return timeoutMs_; }
    std::uint32_t SendCount() const { return sends_; }
    // Bytes that crossed the wire each way in this session.
    std::uint64_t BytesOut() const { return bytesOut_; }
    std::uint64_t BytesIn() const { return bytesIn_; }
    // The time one byte takes on the wire at the current baud rate.
    std::chrono::nanoseconds ByteTime() const;

private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        Clock::TimePoint ready;
    };
    std::chrono::nanoseconds WireTime(std::size_t bytes) const;
    void WaitUntil(Clock::TimePoint t);

    SimulatedRadio& radio_;
    Clock& clock_;
    std::uint32_t baud_ = 0;
    SimFaults faults_;
    std::function<void()> onChange_;
    bool unsaved_ = false;

    bool open_ = false;
    bool pulled_ = false;
    int lastError_ = 0;
    std::uint32_t timeoutMs_ = 500;
    std::uint32_t sends_ = 0;
    std::uint32_t session_ = 0;
    std::uint32_t nextSession_ = 1;
    std::uint64_t bytesOut_ = 0;
    std::uint64_t bytesIn_ = 0;
    Clock::TimePoint outFree_{};  // when the program-to-radio wire is free
    Clock::TimePoint inFree_{};   // when the radio-to-program wire is free
    std::deque<Pending> pending_;
};

}  // namespace vrm
