#include "cli/cli.h"

#include <ostream>

#include "text/language_table.h"
#include "text/text_ids.h"
#include "files/data_file.h"

#include "text/language_table.h"

namespace vrm::cli {

namespace {
std::vector<Command>& Table() {
    static std::vector<Command> table;
    return table;
}

bool Matches(const std::string& arg, const std::string& name) {
    return arg == name || (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
                           arg[name.size()] == '=');
}
}  // namespace

bool RegisterCommand(const Command& command) {
    Table().push_back(command);
    return true;
}

const std::vector<Command>& Commands() { return Table(); }

std::string Context::Text(std::uint32_t id) const { return language ? language->TextString(id) : std::string(); }

bool ArgList::Flag(const std::string& name) {
    bool found = false;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (!used_[i] && args_[i] == name) {
            used_[i] = true;
            found = true;
        }
    }
    return found;
}

std::vector<std::string> ArgList::Values(const std::string& name, bool* missingValue) {
    if (missingValue) *missingValue = false;
    std::vector<std::string> values;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (used_[i] || !Matches(args_[i], name)) continue;
        used_[i] = true;
        if (args_[i].size() > name.size()) {
            values.push_back(args_[i].substr(name.size() + 1));
        } else if (i + 1 < args_.size() && !used_[i + 1]) {
            used_[i + 1] = true;
            values.push_back(args_[i + 1]);
            ++i;
        } else if (missingValue) {
            *missingValue = true;
        }
    }
    return values;
}

std::optional<std::string> ArgList::Value(const std::string& name, bool* missingValue) {
    std::vector<std::string> values = Values(name, missingValue);
    if (values.empty()) return std::nullopt;
    return std::move(values.back());
}

std::vector<std::string> ArgList::Positionals() {
    std::vector<std::string> out;
    bool endOfOptions = false;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (used_[i]) continue;
        if (!endOfOptions && args_[i] == "--") {
            used_[i] = true;
            endOfOptions = true;
            continue;
        }
        if (!endOfOptions && args_[i].size() > 1 && args_[i][0] == '-') continue;
        used_[i] = true;
        out.push_back(args_[i]);
    }
    return out;
}

std::vector<std::string> ArgList::UnknownOptions() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < args_.size(); ++i) {
        if (!used_[i] && args_[i].size() > 1 && args_[i][0] == '-') out.push_back(args_[i]);
    }
    return out;
}

const LanguageTable& Language(const Context& ctx) {
    static const LanguageTable empty;
    return ctx.language ? *ctx.language : empty;
}

std::string Format(const Context& ctx, std::uint32_t id, std::initializer_list<FormatArg> args) {
    return FormatText(ctx.Text(id), args);
}

bool NoUnknownOptions(Context& ctx) {
    const auto unknown = ctx.args.UnknownOptions();
    if (unknown.empty()) return true;
    ctx.err << Format(ctx, tid::kCliUnknownOption, {unknown.front()}) << "\n";
    return false;
}

bool DataPasswordOption(Context& ctx, const std::optional<std::string>& value, DataFileSecurity& security) {
    if (!value) return true;
    const bool digits = !value->empty() && value->size() <= kDataFilePasswordSize &&
                        value->find_first_not_of("0123456789") == std::string::npos;
    if (!digits) {
        ctx.err << ctx.Text(tid::kCliDataPasswordDigits) << "\n";
        return false;
    }
    security.password = *value;
    security.dataFile = true;
    return true;
}

}  // namespace vrm::cli
