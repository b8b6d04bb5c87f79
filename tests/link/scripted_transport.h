// A transport whose USB reads are scripted by the test, and which records
// what the port asked of it.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "core/link/transport.h"

namespace vrm::test {

class ScriptedTransport final : public Transport {
public:
    struct Read {
        std::vector<std::uint8_t> bytes;
        int result = 1;
    };

    bool Load() override {
        ++loads;
        if (!loadable) return false;
        loaded = true;
        return true;
    }
    void Unload() override {
        if (loaded) ++unloads;
        loaded = false;
    }
    bool IsLoaded() const override { return loaded; }

    std::optional<int> Init() override {
        if (!Has("WinUSB_init")) return std::nullopt;
        ++inits;
        return initResult;
    }
    std::optional<int> Delete() override {
        if (!Has("WinUSB_Delete")) return std::nullopt;
        ++deletes;
        return 1;
    }
    std::optional<int> Send(const std::uint8_t* data, std::uint32_t length) override {
        if (!Has("WinUSB_Send")) return std::nullopt;
        sent.emplace_back(data, data + length);
        return sendResult;
    }
    std::optional<int> Recv(std::uint8_t* dst, std::uint32_t* count) override {
        if (!Has("WinUSB_Recv")) return std::nullopt;
        *count = 0;
        // Like the real library, fill a whole USB read's worth of the
        // destination, whatever the reply's length.
        std::memset(dst, 0xEE, kUsbReadSize);
        if (reads.empty()) return 0;
        Read r = reads.front();
        reads.pop_front();
        std::copy_n(r.bytes.begin(), std::min(r.bytes.size(), kUsbReadSize), dst);
        *count = claimCount ? claimCount : static_cast<std::uint32_t>(r.bytes.size());
        return r.result;
    }
    std::optional<int> TimeOutSet(std::uint32_t ms) override {
        if (!Has("WinUSB_TimeOutSet")) return std::nullopt;
        timeouts.push_back(ms);
        return 1;
    }
    std::optional<int> LastError() override {
        if (!Has("PipelinkLastError")) return std::nullopt;
        return lastError;
    }

    void Queue(std::vector<std::uint8_t> bytes, int result = 1) { reads.push_back({std::move(bytes), result}); }
    std::vector<std::uint8_t> AllSent() const {
        std::vector<std::uint8_t> all;
        for (const auto& s : sent) all.insert(all.end(), s.begin(), s.end());
        return all;
    }

    bool Has(const char* name) const { return loaded && !missing.count(name); }

    bool loadable = true;
    bool loaded = false;
    int loads = 0, unloads = 0, inits = 0, deletes = 0;
    int initResult = 1;
    int sendResult = 1;
    int lastError = 0;
    std::uint32_t claimCount = 0;  // a count to report instead of the true one
    std::set<std::string> missing;
    std::deque<Read> reads;
    std::vector<std::vector<std::uint8_t>> sent;
    std::vector<std::uint32_t> timeouts;
};

}  // namespace vrm::test
