// The desktop program's write interrupted: SIGTERM in the middle of the
// write (the session ending) abandons it with the radio's abort, the
// programming log says "stopped (signal TERM)" and the program ends; a
// program killed outright during the write leaves its "started" row, and the
// next start says so and opens the backup when asked.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "gui_app.h"
#include "core/link/programming_log.h"
#include "gui/transfer/write_dialog.h"
#include "model/shipped_language.h"
#include "sim/radio_log_check.h"
#include "sim/sim_state.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/qt_prompter.h"

#include <QMessageBox>

using namespace vrm;

class InterruptedWriteTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;

    ShellSeams Seams(SettingsStore& settings, test::ScriptedPrompter& prompter, test::ScriptedFileDialogs& dialogs) {
        return test::ProgramSeams(temp_, settings, prompter, dialogs);
    }
    std::string State() const { return temp_.filePath(QStringLiteral("radio.state")).toStdString(); }

    std::string Report() const { return temp_.filePath(QStringLiteral("report.txt")).toStdString(); }

    // A child process starts the program, puts a radio of the data's model
    // on the simulated cable with `faults` and presses Write; the wait status.
    // When the write has ended, the child puts the result of the last row of
    // the programming log and then the messages it showed into Report().
    int WriteWith(const std::string& faults) {
        std::filesystem::remove(Report());
        const pid_t child = ::fork();
        if (child == 0) {
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            test::ScriptedFileDialogs dialogs;
            DesktopApp program(Seams(settings, prompter, dialogs));
            if (program.InitInstance({}) != DesktopApp::Start::Running) ::_exit(3);
            SimulatedRadio radio;
            radio.SetIdentity(program.App().Image().Identity());
            if (!SaveSimState(State(), radio, nullptr)) ::_exit(4);
            ::setenv("VRM650T_SIM_FAULTS", faults.c_str(), 1);
            QTimer::singleShot(0, [] {
                for (int i = 0; i < 300; ++i) {
                    if (auto* dialog = qobject_cast<WriteDialog*>(QApplication::activeModalWidget())) {
                        dialog->StartButton()->click();
                        return;
                    }
                    QTest::qWait(10);
                }
            });
            program.Frame()->RunCommand(cmd::kWriteData);
            std::ofstream report(Report());
            const std::vector<LogFields> rows = ReadLog(program.App().WriteOptions().logPath);
            report << (rows.empty() ? std::string() : rows.back().result) << "\n";
            for (const Message& m : prompter.asked) report << m.text << "\n";
            report.close();
            ::_exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return status;
    }

    std::vector<std::string> RadioLog() const {
        SimulatedRadio radio;
        std::string error;
        if (!LoadSimState(State(), radio, &error)) return {"unreadable: " + error};
        return radio.Log();
    }

private slots:
    void initTestCase() { qputenv("VRM650T_SIM_STATE", State().c_str()); }

    void sigtermInTheMiddleOfTheWriteAbandonsItAndTheLogSaysSo() {
        const int status = WriteWith("signal=TERM@2:40");
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        const std::vector<std::string> log = RadioLog();
        QCOMPARE(QString::fromStdString(test::ProgramModeProblem(log)), QString());
        QCOMPARE(QString::fromStdString(log.back()), QStringLiteral("abort"));

        // The next start finds the write finished (stopped), with nothing to report.
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        DesktopApp program(Seams(settings, prompter, dialogs));
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QVERIFY(prompter.asked.empty());
        const std::vector<LogFields> rows = ReadLog(program.App().WriteOptions().logPath);
        QVERIFY(rows.size() >= 2);
        QCOMPARE(QString::fromStdString(rows[rows.size() - 2].result), QStringLiteral("started"));
        // Send 40 of the write is the data of its 18th block (0x120): that block
        // is taken, the stop keeps the next one (0x130) from going.
        QCOMPARE(QString::fromStdString(rows.back().result),
                 QStringLiteral("stopped (signal TERM) at block 19 (0x130): 18 of 63 blocks written; "
                                "radio partly written"));
        program.ExitInstance();
    }

    // The key exchange of each session, where a stop once took the closing
    // exit byte for the key and left the radio in program mode.
    void sigtermAtTheKeyExchangeOfEachSessionLeavesProgramModeAndNamesTheStop() {
        const std::pair<const char*, const char*> cases[] = {
            {"signal=TERM@1:3", "stopped (signal TERM) before writing; nothing written"},
            {"signal=TERM@2:3", "stopped (signal TERM) before writing; nothing written"},
            {"signal=TERM@3:3", "written; stopped (signal TERM) before the read-back finished; not verified"},
        };
        for (const auto& [faults, result] : cases) {
            const int status = WriteWith(faults);
            QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            QCOMPARE(QString::fromStdString(test::ProgramModeProblem(RadioLog())), QString());
            std::ifstream in(Report());
            std::string logged, messages;
            QVERIFY2(std::getline(in, logged), faults);
            messages.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            QCOMPARE(QString::fromStdString(logged), QString::fromLatin1(result));
            QVERIFY2(messages.find(test::EnglishTexts().TextString(tid::kLinkInterrupted)) != std::string::npos,
                     messages.c_str());
            QVERIFY2(messages.find(test::EnglishTexts().TextString(tid::kMsgCommunicationError)) == std::string::npos,
                     messages.c_str());
        }
    }

    void aWriteKilledOutrightIsReportedAtTheNextStartAndItsBackupOpens() {
        const int status = WriteWith("signal=KILL@2:40");
        QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        prompter.answers = {Answer::Yes};  // Open Backup
        DesktopApp program(Seams(settings, prompter, dialogs));
        QCOMPARE(program.InitInstance({}), DesktopApp::Start::Running);
        QCOMPARE(prompter.TextIds(), std::vector<int>{static_cast<int>(tid::kUnfinishedWrite)});
        const std::vector<LogFields> rows = ReadLog(program.App().WriteOptions().logPath);
        const LogFields& started = rows[rows.size() - 2];
        QCOMPARE(QString::fromStdString(started.result), QStringLiteral("started"));
        QCOMPARE(QString::fromStdString(rows.back().result), QString::fromLatin1(kLogUnfinished));
        const std::string& text = prompter.asked[0].text;
        QVERIFY(text.find(started.dataFile) != std::string::npos);
        QVERIFY(text.find(" radio 00000001 ") != std::string::npos);
        QVERIFY(text.find(started.backupFile) != std::string::npos);
        // The backup is the document now, with what the radio held before.
        QCOMPARE(program.App().Document().FilePath(), started.backupFile);
        QVERIFY(dialogs.openRequests.empty());  // opened without asking for a file
        program.ExitInstance();
    }

    void theReportsButtonsOpenWhatTheyNameInBothLanguages() {
        for (const char* lang : {"en", "de"}) {
            LanguageTable language;
            language.SetProgramFolder(VRM_BIN_DIR "/");
            QVERIFY(language.Load(std::string("vrm650t_") + lang + ".lng", false, nullptr));
            const std::string log = temp_.filePath(QStringLiteral("report-%1.csv").arg(lang)).toStdString();
            const std::string backup = temp_.filePath(QStringLiteral("00000001_20261208-134501.dat")).toStdString();
            const std::string file = temp_.filePath(QStringLiteral("fleet.dat")).toStdString();
            for (const std::string& f : {backup, file}) QFile(QString::fromStdString(f)).open(QIODevice::WriteOnly);
            { LogEntry e; QCOMPARE(e.Start(log, {"2026-12-08T13:45:01+01:00", "00000001", "HRV-41A:K", "V1.10.00", file, "ab", backup, ""}), 0); }
            QStringList captions;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                for (QAbstractButton* b : box->buttons()) captions << b->text();
                box->grab().save(test::ScreenshotFolder(temp_) + QStringLiteral("/unfinished-write-%1.png").arg(lang));
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == QString::fromStdString(language.TextString(tid::kUnfinishedOpenFile))) b->click();
            });
            QtPrompter prompter(language, [] { return nullptr; });
            QCOMPARE(ReportUnfinishedWrites(log, prompter, language), file);
            QCOMPARE(captions.size(), 3);
            QVERIFY(captions.contains(QString::fromStdString(language.TextString(tid::kUnfinishedOpenBackup))));
        }
    }
};

int main(int argc, char** argv) {
    vrm::test::RestartWithSimulatedRadio(argv);
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toUtf8());
    QApplication app(argc, argv);
    InterruptedWriteTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "interrupted_write_test.moc"
