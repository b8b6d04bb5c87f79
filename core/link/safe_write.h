// The safe write: what the Write button and `vrm650t-cli radio write` run.
//
// Around the write transfer it keeps what the radio held (a backup data file
// named by the radio's serial number and the time), reads the written blocks
// back and compares them with the image (verify), and appends a row to the
// programming log. Each of the three can be turned off; all are on by
// default. A backup that cannot be read or stored stops the write before
// anything is sent to the radio; a verify that finds a difference is an
// error naming the blocks, never a success.
//
// Three transfers, each its own program-mode session: the backup read
// (identification, information block, firmware version, 64 blocks), the write
// transfer, the verify read (the 63 written blocks).
//
// A stop (a signal) ends the safe write at the step it lands on: the radio
// leaves program mode (a write is abandoned with the abort), no further
// session starts, and the log row and the message say that it was stopped and
// what the radio then holds.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/files/data_file.h"
#include "core/link/programming_log.h"
#include "core/link/radio_info.h"
#include "core/link/write_transfer.h"

namespace vrm {

// Below the data folder: the backups' folder (the log: programming_log.h).
inline constexpr const char* kBackupFolderName = "backups";

struct SafeWriteOptions {
    bool backup = true;
    std::string backupFolder;  // created when missing
    bool verify = true;
    bool log = true;
    std::string logPath;       // the programming log (CSV)
    std::string dataFile;      // the document's file, for the log ("" for an unsaved one)
    DataFileSecurity security; // how the backup file is written (as Save writes files)
};

// The phase a safe write is in or stopped in.
enum class SafeWritePhase { kNone, kBackupRead, kBackupStore, kWrite, kVerifyRead, kVerify };

// What the first session learnt about the radio.
struct RadioRecord {
    std::string serial;    // the information block's serial number
    std::string model;     // model name and code, "HRV-41A:K"
    std::string firmware;  // the firmware version text
    bool known = false;    // the information was read
};

struct SafeWriteResult {
    TransferResult write;          // the write transfer (or the failed read when phase says so)
    SafeWritePhase failedPhase = SafeWritePhase::kNone;
    RadioRecord radio;
    std::string backupPath;        // the stored backup ("" when none)
    int backupError = 0;           // kBackupStore: errno of the failed store
    std::vector<int> differingBlocks;  // kVerify: blocks (address / 16) that differ
    bool verified = false;         // the written blocks were read back and matched
    bool logged = false;           // the row is in the log
    int logError = 0;              // errno when the log row could not be written
    int stopSignal = 0;            // the signal that stopped it (0: not stopped)

    bool Ok() const { return failedPhase == SafeWritePhase::kNone && write.Ok(); }
};

// The backup's file name: the serial number (characters other than letters,
// digits and '-' as '_'; "unknown" when empty) and the local time,
// "00000001_20261208-134501.dat".
std::string BackupFileName(const std::string& serial, std::time_t when);

// The blocks of the written range (0x000-0x3EF) where `radio` and `image`
// differ, as block numbers.
std::vector<int> DifferingBlocks(const ImageBuffer& image, const ImageBuffer& radio);

// The SHA-256 of the 1024-byte image, as 64 lower-case hex digits.
std::string ImageSha256(const ImageBuffer& image);

// The result column: "written and verified", "written, not verified", or
// what failed or stopped it and where.
std::string LogResultText(const SafeWriteResult& r);
// The same outcome in the user's language, for a window or the CLI's table.
std::string ResultText(const SafeWriteResult& r, const LanguageTable& language);
// How the log names a stop by `signal`: "stopped by the user" for Ctrl+C
// (SIGINT), else "stopped (signal TERM)".
std::string StopText(int signal);
std::string StopText(int signal, const LanguageTable& language);

// The safe write of `liveImage`. Reports its phase as the window text
// (backup, writing, verifying), tells the user of every failure with the
// block and the reason, and on success shows the information box that names
// the backup file. `continuous` as WriteDataToRadio.
SafeWriteResult SafeWriteToRadio(const TransferContext& ctx, const ImageBuffer& liveImage, bool continuous,
                                 const SafeWriteOptions& options);

// The backup read alone: the radio's identity, information and memory (as
// the read transfer leaves them in `memory`). Used by the safe write and by
// the compare with the radio.
TransferResult RunBackupRead(const TransferContext& ctx, ImageBuffer& memory, RadioRecord& radio, bool withBlocks);

}  // namespace vrm
