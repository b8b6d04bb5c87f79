#include "core/link/write_transfer.h"

#include <algorithm>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

// The radio settings block goes last: the radio takes the data as a whole
// only once its settings have arrived.
constexpr std::uint16_t kSettingsBlock = 0x060;
// The last 16 bytes stay as the radio has them.
constexpr std::uint16_t kFirstUnwritten = 0x3F0;
constexpr std::uint8_t kPrepareWrite = 1;  // argument of the ','-command

void LeaveProgramMode(ProgrammingPort& port) {
    (void)port.ExitProgramMode();
    port.SetOpen(false);
}

// A model as the refusal names it: the catalogue's summary (model, market
// and band), or the name the identity carries when the catalogue has none.
std::string ModelForMessage(const LanguageTable& language, const ModelIdentity& identity) {
    const std::string summary = ModelCatalogue::ModelSummaryText(identity, ".");
    if (!summary.empty()) return summary;
    std::string name;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::uint8_t c = identity[i];
        name += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : ' ';
    }
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.empty()) name = "?";
    return FormatText(language.TextString(tid::kUnknownModelNamed), {name});
}

// The refusal of a radio the data does not fit, naming both models.
Message ModelRefusal(const LanguageTable& language, const ModelIdentity& document, const ModelIdentity& radio) {
    Message m = TransferErrorMessage(language, tid::kMsgModelNotAccepted);
    m.text += "\n\n" + FormatText(language.TextString(tid::kMsgWriteModels),
                                   {ModelForMessage(language, document), ModelForMessage(language, radio)});
    return m;
}

}  // namespace

bool SameMarketClass(int documentMarket, int radioMarket) { return (documentMarket == 0) == (radioMarket == 0); }

WriteAcceptance JudgeWrite(const ModelIdentity& document, const ModelIdentity& radio) {
    const int documentMarket = ModelCatalogue::MarketCode(document);
    const int sibling = ModelCatalogue::IsSiblingProduct(radio);
    if (sibling >= 0) {
        // "LMX-7208" counts as market 0, "LMX7208A" as a non-zero market.
        const int radioMarket = sibling == 0 ? 0 : 1;
        return SameMarketClass(documentMarket, radioMarket) ? WriteAcceptance::kAccepted : WriteAcceptance::kRefused;
    }
    if (!IsReadableRadio(radio) || ModelCatalogue::FindModel(radio) < 0) return WriteAcceptance::kRefused;
    if (std::equal(radio.begin(), radio.begin() + 12, document.begin())) return WriteAcceptance::kAccepted;
    return SameMarketClass(documentMarket, ModelCatalogue::MarketCode(radio)) ? WriteAcceptance::kConfirm
                                                                              : WriteAcceptance::kRefusedMarket;
}

std::array<std::uint16_t, kTransferBlocks - 1> WriteBlockOrder() {
    std::array<std::uint16_t, kTransferBlocks - 1> order{};
    std::size_t n = 0;
    for (std::uint16_t offset = 0; offset < kFirstUnwritten; offset = static_cast<std::uint16_t>(offset + kBlockSize))
        if (offset != kSettingsBlock) order[n++] = offset;
    order[n] = kSettingsBlock;
    return order;
}

namespace {

// The write acceptance check with its questions. True when the write may go
// on; otherwise the radio has left program mode and `r` says why.
bool AcceptRadio(const TransferContext& ctx, const ImageBuffer& liveImage, const ModelIdentity& radio,
                 TransferResult& r) {
    ProgrammingPort& port = ctx.port;
    ModelIdentity document{};
    std::copy_n(liveImage.begin(), document.size(), document.begin());
    switch (JudgeWrite(document, radio)) {
        case WriteAcceptance::kAccepted: return true;
        case WriteAcceptance::kRefused:
            LeaveProgramMode(port);
            (void)ctx.prompter.Ask(ModelRefusal(ctx.language, document, radio));
            r.status = TransferStatus::kModelRefused;
            return false;
        case WriteAcceptance::kRefusedMarket:
            (void)ctx.prompter.Ask(ModelRefusal(ctx.language, document, radio));
            LeaveProgramMode(port);
            r.status = TransferStatus::kModelRefused;
            return false;
        case WriteAcceptance::kConfirm:
            if (ctx.prompter.Ask(TransferQuestion(ctx.language, tid::kMsgWriteOtherIdentity)) == Answer::Ok) return true;
            LeaveProgramMode(port);
            // A stop answers a pending question with Cancel.
            r.status = port.StopRequested() ? TransferStatus::kStopped : TransferStatus::kCancelled;
            return false;
    }
    return false;
}

// The blocks in the radio's order, block 0x060 last, with progress. A
// failed block abandons the write with the radio's abort and closes the port.
TransferResult WriteBlocks(const TransferContext& ctx, const ImageBuffer& liveImage, const std::string& backupPath) {
    ProgrammingPort& port = ctx.port;
    TransferResult r;
    int written = 0;  // the last WriteBlock's result: 2 when the radio refused the block
    const auto failed = [&](std::uint16_t offset) {
        r.link = RetryPrompt(ctx, true, {offset / kBlockSize, written == 2, r.blocksDone}, backupPath);
        port.PumpOneMessage();  // let the dialog repaint after the message
        (void)port.AbortWrite();
        port.SetOpen(false);
        r.status = FailureStatus(port, TransferStatus::kBlockFailed);
        r.failedBlock = offset / kBlockSize;
        r.refused = written == 2;
        return r;
    };
    const auto write = [&](std::uint16_t offset) {
        written = port.WriteBlock(offset, static_cast<std::uint8_t>(kBlockSize), liveImage.data() + offset);
        return written == 0;
    };

    for (std::uint16_t offset = 0; offset < kFirstUnwritten; offset = static_cast<std::uint16_t>(offset + kBlockSize)) {
        port.PumpOneMessage();
        ShowProgress(ctx, offset / kBlockSize);
        if (offset == kSettingsBlock) continue;
        if (!write(offset)) return failed(offset);
        ++r.blocksDone;
    }
    if (!write(kSettingsBlock)) return failed(kSettingsBlock);
    ++r.blocksDone;
    return r;
}

}  // namespace

TransferResult RunWriteTransfer(const TransferContext& ctx, const ImageBuffer& liveImage,
                                const std::string& backupPath) {
    TransferScope scope(ctx);
    ProgrammingPort& port = ctx.port;

    ShowProgress(ctx, 0);
    // Before the first block nothing has been written, whatever ends it.
    const BlockFailure notStarted{-1, false, 0};
    ModelIdentity radio{};
    TransferResult r = OpenProgramSession(ctx, radio, notStarted);
    if (!r.Ok() || !AcceptRadio(ctx, liveImage, radio, r)) return r;

    if (port.CommaCommand(kPrepareWrite) != 0) {
        r.link = RetryPrompt(ctx, false, notStarted);
        (void)port.ExitProgramModeOnce();
        port.SetOpen(false);
        r.status = FailureStatus(port, TransferStatus::kPrepareFailed);
        return r;
    }

    r = WriteBlocks(ctx, liveImage, backupPath);
    if (!r.Ok()) return r;
    ShowProgress(ctx, kTransferBlocks);
    (void)port.ExitProgramMode();
    port.SetOpen(false);
    return r;
}

TransferResult WriteDataToRadio(const TransferContext& ctx, const ImageBuffer& liveImage, bool continuous) {
    ctx.observer.OnWindowText(ctx.language.TextString(tid::kWriteWindowRunning));
    ctx.observer.PumpOneMessage();
    const TransferResult r = RunWriteTransfer(ctx, liveImage);
    if (!r.Ok()) {
        ctx.observer.OnWindowText(ctx.language.TextString(tid::kWriteWindowTitle));
        return r;
    }
    (void)ctx.prompter.Ask(TransferInformation(ctx.language, tid::kWriteDone, tid::kWriteDoneCaption));
    if (continuous) {
        ShowProgress(ctx, 0);
        ctx.observer.OnWindowText(ctx.language.TextString(tid::kWriteWindowTitle));
    }
    return r;
}

}  // namespace vrm
