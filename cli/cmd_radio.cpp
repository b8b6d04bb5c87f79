// vrm650t-cli radio info, radio read and radio write: the radio through the
// programming cable (or the simulated radio first on the library path), with
// the transfers of the program.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"
#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/json_output.h"
#include "cli/safe_write_options.h"
#include "cli/stop_signals.h"
#include "cli/terminal_prompter.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/base/clock.h"
#include "core/link/programming_log.h"
#include "core/link/transfer_gate.h"
#include "core/link/radio_info.h"
#include "core/link/read_transfer.h"
#include "core/link/write_transfer.h"
#include "core/link/safe_write.h"
#include "core/exchange/image_compare.h"
#include "core/document/app_settings.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm::cli {

namespace {

int ExitStatus(const TransferResult& r) {
    switch (r.status) {
        case TransferStatus::kOk: return kExitOk;
        case TransferStatus::kSiblingProduct:
        case TransferStatus::kModelRefused: return kExitModelMismatch;
        case TransferStatus::kCancelled: return kExitCancelled;
        default: return kExitRadioFailed;
    }
}

// What a transfer shows on the command line: on a terminal a progress bar
// that redraws itself on one line, otherwise plain lines (the running texts
// and every 16th block) that a log can keep.
class CliObserver final : public TransferObserver {
public:
    CliObserver(std::ostream& err, const Context& ctx) : err_(err), terminal_(::isatty(2) == 1) {
        // The dialogs' titles come back when a transfer ends; a terminal has
        // no title to restore.
        titles_ = {ctx.Text(tid::kReadWindowTitle), ctx.Text(tid::kWriteWindowTitle)};
    }

    void OnProgress(int done, int total, const std::string& caption) override {
        // A finished transfer's bar stays; the reset to 0 / 64 for the next
        // radio shows with that radio's transfer.
        if (done == last_ || (last_ == total && done == 0)) return;
        last_ = done;
        if (!terminal_) {
            if (done % 16 == 0 || done == total) err_ << caption << "\n";
            return;
        }
        constexpr int kWidth = 32;
        const int filled = total > 0 ? done * kWidth / total : 0;
        err_ << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
             << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << caption << "\x1b[K";
        open_ = true;
        if (done == total) EndLine();
        err_.flush();
    }
    void OnWindowText(const std::string& text) override {
        for (const std::string& t : titles_)
            if (text == t) return;
        EndLine();
        err_ << text << "\n";
        last_ = -1;
    }
    // Ends a progress bar that is drawn, so that a message starts on a line
    // of its own.
    void EndLine() {
        if (!open_) return;
        err_ << "\n";
        open_ = false;
    }

private:
    std::ostream& err_;
    bool terminal_;
    bool open_ = false;
    int last_ = -1;
    std::vector<std::string> titles_;
};

// The terminal prompter, after the progress bar's line has been ended.
class CliPrompter final : public Prompter {
public:
    CliPrompter(TerminalPrompter& inner, CliObserver& observer) : inner_(inner), observer_(observer) {}
    Answer Ask(const Message& message) override {
        observer_.EndLine();
        return inner_.Ask(message);
    }
    PasswordResult AskPassword(PasswordGate& gate) override {
        observer_.EndLine();
        return inner_.AskPassword(gate);
    }

private:
    TerminalPrompter& inner_;
    CliObserver& observer_;
};

// Everything a radio command's transfer needs.
struct RadioSession {
    explicit RadioSession(Context& ctx, bool yes = false)
        : transfers(TransferGate::OnCable(CableOption(ctx))),
          terminal(ctx.err, ctx.language), observer(ctx.err, ctx), prompter(terminal, observer) {
        terminal.SetAssumeYes(yes);
        transfers.SetScrambling(!ctx.noEncryption);
    }
    // The context of the next transfer, on a port of its own (the one before
    // is let go of first).
    TransferContext Transfer(const Context& ctx) {
        claim.reset();
        claim = transfers.Begin();
        return {claim->Port(), prompter, Language(ctx), observer};
    }
    // The command's exit status: 128 + the signal when one came while the
    // command ran, also when it came after the transfer's last step (what
    // was read is then saved or shown, the write reported), so that a
    // script's loop ends on Ctrl+C as it would without the handler.
    int Finish(Context& ctx, int status) {
        if (StopSignals::Received() != 0) observer.EndLine();
        return FinishStopped(ctx, status);
    }

    TransferGate transfers;  // ports on libpipelink.so by name, as the program loads it
    StopSignals stop{transfers};
    std::unique_ptr<TransferGate::Claim> claim;
    TerminalPrompter terminal;
    CliObserver observer;
    CliPrompter prompter;
};

// One line from standard input; false at its end.
bool ReadInputLine(std::string& line) {
    line.clear();
    char c = 0;
    while (true) {
        const ssize_t n = ::read(0, &c, 1);
        if (n < 0 && errno == EINTR && StopSignals::Received() == 0) continue;
        if (n <= 0) return !line.empty();
        if (c == '\n') return true;
        if (c != '\r') line += c;
    }
}

// ---------------------------------------------------------------------------
// radio info

int RunInfo(Context& ctx) {
    const bool identityView = ctx.args.Flag("--identity");

    RadioSession session(ctx);
    RadioInformation info;
    const TransferResult r = RunRadioInformationTransfer(session.Transfer(ctx), info);
    if (!r.Ok()) return session.Finish(ctx, ExitStatus(r));

    const RadioInformationTexts t = RadioInformationDisplay(info, identityView, kSeparator);
    const std::pair<std::uint32_t, const std::string*> rows[] = {
        {tid::kRadioInfoModelType, &t.modelType},           {tid::kRadioInfoFrequency, &t.frequency},
        {tid::kRadioInfoSerialNumber, &t.serialNumber},     {tid::kRadioInfoFirmwareVersion, &t.firmwareVersion},
        {tid::kRadioInfoBootVersion, &t.bootVersion},       {tid::kRadioInfoChecksum, &t.checksum},
    };
    if (ctx.json) {
        // The values without the dialog's leading blanks, by the same labels'
        // stable names.
        static const char* const kKeys[] = {"model", "frequency", "serial", "firmware", "boot", "checksum"};
        Json doc = Json::object();
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            std::string v = *rows[i].second;
            v.erase(0, v.find_first_not_of(' ') == std::string::npos ? v.size() : v.find_first_not_of(' '));
            doc[kKeys[i]] = Json{{"label", ctx.Text(rows[i].first)}, {"value", v}};
        }
        PrintJson(ctx, doc);
        return session.Finish(ctx, 0);
    }
    std::size_t width = 0;
    const auto chars = [](const std::string& s) {
        std::size_t n = 0;
        for (unsigned char c : s) n += (c & 0xC0) != 0x80;
        return n;
    };
    for (const auto& [id, value] : rows) width = std::max(width, chars(ctx.Text(id)));
    for (const auto& [id, value] : rows) {
        // The dialog's values carry two leading blanks; the listing aligns them.
        std::string v = *value;
        v.erase(0, v.find_first_not_of(' ') == std::string::npos ? v.size() : v.find_first_not_of(' '));
        const std::string label = ctx.Text(id);
        ctx.out << label << std::string(width - chars(label) + 2, ' ') << v << "\n";
    }
    return session.Finish(ctx, 0);
}

// ---------------------------------------------------------------------------
// radio read

int RunRead(Context& ctx) {
    const bool yes = ctx.args.Flag("--yes");
    // A name that cannot be replaced, and an existing file the question was
    // not answered OK for, are settled before the radio is read.
    int status = 0;
    const std::optional<NewFileOutput> output = NewFileOutputOptions(ctx, status);
    if (!output) return status;
    const std::string& path = output->path;
    RadioSession session(ctx, yes);
    if (NameExists(path) && !ConfirmOverwrite(session.prompter, Language(ctx), path)) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {path}) << "\n";
        return session.Finish(ctx, kExitNotWritten);
    }

    Document document(Language(ctx));
    const TransferResult r = ReadDataFromRadio(session.Transfer(ctx), document.Image().Transfer());
    if (!r.Ok()) return session.Finish(ctx, ExitStatus(r));

    // As the program takes a read into its data, then saves it.
    document.AdoptRead();
    const DataFileResult w = document.Save(path, output->security, SystemClock::Instance());
    if (!w.Ok()) {
        const std::string why = w.problem == DataFileProblem::NotRegularFile ? Format(ctx, tid::kMsgNotRegularFile, {path})
                                : w.systemError ? std::strerror(w.systemError)
                                                : ctx.Text(tid::kMsgFileUnreadable);
        ctx.err << Format(ctx, tid::kCliRadioReadNotSaved, {path, why}) << "\n";
        return session.Finish(ctx, kExitNotWritten);
    }
    if (!w.ownerKept) ctx.err << Format(ctx, tid::kMsgOwnerNotKept, {path}) << "\n";
    ctx.out << Format(ctx, tid::kCliRadioReadInto, {path}) << "\n";
    return session.Finish(ctx, 0);
}

// ---------------------------------------------------------------------------
// radio write

int SafeWriteStatus(const SafeWriteResult& r) {
    switch (r.failedPhase) {
        case SafeWritePhase::kNone: return 0;
        case SafeWritePhase::kBackupStore: return kExitNotWritten;
        case SafeWritePhase::kVerify:
        case SafeWritePhase::kVerifyRead: return kExitRadioFailed;
        default: return ExitStatus(r.write);
    }
}

// Asks for the next radio of a continuous write: Enter writes it; "q" or the
// end of the input ends.
bool NextRadioWanted(Context& ctx, RadioSession& session) {
    session.observer.EndLine();
    ctx.err << ctx.Text(tid::kCliNextRadio);
    ctx.err.flush();
    std::string line;
    const bool more = ReadInputLine(line);
    if (!more || ::isatty(0) != 1) ctx.err << "\n";  // the terminal has echoed the Enter
    return more && line != "q" && line != "Q";
}

int RunWrite(Context& ctx) {
    const auto password = ctx.args.Value("--password");
    const bool continuous = ctx.args.Flag("--continuous");
    const bool yes = ctx.args.Flag("--yes");
    SafeWriteOptions options;
    if (!SafeWriteOptionsFrom(ctx, options)) return kUsageError;
    // Folders the user names must exist; the data folder's own are made.
    if (const auto dir = ctx.args.Value("--backup-dir"); dir && ReportMissingFolder(ctx, *dir)) return kExitNotWritten;
    if (const auto log = ctx.args.Value("--log"); log && ReportMissingFolder(ctx, std::filesystem::path(*log).parent_path()))
        return kExitNotWritten;
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    const std::string& path = files.front();
    options.dataFile = AbsolutePath(path);

    RadioSession session(ctx, yes);
    // The data file, read as Open reads it.
    Document document(Language(ctx));
    if (const int refused = ReadInto(ctx, {path, password, false}, document)) return refused;
    const ImageBuffer& image = document.Image().Live();
    // The backup is written as a save of the file would be: a protected
    // file's backup keeps its password.
    options.security = document.SaveSecurity({});

    // A write of this log that never finished (its program was killed) is
    // told before the next one starts; the log then notes that it was told.
    if (options.log)
        for (const LogFields& row : TakeUnfinishedWrites(options.logPath))
            ctx.err << UnfinishedWriteText(row, Language(ctx)) << "\n";

    int written = 0;
    int status = 0;
    std::string lastSerial;
    while (true) {
        const SafeWriteResult r = SafeWriteToRadio(session.Transfer(ctx), image, continuous, options);
        session.observer.EndLine();
        if (!r.backupPath.empty()) ctx.out << Format(ctx, tid::kCliBackupStored, {r.backupPath}) << "\n";
        if (!r.Ok()) {
            status = SafeWriteStatus(r);
            break;
        }
        ++written;
        lastSerial = r.radio.serial;
        ctx.out << ctx.Text(r.verified ? tid::kCliWriteVerified : tid::kCliWriteNotVerified) << "\n";
        if (continuous) ctx.out << Format(ctx, tid::kContinuousCount, {written, lastSerial}) << "\n";
        ctx.out.flush();
        if (!continuous || !NextRadioWanted(ctx, session)) break;
    }
    if (continuous) ctx.out << Format(ctx, tid::kCliRadiosWritten, {written}) << "\n";
    return session.Finish(ctx, status);
}

// ---------------------------------------------------------------------------
// radio diff

int RunDiff(Context& ctx) {
    std::optional<std::string> password;
    PasswordOption(ctx, password);
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    Document document(Language(ctx));
    const ReadRequest req{files.front(), password, false};
    if (const int status = ReadInto(ctx, req, document)) return status;
    const ImageBuffer& image = document.Image().Live();

    RadioSession session(ctx);
    ImageBuffer radio{};
    session.observer.OnWindowText(ctx.Text(tid::kCompareReading));
    const TransferResult r = RunReadTransfer(session.Transfer(ctx), radio);
    session.observer.EndLine();
    if (!r.Ok())
        return session.Finish(ctx, r.status == TransferStatus::kModelRefused || r.status == TransferStatus::kSiblingProduct
                                       ? kExitModelMismatch
                                       : kExitRadioFailed);

    const ImageComparison diff = CompareImages(image, radio, Language(ctx), kSeparator);
    if (diff.Identical()) {
        ctx.out << ctx.Text(tid::kCliCompareIdentical) << "\n";
        return session.Finish(ctx, 0);
    }
    // KEY <tab> label <tab> document's text <tab> radio's text
    for (const FieldDifference& d : diff.fields)
        ctx.out << d.key << '\t' << d.label << '\t' << TerminalSafe(d.document, false) << '\t'
                << TerminalSafe(d.radio, false) << "\n";
    for (std::size_t at : diff.otherBytes)
        ctx.out << Hex(static_cast<unsigned>(at), 3) << '\t' << ctx.Text(tid::kCompareOtherBytes) << '\t'
                << Hex(image[at], 2) << '\t' << Hex(radio[at], 2) << "\n";
    return session.Finish(ctx, kExitNo);
}

}  // namespace

VRM_CLI_COMMAND("radio info", "read and show the radio's model, frequency band, serial number, versions and checksum",
                RunInfo, {Switch("--identity", "show the model as the radio's identity bytes"), VRM_CLI_CABLE_OPTION}, true);
VRM_CLI_COMMAND("radio read", "read the radio's data and save it as a data file", RunRead,
                {Valued("--data-password", "DIGITS", "protect the file with this data-file password (1-6 digits)"),
                 Switch("--yes", "replace an existing FILE without asking"),
                 Valued("-o,--output", "FILE", "the data file to write", true), VRM_CLI_CABLE_OPTION});
VRM_CLI_COMMAND("radio write",
                "write a data file into the radio: backup first, verify after, a row in the programming log; "
                "--continuous goes on with the next radio after Enter",
                RunWrite,
                {Valued("--password", "DIGITS", "FILE's data-file password"),
                 Switch("--continuous", "write one radio after another, each after Enter"),
                 Switch("--yes", "answer the questions about the radio with yes"),
                 Switch("--no-backup", "write without reading the radio's data into a backup first"),
                 Valued("--backup-dir", "DIR", "where the backups go (an existing folder)"),
                 Switch("--no-verify", "do not read the radio back after writing"),
                 Valued("--log", "FILE", "the programming log to add a row to"),
                 Switch("--no-log", "add no row to the programming log"), VRM_CLI_CABLE_OPTION,
                 Operand("FILE", "the data file")});
VRM_CLI_COMMAND("radio diff",
                "read the radio and list the items where it differs from FILE (status 0 identical, 1 different)",
                RunDiff, {Valued("--password", "DIGITS", "FILE's data-file password"), VRM_CLI_CABLE_OPTION,
                          Operand("FILE", "the data file")});

}  // namespace vrm::cli
