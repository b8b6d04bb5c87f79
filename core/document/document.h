// CZVQDoc: the desktop program's document, the one data set of the program
// (a Document) with the file commands New, Open, Save and Save As and the
// unsaved-changes check. It adds the questions, messages and file dialogs of
// those commands and the security settings a save uses. Questions and
// messages go through the Prompter, file dialogs through FileDialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/document/app_settings.h"
#include "core/document/frame_text.h"
#include "core/document/model_change.h"
#include "core/files/data_file.h"
#include "core/files/document.h"

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

class CZVQDoc : public Document {
public:
    CZVQDoc(const LanguageTable& language, const SecuritySettings& security, Clock& clock);

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
    // would show it, leaving this document alone: Done with the file's path
    // in `path`; Cancelled; Failed after Open's message.
    DocResult ReadOtherFile(Prompter& prompter, FileDialogs& dialogs, Document& other, std::string& path) const;
    DocResult OnFileSaveAs(Prompter& prompter, FileDialogs& dialogs);

    // Takes a successful read's transfer image as the data.
    void AdoptReadData() { AdoptRead(); }

    // Carries out a model change the model dialog settled: true when the
    // data changed (the name is then the default and the edit history
    // starts afresh).
    bool ChangeModel(ModelChange& rules, const ModelChange::Plan& plan, int model, std::uint16_t bandWord);

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

    // Runs after every successful save (Save, Save As, and the save the
    // unsaved-changes question starts) with the path written.
    void SetSavedHandler(std::function<void(const std::string& path)> handler) { saved_ = std::move(handler); }

private:
    // Done for a read that succeeded; else Open's message for a refused read
    // (Failed) or nothing after a cancelled password question (Cancelled).
    DocResult ReportReadFailure(const DataFileResult& read, const std::string& name, Prompter& prompter) const;
    // Tells why a write failed, and warns when the replaced file's owner
    // could not be kept.
    void ReportWrite(const DataFileResult& written, const std::string& fileName, Prompter& prompter) const;
    DocResult WriteTo(const std::string& folder, const std::string& fileName, Prompter& prompter);
    // Asks for a data file to open (`title` "" for Open's own).
    std::optional<std::string> AskDataFile(FileDialogs& dialogs, const std::string& title) const;
    std::string Text(unsigned id) const;
    // The security settings as a save takes them.
    DataFileSecurity Settings() const;

    const SecuritySettings& security_;
    Clock& clock_;
    std::function<void(const std::string&)> saved_;
};

}  // namespace vrm
