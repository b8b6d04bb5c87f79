// The application object: owns the process-wide objects (the radio data
// image, the model catalogue, the language text table, the document, the
// security settings) and runs the start-up and exit steps that are not
// about windows. The desktop program and the tests make their own.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/document/app_settings.h"
#include "core/document/recovery.h"
#include "core/link/safe_write.h"
#include "core/model/entry_mode.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"

namespace vrm {

class CZVQDoc;
class Clock;
class EditSession;
class ModelCatalogue;
class Prompter;
class TransferGate;
class RadioImage;
class SettingsStore;

class Application {
public:
    // `clock` gives the data-file writer its image key.
    explicit Application(Clock& clock);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    RadioImage& Image() { return *image_; }
    ModelCatalogue& Catalogue() { return *catalogue_; }
    LanguageTable& Language() { return language_; }
    const LanguageTable& Language() const { return language_; }
    CZVQDoc& Document() { return *document_; }
    // The one write path of the editors, with the undo history.
    EditSession& Session() { return *session_; }
    SecuritySettings& Security() { return security_; }
    Clock& GetClock() { return clock_; }
    // Radio transfers, one at a time, each on a port of its own
    // (libpipelink.so by name; scrambling off when started with
    // "noencryption").
    TransferGate& Transfers() { return *transfers_; }

    // Start-up, step 1: the command-line switches (arguments after the
    // program name).
    void ReadCommandLine(const std::vector<std::string>& arguments);
    const CommandLineSwitches& Switches() const { return switches_; }
    bool NoEncryption() const { return switches_.noEncryption; }
    // The encryption option: on for the whole run.
    bool Encryption() const { return encryption_; }

    // The folder the program lies in (with a trailing '/'); language and
    // help files are looked for there first.
    void SetProgramFolder(const std::string& folder);
    const std::string& ProgramFolder() const { return programFolder_; }

    // The language file named in the settings without reporting, else
    // "vrm650t_en.lng" reporting through `prompter`. False when neither
    // loads: start-up ends.
    bool LoadLanguageAtStartup(SettingsStore& settings, Prompter& prompter);

    // Step 5d-g: clear the image, default file name, current folder from
    // "LastFilePath" (else `defaultFolder`), the model from "LastModel" (else
    // the default identity), the New defaults and a snapshot.
    void PrepareData(SettingsStore& settings, const std::string& defaultFolder);

    // Step 5i: "DataFile", then "Protect" (with the machine-wide value and the
    // fixed default as fallbacks).
    void ReadSecuritySettings(SettingsStore& settings);

    // Exit: "LastModel", "ComPort", "LastFilePath", "LanguageName",
    // "DataFile" and "Protect" (and the programming options).
    void WriteSettings(SettingsStore& settings) const;

    // Programming Options, read at start-up, kept at exit and whenever the
    // dialog changes them.
    ProgrammingOptions& Programming() { return programming_; }
    void ReadProgrammingOptions(SettingsStore& settings);
    void WriteProgrammingOptions(SettingsStore& settings) const;
    // The default data folder (backups and the programming log live there).
    const std::string& DataFolder() const { return dataFolder_; }
    void SetDataFolder(const std::string& folder) { dataFolder_ = folder; }
    // What a write of the document does around the transfer.
    SafeWriteOptions WriteOptions();
    // The copy of unsaved data kept against a crash; null until the
    // desktop program names its folder (tests keep none).
    RecoveryCopy* Recovery() { return recovery_.get(); }
    void SetRecoveryFolder(const std::string& folder);
    // The transfers' and the timer's step: keeps the copy of a modified
    // document (at most every `minSeconds`; 0: now), removes it otherwise.
    void CheckpointRecovery(int minSeconds);

    // The language file in use (name only) and the help file names copied
    // from it.
    const std::string& LanguageFile() const { return languageFile_; }
    const std::array<std::string, LanguageSettings::kHelpFileSlots>& HelpFiles() const { return helpFiles_; }
    const std::string& AdvancedHelpFile() const { return advancedHelpFile_; }

    // Language File Setup: resets the settings, loads `fileName` reporting
    // failures, and on success makes it the language in use and copies its
    // help file names. On failure the language in use stays.
    bool ChangeLanguage(const std::string& fileName, Prompter& prompter);

    // The port number stored as "ComPort" (the port always uses 1).
    int ComPort() const { return comPort_; }
    void SetComPort(int port) { comPort_ = port; }

    // Texts about the current model, with the user's decimal separator.
    std::string ModelSummary(char decimalSeparator) const;
    // The type is named with its namespace: inside the class the plain name
    // means this accessor.
    vrm::EntryMode EntryMode() const;

    // The main frame's title for the current model and file.
    std::string Title(char decimalSeparator) const;

    std::string Text(tid::TextId id) const { return language_.TextString(id); }

private:
    void CopyHelpFiles();

    Clock& clock_;
    LanguageTable language_;
    // The document owns the image, the catalogue and the edit session.
    std::unique_ptr<CZVQDoc> document_;
    RadioImage* image_;
    ModelCatalogue* catalogue_;
    EditSession* session_;
    std::unique_ptr<TransferGate> transfers_;
    SecuritySettings security_;
    ProgrammingOptions programming_;
    std::string dataFolder_;
    std::unique_ptr<RecoveryCopy> recovery_;
    CommandLineSwitches switches_;
    bool encryption_ = true;
    std::string programFolder_;
    std::string languageFile_ = kDefaultLanguageFile;
    std::array<std::string, LanguageSettings::kHelpFileSlots> helpFiles_;
    std::string advancedHelpFile_;
    int comPort_ = 1;
};

}  // namespace vrm
