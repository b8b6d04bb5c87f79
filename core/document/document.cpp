#include "core/document/document.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/document/file_dialogs.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/safe_file.h"
#include "core/base/text_ids.h"
#include "core/files/data_file.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

std::string ToLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Something is at `path`, a dangling link included: its target would be
// created, so the overwrite question is asked for it too.
bool FileExists(const std::string& path) { return NameExists(path); }

// The folder part (with a trailing '/') and the name part of a path.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        folder.clear();
        name = path;
    } else {
        folder = path.substr(0, slash + 1);
        name = path.substr(slash + 1);
    }
}

}  // namespace

CZVQDoc::CZVQDoc(RadioImage& image, ModelCatalogue& catalogue, const LanguageTable& language,
                 const SecuritySettings& security, Clock& clock)
    : image_(image), catalogue_(catalogue), language_(language), security_(security), clock_(clock) {}

std::string CZVQDoc::Text(unsigned id) const { return language_.TextString(id); }

void CZVQDoc::SetFolder(const std::string& folder) { folder_ = WithTrailingSeparator(folder); }

bool CZVQDoc::IsModified() const { return image_.IsModified(); }

Message CZVQDoc::ErrorMessage(std::string text, int textId) const {
    Message m;
    m.kind = MessageKind::Error;
    m.buttons = Buttons::Ok;
    m.defaultAnswer = Answer::Ok;
    m.caption = Text(tid::kCaptionError);
    m.text = std::move(text);
    m.textId = textId;
    return m;
}

bool CZVQDoc::SaveModified(Prompter& prompter, FileDialogs& dialogs) {
    if (!IsModified()) return true;
    Message m;
    m.kind = MessageKind::Warning;
    m.buttons = Buttons::YesNoCancel;
    m.defaultAnswer = Answer::Yes;
    m.caption = kProgramName;
    m.text = FormatText("%s \"%s\" ?", {Text(tid::kMsgSaveChangesFormat), fileName_});
    m.textId = static_cast<int>(tid::kMsgSaveChangesFormat);
    switch (prompter.Ask(m)) {
        case Answer::No: return true;
        case Answer::Yes:
            // The edits are kept only when the save really happened; a
            // cancelled or failed Save As stops the command that asked.
            return OnFileSaveAs(prompter, dialogs) == DocResult::Done;
        default: return false;
    }
}

DocResult CZVQDoc::OnFileNew(Prompter& prompter, FileDialogs& dialogs) {
    Message m;
    m.kind = MessageKind::Warning;
    m.buttons = Buttons::OkCancel;
    m.defaultAnswer = Answer::Cancel;
    m.caption = Text(tid::kCaptionWarning);
    m.text = Text(tid::kMsgDataReset);
    m.textId = static_cast<int>(tid::kMsgDataReset);
    if (prompter.Ask(m) != Answer::Ok) return DocResult::Cancelled;
    if (!SaveModified(prompter, dialogs)) return DocResult::Cancelled;

    const ModelIdentity identity = image_.Identity();
    image_.Clear();
    image_.SetIdentity(identity);
    image_.InitialiseDefaults(catalogue_, false);
    image_.TakeSnapshot();
    ResetFileName();
    DataReplaced();
    return DocResult::Done;
}

DocResult CZVQDoc::OnFileOpen(Prompter& prompter, FileDialogs& dialogs, const std::function<void()>& beforeAdopt) {
    if (!SaveModified(prompter, dialogs)) return DocResult::Cancelled;

    FileDialogRequest request;
    request.filterText = FormatText("%s (*.dat)", {Text(tid::kDataFileFilter)});
    request.pattern = "*.dat";
    request.folder = folder_;
    const std::optional<std::string> chosen = dialogs.AskOpenFile(request);
    if (!chosen) return DocResult::Cancelled;

    std::string folder, name;
    SplitPath(*chosen, folder, name);

    DataFile file(image_, catalogue_);
    const DataFileResult read = file.Read(*chosen, prompter, language_);
    if (const DocResult failed = ReportReadFailure(read, name, prompter); failed != DocResult::Done) return failed;

    if (beforeAdopt) beforeAdopt();
    openedPassword_ = read.protectedFile ? read.password : std::string();
    fileName_ = name;
    if (!folder.empty()) folder_ = folder;
    AdoptLoadedImage(image_, catalogue_);
    image_.TakeSnapshot();
    DataReplaced();
    return DocResult::Done;
}

DocResult CZVQDoc::ReportReadFailure(const DataFileResult& read, const std::string& name, Prompter& prompter) const {
    switch (read.code) {
        case kDataFileOk:
            return DocResult::Done;
        case kDataFileCancelled:
            return DocResult::Cancelled;
        case kDataFileBadSignature: {
            const std::string signature = read.SignatureText();
            if (signature.find("VRM") != std::string::npos) {
                prompter.Ask(ErrorMessage(FormatText(Text(tid::kMsgOtherProgramFile), {name, signature}),
                                          static_cast<int>(tid::kMsgOtherProgramFile)));
            } else {
                prompter.Ask(ErrorMessage(FormatText(Text(tid::kMsgNotADataFile), {name}),
                                          static_cast<int>(tid::kMsgNotADataFile)));
            }
            return DocResult::Failed;
        }
        case kDataFileNotAcceptable:
        case kDataFileWrongKind:
            prompter.Ask(ErrorMessage(Text(tid::kMsgWrongKindOfFile), static_cast<int>(tid::kMsgWrongKindOfFile)));
            return DocResult::Failed;
        default:
            if (read.problem == DataFileProblem::NotRegularFile) {
                prompter.Ask(ErrorMessage(FormatText(Text(tid::kMsgNotRegularFile), {name}),
                                          static_cast<int>(tid::kMsgNotRegularFile)));
            } else {
                prompter.Ask(ErrorMessage(Text(tid::kMsgFileUnreadable), static_cast<int>(tid::kMsgFileUnreadable)));
            }
            return DocResult::Failed;
    }
}

DocResult CZVQDoc::ReadOtherFile(Prompter& prompter, FileDialogs& dialogs, RadioImage& other,
                                 ModelCatalogue& otherCatalogue, std::string& path) const {
    FileDialogRequest request;
    request.filterText = FormatText("%s (*.dat)", {Text(tid::kDataFileFilter)});
    request.pattern = "*.dat";
    request.folder = folder_;
    request.title = Text(tid::kCompareFilePick);
    const std::optional<std::string> chosen = dialogs.AskOpenFile(request);
    if (!chosen) return DocResult::Cancelled;
    std::string folder, name;
    SplitPath(*chosen, folder, name);
    DataFile file(other, otherCatalogue);
    const DataFileResult read = file.Read(*chosen, prompter, language_);
    if (const DocResult failed = ReportReadFailure(read, name, prompter); failed != DocResult::Done) return failed;
    AdoptLoadedImage(other, otherCatalogue);
    path = *chosen;
    return DocResult::Done;
}

bool CZVQDoc::ConfirmOverwrite(const std::string& fileName, Prompter& prompter) const {
    Message m;
    m.kind = MessageKind::Warning;
    m.buttons = Buttons::OkCancel;
    m.defaultAnswer = Answer::Cancel;
    m.caption = Text(tid::kCaptionWarning);
    m.text = FormatText("%s\n\n%s : %s",
                        {Text(tid::kMsgOverwriteQuestion), Text(tid::kMsgOverwriteFileLabel), fileName});
    m.textId = static_cast<int>(tid::kMsgOverwriteQuestion);
    return prompter.Ask(m) == Answer::Ok;
}

DocResult CZVQDoc::OnFileSave(Prompter& prompter) {
    if (FileExists(FilePath()) && !ConfirmOverwrite(fileName_, prompter)) return DocResult::Cancelled;
    return WriteTo(folder_, fileName_, prompter);
}

std::string CZVQDoc::WithDataExtension(const std::string& path) {
    std::string folder, name;
    SplitPath(path, folder, name);
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (dot != std::string::npos && ToLower(extension) == "dat") return path;
    if (!name.empty() && name.back() == '.') return path + "dat";
    return path + ".dat";
}

DocResult CZVQDoc::OnFileSaveAs(Prompter& prompter, FileDialogs& dialogs) {
    FileDialogRequest request;
    request.filterText = FormatText("%s (*.dat)", {Text(tid::kDataFileFilter)});
    request.pattern = "*.dat";
    request.folder = folder_;
    request.fileName = fileName_;
    request.defaultExtension = "dat";
    const std::optional<std::string> chosen = dialogs.AskSaveFile(request);
    if (!chosen || chosen->empty()) return DocResult::Cancelled;

    const std::string path = WithDataExtension(*chosen);
    std::string folder, name;
    SplitPath(path, folder, name);
    if (name.empty() || name == "." || name == "..") return DocResult::Cancelled;
    // The dialog leaves the question to us, so that a name that only got its
    // extension here is asked about too.
    if (FileExists(path) && !ConfirmOverwrite(name, prompter)) return DocResult::Cancelled;
    return WriteTo(folder.empty() ? folder_ : folder, name, prompter);
}

DataFileSecurity CZVQDoc::SaveSecurity() const {
    DataFileSecurity security;
    security.dataFile = security_.dataFile;
    security.password = security_.password;
    if (!security.dataFile && !openedPassword_.empty()) {
        security.dataFile = true;
        security.password = openedPassword_;
    }
    return security;
}

DataFileSecurity CZVQDoc::RecoverySecurity() const {
    DataFileSecurity security;
    if (!openedPassword_.empty()) {
        security.dataFile = true;
        security.password = openedPassword_;
    } else if (security_.dataFile) {
        security.dataFile = true;
        security.password = security_.password;
    }
    return security;
}

DocResult CZVQDoc::WriteTo(const std::string& folder, const std::string& fileName, Prompter& prompter) {
    const DataFileSecurity security = SaveSecurity();
    DataFile file(image_, catalogue_);
    const DataFileResult written = file.Write(folder + fileName, security, clock_);
    if (!written.Ok()) {
        // The system's own text for the error; a failure without one still
        // says that the file could not be written.
        if (written.problem == DataFileProblem::NotRegularFile) {
            prompter.Ask(ErrorMessage(FormatText(Text(tid::kMsgNotRegularFile), {fileName}),
                                      static_cast<int>(tid::kMsgNotRegularFile)));
        } else if (written.systemError != 0) {
            prompter.Ask(ErrorMessage(std::system_category().message(written.systemError), 0));
        } else {
            prompter.Ask(ErrorMessage(FormatText(Text(tid::kMsgFileNotWritten), {fileName}),
                                      static_cast<int>(tid::kMsgFileNotWritten)));
        }
        return DocResult::Failed;
    }
    image_.TakeSnapshot();
    fileName_ = fileName;
    folder_ = WithTrailingSeparator(folder);
    if (saved_) saved_(FilePath());
    if (!written.ownerKept) {
        Message m = ErrorMessage(FormatText(Text(tid::kMsgOwnerNotKept), {fileName}),
                                 static_cast<int>(tid::kMsgOwnerNotKept));
        m.kind = MessageKind::Warning;
        m.caption = Text(tid::kCaptionWarning);
        prompter.Ask(m);
    }
    return DocResult::Done;
}

void CZVQDoc::RestoreRecovered(const ImageBuffer& image, const std::string& path, const std::string& password) {
    image_.Transfer() = image;
    image_.AdoptTransferImage();
    catalogue_.RecomputeBandLimits();
    ResetFileName();
    openedPassword_ = password;
    if (!path.empty()) {
        std::string folder, name;
        SplitPath(path, folder, name);
        if (!name.empty()) fileName_ = name;
        if (!folder.empty()) folder_ = WithTrailingSeparator(folder);
    }
    DataReplaced();
}

void CZVQDoc::AdoptReadData() {
    AdoptLoadedImage(image_, catalogue_);
    image_.TakeSnapshot();
    ResetFileName();
    DataReplaced();
}

}  // namespace vrm
