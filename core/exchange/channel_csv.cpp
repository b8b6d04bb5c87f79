// The CSV layer of the channel CSV and its export. The import's row mapping
// is in channel_csv_import.cpp.
#include "core/exchange/channel_csv.h"

#include <csv.h>

#include "core/fields/channel_model.h"
#include "core/fields/edit_session.h"
#include "core/fields/field.h"
#include "core/exchange/channel_csv_terms.h"
#include "core/model/code_tables.h"

namespace vrm {

const char* const kChannelCsvHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,"
    "Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// ---------------------------------------------------------------------------
// Reading

namespace {

struct ParseState {
    std::vector<CsvRow> rows;
    CsvRow row;
    bool inRow = false;
    int line = 1;  // the line being fed to the parser
};

// Line breaks (LF, CR LF, a lone CR) inside a field's text.
int LineBreaks(const std::string& text) {
    int breaks = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))) ++breaks;
    }
    return breaks;
}

void OnField(void* data, std::size_t size, void* user) {
    auto& s = *static_cast<ParseState*>(user);
    s.inRow = true;
    s.row.fields.emplace_back(static_cast<const char*>(data), size);
}

// A row ends on the line being fed (the parser calls back at a row's end,
// or at the end of the text for a last row without a line end); it began
// as many lines earlier as its quoted fields have line breaks.
void OnRowEnd(int, void* user) {
    auto& s = *static_cast<ParseState*>(user);
    bool blank = true;
    int breaks = 0;
    for (const std::string& f : s.row.fields) {
        blank = blank && f.empty();
        breaks += LineBreaks(f);
    }
    s.row.line = s.line - breaks;
    if (s.inRow && !blank) s.rows.push_back(std::move(s.row));
    s.row = CsvRow{};
    s.inRow = false;
}

// Where the line that starts at `at` ends, after its line end (LF, CR LF or
// a lone CR, as a person's editor shows lines).
std::size_t LineEnd(std::string_view data, std::size_t at) {
    const std::size_t end = data.find_first_of("\r\n", at);
    if (end == std::string_view::npos) return data.size();
    return data[end] == '\r' && end + 1 < data.size() && data[end + 1] == '\n' ? end + 2 : end + 1;
}

// The line a field longer than kCsvMaxField begins on, or 0. Quotes are
// followed as the parser reads them (a doubled quote inside a quoted field
// toggles twice), so a comma or a line break inside quotes does not end a
// field; the count is a little short by the quotes, which does not matter.
int LongFieldLine(std::string_view data) {
    std::size_t length = 0;
    bool quoted = false;
    int line = 1, start = 1;
    for (const char c : data) {
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && (c == ',' || c == '\n' || c == '\r')) {
            if (c == '\n') ++line;
            length = 0;
            start = line;
            continue;
        }
        if (c == '\n') ++line;
        if (++length > kCsvMaxField) return start;
    }
    return 0;
}

}  // namespace

CsvReadResult ReadCsv(std::string_view data) {
    CsvReadResult result;
    if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
    if ((result.longFieldLine = LongFieldLine(data)) != 0) return result;
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        result.error = csv_strerror(CSV_ENOMEM);
        return result;
    }
    ParseState state;
    // Fed a line at a time, so that every row knows the line it starts on.
    std::size_t at = 0;
    bool failed = false;
    while (at < data.size() && !failed) {
        const std::size_t end = LineEnd(data, at);
        const std::size_t length = end - at;
        if (csv_parse(&parser, data.data() + at, length, OnField, OnRowEnd, &state) != length) failed = true;
        at = end;
        if (!failed && at < data.size()) ++state.line;
    }
    if (failed || csv_fini(&parser, OnField, OnRowEnd, &state) != 0) {
        result.error = csv_strerror(csv_error(&parser));
        result.error += " (" + std::to_string(state.line) + ")";
        csv_free(&parser);
        return result;
    }
    csv_free(&parser);
    result.ok = true;
    result.rows = std::move(state.rows);
    return result;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted(text.size() * 2 + 2, '\0');
    quoted.resize(csv_write(quoted.data(), quoted.size(), text.data(), text.size()));
    return quoted;
}

// ---------------------------------------------------------------------------
// Export

namespace {

// The CSV's view of a QT/DQT code word.
struct CsvCode {
    enum class Kind { Off, Tone, Dtcs } kind = Kind::Off;
    std::string tone;      // "88.5"
    std::string dtcs;      // "023"
    char polarity = 'N';   // N normal, R inverted
};

CsvCode CodeOf(const EditContext& ctx, std::uint16_t word) {
    CsvCode c;
    if (word == kCodeOff) return c;
    const std::string text = ctx.tables.CodeWordToText(word, ".");
    if (word & 0x2000) {
        c.kind = CsvCode::Kind::Dtcs;
        c.dtcs = text.substr(1, 3);
        c.polarity = text.size() > 4 && text[4] == 'I' ? 'R' : 'N';
    } else {
        c.kind = CsvCode::Kind::Tone;
        c.tone = text;
    }
    return c;
}

const char* CrossSide(const CsvCode& c) {
    switch (c.kind) {
        case CsvCode::Kind::Tone: return "Tone";
        case CsvCode::Kind::Dtcs: return "DTCS";
        default: return "";
    }
}

// Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode.
std::vector<std::string> ToneColumns(const CsvCode& tx, const CsvCode& rx) {
    using K = CsvCode::Kind;
    std::string mode;
    if (tx.kind == K::Off && rx.kind == K::Off) mode = "";
    else if (tx.kind == K::Tone && rx.kind == K::Off) mode = "Tone";
    else if (tx.kind == K::Tone && rx.kind == K::Tone && tx.tone == rx.tone) mode = "TSQL";
    else if (tx.kind == K::Dtcs && rx.kind == K::Dtcs && tx.dtcs == rx.dtcs) mode = "DTCS";
    else mode = "Cross";
    const std::string cross = mode == "Cross" ? std::string(CrossSide(tx)) + "->" + CrossSide(rx) : "Tone->Tone";
    const std::string rTone = tx.kind == K::Tone ? tx.tone : kDefaultTone;
    const std::string cTone = rx.kind == K::Tone ? rx.tone : (mode == "Tone" ? tx.tone : kDefaultTone);
    const std::string dtcs = tx.kind == K::Dtcs ? tx.dtcs : (rx.kind == K::Dtcs ? rx.dtcs : kDefaultDtcs);
    const std::string rxDtcs = rx.kind == K::Dtcs ? rx.dtcs : dtcs;
    const std::string polarity{tx.kind == K::Dtcs ? tx.polarity : 'N', rx.kind == K::Dtcs ? rx.polarity : 'N'};
    return {mode, rTone, cTone, dtcs, polarity, rxDtcs, cross};
}

std::string Row(const EditContext& ctx, const ChannelReader& model, int n) {
    const std::size_t at = model.Address(n);
    const std::int64_t rx = CodeTables::FrequencyToHz(ctx.image.Frequency(at));
    const std::int64_t tx = CodeTables::FrequencyToHz(ctx.image.Frequency(at + 4));
    std::string duplex, offset = MHzText(0);
    if (!model.HasTx(n) || tx < 0) {
        duplex = "off";
    } else if (tx != rx) {
        duplex = tx > rx ? "+" : "-";
        offset = MHzText(tx > rx ? tx - rx : rx - tx);
    }
    const std::uint8_t flags = ctx.image.Byte(at + 13);
    std::vector<std::string> cells = {std::to_string(n + 1), "", MHzText(rx), duplex, offset};
    const CsvCode encode = CodeOf(ctx, ctx.image.Word(at + 10));
    const CsvCode decode = CodeOf(ctx, ctx.image.Word(at + 8));
    for (std::string& c : ToneColumns(model.HasTx(n) ? encode : CsvCode{}, decode)) cells.push_back(std::move(c));
    cells.push_back("FM");
    cells.push_back(StepText((ctx.image.Byte(at + 14) >> 6) & 3));
    cells.push_back((flags & ChannelModel::kScanAddBit) ? "" : "S");
    cells.push_back((flags & ChannelModel::kPowerBit) ? "High" : "Low");
    for (int i = 0; i < 5; ++i) cells.push_back("");  // Comment, URCALL, RPT1CALL, RPT2CALL, DVCODE
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + CsvField(cells[i]);
    return line + "\r\n";
}

}  // namespace

std::string MHzText(std::int64_t hz) {
    if (hz < 0) return "";
    std::string fraction = std::to_string(hz % 1000000);
    fraction.insert(0, 6 - fraction.size(), '0');
    return std::to_string(hz / 1000000) + "." + fraction;
}

std::string StepText(int stepCode) {
    switch (stepCode) {
        case kStep2500: return "2.50";
        case kStep6250: return "6.25";
        default: return "5.00";
    }
}

std::string ExportChannelCsv(const EditContext& ctx) {
    std::string csv = std::string(kChannelCsvHeader) + "\r\n";
    const ChannelReader model(ctx);
    for (int n = 0; n < model.Count(); ++n) {
        if (model.Exists(n) && model.HasRx(n) && CodeTables::FrequencyToHz(ctx.image.Frequency(model.Address(n))) >= 0)
            csv += Row(ctx, model, n);
    }
    return csv;
}

bool ApplyChannelImport(EditSession& session, const ChannelCsvImport& plan) {
    if (!plan.readable) return false;
    return session.Change([&plan](EditContext& ctx) {
        bool changed = false;
        for (std::size_t i = kChannelInUseHigh; i < kChannelTable.End(); ++i) {
            if (ctx.image.Byte(i) == plan.image[i]) continue;
            ctx.image.SetByte(i, plan.image[i]);
            changed = true;
        }
        return changed;
    });
}

}  // namespace vrm
