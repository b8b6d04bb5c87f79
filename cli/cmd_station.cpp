// vrm650t-cli radio list and station write: the cables that are plugged in,
// and the safe write of one data set into the radios on all of them at once.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/safe_write_options.h"
#include "cli/stop_signals.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"
#include "core/files/document.h"
#include "core/link/programming_log.h"
#include "core/link/radio_info.h"
#include "core/link/station.h"
#include "core/link/transfer_gate.h"

namespace vrm::cli {

namespace {

constexpr std::size_t kPlanReadLimit = 4 * 1024 * 1024;

// No one answers at a cable that is only looked at: every question is
// answered No and nothing is shown.
class SilentPrompter final : public Prompter {
public:
    Answer Ask(const Message& m) override {
        return m.buttons == Buttons::Ok ? Answer::Ok : (m.buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No);
    }
    PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
};

std::optional<std::vector<StationCable>> PresentCables(Context& ctx) {
    auto cables = ListStationCables();
    if (!cables) ctx.err << Format(ctx, tid::kCliCablesNotListed, {LibraryTransport::kDefaultName}) << "\n";
    else if (cables->empty()) ctx.err << ctx.Text(tid::kCliNoCables) << "\n";
    return cables;
}

// ---------------------------------------------------------------------------
// radio list

int RunList(Context& ctx) {
    const bool identify = ctx.args.Flag("--identify");
    const auto cables = PresentCables(ctx);
    if (!cables) return kExitRadioFailed;
    if (cables->empty()) return kExitNo;
    std::vector<std::string> models(cables->size()), serials(cables->size());
    if (identify) {
        // Every radio at once, each on its own cable.
        TransferGate gate;
        StopSignals stop{gate};
        std::vector<std::thread> workers;
        for (std::size_t i = 0; i < cables->size(); ++i) {
            workers.emplace_back([&, i] {
                auto port = TransferGate::OnCable((*cables)[i].portPath)();
                port->SetScrambling(!ctx.noEncryption);
                port->SetStopFlag(StopSignals::Flag());
                SilentPrompter prompter;
                TransferObserver observer;
                RadioInformation info;
                if (!RunRadioInformationTransfer({*port, prompter, Language(ctx), observer}, info).Ok()) return;
                const InformationTexts texts = ReadInformationTexts(info.information);
                models[i] = texts.modelName + ":" + texts.modelCode;
                serials[i] = texts.serial;
            });
        }
        for (std::thread& t : workers) t.join();
    }
    ctx.out << ctx.Text(identify ? tid::kCliListIdentifyHeading : tid::kCliListHeading) << "\n";
    for (std::size_t i = 0; i < cables->size(); ++i) {
        const StationCable& c = (*cables)[i];
        ctx.out << c.portPath << '\t' << (c.serial.empty() ? "-" : c.serial) << '\t' << c.bus << '\t' << c.address;
        if (identify)
            ctx.out << '\t' << (models[i].empty() ? "-" : models[i]) << '\t' << (serials[i].empty() ? "-" : serials[i]);
        ctx.out << "\n";
    }
    return FinishStopped(ctx, 0);
}

// ---------------------------------------------------------------------------
// station write

// One line per cable: on a terminal the block of lines is redrawn in place;
// otherwise a line is written whenever a cable's phase changes. A continuous
// run also shows the total over every cable: on a terminal as a last line of
// the block, otherwise as a line of its own whenever it changes.
class StationLines final : public StationObserver {
public:
    StationLines(Context& ctx, std::vector<CableStatus> initial, bool continuous)
        : ctx_(ctx), terminal_(::isatty(2) == 1), continuous_(continuous), lines_(std::move(initial)) {
        if (terminal_) Draw(false);
    }

    void OnCable(std::size_t index, const CableStatus& status) override {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool phaseChanged = status.phase != lines_[index].phase;
        const std::string totalBefore = Total();
        lines_[index] = status;
        if (terminal_) {
            Draw(true);
        } else {
            if (phaseChanged) ctx_.err << Line(status) << "\n";
            if (continuous_ && Total() != totalBefore) ctx_.err << Total() << "\n";
        }
        ctx_.err.flush();
    }

private:
    std::string Line(const CableStatus& s) const {
        std::string line = s.cable.portPath + "  " + (s.radioSerial.empty() ? "-" : s.radioSerial) + "  " +
                           StationPhaseText(Language(ctx_), s.phase);
        int percent = 0;
        if (s.Percent(percent)) line += "  " + std::to_string(percent) + "%";
        if (s.written + s.failed > 0) line += "  [" + std::to_string(s.written) + "/" + std::to_string(s.written + s.failed) + "]";
        return line;
    }
    std::string Total() const {
        int written = 0, failed = 0;
        for (const CableStatus& s : lines_) {
            written += s.written;
            failed += s.failed;
        }
        return Format(ctx_, tid::kCliStationTotal, {written, failed});
    }
    void Draw(bool again) {
        const std::size_t rows = lines_.size() + (continuous_ ? 1 : 0);
        if (again) ctx_.err << "\x1b[" << rows << "A";
        for (const CableStatus& s : lines_) ctx_.err << "\r" << Line(s) << "\x1b[K\n";
        if (continuous_) ctx_.err << "\r" << Total() << "\x1b[K\n";
    }

    Context& ctx_;
    bool terminal_;
    bool continuous_;
    std::mutex mutex_;
    std::vector<CableStatus> lines_;
};

// Reads and checks the plan; false (with every problem told) when it cannot
// be used.
bool ReadPlan(Context& ctx, const std::string& path, const Document& base, const std::optional<std::string>& password,
              StationPlan& plan) {
    std::string text;
    const FileOutcome read = ReadRegularFile(path, kPlanReadLimit, text);
    if (!read.Ok()) {
        const std::string why = read.systemError ? std::strerror(read.systemError)
                                : read.tooLarge    ? std::strerror(EFBIG)
                                                   : std::strerror(EINVAL);
        ctx.err << Format(ctx, tid::kPlanCannotRead, {path, why}) << "\n";
        return false;
    }
    const PlanFileOpener open = [&](const std::string& file, Document& doc) {
        return ReadInto(ctx, {file, password, false}, doc) == 0;
    };
    PlanResult result = BuildStationPlan(text, path, base, Language(ctx), open);
    for (const PlanProblem& p : result.problems) ctx.err << PlanProblemText(Language(ctx), p) << "\n";
    if (!result.Ok()) {
        ctx.err << ctx.Text(tid::kPlanHasErrors) << "\n";
        return false;
    }
    plan = std::move(result.plan);
    return true;
}

void PrintTable(Context& ctx, const Station& station) {
    ctx.out << ctx.Text(tid::kCliStationHeading) << "\n";
    for (const CableStatus& s : station.Statuses()) {
        ctx.out << s.cable.portPath << '\t' << (s.radioSerial.empty() ? "-" : s.radioSerial) << '\t'
                << (s.model.empty() ? "-" : s.model) << '\t' << (s.result.empty() ? "-" : TerminalSafe(s.result, false))
                << '\t' << s.written << '\t' << s.failed << "\n";
    }
    ctx.out << Format(ctx, tid::kCliStationTotal, {station.Written(), station.Failed()}) << "\n";
}

int RunStationWrite(Context& ctx) {
    const auto password = ctx.args.Value("--password");
    const auto planPath = ctx.args.Value("--plan");
    StationJob job;
    if (!SafeWriteOptionsFrom(ctx, job.options)) return kUsageError;
    if (const auto dir = ctx.args.Value("--backup-dir"); dir && ReportMissingFolder(ctx, *dir)) return kExitNotWritten;
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    job.options.dataFile = AbsolutePath(files.front());
    job.continuous = ctx.args.Flag("--continuous");
    job.assumeYes = ctx.args.Flag("--yes");
    job.planDefault = ctx.args.Flag("--plan-default");
    job.scrambling = !ctx.noEncryption;

    Document document(Language(ctx));
    if (const int refused = ReadInto(ctx, {files.front(), password, false}, document)) return refused;
    job.image = document.Image().Live();
    job.options.security = document.SaveSecurity({});
    StationPlan plan;
    if (planPath) {
        if (!ReadPlan(ctx, *planPath, document, password, plan)) return kExitValueRefused;
        job.plan = &plan;
    }

    const auto present = PresentCables(ctx);
    if (!present) return kExitRadioFailed;
    std::vector<std::string> unknown;
    std::vector<StationCable> cables = ChooseCables(*present, ctx.args.Value("--cables").value_or("all"), unknown);
    for (const std::string& id : unknown) ctx.err << Format(ctx, tid::kCliUnknownCable, {id}) << "\n";
    if (!unknown.empty()) return kUsageError;
    if (cables.empty()) return kExitNo;

    if (job.options.log)
        for (const LogFields& row : TakeUnfinishedWrites(job.options.logPath))
            ctx.err << UnfinishedWriteText(row, Language(ctx)) << "\n";

    TransferGate gate;  // only for the signal handlers; the station makes its own ports
    StopSignals stop{gate};
    std::vector<CableStatus> initial(cables.size());
    for (std::size_t i = 0; i < cables.size(); ++i) initial[i].cable = cables[i];
    StationLines lines(ctx, std::move(initial), job.continuous);
    Station station(Language(ctx), std::move(job), std::move(cables), lines, StopSignals::Flag());
    station.Run();
    PrintTable(ctx, station);
    return FinishStopped(ctx, station.Failed() == 0 && station.Written() > 0 ? kExitOk : kExitNo);
}

}  // namespace

VRM_CLI_COMMAND("radio list", "list the programming cables that are plugged in, with their port path and serial number",
                RunList, {Switch("--identify", "also read the model and serial number of the radio on each cable")});
VRM_CLI_COMMAND("station write",
                "write a data file into the radios on every chosen cable at once, each with backup, verify and log row",
                RunStationWrite,
                {Valued("--password", "DIGITS", "FILE's data-file password (also the plan's files')"),
                 Valued("--plan", "PLAN.csv", "per radio (by serial number): its data file and values"),
                 Switch("--plan-default", "write FILE into radios that are not in the plan"),
                 Valued("--cables", "all|ID,...", "the cables to use (default all)"),
                 Switch("--continuous", "on each cable, write the next radio once the last one is replaced"),
                 Switch("--yes", "answer the questions about a radio with yes"), VRM_CLI_SAFE_WRITE_OPTIONS,
                 Operand("FILE", "the data file")});

}  // namespace vrm::cli
