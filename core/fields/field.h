// The field model shared by every editor: a field is a row of a constant
// table that says what an item of an editor shows, where it is stored, which
// rule a typed text or a choice goes through, and when it is shown and
// enabled. The desktop forms and grids, the CLI's fields/get/set and the
// listings all read the same tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/text_ids.h"

namespace vrm {

class CodeTables;
class LanguageTable;
class ModelCatalogue;
class RadioImage;
enum class EntryMode : int;

enum class FieldKind {
    Number,     // a number with spin buttons: range, step, scale, optional off value
    List,       // a drop-down list of fixed entries
    Check,      // a check box (on/off where it appears as text)
    Group,      // a group box: a caption, no value
    Text,       // free text
    Frequency,  // a frequency in MHz, typed or chosen from the preset list
    Code,       // a QT/DQT code, typed or chosen from the code list
};

// One entry of a list field.
struct Choice {
    int value = 0;            // the value stored
    tid::TextId text = 0;     // the text shown
    const char* token = "";   // the stable name scripts use
};

// A number field's rule: shown = stored * scale; typed values are clamped
// into min..max and rounded down to the step; `offValue` (when hasOff) is
// stored for "off" and shown as the off text.
struct NumberRule {
    int min = 0;
    int max = 0;
    int step = 1;
    int scale = 1;
    bool hasOff = false;
    int offValue = 0;
};

// Where a field lives: the byte offset (from the start of the image, or of
// the record for a record table's field), the width in bytes (1 or 2,
// little-endian) and the bits within it (value = (raw >> shift) & mask).
struct Storage {
    std::size_t offset = 0;
    int width = 1;
    int shift = 0;
    unsigned mask = 0xFF;
};

// Everything a field's rules may look at or change.
struct EditContext {
    RadioImage& image;
    ModelCatalogue& catalogue;
    const CodeTables& tables;
    const LanguageTable& language;
    std::string separator = ".";  // the user's decimal separator for shown texts
    // A text import is applying its fields: a rule that refills a table
    // once it is empty (the test frequencies) waits for the import's end, so
    // that it judges the imported table and not the part applied so far.
    bool importing = false;

    EntryMode Mode() const;
    std::string Text(tid::TextId id) const;
};

// What the user did to a field: typed a text, picked entry `index` of the
// field's options, or set a check box.
struct FieldInput {
    enum class Kind { Typed, Chosen, Checked };
    Kind kind = Kind::Typed;
    std::string text;
    int index = -1;
    bool on = false;

    static FieldInput Typed(std::string t) { return {Kind::Typed, std::move(t), -1, false}; }
    static FieldInput Chosen(int i) { return {Kind::Chosen, {}, i, false}; }
    static FieldInput Checked(bool v) { return {Kind::Checked, {}, -1, v}; }
};

// How a write ended, and what the user must be told.
struct WriteResult {
    enum class Status {
        Applied,    // the rule ran (the image may or may not have changed)
        Refused,    // nothing was written; `refusal` says why
    };
    Status status = Status::Applied;
    std::vector<tid::TextId> messages;  // to show, in order (clamped, reserved, paired ...)
    tid::TextId refusal = 0;            // the message of a refusal (0: refused silently)
    std::vector<std::string> arguments; // filled into the refusal text's placeholders

    bool Ok() const { return status == Status::Applied; }
    static WriteResult Refuse(tid::TextId why = 0, std::vector<std::string> args = {}) {
        WriteResult r;
        r.status = Status::Refused;
        r.refusal = why;
        r.arguments = std::move(args);
        return r;
    }
};

// One line of a list or combo: the text shown, the token scripts use.
struct FieldOption {
    std::string text;
    std::string token;
};

// A number field's range when it depends on other fields (the minimum volume
// goes up to the maximum volume).
struct NumberRange {
    int min = 0;
    int max = 0;
};

struct FieldDef;
using FieldPredicate = bool (*)(const EditContext&, int row);
using FieldReader = std::string (*)(const EditContext&, const FieldDef&, int row);
using FieldWriter = WriteResult (*)(EditContext&, const FieldDef&, int row, const FieldInput&);
using FieldOffers = std::vector<FieldOption> (*)(const EditContext&, const FieldDef&, int row);
using FieldChoices = std::vector<Choice> (*)(const EditContext&, const FieldDef&, int row);
using FieldRange = NumberRange (*)(const EditContext&, int row);

struct FieldDef {
    const char* key = "";          // stable name within its table ("rx", "tot")
    tid::TextId label = 0;
    std::uint32_t help = 0;        // help context of F1
    FieldKind kind = FieldKind::Number;
    int item = -1;                 // the editor's item number
    Storage storage{};
    NumberRule number{};
    std::span<const Choice> choices{};  // List: every entry the field knows
    int maxLength = 0;             // longest text an edit takes (0: no limit)
    FieldPredicate shown = nullptr;    // null: always shown
    FieldPredicate enabled = nullptr;  // null: always enabled
    FieldReader read = nullptr;        // null: from the storage by kind
    FieldWriter write = nullptr;       // null: to the storage by kind
    FieldChoices offered = nullptr;    // List: the entries offered now (null: all)
    FieldOffers options = nullptr;     // Frequency/Code: the lines of the drop-down
    FieldRange range = nullptr;        // Number: min and max now (null: the rule's)
    int groupSize = 0;                 // Group: how many of the following fields it holds
};

// The rows of a record table (channels, test frequencies ...): where row r
// starts, how many rows the model has, whether a row holds a record, and the
// rules for deleting a row and pasting a copied record into it.
struct RecordSlot {
    bool present = false;
    std::vector<std::uint8_t> bytes;
};

struct RecordLayout {
    std::size_t base = 0;
    std::size_t stride = 0;
    int (*count)(const EditContext&) = nullptr;
    bool (*exists)(const EditContext&, int row) = nullptr;
    // Empties the row; false when it was empty already.
    bool (*remove)(EditContext&, int row) = nullptr;
    // Puts a copied record into the row (which is empty when this runs).
    void (*paste)(EditContext&, int row, const RecordSlot&) = nullptr;
    // True when a grid shows the fields of an empty row too (null: empty
    // rows show empty cells).
    bool (*fillEmptyRows)(const EditContext&) = nullptr;
    // Rows named in keys ("bandpoint.low.rx") instead of numbered from 1.
    const char* const* rowNames = nullptr;
    // The text of a row's heading cell (null: its number).
    tid::TextId (*rowTitle)(int row) = nullptr;
};

// A grid column: the field it shows, its header text and width, and the
// column whose field a disabled cell of this column waits for (Enter there
// edits that one instead; -1: none).
struct GridColumn {
    const FieldDef* field = nullptr;  // null: the row number column
    tid::TextId header = 0;
    int width = 0;
    int whenDisabled = -1;
};

// A table of fields: a plain form ("features.tot") or a record table whose
// keys carry the 1-based row ("channel.3.rx").
struct FieldTable {
    const char* prefix = "";
    std::span<const FieldDef> fields{};
    const RecordLayout* records = nullptr;
    bool advancedHelp = false;  // F1 opens the advanced help file

    const FieldDef* Find(std::string_view key) const;
    bool IsRecordTable() const { return records != nullptr; }
};

}  // namespace vrm
