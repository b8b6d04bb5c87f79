#include "gui/app/text_commands_qt.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "core/document/file_dialogs.h"
#include "gui/app/main_frame.h"
#include "core/exchange/config_text.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"
#include "core/base/prompter.h"
#include "core/base/safe_file.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

void Tell(CMainFrame& frame, MessageKind kind, tid::TextId caption, const std::string& text, tid::TextId textId) {
    Message m;
    m.kind = kind;
    m.caption = frame.App().Text(caption);
    m.text = text;
    m.textId = static_cast<int>(textId);
    frame.GetPrompter().Ask(m);
}

FileDialogRequest TextFileRequest(CMainFrame& frame) {
    FileDialogRequest request;
    request.filterText = frame.App().Text(tid::kTextFilter);
    request.pattern = "*.yaml";
    request.folder = frame.App().Document().Folder();
    return request;
}

void ExportText(CMainFrame& frame) {
    Application& app = frame.App();
    FileDialogRequest request = TextFileRequest(frame);
    request.fileName = std::filesystem::path(app.Document().FileName()).stem().string() + ".yaml";
    request.defaultExtension = "yaml";
    const std::optional<std::string> chosen = frame.GetFileDialogs().AskSaveFile(request);
    if (!chosen || chosen->empty()) return;
    std::string path = *chosen;
    if (!std::filesystem::path(path).has_extension()) path += ".yaml";
    const std::string name = std::filesystem::path(path).filename().string();

    auto failed = [&](const std::string& why) {
        Tell(frame, MessageKind::Error, tid::kCaptionError, FormatText(app.Text(tid::kTextExportFailed), {name, why}),
             tid::kTextExportFailed);
    };
    const FileOutcome replaceable = CheckReplaceable(path);
    if (!replaceable.Ok()) {
        failed(replaceable.notRegular ? FormatText(app.Text(tid::kMsgNotRegularFile), {name})
                                      : std::string(std::strerror(replaceable.systemError)));
        return;
    }
    if (NameExists(path) && !ConfirmOverwrite(frame.GetPrompter(), app.Language(), name)) return;
    const ConfigTextExport text = ExportConfigText(app.Image().Live(), app.Language());
    if (!text.ok) {
        failed(text.problem);
        return;
    }
    const FileOutcome written =
        ReplaceFile(path, reinterpret_cast<const std::uint8_t*>(text.text.data()), text.text.size());
    if (!written.Ok() || written.writeFailed)
        failed(std::strerror(written.systemError ? written.systemError : EIO));
}

void ImportText(CMainFrame& frame) {
    Application& app = frame.App();
    const std::optional<std::string> chosen = frame.GetFileDialogs().AskOpenFile(TextFileRequest(frame));
    if (!chosen || chosen->empty()) return;
    const std::string name = std::filesystem::path(*chosen).filename().string();
    const ConfigTextImport text = ImportConfigTextFile(*chosen, app.Language());
    if (!text.ok) {
        Tell(frame, MessageKind::Error, tid::kTextImportCaption,
             FormatText(app.Text(tid::kTextImportRefused), {name, text.problem}), tid::kTextImportRefused);
        return;
    }

    RadioImage& image = app.Image();
    // Model and band live in identity bytes 0-11.
    const bool otherModel = !std::equal(text.image.begin(), text.image.begin() + 12, image.Live().begin());
    if (otherModel) {
        if (!app.Document().SaveModified(frame.GetPrompter(), frame.GetFileDialogs())) return;
        frame.CloseAllEditors();
        app.Document().Replace(text.image);
        frame.RebuildMenuBar(false);
        frame.RefreshAllViews();
        frame.OnModelChanged();
    } else {
        // One undo step; the session's listener refreshes the open editors.
        frame.Session().Change([&](EditContext& ctx) {
            if (ctx.image.Live() == text.image) return false;
            ctx.image.Live() = text.image;
            return true;
        });
    }
    frame.RefreshTitle();
    if (!text.notes.empty()) {
        std::string notes;
        for (const std::string& note : text.notes) notes += "\n" + note;
        Tell(frame, MessageKind::Information, tid::kTextImportCaption,
             FormatText(app.Text(tid::kTextImportNotes), {name, notes}), tid::kTextImportNotes);
    }
}

}  // namespace

void RegisterTextCommands(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kExportText, [&frame] { ExportText(frame); });
    frame.RegisterCommand(cmd::kImportText, [&frame] { ImportText(frame); });
}

}  // namespace vrm
