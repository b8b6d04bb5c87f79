#include "fuzz_support.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/fields/channel_fields.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm::fuzz {

const LanguageTable& English() {
    static LanguageTable table;
    static const bool loaded = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng", false, nullptr);
    if (!loaded) Fail("the English language file loads", VRM_SOURCE_DIR "/lang/vrm650t_en.lng");
    return table;
}

void NewDefaults(RadioImage& image, ModelCatalogue& catalogue, int model) {
    image.SetPresetChannelWriter(WritePresetChannels);
    image.Clear();
    catalogue.SetModel(model);
    catalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
    image.InitialiseDefaults(catalogue, false);
    image.TakeSnapshot();
}

void Fail(const char* property, const std::string& detail) {
    std::fprintf(stderr, "\n*** property broken: %s\n%s%s", property, detail.c_str(), detail.empty() ? "" : "\n");
    std::fflush(stderr);
    std::abort();
}

ScratchFile::ScratchFile(const std::string& name) {
    const char* tmp = std::getenv("TMPDIR");
    folder_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/vrm650t-fuzz-" + std::to_string(::getpid());
    (void)::mkdir(folder_.c_str(), 0700);
    path_ = folder_ + "/" + name;
}

ScratchFile::~ScratchFile() {
    ::unlink(path_.c_str());
    (void)::rmdir(folder_.c_str());  // the last file of the folder takes it along
}

const std::string& ScratchFile::Write(const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) Fail("the scratch file can be written", path_);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) Fail("the scratch file can be written", path_);
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return path_;
}

std::string_view InputReader::Until(std::uint8_t end) {
    const std::size_t start = std::min(at_, size_);
    std::size_t stop = start;
    while (stop < size_ && data_[stop] != end) ++stop;
    at_ = stop < size_ ? stop + 1 : size_;
    return {reinterpret_cast<const char*>(data_ + start), stop - start};
}

std::string_view InputReader::Take(std::size_t n) {
    const std::size_t start = std::min(at_, size_);
    const std::size_t count = std::min(n, size_ - start);
    at_ = start + count;
    return {reinterpret_cast<const char*>(data_ + start), count};
}

Answer ScriptedPrompter::Ask(const Message& message) {
    ++asked;
    return message.defaultAnswer;
}

PasswordResult ScriptedPrompter::AskPassword(PasswordGate& gate) {
    for (;;) {
        if (passwords.empty() || !passwords.front()) return PasswordResult::Cancelled;
        const std::string entry = *passwords.front();
        passwords.pop_front();
        switch (gate.Submit(entry)) {
            case PasswordGate::Verdict::Accepted: return PasswordResult::Accepted;
            case PasswordGate::Verdict::Refused: return PasswordResult::Refused;
            case PasswordGate::Verdict::TryAgain: Ask(gate.WrongEntryMessage()); break;
        }
    }
}

}  // namespace vrm::fuzz
