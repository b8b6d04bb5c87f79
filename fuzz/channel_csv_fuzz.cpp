// The channel CSV import (vrm650t-cli channels import, File > Import
// Channels) onto the New defaults of a model, and the export of its result.
//
// Properties, for a file the import reads:
// - a row whose channel has no line in the report reads back as the row
//   gave it: exported again, the channel has the row's receive and transmit
//   frequency, codes, power and scan (or is gone, for a row without a
//   frequency). The row's meaning is worked out here, apart from the
//   import, from the file split by a small splitter of its own;
// - a report line about a channel names the line its row starts on;
// - importing the export of the result onto the result changes nothing and
//   reports nothing about a channel.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/fields/field.h"
#include "core/fields/field_access.h"
#include "core/exchange/channel_csv.h"
#include "fuzz_support.h"
#include "core/model/code_tables.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace {

using namespace vrm;

struct Row {
    int line = 0;
    std::vector<std::string> fields;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// CSV as a person reads it: quoted fields, and LF, CR LF or a lone CR
// between rows; a line of nothing but spaces and tabs outside quotes is as
// blank as an empty one. Nothing for what is not plain CSV (a quote inside
// an unquoted field, text after a closing quote, an open quote at the end).
std::optional<std::vector<Row>> Split(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Row> rows;
    Row row;
    std::string field;
    bool quoted = false, wasQuoted = false, started = false, blank = true;
    int line = 1;
    auto endField = [&] {
        blank = blank && (wasQuoted ? field.empty() : field.find_first_not_of(" \t") == std::string::npos);
        row.fields.push_back(field);
        field.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endField();
        if (!blank) rows.push_back(row);
        row = Row{};
        started = false;
        blank = true;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const bool lineEnd = c == '\n' || (c == '\r' && !crlf);
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
                wasQuoted = true;
            }
            if (lineEnd) ++line;
            continue;
        }
        if (!started) {
            row.line = line;
            started = true;
        }
        if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (crlf) ++i;
            endRow();
            ++line;
        } else if (c == '"' && field.empty() && !wasQuoted) {
            quoted = true;
        } else if (c == '"' || wasQuoted) {
            return std::nullopt;
        } else {
            field += c;
        }
    }
    if (quoted) return std::nullopt;
    if (started) endRow();
    return rows;
}

// A QT/DQT code as the CSV means it: off, a tone in 0.1 Hz, a DQT code.
struct Code {
    enum class Kind { Off, Tone, Dtcs } kind = Kind::Off;
    long value = 0;
    bool inverted = false;
    bool operator==(const Code&) const = default;
};

// Decimal MHz in hertz; nothing for what is not a plain decimal number with
// whole hertz.
std::optional<std::int64_t> Hertz(const std::string& text) {
    if (!IsDecimalNumber(text)) return std::nullopt;
    const std::string t = Trimmed(text);
    const std::size_t dot = t.find('.');
    const std::string whole = t.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : t.substr(dot + 1);
    if (whole.size() > 6) return std::nullopt;
    while (fraction.size() > 6 && fraction.back() == '0') fraction.pop_back();
    if (fraction.size() > 6) return std::nullopt;
    fraction.append(6 - fraction.size(), '0');
    return (whole.empty() ? 0 : std::stoll(whole)) * 1000000 + std::stoll(fraction);
}

struct Meaning {
    bool present = false;
    std::int64_t rx = 0;
    std::optional<std::int64_t> tx;
    Code encode, decode;
    std::string power;  // "high", "low" or "" (not given)
    bool scan = true;
};

// What a row (or an exported row) means, with the format's defaults for a
// column the file lacks; nothing when the row asks for what the radio
// cannot keep or gives a value the format does not have (such a row must
// be reported).
class Reader {
public:
    explicit Reader(const Row& header) {
        for (std::size_t i = 0; i < header.fields.size(); ++i) {
            const std::string name = Lower(Trimmed(header.fields[i]));
            if (!column_.count(name)) column_[name] = i;
        }
    }
    bool Has(const char* name) const { return column_.count(Lower(name)) > 0; }

    std::string Get(const Row& row, const char* name, const char* absent = "") const {
        const auto it = column_.find(Lower(name));
        if (it == column_.end()) return absent;
        return it->second < row.fields.size() ? Trimmed(row.fields[it->second]) : std::string();
    }

    std::optional<Meaning> Read(const Row& row) const {
        Meaning m;
        const std::string frequency = Get(row, "Frequency");
        if (frequency.empty()) return m;
        m.present = true;
        const auto rx = Hertz(frequency);
        if (!rx || *rx <= 0) return std::nullopt;
        m.rx = *rx;
        const std::string duplex = Lower(Get(row, "Duplex"));
        const auto offset = Hertz(Get(row, "Offset", "0.000000"));
        if (duplex.empty()) m.tx = m.rx;
        else if (duplex == "+" && offset) m.tx = m.rx + *offset;
        else if (duplex == "-" && offset) m.tx = m.rx - *offset;
        else if (duplex == "split" && offset) m.tx = *offset;
        else if (duplex != "off") return std::nullopt;
        if (m.tx && *m.tx <= 0) return std::nullopt;
        // A receive-only channel sends no code: what it was given is moot.
        if (!Codes(row, m, m.tx.has_value())) return std::nullopt;
        if (!m.tx) m.encode = {};
        const std::string power = Lower(Get(row, "Power", "High"));
        if (power == "h" || power == "high") m.power = "high";
        else if (power == "l" || power == "low") m.power = "low";
        else if (!power.empty()) return std::nullopt;
        const std::string skip = Lower(Get(row, "Skip"));
        if (!skip.empty() && skip != "s") return std::nullopt;
        m.scan = skip.empty();
        for (const char* unkept : {"Name", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"})
            if (!Get(row, unkept).empty()) return std::nullopt;
        const std::string mode = Lower(Get(row, "Mode"));
        if (!mode.empty() && mode != "fm" && mode != "nfm") return std::nullopt;
        return m;
    }

private:
    static std::optional<Code> Tone(const std::string& text) {
        if (!IsDecimalNumber(text)) return std::nullopt;
        const double tenths = std::stod(Trimmed(text)) * 10;
        if (std::abs(tenths - std::round(tenths)) > 1e-6) return std::nullopt;
        return Code{Code::Kind::Tone, std::lround(tenths), false};
    }
    static std::optional<Code> Dtcs(const std::string& text, char polarity) {
        if (text.empty() || text.size() > 3 || text.find_first_not_of("01234567") != std::string::npos)
            return std::nullopt;
        polarity = static_cast<char>(std::toupper(static_cast<unsigned char>(polarity)));
        if (polarity != 'N' && polarity != 'R') return std::nullopt;
        return Code{Code::Kind::Dtcs, std::stol(text, nullptr, 8), polarity == 'R'};
    }

    bool Codes(const Row& row, Meaning& m, bool transmits) const {
        const std::string tone = Lower(Get(row, "Tone"));
        if (tone.empty()) return true;
        // The polarity is read only where a code uses it: "NN", "RN" ...
        const std::string polarity = Get(row, "DtcsPolarity", "NN");
        const char txPolarity = polarity.size() == 2 ? polarity[0] : '?';
        const char rxPolarity = polarity.size() == 2 ? polarity[1] : '?';
        const std::string dtcs = Get(row, "DtcsCode", "023");
        const std::string rxOwn = Has("RxDtcsCode") ? Get(row, "RxDtcsCode") : "";
        std::optional<Code> tx{Code{}}, rx{Code{}};
        if (tone == "tone") {
            tx = Tone(Get(row, "rToneFreq", "88.5"));
        } else if (tone == "tsql") {
            tx = rx = Tone(Get(row, "cToneFreq", "88.5"));
        } else if (tone == "dtcs") {
            tx = Dtcs(dtcs, txPolarity);
            rx = Dtcs(dtcs, rxPolarity);
        } else if (tone == "cross") {
            const std::string cross = Lower(Get(row, "CrossMode", "Tone->Tone"));
            const std::size_t arrow = cross.find("->");
            if (arrow == std::string::npos) return false;
            const std::string txSide = cross.substr(0, arrow), rxSide = cross.substr(arrow + 2);
            if (txSide == "tone") tx = Tone(Get(row, "rToneFreq", "88.5"));
            else if (txSide == "dtcs") tx = Dtcs(dtcs, txPolarity);
            else if (!txSide.empty()) return false;
            if (rxSide == "tone") rx = Tone(Get(row, "cToneFreq", "88.5"));
            else if (rxSide == "dtcs") rx = Dtcs(rxOwn.empty() ? dtcs : rxOwn, rxPolarity);
            else if (!rxSide.empty()) return false;
            if (txSide.empty() && rxSide.empty()) return false;
        } else {
            return false;
        }
        if ((!tx && transmits) || !rx) return false;
        m.encode = tx.value_or(Code{});
        m.decode = *rx;
        return true;
    }

    std::map<std::string, std::size_t> column_;
};

std::string Describe(const Meaning& m) {
    auto code = [](const Code& c) {
        return std::string(c.kind == Code::Kind::Off ? "off" : c.kind == Code::Kind::Tone ? "tone " : "dtcs ") +
               (c.kind == Code::Kind::Off ? "" : std::to_string(c.value) + (c.inverted ? "I" : ""));
    };
    if (!m.present) return "no channel";
    return "rx " + std::to_string(m.rx) + " tx " + (m.tx ? std::to_string(*m.tx) : "off") + " encode " +
           code(m.encode) + " decode " + code(m.decode) + " power " + m.power + " scan " + (m.scan ? "on" : "off");
}

// A model's New defaults (or another image of it) with the context the
// import is given.
struct Radio {
    RadioImage image;
    ModelCatalogue catalogue{image};
    std::optional<CodeTables> tables;
    std::optional<EditContext> ctx;

    Radio(int model, const ImageBuffer* live) {
        fuzz::NewDefaults(image, catalogue, model);
        if (live) {
            image.Live() = *live;
            catalogue.RecomputeBandLimits();
        }
        tables.emplace(catalogue, fuzz::English());
        ctx.emplace(EditContext{image, catalogue, *tables, fuzz::English(), "."});
    }
};

void CheckRowsReadBack(std::string_view csv, const ChannelCsvImport& plan, int model) {
    const auto rows = Split(csv);
    if (!rows || rows->empty()) return;
    const Reader reader(rows->front());
    Radio result(model, &plan.image);
    const std::string exported = ExportChannelCsv(*result.ctx);
    const auto out = Split(exported);
    fuzz::Require(out && !out->empty(), "the export is plain CSV");
    const Reader outReader(out->front());
    std::map<int, Meaning> back;
    for (std::size_t i = 1; i < out->size(); ++i) {
        const auto m = outReader.Read((*out)[i]);
        fuzz::Require(m.has_value(), "the export's rows mean something", exported);
        back[std::stoi(outReader.Get((*out)[i], "Location"))] = *m;
    }

    const int count = result.image.ChannelCount();
    int next = 0;
    std::map<int, int> lineOf;
    for (std::size_t i = 1; i < rows->size(); ++i) {
        const Row& row = (*rows)[i];
        const std::string location = reader.Get(row, "Location");
        int number = next + 1;
        if (!location.empty()) {
            if (location.size() > 6 || location.find_first_not_of("0123456789") != std::string::npos) continue;
            number = std::stoi(location);
        }
        if (number < 1 || number > count) continue;
        next = number;
        if (lineOf.count(number)) continue;  // taken by the first row of the channel
        lineOf[number] = row.line;
        const bool reported = std::any_of(plan.notes.begin(), plan.notes.end(),
                                          [&](const ChannelCsvNote& n) { return n.channel == number; });
        if (reported) continue;
        const std::optional<Meaning> given = reader.Read(row);
        std::string fields;
        for (const std::string& f : row.fields) fields += "[" + f + "]";
        fuzz::Require(given.has_value(), "a row the format cannot mean is reported",
                      "line " + std::to_string(row.line) + ", channel " + std::to_string(number) + ": " + fields);
        Meaning stored = back.count(number) ? back[number] : Meaning{};
        if (given->power.empty()) stored.power.clear();
        fuzz::Require(Describe(*given) == Describe(stored), "a row taken without a report reads back as given",
                      "line " + std::to_string(row.line) + ", channel " + std::to_string(number) +
                          "\ngiven:  " + Describe(*given) + "\nstored: " + Describe(stored));
    }
    for (const ChannelCsvNote& n : plan.notes) {
        if (n.channel <= 0 || !lineOf.count(n.channel)) continue;
        bool rowThere = false;
        for (std::size_t i = 1; i < rows->size(); ++i) rowThere = rowThere || (*rows)[i].line == n.line;
        fuzz::Require(rowThere, "a report line names the line its row starts on",
                      "line " + std::to_string(n.line) + ", channel " + std::to_string(n.channel));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > kChannelCsvMaxBytes) return 0;
    const std::string_view csv(reinterpret_cast<const char*>(data), size);
    // The model the file is imported into: one of the four, by the size.
    const int model = static_cast<int>(size % 4) + 1;
    Radio doc(model, nullptr);
    const ChannelCsvImport plan = PlanChannelImport(*doc.ctx, csv);
    if (!plan.readable) {
        fuzz::Require(!plan.failure.empty(), "a file that is not read says why");
        fuzz::Require(plan.rows == 0 && plan.notes.empty(), "a file that is not read takes no row");
        return 0;
    }
    CheckRowsReadBack(csv, plan, model);

    // The export of the result, imported onto the result, is the result.
    Radio result(model, &plan.image);
    const std::string exported = ExportChannelCsv(*result.ctx);
    const ChannelCsvImport again = PlanChannelImport(*result.ctx, exported);
    fuzz::Require(again.readable, "an export reads");
    for (const ChannelCsvNote& n : again.notes)
        fuzz::Require(n.column || n.channel == 0, "an export imports without a report about a channel",
                      n.text + "\n" + exported);
    std::string differ;
    for (std::size_t i = 0; i < kImageSize; ++i)
        if (again.image[i] != plan.image[i]) differ += std::to_string(i) + " ";
    fuzz::Require(differ.empty(), "an export imports to the same channels", "bytes " + differ + "\n" + exported);
    return 0;
}
