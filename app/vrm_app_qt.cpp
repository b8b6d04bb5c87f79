#include "app/vrm_app.h"

#include <QApplication>
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
#include "ui/icons.h"
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
    started_ = true;
    return Start::Running;
}

void CVrmApp::ExitInstance() {
    if (!started_) return;
    app_->WriteSettings(*settings_);
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
