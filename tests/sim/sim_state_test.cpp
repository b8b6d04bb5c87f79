// The simulated radio's state file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sim/sim_state.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct TempDir {
    TempDir() {
        std::string t = (fs::temp_directory_path() / "vrm-sim-state-XXXXXX").string();
        path = ::mkdtemp(t.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

TEST(SimState, RoundTripsEverythingTheRadioKeeps) {
    SimulatedRadio radio;
    for (std::size_t i = 0; i < kImageSize; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(i * 13);
    radio.Identification()[40] = 0x99;
    radio.SetSerialNumber("ABC123");
    radio.Tuning()[13] = 7;
    radio.ReferenceTuning()[0] = 3;
    radio.SetReferenceStored(false);
    radio.SetVolume(6);
    radio.SetVcoWord(0x1234);
    radio.SetChecksumOverride(0x0AF3);
    radio.SetPointValue(0x32, 0x0102);  // a point of no tuning byte
    radio.AppendLog("write 0x060 16");
    radio.AppendLog("abort");

    SimulatedRadio copy;
    std::string error;
    ASSERT_TRUE(ParseSimState(FormatSimState(radio), copy, &error)) << error;
    EXPECT_EQ(copy.Memory(), radio.Memory());
    EXPECT_EQ(copy.Identification(), radio.Identification());
    EXPECT_EQ(copy.Information(), radio.Information());
    EXPECT_EQ(copy.Tuning(), radio.Tuning());
    EXPECT_EQ(copy.ReferenceTuning(), radio.ReferenceTuning());
    EXPECT_FALSE(copy.ReferenceStored());
    EXPECT_EQ(copy.Volume(), 6);
    EXPECT_EQ(copy.VcoWord(), 0x1234);
    EXPECT_EQ(copy.Checksum(), 0x0AF3);
    EXPECT_EQ(copy.PointValue(0x32), 0x0102);
    EXPECT_EQ(copy.Log(), radio.Log());
    EXPECT_EQ(FormatSimState(copy), FormatSimState(radio));
}

TEST(SimState, MissingKeysKeepDefaultsAndIdentificationSetsTheMemoryIdentity) {
    SimulatedRadio radio;
    std::string error;
    ASSERT_TRUE(ParseSimState("# only this\n"
                              "identification 4C4D582D37323038 FF FF FF FF FF FF FF FF"
                              " FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF\n"
                              "volume 2\r\n"
                              "point 30 0080\n",
                              radio, &error))
        << error;
    EXPECT_EQ(std::string(radio.Memory().begin(), radio.Memory().begin() + 8), "LMX-7208");
    EXPECT_EQ(radio.Volume(), 2);
    // An older file's line for a point that adjusts a tuning byte does not
    // change the byte.
    EXPECT_EQ(radio.Tuning(), SimulatedRadio().Tuning());
}

TEST(SimState, RefusesBadLinesByNumber) {
    const std::pair<const char*, const char*> cases[] = {
        {"format 2\n", "line 1"},
        {"\nvolume 8\n", "line 2"},
        {"memory 3F8 00000000000000000000000000000000\n", "line 1"},
        {"memory 000 0000\n", "line 1"},
        {"identification 00\n", "line 1"},
        {"point 99 0001\n", "line 1"},
        {"checksum 12345\n", "line 1"},
        {"colour blue\n", "unknown key"},
    };
    for (const auto& [text, expected] : cases) {
        SimulatedRadio radio;
        std::string error;
        EXPECT_FALSE(ParseSimState(text, radio, &error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
    }
}

TEST(SimState, CreatesAMissingFileButNoFolderAndReplacesAtomically) {
    TempDir dir;
    const std::string path = (dir.path / "sub" / "radio.state").string();
    SimulatedRadio radio;
    std::string error;
    EXPECT_FALSE(LoadOrCreateSimState(path, radio, &error)) << "a missing folder is not made";
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir.path / "sub"));
    fs::create_directory(dir.path / "sub");
    ASSERT_TRUE(LoadOrCreateSimState(path, radio, &error)) << error;
    ASSERT_TRUE(fs::exists(path));

    radio.Memory()[0x100] = 0x42;
    ASSERT_TRUE(SaveSimState(path, radio, &error)) << error;
    SimulatedRadio back;
    ASSERT_TRUE(LoadSimState(path, back, &error)) << error;
    EXPECT_EQ(back.Memory()[0x100], 0x42);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path / "sub"), fs::directory_iterator()), 1);
}

TEST(SimState, ABrokenFileIsNotOverwritten) {
    TempDir dir;
    const std::string path = (dir.path / "radio.state").string();
    {
        std::ofstream(path) << "volume nine\n";
    }
    SimulatedRadio radio;
    std::string error;
    EXPECT_FALSE(LoadOrCreateSimState(path, radio, &error));
    EXPECT_NE(error.find("line 1"), std::string::npos);
    std::ifstream in(path);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "volume nine\n");
}

TEST(SimState, AFailedSaveLeavesTheOldFile) {
    TempDir dir;
    SimulatedRadio radio;
    std::string error;
    EXPECT_FALSE(SaveSimState((dir.path / "missing-folder" / "radio.state").string(), radio, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace vrm
