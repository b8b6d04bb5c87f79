// vrm650t-cli radio info, read and write, run as a user runs them: the CLI
// loads "libpipelink.so" by name and LD_LIBRARY_PATH puts the simulated
// radio's drop-in first.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/exit_status.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "sim/sim_state.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string T(std::uint32_t id) { return test::EnglishTexts().TextString(id); }

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

struct RadioCommands : ::testing::Test {
    RadioCommands() {
        std::string t = (fs::temp_directory_path() / "vrm-radiocli-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
    }
    ~RadioCommands() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // Runs the CLI through the shell with `input` on stdin (a file: no
    // terminal to ask on), or on a pseudo-terminal made by script(1).
    CliRun Cli(const std::vector<std::string>& args, const std::string& input = "", bool simulated = true,
               bool terminal = false) {
        std::string cmd = std::string(VRM_BIN_DIR) + "/vrm650t-cli --lang " + VRM_SOURCE_DIR + "/lang/vrm650t_en.lng";
        for (const std::string& a : args) cmd += " '" + a + "'";
        std::string env = "env -u VRM650T_SIM_FAULTS -u VRM650T_SIM_BAUD -u LD_LIBRARY_PATH LC_ALL=C.UTF-8 "
                          "VRM650T_SIM_STATE=" + state + " HOME=" + dir.string() +
                          " XDG_DOCUMENTS_DIR=" + dir.string() + "/Documents";
        if (simulated) env += std::string(" LD_LIBRARY_PATH=") + VRM_SIM_DIR;
        if (!faults.empty()) env += " VRM650T_SIM_FAULTS=" + faults;
        std::ofstream(Path("stdin")) << input;
        const std::string line = terminal ? env + " script -qec \"" + cmd + "\" /dev/null"
                                          : env + " " + cmd + " <" + Path("stdin") + " 2>" + Path("stderr");
        CliRun r;
        FILE* p = ::popen(line.c_str(), "r");
        if (!p) return r;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) r.out.append(buf, n);
        const int status = ::pclose(p);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.err = terminal ? std::string() : Slurp(Path("stderr"));
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

    // A data file of `identity` with a pattern over the rest of its image.
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
    const Case cases[] = {{"read-silent=40", cli::kExitRadioFailed, 10007003},
                          {"model=LMX-7208", cli::kExitModelMismatch, 10007021}};
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
    EXPECT_EQ(r.status, cli::kExitCancelled);
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
    // Each radio: its backup, written and verified, the count and the last serial number.
    EXPECT_NE(r.out.find(FormatText(T(tid::kContinuousCount), {3, std::string("00000001")})), std::string::npos);
    EXPECT_TRUE(r.out.ends_with(FormatText(T(19106103), {3}) + "\n")) << r.out;
    EXPECT_EQ(Sessions(), 9) << "backup, write and verify for each radio";

    r = Cli({"radio", "write", "--continuous", "--no-backup", "--no-verify", file}, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.ends_with(FormatText(T(19106103), {1}) + "\n"));
    EXPECT_EQ(Sessions(), 11) << "the log still reads the serial number";

    // A failed radio ends the run, says the radio is partly written, and
    // counts only the radios that were written.
    faults = "write-nak=5";
    r = Cli({"radio", "write", "--continuous", file}, "\n\n");
    EXPECT_EQ(r.status, cli::kExitRadioFailed);
    EXPECT_NE(r.err.find(T(19106001)), std::string::npos);
    EXPECT_TRUE(r.out.ends_with(FormatText(T(19106103), {0}) + "\n"));
}

TEST_F(RadioCommands, WriteKeepsABackupInTheDataFolderAndLogsEveryRadio) {
    const SimulatedRadio before = [] {
        SimulatedRadio radio;
        for (std::size_t i = 0x100; i < 0x200; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(i);
        return radio;
    }();
    Install(before);
    const std::string file = DataFileFor(before.Identity(), "w.dat");

    CliRun r = Cli({"radio", "write", file});
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path data = dir / "Documents/Trevona/VRM-650T";
    std::vector<fs::path> backups;
    for (const auto& e : fs::directory_iterator(data / "backups")) backups.push_back(e.path());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(r.out.find(backups[0].string()), std::string::npos);
    EXPECT_NE(r.out.find(T(tid::kCliWriteVerified)), std::string::npos);
    // The backup puts the radio back as it was.
    ImageBuffer old = ReadDataFile(backups[0].string());
    EXPECT_TRUE(std::equal(old.begin() + 16, old.end(), before.Memory().begin() + 16));

    // The lost block: never a success, status 5, and both rows in the log.
    faults = "write-lost=30";
    Install(before);  // the old data again, so that the lost block differs
    // A backup folder the user names must exist: it is not made.
    r = Cli({"radio", "write", "--backup-dir", Path("b2"), file});
    EXPECT_EQ(r.status, cli::kExitNotWritten);
    EXPECT_NE(r.err.find(FormatText(T(tid::kCliFolderMissing), {Path("b2")})), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(Path("b2")));
    fs::create_directory(Path("b2"));
    r = Cli({"radio", "write", "--backup-dir", Path("b2"), file});
    EXPECT_EQ(r.status, cli::kExitRadioFailed);
    EXPECT_EQ(r.err.find(T(10402003)), std::string::npos);
    EXPECT_NE(r.err.find("30 (0x1E0)"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(Path("b2")));
    const std::string log = Slurp((data / "programming-log.csv").string());
    EXPECT_NE(log.find(",00000001,HRV-41A:K,V1.10.00," + file + ","), std::string::npos) << log;
    EXPECT_NE(log.find("written and verified"), std::string::npos);
    EXPECT_NE(log.find("verify failed: radio differs at blocks 30"), std::string::npos);

    faults.clear();
    r = Cli({"radio", "write", "--no-backup", "--log", Path("my.csv"), file});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(Slurp(Path("my.csv")).find(",written and verified"), std::string::npos);
    EXPECT_EQ(Cli({"radio", "write", "--log"}).status, 64);
}

TEST_F(RadioCommands, TheBackupOfAProtectedFilesWriteKeepsItsPassword) {
    const SimulatedRadio radio;
    Install(radio);
    RadioImage image;
    ModelCatalogue catalogue(image);
    image.Live() = radio.Memory();
    ASSERT_TRUE(DataFile(image, catalogue).Write(Path("p.dat"), {"4711", true}, SystemClock::Instance()).Ok());

    const CliRun r = Cli({"radio", "write", "--password", "4711", "--backup-dir", dir.string(), Path("p.dat")});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string backup;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".dat" && e.path().filename() != "p.dat") backup = Slurp(e.path().string());
    ASSERT_EQ(backup.size(), kDataFileSize);
    EXPECT_EQ(DataFile::UnscramblePassword(reinterpret_cast<const std::uint8_t*>(backup.data()) + kDataFilePasswordOffset),
              "4711");
}

TEST_F(RadioCommands, DiffSaysIdenticalOrListsTheItemsThatDiffer) {
    const SimulatedRadio before;
    Install(before);
    const std::string file = DataFileFor(before.Identity(), "w.dat");
    CliRun r = Cli({"radio", "diff", file});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_FALSE(r.out.empty());

    ASSERT_EQ(Cli({"radio", "write", "--no-backup", file}).status, 0);
    r = Cli({"radio", "diff", file});
    EXPECT_EQ(r.status, 0) << r.err << r.out;
    EXPECT_EQ(r.out, T(tid::kCliCompareIdentical) + "\n");

    // One channel's receive frequency changed in the radio.
    ASSERT_EQ(Cli({"set", file, "channel.1.rx=462.5750"}).status, 0);
    r = Cli({"radio", "diff", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("channel.1.rx\t"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("462.5750"), std::string::npos) << r.out;

    faults = "program-silent";
    EXPECT_EQ(Cli({"radio", "diff", file}).status, cli::kExitRadioFailed);
}

TEST_F(RadioCommands, WriteRefusesAFileItCannotReadWithoutTouchingTheRadio) {
    Install(SimulatedRadio());
    { std::ofstream(Path("short.dat")) << "too short"; }
    const CliRun r = Cli({"radio", "write", Path("short.dat")});
    EXPECT_EQ(r.status, cli::kExitInputRefused);
    EXPECT_NE(r.err.find(Path("short.dat")), std::string::npos);
    EXPECT_EQ(Sessions(), 0);
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

    r = Cli({"radio", "info", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto info = nlohmann::json::parse(r.out);
    EXPECT_EQ(info["checksum"]["value"], "0AF3");
    EXPECT_EQ(info["model"]["label"], "Model Type");
    EXPECT_EQ(info["serial"]["value"], "");

    faults = "info-checksum";
    r = Cli({"radio", "info"});
    EXPECT_EQ(r.status, cli::kExitRadioFailed);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(T(10007003)), std::string::npos);
}

TEST_F(RadioCommands, WithoutACableTheUserLearnsThatNoCableWasFound) {
    // The real libpipelink.so beside the CLI, on a machine without the cable.
    const CliRun r = Cli({"radio", "info"}, "", false);
    EXPECT_EQ(r.status, cli::kExitRadioFailed);
    EXPECT_NE(r.err.find(T(10007003)), std::string::npos);
    EXPECT_NE(r.err.find(T(19103001)), std::string::npos) << r.err;
}

TEST_F(RadioCommands, OnATerminalTheProgressIsABarOnOneLine) {
    Install(SimulatedRadio());
    const CliRun r = Cli({"radio", "read", "-o", Path("t.dat")}, "", true, true);
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("\r[################................] Block 32 / 64"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("] Block 64 / 64\x1b[K\r\n" + T(10401005) + ": " + T(10401003)), std::string::npos)
        << "the message starts on a line of its own";
}

}  // namespace
}  // namespace vrm
