#include "core/model/radio_image.h"

#include <algorithm>
#include <cstring>

#include "core/model/code_tables.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

// The default test-frequency pairs and band points of the two bands, as the
// frequency parser takes them.
constexpr const char* kTestPairsUhf[6][2] = {
    {"460.05000", "460.10000"}, {"440.05000", "440.10000"}, {"479.95000", "479.90000"},
    {"460.00000", "460.00000"}, {"460.20000", "460.20000"}, {"460.40000", "460.40000"}};
constexpr const char* kTestPairsOther[6][2] = {
    {"325.05000", "325.10000"}, {"342.55000", "342.60000"}, {"359.95000", "359.90000"},
    {"345.00000", "345.00000"}, {"345.20000", "345.20000"}, {"345.40000", "345.40000"}};
constexpr const char* kBandPointsUhf[3][2] = {
    {"440.05000", "440.10000"}, {"460.05000", "460.10000"}, {"479.95000", "479.90000"}};
constexpr const char* kBandPointsOther[3][2] = {
    {"325.05000", "325.10000"}, {"342.55000", "342.60000"}, {"359.95000", "359.90000"}};

constexpr std::uint16_t kDefaultCustomQt = 670;      // 67.0 Hz
constexpr std::uint16_t kDefaultCustomDqt = 0x2813;  // shown as D023N

}  // namespace

RadioImage::RadioImage() {
    live_.fill(0xFF);
    saved_.fill(0xFF);
    transfer_.fill(0xFF);
}

std::uint16_t RadioImage::Word(std::size_t offset) const {
    if (offset + 1 >= kImageSize) return 0xFFFF;
    return static_cast<std::uint16_t>(live_[offset] | (live_[offset + 1] << 8));
}

void RadioImage::SetWord(std::size_t offset, std::uint16_t value) {
    if (offset + 1 >= kImageSize) return;
    live_[offset] = static_cast<std::uint8_t>(value & 0xFF);
    live_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

FrequencyCode RadioImage::Frequency(std::size_t offset) const {
    if (offset + 3 >= kImageSize) return kBlankFrequency;
    return static_cast<FrequencyCode>(live_[offset]) | (static_cast<FrequencyCode>(live_[offset + 1]) << 8) |
           (static_cast<FrequencyCode>(live_[offset + 2]) << 16) |
           (static_cast<FrequencyCode>(live_[offset + 3]) << 24);
}

void RadioImage::SetFrequency(std::size_t offset, FrequencyCode code) {
    if (offset + 3 >= kImageSize) return;
    for (int i = 0; i < 4; ++i) live_[offset + i] = static_cast<std::uint8_t>(code >> (8 * i));
}

ModelIdentity RadioImage::Identity() const {
    ModelIdentity id;
    std::copy_n(live_.begin(), kIdentitySize, id.begin());
    return id;
}

void RadioImage::SetIdentity(const ModelIdentity& identity) {
    std::copy(identity.begin(), identity.end(), live_.begin());
}

void RadioImage::Clear() {
    live_.fill(0xFF);
    transfer_ = live_;
}

void RadioImage::TakeSnapshot() { saved_ = live_; }

bool RadioImage::IsModified() const { return live_ != saved_; }

void RadioImage::AdoptTransferImage() { live_ = transfer_; }

void RadioImage::DeleteAllChannels() {
    std::fill(live_.begin() + kRadioSettingsArea.offset, live_.begin() + kChannelTable.End(), 0xFF);
}

int RadioImage::ChannelAddress(int n) const {
    if (n < 0 || n >= ChannelCount()) return -1;
    return static_cast<int>(kChannelTable.offset + kChannelRecordSize * static_cast<std::size_t>(n));
}

bool RadioImage::ChannelInUse(int n) const {
    if (ChannelAddress(n) < 0) return false;
    const std::uint8_t bits = n < 8 ? live_[kChannelInUseLow] : live_[kChannelInUseHigh];
    return (bits & (1u << (n % 8))) == 0;
}

void RadioImage::StoreFrequencyText(std::size_t offset, std::size_t stepOffset, bool highNibble,
                                    const char* text) {
    const auto parsed = CodeTables::ParseFrequency(text ? text : "");
    const FrequencyCode code = parsed ? parsed->code : kBlankFrequency;
    const int step = parsed ? parsed->step : 0xF;
    SetFrequency(offset, code);
    if (stepOffset >= kImageSize) return;
    std::uint8_t& b = live_[stepOffset];
    b = highNibble ? static_cast<std::uint8_t>((b & 0x0F) | (step << 4))
                   : static_cast<std::uint8_t>((b & 0xF0) | (step & 0x0F));
}

const char* RadioImage::DefaultBandPointText(int bandCode, int pair, int frequency) {
    if (pair < 0 || pair >= kBandPointCount || frequency < 0 || frequency > 1) return "";
    return bandCode == 1 ? kBandPointsUhf[pair][frequency] : kBandPointsOther[pair][frequency];
}

void RadioImage::WriteDefaultTestFrequencies(const ModelCatalogue& catalogue) {
    std::fill_n(live_.begin() + kTestFrequencyArea.offset, 64, 0xFF);
    const auto& pairs = catalogue.BandCode() == 1 ? kTestPairsUhf : kTestPairsOther;
    for (std::size_t p = 0; p < 6; ++p) {
        const std::size_t at = kTestFrequencyArea.offset + 8 * p;
        StoreFrequencyText(at, kTestStepArea.offset + p, true, pairs[p][0]);
        StoreFrequencyText(at + 4, kTestStepArea.offset + p, false, pairs[p][1]);
    }
}

void RadioImage::WriteDefaultBandPoints(const ModelCatalogue& catalogue) {
    std::fill_n(live_.begin() + kBandPointArea.offset, 24, 0xFF);
    const int band = catalogue.BandCode();
    for (int p = 0; p < kBandPointCount; ++p) {
        const std::size_t at = kBandPointArea.offset + 8 * static_cast<std::size_t>(p);
        const std::size_t step = kBandPointStepArea.offset + static_cast<std::size_t>(p);
        StoreFrequencyText(at, step, true, DefaultBandPointText(band, p, 0));
        StoreFrequencyText(at + 4, step, false, DefaultBandPointText(band, p, 1));
    }
}

void RadioImage::WriteDefaultFeatures(EntryMode mode) {
    // Bytes 7, 12 and 13 keep their value.
    std::uint8_t* f = live_.data() + kFeatureArea.offset;
    const std::uint8_t features[7] = {4, 0, 0, 0, 0, 7, 1};
    std::memcpy(f, features, sizeof features);
    if (mode == EntryMode::Typed) f[8] = 0x39;
    else if (mode == EntryMode::List99) f[8] = 0x3F;
    else if (mode == EntryMode::List22) f[8] = 0x3D;
    f[9] = 0xE1;
    f[10] = 0x01;
    f[11] = 4;
    f[14] = 2;
    f[15] = 0x31;
}

void RadioImage::WriteDefaultScan() {
    // Dwell 3 s (bytes 3-4), dropout 3 s (bytes 5-6), revert channel 1.
    std::uint8_t* s = live_.data() + kScanArea.offset;
    s[0] = 0;
    s[1] = 31;
    s[2] = 31;
    SetWord(kScanArea.offset + 3, 3);
    SetWord(kScanArea.offset + 5, 3);
    s[7] = 0;
    s[8] = 1;
}

void RadioImage::WriteDefaultKeys(EntryMode mode) {
    std::uint8_t* k = live_.data() + kKeyArea.offset;
    std::fill_n(k, 4, 0xFF);
    if (mode == EntryMode::List99) {
        k[0] = 0, k[1] = 0, k[2] = 0;
    } else if (mode == EntryMode::Typed) {
        k[0] = 0, k[1] = 4, k[2] = 1;
    } else if (mode == EntryMode::List22) {
        k[0] = 8, k[1] = 4, k[2] = 1;
    }
}

void RadioImage::WriteDefaultCustomCodes(EntryMode mode) {
    std::fill_n(live_.begin() + kCustomCodeArea.offset, 4, 0xFF);
    if (!UsesPresetList(mode)) return;
    for (std::size_t w = 0; w < 6; ++w) {
        SetWord(kCustomCodeArea.offset + 2 * (kCustomQtWord + w), kDefaultCustomQt);
        SetWord(kCustomCodeArea.offset + 2 * (kCustomDqtWord + w), kDefaultCustomDqt);
    }
}

void RadioImage::InitialiseDefaults(ModelCatalogue& catalogue, bool resetIdentity) {
    if (resetIdentity) catalogue.ResetIdentity();
    const EntryMode mode = catalogue.EntryMode();

    // 1. Band limits of the model.
    catalogue.RecomputeBandLimits();
    // 2, 3. Test frequencies and band points.
    WriteDefaultTestFrequencies(catalogue);
    WriteDefaultBandPoints(catalogue);
    // 4. Optional features.
    WriteDefaultFeatures(mode);
    // 5. Scan.
    WriteDefaultScan();
    // 6. Key assignment.
    WriteDefaultKeys(mode);
    // 7. Every channel empty.
    live_[kChannelInUseHigh] = 0xFF;
    live_[kChannelInUseLow] = 0xFF;
    // 8. Preset channels of the 99-frequency models.
    if (mode == EntryMode::List99 && presetChannels_) presetChannels_(*this, catalogue);
    // 9. Embedded message lines empty.
    std::fill_n(live_.begin() + kEmbeddedMessageArea.offset, 2 * kMessageLineSize, 0x00);
    // 10. Special settings.
    live_[kSpecialArea.offset] = 0;
    live_[kSpecialArea.offset + 1] = 0;
    // 11. Custom codes.
    WriteDefaultCustomCodes(mode);
}

void RadioImage::FixUpAfterLoad(const ModelCatalogue& catalogue) {
    std::uint8_t& micSense = live_[kFeatureArea.offset + 6];
    if (micSense == 0xFF || micSense == 0xFE) micSense = catalogue.DestinationClass() == 5 ? 2 : 1;
}

}  // namespace vrm
