// The recovery copy: while the document is modified the program keeps a copy
// of its image in the user's state folder, so that a crash or a killed
// process loses no edit. The copy names the data file it belongs to. It is
// written atomically (a temporary file, then a rename) and removed when the
// data no longer differs from a saved state (clean exit, New, Open, Save).
//
// Data that a save would protect with a data-file password (it was opened
// from a protected file, or the "Data File" switch is on) is kept as a data
// file with that password beside the copy, never as plain bytes: restoring it
// asks for the password, and the restored data keeps the password of the
// file it belonged to.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "core/files/data_file.h"
#include "core/model/radio_image.h"

namespace vrm {

class CZVQDoc;
class LanguageTable;
class Prompter;

// The user's state folder for the program: $XDG_STATE_HOME/vrm650t, else
// ~/.local/state/vrm650t.
std::string DefaultStateFolder();

struct RecoveredData {
    ImageBuffer image{};       // the data (a protected copy: once Unlock() has read it)
    std::string documentPath;  // the data file the edits belonged to ("" for a new document)
    bool protectedCopy = false;  // kept as a data file with a password (dataPath)
    std::string dataPath;
    bool keepsPassword = false;  // the data belonged to a protected file: it keeps its password
    std::string password;        // after Unlock(): the password it was kept with
};

class RecoveryCopy {
public:
    explicit RecoveryCopy(std::string folder = DefaultStateFolder());

    const std::string& Path() const { return path_; }
    // The protected copy's data file, beside Path().
    std::string DataPath() const { return path_ + ".dat"; }

    // Writes the copy; 0 or errno. The folder is created when missing. With
    // `security.dataFile` on, the image goes into a data file with
    // `security.password`; `keepsPassword` notes that the data belonged to a
    // protected file.
    int Write(const ImageBuffer& image, const std::string& documentPath, const DataFileSecurity& security = {},
              bool keepsPassword = false);
    void Remove();
    // The copy left behind, when there is a complete one. A protected copy
    // comes without its image: Unlock() reads it.
    std::optional<RecoveredData> Find() const;
    // Reads a protected copy, asking for its password through `prompter` as
    // Open does; on success `data` holds the image and the password.
    DataFileResult Unlock(RecoveredData& data, Prompter& prompter, const LanguageTable& language) const;
    // Moves a protected copy that was not unlocked to a data file of its own
    // in the state folder (named by the time) and removes the copy; the new
    // path, or "" when it could not be moved.
    std::string SetAside(std::time_t now);

    // The timer's and the transfers' step: a modified document is written at
    // most every `minSeconds` (0: now), an unmodified one removes the copy.
    void Checkpoint(bool modified, const ImageBuffer& image, const std::string& documentPath, std::time_t now,
                    int minSeconds, const DataFileSecurity& security = {}, bool keepsPassword = false);

private:
    std::string path_;
    std::time_t lastWrite_ = 0;
    bool present_ = false;
};

// How the start dealt with a copy left behind.
enum class RecoveryOutcome { kNone, kRestored, kDeclined, kKeptAside };

// Asks whether to restore the copy left behind (naming its file), asks for
// the password of a protected one, and restores it into `document`. A
// protected copy whose password is not given is set aside and the user is
// told where it is; a declined one is removed.
RecoveryOutcome OfferRecoveredData(RecoveryCopy& copy, CZVQDoc& document, Prompter& prompter,
                                   const LanguageTable& language);

}  // namespace vrm
