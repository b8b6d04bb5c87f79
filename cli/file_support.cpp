#include "cli/file_support.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include "cli/terminal_prompter.h"
#include "core/files/data_file.h"
#include "core/files/document.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/language_table.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

// The header of a data file; false when the file is shorter than one.
bool ReadHeader(const std::string& path, std::uint8_t (&header)[kDataFileHeaderSize]) {
    std::size_t got = 0;
    return ReadFilePrefix(path, header, sizeof header, got).Ok() && got == sizeof header;
}

}  // namespace

void ReportReadFailure(Context& ctx, const std::string& path, const DataFileResult& r, bool promptSpoke) {
    std::string line;
    switch (r.code) {
        case kDataFileCannotOpen:
            if (r.problem == DataFileProblem::NotRegularFile) {
                line = Format(ctx, tid::kMsgNotRegularFile, {path});
            } else if (r.systemError) {
                line = Format(ctx, tid::kCliFileNotOpened, {path, std::strerror(r.systemError)});
            } else if (r.problem == DataFileProblem::TooShort) {
                line = Format(ctx, tid::kCliFileTruncated, {path, static_cast<long long>(r.length)});
            } else if (r.problem == DataFileProblem::TooLong) {
                line = Format(ctx, tid::kCliFileOversized, {path});
            } else if (r.problem == DataFileProblem::PasswordRefused) {
                line = Format(ctx, tid::kCliPasswordRefused, {path});
            } else {
                line = ctx.Text(tid::kMsgFileUnreadable);
            }
            break;
        case kDataFileBadSignature: {
            const std::string other = r.SignatureText();
            line = other.find("VRM") != std::string::npos ? Format(ctx, tid::kMsgOtherProgramFile, {path, other})
                                                           : Format(ctx, tid::kMsgNotADataFile, {path});
            break;
        }
        case kDataFileCancelled:
            if (promptSpoke) return;  // the prompt has said why
            line = Format(ctx, tid::kCliPasswordCancelled, {path});
            break;
        case kDataFileNotAcceptable:
        case kDataFileWrongKind: line = path + ": " + ctx.Text(tid::kMsgWrongKindOfFile); break;
        default: line = ctx.Text(tid::kMsgFileUnreadable); break;
    }
    ctx.err << line << "\n";
}

void PasswordOption(Context& ctx, std::optional<std::string>& password) { password = ctx.args.Value("--password"); }

std::optional<ReadRequest> ParseReadRequest(Context& ctx, bool withChars) {
    ReadRequest req;
    PasswordOption(ctx, req.password);
    if (withChars) req.chars = ctx.args.Flag("--chars");
    const auto files = ctx.args.Positionals();
    if (files.size() != 1) {
        ctx.err << ctx.Text(tid::kCliOneFile) << "\n";
        return std::nullopt;
    }
    req.path = files.front();
    return req;
}

int ReadInto(Context& ctx, const ReadRequest& req, Document& document, int* readCode) {
    TerminalPrompter prompter(ctx.err, ctx.language);
    prompter.SetPassword(req.password);
    prompter.SetSubject(req.path);
    const DataFileResult r = document.Open(req.path, prompter);
    if (readCode) *readCode = r.code;
    if (!r.Ok()) {
        ReportReadFailure(ctx, req.path, r, prompter.Shown() > 0);
        return kExitInputRefused;
    }
    return 0;
}

bool HeaderProtected(const std::string& path) {
    std::uint8_t header[kDataFileHeaderSize] = {};
    return ReadHeader(path, header) && header[kDataFilePasswordOffset] != 0xFF;
}

std::optional<NewFileOutput> NewFileOutputOptions(Context& ctx, int& status) {
    const auto output = ctx.args.Value("-o");
    status = kUsageError;
    if (!output || output->empty()) {
        ctx.err << ctx.Text(tid::kCliOutputMissing) << "\n";
        return std::nullopt;
    }
    NewFileOutput o;
    o.path = *output;
    if (!DataPasswordOption(ctx, ctx.args.Value("--data-password"), o.security)) return std::nullopt;
    status = kExitNotWritten;
    if (ReportNotReplaceable(ctx, o.path)) return std::nullopt;
    status = 0;
    return o;
}

bool ParseInt(const std::string& text, unsigned long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoul(text.c_str(), &end, 0);
    return errno == 0 && end && *end == '\0' && text[0] != '-' && text[0] != '+';
}

std::string Hex(unsigned value, int digits) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%0*X", digits, value);
    return buf;
}

std::string TerminalSafe(std::string_view text, bool quoted) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        // U+0080-U+009F are C2 80 - C2 9F in UTF-8.
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const bool c1 = c == 0xC2 && next >= 0x80 && next <= 0x9F;
        if (c1 || c < 0x20 || c == 0x7F || (quoted && (c == '\\' || c == '"'))) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c1 ? next : c);
            out += buf;
            i += c1 ? 1 : 0;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool ReportNotReplaceable(Context& ctx, const std::string& path) {
    const FileOutcome check = CheckReplaceable(path);
    if (check.Ok()) return false;
    if (check.notRegular) ctx.err << Format(ctx, tid::kMsgNotRegularFile, {path}) << "\n";
    else ctx.err << Format(ctx, tid::kCliNotWritten, {path}) << " (" << std::strerror(check.systemError) << ")\n";
    return true;
}

bool ReportMissingFolder(Context& ctx, const std::string& folder) {
    struct stat st {};
    if (folder.empty() || (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) return false;
    ctx.err << Format(ctx, tid::kCliFolderMissing, {folder}) << "\n";
    return true;
}

bool MayReplace(Context& ctx, const std::string& path, bool yes) {
    if (ReportNotReplaceable(ctx, path)) return false;
    // A dangling link is asked about too: its target would be created.
    if (!NameExists(path)) return true;
    TerminalPrompter prompter(ctx.err, ctx.language);
    prompter.SetAssumeYes(yes);
    if (ConfirmOverwrite(prompter, Language(ctx), path)) return true;
    ctx.err << Format(ctx, tid::kCliNotWritten, {path}) << "\n";
    return false;
}

bool WriteTextFile(Context& ctx, const std::string& path, const std::string& text) {
    const FileOutcome r = ReplaceFile(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (r.notRegular) {
        ctx.err << Format(ctx, tid::kMsgNotRegularFile, {path}) << "\n";
        return false;
    }
    if (!r.Ok() || r.writeFailed) {
        ctx.err << Format(ctx, tid::kCliNotWritten, {path});
        if (r.systemError) ctx.err << " (" << std::strerror(r.systemError) << ")";
        ctx.err << "\n";
        return false;
    }
    if (!r.ownerKept) ctx.err << Format(ctx, tid::kMsgOwnerNotKept, {path}) << "\n";
    return true;
}

int SaveDocument(Context& ctx, Document& document, const std::string& path, const DataFileSecurity& security) {
    const DataFileResult r = document.Save(path, security, SystemClock::Instance());
    if (r.Ok()) {
        if (!r.ownerKept) ctx.err << Format(ctx, tid::kMsgOwnerNotKept, {path}) << "\n";
        return 0;
    }
    if (r.problem == DataFileProblem::NotRegularFile) {
        ctx.err << Format(ctx, tid::kMsgNotRegularFile, {path}) << "\n";
        return kExitNotWritten;
    }
    ctx.err << Format(ctx, tid::kCliNotWritten, {path});
    if (r.systemError) ctx.err << " (" << std::strerror(r.systemError) << ")";
    ctx.err << "\n";
    return kExitNotWritten;
}

}  // namespace vrm::cli
