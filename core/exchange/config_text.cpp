// Reading a configuration text: the YAML into a plan (with every shape and
// size check a file from anywhere needs), and the plan into an image through
// the editors' rules.
#include "core/exchange/config_text.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <set>

#include "core/exchange/config_text_plan.h"
#include "core/files/document.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_registry.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/safe_file.h"

namespace vrm {
namespace config_text {

namespace {

// Limits far above what a configuration holds: a text past them is not ours.
constexpr int kMaxDepth = 4;              // fields.channel.16.rx is three maps deep
constexpr std::size_t kMaxNodes = 20000;  // an export has some hundreds
constexpr std::size_t kMaxValue = 256;    // the longest field text is far shorter
constexpr std::size_t kMaxKeyPart = 64;
constexpr std::size_t kMaxRowBytes = 16;

int LineOf(const YAML::Node& node) { return node.Mark().line >= 0 ? node.Mark().line + 1 : 0; }

[[noreturn]] void Refuse(int line, std::string key, tid::TextId text, std::vector<FormatArg> args = {}) {
    throw Refusal{line, std::move(key), text, std::move(args)};
}

// A map key as text; keys that are themselves lists or maps are refused.
std::string KeyText(const YAML::Node& key, const std::string& parent) {
    if (!key.IsScalar()) Refuse(LineOf(key), parent, tid::kTextScalarExpected);
    std::string text = key.Scalar();
    if (text.size() > kMaxKeyPart) Refuse(LineOf(key), parent, tid::kTextTooLong, {static_cast<int>(kMaxKeyPart)});
    return text;
}

class Reader {
public:
    Plan plan;

    void Top(const YAML::Node& root) {
        if (!root.IsMap()) Refuse(LineOf(root), {}, tid::kTextTopLevel);
        std::set<std::string> seen;
        for (const auto& item : root) {
            const std::string key = KeyText(item.first, {});
            if (!seen.insert(key).second) Refuse(LineOf(item.first), key, tid::kTextTwice);
            if (key == "model") {
                Model(item.second, LineOf(item.first));
            } else if (key == "fields") {
                if (!item.second.IsNull()) Fields(item.second, {}, 1);
            } else if (key == "bytes") {
                if (!item.second.IsNull()) Rows(item.second);
            } else {
                Refuse(LineOf(item.first), key, tid::kTextUnknownEntry);
            }
        }
        if (plan.model < 0) Refuse(0, "model", tid::kTextModelMissing);
    }

private:
    std::size_t nodes_ = 0;
    std::set<std::string> keys_;
    std::array<bool, kImageSize> rowBytes_{};

    void Count(const YAML::Node& node) {
        if (++nodes_ > kMaxNodes) Refuse(LineOf(node), {}, tid::kTextTooMany);
    }

    void Model(const YAML::Node& node, int line) {
        if (!node.IsScalar()) Refuse(line, "model", tid::kTextScalarExpected);
        const std::string& text = node.Scalar();
        const bool digits = !text.empty() && text.size() <= 3 &&
                            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        const int model = digits ? std::stoi(text) : -1;
        if (!ModelCatalogue::IsOffered(model))
            Refuse(line, "model", tid::kTextModelUnknown, {text.substr(0, kMaxKeyPart)});
        plan.model = model;
        plan.modelLine = line;
    }

    void Fields(const YAML::Node& node, const std::string& prefix, int depth) {
        Count(node);
        const std::string where = prefix.empty() ? "fields" : prefix;
        if (!node.IsMap()) Refuse(LineOf(node), where, tid::kTextMapExpected);
        if (depth > kMaxDepth) Refuse(LineOf(node), where, tid::kTextTooDeep);
        for (const auto& item : node) {
            Count(item.first);
            const std::string key = (prefix.empty() ? "" : prefix + ".") + KeyText(item.first, where);
            const YAML::Node& value = item.second;
            const int line = LineOf(item.first);
            if (value.IsMap()) {
                plan.maps.push_back({key, {}, line});
                Fields(value, key, depth + 1);
                continue;
            }
            if (value.IsSequence()) Refuse(line, key, tid::kTextScalarExpected);
            if (!keys_.insert(key).second) Refuse(line, key, tid::kTextTwice);
            // An empty value is an empty text (a channel name, a message line).
            std::string text = value.IsScalar() ? value.Scalar() : std::string();
            if (text.size() > kMaxValue) Refuse(line, key, tid::kTextTooLong, {static_cast<int>(kMaxValue)});
            plan.fields.push_back({key, std::move(text), line});
        }
    }

    static int HexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    // "0x070" (one to four hex digits after 0x) within the image.
    static bool Address(const std::string& text, std::size_t& address) {
        if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
        address = 0;
        for (std::size_t i = 2; i < text.size(); ++i) {
            const int d = HexDigit(text[i]);
            if (d < 0) return false;
            address = address * 16 + static_cast<std::size_t>(d);
        }
        return address < kImageSize;
    }

    // "50 62 25 46": two hex digits a byte, separated by blanks.
    static bool Bytes(const std::string& text, std::vector<std::uint8_t>& bytes) {
        std::size_t i = 0;
        while (i < text.size()) {
            if (text[i] == ' ') {
                ++i;
                continue;
            }
            if (i + 1 >= text.size() || bytes.size() == kMaxRowBytes) return false;
            const int hi = HexDigit(text[i]);
            const int lo = HexDigit(text[i + 1]);
            if (hi < 0 || lo < 0 || (i + 2 < text.size() && text[i + 2] != ' ')) return false;
            bytes.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
            i += 2;
        }
        return !bytes.empty();
    }

    void Rows(const YAML::Node& node) {
        Count(node);
        if (!node.IsMap()) Refuse(LineOf(node), "bytes", tid::kTextMapExpected);
        for (const auto& item : node) {
            Count(item.first);
            const std::string key = KeyText(item.first, "bytes");
            const int line = LineOf(item.first);
            const std::string name = "bytes." + key;
            if (!item.second.IsScalar()) Refuse(line, name, tid::kTextScalarExpected);
            ByteRow row;
            row.line = line;
            if (!Address(key, row.address) || !Bytes(item.second.Scalar(), row.bytes) ||
                row.address + row.bytes.size() > kImageSize)
                Refuse(line, name, tid::kTextBadRow);
            for (std::size_t i = 0; i < row.bytes.size(); ++i) {
                if (rowBytes_[row.address + i]) Refuse(line, name, tid::kTextBytesTwice);
                rowBytes_[row.address + i] = true;
            }
            plan.rows.push_back(std::move(row));
        }
    }
};

// The blank image of the model with the rows on it, checked to name the
// model the text names.
void StartImage(const Plan& plan, RadioImage& image, ModelCatalogue& catalogue) {
    image.Clear();
    catalogue.SetModel(plan.model);
    catalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(plan.model, ".").front().data));
    for (const ByteRow& row : plan.rows)
        std::copy(row.bytes.begin(), row.bytes.end(), image.Live().begin() + static_cast<long>(row.address));
    if (catalogue.FindModel() != plan.model || !catalogue.IsAcceptable())
        Refuse(plan.modelLine, "model", tid::kTextModelMismatch, {plan.model});
    catalogue.RecomputeBandLimits();
}

Refusal RuleRefusal(const LanguageTable& language, const Entry& e, const ScriptWrite& w) {
    switch (w.status) {
        case ScriptWrite::Status::UnknownKey: return {e.line, e.key, tid::kTextUnknownField, {}};
        case ScriptWrite::Status::Hidden: return {e.line, e.key, tid::kTextFieldHidden, {}};
        case ScriptWrite::Status::Disabled: return {e.line, e.key, tid::kTextFieldDisabled, {}};
        default: break;
    }
    const std::string why = field::RefusalText(language, w.result);
    if (why.empty()) return {e.line, e.key, tid::kTextFieldRefused, {e.value}};
    // The rule's own message, already in the user's language.
    return {e.line, e.key, 0, {why}};
}

}  // namespace

bool IsUtf8(std::string_view text, std::size_t* bad) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t n = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3;
            cp = c & 0x07;
        } else {
            if (bad) *bad = i;
            return false;
        }
        bool ok = i + n < text.size();
        for (std::size_t k = 1; ok && k <= n; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            ok = (d & 0xC0) == 0x80;
            cp = (cp << 6) | (d & 0x3F);
        }
        // No overlong forms, no surrogates, nothing past U+10FFFF.
        static constexpr unsigned kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < kLeast[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            if (bad) *bad = i;
            return false;
        }
        i += n + 1;
    }
    return true;
}

namespace {

// Every line end (CR LF, a lone CR, LF) as LF, so that a text from any
// system reads the same and keeps its line numbers.
std::string UnixLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
            continue;
        }
        out += '\n';
        if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

}  // namespace

Plan Parse(std::string_view original) {
    const std::string lines = UnixLineEnds(original);
    const std::string_view text = lines;
    std::size_t bad = 0;
    if (!IsUtf8(text, &bad))
        Refuse(static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(bad), '\n')) + 1, {},
               tid::kTextNotUtf8);
    YAML::Node root;
    try {
        root = YAML::Load(lines);
    } catch (const YAML::Exception& e) {
        Refuse(e.mark.line >= 0 ? e.mark.line + 1 : 0, {}, tid::kTextSyntax, {e.msg});
    }
    Reader reader;
    reader.Top(root);
    return std::move(reader.plan);
}

namespace {

// The fields in the order of the tables, whatever the order of the text
// (keys the model does not have come last and are refused there).
std::vector<std::size_t> TableOrder(const EditContext& ctx, const Plan& plan) {
    std::map<std::string, std::size_t> rank;
    for (const FieldRef& ref : AllFields(ctx)) rank.emplace(ref.Key(), rank.size());
    auto rankOf = [&](std::size_t i) {
        const auto it = rank.find(plan.fields[i].key);
        return it == rank.end() ? rank.size() : it->second;
    };
    std::vector<std::size_t> order(plan.fields.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return rankOf(a) < rankOf(b); });
    return order;
}

// Applies the fields pass after pass: a field still disabled waits for the
// fields after it. A field that stays disabled but shows the value given
// anyway (both sides of an emptied test pair) asks for nothing. Returns the
// last test frequency applied (-1: none).
int ApplyInPasses(EditSession& session, const Plan& plan, const LanguageTable& language, bool lenient,
                  Applied& out) {
    const EditContext& ctx = session.Context();
    int lastTestFrequency = -1;
    std::vector<std::size_t> pending = TableOrder(ctx, plan);
    while (!pending.empty()) {
        std::vector<std::pair<std::size_t, ScriptWrite>> waiting;
        for (const std::size_t i : pending) {
            const Entry& e = plan.fields[i];
            const ImageBuffer before = ctx.image.Live();
            const ScriptWrite w = SetFromScript(session, e.key, e.value);
            if (w.status == ScriptWrite::Status::Hidden || w.status == ScriptWrite::Status::Disabled) {
                waiting.emplace_back(i, w);
                continue;
            }
            if (!w.Ok()) {
                if (!lenient) throw RuleRefusal(language, e, w);
                out.refused.push_back(i);
                continue;
            }
            if (e.key.rfind("testfreq.", 0) == 0) lastTestFrequency = static_cast<int>(i);
            for (std::size_t b = 0; b < kImageSize; ++b)
                if (ctx.image.Live()[b] != before[b]) out.writer[b] = static_cast<int>(i);
            for (const tid::TextId message : w.result.messages)
                out.notes.push_back(e.key + ": " + language.TextString(message));
        }
        if (waiting.size() == pending.size()) {
            std::erase_if(waiting, [&](const auto& wait) {
                const Entry& e = plan.fields[wait.first];
                const std::optional<FieldRef> ref = FindField(ctx, e.key);
                return wait.second.status == ScriptWrite::Status::Disabled && ref &&
                       !field::StoredDifferently(ctx, *ref, e.value);
            });
            if (!waiting.empty() && !lenient)
                throw RuleRefusal(language, plan.fields[waiting.front().first], waiting.front().second);
            for (const auto& wait : waiting) out.refused.push_back(wait.first);
            break;
        }
        pending.clear();
        for (const auto& wait : waiting) pending.push_back(wait.first);
    }
    return lastTestFrequency;
}

// Every value the image does not hold as it was given (the rules' clamping,
// rounding and pairing), in the order of the text.
void NoteValuesStoredOtherThanGiven(const EditContext& ctx, const Plan& plan, const LanguageTable& language,
                                    Applied& out) {
    const std::set<std::size_t> refused(out.refused.begin(), out.refused.end());
    for (std::size_t i = 0; i < plan.fields.size(); ++i) {
        const Entry& e = plan.fields[i];
        const std::optional<FieldRef> ref = FindField(ctx, e.key);
        if (!ref || refused.count(i)) continue;
        if (const auto stored = field::StoredDifferently(ctx, *ref, e.value))
            out.notes.push_back(field::StoredNote(language, e.key, e.value, *stored));
    }
}

}  // namespace

Applied Apply(const Plan& plan, const LanguageTable& language, bool lenient) {
    Applied out;
    out.writer.fill(-1);
    Document document(language);
    RadioImage& image = document.Image();
    ModelCatalogue& catalogue = document.Catalogue();
    StartImage(plan, image, catalogue);
    // A text whose fields were all lost (a comment that swallowed the rest)
    // or never there would import as a blank configuration: refused rather
    // than written. (An export gives fields, or rows for every byte.)
    const bool rowsBeyondIdentity = std::any_of(plan.rows.begin(), plan.rows.end(), [](const ByteRow& row) {
        return row.address + row.bytes.size() > kIdentitySize;
    });
    if (!lenient && plan.fields.empty() && !rowsBeyondIdentity) Refuse(0, "fields", tid::kTextNoFields);
    EditSession& session = document.Session();
    session.SetDecimalSeparator(".");
    EditContext& ctx = session.Context();
    ctx.importing = true;

    for (const Entry& m : plan.maps)
        if (FindField(ctx, m.key)) Refuse(m.line, m.key, tid::kTextScalarExpected);
    const int lastTestFrequency = ApplyInPasses(session, plan, language, lenient, out);

    // The test frequencies' defaults come back when the imported pairs are
    // all empty, as after the editor's last pair was cleared; the bytes are
    // the last test frequency's, so that an export's check can leave it out.
    if (lastTestFrequency >= 0) {
        const ImageBuffer before = image.Live();
        if (RestoreEmptyTestFrequencies(ctx))
            for (std::size_t b = 0; b < kImageSize; ++b)
                if (image.Live()[b] != before[b]) out.writer[b] = lastTestFrequency;
    }
    if (!lenient) NoteValuesStoredOtherThanGiven(ctx, plan, language, out);
    out.image = image.Live();
    return out;
}

}  // namespace config_text

namespace {

std::string RefusalMessage(const LanguageTable& language, const config_text::Refusal& r) {
    const std::string what = r.text ? FormatText(language.TextString(r.text), r.args) : std::get<std::string>(r.args.front().Value());
    if (r.key.empty()) return FormatText(language.TextString(tid::kTextLine), {r.line, what});
    return FormatText(language.TextString(tid::kTextLineKey), {r.line, r.key, what});
}

}  // namespace

ConfigTextImport ImportConfigText(std::string_view text, const LanguageTable& language) {
    ConfigTextImport result;
    try {
        const config_text::Plan plan = config_text::Parse(text);
        config_text::Applied applied = config_text::Apply(plan, language, false);
        result.image = applied.image;
        result.notes = std::move(applied.notes);
        result.ok = true;
    } catch (const config_text::Refusal& r) {
        result.line = r.line;
        result.key = r.key;
        result.problem = RefusalMessage(language, r);
    }
    return result;
}

ConfigTextImport ImportConfigTextFile(const std::string& path, const LanguageTable& language) {
    std::string data;
    const FileOutcome read = ReadRegularFile(path, kConfigTextMaxBytes, data);
    if (!read.Ok()) {
        ConfigTextImport result;
        if (read.notRegular) {
            result.problem = FormatText(language.TextString(tid::kMsgNotRegularFile), {path});
            return result;
        }
        const std::string why =
            read.tooLarge ? FormatText(language.TextString(tid::kTextTooLarge), {static_cast<int>(kConfigTextMaxBytes)})
                          : std::string(std::strerror(read.systemError));
        result.problem = FormatText(language.TextString(tid::kTextNotRead), {path, why});
        return result;
    }
    return ImportConfigText(data, language);
}

}  // namespace vrm
