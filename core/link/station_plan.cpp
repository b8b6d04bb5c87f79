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

}  // namespace

PlanResult BuildStationPlan(std::string_view csv, const std::string& planPath, const Document& base,
                            const LanguageTable& language, const PlanFileOpener& open) {
    PlanResult result;
    auto problem = [&](tid::TextId text, std::vector<std::string> args) {
        result.problems.push_back({text, std::move(args)});
    };
    const CsvReadResult table = ReadCsv(csv);
    if (!table.ok) {
        problem(tid::kPlanCannotRead,
                {planPath, table.longFieldLine ? std::to_string(table.longFieldLine) : table.error});
        return result;
    }
    if (table.rows.empty() || table.rows.front().fields.empty() || table.rows.front().fields.front() != "serial") {
        problem(tid::kPlanNoSerialColumn, {});
        return result;
    }
    const std::vector<std::string>& header = table.rows.front().fields;
    const bool hasFile = header.size() > 1 && header[1] == "file";
    const std::size_t firstKey = hasFile ? 2 : 1;
    for (std::size_t c = 1; c < header.size(); ++c)
        if (header[c].empty()) problem(tid::kPlanEmptyColumn, {std::to_string(c + 1)});

    for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const CsvRow& row = table.rows[r];
        const std::string line = std::to_string(row.line);
        if (row.fields.size() != header.size()) {
            problem(tid::kPlanFieldCount, {line, std::to_string(row.fields.size()), std::to_string(header.size())});
            continue;
        }
        const std::string& serial = row.fields[0];
        if (serial.empty()) {
            problem(tid::kPlanSerialEmpty, {line});
            continue;
        }
        if (result.plan.radios.count(serial)) {
            problem(tid::kPlanSerialTwice, {line, serial});
            continue;
        }
        Document doc(language);
        PlanEntry entry;
        if (hasFile && !row.fields[1].empty()) {
            entry.file = row.fields[1];
            const std::size_t slash = planPath.rfind('/');
            if (entry.file.front() != '/' && slash != std::string::npos)
                entry.file = planPath.substr(0, slash + 1) + entry.file;
            if (!open(entry.file, doc)) {
                problem(tid::kPlanFileRefused, {line, entry.file});
                continue;
            }
        } else {
            doc.Hold(base.Image().Live());
        }
        // An empty cell leaves the field as the file has it.
        for (std::size_t c = firstKey; c < header.size(); ++c) {
            if (header[c].empty() || row.fields[c].empty()) continue;
            if (auto p = Commit(doc, language, row.line, header[c], row.fields[c])) result.problems.push_back(*p);
        }
        entry.image = doc.Image().Live();
        result.plan.radios.emplace(serial, std::move(entry));
    }
    return result;
}

std::string PlanProblemText(const LanguageTable& language, const PlanProblem& problem) {
    std::vector<FormatArg> args;
    for (const std::string& a : problem.args) args.emplace_back(a);
    return FormatText(language.TextString(problem.text), args);
}

}  // namespace vrm
