// The command line of vrm650t-cli, parsed with CLI11 from the commands'
// declarations: the global options, the command's words, its options and
// operands.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace vrm::cli {

struct CommandLine {
    // Set when the command line asks for a command to run.
    const Command* command = nullptr;
    ArgList args;
    bool json = false;
    // The global options.
    std::string language;  // --lang: a file name, a display name or a code
    bool noEncryption = false;
    // Set when nothing is to run: the exit status, after help, the version or
    // a usage error has been printed.
    int exitStatus = kExitOk;
};

// Parses `args` (without the program name). Help and the version go to `out`,
// usage errors to `err`.
CommandLine ParseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The list of every command's usage line and summary that `--help` prints.
void PrintUsage(std::ostream& os);

}  // namespace vrm::cli
