#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <ostream>
#include <utility>

namespace vrm::cli {

namespace {

constexpr const char* kProgram = "vrm650t-cli";

// What the words that only group commands do.
struct Group {
    const char* words;
    const char* summary;
};
constexpr Group kGroups[] = {
    {"radio", "talk to a radio through the programming cable"},
    {"radio tuning", "the radio's tuning values"},
    {"tuning", "tuning files"},
    {"sim", "the simulated radio"},
    {"lang", "language files"},
    {"channels", "channel lists as CSV"},
};

std::vector<std::string> Words(const std::string& name) {
    std::vector<std::string> words;
    for (std::size_t p = 0; p != std::string::npos;) {
        const std::size_t q = name.find(' ', p);
        words.push_back(name.substr(p, q == std::string::npos ? q : q - p));
        p = q == std::string::npos ? q : q + 1;
    }
    return words;
}

std::string GroupSummary(const std::string& words) {
    for (const Group& g : kGroups)
        if (words == g.words) return g.summary;
    return {};
}

CLI::App* Child(CLI::App& parent, const std::string& word) {
    for (CLI::App* sub : parent.get_subcommands(std::function<bool(CLI::App*)>{}))
        if (sub->get_name() == word) return sub;
    return nullptr;
}

// One command's place in the parser, with its options.
struct Leaf {
    const Command* command = nullptr;
    CLI::App* app = nullptr;
    std::vector<std::pair<const OptionSpec*, CLI::Option*>> options;
    CLI::Option* json = nullptr;
};

CLI::Option* AddSwitch(CLI::App& app, const std::string& names, const std::string& help) {
    return app.add_flag(names, help);
}

CLI::Option* AddOption(CLI::App& app, const OptionSpec& o) {
    using Kind = OptionSpec::Kind;
    switch (o.kind) {
        case Kind::kSwitch: return AddSwitch(app, o.names, o.help);
        case Kind::kValue:
        case Kind::kRepeated: {
            CLI::Option* opt = app.add_option(o.names, o.help);
            opt->type_name(o.valueName)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
            // A value may begin with '-' only in the "--name=-value" spelling.
            return opt;
        }
        case Kind::kOperand: return app.add_option(o.names, o.help)->type_name("");
        case Kind::kOperands:
            return app.add_option(o.names, o.help)
                ->type_name("")
                ->expected(0, CLI::detail::expected_max_vector_size)
                ->allow_extra_args();
    }
    return nullptr;
}

struct Parser {
    CLI::App app{"", kProgram};
    std::vector<Leaf> leaves;
    CLI::Option* lang = nullptr;
    CLI::Option* noEncryption = nullptr;

    Parser() {
        app.set_help_flag("-h,--help", "print this help and exit");
        app.set_version_flag("--version", std::string(kProgram) + " " + VRM_VERSION, "print the version and exit");
        lang = app.add_option("--lang", "language file, its display name or its code (de)")->type_name("LANGUAGE");
        noEncryption = AddSwitch(app, "--noencryption", "write data files without their encryption");
        // Subcommands are listed in the order they are added.
        std::vector<const Command*> sorted;
        for (const Command& c : Commands()) sorted.push_back(&c);
        std::sort(sorted.begin(), sorted.end(), [](const auto* a, const auto* b) { return std::string(a->name) < b->name; });
        for (const Command* c : sorted) Add(*c);
    }

    void Add(const Command& c) {
        CLI::App* at = &app;
        std::string path;
        for (const std::string& word : Words(c.name)) {
            path += (path.empty() ? "" : " ") + word;
            CLI::App* next = Child(*at, word);
            if (!next) next = at->add_subcommand(word, path == c.name ? c.summary : GroupSummary(path));
            at = next;
        }
        Leaf leaf{&c, at, {}, nullptr};
        for (const OptionSpec& o : c.options) leaf.options.emplace_back(&o, AddOption(*at, o));
        if (c.json) leaf.json = AddSwitch(*at, "--json", "print one JSON document");
        leaves.push_back(std::move(leaf));
    }

    // The deepest command word given.
    CLI::App* Chosen() {
        CLI::App* at = &app;
        for (auto subs = at->get_subcommands(); !subs.empty(); subs = at->get_subcommands()) at = subs.front();
        return at;
    }

    const Leaf* LeafOf(const CLI::App* a) const {
        for (const Leaf& l : leaves)
            if (l.app == a) return &l;
        return nullptr;
    }
};

ArgList Collect(const Leaf& leaf) {
    std::vector<ArgList::Parsed> parsed;
    for (const auto& [decl, opt] : leaf.options) {
        ArgList::Parsed p;
        p.operand = decl->kind == OptionSpec::Kind::kOperand || decl->kind == OptionSpec::Kind::kOperands;
        if (p.operand) {
            p.names.push_back(decl->names);
        } else {
            p.names = opt->get_lnames();
            for (std::string& n : p.names) n = "--" + n;
            for (const std::string& s : opt->get_snames()) p.names.push_back("-" + s);
        }
        p.count = opt->count();
        if (decl->kind != OptionSpec::Kind::kSwitch) p.values = opt->results();
        parsed.push_back(std::move(p));
    }
    return ArgList(std::move(parsed));
}

void PrintHint(std::ostream& err, const std::string& command) {
    err << "Run '" << kProgram << (command.empty() ? "" : " " + command) << " --help' for the usage.\n";
}

std::string CommandPath(const CLI::App* a) {
    std::string path;
    for (; a && a->get_parent(); a = a->get_parent()) path = a->get_name() + (path.empty() ? "" : " " + path);
    return path;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CommandLine line;
    if (!args.empty() && args.front() == "help") {
        PrintUsage(out);
        return line;
    }
    auto parser = std::make_unique<Parser>();
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        parser->app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        // The top's help goes down to the chosen command and names it whole.
        if (parser->Chosen() == &parser->app)
            PrintUsage(out);
        else
            out << parser->app.help();
        return line;
    } catch (const CLI::CallForVersion& e) {
        out << e.what() << "\n";
        return line;
    } catch (const CLI::ParseError& e) {
        const CLI::App* at = parser->Chosen();
        if (at == &parser->app && dynamic_cast<const CLI::ExtrasError*>(&e) && !args.front().starts_with("-"))
            err << kProgram << ": unknown command '" << args.front() << "'\n";
        else
            err << kProgram << ": " << e.what() << "\n";
        PrintHint(err, CommandPath(at));
        line.exitStatus = kUsageError;
        return line;
    }

    CLI::App* chosen = parser->Chosen();
    const Leaf* leaf = parser->LeafOf(chosen);
    if (!leaf) {
        // No command, or only the first words of one.
        if (chosen == &parser->app)
            PrintUsage(err);
        else
            err << parser->app.help();
        line.exitStatus = kUsageError;
        return line;
    }
    line.command = leaf->command;
    line.args = Collect(*leaf);
    line.json = leaf->json && leaf->json->count() > 0;
    if (parser->lang->count() > 0) line.language = parser->lang->results().back();
    line.noEncryption = parser->noEncryption->count() > 0;
    return line;
}

void PrintUsage(std::ostream& os) {
    os << "usage: " << kProgram << " [--lang LANGUAGE] [--noencryption] COMMAND [ARGS]\n"
       << "       " << kProgram << " --version\n"
       << "       " << kProgram << " COMMAND --help\n\ncommands:\n";
    std::vector<Command> commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return std::string(a.name) < b.name; });
    for (const auto& c : commands) os << "  " << UsageLine(c) << "\n      " << c.summary << "\n";
}

}  // namespace vrm::cli
