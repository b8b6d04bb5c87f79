// The programming station from the command line: several simulated radios,
// one per simulated cable, written at once; a fault on one, a plan with a bad
// value, Ctrl+C in the middle, and the cable choice of the radio commands.
#include <fcntl.h>
#include <poll.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.h"
#include "core/base/prompter.h"
#include "core/files/data_file.h"
#include "core/link/programming_log.h"
#include "core/link/safe_write.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct Station : ::testing::Test {
    Station() {
        std::string t = (fs::temp_directory_path() / "vrm-station-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        for (int i = 1; i <= 3; ++i) {
            states.push_back((dir / ("r" + std::to_string(i) + ".state")).string());
            SimulatedRadio radio;
            radio.SetSerialNumber("0000000" + std::to_string(i));
            std::string error;
            EXPECT_TRUE(SaveSimState(states.back(), radio, &error)) << error;
        }
        data = (dir / "w.dat").string();
        EXPECT_EQ(Run({"new", "--model", "3", "-o", data}).status, 0);
        log = (dir / "log.csv").string();
    }
    ~Station() override { fs::remove_all(dir); }

    // The CLI with the station's radios first on the library path; `env`
    // adds VARIABLE=VALUE pairs.
    struct Child {
        pid_t pid = -1;
        int out = -1, err = -1;
        std::string errText;
        std::size_t seen = 0;  // where the next WaitFor looks from
        // Reads the live lines until `text` comes after the last one found
        // (or anywhere: another cable's line, which may come before).
        bool WaitFor(const std::string& text, bool anywhere = false) {
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            const std::size_t from = anywhere ? 0 : seen;
            while (errText.find(text, from) == std::string::npos) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
                pollfd p{err, POLLIN, 0};
                if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
                char buf[4096];
                const ssize_t n = ::read(err, buf, sizeof buf);
                if (n <= 0) return false;
                errText.append(buf, static_cast<std::size_t>(n));
            }
            seen = std::max(seen, errText.find(text, from) + text.size());
            return true;
        }
    };
    Child Spawn(std::vector<std::string> args, const std::vector<std::string>& env) {
        int out[2], err[2];
        EXPECT_EQ(::pipe(out), 0);
        EXPECT_EQ(::pipe(err), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::string joined;
            for (const std::string& s : states) joined += (joined.empty() ? "" : ":") + s;
            ::setenv("VRM650T_SIM_STATE", joined.c_str(), 1);
            ::setenv("HOME", dir.c_str(), 1);
            ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
            ::unsetenv("VRM650T_SIM_FAULTS");
            ::unsetenv("VRM650T_SIM_BAUD");
            for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
            const int null = ::open("/dev/null", O_RDONLY);
            ::dup2(null, 0);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::close(out[0]);
            ::close(err[0]);
            args.insert(args.begin(), {"--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"});
            auto argv = test::Argv(args);
            ::execv(test::kCli.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        Child c;
        c.pid = pid;
        c.out = out[0];
        c.err = err[0];
        return c;
    }
    static test::CliRun Finish(Child& c) {
        test::CliRun r;
        r.out = test::Drain(c.out);
        r.err = c.errText + test::Drain(c.err);
        ::close(c.out);
        ::close(c.err);
        int status = 0;
        ::waitpid(c.pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return r;
    }
    // As Spawn, to the end.
    test::CliRun Run(std::vector<std::string> args, const std::vector<std::string>& env = {}) {
        Child c = Spawn(std::move(args), env);
        return Finish(c);
    }

    SimulatedRadio Radio(int i) const {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(states[static_cast<std::size_t>(i)], radio, &error)) << error;
        return radio;
    }
    static ImageBuffer ReadDataFile(const std::string& path) {
        RadioImage image;
        ModelCatalogue catalogue(image);
        struct NoPrompt : Prompter {
            Answer Ask(const Message&) override { return Answer::Cancel; }
            PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
        } prompter;
        EXPECT_TRUE(DataFile(image, catalogue).Read(path, prompter, test::EnglishTexts()).Ok());
        return image.Transfer();
    }
    // The table row of cable sim-N.
    static std::string Row(const std::string& out, int n) {
        const std::size_t at = out.find("sim-" + std::to_string(n) + "\t");
        return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
    }

    fs::path dir;
    std::vector<std::string> states;
    std::string data;
    std::string log;
};

TEST_F(Station, EveryRadioIsWrittenAtOnceAndAFaultOnOneLeavesTheOthersToFinish) {
    const auto r = Run({"station", "write", "--log", log, "--backup-dir", dir.string(), data},
                       {"VRM650T_SIM_FAULTS_2=write-nak=5"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(Row(r.out, 1).find("00000001\tHRV-41A:K\twritten and verified\t1\t0"), std::string::npos) << r.out;
    EXPECT_NE(Row(r.out, 2).find("write failed at block 5"), std::string::npos) << r.out;
    EXPECT_NE(Row(r.out, 3).find("written and verified\t1\t0"), std::string::npos) << r.out;
    // Two whole rows per radio, one header, nothing mixed.
    const std::vector<LogFields> rows = ReadLog(log);
    ASSERT_EQ(rows.size(), 6u);
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.find(LogHeader()), text.rfind(LogHeader()));
    int finished = 0;
    for (const LogFields& f : rows) finished += f.result != kLogStarted;
    EXPECT_EQ(finished, 3);
}

TEST_F(Station, APlanGivesEachRadioItsValuesAndRefusesWholeOnOneBadValue) {
    const std::string plan = (dir / "plan.csv").string();
    std::ofstream(plan) << "serial,message.line2,channel.1.rx\n00000001,UNIT 1,462.5625\n00000002,UNIT 2,999\n";
    auto r = Run({"station", "write", "--no-log", "--no-backup", "--plan", plan, data});
    EXPECT_EQ(r.status, cli::kExitValueRefused);
    EXPECT_NE(r.err.find("Line 3 of the plan, channel.1.rx"), std::string::npos) << r.err;
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Radio(i).Log().empty()) << "radio " << i << " was not even opened";

    std::ofstream(plan) << "serial,message.line2,channel.1.rx\n00000001,UNIT 1,462.5625\n00000002,UNIT 2,470\n";
    r = Run({"station", "write", "--no-log", "--no-backup", "--plan", plan, data});
    EXPECT_EQ(r.status, 1) << "radio 3 is not in the plan";
    EXPECT_NE(Row(r.out, 3).find("not in the plan"), std::string::npos) << r.out;
    const auto radio3 = Radio(2).Log();
    EXPECT_EQ(std::count(radio3.begin(), radio3.end(), std::string("comma 01")), 0) << "nothing written to radio 3";
    const std::string r1 = (dir / "r1.dat").string(), r2 = (dir / "r2.dat").string();
    ASSERT_EQ(Run({"radio", "read", "--cable", "sim-1", "-o", r1}).status, 0);
    ASSERT_EQ(Run({"radio", "read", "--cable", "SIMCABLE02", "-o", r2}).status, 0);
    EXPECT_EQ(Run({"get", r1, "message.line2", "channel.1.rx"}).out, "UNIT 1\n462.56250\n");
    EXPECT_EQ(Run({"get", r2, "message.line2", "channel.1.rx"}).out, "UNIT 2\n470.00000\n");

    r = Run({"station", "write", "--no-log", "--no-backup", "--plan", plan, "--plan-default", "--cables", "sim-3", data});
    EXPECT_EQ(r.status, 0) << r.out << r.err;
}

TEST_F(Station, CtrlCStopsEveryCableCleanlyAndReportsEachOne) {
    // Every radio's reply to send 40 (a block in the middle of the write)
    // comes 2.5 s late; the signal goes once every radio has stored block
    // 0x0F0, before that send: it finds all three cables writing, however
    // slowly the program got there.
    Child c = Spawn({"station", "write", "--no-backup", "--no-verify", "--log", log, data},
                    {"VRM650T_SIM_FAULTS=slow=2500@40"});
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int writing = 0;
    for (int& n = writing; n < 3 && std::chrono::steady_clock::now() < until;) {
        SimulatedRadio radio;
        const bool read = LoadSimState(states[static_cast<std::size_t>(n)], radio, nullptr);
        const auto& asked = radio.Log();
        if (read && std::find(asked.begin(), asked.end(), "write 0x0F0 16") != asked.end()) ++n;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(writing, 3) << "every cable was writing";
    ::kill(c.pid, SIGINT);
    const auto r = Finish(c);
    EXPECT_EQ(r.status, 130) << r.out << r.err;
    for (int n = 1; n <= 3; ++n) {
        EXPECT_NE(Row(r.out, n).find("stopped by the user"), std::string::npos) << r.out;
        const auto radioLog = Radio(n - 1).Log();
        ASSERT_FALSE(radioLog.empty());
        EXPECT_EQ(radioLog.back(), "abort") << "radio " << n << " was told the write is abandoned";
    }
    for (const LogFields& f : ReadLog(log))
        if (f.result != kLogStarted) {
            EXPECT_NE(f.result.find("stopped by the user"), std::string::npos) << f.result;
        }
}

TEST_F(Station, ContinuousWritesEachNewRadioOnItsCableAndCountsThemUntilCtrlC) {
    // Cable 1 gets three radios in turn, cable 2 keeps its one, cable 3 has
    // none plugged in all along.
    ASSERT_TRUE(SetSimRadioPlugged(states[2], false, nullptr));
    Child c = Spawn({"station", "write", "--continuous", "--no-backup", "--log", log, data}, {});
    ASSERT_TRUE(c.WaitFor("sim-1  00000001  done  [1/1]")) << c.errText;
    ASSERT_TRUE(c.WaitFor("sim-2  00000002  done  [1/1]", true)) << c.errText;
    const auto unplug = [&](const std::string& serial) {
        EXPECT_TRUE(SetSimRadioPlugged(states[0], false, nullptr));
        EXPECT_TRUE(c.WaitFor("sim-1  " + serial + "  waiting for the next radio")) << c.errText;
    };
    // Off its cable and back: the same radio is not written a second time.
    unplug("00000001");
    ASSERT_TRUE(SetSimRadioPlugged(states[0], true, nullptr));
    ASSERT_TRUE(c.WaitFor("sim-1  00000001  done  [1/1]")) << c.errText;
    // Each new radio's state takes the cable's file; the last one's is kept
    // under its serial number.
    std::string last = "00000001";
    int count = 1;
    for (const std::string serial : {"00000011", "00000021"}) {
        unplug(last);
        fs::rename(states[0], dir / (last + ".state"));
        SimulatedRadio next;
        next.SetSerialNumber(serial);
        ASSERT_TRUE(SaveSimState(states[0], next, nullptr));
        ASSERT_TRUE(SetSimRadioPlugged(states[0], true, nullptr));
        const std::string n = std::to_string(++count);
        ASSERT_TRUE(c.WaitFor("sim-1  " + serial + "  done  [" + n + "/" + n + "]")) << c.errText;
        last = serial;
    }
    // The total over every cable is shown while the run goes on.
    EXPECT_TRUE(c.WaitFor("4 radios written, 0 failed.", true)) << c.errText;
    ::kill(c.pid, SIGINT);
    const auto r = Finish(c);
    EXPECT_EQ(r.status, 130) << r.err;
    EXPECT_NE(Row(r.out, 1).find("00000021\tHRV-41A:K\twritten and verified\t3\t0"), std::string::npos) << r.out;
    EXPECT_NE(Row(r.out, 2).find("00000002\tHRV-41A:K\twritten and verified\t1\t0"), std::string::npos) << r.out;
    EXPECT_EQ(Row(r.out, 3), "sim-3\t-\t-\t-\t0\t0") << "an empty cable is no failed radio";
    EXPECT_NE(r.out.find("4 radios written, 0 failed."), std::string::npos) << r.out;

    // Each radio holds the file, and the log has one finished row for each.
    const ImageBuffer file = ReadDataFile(data);
    ASSERT_FALSE(DifferingBlocks(file, SimulatedRadio().Memory()).empty());
    for (const std::string& state : {(dir / "00000001.state").string(), (dir / "00000011.state").string(), states[0], states[1]}) {
        SimulatedRadio radio;
        ASSERT_TRUE(LoadSimState(state, radio, nullptr)) << state;
        EXPECT_TRUE(DifferingBlocks(file, radio.Memory()).empty()) << state;
    }
    std::multiset<std::string> serials;
    for (const LogFields& f : ReadLog(log))
        if (f.result != kLogStarted) {
            serials.insert(f.serial);
            EXPECT_EQ(f.result, "written and verified");
        }
    EXPECT_EQ(serials, (std::multiset<std::string>{"00000001", "00000002", "00000011", "00000021"}));
}

TEST_F(Station, ContinuousKnowsTheRadioPutBackEvenWithoutBackupOrLog) {
    Child c = Spawn({"station", "write", "--continuous", "--no-backup", "--no-log", "--cables", "sim-1", data}, {});
    ASSERT_TRUE(c.WaitFor("sim-1  00000001  done  [1/1]")) << c.errText;
    ASSERT_TRUE(SetSimRadioPlugged(states[0], false, nullptr));
    ASSERT_TRUE(c.WaitFor("sim-1  00000001  waiting for the next radio")) << c.errText;
    ASSERT_TRUE(SetSimRadioPlugged(states[0], true, nullptr));
    ASSERT_TRUE(c.WaitFor("sim-1  00000001  done  [1/1]")) << c.errText;
    ::kill(c.pid, SIGINT);
    EXPECT_EQ(Finish(c).status, 130);
    const auto asked = Radio(0).Log();
    EXPECT_EQ(std::count(asked.begin(), asked.end(), std::string("comma 01")), 1) << "written once";
}

TEST_F(Station, RadioListShowsEachCableAndItsRadioAndUnknownCablesAreRefused) {
    auto r = Run({"radio", "list"});
    EXPECT_NE(r.out.find("sim-3\tSIMCABLE03\t1\t4\n"), std::string::npos) << r.out;
    EXPECT_TRUE(Radio(0).Log().empty()) << "a plain list opens no cable";
    r = Run({"radio", "list", "--identify"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("sim-2\tSIMCABLE02\t1\t3\tHRV-41A:K\t00000002\n"), std::string::npos) << r.out;
    const std::size_t before = Radio(0).Log().size();
    r = Run({"station", "write", "--cables", "sim-1,nowhere", data});
    EXPECT_EQ(r.status, cli::kUsageError);
    EXPECT_NE(r.err.find("There is no cable nowhere"), std::string::npos) << r.err;
    EXPECT_EQ(Radio(0).Log().size(), before) << "nothing started when one cable is unknown";
}

}  // namespace
}  // namespace vrm
