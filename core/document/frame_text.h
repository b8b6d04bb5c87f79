// Texts the main frame composes itself.
#pragma once

#include <string>

namespace vrm {

inline constexpr const char* kProgramName = "VRM-650T";
inline constexpr const char* kNoEncryptionText = "No Encryption";
inline constexpr const char* kDefaultFileName = "vrm650t.dat";

// The title bar: "%s  [ %s ] [ %s : %s ]" with the program name, the model
// summary, the file label text and the current file name; in no-encryption
// mode "%10s%s" with "" and "No Encryption" appended.
std::string MainFrameTitle(const std::string& modelSummary, const std::string& fileLabel,
                           const std::string& fileName, bool noEncryption);

}  // namespace vrm
