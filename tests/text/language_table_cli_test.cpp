// vrm650t-cli's lang commands and its loading of the language file.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "language_table_test_util.h"

namespace vrm {
namespace {

using test::LangFileBuilder;
using test::TempFolder;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

CliRun Cli(const std::string& program, const std::vector<std::string>& args, const TempFolder& scratch) {
    std::string cmd = Quote(program);
    for (const auto& a : args) cmd += " " + Quote(a);
    cmd += " >" + Quote(scratch.File("out")) + " 2>" + Quote(scratch.File("err"));
    CliRun r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(scratch.File("out"));
    r.err = Slurp(scratch.File("err"));
    return r;
}

const std::string kCli = std::string(VRM_BIN_DIR) + "/vrm650t-cli";

TEST(LanguageCli, CheckReportsEachLoadResultWithItsStatus) {
    TempFolder f, scratch;
    const std::string good = f.Write("good.lng", LangFileBuilder{}.Build());
    LangFileBuilder missing;
    missing.leaveOutIds = {10000001, 10305501, 10305502, 10305503};
    const std::string miss = f.Write("missing.lng", missing.Build());
    LangFileBuilder header;
    header.leaveOutHeaderKeys = {"*AdHelpFile"};
    const std::string head = f.Write("header.lng", header.Build());
    LangFileBuilder quote;
    quote.extraRows = {"^#\"9100001,x"};
    const std::string quoted = f.Write("quote.lng", quote.Build());
    LangFileBuilder nocol;
    nocol.languageRow = "*Language";
    const std::string noColumns = f.Write("nocol.lng", nocol.Build());

    CliRun r = Cli(kCli, {"lang", "check", good}, scratch);
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("code: -1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("language: Testish\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("columns: 1 (test.lng)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("missing required: 0\n"), std::string::npos) << r.out;

    r = Cli(kCli, {"lang", "check", miss}, scratch);
    EXPECT_EQ(r.status, 13);
    EXPECT_NE(r.out.find("missing required: 4 (10000001, 10305501-10305503)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("message: Language file has been damaged.  Please install this software again.\n"),
              std::string::npos);

    EXPECT_EQ(Cli(kCli, {"lang", "check", head}, scratch).status, 11);
    EXPECT_EQ(Cli(kCli, {"lang", "check", quoted}, scratch).status, 15);
    EXPECT_EQ(Cli(kCli, {"lang", "check", noColumns}, scratch).status, 16);
    EXPECT_EQ(Cli(kCli, {"lang", "check", "/dev/null"}, scratch).status, 14);
    r = Cli(kCli, {"lang", "check", f.File("absent.lng")}, scratch);
    EXPECT_EQ(r.status, 10);
    EXPECT_NE(r.out.find("message: Can't read language file.  Please install this software again.\n"),
              std::string::npos);
    EXPECT_EQ(Cli(kCli, {"lang", "check"}, scratch).status, 64);
}

TEST(LanguageCli, TextPrintsOneText) {
    TempFolder f, scratch;
    LangFileBuilder b;
    b.texts[10000001] = "Program";
    b.extraRows = {"^#19100001,\"two, words\""};
    const std::string file = f.Write("t.lng", b.Build());
    CliRun r = Cli(kCli, {"lang", "text", file, "19100001"}, scratch);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "two, words\n");
    EXPECT_EQ(Cli(kCli, {"lang", "text", file, "0"}, scratch).out, "Program\n");
    r = Cli(kCli, {"lang", "text", file, "12345678"}, scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Cli(kCli, {"lang", "text", file, "12x"}, scratch).status, 64);
    EXPECT_EQ(Cli(kCli, {"lang", "text", file, "-1"}, scratch).status, 64);
    r = Cli(kCli, {"lang", "text", f.File("absent.lng"), "1"}, scratch);
    EXPECT_EQ(r.status, 10);
    EXPECT_EQ(r.err, "Can't read language file.  Please install this software again.\n");
}

// A copy of the program in a folder of its own, with the language files we give it.
struct Installed {
    TempFolder folder;
    std::string cli;
    Installed() {
        cli = folder.File("vrm650t-cli");
        std::filesystem::copy_file(kCli, cli);
    }
};

TEST(LanguageCli, TheDefaultFileBesideTheProgramAndItsFailure) {
    TempFolder scratch;
    Installed inst;
    // No language file: commands that need one stop with status 2 and the message.
    CliRun r = Cli(inst.cli, {"lang", "list"}, scratch);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Can't read language file.  Please install this software again.\n");
    // The lang check and lang text commands run all the same.
    LangFileBuilder elsewhere;
    elsewhere.texts[10007003] = "from elsewhere";
    const std::string other = scratch.Write("other.lng", elsewhere.Build());
    EXPECT_EQ(Cli(inst.cli, {"lang", "check", other}, scratch).status, 0);
    EXPECT_EQ(Cli(inst.cli, {"lang", "text", other, "10007003"}, scratch).out, "from elsewhere\n");

    // A damaged default file.
    LangFileBuilder damaged;
    damaged.leaveOutIds = {10007003};
    inst.folder.Write("vrm650t_en.lng", damaged.Build());
    r = Cli(inst.cli, {"lang", "list"}, scratch);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "Language file has been damaged.  Please install this software again.\n");
    EXPECT_EQ(Cli(inst.cli, {"lang", "check", other}, scratch).status, 0);

    // --lang names another file; a good default file beside the program
    // catches a --lang file that does not load.
    EXPECT_EQ(Cli(inst.cli, {"--lang", other, "lang", "list"}, scratch).status, 2);  // nothing valid installed
    LangFileBuilder en;
    en.languageRow = "*Language,vrm650t_en.lng";
    en.displayLanguage = "English";
    inst.folder.Write("vrm650t_en.lng", en.Build());
    LangFileBuilder de;
    de.languageRow = "*Language,vrm650t_de.lng";
    de.displayLanguage = "Deutsch";
    inst.folder.Write("vrm650t_de.lng", de.Build());
    r = Cli(inst.cli, {"--lang", "absent.lng", "lang", "list"}, scratch);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Deutsch\tvrm650t_de.lng\nEnglish\tvrm650t_en.lng\n");
    EXPECT_EQ(r.err, "vrm650t-cli: no usable language file or language 'absent.lng'; using English.\n");
    // A language by its code or its display name, in any case.
    for (const char* name : {"de", "DE", "deutsch", "vrm650t_de.lng"}) {
        r = Cli(inst.cli, {"--lang", name, "lang", "list"}, scratch);
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.err, "") << name;
    }
}

}  // namespace
}  // namespace vrm
