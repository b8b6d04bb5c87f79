#include "core/base/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

namespace vrm {

namespace {

// More links in a row than this are a loop, as the system counts them.
constexpr int kMaxLinkHops = 40;
// Characters the temporary name adds to the target's: ".", "." and up to 24
// for the unique part and ".tmp".
constexpr std::size_t kTempExtra = 30;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    int Close() {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

FileOutcome SystemError(int error) {
    FileOutcome o;
    o.systemError = error;
    return o;
}

FileOutcome NotRegular() {
    FileOutcome o;
    o.notRegular = true;
    return o;
}

std::string Folder(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens an input without blocking (a FIFO with no writer would wait for
// ever) and lets only a regular file through; the descriptor then blocks
// again for the reads.
int OpenRegular(const std::string& path, FileOutcome& outcome, struct stat& st) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        outcome = SystemError(errno);
        return -1;
    }
    if (::fstat(fd, &st) != 0) {
        outcome = SystemError(errno);
        ::close(fd);
        return -1;
    }
    if (S_ISDIR(st.st_mode)) {
        outcome = SystemError(EISDIR);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        outcome = NotRegular();
        ::close(fd);
        return -1;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// Reads until `size` bytes or the end; -1 with errno set on failure.
long ReadUpTo(int fd, char* buf, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(fd, buf + got, size - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<long>(got);
}

bool WriteAll(int fd, const std::uint8_t* buf, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, buf + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new, empty temporary file beside `target`, named after it (shortened so
// that the temporary name fits wherever the target's name fits).
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    std::string base = BaseName(target);
    if (base.size() + kTempExtra > NAME_MAX) base.resize(NAME_MAX > kTempExtra ? NAME_MAX - kTempExtra : 0);
    const std::string stem = Folder(target) + "/." + base + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto now = static_cast<unsigned long long>(
            std::chrono::steady_clock::now().time_since_epoch().count());
        char suffix[40];
        std::snprintf(suffix, sizeof suffix, "%x%x%llx.tmp", static_cast<unsigned>(::getpid()),
                      counter.fetch_add(1), now & 0xFFFFFF);
        tempPath = stem + suffix;
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

// Gives the new file the replaced one's owner, group and mode. The owner can
// only be given away by a privileged process; an unprivileged one that is not
// the owner keeps what it can (the group, the mode) and reports the rest.
bool KeepOwnership(int fd, const struct stat& old) {
    bool ownerKept = true;
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
            ownerKept = old.st_uid == ::geteuid();
        }
    }
    // After the change of owner, which may clear set-ID bits.
    (void)::fchmod(fd, old.st_mode & 07777);
    return ownerKept;
}

}  // namespace

FileOutcome ReadRegularFile(const std::string& path, std::size_t limit, std::string& data) {
    FileOutcome outcome;
    struct stat st {};
    const int fd = OpenRegular(path, outcome, st);
    if (fd < 0) return outcome;
    Fd file(fd);
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        outcome.tooLarge = true;
        return outcome;
    }
    // One byte past what it holds, so that a file that grew meanwhile is read
    // to its end, and one past the limit shows as too large.
    data.resize(std::min(limit, static_cast<std::size_t>(st.st_size)) + 1);
    std::size_t got = 0;
    for (;;) {
        const long n = ReadUpTo(fd, data.data() + got, data.size() - got);
        if (n < 0) return SystemError(errno);
        got += static_cast<std::size_t>(n);
        if (got < data.size()) break;
        if (got > limit) {
            outcome.tooLarge = true;
            data.clear();
            return outcome;
        }
        data.resize(std::min(limit + 1, data.size() * 2));
    }
    data.resize(got);
    return outcome;
}

FileOutcome ReadFilePrefix(const std::string& path, std::uint8_t* buf, std::size_t size, std::size_t& got) {
    FileOutcome outcome;
    got = 0;
    struct stat st {};
    const int fd = OpenRegular(path, outcome, st);
    if (fd < 0) return outcome;
    Fd file(fd);
    const long n = ReadUpTo(fd, reinterpret_cast<char*>(buf), size);
    if (n < 0) return SystemError(errno);
    got = static_cast<std::size_t>(n);
    return outcome;
}

std::string WriteTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= link.size()) return path;
        link.resize(static_cast<std::size_t>(n));
        current = link.front() == '/' || current.find('/') == std::string::npos ? link
                                                                                : Folder(current) + "/" + link;
    }
    return path;
}

bool NameExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

FileOutcome CheckReplaceable(const std::string& requested) {
    const std::string path = WriteTarget(requested);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        // A new name is fine; a loop of links or a folder we may not enter is not.
        return errno == ENOENT ? FileOutcome{} : SystemError(errno);
    }
    if (S_ISDIR(st.st_mode)) return SystemError(EISDIR);
    if (!S_ISREG(st.st_mode)) return NotRegular();
    // A file the user may not write stays as it is, although a rename in its
    // folder could replace it.
    if (::access(path.c_str(), W_OK) != 0) return SystemError(errno);
    return {};
}

FileOutcome ReplaceFile(const std::string& requested, const std::uint8_t* bytes, std::size_t size) {
    FileOutcome outcome = CheckReplaceable(requested);
    if (!outcome.Ok()) return outcome;
    const std::string path = WriteTarget(requested);
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;

    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) return SystemError(errno);
    Fd file(fd);
    if (exists) outcome.ownerKept = KeepOwnership(fd, old);

    auto fail = [&](int error) {
        if (file.Get() >= 0) file.Close();
        ::unlink(tempPath.c_str());
        FileOutcome failed = SystemError(error);
        failed.writeFailed = true;
        return failed;
    };
    if (!WriteAll(fd, bytes, size)) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (file.Close() != 0) return fail(errno);
    if (::rename(tempPath.c_str(), path.c_str()) != 0) return fail(errno);

    // Make the rename itself durable; a failure here loses nothing.
    const int dir = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return outcome;
}

std::string WithTrailingSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

}  // namespace vrm
