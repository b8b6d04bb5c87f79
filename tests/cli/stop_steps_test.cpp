// `vrm650t-cli radio write` (backup, write, verify, log) sent SIGTERM at
// every kind of step of each of its three sessions by the simulated radio, as a user
// or the session manager would: the radio is never left in program mode, the
// command says it was stopped and names no cable fault, exits 128 + 15, and
// the programming log says "stopped (signal TERM)". `radio read`, `radio info`
// and `radio diff` likewise at each kind of step of their session. A SIGKILL
// in the middle of the write leaves the "started" row that the next write
// reports.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cli_process.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/link/programming_log.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/radio_log_check.h"
#include "sim/sim_state.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct StopSteps : ::testing::Test {
    StopSteps() {
        std::string t = (fs::temp_directory_path() / "vrm-stopsteps-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        RadioImage image;
        ModelCatalogue catalogue(image);
        for (std::size_t i = 16; i < kImageSize; ++i) image.Live()[i] = static_cast<std::uint8_t>(i * 5);
        image.SetIdentity(SimulatedRadio().Identity());
        data = (dir / "fleet.dat").string();
        EXPECT_TRUE(DataFile(image, catalogue).Write(data, {}, SystemClock::Instance()).Ok());
    }
    ~StopSteps() override { fs::remove_all(dir); }

    // The safe write of fleet.dat with its backups and log in `run`.
    std::vector<std::string> Write(const fs::path& run) const {
        return {"radio", "write", "--backup-dir", (run / "backups").string(), "--log", (run / "log.csv").string(), data};
    }
    // Starts `command` (the safe write when empty) on a fresh radio of its
    // own in `run`, with the fault `faults`.
    pid_t Start(const fs::path& run, const std::string& faults, std::vector<std::string> command = {}) const {
        fs::create_directories(run / "backups");
        std::string error;
        EXPECT_TRUE(SaveSimState((run / "radio.state").string(), SimulatedRadio(), &error)) << error;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("VRM650T_SIM_STATE", (run / "radio.state").c_str(), 1);
            ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
            ::setenv("VRM650T_SIM_FAULTS", faults.c_str(), 1);
            ::setenv("HOME", run.c_str(), 1);
            ::unsetenv("VRM650T_SIM_BAUD");
            const int null = ::open("/dev/null", O_RDWR);
            const int err = ::open((run / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(err, 2);
            std::vector<std::string> args = command.empty() ? Write(run) : command;
            args.insert(args.begin(), {"--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"});
            auto argv = test::Argv(args);
            ::execv(test::kCli.c_str(), argv.data());
            ::_exit(127);
        }
        return pid;
    }
    static int Wait(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    // Starts `count` runs, 12 at a time (they mostly wait on the protocol's
    // delays), and hands each one's index and exit status to `check`.
    static void InBatches(std::size_t count, const std::function<pid_t(std::size_t)>& start,
                          const std::function<void(std::size_t, int)>& check) {
        constexpr std::size_t kParallel = 12;
        for (std::size_t first = 0; first < count; first += kParallel) {
            std::map<std::size_t, pid_t> batch;
            for (std::size_t k = first; k < std::min(first + kParallel, count); ++k) batch[k] = start(k);
            for (const auto& [k, pid] : batch) check(k, Wait(pid));
        }
    }
    static std::vector<std::string> RadioLog(const fs::path& run) {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState((run / "radio.state").string(), radio, &error)) << error;
        return radio.Log();
    }
    static std::string Text(const fs::path& file) {
        std::ifstream in(file);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir;
    std::string data;
};

// Every kind of step of a safe write's three sessions, at the first send of
// its exchange: "PROGRAM", the identification, the key exchange, the backup
// read's information block and version, blocks at the edges of each loop
// (the first two, one in the middle, the last; in the write the blocks around
// the settings block 0x060, which goes last), the ','-command, each exit.
// Every single send, a block's handshake and data included, is tried in
// process by test_link; each run here is a whole process, and 200 of them
// take minutes under the sanitizers.
std::vector<std::pair<std::uint32_t, std::uint32_t>> EveryStep() {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> steps;
    for (std::uint32_t session = 1; session <= 3; ++session)
        for (std::uint32_t n = 1; n <= 3; ++n) steps.push_back({session, n});
    for (std::uint32_t n : {4u, 6u}) steps.push_back({1, n});                     // information, version
    for (std::uint32_t i : {0u, 1u, 31u, 62u, 63u}) steps.push_back({1, 8 + 2 * i});  // block reads
    steps.push_back({1, 136});                                                    // exit
    steps.push_back({2, 4});                                                      // the ','-command
    for (std::uint32_t j : {0u, 1u, 5u, 6u, 30u, 61u, 62u}) steps.push_back({2, 5 + 2 * j});  // 0x000 ... 0x3E0, 0x060
    steps.push_back({2, 131});
    for (std::uint32_t i : {0u, 1u, 31u, 61u, 62u}) steps.push_back({3, 4 + 2 * i});
    steps.push_back({3, 130});
    return steps;
}

TEST_F(StopSteps, ASignalAtEveryStepOfEverySessionEndsTheWriteCleanly) {
    const std::string cable = test::EnglishTexts().TextString(tid::kMsgCommunicationError);
    const auto steps = EveryStep();
    const auto where = [&](std::size_t k) {
        return "session " + std::to_string(steps[k].first) + ", send " + std::to_string(steps[k].second);
    };
    InBatches(
        steps.size(),
        [&](std::size_t k) {
            return Start(dir / std::to_string(k), "signal=TERM@" + std::to_string(steps[k].first) + ":" +
                                                      std::to_string(steps[k].second));
        },
        [&](std::size_t k, int status) {
            const fs::path run = dir / std::to_string(k);
            const std::string err = Text(run / "err.txt");
            EXPECT_EQ(status, 128 + SIGTERM) << where(k) << "\n" << err;
            EXPECT_EQ(test::ProgramModeProblem(RadioLog(run)), "") << where(k);
            EXPECT_EQ(err.find(cable), std::string::npos) << where(k) << "\n" << err;
            EXPECT_NE(err.find("Stopped by the signal TERM."), std::string::npos) << where(k) << "\n" << err;
            const std::vector<LogFields> rows = ReadLog((run / "log.csv").string());
            const std::string result = rows.empty() ? "" : rows.back().result;
            EXPECT_TRUE(result.find("stopped (signal TERM)") != std::string::npos || result == "written and verified")
                << where(k) << ": " << result;
            fs::remove_all(run);
        });
    // Each session ends with its exit: the send after it, and a fourth
    // session, never come.
    for (const char* beyond : {"signal=TERM@1:137", "signal=TERM@2:132", "signal=TERM@3:131", "signal=TERM@4:1"})
        EXPECT_EQ(Wait(Start(dir / "beyond", beyond)), 0) << beyond;
}

TEST_F(StopSteps, CtrlCIsLoggedAsTheUsersStopAndHangUpByItsName) {
    const std::pair<int, std::string> cases[] = {{SIGINT, "stopped by the user"}, {SIGHUP, "stopped (signal HUP)"}};
    InBatches(
        std::size(cases),
        [&](std::size_t k) {
            return Start(dir / std::to_string(k), "signal=" + std::to_string(cases[k].first) + "@2:40");
        },
        [&](std::size_t k, int status) {
            EXPECT_EQ(status, 128 + cases[k].first);
            const std::vector<LogFields> rows = ReadLog((dir / std::to_string(k) / "log.csv").string());
            ASSERT_FALSE(rows.empty());
            EXPECT_EQ(rows.back().result,
                      cases[k].second + " at block 19 (0x130): 18 of 63 blocks written; radio partly written");
        });
}

// radio read and radio diff (one read session: "PROGRAM", identification,
// key exchange, block i's command 4 + 2i and handshake 5 + 2i, the exit 132)
// and radio info (four reads, the exit 12), stopped at the first send of
// each kind of step and at the last two. A stop that lands after the last
// block lets the exit end the session: what was read is saved or shown, and
// the status still says that the command was signalled.
TEST_F(StopSteps, EveryRadioCommandLeavesProgramModeWhereverTheStopLands) {
    const std::string cable = test::EnglishTexts().TextString(tid::kMsgCommunicationError);
    struct Run {
        std::string command;
        std::uint32_t step;
        std::uint32_t complete;  // from this send on, the transfer finishes
    };
    std::vector<Run> runs;
    for (std::uint32_t step : {1u, 2u, 3u, 4u, 5u, 70u, 131u, 132u}) {
        runs.push_back({"read", step, 131});
        runs.push_back({"diff", step, 131});
    }
    for (std::uint32_t step : {1u, 2u, 3u, 4u, 5u, 11u, 12u}) runs.push_back({"info", step, 11});
    const auto out = [&](std::size_t k) { return (dir / std::to_string(k) / "read.dat").string(); };
    InBatches(
        runs.size(),
        [&](std::size_t k) {
            std::vector<std::string> command = {"radio", runs[k].command};
            if (runs[k].command == "read") command.insert(command.end(), {"-o", out(k)});
            if (runs[k].command == "diff") command.push_back(data);
            return Start(dir / std::to_string(k), "signal=TERM@" + std::to_string(runs[k].step), command);
        },
        [&](std::size_t k, int status) {
            const fs::path run = dir / std::to_string(k);
            const std::string where = runs[k].command + ", send " + std::to_string(runs[k].step);
            const std::string err = Text(run / "err.txt");
            EXPECT_EQ(status, 128 + SIGTERM) << where << "\n" << err;
            EXPECT_EQ(test::ProgramModeProblem(RadioLog(run)), "") << where;
            EXPECT_EQ(err.find(cable), std::string::npos) << where << "\n" << err;
            EXPECT_NE(err.find("Stopped by the signal TERM."), std::string::npos) << where << "\n" << err;
            const bool complete = runs[k].step >= runs[k].complete;
            EXPECT_EQ(err.find(test::EnglishTexts().TextString(tid::kLinkInterrupted)) == std::string::npos, complete)
                << where << "\n" << err;
            if (runs[k].command == "read") {
                EXPECT_EQ(fs::exists(out(k)), complete) << where;
            }
            fs::remove_all(run);
        });
}

TEST_F(StopSteps, AWriteKilledOutrightLeavesItsStartedRow) {
    const fs::path run = dir / "killed";
    const int status = Wait(Start(run, "signal=KILL@2:40"));
    EXPECT_EQ(status, 128 + SIGKILL);
    const std::vector<LogFields> rows = ReadLog((run / "log.csv").string());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].result, "started");
    EXPECT_EQ(rows[0].serial, "00000001");
    EXPECT_EQ(rows[0].dataFile, data);
    EXPECT_EQ(rows[0].backupFile.rfind((run / "backups").string(), 0), 0u);

    // The next write with this log says so before it starts, once.
    EXPECT_EQ(Wait(Start(run, "")), 0);
    const std::string told = "The write of " + data + " to radio 00000001 at ";
    const std::string partly = " did not finish; the radio may hold a partly written configuration. Its backup is " +
                               rows[0].backupFile + ".";
    const std::string err = Text(run / "err.txt");
    EXPECT_NE(err.find(told), std::string::npos) << err;
    EXPECT_NE(err.find(partly), std::string::npos) << err;
    EXPECT_EQ(ReadLog((run / "log.csv").string())[1].result, kLogUnfinished);
    EXPECT_EQ(Wait(Start(run, "")), 0);
    EXPECT_EQ(Text(run / "err.txt").find(told), std::string::npos);
}

}  // namespace
}  // namespace vrm
