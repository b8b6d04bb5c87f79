// The programming log: programming-log.csv, a CSV file with a header line
// and rows of time, serial, model, firmware, data file, SHA-256 of the image,
// backup file and result, appended to and never rewritten.
//
// A write leaves two rows: one when it starts (result "started") and one
// with its outcome, both with the attempt's time, radio, file, hash and
// backup, so that a program killed during the write leaves its "started"
// row behind. While a write runs its program holds the log (a shared lock),
// so that another program can tell a write that is still running from one
// that never finished.
#pragma once

#include <ctime>
#include <string>
#include <vector>

namespace vrm {

class LanguageTable;
class Prompter;

// Below the data folder: the programming log.
inline constexpr const char* kProgrammingLogName = "programming-log.csv";

// The result of a write's first row, and of the row that completes a write
// that did not finish once it has been reported.
inline constexpr const char* kLogStarted = "started";
inline constexpr const char* kLogUnfinished =
    "did not finish: the program ended during the write; radio may be partly written";

// The columns of a row.
struct LogFields {
    std::string time;      // ISO 8601 with the UTC offset
    std::string serial;
    std::string model;     // "HRV-41A:K"
    std::string firmware;
    std::string dataFile;  // absolute; " (modified)" when the document had unsaved edits
    std::string sha256;
    std::string backupFile;
    std::string result;
};

// ISO 8601 local time with the offset from UTC, "2026-12-08T13:45:01+01:00".
std::string IsoTime(std::time_t when);

// The log's first line.
std::string LogHeader();
// One row, without the line end; fields that hold a comma, a quote or a line
// break are quoted.
std::string LogRow(const LogFields& fields);

// Creates `folder` and the folders above it that are missing. 0 or errno.
int MakeFolders(const std::string& folder);

// Appends a row (and the header to a new or empty file) in one write. 0, or
// the errno of the failure. A path that is not a regular file is refused.
int AppendLogRow(const std::string& path, const std::string& row);

// A write's pair of rows. Start() appends the "started" row and holds the
// log until Finish() appends the outcome (or the entry is destroyed, or the
// process ends).
class LogEntry {
public:
    LogEntry() = default;
    ~LogEntry();
    LogEntry(const LogEntry&) = delete;
    LogEntry& operator=(const LogEntry&) = delete;

    // 0 or errno; `fields.result` is replaced by "started".
    int Start(const std::string& path, LogFields fields);
    bool Started() const { return fd_ >= 0; }
    // Appends the row with `result`. 0 or errno.
    int Finish(const std::string& result);

private:
    int fd_ = -1;
    LogFields fields_;
};

// The rows of the log (without the header), as written. Unreadable or
// malformed text gives what could be read.
std::vector<LogFields> ReadLog(const std::string& path);

// The writes that started and never finished: "started" rows with no later
// row of the same time, serial, data file, hash and backup. Each one found
// is completed with kLogUnfinished, so that it is reported once. Nothing is
// found while another program writes a radio (it holds the log) or when the
// log cannot be read or locked.
std::vector<LogFields> TakeUnfinishedWrites(const std::string& path);

// What is said of a write that did not finish: its file, radio, time and
// backup (text 19120002, or 19120003 when it kept no backup).
std::string UnfinishedWriteText(const LogFields& row, const LanguageTable& language);

// At the program's start: tells of each write in the log at `path` that did
// not finish (its file, radio, time and backup) and offers to open its
// backup or its data file, where they exist. The file the user chose to
// open, or "" for none.
std::string ReportUnfinishedWrites(const std::string& path, Prompter& prompter, const LanguageTable& language);

}  // namespace vrm
