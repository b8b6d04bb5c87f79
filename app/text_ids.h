// The text IDs of the language file that the code uses by name. Every caption
// and message is looked up through one of these.
//
// Add new names in the group they belong to; keep each group sorted.
#pragma once

#include <cstdint>

namespace vrm::tid {

using TextId = std::uint32_t;

// Program and About box
inline constexpr TextId kProgramTitle = 10000001;

// Common buttons
inline constexpr TextId kButtonOk = 10002001;
inline constexpr TextId kButtonCancel = 10002002;
inline constexpr TextId kButtonClose = 10002003;
inline constexpr TextId kButtonHelp = 10002004;
inline constexpr TextId kButtonRead = 10002005;
inline constexpr TextId kButtonWrite = 10002006;
inline constexpr TextId kButtonPrint = 10002007;

// Message box captions
inline constexpr TextId kCaptionError = 10006001;
inline constexpr TextId kCaptionWarning = 10006002;
inline constexpr TextId kCaptionQuestion = 10006003;

// Messages
inline constexpr TextId kMsgFileUnreadable = 10007001;
inline constexpr TextId kMsgCommunicationError = 10007003;
inline constexpr TextId kMsgModelNotAccepted = 10007004;
inline constexpr TextId kMsgTestFrequencyMismatch = 10007005;
inline constexpr TextId kMsgTestModeOtherModel = 10007006;
inline constexpr TextId kMsgWriteOtherIdentity = 10007007;
inline constexpr TextId kMsgSaveChangesFormat = 10007010;
inline constexpr TextId kMsgOverwriteQuestion = 10007011;
inline constexpr TextId kMsgOverwriteFileLabel = 10007012;
inline constexpr TextId kMsgDataReset = 10007013;
inline constexpr TextId kMsgWrongKindOfFile = 10007014;
inline constexpr TextId kMsgBandChange = 10007017;
inline constexpr TextId kMsgSiblingProduct = 10007021;
inline constexpr TextId kMsgTestModeCommandFailed = 10007023;
inline constexpr TextId kMsgOtherProgramFile = 10007025;
inline constexpr TextId kMsgNotADataFile = 10007026;
inline constexpr TextId kMsgWrongPassword = 10007027;

// Lists and code texts
inline constexpr TextId kDataFileFilter = 10100001;
inline constexpr TextId kTitleFileLabel = 10100002;
inline constexpr TextId kCodeOff = 10300001;
inline constexpr TextId kCodeNone = 10300003;

// Read and write transfers
inline constexpr TextId kProgressFormat = 10401004;

// Password prompt
inline constexpr TextId kPasswordTitle = 10603001;

}  // namespace vrm::tid
