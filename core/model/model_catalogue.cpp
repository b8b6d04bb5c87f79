#include "core/model/model_catalogue.h"

#include <algorithm>
#include <cstring>

#include "core/base/text_format.h"
#include "core/model/code_tables.h"

namespace vrm {

namespace {

#define VRM_NAME_KEY {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF}

constexpr ModelRecord kModels[ModelCatalogue::kModelCount] = {
    {VRM_NAME_KEY, 0xFF, EntryMode::Typed, 4, 1, 0, 1, "HRV-41", " LMR ", "UHF", " M", false, "hrv41"},
    {VRM_NAME_KEY, 0xFF, EntryMode::Typed, 4, 0, 2, 2, "HRV-41", " LMR ", "UHF", " K", true, "hrv41"},
    {VRM_NAME_KEY, 0xFC, EntryMode::List99, 4, 0, 3, 3, "HRV-41", " Varitel ", "UHF", " K", true, "hrv41"},
    {VRM_NAME_KEY, 0xFB, EntryMode::Typed, 16, 5, 4, 4, "HRV-41A", " LMR ", "UHF", " K", true, "hrv41"},
    {VRM_NAME_KEY, 0xFB, EntryMode::Typed, 16, 6, 5, 5, "HRV-41", " LMR ", "UHF", " P", true, "hrv41"},
};

#undef VRM_NAME_KEY

constexpr BandRecord kBands[ModelCatalogue::kBandRecordCount] = {
    {0, 1, EntryMode::Typed, "325-360 MHz", ""},
    {1, 1, EntryMode::Typed, "440-480 MHz", ""},
    {1, 0, EntryMode::Typed, "440-480 MHz", ""},
    {1, 0, EntryMode::List99, "440-480 MHz", ""},
    {1, 5, EntryMode::Typed, "440-480 MHz", ""},
    {1, 6, EntryMode::Typed, "440-480 MHz", ""},
};

constexpr std::uint8_t kSiblingNames[2][8] = {
    {'L', 'M', 'X', '-', '7', '2', '0', '8'},
    {'L', 'M', 'X', '7', '2', '0', '8', 'A'},
};

constexpr const char* kBandClassLabels[2] = {"VHF :", "UHF :"};

// Capacity code (identity byte 8 bits 2-3) a model's identity carries.
constexpr int CapacityCode(int model) { return model <= 2 ? 3 : 2; }

// The reserved receive frequencies of market class 1, in hertz.
constexpr std::int64_t kReservedClass1[] = {460793750, 460795000, 460800000, 460805000, 460806250};

}  // namespace

ModelCatalogue::ModelCatalogue(RadioImage& image) : image_(image) { RecomputeBandLimits(); }

const ModelRecord* ModelCatalogue::Model(int model) {
    return model >= 0 && model < kModelCount ? &kModels[model] : nullptr;
}

const BandRecord* ModelCatalogue::Band(int bandRecord) {
    return bandRecord >= 0 && bandRecord < kBandRecordCount ? &kBands[bandRecord] : nullptr;
}

ModelIdentity ModelCatalogue::DefaultIdentity() {
    return {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFB, 0xFF, 5, 1, 0xFF, 0xFF, 0xFF, 0xFF};
}

int ModelCatalogue::FindModel(const ModelIdentity& id) {
    for (int m = 0; m < kModelCount; ++m) {
        const ModelRecord& r = kModels[m];
        if (std::memcmp(id.data(), r.nameKey, 8) != 0) continue;
        if (id[10] != r.marketCode) continue;
        if (EntryModeFromByte8(id[8]) != r.entryMode) continue;
        if (((id[8] >> 2) & 3) != CapacityCode(m)) continue;
        return m;
    }
    return -1;
}

int ModelCatalogue::FindModelByName(std::string_view text) {
    for (int m = 0; m < kModelCount; ++m) {
        const ModelRecord& r = kModels[m];
        if (text.size() > sizeof r.nameKey) return -1;
        if (std::memcmp(text.data(), r.nameKey, text.size()) == 0) return m;
    }
    return -1;
}

bool ModelCatalogue::IsOffered(int model) {
    const ModelRecord* r = Model(model);
    return r && r->offered;
}

bool ModelCatalogue::IsAcceptable(const ModelIdentity& id) {
    const int m = FindModel(id);
    if (m < 0 || !IsOffered(m)) return false;
    // Records 2 and 3 share the pair (1, 0); the pair has to name a record of
    // the model's own range, not merely the first record that carries it.
    bool inRange = false;
    for (int b = kModels[m].firstBandRecord; b <= kModels[m].lastBandRecord; ++b)
        inRange = inRange || (kBands[b].bandCode == id[11] && kBands[b].marketCode == id[10]);
    if (!inRange) return false;
    const std::uint16_t word = BandWord(id);
    return word == 0x0100 || word == 0x0105 || word == 0x0106;
}

bool ModelCatalogue::IsCurrentModel(const ModelIdentity& id) const {
    const ModelIdentity cur = CurrentIdentity();
    return std::equal(id.begin(), id.begin() + 12, cur.begin());
}

bool ModelCatalogue::IsSameFamily(const ModelIdentity& id) const {
    return MarketCode(id) == MarketCode() && EntryMode(id) == EntryMode();
}

int ModelCatalogue::IsSiblingProduct(const ModelIdentity& id) {
    for (int i = 0; i < 2; ++i)
        if (std::memcmp(id.data(), kSiblingNames[i], 8) == 0) return i;
    return -1;
}

int ModelCatalogue::BandRecordOf(const ModelIdentity& id) {
    for (int b = 0; b < kBandRecordCount; ++b)
        if (kBands[b].bandCode == id[11] && kBands[b].marketCode == id[10]) return b;
    return -1;
}

BandLimits ModelCatalogue::BandLimitsOf(const ModelIdentity& id) {
    return BandCode(id) == 1 ? BandLimits{440.0, 480.0} : BandLimits{325.0, 360.0};
}

int ModelCatalogue::MarketClass(const ModelIdentity& id) {
    switch (BandWord(id)) {
        case 0x0001: return 0;
        case 0x0100:
        case 0x0101:
        case 0x0105:
        case 0x0106: return 1;
        default: return -1;
    }
}

std::vector<std::int64_t> ModelCatalogue::ReservedFrequenciesHz(int marketClass) {
    if (marketClass != 1) return {};
    return {std::begin(kReservedClass1), std::end(kReservedClass1)};
}

int ModelCatalogue::DestinationClass(const ModelIdentity& id) {
    switch (MarketCode(id)) {
        case 1: return 4;
        case 2: return 5;
        case 3: return 1;
        case 5: return 6;
        case 6: return 7;
        default: return 2;
    }
}

std::string ModelCatalogue::ModelListText(int model) {
    const ModelRecord* r = Model(model);
    if (!r) return {};
    return FormatText("%s %s [%s]:%s", {r->displayName, r->lineText, r->bandLabel, r->typeSuffix});
}

std::string ModelCatalogue::ModelSummaryText(const ModelIdentity& id, std::string_view sep) {
    const ModelRecord* r = Model(FindModel(id));
    if (!r) return {};
    std::string text = FormatText("%s%s:%s", {r->displayName, r->lineText, r->typeSuffix});
    const int band = BandRecordOf(id);
    if (band >= 0) {
        text += ' ';
        text += kBandClassLabels[1];
        text += ' ';
        text += BandText(band, sep);
    }
    return text;
}

std::string ModelCatalogue::BandText(int bandRecord, std::string_view sep) {
    const BandRecord* b = Band(bandRecord);
    if (!b) return {};
    return CodeTables::ReplaceAll(std::string(b->bandText) + b->secondText, ".", sep);
}

bool ModelCatalogue::SetModel(int model) {
    const ModelRecord* r = Model(model);
    if (!r) return false;
    auto& live = image_.Live();
    std::memcpy(live.data(), r->nameKey, 8);
    live[8] = r->storedByte8;
    live[9] = 0xFF;
    SetEntryMode(r->entryMode);
    return true;
}

void ModelCatalogue::SetBandWord(std::uint16_t word) {
    image_.SetByte(10, static_cast<std::uint8_t>(word & 0xFF));
    image_.SetByte(11, static_cast<std::uint8_t>(word >> 8));
}

void ModelCatalogue::SetEntryMode(vrm::EntryMode mode) {
    auto& live = image_.Live();
    live[8] = static_cast<std::uint8_t>((live[8] & ~3u) | (static_cast<unsigned>(EntryModeValue(mode)) & 3u));
}

void ModelCatalogue::ResetIdentity() { image_.SetIdentity(DefaultIdentity()); }

std::vector<ListEntry> ModelCatalogue::ModelList() {
    std::vector<ListEntry> list;
    for (int m = 0; m < kModelCount; ++m)
        if (kModels[m].offered) list.push_back({ModelListText(m), m});
    return list;
}

std::vector<ListEntry> ModelCatalogue::BandList(int model, std::string_view sep) {
    std::vector<ListEntry> list;
    const ModelRecord* r = Model(model);
    if (!r) return list;
    for (int b = r->firstBandRecord; b <= r->lastBandRecord; ++b)
        list.push_back({BandText(b, sep), kBands[b].bandCode * 256 + kBands[b].marketCode});
    return list;
}

}  // namespace vrm
