#include "core/fields/field_access.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>

#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

EntryMode EditContext::Mode() const { return catalogue.EntryMode(); }

std::string EditContext::Text(tid::TextId id) const { return language.TextString(id); }

const FieldDef* FieldTable::Find(std::string_view key) const {
    for (const FieldDef& f : fields) {
        if (key == f.key) return &f;
    }
    return nullptr;
}

std::string FieldRef::Key() const {
    if (!Valid()) return {};
    std::string key = table->prefix;
    key += '.';
    if (table->IsRecordTable()) {
        key += table->records->rowNames ? std::string(table->records->rowNames[row]) : std::to_string(row + 1);
        key += '.';
    }
    key += field->key;
    return key;
}

std::string Trimmed(std::string_view text) {
    std::size_t a = 0, b = text.size();
    while (a < b && std::isspace(static_cast<unsigned char>(text[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1]))) --b;
    return std::string(text.substr(a, b - a));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string StripMnemonic(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return Trimmed(out);
}

bool IsDecimalNumber(std::string_view text) {
    const std::string t = Trimmed(text);
    bool digits = false, point = false;
    for (char c : t) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool IsCodeText(const EditContext& ctx, std::string_view typed) {
    const std::string text = Trimmed(typed);
    if (text.empty() || EqualsIgnoringCase(text, "off") || text == ctx.tables.OffText() || text == ctx.tables.NoneText())
        return true;
    if (IsDecimalNumber(CodeTables::ReplaceAll(text, ctx.separator, "."))) return true;
    auto digits = [&](std::size_t from, std::size_t count) {
        return text.size() >= from + count &&
               std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                           text.begin() + static_cast<std::ptrdiff_t>(from + count),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    if ((text[0] == 'D' || text[0] == 'd') && (text.size() == 4 || text.size() == 5) && digits(1, 3))
        return text.size() == 4 || std::isalpha(static_cast<unsigned char>(text[4]));
    if (UsesPresetList(ctx.Mode()) && text.size() == 4 &&
        (EqualsIgnoringCase(text.substr(0, 3), "CQT") || EqualsIgnoringCase(text.substr(0, 3), "CDT")))
        return text[3] >= '1' && text[3] <= '6';
    return false;
}

namespace field {
namespace {

// The text is the field's off value: empty, "off", the off text, or 0.
bool IsOffText(const EditContext& ctx, const std::string& text) {
    return text.empty() || EqualsIgnoringCase(text, "off") || text == ctx.Text(tid::kCodeNone);
}

// A number field's value as shown, or nothing when the stored value lies
// outside the field's range.
std::string NumberText(const EditContext& ctx, const FieldRef& ref) {
    const NumberRule& rule = ref.field->number;
    const int raw = static_cast<int>(Raw(ctx, ref));
    if (rule.hasOff && raw == rule.offValue) return ctx.Text(tid::kCodeNone);
    const NumberRange range = Range(ctx, ref);
    const int shown = raw * rule.scale;
    if (shown < range.min || shown > range.max) return {};
    return std::to_string(shown);
}

// A typed number: read as a decimal integer (its leading digits, as the
// edit reads it), clamped into the range, rounded down to the step; off for
// an empty text or 0 where the field has an off value; the minimum for an
// empty text where it has none.
WriteResult WriteNumber(EditContext& ctx, const FieldRef& ref, const FieldInput& input) {
    const NumberRule& rule = ref.field->number;
    const NumberRange range = Range(ctx, ref);
    const std::string text = Trimmed(input.text);
    long value = text.empty() ? range.min : std::strtol(text.c_str(), nullptr, 10);
    if (rule.hasOff && (IsOffText(ctx, text) || value == 0)) {
        StoreRaw(ctx, ref, static_cast<unsigned>(rule.offValue));
        return {};
    }
    value = std::clamp<long>(value, range.min, range.max);
    if (rule.step > 1) value -= (value - range.min) % rule.step;
    StoreRaw(ctx, ref, static_cast<unsigned>(value / std::max(rule.scale, 1)));
    return {};
}

WriteResult WriteList(EditContext& ctx, const FieldRef& ref, const FieldInput& input) {
    const std::vector<Choice> offered = Offered(ctx, ref);
    int index = input.index;
    if (input.kind == FieldInput::Kind::Typed) {
        const std::string text = Trimmed(input.text);
        index = -1;
        for (std::size_t i = 0; i < offered.size(); ++i) {
            if (EqualsIgnoringCase(text, offered[i].token) ||
                EqualsIgnoringCase(text, StripMnemonic(ctx.Text(offered[i].text))))
                index = static_cast<int>(i);
        }
        if (index < 0) return WriteResult::Refuse(tid::kMsgChoiceNotOffered, {text});
    }
    if (index < 0 || index >= static_cast<int>(offered.size())) return WriteResult::Refuse();
    StoreRaw(ctx, ref, static_cast<unsigned>(offered[static_cast<std::size_t>(index)].value));
    return {};
}

// A whole number as scripts give it (an optional minus, digits); nothing
// for anything else or a number past long.
std::optional<long> WholeNumber(std::string_view text) {
    long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data() + (!text.empty() && text[0] == '-' ? 1 : 0), end, value);
    if (text.empty() || ec != std::errc() || at != end || (text[0] == '-' && text.size() == 1)) return std::nullopt;
    return text[0] == '-' ? -value : value;
}

// A decimal number in one spelling: no leading zeros, no trailing zeros of
// the fraction ("0462.56250" and "462.5625" both give "462.5625"); "" for a
// text that is no decimal number.
std::string DecimalKey(const EditContext& ctx, std::string_view shown) {
    std::string text = CodeTables::ReplaceAll(Trimmed(shown), ctx.separator, ".");
    if (!IsDecimalNumber(text)) return {};
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    const std::size_t first = text.find_first_not_of('0');
    text.erase(0, first == std::string::npos ? text.size() : first);
    return text.empty() || text[0] == '.' ? "0" + text : text;
}

// Off, blank or none, in every spelling a field shows or a script gives.
bool IsBlankText(const EditContext& ctx, const std::string& text) {
    return text.empty() || EqualsIgnoringCase(text, "off") || text == ctx.tables.OffText() ||
           text == ctx.tables.NoneText();
}

// A DQT code in one spelling: upper case, N when no polarity is given.
std::string DqtKey(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.size() == 4) text += 'N';
    return text;
}

bool SameCode(const EditContext& ctx, const std::string& given, const std::string& shown) {
    if (IsBlankText(ctx, given) || IsBlankText(ctx, shown)) return IsBlankText(ctx, given) && IsBlankText(ctx, shown);
    if (given[0] == 'D' || given[0] == 'd') return DqtKey(given) == DqtKey(shown);
    const std::string number = DecimalKey(ctx, given);
    if (!number.empty()) return number == DecimalKey(ctx, shown);
    return EqualsIgnoringCase(given, shown);  // a custom entry: CQT2
}

bool SameValue(const EditContext& ctx, const FieldRef& ref, const std::string& given, const std::string& shown) {
    const FieldDef& f = *ref.field;
    switch (f.kind) {
        case FieldKind::Check: {
            WriteResult ignored;
            const std::optional<FieldInput> in = InputFromScript(ctx, ref, given, ignored);
            return in && shown == OnOffText(ctx, in->on);
        }
        case FieldKind::List: {
            // By the stored value: a list may show its entry in its own words.
            const unsigned raw = Raw(ctx, ref);
            for (const Choice& c : f.choices) {
                const bool named =
                    EqualsIgnoringCase(given, c.token) || EqualsIgnoringCase(given, StripMnemonic(ctx.Text(c.text)));
                if (named && static_cast<unsigned>(c.value) == raw) return true;
            }
            return false;
        }
        case FieldKind::Number: {
            const std::optional<long> number = WholeNumber(given);
            if (f.number.hasOff && (IsOffText(ctx, given) || number == 0L)) return shown == ctx.Text(tid::kCodeNone);
            return number && number == WholeNumber(shown);
        }
        case FieldKind::Frequency:
            if (IsBlankText(ctx, given) || IsBlankText(ctx, shown))
                return IsBlankText(ctx, given) && IsBlankText(ctx, shown);
            return !DecimalKey(ctx, given).empty() && DecimalKey(ctx, given) == DecimalKey(ctx, shown);
        case FieldKind::Code: return SameCode(ctx, given, shown);
        case FieldKind::Text: return EqualsIgnoringCase(given, "off") && shown.empty();
        default: return true;
    }
}

}  // namespace

std::optional<std::string> StoredDifferently(const EditContext& ctx, const FieldRef& ref, std::string_view given) {
    const std::string text = Trimmed(given);
    const std::string shown = Text(ctx, ref);
    if (text == shown || SameValue(ctx, ref, text, shown)) return std::nullopt;
    return shown;
}

std::string StoredNote(const LanguageTable& language, const std::string& key, std::string_view given,
                       const std::string& stored) {
    return FormatText(language.TextString(tid::kMsgStoredDifferently), {key, std::string(given), stored});
}

NumberRange Range(const EditContext& ctx, const FieldRef& ref) {
    if (ref.field->range) return ref.field->range(ctx, ref.row);
    return {ref.field->number.min, ref.field->number.max};
}

std::size_t Address(const FieldRef& ref) {
    std::size_t at = ref.field->storage.offset;
    if (const RecordLayout* r = ref.table->records) at += r->base + r->stride * static_cast<std::size_t>(ref.row);
    return at;
}

unsigned Raw(const EditContext& ctx, const FieldRef& ref) {
    const Storage& s = ref.field->storage;
    const std::size_t at = Address(ref);
    const unsigned raw = s.width == 2 ? ctx.image.Word(at) : ctx.image.Byte(at);
    return (raw >> s.shift) & s.mask;
}

void StoreRaw(EditContext& ctx, const FieldRef& ref, unsigned value) {
    const Storage& s = ref.field->storage;
    const std::size_t at = Address(ref);
    const unsigned old = s.width == 2 ? ctx.image.Word(at) : ctx.image.Byte(at);
    const unsigned bits = s.mask << s.shift;
    const unsigned raw = (old & ~bits) | ((value & s.mask) << s.shift);
    if (s.width == 2) ctx.image.SetWord(at, static_cast<std::uint16_t>(raw));
    else ctx.image.SetByte(at, static_cast<std::uint8_t>(raw));
}

std::string OnOffText(const EditContext& ctx, bool on) { return ctx.Text(on ? tid::kOnText : tid::kOffText); }

std::string RefusalText(const LanguageTable& language, const WriteResult& result) {
    if (result.Ok() || !result.refusal) return {};
    std::vector<FormatArg> args(result.arguments.begin(), result.arguments.end());
    return FormatText(language.TextString(result.refusal), args);
}

std::string Text(const EditContext& ctx, const FieldRef& ref) {
    const FieldDef& f = *ref.field;
    if (f.read) return f.read(ctx, f, ref.row);
    switch (f.kind) {
        case FieldKind::Number: return NumberText(ctx, ref);
        case FieldKind::Check: return OnOffText(ctx, Raw(ctx, ref) != 0);
        case FieldKind::List: {
            const unsigned raw = Raw(ctx, ref);
            for (const Choice& c : f.choices) {
                if (static_cast<unsigned>(c.value) == raw) return ctx.Text(c.text);
            }
            return {};
        }
        default: return {};
    }
}

bool Shown(const EditContext& ctx, const FieldRef& ref) {
    return !ref.field->shown || ref.field->shown(ctx, ref.row);
}

bool Enabled(const EditContext& ctx, const FieldRef& ref) {
    if (!Shown(ctx, ref)) return false;
    if (const RecordLayout* r = ref.table->records) {
        if (ref.row < 0 || ref.row >= r->count(ctx)) return false;
    }
    return !ref.field->enabled || ref.field->enabled(ctx, ref.row);
}

std::vector<Choice> Offered(const EditContext& ctx, const FieldRef& ref) {
    const FieldDef& f = *ref.field;
    if (f.offered) return f.offered(ctx, f, ref.row);
    return {f.choices.begin(), f.choices.end()};
}

std::vector<FieldOption> Options(const EditContext& ctx, const FieldRef& ref) {
    const FieldDef& f = *ref.field;
    if (f.options) return f.options(ctx, f, ref.row);
    std::vector<FieldOption> lines;
    if (f.kind == FieldKind::List) {
        for (const Choice& c : Offered(ctx, ref)) lines.push_back({ctx.Text(c.text), c.token});
    } else if (f.kind == FieldKind::Check) {
        lines.push_back({OnOffText(ctx, true), "on"});
        lines.push_back({OnOffText(ctx, false), "off"});
    }
    return lines;
}

WriteResult Write(EditContext& ctx, const FieldRef& ref, const FieldInput& input) {
    const FieldDef& f = *ref.field;
    if (f.write) return f.write(ctx, f, ref.row, input);
    switch (f.kind) {
        case FieldKind::Number: return WriteNumber(ctx, ref, input);
        case FieldKind::List: return WriteList(ctx, ref, input);
        case FieldKind::Check: {
            bool on = input.on;
            if (input.kind == FieldInput::Kind::Chosen) on = input.index == 0;  // the lines are on, off
            StoreRaw(ctx, ref, on ? 1u : 0u);
            return {};
        }
        default: return WriteResult::Refuse();
    }
}

namespace {

// on/off, 1/0, yes/no, true/false, or the check box's shown texts.
std::optional<FieldInput> CheckFromScript(const EditContext& ctx, const std::string& text, WriteResult& why) {
    for (const char* on : {"on", "1", "yes", "true"})
        if (EqualsIgnoringCase(text, on)) return FieldInput::Checked(true);
    for (const char* off : {"off", "0", "no", "false"})
        if (EqualsIgnoringCase(text, off)) return FieldInput::Checked(false);
    if (text == OnOffText(ctx, true)) return FieldInput::Checked(true);
    if (text == OnOffText(ctx, false)) return FieldInput::Checked(false);
    why = WriteResult::Refuse(tid::kMsgNotOnOff, {text});
    return std::nullopt;
}

// An entry's token or its shown text, among the entries offered now; an entry
// the field has but does not offer now is refused as such.
std::optional<FieldInput> ChoiceFromScript(const EditContext& ctx, const FieldRef& ref, const std::string& text,
                                           WriteResult& why) {
    const std::vector<Choice> offered = Offered(ctx, ref);
    auto matches = [&](const Choice& c) {
        return EqualsIgnoringCase(text, c.token) || EqualsIgnoringCase(text, StripMnemonic(ctx.Text(c.text)));
    };
    for (std::size_t i = 0; i < offered.size(); ++i)
        if (matches(offered[i])) return FieldInput::Chosen(static_cast<int>(i));
    std::string tokens;
    for (const Choice& c : ref.field->choices) {
        if (matches(c)) {
            why = WriteResult::Refuse(tid::kMsgChoiceNotOffered, {text});
            return std::nullopt;
        }
        tokens += tokens.empty() ? "" : ", ";
        tokens += c.token;
    }
    why = WriteResult::Refuse(tid::kMsgUnknownChoice, {text, tokens});
    return std::nullopt;
}

// The editor's spin box takes digits only (and off where the field has it).
std::optional<FieldInput> NumberFromScript(const EditContext& ctx, const FieldDef& f, const std::string& text,
                                           WriteResult& why) {
    const bool off = f.number.hasOff && IsOffText(ctx, text);
    const bool digits = !text.empty() && std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; }) &&
                        text != "-";
    if (!off && !digits) {
        why = WriteResult::Refuse(tid::kMsgNotANumber, {text});
        return std::nullopt;
    }
    return FieldInput::Typed(off ? std::string() : text);
}

}  // namespace

std::optional<FieldInput> InputFromScript(const EditContext& ctx, const FieldRef& ref, std::string_view value,
                                          WriteResult& why) {
    const std::string text = Trimmed(value);
    const FieldDef& f = *ref.field;
    switch (f.kind) {
        case FieldKind::Check: return CheckFromScript(ctx, text, why);
        case FieldKind::List: return ChoiceFromScript(ctx, ref, text, why);
        case FieldKind::Number: return NumberFromScript(ctx, f, text, why);
        case FieldKind::Frequency:
            // The editor's frequency edit takes digits and one decimal point only.
            if (!text.empty() && !EqualsIgnoringCase(text, "off") && text != ctx.tables.NoneText() &&
                !IsDecimalNumber(CodeTables::ReplaceAll(text, ctx.separator, "."))) {
                why = WriteResult::Refuse(tid::kMsgNotAFrequency, {text});
                return std::nullopt;
            }
            return FieldInput::Typed(EqualsIgnoringCase(text, "off") ? std::string() : text);
        case FieldKind::Code:
            // The editor's code box takes code forms only.
            if (!IsCodeText(ctx, text)) {
                why = WriteResult::Refuse(tid::kMsgNotACode, {text});
                return std::nullopt;
            }
            return FieldInput::Typed(EqualsIgnoringCase(text, "off") ? std::string() : text);
        default:
            if (EqualsIgnoringCase(text, "off")) return FieldInput::Typed("");
            return FieldInput::Typed(text);
    }
}

}  // namespace field
}  // namespace vrm
