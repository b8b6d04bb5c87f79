#include "core/link/tuning_transfer.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/link/radio_info.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"

namespace vrm {

namespace {

constexpr std::array<TuningRow, kTuningRows> kRows = {{
    {0, tid::kTuningPowerHighRow, tid::kBandPointLow, 0, 63},
    {1, tid::kTuningPowerHighRow, tid::kBandPointCenter, 0, 63},
    {2, tid::kTuningPowerHighRow, tid::kBandPointHigh, 0, 63},
    {3, tid::kTuningPowerLow, tid::kBandPointLow, 1, 63},
    {4, tid::kTuningPowerLow, tid::kBandPointCenter, 1, 63},
    {5, tid::kTuningPowerLow, tid::kBandPointHigh, 1, 63},
    {6, tid::kTuningMaxDeviation, tid::kBandPointLow, 2, 127},
    {7, tid::kTuningMaxDeviation, tid::kBandPointCenter, 2, 127},
    {8, tid::kTuningMaxDeviation, tid::kBandPointHigh, 2, 127},
    {9, tid::kTuningReferenceFrequency, 0, 3, 255},
    {10, tid::kTuningSensitivity, tid::kBandPointLow, 3, 255},
    {11, tid::kTuningSensitivity, tid::kBandPointCenter, 3, 255},
    {12, tid::kTuningSensitivity, tid::kBandPointHigh, 3, 255},
    {13, tid::kTuningBatteryWarning, 0, 3, 255},
}};

void Progress(const TransferContext& ctx, int done) {
    ctx.observer.OnProgress(done, kTuningProgressRange,
                            FormatText("%s %d / %d", {ctx.language.TextString(tid::kProgressFormat), done,
                                                      kTuningProgressRange}));
}

void Leave(ProgrammingPort& port) {
    (void)port.ExitProgramMode();
    port.SetOpen(false);
}

// A failed step: 10007003, 'E', the port closed.
TuningResult StepFailed(const TransferContext& ctx, TuningStatus status = TuningStatus::kStepFailed) {
    (void)RetryPrompt(ctx);
    Leave(ctx.port);
    return {status, {}};
}

// Tuning mode, identification with acceptance, version and information
// block. On failure the user has been told and the port is closed.
TuningResult Preamble(const TransferContext& ctx, TuningText& information) {
    ProgrammingPort& port = ctx.port;
    port.PumpOneMessage();
    (void)port.SetOpen(true);
    if (port.EnterTuningMode() != 0) return StepFailed(ctx, TuningStatus::kNoAnswer);
    ModelIdentity identity{};
    if (port.Identify(identity) != 0) return StepFailed(ctx, TuningStatus::kNoAnswer);
    if (!IsReadableRadio(identity) && ModelCatalogue::IsSiblingProduct(identity) < 0) {
        Leave(port);
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgModelNotAccepted));
        return {TuningStatus::kModelRefused, {}};
    }
    port.PumpOneMessage();
    std::array<std::uint8_t, proto::kVersionSize> version{};
    if (port.ReadVersion(version) != 0) return StepFailed(ctx);
    port.PumpOneMessage();
    std::array<std::uint8_t, proto::kInfoBlockSize> block{};
    if (port.ReadInformationBlock(block) != 0) return StepFailed(ctx);
    std::copy(block.begin(), block.end(), information.begin());
    port.PumpOneMessage();
    return {};
}

bool MakeFolders(const std::string& folder) {
    std::string path;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = folder.find('/', pos + 1);
        path = folder.substr(0, pos);
        if (path.empty()) continue;
        if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Reads the radio's current values and keeps them as a tuning file. On
// failure the user has been told and the port is closed.
TuningResult KeepRadioValues(const TransferContext& ctx, const TuningText& information,
                             const TuningBackupPlan& plan) {
    if (plan.folder.empty()) return {};
    TuningValues current{};
    if (ctx.port.ReadTuningData(current.data(), static_cast<std::uint8_t>(proto::kTuningDataSize)) != 0)
        return StepFailed(ctx);
    ctx.port.PumpOneMessage();
    const std::string path = TuningBackupPath(plan, information);
    TuningFile file;
    file.SetValues(current);
    file.SetText(information);
    TuningFileResult w;
    if (!MakeFolders(plan.folder)) {
        w.code = kTuningFileCannotOpen;
        w.systemError = errno != 0 ? errno : ENOTDIR;
    } else {
        w = file.Write(path);
    }
    if (!w.Ok()) {
        Message m = TransferErrorMessage(ctx.language, tid::kMsgTuningBackupFailed);
        m.text = FormatText(ctx.language.TextString(tid::kMsgTuningBackupFailed), {path});
        if (w.systemError != 0) m.text += "\n\n" + std::system_category().message(w.systemError);
        (void)ctx.prompter.Ask(m);
        Leave(ctx.port);
        return {TuningStatus::kBackupFailed, {}};
    }
    return {TuningStatus::kOk, path};
}

void Done(const TransferContext& ctx, tid::TextId text, const std::string& backupPath) {
    Message m = TransferInformation(ctx.language, text, tid::kTuningWindowTitle);
    if (!backupPath.empty())
        m.text += "\n\n" + FormatText(ctx.language.TextString(tid::kMsgTuningBackupSaved), {backupPath});
    (void)ctx.prompter.Ask(m);
}

std::string FileNamePart(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') out += c;
        else if (c == ' ' && !out.empty() && out.back() != '_') out += '_';
    }
    while (!out.empty() && out.back() == '_') out.pop_back();
    return out;
}

}  // namespace

const std::array<TuningRow, kTuningRows>& TuningRowTable() { return kRows; }

std::string TuningRowLabel(const LanguageTable& language, const TuningRow& row) {
    std::string label = language.TextString(row.item);
    if (row.point != 0) label += FormatText(" (%s)", {language.TextString(row.point)});
    return label;
}

std::uint8_t TuningStoredValue(const TuningRow& row, long long entered) {
    return static_cast<std::uint8_t>(std::clamp<long long>(entered, 1, row.maxStored + 1) - 1);
}

std::string TuningInformationText(const TuningText& information) {
    const std::string code = RadioText(information.data() + 12, 4);
    return RadioText(information.data(), 12) + (code.empty() ? "" : " " + code) + "/" +
           RadioText(information.data() + 16, 16);
}

std::string TuningBackupPath(const TuningBackupPlan& plan, const TuningText& information) {
    std::string serial = FileNamePart(RadioText(information.data() + 16, 12));
    if (serial.empty()) serial = "radio";
    const std::time_t when = plan.when != 0 ? plan.when : std::time(nullptr);
    std::tm local{};
    (void)::localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    std::string folder = plan.folder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + serial + "-" + stamp + ".tun";
}

TuningResult ReadTuning(const TransferContext& ctx, TuningSet& set) {
    TransferScope scope(ctx);
    ctx.observer.OnWindowText(ctx.language.TextString(tid::kTuningReading));
    Progress(ctx, 0);
    TuningSet read;
    TuningResult r = Preamble(ctx, read.information);
    if (!r.Ok()) return r;
    read.values.fill(0);
    if (ctx.port.ReadTuningData(read.values.data(), static_cast<std::uint8_t>(proto::kTuningDataSize)) != 0)
        return StepFailed(ctx);
    Leave(ctx.port);
    read.held = true;
    set = read;
    Progress(ctx, kTuningProgressRange);
    Done(ctx, tid::kReadDone, {});
    return r;
}

TuningResult WriteTuning(const TransferContext& ctx, const TuningSet& set, const TuningBackupPlan& backup) {
    TransferScope scope(ctx);
    if (!set.held) {
        // Never a buffer that was not filled from a radio or a file.
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgTuningNoValues));
        return {TuningStatus::kNoValues, {}};
    }
    ctx.observer.OnWindowText(ctx.language.TextString(tid::kTuningWriting));
    Progress(ctx, 0);
    TuningText radio{};
    TuningResult r = Preamble(ctx, radio);
    if (!r.Ok()) return r;

    Message question = TransferQuestion(ctx.language, tid::kMsgTuningWriteWarning);
    question.text = FormatText("%s\n\n    %s: %s \n    %s: %s \n\n%s \n\n",
                               {ctx.language.TextString(tid::kMsgTuningWriteWarning),
                                ctx.language.TextString(tid::kTuningStoredInfo), TuningInformationText(set.information),
                                ctx.language.TextString(tid::kTuningRadioInfo), TuningInformationText(radio),
                                ctx.language.TextString(tid::kMsgTuningWriteQuestion)});
    if (ctx.prompter.Ask(question) != Answer::Ok) {
        Leave(ctx.port);
        return {TuningStatus::kCancelled, {}};
    }
    r = KeepRadioValues(ctx, radio, backup);
    if (!r.Ok()) return r;
    Progress(ctx, 1);
    if (ctx.port.WriteTuningBlock(0, static_cast<std::uint8_t>(proto::kTuningDataSize), set.values.data()) != 0) {
        TuningResult failed = StepFailed(ctx);
        failed.backupPath = r.backupPath;
        return failed;
    }
    Leave(ctx.port);
    Progress(ctx, kTuningProgressRange);
    Done(ctx, tid::kWriteDone, r.backupPath);
    return r;
}

TuningResult RestoreTuning(const TransferContext& ctx, TuningSet& set, const TuningBackupPlan& backup) {
    TransferScope scope(ctx);
    // Restoring replaces every tuning value of the radio: asked first.
    if (ctx.prompter.Ask(TransferQuestion(ctx.language, tid::kMsgRestoreQuestion)) != Answer::Ok)
        return {TuningStatus::kCancelled, {}};
    ctx.observer.OnWindowText(ctx.language.TextString(tid::kTuningRestoring));
    Progress(ctx, 0);
    TuningSet restored;
    TuningResult r = Preamble(ctx, restored.information);
    if (!r.Ok()) return r;
    const int status = ctx.port.QueryStatus();
    if (status == 2) {
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgNoReferenceTuning));
        Leave(ctx.port);
        return {TuningStatus::kNoReference, {}};
    }
    if (status != 0) return StepFailed(ctx);
    r = KeepRadioValues(ctx, restored.information, backup);
    if (!r.Ok()) return r;
    Progress(ctx, 1);
    const std::string kept = r.backupPath;
    if (ctx.port.RestoreReferenceTuning() != 0) {
        TuningResult failed = StepFailed(ctx);
        failed.backupPath = kept;
        return failed;
    }
    restored.values.fill(0);
    if (ctx.port.ReadTuningData(restored.values.data(), static_cast<std::uint8_t>(proto::kTuningDataSize)) != 0) {
        TuningResult failed = StepFailed(ctx);
        failed.backupPath = kept;
        return failed;
    }
    Leave(ctx.port);
    restored.held = true;
    set = restored;
    Progress(ctx, kTuningProgressRange);
    Done(ctx, tid::kMsgTuningRestored, kept);
    return r;
}

}  // namespace vrm
