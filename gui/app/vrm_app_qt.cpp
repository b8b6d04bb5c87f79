#include "gui/app/vrm_app.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <optional>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "gui/app/custom_file_dialog.h"
#include "core/document/file_dialogs.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "gui/app/settings_store_qt.h"
#include "gui/app/single_instance_qt.h"
#include "core/base/clock.h"
#include "core/link/programming_log.h"
#include "core/link/transfer_gate.h"
#include "gui/widgets/icons.h"
#include "core/document/recovery.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/qt_prompter.h"
#include "gui/widgets/ui_fonts.h"

namespace vrm {

// The program's file dialogs, except that the next Open can be answered with
// a file the user chose elsewhere (the backup of a write that did not finish).
class PresetOpenDialogs final : public FileDialogs {
public:
    explicit PresetOpenDialogs(FileDialogs& inner) : inner_(inner) {}
    void Preset(std::optional<std::string> path) { preset_ = std::move(path); }
    std::optional<std::string> AskOpenFile(const FileDialogRequest& request) override {
        if (!preset_) return inner_.AskOpenFile(request);
        std::optional<std::string> path = std::move(preset_);
        preset_.reset();
        return path;
    }
    std::optional<std::string> AskSaveFile(const FileDialogRequest& request) override {
        return inner_.AskSaveFile(request);
    }

private:
    FileDialogs& inner_;
    std::optional<std::string> preset_;
};

DesktopApp::DesktopApp(ShellSeams seams) : seams_(std::move(seams)) {
    app_ = std::make_unique<Application>(SystemClock::Instance());
    if (seams_.settings) {
        settings_ = seams_.settings;
    } else {
        ownSettings_ = std::make_unique<QtSettingsStore>();
        settings_ = ownSettings_.get();
    }
    if (seams_.prompter) {
        prompter_ = seams_.prompter;
    } else {
        ownPrompter_ = std::make_unique<QtPrompter>(app_->Language(), [this]() -> QWidget* {
            if (QWidget* modal = QApplication::activeModalWidget()) return modal;
            return frame_.get();
        });
        prompter_ = ownPrompter_.get();
    }
    if (seams_.fileDialogs) {
        dialogs_ = seams_.fileDialogs;
    } else {
        ownDialogs_ = std::make_unique<QtFileDialogs>(app_->Language(), [this]() -> QWidget* { return frame_.get(); });
        dialogs_ = ownDialogs_.get();
    }
    presetDialogs_ = std::make_unique<PresetOpenDialogs>(*dialogs_);
    dialogs_ = presetDialogs_.get();
}

DesktopApp::~DesktopApp() {
    frame_.reset();
    instance_.reset();
}

DesktopApp::Start DesktopApp::InitInstance(const QStringList& arguments) {
    // 1. Command-line switches. Nothing else on the command line has an
    // effect.
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    app_->ReadCommandLine(args);

    // 2-3. Locale (the C library follows the user's since Qt started), names.
    QCoreApplication::setOrganizationName(QStringLiteral("TREVONA"));
    QCoreApplication::setApplicationName(QStringLiteral("VRM650T"));
    // The application icon on every window, and the desktop entry it belongs to.
    QApplication::setWindowIcon(icons::Program());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.trevona.vrm650t"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) colourDepth_ = screen->depth();

    // 5. Application data.
    const QString programFolder =
        seams_.programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : seams_.programFolder;
    app_->SetProgramFolder(QDir(programFolder).absolutePath().toStdString());
    if (!app_->LoadLanguageAtStartup(*settings_, *prompter_)) return Start::Failed;
    const QString documents = seams_.documentsFolder.isEmpty()
                                  ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                  : seams_.documentsFolder;
    app_->PrepareData(*settings_, DefaultDataFolder(documents.toStdString(), app_->ProgramFolder()));
    const QFont desktop = QApplication::font();
    UiFonts::RememberDesktopFont(&desktop);
    QApplication::setFont(UiFonts::FromSettings(app_->Language().Settings()).dialog);
    app_->ReadSecuritySettings(*settings_);
    app_->ReadProgrammingOptions(*settings_);

    // 6. One running copy.
    if (seams_.singleInstance) {
        const QString name = seams_.instanceName.isEmpty()
                                 ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                 : seams_.instanceName;
        instance_ = std::make_unique<SingleInstance>(name, seams_.runtimeFolder);
        if (!instance_->Claim()) return Start::SecondCopy;
    }

    // 7-8. The main frame with the editors' templates.
    frame_ = std::make_unique<CMainFrame>(*app_, *prompter_, *dialogs_, *settings_);
    if (!frame_->Create()) return Start::Failed;
    if (ownPrompter_) {
        ownPrompter_->SetPasswordHelp([this] { frame_->ShowHelp(*HelpForCommand(cmd::kOpen)); });
    }
    RegisterViewsAndDialogs(*frame_);
    if (instance_) QObject::connect(instance_.get(), &SingleInstance::activationRequested, frame_.get(), &CMainFrame::BringToFront);

    // 10-11. Where the user left it; menus, title and status for the model.
    frame_->RestorePlacement(settings_->ReadString(kSettingLastWinPos));
    frame_->OnModelChanged();
    StartRecovery();
    started_ = true;
    return Start::Running;
}

void DesktopApp::ExitInstance() {
    if (!started_) return;
    app_->WriteSettings(*settings_);
    // A clean exit has saved or given up the edits; a signal keeps the copy.
    if (RecoveryCopy* copy = app_->Recovery(); copy && !endedBySignal_) copy->Remove();
}

// --- Recovery ---------------------------------------------------------------

namespace {

int g_signalPipe[2] = {-1, -1};
// Set to the signal's number by the signal: a running transfer stops at its
// next step (a write is abandoned with the radio's abort, a read leaves
// program mode; the log names the signal) and no message waits for an answer
// meanwhile.
volatile std::sig_atomic_t g_sessionEnding = 0;
// The same for the transfers: every transfer's stop flag follows it, so the
// thread that runs a transfer sees the stop at its next step.
StopFlag g_sessionStop;

void OnSignal(int signal) {
    g_sessionEnding = signal;
    g_sessionStop.Set(signal);
    const char c = static_cast<char>(signal);
    const int saved = errno;
    (void)!::write(g_signalPipe[1], &c, 1);
    errno = saved;
}

}  // namespace

void DesktopApp::StartRecovery() {
    if (seams_.settings && seams_.stateFolder.isEmpty()) return;
    app_->SetRecoveryFolder(seams_.stateFolder.isEmpty() ? DefaultStateFolder() : seams_.stateFolder.toStdString());
    OfferRecovery();
    ReportUnfinishedWrites();
    // Checked every second, written at most every 30 s while modified;
    // removed as soon as the data equals a saved state again.
    auto* timer = new QTimer(frame_.get());
    QObject::connect(timer, &QTimer::timeout, frame_.get(), [this] { app_->CheckpointRecovery(30); });
    timer->start(1000);
    InstallTerminationSignals();
}

void DesktopApp::OfferRecovery() {
    if (OfferRecoveredData(*app_->Recovery(), app_->Document(), *prompter_, app_->Language()) !=
        RecoveryOutcome::kRestored)
        return;
    frame_->OnModelChanged();
    frame_->RefreshAllViews();
}

void DesktopApp::ReportUnfinishedWrites() {
    const std::string chosen = vrm::ReportUnfinishedWrites(app_->WriteOptions().logPath, *prompter_, app_->Language());
    if (chosen.empty()) return;
    presetDialogs_->Preset(chosen);
    frame_->RunCommand(cmd::kOpen);
    presetDialogs_->Preset(std::nullopt);  // an Open stopped before it asked leaves nothing behind
}

void DesktopApp::InstallTerminationSignals() {
    // One pipe and one handler for the process; each running program
    // listens on the pipe.
    if (g_signalPipe[0] < 0) {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }
    app_->Transfers().SetSessionFlag(&g_sessionStop);
    QtPrompter::SetUnattendedFlag(&g_sessionEnding);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, frame_.get());
    QObject::connect(notifier, &QSocketNotifier::activated, frame_.get(), [this] { OnTerminationSignal(); });
}

void DesktopApp::OnTerminationSignal() {
    char c = 0;
    while (::read(g_signalPipe[0], &c, 1) > 0) {}
    // A transfer that runs (on its worker; the signal has reached it through
    // its stop flag) ends first, with its closing steps; the program ends
    // once it has let go of its port.
    if (app_->Transfers().Busy()) {
        QTimer::singleShot(50, frame_.get(), [this] { OnTerminationSignal(); });
        return;
    }
    // Logging out or being told to end: no questions, the settings and the
    // unsaved data are kept for the next start.
    endedBySignal_ = true;
    app_->CheckpointRecovery(0);
    app_->WriteSettings(*settings_);
    QCoreApplication::exit(0);
}

int RunDesktopProgram(int argc, char** argv) {
    QApplication qapp(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    DesktopApp program;
    switch (program.InitInstance(arguments)) {
        case DesktopApp::Start::SecondCopy: return 0;
        case DesktopApp::Start::Failed: return 1;
        case DesktopApp::Start::Running: break;
    }
    const int status = QApplication::exec();
    program.ExitInstance();
    return status;
}

}  // namespace vrm
