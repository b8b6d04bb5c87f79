// vrm650t-cli fields, get and set: the editors' fields from the shell.
//
// The keys, the texts and the rules are the editors' own (the field tables
// and the edit session); a value given to set goes through the same rule as
// a value the user commits in the editor.
#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "editors/edit_session.h"
#include "editors/field_registry.h"
#include "files/data_file.h"
#include "model/code_tables.h"
#include "model/entry_mode.h"
#include "model/model_catalogue.h"
#include "model/radio_image.h"
#include "text/language_table.h"
#include "text/text_ids.h"

namespace vrm::cli {

namespace {

// Exit status of set when an assignment was refused: by its field's rule,
// because the field is disabled, or because of --strict.
constexpr int kAssignmentRefused = 7;

// A data file or a model's New defaults, with an edit session on it.
struct Document {
    RadioImage image;
    ModelCatalogue catalogue{image};
    std::unique_ptr<EditSession> session;

    // The session comes after the image holds its model: the code tables
    // follow the catalogue.
    EditSession& Open(const Context& ctx) {
        session = std::make_unique<EditSession>(image, catalogue, Language(ctx));
        session->SetDecimalSeparator(kSeparator);
        return *session;
    }
};

// A field text on one line: control characters (which a data file may hold
// in a text field) are written as \xNN, so nothing in a file can break a line
// or drive the terminal.
std::string OneLine(const std::string& text) {
    std::string line;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            line += "\\x";
            line += kHex[c >> 4];
            line += kHex[c & 0xF];
        } else {
            line += static_cast<char>(c);
        }
    }
    return line;
}

// The key of a field the current model has: unknown keys and keys of items
// the model does not show are refused with a message.
std::optional<FieldRef> ModelField(Context& ctx, const EditSession& session, const std::string& key) {
    const std::optional<FieldRef> ref = FindField(session.Context(), key);
    if (!ref) {
        ctx.err << Format(ctx, tid::kCliUnknownField, {key}) << "\n";
        return std::nullopt;
    }
    if (!session.Shown(*ref)) {
        ctx.err << Format(ctx, tid::kCliFieldHidden, {key}) << "\n";
        return std::nullopt;
    }
    return ref;
}

// ---------------------------------------------------------------------------
// Value forms. The editor turns a text that is no frequency into a blank
// transmit frequency, and one that is no code into the nearest QT tone; a
// script's typing error must not change the file that way, so set refuses
// such values before they reach the field's rule.

bool IsOff(const EditSession& session, const std::string& text) {
    return text.empty() || EqualsIgnoringCase(text, "off") || text == session.Tables().OffText() ||
           text == session.Tables().NoneText();
}

bool IsFrequencyForm(const EditSession& session, const std::string& text) {
    return IsOff(session, text) || IsDecimalNumber(text);
}

// A QT tone in tenths of a hertz, 67.0 to 254.1, with no digit beyond the
// tenths other than 0.
bool IsQtTone(const std::string& text) {
    if (!IsDecimalNumber(text)) return false;
    const std::size_t point = text.find('.');
    const std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    if (whole.empty() || whole.size() > 3) return false;
    if (fraction.size() > 1 && fraction.find_first_not_of('0', 1) != std::string::npos) return false;
    const long tenths = std::strtol(whole.c_str(), nullptr, 10) * 10 + (fraction.empty() ? 0 : fraction[0] - '0');
    return tenths >= 670 && tenths <= 2541;
}

// D and three octal digits, with N (normal) or I (inverted) or neither.
bool IsDqtCode(const std::string& text) {
    if (text.size() < 4 || text.size() > 5 || (text[0] != 'D' && text[0] != 'd')) return false;
    for (std::size_t i = 1; i <= 3; ++i)
        if (text[i] < '0' || text[i] > '7') return false;
    return text.size() == 4 || text[4] == 'N' || text[4] == 'n' || text[4] == 'I' || text[4] == 'i';
}

// CQT1-CQT6 and CDT1-CDT6: the custom codes the preset-list models offer.
bool IsCustomCode(const EditSession& session, const std::string& text) {
    if (!UsesPresetList(session.Context().Mode()) || text.size() != 4) return false;
    const std::string table = text.substr(0, 3);
    return (EqualsIgnoringCase(table, "CQT") || EqualsIgnoringCase(table, "CDT")) && text[3] >= '1' && text[3] <= '6';
}

bool IsCodeForm(const EditSession& session, const std::string& text) {
    return IsOff(session, text) || IsQtTone(text) || IsDqtCode(text) || IsCustomCode(session, text);
}

// The reason a value is no value of the field's kind, or "" when it is one.
std::string FormRefusal(Context& ctx, const EditSession& session, const FieldRef& ref, const std::string& key,
                        const std::string& value) {
    const std::string text = Trimmed(value);
    switch (ref.field->kind) {
        case FieldKind::Frequency:
            if (!IsFrequencyForm(session, text)) return key + ": " + Format(ctx, tid::kMsgNotAFrequency, {text});
            break;
        case FieldKind::Code:
            if (!IsCodeForm(session, text)) return Format(ctx, tid::kCliNotACode, {key, text});
            break;
        default: break;
    }
    return {};
}

// ---------------------------------------------------------------------------
// fields

int RunFields(Context& ctx) {
    bool missing = false;
    const auto modelText = ctx.args.Value("--model", &missing);
    std::optional<std::string> password;
    if (!PasswordOption(ctx, password)) return kUsageError;
    const auto files = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;
    const bool byModel = modelText || missing;
    if (files.size() > 1 || (byModel && !files.empty())) {
        ctx.err << ctx.Text(tid::kCliModelOrFile) << "\n";
        return kUsageError;
    }

    Document doc;
    if (files.empty()) {
        unsigned long model = 3;  // the model New starts with
        if (byModel && (!modelText || !ParseInt(*modelText, model) || model < 1 || model > 4)) {
            ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
            return kUsageError;
        }
        const auto bands = ModelCatalogue::BandList(static_cast<int>(model), kSeparator);
        MakeNewDefaults(doc.image, doc.catalogue, static_cast<int>(model),
                        static_cast<std::uint16_t>(bands.front().data));
    } else {
        const ReadRequest req{files.front(), password, false};
        if (const int code = ReadInto(ctx, req, doc.image, doc.catalogue)) return code;
    }
    const EditSession& session = doc.Open(ctx);

    // Without a model or a file the list says only what the keys are.
    const bool withState = byModel || !files.empty();
    for (const FieldRef& ref : AllFields(session.Context())) {
        ctx.out << ref.Key() << '\t' << KindName(ref.field->kind) << '\t' << ValueSummary(session.Context(), ref);
        if (withState)
            ctx.out << '\t' << (session.Shown(ref) ? "shown" : "hidden") << '\t'
                    << (session.Enabled(ref) ? "enabled" : "disabled");
        ctx.out << '\n';
    }
    return 0;
}

// ---------------------------------------------------------------------------
// get

int RunGet(Context& ctx) {
    std::optional<std::string> password;
    if (!PasswordOption(ctx, password)) return kUsageError;
    const auto words = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;
    if (words.empty()) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (words.size() == 1) {
        ctx.err << ctx.Text(tid::kCliNoKey) << "\n";
        return kUsageError;
    }

    Document doc;
    const ReadRequest req{words.front(), password, false};
    if (const int code = ReadInto(ctx, req, doc.image, doc.catalogue)) return code;
    const EditSession& session = doc.Open(ctx);

    // Every key is checked before anything is printed, so that a script
    // never reads a partial answer as a whole one.
    std::vector<std::string> lines;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::optional<FieldRef> ref = ModelField(ctx, session, words[i]);
        if (!ref) return kUsageError;
        // As the grid shows it: a channel not in use shows empty cells on the
        // models whose grid leaves them blank.
        const GridColumn column{ref->field};
        lines.push_back(OneLine(GridCellText(session.Context(), *ref->table, column, ref->row)));
    }
    for (const std::string& line : lines) ctx.out << line << '\n';
    return 0;
}

// ---------------------------------------------------------------------------
// set

struct Assignment {
    std::string key;
    std::string value;
};

int RunSet(Context& ctx) {
    std::optional<std::string> password;
    if (!PasswordOption(ctx, password)) return kUsageError;
    bool missing = false;
    auto output = ctx.args.Value("-o", &missing);
    if (!output && !missing) output = ctx.args.Value("--output", &missing);
    const bool strict = ctx.args.Flag("--strict");
    const bool yes = ctx.args.Flag("--yes");
    const auto words = ctx.args.Positionals();
    if (!NoUnknownOptions(ctx)) return kUsageError;
    if (missing || (output && output->empty())) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return kUsageError;
    }
    if (words.empty()) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (words.size() == 1) {
        ctx.err << ctx.Text(tid::kCliNoAssignment) << "\n";
        return kUsageError;
    }
    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            ctx.err << Format(ctx, tid::kCliAssignmentForm, {words[i]}) << "\n";
            return kUsageError;
        }
        assignments.push_back({words[i].substr(0, eq), words[i].substr(eq + 1)});
    }

    const std::string& path = words.front();
    Document doc;
    const ReadRequest req{path, password, false};
    if (const int code = ReadInto(ctx, req, doc.image, doc.catalogue)) return code;
    EditSession& session = doc.Open(ctx);

    // In order, each as the editor would commit it; the first refusal ends
    // the command with nothing written.
    for (const Assignment& a : assignments) {
        const std::optional<FieldRef> ref = ModelField(ctx, session, a.key);
        if (!ref) return kUsageError;
        if (const std::string why = FormRefusal(ctx, session, *ref, a.key, a.value); !why.empty()) {
            ctx.err << why << "\n";
            return kAssignmentRefused;
        }
        const ScriptWrite w = SetFromScript(session, a.key, a.value);
        switch (w.status) {
            case ScriptWrite::Status::Applied: break;
            case ScriptWrite::Status::UnknownKey:
                ctx.err << Format(ctx, tid::kCliUnknownField, {a.key}) << "\n";
                return kUsageError;
            case ScriptWrite::Status::Hidden:
                ctx.err << Format(ctx, tid::kCliFieldHidden, {a.key}) << "\n";
                return kUsageError;
            case ScriptWrite::Status::Disabled:
                ctx.err << Format(ctx, tid::kCliFieldDisabled, {a.key}) << "\n";
                return kAssignmentRefused;
            case ScriptWrite::Status::Refused: {
                const std::string why = field::RefusalText(Language(ctx), w.result);
                ctx.err << (why.empty() ? Format(ctx, tid::kCliFieldRefused, {a.key, a.value}) : a.key + ": " + why)
                        << "\n";
                return kAssignmentRefused;
            }
        }
        // What the editor would have told the user about the value it took.
        for (const tid::TextId message : w.result.messages) ctx.err << a.key << ": " << ctx.Text(message) << "\n";
        if (strict && !w.result.messages.empty()) {
            ctx.err << Format(ctx, tid::kCliStrictRefused, {a.key}) << "\n";
            return kAssignmentRefused;
        }
    }

    // FILE is the user's own file being edited: it is replaced without a
    // question. Another file named with -o is replaced only when allowed.
    const std::string target = output ? *output : path;
    if (output && !MayReplace(ctx, target, yes)) return kDataFileCancelled;
    // The file keeps the data-file password it had; when its header cannot
    // be read again, nothing is written rather than a file without it.
    const std::optional<DataFileSecurity> security = HeaderSecurity(path);
    if (!security) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {target}) << "\n";
        return kDataFileWriteFailed;
    }
    if (WriteImage(ctx, doc.image, doc.catalogue, target, *security) != 0) return kDataFileWriteFailed;
    ctx.out << Format(ctx, tid::kCliWroteFile, {target}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("fields", "fields [--model N | FILE] [--password DIGITS]",
                "every field key with its kind and values; with a model or FILE also shown and enabled", RunFields);
VRM_CLI_COMMAND("get", "get [--password DIGITS] FILE KEY...", "the text of each field as the editor shows it",
                RunGet);
VRM_CLI_COMMAND("set", "set [--password DIGITS] [--strict] [-o OUT] [--yes] FILE KEY=VALUE...",
                "apply assignments as the editor commits them and write the file (or OUT)", RunSet);

}  // namespace vrm::cli
