// vrm650t-cli print: the print-out of a data file's lists as PDF, HTML or
// plain text, laid out as the program prints it.
#include <cstring>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/pdf_module.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/exchange/configuration_print.h"
#include "core/exchange/print_language.h"
#include "core/base/language_table.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"
#include "core/base/text_ids_pdf.h"

namespace vrm::cli {

namespace {

enum class OutputKind { Pdf, Html, Text };

std::optional<OutputKind> KindNamed(const std::string& name) {
    if (name == "pdf") return OutputKind::Pdf;
    if (name == "html" || name == "htm") return OutputKind::Html;
    if (name == "txt" || name == "text") return OutputKind::Text;
    return std::nullopt;
}

std::string Extension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext;
}

// The file's name as the title bar shows it: without its folder.
std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int RunPrint(Context& ctx) {
    std::optional<std::string> password;
    PasswordOption(ctx, password);
    const auto listsText = ctx.args.Value("--lists");
    const auto output = ctx.args.Value("-o");
    const auto formatText = ctx.args.Value("--format");
    const auto pageText = ctx.args.Value("--page");
    const bool yes = ctx.args.Flag("--yes");
    const auto rest = ctx.args.Positionals();
    if (rest.size() != 1 || !output || output->empty()) {
        ctx.err << ctx.Text(tid::kCliPrintOutput) << "\n";
        return kUsageError;
    }
    const std::string name = formatText ? *formatText : Extension(*output);
    const std::optional<OutputKind> format = KindNamed(name);
    if (!format) {
        ctx.err << Format(ctx, tid::kCliPrintFormat, {name}) << "\n";
        return kUsageError;
    }
    bool letter = false;
    if (pageText && *pageText != "a4" && *pageText != "A4") {
        letter = *pageText == "letter" || *pageText == "Letter";
        if (!letter) {
            ctx.err << Format(ctx, tid::kCliPrintPage, {*pageText}) << "\n";
            return kUsageError;
        }
    }
    std::vector<print::PrintList> lists;
    for (const print::PrintListInfo& info : print::PrintLists()) lists.push_back(info.list);
    if (listsText) {
        std::string bad;
        const auto parsed = print::ParseLists(*listsText, &bad);
        if (!parsed || parsed->empty()) {
            ctx.err << Format(ctx, tid::kCliPrintUnknownList, {bad, print::AllListTokens()}) << "\n";
            return kUsageError;
        }
        lists = *parsed;
    }
    if (*format == OutputKind::Pdf) {
#ifdef VRM_CLI_PDF
        std::string writer, reason;
        if (!LoadPdfWriter(writer, reason)) {
            ctx.err << Format(ctx, tid::kCliPdfWriterMissing, {writer, reason}) << "\n";
            return kExitNotWritten;
        }
#else
        ctx.err << ctx.Text(tid::kCliPrintNoPdf) << "\n";
        return kUsageError;
#endif
    }

    ReadRequest req;
    req.path = rest.front();
    req.password = password;
    RadioImage image;
    ModelCatalogue catalogue(image);
    if (const int code = ReadInto(ctx, req, image, catalogue)) return code;
    EditSession session(image, catalogue, Language(ctx));
    if (listsText) {
        for (const print::PrintList list : lists) {
            if (!print::ListOffered(session.Context(), list)) {
                ctx.err << Format(ctx, tid::kCliPrintListAbsent, {print::InfoOf(list).token}) << "\n";
                return kUsageError;
            }
        }
    }
    if (!MayReplace(ctx, *output, yes)) return kExitNotWritten;
    const print::Document doc = print::BuildConfigurationDocument(session, lists, {BaseName(req.path), print::PrintedNow(Language(ctx))});

    std::string bytes;
    switch (*format) {
        case OutputKind::Text: bytes = print::WriteText(doc); break;
        case OutputKind::Html: bytes = print::WriteHtml(doc, Language(ctx).Text(tid::kPrintLanguageCode)); break;
        case OutputKind::Pdf: {
            print::PdfOptions options;
            options.fontFamily = Language(ctx).Settings().FontName();
            options.letter = letter;
            if (!MakePdfWithWriter(doc, options, bytes)) {
                ctx.err << Format(ctx, tid::kCliNotWritten, {*output}) << "\n";
                return kExitNotWritten;
            }
            break;
        }
    }
    const FileOutcome r = ReplaceFile(*output, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (r.notRegular) {
        ctx.err << Format(ctx, tid::kMsgNotRegularFile, {*output}) << "\n";
        return kExitNotWritten;
    }
    if (!r.Ok() || r.writeFailed) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {*output});
        if (r.systemError) ctx.err << " (" << std::strerror(r.systemError) << ")";
        ctx.err << "\n";
        return kExitNotWritten;
    }
    if (!r.ownerKept) ctx.err << Format(ctx, tid::kMsgOwnerNotKept, {*output}) << "\n";
    ctx.out << Format(ctx, tid::kCliWroteFile, {*output}) << "\n";
    return 0;
}

}  // namespace

VRM_CLI_COMMAND("print", "the print-out of a data file's lists as PDF, HTML or plain text", RunPrint,
                {Valued("--password", "DIGITS", "FILE's data-file password"),
                 Valued("--lists", "channels,features,...", "the lists to print (all the model has without it)"),
                 Valued("--format", "pdf|html|txt", "the output's format; from OUT's extension without it"),
                 Valued("--page", "a4|letter", "the page size of a PDF (a4 without it)"),
                 Switch("--yes", "replace an existing OUT without asking"),
                 Valued("-o,--output", "OUT", "the file to write", true), Operand("FILE", "the data file")});

}  // namespace vrm::cli
