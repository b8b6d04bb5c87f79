// vrm650t-cli print: the print-out of a data file's lists as PDF, HTML or
// plain text, laid out as the program prints it.
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "cli/pdf_module.h"
#include "core/fields/edit_session.h"
#include "core/files/document.h"
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

// What print was asked for.
struct PrintRequest {
    ReadRequest file;
    std::string output;
    OutputKind format = OutputKind::Pdf;
    bool letter = false;
    bool listsGiven = false;  // --lists named them; else all the model has
    std::vector<print::PrintList> lists;
    bool yes = false;
};

// The options and FILE; nothing, with a message, on wrong usage.
std::optional<PrintRequest> ParsePrint(Context& ctx) {
    PrintRequest req;
    PasswordOption(ctx, req.file.password);
    const auto listsText = ctx.args.Value("--lists");
    const auto output = ctx.args.Value("-o");
    const auto formatText = ctx.args.Value("--format");
    const auto pageText = ctx.args.Value("--page");
    req.yes = ctx.args.Flag("--yes");
    const auto rest = ctx.args.Positionals();
    if (rest.size() != 1 || !output || output->empty()) {
        ctx.err << ctx.Text(tid::kCliPrintOutput) << "\n";
        return std::nullopt;
    }
    req.file.path = rest.front();
    req.output = *output;
    const std::string name = formatText ? *formatText : Extension(*output);
    const std::optional<OutputKind> format = KindNamed(name);
    if (!format) {
        ctx.err << Format(ctx, tid::kCliPrintFormat, {name}) << "\n";
        return std::nullopt;
    }
    req.format = *format;
    if (pageText && *pageText != "a4" && *pageText != "A4") {
        req.letter = *pageText == "letter" || *pageText == "Letter";
        if (!req.letter) {
            ctx.err << Format(ctx, tid::kCliPrintPage, {*pageText}) << "\n";
            return std::nullopt;
        }
    }
    for (const print::PrintListInfo& info : print::PrintLists()) req.lists.push_back(info.list);
    if (listsText) {
        std::string bad;
        const auto parsed = print::ParseLists(*listsText, &bad);
        if (!parsed || parsed->empty()) {
            ctx.err << Format(ctx, tid::kCliPrintUnknownList, {bad, print::AllListTokens()}) << "\n";
            return std::nullopt;
        }
        req.lists = *parsed;
        req.listsGiven = true;
    }
#ifndef VRM_CLI_PDF
    if (req.format == OutputKind::Pdf) {
        ctx.err << ctx.Text(tid::kCliPrintNoPdf) << "\n";
        return std::nullopt;
    }
#endif
    return req;
}

// The print-out's bytes in the asked format; false when a PDF could not be
// made.
bool Render(Context& ctx, const PrintRequest& req, const print::Document& doc, std::string& bytes) {
    switch (req.format) {
        case OutputKind::Text: bytes = print::WriteText(doc); break;
        case OutputKind::Html: bytes = print::WriteHtml(doc, Language(ctx).Text(tid::kPrintLanguageCode)); break;
        case OutputKind::Pdf: {
#ifdef VRM_CLI_PDF
            print::PdfOptions options;
            options.fontFamily = Language(ctx).Settings().FontName();
            options.letter = req.letter;
            return MakePdfWithWriter(doc, options, bytes);
#else
            (void)ctx;
            return false;
#endif
        }
    }
    return true;
}

int RunPrint(Context& ctx) {
    const std::optional<PrintRequest> req = ParsePrint(ctx);
    if (!req) return kUsageError;
#ifdef VRM_CLI_PDF
    // The PDF writer is opened only now that a PDF is asked for.
    if (std::string writer, reason; req->format == OutputKind::Pdf && !LoadPdfWriter(writer, reason)) {
        ctx.err << Format(ctx, tid::kCliPdfWriterMissing, {writer, reason}) << "\n";
        return kExitNotWritten;
    }
#endif
    Document document(Language(ctx));
    if (const int code = ReadInto(ctx, req->file, document)) return code;
    EditSession& session = document.Session();
    if (req->listsGiven) {
        for (const print::PrintList list : req->lists) {
            if (!print::ListOffered(session.Context(), list)) {
                ctx.err << Format(ctx, tid::kCliPrintListAbsent, {print::InfoOf(list).token}) << "\n";
                return kUsageError;
            }
        }
    }
    if (!MayReplace(ctx, req->output, req->yes)) return kExitNotWritten;
    const print::Document doc = print::BuildConfigurationDocument(
        session, req->lists, {BaseName(req->file.path), print::PrintedNow(Language(ctx))});
    std::string bytes;
    if (!Render(ctx, *req, doc, bytes)) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {req->output}) << "\n";
        return kExitNotWritten;
    }
    if (!WriteTextFile(ctx, req->output, bytes)) return kExitNotWritten;
    ctx.out << Format(ctx, tid::kCliWroteFile, {req->output}) << "\n";
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
