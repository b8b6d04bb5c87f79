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
#include "core/exchange/config_text.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

int RunExport(Context& ctx) {
    std::optional<std::string> password;
    PasswordOption(ctx, password);
    const auto output = ctx.args.Value("-o");
    const bool yes = ctx.args.Flag("--yes");
    const auto files = ctx.args.Positionals();
    if (output && output->empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (output && ReportNotReplaceable(ctx, *output)) return kExitNotWritten;

    Document document(Language(ctx));
    if (ReadInto(ctx, ReadRequest{files.front(), password, false}, document) != 0) return kExitInputRefused;
    const ConfigTextExport text = ExportConfigText(document.Image().Live(), Language(ctx));
    if (!text.ok) {
        ctx.err << files.front() << ": " << text.problem << "\n";
        return kExitInputRefused;
    }
    if (!output) {
        ctx.out << text.text;
        return 0;
    }
    if (!MayReplace(ctx, *output, yes)) return kExitNotWritten;
    const FileOutcome written =
        ReplaceFile(*output, reinterpret_cast<const std::uint8_t*>(text.text.data()), text.text.size());
    if (!written.Ok() || written.writeFailed) {
        const int error = written.systemError ? written.systemError : EIO;
        ctx.err << Format(ctx, tid::kTextExportFailed, {*output, std::strerror(error)}) << "\n";
        return kExitNotWritten;
    }
    ctx.out << Format(ctx, tid::kCliWroteFile, {*output}) << "\n";
    return 0;
}

int RunImport(Context& ctx) {
    const bool yes = ctx.args.Flag("--yes");
    const bool strict = ctx.args.Flag("--strict");
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    int status = 0;
    const std::optional<NewFileOutput> output = NewFileOutputOptions(ctx, status);
    if (!output) return status;

    const ConfigTextImport text = ImportConfigTextFile(files.front(), Language(ctx));
    if (!text.ok) {
        ctx.err << (text.line ? files.front() + ": " : std::string()) << text.problem << "\n";
        return kExitInputRefused;
    }
    // What the rules said about values they took (clamped, paired ...), and
    // every value stored other than given.
    for (const std::string& note : text.notes) ctx.err << TerminalSafe(note, false) << "\n";
    if (strict && !text.notes.empty()) {
        ctx.err << Format(ctx, tid::kTextStrictRefused, {static_cast<int>(text.notes.size())}) << "\n";
        return kExitValueRefused;
    }

    Document document(Language(ctx));
    document.Replace(text.image);
    if (!MayReplace(ctx, output->path, yes)) return kExitNotWritten;
    if (SaveDocument(ctx, document, output->path, output->security) != 0) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kCliWroteFile, {output->path}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("export", "the whole configuration as YAML text (model, fields, other bytes); stdout without -o",
                RunExport,
                {Valued("--password", "DIGITS", "FILE's data-file password"), Operand("FILE", "the data file"),
                 Valued("-o,--output", "OUT.yaml", "write the text to OUT.yaml instead of stdout"),
                 Switch("--yes", "replace an existing OUT.yaml without asking")});
VRM_CLI_COMMAND("import", "a data file from a YAML text export, every field through the editors' rules", RunImport,
                {Operand("IN.yaml", "the text export"), Valued("-o,--output", "FILE", "the data file to write", true),
                 Valued("--data-password", "DIGITS", "protect FILE with this data-file password (1-6 digits)"),
                 Switch("--strict", "refuse the text when a value is stored other than given (a note about it)"),
                 Switch("--yes", "replace an existing FILE without asking")});

}  // namespace vrm::cli
