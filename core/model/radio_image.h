// The radio data image: a byte-for-byte copy of the radio's 1024-byte
// configuration memory, with the saved image that "modified" is measured
// against and the transfer image that files and radio reads fill before they
// are adopted.
//
// Multi-byte numbers are little-endian; the blank value of every byte is 0xFF.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "core/model/entry_mode.h"

namespace vrm {

inline constexpr std::size_t kImageSize = 1024;
using ImageBuffer = std::array<std::uint8_t, kImageSize>;

// The 16 bytes at image offset 0x000 that name the model.
inline constexpr std::size_t kIdentitySize = 16;
using ModelIdentity = std::array<std::uint8_t, kIdentitySize>;

// One area of the image: where it starts and how long it is.
struct ImageArea {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t End() const { return offset + size; }
};

inline constexpr ImageArea kIdentityArea{0x000, 16};
inline constexpr ImageArea kFeatureArea{0x010, 16};          // optional features
inline constexpr ImageArea kScanArea{0x020, 32};
inline constexpr ImageArea kKeyArea{0x040, 32};              // key assignment
inline constexpr ImageArea kRadioSettingsArea{0x060, 16};    // bytes 14-15: channel-in-use bitmap
inline constexpr ImageArea kChannelTable{0x070, 256};        // 16 records of 16 bytes
inline constexpr ImageArea kCustomCodeArea{0x170, 32};       // 16 code words
inline constexpr ImageArea kSpecialArea{0x190, 112};         // special settings
inline constexpr ImageArea kTestStepArea{0x200, 16};         // one step byte per test pair
inline constexpr ImageArea kTestFrequencyArea{0x210, 144};   // bytes 0-63: 8 test pairs
inline constexpr ImageArea kBandPointArea{0x2A0, 32};        // bytes 0-23: 3 band-point pairs
inline constexpr ImageArea kBandPointStepArea{0x2C0, 240};   // bytes 0-2: their step bytes
inline constexpr ImageArea kEmbeddedMessageArea{0x3B0, 80};  // two 32-byte lines, then more

// Fields inside the areas that several parts of the program reach.
inline constexpr std::size_t kChannelInUseHigh = 0x06E;  // bit i: channel 8+i empty
inline constexpr std::size_t kChannelInUseLow = 0x06F;   // bit i: channel i empty
inline constexpr std::size_t kChannelRecordSize = 16;
inline constexpr int kMaxChannels = 16;
inline constexpr int kTestPairCount = 8;
inline constexpr int kBandPointCount = 3;                // low, centre, high
inline constexpr std::size_t kMessageLineSize = 32;
inline constexpr std::size_t kCustomQtWord = 0;          // words 0-5: CQT1-CQT6
inline constexpr std::size_t kCustomDqtWord = 8;         // words 8-13: CDT1-CDT6

// Frequency code: the frequency in 10 Hz units as eight packed BCD digits,
// least significant pair first. Read as a little-endian 32-bit number it is
// the digits in hexadecimal: 462.5625 MHz is stored 50 62 25 46 = 0x46256250.
using FrequencyCode = std::uint32_t;
inline constexpr FrequencyCode kBlankFrequency = 0xFFFFFFFF;
inline constexpr std::uint16_t kCodeOff = 0xFFFF;        // QT/DQT code word "off"

// Channel count from an identity's byte 8: capacity code 2 (bits 2-3) is 16
// channels, anything else 4.
constexpr int IdentityChannelCount(std::uint8_t byte8) { return ((byte8 >> 2) & 3) == 2 ? 16 : 4; }

class ModelCatalogue;

class RadioImage {
public:
    // Writes the preset channels of the New defaults (list-of-99 models). The
    // channel data model installs it; without it the New defaults leave
    // every channel empty.
    using PresetChannelWriter = std::function<void(RadioImage&, ModelCatalogue&)>;

    RadioImage();  // all three buffers blank (0xFF)
    RadioImage(const RadioImage&) = delete;
    RadioImage& operator=(const RadioImage&) = delete;

    ImageBuffer& Live() { return live_; }
    const ImageBuffer& Live() const { return live_; }
    ImageBuffer& Saved() { return saved_; }
    const ImageBuffer& Saved() const { return saved_; }
    ImageBuffer& Transfer() { return transfer_; }
    const ImageBuffer& Transfer() const { return transfer_; }

    // An area of the live image.
    std::span<std::uint8_t> Area(ImageArea area) { return {live_.data() + area.offset, area.size}; }
    std::span<const std::uint8_t> Area(ImageArea area) const { return {live_.data() + area.offset, area.size}; }

    // Little-endian fields of the live image. Offsets past the end read as
    // blank and are not written.
    std::uint8_t Byte(std::size_t offset) const { return offset < kImageSize ? live_[offset] : 0xFF; }
    void SetByte(std::size_t offset, std::uint8_t value) {
        if (offset < kImageSize) live_[offset] = value;
    }
    std::uint16_t Word(std::size_t offset) const;
    void SetWord(std::size_t offset, std::uint16_t value);
    FrequencyCode Frequency(std::size_t offset) const;
    void SetFrequency(std::size_t offset, FrequencyCode code);

    ModelIdentity Identity() const;
    void SetIdentity(const ModelIdentity& identity);

    // Fills the live image with 0xFF and copies it into the transfer image.
    void Clear();
    // Copies the live image into the saved image.
    void TakeSnapshot();
    // True when the live image differs from the saved image in any byte.
    // Compares the two directly: the transfer image, which a read transfer
    // may be filling at that moment, is never touched.
    bool IsModified() const;
    // Copies the transfer image into the live image.
    void AdoptTransferImage();
    // Fills the radio settings area and the channel table with 0xFF: no
    // channel is in use afterwards.
    void DeleteAllChannels();

    // The model's channel count, from the identity in the live image.
    int ChannelCount() const { return IdentityChannelCount(live_[8]); }
    // Offset of channel n's record, or -1 when the model has no channel n
    // (its 16 bytes may still lie inside the channel table).
    int ChannelAddress(int n) const;
    // True when channel n exists on this model and its in-use bit is clear.
    bool ChannelInUse(int n) const;

    // The New defaults of the current model (`catalogue` must be bound to this
    // image). With `resetIdentity` the default identity is written first.
    // Runs every step except the preset channels, which the installed
    // PresetChannelWriter writes for the list-of-99 models.
    void InitialiseDefaults(ModelCatalogue& catalogue, bool resetIdentity);
    // Steps 2 and 3 of the New defaults on their own: the default test
    // frequencies and band points of the current band (a band-only model
    // change uses them; so do the editors that restore a default).
    void WriteDefaultTestFrequencies(const ModelCatalogue& catalogue);
    void WriteDefaultBandPoints(const ModelCatalogue& catalogue);
    // The default band point p (0 low, 1 centre, 2 high) for frequency f (0/1)
    // of the current band, as text ("440.05000").
    static const char* DefaultBandPointText(int bandCode, int pair, int frequency);

    // Mends a loaded image: a microphone-sense byte of 0xFF or 0xFE becomes 1,
    // or 2 for models of destination class 5.
    void FixUpAfterLoad(const ModelCatalogue& catalogue);

    void SetPresetChannelWriter(PresetChannelWriter writer) { presetChannels_ = std::move(writer); }
    bool HasPresetChannelWriter() const { return static_cast<bool>(presetChannels_); }

    // Stores a frequency text through the frequency parser: the code at
    // `offset`, its step code in the high (`highNibble`) or low nibble of the
    // byte at `stepOffset`. An unparsable text stores a blank and step 0xF.
    void StoreFrequencyText(std::size_t offset, std::size_t stepOffset, bool highNibble, const char* text);

private:
    // Steps 4, 5, 6 and 11 of the New defaults for the model's entry mode.
    void WriteDefaultFeatures(EntryMode mode);
    void WriteDefaultScan();
    void WriteDefaultKeys(EntryMode mode);
    void WriteDefaultCustomCodes(EntryMode mode);

    ImageBuffer live_;
    ImageBuffer saved_;
    ImageBuffer transfer_;
    PresetChannelWriter presetChannels_;
};

}  // namespace vrm
