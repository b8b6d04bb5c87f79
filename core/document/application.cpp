#include "core/document/application.h"

#include "core/document/document.h"

#include <ctime>
#include "core/document/frame_text.h"
#include "core/base/prompter.h"
#include "core/document/settings_store.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/link/transfer_gate.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {

Application::Application(Clock& clock)
    : clock_(clock),
      document_(std::make_unique<CZVQDoc>(language_, security_, clock_)),
      image_(&document_->Image()),
      catalogue_(&document_->Catalogue()),
      session_(&document_->Session()),
      // Each transfer's port is on the cable chosen in Setup at its start
      // (the first cable found unless one is chosen).
      transfers_(std::make_unique<TransferGate>([this] { return TransferGate::OnCable(programming_.cable)(); })) {}

Application::~Application() = default;

void Application::ReadCommandLine(const std::vector<std::string>& arguments) {
    switches_ = ParseCommandLine(arguments);
    language_.SetIdMode(switches_.idMode);
    transfers_->SetScrambling(!switches_.noEncryption);
}

void Application::SetProgramFolder(const std::string& folder) {
    programFolder_ = folder.empty() ? std::string() : WithTrailingSeparator(folder);
    language_.SetProgramFolder(programFolder_);
}

void Application::CopyHelpFiles() {
    const LanguageSettings& settings = language_.Settings();
    helpFiles_ = settings.helpFiles;
    advancedHelpFile_ = settings.advancedHelpFile;
}

bool Application::LoadLanguageAtStartup(SettingsStore& settings, Prompter& prompter) {
    const std::optional<std::string> stored = settings.ReadString(kSettingLanguageName);
    languageFile_ = stored && !stored->empty() ? *stored : std::string(kDefaultLanguageFile);
    // The installed languages are listed when Language File Setup opens,
    // which scans the folder again then; reading every language file here
    // as well cost two more parses of each before the first window showed.
    language_.ResetSettings();
    if (!language_.Load(languageFile_, false, nullptr)) {
        languageFile_ = kDefaultLanguageFile;
        language_.ResetSettings();
        if (!language_.Load(languageFile_, true, &prompter)) return false;
    }
    CopyHelpFiles();
    return true;
}

void Application::PrepareData(SettingsStore& settings, const std::string& defaultFolder) {
    dataFolder_ = WithTrailingSeparator(defaultFolder);
    image_->Clear();
    document_->ResetFileName();
    document_->SetFolder(StartFolder(settings.ReadString(kSettingLastFilePath).value_or(""), defaultFolder));

    bool resetIdentity = true;
    if (const std::optional<std::string> stored = settings.ReadString(kSettingLastModel)) {
        const std::optional<ModelIdentity> identity = ParseLastModel(*stored);
        if (identity && ModelCatalogue::IsAcceptable(*identity)) {
            image_->SetIdentity(*identity);
            resetIdentity = false;
        }
    }
    image_->InitialiseDefaults(*catalogue_, resetIdentity);
    image_->TakeSnapshot();
}

void Application::ReadSecuritySettings(SettingsStore& settings) {
    security_.dataFile = settings.ReadInt(kSettingDataFile).value_or(0) == 1;

    std::optional<ProtectValue> protect;
    if (const std::optional<std::string> user = settings.ReadString(kSettingProtect); user && !user->empty())
        protect = UnscrambleProtect(*user);
    if (!protect) {
        if (const std::optional<std::string> machine = settings.ReadMachineString(kSettingProtect);
            machine && !machine->empty())
            protect = UnscrambleProtect(*machine);
    }
    if (!protect) protect = ProtectValue{true, kDefaultSecurityPassword};
    security_.password = protect->password;
    security_.programExecution = protect->programExecution;
}

void Application::ReadProgrammingOptions(SettingsStore& settings) {
    programming_.backup = settings.ReadInt(kSettingWriteBackup).value_or(1) != 0;
    programming_.backupFolder = settings.ReadString(kSettingBackupFolder).value_or("");
    programming_.verify = settings.ReadInt(kSettingWriteVerify).value_or(1) != 0;
    programming_.log = settings.ReadInt(kSettingProgrammingLog).value_or(1) != 0;
    programming_.cable = settings.ReadString(kSettingProgrammingCable).value_or("");
}

void Application::WriteProgrammingOptions(SettingsStore& settings) const {
    settings.WriteInt(kSettingWriteBackup, programming_.backup ? 1 : 0);
    settings.WriteString(kSettingBackupFolder, programming_.backupFolder);
    settings.WriteInt(kSettingWriteVerify, programming_.verify ? 1 : 0);
    settings.WriteInt(kSettingProgrammingLog, programming_.log ? 1 : 0);
    settings.WriteString(kSettingProgrammingCable, programming_.cable);
}

SafeWriteOptions Application::WriteOptions() {
    SafeWriteOptions o;
    o.backup = programming_.backup;
    o.backupFolder = programming_.backupFolder.empty() ? dataFolder_ + kBackupFolderName : programming_.backupFolder;
    o.verify = programming_.verify;
    o.log = programming_.log;
    o.logPath = dataFolder_ + kProgrammingLogName;
    // Edits not yet saved: the image is not the file's.
    o.dataFile = document_->FilePath() + (document_->IsModified() ? " (modified)" : "");
    o.security = document_->SaveSecurity();
    return o;
}

void Application::SetRecoveryFolder(const std::string& folder) { recovery_ = std::make_unique<RecoveryCopy>(folder); }

void Application::CheckpointRecovery(int minSeconds) {
    if (!recovery_) return;
    recovery_->Checkpoint(document_->IsModified(), image_->Live(), document_->FilePath(), std::time(nullptr),
                          minSeconds, document_->RecoverySecurity(), !document_->OpenedPassword().empty());
}

void Application::WriteSettings(SettingsStore& settings) const {
    WriteProgrammingOptions(settings);
    settings.WriteString(kSettingLastModel, FormatLastModel(image_->Identity()));
    settings.WriteInt(kSettingComPort, comPort_);
    settings.WriteString(kSettingLastFilePath, document_->Folder());
    settings.WriteString(kSettingLanguageName, languageFile_);
    settings.WriteInt(kSettingDataFile, security_.dataFile ? 1 : 0);
    settings.WriteString(kSettingProtect, ScrambleProtect(security_.programExecution, security_.password));
    settings.Flush();
}

bool Application::ChangeLanguage(const std::string& fileName, Prompter& prompter) {
    language_.ResetSettings();
    if (!language_.Load(fileName, true, &prompter)) return false;
    languageFile_ = fileName;
    CopyHelpFiles();
    return true;
}

std::string Application::ModelSummary(char decimalSeparator) const {
    return catalogue_->ModelSummaryText(std::string_view(&decimalSeparator, 1));
}

vrm::EntryMode Application::EntryMode() const { return catalogue_->EntryMode(); }

std::string Application::Title(char decimalSeparator) const {
    return MainFrameTitle(ModelSummary(decimalSeparator), Text(tid::kTitleFileLabel), document_->FileName(),
                          NoEncryption());
}

}  // namespace vrm
