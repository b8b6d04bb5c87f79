// vrm650t-cli lang check | lang text | lang list: language files for
// translators and installers.
//
// The reports are "key: value" lines for scripts; the messages in them are the
// language loader's own.
#include <charconv>
#include <ostream>
#include <string>

#include "core/base/language_table.h"
#include "core/base/required_text_ids.h"
#include "cli/cli.h"

namespace vrm::cli {

namespace {

// Exit status of a failed load: 10 + the load error code.
int LoadFailureStatus(int code) { return kExitLanguageBase + code; }

std::string LoaderMessage(const LanguageTable& table) {
    std::string message;
    table.ErrorText(message);
    // A file whose "*Language" row names no column fails without a message of
    // its own; to the user it is a damaged file.
    if (message.empty() && table.LastError() == LanguageTable::kNoColumns) message = LanguageTable::kDamagedMessage;
    return message;
}

bool CheckUsage(Context& ctx, std::size_t positionals, std::vector<std::string>& out, const char* usage) {
    out = ctx.args.Positionals();
    if (out.size() == positionals) return true;
    ctx.err << "usage: vrm650t-cli " << usage << "\n";
    return false;
}

int RunCheck(Context& ctx) {
    std::vector<std::string> pos;
    if (!CheckUsage(ctx, 1, pos, "lang check FILE")) return kUsageError;

    LanguageTable table;
    table.SetProgramFolder(ctx.programFolder);
    const bool ok = table.Load(pos[0], false, nullptr);
    const LanguageLoadReport& r = table.LastLoadReport();

    std::ostream& out = ctx.out;
    out << "file: " << (r.path.empty() ? pos[0] : r.path) << "\n";
    out << "code: " << r.error << "\n";
    if (!ok) out << "message: " << LoaderMessage(table) << "\n";
    if (!r.path.empty() && r.error != LanguageTable::kWouldNotOpen) {
        out << "language: " << r.displayLanguage << "\n";
        out << "columns: " << r.columns.size();
        for (std::size_t i = 0; i < r.columns.size(); ++i) out << (i == 0 ? " (" : ", ") << r.columns[i];
        out << (r.columns.empty() ? "" : ")") << "\n";
        if (ok) out << "selected column: " << r.selectedColumn << "\n";
        out << "texts: " << r.textCount << "\n";
        if (r.error == LanguageTable::kNoError || r.error == LanguageTable::kRequiredIdMissing ||
            r.error == LanguageTable::kNoColumns) {
            out << "missing required: " << r.missingRequiredIds.size();
            if (!r.missingRequiredIds.empty()) out << " (" << CompactIdList(r.missingRequiredIds) << ")";
            out << "\n";
        }
    }
    return ok ? 0 : LoadFailureStatus(r.error);
}

int RunText(Context& ctx) {
    std::vector<std::string> pos;
    if (!CheckUsage(ctx, 2, pos, "lang text FILE ID")) return kUsageError;

    std::uint32_t id = 0;
    const std::string& idText = pos[1];
    const auto parsed = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (idText.empty() || parsed.ec != std::errc() || parsed.ptr != idText.data() + idText.size()) {
        ctx.err << "usage: vrm650t-cli lang text FILE ID\n";
        return kUsageError;
    }

    LanguageTable table;
    table.SetProgramFolder(ctx.programFolder);
    if (!table.Load(pos[0], false, nullptr)) {
        ctx.err << LoaderMessage(table) << "\n";
        return LoadFailureStatus(table.LastError());
    }
    if (!table.HasText(id)) return kExitNo;
    ctx.out << table.Text(id) << "\n";
    return 0;
}

int RunList(Context& ctx) {
    std::vector<std::string> pos;
    if (!CheckUsage(ctx, 0, pos, "lang list")) return kUsageError;

    LanguageTable table;
    if (table.ScanInstalledLanguages(ctx.programFolder) < 0) return kExitInputRefused;
    for (const InstalledLanguage& l : table.InstalledLanguages()) ctx.out << l.displayName << "\t" << l.fileName << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("lang check",
                "load a language file as the program does and report every check (status 10 + load error code)",
                RunCheck, {Operand("FILE", "the language file")});
VRM_CLI_COMMAND("lang text", "print the text of one text ID (status 1 when absent)", RunText,
                {Operand("FILE", "the language file"), Operand("ID", "the text ID")});
VRM_CLI_COMMAND("lang list", "list the installed languages beside the program: display name, file name", RunList,
                {});

}  // namespace vrm::cli
