// vrm650t-cli print: the print-out of a data file as text, HTML and PDF,
// without a display, and its refusals.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "cli_process.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using test::Cli;

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class PrintCommand : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vrm-print-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        data_ = (dir_ / "fleet.dat").string();
        ASSERT_EQ(Cli({"new", "--model", "3", "-o", data_}).status, 0);
        ASSERT_EQ(Cli({"set", "--yes", data_, "channel.16.rx=470.125", "message.line1=Depot <North>"}).status, 0);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Out(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string data_;
};

TEST_F(PrintCommand, WritesTextAndHtmlByTheOutputsEnding) {
    const auto run = Cli({"print", data_, "--lists", "channels,message", "-o", Out("p.txt")});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = Slurp(Out("p.txt"));
    EXPECT_NE(text.find("Channel Information\n-------------------\n"), std::string::npos);
    EXPECT_NE(text.find("16   470.12500"), std::string::npos) << text;
    EXPECT_NE(text.find("Depot <North>"), std::string::npos);
    EXPECT_EQ(text.find("Optional Features"), std::string::npos);  // not asked for

    ASSERT_EQ(Cli({"print", data_, "--format", "html", "-o", Out("p.out")}).status, 0);
    const std::string html = Slurp(Out("p.out"));
    EXPECT_NE(html.find("Depot &lt;North&gt;"), std::string::npos);
    EXPECT_NE(html.find("<h2>Optional Features</h2>"), std::string::npos);

    // German texts come with the language file.
    ASSERT_EQ(Cli({"--lang", "vrm650t_de.lng", "print", data_, "-o", Out("de.txt")}).status, 0);
    const std::string de = Slurp(Out("de.txt"));
    EXPECT_NE(de.find("Kanalinformation"), std::string::npos);
    // ... and German numbers and dates on paper.
    EXPECT_NE(de.find("16   470,12500"), std::string::npos) << de;
    EXPECT_TRUE(std::regex_search(de, std::regex("Gedruckt +[0-3][0-9]\\.[01][0-9]\\.20[0-9][0-9] [0-2][0-9]:[0-5][0-9]\n")))
        << de.substr(0, 400);
}

TEST_F(PrintCommand, RefusesWrongUsageAndKeepsAnExistingOutput) {
    auto run = Cli({"print", data_, "--lists", "channels,bogus", "-o", Out("p.txt")});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("bogus is not a list to print"), std::string::npos) << run.err;
    run = Cli({"print", data_, "--lists", "custom", "-o", Out("p.txt")});  // a typed-frequency model
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("This model has no list custom."), std::string::npos) << run.err;
    run = Cli({"print", data_, "-o", Out("p.doc")});
    EXPECT_EQ(run.status, 64);
    EXPECT_NE(run.err.find("not doc"), std::string::npos) << run.err;
    run = Cli({"print", data_, "--page", "a3", "-o", Out("p.pdf")});
    EXPECT_EQ(run.status, 64);
    EXPECT_FALSE(fs::exists(Out("p.pdf")));
    EXPECT_EQ(Cli({"print", data_}).status, 64);

    // An existing file is replaced only when the question is answered (--yes).
    { std::ofstream(Out("keep.txt")) << "mine"; }
    run = Cli({"print", data_, "-o", Out("keep.txt")});
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(Slurp(Out("keep.txt")), "mine");
    EXPECT_EQ(Cli({"print", data_, "--yes", "-o", Out("keep.txt")}).status, 0);
    EXPECT_NE(Slurp(Out("keep.txt")).find("Channel Information"), std::string::npos);
    // A file that is not a data file is refused with its reason.
    run = Cli({"print", Out("keep.txt"), "-o", Out("x.txt")});
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(fs::exists(Out("x.txt")));
}

#ifdef VRM_TEST_PDF
TEST_F(PrintCommand, WritesAPdfWithoutADisplay) {
    const std::string pdf = Out("p.pdf");
    std::string env = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const std::string cmd = env + test::kCli + " print " + data_ + " --page letter -o " + pdf + " >/dev/null 2>" + Out("err");
    ASSERT_EQ(std::system(cmd.c_str()), 0) << Slurp(Out("err"));
    EXPECT_EQ(Slurp(Out("err")), "");  // nothing about a missing display
    EXPECT_EQ(Slurp(pdf).substr(0, 5), "%PDF-");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + Out("p.txt")).c_str()), 0);
    const std::string text = Slurp(Out("p.txt"));
    EXPECT_NE(text.find("470.12500"), std::string::npos);
    EXPECT_NE(text.find("Depot <North>"), std::string::npos);
    EXPECT_NE(text.find("fleet.dat"), std::string::npos);
    EXPECT_NE(text.find("Page 1 of "), std::string::npos);
    ASSERT_EQ(std::system(("pdfinfo " + pdf + " > " + Out("info")).c_str()), 0);
    EXPECT_NE(Slurp(Out("info")).find("612 x 792 pts (letter)"), std::string::npos) << Slurp(Out("info"));
}
#endif

}  // namespace
}  // namespace vrm
