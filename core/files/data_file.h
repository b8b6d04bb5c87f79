// The data file (*.dat): a 64-byte header naming the program, the format
// version and the model, an optional scrambled data-file password, and the
// 1024-byte image body scrambled with a one-byte key that sits inside it.
//
// A data file is exactly 1089 bytes. Reading never changes the live or the
// saved image: the body lands in the transfer image, and only once the whole
// file has been read and checked; the caller adopts it. Writing goes to a
// temporary file in the same folder that replaces the target only when it is
// complete.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/model/radio_image.h"

namespace vrm {

class Clock;
class LanguageTable;
class ModelCatalogue;
class Prompter;

inline constexpr std::size_t kDataFileSize = 1089;
inline constexpr std::size_t kDataFileHeaderSize = 64;
inline constexpr std::size_t kDataFileKeyOffset = 114;        // the image key byte
inline constexpr std::size_t kDataFileFirstPart = 50;         // image bytes before the key
inline constexpr std::size_t kDataFileSignatureSize = 10;
inline constexpr std::size_t kDataFileIdentityOffset = 16;
inline constexpr std::size_t kDataFileKindOffset = 32;
inline constexpr std::size_t kDataFilePasswordOffset = 33;
inline constexpr std::size_t kDataFilePasswordSize = 6;
inline constexpr std::uint8_t kDataFileKind = 'D';

// Result codes of Write, Read and Preview.
enum DataFileCode : int {
    kDataFileOk = 0,
    kDataFileCannotOpen = 1,      // cannot be created/opened/read, or the password was refused
    kDataFileBadSignature = 2,    // Read: not a data file; Preview: not a valid data file
    kDataFileWriteFailed = 3,
    kDataFileCancelled = 4,       // the password prompt was cancelled
    kDataFileNotAcceptable = 5,   // the model identity is not acceptable
    kDataFileWrongKind = 6,       // the kind marker is not 'D'
};

// Why a read refused a file with code 1 when the system reported no error.
// NotRegularFile: the name is a device, a FIFO, a socket or another special
// file, which is neither read nor replaced.
enum class DataFileProblem { None, TooShort, TooLong, PasswordRefused, NotRegularFile };

struct DataFileResult {
    int code = kDataFileOk;
    DataFileProblem problem = DataFileProblem::None;
    std::size_t length = 0;  // Read: how many bytes the file holds (up to 1090)
    // The operating system's error code (errno) for codes 1 and 3 when the
    // system reported one; 0 otherwise. Show it with std::strerror or
    // std::system_category().message().
    int systemError = 0;
    // Write: false when the replaced file's owner could not be kept.
    bool ownerKept = true;
    // Code 2: the first ten bytes of the file (0xFF where the file is shorter).
    std::array<std::uint8_t, kDataFileSignatureSize> signature{};
    // Read of a protected file: the data-file password it carries (as the
    // header holds it), so that a save can keep the file protected.
    bool protectedFile = false;
    std::string password;

    bool Ok() const { return code == kDataFileOk; }
    // The signature as text, up to its first 0xFF byte (code 2 messages).
    std::string SignatureText() const;
};

struct DataFilePreview {
    int code = kDataFileOk;
    std::string line1;  // the two embedded message lines, at most 32 bytes each
    std::string line2;
    // The file carries a data-file password: its lines are not shown before
    // the password is given (both lines stay empty).
    bool protectedFile = false;
};

// The security settings the writer uses: the data-file password (up to six
// digits) and the "Data File" switch.
struct DataFileSecurity {
    std::string password;
    bool dataFile = false;
};

// Writes `size` bytes to `path` as ReplaceFile (text/safe_file.h) does, with
// the file formats' result codes: 0, 1 (the file cannot be created, or the
// name is a folder or a special file) or 3 (a write failed), with the system
// error code. Any file format of the program that is written goes through
// here.
struct FileWriteResult {
    int code = 0;
    int systemError = 0;
    bool notRegular = false;  // code 1: a device, a FIFO, a socket
    bool ownerKept = true;    // code 0: false when the replaced file's owner could not be kept
};
FileWriteResult WriteFileReplacing(const std::string& path, const std::uint8_t* bytes, std::size_t size);

// Takes what a load put into the transfer image (a data file read, a
// radio read) into the live image the way Open does: adopted, the band
// limits recomputed and the load fix-up applied (a blank microphone
// sense becomes 1, or 2 for destination class 5). Every command that reads
// a data file goes through it, so that each sees exactly what Open shows.
void AdoptLoadedImage(RadioImage& image, ModelCatalogue& catalogue);

class DataFile {
public:
    DataFile(RadioImage& image, const ModelCatalogue& catalogue);

    // Writes the live image. Also leaves the scrambled copy of the body in the
    // transfer image. 0, 1 (cannot create the file) or 3 (a write failed),
    // with the system error code.
    DataFileResult Write(const std::string& path, const DataFileSecurity& security, Clock& clock);

    // Reads a data file into the transfer image. A protected file's password
    // is asked through `prompter` (three attempts; a wrong entry shows text
    // 10007027). 0, 1, 2, 4, 5 or 6.
    DataFileResult Read(const std::string& path, Prompter& prompter, const LanguageTable& language);

    // The two embedded message lines of a data file, for the file-open dialog
    // (none of a protected file). 0, 1 (cannot open or read) or 2 (not a
    // ".dat" name, or not a valid data file of an acceptable model). Reads
    // only.
    static DataFilePreview Preview(const std::string& path);

    // The data-file password scrambling of the header bytes 33-38.
    static std::array<std::uint8_t, kDataFilePasswordSize> ScramblePassword(const std::string& password);
    // The password the six header bytes hold (padding bytes dropped).
    static std::string UnscramblePassword(const std::uint8_t* bytes);

    // The 1089 bytes of a data file for `image` (as Write builds them).
    static std::array<std::uint8_t, kDataFileSize> Build(const ImageBuffer& image, const DataFileSecurity& security,
                                                         std::uint8_t key, ImageBuffer* scrambled = nullptr);
    // The image key for a local time: minute + second + 1, never 0.
    static std::uint8_t ImageKey(Clock& clock);

private:
    RadioImage& image_;
    const ModelCatalogue& catalogue_;
};

}  // namespace vrm
