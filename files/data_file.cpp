#include "files/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "text/language_table.h"
#include "text/prompter.h"
#include "text/text_ids.h"
#include "link/clock.h"
#include "model/model_catalogue.h"

namespace vrm {

namespace {

constexpr std::uint8_t kSignature[kDataFileSignatureSize] = {'V', 'R', 'M', '6', '5', '0', 'T', 0xFF, 0xFF, 0xFF};
constexpr char kVersion[5] = {'V', '1', '.', '1', '0'};
constexpr std::size_t kVersionOffset = 10;
constexpr char kDigitTable[10] = {'x', 'Q', '3', 'r', 'T', '7', 'k', 'L', 'm', '2'};
constexpr std::uint8_t kPasswordKey[7] = {'V', 'R', 'M', '6', '5', '0', 'T'};

// A file descriptor that closes itself.
class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    // Closes now and reports the result.
    int Close() {
        const int r = ::close(fd_);
        fd_ = -1;
        return r;
    }

private:
    int fd_;
};

// Reads up to `size` bytes; returns the count, or -1 with errno set.
long ReadUpTo(int fd, std::uint8_t* buf, std::size_t size) {
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

// The whole file, read one byte past a data file's size so that a longer
// file shows as longer. Returns the byte count, or -1 with errno set.
long ReadFile(const std::string& path, std::array<std::uint8_t, kDataFileSize + 1>& buf) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    Fd file(fd);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    return ReadUpTo(fd, buf.data(), buf.size());
}

enum class HeaderVerdict { Ok, Short, BadSignature, WrongKind, NotAcceptable };

// The header checks of Read, in their order. `length` is how many bytes the
// file holds; `result` gets the signature bytes for a refusal.
HeaderVerdict CheckHeader(const std::uint8_t* file, std::size_t length, DataFileResult& result) {
    result.signature.fill(0xFF);
    std::copy_n(file, std::min(length, kDataFileSignatureSize), result.signature.begin());
    const std::size_t have = std::min(length, kDataFileSignatureSize);
    if (!std::equal(file, file + have, kSignature)) return HeaderVerdict::BadSignature;
    if (length < kDataFileSignatureSize) return length == 0 ? HeaderVerdict::BadSignature : HeaderVerdict::Short;
    if (length < kDataFileHeaderSize) return HeaderVerdict::Short;
    if (file[kDataFileKindOffset] != kDataFileKind) return HeaderVerdict::WrongKind;
    ModelIdentity id;
    std::copy_n(file + kDataFileIdentityOffset, kIdentitySize, id.begin());
    if (!ModelCatalogue::IsAcceptable(id)) return HeaderVerdict::NotAcceptable;
    return HeaderVerdict::Ok;
}

// The descrambled image body of a complete data file.
ImageBuffer Body(const std::uint8_t* file) {
    ImageBuffer body;
    const std::uint8_t key = file[kDataFileKeyOffset];
    std::copy_n(file + kDataFileHeaderSize, kDataFileFirstPart, body.begin());
    std::copy_n(file + kDataFileKeyOffset + 1, kImageSize - kDataFileFirstPart, body.begin() + kDataFileFirstPart);
    for (auto& b : body) b ^= key;
    return body;
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

// Creates a new, empty temporary file beside `path` (mode 0666 less the
// umask). Returns the descriptor, or -1 with errno set.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem = Folder(path) + "/." + BaseName(path) + ".";
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

}  // namespace

std::string DataFileResult::SignatureText() const {
    std::string text;
    for (std::uint8_t b : signature) {
        if (b == 0xFF) break;
        text += static_cast<char>(b);
    }
    return text;
}

DataFile::DataFile(RadioImage& image, const ModelCatalogue& catalogue) : image_(image), catalogue_(catalogue) {}

std::array<std::uint8_t, kDataFilePasswordSize> DataFile::ScramblePassword(const std::string& password) {
    std::array<std::uint8_t, kDataFilePasswordSize> out;
    out.fill(0xFF);
    for (std::size_t i = 0; i < kDataFilePasswordSize && i < password.size(); ++i)
        out[i] = static_cast<std::uint8_t>(password[i]);
    for (std::size_t i = 0; i < kDataFilePasswordSize; ++i) {
        std::uint8_t b = out[i];
        if (b >= '0' && b <= '9') b = static_cast<std::uint8_t>(kDigitTable[b - '0']);
        out[i] = static_cast<std::uint8_t>(b ^ kPasswordKey[i]);
    }
    return out;
}

std::string DataFile::UnscramblePassword(const std::uint8_t* bytes) {
    std::string password;
    for (std::size_t i = 0; i < kDataFilePasswordSize; ++i) {
        std::uint8_t b = static_cast<std::uint8_t>(bytes[i] ^ kPasswordKey[i]);
        const char* hit = std::find(std::begin(kDigitTable), std::end(kDigitTable), static_cast<char>(b));
        if (hit != std::end(kDigitTable)) b = static_cast<std::uint8_t>('0' + (hit - std::begin(kDigitTable)));
        if (b == 0xFF) continue;  // padding of a shorter password
        password += static_cast<char>(b);
    }
    return password;
}

std::uint8_t DataFile::ImageKey(Clock& clock) {
    const LocalMinuteSecond t = clock.LocalTime();
    const auto key = static_cast<std::uint8_t>((t.minute + t.second + 1) & 0xFF);
    return key == 0 ? 1 : key;
}

std::array<std::uint8_t, kDataFileSize> DataFile::Build(const ImageBuffer& image, const DataFileSecurity& security,
                                                        std::uint8_t key, ImageBuffer* scrambled) {
    std::array<std::uint8_t, kDataFileSize> file;
    file.fill(0xFF);
    std::copy(std::begin(kSignature), std::end(kSignature), file.begin());
    std::copy(std::begin(kVersion), std::end(kVersion), file.begin() + kVersionOffset);
    std::copy_n(image.begin(), kIdentitySize, file.begin() + kDataFileIdentityOffset);
    file[kDataFileKindOffset] = kDataFileKind;
    if (security.dataFile) {
        const auto pw = ScramblePassword(security.password);
        std::copy(pw.begin(), pw.end(), file.begin() + kDataFilePasswordOffset);
    }
    ImageBuffer body = image;
    for (auto& b : body) b ^= key;
    std::copy_n(body.begin(), kDataFileFirstPart, file.begin() + kDataFileHeaderSize);
    file[kDataFileKeyOffset] = key;
    std::copy(body.begin() + kDataFileFirstPart, body.end(), file.begin() + kDataFileKeyOffset + 1);
    if (scrambled) *scrambled = body;
    return file;
}

DataFileResult DataFile::Write(const std::string& requested, const DataFileSecurity& security, Clock& clock) {
    DataFileResult result;
    // A link to a data file: the file it points to is replaced, the link stays.
    std::string path = requested;
    struct stat link {};
    if (::lstat(requested.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        if (char* real = ::realpath(requested.c_str(), nullptr)) {
            path = real;
            std::free(real);
        }
    }
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && S_ISDIR(target.st_mode)) {
        result.code = kDataFileCannotOpen;
        result.systemError = EISDIR;
        return result;
    }
    // A file the user may not write stays as it is, although the rename
    // below could replace it.
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        result.code = kDataFileCannotOpen;
        result.systemError = errno;
        return result;
    }

    std::string tempPath;
    const int fd = CreateTemporary(path, tempPath);
    if (fd < 0) {
        result.code = kDataFileCannotOpen;
        result.systemError = errno;
        return result;
    }
    Fd file(fd);
    // The new file keeps the permissions of the one it replaces.
    if (exists) (void)::fchmod(fd, target.st_mode & 07777);

    const std::uint8_t key = ImageKey(clock);
    const auto bytes = Build(image_.Live(), security, key, &image_.Transfer());

    auto fail = [&](int error) {
        if (file.Get() >= 0) file.Close();
        ::unlink(tempPath.c_str());
        result.code = kDataFileWriteFailed;
        result.systemError = error;
        return result;
    };
    if (!WriteAll(fd, bytes.data(), bytes.size())) return fail(errno);
    if (::fsync(fd) != 0) return fail(errno);
    if (file.Close() != 0) return fail(errno);
    if (::rename(tempPath.c_str(), path.c_str()) != 0) return fail(errno);

    // Make the rename itself durable; a failure here loses nothing.
    const int dir = ::open(Folder(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return result;
}

DataFileResult DataFile::Read(const std::string& path, Prompter& prompter, const LanguageTable& language) {
    DataFileResult result;
    std::array<std::uint8_t, kDataFileSize + 1> file;
    file.fill(0xFF);
    const long length = ReadFile(path, file);
    if (length < 0) {
        result.code = kDataFileCannotOpen;
        result.systemError = errno;
        return result;
    }

    result.length = static_cast<std::size_t>(length);
    switch (CheckHeader(file.data(), static_cast<std::size_t>(length), result)) {
        case HeaderVerdict::Ok: break;
        case HeaderVerdict::Short:
            result.code = kDataFileCannotOpen;
            result.problem = DataFileProblem::TooShort;
            return result;
        case HeaderVerdict::BadSignature: result.code = kDataFileBadSignature; return result;
        case HeaderVerdict::WrongKind: result.code = kDataFileWrongKind; return result;
        case HeaderVerdict::NotAcceptable: result.code = kDataFileNotAcceptable; return result;
    }
    // A data file is exactly 1089 bytes: a shorter one has lost part of its
    // body, a longer one is not one of ours.
    if (static_cast<std::size_t>(length) != kDataFileSize) {
        result.code = kDataFileCannotOpen;
        result.problem = static_cast<std::size_t>(length) < kDataFileSize ? DataFileProblem::TooShort
                                                                          : DataFileProblem::TooLong;
        return result;
    }

    if (file[kDataFilePasswordOffset] != 0xFF) {
        // The stored form turns the substitution table's letters into
        // digits, so a password holding such a letter (the fixed default
        // does) is compared in that same form; the raw entry would never
        // match and the file could not be opened again.
        PasswordGate gate(UnscramblePassword(file.data() + kDataFilePasswordOffset),
                          language.TextString(tid::kMsgWrongPassword), language.TextString(tid::kCaptionError), 3,
                          kDataFilePasswordSize, [](const std::string& entry) {
                              return UnscramblePassword(ScramblePassword(entry).data());
                          });
        switch (prompter.AskPassword(gate)) {
            case PasswordResult::Accepted: break;
            case PasswordResult::Refused:
                result.code = kDataFileCannotOpen;
                result.problem = DataFileProblem::PasswordRefused;
                return result;
            case PasswordResult::Cancelled: result.code = kDataFileCancelled; return result;
        }
        result.protectedFile = true;
        result.password = UnscramblePassword(file.data() + kDataFilePasswordOffset);
    }

    image_.Transfer() = Body(file.data());
    return result;
}

DataFilePreview DataFile::Preview(const std::string& path) {
    DataFilePreview preview;
    const auto dot = path.rfind('.');
    std::string extension = dot == std::string::npos ? std::string() : path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension.compare(0, 4, ".dat") != 0) {
        preview.code = kDataFileBadSignature;
        return preview;
    }

    std::array<std::uint8_t, kDataFileSize + 1> file;
    file.fill(0xFF);
    const long length = ReadFile(path, file);
    if (length < 0) {
        preview.code = kDataFileCannotOpen;
        return preview;
    }
    DataFileResult header;
    switch (CheckHeader(file.data(), static_cast<std::size_t>(length), header)) {
        case HeaderVerdict::Ok: break;
        case HeaderVerdict::Short: preview.code = kDataFileCannotOpen; return preview;
        default: preview.code = kDataFileBadSignature; return preview;
    }
    if (static_cast<std::size_t>(length) < kDataFileSize) {
        preview.code = kDataFileCannotOpen;
        return preview;
    }
    if (static_cast<std::size_t>(length) > kDataFileSize) {
        preview.code = kDataFileBadSignature;
        return preview;
    }

    const ImageBuffer body = Body(file.data());
    auto line = [&](std::size_t start) {
        std::string text;
        for (std::size_t i = 0; i < kMessageLineSize; ++i) {
            const std::uint8_t b = body[kEmbeddedMessageArea.offset + start + i];
            if (b == 0) break;
            text += static_cast<char>(b);
        }
        return text;
    };
    preview.line1 = line(0);
    preview.line2 = line(kMessageLineSize);
    return preview;
}

}  // namespace vrm
