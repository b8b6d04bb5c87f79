#include "core/fields/editor_tables.h"

#include "core/fields/frequency_pairs.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr PairLayout kTestPairs{kTestFrequencyArea.offset, kTestStepArea.offset};

template <int Which>
std::string Text(const EditContext& ctx, const FieldDef&, int row) {
    return FrequencyPairReader(ctx, kTestPairs).Text(row, Which);
}

// A pair is complete or empty: blanking one frequency blanks the other. When
// no pair is left, the test frequencies return to their defaults.
template <int Which>
WriteResult Write(EditContext& ctx, const FieldDef&, int row, const FieldInput& input) {
    FrequencyPairs pairs(ctx, kTestPairs);
    bool outOfBand = false;
    WriteResult result;
    if (!pairs.Store(row, Which, input.text, outOfBand)) {
        pairs.PutBlank(row, 1 - Which);
        if (!ctx.importing) RestoreEmptyTestFrequencies(ctx);
    }
    if (outOfBand) result.messages.push_back(OutOfBandMessage(Which));
    return result;
}

// Frequency 1 waits for frequency 0.
bool HasFrequency0(const EditContext& ctx, int row) {
    return !FrequencyPairReader(ctx, kTestPairs).Blank(row, 0);
}

const FieldDef kTestFields[] = {
    {.key = "rx", .label = tid::kTestRx, .help = 0x41001, .kind = FieldKind::Frequency, .item = 1, .maxLength = 9,
     .read = Text<0>, .write = Write<0>},
    {.key = "tx", .label = tid::kTestTx, .help = 0x41002, .kind = FieldKind::Frequency, .item = 2, .maxLength = 9,
     .enabled = HasFrequency0, .read = Text<1>, .write = Write<1>},
};

int PairCount(const EditContext&) { return kTestPairCount; }
bool PairExists(const EditContext&, int) { return true; }

const RecordLayout kTestRecords{.base = kTestFrequencyArea.offset, .stride = 8, .count = PairCount,
                                .exists = PairExists};
const FieldTable kTestTable{"testfreq", kTestFields, &kTestRecords};

}  // namespace

bool RestoreEmptyTestFrequencies(EditContext& ctx) {
    const FrequencyPairReader pairs(ctx, kTestPairs);
    for (int p = 0; p < kTestPairCount; ++p)
        if (!pairs.Blank(p, 0)) return false;
    ctx.image.WriteDefaultTestFrequencies(ctx.catalogue);
    return true;
}

const FieldTable& TestFrequencyTable() { return kTestTable; }

std::vector<GridColumn> TestFrequencyGridColumns(const EditContext&) {
    return {{nullptr, tid::kGridNumber, 60}, {&kTestFields[0], tid::kTestRx, 115}, {&kTestFields[1], tid::kTestTx, 115, 1}};
}

}  // namespace vrm
