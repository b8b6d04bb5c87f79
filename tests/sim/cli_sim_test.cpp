// vrm650t-cli sim init|show|set, run as a user would.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/model/model_catalogue.h"
#include "cli/exit_status.h"
#include "sim/sim_state.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct SimCli : ::testing::Test {
    SimCli() {
        std::string t = (fs::temp_directory_path() / "vrm-simcli-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        state = (dir / "radio.state").string();
    }
    ~SimCli() override { fs::remove_all(dir); }

    // Runs the CLI; returns its exit status and keeps its standard output.
    int Run(const std::string& args) {
        const std::string cmd = std::string(VRM_BIN_DIR) + "/vrm650t-cli --lang " + VRM_SOURCE_DIR +
                                "/lang/vrm650t_en.lng " + args + " 2>" + (dir / "err").string();
        out.clear();
        FILE* p = ::popen(cmd.c_str(), "r");
        if (!p) return -1;
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        const int status = ::pclose(p);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string StateArg() const { return " --state " + state; }
    SimulatedRadio Radio() {
        SimulatedRadio radio;
        std::string error;
        EXPECT_TRUE(LoadSimState(state, radio, &error)) << error;
        return radio;
    }
    std::string FileText() {
        std::ifstream in(state);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    fs::path dir;
    std::string state;
    std::string out;
};

TEST_F(SimCli, InitCreatesADefaultRadioAndRefusesToReplaceOneWithoutForce) {
    ASSERT_EQ(Run("sim init" + StateArg()), 0);
    EXPECT_EQ(Radio().Identity(), ModelCatalogue::DefaultIdentity());
    ASSERT_EQ(Run("sim set" + StateArg() + " --serial 42"), 0);
    const std::string before = FileText();
    EXPECT_EQ(Run("sim init" + StateArg()), cli::kExitNotWritten);
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(Run("sim init --force" + StateArg()), 0);
    EXPECT_NE(FileText(), before);
}

TEST_F(SimCli, SetModelWritesTheCataloguesIdentityAndInformationTexts) {
    ASSERT_EQ(Run("sim init --model 2" + StateArg()), 0);
    SimulatedRadio radio = Radio();
    EXPECT_EQ(ModelCatalogue::FindModel(radio.Identity()), 2);
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(radio.Identity()));
    EXPECT_EQ(std::string(radio.Information().begin(), radio.Information().begin() + 6), "HRV-41");
    EXPECT_EQ(radio.Memory()[8], radio.Identity()[8]) << "the memory carries the identity too";

    EXPECT_EQ(Run("sim set --model 5" + StateArg()), 64);
    EXPECT_EQ(Run("sim set --model 1 --band 0x0105" + StateArg()), 64);
    EXPECT_EQ(ModelCatalogue::FindModel(Radio().Identity()), 2) << "a refused change leaves the radio";
}

TEST_F(SimCli, SetChangesSingleValuesAndRefusesBadOnes) {
    ASSERT_EQ(Run("sim init" + StateArg()), 0);
    ASSERT_EQ(Run("sim set --checksum 0x0AF3 --byte 0x3FF=0x12 --serial ABC --reference-stored 0" + StateArg()), 0);
    SimulatedRadio radio = Radio();
    EXPECT_EQ(radio.Checksum(), 0x0AF3);
    EXPECT_EQ(radio.Memory()[0x3FF], 0x12);
    EXPECT_EQ(std::string(radio.Information().begin() + 16, radio.Information().begin() + 19), "ABC");
    EXPECT_EQ(radio.Information()[19], 0xFF);
    EXPECT_FALSE(radio.ReferenceStored());

    const std::string before = FileText();
    for (const char* bad : {" --byte 0x400=1", " --byte 1=256", " --checksum 0x10000", " --serial 1234567890123",
                            " --identity 0102", " --reference-stored 2", " --frobnicate", ""}) {
        EXPECT_EQ(Run(std::string("sim set") + StateArg() + bad), 64) << bad;
    }
    EXPECT_EQ(FileText(), before);
    EXPECT_EQ(Run("sim show --state " + (dir / "none").string()), cli::kExitInputRefused);
    // A missing folder is not made.
    EXPECT_EQ(Run("sim init --state " + (dir / "no/such/x.state").string()), cli::kExitNotWritten);
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(SimCli, MemoryComesFromADataFileOrARawImage) {
    ASSERT_EQ(Run("sim init" + StateArg()), 0);
    const std::string dat = (dir / "radio.dat").string();
    ASSERT_EQ(Run("new --model 1 -o " + dat), 0);
    ASSERT_EQ(Run("sim set --memory " + dat + StateArg()), 0);
    const SimulatedRadio fromFile = Radio();
    ModelIdentity id{};
    std::copy_n(fromFile.Memory().begin(), id.size(), id.begin());
    EXPECT_EQ(ModelCatalogue::FindModel(id), 1) << "the data file's image, identity included";

    ImageBuffer raw;
    for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i);
    const std::string bin = (dir / "memory.bin").string();
    std::ofstream(bin, std::ios::binary).write(reinterpret_cast<const char*>(raw.data()), raw.size());
    ASSERT_EQ(Run("sim set --memory " + bin + StateArg()), 0);
    EXPECT_EQ(Radio().Memory(), raw);

    std::ofstream(dir / "junk.bin") << "not a radio";
    EXPECT_EQ(Run("sim set --memory " + (dir / "junk.bin").string() + StateArg()), cli::kExitInputRefused);
}

TEST_F(SimCli, ShowPrintsTheStateOrOnlyTheLog) {
    ASSERT_EQ(Run("sim init" + StateArg()), 0);
    SimulatedRadio radio = Radio();
    radio.AppendLog("write 0x060 16");
    radio.AppendLog("abort");
    std::string error;
    ASSERT_TRUE(SaveSimState(state, radio, &error)) << error;
    ASSERT_EQ(Run("sim show" + StateArg()), 0);
    EXPECT_EQ(out, FileText());
    ASSERT_EQ(Run("sim show --log" + StateArg()), 0);
    EXPECT_EQ(out, "write 0x060 16\nabort\n");
    ASSERT_EQ(Run("sim set --clear-log" + StateArg()), 0);
    ASSERT_EQ(Run("sim show --log" + StateArg()), 0);
    EXPECT_EQ(out, "");
}

TEST_F(SimCli, UnplugAndPlugTakeTheRadioOffItsCableAndPutItBack) {
    ASSERT_EQ(Run("sim unplug" + StateArg()), 0);
    EXPECT_TRUE(SimRadioUnplugged(state));
    ASSERT_EQ(Run("sim plug" + StateArg()), 0);
    EXPECT_FALSE(SimRadioUnplugged(state));
    EXPECT_EQ(Run("sim unplug --state " + (dir / "nowhere" / "r.state").string()), cli::kExitNotWritten);
}

}  // namespace
}  // namespace vrm
