// The CLI's man page names every command the CLI knows, each with every
// option of its usage line in its own entry, and docs/cli.md lists the same
// commands, each with a synopsis naming every option. The commands come from
// the CLI's --help, so a command added later fails here until both are written.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_process.h"

namespace vrm::test {
namespace {

struct Usage {
    std::string command;               // "radio read"
    std::vector<std::string> options;  // "--data-password", "-o", ...
};

// The usage lines of --help: two blanks, the command's words, its options.
std::vector<Usage> UsagesFromHelp() {
    const CliRun help = Cli({"--help"});
    EXPECT_EQ(help.status, 0);
    std::vector<Usage> usages;
    std::istringstream in(help.out);
    const std::regex option(R"(--?[a-z][a-z-]*)");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("  ", 0) != 0 || line.rfind("   ", 0) == 0) continue;
        Usage u;
        std::istringstream words(line);
        for (std::string w; words >> w && std::regex_match(w, std::regex("[a-z][a-z0-9-]*"));)
            u.command += (u.command.empty() ? "" : " ") + w;
        for (std::sregex_iterator it(line.begin(), line.end(), option), end; it != end; ++it)
            if (it->position() == 0 || line[static_cast<std::size_t>(it->position()) - 1] != '-')
                u.options.push_back(it->str());
        usages.push_back(u);
    }
    return usages;
}

std::vector<std::string> SourceLines(const std::string& path) {
    std::ifstream in(std::string(VRM_SOURCE_DIR) + "/" + path);
    EXPECT_TRUE(in) << path;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// `option` stands in `text` as a word of its own ("-o" is not in "--output").
bool HasOption(const std::string& text, const std::string& option) {
    const auto wordChar = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-'; };
    for (std::size_t at = text.find(option); at != std::string::npos; at = text.find(option, at + 1)) {
        const std::size_t end = at + option.size();
        if ((at == 0 || !wordChar(text[at - 1])) && (end == text.size() || !wordChar(text[end]))) return true;
    }
    return false;
}

TEST(ManPage, EveryCliCommandAndOptionHasItsEntry) {
    const std::vector<Usage> usages = UsagesFromHelp();
    ASSERT_GE(usages.size(), 15u) << "the help lists the commands";
    const std::vector<std::string> lines = SourceLines("docs/man/vrm650t-cli.1.scd");
    ASSERT_FALSE(lines.empty());

    for (const Usage& u : usages) {
        SCOPED_TRACE(u.command);
        ASSERT_FALSE(u.command.empty());
        // The entry: a line starting with the bold command, then its indented description.
        std::size_t at = lines.size();
        for (std::size_t i = 0; i < lines.size() && at == lines.size(); ++i)
            if (lines[i].rfind("*" + u.command + "*", 0) == 0) at = i;
        ASSERT_LT(at, lines.size()) << "no entry for " << u.command;
        std::string entry = lines[at];
        for (std::size_t i = at + 1; i < lines.size() && !lines[i].empty() && lines[i][0] == '\t'; ++i)
            entry += "\n" + lines[i];
        for (const std::string& o : u.options)
            EXPECT_NE(entry.find(o), std::string::npos) << o << " is not in the entry of " << u.command;
    }
    // The options before the command and the exit statuses are there too.
    std::string page;
    for (const std::string& l : lines) page += l + "\n";
    for (const char* section : {"# GLOBAL OPTIONS", "*--lang*", "*--noencryption*", "# EXIT STATUS", "# ENVIRONMENT", "# FILES"})
        EXPECT_NE(page.find(section), std::string::npos) << section;
}

// docs/cli.md's "Commands" table lists exactly the commands of --help, and
// each command has a synopsis line ("    vrm650t-cli radio read ...") that
// names every option of its usage line.
TEST(CliManual, CommandListAndSynopsesAgreeWithHelp) {
    const std::vector<Usage> usages = UsagesFromHelp();
    ASSERT_GE(usages.size(), 15u) << "the help lists the commands";
    const std::vector<std::string> lines = SourceLines("docs/cli.md");
    ASSERT_FALSE(lines.empty());

    std::set<std::string> listed;
    bool inCommands = false;
    const std::regex row(R"(^\| \[?`([a-z][a-z -]*)`)");
    for (const std::string& line : lines) {
        if (line.rfind("## ", 0) == 0) inCommands = line == "## Commands";
        std::smatch m;
        if (inCommands && std::regex_search(line, m, row)) listed.insert(m[1]);
    }
    std::set<std::string> known;
    for (const Usage& u : usages) known.insert(u.command);
    EXPECT_EQ(listed, known) << "docs/cli.md's command table and --help differ";

    for (const Usage& u : usages) {
        SCOPED_TRACE(u.command);
        const std::string start = "    vrm650t-cli " + u.command;
        bool synopsis = false;
        for (const std::string& line : lines) {
            if (line.rfind(start, 0) != 0 || (line.size() > start.size() && line[start.size()] != ' ')) continue;
            bool all = true;
            for (const std::string& o : u.options) all = all && HasOption(line.substr(start.size()), o);
            synopsis = synopsis || all;
        }
        EXPECT_TRUE(synopsis) << "docs/cli.md has no synopsis of " << u.command << " with every option";
    }
}

}  // namespace
}  // namespace vrm::test
