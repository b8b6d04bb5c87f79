// The tuning file (*.tun): 112 bytes that keep a radio's 16 tuning-value
// bytes with the 32-byte text that goes with them (the radio's information
// block when the values were read from a radio).
//
//   0   10  signature "VRM650T" FF FF FF (as in the data file)
//   10   5  format version "V1.10"
//   15  17  0xFF
//   32   1  kind marker 'T'
//   33  31  0xFF
//   64  32  the text, unchanged
//   96  16  the tuning values, unchanged
//
// Nothing is scrambled. Reading and writing take paths; the file dialogs
// belong to the front ends, which use HasTuningExtension and
// WithTuningExtension for the names they accept. Writing replaces a file only
// once the new one is complete, so a failed save never destroys the file of
// that name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vrm {

class LanguageTable;

inline constexpr std::size_t kTuningFileSize = 112;
inline constexpr std::size_t kTuningHeaderSize = 96;
inline constexpr std::size_t kTuningTextOffset = 64;
inline constexpr std::size_t kTuningTextSize = 32;
inline constexpr std::size_t kTuningValuesOffset = 96;
inline constexpr std::size_t kTuningValuesSize = 16;
inline constexpr std::size_t kTuningKindOffset = 32;
inline constexpr std::uint8_t kTuningFileKind = 'T';
inline constexpr const char* kTuningDefaultName = "vrm650t.tun";

// Result codes of Load and Write (and of the front ends' Save / Save As).
enum TuningFileCode : int {
    kTuningFileOk = 0,
    kTuningFileCannotOpen = 1,   // cannot be opened, read (too short) or created
    kTuningFileBadSignature = 2, // not a file of this program
    kTuningFileWriteFailed = 3,
    kTuningFileCancelled = 4,    // the file dialog or the overwrite question was cancelled, or not a ".tun" name
    kTuningFileWrongKind = 6,    // the kind marker is not 'T' (a data file, for example)
    kTuningFileNoValues = 11,    // nothing to save: no values are held
};

struct TuningFileResult {
    int code = kTuningFileOk;
    int systemError = 0;   // errno for codes 1 and 3 when the system reported one
    bool tooShort = false; // code 1: the file ends before its 112 bytes
    bool notRegular = false;  // code 1: a device, a FIFO, a socket (never read nor replaced)
    // Code 2: the first ten bytes of the file.
    std::array<std::uint8_t, 10> signature{};

    bool Ok() const { return code == kTuningFileOk; }
    // The signature up to its first 0xFF byte.
    std::string SignatureText() const;
};

using TuningValues = std::array<std::uint8_t, kTuningValuesSize>;
using TuningText = std::array<std::uint8_t, kTuningTextSize>;

class TuningFile {
public:
    // Values held: 0, or 1 when none are held (never loaded or set).
    int GetValues(TuningValues& out) const;
    void SetValues(const TuningValues& values);
    bool HasValues() const { return held_; }
    void ClearValues() { held_ = false; values_.fill(0); }
    const TuningText& Text() const { return text_; }
    void SetText(const TuningText& text) { text_ = text; }

    // Reads a tuning file: 0, 1, 2 or 6. Values and text change only when
    // the whole file was read and accepted.
    TuningFileResult Load(const std::string& path);
    // Writes the held values and text: 0, 1, 3, or 11 when no values are held.
    TuningFileResult Write(const std::string& path) const;

    static std::array<std::uint8_t, kTuningFileSize> Build(const TuningValues& values, const TuningText& text);

    // A name whose extension begins with ".tun" (the file-open rule).
    static bool HasTuningExtension(const std::string& path);
    // The Save As rule: a name whose extension is not "tun" gets "tun"
    // appended, with a "." unless it ends with one.
    static std::string WithTuningExtension(const std::string& path);

private:
    TuningValues values_{};
    TuningText text_{};
    bool held_ = false;
};

// The message a failed Load or Write shows (codes 1, 2, 3, 6 and 11), with
// the system's own text appended when the result carries one; empty for 0
// and 4.
std::string TuningFileMessage(const LanguageTable& language, const TuningFileResult& result, const std::string& path);
// The text ID that message is built from (0 for 0 and 4).
std::uint32_t TuningFileMessageId(const TuningFileResult& result);

}  // namespace vrm
