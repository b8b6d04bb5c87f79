// vrm650t-cli radio tuning read/write/restore and tuning show against the
// simulated radio, as a technician runs them from the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/exit_status.h"
#include "core/files/tuning_file.h"
#include "sim/sim_state.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct TuningCommands : ::testing::Test {
    TuningCommands() {
        std::string t = (fs::temp_directory_path() / "vrm-tuningcli-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
    }
    ~TuningCommands() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // Returns the exit status; stdout and stderr land in out and err.
    int Cli(const std::string& args) {
        const std::string line = "env -u VRM650T_SIM_FAULTS LC_ALL=C.UTF-8 HOME=" + dir.string() +
                                 " XDG_DOCUMENTS_DIR= VRM650T_SIM_STATE=" + state +
                                 " LD_LIBRARY_PATH=" + VRM_SIM_DIR + (faults.empty() ? "" : " VRM650T_SIM_FAULTS=" + faults) +
                                 " " + VRM_BIN_DIR + "/vrm650t-cli --lang " + VRM_SOURCE_DIR +
                                 "/lang/vrm650t_en.lng " + args + " </dev/null 2>" + Path("err");
        out.clear();
        FILE* p = ::popen(line.c_str(), "r");
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
        const int status = ::pclose(p);
        std::ifstream in(Path("err"));
        err.assign(std::istreambuf_iterator<char>(in), {});
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    SimulatedRadio Radio() const {
        SimulatedRadio radio;
        EXPECT_TRUE(LoadSimState(state, radio, nullptr));
        return radio;
    }
    void Install(const SimulatedRadio& radio) { ASSERT_TRUE(SaveSimState(state, radio, nullptr)); }

    fs::path dir;
    std::string state, out, err, faults;
};

TEST_F(TuningCommands, ReadShowWriteRoundTripWithTheConfirmationAndABackup) {
    SimulatedRadio radio;
    radio.Tuning()[0] = 62;
    radio.Tuning()[13] = 7;
    Install(radio);
    ASSERT_EQ(Cli("radio tuning read -o " + Path("saved")), 0) << err;
    ASSERT_TRUE(fs::exists(Path("saved.tun"))) << "the Save As rule adds .tun";
    EXPECT_EQ(fs::file_size(Path("saved.tun")), kTuningFileSize);

    ASSERT_EQ(Cli("tuning show " + Path("saved.tun")), 0) << err;
    EXPECT_NE(out.find("Transmit Power High (Low)     63\n"), std::string::npos) << out;
    EXPECT_NE(out.find("Battery Warning Level         8\n"), std::string::npos) << out;
    EXPECT_NE(out.find("HRV-41A K/00000001"), std::string::npos) << out;
    ASSERT_EQ(Cli("tuning show --json " + Path("saved.tun")), 0) << err;
    const auto shown = nlohmann::json::parse(out);
    EXPECT_EQ(shown["values"][0]["label"], "Transmit Power High (Low)");
    EXPECT_EQ(shown["values"][0]["value"], 63);
    EXPECT_EQ(shown["values"][13]["value"], 8);

    radio = Radio();
    radio.Tuning().fill(1);
    Install(radio);
    // Without --yes and without a terminal the confirmation answers Cancel.
    EXPECT_EQ(Cli("radio tuning write " + Path("saved.tun")), cli::kExitCancelled);
    EXPECT_EQ(Radio().Tuning()[0], 1);
    EXPECT_NE(err.find("Do you want to write this tuning data"), std::string::npos) << err;

    ASSERT_EQ(Cli("radio tuning write --yes " + Path("saved.tun")), 0) << err;
    EXPECT_EQ(Radio().Tuning()[0], 62);
    EXPECT_EQ(Radio().Tuning()[13], 7);
    const fs::path backups = dir / "Documents/Trevona/VRM-650T/tuning-backups";
    ASSERT_TRUE(fs::is_directory(backups)) << err;
    const fs::path kept = fs::directory_iterator(backups)->path();
    EXPECT_NE(err.find(kept.string()), std::string::npos) << "the message names the backup: " << err;
    TuningFile backup;
    ASSERT_TRUE(backup.Load(kept.string()).Ok());
    TuningValues v{};
    ASSERT_EQ(backup.GetValues(v), 0);
    EXPECT_EQ(v[0], 1) << "the backup holds what the radio held before";

    fs::remove_all(backups);
    ASSERT_EQ(Cli("radio tuning write --yes --no-backup " + Path("saved.tun")), 0) << err;
    EXPECT_FALSE(fs::exists(backups));
}

TEST_F(TuningCommands, RefusedFilesExitWithTheirCodeAndLeaveTheRadioAlone) {
    Install(SimulatedRadio{});
    std::array<std::uint8_t, kTuningFileSize> bytes = TuningFile::Build(TuningValues{}, TuningText{});
    bytes[32] = 'D';
    std::ofstream(Path("data.tun"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 112);
    EXPECT_EQ(Cli("radio tuning write --yes " + Path("data.tun")), cli::kExitInputRefused);
    bytes[32] = 'T';
    bytes[3] = '8';
    std::ofstream(Path("other.tun"), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), 112);
    EXPECT_EQ(Cli("tuning show " + Path("other.tun")), cli::kExitInputRefused);
    EXPECT_NE(err.find("VRM850T"), std::string::npos) << err;
    EXPECT_EQ(Cli("tuning show " + Path("missing.tun")), cli::kExitInputRefused);
    EXPECT_EQ(Cli("radio tuning write --yes " + Path("x.dat")), 64);
    const auto log = Radio().Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "tuning"), 0) << "no file, no radio";
}

TEST_F(TuningCommands, RestoreAndARadioWithoutReference) {
    SimulatedRadio radio;
    radio.ReferenceTuning().fill(20);
    radio.Tuning().fill(30);
    Install(radio);
    EXPECT_EQ(Cli("radio tuning restore"), cli::kExitCancelled) << "asked, and no terminal answers Cancel";
    EXPECT_EQ(Radio().Tuning()[0], 30);
    EXPECT_EQ(Cli("radio tuning restore --yes --backup-dir " + Path("b")), cli::kExitNotWritten) << "no such folder";
    EXPECT_FALSE(fs::exists(Path("b")));
    EXPECT_EQ(Radio().Tuning()[0], 30);
    fs::create_directory(Path("b"));
    ASSERT_EQ(Cli("radio tuning restore --yes --backup-dir " + Path("b")), 0) << err;
    EXPECT_EQ(Radio().Tuning()[0], 20);
    EXPECT_TRUE(fs::is_directory(Path("b")));

    radio = Radio();
    radio.SetReferenceStored(false);
    Install(radio);
    EXPECT_EQ(Cli("radio tuning restore --yes --no-backup"), cli::kExitRadioFailed);
    EXPECT_NE(err.find("no reference tuning"), std::string::npos) << err;

    faults = "program-silent";
    EXPECT_EQ(Cli("radio tuning read -o " + Path("none.tun")), cli::kExitRadioFailed);
    EXPECT_FALSE(fs::exists(Path("none.tun")));
}

}  // namespace
}  // namespace vrm
