// The data file as Open reads it: the file-open dialog's preview, the read
// (a protected file's password answered right, wrong three times, cancelled
// or typed from the input), the fix-up of the loaded image, and what the
// program then shows of it (every field of the print-out lists).
//
// Properties:
// - a refused read leaves the transfer image as it was;
// - an accepted read holds exactly the body of the file, descrambled: built
//   again with the file's key it gives the file's 1025 body bytes;
// - a file opened with its password and saved with it (as Save keeps it)
//   opens again with the same entry, to the same image;
// - the preview of a file that reads shows its two message lines.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/fields/edit_session.h"
#include "core/files/data_file.h"
#include "fuzz_support.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/exchange/configuration_print.h"

namespace {

using namespace vrm;

// Which password entries the prompter gives, chosen by a header byte that
// the reader ignores (one of the 0xFF fillers after the password).
constexpr std::size_t kChoiceByte = 40;

std::deque<std::optional<std::string>> Entries(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t choice = size > kChoiceByte ? data[kChoiceByte] : 0;
    std::string own;
    if (size >= kDataFilePasswordOffset + kDataFilePasswordSize)
        own = DataFile::UnscramblePassword(data + kDataFilePasswordOffset);
    switch (choice % 4) {
        case 0: return {own};                              // the right one
        case 1: return {own + "1", "000000", "x", own};    // wrong three times
        case 2: return {std::nullopt};                     // Cancel
        default: {                                         // typed: bytes 41-46
            std::string typed;
            for (std::size_t i = kChoiceByte + 1; i < std::min(size, kChoiceByte + 7); ++i)
                typed += static_cast<char>(data[i]);
            return {typed, own};
        }
    }
}

std::string Hex(const ImageBuffer& a, const ImageBuffer& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return "first difference at image byte " + std::to_string(i);
    return {};
}

void CheckPreview(const std::string& path, const ImageBuffer& body) {
    const DataFilePreview preview = DataFile::Preview(path);
    fuzz::Require(preview.code == kDataFileOk, "a file that reads has a preview");
    auto line = [&](std::size_t start) {
        std::string text;
        for (std::size_t i = 0; i < kMessageLineSize && body[kEmbeddedMessageArea.offset + start + i] != 0; ++i)
            text += static_cast<char>(body[kEmbeddedMessageArea.offset + start + i]);
        return text;
    };
    // A protected file shows nothing of its data before its password.
    if (preview.protectedFile) {
        fuzz::Require(preview.line1.empty() && preview.line2.empty(), "a protected file's preview shows no lines");
        return;
    }
    fuzz::Require(preview.line1 == line(0) && preview.line2 == line(kMessageLineSize),
                  "the preview shows the message lines of the body");
}

// Saved with the password it was opened with, the file opens again with it.
void CheckSavedWithPassword(const ImageBuffer& body, const DataFileResult& read, std::uint8_t key) {
    static fuzz::ScratchFile again("again.dat");
    const DataFileSecurity security{read.password, true};
    const auto bytes = DataFile::Build(body, security, key);
    RadioImage image;
    ModelCatalogue catalogue(image);
    DataFile file(image, catalogue);
    fuzz::ScriptedPrompter prompter;
    prompter.passwords = {read.password};
    const DataFileResult r = file.Read(again.Write(bytes.data(), bytes.size()), prompter, fuzz::English());
    fuzz::Require(r.Ok() && r.protectedFile, "a file saved with its password opens with it again",
                  "password of " + std::to_string(read.password.size()) + " bytes, code " + std::to_string(r.code));
    fuzz::Require(image.Transfer() == body, "the saved file reads back to the same image");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::ScratchFile scratch("fuzz.dat");
    const std::string& path = scratch.Write(data, size);
    (void)DataFile::Preview(path);

    RadioImage image;
    ModelCatalogue catalogue(image);
    image.Transfer().fill(0xA5);
    const ImageBuffer before = image.Transfer();
    DataFile file(image, catalogue);
    fuzz::ScriptedPrompter prompter;
    prompter.passwords = Entries(data, size);
    const DataFileResult r = file.Read(path, prompter, fuzz::English());
    if (!r.Ok()) {
        fuzz::Require(image.Transfer() == before, "a refused read leaves the transfer image alone",
                      Hex(image.Transfer(), before));
        return 0;
    }

    fuzz::Require(size == kDataFileSize, "only a file of 1089 bytes reads");
    const ImageBuffer body = image.Transfer();
    const std::uint8_t key = data[kDataFileKeyOffset];
    const auto rebuilt = DataFile::Build(body, DataFileSecurity{}, key);
    fuzz::Require(std::equal(rebuilt.begin() + kDataFileHeaderSize, rebuilt.end(), data + kDataFileHeaderSize),
                  "the body read is the file's body descrambled");
    fuzz::Require(r.protectedFile == (data[kDataFilePasswordOffset] != 0xFF),
                  "a read says whether the file carries a password");
    if (r.protectedFile) CheckSavedWithPassword(body, r, key);
    CheckPreview(path, body);

    // What the program shows of it: the image adopted and fixed up as Open
    // does, and every list of the print-out (every field's text).
    AdoptLoadedImage(image, catalogue);
    EditSession session(image, catalogue, fuzz::English());
    std::vector<print::PrintList> lists;
    for (const print::PrintListInfo& info : print::PrintLists()) lists.push_back(info.list);
    (void)print::BuildConfigurationDocument(session, lists, print::PrintHeader{"fuzz.dat", "2026-01-01 00:00"});
    return 0;
}
