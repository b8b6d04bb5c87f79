#include "app/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vrm {

namespace {

constexpr const char* kMagic = "VRM650T recovery 1";

int MakeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        if (::mkdir(folder.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST) return errno;
    }
    return 0;
}

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string DefaultStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return std::string(state) + "/vrm650t";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/state/vrm650t";
}

RecoveryCopy::RecoveryCopy(std::string folder) : path_(std::move(folder) + "/recovery") {}

int RecoveryCopy::Write(const ImageBuffer& image, const std::string& documentPath) {
    if (const int e = MakeFolders(path_.substr(0, path_.rfind('/')))) return e;
    static const char* kHex = "0123456789ABCDEF";
    std::string text = std::string(kMagic) + "\nfile " + documentPath + "\nimage ";
    for (std::uint8_t b : image) {
        text += kHex[b >> 4];
        text += kHex[b & 15];
    }
    text += "\nend\n";
    // The copy holds the user's unsaved data: only the user may read it.
    const std::string temp = path_ + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno;
    const bool ok = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int error = ok ? 0 : (errno ? errno : EIO);
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path_.c_str()) != 0) {
        const int e = error ? error : errno;
        ::unlink(temp.c_str());
        return e ? e : EIO;
    }
    present_ = true;
    return 0;
}

void RecoveryCopy::Remove() {
    ::unlink(path_.c_str());
    present_ = false;
    lastWrite_ = 0;
}

std::optional<RecoveredData> RecoveryCopy::Find() const {
    std::ifstream in(path_, std::ios::binary);
    std::string magic, fileLine, imageLine, end;
    if (!std::getline(in, magic) || magic != kMagic) return std::nullopt;
    if (!std::getline(in, fileLine) || fileLine.rfind("file ", 0) != 0) return std::nullopt;
    if (!std::getline(in, imageLine) || imageLine.rfind("image ", 0) != 0) return std::nullopt;
    // The last line shows the copy is complete.
    if (!std::getline(in, end) || end != "end") return std::nullopt;
    const std::string hex = imageLine.substr(6);
    RecoveredData data;
    if (hex.size() != data.image.size() * 2) return std::nullopt;
    for (std::size_t i = 0; i < data.image.size(); ++i) {
        const std::string byte = hex.substr(2 * i, 2);
        char* stop = nullptr;
        const unsigned long v = std::strtoul(byte.c_str(), &stop, 16);
        if (stop != byte.c_str() + 2) return std::nullopt;
        data.image[i] = static_cast<std::uint8_t>(v);
    }
    data.documentPath = fileLine.substr(5);
    return data;
}

void RecoveryCopy::Checkpoint(bool modified, const ImageBuffer& image, const std::string& documentPath,
                              std::time_t now, int minSeconds) {
    if (!modified) {
        if (present_) Remove();
        return;
    }
    if (present_ && minSeconds > 0 && now - lastWrite_ < minSeconds) return;
    if (Write(image, documentPath) == 0) lastWrite_ = now;
}

}  // namespace vrm
