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
#include "cli/json_output.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

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
    const auto modelText = ctx.args.Value("--model");
    std::optional<std::string> password;
    PasswordOption(ctx, password);
    const auto files = ctx.args.Positionals();
    const bool byModel = modelText.has_value();
    if (files.size() > 1 || (byModel && !files.empty())) {
        ctx.err << ctx.Text(tid::kCliModelOrFile) << "\n";
        return kUsageError;
    }

    Document doc(Language(ctx));
    if (files.empty()) {
        unsigned long model = 3;  // the model New starts with
        if (byModel && (!modelText || !ParseInt(*modelText, model) || model < 1 || model > 4)) {
            ctx.err << ctx.Text(tid::kCliModelRange) << "\n";
            return kUsageError;
        }
        const auto bands = ModelCatalogue::BandList(static_cast<int>(model), kSeparator);
        doc.NewOfModel(static_cast<int>(model), static_cast<std::uint16_t>(bands.front().data));
    } else {
        const ReadRequest req{files.front(), password, false};
        if (const int code = ReadInto(ctx, req, doc)) return code;
    }
    const EditSession& session = doc.Session();

    // Without a model or a file the list says only what the keys are.
    const bool withState = byModel || !files.empty();
    if (ctx.json) {
        Json list = Json::array();
        for (const FieldRef& ref : AllFields(session.Context())) {
            Json f{{"key", ref.Key()}, {"kind", KindName(ref.field->kind)},
                   {"values", ValueSummary(session.Context(), ref)}};
            if (withState) {
                f["shown"] = session.Shown(ref);
                f["enabled"] = session.Enabled(ref);
            }
            list.push_back(std::move(f));
        }
        Json answer;
        if (withState) answer["model"] = session.Context().catalogue.ModelSummaryText(kSeparator);
        answer["fields"] = std::move(list);
        PrintJson(ctx, answer);
        return 0;
    }
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
    PasswordOption(ctx, password);
    const auto words = ctx.args.Positionals();
    if (words.empty()) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return kUsageError;
    }
    if (words.size() == 1) {
        ctx.err << ctx.Text(tid::kCliNoKey) << "\n";
        return kUsageError;
    }

    Document doc(Language(ctx));
    const ReadRequest req{words.front(), password, false};
    if (const int code = ReadInto(ctx, req, doc)) return code;
    const EditSession& session = doc.Session();

    // Every key is checked before anything is printed, so that a script
    // never reads a partial answer as a whole one.
    std::vector<std::string> texts;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::optional<FieldRef> ref = ModelField(ctx, session, words[i]);
        if (!ref) return kUsageError;
        // As the grid shows it: a channel not in use shows empty cells on the
        // models whose grid leaves them blank.
        const GridColumn column{ref->field};
        texts.push_back(GridCellText(session.Context(), *ref->table, column, ref->row));
    }
    if (ctx.json) {
        Json values = Json::object();
        for (std::size_t i = 1; i < words.size(); ++i) values[words[i]] = texts[i - 1];
        PrintJson(ctx, Json{{"file", words.front()}, {"fields", std::move(values)}});
        return 0;
    }
    // Control characters a text field may hold are escaped: one line a key.
    for (const std::string& text : texts) ctx.out << TerminalSafe(text, false) << '\n';
    return 0;
}

// ---------------------------------------------------------------------------
// set

struct Assignment {
    std::string key;
    std::string value;
};

// The KEY=VALUE words after FILE; nothing, with a message, when one is not
// an assignment.
std::optional<std::vector<Assignment>> ParseAssignments(Context& ctx, const std::vector<std::string>& words) {
    std::vector<Assignment> assignments;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::size_t eq = words[i].find('=');
        if (eq == std::string::npos || eq == 0) {
            ctx.err << Format(ctx, tid::kCliAssignmentForm, {words[i]}) << "\n";
            return std::nullopt;
        }
        assignments.push_back({words[i].substr(0, eq), words[i].substr(eq + 1)});
    }
    return assignments;
}

// Commits one assignment as the editor would; 0, or the exit status of its
// refusal (told on stderr).
int Assign(Context& ctx, EditSession& session, const Assignment& a, bool strict) {
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
            return kExitValueRefused;
        case ScriptWrite::Status::Refused: {
            const std::string why = field::RefusalText(Language(ctx), w.result);
            ctx.err << (why.empty() ? Format(ctx, tid::kCliFieldRefused, {a.key, a.value}) : a.key + ": " + why)
                    << "\n";
            return kExitValueRefused;
        }
    }
    // What the editor would have told the user about the value it took,
    // and what it holds when that is not the value given.
    for (const tid::TextId message : w.result.messages) ctx.err << a.key << ": " << ctx.Text(message) << "\n";
    if (w.stored) ctx.err << TerminalSafe(field::StoredNote(Language(ctx), a.key, a.value, *w.stored), false) << "\n";
    if (strict && (!w.result.messages.empty() || w.stored)) {
        ctx.err << Format(ctx, tid::kCliStrictRefused, {a.key}) << "\n";
        return kExitValueRefused;
    }
    return 0;
}

int RunSet(Context& ctx) {
    std::optional<std::string> password;
    PasswordOption(ctx, password);
    const auto output = ctx.args.Value("-o");
    const bool strict = ctx.args.Flag("--strict");
    const bool yes = ctx.args.Flag("--yes");
    const auto words = ctx.args.Positionals();
    if (output && output->empty()) {
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
    const std::optional<std::vector<Assignment>> assignments = ParseAssignments(ctx, words);
    if (!assignments) return kUsageError;

    const std::string& path = words.front();
    Document doc(Language(ctx));
    if (const int code = ReadInto(ctx, {path, password, false}, doc)) return code;
    // In order, each as the editor would commit it; the first refusal ends
    // the command with nothing written.
    for (const Assignment& a : *assignments)
        if (const int refused = Assign(ctx, doc.Session(), a, strict)) return refused;

    // FILE is the user's own file being edited: it is replaced without a
    // question. Another file named with -o is replaced only when allowed.
    const std::string target = output ? *output : path;
    if (output && !MayReplace(ctx, target, yes)) return kExitNotWritten;
    // The file keeps the data-file password it was opened with.
    if (SaveDocument(ctx, doc, target) != 0) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kCliWroteFile, {target}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("fields", "every field key with its kind and values; with a model or FILE also shown and enabled",
                RunFields,
                {Valued("--model", "N", "the fields of model N (1-4) with its New defaults"),
                 Valued("--password", "DIGITS", "FILE's data-file password"),
                 Operand("FILE", "the fields of this data file", false)},
                true);
VRM_CLI_COMMAND("get", "the text of each field as the editor shows it", RunGet,
                {Valued("--password", "DIGITS", "FILE's data-file password"), Operand("FILE", "the data file"),
                 Operands("KEY", "field keys (see fields)")},
                true);
VRM_CLI_COMMAND("set", "apply assignments as the editor commits them and write the file (or OUT)", RunSet,
                {Valued("--password", "DIGITS", "FILE's data-file password"),
                 Switch("--strict", "refuse a value the editor would change or store differently (a note about it)"),
                 Valued("-o,--output", "OUT", "write OUT instead of replacing FILE"),
                 Switch("--yes", "replace an existing OUT without asking"), Operand("FILE", "the data file"),
                 Operands("KEY=VALUE", "assignments, applied in order")});

}  // namespace vrm::cli
