#include "core/fields/field_listing.h"

#include <utility>

#include "core/fields/channel_fields.h"
#include "core/fields/editor_tables.h"

namespace vrm {

tid::TextId EditorCaption(const FieldTable& table) {
    const std::pair<const FieldTable*, tid::TextId> captions[] = {
        {&ChannelTable(), tid::kEditorChannelInformation}, {&FeatureTable(), tid::kEditorOptionalFeatures},
        {&KeyTable(), tid::kEditorKeyAssignment},          {&ScanTable(), tid::kEditorScanInformation},
        {&TestFrequencyTable(), tid::kEditorTestFrequency}, {&MessageTable(), tid::kEditorEmbeddedMessage},
        {&CustomCodeTable(), tid::kEditorQtDqtCustomization}, {&AdvancedTable(), tid::kEditorAdvancedSettings},
        {&BandPointTable(), tid::kAdvancedTuningGroup}};
    for (const auto& [t, id] : captions)
        if (t == &table) return id;
    return 0;
}

std::vector<FormLine> FormLines(const EditContext& ctx, const FieldTable& table) {
    std::vector<FormLine> lines;
    const FieldDef* group = nullptr;  // a shown group whose caption is not listed yet
    int inGroup = 0;                  // fields of the current group still to come
    for (const FieldDef& f : table.fields) {
        const FieldRef ref{&table, &f, 0};
        if (f.kind == FieldKind::Group) {
            const bool shown = field::Shown(ctx, ref);
            group = shown ? &f : nullptr;
            inGroup = shown ? f.groupSize : 0;
            continue;
        }
        const bool grouped = inGroup > 0;
        if (grouped) --inGroup;
        if (!field::Shown(ctx, ref)) continue;
        if (grouped && group) {
            lines.push_back({FieldRef{&table, group, 0}, true, 1});
            group = nullptr;
        }
        lines.push_back({ref, false, grouped ? 2 : 1});
    }
    return lines;
}

}  // namespace vrm
