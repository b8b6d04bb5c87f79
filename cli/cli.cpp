#include "cli/cli.h"

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/document/app_settings.h"
#include "core/files/data_file.h"

namespace vrm::cli {

namespace {
std::vector<Command>& Table() {
    static std::vector<Command> table;
    return table;
}

}  // namespace

bool RegisterCommand(const Command& command) {
    Table().push_back(command);
    return true;
}

const std::vector<Command>& Commands() { return Table(); }

std::string Context::Text(std::uint32_t id) const { return language ? language->TextString(id) : std::string(); }

std::string CableOption(const Context& ctx) { return ctx.args.Value("--cable").value_or(""); }

const ArgList::Parsed& ArgList::Find(const std::string& name) const {
    for (const Parsed& p : parsed_)
        if (std::find(p.names.begin(), p.names.end(), name) != p.names.end()) return p;
    throw std::logic_error("the command did not declare " + name);
}

bool ArgList::Flag(const std::string& name) const { return Find(name).count > 0; }

std::optional<std::string> ArgList::Value(const std::string& name) const {
    const Parsed& p = Find(name);
    if (p.values.empty()) return std::nullopt;
    return p.values.back();
}

std::vector<std::string> ArgList::Values(const std::string& name) const { return Find(name).values; }

std::vector<std::string> ArgList::Positionals() const {
    std::vector<std::string> out;
    for (const Parsed& p : parsed_)
        if (p.operand) out.insert(out.end(), p.values.begin(), p.values.end());
    return out;
}

std::string UsageLine(const Command& command) {
    std::string line = command.name;
    for (const OptionSpec& o : command.options) {
        std::string names = o.names;
        // The usage line names an option by its first spelling.
        const std::string first = names.substr(0, names.find(','));
        std::string word;
        switch (o.kind) {
            case OptionSpec::Kind::kSwitch: word = first; break;
            case OptionSpec::Kind::kValue:
            case OptionSpec::Kind::kRepeated: word = first + " " + o.valueName; break;
            case OptionSpec::Kind::kOperand: word = first; break;
            case OptionSpec::Kind::kOperands: word = first + "..."; break;
        }
        const bool bare = o.required && o.kind != OptionSpec::Kind::kSwitch;
        line += " " + (bare ? word : "[" + word + "]");
    }
    if (command.json) line += " [--json]";
    return line;
}

const LanguageTable& Language(const Context& ctx) {
    static const LanguageTable empty;
    return ctx.language ? *ctx.language : empty;
}

std::string Format(const Context& ctx, std::uint32_t id, std::initializer_list<FormatArg> args) {
    return FormatText(ctx.Text(id), args);
}

bool DataPasswordOption(Context& ctx, const std::optional<std::string>& value, DataFileSecurity& security) {
    if (!value) return true;
    if (!IsSecurityPassword(*value)) {
        ctx.err << ctx.Text(tid::kCliDataPasswordDigits) << "\n";
        return false;
    }
    security.password = *value;
    security.dataFile = true;
    return true;
}

}  // namespace vrm::cli
