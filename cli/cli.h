// vrm650t-cli: the command-line front end on the same core as the program.
//
// Each command lives in its own source file and registers itself with
// VRM_CLI_COMMAND; main() parses the global options, loads the language file
// and dispatches.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "text/text_format.h"

namespace vrm {
class LanguageTable;
struct DataFileSecurity;
}

namespace vrm::cli {

// The arguments of one command, with the usual "--name value" and
// "--name=value" spellings.
class ArgList {
public:
    explicit ArgList(std::vector<std::string> args) : args_(std::move(args)), used_(args_.size(), false) {}

    // True when the flag is present (it is then consumed).
    bool Flag(const std::string& name);
    // The value of an option, consumed; nullopt when absent. `missingValue` is
    // set when the option is present without a value.
    std::optional<std::string> Value(const std::string& name, bool* missingValue = nullptr);
    // Every value of an option given more than once, in order, consumed.
    std::vector<std::string> Values(const std::string& name, bool* missingValue = nullptr);
    // Arguments that are not options, in order (call after the options).
    std::vector<std::string> Positionals();
    // Options nobody consumed ("--foo"), for an error message.
    std::vector<std::string> UnknownOptions() const;

private:
    std::vector<std::string> args_;
    std::vector<bool> used_;
};

struct Context {
    ArgList args;                 // the command's own arguments
    std::ostream& out;
    std::ostream& err;
    vrm::LanguageTable* language = nullptr;  // loaded language file (null when none)
    std::string programFolder;   // folder of the vrm650t-cli executable, with trailing '/'
    bool noEncryption = false;   // global --noencryption

    // The text of a text ID from the language file.
    std::string Text(std::uint32_t id) const;
};

using CommandFunction = int (*)(Context&);

struct Command {
    const char* name;     // "new", "lang check", "radio read", ...
    const char* usage;    // "new --model N [--band WORD] -o FILE"
    const char* summary;  // one line for --help
    CommandFunction run;
};

// Adds a command to the table main() dispatches on.
bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

// Exit status for wrong usage.
inline constexpr int kUsageError = 64;

// Texts the command line shows use "." whatever the locale, so that scripts
// read the same listing everywhere.
inline constexpr const char* kSeparator = ".";

// The loaded language table, or an empty one.
const vrm::LanguageTable& Language(const Context& ctx);
// A text of the language file with its placeholders filled.
std::string Format(const Context& ctx, std::uint32_t id, std::initializer_list<vrm::FormatArg> args);
// Refuses options nobody consumed, with a message; true when there were none.
bool NoUnknownOptions(Context& ctx);
// Takes a "--data-password DIGITS" value (one to six digits) into `security`,
// switching the data-file password on; false, with a message, when it is not
// one. Without the option `security` is left as it is.
bool DataPasswordOption(Context& ctx, const std::optional<std::string>& value, vrm::DataFileSecurity& security);

}  // namespace vrm::cli

#define VRM_CLI_CONCAT2(a, b) a##b
#define VRM_CLI_CONCAT(a, b) VRM_CLI_CONCAT2(a, b)
#define VRM_CLI_COMMAND(...) \
    static const bool VRM_CLI_CONCAT(vrm_cli_registered_, __LINE__) = ::vrm::cli::RegisterCommand({__VA_ARGS__})
