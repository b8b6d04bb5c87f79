#include "core/link/programming_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <thread>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// A log beyond this size is not searched for unfinished writes (years of
// rows come to a few megabytes).
constexpr std::size_t kLogReadLimit = 64u << 20;

std::string CsvField(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string q = "\"";
    for (char c : value) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string() : path.substr(0, slash);
}

// Opens the log for appending; -1 with errno set when it cannot be opened
// or is not a regular file.
int OpenLog(const std::string& path) {
    if (const int e = MakeFolders(FolderOf(path))) {
        errno = e;
        return -1;
    }
    // Non-blocking open: a FIFO without a reader must not hang the write.
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int e = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        errno = e;
        return -1;
    }
    return fd;
}

// Appends `rows` (each with its line end), with the header first when the
// file is empty, in one write so that two programs logging at once never mix
// their rows. 0 or errno.
int AppendTo(int fd, const std::string& rows) {
    // One writer at a time within the program (the station's cables log at
    // once): the header goes in once, and no row is split by another.
    static std::mutex writer;
    std::lock_guard<std::mutex> lock(writer);
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    const std::string text = (st.st_size == 0 ? LogHeader() + "\n" : std::string()) + rows;
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) != text.size()) return EIO;
    return ::fsync(fd) != 0 ? errno : 0;
}

// Splits CSV text into rows of fields: quoted fields may hold commas, quotes
// (doubled) and line breaks; CR LF and LF end a row.
std::vector<std::vector<std::string>> SplitCsv(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += text[++i];
            else quoted = false;
            continue;
        }
        if (c == '"') {
            quoted = any = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
            any = true;
        } else if (c == '\n') {
            if (any || !field.empty()) {
                row.push_back(std::move(field));
                rows.push_back(std::move(row));
            }
            row.clear();
            field.clear();
            any = false;
        } else if (c != '\r') {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

bool SameWrite(const LogFields& a, const LogFields& b) {
    return a.time == b.time && a.serial == b.serial && a.dataFile == b.dataFile && a.sha256 == b.sha256 &&
           a.backupFile == b.backupFile;
}

// The data file a row names, without the note of unsaved edits.
std::string DataFileOf(const LogFields& row) {
    constexpr std::string_view kModified = " (modified)";
    std::string path = row.dataFile;
    if (path.size() > kModified.size() && path.compare(path.size() - kModified.size(), kModified.size(), kModified) == 0)
        path.resize(path.size() - kModified.size());
    return path;
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// "2026-12-08T13:45:01+01:00" as "2026-12-08 13:45:01".
std::string ShownTime(std::string iso) {
    if (iso.size() > 10 && iso[10] == 'T') iso[10] = ' ';
    return iso.substr(0, 19);
}

}  // namespace

std::string IsoTime(std::time_t when) {
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char text[64];
    std::string t(text, std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &tm));
    if (t.size() >= 5) t.insert(t.size() - 2, ":");
    return t;
}

std::string LogHeader() { return "time,serial,model,firmware,data_file,sha256,backup_file,result"; }

std::string LogRow(const LogFields& f) {
    const std::string fields[] = {f.time, f.serial, f.model, f.firmware, f.dataFile, f.sha256, f.backupFile, f.result};
    std::string row;
    for (std::size_t i = 0; i < std::size(fields); ++i) row += (i ? "," : "") + CsvField(fields[i]);
    return row;
}

int MakeFolders(const std::string& folder) {
    if (folder.empty()) return 0;
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        const std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return errno;
    }
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0) return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

int AppendLogRow(const std::string& path, const std::string& row) {
    const int fd = OpenLog(path);
    if (fd < 0) return errno;
    const int error = AppendTo(fd, row + "\n");
    const int closeError = ::close(fd) != 0 ? errno : 0;
    return error ? error : closeError;
}

LogEntry::~LogEntry() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
}

int LogEntry::Start(const std::string& path, LogFields fields) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = OpenLog(path);
    if (fd_ < 0) return errno;
    // Held until the outcome is in. A program that checks the log for
    // unfinished writes holds it only for a moment; should it not let go, the
    // write goes on without the hold rather than wait.
    for (int tries = 0; tries < 40 && ::flock(fd_, LOCK_SH | LOCK_NB) != 0; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    fields_ = std::move(fields);
    fields_.result = kLogStarted;
    const int error = AppendTo(fd_, LogRow(fields_) + "\n");
    if (error != 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return error;
}

int LogEntry::Finish(const std::string& result) {
    if (fd_ < 0) return EBADF;
    fields_.result = result;
    const int error = AppendTo(fd_, LogRow(fields_) + "\n");
    const int closeError = ::close(fd_) != 0 ? errno : 0;
    fd_ = -1;
    return error ? error : closeError;
}

std::vector<LogFields> ReadLog(const std::string& path) {
    std::string text;
    if (!ReadRegularFile(path, kLogReadLimit, text).Ok()) return {};
    std::vector<LogFields> rows;
    for (std::vector<std::string>& r : SplitCsv(text)) {
        if (r.size() != 8) continue;
        LogFields f{r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]};
        if (LogRow(f) == LogHeader()) continue;
        rows.push_back(std::move(f));
    }
    return rows;
}

std::vector<LogFields> TakeUnfinishedWrites(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    const int fd = OpenLog(path);
    if (fd < 0) return {};
    // A program that writes a radio now holds the log: its row is not
    // finished yet, and this check waits for the next start.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return {};
    }
    std::vector<LogFields> open;
    for (LogFields& row : ReadLog(path)) {
        if (row.result == kLogStarted) {
            open.push_back(std::move(row));
            continue;
        }
        for (auto it = open.begin(); it != open.end(); ++it) {
            if (!SameWrite(*it, row)) continue;
            open.erase(it);
            break;
        }
    }
    std::string completed;
    for (const LogFields& row : open) {
        LogFields done = row;
        done.result = kLogUnfinished;
        completed += LogRow(done) + "\n";
    }
    if (!completed.empty()) (void)AppendTo(fd, completed);
    ::close(fd);
    return open;
}

namespace {

std::uint32_t UnfinishedWriteTextId(const LogFields& row) {
    return row.backupFile.empty() ? tid::kUnfinishedWriteNoBackup : tid::kUnfinishedWrite;
}

}  // namespace

std::string UnfinishedWriteText(const LogFields& row, const LanguageTable& language) {
    return FormatText(language.TextString(UnfinishedWriteTextId(row)),
                      {row.dataFile, row.serial, ShownTime(row.time), row.backupFile});
}

std::string ReportUnfinishedWrites(const std::string& path, Prompter& prompter, const LanguageTable& language) {
    std::string chosen;
    for (const LogFields& row : TakeUnfinishedWrites(path)) {
        const std::string file = DataFileOf(row);
        Message m;
        m.kind = MessageKind::Warning;
        m.buttons = Buttons::YesNoCancel;
        m.defaultAnswer = Answer::Cancel;
        m.caption = language.TextString(tid::kUnfinishedCaption);
        m.text = UnfinishedWriteText(row, language);
        m.textId = static_cast<int>(UnfinishedWriteTextId(row));
        if (IsFile(row.backupFile)) m.choices.push_back({Answer::Yes, language.TextString(tid::kUnfinishedOpenBackup)});
        if (IsFile(file)) m.choices.push_back({Answer::No, language.TextString(tid::kUnfinishedOpenFile)});
        m.choices.push_back({Answer::Cancel, language.TextString(tid::kButtonClose)});
        const Answer a = prompter.Ask(m);
        if (a == Answer::Yes && IsFile(row.backupFile)) chosen = row.backupFile;
        if (a == Answer::No && IsFile(file)) chosen = file;
    }
    return chosen;
}

}  // namespace vrm
