// The channel data model: item-by-item access to the channel records of the
// image, shared by the channel edit form, the channel information grid, the
// CLI and the New defaults. It holds the rules that are more than a table:
// channel create and delete, the band and exclusion checks, reserved
// frequencies, the transmit follow-up, repeater pairing, the decode-to-encode
// copy, the power rule of the 22-frequency models and the busy channel
// lockout offers.
//
// Channel record (16 bytes, channel n at 0x070 + 16n): 0-3 receive
// frequency, 4-7 transmit frequency, 8-9 decode code, 10-11 encode code,
// 12 busy channel lockout, 13 flags (bit 0 repeater, 1 VOX, 2 scan add, 3-4
// wide/narrow, 5 power, 6 beat shift, 7 RX/TX frequency scan), 14 step codes
// (bits 6-7 receive, 4-5 transmit), 15 custom-code links (low nibble decode,
// high nibble encode: entry 1-6 in bits 0-2, table in bit 3).
#pragma once

#include <string>
#include <vector>

#include "core/fields/field.h"
#include "core/model/code_tables.h"

namespace vrm {

// Reading the channel records: what a channel shows, which items are shown
// and enabled, the lists the items offer. Views, exports and checks that
// only look at the image take this, from a const context.
class ChannelReader {
public:
    // Item numbers of the channel edit form.
    static constexpr int kItemZone = 1;  // hidden: the family has one zone
    static constexpr int kZone = 0;
    static constexpr int kItemChannel = 2;
    static constexpr int kItemRx = 3;
    static constexpr int kItemTx = 4;
    static constexpr int kItemDecode = 5;
    static constexpr int kItemEncode = 6;
    static constexpr int kItemPower = 7;
    static constexpr int kItemBusyLockout = 11;
    static constexpr int kItemScanAdd = 16;
    static constexpr int kItemVox = 19;
    static constexpr int kItemRepeater = 20;
    static constexpr int kItemFrequencyScan = 21;
    static constexpr int kItemCount = 32;

    // Byte 13.
    static constexpr std::uint8_t kRepeaterBit = 0x01;
    static constexpr std::uint8_t kVoxBit = 0x02;
    static constexpr std::uint8_t kScanAddBit = 0x04;
    static constexpr std::uint8_t kPowerBit = 0x20;
    static constexpr std::uint8_t kFrequencyScanBit = 0x80;
    // What a created channel keeps of byte 13: VOX, scan add and power.
    static constexpr std::uint8_t kKeptOnCreate = 0x26;
    // Optional features byte 9 bit 5: the VOX function that enables item 19.
    static constexpr std::size_t kVoxFunctionByte = 0x019;
    static constexpr std::uint8_t kVoxFunctionBit = 0x20;

    explicit ChannelReader(const EditContext& ctx) : ctx_(ctx) {}

    int Count() const;
    bool Exists(int n) const;
    bool HasRx(int n) const;
    bool HasTx(int n) const;
    bool Repeater(int n) const;
    std::size_t Address(int n) const;  // valid for 0 <= n < Count()

    // ---- items ----------------------------------------------------------
    std::string ItemText(int n, int item) const;
    // The tone or code behind the custom entry (CQT1-CDT6) that item 5
    // (decode) or 6 (encode) is linked to, as the channel stores it ("100.0");
    // "" when the item is not linked to one.
    std::string CustomCodeValue(int n, bool decode) const;
    bool ItemShown(int item) const;
    bool ItemEnabled(int n, int item) const;

    // The entries the lists offer now.
    std::vector<Choice> PowerChoices(int n) const;
    std::vector<Choice> BusyLockoutChoices(int n) const;
    // The drop-down lines of items 3/4 (preset list) and 5/6 (code list).
    std::vector<FieldOption> FrequencyOptions() const;
    std::vector<FieldOption> CodeOptions() const;

    // The preset entry of a frequency (0 when it is not in the list).
    int PresetEntryOf(FrequencyCode code) const;

protected:
    struct Code {
        std::uint16_t word = kCodeOff;
        std::uint8_t link = 0x0F;  // nibble of byte 15: entry | table << 3; 0xF none
    };
    Code GetCode(int n, bool decode) const;
    std::uint8_t Flags(int n) const;
    // The entry after `entry` in the preset list, entry 1 after the last.
    int NextPreset(int entry) const;
    // The power rule of the 22-frequency models for a receive entry: 0 only
    // low, 1 only high, 2 both.
    static int PowerRule(int entry);

    const EditContext& ctx_;
};

// The channel data model's writer: every change to a channel record goes
// through here, with its rule.
class ChannelModel : public ChannelReader {
public:
    explicit ChannelModel(EditContext& ctx) : ChannelReader(ctx), edit_(ctx) {}

    // Clears the channel's in-use bit; byte 12 = 0, byte 13 keeps only bits
    // 1, 2 and 5.
    void Create(int n);
    // The record back to 0xFF and the in-use bit set. False when the channel
    // did not exist.
    bool Delete(int n);

    // A typed frequency (items 3 and 4), with the user's decimal separator.
    WriteResult SetFrequencyText(int n, bool rx, const std::string& text);
    // Entry `entry` of the preset list (0: none).
    WriteResult ChoosePreset(int n, bool rx, int entry);
    // A typed code or line `index` of the code list (items 5 and 6).
    WriteResult SetCodeText(int n, bool decode, const std::string& text);
    WriteResult ChooseCode(int n, bool decode, int index);
    WriteResult SetPower(int n, int value);
    WriteResult SetBusyLockout(int n, int value);
    WriteResult SetRepeater(int n, bool on);

    // The preset channels of the New defaults on the 99-frequency models.
    void WritePresetChannels();

private:
    WriteResult StoreRx(int n, const ParsedFrequency& f, std::vector<tid::TextId> messages);
    WriteResult StoreTx(int n, const ParsedFrequency& f, std::vector<tid::TextId> messages);
    void SetTxBlank(int n);
    void PutFrequency(int n, bool rx, FrequencyCode code, int step);
    void PutPreset(int n, bool rx, int entry);
    void PutCode(int n, bool decode, const Code& code);
    WriteResult StoreCode(int n, bool decode, const Code& code, bool typed);
    void SetFlag(int n, std::uint8_t bit, bool on);

    EditContext& edit_;
};

}  // namespace vrm
