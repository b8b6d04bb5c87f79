// vrm650t-cli export and import, run as a user runs them: the round trip
// through files, and the exit statuses of every way they end.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli_process.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using test::Cli;

std::string Load(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Save(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

struct TextCommands : testing::Test {
    fs::path dir;
    void SetUp() override {
        dir = fs::path(testing::TempDir()) / ("text_commands_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string P(const char* name) const { return (dir / name).string(); }
};

TEST_F(TextCommands, ExportImportRoundTripThroughFiles) {
    ASSERT_EQ(Cli({"new", "--model", "2", "-o", P("a.dat")}).status, 0);
    ASSERT_EQ(Cli({"set", P("a.dat"), "channel.2.encode=D047N", "features.tot=120"}).status, 0);

    const auto out = Cli({"export", P("a.dat")});
    ASSERT_EQ(out.status, 0) << out.err;
    EXPECT_EQ(out.out.rfind("model: 2", 0), 0u);
    EXPECT_NE(out.out.find("tot: 120"), std::string::npos);

    ASSERT_EQ(Cli({"export", P("a.dat"), "-o", P("a.yaml")}).status, 0);
    EXPECT_EQ(Load(dir / "a.yaml"), out.out);
    const auto in = Cli({"import", P("a.yaml"), "-o", P("b.dat")});
    ASSERT_EQ(in.status, 0) << in.err;
    // The same configuration: both files export the same text.
    EXPECT_EQ(Cli({"export", P("b.dat")}).out, out.out);
    EXPECT_EQ(Cli({"dump", P("b.dat")}).out, Cli({"dump", P("a.dat")}).out);

    // With a data-file password the file asks for it.
    ASSERT_EQ(Cli({"import", P("a.yaml"), "-o", P("c.dat"), "--data-password", "1234"}).status, 0);
    EXPECT_NE(Cli({"export", P("c.dat")}).status, 0);
    EXPECT_EQ(Cli({"export", "--password", "1234", P("c.dat")}).out, out.out);
}

TEST_F(TextCommands, ExitStatuses) {
    ASSERT_EQ(Cli({"new", "--model", "3", "-o", P("a.dat")}).status, 0);
    ASSERT_EQ(Cli({"export", P("a.dat"), "-o", P("a.yaml")}).status, 0);
    const std::string good = Load(dir / "a.yaml");

    // Wrong usage.
    EXPECT_EQ(Cli({"export"}).status, 64);
    EXPECT_EQ(Cli({"export", P("a.dat"), "-o"}).status, 64);
    EXPECT_EQ(Cli({"import", P("a.yaml")}).status, 64);
    EXPECT_EQ(Cli({"import", P("a.yaml"), "-o", P("x.dat"), "--nonsense"}).status, 64);

    // An input that cannot be read or is refused: 2, nothing written.
    EXPECT_EQ(Cli({"export", P("missing.dat")}).status, 2);
    EXPECT_EQ(Cli({"export", P("a.yaml")}).status, 2);
    Save(dir / "bad.yaml", good + "colour: red\n");
    const auto bad = Cli({"import", P("bad.yaml"), "-o", P("x.dat")});
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("colour"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(dir / "x.dat"));
    EXPECT_EQ(Cli({"import", P("a.dat"), "-o", P("x.dat")}).status, 2);

    // An existing output is replaced only with --yes; a folder never.
    Save(dir / "keep.dat", "mine");
    EXPECT_EQ(Cli({"import", P("a.yaml"), "-o", P("keep.dat")}).status, 3);
    EXPECT_EQ(Load(dir / "keep.dat"), "mine");
    EXPECT_EQ(Cli({"export", P("a.dat"), "-o", P("keep.dat")}).status, 3);
    EXPECT_EQ(Load(dir / "keep.dat"), "mine");
    EXPECT_EQ(Cli({"export", P("a.dat"), "-o", dir.string()}).status, 3);
    EXPECT_EQ(Cli({"export", P("a.dat"), "-o", P("keep.dat"), "--yes"}).status, 0);
    EXPECT_EQ(Load(dir / "keep.dat"), good);
    EXPECT_EQ(Cli({"import", P("a.yaml"), "-o", P("keep.dat"), "--yes"}).status, 0);
}

// A text with CR line ends (an old Mac editor's) imports as it reads with
// LF; a text left without a field is refused, never written as a blank
// configuration; a value stored other than given is a note, and --strict
// refuses it.
TEST_F(TextCommands, LineEndsEmptyTextsAndValuesStoredOtherThanGiven) {
    ASSERT_EQ(Cli({"new", "--model", "2", "-o", P("a.dat")}).status, 0);
    ASSERT_EQ(Cli({"set", P("a.dat"), "features.tot=120"}).status, 0);
    std::string text = Cli({"export", P("a.dat")}).out;
    std::string cr = text;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    Save(dir / "cr.yaml", cr);
    const auto in = Cli({"import", P("cr.yaml"), "-o", P("cr.dat")});
    ASSERT_EQ(in.status, 0) << in.err;
    EXPECT_EQ(in.err, "");
    EXPECT_EQ(Cli({"dump", P("cr.dat")}).out, Cli({"dump", P("a.dat")}).out);

    Save(dir / "empty.yaml", text.substr(0, text.find("fields:")));
    const auto empty = Cli({"import", P("empty.yaml"), "-o", P("empty.dat")});
    EXPECT_EQ(empty.status, 2);
    EXPECT_NE(empty.err.find("no field"), std::string::npos) << empty.err;
    EXPECT_FALSE(fs::exists(dir / "empty.dat"));

    text.replace(text.find("squelch: 2"), 10, "squelch: 120");
    Save(dir / "edited.yaml", text);
    const std::string note = R"(features.squelch: "120" was given, "5" is stored.)";
    const auto strict = Cli({"import", "--strict", P("edited.yaml"), "-o", P("strict.dat")});
    EXPECT_EQ(strict.status, 4);
    EXPECT_NE(strict.err.find(note), std::string::npos) << strict.err;
    EXPECT_FALSE(fs::exists(dir / "strict.dat"));
    const auto taken = Cli({"import", P("edited.yaml"), "-o", P("taken.dat")});
    EXPECT_EQ(taken.status, 0);
    EXPECT_EQ(taken.err, note + "\n");
}

}  // namespace
}  // namespace vrm
