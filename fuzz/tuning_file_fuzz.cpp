// The tuning file as Tuning Data's Load reads it.
//
// Properties:
// - a refused file leaves the values and the text held before;
// - an accepted file has at least 112 bytes, and its text and values are held as
//   stored: built again, they give the file's bytes 64-111;
// - the message of a refusal names a text of the language file.
#include <algorithm>
#include <cstdint>

#include "core/files/tuning_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vrm;
    static fuzz::ScratchFile scratch("fuzz.tun");
    const std::string& path = scratch.Write(data, size);

    TuningFile file;
    TuningValues held;
    held.fill(0x5A);
    TuningText text;
    text.fill(0xA5);
    file.SetValues(held);
    file.SetText(text);

    const TuningFileResult r = file.Load(path);
    TuningValues values{};
    fuzz::Require(file.GetValues(values) == 0, "a tuning file object keeps holding values");
    if (!r.Ok()) {
        fuzz::Require(values == held && file.Text() == text, "a refused tuning file changes nothing held");
        fuzz::Require(TuningFileMessageId(r) != 0 && !TuningFileMessage(fuzz::English(), r, path).empty(),
                      "a refused tuning file has a message", "code " + std::to_string(r.code));
        return 0;
    }
    // The reader takes the first 112 bytes, as the format has always been read.
    fuzz::Require(size >= kTuningFileSize, "a file shorter than 112 bytes never loads", std::to_string(size));
    const auto rebuilt = TuningFile::Build(values, file.Text());
    fuzz::Require(std::equal(rebuilt.begin() + kTuningTextOffset, rebuilt.end(), data + kTuningTextOffset),
                  "the text and the values are held as the file stores them");
    return 0;
}
