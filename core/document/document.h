// CZVQDoc: the program's one data set. It holds no radio data itself (that
// is the radio data image): it owns the current file name and folder, tells
// "modified" by comparing the live image with the saved one, and runs the
// file commands New, Open, Save and Save As and the unsaved-changes check.
// Questions and messages go through the Prompter, file dialogs through
// FileDialogs.
#pragma once

#include <functional>
#include <string>

#include "core/document/app_settings.h"
#include "core/document/frame_text.h"
#include "core/files/data_file.h"

namespace vrm {

class Clock;
class FileDialogs;
class LanguageTable;
class ModelCatalogue;
class Prompter;
class RadioImage;
struct Message;

// How a file command ended.
enum class DocResult {
    Done,       // the command did what it was asked
    Cancelled,  // the user stopped it; nothing changed
    Failed,     // it failed and said so; nothing changed
};

class CZVQDoc {
public:
    CZVQDoc(RadioImage& image, ModelCatalogue& catalogue, const LanguageTable& language,
            const SecuritySettings& security, Clock& clock);

    const std::string& FileName() const { return fileName_; }
    const std::string& Folder() const { return folder_; }
    std::string FilePath() const { return folder_ + fileName_; }
    void SetFolder(const std::string& folder);
    // Back to "vrm650t.dat" (after New, a read and a model change); the data
    // no longer belongs to a protected file.
    void ResetFileName() {
        fileName_ = kDefaultFileName;
        openedPassword_.clear();
    }

    bool IsModified() const;

    // The unsaved-changes check: true to go on with the command that asked.
    // Yes saves through Save As; when that save does not happen (cancelled
    // or failed) the command stops, so the edits are not thrown away.
    bool SaveModified(Prompter& prompter, FileDialogs& dialogs);

    DocResult OnFileNew(Prompter& prompter, FileDialogs& dialogs);
    // `beforeAdopt` runs after the file was read and accepted, just before the
    // image is replaced (the frame closes its editors there).
    DocResult OnFileOpen(Prompter& prompter, FileDialogs& dialogs, const std::function<void()>& beforeAdopt = {});
    DocResult OnFileSave(Prompter& prompter);
    // Asks for a data file as Open does and reads it into `other` as Open
    // would show it, leaving the document alone: Done with the file's path in
    // `path`; Cancelled; Failed after Open's message.
    DocResult ReadOtherFile(Prompter& prompter, FileDialogs& dialogs, RadioImage& other,
                            ModelCatalogue& otherCatalogue, std::string& path) const;
    DocResult OnFileSaveAs(Prompter& prompter, FileDialogs& dialogs);

    // Takes a successful read's transfer image as the data.
    void AdoptReadData();

    // Takes the data of a recovery copy: the image as the user left it, under
    // the name of the file it belonged to (`path` "" for a new document), with
    // that file's data-file `password` ("" when it had none), which Save and
    // Save As keep as they do for an opened file. The data shows as modified,
    // so that the user saves it.
    void RestoreRecovered(const ImageBuffer& image, const std::string& path, const std::string& password = "");

    // The data-file password of the file the data was opened from (empty
    // when it carried none). Save and Save As keep it, so that a protected
    // file never loses its protection because the "Data File" switch is off.
    const std::string& OpenedPassword() const { return openedPassword_; }
    // The security a save of the data uses: the settings' when the "Data
    // File" switch is on, else the opened file's password when it had one.
    DataFileSecurity SaveSecurity() const;
    // The protection of the data's recovery copy: the password of the file it
    // was opened from, else the settings' when "Data File" is on; none when a
    // save would write the file unprotected.
    DataFileSecurity RecoverySecurity() const;

    // The name Save As writes for a typed name: "dat" is appended when the
    // extension is not "dat" (any case), with a "." unless the name ends in
    // one.
    static std::string WithDataExtension(const std::string& path);

    // Messages built the program's way (error: caption 10006001; warning:
    // 10006002).
    Message ErrorMessage(std::string text, int textId) const;

    // Runs whenever New, Open or a read replaced the data (the edit history
    // starts afresh there).
    void SetDataReplacedHandler(std::function<void()> handler) { dataReplaced_ = std::move(handler); }
    // Runs after every successful save (Save, Save As, and the save the
    // unsaved-changes question starts) with the path written.
    void SetSavedHandler(std::function<void(const std::string& path)> handler) { saved_ = std::move(handler); }

private:
    // Done for a read that succeeded; else Open's message for a refused read
    // (Failed) or nothing after a cancelled password question (Cancelled).
    DocResult ReportReadFailure(const DataFileResult& read, const std::string& name, Prompter& prompter) const;
    DocResult WriteTo(const std::string& folder, const std::string& fileName, Prompter& prompter);
    bool ConfirmOverwrite(const std::string& fileName, Prompter& prompter) const;
    std::string Text(unsigned id) const;

    RadioImage& image_;
    ModelCatalogue& catalogue_;
    std::string openedPassword_;
    const LanguageTable& language_;
    const SecuritySettings& security_;
    Clock& clock_;
    void DataReplaced() const {
        if (dataReplaced_) dataReplaced_();
    }

    std::string fileName_ = kDefaultFileName;
    std::string folder_;
    std::function<void()> dataReplaced_;
    std::function<void(const std::string&)> saved_;
};

}  // namespace vrm
