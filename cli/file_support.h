// What the commands that read or write data files share: the --password
// option and the read with its one-line reason, the New defaults of a model,
// the data-file password a file carries, the overwrite question and the write
// with its message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli.h"

namespace vrm {
class ModelCatalogue;
class RadioImage;
struct DataFileSecurity;
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

// Reads the file as Open does. On success the image is in `image` (live) and
// 0 is returned; else kExitInputRefused, with the reason on stderr. The data
// file's own read result code goes to `readCode` when asked for.
int ReadInto(Context& ctx, const ReadRequest& req, RadioImage& image, ModelCatalogue& catalogue,
             int* readCode = nullptr);

// The one-line reason for a refused data-file read on stderr (nothing when
// the password prompt has already said why).
void ReportReadFailure(Context& ctx, const std::string& path, const DataFileResult& r, bool promptSpoke);

// True, with the reason on stderr, when `path` cannot be replaced at all (a
// folder, a device, a pipe, a file the user may not write); checked before
// any work is done for it.
bool ReportNotReplaceable(Context& ctx, const std::string& path);

// True when the file's header carries a data-file password.
bool HeaderProtected(const std::string& path);
// The data-file password of the file's header as the writer takes it back
// (switched off when the file carries none); nothing when the header cannot
// be read.
std::optional<DataFileSecurity> HeaderSecurity(const std::string& path);

// The New defaults of `model` in band `bandWord`, as the New command makes
// them (with the preset channels of the preset-list models).
void MakeNewDefaults(RadioImage& image, ModelCatalogue& catalogue, int model, std::uint16_t bandWord);

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

// Writes the live image to `path`. 0, or kExitNotWritten with the reason on
// stderr.
int WriteImage(Context& ctx, RadioImage& image, const ModelCatalogue& catalogue, const std::string& path,
               const DataFileSecurity& security);

}  // namespace vrm::cli
