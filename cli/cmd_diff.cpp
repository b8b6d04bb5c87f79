// vrm650t-cli diff: where two data files differ, item by item with the
// editors' keys, sections, labels and texts; --raw adds every differing
// byte, --json prints the same content as one JSON document.
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "cli/file_support.h"
#include "core/exchange/image_compare.h"
#include "core/files/document.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

struct DiffRequest {
    std::string first, second;
    std::optional<std::string> firstPassword, secondPassword;
    bool raw = false;
    bool json = false;
};

std::optional<DiffRequest> ParseDiff(Context& ctx) {
    DiffRequest req;
    const std::vector<std::string> passwords = ctx.args.Values("--password");
    if (passwords.size() > 2) {
        ctx.err << ctx.Text(tid::kDiffPasswords) << "\n";
        return std::nullopt;
    }
    if (!passwords.empty()) {
        req.firstPassword = passwords.front();
        req.secondPassword = passwords.back();
    }
    req.raw = ctx.args.Flag("--raw");
    req.json = ctx.json;
    const auto files = ctx.args.Positionals();
    if (files.size() != 2) {
        ctx.err << ctx.Text(tid::kDiffTwoFiles) << "\n";
        return std::nullopt;
    }
    req.first = files[0];
    req.second = files[1];
    return req;
}

nlohmann::json Side(const std::string& path, const std::string& model) {
    return {{"file", path}, {"model", model}};
}

void PrintJson(Context& ctx, const DiffRequest& req, const FileComparison& c, const ImageBuffer& a,
               const ImageBuffer& b) {
    nlohmann::json doc;
    doc["identical"] = c.Identical();
    doc["sameModel"] = c.SameModel();
    doc["first"] = Side(req.first, c.firstModel);
    doc["second"] = Side(req.second, c.secondModel);
    nlohmann::json list = nlohmann::json::array();
    for (const FieldDifference& d : c.items.fields)
        list.push_back({{"key", d.key}, {"section", d.section}, {"row", d.row}, {"label", d.label},
                        {"a", d.document}, {"b", d.radio}});
    doc["differences"] = std::move(list);
    doc["otherBytes"] = c.items.otherBytes.size();
    if (req.raw) {
        nlohmann::json bytes = nlohmann::json::array();
        for (std::size_t at : c.bytes) bytes.push_back({{"address", at}, {"a", a[at]}, {"b", b[at]}});
        doc["raw"] = std::move(bytes);
    }
    // Texts of a file need not be valid UTF-8: such bytes become U+FFFD
    // rather than ending the command with an exception.
    ctx.out << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

void PrintText(Context& ctx, const DiffRequest& req, const FileComparison& c, const ImageBuffer& a,
               const ImageBuffer& b) {
    if (c.Identical()) {
        ctx.out << ctx.Text(tid::kCliCompareIdentical) << "\n";
        return;
    }
    if (!c.SameModel()) ctx.out << Format(ctx, tid::kDiffModels, {c.firstModel, c.secondModel}) << "\n";
    // KEY <tab> section <tab> label <tab> first file's text <tab> second's
    for (const FieldDifference& d : c.items.fields)
        ctx.out << d.key << '\t' << d.Place() << '\t' << d.label << '\t' << TerminalSafe(d.document, false) << '\t'
                << TerminalSafe(d.radio, false) << "\n";
    if (req.raw) {
        // ADDRESS <tab> first file's byte <tab> second's
        for (std::size_t at : c.bytes)
            ctx.out << Hex(static_cast<unsigned>(at), 3) << '\t' << Hex(a[at], 2) << '\t' << Hex(b[at], 2) << "\n";
    } else if (!c.items.otherBytes.empty()) {
        ctx.out << Format(ctx, tid::kDiffOtherBytes, {static_cast<long long>(c.items.otherBytes.size())}) << "\n";
    }
}

int RunDiff(Context& ctx) {
    const std::optional<DiffRequest> req = ParseDiff(ctx);
    if (!req) return kUsageError;
    Document first(Language(ctx)), second(Language(ctx));
    if (ReadInto(ctx, {req->first, req->firstPassword, false}, first) != 0) return kExitInputRefused;
    if (ReadInto(ctx, {req->second, req->secondPassword, false}, second) != 0) return kExitInputRefused;

    const ImageBuffer& a = first.Image().Live();
    const ImageBuffer& b = second.Image().Live();
    const FileComparison c = CompareFiles(a, b, Language(ctx), kSeparator);
    if (req->json)
        PrintJson(ctx, *req, c, a, b);
    else
        PrintText(ctx, *req, c, a, b);
    return c.Identical() ? 0 : kExitNo;
}

}  // namespace

VRM_CLI_COMMAND("diff",
                "list the items where two data files differ, with both texts; --raw adds the differing bytes "
                "(status 0 identical, 1 different, 2 a file unreadable)",
                RunDiff,
                {Repeated("--password", "DIGITS", "the files' data-file password; given twice, FILE1's then FILE2's"),
                 Switch("--raw", "list every differing byte as well"), Operand("FILE1", "the first data file"),
                 Operand("FILE2", "the second data file")},
                true);

}  // namespace vrm::cli
