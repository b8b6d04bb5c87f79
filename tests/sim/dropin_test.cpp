// The drop-in libpipelink.so: the real port loads it with dlopen and talks
// to the simulated radio whose state lives in VRM650T_SIM_STATE.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/link/programming_port.h"
#include "pipelink/pipelink.h"
#include "sim/sim_state.h"

extern char** environ;

namespace vrm {
namespace {

namespace fs = std::filesystem;
const std::string kDropIn = std::string(VRM_SIM_DIR) + "/libpipelink.so";

struct DropIn : ::testing::Test {
    DropIn() {
        std::string t = (fs::temp_directory_path() / "vrm-dropin-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
        ::setenv("VRM650T_SIM_STATE", state.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        ::unsetenv("VRM650T_SIM_BAUD");
    }
    ~DropIn() override {
        port.SetOpen(false);
        ::unsetenv("VRM650T_SIM_STATE");
        ::unsetenv("VRM650T_SIM_FAULTS");
        ::unsetenv("VRM650T_SIM_BAUD");
        fs::remove_all(dir);
    }

    void Connect() {
        ASSERT_TRUE(port.SetOpen(true));
        ASSERT_EQ(port.EnterProgramMode(), 0);
        ModelIdentity id{};
        ASSERT_EQ(port.Identify(id), 0);
    }

    SimulatedRadio Saved() {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio;
    }

    fs::path dir;
    std::string state;
    ProgrammingPort port{std::make_unique<LibraryTransport>(kDropIn), SystemClock::Instance()};
};

TEST_F(DropIn, CreatesTheRadioAndKeepsWhatAWriteStoredForTheNextTransfer) {
    ASSERT_FALSE(fs::exists(state));
    Connect();
    EXPECT_TRUE(fs::exists(state));
    EXPECT_EQ(port.OpenError(), LinkError::kNone);
    std::array<std::uint8_t, 16> block;
    block.fill(0x5A);
    ASSERT_EQ(port.CommaCommand(1), 0);
    ASSERT_EQ(port.WriteBlock(0x100, 16, block.data()), 0);
    ASSERT_EQ(port.WriteBlock(0x060, 16, block.data()), 0);
    ASSERT_EQ(port.ExitProgramMode(), 0);
    ASSERT_TRUE(port.SetOpen(false));

    const SimulatedRadio saved = Saved();
    EXPECT_EQ(saved.Memory()[0x100], 0x5A);
    const std::vector<std::string> tail(saved.Log().end() - 4, saved.Log().end());
    EXPECT_EQ(tail, (std::vector<std::string>{"comma 01", "write 0x100 16", "write 0x060 16", "exit"}));

    Connect();
    std::array<std::uint8_t, 16> back{};
    ASSERT_EQ(port.ReadBlock(0x100, 16, back.data()), 0);
    EXPECT_EQ(back, block);
}

TEST_F(DropIn, TheLibraryIsUnloadedAtEveryClose) {
    Connect();
    ASSERT_TRUE(port.SetOpen(false));
    void* still = ::dlopen(kDropIn.c_str(), RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(still, nullptr) << "the drop-in stayed loaded after dlclose";
    if (still) ::dlclose(still);
}

TEST_F(DropIn, FaultsComeFromTheEnvironmentAtEachOpen) {
    ::setenv("VRM650T_SIM_FAULTS", "read-silent=2", 1);
    Connect();
    std::array<std::uint8_t, 16> b{};
    EXPECT_EQ(port.ReadBlock(0x010, 16, b.data()), 0);
    EXPECT_EQ(port.ReadBlock(0x020, 16, b.data()), 1);
    port.SetOpen(false);

    ::setenv("VRM650T_SIM_FAULTS", "program-nak", 1);
    ASSERT_TRUE(port.SetOpen(true));
    EXPECT_EQ(port.EnterProgramMode(), 1);
    port.SetOpen(false);

    ::setenv("VRM650T_SIM_FAULTS", "pull=4", 1);
    Connect();
    EXPECT_EQ(port.ReadBlock(0x010, 16, b.data()), 1);
    EXPECT_EQ(port.CurrentLinkError(), LinkError::kDisconnected);
}

TEST_F(DropIn, ABrokenStateFileIsReportedAndLeftAlone) {
    { std::ofstream(state) << "volume nine\n"; }
    ASSERT_TRUE(port.SetOpen(true));
    EXPECT_EQ(port.OpenError(), LinkError::kUsbError);
    EXPECT_EQ(port.EnterProgramMode(), 1);
    std::ifstream in(state);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "volume nine\n");
}

TEST_F(DropIn, AtARealRadiosPaceEachByteTakesItsTimeOnTheWire) {
    ::setenv("VRM650T_SIM_BAUD", "9600", 1);
    ASSERT_TRUE(port.SetOpen(true));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(port.EnterProgramMode(), 0);
    ModelIdentity id{};
    ASSERT_EQ(port.Identify(id), 0);
    const auto took = std::chrono::steady_clock::now() - start;
    // 7 + 1 + 1 + 48 + 2 + 1 bytes at 10 bits each, and Identify's 50 ms.
    const auto expected = std::chrono::microseconds(60 * 10'000'000 / 9600 + 50'000);
    EXPECT_GE(took, expected);
    EXPECT_LT(took, expected + std::chrono::milliseconds(250)) << "far slower than the wire";
}

// The program's own path: the port loads "libpipelink.so" by name and
// LD_LIBRARY_PATH puts the drop-in before the real library beside the test.
// The test runs itself again with that environment.
TEST(DropInByName, AWholeReadFindsTheDropInFirstOnTheLibraryPath) {
    if (!std::getenv("VRM_DROPIN_CHILD")) {
        std::string t = (fs::temp_directory_path() / "vrm-dropin-XXXXXX").string();
        const fs::path dir = ::mkdtemp(t.data());
        const std::string state = "VRM650T_SIM_STATE=" + (dir / "radio.state").string();
        const std::string libs = std::string("LD_LIBRARY_PATH=") + VRM_SIM_DIR;
        std::vector<std::string> env = {state, libs, "VRM_DROPIN_CHILD=1"};
        for (char** e = environ; *e; ++e) {
            const std::string s = *e;
            if (s.rfind("LD_LIBRARY_PATH=", 0) && s.rfind("VRM650T_SIM_", 0)) env.push_back(s);
        }
        std::vector<char*> envp;
        for (auto& s : env) envp.push_back(s.data());
        envp.push_back(nullptr);
        std::string self = fs::read_symlink("/proc/self/exe").string();
        std::string filter = "--gtest_filter=DropInByName.*";
        char* argv[] = {self.data(), filter.data(), nullptr};
        pid_t pid = 0;
        ASSERT_EQ(::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, envp.data()), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        fs::remove_all(dir);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child run failed";
        return;
    }
    ProgrammingPort port;  // exactly the program's port
    ASSERT_TRUE(port.SetOpen(true));
    ASSERT_EQ(port.EnterProgramMode(), 0);
    ModelIdentity id{};
    ASSERT_EQ(port.Identify(id), 0);
    EXPECT_NE(port.Key(), 0) << "scrambled unless told otherwise";
    ImageBuffer image{};
    for (std::uint16_t a = 0; a < kImageSize; a += 16) ASSERT_EQ(port.ReadBlock(a, 16, image.data() + a), 0);
    ASSERT_EQ(port.ExitProgramMode(), 0);
    ASSERT_TRUE(port.SetOpen(false));
    SimulatedRadio radio;
    std::string error;
    ASSERT_TRUE(LoadSimState(std::getenv("VRM650T_SIM_STATE"), radio, &error)) << error;
    EXPECT_EQ(image, radio.Memory());
}

TEST_F(DropIn, KeepsItsStateAtTheEndOfASessionAndAtEachWrittenBlockOnly) {
    Connect();
    std::array<std::uint8_t, 16> block{};
    ASSERT_EQ(port.ReadBlock(0x100, 16, block.data()), 0);
    EXPECT_EQ(Saved().Log().size(), 0u) << "a read does not rewrite the state file";
    block.fill(0x77);
    ASSERT_EQ(port.CommaCommand(1), 0);
    ASSERT_EQ(port.WriteBlock(0x100, 16, block.data()), 0);
    EXPECT_EQ(Saved().Memory()[0x100], 0x77) << "a written block is kept at once";
    ASSERT_EQ(port.ExitProgramMode(), 0);
    ASSERT_TRUE(port.SetOpen(false));
    EXPECT_EQ(Saved().Log().back(), "exit") << "the rest is kept at the end of the session";
}

TEST_F(DropIn, AStationOfRadiosOnePerCableEachWithItsOwnStateAndFaults) {
    const std::string b = (dir / "b.state").string(), c = (dir / "c.state").string();
    ::setenv("VRM650T_SIM_STATE", (state + ":" + b + ":" + c).c_str(), 1);
    ::setenv("VRM650T_SIM_FAULTS_2", "program-silent", 1);
    LibraryTransport lib(kDropIn);
    ASSERT_TRUE(lib.Load());
    std::array<PipelinkCable, 4> cables{};
    ASSERT_EQ(lib.ListCables(cables.data(), 4), 3);
    EXPECT_STREQ(cables[1].portPath, "sim-2");
    EXPECT_STREQ(cables[2].serial, "SIMCABLE03");

    auto on = [](const std::string& cable) {
        return std::make_unique<ProgrammingPort>(std::make_unique<LibraryTransport>(kDropIn, cable),
                                                 SystemClock::Instance());
    };
    auto first = on("sim-1"), second = on("sim-2"), third = on("SIMCABLE03");
    auto write = [](ProgrammingPort& p, std::uint8_t fill) {
        ModelIdentity id{};
        if (!p.SetOpen(true) || p.EnterProgramMode() != 0 || p.Identify(id) != 0) return false;
        std::array<std::uint8_t, 16> block{};
        block.fill(fill);
        const bool ok = p.CommaCommand(1) == 0 && p.WriteBlock(0x100, 16, block.data()) == 0;
        p.ExitProgramMode();
        p.SetOpen(false);
        return ok;
    };
    bool r1 = false, r2 = true, r3 = false;
    std::thread t1([&] { r1 = write(*first, 0x11); });
    std::thread t2([&] { r2 = write(*second, 0x22); });
    std::thread t3([&] { r3 = write(*third, 0x33); });
    t1.join();
    t2.join();
    t3.join();
    ::unsetenv("VRM650T_SIM_FAULTS_2");
    EXPECT_TRUE(r1);
    EXPECT_FALSE(r2) << "only the second radio was silent";
    EXPECT_TRUE(r3);
    SimulatedRadio radio;
    std::string error;
    ASSERT_TRUE(LoadSimState(state, radio, &error)) << error;
    EXPECT_EQ(radio.Memory()[0x100], 0x11);
    ASSERT_TRUE(LoadSimState(c, radio, &error)) << error;
    EXPECT_EQ(radio.Memory()[0x100], 0x33);
    ASSERT_TRUE(LoadSimState(b, radio, &error)) << error;
    EXPECT_NE(radio.Memory()[0x100], 0x22);

    // The same radio cannot be opened twice at once.
    ASSERT_TRUE(first->SetOpen(true));
    auto again = on("SIMCABLE01");
    ASSERT_TRUE(again->SetOpen(true));
    EXPECT_EQ(again->OpenError(), LinkError::kBusy);
}

TEST_F(DropIn, AnUnpluggedRadioAnswersNothingAndAnotherMayTakeItsPlace) {
    ASSERT_TRUE(SetSimRadioPlugged(state, false, nullptr));
    ASSERT_TRUE(port.SetOpen(true)) << "the cable stays";
    EXPECT_NE(port.EnterProgramMode(), 0);
    ASSERT_TRUE(port.SetOpen(false));
    EXPECT_FALSE(fs::exists(state)) << "no radio is made while none is plugged in";
    SimulatedRadio other;
    other.SetSerialNumber("00000042");
    ASSERT_TRUE(SaveSimState(state, other, nullptr));
    ASSERT_TRUE(SetSimRadioPlugged(state, true, nullptr));
    Connect();
    ASSERT_EQ(port.ExitProgramMode(), 0);
    ASSERT_TRUE(port.SetOpen(false));
    EXPECT_EQ(Saved().Information(), other.Information()) << "the radio now plugged in";
    EXPECT_EQ(Saved().Log().front(), "session");
}

}  // namespace
}  // namespace vrm
