// File > Import Channels and Export Channels in the program: the report
// window before anything changes, Apply as one undoable modification that the
// open editors show, Cancel changing nothing, and the export written where
// the save dialog says. Pictures of the report window in English and German.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "core/document/application.h"
#include "gui/app/channel_csv_dialog.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/exchange/channel_csv.h"
#include "gui_app.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

using namespace vrm;

class ChannelCsvTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

    std::string Rx(int channel) {
        const auto ref = FindField(frame_->Session().Context(), "channel." + std::to_string(channel) + ".rx");
        return ref ? frame_->Session().Text(*ref) : "<none>";
    }
    std::string WriteCsv(const char* name, const char* text) {
        const QString path = temp_.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path.toStdString();
    }
    // Answers the report window once it is up: Apply or Cancel.
    void AnswerReport(bool apply, QString* summary) {
        QTimer::singleShot(50, [this, apply, summary] {
            auto* dialog = qobject_cast<ChannelImportDialog*>(QApplication::activeModalWidget());
            if (!dialog) return AnswerReport(apply, summary);
            *summary = dialog->Summary()->text() + "\n" + dialog->Report()->toPlainText();
            (apply ? dialog->ApplyButton() : dialog->findChild<QPushButton*>(QStringLiteral("cancel")))->click();
        });
    }

private slots:
    void importShowsTheReportThenAppliesOrCancels() {
        Start(3, 0x0105);
        frame_->OpenEditor("CChInfoView");
        const std::string csv = WriteCsv("plan.csv",
                                         "Location,Name,Frequency,Duplex,Offset,Tone,cToneFreq\r\n"
                                         "1,Yard,462.5625,,,TSQL,88.5\r\n2,,500,,,,\r\n");
        QString shown;
        dialogs_.openAnswers = {csv};
        AnswerReport(false, &shown);
        frame_->RunCommand(cmd::kImportChannels);
        QVERIFY(shown.contains(QStringLiteral("plan.csv: 2 rows, 2 taken onto channels.")));
        QVERIFY(shown.contains(QStringLiteral("Line 2, channel 1: Name \"Yard\" not kept")));
        QVERIFY(shown.contains(QStringLiteral("Line 3, channel 2: receive frequency 500.000000 MHz stored as")));
        QCOMPARE(Rx(1), std::string());
        QVERIFY(!app_->Document().IsModified());

        dialogs_.openAnswers = {csv};
        AnswerReport(true, &shown);
        frame_->RunCommand(cmd::kImportChannels);
        QCOMPARE(Rx(1), std::string("462.56250"));
        QCOMPARE(Rx(2), std::string("480.00000"));
        QVERIFY(app_->Document().IsModified());
        QVERIFY(frame_->Session().CanUndo());
        frame_->RunCommand(cmd::kUndo);
        QCOMPARE(Rx(1), std::string());
    }

    void anUnreadableCsvIsRefusedWithAMessage() {
        Start(3, 0x0105);
        dialogs_.openAnswers = {WriteCsv("names.csv", "Location,Name\n1,x\n")};
        prompter_.asked.clear();
        frame_->RunCommand(cmd::kImportChannels);
        QCOMPARE(prompter_.asked.size(), std::size_t{1});
        QVERIFY(prompter_.asked[0].text.find("no Frequency column") != std::string::npos);
        QVERIFY(!app_->Document().IsModified());
    }

    void exportWritesTheChannelsWhereTheDialogSays() {
        Start(2, 0x0100);
        const std::string out = temp_.filePath(QStringLiteral("varitel")).toStdString();
        dialogs_.saveAnswers = {out};
        frame_->RunCommand(cmd::kExportChannels);
        QFile f(QString::fromStdString(out + ".csv"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll().toStdString(), ExportChannelCsv(frame_->Session().Context()));
        QCOMPARE(dialogs_.saveRequests.back().pattern, std::string("*.csv"));
    }

    void reportWindowInEnglishAndGerman() {
        for (const char* lang : {"en", "de"}) {
            Application app(SystemClock::Instance());
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            test::UseModel(app, 3, 0x0105);
            const ChannelCsvImport plan = PlanChannelImport(
                app.Session().Context(),
                "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,Mode,TStep,Skip\n"
                "1,\"Depot, North\",462.5625,,,TSQL,88.5,88.5,NFM,12.50,\n"
                "2,,500.0,,0,Tone,60.0,88.5,AM,5.00,P\n17,,446.0,,,,,,,,\n");
            std::vector<std::string> lines;
            for (const ChannelCsvNote& n : plan.notes) lines.push_back(ChannelCsvNoteText(app.Session().Context(), n));
            const std::string summary = FormatText(app.Text(tid::kCsvImportSummary), {"plan.csv", plan.rows, plan.taken});
            ChannelImportDialog dialog(app.Language(), summary, lines, {}, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            test::CheckNothingCutOff(&dialog, QStringLiteral("channel import"));
            dialog.grab().save(test::ScreenshotFolder(temp_) + QStringLiteral("/import-channels-%1.png").arg(lang));
        }
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    QApplication app(argc, argv);
    ChannelCsvTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "channel_csv_test.moc"
