// What the commands that read or write data files share: the --password
// option and the read into a Document with its one-line reason, the output
// file and data-file password of the commands that write a new data file,
// the overwrite question and the save with its message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "core/files/data_file.h"

namespace vrm {
class Document;
struct DataFileResult;
}  // namespace vrm

namespace vrm::cli {

// The options and the one file name of show, dump and check.
struct ReadRequest {
    std::string path;
    std::optional<std::string> password;
    bool chars = false;
};

// Takes "--password DIGITS" into `password`.
void PasswordOption(Context& ctx, std::optional<std::string>& password);

// The options and exactly one file name; nothing, with a message, on wrong
// usage.
std::optional<ReadRequest> ParseReadRequest(Context& ctx, bool withChars);

// Opens the file in `document` as Open does (a password prompt on the
// terminal when --password is missing). 0 on success; else
// kExitInputRefused, with the reason on stderr, and the document unchanged.
// The data file's own read result code goes to `readCode` when asked for.
int ReadInto(Context& ctx, const ReadRequest& req, Document& document, int* readCode = nullptr);

// The one-line reason for a refused data-file read on stderr (nothing when
// the password prompt has already said why).
void ReportReadFailure(Context& ctx, const std::string& path, const DataFileResult& r, bool promptSpoke);

// True, with the reason on stderr, when `path` cannot be replaced at all (a
// folder, a device, a pipe, a file the user may not write); checked before
// any work is done for it.
bool ReportNotReplaceable(Context& ctx, const std::string& path);

// True when the file's header carries a data-file password.
bool HeaderProtected(const std::string& path);

// "-o FILE" and "--data-password DIGITS" of the commands that write a new
// data file (new, import, radio read): FILE must be named and replaceable,
// the password one to six digits. Nothing, with the message, when not; then
// `status` is kUsageError or kExitNotWritten.
struct NewFileOutput {
    std::string path;
    DataFileSecurity security;
};
std::optional<NewFileOutput> NewFileOutputOptions(Context& ctx, int& status);

// A plain unsigned number (decimal, or hexadecimal with 0x).
bool ParseInt(const std::string& text, unsigned long& value);
// "0x0105"
std::string Hex(unsigned value, int digits);

// A UTF-8 text from a data file made safe for a terminal: the C0 and C1
// control characters and DEL are written as \xNN (their code), so nothing in
// a file can break a line or drive the terminal. With `quoted` backslash and
// double quote are escaped too, for a text shown between double quotes.
std::string TerminalSafe(std::string_view text, bool quoted);

// True, with the reason on stderr, when `folder` is not an existing folder: a
// folder the user names is used as it is and never created.
bool ReportMissingFolder(Context& ctx, const std::string& folder);

// True when `path` may be written: it can be replaced, and it does not exist
// yet (not even as a dangling link) or the overwrite question was answered OK (by --yes, or on the terminal). A refusal has
// been reported.
bool MayReplace(Context& ctx, const std::string& path, bool yes);

// Writes `text` to `path` (the overwrite question answered already); false,
// with the reason on stderr, when it was not written.
bool WriteTextFile(Context& ctx, const std::string& path, const std::string& text);

// Saves the document to `path` with `security`, or with the password of the
// file it was opened from when `security` has none. 0, or kExitNotWritten
// with the reason on stderr.
int SaveDocument(Context& ctx, Document& document, const std::string& path, const DataFileSecurity& security = {});

}  // namespace vrm::cli
