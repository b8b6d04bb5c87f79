#include "core/fields/channel_model.h"

#include <algorithm>

#include "core/fields/field_access.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr std::size_t kRxAt = 0;
constexpr std::size_t kTxAt = 4;
constexpr std::size_t kDecodeAt = 8;
constexpr std::size_t kEncodeAt = 10;
constexpr std::size_t kBusyAt = 12;
constexpr std::size_t kFlagsAt = 13;
constexpr std::size_t kStepsAt = 14;
constexpr std::size_t kLinksAt = 15;
constexpr int kBlankStep = 3;

constexpr Choice kPowerHigh{1, tid::kPowerHigh, "high"};
constexpr Choice kPowerLow{0, tid::kPowerLow, "low"};
constexpr Choice kBusyChoices[] = {{0, tid::kCodeNone, "off"},
                                   {1, tid::kBusyCarrier, "carrier"},
                                   {2, tid::kBusyQtDqt, "qt_dqt"},
                                   {3, tid::kBusyQtDqtMismatch, "qt_dqt_mismatch"}};

// The preset channels of a new 99-frequency radio: preset entries 2, 8, 9
// and 10 on channels 1-4, with QT 67.0 Hz (code list line 1).
constexpr int kPresetChannelEntries[] = {2, 8, 9, 10};
constexpr int kPresetChannelCodeLine = 1;

std::string CustomName(std::uint8_t link) {
    return std::string((link & 8) ? "CDT" : "CQT") + std::to_string(link & 7);
}

bool IsCustomLink(std::uint8_t link) { return (link & 7) >= 1 && (link & 7) <= 6; }

}  // namespace

int ChannelReader::Count() const { return ctx_.image.ChannelCount(); }

bool ChannelReader::Exists(int n) const { return ctx_.image.ChannelInUse(n); }

std::size_t ChannelReader::Address(int n) const {
    return kChannelTable.offset + kChannelRecordSize * static_cast<std::size_t>(n);
}

bool ChannelReader::HasRx(int n) const { return ctx_.image.Frequency(Address(n) + kRxAt) != kBlankFrequency; }
bool ChannelReader::HasTx(int n) const { return ctx_.image.Frequency(Address(n) + kTxAt) != kBlankFrequency; }
std::uint8_t ChannelReader::Flags(int n) const { return ctx_.image.Byte(Address(n) + kFlagsAt); }
bool ChannelReader::Repeater(int n) const { return (Flags(n) & kRepeaterBit) != 0; }

void ChannelModel::SetFlag(int n, std::uint8_t bit, bool on) {
    const std::uint8_t flags = Flags(n);
    edit_.image.SetByte(Address(n) + kFlagsAt, static_cast<std::uint8_t>(on ? flags | bit : flags & ~bit));
}

void ChannelModel::Create(int n) {
    if (n < 0 || n >= Count()) return;
    const std::size_t bitmap = n < 8 ? kChannelInUseLow : kChannelInUseHigh;
    edit_.image.SetByte(bitmap, static_cast<std::uint8_t>(edit_.image.Byte(bitmap) & ~(1u << (n % 8))));
    edit_.image.SetByte(Address(n) + kBusyAt, 0);
    edit_.image.SetByte(Address(n) + kFlagsAt, static_cast<std::uint8_t>(Flags(n) & kKeptOnCreate));
}

bool ChannelModel::Delete(int n) {
    if (!Exists(n)) return false;
    const std::size_t at = Address(n);
    for (std::size_t i = 0; i < kChannelRecordSize; ++i) edit_.image.SetByte(at + i, 0xFF);
    const std::size_t bitmap = n < 8 ? kChannelInUseLow : kChannelInUseHigh;
    edit_.image.SetByte(bitmap, static_cast<std::uint8_t>(edit_.image.Byte(bitmap) | (1u << (n % 8))));
    return true;
}

// ---------------------------------------------------------------------------
// Items

std::string ChannelReader::ItemText(int n, int item) const {
    if (n < 0 || n >= Count()) return {};
    const std::size_t at = Address(n);
    switch (item) {
        case kItemZone: return std::to_string(kZone + 1);  // shown 1-based, as the channel
        case kItemChannel: return std::to_string(n + 1);
        case kItemRx: return CodeTables::FrequencyToText(ctx_.image.Frequency(at + kRxAt), ctx_.separator);
        case kItemTx: return CodeTables::FrequencyToText(ctx_.image.Frequency(at + kTxAt), ctx_.separator);
        case kItemDecode:
        case kItemEncode: {
            const Code code = GetCode(n, item == kItemDecode);
            return IsCustomLink(code.link) ? CustomName(code.link)
                                           : ctx_.tables.CodeWordToText(code.word, ctx_.separator);
        }
        case kItemPower: return ctx_.Text((Flags(n) & kPowerBit) ? tid::kPowerHigh : tid::kPowerLow);
        case kItemBusyLockout: {
            int value = ctx_.image.Byte(at + kBusyAt);
            // Without a decode code the QT/DQT choices mean nothing: shown as off.
            if ((value == 2 || value == 3) && GetCode(n, true).word == kCodeOff) value = 0;
            for (const Choice& c : kBusyChoices)
                if (c.value == value) return ctx_.Text(c.text);
            return {};
        }
        case kItemScanAdd: return field::OnOffText(ctx_, Flags(n) & kScanAddBit);
        case kItemVox: return field::OnOffText(ctx_, Flags(n) & kVoxBit);
        case kItemRepeater: return field::OnOffText(ctx_, Flags(n) & kRepeaterBit);
        case kItemFrequencyScan: return field::OnOffText(ctx_, Flags(n) & kFrequencyScanBit);
        default: return {};
    }
}

std::string ChannelReader::CustomCodeValue(int n, bool decode) const {
    if (n < 0 || n >= Count() || !Exists(n)) return {};
    const Code code = GetCode(n, decode);
    return IsCustomLink(code.link) ? ctx_.tables.CodeWordToText(code.word, ctx_.separator) : std::string();
}

bool ChannelReader::ItemShown(int item) const {
    switch (item) {
        case kItemChannel: case kItemRx: case kItemTx: case kItemDecode: case kItemEncode: case kItemPower:
        case kItemBusyLockout: case kItemScanAdd: case kItemVox:
            return true;
        case kItemRepeater: case kItemFrequencyScan: return ctx_.Mode() != EntryMode::Typed;
        default: return false;
    }
}

bool ChannelReader::ItemEnabled(int n, int item) const {
    if (n < 0 || n >= Count()) return false;
    const bool typed = ctx_.Mode() == EntryMode::Typed;
    if (item <= kItemRx || (item == kItemTx && !typed)) return true;
    if (!Exists(n)) return false;
    switch (item) {
        case kItemTx: return HasRx(n);
        case kItemEncode: return !typed || HasTx(n);
        case kItemPower: case kItemBusyLockout: case 12: case 13: return HasTx(n);
        case kItemVox: return (ctx_.image.Byte(kVoxFunctionByte) & kVoxFunctionBit) != 0;
        case kItemFrequencyScan: return Repeater(n);
        default: return true;
    }
}

// ---------------------------------------------------------------------------
// Frequencies

int ChannelReader::PresetEntryOf(FrequencyCode code) const {
    if (code == kBlankFrequency) return 0;
    const int count = ctx_.tables.PresetCount();
    for (int entry = 1; entry <= count; ++entry) {
        if (ctx_.tables.PresetFrequency(entry) == code) return entry;
    }
    return 0;
}

int ChannelReader::NextPreset(int entry) const {
    return entry + 1 > ctx_.tables.PresetCount() ? 1 : entry + 1;
}

void ChannelModel::PutFrequency(int n, bool rx, FrequencyCode code, int step) {
    const std::size_t at = Address(n);
    edit_.image.SetFrequency(at + (rx ? kRxAt : kTxAt), code);
    const int shift = rx ? 6 : 4;
    const std::uint8_t steps = edit_.image.Byte(at + kStepsAt);
    edit_.image.SetByte(at + kStepsAt,
                       static_cast<std::uint8_t>((steps & ~(3u << shift)) | ((static_cast<unsigned>(step) & 3) << shift)));
}

void ChannelModel::PutPreset(int n, bool rx, int entry) {
    const FrequencyCode code = edit_.tables.PresetFrequency(entry);
    const auto parsed = CodeTables::ParseFrequency(CodeTables::FrequencyToText(code, "."));
    if (parsed) PutFrequency(n, rx, parsed->code, parsed->step);
}

void ChannelModel::SetTxBlank(int n) {
    PutFrequency(n, false, kBlankFrequency, kBlankStep);
    PutCode(n, false, Code{});
}

WriteResult ChannelModel::SetFrequencyText(int n, bool rx, const std::string& typed) {
    if (n < 0 || n >= Count()) return WriteResult::Refuse();
    const std::string shown = Trimmed(typed);
    std::string text = CodeTables::ReplaceAll(shown, edit_.separator, ".");
    const bool none = text.empty() || shown == edit_.tables.NoneText();
    if (rx && none) {
        Delete(n);  // on an empty channel: nothing to do
        return {};
    }
    if (!rx && !Exists(n)) return WriteResult::Refuse();
    if (!rx && none) {
        SetTxBlank(n);
        return {};
    }
    // A text that is no number leaves the receive frequency as it was; the
    // transmit frequency becomes blank (a receive-only channel).
    if (!IsDecimalNumber(text)) {
        if (rx) return WriteResult::Refuse(tid::kMsgNotAFrequency, {shown});
        SetTxBlank(n);
        return {};
    }
    std::vector<tid::TextId> messages;
    if (edit_.Mode() == EntryMode::Typed) {
        if (!edit_.tables.BandCheck(text)) messages.push_back(rx ? tid::kMsgRxOutOfBand : tid::kMsgTxOutOfBand);
    } else if (!CodeTables::ExclusionCheck(text)) {
        messages.push_back(tid::kMsgExcludedFrequency);
    }
    const std::optional<ParsedFrequency> parsed = CodeTables::ParseFrequency(text);
    if (!parsed) {
        if (rx) return WriteResult::Refuse(tid::kMsgNotAFrequency, {shown});
        SetTxBlank(n);
        return {};
    }
    if (UsesPresetList(edit_.Mode()) && PresetEntryOf(parsed->code) == 0)
        return WriteResult::Refuse(tid::kMsgNotAPresetFrequency, {shown});
    return rx ? StoreRx(n, *parsed, std::move(messages)) : StoreTx(n, *parsed, std::move(messages));
}

WriteResult ChannelModel::ChoosePreset(int n, bool rx, int entry) {
    if (entry < 0 || entry > edit_.tables.PresetCount()) return WriteResult::Refuse();
    if (entry == 0) return SetFrequencyText(n, rx, "");
    return SetFrequencyText(n, rx, CodeTables::FrequencyToText(edit_.tables.PresetFrequency(entry), edit_.separator));
}

WriteResult ChannelModel::StoreRx(int n, const ParsedFrequency& f, std::vector<tid::TextId> messages) {
    WriteResult result;
    if (!Exists(n)) Create(n);
    PutFrequency(n, true, f.code, f.step);
    if (edit_.tables.IsReserved(f.code)) {
        Delete(n);
        messages.push_back(tid::kMsgReservedFrequency);
        result.messages = std::move(messages);
        return result;
    }
    const EntryMode mode = edit_.Mode();
    const int entry = PresetEntryOf(f.code);
    if (mode == EntryMode::List22) {
        const int rule = PowerRule(entry);
        if (rule != 2) SetFlag(n, kPowerBit, rule == 1);
    }
    // The transmit frequency follows, unless it is set and meant to differ.
    if (mode == EntryMode::Typed ? !HasTx(n) : !(HasTx(n) && Repeater(n))) PutFrequency(n, false, f.code, f.step);
    if (UsesPresetList(mode) && Repeater(n) && entry != 0 &&
        PresetEntryOf(edit_.image.Frequency(Address(n) + kTxAt)) == entry) {
        PutPreset(n, false, NextPreset(entry));
        messages.push_back(tid::kMsgRepeaterPaired);
    }
    result.messages = std::move(messages);
    return result;
}

WriteResult ChannelModel::StoreTx(int n, const ParsedFrequency& f, std::vector<tid::TextId> messages) {
    WriteResult result;
    if (UsesPresetList(edit_.Mode()) && Repeater(n)) {
        const int rxEntry = PresetEntryOf(edit_.image.Frequency(Address(n) + kRxAt));
        if (rxEntry != 0 && PresetEntryOf(f.code) == rxEntry) {
            PutPreset(n, false, NextPreset(rxEntry));
            messages.push_back(tid::kMsgRepeaterPaired);
            result.messages = std::move(messages);
            return result;
        }
    }
    PutFrequency(n, false, f.code, f.step);
    result.messages = std::move(messages);
    return result;
}

int ChannelReader::PowerRule(int entry) {
    if (entry >= 1 && entry <= 7) return 2;
    if (entry >= 8 && entry <= 14) return 0;
    return 1;  // entry 0 and 15-22
}

std::vector<FieldOption> ChannelReader::FrequencyOptions() const {
    std::vector<FieldOption> lines;
    if (!UsesPresetList(ctx_.Mode())) return lines;
    const std::vector<std::string> list = ctx_.tables.PresetList(ctx_.separator);
    for (std::size_t entry = 0; entry < list.size(); ++entry) {
        const std::string token =
            entry == 0 ? "off"
                       : CodeTables::FrequencyToText(ctx_.tables.PresetFrequency(static_cast<int>(entry)), ".");
        lines.push_back({list[entry], token});
    }
    return lines;
}

// ---------------------------------------------------------------------------
// Codes

ChannelReader::Code ChannelReader::GetCode(int n, bool decode) const {
    const std::size_t at = Address(n);
    const std::uint8_t links = ctx_.image.Byte(at + kLinksAt);
    return {ctx_.image.Word(at + (decode ? kDecodeAt : kEncodeAt)),
            static_cast<std::uint8_t>(decode ? links & 0x0F : links >> 4)};
}

void ChannelModel::PutCode(int n, bool decode, const Code& code) {
    const std::size_t at = Address(n);
    edit_.image.SetWord(at + (decode ? kDecodeAt : kEncodeAt), code.word);
    const std::uint8_t links = edit_.image.Byte(at + kLinksAt);
    edit_.image.SetByte(at + kLinksAt, decode ? static_cast<std::uint8_t>((links & 0xF0) | (code.link & 0x0F))
                                             : static_cast<std::uint8_t>((links & 0x0F) | (code.link << 4)));
}

WriteResult ChannelModel::SetCodeText(int n, bool decode, const std::string& typed) {
    if (!Exists(n)) return WriteResult::Refuse();
    const std::string text = Trimmed(typed);
    Code code;
    if (text.empty() || text == edit_.tables.OffText() || text == edit_.tables.NoneText()) {
        code.word = kCodeOff;
    } else if (UsesPresetList(edit_.Mode()) && text.size() == 4 &&
               (EqualsIgnoringCase(text.substr(0, 3), "CQT") || EqualsIgnoringCase(text.substr(0, 3), "CDT")) &&
               text[3] >= '1' && text[3] <= '6') {
        const bool qt = EqualsIgnoringCase(text.substr(0, 3), "CQT");
        const int entry = text[3] - '0';
        const CodeSlot slot = edit_.tables.CodeText(
            (qt ? CodeTables::kFirstCustomQtSlot : CodeTables::kFirstCustomDqtSlot) + entry - 1, ".");
        code.word = slot.word;
        code.link = static_cast<std::uint8_t>(slot.customEntry | (slot.customTable << 3));
    } else {
        code.word = edit_.tables.CodeWordFromText(text, edit_.separator);
    }
    return StoreCode(n, decode, code, true);
}

WriteResult ChannelModel::ChooseCode(int n, bool decode, int index) {
    if (!Exists(n)) return WriteResult::Refuse();
    Code code;
    if (edit_.Mode() == EntryMode::Typed) {
        if (index < 0 || index >= CodeTables::kTypedCodeCount) return WriteResult::Refuse();
        code.word = CodeTables::TypedCodeWord(index);
    } else {
        if (index < 0 || index >= CodeTables::kFixedSlotCount) return WriteResult::Refuse();
        if (index > 0) {
            const CodeSlot slot = edit_.tables.CodeText(index, ".");
            code.word = slot.word;
            if (slot.customTable >= 0)
                code.link = static_cast<std::uint8_t>(slot.customEntry | (slot.customTable << 3));
        }
    }
    return StoreCode(n, decode, code, false);
}

WriteResult ChannelModel::StoreCode(int n, bool decode, const Code& code, bool typed) {
    PutCode(n, decode, code);
    if (!decode) return {};
    const std::size_t busy = Address(n) + kBusyAt;
    if (code.word == kCodeOff && (edit_.image.Byte(busy) == 2 || edit_.image.Byte(busy) == 3))
        edit_.image.SetByte(busy, 0);
    if (edit_.Mode() == EntryMode::Typed) {
        if (typed && HasTx(n) && GetCode(n, false).word == kCodeOff && ItemEnabled(n, kItemEncode))
            PutCode(n, false, code);
    } else if (HasTx(n) && !Repeater(n)) {
        PutCode(n, false, code);
    }
    return {};
}

std::vector<FieldOption> ChannelReader::CodeOptions() const {
    std::vector<FieldOption> lines;
    if (ctx_.Mode() == EntryMode::Typed) {
        const std::vector<std::string> list = ctx_.tables.TypedCodeList(ctx_.separator);
        for (std::size_t i = 0; i < list.size(); ++i)
            lines.push_back({list[i], i == 0 ? std::string("off")
                                             : ctx_.tables.CodeWordToText(CodeTables::TypedCodeWord(static_cast<int>(i)), ".")});
        return lines;
    }
    const std::vector<std::string> list = ctx_.tables.FixedCodeList(ctx_.separator);
    for (std::size_t slot = 0; slot < list.size(); ++slot) {
        std::string token = "off";
        if (slot > 0) {
            const CodeSlot s = ctx_.tables.CodeText(static_cast<int>(slot), ".");
            token = s.customTable >= 0 ? CustomName(static_cast<std::uint8_t>(s.customEntry | (s.customTable << 3)))
                                       : s.text;
        }
        lines.push_back({list[slot], token});
    }
    return lines;
}

// ---------------------------------------------------------------------------
// Lists and switches

std::vector<Choice> ChannelReader::PowerChoices(int n) const {
    if (ctx_.Mode() == EntryMode::List22 && n >= 0 && n < Count()) {
        const int rule = PowerRule(PresetEntryOf(ctx_.image.Frequency(Address(n) + kRxAt)));
        if (rule == 0) return {kPowerLow};
        if (rule == 1) return {kPowerHigh};
    }
    return {kPowerHigh, kPowerLow};
}

std::vector<Choice> ChannelReader::BusyLockoutChoices(int n) const {
    std::vector<Choice> choices(std::begin(kBusyChoices), std::begin(kBusyChoices) + 2);
    if (n >= 0 && n < Count() && GetCode(n, true).word != kCodeOff)
        choices.insert(choices.end(), std::begin(kBusyChoices) + 2, std::end(kBusyChoices));
    return choices;
}

WriteResult ChannelModel::SetPower(int n, int value) {
    if (!Exists(n)) return WriteResult::Refuse();
    const std::vector<Choice> offered = PowerChoices(n);
    if (std::none_of(offered.begin(), offered.end(), [value](const Choice& c) { return c.value == value; }))
        return WriteResult::Refuse();
    SetFlag(n, kPowerBit, value == 1);
    return {};
}

WriteResult ChannelModel::SetBusyLockout(int n, int value) {
    if (!Exists(n)) return WriteResult::Refuse();
    const std::vector<Choice> offered = BusyLockoutChoices(n);
    if (std::none_of(offered.begin(), offered.end(), [value](const Choice& c) { return c.value == value; }))
        return WriteResult::Refuse();
    edit_.image.SetByte(Address(n) + kBusyAt, static_cast<std::uint8_t>(value));
    return {};
}

WriteResult ChannelModel::SetRepeater(int n, bool on) {
    if (!Exists(n)) return WriteResult::Refuse();
    const std::size_t at = Address(n);
    const FrequencyCode rx = edit_.image.Frequency(at + kRxAt);
    const FrequencyCode tx = edit_.image.Frequency(at + kTxAt);
    if (on) {
        const int rxEntry = PresetEntryOf(rx);
        if (UsesPresetList(edit_.Mode()) && rxEntry != 0 && PresetEntryOf(tx) == rxEntry)
            PutPreset(n, false, NextPreset(rxEntry));
    } else if (rx != tx) {
        PutFrequency(n, false, rx, (edit_.image.Byte(at + kStepsAt) >> 6) & 3);
        PutCode(n, false, GetCode(n, true));
    }
    SetFlag(n, kRepeaterBit, on);
    return {};
}

void ChannelModel::WritePresetChannels() {
    for (int n = 0; n < static_cast<int>(std::size(kPresetChannelEntries)) && n < Count(); ++n) {
        ChoosePreset(n, true, kPresetChannelEntries[n]);
        ChooseCode(n, true, kPresetChannelCodeLine);
    }
}

}  // namespace vrm
