// The programming station's plan: which radio gets which data, with values of
// its own. A CSV file whose header is "serial", optionally "file", then field
// keys as scripts name them ("message.line2", "channel.1.rx"); one row per
// radio. The radio whose serial number matches a row gets that row's file (or
// the station's file) with the row's values committed as the editor commits
// them. The whole plan is checked before anything is written: a value the
// rules refuse or store differently is a problem, and a plan with a problem
// is not used at all.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/text_ids.h"
#include "core/model/radio_image.h"

namespace vrm {

class Document;
class LanguageTable;

struct PlanProblem {
    tid::TextId text = 0;
    std::vector<std::string> args;  // filled into the text in order (numbers as decimal text)
};

struct PlanEntry {
    std::string file;  // the data file written ("" for the station's file)
    ImageBuffer image{};
};

struct StationPlan {
    std::map<std::string, PlanEntry> radios;  // by serial number
};

struct PlanResult {
    StationPlan plan;
    std::vector<PlanProblem> problems;
    bool Ok() const { return problems.empty(); }
};

// Opens a row's data file into `doc` as Open does; false (having said why,
// or not) when it cannot be used.
using PlanFileOpener = std::function<bool(const std::string& path, Document& doc)>;

// Builds the plan from the CSV text of the file `planPath`. `base` holds the
// station's file; a row's "file" is taken relative to the plan's folder
// unless it is absolute.
PlanResult BuildStationPlan(std::string_view csv, const std::string& planPath, const Document& base,
                            const LanguageTable& language, const PlanFileOpener& open);

// A problem in the language's words.
std::string PlanProblemText(const LanguageTable& language, const PlanProblem& problem);

}  // namespace vrm
