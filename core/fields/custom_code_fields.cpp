#include "core/fields/editor_tables.h"

#include "core/fields/channel_model.h"
#include "core/fields/field_access.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr std::uint16_t kDefaultCustomQt = 670;      // QT 67.0 Hz
constexpr std::uint16_t kDefaultCustomDqt = 0x2813;  // D023N

bool PresetModels(const EditContext& ctx, int) { return UsesPresetList(ctx.Mode()); }

// Custom entry `entry` (1-6) of table `dqt`: its code word in the custom
// code area (words 0-5 for CQT1-CQT6, 8-13 for CDT1-CDT6).
constexpr std::size_t WordAt(bool dqt, int entry) {
    return kCustomCodeArea.offset + 2 * ((dqt ? kCustomDqtWord : kCustomQtWord) + static_cast<std::size_t>(entry - 1));
}

template <bool Dqt, int Entry>
std::string Text(const EditContext& ctx, const FieldDef&, int) {
    return ctx.tables.CodeWordToText(ctx.image.Word(WordAt(Dqt, Entry)), ctx.separator);
}

// Every channel linked to the entry takes its new word.
void Propagate(EditContext& ctx, bool dqt, int entry, std::uint16_t word) {
    if (word == 0) return;
    const ChannelReader channels(ctx);
    const unsigned link = static_cast<unsigned>(entry) | (dqt ? 8u : 0u);
    for (int n = 0; n < channels.Count(); ++n) {
        if (!channels.Exists(n)) continue;
        const std::size_t at = channels.Address(n);
        const std::uint8_t links = ctx.image.Byte(at + 15);
        if ((links & 0x0F) == link) ctx.image.SetWord(at + 8, word);
        if ((links >> 4) == link) ctx.image.SetWord(at + 10, word);
    }
}

// A custom QT entry: empty is 67.0 Hz, anything else a code text (a tone is
// clamped into 67.0-254.1 Hz). A custom DQT entry: a text beginning with the
// capital letter D is a DQT code; anything else, a lower-case d included,
// stores the default word 0x2813 (shown as D023N).
template <bool Dqt, int Entry>
WriteResult Write(EditContext& ctx, const FieldDef&, int, const FieldInput& input) {
    const std::string text = Trimmed(input.text);
    if (text.size() == 4 && (EqualsIgnoringCase(text.substr(0, 3), "CQT") || EqualsIgnoringCase(text.substr(0, 3), "CDT")))
        return WriteResult::Refuse(tid::kMsgNotACode, {text});  // a custom entry cannot name another
    std::uint16_t word = 0;
    if (Dqt) {
        word = !text.empty() && text[0] == 'D' ? ctx.tables.CodeWordFromText(text, ctx.separator) : kDefaultCustomDqt;
    } else {
        word = text.empty() ? kDefaultCustomQt : ctx.tables.CodeWordFromText(text, ctx.separator);
    }
    ctx.image.SetWord(WordAt(Dqt, Entry), word);
    Propagate(ctx, Dqt, Entry, word);
    return {};
}

template <bool Dqt, int Entry>
constexpr FieldDef Custom(const char* key) {
    FieldDef f;
    f.key = key;
    f.label = (Dqt ? tid::kCustomCdt1 : tid::kCustomCqt1) + static_cast<tid::TextId>(Entry - 1);
    f.help = Dqt ? 0x43002 : 0x43001;
    f.kind = FieldKind::Code;
    f.item = Dqt ? Entry + 7 : Entry;
    f.storage = {WordAt(Dqt, Entry), 2, 0, 0xFFFF};
    f.maxLength = 8;
    f.shown = PresetModels;
    f.read = Text<Dqt, Entry>;
    f.write = Write<Dqt, Entry>;
    return f;
}

constexpr FieldDef Group(const char* key, tid::TextId label, int item) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.kind = FieldKind::Group;
    f.item = item;
    f.groupSize = 6;
    f.shown = PresetModels;
    return f;
}

const FieldDef kCustomFields[] = {
    Group("qt_group", tid::kCustomQtGroup, 0),
    Custom<false, 1>("cqt1"), Custom<false, 2>("cqt2"), Custom<false, 3>("cqt3"),
    Custom<false, 4>("cqt4"), Custom<false, 5>("cqt5"), Custom<false, 6>("cqt6"),
    Group("dqt_group", tid::kCustomDqtGroup, 7),
    Custom<true, 1>("cdt1"), Custom<true, 2>("cdt2"), Custom<true, 3>("cdt3"),
    Custom<true, 4>("cdt4"), Custom<true, 5>("cdt5"), Custom<true, 6>("cdt6"),
};

const FieldTable kCustomTable{"custom", kCustomFields, nullptr};

}  // namespace

const FieldTable& CustomCodeTable() { return kCustomTable; }

}  // namespace vrm
