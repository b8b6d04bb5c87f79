// The file-open and file-save dialogs as the document sees them. The desktop
// program shows its own dialogs; tests answer from a script.
#pragma once

#include <optional>
#include <string>

namespace vrm {

struct FileDialogRequest {
    std::string filterText;     // the filter's description, e.g. "Data Files (*.dat)"
    std::string pattern;        // "*.dat"
    std::string folder;         // where the dialog starts
    std::string fileName;       // the proposed name (save)
    std::string defaultExtension;  // "dat" (save)
    std::string title;          // the dialog's title; empty: the command's own (Open, Save As)
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen existing file (full path), or nullopt when cancelled.
    virtual std::optional<std::string> AskOpenFile(const FileDialogRequest& request) = 0;
    // The chosen name as typed (full path), or nullopt when cancelled. The
    // dialog itself never asks about overwriting: the document does.
    virtual std::optional<std::string> AskSaveFile(const FileDialogRequest& request) = 0;
};

}  // namespace vrm
