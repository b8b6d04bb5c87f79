// Transfers against the simulated radio through the real dlopen path: the
// port loads the drop-in libpipelink.so by path, and the radio lives in a
// state file of the test's own (VRM650T_SIM_STATE), set up before and read
// back after each transfer.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/language_table.h"
#include "app/scripted_prompter.h"
#include "link/programming_port.h"
#include "link/read_transfer.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"

namespace vrm::test {

// Records what a transfer told its front end, in order.
class RecordingObserver final : public TransferObserver {
public:
    struct Event {
        enum class Kind { kProgress, kWindowText, kPump } kind;
        int done = 0;
        std::string text;
    };
    std::vector<Event> events;

    void OnProgress(int done, int total, const std::string& caption) override {
        EXPECT_EQ(total, 64);
        events.push_back({Event::Kind::kProgress, done, caption});
    }
    void OnWindowText(const std::string& text) override { events.push_back({Event::Kind::kWindowText, 0, text}); }
    void PumpOneMessage() override { events.push_back({Event::Kind::kPump, 0, {}}); }

    std::vector<int> Progress() const {
        std::vector<int> p;
        for (const Event& e : events)
            if (e.kind == Event::Kind::kProgress) p.push_back(e.done);
        return p;
    }
    std::vector<std::string> WindowTexts() const {
        std::vector<std::string> t;
        for (const Event& e : events)
            if (e.kind == Event::Kind::kWindowText) t.push_back(e.text);
        return t;
    }
    int Pumps() const {
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [](const Event& e) { return e.kind == Event::Kind::kPump; }));
    }
};

struct DropInTransfer : ::testing::Test {
    DropInTransfer() {
        std::string t = (std::filesystem::temp_directory_path() / "vrm-transfer-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
        ::setenv("VRM650T_SIM_STATE", state.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        ::unsetenv("VRM650T_SIM_BAUD");
    }
    ~DropInTransfer() override {
        port.SetOpen(false);
        ::unsetenv("VRM650T_SIM_STATE");
        ::unsetenv("VRM650T_SIM_FAULTS");
        std::filesystem::remove_all(dir);
    }

    // Stores `radio` as the simulated radio the next transfer finds.
    void Install(const SimulatedRadio& radio) {
        std::string error;
        ASSERT_TRUE(SaveSimState(state, radio, &error)) << error;
    }
    void Faults(const std::string& faults) { ::setenv("VRM650T_SIM_FAULTS", faults.c_str(), 1); }

    // The radio as the last transfer left it.
    SimulatedRadio Radio() const {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio;
    }
    // The radio's log of the last transfer (from its last "session" on).
    std::vector<std::string> Session() const {
        const std::vector<std::string> log = Radio().Log();
        auto start = std::find(log.rbegin(), log.rend(), "session");
        return {start == log.rend() ? log.begin() : start.base(), log.end()};
    }
    int Count(const std::string& line) const {
        const auto s = Session();
        return static_cast<int>(std::count(s.begin(), s.end(), line));
    }
    bool Has(const std::string& prefix) const {
        const auto s = Session();
        return std::any_of(s.begin(), s.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
    }

    TransferContext Context() { return {port, prompter, EnglishTexts(), observer}; }
    static std::string T(std::uint32_t id) { return EnglishTexts().TextString(id); }

    std::filesystem::path dir;
    std::string state;
    ProgrammingPort port{std::make_unique<LibraryTransport>(std::string(VRM_SIM_DIR) + "/libpipelink.so"),
                         SystemClock::Instance()};
    ScriptedPrompter prompter;
    RecordingObserver observer;
};

// A radio whose memory holds a pattern in every byte (the identity on top).
inline SimulatedRadio PatternRadio(const ModelIdentity& identity, std::uint8_t seed = 0x11) {
    SimulatedRadio radio;
    radio.SetIdentity(identity);
    for (std::size_t i = 16; i < kImageSize; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(seed + i * 7);
    return radio;
}

}  // namespace vrm::test
