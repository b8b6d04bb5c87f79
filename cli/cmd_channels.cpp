// vrm650t-cli channels export / channels import: a data file's channels as
// the channel CSV other radio programmers exchange, and a channel plan from
// such a CSV put onto a data file's channels through the channel editor's
// rules, with a report line for everything changed or not taken.
//
// Exit status: 0 done (an import may have report lines); 1 --strict refused
// an import with report lines; 2 the data file or the CSV cannot be read or
// is not one; 3 the output was not replaced (declined, refused or failed);
// 64 wrong usage.
#include <algorithm>
#include <cstring>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "core/fields/edit_session.h"
#include "core/exchange/channel_csv.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

struct Options {
    std::optional<std::string> password;
    std::optional<std::string> output;
    bool yes = false;
    bool strict = false;
    std::vector<std::string> files;
};

// The options of both commands and `count` file names; nothing, with a
// message, on wrong usage.
std::optional<Options> ParseOptions(Context& ctx, std::size_t count, bool withStrict) {
    Options o;
    PasswordOption(ctx, o.password);
    o.output = ctx.args.Value("-o");
    o.yes = ctx.args.Flag("--yes");
    if (withStrict) o.strict = ctx.args.Flag("--strict");
    o.files = ctx.args.Positionals();
    if (o.output && o.output->empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return std::nullopt;
    }
    if (o.files.size() != count) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return std::nullopt;
    }
    return o;
}

int RunExport(Context& ctx) {
    const std::optional<Options> o = ParseOptions(ctx, 1, false);
    if (!o) return kUsageError;
    if (o->output && !MayReplace(ctx, *o->output, o->yes)) return kExitNotWritten;
    Document doc(Language(ctx));
    if (ReadInto(ctx, {o->files.front(), o->password, false}, doc)) return kExitInputRefused;
    EditSession& session = doc.Session();
    session.SetDecimalSeparator(kSeparator);
    const std::string csv = ExportChannelCsv(session.Context());
    if (!o->output) {
        ctx.out << csv;
        return 0;
    }
    if (!WriteTextFile(ctx, *o->output, csv)) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kCsvWroteFile, {*o->output}) << "\n";
    return 0;
}

// The CSV's text; nothing, with the reason, when it cannot be read.
std::optional<std::string> ReadCsvFile(Context& ctx, const std::string& path) {
    std::string data;
    const FileOutcome r = ReadRegularFile(path, kChannelCsvMaxBytes, data);
    if (r.Ok()) return data;
    if (r.notRegular) ctx.err << Format(ctx, tid::kMsgNotRegularFile, {path}) << "\n";
    else if (r.tooLarge) ctx.err << Format(ctx, tid::kCsvFileTooLarge, {path}) << "\n";
    else ctx.err << Format(ctx, tid::kCsvFileUnreadable, {path, std::strerror(r.systemError)}) << "\n";
    return std::nullopt;
}

int RunImport(Context& ctx) {
    const std::optional<Options> o = ParseOptions(ctx, 2, true);
    if (!o) return kUsageError;
    const std::string& path = o->files[0];
    const std::string& csvPath = o->files[1];
    // FILE is the user's own file being edited: it is replaced without a
    // question. Another file named with -o is replaced only when allowed.
    const std::string target = o->output ? *o->output : path;
    if (o->output ? !MayReplace(ctx, target, o->yes) : ReportNotReplaceable(ctx, target)) return kExitNotWritten;
    Document doc(Language(ctx));
    if (ReadInto(ctx, {path, o->password, false}, doc)) return kExitInputRefused;
    const std::optional<std::string> csv = ReadCsvFile(ctx, csvPath);
    if (!csv) return kExitInputRefused;

    EditSession& session = doc.Session();
    session.SetDecimalSeparator(kSeparator);
    const ChannelCsvImport plan = PlanChannelImport(session.Context(), *csv);
    if (!plan.readable) {
        ctx.err << csvPath << ": " << plan.failure << "\n";
        return kExitInputRefused;
    }
    // The report is the command's answer: on stdout, one line a note.
    for (const ChannelCsvNote& note : plan.notes)
        ctx.out << TerminalSafe(ChannelCsvNoteText(session.Context(), note), false) << "\n";
    // --strict: a row the import changes or cannot take refuses it; the
    // lines about missing columns only say what was assumed.
    const auto rowNotes =
        std::count_if(plan.notes.begin(), plan.notes.end(), [](const ChannelCsvNote& n) { return !n.column; });
    if (o->strict && rowNotes > 0) {
        ctx.err << Format(ctx, tid::kCsvStrictRefused, {static_cast<int>(rowNotes)}) << "\n";
        return kExitValueRefused;
    }
    ApplyChannelImport(session, plan);
    // The file keeps the data-file password it was opened with.
    if (SaveDocument(ctx, doc, target) != 0) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kCsvImportSummary, {csvPath, plan.rows, plan.taken}) << "\n";
    ctx.out << Format(ctx, tid::kCliWroteFile, {target}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("channels export", "the channels of a data file as channel CSV (stdout without -o)", RunExport,
                {Valued("--password", "DIGITS", "FILE's data-file password"),
                 Valued("-o,--output", "OUT.csv", "write the CSV to OUT.csv instead of stdout"),
                 Switch("--yes", "replace an existing OUT.csv without asking"), Operand("FILE", "the data file")});
VRM_CLI_COMMAND("channels import", "put the rows of a channel CSV onto the channels of FILE (or OUT), with a report",
                RunImport,
                {Valued("--password", "DIGITS", "FILE's data-file password"),
                 Switch("--strict", "refuse the whole import when any row is reported"),
                 Valued("-o,--output", "OUT", "write OUT instead of replacing FILE"),
                 Switch("--yes", "replace an existing OUT without asking"), Operand("FILE", "the data file"),
                 Operand("IN.csv", "the channel CSV")});

}  // namespace vrm::cli
