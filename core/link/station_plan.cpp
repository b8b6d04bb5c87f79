#include "core/link/station_plan.h"

#include <set>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/exchange/channel_csv.h"
#include "core/fields/field_access.h"
#include "core/fields/field_registry.h"
#include "core/files/document.h"

namespace vrm {

namespace {

// Commits one value of row `line`; a problem when the rule refuses it or
// keeps something other than what was given.
std::optional<PlanProblem> Commit(Document& doc, const LanguageTable& language, int line, const std::string& key,
                                  const std::string& value) {
    const ScriptWrite w = SetFromScript(doc.Session(), key, value);
    const std::string where = std::to_string(line);
    auto problem = [&](const std::string& why) { return PlanProblem{tid::kPlanValueRefused, {where, key, why}}; };
    switch (w.status) {
        case ScriptWrite::Status::Applied: break;
        case ScriptWrite::Status::UnknownKey:
            return problem(FormatText(language.TextString(tid::kCliUnknownField), {key}));
        case ScriptWrite::Status::Hidden: return problem(FormatText(language.TextString(tid::kCliFieldHidden), {key}));
        case ScriptWrite::Status::Disabled:
            return problem(FormatText(language.TextString(tid::kCliFieldDisabled), {key}));
        case ScriptWrite::Status::Refused: {
            const std::string why = field::RefusalText(language, w.result);
            return problem(why.empty() ? FormatText(language.TextString(tid::kCliFieldRefused), {key, value}) : why);
        }
    }
    if (!w.result.messages.empty()) return problem(language.TextString(w.result.messages.front()));
    if (w.stored) return problem(field::StoredNote(language, key, value, *w.stored));
    return std::nullopt;
}

// The plan's columns: "serial", an optional "file", then field keys.
struct PlanHeader {
    const std::vector<std::string>* columns = nullptr;
    bool hasFile = false;
    std::size_t firstKey = 1;
};

// Checks the table and its header; false when no row can be read.
bool ReadHeader(const CsvReadResult& table, const std::string& planPath, PlanHeader& header,
                std::vector<PlanProblem>& problems) {
    if (!table.ok) {
        problems.push_back(
            {tid::kPlanCannotRead, {planPath, table.longFieldLine ? std::to_string(table.longFieldLine) : table.error}});
        return false;
    }
    if (table.rows.empty() || table.rows.front().fields.empty() || table.rows.front().fields.front() != "serial") {
        problems.push_back({tid::kPlanNoSerialColumn, {}});
        return false;
    }
    const std::vector<std::string>& columns = table.rows.front().fields;
    header.columns = &columns;
    header.hasFile = columns.size() > 1 && columns[1] == "file";
    header.firstKey = header.hasFile ? 2 : 1;
    for (std::size_t c = 1; c < columns.size(); ++c)
        if (columns[c].empty()) problems.push_back({tid::kPlanEmptyColumn, {std::to_string(c + 1)}});
    return true;
}

// What one row needs beside itself.
struct PlanInputs {
    const std::string& planPath;
    const Document& base;
    const LanguageTable& language;
    const PlanFileOpener& open;
};

// A row's own data file (taken relative to the plan's folder) into `doc`, or
// the station's data when the row names none; false when the file cannot be
// used.
bool RowData(const CsvRow& row, const PlanHeader& header, const PlanInputs& in, Document& doc, PlanEntry& entry) {
    if (!header.hasFile || row.fields[1].empty()) {
        doc.Hold(in.base.Image().Live());
        return true;
    }
    entry.file = row.fields[1];
    const std::size_t slash = in.planPath.rfind('/');
    if (entry.file.front() != '/' && slash != std::string::npos)
        entry.file = in.planPath.substr(0, slash + 1) + entry.file;
    return in.open(entry.file, doc);
}

// One radio's row: its data with its values applied, added to `plan`; what
// is wrong with it goes to `problems`.
void ReadRow(const CsvRow& row, const PlanHeader& header, const PlanInputs& in, StationPlan& plan,
             std::vector<PlanProblem>& problems) {
    const std::vector<std::string>& columns = *header.columns;
    const std::string line = std::to_string(row.line);
    if (row.fields.size() != columns.size()) {
        problems.push_back(
            {tid::kPlanFieldCount, {line, std::to_string(row.fields.size()), std::to_string(columns.size())}});
        return;
    }
    const std::string& serial = row.fields[0];
    if (serial.empty()) {
        problems.push_back({tid::kPlanSerialEmpty, {line}});
        return;
    }
    if (plan.radios.count(serial)) {
        problems.push_back({tid::kPlanSerialTwice, {line, serial}});
        return;
    }
    Document doc(in.language);
    PlanEntry entry;
    if (!RowData(row, header, in, doc, entry)) {
        problems.push_back({tid::kPlanFileRefused, {line, entry.file}});
        return;
    }
    // An empty cell leaves the field as the file has it.
    for (std::size_t c = header.firstKey; c < columns.size(); ++c) {
        if (columns[c].empty() || row.fields[c].empty()) continue;
        if (auto p = Commit(doc, in.language, row.line, columns[c], row.fields[c])) problems.push_back(*p);
    }
    entry.image = doc.Image().Live();
    plan.radios.emplace(serial, std::move(entry));
}

}  // namespace

PlanResult BuildStationPlan(std::string_view csv, const std::string& planPath, const Document& base,
                            const LanguageTable& language, const PlanFileOpener& open) {
    PlanResult result;
    const CsvReadResult table = ReadCsv(csv);
    PlanHeader header;
    if (!ReadHeader(table, planPath, header, result.problems)) return result;
    const PlanInputs in{planPath, base, language, open};
    for (std::size_t r = 1; r < table.rows.size(); ++r) ReadRow(table.rows[r], header, in, result.plan, result.problems);
    return result;
}

std::string PlanProblemText(const LanguageTable& language, const PlanProblem& problem) {
    std::vector<FormatArg> args;
    for (const std::string& a : problem.args) args.emplace_back(a);
    return FormatText(language.TextString(problem.text), args);
}

}  // namespace vrm
