// vrm650t-cli entry point: the command line, the language file, the command.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/command_line.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"

namespace {

constexpr const char* kDefaultLanguage = "vrm650t_en.lng";

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

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The installed language file that `wanted` names by its display name
// ("Deutsch") or its code ("de", the part of the file name after the last
// '_'); empty when none does.
std::string InstalledFileFor(const std::string& wanted, const std::string& programFolder) {
    vrm::LanguageTable scan;
    if (scan.ScanInstalledLanguages(programFolder) < 0) return {};
    const std::string w = Lower(wanted);
    for (const vrm::InstalledLanguage& l : scan.InstalledLanguages()) {
        const std::string file = Lower(l.fileName);
        const auto underscore = file.rfind('_');
        const auto dot = file.rfind(".lng");
        const std::string code =
            underscore != std::string::npos && dot != std::string::npos && dot > underscore
                ? file.substr(underscore + 1, dot - underscore - 1)
                : std::string();
        if (Lower(l.displayName) == w || code == w || file == w) return l.fileName;
    }
    return {};
}

// As the program starts: the language asked for, else English with a notice,
// else the failure of the English file. False when no language file could be
// loaded for a command that needs one.
bool LoadLanguage(vrm::LanguageTable& language, const std::string& wanted, bool ownFile, const std::string& folder) {
    StderrPrompter prompter;
    bool loaded = false;
    if (!wanted.empty()) {
        loaded = language.Load(wanted, false, nullptr);
        if (!loaded) {
            const std::string file = InstalledFileFor(wanted, folder);
            if (!file.empty()) loaded = language.Load(file, false, nullptr);
        }
        if (!loaded && !ownFile)
            std::cerr << "vrm650t-cli: no usable language file or language '" << wanted << "'; using English.\n";
    }
    if (!loaded) loaded = language.Load(kDefaultLanguage, !ownFile, &prompter);
    if (!loaded && !ownFile) {
        // A file that names no column fails without a message of its own.
        if (language.LastError() == vrm::LanguageTable::kNoColumns)
            std::cerr << vrm::LanguageTable::kDamagedMessage << "\n";
    }
    return loaded;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    vrm::cli::CommandLine line = vrm::cli::ParseCommandLine(args, std::cout, std::cerr);
    if (!line.command) return line.exitStatus;

    vrm::cli::Context ctx{std::move(line.args), std::cout, std::cerr, nullptr, ProgramFolder(), line.noEncryption,
                          line.json};
    vrm::LanguageTable language;
    language.SetProgramFolder(ctx.programFolder);
    language.ResetSettings();
    const bool ownFile = OwnsLanguageFile(line.command->name);
    const bool loaded = LoadLanguage(language, line.language, ownFile, ctx.programFolder);
    if (!loaded && !ownFile) return vrm::cli::kExitInputRefused;
    if (loaded) ctx.language = &language;
    return line.command->run(ctx);
}
