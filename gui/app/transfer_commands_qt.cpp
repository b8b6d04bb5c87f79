#include "gui/app/transfer_commands_qt.h"

#include <QStandardPaths>
#include <memory>

#include "core/document/app_settings.h"
#include "core/document/application.h"
#include "core/link/transfer_gate.h"
#include "gui/transfer/compare_dialog.h"
#include "gui/transfer/safety_dialog.h"
#include "gui/transfer/station_dialog.h"
#include "core/document/settings_store.h"
#include "core/fields/edit_session.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "gui/app/print_commands_qt.h"
#include "gui/transfer/memory_map_dialog.h"
#include "gui/transfer/radio_info_dialog.h"
#include "gui/transfer/read_dialog.h"
#include "gui/transfer/test_mode_dialog.h"
#include "gui/transfer/transfer_thread.h"
#include "gui/transfer/tuning_data_dialog.h"
#include "gui/transfer/write_dialog.h"
#include "core/model/radio_image.h"

namespace vrm {

namespace {

TransferDialogContext DialogContext(CMainFrame& frame) {
    Application& app = frame.App();
    return TransferDialogContext{app.Transfers(), app.Image(), app.Language(), frame.GetPrompter()};
}

}  // namespace

void RegisterReadCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kReadData, [&frame] {
        Application& app = frame.App();
        if (app.Transfers().Busy()) return;  // a transfer runs already
        if (!app.Document().SaveModified(frame.GetPrompter(), frame.GetFileDialogs())) return;
        app.CheckpointRecovery(0);
        ReadDialog dialog(DialogContext(frame), &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kReadData)); });
        if (dialog.exec() == QDialog::Accepted) frame.AdoptReadData();
    });
}

void RegisterWriteCommand(CMainFrame& frame) {
    auto settings = std::make_shared<WriteSettings>();
    settings->continuous = frame.App().Switches().continuous;
    frame.RegisterCommand(cmd::kWriteData, [&frame, settings] {
        if (frame.App().Transfers().Busy()) return;  // a transfer runs already
        frame.App().CheckpointRecovery(0);
        WriteDialog dialog(DialogContext(frame), *settings, &frame);
        dialog.SetWriteOptions(frame.App().WriteOptions());
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kWriteData)); });
        dialog.exec();
    });
}

void RegisterMemoryMapCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kMemoryMap, [&frame] {
        RadioImage& image = frame.App().Image();
        MemoryMapDialog dialog(frame.App().Language(), &frame);
        dialog.Attach(image.Live().data(), image.Saved().data(), 0, kImageSize);
        dialog.exec();
        frame.RefreshAllViews();
    });
}

void RegisterRadioInformationCommand(CMainFrame& frame) {
    FunctionKeyWatch::Install();
    frame.RegisterCommand(cmd::kRadioInformation, [&frame] {
        if (frame.App().Transfers().Busy()) return;  // a transfer runs already
        RadioInfoDialog dialog(DialogContext(frame), IdentityViewKeysHeld(), &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kRadioInformation)); });
        dialog.SetPrintHandler([&frame, &dialog] { PreviewFromDialog(frame, &dialog, dialog.PrintOut(PrintedAt(frame.Language()))); });
        dialog.exec();
    });
}

// --- Test mode and tuning ---------------------------------------------------

namespace {

std::string TuningBackupFolder(Application& app) {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return DefaultDataFolder(documents.toStdString(), app.ProgramFolder()) + "tuning-backups";
}

}  // namespace

void RegisterTestModeCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kTestMode, [&frame] {
        Application& app = frame.App();
        // The radio stays in tuning mode, on this transfer's port, until the
        // dialog has closed; every command runs off the user-interface
        // thread and asks its questions on it.
        const std::unique_ptr<TransferGate::Claim> claim = app.Transfers().Begin();
        if (!claim) return;  // a transfer runs already
        NullTransferObserver observer;
        UiThreadPrompter prompter(frame.GetPrompter());
        TestModeSession session(TransferContext{claim->Port(), prompter, app.Language(), observer},
                                app.Image().Live());
        TestModeStart started = TestModeStart::kFailed;
        (void)RunOffUiThread([&] { started = session.Start(); }, WhileRunning::kNoUserInput);
        if (started != TestModeStart::kOk) return;
        TestModeDialog dialog(session, app.Language(), &frame);
        dialog.SetPrintHandler([&frame, &dialog] { PreviewFromDialog(frame, &dialog, dialog.PrintOut(PrintedAt(frame.Language()))); });
        dialog.SetHelpHandler([&frame](std::uint32_t context) {
            HelpRequest request = *HelpForCommand(cmd::kTestMode);
            request.context = context;
            frame.ShowHelp(request);
        });
        dialog.exec();
        // The transmitter off, the radio out of tuning mode.
        (void)RunOffUiThread([&] { (void)session.End(); }, WhileRunning::kNoUserInput);
    });
}

void RegisterTuningDataCommand(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kTuningData, [&frame] {
        Application& app = frame.App();
        if (app.Transfers().Busy()) return;  // a transfer runs already
        if (TuningDataDialog::Folder().empty()) TuningDataDialog::Folder() = app.Document().Folder();
        TuningDataDialog dialog(DialogContext(frame), TuningBackupFolder(app), &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kTuningData)); });
        dialog.exec();
    });
}

void RegisterSafetyCommands(CMainFrame& frame) {
    frame.RegisterCommand(cmd::kProgrammingStation, [&frame] {
        Application& app = frame.App();
        if (app.Transfers().Busy()) return;  // a transfer runs already
        app.CheckpointRecovery(0);
        StationDialog dialog({app.Language(), frame.GetPrompter(), app.Image().Live(), app.WriteOptions(),
                              !app.NoEncryption()},
                             &frame);
        dialog.exec();
    });
    frame.RegisterCommand(cmd::kCompareWithRadio, [&frame] {
        Application& app = frame.App();
        if (app.Transfers().Busy()) return;  // a transfer runs already
        app.CheckpointRecovery(0);
        CompareDialog dialog(DialogContext(frame), app.Session().Context().separator, &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kCompareWithRadio)); });
        dialog.exec();
    });
    frame.RegisterCommand(cmd::kProgrammingOptions, [&frame] {
        Application& app = frame.App();
        const QString folder = QString::fromStdString(app.DataFolder() + kBackupFolderName);
        const std::vector<StationCable> cables = ListStationCables().value_or(std::vector<StationCable>{});
        ProgrammingOptionsDialog dialog(app.Language(), app.Programming(), folder, cables, &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kProgrammingOptions)); });
        if (dialog.exec() != QDialog::Accepted) return;
        app.Programming() = dialog.Options();
        app.WriteProgrammingOptions(frame.Settings());
        frame.Settings().Flush();
    });
    frame.RegisterCommand(cmd::kSecuritySettings, [&frame] {
        Application& app = frame.App();
        SecurityDialog dialog(app.Language(), app.Security(), &frame);
        dialog.SetHelpHandler([&frame] { frame.ShowHelp(*HelpForCommand(cmd::kSecuritySettings)); });
        if (dialog.exec() != QDialog::Accepted) return;
        app.Security() = dialog.Settings();
        app.WriteSettings(frame.Settings());
    });
}

}  // namespace vrm
