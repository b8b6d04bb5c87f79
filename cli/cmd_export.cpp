// vrm650t-cli export and import: a data file as YAML text and back.
//
// The text and its rules are the core's (editors/config_text.h): the export
// imports itself again before it is written, and an import goes through the
// editors' rules and refuses the whole text on any error.
#include <cerrno>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "editors/config_text.h"
#include "files/data_file.h"
#include "model/model_catalogue.h"
#include "model/radio_image.h"
#include "text/safe_file.h"
#include "text/text_ids.h"

namespace vrm::cli {

namespace {

// Exit statuses of these two commands.
constexpr int kInputRefused = 2;   // the input file unreadable, damaged or refused
constexpr int kNotReplaced = 3;    // the output file not replaced (refused, declined or failed)

std::optional<std::string> OutputOption(Context& ctx, bool& missing) {
    auto output = ctx.args.Value("-o", &missing);
    if (!output && !missing) output = ctx.args.Value("--output", &missing);
    return output;
}

int RunExport(Context& ctx) {
    std::optional<std::string> password;
    if (!PasswordOption(ctx, password)) return kUsageError;
    bool missing = false;
    const auto output = OutputOption(ctx, missing);
    const bool yes = ctx.args.Flag("--yes");
    const auto files = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;
    if (missing || (output && output->empty())) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (output && ReportNotReplaceable(ctx, *output)) return kNotReplaced;

    RadioImage image;
    ModelCatalogue catalogue(image);
    if (ReadInto(ctx, ReadRequest{files.front(), password, false}, image, catalogue) != 0) return kInputRefused;
    const ConfigTextExport text = ExportConfigText(image.Live(), Language(ctx));
    if (!text.ok) {
        ctx.err << files.front() << ": " << text.problem << "\n";
        return kInputRefused;
    }
    if (!output) {
        ctx.out << text.text;
        return 0;
    }
    if (!MayReplace(ctx, *output, yes)) return kNotReplaced;
    const FileOutcome written =
        ReplaceFile(*output, reinterpret_cast<const std::uint8_t*>(text.text.data()), text.text.size());
    if (!written.Ok() || written.writeFailed) {
        const int error = written.systemError ? written.systemError : EIO;
        ctx.err << Format(ctx, tid::kTextExportFailed, {*output, std::strerror(error)}) << "\n";
        return kNotReplaced;
    }
    ctx.out << Format(ctx, tid::kCliWroteFile, {*output}) << "\n";
    return 0;
}

int RunImport(Context& ctx) {
    bool missing = false;
    const auto output = OutputOption(ctx, missing);
    const auto dataPassword = ctx.args.Value("--data-password");
    const bool yes = ctx.args.Flag("--yes");
    const auto files = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (missing || !output || output->empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    DataFileSecurity security;
    if (!DataPasswordOption(ctx, dataPassword, security)) return kUsageError;
    if (ReportNotReplaceable(ctx, *output)) return kNotReplaced;

    const ConfigTextImport text = ImportConfigTextFile(files.front(), Language(ctx));
    if (!text.ok) {
        ctx.err << (text.line ? files.front() + ": " : std::string()) << text.problem << "\n";
        return kInputRefused;
    }
    // What the rules said about values they took (clamped, paired ...).
    for (const std::string& note : text.notes) ctx.err << note << "\n";

    RadioImage image;
    ModelCatalogue catalogue(image);
    image.Live() = text.image;
    catalogue.RecomputeBandLimits();
    if (!MayReplace(ctx, *output, yes)) return kNotReplaced;
    if (WriteImage(ctx, image, catalogue, *output, security) != 0) return kNotReplaced;
    ctx.out << Format(ctx, tid::kCliWroteFile, {*output}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("export", "export [--password DIGITS] FILE [-o OUT.yaml] [--yes]",
                "the whole configuration as YAML text (model, fields, other bytes); stdout without -o", RunExport);
VRM_CLI_COMMAND("import", "import IN.yaml -o FILE [--data-password DIGITS] [--yes]",
                "a data file from a YAML text export, every field through the editors' rules", RunImport);

}  // namespace vrm::cli
