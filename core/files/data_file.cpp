#include "core/files/data_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

constexpr std::uint8_t kSignature[kDataFileSignatureSize] = {'V', 'R', 'M', '6', '5', '0', 'T', 0xFF, 0xFF, 0xFF};
constexpr char kVersion[5] = {'V', '1', '.', '1', '0'};
constexpr std::size_t kVersionOffset = 10;
constexpr char kDigitTable[10] = {'x', 'Q', '3', 'r', 'T', '7', 'k', 'L', 'm', '2'};
constexpr std::uint8_t kPasswordKey[7] = {'V', 'R', 'M', '6', '5', '0', 'T'};

// The whole file, read one byte past a data file's size so that a longer
// file shows as longer. Never blocks on a FIFO or a device, which are refused.
long ReadFile(const std::string& path, std::array<std::uint8_t, kDataFileSize + 1>& buf, DataFileResult& result) {
    std::size_t got = 0;
    const FileOutcome read = ReadFilePrefix(path, buf.data(), buf.size(), got);
    if (read.Ok()) return static_cast<long>(got);
    result.systemError = read.systemError;
    if (read.notRegular) result.problem = DataFileProblem::NotRegularFile;
    return -1;
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

// The model identity the body of a complete data file holds (image bytes
// 0-15, descrambled). It becomes the document's model, so a body naming a
// model the header check would refuse is refused the same way: the file
// could be opened, but a save of it could not.
bool BodyAcceptable(const std::uint8_t* file) {
    ModelIdentity id;
    for (std::size_t i = 0; i < kIdentitySize; ++i)
        id[i] = static_cast<std::uint8_t>(file[kDataFileHeaderSize + i] ^ file[kDataFileKeyOffset]);
    return ModelCatalogue::IsAcceptable(id);
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

FileWriteResult WriteFileReplacing(const std::string& path, const std::uint8_t* bytes, std::size_t size) {
    const FileOutcome written = ReplaceFile(path, bytes, size);
    FileWriteResult result;
    if (!written.Ok()) result.code = written.writeFailed ? kDataFileWriteFailed : kDataFileCannotOpen;
    result.systemError = written.systemError;
    result.notRegular = written.notRegular;
    result.ownerKept = written.ownerKept;
    return result;
}

DataFileResult DataFile::Write(const std::string& path, const DataFileSecurity& security, Clock& clock) {
    DataFileResult result;
    // Refused before the transfer image is touched.
    const FileOutcome check = CheckReplaceable(path);
    if (!check.Ok()) {
        result.code = kDataFileCannotOpen;
        result.systemError = check.systemError;
        if (check.notRegular) result.problem = DataFileProblem::NotRegularFile;
        return result;
    }
    const std::uint8_t key = ImageKey(clock);
    const auto bytes = Build(image_.Live(), security, key, &image_.Transfer());
    const FileWriteResult written = WriteFileReplacing(path, bytes.data(), bytes.size());
    result.code = written.code;
    result.systemError = written.systemError;
    result.ownerKept = written.ownerKept;
    if (written.notRegular) result.problem = DataFileProblem::NotRegularFile;
    return result;
}

DataFileResult DataFile::Read(const std::string& path, Prompter& prompter, const LanguageTable& language) {
    DataFileResult result;
    std::array<std::uint8_t, kDataFileSize + 1> file;
    file.fill(0xFF);
    const long length = ReadFile(path, file, result);
    if (length < 0) {
        result.code = kDataFileCannotOpen;
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
    if (!BodyAcceptable(file.data())) {
        result.code = kDataFileNotAcceptable;
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
    DataFileResult opened;
    const long length = ReadFile(path, file, opened);
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
    if (static_cast<std::size_t>(length) > kDataFileSize || !BodyAcceptable(file.data())) {
        preview.code = kDataFileBadSignature;
        return preview;
    }

    // The password keeps a protected file's content out of this program until
    // it is given, the preview included.
    if (file[kDataFilePasswordOffset] != 0xFF) {
        preview.protectedFile = true;
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

void AdoptLoadedImage(RadioImage& image, ModelCatalogue& catalogue) {
    image.AdoptTransferImage();
    catalogue.RecomputeBandLimits();
    image.FixUpAfterLoad(catalogue);
}

}  // namespace vrm
