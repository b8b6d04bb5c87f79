#include "gui/app/channel_csv_commands_qt.h"

#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "core/document/application.h"
#include "gui/app/channel_csv_dialog.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "core/document/file_dialogs.h"
#include "gui/app/main_frame.h"
#include "core/fields/edit_session.h"
#include "core/exchange/channel_csv.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

void Tell(CMainFrame& frame, MessageKind kind, const std::string& text, tid::TextId id) {
    Message m;
    m.kind = kind;
    m.caption = frame.App().Text(kind == MessageKind::Error ? tid::kCaptionError : tid::kCsvImportTitle);
    m.text = text;
    m.textId = static_cast<int>(id);
    frame.GetPrompter().Ask(m);
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FileDialogRequest CsvRequest(CMainFrame& frame) {
    FileDialogRequest request;
    request.filterText = FormatText("%s (*.csv)", {frame.App().Text(tid::kCsvFileFilter)});
    request.pattern = "*.csv";
    request.folder = frame.App().Document().Folder();
    return request;
}

// The file's text, or nothing after telling the user why it cannot be read.
std::optional<std::string> ReadCsvFile(CMainFrame& frame, const std::string& path) {
    std::string data;
    const FileOutcome r = ReadRegularFile(path, kChannelCsvMaxBytes, data);
    if (r.Ok()) return data;
    const std::string name = BaseName(path);
    if (r.notRegular)
        Tell(frame, MessageKind::Error, FormatText(frame.App().Text(tid::kMsgNotRegularFile), {name}),
             tid::kMsgNotRegularFile);
    else if (r.tooLarge)
        Tell(frame, MessageKind::Error, FormatText(frame.App().Text(tid::kCsvFileTooLarge), {name}),
             tid::kCsvFileTooLarge);
    else
        Tell(frame, MessageKind::Error,
             FormatText(frame.App().Text(tid::kCsvFileUnreadable),
                        {name, std::system_category().message(r.systemError)}),
             tid::kCsvFileUnreadable);
    return std::nullopt;
}

void ImportChannels(CMainFrame& frame) {
    const std::optional<std::string> chosen = frame.GetFileDialogs().AskOpenFile(CsvRequest(frame));
    if (!chosen) return;
    const std::optional<std::string> data = ReadCsvFile(frame, *chosen);
    if (!data) return;
    EditSession& session = frame.Session();
    const ChannelCsvImport plan = PlanChannelImport(session.Context(), *data);
    if (!plan.readable) {
        Tell(frame, MessageKind::Error, BaseName(*chosen) + ": " + plan.failure, tid::kCsvNoFrequencyColumn);
        return;
    }
    std::vector<std::string> lines;
    for (const ChannelCsvNote& note : plan.notes) lines.push_back(ChannelCsvNoteText(session.Context(), note));
    const std::string summary =
        FormatText(frame.App().Text(tid::kCsvImportSummary), {BaseName(*chosen), plan.rows, plan.taken});
    ChannelImportDialog dialog(frame.Language(), summary, lines,
                             [&frame] { frame.ShowHelp(*HelpForCommand(cmd::kImportChannels)); }, &frame);
    if (dialog.exec() != QDialog::Accepted) return;
    // One undo step; the session tells the frame, which refreshes the views.
    if (!ApplyChannelImport(session, plan))
        Tell(frame, MessageKind::Information, frame.App().Text(tid::kCsvNothingChanged), tid::kCsvNothingChanged);
}

void ExportChannels(CMainFrame& frame) {
    FileDialogRequest request = CsvRequest(frame);
    const std::string& docName = frame.App().Document().FileName();
    const std::size_t dot = docName.rfind('.');
    request.fileName = (docName.empty() ? std::string("channels") : docName.substr(0, dot)) + ".csv";
    request.defaultExtension = "csv";
    const std::optional<std::string> chosen = frame.GetFileDialogs().AskSaveFile(request);
    if (!chosen || chosen->empty()) return;
    std::string path = *chosen;
    if (BaseName(path).find('.') == std::string::npos) path += ".csv";
    const std::string name = BaseName(path);
    if (NameExists(path) && !ConfirmOverwrite(frame.GetPrompter(), frame.Language(), name)) return;
    const std::string csv = ExportChannelCsv(frame.Session().Context());
    const FileOutcome r = ReplaceFile(path, reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size());
    if (r.notRegular)
        Tell(frame, MessageKind::Error, FormatText(frame.App().Text(tid::kMsgNotRegularFile), {name}),
             tid::kMsgNotRegularFile);
    else if (r.systemError != 0)
        Tell(frame, MessageKind::Error, std::system_category().message(r.systemError), 0);
    else if (!r.Ok() || r.writeFailed)
        Tell(frame, MessageKind::Error, FormatText(frame.App().Text(tid::kMsgFileNotWritten), {name}),
             tid::kMsgFileNotWritten);
}

}  // namespace

void RegisterChannelCsvCommands(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kImportChannels, [&frame] {
        if (!frame.InPrintPreview()) ImportChannels(frame);
    });
    frame.RegisterCommand(cmd::kExportChannels, [&frame] {
        if (!frame.InPrintPreview()) ExportChannels(frame);
    });
}

}  // namespace vrm
