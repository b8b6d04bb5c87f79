// The recovery copy: while the document is modified the program keeps a copy
// of its image in the user's state folder, so that a crash or a killed
// process loses no edit. The copy names the data file it belongs to. It is
// written atomically (a temporary file, then a rename) and removed when the
// data no longer differs from a saved state (clean exit, New, Open, Save).
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "model/radio_image.h"

namespace vrm {

// The user's state folder for the program: $XDG_STATE_HOME/vrm650t, else
// ~/.local/state/vrm650t.
std::string DefaultStateFolder();

struct RecoveredData {
    ImageBuffer image{};
    std::string documentPath;  // the data file the edits belonged to ("" for a new document)
};

class RecoveryCopy {
public:
    explicit RecoveryCopy(std::string folder = DefaultStateFolder());

    const std::string& Path() const { return path_; }
    // Writes the copy; 0 or errno. The folder is created when missing.
    int Write(const ImageBuffer& image, const std::string& documentPath);
    void Remove();
    // The copy left behind, when there is a complete one.
    std::optional<RecoveredData> Find() const;

    // The timer's and the transfers' step: a modified document is written at
    // most every `minSeconds` (0: now), an unmodified one removes the copy.
    void Checkpoint(bool modified, const ImageBuffer& image, const std::string& documentPath, std::time_t now,
                    int minSeconds);

private:
    std::string path_;
    std::time_t lastWrite_ = 0;
    bool present_ = false;
};

}  // namespace vrm
