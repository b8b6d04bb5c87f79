// Programming radios safely on the desktop: the recovery copy survives a
// process killed with SIGKILL (and one ended with SIGTERM) and the next start
// restores the edit; the Programming Options and Security Settings dialogs
// give back what was set; the Compare with Radio window lists the items that
// differ. Pictures of the new windows in English and German.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/document/application.h"
#include "gui/transfer/compare_dialog.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/document/recovery.h"
#include "gui/transfer/safety_dialog.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "gui_app.h"
#include "core/base/clock.h"
#include "core/link/programming_port.h"
#include "core/link/transfer_gate.h"
#include "core/link/transport.h"
#include "core/link/safe_write.h"
#include "gui/transfer/write_dialog.h"
#include <QTimer>
#include "core/model/radio_image.h"
#include "sim/sim_state.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"

using namespace vrm;

namespace {

// Ports on the simulated radio's transport library, loaded by its path.
std::unique_ptr<ProgrammingPort> SimulatedRadioPorts() {
    return std::make_unique<ProgrammingPort>(
        std::make_unique<LibraryTransport>(std::string(VRM_SIM_DIR) + "/libpipelink.so"), SystemClock::Instance());
}

}  // namespace

class SafetyTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;
    int run_ = 0;

    ShellSeams Seams(SettingsStore& settings, test::ScriptedPrompter& prompter, test::ScriptedFileDialogs& dialogs) {
        return test::ProgramSeams(temp_, settings, prompter, dialogs);
    }

    // A child process starts the program, edits a channel and is ended
    // with `signal` once the timer had time to keep the copy.
    int EditAndEndWith(int signal) {
        const pid_t child = ::fork();
        if (child == 0) {
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            test::ScriptedFileDialogs dialogs;
            DesktopApp program(Seams(settings, prompter, dialogs));
            if (program.InitInstance({}) != DesktopApp::Start::Running) ::_exit(3);
            if (!SetFromScript(program.App().Session(), "channel.1.rx", "451.1875").Ok()) ::_exit(4);
            QTest::qWait(1500);
            ::kill(::getpid(), signal);
            QApplication::exec();  // SIGTERM: the program ends itself
            program.ExitInstance();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }

    void ExpectRestored() {
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        prompter.answers = {Answer::Yes};
        DesktopApp program(Seams(settings, prompter, dialogs));
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QCOMPARE(prompter.TextIds(), std::vector<int>{static_cast<int>(tid::kRecoveryQuestion)});
        QVERIFY(prompter.asked[0].text.find("vrm650t.dat") != std::string::npos);
        EditSession& session = program.App().Session();
        QCOMPARE(QString::fromStdString(session.Text(*FindField(session.Context(), "channel.1.rx"))),
                 QStringLiteral("451.18750"));
        QVERIFY(program.App().Document().IsModified());
        // A clean exit removes the copy: the next start asks nothing.
        program.ExitInstance();
        QVERIFY(!RecoveryCopy(temp_.filePath(QStringLiteral("state")).toStdString()).Find());
    }

private slots:
    void aKilledProgramsEditIsOfferedAndRestoredAtTheNextStart() {
        const int status = EditAndEndWith(SIGKILL);
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        ExpectRestored();
    }

    void sigtermKeepsTheCopyAndEndsWithoutQuestions() {
        const int status = EditAndEndWith(SIGTERM);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        ExpectRestored();
    }

    void declinedRecoveryIsGone() {
        RecoveryCopy copy(temp_.filePath(QStringLiteral("state")).toStdString());
        ImageBuffer image{};
        QCOMPARE(copy.Write(image, "/data/x.dat"), 0);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        prompter.answers = {Answer::No};
        DesktopApp program(Seams(settings, prompter, dialogs));
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QVERIFY(prompter.asked.at(0).text.find("/data/x.dat") != std::string::npos);
        QVERIFY(!program.App().Document().IsModified());
        QVERIFY(!copy.Find());
    }

    void optionsAndSecurityDialogsGiveBackWhatWasSet() {
        for (const char* lang : {"en", "de"}) {
            Application app(SystemClock::Instance());
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            ProgrammingOptions options;
            ProgrammingOptionsDialog dlg(app.Language(), options, QStringLiteral("/home/user/backups"), {}, nullptr);
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            test::CheckNothingCutOff(&dlg, QStringLiteral("options"));
            dlg.grab().save(test::ScreenshotFolder(temp_) + QStringLiteral("/programming-options-%1.png").arg(lang));
            dlg.BackupBox()->setChecked(false);
            QVERIFY(!dlg.FolderEdit()->isEnabled());
            dlg.VerifyBox()->setChecked(false);
            QVERIFY(!dlg.Options().backup && !dlg.Options().verify && dlg.Options().log);

            SecuritySettings security{"123456", true, false};
            SecurityDialog sec(app.Language(), security, nullptr);
            sec.show();
            QVERIFY(QTest::qWaitForWindowExposed(&sec));
            test::CheckNothingCutOff(&sec, QStringLiteral("security"));
            sec.grab().save(test::ScreenshotFolder(temp_) + QStringLiteral("/security-settings-%1.png").arg(lang));
            // It says what the password is not.
            auto* note = sec.findChild<QLabel*>(QStringLiteral("note"));
            QVERIFY(note && note->isVisible());
            QCOMPARE(note->text().toStdString(), app.Language().TextString(tid::kSecurityNotEncryption));
            // The switch needs a password; 1 to 6 digits are taken, as the
            // label says and as a data file holds them.
            sec.PasswordEdit()->setText(QString());
            sec.DataFileBox()->setChecked(true);
            QString refusal;
            QTimer::singleShot(0, [&refusal] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    for (const QLabel* l : box->findChildren<QLabel*>()) refusal += l->text();
                    box->close();
                }
            });
            sec.accept();
            QCOMPARE(sec.result(), int(QDialog::Rejected));
            // The label and the refusal say what is taken.
            const QString range = QString::fromUtf8(std::string(lang) == "de" ? "1 bis 6 Ziffern" : "1 to 6 digits");
            QString label;
            for (const QLabel* l : sec.findChildren<QLabel*>())
                if (l->buddy() == sec.PasswordEdit()) label = l->text();
            QVERIFY2(label.contains(range), qPrintable(label));
            QVERIFY2(refusal.contains(range), qPrintable(refusal));
            QTest::keyClicks(sec.PasswordEdit(), QStringLiteral("9x0817299"));
            QCOMPARE(sec.PasswordEdit()->text(), QStringLiteral("908172"));  // digits, six at most
            for (const char* accepted : {"5", "12345", "908172"}) {
                sec.PasswordEdit()->setText(QString::fromLatin1(accepted));
                sec.accept();
                QCOMPARE(sec.result(), int(QDialog::Accepted));
                QCOMPARE(sec.Settings().password, std::string(accepted));
                QVERIFY(sec.Settings().dataFile);
            }
        }
    }

    void writeDialogShowsItsPhaseBesideTheProgressBar() {
        Application app(SystemClock::Instance());
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        QVERIFY(test::StartApplication(app, settings, prompter, "de", temp_.path().toStdString()));
        const std::string state = temp_.filePath(QStringLiteral("phase.state")).toStdString();
        SimulatedRadio radio;
        radio.SetIdentity(app.Image().Identity());
        std::string error;
        QVERIFY(SaveSimState(state, radio, &error));
        qputenv("VRM650T_SIM_STATE", state.c_str());
        TransferGate gate(SimulatedRadioPorts);
        WriteSettings writeSettings;
        WriteDialog dialog(TransferDialogContext{gate, app.Image(), app.Language(), prompter}, writeSettings, nullptr);
        SafeWriteOptions options;
        options.backupFolder = temp_.filePath(QStringLiteral("phase-backups")).toStdString();
        options.log = false;
        dialog.SetWriteOptions(options);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.Phase()->text().isEmpty());
        QVERIFY(dialog.Phase()->isVisible());
        QVERIFY(dialog.Phase()->geometry().top() >= dialog.Progress()->geometry().bottom());
        // What the line says while the write runs, sampled between its steps.
        QStringList seen;
        QTimer sample;
        connect(&sample, &QTimer::timeout, [&] {
            if (seen.isEmpty() || seen.back() != dialog.Phase()->text()) seen.append(dialog.Phase()->text());
        });
        sample.start(0);
        dialog.StartButton()->click();
        sample.stop();
        QVERIFY(dialog.LastWrite().Ok());
        const auto text = [&](tid::TextId id) { return QString::fromStdString(app.Language().TextString(id)); };
        QCOMPARE(seen, (QStringList{text(tid::kSafeWriteBackingUp), text(tid::kWriteWindowRunning),
                                    text(tid::kSafeWriteVerifying)}));
        test::CheckNothingCutOff(&dialog, QStringLiteral("write phase"));
    }

    void compareListsTheItemsThatDifferAndIdenticalOtherwise() {
        for (const char* lang : {"en", "de"}) {
            Application app(SystemClock::Instance());
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            // The radio holds the document's data but for one channel.
            const std::string state = temp_.filePath(QStringLiteral("radio.state")).toStdString();
            SimulatedRadio radio;
            radio.SetIdentity(app.Image().Identity());
            std::copy(app.Image().Live().begin() + 16, app.Image().Live().end(), radio.Memory().begin() + 16);
            std::string error;
            QVERIFY(SaveSimState(state, radio, &error));
            qputenv("VRM650T_SIM_STATE", state.c_str());
            TransferGate gate(SimulatedRadioPorts);
            TransferDialogContext context{gate, app.Image(), app.Language(), prompter};

            const auto text = [&](tid::TextId id) { return QString::fromStdString(app.Language().TextString(id)); };
            CompareDialog same(context, ".", nullptr);
            same.show();
            QCOMPARE(same.CancelButton()->text(), text(tid::kButtonCancel));
            same.StartButton()->click();
            QVERIFY(same.Result().Ok());
            // The compare has ended: nothing is left to cancel.
            QCOMPARE(same.CancelButton()->text(), text(tid::kButtonClose));
            QCOMPARE(same.focusWidget(), same.CancelButton());
            QCOMPARE(same.Verdict()->text(), QString::fromStdString(app.Language().TextString(tid::kCompareIdentical)));

            QVERIFY(SetFromScript(app.Session(), "channel.2.rx", "451.2000").Ok());
            CompareDialog differ(context, ".", nullptr);
            differ.show();
            QVERIFY(QTest::qWaitForWindowExposed(&differ));
            differ.StartButton()->click();
            QVERIFY(differ.Table()->rowCount() >= 1);
            QCOMPARE(differ.CancelButton()->text(), text(tid::kButtonClose));
            QCOMPARE(differ.Table()->item(0, 0)->text(), QStringLiteral("channel.2.rx"));
            QCOMPARE(differ.Table()->item(0, 2)->text(), QStringLiteral("451.20000"));
            QTest::qWait(50);
            test::CheckNothingCutOff(&differ, QStringLiteral("compare"));
            differ.grab().save(test::ScreenshotFolder(temp_) + QStringLiteral("/compare-with-radio-%1.png").arg(lang));
        }
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toUtf8());
    qunsetenv("VRM650T_SIM_FAULTS");
    QApplication app(argc, argv);
    SafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "safety_test.moc"
