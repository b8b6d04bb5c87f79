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
        // Control characters a text field may hold are escaped: one line a key.
        lines.push_back(TerminalSafe(GridCellText(session.Context(), *ref->table, column, ref->row), false));
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
