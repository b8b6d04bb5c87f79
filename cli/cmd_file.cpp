// vrm650t-cli new, show, dump and check: data files from the shell.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/json_output.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_listing.h"
#include "core/fields/field_registry.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm::cli {

namespace {

// ---------------------------------------------------------------------------
// new

// The band word of --band for `model` (its first band without the option);
// nothing, with the model's bands listed, when the model has no such band.
std::optional<std::uint16_t> BandOption(Context& ctx, int model) {
    const auto bandText = ctx.args.Value("--band");
    const auto bands = ModelCatalogue::BandList(model, kSeparator);
    unsigned long band = static_cast<unsigned long>(bands.front().data);
    if (!bandText) return static_cast<std::uint16_t>(band);
    bool known = ParseInt(*bandText, band);
    if (known) {
        known = false;
        for (const ListEntry& b : bands) known = known || static_cast<unsigned long>(b.data) == band;
    }
    if (known) return static_cast<std::uint16_t>(band);
    std::string list;
    for (const ListEntry& b : bands) {
        if (!list.empty()) list += ", ";
        list += Hex(static_cast<unsigned>(b.data), 4) + " (" + b.text + ")";
    }
    ctx.err << Format(ctx, tid::kCliBandNotOfModel, {*bandText, model, list}) << "\n";
    return std::nullopt;
}

int RunNew(Context& ctx) {
    const auto modelText = ctx.args.Value("--model");
    const bool yes = ctx.args.Flag("--yes");

    unsigned long model = 0;
    if (!modelText || !ParseInt(*modelText, model) || model < 1 || model > 4) {
        ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
        return kUsageError;
    }
    const std::optional<std::uint16_t> band = BandOption(ctx, static_cast<int>(model));
    if (!band) return kUsageError;
    int status = 0;
    const std::optional<NewFileOutput> output = NewFileOutputOptions(ctx, status);
    if (!output) return status;

    // The New defaults of the model, as the New command makes them.
    Document document(Language(ctx));
    document.NewOfModel(static_cast<int>(model), *band);

    if (!MayReplace(ctx, output->path, yes)) return kExitNotWritten;
    if (const int code = SaveDocument(ctx, document, output->path, output->security)) return code;
    ctx.out << Format(ctx, tid::kCliWroteFile, {output->path}) << "\n";
    return 0;
}

// ---------------------------------------------------------------------------
// show

// Display width of a UTF-8 text (code points; the language files use no
// double-width characters).
std::size_t Width(const std::string& s) {
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

std::string Pad(const std::string& s, std::size_t width) {
    const std::size_t w = Width(s);
    return w >= width ? s : s + std::string(width - w, ' ');
}

// The sections of `show`: a heading, then "label  value" rows, printed
// aligned, or as one JSON document with --json.
class Listing {
public:
    explicit Listing(std::ostream& out) : out_(out) {}

    void Heading(const std::string& text) { sections_.push_back({text, {}}); }
    void Row(const std::string& label, const std::string& value, int indent = 1, const std::string& key = {}) {
        if (sections_.empty()) Heading({});
        sections_.back().rows.push_back({label, value, indent, key});
    }

    void PrintText() const {
        bool first = true;
        for (const Section& s : sections_) {
            if (!first) out_ << "\n";
            first = false;
            out_ << s.title << "\n";
            std::size_t width = 0;
            for (const Row_& r : s.rows) width = std::max(width, Width(Indented(r)));
            for (const Row_& r : s.rows)
                out_ << (r.value.empty() ? Indented(r) : Pad(Indented(r), width + 2) + r.value) << "\n";
        }
    }

    // {"sections": [{"title", "rows": [{"label", "value", "key"}]}]}; a row
    // of an editor's field carries the field's key, as `get` and `set` take it.
    Json ToJson() const {
        Json sections = Json::array();
        for (const Section& s : sections_) {
            Json rows = Json::array();
            for (const Row_& r : s.rows) {
                Json row{{"label", r.label}, {"value", r.value}, {"level", r.indent}};
                if (!r.key.empty()) row["key"] = r.key;
                rows.push_back(std::move(row));
            }
            sections.push_back(Json{{"title", s.title}, {"rows", std::move(rows)}});
        }
        return sections;
    }

private:
    struct Row_ {
        std::string label;
        std::string value;
        int indent = 1;
        std::string key;
    };
    struct Section {
        std::string title;
        std::vector<Row_> rows;
    };
    static std::string Indented(const Row_& r) { return std::string(2 * static_cast<std::size_t>(r.indent), ' ') + r.label; }

    std::ostream& out_;
    std::vector<Section> sections_;
};

// The editors as `show` lists them: a heading per editor, then what the
// editor shows. The channels keep their own layout (a line per channel, the
// bytes no editor shows); the other tables are walked field by field.
class Shower {
public:
    Shower(Context& ctx, const EditSession& session, const RadioImage& image, const ModelCatalogue& catalogue)
        : ctx_(ctx), session_(session), image_(image), catalogue_(catalogue), list_(ctx.out) {}

    void Run(const std::string& path, bool protectedFile) {
        Header(path, protectedFile);
        for (const FieldTable* table : AllFieldTables()) {
            if (table == &ChannelTable()) Channels();
            else if (table->IsRecordTable()) Records(*table);
            else Form(*table);
        }
        if (ctx_.json)
            PrintJson(ctx_, Json{{"file", path}, {"sections", list_.ToJson()}});
        else
            list_.PrintText();
    }

private:
    struct Line {
        std::string label;
        std::string value;
        int indent = 1;
        std::string key;
    };

    std::string T(std::uint32_t id) const { return ctx_.Text(id); }
    std::uint8_t B(std::size_t offset) const { return image_.Byte(offset); }
    std::string OnOff(bool on) const { return T(on ? tid::kOnText : tid::kOffText); }

    // The heading of an editor: its window caption.
    std::string Caption(const FieldTable& table) const {
        const tid::TextId id = EditorCaption(table);
        return id ? T(id) : std::string(table.prefix);
    }

    // "462.56250 MHz (step 6.25 kHz)" for a frequency's text and step code.
    std::string WithStep(const std::string& frequency, int step) const {
        static const char* const kSteps[] = {"2.5", "5", "6.25"};
        const std::string stepText = step >= 0 && step <= 2 ? kSteps[step] : "?";
        return FormatText(T(tid::kShowFrequencyStep), {frequency, stepText});
    }

    // The step code of a frequency field, which no editor shows: byte 14 of a
    // channel record (receive bits 6-7, transmit bits 4-5); one byte a pair
    // for the test frequencies and the band points (receive in the high
    // nibble, transmit in the low one).
    std::optional<int> Step(const FieldRef& ref) const {
        const bool rx = std::string_view(ref.field->key) == "rx";
        const auto row = static_cast<std::size_t>(ref.row);
        if (ref.table == &ChannelTable()) {
            const RecordLayout& r = *ref.table->records;
            const std::uint8_t steps = B(r.base + r.stride * row + 14);
            return rx ? steps >> 6 : (steps >> 4) & 3;
        }
        std::size_t at = 0;
        if (ref.table == &TestFrequencyTable()) at = kTestStepArea.offset + row;
        else if (ref.table == &BandPointTable()) at = kBandPointStepArea.offset + row;
        else return std::nullopt;
        return rx ? B(at) >> 4 : B(at) & 0x0F;
    }

    // A field's value as its editor shows it, with three differences: a
    // frequency carries its step, a text is quoted with its control
    // characters escaped, and a list or number whose stored value is none of
    // its values (the editor shows it empty) shows that value, so that a
    // damaged file is visible.
    std::string Value(const FieldRef& ref) const {
        const FieldDef& f = *ref.field;
        const std::string text = session_.Text(ref);
        switch (f.kind) {
            case FieldKind::Frequency: {
                if (text.empty()) return T(tid::kShowNoFrequency);
                const std::optional<int> step = Step(ref);
                return step ? WithStep(text, *step) : text;
            }
            // JSON escapes what it must itself.
            case FieldKind::Text: return ctx_.json ? text : "\"" + TerminalSafe(text, true) + "\"";
            case FieldKind::List:
            case FieldKind::Number:
                if (!text.empty()) return text;
                return FormatText(T(tid::kShowUnknownValue),
                                  {Hex(field::Raw(session_.Context(), ref), 2 * f.storage.width)});
            default: return text;
        }
    }

    void Section(const FieldTable& table, const std::vector<Line>& lines) {
        if (lines.empty()) return;  // nothing of this editor on this model
        list_.Heading(Caption(table));
        for (const Line& l : lines) list_.Row(l.label, l.value, l.indent, l.key);
    }

    // A form: a line per shown field; a group's caption above the fields it
    // holds, which are indented.
    void Form(const FieldTable& table) {
        std::vector<Line> lines;
        for (const FormLine& l : FormLines(session_.Context(), table))
            lines.push_back({T(l.ref.field->label), l.caption ? std::string() : Value(l.ref), l.indent,
                             l.caption ? std::string() : l.ref.Key()});
        Section(table, lines);
    }

    // A record table: a line per row and shown field, "row  label  value".
    void Records(const FieldTable& table) {
        const RecordLayout& records = *table.records;
        const bool fillEmpty = records.fillEmptyRows && records.fillEmptyRows(session_.Context());
        std::vector<Line> lines;
        for (int row = 0; row < session_.RowCount(table); ++row) {
            const std::string title = records.rowTitle ? T(records.rowTitle(row))
                                                       : T(tid::kGridNumber) + " " + std::to_string(row + 1);
            if (!session_.RowExists(table, row) && !fillEmpty) {
                lines.push_back({title, T(tid::kShowChannelEmpty), 1, {}});
                continue;
            }
            for (const FieldDef& f : table.fields) {
                const FieldRef ref{&table, &f, row};
                if (f.kind == FieldKind::Group || !session_.Shown(ref)) continue;
                lines.push_back({title + "  " + T(f.label), Value(ref), 1, ref.Key()});
            }
        }
        Section(table, lines);
    }

    void Header(const std::string& path, bool protectedFile) {
        list_.Heading(T(tid::kShowDataFile));
        list_.Row(T(tid::kTitleFileLabel), path);
        list_.Row(T(tid::kModelDialogModelLabel), catalogue_.ModelSummaryText(kSeparator));
        const int band = catalogue_.BandRecordOf();
        list_.Row(T(tid::kModelDialogBandLabel),
                  ModelCatalogue::BandText(band, kSeparator) + " (" + Hex(catalogue_.BandWord(), 4) + ")");
        list_.Row(T(10200006), std::to_string(catalogue_.ChannelCount()));
        const EntryMode mode = catalogue_.EntryMode();
        list_.Row(T(10200007), T(mode == EntryMode::List99   ? tid::kShowEntryList99
                                 : mode == EntryMode::List22 ? tid::kShowEntryList22
                                                             : tid::kShowEntryTyped));
        list_.Row(T(tid::kShowPasswordProtected), OnOff(protectedFile));
    }

    // Every channel of the model with the fields the channel editor shows.
    // The wide/narrow and beat shift bits of byte 13 are edited nowhere;
    // they are listed from the record as stored.
    void Channels() {
        const FieldTable& table = ChannelTable();
        list_.Heading(T(tid::kEditorChannelInformation));
        const RecordLayout& records = *table.records;
        for (int n = 0; n < session_.RowCount(table); ++n) {
            const std::string name = T(10305501) + " " + std::to_string(n + 1);
            if (!session_.RowExists(table, n)) {
                list_.Row(name, T(tid::kShowChannelEmpty));
                continue;
            }
            list_.Row(name, "");
            for (const FieldDef& f : table.fields) {
                const FieldRef ref{&table, &f, n};
                if (session_.Shown(ref)) list_.Row(T(f.label), Value(ref), 2, ref.Key());
            }
            const std::uint8_t flags = B(records.base + records.stride * static_cast<std::size_t>(n) + 13);
            list_.Row(T(10305507), std::to_string((flags >> 3) & 3), 2);
            list_.Row(T(10305516), OnOff(flags & 0x40), 2);
        }
    }

    Context& ctx_;
    const EditSession& session_;
    const RadioImage& image_;
    const ModelCatalogue& catalogue_;
    Listing list_;
};

int RunShow(Context& ctx) {
    const auto req = ParseReadRequest(ctx, false);
    if (!req) return kUsageError;
    Document document(Language(ctx));
    if (const int code = ReadInto(ctx, *req, document)) return code;
    document.Session().SetDecimalSeparator(kSeparator);
    Shower(ctx, document.Session(), document.Image(), document.Catalogue()).Run(req->path, HeaderProtected(req->path));
    return 0;
}

// ---------------------------------------------------------------------------
// dump

int RunDump(Context& ctx) {
    const auto req = ParseReadRequest(ctx, true);
    if (!req) return kUsageError;
    Document document(Language(ctx));
    if (const int code = ReadInto(ctx, *req, document)) return code;
    const ImageBuffer& image = document.Image().Live();
    char buf[8];
    ctx.out << "     ";
    for (int c = 0; c < 16; ++c) {
        std::snprintf(buf, sizeof buf, " %02X", c);
        ctx.out << buf;
    }
    ctx.out << "\n";
    for (std::size_t row = 0; row < kImageSize; row += 16) {
        std::snprintf(buf, sizeof buf, "%03zX: ", row);
        ctx.out << buf;
        std::string chars;
        for (std::size_t i = row; i < row + 16; ++i) {
            const std::uint8_t b = image[i];
            std::snprintf(buf, sizeof buf, " %02X", b);
            ctx.out << buf;
            chars += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
        }
        if (req->chars) ctx.out << "  |" << chars << "|";
        ctx.out << "\n";
    }
    return 0;
}

// ---------------------------------------------------------------------------
// check

int RunCheck(Context& ctx) {
    const auto req = ParseReadRequest(ctx, false);
    if (!req) return kUsageError;
    Document document(Language(ctx));
    int readCode = 0;
    std::ostringstream reason;
    // With --json the reason goes into the document too.
    std::ostream& err = ctx.err;
    Context quiet{ctx.args, ctx.out, ctx.json ? reason : err, ctx.language, ctx.programFolder, ctx.noEncryption,
                  ctx.json};
    const int status = ReadInto(quiet, *req, document, &readCode);
    if (ctx.json) {
        std::string why = reason.str();
        while (!why.empty() && why.back() == '\n') why.pop_back();
        Json doc{{"file", req->path}, {"valid", status == 0}, {"result", readCode}};
        if (status == 0) doc["model"] = document.Catalogue().ModelSummaryText(kSeparator);
        else doc["reason"] = why;
        PrintJson(ctx, doc);
        return status;
    }
    if (status) return status;
    ctx.out << Format(ctx, tid::kCliFileValid, {req->path}) << "\n";
    return 0;
}

}  // namespace

// The options of the commands that read one data file.
#define VRM_CLI_READ_OPTIONS                                                                    \
    Valued("--password", "DIGITS", "the file's data-file password (asked on a terminal when missing)"), \
        Operand("FILE", "the data file")

VRM_CLI_COMMAND("new", "write the New defaults of model N (1-4) as a data file", RunNew,
                {Valued("--model", "N", "the model, 1-4", true),
                 Valued("--band", "WORD", "the frequency band word (hexadecimal); the model's first band without it"),
                 Valued("--data-password", "DIGITS", "protect the file with this data-file password (1-6 digits)"),
                 Switch("--yes", "replace an existing FILE without asking"),
                 Valued("-o,--output", "FILE", "the data file to write", true)});
VRM_CLI_COMMAND("show", "list every setting of a data file", RunShow, {VRM_CLI_READ_OPTIONS}, true);
VRM_CLI_COMMAND("dump", "the data file's 1024-byte image as a hex memory map", RunDump,
                {Valued("--password", "DIGITS", "the file's data-file password"),
                 Switch("--chars", "add the printable characters of each row"), Operand("FILE", "the data file")});
VRM_CLI_COMMAND("check", "read a data file as Open does and say whether it is valid", RunCheck,
                {VRM_CLI_READ_OPTIONS}, true);

}  // namespace vrm::cli
