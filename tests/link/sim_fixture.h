// The protocol in process: a ProgrammingPort on a virtual clock talking to a
// SimulatedRadio through a SimulatedTransport, so that mandated delays and
// timeouts cost no real time.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/link/programming_port.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"
#include "sim/simulated_transport.h"

namespace vrm::test {

struct SimFixture : ::testing::Test {
    explicit SimFixture(bool scrambling = true) : link(radio, clock) {
        auto t = std::make_unique<SimulatedTransport>(link);
        transport = t.get();
        port = std::make_unique<ProgrammingPort>(std::move(t), clock, scrambling);
        clock.SetLocalTime({17, 42});
    }

    // Opens the port and enters program mode with the key agreed.
    void Connect(bool tuning = false) {
        ASSERT_TRUE(port->SetOpen(true));
        ASSERT_EQ(tuning ? port->EnterTuningMode() : port->EnterProgramMode(), 0);
        ModelIdentity id{};
        ASSERT_EQ(port->Identify(id), 0);
    }

    std::chrono::milliseconds Elapsed(Clock::TimePoint since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(clock.Now() - since);
    }

    bool Logged(const std::string& line) const {
        const auto& log = radio.Log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }

    // The bytes of the last send, unscrambled with the port's key.
    std::vector<std::uint8_t> LastSentPlain() const {
        for (auto it = transport->Calls().rbegin(); it != transport->Calls().rend(); ++it) {
            if (it->kind != SimulatedTransport::Call::Kind::kSend) continue;
            std::vector<std::uint8_t> b = it->bytes;
            for (auto& x : b) x = static_cast<std::uint8_t>(x ^ port->Key());
            return b;
        }
        return {};
    }

    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link;
    SimulatedTransport* transport = nullptr;
    std::unique_ptr<ProgrammingPort> port;
};

}  // namespace vrm::test
