#include "app/vrm_app.h"

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

#include "app/application.h"
#include "app/custom_file_dialog.h"
#include "app/document.h"
#include "app/main_frame.h"
#include "app/settings_store_qt.h"
#include "app/single_instance_qt.h"
#include "link/clock.h"
#include "link/programming_port.h"
#include "ui/icons.h"
#include "app/recovery.h"
#include "text/prompter.h"
#include "text/text_format.h"
#include "text/text_ids.h"
#include "ui/qt_prompter.h"
#include "ui/ui_fonts.h"

namespace vrm {

CVrmApp::CVrmApp(ShellSeams seams) : seams_(std::move(seams)) {
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
}

CVrmApp::~CVrmApp() {
    frame_.reset();
    instance_.reset();
}

CVrmApp::Start CVrmApp::InitInstance(const QStringList& arguments) {
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

void CVrmApp::ExitInstance() {
    if (!started_) return;
    app_->WriteSettings(*settings_);
    // A clean exit has saved or given up the edits; a signal keeps the copy.
    if (RecoveryCopy* copy = app_->Recovery(); copy && !endedBySignal_) copy->Remove();
}

// --- Recovery ---------------------------------------------------------------

namespace {

int g_signalPipe[2] = {-1, -1};
// Set by the signal: a running transfer stops at its next step (a write is
// abandoned with the radio's abort, a read leaves program mode) and no
// message waits for an answer meanwhile.
volatile std::sig_atomic_t g_sessionEnding = 0;

void OnSignal(int signal) {
    g_sessionEnding = 1;
    const char c = static_cast<char>(signal);
    const int saved = errno;
    (void)!::write(g_signalPipe[1], &c, 1);
    errno = saved;
}

}  // namespace

void CVrmApp::StartRecovery() {
    if (seams_.settings && seams_.stateFolder.isEmpty()) return;
    app_->SetRecoveryFolder(seams_.stateFolder.isEmpty() ? DefaultStateFolder() : seams_.stateFolder.toStdString());
    OfferRecovery();
    // Checked every second, written at most every 30 s while modified;
    // removed as soon as the data equals a saved state again.
    auto* timer = new QTimer(frame_.get());
    QObject::connect(timer, &QTimer::timeout, frame_.get(), [this] { app_->CheckpointRecovery(30); });
    timer->start(1000);
    InstallTerminationSignals();
}

void CVrmApp::OfferRecovery() {
    RecoveryCopy* copy = app_->Recovery();
    const std::optional<RecoveredData> found = copy->Find();
    if (!found) return;
    const LanguageTable& lang = app_->Language();
    Message m;
    m.kind = MessageKind::Question;
    m.buttons = Buttons::YesNo;
    m.defaultAnswer = Answer::Yes;
    m.caption = lang.TextString(tid::kRecoveryCaption);
    m.text = FormatText(lang.TextString(tid::kRecoveryQuestion),
                        {found->documentPath.empty() ? lang.TextString(tid::kRecoveryUntitled) : found->documentPath});
    m.textId = static_cast<int>(tid::kRecoveryQuestion);
    if (prompter_->Ask(m) != Answer::Yes) {
        copy->Remove();
        return;
    }
    app_->Document().RestoreRecovered(found->image, found->documentPath);
    frame_->OnModelChanged();
    frame_->RefreshAllViews();
}

void CVrmApp::InstallTerminationSignals() {
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
    app_->Port().SetStopFlag(&g_sessionEnding);
    QtPrompter::SetUnattendedFlag(&g_sessionEnding);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, frame_.get());
    QObject::connect(notifier, &QSocketNotifier::activated, frame_.get(), [this] { OnTerminationSignal(); });
}

void CVrmApp::OnTerminationSignal() {
    char c = 0;
    while (::read(g_signalPipe[0], &c, 1) > 0) {}
    // A transfer that runs (this is then called from between its steps) ends
    // first, with its closing steps; the program ends once the port is closed.
    if (app_->Port().IsOpen()) {
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
    CVrmApp program;
    switch (program.InitInstance(arguments)) {
        case CVrmApp::Start::SecondCopy: return 0;
        case CVrmApp::Start::Failed: return 1;
        case CVrmApp::Start::Running: break;
    }
    const int status = QApplication::exec();
    program.ExitInstance();
    return status;
}

}  // namespace vrm
