// Signals during radio commands, two transfers on one radio, special files
// given to the file commands: run as a user runs the CLI, with the simulated
// radio first on the library path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "cli_process.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string T(std::uint32_t id) { return test::EnglishTexts().TextString(id); }

// A CLI process whose standard error is read while it runs.
class Running {
public:
    Running(std::vector<std::string> args, const std::string& state, const std::string& faults) {
        int pipeFds[2];
        EXPECT_EQ(::pipe(pipeFds), 0);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("VRM650T_SIM_STATE", state.c_str(), 1);
            ::setenv("HOME", fs::path(state).parent_path().c_str(), 1);  // backups and logs stay in the test's folder
            ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
            ::setenv("VRM650T_SIM_FAULTS", faults.c_str(), 1);
            ::unsetenv("VRM650T_SIM_BAUD");
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(pipeFds[1], 2);
            ::close(pipeFds[0]);
            args.insert(args.begin(), {"--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"});
            auto argv = test::Argv(args);
            ::execv(test::kCli.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        fd_ = pipeFds[0];
    }
    ~Running() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
        ::close(fd_);
    }

    // Reads standard error until it holds `text` (false after 20 s).
    bool WaitFor(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (err.find(text) == std::string::npos) {
            if (std::chrono::steady_clock::now() > end || !ReadSome(100)) return false;
        }
        return true;
    }
    void Signal(int signal) { ::kill(pid_, signal); }
    // The wait status once the process has ended.
    int Wait() {
        while (ReadSome(100)) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

    std::string err;

private:
    bool ReadSome(int ms) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return true;  // nothing yet
        char buf[4096];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0) return false;
        err.append(buf, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
};

struct Interruption : ::testing::Test {
    Interruption() {
        std::string t = (fs::temp_directory_path() / "vrm-interrupt-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
        std::string error;
        EXPECT_TRUE(SaveSimState(state, SimulatedRadio(), &error)) << error;
        RadioImage image;
        ModelCatalogue catalogue(image);
        for (std::size_t i = 0; i < kImageSize; ++i) image.Live()[i] = static_cast<std::uint8_t>(i * 7);
        image.SetIdentity(SimulatedRadio().Identity());
        data = (dir / "w.dat").string();
        EXPECT_TRUE(DataFile(image, catalogue).Write(data, {}, SystemClock::Instance()).Ok());
    }
    ~Interruption() override { fs::remove_all(dir); }

    std::vector<std::string> Log() const {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio.Log();
    }
    static int Count(const std::vector<std::string>& log, const std::string& prefix) {
        return static_cast<int>(std::count_if(log.begin(), log.end(),
                                              [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
    }
    // Block 16 has been reached and the reply to a later send is 2.5 s late:
    // a signal now arrives in the middle of the write. The write alone: no
    // backup read before it and no read-back after it.
    static constexpr const char* kSlowWrite = "slow=2500@40";
    std::vector<std::string> Write() const { return {"radio", "write", "--no-backup", "--no-verify", "--no-log", data}; }
    std::string Progress16() const { return T(tid::kProgressFormat) + " 16 / 64"; }

    fs::path dir;
    std::string state;
    std::string data;
};

TEST_F(Interruption, AWriteStoppedBySignalIsAbandonedCleanlyAndSaysSo) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        Running cli(Write(), state, kSlowWrite);
        ASSERT_TRUE(cli.WaitFor(Progress16())) << cli.err;
        std::this_thread::sleep_for(300ms);
        cli.Signal(signal);
        const int status = cli.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << signal;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_NE(cli.err.find(T(tid::kTransferPartialWrite)), std::string::npos) << cli.err;
        EXPECT_NE(cli.err.find(T(tid::kLinkInterrupted)), std::string::npos);
        const auto log = Log();
        EXPECT_EQ(log.back(), "abort");
        EXPECT_LT(Count(log, "write "), 63);
        EXPECT_GE(Count(log, "write "), 16);
    }
}

TEST_F(Interruption, AReadStoppedBySignalLeavesProgramModeAndWritesNoFile) {
    const std::string out = (dir / "r.dat").string();
    Running cli({"radio", "read", "-o", out}, state, "slow=2500@40");
    ASSERT_TRUE(cli.WaitFor(Progress16())) << cli.err;
    std::this_thread::sleep_for(300ms);
    cli.Signal(SIGTERM);
    const int status = cli.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM);
    EXPECT_EQ(Log().back(), "exit");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(Interruption, ASecondSignalEndsAtOnce) {
    Running cli(Write(), state, kSlowWrite);
    ASSERT_TRUE(cli.WaitFor(Progress16())) << cli.err;
    std::this_thread::sleep_for(300ms);
    cli.Signal(SIGINT);
    std::this_thread::sleep_for(200ms);
    cli.Signal(SIGINT);
    const int status = cli.Wait();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
}

TEST_F(Interruption, ASecondTransferOnABusyRadioIsRefusedAsBusy) {
    Running write(Write(), state, kSlowWrite);
    ASSERT_TRUE(write.WaitFor(Progress16())) << write.err;
    ::setenv("VRM650T_SIM_STATE", state.c_str(), 1);
    ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
    const test::CliRun info = test::Cli({"--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", "radio", "info"});
    ::unsetenv("LD_LIBRARY_PATH");
    EXPECT_EQ(info.status, cli::kExitRadioFailed);
    EXPECT_NE(info.err.find(T(tid::kLinkBusy)), std::string::npos) << info.err;
    // The first one finishes as if the second had never tried.
    const int status = write.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << write.err;
    EXPECT_EQ(Count(Log(), "write "), 63);
}

TEST_F(Interruption, FileCommandsRefuseSpecialFilesWithoutWaitingOrReplacingThem) {
    const std::string fifo = (dir / "pipe.dat").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string lang = std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng";
    const std::string refused = FormatText(T(tid::kMsgNotRegularFile), {fifo});
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"check", fifo}, {"show", fifo}, {"dump", fifo}, {"radio", "write", fifo},
          {"new", "--model", "1", "--yes", "-o", fifo}, {"radio", "read", "--yes", "-o", fifo}}) {
        std::vector<std::string> all = {"--lang", lang};
        all.insert(all.end(), args.begin(), args.end());
        const test::CliRun r = test::Cli(all);
        EXPECT_NE(r.status, 0) << args[0];
        EXPECT_NE(r.err.find(refused), std::string::npos) << args[0] << ": " << r.err;
    }
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(Interruption, SimSetAppliesEveryByte) {
    const test::CliRun r = test::Cli({"sim", "set", "--state", state, "--byte", "0x100=0x11", "--byte", "0x2A0=0x22"});
    ASSERT_EQ(r.status, 0) << r.err;
    SimulatedRadio radio;
    std::string error;
    ASSERT_TRUE(LoadSimState(state, radio, &error)) << error;
    EXPECT_EQ(radio.Memory()[0x100], 0x11);
    EXPECT_EQ(radio.Memory()[0x2A0], 0x22);
}

}  // namespace
}  // namespace vrm
