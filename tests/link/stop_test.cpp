// A stop (SIGTERM) landing on every step of every session of a safe write,
// of a read and of the radio information, in process on virtual time: the
// simulated radio raises the signal once a chosen send has reached it, and
// its log shows that every program mode entered was left with the closing
// step the protocol expects there (abort during a write, exit otherwise),
// that no closing byte was taken for something else, and that the messages
// and the programming log name the stop, not the radio or the cable.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/link/radio_info.h"
#include "core/link/safe_write.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/simulated_link.h"
#include "sim/radio_log_check.h"
#include "sim/simulated_transport.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

StopFlag g_stop;
extern "C" void OnStop(int signal) { g_stop.Set(signal); }

// One radio, cable and port for one run, with SIGTERM handed to the port's
// stop flag.
struct Bench {
    explicit Bench(std::uint32_t session, std::uint32_t step) : link(radio, clock) {
        radio.SetIdentity(ModelCatalogue::DefaultIdentity());
        SimFaults faults;
        faults.signal = SIGTERM;
        faults.signalSession = session;
        faults.signalStep = step;
        link.SetFaults(faults);
        port = std::make_unique<ProgrammingPort>(std::make_unique<SimulatedTransport>(link), clock);
        port->SetStopFlag(&g_stop);
        g_stop.Clear();
    }
    TransferContext Context() { return {*port, prompter, test::EnglishTexts(), observer}; }

    void ExpectProgramModeLeft(const std::string& where) const {
        EXPECT_EQ(test::ProgramModeProblem(radio.Log()), "") << where;
        EXPECT_EQ(radio.CurrentMode(), SimulatedRadio::Mode::kNormal) << where;
    }
    std::string Messages() const {
        std::string all;
        for (const Message& m : prompter.asked) all += m.text + "\n";
        return all;
    }

    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link;
    std::unique_ptr<ProgrammingPort> port;
    test::ScriptedPrompter prompter;
    NullTransferObserver observer;
};

struct StopAtEveryStep : ::testing::Test {
    StopAtEveryStep() {
        struct sigaction action {};
        action.sa_handler = OnStop;
        sigemptyset(&action.sa_mask);
        sigaction(SIGTERM, &action, &previous);
        std::string t = (std::filesystem::temp_directory_path() / "vrm-stop-XXXXXX").string();
        dir = ::mkdtemp(t.data());
    }
    ~StopAtEveryStep() override {
        sigaction(SIGTERM, &previous, nullptr);
        std::filesystem::remove_all(dir);
    }

    // Runs `transfer` with the stop at each send of each session in turn,
    // until a run ends without the signal; `check` judges each stopped run.
    // The number of runs.
    int EverySend(const std::function<void(Bench&)>& transfer,
                  const std::function<void(Bench&, std::uint32_t session, std::uint32_t step)>& check) {
        int runs = 0;
        for (std::uint32_t session = 1;; ++session) {
            std::uint32_t step = 1;
            for (;; ++step) {
                Bench bench(session, step);
                transfer(bench);
                if (g_stop.Value() == 0) break;  // the session has no such send
                ++runs;
                const std::string where = "session " + std::to_string(session) + ", send " + std::to_string(step);
                bench.ExpectProgramModeLeft(where);
                EXPECT_EQ(bench.Messages().find(test::EnglishTexts().TextString(tid::kMsgCommunicationError)),
                          std::string::npos)
                    << where << ": a stop is no cable fault\n"
                    << bench.Messages();
                check(bench, session, step);
            }
            if (step == 1) break;  // no such session
        }
        return runs;
    }

    std::filesystem::path dir;
    struct sigaction previous {};
};

int Count(const std::vector<std::string>& log, const std::string& prefix) {
    int n = 0;
    for (const std::string& l : log) n += l.rfind(prefix, 0) == 0;
    return n;
}

TEST_F(StopAtEveryStep, ASafeWriteLeavesTheRadioCleanlyAndTheLogAndMessagesNameTheStop) {
    ImageBuffer data{};
    for (std::size_t i = 16; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0x5A ^ (i * 11));
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    std::copy(id.begin(), id.end(), data.begin());
    SafeWriteOptions options;
    options.dataFile = "/data/fleet.dat";
    int run = 0;
    SafeWriteResult r;
    const int runs = EverySend(
        [&](Bench& b) {
            ++run;
            options.logPath = (dir / ("log-" + std::to_string(run) + ".csv")).string();
            options.backupFolder = (dir / ("backups-" + std::to_string(run))).string();
            r = SafeWriteToRadio(b.Context(), data, false, options);
        },
        [&](Bench& b, std::uint32_t session, std::uint32_t step) {
            const std::string where = "session " + std::to_string(session) + ", send " + std::to_string(step);
            const std::vector<LogFields> rows = ReadLog(options.logPath);
            ASSERT_FALSE(rows.empty()) << where;
            const std::string& result = rows.back().result;
            // The write's own session: abandoned with the abort once blocks
            // were being sent and not all of them were; left with exit else.
            const auto& log = b.radio.Log();
            const int writes = Count(log, "write ");
            const bool abandoned = Count(log, "comma") == 1 && writes < 63;
            EXPECT_EQ(Count(log, "abort"), abandoned ? 1 : 0) << where;
            // A row says "started" exactly when the write's session began.
            EXPECT_EQ(rows.front().result == "started", session >= 2) << where;
            if (r.Ok()) {
                // The stop came after the verify's last block: nothing was left to stop.
                EXPECT_EQ(session, 3u) << where;
                EXPECT_EQ(result, "written and verified");
                return;
            }
            EXPECT_EQ(r.stopSignal, SIGTERM) << where;
            EXPECT_EQ(result.find("no answer"), std::string::npos) << where << ": " << result;
            if (session == 1) {
                EXPECT_EQ(result, "stopped (signal TERM) before writing; nothing written") << where;
                EXPECT_EQ(writes, 0) << where;
            }
            if (session == 3) {
                EXPECT_EQ(result, "written; stopped (signal TERM) before the read-back finished; not verified") << where;
            }
            if (session == 2 && abandoned && writes > 0) {
                EXPECT_NE(result.find(std::to_string(writes) + " of 63 blocks written; radio partly written"),
                          std::string::npos)
                    << where << ": " << result;
                EXPECT_NE(b.Messages().find(std::to_string(writes) + " of 63 blocks were written before the stop."),
                          std::string::npos)
                    << where;
            }
        });
    // A stop at every send of the three sessions: the backup read's 136, the
    // write's 131 and the verify's 130.
    EXPECT_EQ(runs, 136 + 131 + 130);
}

TEST_F(StopAtEveryStep, AReadAndTheRadioInformationLeaveProgramModeWhereverTheStopLands) {
    ImageBuffer memory{};
    TransferResult r;
    const int reads = EverySend([&](Bench& b) { r = RunReadTransfer(b.Context(), memory); },
                                [&](Bench& b, std::uint32_t, std::uint32_t step) {
                                    EXPECT_TRUE(r.Ok() || r.status == TransferStatus::kStopped) << step;
                                    EXPECT_EQ(Count(b.radio.Log(), "abort"), 0);
                                });
    EXPECT_EQ(reads, 3 + 2 * 64 + 1);
    RadioInformation info;
    const int infos = EverySend([&](Bench& b) { r = RunRadioInformationTransfer(b.Context(), info); },
                                [&](Bench&, std::uint32_t, std::uint32_t step) {
                                    EXPECT_TRUE(r.Ok() || r.status == TransferStatus::kStopped) << step;
                                });
    EXPECT_EQ(infos, 3 + 2 * 4 + 1);
}

TEST_F(StopAtEveryStep, AStopBeforeTheFirstSendSendsNothing) {
    Bench b(1, 1);
    g_stop.Set(SIGTERM);
    SafeWriteOptions options;
    options.backupFolder = (dir / "backups").string();
    options.logPath = (dir / "log.csv").string();
    ImageBuffer data{};
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    std::copy(id.begin(), id.end(), data.begin());
    const SafeWriteResult r = SafeWriteToRadio(b.Context(), data, false, options);
    EXPECT_EQ(r.stopSignal, SIGTERM);
    EXPECT_TRUE(b.radio.Log().empty()) << b.radio.Log().front();
    EXPECT_EQ(ReadLog(options.logPath).back().result, "stopped (signal TERM) before writing; nothing written");
}

}  // namespace
}  // namespace vrm
