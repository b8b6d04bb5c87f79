#include "core/link/radio_info.h"

#include <cstring>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

using namespace info_block;

std::string Shown(const std::string& value) { return FormatText("  %s", {value}); }

// The text of a catalogue string without its surrounding blanks (" K" -> "K").
std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

std::string RadioText(const std::uint8_t* bytes, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length && bytes[i] != 0x00; ++i) {
        const std::uint8_t b = bytes[i];
        if (b == 0xFF) text += ' ';
        else if (b >= 0x20 && b < 0x7F) text += static_cast<char>(b);
        else text += '.';
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

InformationTexts ReadInformationTexts(const std::array<std::uint8_t, proto::kInfoBlockSize>& block) {
    return {RadioText(block.data() + kModelNameOffset, kModelNameSize),
            RadioText(block.data() + kModelCodeOffset, kModelCodeSize),
            RadioText(block.data() + kSerialOffset, kSerialSize)};
}

std::string ChecksumDigits(const std::array<std::uint8_t, 2>& checksum) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string s;
    for (std::uint8_t b : checksum) {
        s += kDigits[b >> 4];
        s += kDigits[b & 0x0F];
    }
    return s;
}

std::string BandTextForModel(std::string_view modelName, std::string_view modelCode, const ModelIdentity& identity,
                             std::string_view decimalSeparator) {
    int firstBand = -1;
    for (int m = 0; m < ModelCatalogue::kModelCount; ++m) {
        const ModelRecord& r = *ModelCatalogue::Model(m);
        if (modelName != r.displayName || modelCode != Trimmed(r.typeSuffix)) continue;
        for (int b = r.firstBandRecord; b <= r.lastBandRecord; ++b) {
            const BandRecord& band = *ModelCatalogue::Band(b);
            if (band.bandCode == ModelCatalogue::BandCode(identity) &&
                band.marketCode == ModelCatalogue::MarketCode(identity))
                return ModelCatalogue::BandText(b, decimalSeparator);
        }
        if (firstBand < 0) firstBand = r.firstBandRecord;
    }
    return firstBand < 0 ? std::string() : ModelCatalogue::BandText(firstBand, decimalSeparator);
}

RadioInformationTexts RadioInformationDisplay(const RadioInformation& record, bool identityView,
                                              std::string_view decimalSeparator) {
    RadioInformationTexts t;
    if (!record.complete) return t;
    const InformationTexts info = ReadInformationTexts(record.information);
    const std::string& name = info.modelName;
    const std::string& code = info.modelCode;
    if (identityView) {
        t.serialNumber = Shown(RadioText(record.information.data(), record.information.size()));
        t.modelType = Shown(ModelCatalogue::ModelListText(ModelCatalogue::FindModel(record.identity)));
        t.frequency = Shown(ModelCatalogue::BandText(ModelCatalogue::BandRecordOf(record.identity), decimalSeparator));
    } else {
        t.serialNumber = Shown(info.serial);
        t.modelType = FormatText("  %s:%s", {name, code});
        t.frequency = Shown(BandTextForModel(name, code, record.identity, decimalSeparator));
    }
    t.firmwareVersion = Shown(RadioText(record.version.data(), kFirmwareSize));
    t.bootVersion = Shown(RadioText(record.bootVersion.data(), record.bootVersion.size()));
    t.checksum = Shown(ChecksumDigits(record.checksum));
    return t;
}

bool IsInformationRadio(const ModelIdentity& radio) {
    if (ModelCatalogue::IsSiblingProduct(radio) >= 0) return true;
    for (int m = 0; m < ModelCatalogue::kModelCount; ++m) {
        // The name key's text, without the 0xFF that pads it to 8 bytes.
        const std::uint8_t* key = ModelCatalogue::Model(m)->nameKey;
        std::size_t n = 0;
        while (n < 8 && key[n] != 0xFF) ++n;
        if (std::memcmp(radio.data(), key, n) == 0) return true;
    }
    return false;
}

TransferResult RunRadioInformationTransfer(const TransferContext& ctx, RadioInformation& record) {
    record.Clear();
    TransferScope scope(ctx);
    ProgrammingPort& port = ctx.port;
    TransferResult r;

    // Every failure ends the same way: the radio leaves program mode and the
    // port closes, so that the cable is free and the radio usable again.
    const auto fail = [&](TransferStatus status) {
        r.link = RetryPrompt(ctx);
        (void)port.ExitProgramMode();
        port.SetOpen(false);
        record.Clear();
        r.status = FailureStatus(port, status);
        return r;
    };

    ModelIdentity identity{};
    if (const TransferResult opened = OpenProgramSession(ctx, identity); !opened.Ok()) return opened;
    if (!IsInformationRadio(identity)) {
        (void)port.ExitProgramMode();
        port.SetOpen(false);
        (void)ctx.prompter.Ask(TransferErrorMessage(ctx.language, tid::kMsgModelNotAccepted));
        r.status = TransferStatus::kModelRefused;
        return r;
    }
    port.PumpOneMessage();
    if (port.ReadInformationBlock(record.information) != 0) return fail(TransferStatus::kInformationFailed);
    port.PumpOneMessage();
    if (port.ReadChecksum(record.checksum) != 0) return fail(TransferStatus::kInformationFailed);
    port.PumpOneMessage();
    if (port.ReadVersion(record.version) != 0) return fail(TransferStatus::kInformationFailed);
    port.PumpOneMessage();
    if (port.ReadBootVersion(record.bootVersion) != 0) return fail(TransferStatus::kInformationFailed);

    (void)port.ExitProgramMode();
    port.SetOpen(false);
    record.identity = identity;
    record.complete = true;
    return r;
}

// --- Memory Map viewer ------------------------------------------------------

std::string MemoryMapColumnHeading(int column) { return FormatText("__%X", {column}); }

std::string MemoryMapRowHeading(std::size_t address) {
    return FormatText("   %.3X_", {static_cast<unsigned long>(address / 16)});
}

std::string MemoryMapCell(std::uint8_t value) { return FormatText("%.2X", {static_cast<unsigned>(value)}); }

std::string MemoryMapCharacter(std::uint8_t value) {
    return std::string(1, value >= 0x20 && value < 0x7F ? static_cast<char>(value) : '.');
}

}  // namespace vrm
