// The command line's conventions: the version, each command's own help, JSON
// answers that parse, --lang by code, and the shell completion.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli_process.h"

namespace vrm::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("vrm_cmdline_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        file_ = (dir_ / "plan.dat").string();
        ASSERT_EQ(Cli({"new", "--model", "3", "-o", file_}).status, 0);
        ASSERT_EQ(Cli({"set", file_, "channel.1.rx=462.5625", "channel.1.power=low"}).status, 0);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // What bash completes for the words typed (the last one being completed).
    std::string Complete(const std::string& words) const {
        const fs::path script = dir_ / "complete.sh";
        std::ofstream(script) << "source " << VRM_SOURCE_DIR << "/dist/vrm650t-cli.bash-completion\n"
                              << "COMP_WORDS=(" << kCli << " " << words << ")\n"
                              << "COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n_vrm650t_cli\n"
                              << "printf '%s\\n' \"${COMPREPLY[@]}\"\n";
        std::string out;
        if (FILE* p = ::popen(("bash " + script.string()).c_str(), "r")) {
            char buf[4096];
            for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
            ::pclose(p);
        }
        return out;
    }

    fs::path dir_;
    std::string file_;
};

TEST_F(CommandLine, VersionAndEveryCommandsOwnHelp) {
    const CliRun version = Cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vrm650t-cli ", 0), 0u) << version.out;

    const CliRun help = Cli({"--help"});
    std::istringstream in(help.out);
    int commands = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  ", 0) != 0 || line.rfind("   ", 0) == 0) continue;
        std::vector<std::string> args;
        std::istringstream words(line);
        for (std::string w; words >> w && w[0] >= 'a' && w[0] <= 'z' && w.find_first_of("=.,|") == std::string::npos;)
            args.push_back(w);
        std::string name;
        for (const auto& a : args) name += (name.empty() ? "" : " ") + a;
        args.push_back("--help");
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_NE(r.out.find("Usage: vrm650t-cli " + name), std::string::npos) << r.out;
        ++commands;
    }
    EXPECT_GE(commands, 20);
    EXPECT_EQ(Cli({"radio"}).status, cli::kUsageError) << "a group's words alone are no command";
    EXPECT_EQ(Cli({"show", "--frob", file_}).status, cli::kUsageError);
}

TEST_F(CommandLine, JsonAnswersCarryWhatTheTextSays) {
    const CliRun get = Cli({"get", "--json", file_, "channel.1.rx", "channel.1.power"});
    ASSERT_EQ(get.status, 0) << get.err;
    const json g = json::parse(get.out);
    EXPECT_EQ(g["fields"]["channel.1.rx"].get<std::string>() + "\n", Cli({"get", file_, "channel.1.rx"}).out);
    EXPECT_EQ(g["fields"]["channel.1.power"], "Low");

    const json f = json::parse(Cli({"fields", "--json", file_}).out);
    ASSERT_TRUE(f["fields"].is_array());
    bool found = false;
    for (const json& field : f["fields"])
        if (field["key"] == "channel.1.rx") found = field["shown"] == true && field["enabled"] == true;
    EXPECT_TRUE(found);

    // show: every section with its rows, the editors' rows with their keys.
    const json s = json::parse(Cli({"show", "--json", file_}).out);
    EXPECT_EQ(s["file"], file_);
    std::string power;
    for (const json& section : s["sections"])
        for (const json& row : section["rows"])
            if (row.value("key", "") == "channel.1.power") power = row["value"];
    EXPECT_EQ(power, "Low");

    const json c = json::parse(Cli({"check", "--json", file_}).out);
    EXPECT_EQ(c["valid"], true);
    EXPECT_EQ(c["result"], 0);
}

TEST_F(CommandLine, LanguageByCode) {
    const CliRun de = Cli({"--lang", "de", "new", "-o", file_});
    EXPECT_EQ(de.status, cli::kUsageError);
    const CliRun en = Cli({"new", "-o", file_});
    EXPECT_NE(de.err, en.err) << "the German text";
    EXPECT_EQ(Cli({"--lang", "Deutsch", "new", "-o", file_}).err, de.err);
    const CliRun none = Cli({"--lang", "xx", "new", "-o", file_});
    EXPECT_EQ(none.err, "vrm650t-cli: no usable language file or language 'xx'; using English.\n" + en.err);
}

TEST_F(CommandLine, CompletionKnowsCommandsOptionsAndFieldKeys) {
    EXPECT_EQ(Complete("radio tu"), "tuning\n");
    EXPECT_NE(Complete("show --").find("--json\n"), std::string::npos);
    EXPECT_EQ(Complete("set " + file_ + " channel.1.r"), "channel.1.rx=\n");
    EXPECT_EQ(Complete("get --password 1 " + file_ + " channel.16.sc"), "channel.16.scan_add\n");
    EXPECT_EQ(Complete("sta"), "station\n");
    EXPECT_NE(Complete("station write --cables all --pl").find("--plan-default\n"), std::string::npos);
    EXPECT_NE(Complete("radio read --cable 1-2 --").find("--yes\n"), std::string::npos) << "--cable takes a value";
}

}  // namespace
}  // namespace vrm::test
