// The model catalogue: which radio models exist, how a model is recognised
// from the 16-byte model identity, its band and market variants and every
// model-dependent property the program asks for.
//
// The catalogue keeps no copy of the identity: the current model is whatever
// identity stands at offset 0x000 of the bound radio data image. Every query
// reads it from there, or takes an identity passed in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"

namespace vrm {

// One model of the table.
struct ModelRecord {
    std::uint8_t nameKey[8];    // "PHRV-41" + 0xFF, compared as 8 raw bytes
    std::uint8_t storedByte8;   // identity byte 8 as set model() writes it
    EntryMode entryMode;
    int channels;               // 4 or 16
    std::uint8_t marketCode;
    int firstBandRecord;        // the model's band records, first..last
    int lastBandRecord;
    const char* displayName;    // "HRV-41"
    const char* lineText;       // " LMR " (the blanks belong to it)
    const char* bandLabel;      // "UHF"
    const char* typeSuffix;     // " K"
    bool offered;
    const char* fileStem;       // "hrv41"
};

// One band record of the table.
struct BandRecord {
    std::uint8_t bandCode;
    std::uint8_t marketCode;
    EntryMode entryMode;
    const char* bandText;       // "440-480 MHz"
    const char* secondText;     // ""
};

struct BandLimits {
    double lowerMHz = 0;
    double upperMHz = 0;
    bool operator==(const BandLimits&) const = default;
};

// A line of a list control: its text and its item data.
struct ListEntry {
    std::string text;
    int data = 0;
    bool operator==(const ListEntry&) const = default;
};

class ModelCatalogue {
public:
    static constexpr int kModelCount = 5;
    static constexpr int kBandRecordCount = 6;
    static constexpr int kDefaultModel = 3;
    static constexpr int kDefaultBandRecord = 4;

    // Binds the catalogue to `image` and computes the band limits of its
    // current identity.
    explicit ModelCatalogue(RadioImage& image);
    virtual ~ModelCatalogue() = default;
    ModelCatalogue(const ModelCatalogue&) = delete;
    ModelCatalogue& operator=(const ModelCatalogue&) = delete;

    RadioImage& Image() { return image_; }
    const RadioImage& Image() const { return image_; }
    ModelIdentity CurrentIdentity() const { return image_.Identity(); }

    // The tables themselves; null for an index out of range.
    static const ModelRecord* Model(int model);
    static const BandRecord* Band(int bandRecord);
    static ModelIdentity DefaultIdentity();

    // Model number 0-4 of an identity, or -1.
    static int FindModel(const ModelIdentity& identity);
    int FindModel() const { return FindModel(CurrentIdentity()); }
    // First model whose name key starts with `text`, or -1.
    static int FindModelByName(std::string_view text);
    static bool IsOffered(int model);
    // A known, offered model whose band record lies in its own band range,
    // with one of the band words 0x0100, 0x0105, 0x0106.
    static bool IsAcceptable(const ModelIdentity& identity);
    bool IsAcceptable() const { return IsAcceptable(CurrentIdentity()); }
    // The first 12 bytes equal the current identity's.
    bool IsCurrentModel(const ModelIdentity& identity) const;
    // Market code and entry mode equal the current ones.
    bool IsSameFamily(const ModelIdentity& identity) const;
    // Index 0-1 in the sibling-product list ("LMX-7208", "LMX7208A"), or -1.
    static int IsSiblingProduct(const ModelIdentity& identity);

    static int ChannelCount(const ModelIdentity& identity) { return IdentityChannelCount(identity[8]); }
    int ChannelCount() const { return ChannelCount(CurrentIdentity()); }
    // The type is named with its namespace here: inside the class the plain
    // name means these accessors.
    static vrm::EntryMode EntryMode(const ModelIdentity& identity) { return EntryModeFromByte8(identity[8]); }
    vrm::EntryMode EntryMode() const { return EntryMode(CurrentIdentity()); }
    static int MarketCode(const ModelIdentity& identity) { return identity[10]; }
    int MarketCode() const { return MarketCode(CurrentIdentity()); }
    static int BandCode(const ModelIdentity& identity) { return identity[11]; }
    int BandCode() const { return BandCode(CurrentIdentity()); }
    static std::uint16_t BandWord(const ModelIdentity& identity) {
        return static_cast<std::uint16_t>(identity[10] | (identity[11] << 8));
    }
    std::uint16_t BandWord() const { return BandWord(CurrentIdentity()); }

    // Index of the band record for (band code, market code), or -1.
    static int BandRecordOf(const ModelIdentity& identity);
    int BandRecordOf() const { return BandRecordOf(CurrentIdentity()); }

    // Band edges in MHz: 440/480 for band code 1, 325/360 for any other.
    static BandLimits BandLimitsOf(const ModelIdentity& identity);
    // The band limits as last recomputed (at construction, by the New
    // defaults, and wherever the program recomputes them after a load or a
    // model change). The editors clamp typed frequencies to these.
    const BandLimits& CurrentBandLimits() const { return limits_; }
    void RecomputeBandLimits() { limits_ = BandLimitsOf(CurrentIdentity()); }

    // 0 for band word 0x0001; 1 for 0x0100, 0x0101, 0x0105, 0x0106; else -1.
    static int MarketClass(const ModelIdentity& identity);
    int MarketClass() const { return MarketClass(CurrentIdentity()); }
    // The reserved receive frequencies of a market class, in whole hertz.
    static std::vector<std::int64_t> ReservedFrequenciesHz(int marketClass);

    // Market code 1 -> 4, 2 -> 5, 3 -> 1, 5 -> 6, 6 -> 7, any other -> 2.
    static int DestinationClass(const ModelIdentity& identity);
    int DestinationClass() const { return DestinationClass(CurrentIdentity()); }
    virtual bool IsDestinationClass4() const { return DestinationClass() == 4; }
    virtual bool IsDestinationClass1Or3() const {
        const int c = DestinationClass();
        return c == 1 || c == 3;
    }
    virtual bool IsDestinationClass1() const { return DestinationClass() == 1; }
    virtual bool IsDestinationClass2() const { return DestinationClass() == 2; }
    virtual bool IsDestinationClass5() const { return DestinationClass() == 5; }
    // Two further class queries of the interface; no model of this family
    // answers yes.
    virtual bool IsSpareClassA() const { return false; }
    virtual bool IsSpareClassB() const { return false; }

    // "HRV-41  LMR  [UHF]: K"; empty for a model number out of range.
    static std::string ModelListText(int model);
    // "HRV-41 LMR : K UHF : 440-480 MHz" for the current (or the given)
    // identity, with "." in band texts shown as `decimalSeparator`; empty when
    // the identity names no model.
    std::string ModelSummaryText(std::string_view decimalSeparator) const {
        return ModelSummaryText(CurrentIdentity(), decimalSeparator);
    }
    static std::string ModelSummaryText(const ModelIdentity& identity, std::string_view decimalSeparator);
    // Band text and second text of a band record; empty when out of range.
    static std::string BandText(int bandRecord, std::string_view decimalSeparator);

    // Writes the model's stored key (bytes 0-9) and its entry mode into the
    // identity. Out-of-range numbers change nothing (returns false).
    bool SetModel(int model);
    // Byte 10 = low byte (market code), byte 11 = high byte (band code).
    void SetBandWord(std::uint16_t word);
    // Bits 0-1 of byte 8.
    void SetEntryMode(vrm::EntryMode mode);
    // Writes the default identity (model 3 with band record 4).
    void ResetIdentity();

    // The offered models in table order (item data: model number).
    static std::vector<ListEntry> ModelList();
    // The band texts of a model's band range (item data: band code * 256 +
    // market code, which is the band word). Empty when out of range.
    static std::vector<ListEntry> BandList(int model, std::string_view decimalSeparator);

private:
    RadioImage& image_;
    BandLimits limits_;
};

}  // namespace vrm
