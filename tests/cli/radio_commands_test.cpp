// vrm650t-cli radio info, read and write, run as a user runs them: the CLI
// loads "libpipelink.so" by name and LD_LIBRARY_PATH puts the simulated
// radio's drop-in first.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/prompter.h"
#include "app/text_format.h"
#include "files/data_file.h"
#include "link/clock.h"
#include "model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"

extern char** environ;

namespace vrm {
namespace {

namespace fs = std::filesystem;

const std::string kCli = std::string(VRM_BIN_DIR) + "/vrm650t-cli";

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string T(std::uint32_t id) { return test::EnglishTexts().TextString(id); }

std::string Drain(int fd) {
    std::string s;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0) s.append(buf, static_cast<std::size_t>(n));
    return s;
}

struct RadioCommands : ::testing::Test {
    RadioCommands() {
        std::string t = (fs::temp_directory_path() / "vrm-radiocli-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
    }
    ~RadioCommands() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    std::vector<std::string> Environment(bool simulated) const {
        std::vector<std::string> env = {"VRM650T_SIM_STATE=" + state, "LC_ALL=C.UTF-8"};
        if (simulated) env.push_back(std::string("LD_LIBRARY_PATH=") + VRM_SIM_DIR);
        if (!faults.empty()) env.push_back("VRM650T_SIM_FAULTS=" + faults);
        for (char** e = environ; *e; ++e) {
            const std::string s = *e;
            if (s.rfind("LD_LIBRARY_PATH=", 0) && s.rfind("VRM650T_SIM_", 0) && s.rfind("LC_ALL=", 0))
                env.push_back(s);
        }
        return env;
    }

    static std::vector<char*> Pointers(std::vector<std::string>& v) {
        std::vector<char*> p;
        for (auto& s : v) p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    }

    // Runs the CLI with `input` on stdin (a pipe: no terminal to ask on).
    CliRun Cli(std::vector<std::string> args, const std::string& input = "", bool simulated = true) {
        args.insert(args.begin(), {kCli, "--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"});
        std::vector<std::string> env = Environment(simulated);
        int in[2], out[2], err[2];
        EXPECT_EQ(::pipe(in), 0);
        EXPECT_EQ(::pipe(out), 0);
        EXPECT_EQ(::pipe(err), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::dup2(err[1], 2);
            ::close(in[1]);
            ::close(out[0]);
            ::close(err[0]);
            auto argv = Pointers(args);
            auto envp = Pointers(env);
            ::execve(kCli.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        ::close(err[1]);
        EXPECT_EQ(::write(in[1], input.data(), input.size()), static_cast<ssize_t>(input.size()));
        ::close(in[1]);
        CliRun r;
        r.out = Drain(out[0]);
        r.err = Drain(err[0]);
        ::close(out[0]);
        ::close(err[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return r;
    }

    void Install(const SimulatedRadio& radio) {
        std::string error;
        ASSERT_TRUE(SaveSimState(state, radio, &error)) << error;
    }
    SimulatedRadio Radio() const {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio;
    }
    int Sessions() const {
        const auto log = Radio().Log();
        return static_cast<int>(std::count(log.begin(), log.end(), "session"));
    }

    // A data file with a pattern over the image of the simulated radio's
    // model, as `new` makes them and then changed.
    std::string DataFileFor(const ModelIdentity& identity, const std::string& name, ImageBuffer* written = nullptr) {
        RadioImage image;
        ModelCatalogue catalogue(image);
        for (std::size_t i = 0; i < kImageSize; ++i) image.Live()[i] = static_cast<std::uint8_t>(0x5A ^ (i * 3));
        image.SetIdentity(identity);
        image.Live()[0x016] = 1;  // a microphone sense the Open fix-up leaves alone
        DataFile file(image, catalogue);
        EXPECT_TRUE(file.Write(Path(name), {}, SystemClock::Instance()).Ok());
        if (written) *written = image.Live();
        return Path(name);
    }

    ImageBuffer ReadDataFile(const std::string& path) {
        RadioImage image;
        ModelCatalogue catalogue(image);
        struct NoPrompt : Prompter {
            Answer Ask(const Message&) override { return Answer::Cancel; }
            PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
        } prompter;
        EXPECT_TRUE(DataFile(image, catalogue).Read(path, prompter, test::EnglishTexts()).Ok());
        return image.Transfer();
    }

    fs::path dir;
    std::string state;
    std::string faults;
};

TEST_F(RadioCommands, ReadSavesTheRadiosDataAsTheProgramWouldWithPlainProgressLines) {
    SimulatedRadio radio;
    for (std::size_t i = 16; i < kImageSize; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(i * 5);
    radio.Memory()[0x016] = 0xFF;  // the load fix-up makes this 1
    Install(radio);
    const std::string file = Path("radio.dat");

    const CliRun r = Cli({"radio", "read", "-o", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, FormatText(T(19106101), {file}) + "\n");
    EXPECT_NE(r.err.find(T(10401002) + "\n"), std::string::npos);
    EXPECT_NE(r.err.find("Block 32 / 64\nBlock 48 / 64\nBlock 64 / 64\n"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\r'), std::string::npos) << "no bar without a terminal";
    EXPECT_NE(r.err.find(T(10401003)), std::string::npos);

    ImageBuffer expected = radio.Memory();
    expected[12] = 0xFF;
    expected[0x016] = 1;
    EXPECT_EQ(ReadDataFile(file), expected);
}

TEST_F(RadioCommands, ReadAsksBeforeReplacingAFileAndBeforeTouchingTheRadio) {
    Install(SimulatedRadio());
    const std::string file = Path("old.dat");
    { std::ofstream(file) << "keep me"; }

    CliRun r = Cli({"radio", "read", "-o", file});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find(T(10007011)), std::string::npos);
    EXPECT_EQ(Sessions(), 0) << "the radio was not read";
    std::ifstream in(file);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "keep me");

    r = Cli({"radio", "read", "--yes", "-o", file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(file), kDataFileSize);
}

TEST_F(RadioCommands, ReadFailuresExitNonZeroWithTheirMessagesAndWriteNoFile) {
    struct Case {
        const char* fault;
        int status;
        std::uint32_t text;
    };
    const Case cases[] = {
        {"program-nak", 1, 10007003},
        {"read-silent=40", 1, 10007003},
        {"model=LMX-7208", 2, 10007021},
        {"model=PXYZ-999", 2, 10007004},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Install(SimulatedRadio());
        faults = c.fault;
        const CliRun r = Cli({"radio", "read", "-o", Path("x.dat")});
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(T(c.text)), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(Path("x.dat")));
    }
}

TEST_F(RadioCommands, WriteStoresTheFileInTheRadio) {
    const SimulatedRadio before;
    Install(before);
    ImageBuffer data{};
    const std::string file = DataFileFor(before.Identity(), "w.dat", &data);

    const CliRun r = Cli({"radio", "write", file});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find(T(10402003)), std::string::npos);
    ImageBuffer expected = data;
    std::copy(before.Memory().begin() + 0x3F0, before.Memory().end(), expected.begin() + 0x3F0);
    EXPECT_EQ(Radio().Memory(), expected);
}

TEST_F(RadioCommands, WriteIntoARadioOfAnotherIdentityNeedsYes) {
    RadioImage other;
    ModelCatalogue catalogue(other);
    catalogue.SetModel(4);
    catalogue.SetBandWord(0x0106);
    SimulatedRadio radio;
    radio.SetIdentity(other.Identity());
    Install(radio);
    const std::string file = DataFileFor(ModelCatalogue::DefaultIdentity(), "w.dat");

    CliRun r = Cli({"radio", "write", file});
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.err.find(T(10007007)), std::string::npos);
    EXPECT_EQ(Radio().Memory(), radio.Memory());

    r = Cli({"radio", "write", "--yes", file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err.find(T(10007007)), std::string::npos) << "--yes answers without asking";
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    EXPECT_TRUE(std::equal(id.begin(), id.end(), Radio().Memory().begin())) << "the data's identity is written";
}

TEST_F(RadioCommands, ContinuousWritesRadioAfterRadioUntilTheInputEnds) {
    Install(SimulatedRadio());
    const std::string file = DataFileFor(ModelCatalogue::DefaultIdentity(), "w.dat");

    CliRun r = Cli({"radio", "write", "--continuous", file}, "\n\nq\n\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, FormatText(T(19106103), {3}) + "\n");
    EXPECT_EQ(Sessions(), 3);

    r = Cli({"radio", "write", "--continuous", file}, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, FormatText(T(19106103), {1}) + "\n");

    // A failed radio ends the run, says the radio is partly written, and
    // counts only the radios that were written.
    faults = "write-nak=5";
    r = Cli({"radio", "write", "--continuous", file}, "\n\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(T(19106001)), std::string::npos);
    EXPECT_EQ(r.out, FormatText(T(19106103), {0}) + "\n");
}

TEST_F(RadioCommands, WriteRefusesAFileItCannotReadWithoutTouchingTheRadio) {
    Install(SimulatedRadio());
    { std::ofstream(Path("short.dat")) << "too short"; }
    CliRun r = Cli({"radio", "write", Path("short.dat")});
    EXPECT_EQ(r.status, 4);
    EXPECT_NE(r.err.find(Path("short.dat")), std::string::npos);
    r = Cli({"radio", "write", Path("missing.dat")});
    EXPECT_EQ(r.status, 4);
    EXPECT_EQ(Sessions(), 0);
    EXPECT_EQ(Cli({"radio", "write"}).status, 64);
    EXPECT_EQ(Cli({"radio", "read"}).status, 64);
}

TEST_F(RadioCommands, InfoListsTheRadiosInformation) {
    SimulatedRadio radio;
    radio.SetChecksumOverride(0x0AF3);
    radio.SetSerialNumber("");
    Install(radio);
    CliRun r = Cli({"radio", "info"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "Model Type        HRV-41A:K\n"
              "Frequency         440-480 MHz\n"
              "Serial Number     \n"
              "Firmware Version  V1.10.00\n"
              "Boot Version      B1.02.00\n"
              "Checksum          0AF3\n");

    faults = "info-checksum";
    r = Cli({"radio", "info"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(T(10007003)), std::string::npos);
}

TEST_F(RadioCommands, WithoutACableTheUserLearnsThatNoCableWasFound) {
    // The real libpipelink.so beside the CLI, on a machine without the cable.
    const CliRun r = Cli({"radio", "info"}, "", false);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(T(10007003)), std::string::npos);
    EXPECT_NE(r.err.find(T(19103001)), std::string::npos) << r.err;
}

TEST_F(RadioCommands, OnATerminalTheProgressIsABarOnOneLine) {
    Install(SimulatedRadio());
    std::vector<std::string> args = {kCli, "--lang", std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng",
                                     "radio", "read", "-o", Path("t.dat")};
    std::vector<std::string> env = Environment(true);
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        auto argv = Pointers(args);
        auto envp = Pointers(env);
        ::execve(kCli.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    std::string shown;
    for (int quiet = 0; quiet < 100;) {
        struct pollfd p {master, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) {
            ++quiet;
            continue;
        }
        char buf[4096];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) break;
        shown.append(buf, static_cast<std::size_t>(n));
        quiet = 0;
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(master);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;
    EXPECT_NE(shown.find("\r[################................] Block 32 / 64"), std::string::npos) << shown;
    EXPECT_NE(shown.find("] Block 64 / 64\x1b[K\r\n" + T(10401005) + ": " + T(10401003)), std::string::npos)
        << "the message starts on a line of its own";
}

}  // namespace
}  // namespace vrm
