// Document: one data set. It owns the radio data image (live, saved and
// transfer buffers), the model catalogue's view of them, the edit session
// (the one write path with its undo history), the file name and folder, and
// the data-file password of the file the data was opened from. Every way data
// comes in or goes out runs here, the same for the desktop program, the
// command line, comparisons, backups and exports: New, Open (read, checks,
// load fix-up, adopt), Save (atomic, the opened password kept), adopting a
// read, restoring a recovery copy and the end of a model change.
//
// The desktop program's document (CZVQDoc) is built on it and adds the
// questions and file dialogs of the file commands.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/files/data_file.h"
#include "core/model/radio_image.h"

namespace vrm {

class Clock;
class EditSession;
class LanguageTable;
class ModelCatalogue;
class Prompter;
struct Message;

// The name a data set has until it is saved or opened.
inline constexpr const char* kDocumentDefaultName = "vrm650t.dat";

// The question asked before a file is replaced (OK/Cancel, Cancel the
// default), with `name` as the file it names. Every command that replaces a
// file the user chose asks it this way.
Message OverwriteQuestion(const LanguageTable& language, const std::string& name);
// Asks it; true for OK.
bool ConfirmOverwrite(Prompter& prompter, const LanguageTable& language, const std::string& name);

class Document {
public:
    // `language` gives the edit session its texts and the password prompt
    // its message; it must outlive the document.
    explicit Document(const LanguageTable& language);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    RadioImage& Image() { return *image_; }
    const RadioImage& Image() const { return *image_; }
    ModelCatalogue& Catalogue() { return *catalogue_; }
    const ModelCatalogue& Catalogue() const { return *catalogue_; }
    EditSession& Session() { return *session_; }
    const EditSession& Session() const { return *session_; }
    const LanguageTable& Language() const { return language_; }

    const std::string& FileName() const { return fileName_; }
    const std::string& Folder() const { return folder_; }
    std::string FilePath() const { return folder_ + fileName_; }
    void SetFolder(const std::string& folder);
    // Back to "vrm650t.dat" (after New, a read and a model change); the data
    // no longer belongs to a protected file.
    void ResetFileName();

    // Live image against the saved one: undoing back to the saved state is
    // not modified.
    bool IsModified() const;

    // New: the current model's New defaults (its identity kept), a snapshot,
    // the default name.
    void New();
    // The New defaults of catalogue model `model` (1-4) in band `bandWord`.
    void NewOfModel(int model, std::uint16_t bandWord);

    // Reads a data file into the transfer image with the file's checks (a
    // protected file's password asked through `prompter`); the data set is
    // left alone.
    DataFileResult Read(const std::string& path, Prompter& prompter);
    // Open: the read above, and on success (after `beforeAdopt`) the data:
    // adopted with the load fix-up, a snapshot, the file's name, folder and
    // password. A refused or cancelled read changes nothing.
    DataFileResult Open(const std::string& path, Prompter& prompter, const std::function<void()>& beforeAdopt = {});

    // The security a save uses: `settings` when they switch the data-file
    // password on, else the opened file's password when it had one, so that
    // a protected file never loses its protection on a save.
    DataFileSecurity SaveSecurity(const DataFileSecurity& settings) const;
    // Writes the live image to `path` (replacing the file only once the new
    // one is complete) with SaveSecurity(settings). On success the data is
    // saved (snapshot) and carries the path's name and folder.
    DataFileResult Save(const std::string& path, const DataFileSecurity& settings, Clock& clock);

    // Takes a successful radio read's transfer image as the data, as Open
    // takes a file's: the load fix-up, a snapshot, the default name.
    void AdoptRead();
    void AdoptRead(const ImageBuffer& image);
    // Holds `image` exactly as given (no fix-up, not modified): a radio's
    // memory to back up, a side of a comparison.
    void Hold(const ImageBuffer& image);
    // Replaces the data with `image` of another model (an import): a fresh
    // edit history, the name kept; it shows as modified.
    void Replace(const ImageBuffer& image);
    // Takes the data of a recovery copy: the image as the user left it, under
    // the name of the file it belonged to (`path` "" for a new document), with
    // that file's data-file `password` ("" when it had none), which a save
    // keeps. The data shows as modified, so that the user saves it.
    void RestoreRecovered(const ImageBuffer& image, const std::string& path, const std::string& password = "");
    // The end of a model change that rebuilt data (`changed`): the default
    // name and a fresh edit history.
    void ModelChanged(bool changed);

    // The data-file password of the file the data was opened from (empty
    // when it carried none).
    const std::string& OpenedPassword() const { return openedPassword_; }

    // Runs whenever New, Open, a read, a restore, an import of another model
    // or a model change replaced the data (after the edit history was
    // cleared).
    void SetDataReplacedHandler(std::function<void()> handler) { dataReplaced_ = std::move(handler); }

protected:
    // The edit history starts afresh and the handler is told.
    void DataReplaced();

private:
    // The name and folder of `path` become the data set's (a bare name
    // keeps the folder).
    void TakeName(const std::string& path);

    const LanguageTable& language_;
    std::unique_ptr<RadioImage> image_;
    std::unique_ptr<ModelCatalogue> catalogue_;
    std::unique_ptr<EditSession> session_;
    std::string fileName_ = kDocumentDefaultName;
    std::string folder_;
    std::string openedPassword_;
    std::function<void()> dataReplaced_;
};

}  // namespace vrm
