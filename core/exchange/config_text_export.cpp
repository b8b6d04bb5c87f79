// Writing a configuration text: every field the editors show, as a script
// gives it, and the bytes the fields do not reproduce; checked by importing
// it again until the import gives the image byte for byte.
#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "core/exchange/config_text.h"
#include "core/exchange/config_text_plan.h"
#include "core/files/document.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"

namespace vrm {
namespace config_text {

namespace {

std::vector<std::string> Split(const std::string& key) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t dot = key.find('.'); dot != std::string::npos; dot = key.find('.', start)) {
        parts.push_back(key.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(key.substr(start));
    return parts;
}

void EmitFields(YAML::Emitter& out, const std::vector<Entry>& fields) {
    out << YAML::BeginMap;
    std::vector<std::string> open;  // the maps open below "fields"
    for (const Entry& e : fields) {
        std::vector<std::string> parts = Split(e.key);
        const std::string leaf = parts.back();
        parts.pop_back();
        std::size_t common = 0;
        while (common < open.size() && common < parts.size() && open[common] == parts[common]) ++common;
        for (std::size_t i = open.size(); i > common; --i) out << YAML::EndMap;
        open.resize(common);
        for (std::size_t i = common; i < parts.size(); ++i) {
            out << YAML::Key << parts[i] << YAML::Value << YAML::BeginMap;
            open.push_back(parts[i]);
        }
        out << YAML::Key << leaf << YAML::Value;
        // Quoted where a plain scalar would not read back as the same text.
        if (e.value.empty() || e.value.front() == ' ' || e.value.back() == ' ')
            out << YAML::DoubleQuoted;
        out << e.value;
    }
    for (std::size_t i = open.size(); i > 0; --i) out << YAML::EndMap;
    out << YAML::EndMap;
}

// The value a script gives for what the field shows: a list's token, on/off
// for a check box, else the shown text ("." as the decimal separator).
std::string ScriptValue(const EditContext& ctx, const FieldRef& ref) {
    const std::string text = GridCellText(ctx, *ref.table, GridColumn{ref.field}, ref.row);
    switch (ref.field->kind) {
        case FieldKind::Check:
            if (text == field::OnOffText(ctx, true)) return "on";
            if (text == field::OnOffText(ctx, false)) return "off";
            return text;
        case FieldKind::List:
            for (const FieldOption& o : field::Options(ctx, ref))
                if (o.text == text && !o.token.empty()) return o.token;
            return text;
        default:
            // The off text of a number, frequency or code in any language.
            return text == ctx.Text(tid::kCodeNone) ? "off" : text;
    }
}

// The fields of the image a user sees and may change, in table order.
std::vector<Entry> VisibleFields(const ImageBuffer& source, const LanguageTable& language) {
    Document document(language);
    document.Hold(source);
    EditSession& session = document.Session();
    session.SetDecimalSeparator(".");
    const EditContext& ctx = session.Context();
    std::vector<Entry> fields;
    for (const FieldRef& ref : AllFields(ctx)) {
        const RecordLayout* r = ref.table->records;
        if (r && !r->exists(ctx, ref.row) && !(r->fillEmptyRows && r->fillEmptyRows(ctx))) continue;
        if (!session.Shown(ref) || !session.Enabled(ref)) continue;
        std::string value = ScriptValue(ctx, ref);
        // A text with control characters or broken UTF-8 goes as bytes.
        if (!IsUtf8(value) ||
            std::any_of(value.begin(), value.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
            continue;
        fields.push_back({ref.Key(), std::move(value), 0});
    }
    return fields;
}

// Rows of consecutive listed bytes, none crossing a 16-byte line.
std::vector<ByteRow> Rows(const ImageBuffer& image, const std::set<std::size_t>& listed) {
    std::vector<ByteRow> rows;
    for (const std::size_t b : listed) {
        if (rows.empty() || b % 16 == 0 || rows.back().address + rows.back().bytes.size() != b)
            rows.push_back({b, {}, 0});
        rows.back().bytes.push_back(image[b]);
    }
    return rows;
}

}  // namespace

std::string Emit(const Plan& plan) {
    YAML::Emitter out;
    out << YAML::BeginMap;
    out << YAML::Key << "model" << YAML::Value << plan.model << YAML::Comment(ModelCatalogue::ModelListText(plan.model));
    out << YAML::Key << "fields" << YAML::Value;
    EmitFields(out, plan.fields);
    out << YAML::Key << "bytes" << YAML::Value << YAML::BeginMap;
    for (const ByteRow& row : plan.rows) {
        char address[8];
        std::snprintf(address, sizeof address, "0x%03zX", row.address);
        std::string hex;
        for (const std::uint8_t b : row.bytes) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%s%02X", hex.empty() ? "" : " ", b);
            hex += pair;
        }
        out << YAML::Key << address << YAML::Value << hex;
    }
    out << YAML::EndMap << YAML::EndMap;
    return std::string(out.c_str()) + "\n";
}

}  // namespace config_text

ConfigTextExport ExportConfigText(const ImageBuffer& source, const LanguageTable& language) {
    using namespace config_text;
    ConfigTextExport result;
    ModelIdentity identity{};
    std::copy_n(source.begin(), kIdentitySize, identity.begin());
    const int model = ModelCatalogue::FindModel(identity);
    if (model < 0 || !ModelCatalogue::IsAcceptable(identity)) {
        result.problem = language.TextString(tid::kTextNoModel);
        return result;
    }
    Plan plan;
    plan.model = model;
    plan.fields = VisibleFields(source, language);
    std::set<std::size_t> listed;
    for (std::size_t b = 0; b < kIdentitySize; ++b) listed.insert(b);

    // Each round lists at least one more byte or leaves out at least one more
    // field (a listed byte that comes out different was changed by a field
    // applied after the rows), so the rounds end; with every byte listed and
    // no field the text is the image itself.
    for (;;) {
        plan.rows = Rows(source, listed);
        std::string text = Emit(plan);
        std::set<std::string> drop;
        bool same = false;
        try {
            const Plan read = Parse(text);
            const Applied applied = Apply(read, language, true);
            for (const std::size_t i : applied.refused) drop.insert(read.fields[i].key);
            same = drop.empty() && applied.image == source;
            for (std::size_t b = 0; b < kImageSize && drop.empty(); ++b) {
                if (applied.image[b] == source[b]) continue;
                // First the byte goes as a row; when a field still changes
                // it after the row, the field's text does not carry its value.
                if (listed.insert(b).second) continue;
                if (applied.writer[b] >= 0) drop.insert(read.fields[static_cast<std::size_t>(applied.writer[b])].key);
            }
        } catch (const Refusal& r) {
            // A field the text cannot carry (its key or value did not read
            // back): left out; anything else leaves every field out.
            drop.insert(r.key);
            if (std::none_of(plan.fields.begin(), plan.fields.end(), [&](const Entry& e) { return e.key == r.key; }))
                for (const Entry& e : plan.fields) drop.insert(e.key);
        }
        if (same) {
            result.ok = true;
            result.text = std::move(text);
            return result;
        }
        std::erase_if(plan.fields, [&](const Entry& e) { return drop.count(e.key) != 0; });
        if (plan.fields.empty())
            for (std::size_t b = 0; b < kImageSize; ++b)
                if (source[b] != 0xFF) listed.insert(b);
    }
}

}  // namespace vrm
