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

#include "text/scripted_prompter.h"
#include "core/link/read_transfer.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"

namespace vrm::test {

// Records the progress and window texts a transfer reports, in order.
struct RecordingObserver final : TransferObserver {
    std::vector<int> progress;
    std::vector<std::string> captions;
    std::vector<std::string> texts;
    std::string lastEvent;  // "progress" or "text"

    void OnProgress(int done, int total, const std::string& caption) override {
        EXPECT_EQ(total, 64);
        progress.push_back(done);
        captions.push_back(caption);
        lastEvent = "progress";
    }
    void OnWindowText(const std::string& text) override {
        texts.push_back(text);
        lastEvent = "text";
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
        ::unsetenv("VRM650T_SIM_STATE");
        ::unsetenv("VRM650T_SIM_FAULTS");
        std::filesystem::remove_all(dir);
    }

    // `radio` is the simulated radio the next transfer finds, with `faults`.
    void Install(const SimulatedRadio& radio, const std::string& faults = "") {
        std::string error;
        ASSERT_TRUE(SaveSimState(state, radio, &error)) << error;
        ::setenv("VRM650T_SIM_FAULTS", faults.c_str(), 1);
        prompter.asked.clear();
    }
    SimulatedRadio Radio() const {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio;
    }
    // What the radio was asked in the last transfer, and how often `prefix`.
    std::vector<std::string> Session() const {
        const std::vector<std::string> log = Radio().Log();
        const auto start = std::find(log.rbegin(), log.rend(), "session");
        return {start == log.rend() ? log.begin() : start.base(), log.end()};
    }
    int Count(const std::string& prefix) const {
        const auto s = Session();
        return static_cast<int>(
            std::count_if(s.begin(), s.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
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

// A radio with a pattern in every byte of its memory (its identity on top).
inline SimulatedRadio PatternRadio(const ModelIdentity& identity) {
    SimulatedRadio radio;
    radio.SetIdentity(identity);
    for (std::size_t i = 16; i < kImageSize; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(0x11 + i * 7);
    return radio;
}

inline ModelIdentity WithBytes(ModelIdentity id, std::initializer_list<std::pair<int, int>> bytes) {
    for (auto [at, v] : bytes) id[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(v);
    return id;
}

inline std::string Hex(const ModelIdentity& id) { return HexBytes(id.data(), id.size()); }

}  // namespace vrm::test
