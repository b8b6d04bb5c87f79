// vrm650t-cli radio tuning read/write/restore and tuning show: the radio's
// tuning values and tuning files (*.tun) from the shell, with the transfers
// and the backups of the Tuning Data dialog.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "core/files/document.h"
#include "core/document/app_settings.h"
#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/json_output.h"
#include "cli/stop_signals.h"
#include "cli/terminal_prompter.h"
#include "core/files/tuning_file.h"
#include "core/link/transfer_gate.h"
#include "core/link/radio_info.h"
#include "core/link/tuning_transfer.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

int ExitStatus(const TuningResult& r) {
    switch (r.status) {
        case TuningStatus::kOk: return kExitOk;
        case TuningStatus::kModelRefused: return kExitModelMismatch;
        case TuningStatus::kCancelled: return kExitCancelled;
        case TuningStatus::kBackupFailed: return kExitNotWritten;
        case TuningStatus::kNoValues: return kExitInputRefused;
        case TuningStatus::kNoReference:
        default: return kExitRadioFailed;
    }
}

// Running texts on stderr, one line each; the progress of 16 is too short
// for a bar.
class LineObserver final : public TransferObserver {
public:
    explicit LineObserver(std::ostream& err) : err_(err) {}
    void OnWindowText(const std::string& text) override { err_ << text << "\n"; }

private:
    std::ostream& err_;
};

struct TuningSession {
    TuningSession(Context& ctx, bool yes)
        : transfers(TransferGate::OnCable(CableOption(ctx))), prompter(ctx.err, ctx.language), observer(ctx.err) {
        prompter.SetAssumeYes(yes);
        transfers.SetScrambling(!ctx.noEncryption);
    }
    // The context of the command's transfer, on a port of its own.
    TransferContext Transfer(const Context& ctx) {
        claim.reset();
        claim = transfers.Begin();
        return {claim->Port(), prompter, Language(ctx), observer};
    }

    TransferGate transfers;
    StopSignals stop{transfers};  // a signal ends the transfer at its next step
    std::unique_ptr<TransferGate::Claim> claim;
    TerminalPrompter prompter;
    LineObserver observer;
};

// The backups go to "tuning-backups" in the data folder, or where
// --backup-dir says; --no-backup keeps none.
std::optional<TuningBackupPlan> BackupPlan(Context& ctx) {
    const bool none = ctx.args.Flag("--no-backup");
    const auto dir = ctx.args.Value("--backup-dir");
    if (dir && dir->empty()) return std::nullopt;
    TuningBackupPlan plan;
    if (none) return plan;
    if (dir) {
        plan.folder = *dir;
        return plan;
    }
    std::string documents;
    if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg && *xdg) documents = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) documents = std::string(home) + "/Documents";
    plan.folder = DefaultDataFolder(documents, ctx.programFolder) + "tuning-backups";
    return plan;
}

void ReportFile(Context& ctx, const TuningFileResult& r, const std::string& path) {
    ctx.err << TuningFileMessage(Language(ctx), r, path) << "\n";
}

// ---------------------------------------------------------------------------
// radio tuning read

int RunRead(Context& ctx) {
    const auto output = ctx.args.Value("-o");
    const bool yes = ctx.args.Flag("--yes");
    if (!output || output->empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    const std::string path = TuningFile::WithTuningExtension(*output);
    if (ReportNotReplaceable(ctx, path)) return kExitNotWritten;
    TuningSession session(ctx, yes);
    if (NameExists(path) && !ConfirmOverwrite(session.prompter, Language(ctx), path)) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {path}) << "\n";
        return kExitNotWritten;
    }
    TuningSet set;
    const TuningResult r = ReadTuning(session.Transfer(ctx), set);
    if (!r.Ok()) return ExitStatus(r);
    TuningFile file;
    file.SetValues(set.values);
    file.SetText(set.information);
    const TuningFileResult w = file.Write(path);
    if (!w.Ok()) {
        ReportFile(ctx, w, path);
        return kExitNotWritten;
    }
    ctx.out << Format(ctx, tid::kCliTuningSaved, {path}) << "\n";
    return 0;
}

// ---------------------------------------------------------------------------
// radio tuning write

int RunWrite(Context& ctx) {
    const bool yes = ctx.args.Flag("--yes");
    const auto plan = BackupPlan(ctx);
    const auto files = ctx.args.Positionals();
    if (!plan) {
        ctx.err << Format(ctx, tid::kCliUnknownOption, {"--backup-dir"}) << "\n";
        return kUsageError;
    }
    if (const auto dir = ctx.args.Value("--backup-dir"); dir && ReportMissingFolder(ctx, *dir)) return kExitNotWritten;
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliTuningFileArgument) << "\n";
        return kUsageError;
    }
    const std::string& path = files.front();
    if (!TuningFile::HasTuningExtension(path)) {
        ctx.err << Format(ctx, tid::kCliTuningNotTun, {path}) << "\n";
        return kUsageError;
    }
    TuningFile file;
    const TuningFileResult loaded = file.Load(path);
    if (!loaded.Ok()) {
        ReportFile(ctx, loaded, path);
        return kExitInputRefused;
    }
    TuningSet set;
    (void)file.GetValues(set.values);
    set.information = file.Text();
    set.held = true;
    TuningSession session(ctx, yes);
    const TuningResult r = WriteTuning(session.Transfer(ctx), set, *plan);
    return ExitStatus(r);
}

// ---------------------------------------------------------------------------
// radio tuning restore

int RunRestore(Context& ctx) {
    const bool yes = ctx.args.Flag("--yes");
    const auto plan = BackupPlan(ctx);
    if (!plan) {
        ctx.err << Format(ctx, tid::kCliUnknownOption, {"--backup-dir"}) << "\n";
        return kUsageError;
    }
    if (const auto dir = ctx.args.Value("--backup-dir"); dir && ReportMissingFolder(ctx, *dir)) return kExitNotWritten;
    TuningSession session(ctx, yes);
    TuningSet set;
    const TuningResult r = RestoreTuning(session.Transfer(ctx), set, *plan);
    return ExitStatus(r);
}

// ---------------------------------------------------------------------------
// tuning show

int RunShow(Context& ctx) {
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliTuningFileArgument) << "\n";
        return kUsageError;
    }
    const std::string& path = files.front();
    TuningFile file;
    const TuningFileResult loaded = file.Load(path);
    if (!loaded.Ok()) {
        ReportFile(ctx, loaded, path);
        return kExitInputRefused;
    }
    TuningValues values{};
    (void)file.GetValues(values);
    const LanguageTable& language = Language(ctx);
    if (ctx.json) {
        Json rows = Json::array();
        for (const TuningRow& row : TuningRowTable())
            rows.push_back(Json{{"label", TuningRowLabel(language, row)},
                                {"value", TuningShownValue(values[static_cast<std::size_t>(row.offset)])}});
        PrintJson(ctx, Json{{"file", path},
                            {"values", std::move(rows)},
                            {"spare", {values[14], values[15]}},
                            {"information", TuningInformationText(file.Text())},
                            {"text", RadioText(file.Text().data(), file.Text().size())}});
        return 0;
    }
    const auto chars = [](const std::string& s) {
        std::size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    };
    std::size_t width = chars(ctx.Text(tid::kCliTuningInformation));
    for (const TuningRow& row : TuningRowTable()) width = std::max(width, chars(TuningRowLabel(language, row)));
    const auto line = [&](const std::string& label, const std::string& value) {
        ctx.out << label << std::string(width - chars(label) + 2, ' ') << value << "\n";
    };
    for (const TuningRow& row : TuningRowTable())
        line(TuningRowLabel(language, row), std::to_string(TuningShownValue(values[static_cast<std::size_t>(row.offset)])));
    line(ctx.Text(tid::kCliTuningSpare), FormatText("%.2X %.2X", {values[14], values[15]}));
    line(ctx.Text(tid::kCliTuningInformation), TuningInformationText(file.Text()));
    line(ctx.Text(tid::kCliTuningText), RadioText(file.Text().data(), file.Text().size()));
    return 0;
}

}  // namespace

#define VRM_TUNING_BACKUP_OPTIONS                                                        \
    Switch("--no-backup", "keep no copy of the radio's values first"),                  \
        Valued("--backup-dir", "DIR", "where the copy of the radio's values goes")

VRM_CLI_COMMAND("radio tuning read", "read the radio's tuning values and save them as a tuning file",
                [](Context& c) { return FinishStopped(c, RunRead(c)); },
                {Switch("--yes", "replace an existing FILE.tun without asking"),
                 Valued("-o,--output", "FILE.tun", "the tuning file to write", true), VRM_CLI_CABLE_OPTION});
VRM_CLI_COMMAND("radio tuning write", "write a tuning file's values into the radio, keeping the radio's values first",
                [](Context& c) { return FinishStopped(c, RunWrite(c)); },
                {Switch("--yes", "answer the questions with yes"), VRM_TUNING_BACKUP_OPTIONS, VRM_CLI_CABLE_OPTION,
                 Operand("FILE.tun", "the tuning file")});
VRM_CLI_COMMAND("radio tuning restore", "restore the radio's reference tuning, keeping the radio's values first",
                [](Context& c) { return FinishStopped(c, RunRestore(c)); },
                {Switch("--yes", "answer the questions with yes"), VRM_TUNING_BACKUP_OPTIONS, VRM_CLI_CABLE_OPTION});
VRM_CLI_COMMAND("tuning show", "list a tuning file's fourteen values, its information and its text", RunShow,
                {Operand("FILE.tun", "the tuning file")}, true);

}  // namespace vrm::cli
