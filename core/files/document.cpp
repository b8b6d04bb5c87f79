#include "core/files/document.h"

#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"

namespace vrm {

namespace {

// The folder part of a path (with its '/'; "" for a bare name) and the name.
struct PathParts {
    std::string folder;
    std::string name;
};
PathParts SplitPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {std::string(), path};
    return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace

Message OverwriteQuestion(const LanguageTable& language, const std::string& name) {
    Message m;
    m.kind = MessageKind::Warning;
    m.buttons = Buttons::OkCancel;
    m.defaultAnswer = Answer::Cancel;
    m.caption = language.TextString(tid::kCaptionWarning);
    m.text = FormatText("%s\n\n%s : %s", {language.TextString(tid::kMsgOverwriteQuestion),
                                          language.TextString(tid::kMsgOverwriteFileLabel), name});
    m.textId = static_cast<int>(tid::kMsgOverwriteQuestion);
    return m;
}

bool ConfirmOverwrite(Prompter& prompter, const LanguageTable& language, const std::string& name) {
    return prompter.Ask(OverwriteQuestion(language, name)) == Answer::Ok;
}

Document::Document(const LanguageTable& language)
    : language_(language),
      image_(std::make_unique<RadioImage>()),
      catalogue_(std::make_unique<ModelCatalogue>(*image_)),
      session_(std::make_unique<EditSession>(*image_, *catalogue_, language)) {
    // The New defaults' preset channels go through the channel data model.
    image_->SetPresetChannelWriter(WritePresetChannels);
}

Document::~Document() = default;

void Document::SetFolder(const std::string& folder) { folder_ = WithTrailingSeparator(folder); }

void Document::ResetFileName() {
    fileName_ = kDocumentDefaultName;
    openedPassword_.clear();
}

void Document::TakeName(const std::string& path) {
    const PathParts parts = SplitPath(path);
    if (!parts.name.empty()) fileName_ = parts.name;
    if (!parts.folder.empty()) folder_ = WithTrailingSeparator(parts.folder);
}

bool Document::IsModified() const { return image_->IsModified(); }

void Document::DataReplaced() {
    session_->ClearHistory();
    if (dataReplaced_) dataReplaced_();
}

void Document::New() {
    const ModelIdentity identity = image_->Identity();
    image_->Clear();
    image_->SetIdentity(identity);
    image_->InitialiseDefaults(*catalogue_, false);
    image_->TakeSnapshot();
    ResetFileName();
    DataReplaced();
}

void Document::NewOfModel(int model, std::uint16_t bandWord) {
    image_->Clear();
    catalogue_->SetModel(model);
    catalogue_->SetBandWord(bandWord);
    image_->InitialiseDefaults(*catalogue_, false);
    image_->TakeSnapshot();
    ResetFileName();
    DataReplaced();
}

DataFileResult Document::Read(const std::string& path, Prompter& prompter) {
    DataFile file(*image_, *catalogue_);
    return file.Read(path, prompter, language_);
}

DataFileResult Document::Open(const std::string& path, Prompter& prompter, const std::function<void()>& beforeAdopt) {
    const DataFileResult read = Read(path, prompter);
    if (!read.Ok()) return read;
    if (beforeAdopt) beforeAdopt();
    TakeName(path);
    openedPassword_ = read.protectedFile ? read.password : std::string();
    AdoptLoadedImage(*image_, *catalogue_);
    image_->TakeSnapshot();
    DataReplaced();
    return read;
}

DataFileSecurity Document::SaveSecurity(const DataFileSecurity& settings) const {
    DataFileSecurity security = settings;
    if (!security.dataFile && !openedPassword_.empty()) {
        security.dataFile = true;
        security.password = openedPassword_;
    }
    return security;
}

DataFileResult Document::Save(const std::string& path, const DataFileSecurity& settings, Clock& clock) {
    DataFile file(*image_, *catalogue_);
    const DataFileResult written = file.Write(path, SaveSecurity(settings), clock);
    if (!written.Ok()) return written;
    image_->TakeSnapshot();
    TakeName(path);
    return written;
}

void Document::AdoptRead() {
    AdoptLoadedImage(*image_, *catalogue_);
    image_->TakeSnapshot();
    ResetFileName();
    DataReplaced();
}

void Document::AdoptRead(const ImageBuffer& image) {
    image_->Transfer() = image;
    AdoptRead();
}

void Document::Hold(const ImageBuffer& image) {
    image_->Transfer() = image;
    image_->AdoptTransferImage();
    catalogue_->RecomputeBandLimits();
    image_->TakeSnapshot();
    session_->ClearHistory();
}

void Document::Replace(const ImageBuffer& image) {
    image_->Live() = image;
    catalogue_->RecomputeBandLimits();
    DataReplaced();
}

void Document::RestoreRecovered(const ImageBuffer& image, const std::string& path, const std::string& password) {
    image_->Transfer() = image;
    image_->AdoptTransferImage();
    catalogue_->RecomputeBandLimits();
    ResetFileName();
    openedPassword_ = password;
    TakeName(path);
    DataReplaced();
}

void Document::ModelChanged(bool changed) {
    if (!changed) return;
    ResetFileName();
    DataReplaced();
}

}  // namespace vrm
