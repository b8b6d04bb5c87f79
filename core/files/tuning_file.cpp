#include "core/files/tuning_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "core/files/data_file.h"
#include "core/base/language_table.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

constexpr std::uint8_t kSignature[10] = {'V', 'R', 'M', '6', '5', '0', 'T', 0xFF, 0xFF, 0xFF};
constexpr char kVersion[5] = {'V', '1', '.', '1', '0'};
constexpr std::size_t kVersionOffset = 10;

std::string Extension(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return path.substr(dot);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::string TuningFileResult::SignatureText() const {
    std::string text;
    for (std::uint8_t b : signature) {
        if (b == 0xFF) break;
        text += static_cast<char>(b);
    }
    return text;
}

int TuningFile::GetValues(TuningValues& out) const {
    if (!held_) return 1;
    out = values_;
    return 0;
}

void TuningFile::SetValues(const TuningValues& values) {
    values_ = values;
    held_ = true;
}

std::array<std::uint8_t, kTuningFileSize> TuningFile::Build(const TuningValues& values, const TuningText& text) {
    std::array<std::uint8_t, kTuningFileSize> file;
    file.fill(0xFF);
    std::copy(std::begin(kSignature), std::end(kSignature), file.begin());
    std::copy(std::begin(kVersion), std::end(kVersion), file.begin() + kVersionOffset);
    file[kTuningKindOffset] = kTuningFileKind;
    std::copy(text.begin(), text.end(), file.begin() + kTuningTextOffset);
    std::copy(values.begin(), values.end(), file.begin() + kTuningValuesOffset);
    return file;
}

TuningFileResult TuningFile::Load(const std::string& path) {
    TuningFileResult result;
    std::array<std::uint8_t, kTuningFileSize> file;
    file.fill(0xFF);
    std::size_t n = 0;
    const FileOutcome read = ReadFilePrefix(path, file.data(), file.size(), n);
    if (!read.Ok()) {
        result.code = kTuningFileCannotOpen;
        result.systemError = read.systemError;
        result.notRegular = read.notRegular;
        return result;
    }
    // The header is judged first, so that another program's file or a data
    // file is named as such even when it is shorter than a tuning file.
    const auto have = static_cast<std::size_t>(n);
    std::copy_n(file.begin(), result.signature.size(), result.signature.begin());
    if (have < result.signature.size()) {
        result.code = kTuningFileCannotOpen;
        result.tooShort = true;
        return result;
    }
    if (!std::equal(std::begin(kSignature), std::end(kSignature), file.begin())) {
        result.code = kTuningFileBadSignature;
        return result;
    }
    if (have > kTuningKindOffset && file[kTuningKindOffset] != kTuningFileKind) {
        result.code = kTuningFileWrongKind;
        return result;
    }
    if (have < kTuningFileSize) {
        result.code = kTuningFileCannotOpen;
        result.tooShort = true;
        return result;
    }
    std::copy_n(file.begin() + kTuningTextOffset, kTuningTextSize, text_.begin());
    std::copy_n(file.begin() + kTuningValuesOffset, kTuningValuesSize, values_.begin());
    held_ = true;
    return result;
}

TuningFileResult TuningFile::Write(const std::string& path) const {
    TuningFileResult result;
    if (!held_) {
        result.code = kTuningFileNoValues;
        return result;
    }
    const auto bytes = Build(values_, text_);
    const FileWriteResult w = WriteFileReplacing(path, bytes.data(), bytes.size());
    result.code = w.code;
    result.systemError = w.systemError;
    result.notRegular = w.notRegular;
    return result;
}

bool TuningFile::HasTuningExtension(const std::string& path) {
    return Lower(Extension(path)).rfind(".tun", 0) == 0;
}

std::string TuningFile::WithTuningExtension(const std::string& path) {
    if (Lower(Extension(path)) == ".tun") return path;
    if (!path.empty() && path.back() == '.') return path + "tun";
    return path + ".tun";
}

std::uint32_t TuningFileMessageId(const TuningFileResult& result) {
    switch (result.code) {
        case kTuningFileCannotOpen: return result.tooShort || result.systemError == 0 ? tid::kMsgTuningFileShort
                                                                                     : tid::kMsgFileUnreadable;
        case kTuningFileBadSignature:
            return result.SignatureText().find("VRM") != std::string::npos ? tid::kMsgOtherProgramFile
                                                                            : tid::kMsgNotADataFile;
        case kTuningFileWrongKind: return tid::kMsgWrongKindOfFile;
        case kTuningFileWriteFailed: return tid::kMsgTuningFileNotWritten;
        case kTuningFileNoValues: return tid::kMsgTuningNoValues;
        default: return 0;
    }
}

std::string TuningFileMessage(const LanguageTable& language, const TuningFileResult& result, const std::string& path) {
    if (result.notRegular) return FormatText(language.TextString(tid::kMsgNotRegularFile), {path});
    const std::uint32_t id = TuningFileMessageId(result);
    if (id == 0) return {};
    std::string text;
    switch (result.code) {
        case kTuningFileBadSignature:
            text = id == tid::kMsgOtherProgramFile ? FormatText(language.TextString(id), {path, result.SignatureText()})
                                                   : FormatText(language.TextString(id), {path});
            break;
        case kTuningFileCannotOpen:
        case kTuningFileWriteFailed:
            text = id == tid::kMsgTuningFileShort ? FormatText(language.TextString(id), {path}) : language.TextString(id);
            break;
        default: text = language.TextString(id); break;
    }
    if (result.systemError != 0) text += "\n\n" + std::system_category().message(result.systemError);
    return text;
}

}  // namespace vrm
