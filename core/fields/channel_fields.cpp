#include "core/fields/channel_fields.h"

#include "core/fields/channel_model.h"
#include "core/fields/field_access.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

using CM = ChannelModel;

// The readers and predicates take a const context.
ChannelReader Reader(const EditContext& ctx) { return ChannelReader(ctx); }

template <int Item>
std::string ItemText(const EditContext& ctx, const FieldDef&, int row) {
    return Reader(ctx).ItemText(row, Item);
}

template <int Item>
bool ItemEnabled(const EditContext& ctx, int row) {
    return Reader(ctx).ItemEnabled(row, Item);
}

template <int Item>
bool ItemShown(const EditContext& ctx, int) {
    return Reader(ctx).ItemShown(Item);
}

template <bool Rx>
WriteResult WriteFrequency(EditContext& ctx, const FieldDef&, int row, const FieldInput& in) {
    ChannelModel model(ctx);
    if (in.kind == FieldInput::Kind::Chosen) return model.ChoosePreset(row, Rx, in.index);
    return model.SetFrequencyText(row, Rx, in.text);
}

template <bool Decode>
WriteResult WriteCode(EditContext& ctx, const FieldDef&, int row, const FieldInput& in) {
    ChannelModel model(ctx);
    if (in.kind == FieldInput::Kind::Chosen) return model.ChooseCode(row, Decode, in.index);
    return model.SetCodeText(row, Decode, in.text);
}

WriteResult WriteRepeater(EditContext& ctx, const FieldDef&, int row, const FieldInput& in) {
    const bool on = in.kind == FieldInput::Kind::Chosen ? in.index == 0 : in.on;
    return ChannelModel(ctx).SetRepeater(row, on);
}

std::vector<FieldOption> FrequencyOptions(const EditContext& ctx, const FieldDef&, int) {
    return Reader(ctx).FrequencyOptions();
}

std::vector<FieldOption> CodeOptions(const EditContext& ctx, const FieldDef&, int) {
    return Reader(ctx).CodeOptions();
}

std::vector<Choice> PowerOffers(const EditContext& ctx, const FieldDef&, int row) {
    return Reader(ctx).PowerChoices(row);
}

std::vector<Choice> BusyOffers(const EditContext& ctx, const FieldDef&, int row) {
    return Reader(ctx).BusyLockoutChoices(row);
}

constexpr Choice kPowerChoices[] = {{1, tid::kPowerHigh, "high"}, {0, tid::kPowerLow, "low"}};
constexpr Choice kBusyChoices[] = {{0, tid::kCodeNone, "off"},
                                   {1, tid::kBusyCarrier, "carrier"},
                                   {2, tid::kBusyQtDqt, "qt_dqt"},
                                   {3, tid::kBusyQtDqtMismatch, "qt_dqt_mismatch"}};

// A check box in byte 13 of the record.
constexpr FieldDef Flag(const char* key, tid::TextId label, int item, int bit, FieldPredicate shown,
                        FieldPredicate enabled) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.help = 0x31100 + static_cast<std::uint32_t>(item);
    f.kind = FieldKind::Check;
    f.item = item;
    f.storage = {13, 1, bit, 1};
    f.shown = shown;
    f.enabled = enabled;
    return f;
}

const FieldDef kChannelFields[] = {
    {.key = "rx", .label = tid::kChannelRxLabel, .help = 0x31100 + CM::kItemRx, .kind = FieldKind::Frequency,
     .item = CM::kItemRx, .storage = {0, 1, 0, 0xFF}, .maxLength = 9, .enabled = ItemEnabled<CM::kItemRx>,
     .read = ItemText<CM::kItemRx>, .write = WriteFrequency<true>, .options = FrequencyOptions},
    {.key = "tx", .label = tid::kChannelTxLabel, .help = 0x31100 + CM::kItemTx, .kind = FieldKind::Frequency,
     .item = CM::kItemTx, .storage = {4, 1, 0, 0xFF}, .maxLength = 9, .enabled = ItemEnabled<CM::kItemTx>,
     .read = ItemText<CM::kItemTx>, .write = WriteFrequency<false>, .options = FrequencyOptions},
    {.key = "decode", .label = tid::kChannelDecodeLabel, .help = 0x31100 + CM::kItemDecode, .kind = FieldKind::Code,
     .item = CM::kItemDecode, .storage = {8, 2, 0, 0xFFFF}, .enabled = ItemEnabled<CM::kItemDecode>,
     .read = ItemText<CM::kItemDecode>, .write = WriteCode<true>, .options = CodeOptions},
    {.key = "encode", .label = tid::kChannelEncodeLabel, .help = 0x31100 + CM::kItemEncode, .kind = FieldKind::Code,
     .item = CM::kItemEncode, .storage = {10, 2, 0, 0xFFFF}, .enabled = ItemEnabled<CM::kItemEncode>,
     .read = ItemText<CM::kItemEncode>, .write = WriteCode<false>, .options = CodeOptions},
    {.key = "power", .label = tid::kChannelPowerLabel, .help = 0x31100 + CM::kItemPower, .kind = FieldKind::List,
     .item = CM::kItemPower, .storage = {13, 1, 5, 1}, .choices = kPowerChoices,
     .enabled = ItemEnabled<CM::kItemPower>, .offered = PowerOffers},
    {.key = "bcl", .label = tid::kChannelBusyLockoutLabel, .help = 0x31100 + CM::kItemBusyLockout,
     .kind = FieldKind::List, .item = CM::kItemBusyLockout, .storage = {12, 1, 0, 0xFF}, .choices = kBusyChoices,
     .enabled = ItemEnabled<CM::kItemBusyLockout>, .read = ItemText<CM::kItemBusyLockout>, .offered = BusyOffers},
    Flag("scan_add", tid::kChannelScanAddLabel, CM::kItemScanAdd, 2, nullptr, ItemEnabled<CM::kItemScanAdd>),
    Flag("vox", tid::kChannelVoxLabel, CM::kItemVox, 1, nullptr, ItemEnabled<CM::kItemVox>),
    {.key = "repeater", .label = tid::kChannelRepeaterLabel, .help = 0x31100 + CM::kItemRepeater,
     .kind = FieldKind::Check, .item = CM::kItemRepeater, .storage = {13, 1, 0, 1},
     .shown = ItemShown<CM::kItemRepeater>, .enabled = ItemEnabled<CM::kItemRepeater>, .write = WriteRepeater},
    Flag("freq_scan", tid::kChannelFrequencyScanLabel, CM::kItemFrequencyScan, 7, ItemShown<CM::kItemFrequencyScan>,
         ItemEnabled<CM::kItemFrequencyScan>),
};

int RowCount(const EditContext& ctx) { return ctx.image.ChannelCount(); }
bool RowExists(const EditContext& ctx, int row) { return ctx.image.ChannelInUse(row); }
bool RemoveRow(EditContext& ctx, int row) { return ChannelModel(ctx).Delete(row); }

void PasteRow(EditContext& ctx, int row, const RecordSlot& slot) {
    ChannelModel model(ctx);
    model.Create(row);
    const std::size_t at = model.Address(row);
    for (std::size_t i = 0; i < slot.bytes.size() && i < kChannelRecordSize; ++i) ctx.image.SetByte(at + i, slot.bytes[i]);
}

bool FillEmptyRows(const EditContext& ctx) { return UsesPresetList(ctx.Mode()); }

const RecordLayout kChannelRecords{kChannelTable.offset, kChannelRecordSize, RowCount, RowExists,
                                   RemoveRow,           PasteRow,           FillEmptyRows};
const FieldTable kChannelTableDef{"channel", kChannelFields, &kChannelRecords};

}  // namespace

const FieldTable& ChannelTable() { return kChannelTableDef; }

std::uint32_t ChannelItemHelp(int item) { return 0x31100 + static_cast<std::uint32_t>(item); }

std::vector<GridColumn> ChannelGridColumns(const EditContext& ctx) {
    const FieldTable& t = ChannelTable();
    const bool list = UsesPresetList(ctx.Mode());
    std::vector<GridColumn> columns = {
        {nullptr, tid::kGridNumber, list ? 25 : 40},
        {t.Find("rx"), tid::kGridRx, list ? 118 : 90},
        {t.Find("tx"), tid::kGridTx, list ? 118 : 90},
        {t.Find("decode"), tid::kGridDecode, list ? 123 : 90},
        // Encode and power wait for a transmit frequency (column 2).
        {t.Find("encode"), tid::kGridEncode, list ? 123 : 90, 2},
        {t.Find("power"), tid::kGridPower, list ? 60 : 80, 2},
        {t.Find("scan_add"), tid::kGridScanAdd, list ? 115 : 120},
    };
    if (list) columns.push_back({t.Find("repeater"), tid::kChannelRepeaterLabel, 115});
    return columns;
}

void WritePresetChannels(RadioImage& image, ModelCatalogue& catalogue) {
    // The preset channels need no text of the language file.
    static const LanguageTable noTexts;
    const CodeTables tables(catalogue, noTexts);
    EditContext ctx{image, catalogue, tables, noTexts, "."};
    ChannelModel(ctx).WritePresetChannels();
}

}  // namespace vrm
