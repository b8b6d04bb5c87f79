// vrm650t-cli entry point: global options, then the command.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "text/language_table.h"
#include "text/prompter.h"
#include "cli/cli.h"

namespace {

std::string ProgramFolder() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// The language loader's messages go to stderr.
class StderrPrompter : public vrm::Prompter {
public:
    vrm::Answer Ask(const vrm::Message& message) override {
        std::cerr << message.text << "\n";
        return vrm::Answer::Ok;
    }
    vrm::PasswordResult AskPassword(vrm::PasswordGate&) override { return vrm::PasswordResult::Cancelled; }
};

// Commands that name their own language file and so run without a usable
// default one.
bool OwnsLanguageFile(const std::string& command) { return command == "lang check" || command == "lang text"; }

void PrintUsage(std::ostream& os) {
    os << "usage: vrm650t-cli [--lang FILE] [--noencryption] COMMAND [ARGS]\n\ncommands:\n";
    std::vector<vrm::cli::Command> commands = vrm::cli::Commands();
    std::sort(commands.begin(), commands.end(),
              [](const auto& a, const auto& b) { return std::string(a.name) < b.name; });
    for (const auto& c : commands) os << "  " << c.usage << "\n      " << c.summary << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);

    // Global options come before the command.
    bool noEncryption = false;
    std::string langFile;
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--noencryption") {
            noEncryption = true;
        } else if (a == "--lang" && i + 1 < args.size()) {
            langFile = args[++i];
        } else if (a.rfind("--lang=", 0) == 0) {
            langFile = a.substr(7);
        } else if (a == "-h" || a == "--help" || a == "help") {
            PrintUsage(std::cout);
            return 0;
        } else {
            break;
        }
    }
    if (i >= args.size()) {
        PrintUsage(std::cerr);
        return vrm::cli::kUsageError;
    }

    // The longest registered command name that the words match ("lang check"
    // before "lang").
    const vrm::cli::Command* best = nullptr;
    std::size_t bestWords = 0;
    for (const auto& c : vrm::cli::Commands()) {
        std::vector<std::string> words;
        std::string name = c.name;
        for (std::size_t p = 0; p != std::string::npos;) {
            const std::size_t q = name.find(' ', p);
            words.push_back(name.substr(p, q == std::string::npos ? q : q - p));
            p = q == std::string::npos ? q : q + 1;
        }
        if (i + words.size() > args.size()) continue;
        if (!std::equal(words.begin(), words.end(), args.begin() + static_cast<long>(i))) continue;
        if (words.size() > bestWords) {
            best = &c;
            bestWords = words.size();
        }
    }
    if (!best) {
        std::cerr << "vrm650t-cli: unknown command '" << args[i] << "'\n\n";
        PrintUsage(std::cerr);
        return vrm::cli::kUsageError;
    }

    vrm::cli::Context ctx{
        vrm::cli::ArgList(std::vector<std::string>(args.begin() + static_cast<long>(i + bestWords), args.end())),
        std::cout, std::cerr, nullptr, ProgramFolder(), noEncryption};

    // As the program starts: the named file silently, then the English file
    // with its failure reported.
    static const char* const kDefaultLanguage = "vrm650t_en.lng";
    vrm::LanguageTable language;
    language.SetProgramFolder(ctx.programFolder);
    language.ResetSettings();
    const bool ownFile = OwnsLanguageFile(best->name);
    StderrPrompter prompter;
    bool loaded = language.Load(langFile.empty() ? kDefaultLanguage : langFile, false, nullptr);
    if (!loaded) loaded = language.Load(kDefaultLanguage, !ownFile, &prompter);
    if (!loaded && !ownFile) {
        // A file that names no column fails without a message of its own.
        if (language.LastError() == vrm::LanguageTable::kNoColumns)
            std::cerr << vrm::LanguageTable::kDamagedMessage << "\n";
        return 2;
    }
    if (loaded) ctx.language = &language;
    return best->run(ctx);
}
