#include "core/link/read_transfer.h"

#include <algorithm>
#include <cstring>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/link/cable_doctor.h"
#include "core/model/model_catalogue.h"

namespace vrm {

std::string ProgressCaption(const LanguageTable& language, int block) {
    return FormatText("%s %d / %d", {language.TextString(tid::kProgressFormat), block, kTransferBlocks});
}

void ShowProgress(const TransferContext& ctx, int block) {
    ctx.observer.OnProgress(block, kTransferBlocks, ProgressCaption(ctx.language, block));
}

namespace {

Message Box(const LanguageTable& language, MessageKind kind, Buttons buttons, Answer defaultAnswer,
            std::uint32_t textId, std::uint32_t captionId) {
    Message m;
    m.kind = kind;
    m.buttons = buttons;
    m.defaultAnswer = defaultAnswer;
    m.caption = language.TextString(captionId);
    m.text = language.TextString(textId);
    m.textId = static_cast<int>(textId);
    return m;
}

// Ends a transfer that is still in program mode: 'E' (two tries), then the
// port is closed.
void LeaveProgramMode(ProgrammingPort& port) {
    (void)port.ExitProgramMode();
    port.SetOpen(false);
}

}  // namespace

Message TransferErrorMessage(const LanguageTable& language, std::uint32_t textId) {
    return Box(language, MessageKind::Error, Buttons::Ok, Answer::Ok, textId, tid::kCaptionError);
}

Message TransferQuestion(const LanguageTable& language, std::uint32_t textId) {
    return Box(language, MessageKind::Warning, Buttons::OkCancel, Answer::Cancel, textId, tid::kCaptionWarning);
}

Message TransferInformation(const LanguageTable& language, std::uint32_t textId, std::uint32_t captionId) {
    return Box(language, MessageKind::Information, Buttons::Ok, Answer::Ok, textId, captionId);
}

namespace {

// The message of a transfer that a stop ended: what happened and what the
// radio and the document now hold, with no cable advice.
void StopPrompt(const TransferContext& ctx, bool partialWrite, BlockFailure failure, const std::string& backupPath) {
    const LanguageTable& lang = ctx.language;
    Message m = TransferErrorMessage(lang, tid::kLinkInterrupted);
    if (failure.written > 0) {
        m.text += "\n\n" + FormatText(lang.TextString(tid::kStopBlocksWritten), {failure.written, kTransferBlocks - 1});
        if (partialWrite) m.text += "\n\n" + lang.TextString(tid::kTransferPartialWrite);
        if (!backupPath.empty()) m.text += "\n\n" + FormatText(lang.TextString(tid::kBackupKeptIn), {backupPath});
    } else if (failure.written == 0) {
        m.text += "\n\n" + lang.TextString(tid::kNothingWritten);
    } else if (failure.block >= 0) {
        m.text += "\n\n" + lang.TextString(tid::kDocumentUnchanged);
    }
    (void)ctx.prompter.Ask(m);
}

}  // namespace

TransferStatus FailureStatus(const ProgrammingPort& port, TransferStatus status) {
    return port.StoppedAnExchange() ? TransferStatus::kStopped : status;
}

LinkError RetryPrompt(const TransferContext& ctx, bool partialWrite, BlockFailure failure,
                      const std::string& backupPath) {
    if (ctx.port.StoppedAnExchange()) {
        StopPrompt(ctx, partialWrite, failure, backupPath);
        return LinkError::kInterrupted;
    }
    // Asked before the port closes: while it is open the library still knows
    // what happened to the cable.
    const LinkError cause = ctx.port.CurrentLinkError();
    Message m = TransferErrorMessage(ctx.language, tid::kMsgCommunicationError);
    if (failure.block >= 0 && cause != LinkError::kInterrupted) {
        const std::uint32_t how = cause == LinkError::kDisconnected ? tid::kBlockFailedUnplugged
                                  : failure.refused                 ? tid::kBlockFailedRefused
                                                                    : tid::kBlockFailedNoAnswer;
        m.text += "\n\n" + FormatText(ctx.language.TextString(how),
                                      {failure.block, static_cast<unsigned>(failure.block * kBlockSize)});
    }
    if (cause != LinkError::kNone && !(failure.block >= 0 && cause == LinkError::kDisconnected))
        m.text += "\n\n" + LinkTroubleText(cause, DoctorSystem::Current(), ctx.language);
    if (failure.block >= 0) m.text += "\n\n" + ctx.language.TextString(tid::kDocumentUnchanged);
    if (partialWrite) m.text += "\n\n" + ctx.language.TextString(tid::kTransferPartialWrite);
    if (partialWrite && !backupPath.empty())
        m.text += "\n\n" + FormatText(ctx.language.TextString(tid::kBackupKeptIn), {backupPath});
    (void)ctx.prompter.Ask(m);
    return cause;
}

TransferResult ReadBlocks(const TransferContext& ctx, ImageBuffer& memory, int count) {
    ProgrammingPort& port = ctx.port;
    TransferResult r;
    ShowProgress(ctx, 0);
    for (int i = 0; i < count; ++i) {
        ShowProgress(ctx, i);
        const auto address = static_cast<std::uint16_t>(kBlockSize * i);
        if (port.ReadBlock(address, static_cast<std::uint8_t>(kBlockSize), memory.data() + address) != 0) {
            r.link = RetryPrompt(ctx, false, {i, false});
            LeaveProgramMode(port);
            r.status = FailureStatus(port, TransferStatus::kBlockFailed);
            r.failedBlock = i;
            return r;
        }
        r.blocksDone = i + 1;
        port.PumpOneMessage();
    }
    ShowProgress(ctx, kTransferBlocks);
    return r;
}

bool IsReadableRadio(const ModelIdentity& radio) {
    bool named = false;
    for (int m = 0; m < ModelCatalogue::kModelCount; ++m)
        named = named || std::memcmp(radio.data(), ModelCatalogue::Model(m)->nameKey, 8) == 0;
    if (!named || ModelCatalogue::BandRecordOf(radio) < 0) return false;
    const int market = ModelCatalogue::MarketCode(radio);
    const int band = ModelCatalogue::BandCode(radio);
    return (market == 1 && (band == 0 || band == 1)) || (band == 1 && (market == 0 || market == 5 || market == 6));
}

TransferResult OpenProgramSession(const TransferContext& ctx, ModelIdentity& identity, BlockFailure failure) {
    ProgrammingPort& port = ctx.port;
    TransferResult r;
    port.PumpOneMessage();
    (void)port.SetOpen(true);  // a missing library shows up as a failing first step
    const auto fail = [&](TransferStatus status) {
        r.link = RetryPrompt(ctx, false, failure);
        LeaveProgramMode(port);
        r.status = FailureStatus(port, status);
        return r;
    };
    if (port.EnterProgramMode() != 0) return fail(TransferStatus::kNoAnswer);
    if (port.Identify(identity) != 0) return fail(TransferStatus::kIdentifyFailed);
    return r;
}

TransferResult RunReadTransfer(const TransferContext& ctx, ImageBuffer& transferImage) {
    TransferScope scope(ctx);
    ProgrammingPort& port = ctx.port;
    ModelIdentity identity{};
    TransferResult r = OpenProgramSession(ctx, identity);
    if (!r.Ok()) return r;
    if (ModelCatalogue::IsSiblingProduct(identity) >= 0) {
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgSiblingProduct));
        LeaveProgramMode(port);
        r.status = TransferStatus::kSiblingProduct;
        return r;
    }
    if (!IsReadableRadio(identity)) {
        LeaveProgramMode(port);
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgModelNotAccepted));
        r.status = TransferStatus::kModelRefused;
        return r;
    }

    r = ReadBlocks(ctx, transferImage, kTransferBlocks);
    if (!r.Ok()) return r;
    (void)port.ExitProgramMode();  // the data is complete whatever the exit answers
    port.SetOpen(false);

    std::copy(identity.begin(), identity.end(), transferImage.begin());
    transferImage[12] = 0xFF;
    return r;
}

TransferResult ReadDataFromRadio(const TransferContext& ctx, ImageBuffer& transferImage) {
    ctx.observer.OnWindowText(ctx.language.TextString(tid::kReadWindowRunning));
    const TransferResult r = RunReadTransfer(ctx, transferImage);
    if (r.Ok()) {
        (void)ctx.prompter.Ask(TransferInformation(ctx.language, tid::kReadDone, tid::kReadDoneCaption));
    } else {
        ctx.observer.OnWindowText(ctx.language.TextString(tid::kReadWindowTitle));
    }
    return r;
}

}  // namespace vrm
