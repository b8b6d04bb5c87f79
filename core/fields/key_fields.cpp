#include "core/fields/editor_tables.h"

#include "core/fields/field_access.h"
#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// One function a key can have: its code, its names with typed frequencies
// and on the preset-list models, and where it is offered.
struct KeyFunction {
    int code;
    tid::TextId typedName;
    tid::TextId listName;
    const char* token;
    bool notTyped;      // only on the preset-list models
    bool shortOnly;     // only in the short-press column
};

// In the order of the drop-down list.
constexpr KeyFunction kFunctions[] = {
    {0, tid::kKeyNoneTyped, tid::kKeyOff, "none", false, false},
    {6, tid::kKeyKeyLockTyped, tid::kKeyKeyLock, "key_lock", false, false},
    {1, tid::kKeyMonitorTyped, tid::kKeyMonitorMomentary, "monitor", false, false},
    {7, tid::kKeyChannelAnnouncement, tid::kKeyChannelAnnouncement, "channel_announcement", true, false},
    {4, tid::kKeyScanTyped, tid::kKeyScan, "scan", false, false},
    {2, tid::kKeySquelchOffTyped, tid::kKeySquelchOffMomentary, "squelch_off", false, false},
    {5, tid::kKeyChannelDown, tid::kKeyChannelDown, "channel_down", true, true},
    {8, tid::kKeyChannelUp, tid::kKeyChannelUp, "channel_up", true, true},
    {3, tid::kKeyLowPowerTyped, tid::kKeyTxPower, "tx_power", false, false},
};

// Every function under its typed-frequency name, for scripts' tokens.
constexpr Choice kAllFunctions[] = {{0, tid::kKeyNoneTyped, "none"},        {6, tid::kKeyKeyLockTyped, "key_lock"},
                                    {1, tid::kKeyMonitorTyped, "monitor"},  {7, tid::kKeyChannelAnnouncement, "channel_announcement"},
                                    {4, tid::kKeyScanTyped, "scan"},        {2, tid::kKeySquelchOffTyped, "squelch_off"},
                                    {5, tid::kKeyChannelDown, "channel_down"}, {8, tid::kKeyChannelUp, "channel_up"},
                                    {3, tid::kKeyLowPowerTyped, "tx_power"}};

template <bool ShortPress>
std::vector<Choice> Offered(const EditContext& ctx, const FieldDef&, int) {
    const bool typed = ctx.Mode() == EntryMode::Typed;
    std::vector<Choice> choices;
    for (const KeyFunction& k : kFunctions) {
        if ((k.notTyped && typed) || (k.shortOnly && !ShortPress)) continue;
        choices.push_back({k.code, typed ? k.typedName : k.listName, k.token});
    }
    return choices;
}

// A stored code the cell does not offer shows an empty cell and is kept.
template <bool ShortPress>
std::string Text(const EditContext& ctx, const FieldDef& f, int row) {
    if (!ShortPress && row == 1) return ctx.Text(tid::kFeatureModeGroup);  // the fixed cell
    const unsigned stored = ctx.image.Byte(kKeyArea.offset + 2 * static_cast<std::size_t>(row) + f.storage.offset);
    for (const Choice& c : Offered<ShortPress>(ctx, f, row))
        if (static_cast<unsigned>(c.value) == stored) return ctx.Text(c.text);
    return {};
}

// Key 2's long press is fixed.
bool LongPressEditable(const EditContext&, int row) { return row == 0; }

const FieldDef kKeyFields[] = {
    {.key = "short", .label = tid::kKeyShortPress, .help = 0x33103, .kind = FieldKind::List, .item = 2,
     .storage = {0, 1, 0, 0xFF}, .choices = kAllFunctions, .read = Text<true>, .offered = Offered<true>},
    {.key = "long", .label = tid::kKeyLongPress, .help = 0x33102, .kind = FieldKind::List, .item = 1,
     .storage = {1, 1, 0, 0xFF}, .choices = kAllFunctions, .enabled = LongPressEditable, .read = Text<false>,
     .offered = Offered<false>},
};

int KeyCount(const EditContext&) { return 2; }
bool KeyExists(const EditContext&, int) { return true; }
tid::TextId KeyTitle(int row) { return row == 0 ? tid::kKey1 : tid::kKey2; }

const RecordLayout kKeyRecords{.base = kKeyArea.offset, .stride = 2, .count = KeyCount, .exists = KeyExists,
                               .rowTitle = KeyTitle};
const FieldTable kKeyTable{"key", kKeyFields, &kKeyRecords};

}  // namespace

const FieldTable& KeyTable() { return kKeyTable; }

std::vector<GridColumn> KeyGridColumns(const EditContext&) {
    return {{nullptr, tid::kProgramTitle, 80}, {&kKeyFields[1], tid::kKeyLongPress, 240},
            {&kKeyFields[0], tid::kKeyShortPress, 240}};
}

}  // namespace vrm
