// What the fuzz targets share: the shipped English language table, a scratch
// file for the readers that take a path, a prompter that answers from a
// script, a reader that takes the fuzzer's bytes in order, and Require,
// which turns a broken property into a crash that libFuzzer keeps as a
// finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/language_table.h"
#include "core/base/prompter.h"

namespace vrm {
class ModelCatalogue;
class RadioImage;
}  // namespace vrm

namespace vrm::fuzz {

// The English language file of the source tree, loaded once.
const LanguageTable& English();

// The New defaults of `model` (1-4) in its own band, as File > New and
// vrm650t-cli new make them.
void NewDefaults(RadioImage& image, ModelCatalogue& catalogue, int model);

// Prints what broke and aborts, so that libFuzzer saves the input.
[[noreturn]] void Fail(const char* property, const std::string& detail = {});
inline void Require(bool holds, const char* property, const std::string& detail = {}) {
    if (!holds) Fail(property, detail);
}

// A file `name` ("fuzz.dat") in a folder of this process's own in the
// temporary folder, rewritten with each input and removed when the process
// ends normally.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(const std::uint8_t* data, std::size_t size);
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};

// Takes the fuzzer's bytes in order; past the end every byte reads 0 and
// every text is empty.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Up to the next `end` byte (dropped) or the end of the input.
    std::string_view Until(std::uint8_t end);
    // At most `n` bytes.
    std::string_view Take(std::size_t n);
    std::string_view Rest() { return Take(size_ - std::min(at_, size_)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Answers every question with its default and submits password entries from
// its script (none left: Cancel).
class ScriptedPrompter final : public Prompter {
public:
    std::deque<std::optional<std::string>> passwords;
    int asked = 0;

    Answer Ask(const Message& message) override;
    PasswordResult AskPassword(PasswordGate& gate) override;
};

}  // namespace vrm::fuzz
