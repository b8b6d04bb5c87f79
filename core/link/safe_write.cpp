#include "core/link/safe_write.h"

#include <nettle/sha2.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>

#include "core/base/clock.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// The written range ends below the last block, which the write never sends.
constexpr int kWrittenBlocks = kTransferBlocks - 1;

void LeaveProgramMode(ProgrammingPort& port) {
    (void)port.ExitProgramMode();
    port.SetOpen(false);
}

std::string LocalTime(std::time_t when, const char* format) {
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char text[64];
    const std::size_t n = std::strftime(text, sizeof text, format, &tm);
    return std::string(text, n);
}

// A free name for the backup: the serial and the time, and "-2", "-3" ...
// when two radios with one serial number are backed up in the same second.
std::string FreeBackupPath(const std::string& folder, const std::string& serial, std::time_t when) {
    const std::string name = BackupFileName(serial, when);
    std::string path = folder + "/" + name;
    const std::string stem = path.substr(0, path.size() - 4);
    for (int n = 2; ::access(path.c_str(), F_OK) == 0 && n < 1000; ++n) path = stem + "-" + std::to_string(n) + ".dat";
    return path;
}

// Stores `memory` as a data file; 0 or errno (EIO when none was reported).
int StoreBackup(const ImageBuffer& memory, const std::string& path, const DataFileSecurity& security,
                const LanguageTable& language) {
    Document backup(language);
    backup.Hold(memory);
    const DataFileResult r = backup.Save(path, security, SystemClock::Instance());
    if (r.Ok()) return 0;
    return r.systemError ? r.systemError : EIO;
}

std::string BlockList(const std::vector<int>& blocks) {
    std::string list;
    for (int b : blocks) {
        if (!list.empty()) list += ", ";
        list += FormatText("%d (0x%03X)", {b, static_cast<unsigned>(b * kBlockSize)});
    }
    return list;
}

// The second session of a safe write: the written blocks, read back.
TransferResult RunVerifyRead(const TransferContext& ctx, ImageBuffer& memory) {
    TransferScope scope(ctx);
    ProgrammingPort& port = ctx.port;
    ModelIdentity identity{};
    TransferResult r = OpenProgramSession(ctx, identity);
    if (!r.Ok()) return r;
    r = ReadBlocks(ctx, memory, kWrittenBlocks);
    if (!r.Ok()) return r;
    (void)port.ExitProgramMode();
    port.SetOpen(false);
    return r;
}

// An error box with text `id`, filled in as `text`.
void Tell(const TransferContext& ctx, std::uint32_t id, std::string text) {
    Message m = TransferErrorMessage(ctx.language, id);
    m.text = std::move(text);
    (void)ctx.prompter.Ask(m);
}

}  // namespace

std::string BackupFileName(const std::string& serial, std::time_t when) {
    std::string name;
    for (char c : serial) {
        const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-';
        name += plain ? c : '_';
    }
    if (name.empty()) name = "unknown";
    return name + "_" + LocalTime(when, "%Y%m%d-%H%M%S") + ".dat";
}

std::vector<int> DifferingBlocks(const ImageBuffer& image, const ImageBuffer& radio) {
    std::vector<int> blocks;
    for (int b = 0; b < kWrittenBlocks; ++b) {
        const auto at = static_cast<std::ptrdiff_t>(b * kBlockSize);
        if (!std::equal(image.begin() + at, image.begin() + at + kBlockSize, radio.begin() + at)) blocks.push_back(b);
    }
    return blocks;
}

std::string ImageSha256(const ImageBuffer& image) {
    sha256_ctx sha;
    sha256_init(&sha);
    sha256_update(&sha, image.size(), image.data());
    std::uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&sha, sizeof digest, digest);
    std::string hex;
    for (std::uint8_t b : digest) hex += FormatText("%02x", {static_cast<unsigned>(b)});
    return hex;
}

namespace {

// The words of a result: `word(id, english)` gives the text of `id`, the
// English one for the programming log, the user's language for a window.
using ResultWords = std::function<std::string(tid::TextId, const char*)>;

std::string StopWords(int signal, const ResultWords& word) {
    if (signal == SIGINT) return word(tid::kResultStoppedByUser, "stopped by the user");
    const char* name = signal > 0 ? sigabbrev_np(signal) : nullptr;
    return FormatText(word(tid::kResultStoppedBySignal, "stopped (signal %s)"),
                      {std::string(name ? name : std::to_string(signal).c_str())});
}

std::string WriteOutcome(const SafeWriteResult& r, const ResultWords& word, const std::string& stop,
                         const std::function<std::string(int)>& at, const std::string& where) {
    const TransferResult& t = r.write;
    switch (t.status) {
        case TransferStatus::kStopped:
            if (t.blocksDone == 0) return FormatText(word(tid::kResultStoppedBefore, "%s before writing; nothing written"), {stop});
            return FormatText(word(tid::kResultStoppedWriting, "%s%s: %d of %d blocks written; radio partly written"),
                              {stop, at(t.failedBlock), t.blocksDone, kWrittenBlocks});
        case TransferStatus::kCancelled: return word(tid::kResultCancelled, "cancelled; nothing written");
        case TransferStatus::kModelRefused:
        case TransferStatus::kSiblingProduct: return word(tid::kResultModelRefused, "radio model refused; nothing written");
        case TransferStatus::kBlockFailed:
            return FormatText(word(tid::kResultWriteFailed, "write failed%s; radio partly written"), {where});
        case TransferStatus::kPrepareFailed: return word(tid::kResultNotStarted, "write not started; nothing written");
        default: return word(tid::kResultNoAnswer, "no answer from the radio; nothing written");
    }
}

std::string ResultWording(const SafeWriteResult& r, const ResultWords& word) {
    const TransferResult& t = r.write;
    const auto at = [&](int block) {
        return " " + FormatText(word(tid::kResultAtBlock, "at block %d (0x%03X)"),
                                {block, static_cast<unsigned>(block * kBlockSize)});
    };
    std::string where;
    if (t.failedBlock >= 0) {
        where = at(t.failedBlock) + ": " +
                (t.link == LinkError::kDisconnected ? word(tid::kResultUnplugged, "cable unplugged")
                 : t.refused                        ? word(tid::kResultRefused, "refused")
                                                    : word(tid::kResultNoReply, "no answer"));
    }
    const bool stopped = r.stopSignal != 0;
    const std::string stop = StopWords(r.stopSignal, word);
    switch (r.failedPhase) {
        case SafeWritePhase::kNone:
            return r.verified ? word(tid::kResultVerified, "written and verified")
                              : word(tid::kResultNotVerified, "written, not verified");
        case SafeWritePhase::kBackupRead:
            if (stopped) return FormatText(word(tid::kResultStoppedBefore, "%s before writing; nothing written"), {stop});
            return FormatText(word(tid::kResultBackupReadFailed, "backup read failed%s; nothing written"), {where});
        case SafeWritePhase::kBackupStore:
            return FormatText(word(tid::kResultBackupNotStored, "backup not stored: %s; nothing written"),
                              {std::string(std::strerror(r.backupError))});
        case SafeWritePhase::kWrite: return WriteOutcome(r, word, stop, at, where);
        case SafeWritePhase::kVerifyRead:
            if (stopped)
                return FormatText(word(tid::kResultStoppedReadBack, "written; %s before the read-back finished; not verified"),
                                  {stop});
            return FormatText(word(tid::kResultReadBackFailed, "written; read-back failed%s; not verified"), {where});
        case SafeWritePhase::kVerify: {
            std::string blocks;
            for (int b : r.differingBlocks) blocks += (blocks.empty() ? "" : " ") + std::to_string(b);
            return FormatText(word(tid::kResultVerifyFailed, "verify failed: radio differs at blocks %s"), {blocks});
        }
    }
    return "";
}

const ResultWords kLogWords = [](tid::TextId, const char* english) { return std::string(english); };

ResultWords LanguageWords(const LanguageTable& language) {
    return [&language](tid::TextId id, const char*) { return language.TextString(id); };
}

}  // namespace

std::string StopText(int signal) { return StopWords(signal, kLogWords); }
std::string StopText(int signal, const LanguageTable& language) { return StopWords(signal, LanguageWords(language)); }

std::string LogResultText(const SafeWriteResult& r) { return ResultWording(r, kLogWords); }
std::string ResultText(const SafeWriteResult& r, const LanguageTable& language) {
    return ResultWording(r, LanguageWords(language));
}

TransferResult RunBackupRead(const TransferContext& ctx, ImageBuffer& memory, RadioRecord& radio, bool withBlocks) {
    TransferScope scope(ctx);
    ProgrammingPort& port = ctx.port;
    radio = RadioRecord{};
    ModelIdentity identity{};
    TransferResult r = OpenProgramSession(ctx, identity);
    if (!r.Ok()) return r;
    const auto fail = [&](TransferStatus status) {
        r.link = RetryPrompt(ctx);
        LeaveProgramMode(port);
        r.status = FailureStatus(port, status);
        return r;
    };

    // A backup must open again as a data file: the read's acceptance check.
    const bool sibling = ModelCatalogue::IsSiblingProduct(identity) >= 0;
    if (withBlocks ? (sibling || !IsReadableRadio(identity)) : !IsInformationRadio(identity)) {
        LeaveProgramMode(port);
        (void)ctx.prompter.Ask(
            TransferErrorMessage(ctx.language, sibling ? tid::kMsgSiblingProduct : tid::kMsgModelNotAccepted));
        r.status = sibling ? TransferStatus::kSiblingProduct : TransferStatus::kModelRefused;
        return r;
    }

    std::array<std::uint8_t, proto::kInfoBlockSize> info{};
    std::array<std::uint8_t, proto::kVersionSize> version{};
    port.PumpOneMessage();
    if (port.ReadInformationBlock(info) != 0) return fail(TransferStatus::kInformationFailed);
    port.PumpOneMessage();
    if (port.ReadVersion(version) != 0) return fail(TransferStatus::kInformationFailed);
    const InformationTexts texts = ReadInformationTexts(info);
    radio.serial = texts.serial;
    radio.model = texts.modelName + ":" + texts.modelCode;
    radio.firmware = RadioText(version.data(), info_block::kFirmwareSize);
    radio.known = true;

    if (withBlocks) {
        r = ReadBlocks(ctx, memory, kTransferBlocks);
        if (!r.Ok()) return r;
        // As the read leaves it: the identity the radio reported on top.
        std::copy(identity.begin(), identity.end(), memory.begin());
        memory[12] = 0xFF;
    }
    (void)port.ExitProgramMode();
    port.SetOpen(false);
    return r;
}

namespace {

// Notes the signal when `t` ended because of a stop.
void NoteStop(const TransferContext& ctx, const TransferResult& t, SafeWriteResult& res) {
    if (t.status == TransferStatus::kStopped) res.stopSignal = ctx.port.StopValue();
}

// The first session and the backup file. kNone when the write may go on.
SafeWritePhase BackupPhase(const TransferContext& ctx, const SafeWriteOptions& options, std::time_t started,
                           SafeWriteResult& res) {
    const LanguageTable& lang = ctx.language;
    ctx.observer.OnWindowText(lang.TextString(options.backup ? tid::kSafeWriteBackingUp : tid::kWriteWindowRunning));
    ctx.observer.PumpOneMessage();
    ImageBuffer memory{};
    res.write = RunBackupRead(ctx, memory, res.radio, options.backup);
    if (!res.write.Ok()) {
        NoteStop(ctx, res.write, res);
        // A stop is no failure of the radio's: the message says only what it holds.
        const std::uint32_t why = options.backup && res.stopSignal == 0 ? tid::kBackupNotRead : tid::kNothingWritten;
        Tell(ctx, why, lang.TextString(why));
        return SafeWritePhase::kBackupRead;
    }
    if (!options.backup) return SafeWritePhase::kNone;
    const std::string path = FreeBackupPath(options.backupFolder, res.radio.serial, started);
    res.backupError = MakeFolders(options.backupFolder);
    if (res.backupError == 0) res.backupError = StoreBackup(memory, path, options.security, lang);
    if (res.backupError != 0) {
        Tell(ctx, tid::kBackupNotStored,
             FormatText(lang.TextString(tid::kBackupNotStored), {path, std::strerror(res.backupError)}));
        return SafeWritePhase::kBackupStore;
    }
    res.backupPath = path;
    return SafeWritePhase::kNone;
}

// The third session and the comparison. kNone when the radio holds the data.
SafeWritePhase VerifyPhase(const TransferContext& ctx, const ImageBuffer& liveImage, SafeWriteResult& res) {
    const LanguageTable& lang = ctx.language;
    ctx.observer.OnWindowText(lang.TextString(tid::kSafeWriteVerifying));
    ctx.observer.PumpOneMessage();
    ImageBuffer readBack{};
    const TransferResult v = RunVerifyRead(ctx, readBack);
    if (!v.Ok()) {
        res.write.failedBlock = v.failedBlock;
        res.write.link = v.link;
        NoteStop(ctx, v, res);
        Tell(ctx, tid::kVerifyNotRead, lang.TextString(tid::kVerifyNotRead));
        return SafeWritePhase::kVerifyRead;
    }
    res.differingBlocks = DifferingBlocks(liveImage, readBack);
    if (!res.differingBlocks.empty()) {
        std::string text = FormatText(lang.TextString(tid::kVerifyFailed), {BlockList(res.differingBlocks)});
        if (!res.backupPath.empty()) text += "\n\n" + FormatText(lang.TextString(tid::kBackupKeptIn), {res.backupPath});
        Tell(ctx, tid::kVerifyFailed, text);
        return SafeWritePhase::kVerify;
    }
    res.verified = true;
    return SafeWritePhase::kNone;
}

// The success box: written, verified or not, where the backup is; with
// `continuous` the dialog is then ready for the next radio.
void TellWritten(const TransferContext& ctx, const SafeWriteResult& res, bool continuous) {
    const LanguageTable& lang = ctx.language;
    std::string done = lang.TextString(tid::kWriteDone);
    done += "\n\n" + lang.TextString(res.verified ? tid::kSafeWriteVerified : tid::kSafeWriteNotVerified);
    if (!res.backupPath.empty()) done += "\n\n" + FormatText(lang.TextString(tid::kBackupKeptIn), {res.backupPath});
    Message m = TransferInformation(lang, tid::kWriteDone, tid::kWriteDoneCaption);
    m.text = done;
    (void)ctx.prompter.Ask(m);
    if (continuous) {
        ShowProgress(ctx, 0);
        ctx.observer.OnWindowText(lang.TextString(tid::kWriteWindowTitle));
    }
}

}  // namespace

SafeWriteResult SafeWriteToRadio(const TransferContext& ctx, const ImageBuffer& liveImage, bool continuous,
                                 const SafeWriteOptions& options) {
    SafeWriteResult res;
    const std::time_t started = std::time(nullptr);
    const LanguageTable& lang = ctx.language;
    LogEntry entry;  // the write's "started" row, once the write begins

    const auto fields = [&](std::string result) {
        return LogFields{IsoTime(started), res.radio.serial, res.radio.model,   res.radio.firmware,
                         options.dataFile, ImageSha256(liveImage), res.backupPath, std::move(result)};
    };
    const auto logFailed = [&](int error) {
        res.logError = error;
        Tell(ctx, tid::kLogNotWritten,
             FormatText(lang.TextString(tid::kLogNotWritten), {options.logPath, std::strerror(error)}));
    };
    // Every attempt that reached for the radio ends with its row in the log
    // (unless the log could not be written when the write started).
    const auto end = [&](SafeWritePhase phase) {
        res.failedPhase = phase;
        if (options.log && res.logError == 0) {
            const std::string result = LogResultText(res);
            const int error = entry.Started() ? entry.Finish(result) : AppendLogRow(options.logPath, LogRow(fields(result)));
            res.logged = error == 0;
            if (error != 0) logFailed(error);
        }
        if (!res.Ok()) ctx.observer.OnWindowText(lang.TextString(tid::kWriteWindowTitle));
        return res;
    };

    if (options.backup || options.log) {
        if (const SafeWritePhase failed = BackupPhase(ctx, options, started, res); failed != SafeWritePhase::kNone)
            return end(failed);
    }

    // From here on the radio may change: a program killed now leaves the
    // "started" row, and the next start says so.
    if (options.log && !ctx.port.StopRequested()) {
        if (const int error = entry.Start(options.logPath, fields(kLogStarted))) logFailed(error);
    }
    ctx.observer.OnWindowText(lang.TextString(tid::kWriteWindowRunning));
    ctx.observer.PumpOneMessage();
    res.write = RunWriteTransfer(ctx, liveImage, res.backupPath);
    if (!res.write.Ok()) {
        NoteStop(ctx, res.write, res);
        return end(SafeWritePhase::kWrite);
    }
    if (options.verify) {
        if (const SafeWritePhase failed = VerifyPhase(ctx, liveImage, res); failed != SafeWritePhase::kNone)
            return end(failed);
    }
    end(SafeWritePhase::kNone);
    TellWritten(ctx, res, continuous);
    return res;
}

}  // namespace vrm
