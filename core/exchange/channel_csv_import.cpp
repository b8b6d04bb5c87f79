// Import of the channel CSV: each row goes onto its channel through the
// channel data model, on a copy of the image, and every change the rules made
// to what the row said, and everything the radio does not keep, becomes a
// line of the report.
#include <algorithm>
#include <cmath>
#include <map>

#include "core/fields/channel_fields.h"
#include "core/fields/channel_model.h"
#include "core/fields/field_access.h"
#include "core/files/document.h"
#include "core/exchange/channel_csv.h"
#include "core/exchange/channel_csv_terms.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

enum Column {
    kLocation, kName, kFrequency, kDuplex, kOffset, kTone, kRTone, kCTone, kDtcs, kDtcsPolarity, kRxDtcs,
    kCrossMode, kMode, kTStep, kSkip, kPower, kComment, kUrcall, kRpt1Call, kRpt2Call, kDvCode, kColumnCount
};
constexpr const char* kColumnNames[kColumnCount] = {
    "Location", "Name", "Frequency", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq", "DtcsCode", "DtcsPolarity",
    "RxDtcsCode", "CrossMode", "Mode", "TStep", "Skip", "Power", "Comment", "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};

// What a file without the column means: the format's defaults (an older
// file has no CrossMode, and a Cross row of it means Tone->Tone; no Power,
// and its channels are High).
constexpr const char* kColumnDefaults[kColumnCount] = {
    "", "", "", "", "0.000000", "", kDefaultTone, kDefaultTone, kDefaultDtcs, "NN",
    "", "Tone->Tone", "", "", "", "High", "", "", "", "", ""};

constexpr std::size_t kRxAt = 0;
constexpr std::size_t kTxAt = 4;

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// A QT/DQT code a row asks for, as the channel editor takes it typed.
struct WantedCode {
    bool off = true;
    bool valid = true;
    std::string column;  // where it came from, for the report
    std::string given;   // as the row gave it
    std::string text;    // "88.5" or "D023N"
};

WantedCode Tone(const std::string& column, const std::string& value) {
    WantedCode w{false, IsDecimalNumber(value) && !value.empty(), column, value, Trimmed(value)};
    return w;
}

WantedCode Dtcs(const std::string& column, const std::string& value, char polarity) {
    WantedCode w{false, !value.empty() && value.size() <= 3, column, value, ""};
    for (const char c : value) w.valid = w.valid && c >= '0' && c <= '7';
    if (!w.valid) return w;
    w.text = "D" + std::string(3 - value.size(), '0') + value + (polarity == 'R' || polarity == 'r' ? "I" : "N");
    return w;
}

// False when a decimal MHz text has digits below one hertz that are not
// zero (462.5625001): those the radio cannot keep.
bool WholeHertz(const std::string& text) {
    const std::size_t dot = text.find('.');
    return dot == std::string::npos || text.size() <= dot + 7 ||
           text.find_first_not_of('0', dot + 7) == std::string::npos;
}

// A frequency as the row gave it when that has more digits than hertz,
// else in the report's six decimals.
std::string GivenMHz(const std::string& text, std::int64_t hz) { return WholeHertz(text) ? MHzText(hz) : text; }

class Importer {
public:
    explicit Importer(const EditContext& ctx)
        : language_(ctx.language), scratch_(ctx.language), tables_(scratch_.Catalogue(), ctx.language),
          ctx_{scratch_.Image(), scratch_.Catalogue(), tables_, ctx.language, "."}, model_(ctx_) {
        scratch_.Hold(ctx.image.Live());
    }

    ChannelCsvImport Run(std::string_view csv);

private:
    // A row's value of a column; the format's default when the file has no
    // such column (noted as taken).
    std::string Get(Column c) const {
        const int i = columns_[c];
        if (i < 0) {
            defaulted_[c] = true;
            return kColumnDefaults[c];
        }
        return static_cast<std::size_t>(i) < row_->fields.size() ? Trimmed(row_->fields[i]) : std::string();
    }
    std::string Text(tid::TextId id) const { return language_.Text(id); }
    void Note(int channel, tid::TextId id, std::initializer_list<FormatArg> args) {
        result_.notes.push_back({row_->line, channel, FormatText(Text(id), args)});
    }
    void Note(int channel, std::string text) { result_.notes.push_back({row_->line, channel, std::move(text)}); }

    bool FindColumns(const CsvRow& header);
    void NoteMissingColumns();
    int ChannelOf();  // 0-based, or -1 when the row reaches no channel
    void Take(int n);
    bool TakeFrequencies(int n, std::int64_t rxHz);
    std::optional<std::int64_t> WantedTx(int n, std::int64_t rxHz, bool& receiveOnly);
    void TakeTx(int n, std::int64_t rxHz, std::int64_t txHz);
    void TakeCodes(int n);
    bool WantedCodes(int n, WantedCode& encode, WantedCode& decode);
    void StoreCode(int n, bool decode, const WantedCode& want);
    void TakePower(int n);
    void TakeScan(int n);
    void TakeUnkept(int n);
    std::string StoredAs(const std::vector<tid::TextId>& messages) const;

    const LanguageTable& language_;
    Document scratch_;  // the rows are put on a copy; the caller takes its image
    CodeTables tables_;
    EditContext ctx_;
    ChannelModel model_;
    int columns_[kColumnCount] = {};
    mutable bool defaulted_[kColumnCount] = {};  // a row took the column's default
    const CsvRow* row_ = nullptr;
    int next_ = 0;                 // the channel of a row without a Location
    std::map<int, int> lineOf_;    // channel -> line of the row that set it
    ChannelCsvImport result_;
};

ChannelCsvImport Importer::Run(std::string_view csv) {
    const CsvReadResult read = ReadCsv(csv);
    if (read.longFieldLine) {
        result_.failure =
            FormatText(Text(tid::kCsvFieldTooLong), {read.longFieldLine, static_cast<int>(kCsvMaxField)});
        return result_;
    }
    if (!read.ok) {
        result_.failure = FormatText(Text(tid::kCsvNotReadable), {read.error});
        return result_;
    }
    if (read.rows.empty() || !FindColumns(read.rows.front())) {
        result_.failure = Text(tid::kCsvNoFrequencyColumn);
        return result_;
    }
    result_.readable = true;
    for (std::size_t i = 1; i < read.rows.size(); ++i) {
        row_ = &read.rows[i];
        ++result_.rows;
        const int n = ChannelOf();
        if (n >= 0) Take(n);
    }
    row_ = &read.rows.front();
    NoteMissingColumns();
    result_.image = scratch_.Image().Live();
    return std::move(result_);
}

bool Importer::FindColumns(const CsvRow& header) {
    std::fill(std::begin(columns_), std::end(columns_), -1);
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = Lower(Trimmed(header.fields[i]));
        for (int c = 0; c < kColumnCount; ++c)
            if (columns_[c] < 0 && name == Lower(kColumnNames[c])) columns_[c] = static_cast<int>(i);
    }
    return columns_[kFrequency] >= 0;
}

// Once a file, before the rows' lines: every column the file does not
// have whose default a row took, and what that default is. These lines say
// what was assumed; they are not about a row (--strict lets them pass).
void Importer::NoteMissingColumns() {
    std::vector<ChannelCsvNote> notes;
    const auto add = [&](Column c, std::string text) {
        if (defaulted_[c]) notes.push_back({row_->line, 0, std::move(text), true});
    };
    add(kLocation, Text(tid::kCsvNoLocationColumn));
    add(kDuplex, Text(tid::kCsvNoDuplexColumn));
    const auto taken = [this](Column c) {
        return FormatText(Text(tid::kCsvColumnDefault), {kColumnNames[c], c == kRxDtcs ? "DtcsCode" : kColumnDefaults[c]});
    };
    for (const Column c : {kOffset, kRTone, kCTone, kDtcs, kDtcsPolarity, kRxDtcs, kCrossMode}) add(c, taken(c));
    add(kTone, Text(tid::kCsvNoToneColumn));
    add(kSkip, Text(tid::kCsvNoSkipColumn));
    add(kPower, taken(kPower));
    result_.notes.insert(result_.notes.begin(), notes.begin(), notes.end());
}

int Importer::ChannelOf() {
    const std::string location = Get(kLocation);
    int number = next_ + 1;
    if (!location.empty()) {
        const bool digits = location.size() <= 6 &&
                            std::all_of(location.begin(), location.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            Note(0, tid::kCsvLocationInvalid, {location});
            return -1;
        }
        number = std::stoi(location);
    }
    if (number < 1 || number > model_.Count()) {
        Note(0, tid::kCsvLocationRange, {location.empty() ? std::to_string(number) : location, model_.Count()});
        return -1;
    }
    next_ = number;
    const auto seen = lineOf_.find(number);
    if (seen != lineOf_.end()) {
        Note(number, tid::kCsvLocationTwice, {seen->second});
        return -1;
    }
    lineOf_[number] = row_->line;
    return number - 1;
}

void Importer::Take(int n) {
    const std::string frequency = Get(kFrequency);
    if (frequency.empty()) {  // the row empties its channel
        model_.Delete(n);
        ++result_.taken;
        return;
    }
    const std::optional<std::int64_t> rxHz = ParseMHz(frequency);
    if (!rxHz || *rxHz <= 0) {
        Note(n + 1, tid::kCsvNotAFrequency, {frequency});
        return;
    }
    // A row that cannot be taken leaves its channel as it was.
    const ImageBuffer before = scratch_.Image().Live();
    if (!TakeFrequencies(n, *rxHz)) {
        scratch_.Image().Live() = before;
        return;
    }
    TakeCodes(n);
    TakePower(n);
    TakeScan(n);
    TakeUnkept(n);
    ++result_.taken;
}

std::string Importer::StoredAs(const std::vector<tid::TextId>& messages) const {
    for (const tid::TextId m : messages) {
        if (m == tid::kMsgRxOutOfBand || m == tid::kMsgTxOutOfBand) return Text(tid::kCsvReasonBand);
        if (m == tid::kMsgExcludedFrequency) return Text(tid::kCsvReasonExcluded);
    }
    return Text(tid::kCsvReasonStep);
}

bool Importer::TakeFrequencies(int n, std::int64_t rxHz) {
    // From a plain channel: transmit on the receive frequency.
    if (model_.Exists(n)) {
        if (UsesPresetList(ctx_.Mode())) model_.SetRepeater(n, false);
        else model_.SetFrequencyText(n, false, "");
    }
    const WriteResult r = model_.SetFrequencyText(n, true, MHzText(rxHz));
    if (!r.Ok()) {
        Note(n + 1, tid::kCsvRowRefused, {field::RefusalText(language_, r)});
        return false;
    }
    if (std::find(r.messages.begin(), r.messages.end(), tid::kMsgReservedFrequency) != r.messages.end()) {
        Note(n + 1, tid::kCsvReserved, {MHzText(rxHz)});
        return false;
    }
    const std::int64_t stored = CodeTables::FrequencyToHz(scratch_.Image().Frequency(model_.Address(n) + kRxAt));
    if (stored != rxHz || !WholeHertz(Get(kFrequency)))
        Note(n + 1, tid::kCsvRxStoredAs, {GivenMHz(Get(kFrequency), rxHz), MHzText(stored), StoredAs(r.messages)});
    bool receiveOnly = false;
    const std::optional<std::int64_t> txHz = WantedTx(n, rxHz, receiveOnly);
    if (receiveOnly) model_.SetFrequencyText(n, false, "");
    else if (txHz && *txHz != rxHz) TakeTx(n, stored, *txHz);
    return true;
}

// The transmit frequency Duplex and Offset ask for; nothing for the receive
// frequency.
std::optional<std::int64_t> Importer::WantedTx(int n, std::int64_t rxHz, bool& receiveOnly) {
    const std::string duplex = Lower(Get(kDuplex));
    if (duplex.empty()) return std::nullopt;
    if (duplex == "off") {
        receiveOnly = true;
        return std::nullopt;
    }
    if (duplex != "+" && duplex != "-" && duplex != "split") {
        Note(n + 1, tid::kCsvDuplexUnknown, {Get(kDuplex)});
        return std::nullopt;
    }
    const std::optional<std::int64_t> offset = ParseMHz(Get(kOffset));
    std::optional<std::int64_t> tx;
    if (offset) tx = duplex == "split" ? *offset : duplex == "+" ? rxHz + *offset : rxHz - *offset;
    if (!tx || *tx <= 0) {
        Note(n + 1, tid::kCsvOffsetInvalid, {Get(kOffset), Get(kDuplex)});
        return std::nullopt;
    }
    return tx;
}

void Importer::TakeTx(int n, std::int64_t storedRx, std::int64_t txHz) {
    const bool list = UsesPresetList(ctx_.Mode());
    if (list) model_.SetRepeater(n, true);
    const WriteResult r = model_.SetFrequencyText(n, false, MHzText(txHz));
    if (!r.Ok()) {
        Note(n + 1, tid::kCsvTxRefused, {MHzText(txHz), field::RefusalText(language_, r)});
        if (list) model_.SetRepeater(n, false);
        else model_.SetFrequencyText(n, false, MHzText(storedRx));
        return;
    }
    const std::int64_t stored = CodeTables::FrequencyToHz(scratch_.Image().Frequency(model_.Address(n) + kTxAt));
    if (stored != txHz || !WholeHertz(Get(kOffset)))
        Note(n + 1, tid::kCsvTxStoredAs, {MHzText(txHz), MHzText(stored), StoredAs(r.messages)});
}

// ---------------------------------------------------------------------------
// QT/DQT codes

bool Importer::WantedCodes(int n, WantedCode& encode, WantedCode& decode) {
    const std::string tone = Lower(Get(kTone));
    if (tone.empty()) return true;
    // Read only where a mode uses them, so that a missing column is said to
    // be assumed only when it was. The polarity is two letters, N (normal)
    // or R (reversed), for the transmit and the receive code; anything else
    // is said once, with the polarity taken for it.
    bool polarityNoted = false;
    const auto polarity = [this, n, &polarityNoted](std::size_t side) {
        const std::string both = Get(kDtcsPolarity);
        const auto letter = [](char c) { return c == 'N' || c == 'n' || c == 'R' || c == 'r'; };
        const auto taken = [&both](std::size_t s) { return both.size() > s && (both[s] == 'R' || both[s] == 'r') ? 'R' : 'N'; };
        if (!polarityNoted && (both.size() != 2 || !letter(both[0]) || !letter(both[1]))) {
            Note(n + 1, tid::kCsvPolarityUnknown, {both, std::string{taken(0), taken(1)}});
            polarityNoted = true;
        }
        return taken(side);
    };
    const auto rxDtcs = [this, &polarity](WantedCode& code) {
        const bool own = columns_[kRxDtcs] >= 0 && !Get(kRxDtcs).empty();
        if (columns_[kRxDtcs] < 0) defaulted_[kRxDtcs] = true;
        code = Dtcs(own ? "RxDtcsCode" : "DtcsCode", own ? Get(kRxDtcs) : Get(kDtcs), polarity(1));
    };
    if (tone == "tone") {
        encode = Tone("rToneFreq", Get(kRTone));
    } else if (tone == "tsql") {
        encode = decode = Tone("cToneFreq", Get(kCTone));
    } else if (tone == "dtcs") {
        encode = Dtcs("DtcsCode", Get(kDtcs), polarity(0));
        decode = Dtcs("DtcsCode", Get(kDtcs), polarity(1));
    } else if (tone == "cross") {
        const std::string cross = Lower(Get(kCrossMode));
        const std::size_t arrow = cross.find("->");
        const std::string tx = arrow == std::string::npos ? "?" : cross.substr(0, arrow);
        const std::string rx = arrow == std::string::npos ? "?" : cross.substr(arrow + 2);
        const auto known = [](const std::string& side) { return side.empty() || side == "tone" || side == "dtcs"; };
        if (!known(tx) || !known(rx) || (tx.empty() && rx.empty())) {
            Note(n + 1, tid::kCsvCrossUnknown, {Get(kCrossMode)});
            return false;
        }
        if (tx == "tone") encode = Tone("rToneFreq", Get(kRTone));
        if (tx == "dtcs") encode = Dtcs("DtcsCode", Get(kDtcs), polarity(0));
        if (rx == "tone") decode = Tone("cToneFreq", Get(kCTone));
        if (rx == "dtcs") rxDtcs(decode);
    } else {
        Note(n + 1, tid::kCsvToneUnknown, {Get(kTone)});
        return false;
    }
    return true;
}

void Importer::TakeCodes(int n) {
    WantedCode encode, decode;
    WantedCodes(n, encode, decode);  // a mode not understood sets no codes
    StoreCode(n, true, decode);
    // A receive-only channel sends no code: the editor keeps its encode off.
    if (model_.HasTx(n)) StoreCode(n, false, encode);
}

void Importer::StoreCode(int n, bool decode, const WantedCode& want) {
    WantedCode w = want;
    if (!w.off && !w.valid) {
        Note(n + 1, tid::kCsvCodeInvalid, {w.column, w.given});
        w.off = true;
    }
    model_.SetCodeText(n, decode, w.off ? "" : w.text);
    if (w.off) return;
    const std::uint16_t word = scratch_.Image().Word(model_.Address(n) + (decode ? 8 : 10));
    const std::string stored = tables_.CodeWordToText(word, ".");
    const bool same = w.text[0] == 'D' ? stored == w.text
                                        : std::abs(CodeTables::ReadNumber(w.text) * 10 - word) < 1e-6;
    if (!same) Note(n + 1, decode ? tid::kCsvDecodeStoredAs : tid::kCsvEncodeStoredAs, {w.given, stored});
}

// ---------------------------------------------------------------------------
// Power, scan and what the radio does not keep

void Importer::TakePower(int n) {
    const std::string power = Get(kPower);
    if (power.empty()) return;
    const std::string lower = Lower(power);
    int value = -1;
    if (lower == "high" || lower == "h") value = 1;
    else if (lower == "low" || lower == "l") value = 0;
    else {
        std::string number = lower;
        if (!number.empty() && number.back() == 'w') number.pop_back();
        if (IsDecimalNumber(number) && !Trimmed(number).empty()) {
            // Watts: the radio has two levels; 2 W and more is its high level.
            value = CodeTables::ReadNumber(number) >= 2.0 ? 1 : 0;
            Note(n + 1, tid::kCsvPowerTaken, {power, value ? "High" : "Low"});
        } else {
            Note(n + 1, tid::kCsvPowerUnknown, {power});
            return;
        }
    }
    // A level the frequency does not allow: said when the row asked for it.
    if (!model_.SetPower(n, value).Ok() && columns_[kPower] >= 0) {
        const bool high = (scratch_.Image().Byte(model_.Address(n) + 13) & ChannelModel::kPowerBit) != 0;
        Note(n + 1, tid::kCsvPowerNotOffered, {power, high ? "High" : "Low"});
    }
}

void Importer::TakeScan(int n) {
    const std::string skip = Lower(Get(kSkip));
    if (skip == "p") Note(n + 1, tid::kCsvSkipPriority, {});
    else if (!skip.empty() && skip != "s") Note(n + 1, tid::kCsvSkipUnknown, {Get(kSkip)});
    const FieldRef ref{&ChannelTable(), ChannelTable().Find("scan_add"), n};
    field::Write(ctx_, ref, FieldInput::Checked(skip != "s"));
}

void Importer::TakeUnkept(int n) {
    if (!Get(kName).empty()) Note(n + 1, tid::kCsvNameNotKept, {Get(kName)});
    const std::string mode = Lower(Get(kMode));
    if (!mode.empty() && mode != "fm" && mode != "nfm") Note(n + 1, tid::kCsvModeNotKept, {Get(kMode)});
    // The radio keeps the step its frequency parser gives (2.5, 5 or 6.25
    // kHz): a step of those on which the frequency lies is kept in effect.
    const std::string step = Get(kTStep);
    if (!step.empty()) {
        const std::int64_t hz = CodeTables::FrequencyToHz(scratch_.Image().Frequency(model_.Address(n) + kRxAt));
        const long stepHz = IsDecimalNumber(step) ? std::lround(CodeTables::ReadNumber(step) * 1000) : 0;
        const bool known = stepHz == 2500 || stepHz == 5000 || stepHz == 6250;
        if (!known || hz % stepHz != 0)
            Note(n + 1, tid::kCsvStepNotKept, {step, StepText((scratch_.Image().Byte(model_.Address(n) + 14) >> 6) & 3)});
    }
    for (const Column c : {kUrcall, kRpt1Call, kRpt2Call, kDvCode})
        if (!Get(c).empty()) Note(n + 1, tid::kCsvDigitalNotKept, {kColumnNames[c], Get(c)});
}

}  // namespace

std::optional<std::int64_t> ParseMHz(std::string_view text) {
    const std::string t = Trimmed(text);
    if (t.empty() || !IsDecimalNumber(t)) return std::nullopt;
    const std::size_t dot = t.find('.');
    const std::string whole = t.substr(0, dot);
    std::string fraction = dot == std::string::npos ? "" : t.substr(dot + 1);
    if (whole.size() > 6 || (whole.empty() && fraction.empty())) return std::nullopt;
    fraction = fraction.substr(0, 6);  // below one hertz nothing is kept
    fraction.append(6 - fraction.size(), '0');
    return (whole.empty() ? 0 : std::stoll(whole)) * 1000000 + std::stoll(fraction);
}

ChannelCsvImport PlanChannelImport(const EditContext& ctx, std::string_view csv) {
    return Importer(ctx).Run(csv);
}

std::string ChannelCsvNoteText(const EditContext& ctx, const ChannelCsvNote& note) {
    if (note.channel > 0) return FormatText(ctx.Text(tid::kCsvNoteChannel), {note.line, note.channel, note.text});
    return FormatText(ctx.Text(tid::kCsvNoteLine), {note.line, note.text});
}

}  // namespace vrm
