#include "core/exchange/configuration_print.h"

#include <algorithm>

#include "core/fields/channel_fields.h"
#include "core/fields/channel_model.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_listing.h"
#include "core/fields/field_registry.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/exchange/print_language.h"

namespace vrm::print {

namespace {

const PrintListInfo kLists[] = {
    {PrintList::Channels, "channels", tid::kEditorChannelInformation},
    {PrintList::Features, "features", tid::kEditorOptionalFeatures},
    {PrintList::Keys, "keys", tid::kEditorKeyAssignment},
    {PrintList::Scan, "scan", tid::kEditorScanInformation},
    {PrintList::TestFrequencies, "testfreq", tid::kEditorTestFrequency},
    {PrintList::BandPoints, "bandpoints", tid::kPrintBandPointsList},
    {PrintList::CustomCodes, "custom", tid::kEditorQtDqtCustomization},
    {PrintList::Message, "message", tid::kEditorEmbeddedMessage},
    {PrintList::Advanced, "advanced", tid::kEditorAdvancedSettings},
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Builds the tables with the editors' texts, its numbers written with the
// language's decimal separator (paper follows the program's language).
class Builder {
public:
    explicit Builder(const EditSession& session) : session_(session), ctx_(session.Context()) {
        ctx_.separator = PrintDecimalSeparator(ctx_.language);
    }

    const EditContext& Context() const { return ctx_; }

    std::string T(tid::TextId id) const { return StripMnemonic(ctx_.Text(id)); }

    // A plain form as a table of settings and their values; a group's
    // caption spans the table above the fields it holds.
    Table Form(const FieldTable& table) const {
        Table t;
        t.headings = {T(tid::kPrintSetting), T(tid::kPrintValue)};
        for (const FormLine& line : FormLines(ctx_, table)) {
            const std::string label = T(line.ref.field->label);
            if (line.caption) t.AddCaption(label);
            else t.AddRow({label, field::Text(ctx_, line.ref)}, line.indent - 1);
        }
        return t;
    }

    // A record table as its grid shows it: the grid's headings and cells.
    Table Grid(const FieldTable& table, const std::vector<GridColumn>& columns) const {
        Table t;
        for (const GridColumn& c : columns) t.headings.push_back(c.header ? T(c.header) : std::string());
        for (int row = 0; row < session_.RowCount(table); ++row) {
            std::vector<std::string> cells;
            for (const GridColumn& c : columns) cells.push_back(GridCellText(ctx_, table, c, row));
            t.AddRow(std::move(cells));
        }
        return t;
    }

    // The channels with every item the channel editor shows: the grid's
    // columns first (with its headings), then the editor's other items.
    Table Channels() const {
        const FieldTable& table = ChannelTable();
        std::vector<GridColumn> columns = ChannelGridColumns(ctx_);
        for (const FieldDef& f : table.fields) {
            const bool listed = std::any_of(columns.begin(), columns.end(),
                                            [&f](const GridColumn& c) { return c.field == &f; });
            if (!listed && f.kind != FieldKind::Group && field::Shown(ctx_, FieldRef{&table, &f, 0}))
                columns.push_back({&f, f.label, 0});
        }
        Table t = Grid(table, columns);
        const ChannelReader channels(ctx_);
        for (std::size_t row = 0; row < t.rows.size(); ++row) {
            auto& cells = t.rows[row].cells;
            // A code linked to a custom entry says which tone or code that is
            // on paper, where the QT/DQT customization list may be left out.
            for (std::size_t c = 0; c < columns.size() && c < cells.size(); ++c) {
                const bool decode = columns[c].field == table.Find("decode");
                if (cells[c].empty() || (!decode && columns[c].field != table.Find("encode"))) continue;
                const std::string value = channels.CustomCodeValue(static_cast<int>(row), decode);
                if (!value.empty()) cells[c] += " (" + value + ")";
            }
            // An empty channel says so instead of showing blank cells.
            const bool blank = std::all_of(cells.begin() + 1, cells.end(), [](const std::string& s) { return s.empty(); });
            if (blank && cells.size() > 1 && !session_.RowExists(table, static_cast<int>(row)))
                cells[1] = ctx_.Text(tid::kShowChannelEmpty);
        }
        return t;
    }

    // The keys as their grid shows them, the column of key names headed "Key"
    // (the grid's own heading there is the program's name).
    Table Keys() const {
        std::vector<GridColumn> columns = KeyGridColumns(ctx_);
        for (GridColumn& c : columns)
            if (!c.field) c.header = tid::kPrintKeyHeading;
        return Grid(KeyTable(), columns);
    }

    Table ListTable(PrintList list) const {
        switch (list) {
            case PrintList::Channels: return Channels();
            case PrintList::Features: return Form(FeatureTable());
            case PrintList::Keys: return Keys();
            case PrintList::Scan: return Form(ScanTable());
            case PrintList::TestFrequencies: return Grid(TestFrequencyTable(), TestFrequencyGridColumns(ctx_));
            case PrintList::BandPoints: return Grid(BandPointTable(), BandPointGridColumns(ctx_));
            case PrintList::CustomCodes: return Form(CustomCodeTable());
            case PrintList::Message: return Form(MessageTable());
            case PrintList::Advanced: return Form(AdvancedTable());
        }
        return {};
    }

private:
    const EditSession& session_;
    EditContext ctx_;
};

}  // namespace

std::span<const PrintListInfo> PrintLists() { return kLists; }

const PrintListInfo& InfoOf(PrintList list) {
    for (const PrintListInfo& info : kLists)
        if (info.list == list) return info;
    return kLists[0];
}

bool ListOffered(const EditContext& ctx, PrintList list) {
    return list != PrintList::CustomCodes || ctx.Mode() != EntryMode::Typed;
}

std::optional<std::vector<PrintList>> ParseLists(std::string_view text, std::string* bad) {
    std::vector<PrintList> lists;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view token = Trim(text.substr(0, comma));
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (token.empty()) continue;
        const auto* info = std::find_if(std::begin(kLists), std::end(kLists),
                                        [token](const PrintListInfo& i) { return token == i.token; });
        if (info == std::end(kLists)) {
            if (bad) *bad = std::string(token);
            return std::nullopt;
        }
        if (std::find(lists.begin(), lists.end(), info->list) == lists.end()) lists.push_back(info->list);
    }
    return lists;
}

std::string ListTokens(const std::vector<PrintList>& lists) {
    std::string s;
    for (const PrintListInfo& info : kLists)
        if (std::find(lists.begin(), lists.end(), info.list) != lists.end()) s += (s.empty() ? "" : ",") + std::string(info.token);
    return s;
}

std::string AllListTokens() {
    std::string s;
    for (const PrintListInfo& info : kLists) s += (s.empty() ? "" : ", ") + std::string(info.token);
    return s;
}

Document BuildConfigurationDocument(const EditSession& session, const std::vector<PrintList>& lists,
                                    const PrintHeader& header) {
    Builder b(session);
    const EditContext& ctx = b.Context();
    Document doc;
    doc.title = "VRM-650T";
    doc.fileName = header.fileName;
    doc.pageNumbers = ctx.Text(tid::kPrintPageNumbers);
    doc.facts.push_back({b.T(tid::kPrintModel), ctx.catalogue.ModelSummaryText(ctx.separator)});
    doc.facts.push_back({b.T(tid::kPrintDataFile), header.fileName});
    doc.facts.push_back({b.T(tid::kPrintPrinted), header.printedAt});
    for (const FieldDef& f : MessageTable().fields)
        doc.facts.push_back({b.T(f.label), field::Text(ctx, FieldRef{&MessageTable(), &f, 0})});
    for (const PrintListInfo& info : kLists) {
        if (std::find(lists.begin(), lists.end(), info.list) == lists.end() || !ListOffered(ctx, info.list)) continue;
        Table table = b.ListTable(info.list);
        if (table.rows.empty()) continue;  // nothing of this editor on this model
        doc.sections.push_back({b.T(info.caption), {std::move(table)}});
    }
    return doc;
}

}  // namespace vrm::print
