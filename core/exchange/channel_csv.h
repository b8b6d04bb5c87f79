// The channel CSV that radio programmers and repeater directories exchange:
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,
//   DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,
//   RPT1CALL,RPT2CALL,DVCODE
//
// Export writes what each channel in use holds in those terms. Import reads
// the columns by their header names (in any order; older files without
// RxDtcsCode, CrossMode, Power and DVCODE are fine: a missing column is read
// as the format's default, and said once in the report) and puts each row onto
// its channel through the channel data model, the same rules the channel
// editor applies, on a copy of the image. The caller sees the report of every
// row first and then applies the copy, or not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/model/radio_image.h"

namespace vrm {

struct EditContext;
class EditSession;

// The header line export writes (without the line end).
extern const char* const kChannelCsvHeader;

// The largest CSV file import reads.
inline constexpr std::size_t kChannelCsvMaxBytes = 4 * 1024 * 1024;

// The channels in use, one row each, numbered from 1, lines ended by CR LF.
std::string ExportChannelCsv(const EditContext& ctx);

// One line of the import report: what a row changed or could not take.
struct ChannelCsvNote {
    int line = 0;       // line of the file the row starts on (1-based)
    int channel = 0;    // the channel (1-based); 0 when the row reached none
    std::string text;   // in the context's language
    // About a column the file does not have and the default taken for it,
    // not about a row (the first lines of the report).
    bool column = false;
};

struct ChannelCsvImport {
    bool readable = false;   // false: not a channel CSV; `failure` says why
    std::string failure;
    int rows = 0;            // data rows read
    int taken = 0;           // rows put onto a channel
    std::vector<ChannelCsvNote> notes;
    ImageBuffer image{};     // the live image with the rows applied
};

// Reads `csv` and maps its rows onto a copy of the context's image. The
// context's image is not changed.
ChannelCsvImport PlanChannelImport(const EditContext& ctx, std::string_view csv);

// "Line 7, channel 3: ..." in the context's language.
std::string ChannelCsvNoteText(const EditContext& ctx, const ChannelCsvNote& note);

// Puts the channels of a readable plan into the session's image as one undo
// step. False when that changed nothing.
bool ApplyChannelImport(EditSession& session, const ChannelCsvImport& plan);

// ---- the CSV layer (exposed for the tests) --------------------------------

struct CsvRow {
    int line = 0;                    // line the row starts on
    std::vector<std::string> fields;
};

// The longest field a row may have: far more than any column's value (a
// name, a comment, a frequency) takes.
inline constexpr std::size_t kCsvMaxField = 1024;

struct CsvReadResult {
    bool ok = false;
    std::string error;               // the parser's reason when not ok
    int longFieldLine = 0;           // not ok: the line a field longer than kCsvMaxField begins on
    std::vector<CsvRow> rows;        // blank lines left out
};

// Splits CSV text into rows and fields: quoted fields (with commas, quotes
// and line breaks), CR LF or LF line ends, a leading byte order mark. A
// field longer than kCsvMaxField refuses the text before it is parsed.
CsvReadResult ReadCsv(std::string_view data);

// A field as CSV writes it: quoted when it holds a comma, a quote or a line
// break.
std::string CsvField(std::string_view text);

}  // namespace vrm
