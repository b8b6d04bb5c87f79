#include "core/document/app_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <unistd.h>

namespace vrm {
namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vrm-settings-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST(LastModel, RoundTripsAndUsesUpperCaseHex) {
    const ModelIdentity id = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFB, 0xFF, 5, 1, 0xFF, 0xFF, 0xFF, 0xFF};
    const std::string text = FormatLastModel(id);
    EXPECT_EQ(text, "50:48:52:56:2D:34:31:FF:FB:FF:05:01:FF:FF:FF:FF");
    ASSERT_TRUE(ParseLastModel(text));
    EXPECT_EQ(*ParseLastModel(text), id);
    // Lower case and single digits read as the C library's %02X reads them.
    const auto lower = ParseLastModel("50:48:52:56:2d:34:31:ff:fb:ff:5:1:ff:ff:ff:ff");
    ASSERT_TRUE(lower);
    EXPECT_EQ(*lower, id);
}

TEST(LastModel, NeedsAllSixteenNumbers) {
    EXPECT_FALSE(ParseLastModel(""));
    EXPECT_FALSE(ParseLastModel("50:48:52:56:2D:34:31:FF:FB:FF:05:01:FF:FF:FF"));   // 15
    EXPECT_FALSE(ParseLastModel("50:48:52:56:2D:34:31:FF:FB:FF:05:01:FF:FF:FF:"));  // empty 16th
    EXPECT_FALSE(ParseLastModel("50:48:52:56:2D:34:31:FF:FB:FF:05:01:FF:FF:FF:ZZ"));
    EXPECT_FALSE(ParseLastModel("50-48-52-56-2D-34-31-FF-FB-FF-05-01-FF-FF-FF-FF"));
    // A three-digit number stops the reading after two digits and misses the colon.
    EXPECT_FALSE(ParseLastModel("500:48:52:56:2D:34:31:FF:FB:FF:05:01:FF:FF:FF:FF"));
}

TEST(LastWinPos, TenNumbersParseNineDoNot) {
    const auto p = ParseLastWinPos("2:3:-1:-1:-8:-31:10:20:1034:788");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->flags, 2);
    EXPECT_EQ(p->showCommand, 3);
    EXPECT_EQ(p->minX, -1);
    EXPECT_EQ(p->maxY, -31);
    EXPECT_EQ(p->left, 10);
    EXPECT_EQ(p->bottom, 788);
    EXPECT_EQ(p->Width(), 1024);
    EXPECT_EQ(p->Height(), 768);
    EXPECT_EQ(FormatLastWinPos(*p), "2:3:-1:-1:-8:-31:10:20:1034:788");

    EXPECT_FALSE(ParseLastWinPos("2:3:-1:-1:-8:-31:10:20:1034"));
    EXPECT_FALSE(ParseLastWinPos(""));
    EXPECT_FALSE(ParseLastWinPos("2:3:-1:-1:-8:-31:10:20:1034:"));
    EXPECT_FALSE(ParseLastWinPos("a:3:-1:-1:-8:-31:10:20:1034:788"));
}

TEST(LastWinPos, ReadsNumbersAsPercentIDoes) {
    const auto p = ParseLastWinPos("0x2:+1: -1:010:0:0:0:0:0x10:99999999999");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->flags, 2);
    EXPECT_EQ(p->showCommand, 1);
    EXPECT_EQ(p->minX, -1);
    EXPECT_EQ(p->minY, 8);  // octal
    EXPECT_EQ(p->right, 16);
    EXPECT_EQ(p->bottom, 2147483647);  // saturates
}

TEST(LastWinPos, MinimisedWindowStoresTheShowCommandItRestoresTo) {
    WindowPlacement p;
    p.showCommand = WindowPlacement::kShowMinimized;
    p.flags = WindowPlacement::kRestoreToMaximized;
    EXPECT_EQ(PlacementToStore(p, true).showCommand, WindowPlacement::kShowMaximized);
    p.flags = 0;
    EXPECT_EQ(PlacementToStore(p, true).showCommand, WindowPlacement::kShowNormal);
    p.showCommand = WindowPlacement::kShowMaximized;
    EXPECT_EQ(PlacementToStore(p, false).showCommand, WindowPlacement::kShowMaximized);
}

TEST(Protect, RoundTripsEveryFlagAndPasswordLength) {
    const std::regex form("^[0-9A-F]{2}(:[0-9A-F]{2}){6}$");
    for (bool flag : {false, true}) {
        for (const char* password : {"", "1", "12345", "123456", "000000", "999999", "TRVMPW"}) {
            const std::string text = ScrambleProtect(flag, password);
            EXPECT_TRUE(std::regex_match(text, form)) << text;
            const auto value = UnscrambleProtect(text);
            ASSERT_TRUE(value) << text;
            EXPECT_EQ(value->programExecution, flag);
            EXPECT_EQ(value->password, password);
        }
    }
    // The password does not stand in the value in the clear.
    EXPECT_EQ(ScrambleProtect(true, "123456").find("31:32:33"), std::string::npos);
    // A longer password keeps its first six characters.
    EXPECT_EQ(UnscrambleProtect(ScrambleProtect(false, "1234567"))->password, "123456");
}

TEST(Protect, RefusesValuesItDidNotWrite) {
    EXPECT_FALSE(UnscrambleProtect(""));
    EXPECT_FALSE(UnscrambleProtect("00:00:00:00:00:00"));
    EXPECT_FALSE(UnscrambleProtect("00:00:00:00:00:00:00:00"));
    EXPECT_FALSE(UnscrambleProtect("GG:00:00:00:00:00:00"));
    // Flipping bits of a good value is caught far more often than not.
    const std::string good = ScrambleProtect(true, "123456");
    int refused = 0;
    for (std::size_t i = 0; i < good.size(); ++i) {
        if (good[i] == ':') continue;
        std::string bad = good;
        bad[i] = bad[i] == '0' ? '8' : '0';
        const auto value = UnscrambleProtect(bad);
        if (!value) ++refused;
        else EXPECT_FALSE(value->programExecution && value->password == "123456");
    }
    EXPECT_GT(refused, 0);
}

TEST(CommandLine, SwitchesIgnoreCase) {
    EXPECT_TRUE(ParseCommandLine({"noencryption"}).noEncryption);
    EXPECT_TRUE(ParseCommandLine({"NOENCRYPTION"}).noEncryption);
    EXPECT_TRUE(ParseCommandLine({"file.dat", "NoEncryption"}).noEncryption);
    EXPECT_FALSE(ParseCommandLine({"noencryption2", "-noencryption"}).noEncryption);
    EXPECT_TRUE(ParseCommandLine({"_DB"}).idMode);
    EXPECT_FALSE(ParseCommandLine({}).idMode);
}

TEST(Folders, DefaultDataFolderIsMadeBelowTheDocumentsFolder) {
    TempFolder documents;
    const std::string folder = DefaultDataFolder(documents.Path(), "/nonexistent/program");
    EXPECT_EQ(folder, documents.Path() + "/Trevona/VRM-650T/");
    EXPECT_TRUE(fs::is_directory(folder));
    // Calling it again finds the folders there.
    EXPECT_EQ(DefaultDataFolder(documents.Path() + "/", ""), folder);
}

TEST(Folders, AMissingDocumentsFolderInAnExistingHomeIsMade) {
    TempFolder home;
    const std::string folder = DefaultDataFolder(home.Path() + "/Documents", "/usr/lib/vrm650t");
    EXPECT_EQ(folder, home.Path() + "/Documents/Trevona/VRM-650T/");
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST(Folders, DocumentsFolderItselfWhenTheSubfoldersCannotBeMade) {
    TempFolder documents;
    // A plain file where the company folder should be.
    { std::FILE* f = std::fopen((documents.Path() + "/Trevona").c_str(), "w"); std::fclose(f); }
    EXPECT_EQ(DefaultDataFolder(documents.Path(), ""), documents.Path() + "/");
}

TEST(Folders, ProgramFolderWithDataWhenThereIsNoDocumentsFolder) {
    TempFolder program;
    EXPECT_EQ(DefaultDataFolder("", program.Path()), program.Path() + "/");
    fs::create_directory(program.Path() + "/DATA");
    EXPECT_EQ(DefaultDataFolder("/nonexistent/documents", program.Path()), program.Path() + "/DATA/");
}

TEST(Folders, DeletedLastFilePathFallsBackToTheDefaultFolder) {
    TempFolder base;
    const std::string last = base.Path() + "/radios";
    fs::create_directory(last);
    EXPECT_EQ(StartFolder(last, "/default/"), last + "/");
    fs::remove(last);
    EXPECT_EQ(StartFolder(last, "/default/"), "/default/");
    EXPECT_EQ(StartFolder("", "/default"), "/default/");
}

}  // namespace
}  // namespace vrm
