#include "sim/simulated_transport.h"

namespace vrm {

bool SimulatedTransport::Load() {
    if (!loadable_) return false;
    loaded_ = true;
    ++loads_;
    return true;
}

std::optional<int> SimulatedTransport::Init() {
    if (!Has("WinUSB_init")) return std::nullopt;
    const int r = link_.Init();
    Record({Call::Kind::kInit, {}, 0, r});
    return r;
}

std::optional<int> SimulatedTransport::Delete() {
    if (!Has("WinUSB_Delete")) return std::nullopt;
    const int r = link_.Delete();
    Record({Call::Kind::kDelete, {}, 0, r});
    return r;
}

std::optional<int> SimulatedTransport::Send(const std::uint8_t* data, std::uint32_t length) {
    if (!Has("WinUSB_Send")) return std::nullopt;
    const int r = link_.Send(data, length);
    if (recording_) Record({Call::Kind::kSend, std::vector<std::uint8_t>(data, data + length), length, r});
    return r;
}

std::optional<int> SimulatedTransport::Recv(std::uint8_t* dst, std::uint32_t* count) {
    if (!Has("WinUSB_Recv")) return std::nullopt;
    const int r = link_.Recv(dst, count);
    if (recording_) Record({Call::Kind::kRecv, std::vector<std::uint8_t>(dst, dst + *count), *count, r});
    return r;
}

std::optional<int> SimulatedTransport::TimeOutSet(std::uint32_t ms) {
    if (!Has("WinUSB_TimeOutSet")) return std::nullopt;
    const int r = link_.TimeOutSet(ms);
    Record({Call::Kind::kTimeOutSet, {}, ms, r});
    return r;
}

std::optional<int> SimulatedTransport::LastError() {
    if (!Has("PipelinkLastError")) return std::nullopt;
    return link_.LastError();
}

std::vector<std::uint8_t> SimulatedTransport::SentBytes() const {
    std::vector<std::uint8_t> out;
    for (const Call& c : calls_)
        if (c.kind == Call::Kind::kSend) out.insert(out.end(), c.bytes.begin(), c.bytes.end());
    return out;
}

std::vector<std::uint32_t> SimulatedTransport::Timeouts() const {
    std::vector<std::uint32_t> out;
    for (const Call& c : calls_)
        if (c.kind == Call::Kind::kTimeOutSet) out.push_back(c.value);
    return out;
}

}  // namespace vrm
