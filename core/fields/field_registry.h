// Every field table of the program, and fields reached by their keys: the
// way scripts (vrm650t-cli fields, get, set) and listings see the editors.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields/field_access.h"

namespace vrm {

class EditSession;

// The tables in the order the editors appear in the Edit menu.
std::span<const FieldTable* const> AllFieldTables();

// The field a key names ("channel.3.rx"), or nothing when no table has it or
// its row is not one of the current model's.
std::optional<FieldRef> FindField(const EditContext& ctx, std::string_view key);

// Every field of every table, record tables expanded to the model's rows.
std::vector<FieldRef> AllFields(const EditContext& ctx);

// A script's assignment KEY=VALUE, applied exactly as if the user had
// committed the value in the editor at that moment.
struct ScriptWrite {
    enum class Status { Applied, UnknownKey, Hidden, Disabled, Refused };
    Status status = Status::Applied;
    WriteResult result;  // the rule's result (its messages; its refusal)
    // Applied: the text the field shows when it holds something other than
    // the value given (clamped, rounded to the step ...).
    std::optional<std::string> stored;
    bool Ok() const { return status == Status::Applied; }
};
ScriptWrite SetFromScript(EditSession& session, std::string_view key, std::string_view value);

// A field's kind as scripts name it ("frequency", "code", "list" ...).
const char* KindName(FieldKind kind);

// The values a field takes, for `fields`: a number's range, a list's
// tokens, on/off, the band or the preset list of a frequency, the code forms.
std::string ValueSummary(const EditContext& ctx, const FieldRef& ref);

// What a screen reader says a field takes, in the language's words and with
// the user's decimal separator: a number's range (its step, its off text), a
// typed frequency's band, a code's forms, a text's length. Empty where the
// control says it itself (lists, check boxes, preset frequencies).
std::string FieldDescription(const EditContext& ctx, const FieldRef& ref);

// Where a grid cell stands, for a screen reader: its row's heading and its
// column's header ("Row 3, RX Freq.").
std::string GridCellPlace(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                          int row, int column);

// A whole grid row as one spoken text: its heading, then each column's
// header with the cell's text ("Key 1: Long Press: Off; Short Press: Off").
// The key image names its marked key with it.
std::string GridRowSpoken(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                          int row);

// The text of a grid cell: the row number for the number column; empty for
// an empty row of a table that leaves those blank.
std::string GridCellText(const EditContext& ctx, const FieldTable& table, const GridColumn& column, int row);

// Rows as tab-separated text for the clipboard: with `withTitle` a first
// line of the column headers ended by CR LF; rows separated by CR LF, the
// last without a line end.
std::string GridRowsText(const EditContext& ctx, const FieldTable& table, const std::vector<GridColumn>& columns,
                         const std::vector<int>& rows, bool withTitle);

}  // namespace vrm
