#include "core/document/document.h"

#include <algorithm>
#include <cctype>
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

std::string ToLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

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

CZVQDoc::CZVQDoc(const LanguageTable& language, const SecuritySettings& security, Clock& clock)
    : Document(language), security_(security), clock_(clock) {}

std::string CZVQDoc::Text(unsigned id) const { return Language().TextString(id); }

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
    m.text = FormatText("%s \"%s\" ?", {Text(tid::kMsgSaveChangesFormat), FileName()});
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
    New();
    return DocResult::Done;
}

std::optional<std::string> CZVQDoc::AskDataFile(FileDialogs& dialogs, const std::string& title) const {
    FileDialogRequest request;
    request.filterText = FormatText("%s (*.dat)", {Text(tid::kDataFileFilter)});
    request.pattern = "*.dat";
    request.folder = Folder();
    request.title = title;
    return dialogs.AskOpenFile(request);
}

DocResult CZVQDoc::OnFileOpen(Prompter& prompter, FileDialogs& dialogs, const std::function<void()>& beforeAdopt) {
    if (!SaveModified(prompter, dialogs)) return DocResult::Cancelled;
    const std::optional<std::string> chosen = AskDataFile(dialogs, std::string());
    if (!chosen) return DocResult::Cancelled;
    std::string folder, name;
    SplitPath(*chosen, folder, name);
    const DataFileResult read = Open(*chosen, prompter, beforeAdopt);
    return ReportReadFailure(read, name, prompter);
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

DocResult CZVQDoc::ReadOtherFile(Prompter& prompter, FileDialogs& dialogs, Document& other, std::string& path) const {
    const std::optional<std::string> chosen = AskDataFile(dialogs, Text(tid::kCompareFilePick));
    if (!chosen) return DocResult::Cancelled;
    std::string folder, name;
    SplitPath(*chosen, folder, name);
    const DocResult result = ReportReadFailure(other.Open(*chosen, prompter), name, prompter);
    if (result == DocResult::Done) path = *chosen;
    return result;
}

DocResult CZVQDoc::OnFileSave(Prompter& prompter) {
    if (NameExists(FilePath()) && !ConfirmOverwrite(prompter, Language(), FileName())) return DocResult::Cancelled;
    return WriteTo(Folder(), FileName(), prompter);
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
    request.folder = Folder();
    request.fileName = FileName();
    request.defaultExtension = "dat";
    const std::optional<std::string> chosen = dialogs.AskSaveFile(request);
    if (!chosen || chosen->empty()) return DocResult::Cancelled;

    const std::string path = WithDataExtension(*chosen);
    std::string folder, name;
    SplitPath(path, folder, name);
    if (name.empty() || name == "." || name == "..") return DocResult::Cancelled;
    // The dialog leaves the question to us, so that a name that only got its
    // extension here is asked about too (a dangling link too: its target
    // would be created).
    if (NameExists(path) && !ConfirmOverwrite(prompter, Language(), name)) return DocResult::Cancelled;
    return WriteTo(folder.empty() ? Folder() : folder, name, prompter);
}

DataFileSecurity CZVQDoc::Settings() const {
    DataFileSecurity settings;
    settings.dataFile = security_.dataFile;
    settings.password = security_.password;
    return settings;
}

DataFileSecurity CZVQDoc::SaveSecurity() const { return Document::SaveSecurity(Settings()); }

DataFileSecurity CZVQDoc::RecoverySecurity() const {
    DataFileSecurity security;
    if (!OpenedPassword().empty()) {
        security.dataFile = true;
        security.password = OpenedPassword();
    } else if (security_.dataFile) {
        security.dataFile = true;
        security.password = security_.password;
    }
    return security;
}

void CZVQDoc::ReportWrite(const DataFileResult& written, const std::string& fileName, Prompter& prompter) const {
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
        return;
    }
    if (!written.ownerKept) {
        Message m = ErrorMessage(FormatText(Text(tid::kMsgOwnerNotKept), {fileName}),
                                 static_cast<int>(tid::kMsgOwnerNotKept));
        m.kind = MessageKind::Warning;
        m.caption = Text(tid::kCaptionWarning);
        prompter.Ask(m);
    }
}

DocResult CZVQDoc::WriteTo(const std::string& folder, const std::string& fileName, Prompter& prompter) {
    const DataFileResult written = Save(folder + fileName, Settings(), clock_);
    if (written.Ok() && saved_) saved_(FilePath());
    ReportWrite(written, fileName, prompter);
    return written.Ok() ? DocResult::Done : DocResult::Failed;
}

bool CZVQDoc::ChangeModel(ModelChange& rules, const ModelChange::Plan& plan, int model, std::uint16_t bandWord) {
    const bool changed = rules.Apply(plan, model, bandWord);
    ModelChanged(changed);
    return changed;
}

}  // namespace vrm
