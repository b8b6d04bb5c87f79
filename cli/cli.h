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

#include "cli/exit_status.h"
#include "core/base/text_format.h"

namespace vrm {
class LanguageTable;
struct DataFileSecurity;
}

namespace vrm::cli {

// One option or operand a command declares. The parser (CLI11) is built from
// these declarations, so `COMMAND --help`, the usage lines of `--help`, the
// shell completion and the man page test all read the same list.
struct OptionSpec {
    enum class Kind {
        kSwitch,    // "--yes": present or not
        kValue,     // "--model N": one value; the last one counts when repeated
        kRepeated,  // "--byte ADDR=HEX": every value, in order
        kOperand,   // "FILE": one word that is not an option
        kOperands,  // "KEY...": any number of words
    };
    Kind kind;
    const char* names;  // "-o,--output" for options, the shown name for operands
    const char* valueName;  // "FILE", "N"; options with a value only
    const char* help;
    // Shown without brackets in the usage line. The command itself checks that
    // it is there, so that the message is the language file's.
    bool required = false;
};

inline OptionSpec Switch(const char* names, const char* help) {
    return {OptionSpec::Kind::kSwitch, names, nullptr, help};
}
inline OptionSpec Valued(const char* names, const char* valueName, const char* help, bool required = false) {
    return {OptionSpec::Kind::kValue, names, valueName, help, required};
}
inline OptionSpec Repeated(const char* names, const char* valueName, const char* help) {
    return {OptionSpec::Kind::kRepeated, names, valueName, help};
}
inline OptionSpec Operand(const char* name, const char* help, bool required = true) {
    return {OptionSpec::Kind::kOperand, name, nullptr, help, required};
}
inline OptionSpec Operands(const char* name, const char* help, bool required = true) {
    return {OptionSpec::Kind::kOperands, name, nullptr, help, required};
}

// The parsed arguments of one command, looked up by any of an option's names.
// Asking for a name the command did not declare is a programming error and
// throws std::logic_error.
class ArgList {
public:
    struct Parsed {
        std::vector<std::string> names;   // "-o", "--output"; an operand's shown name
        std::vector<std::string> values;  // in the order given
        std::size_t count = 0;            // how often the option was given
        bool operand = false;
    };

    ArgList() = default;
    explicit ArgList(std::vector<Parsed> parsed) : parsed_(std::move(parsed)) {}

    // True when the switch was given.
    bool Flag(const std::string& name) const;
    // The value of an option (the last one when given more than once).
    std::optional<std::string> Value(const std::string& name) const;
    // Every value of an option given more than once, in order.
    std::vector<std::string> Values(const std::string& name) const;
    // The operands, in the order of the command's declaration.
    std::vector<std::string> Positionals() const;

private:
    const Parsed& Find(const std::string& name) const;
    std::vector<Parsed> parsed_;
};

struct Context {
    ArgList args;                 // the command's own arguments
    std::ostream& out;
    std::ostream& err;
    vrm::LanguageTable* language = nullptr;  // loaded language file (null when none)
    std::string programFolder;   // folder of the vrm650t-cli executable, with trailing '/'
    bool noEncryption = false;   // global --noencryption
    bool json = false;           // --json: one JSON document on stdout

    // The text of a text ID from the language file.
    std::string Text(std::uint32_t id) const;
};

using CommandFunction = int (*)(Context&);

struct Command {
    const char* name;     // "new", "lang check", "radio read", ...
    const char* summary;  // one line for --help
    CommandFunction run;
    std::vector<OptionSpec> options;
    // Whether `--json` is offered: the command then prints one JSON document.
    bool json = false;
};

// "new --model N [--band WORD] -o FILE": the command's usage line.
std::string UsageLine(const Command& command);

// Adds a command to the table main() dispatches on.
bool RegisterCommand(const Command& command);
const std::vector<Command>& Commands();


// Texts the command line shows use "." whatever the locale, so that scripts
// read the same listing everywhere.
inline constexpr const char* kSeparator = ".";

// The loaded language table, or an empty one.
const vrm::LanguageTable& Language(const Context& ctx);
// A text of the language file with its placeholders filled.
std::string Format(const Context& ctx, std::uint32_t id, std::initializer_list<vrm::FormatArg> args);
// Takes a "--data-password DIGITS" value (one to six digits) into `security`,
// switching the data-file password on; false, with a message, when it is not
// one. Without the option `security` is left as it is.
bool DataPasswordOption(Context& ctx, const std::optional<std::string>& value, vrm::DataFileSecurity& security);

// The radio commands' cable choice.
#define VRM_CLI_CABLE_OPTION \
    ::vrm::cli::Valued("--cable", "ID", "the cable to use: its port path or serial number (radio list shows them)")
// The --cable value ("" when not given: the first cable found).
std::string CableOption(const Context& ctx);

}  // namespace vrm::cli

#define VRM_CLI_CONCAT2(a, b) a##b
#define VRM_CLI_CONCAT(a, b) VRM_CLI_CONCAT2(a, b)
#define VRM_CLI_COMMAND(...) \
    static const bool VRM_CLI_CONCAT(vrm_cli_registered_, __LINE__) = ::vrm::cli::RegisterCommand({__VA_ARGS__})
