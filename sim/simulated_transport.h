// The transport interface over a SimulatedLink, in process: the port runs the
// real protocol code against a SimulatedRadio without loading a library, on
// whatever clock the link uses. It records every call so that tests can check
// what went over the wire.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/link/transport.h"
#include "sim/simulated_link.h"

namespace vrm {

class SimulatedTransport final : public Transport {
public:
    struct Call {
        enum class Kind { kInit, kDelete, kSend, kRecv, kTimeOutSet, kLastError };
        Kind kind;
        std::vector<std::uint8_t> bytes;  // sent, or received
        std::uint32_t value = 0;          // the timeout of kTimeOutSet
        int result = 0;
    };

    explicit SimulatedTransport(SimulatedLink& link) : link_(link) {}

    bool Load() override;
    void Unload() override { loaded_ = false; }
    bool IsLoaded() const override { return loaded_; }
    std::optional<int> Init() override;
    std::optional<int> Delete() override;
    std::optional<int> Send(const std::uint8_t* data, std::uint32_t length) override;
    std::optional<int> Recv(std::uint8_t* dst, std::uint32_t* count) override;
    std::optional<int> TimeOutSet(std::uint32_t ms) override;
    std::optional<int> LastError() override;

    // As if the library could not be loaded, or lacked an export (by its
    // name, e.g. "WinUSB_Send").
    void SetLoadable(bool loadable) { loadable_ = loadable; }
    void HideExport(const std::string& name) { hidden_.insert(name); }

    int Loads() const { return loads_; }
    const std::vector<Call>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // Recording costs time; benchmarks switch it off.
    void SetRecording(bool on) { recording_ = on; }
    // Every byte sent, in order, as it went on the wire.
    std::vector<std::uint8_t> SentBytes() const;
    // The timeouts handed to the library, in order.
    std::vector<std::uint32_t> Timeouts() const;

private:
    bool Has(const char* name) const { return loaded_ && !hidden_.count(name); }
    void Record(Call call) {
        if (recording_) calls_.push_back(std::move(call));
    }

    SimulatedLink& link_;
    bool loaded_ = false;
    bool loadable_ = true;
    bool recording_ = true;
    int loads_ = 0;
    std::set<std::string> hidden_;
    std::vector<Call> calls_;
};

}  // namespace vrm
