// Start-up and exit of the desktop program with its real settings store
// (QSettings under a temporary XDG_CONFIG_HOME, never the user's), the
// single running copy and the window placement.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QMdiArea>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include "core/document/application.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "text/scripted_prompter.h"
#include "gui/app/settings_store_qt.h"
#include "gui/app/single_instance_qt.h"
#include "gui/app/vrm_app.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

using namespace vrm;

namespace {

QTemporaryDir* g_root = nullptr;

QString Root(const QString& sub) { return g_root->filePath(sub); }

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private:
    test::ScriptedPrompter prompter_;
    test::ScriptedFileDialogs dialogs_;
    int run_ = 0;

    ShellSeams Seams(SettingsStore* settings = nullptr) {
        ShellSeams seams;
        seams.settings = settings;
        seams.prompter = &prompter_;
        seams.fileDialogs = &dialogs_;
        seams.programFolder = QStringLiteral(VRM_BIN_DIR);
        seams.documentsFolder = Root(QStringLiteral("documents"));
        seams.runtimeFolder = Root(QStringLiteral("runtime"));
        seams.instanceName = QStringLiteral("vrm650t-test-%1").arg(++run_);
        return seams;
    }

    void ClearUserSettings() {
        QSettings user(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TREVONA"), QStringLiteral("VRM650T"));
        user.clear();
        user.sync();
    }

private slots:
    void init() {
        ClearUserSettings();
        prompter_ = {};
    }

    void settingsLiveInTheTestFolderNotTheUsers() {
        QtSettingsStore store;
        QVERIFY2(store.UserFileName().startsWith(g_root->path()), qPrintable(store.UserFileName()));
        QVERIFY(store.UserFileName().contains(QStringLiteral("TREVONA")));
    }

    void firstStartOpensMaximisedInTheDefaultDataFolder() {
        DesktopApp program(Seams());
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        CMainFrame* frame = program.Frame();
        QVERIFY(frame->isMaximized());
        QVERIFY(frame->isVisible());
        QVERIFY(!frame->TreeBar()->isVisible());
        QVERIFY(frame->MdiArea()->subWindowList().isEmpty());
        const QString folder = Root(QStringLiteral("documents/Trevona/VRM-650T/"));
        QCOMPARE(QString::fromStdString(program.App().Document().Folder()), folder);
        QVERIFY(QDir(folder).exists());
        QCOMPARE(program.App().Image().Identity(), ModelCatalogue::DefaultIdentity());
        QVERIFY(!program.App().Image().IsModified());
        QVERIFY(!frame->windowTitle().contains(QStringLiteral("No Encryption")));
        // Our own icon, in the sizes the desktop asks for.
        const QList<QSize> sizes = frame->windowIcon().availableSizes();
        QVERIFY2(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(256, 256)), "the application icon");
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("com.trevona.vrm650t"));
    }

    void settingsSurviveARestart() {
        const QString radios = Root(QStringLiteral("radios"));
        QDir().mkpath(radios);
        {
            DesktopApp program(Seams());
            QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
            Application& app = program.App();
            QVERIFY(app.Catalogue().SetModel(2));
            app.Catalogue().SetBandWord(0x0100);
            app.Document().SetFolder(radios.toStdString());
            app.Security().dataFile = true;
            program.Frame()->showNormal();
            program.Frame()->setGeometry(60, 70, 900, 640);
            prompter_.answers = {Answer::Ok, Answer::No};
            QVERIFY(program.Frame()->close());
            program.ExitInstance();
        }
        QSettings user(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("TREVONA"), QStringLiteral("VRM650T"));
        QCOMPARE(user.value(QStringLiteral("Backup/LastModel")).toString(),
                 QStringLiteral("50:48:52:56:2D:34:31:FF:FC:FF:00:01:FF:FF:FF:FF"));
        QCOMPARE(user.value(QStringLiteral("Backup/LanguageName")).toString(), QStringLiteral("vrm650t_en.lng"));
        QCOMPARE(user.value(QStringLiteral("Backup/ComPort")).toInt(), 1);
        QCOMPARE(user.value(QStringLiteral("Backup/DataFile")).toInt(), 1);
        QCOMPARE(user.value(QStringLiteral("Backup/Protect")).toString().count(QLatin1Char(':')), 6);
        QVERIFY(user.value(QStringLiteral("Backup/LastWinPos")).toString().startsWith(QStringLiteral("0:1:")));

        DesktopApp again(Seams());
        QCOMPARE(again.InitInstance({}), DesktopApp::Start::Running);
        QCOMPARE(again.App().Catalogue().FindModel(), 2);
        QCOMPARE(QString::fromStdString(again.App().Document().Folder()), radios + QLatin1Char('/'));
        QVERIFY(again.App().Security().dataFile);
        QVERIFY(!again.Frame()->isMaximized());
        QCOMPARE(again.Frame()->geometry(), QRect(60, 70, 900, 640));
    }

    void lastWinPosWithNineNumbersOpensMaximised() {
        MemorySettingsStore settings;
        settings.WriteString(kSettingLastWinPos, "0:1:-1:-1:-1:-1:10:10:810");
        DesktopApp nine(Seams(&settings));
        QCOMPARE(nine.InitInstance({}), DesktopApp::Start::Running);
        QVERIFY(nine.Frame()->isMaximized());

        settings.WriteString(kSettingLastWinPos, "0:1:-1:-1:-1:-1:10:10:810:610");
        DesktopApp ten(Seams(&settings));
        QCOMPARE(ten.InitInstance({}), DesktopApp::Start::Running);
        QVERIFY(!ten.Frame()->isMaximized());
        QCOMPARE(ten.Frame()->geometry().size(), QSize(800, 600));
    }

    void lastModelNotAcceptableStartsWithTheDefaultModel() {
        MemorySettingsStore settings;
        settings.WriteString(kSettingLastModel, "50:48:52:56:2D:34:31:FF:FF:FF:01:00:FF:FF:FF:FF");  // model 0
        DesktopApp program(Seams(&settings));
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QCOMPARE(program.App().Image().Identity(), ModelCatalogue::DefaultIdentity());
        QVERIFY(program.Frame()->windowTitle().contains(QStringLiteral("HRV-41A")));
    }

    void noEncryptionInCapitalsShowsInTheTitle() {
        MemorySettingsStore settings;
        DesktopApp program(Seams(&settings));
        QCOMPARE(program.InitInstance({QStringLiteral("some.dat"), QStringLiteral("NOENCRYPTION")}),
                 DesktopApp::Start::Running);
        QVERIFY(program.App().NoEncryption());
        QVERIFY(program.Frame()->windowTitle().endsWith(QStringLiteral("          No Encryption")));
        // A file name on the command line opens nothing.
        QVERIFY(program.Frame()->MdiArea()->subWindowList().isEmpty());
        QCOMPARE(program.App().Document().FileName(), std::string("vrm650t.dat"));
    }

    void machineWideProtectIsTheFallback() {
        {
            QSettings machine(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("TREVONA Corporation"),
                              QStringLiteral("VRM-650T"));
            QVERIFY2(machine.fileName().startsWith(g_root->path()), qPrintable(machine.fileName()));
            machine.setValue(QStringLiteral("Protect"), QString::fromStdString(ScrambleProtect(false, "424242")));
            machine.sync();
        }
        DesktopApp program(Seams());
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QCOMPARE(program.App().Security().password, std::string("424242"));
        QVERIFY(!program.App().Security().programExecution);
        QFile::remove(QSettings(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("TREVONA Corporation"),
                                QStringLiteral("VRM-650T")).fileName());
    }

    void aSecondStartBringsTheFirstToTheFrontAndEnds() {
        ShellSeams seams = Seams();
        DesktopApp first(seams);
        QCOMPARE(first.InitInstance({}), DesktopApp::Start::Running);
        first.Frame()->showMinimized();
        QVERIFY(first.Frame()->isMinimized());

        DesktopApp second(seams);  // same program name, same runtime folder
        QCOMPARE(second.InitInstance({}), DesktopApp::Start::SecondCopy);
        QVERIFY(!second.Frame());
        QTRY_VERIFY_WITH_TIMEOUT(!first.Frame()->isMinimized(), 3000);
        QVERIFY(first.Frame()->isMaximized());  // restored as it was before
        second.ExitInstance();  // writes nothing: its start-up did not complete
    }

    void aLockLeftByACopyThatDiedIsNotInTheWay() {
        const QString name = QStringLiteral("vrm650t-stale");
        const QString lockPath = QDir(Root(QStringLiteral("runtime"))).filePath(name + QStringLiteral(".lock"));
        {
            QFile lock(lockPath);
            QVERIFY(lock.open(QIODevice::WriteOnly));
            // A process of this machine that is not running any more.
            lock.write("999999\nvrm650t\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }
        SingleInstance instance(name, Root(QStringLiteral("runtime")));
        QVERIFY(instance.Claim());
    }

    void aRuntimeFolderThatCannotBeWrittenDoesNotStopTheProgram() {
        SingleInstance instance(QStringLiteral("vrm650t-nowhere"), Root(QStringLiteral("runtime/missing/folder")));
        QVERIFY(instance.Claim());
    }

    void withoutALanguageFileTheProgramDoesNotStart() {
        QTemporaryDir empty;
        MemorySettingsStore settings;
        ShellSeams seams = Seams(&settings);
        seams.programFolder = empty.path();
        DesktopApp program(seams);
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Failed);
        QVERIFY(!program.Frame());
        QCOMPARE(prompter_.asked.size(), std::size_t{1});
        QCOMPARE(prompter_.asked[0].text, std::string(LanguageTable::kCantReadMessage));
        program.ExitInstance();
        QVERIFY(!settings.ReadString(kSettingLastModel));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir root;
    g_root = &root;
    for (const char* sub : {"config", "system", "runtime", "documents", "home"}) QDir(root.path()).mkpath(sub);
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", root.filePath(QStringLiteral("system")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", root.filePath(QStringLiteral("runtime")).toUtf8());
    qputenv("HOME", root.filePath(QStringLiteral("home")).toUtf8());
    QApplication app(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
