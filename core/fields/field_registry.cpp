#include "core/fields/field_registry.h"

#include <charconv>

#include "core/fields/channel_fields.h"
#include "core/fields/editor_tables.h"
#include "core/fields/edit_session.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"

namespace vrm {

namespace {

// In the order of the Edit menu.
const FieldTable* const kTables[] = {&ChannelTable(),       &FeatureTable(),    &KeyTable(),
                                     &ScanTable(),          &TestFrequencyTable(), &MessageTable(),
                                     &CustomCodeTable(),    &AdvancedTable(),   &BandPointTable()};

// "3.rx" -> row 2 and "rx" ("low.rx" -> the row named low); nothing when
// the row part names no row.
std::optional<std::pair<int, std::string_view>> SplitRow(const RecordLayout& records, int rows,
                                                         std::string_view rest) {
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    if (records.rowNames) {
        for (int row = 0; row < rows; ++row)
            if (rest.substr(0, dot) == records.rowNames[row]) return std::make_pair(row, rest.substr(dot + 1));
        return std::nullopt;
    }
    int row = 0;
    const auto [end, ec] = std::from_chars(rest.data(), rest.data() + dot, row);
    if (ec != std::errc() || end != rest.data() + dot) return std::nullopt;
    return std::make_pair(row - 1, rest.substr(dot + 1));
}

}  // namespace

std::span<const FieldTable* const> AllFieldTables() { return kTables; }

std::optional<FieldRef> FindField(const EditContext& ctx, std::string_view key) {
    for (const FieldTable* table : AllFieldTables()) {
        const std::string_view prefix = table->prefix;
        if (key.size() <= prefix.size() + 1 || key.substr(0, prefix.size()) != prefix || key[prefix.size()] != '.')
            continue;
        std::string_view rest = key.substr(prefix.size() + 1);
        int row = 0;
        if (table->IsRecordTable()) {
            const auto split = SplitRow(*table->records, table->records->count(ctx), rest);
            if (!split || split->first < 0 || split->first >= table->records->count(ctx)) return std::nullopt;
            row = split->first;
            rest = split->second;
        }
        if (const FieldDef* f = table->Find(rest); f && f->kind != FieldKind::Group) return FieldRef{table, f, row};
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<FieldRef> AllFields(const EditContext& ctx) {
    std::vector<FieldRef> refs;
    for (const FieldTable* table : AllFieldTables()) {
        const int rows = table->IsRecordTable() ? table->records->count(ctx) : 1;
        for (int row = 0; row < rows; ++row) {
            for (const FieldDef& f : table->fields)
                if (f.kind != FieldKind::Group) refs.push_back({table, &f, row});
        }
    }
    return refs;
}

ScriptWrite SetFromScript(EditSession& session, std::string_view key, std::string_view value) {
    ScriptWrite w;
    const std::optional<FieldRef> ref = FindField(session.Context(), key);
    if (!ref) {
        w.status = ScriptWrite::Status::UnknownKey;
        return w;
    }
    if (!session.Shown(*ref)) {
        w.status = ScriptWrite::Status::Hidden;
        return w;
    }
    if (!session.Enabled(*ref)) {
        w.status = ScriptWrite::Status::Disabled;
        return w;
    }
    const std::optional<FieldInput> input = field::InputFromScript(session.Context(), *ref, value, w.result);
    if (!input) {
        w.status = ScriptWrite::Status::Refused;
        return w;
    }
    w.result = session.Commit(*ref, *input);
    if (!w.result.Ok()) w.status = ScriptWrite::Status::Refused;
    else w.stored = field::StoredDifferently(session.Context(), *ref, value);
    return w;
}

const char* KindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Number: return "number";
        case FieldKind::List: return "list";
        case FieldKind::Check: return "check";
        case FieldKind::Group: return "group";
        case FieldKind::Text: return "text";
        case FieldKind::Frequency: return "frequency";
        case FieldKind::Code: return "code";
    }
    return "";
}

std::string ValueSummary(const EditContext& ctx, const FieldRef& ref) {
    const FieldDef& f = *ref.field;
    switch (f.kind) {
        case FieldKind::Number: {
            const NumberRange range = field::Range(ctx, ref);
            std::string s = std::to_string(range.min) + "-" + std::to_string(range.max);
            if (f.number.step > 1) s += " step " + std::to_string(f.number.step);
            if (f.number.hasOff) s += ", off";
            return s;
        }
        case FieldKind::Check: return "on, off";
        case FieldKind::List: {
            std::string s;
            for (const Choice& c : field::Offered(ctx, ref)) s += (s.empty() ? "" : ", ") + std::string(c.token);
            return s;
        }
        case FieldKind::Frequency: {
            if (!field::Options(ctx, ref).empty())
                return "off, " + std::to_string(ctx.tables.PresetCount()) + " preset frequencies";
            const BandLimits& band = ctx.catalogue.CurrentBandLimits();
            return FormatText("%.5f-%.5f MHz, off", {band.lowerMHz, band.upperMHz});
        }
        case FieldKind::Code:
            // The channel codes choose from a list that holds the custom codes
            // on the preset-list models; a custom code itself names no other.
            return UsesPresetList(ctx.Mode()) && !field::Options(ctx, ref).empty()
                       ? "off, QT 67.0-254.1, DnnnN, DnnnI, CQT1-CQT6, CDT1-CDT6"
                       : "off, QT 67.0-254.1, DnnnN, DnnnI";
        default: return {};
    }
}

std::string FieldDescription(const EditContext& ctx, const FieldRef& ref) {
    const FieldDef& f = *ref.field;
    const std::string& lang = ctx.separator;
    auto shown = [&](double value, int decimals) {
        return CodeTables::ReplaceAll(CodeTables::FormatFixed(value, decimals), ".", lang);
    };
    switch (f.kind) {
        case FieldKind::Number: {
            const NumberRange range = field::Range(ctx, ref);
            const std::string low = std::to_string(range.min);
            const std::string high = std::to_string(range.max);
            std::string s = f.number.step > 1
                                ? FormatText(ctx.Text(tid::kAccRangeStep), {low, high, std::to_string(f.number.step)})
                                : FormatText(ctx.Text(tid::kAccRange), {low, high});
            if (f.number.hasOff) s = FormatText(ctx.Text(tid::kAccRangeOrOff), {s, ctx.Text(tid::kCodeNone)});
            return s;
        }
        case FieldKind::Frequency: {
            if (!field::Options(ctx, ref).empty()) return {};
            const BandLimits& band = ctx.catalogue.CurrentBandLimits();
            return FormatText(ctx.Text(tid::kAccFrequencyRange), {shown(band.lowerMHz, 5), shown(band.upperMHz, 5)});
        }
        case FieldKind::Code:
            return FormatText(ctx.Text(tid::kAccCodeForms), {ctx.Text(tid::kCodeNone), shown(CodeTables::kQtLowestTenths / 10.0, 1),
                                                                 shown(CodeTables::kQtHighestTenths / 10.0, 1)});
        case FieldKind::Text:
            if (f.maxLength > 0) return FormatText(ctx.Text(tid::kAccTextLength), {f.maxLength});
            return {};
        default: return {};
    }
}

std::string GridCellPlace(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                          int row, int column) {
    if (column < 0 || column >= static_cast<int>(columns.size())) return {};
    std::string heading = std::to_string(row + 1);
    for (const GridColumn& c : columns) {
        if (!c.field) {
            heading = GridCellText(ctx, table, c, row);
            break;
        }
    }
    return FormatText(ctx.Text(tid::kAccGridCell), {heading, ctx.Text(columns[static_cast<std::size_t>(column)].header)});
}

std::string GridRowSpoken(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                          int row) {
    std::string heading = std::to_string(row + 1);
    std::string cells;
    for (const GridColumn& c : columns) {
        if (!c.field) {
            heading = GridCellText(ctx, table, c, row);
            continue;
        }
        if (!cells.empty()) cells += "; ";
        cells += FormatText(ctx.Text(tid::kAccKeyImage), {ctx.Text(c.header), GridCellText(ctx, table, c, row)});
    }
    return FormatText(ctx.Text(tid::kAccKeyImage), {heading, cells});
}

std::string GridCellText(const EditContext& ctx, const FieldTable& table, const GridColumn& column, int row) {
    if (!column.field) {
        if (table.records && table.records->rowTitle) return ctx.Text(table.records->rowTitle(row));
        return std::to_string(row + 1);
    }
    const RecordLayout* r = table.records;
    if (r && !r->exists(ctx, row) && !(r->fillEmptyRows && r->fillEmptyRows(ctx))) return {};
    return field::Text(ctx, FieldRef{&table, column.field, row});
}

std::string GridRowsText(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                         const std::vector<int>& rows, bool withTitle) {
    std::string text;
    if (withTitle) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) text += '\t';
            text += ctx.Text(columns[c].header);
        }
        text += "\r\n";
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i) text += "\r\n";
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c) text += '\t';
            text += GridCellText(ctx, table, columns[c], rows[i]);
        }
    }
    return text;
}

}  // namespace vrm
