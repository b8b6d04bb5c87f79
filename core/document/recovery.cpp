#include "core/document/recovery.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/document/document.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr const char* kMagic = "VRM650T recovery 1";
constexpr const char* kKeepsPassword = "keeps-password";

int MakeFolders(const std::string& folder) {
    for (std::size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/') continue;
        if (::mkdir(folder.substr(0, at).c_str(), 0700) != 0 && errno != EEXIST) return errno;
    }
    return 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Replaces `path` with `size` bytes that only the user may read: a temporary
// file beside it, then a rename. 0 or errno.
int WriteFileAtomically(const std::string& path, const char* data, std::size_t size) {
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return errno;
    const bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
    const int error = ok ? 0 : (errno ? errno : EIO);
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        const int e = error ? error : errno;
        ::unlink(temp.c_str());
        return e ? e : EIO;
    }
    return 0;
}

std::string Folder(const std::string& path) { return path.substr(0, path.rfind('/')); }

std::string StampedName(std::time_t when) {
    std::tm tm {};
    ::localtime_r(&when, &tm);
    char text[64];
    return std::string(text, std::strftime(text, sizeof text, "unsaved-%Y%m%d-%H%M%S.dat", &tm));
}

}  // namespace

std::string DefaultStateFolder() {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && *state == '/') return std::string(state) + "/vrm650t";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.local/state/vrm650t";
}

RecoveryCopy::RecoveryCopy(std::string folder) : path_(std::move(folder) + "/recovery") {}

int RecoveryCopy::Write(const ImageBuffer& image, const std::string& documentPath, const DataFileSecurity& security,
                        bool keepsPassword) {
    if (const int e = MakeFolders(Folder(path_))) return e;
    std::string text = std::string(kMagic) + "\nfile " + documentPath + "\n";
    if (security.dataFile) {
        // Protected data never lies in the copy as plain bytes: it is a data
        // file with the password a save would give it.
        const auto file = DataFile::Build(image, security, DataFile::ImageKey(SystemClock::Instance()));
        if (const int e = WriteFileAtomically(DataPath(), reinterpret_cast<const char*>(file.data()), file.size()))
            return e;
        text += "data " + DataPath().substr(DataPath().rfind('/') + 1) + "\n";
        if (keepsPassword) text += std::string(kKeepsPassword) + "\n";
    } else {
        static const char* kHex = "0123456789ABCDEF";
        text += "image ";
        for (std::uint8_t b : image) {
            text += kHex[b >> 4];
            text += kHex[b & 15];
        }
        text += "\n";
    }
    text += "end\n";
    if (const int e = WriteFileAtomically(path_, text.data(), text.size())) return e;
    if (!security.dataFile) ::unlink(DataPath().c_str());
    present_ = true;
    return 0;
}

void RecoveryCopy::Remove() {
    ::unlink(path_.c_str());
    ::unlink(DataPath().c_str());
    present_ = false;
    lastWrite_ = 0;
}

std::optional<RecoveredData> RecoveryCopy::Find() const {
    std::ifstream in(path_, std::ios::binary);
    std::string magic, fileLine, body;
    if (!std::getline(in, magic) || magic != kMagic) return std::nullopt;
    if (!std::getline(in, fileLine) || fileLine.rfind("file ", 0) != 0) return std::nullopt;
    if (!std::getline(in, body)) return std::nullopt;
    RecoveredData data;
    data.documentPath = fileLine.substr(5);
    std::string line;
    if (body.rfind("data ", 0) == 0) {
        data.protectedCopy = true;
        data.dataPath = Folder(path_) + "/" + body.substr(5);
        if (!std::getline(in, line)) return std::nullopt;
        if (line == kKeepsPassword) {
            data.keepsPassword = true;
            if (!std::getline(in, line)) return std::nullopt;
        }
        // The last line shows the copy is complete.
        if (line != "end" || ::access(data.dataPath.c_str(), R_OK) != 0) return std::nullopt;
        return data;
    }
    if (body.rfind("image ", 0) != 0 || !std::getline(in, line) || line != "end") return std::nullopt;
    const std::string hex = body.substr(6);
    if (hex.size() != data.image.size() * 2) return std::nullopt;
    for (std::size_t i = 0; i < data.image.size(); ++i) {
        const std::string byte = hex.substr(2 * i, 2);
        char* stop = nullptr;
        const unsigned long v = std::strtoul(byte.c_str(), &stop, 16);
        if (stop != byte.c_str() + 2) return std::nullopt;
        data.image[i] = static_cast<std::uint8_t>(v);
    }
    return data;
}

DataFileResult RecoveryCopy::Unlock(RecoveredData& data, Prompter& prompter, const LanguageTable& language) const {
    Document file(language);
    const DataFileResult read = file.Read(data.dataPath, prompter);
    if (read.Ok()) {
        data.image = file.Image().Transfer();
        data.password = read.password;
    }
    return read;
}

std::string RecoveryCopy::SetAside(std::time_t now) {
    const std::string target = Folder(path_) + "/" + StampedName(now);
    if (::access(target.c_str(), F_OK) == 0 || ::rename(DataPath().c_str(), target.c_str()) != 0) return "";
    Remove();
    return target;
}

void RecoveryCopy::Checkpoint(bool modified, const ImageBuffer& image, const std::string& documentPath,
                              std::time_t now, int minSeconds, const DataFileSecurity& security, bool keepsPassword) {
    if (!modified) {
        if (present_) Remove();
        return;
    }
    if (present_ && minSeconds > 0 && now - lastWrite_ < minSeconds) return;
    if (Write(image, documentPath, security, keepsPassword) == 0) lastWrite_ = now;
}

RecoveryOutcome OfferRecoveredData(RecoveryCopy& copy, CZVQDoc& document, Prompter& prompter,
                                   const LanguageTable& language) {
    std::optional<RecoveredData> found = copy.Find();
    if (!found) return RecoveryOutcome::kNone;
    Message m;
    m.kind = MessageKind::Question;
    m.buttons = Buttons::YesNo;
    m.defaultAnswer = Answer::Yes;
    m.caption = language.TextString(tid::kRecoveryCaption);
    m.text = FormatText(language.TextString(tid::kRecoveryQuestion),
                        {found->documentPath.empty() ? language.TextString(tid::kRecoveryUntitled) : found->documentPath});
    m.textId = static_cast<int>(tid::kRecoveryQuestion);
    if (prompter.Ask(m) != Answer::Yes) {
        copy.Remove();
        return RecoveryOutcome::kDeclined;
    }
    if (found->protectedCopy && !copy.Unlock(*found, prompter, language).Ok()) {
        // Without its password the data stays protected, and it is not lost:
        // it waits in a data file of its own.
        const std::string kept = copy.SetAside(std::time(nullptr));
        if (kept.empty()) return RecoveryOutcome::kNone;
        Message told = m;
        told.kind = MessageKind::Information;
        told.buttons = Buttons::Ok;
        told.defaultAnswer = Answer::Ok;
        told.text = FormatText(language.TextString(tid::kRecoveryKeptProtected), {kept});
        told.textId = static_cast<int>(tid::kRecoveryKeptProtected);
        (void)prompter.Ask(told);
        return RecoveryOutcome::kKeptAside;
    }
    document.RestoreRecovered(found->image, found->documentPath, found->keepsPassword ? found->password : "");
    return RecoveryOutcome::kRestored;
}

}  // namespace vrm
