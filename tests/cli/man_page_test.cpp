// The CLI's man page names every command the CLI knows, each with every
// option of its usage line in its own entry. The commands come from the CLI's
// --help, so a command added later fails here until its page entry is written.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
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

TEST(ManPage, EveryCliCommandAndOptionHasItsEntry) {
    const std::vector<Usage> usages = UsagesFromHelp();
    ASSERT_GE(usages.size(), 15u) << "the help lists the commands";
    std::ifstream in(std::string(VRM_SOURCE_DIR) + "/docs/man/vrm650t-cli.1.scd");
    ASSERT_TRUE(in);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);

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

}  // namespace
}  // namespace vrm::test
