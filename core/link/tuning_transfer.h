// Tuning data: the radio's 14 bytes of tuning values as the Tuning Data
// dialog and `vrm650t-cli radio tuning` handle them, with the table of the
// fourteen rows, and the three transfers (read, write, restore) in tuning
// mode.
//
// The values travel in a 16-byte buffer (the tuning file's, bytes 14-15 are
// not sent to the radio) together with the radio's 32-byte information block
// they belong to. Write refuses a buffer that was never filled. Before write
// and restore change a radio, the radio's current values are kept as a
// tuning file in the backup folder, so that a technician can always go back.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

#include "core/files/tuning_file.h"
#include "core/link/read_transfer.h"
#include "core/base/text_ids.h"

namespace vrm {

// One row of the tuning grid: the byte it shows, its label texts (the point
// is 0 for rows without one) and the largest value the byte may hold.
struct TuningRow {
    int offset;
    tid::TextId item;
    tid::TextId point;
    int group;
    int maxStored;
};
inline constexpr int kTuningRows = 14;
const std::array<TuningRow, kTuningRows>& TuningRowTable();

// "Item (Point)", or the item alone.
std::string TuningRowLabel(const LanguageTable& language, const TuningRow& row);
// The grid shows the stored byte + 1.
inline int TuningShownValue(std::uint8_t stored) { return stored + 1; }
// A typed value, clamped to 1 .. max + 1, as the byte to store.
std::uint8_t TuningStoredValue(const TuningRow& row, long long entered);

// What the Tuning Data dialog holds.
struct TuningSet {
    TuningValues values{};
    TuningText information{};  // the radio's information block (the tuning file's text)
    bool held = false;         // read from a radio or loaded from a file
};

// The information as the dialog shows it: two parts joined by "/" (the
// model name and code, then the serial number). Empty when `held` is false.
std::string TuningInformationText(const TuningText& information);

// Where the radio's values are kept before write and restore. An empty
// folder keeps none (the CLI's --no-backup).
struct TuningBackupPlan {
    std::string folder;
    std::time_t when = 0;  // the time the file is named by; 0: now
};
// "<serial>-<YYYYMMDD>-<HHMMSS>.tun" in the folder (serial "radio" when the
// information holds none that is usable in a file name).
std::string TuningBackupPath(const TuningBackupPlan& plan, const TuningText& information);

enum class TuningStatus {
    kOk,
    kNoAnswer,       // no answer to "TUNING ", or the identification failed
    kModelRefused,   // text 10007004
    kStepFailed,     // a read or write in tuning mode failed (text 10007003)
    kCancelled,      // the write's confirmation was answered Cancel
    kNoValues,       // write: no values are held (text 10007039)
    kBackupFailed,   // the radio's values could not be kept; the radio was not changed
    kNoReference,    // restore: the radio holds no reference tuning (text 10007084)
};

struct TuningResult {
    TuningStatus status = TuningStatus::kOk;
    std::string backupPath;  // the backup written (write, restore)
    bool Ok() const { return status == TuningStatus::kOk; }
};

inline constexpr int kTuningProgressRange = 16;

// Read: the information block and the 14 values into `set` (cleared first,
// changed only on success). Success shows text 10401003.
TuningResult ReadTuning(const TransferContext& ctx, TuningSet& set);
// Write: asks for confirmation showing the held and the radio's information,
// keeps the radio's values, writes the 14 bytes. Success shows 10402003 and
// names the backup.
TuningResult WriteTuning(const TransferContext& ctx, const TuningSet& set, const TuningBackupPlan& backup);
// Restore: asks first (text 10007046); the radio's reference tuning replaces
// its tuning values, which are kept first; the restored values are read into `set`.
TuningResult RestoreTuning(const TransferContext& ctx, TuningSet& set, const TuningBackupPlan& backup);

}  // namespace vrm
