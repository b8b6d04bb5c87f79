// vrm650t-cli new, show, dump and check: data files from the shell.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/language_table.h"
#include "text/text_format.h"
#include "text/text_ids.h"
#include "cli/cli.h"
#include "cli/file_support.h"
#include "editors/channel_fields.h"
#include "editors/edit_session.h"
#include "files/data_file.h"
#include "model/code_tables.h"
#include "model/model_catalogue.h"
#include "model/radio_image.h"

namespace vrm::cli {

namespace {

// ---------------------------------------------------------------------------
// new

int RunNew(Context& ctx) {
    bool missing = false;
    const auto modelText = ctx.args.Value("--model", &missing);
    const auto bandText = ctx.args.Value("--band");
    auto output = ctx.args.Value("-o");
    if (!output) output = ctx.args.Value("--output");
    const auto dataPassword = ctx.args.Value("--data-password");
    const bool yes = ctx.args.Flag("--yes");
    const auto rest = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;

    unsigned long model = 0;
    if (!modelText || !ParseInt(*modelText, model) || model < 1 || model > 4) {
        ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
        return kUsageError;
    }
    const auto bands = ModelCatalogue::BandList(static_cast<int>(model), kSeparator);
    unsigned long band = static_cast<unsigned long>(bands.front().data);
    if (bandText) {
        bool known = ParseInt(*bandText, band);
        if (known) {
            known = false;
            for (const ListEntry& b : bands) known = known || static_cast<unsigned long>(b.data) == band;
        }
        if (!known) {
            std::string list;
            for (const ListEntry& b : bands) {
                if (!list.empty()) list += ", ";
                list += Hex(static_cast<unsigned>(b.data), 4) + " (" + b.text + ")";
            }
            ctx.err << Format(ctx, tid::kCliBandNotOfModel, {*bandText, static_cast<int>(model), list}) << "\n";
            return kUsageError;
        }
    }
    if (!output || output->empty() || !rest.empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    DataFileSecurity security;
    if (!DataPasswordOption(ctx, dataPassword, security)) return kUsageError;

    // The New defaults of the model, as the New command makes them.
    RadioImage image;
    ModelCatalogue catalogue(image);
    MakeNewDefaults(image, catalogue, static_cast<int>(model), static_cast<std::uint16_t>(band));

    if (!MayReplace(ctx, *output, yes)) return kDataFileCancelled;
    if (const int code = WriteImage(ctx, image, catalogue, *output, security)) return code;
    ctx.out << Format(ctx, tid::kCliWroteFile, {*output}) << "\n";
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

// A block of "label  value" lines, aligned when printed.
class Listing {
public:
    explicit Listing(std::ostream& out) : out_(out) {}

    void Heading(const std::string& text) {
        Flush();
        if (any_) out_ << "\n";
        any_ = true;
        out_ << text << "\n";
    }
    void Row(const std::string& label, const std::string& value, int indent = 1) {
        rows_.push_back({std::string(2 * static_cast<std::size_t>(indent), ' ') + label, value});
    }
    void Flush() {
        std::size_t width = 0;
        for (const auto& r : rows_) width = std::max(width, Width(r.first));
        for (const auto& r : rows_) out_ << Pad(r.first, width + 2) << r.second << "\n";
        rows_.clear();
    }

private:
    std::ostream& out_;
    std::vector<std::pair<std::string, std::string>> rows_;
    bool any_ = false;
};

class Shower {
public:
    Shower(Context& ctx, const EditSession& session, const RadioImage& image, const ModelCatalogue& catalogue)
        : ctx_(ctx), session_(session), image_(image), catalogue_(catalogue), tables_(catalogue, Language(ctx)),
          list_(ctx.out) {}

    void Run(const std::string& path, bool protectedFile) {
        Header(path, protectedFile);
        Channels();
        Features();
        Keys();
        Scan();
        TestFrequencies();
        BandPoints();
        CustomCodes();
        Special();
        EmbeddedMessage();
        list_.Flush();
    }

private:
    std::string T(std::uint32_t id) const { return ctx_.Text(id); }
    std::uint8_t B(std::size_t offset) const { return image_.Byte(offset); }
    bool Bit(std::size_t offset, int bit) const { return (B(offset) >> bit) & 1; }
    std::string OnOff(bool on) const { return T(on ? 10300006 : 10300007); }
    std::string Unknown(unsigned value, int digits = 2) const {
        return FormatText(T(tid::kShowUnknownValue), {Hex(value, digits)});
    }
    // The text of `value` in a list of {value, text ID}; the raw value else.
    std::string Pick(unsigned value, std::initializer_list<std::pair<unsigned, std::uint32_t>> list) const {
        for (const auto& [v, id] : list)
            if (v == value) return T(id);
        return Unknown(value);
    }
    std::string Number(unsigned value, unsigned low, unsigned high, unsigned unit = 1) const {
        if (value * unit < low || value * unit > high) return Unknown(value);
        return std::to_string(value * unit);
    }
    // 0 is off, else a number in its range.
    std::string OffOrNumber(unsigned value, unsigned low, unsigned high) const {
        return value == 0 ? T(tid::kCodeNone) : Number(value, low, high);
    }

    // "462.56250 MHz (step 6.25 kHz)" for a frequency's text and step code.
    std::string WithStep(const std::string& frequency, int step) const {
        static const char* const kSteps[] = {"2.5", "5", "6.25"};
        const std::string stepText = step >= 0 && step <= 2 ? kSteps[step] : "?";
        return FormatText(T(tid::kShowFrequencyStep), {frequency, stepText});
    }
    std::string Frequency(FrequencyCode code, int step) const {
        if (code == kBlankFrequency) return T(tid::kShowNoFrequency);
        return WithStep(CodeTables::FrequencyToText(code, kSeparator), step);
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

    // Every channel of the model with the fields the channel editor shows,
    // as it shows them. Byte 14 of a record (the step codes: receive bits
    // 6-7, transmit bits 4-5) and the wide/narrow and beat shift bits of
    // byte 13 are edited nowhere; they are listed from the record's bytes as
    // stored.
    void Channels() {
        list_.Heading(T(10305000));
        const FieldTable& table = ChannelTable();
        const RecordLayout& records = *table.records;
        for (int n = 0; n < session_.RowCount(table); ++n) {
            const std::string name = T(10305501) + " " + std::to_string(n + 1);
            if (!session_.RowExists(table, n)) {
                list_.Row(name, T(tid::kShowChannelEmpty));
                continue;
            }
            list_.Row(name, "");
            const std::size_t at = records.base + records.stride * static_cast<std::size_t>(n);
            const std::uint8_t flags = B(at + 13);
            const std::uint8_t steps = B(at + 14);
            for (const FieldDef& f : table.fields) {
                const FieldRef ref{&table, &f, n};
                if (!session_.Shown(ref)) continue;
                std::string value = session_.Text(ref);
                if (f.kind == FieldKind::Frequency) {
                    const int step = std::string_view(f.key) == "rx" ? steps >> 6 : (steps >> 4) & 3;
                    value = value.empty() ? T(tid::kShowNoFrequency) : WithStep(value, step);
                }
                list_.Row(T(f.label), value, 2);
            }
            list_.Row(T(10305507), std::to_string((flags >> 3) & 3), 2);
            list_.Row(T(10305516), OnOff(flags & 0x40), 2);
        }
    }

    void Features() {
        list_.Heading(T(10306000));
        const std::size_t f = kFeatureArea.offset;
        const bool typed = catalogue_.EntryMode() == EntryMode::Typed;
        list_.Row(T(10306101), Number(B(f + 0), 15, 600, 15));
        list_.Row(T(10306102), OffOrNumber(B(f + 1), 1, 10));
        if (typed) {
            list_.Row(T(10306103), OffOrNumber(B(f + 2), 1, 60));
            list_.Row(T(10306104), OffOrNumber(B(f + 3), 1, 15));
        }
        list_.Row(T(10306105), Number(B(f + 14), 0, 5));
        list_.Row(T(10306106), Pick(B(f + 6), {{1, 10306501}, {2, 10305601}}));
        list_.Row(T(10306154), Pick(Bit(f + 8, 6), {{0, 10306549}, {1, 10306550}}));
        list_.Row(T(10306150), Pick(B(f + 9) & 3, {{0, 10300003}, {1, 10305501}, {2, 10306502}}));
        list_.Row(T(10306155), Pick(Bit(f + 8, 7), {{0, 10300003}, {1, 10300002}}));
        list_.Row(T(10306119), Number(B(f + 4), 0, 7));
        list_.Row(T(10306120), Number(B(f + 5), 0, 7));
        list_.Row(T(10306153), OnOff(Bit(f + 8, 5)));
        list_.Row(T(10306125), OnOff(Bit(f + 9, 5)));
        list_.Row(T(10306126), OffOrNumber(B(f + 10) >> 4, 1, 5));
        list_.Row(T(10306127), Pick(B(f + 10) & 0x0F, {{0, 10306551}, {1, 10306552}, {2, 10306553},
                                                       {3, 10306554}, {4, 10306555}, {5, 10306556}}));
        list_.Row(T(10306128), OnOff(Bit(f + 9, 4)));
        list_.Row(T(10306129), OnOff(Bit(f + 9, 3)));
        list_.Row(T(10306130), OnOff(Bit(f + 9, 2)));
        list_.Row(T(10306548), OnOff(Bit(f + 8, 2)));
        if (catalogue_.EntryMode() == EntryMode::List99) {
            list_.Row(T(10306156), OnOff(Bit(f + 8, 1)));
            list_.Row(T(10306157), Number(B(f + 11), 5, 20, 5));
        }
        list_.Row(T(10306122), OnOff(Bit(f + 8, 3)));
        list_.Row(T(10306123), Pick(B(f + 15), {{0xFF, 10300003}, {48, 10306503}, {49, 10306504}, {50, 10306505}}));
        list_.Row(T(10306124), OnOff(Bit(f + 8, 0)));
    }

    // The name of a key function, as the key assignment grid offers it.
    std::string KeyFunction(unsigned code, bool column2) const {
        const bool typed = catalogue_.EntryMode() == EntryMode::Typed;
        struct Entry {
            unsigned code;
            std::uint32_t typedName, otherName;
            int offer;  // 0 always, 1 not typed, 2 column 2 and not typed
        };
        static const Entry kEntries[] = {
            {0, 10307501, 10307538, 0}, {6, 10307510, 10307539, 0}, {1, 10307511, 10307540, 0},
            {7, 10307537, 10307537, 1}, {4, 10307515, 10307541, 0}, {2, 10307519, 10307542, 0},
            {5, 10307544, 10307544, 2}, {8, 10307536, 10307536, 2}, {3, 10307535, 10307543, 0}};
        for (const Entry& e : kEntries) {
            if (e.code != code) continue;
            const bool offered = e.offer == 0 || (e.offer == 1 && !typed) || (e.offer == 2 && !typed && column2);
            if (offered) return T(typed ? e.typedName : e.otherName);
        }
        return Unknown(code);
    }

    void Keys() {
        list_.Heading(T(10307000));
        const std::size_t k = kKeyArea.offset;
        list_.Row(T(10307113) + ", " + T(10307101), KeyFunction(B(k + 0), true));
        list_.Row(T(10307113) + ", " + T(10307102), KeyFunction(B(k + 1), false));
        list_.Row(T(10307114) + ", " + T(10307101), KeyFunction(B(k + 2), true));
        list_.Row(T(10307114) + ", " + T(10307102), T(10306547) + " (" + Hex(B(k + 3), 2) + ")");
    }

    void Scan() {
        list_.Heading(T(10308000));
        const std::size_t s = kScanArea.offset;
        list_.Row(T(10308103), Pick(B(s + 8), {{0, 10308502}, {1, 10308505}}));
        if (!UsesPresetList(catalogue_.EntryMode())) {
            list_.Row(T(10308106), Number(image_.Word(s + 5), 0, 300));
            list_.Row(T(10308107), Number(image_.Word(s + 3), 0, 300));
        }
    }

    void Pairs(std::size_t area, std::size_t stepArea, int count, const std::vector<std::string>& names) {
        for (int p = 0; p < count; ++p) {
            const std::size_t at = area + 8 * static_cast<std::size_t>(p);
            const std::uint8_t step = B(stepArea + static_cast<std::size_t>(p));
            list_.Row(names[static_cast<std::size_t>(p)] + "  " + T(10301002), Frequency(image_.Frequency(at), step >> 4));
            list_.Row(names[static_cast<std::size_t>(p)] + "  " + T(10301003),
                      Frequency(image_.Frequency(at + 4), step & 0x0F));
        }
    }

    void TestFrequencies() {
        list_.Heading(T(10301000));
        std::vector<std::string> names;
        for (int p = 1; p <= kTestPairCount; ++p) names.push_back(T(10301001) + " " + std::to_string(p));
        Pairs(kTestFrequencyArea.offset, kTestStepArea.offset, kTestPairCount, names);
    }

    void BandPoints() {
        list_.Heading(T(10313109));
        Pairs(kBandPointArea.offset, kBandPointStepArea.offset, kBandPointCount, {T(10408005), T(10408007), T(10408009)});
    }

    void CustomCodes() {
        list_.Heading(T(10319000));
        for (std::size_t w = 0; w < 6; ++w)
            list_.Row(T(static_cast<std::uint32_t>(10319002 + w)),
                      tables_.CodeWordToText(image_.Word(kCustomCodeArea.offset + 2 * (kCustomQtWord + w)), kSeparator));
        for (std::size_t w = 0; w < 6; ++w)
            list_.Row(T(static_cast<std::uint32_t>(10319009 + w)),
                      tables_.CodeWordToText(image_.Word(kCustomCodeArea.offset + 2 * (kCustomDqtWord + w)), kSeparator));
    }

    void Special() {
        list_.Heading(T(10313000));
        const std::size_t s = kSpecialArea.offset;
        list_.Row(T(10313101), Pick(B(s), {{0, 10313501}, {2, 10313503}, {1, 10313502}}));
        list_.Row(T(10306152), Pick(B(s + 1), {{1, 10300006}, {0, 10300007}}));
    }

    // A message line as stored, with control bytes written as \xNN so that
    // nothing in a file can drive the terminal.
    std::string Line(std::size_t offset) const {
        std::string text = "\"";
        for (std::size_t i = 0; i < kMessageLineSize; ++i) {
            const std::uint8_t b = B(offset + i);
            if (b == 0) break;
            if (b < 0x20 || b == 0x7F || b == '\\' || b == '"') {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", b);
                text += buf;
            } else {
                text += static_cast<char>(b);
            }
        }
        return text + "\"";
    }

    void EmbeddedMessage() {
        list_.Heading(T(tid::kEditorEmbeddedMessage));
        list_.Row(T(10403001), Line(kEmbeddedMessageArea.offset));
        list_.Row(T(10403003), Line(kEmbeddedMessageArea.offset + kMessageLineSize));
    }

    Context& ctx_;
    const EditSession& session_;
    const RadioImage& image_;
    const ModelCatalogue& catalogue_;
    CodeTables tables_;
    Listing list_;
};

int RunShow(Context& ctx) {
    const auto req = ParseReadRequest(ctx, false);
    if (!req) return kUsageError;
    RadioImage image;
    ModelCatalogue catalogue(image);
    if (const int code = ReadInto(ctx, *req, image, catalogue)) return code;
    EditSession session(image, catalogue, Language(ctx));
    session.SetDecimalSeparator(kSeparator);
    Shower(ctx, session, image, catalogue).Run(req->path, HeaderProtected(req->path));
    return 0;
}

// ---------------------------------------------------------------------------
// dump

int RunDump(Context& ctx) {
    const auto req = ParseReadRequest(ctx, true);
    if (!req) return kUsageError;
    RadioImage image;
    ModelCatalogue catalogue(image);
    if (const int code = ReadInto(ctx, *req, image, catalogue)) return code;
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
            const std::uint8_t b = image.Live()[i];
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
    RadioImage image;
    ModelCatalogue catalogue(image);
    if (const int code = ReadInto(ctx, *req, image, catalogue)) return code;
    ctx.out << Format(ctx, tid::kCliFileValid, {req->path}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("new", "new --model N [--band WORD] [--data-password DIGITS] [--yes] -o FILE",
                "write the New defaults of model N (1-4) as a data file", RunNew);
VRM_CLI_COMMAND("show", "show [--password DIGITS] FILE", "list every setting of a data file", RunShow);
VRM_CLI_COMMAND("dump", "dump [--password DIGITS] [--chars] FILE",
                "the data file's 1024-byte image as a hex memory map", RunDump);
VRM_CLI_COMMAND("check", "check [--password DIGITS] FILE",
                "read a data file as Open does; the exit status is the read result", RunCheck);

}  // namespace vrm::cli
