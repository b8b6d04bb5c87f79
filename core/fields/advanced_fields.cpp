#include "core/fields/editor_tables.h"

#include "core/fields/frequency_pairs.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr Choice kBurst[] = {{0, tid::kAdvancedBurst180, "180"}, {2, tid::kAdvancedBurst120, "120"},
                             {1, tid::kAdvancedBurst240, "240"}};

const FieldDef kAdvancedFields[] = {
    {.key = "qt_reverse_burst", .label = tid::kAdvancedQtReverseBurst, .help = 0xF1101, .kind = FieldKind::List,
     .storage = {kSpecialArea.offset, 1, 0, 0xFF}, .choices = kBurst},
    {.key = "usb_charging", .label = tid::kFeatureUsbCharging, .help = 0xF1103, .kind = FieldKind::Check,
     .storage = {kSpecialArea.offset + 1, 1, 0, 1}},
};

const FieldTable kAdvancedTable{"advanced", kAdvancedFields, nullptr, true};

// The band points: the tuning frequencies low, centre and high.
constexpr PairLayout kBandPoints{kBandPointArea.offset, kBandPointStepArea.offset};

template <int Which>
std::string Text(const EditContext& ctx, const FieldDef&, int row) {
    return FrequencyPairReader(ctx, kBandPoints).Text(row, Which);
}

// A band point never stays empty: a blank result gives back the model's
// default for that point.
template <int Which>
WriteResult Write(EditContext& ctx, const FieldDef&, int row, const FieldInput& input) {
    FrequencyPairs pairs(ctx, kBandPoints);
    bool outOfBand = false;
    WriteResult result;
    if (!pairs.Store(row, Which, input.text, outOfBand)) {
        bool ignored = false;
        pairs.Store(row, Which, RadioImage::DefaultBandPointText(ctx.catalogue.BandCode(), row, Which), ignored);
    }
    if (outOfBand) result.messages.push_back(OutOfBandMessage(Which));
    return result;
}

bool HasFrequency0(const EditContext& ctx, int row) {
    return !FrequencyPairReader(ctx, kBandPoints).Blank(row, 0);
}

const FieldDef kBandPointFields[] = {
    {.key = "rx", .label = tid::kTestRx, .help = 0xF1102, .kind = FieldKind::Frequency, .item = 1, .maxLength = 9,
     .read = Text<0>, .write = Write<0>},
    {.key = "tx", .label = tid::kTestTx, .help = 0xF1102, .kind = FieldKind::Frequency, .item = 2, .maxLength = 9,
     .enabled = HasFrequency0, .read = Text<1>, .write = Write<1>},
};

constexpr const char* kPointNames[] = {"low", "center", "high"};
int PointCount(const EditContext&) { return kBandPointCount; }
bool PointExists(const EditContext&, int) { return true; }
tid::TextId PointTitle(int row) {
    return row == 0 ? tid::kBandPointLow : row == 1 ? tid::kBandPointCenter : tid::kBandPointHigh;
}

const RecordLayout kBandPointRecords{.base = kBandPointArea.offset, .stride = 8, .count = PointCount,
                                     .exists = PointExists, .rowNames = kPointNames, .rowTitle = PointTitle};
const FieldTable kBandPointTable{"bandpoint", kBandPointFields, &kBandPointRecords, true};

}  // namespace

const FieldTable& AdvancedTable() { return kAdvancedTable; }
const FieldTable& BandPointTable() { return kBandPointTable; }

std::vector<GridColumn> BandPointGridColumns(const EditContext&) {
    return {{nullptr, tid::kAdvancedPoint, 100},
            {&kBandPointFields[0], tid::kTestRx, 115},
            {&kBandPointFields[1], tid::kTestTx, 115, 1}};
}

}  // namespace vrm
