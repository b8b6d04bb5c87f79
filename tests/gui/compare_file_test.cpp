// File > Compare With...: the window lists the items where the chosen data
// file differs from the document, says when they are the same, and an
// unreadable file gets Open's message and changes nothing. Pictures of the
// window in English and German.
#include <QApplication>
#include <QLabel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "gui/app/compare_file_dialog.h"
#include "gui/app/custom_file_dialog.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/files/data_file.h"
#include "gui_app.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "text/scripted_prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"

using namespace vrm;

class CompareFileTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir temp_;

    // Runs Compare With... and reads the window it shows before closing it.
    struct Seen {
        bool shown = false;
        QString verdict;
        QString models;  // the other-model line, when shown
        QStringList rows;  // "section|field|document|file"
    };
    Seen Compare(CMainFrame& frame, const QString& picture) {
        Seen seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CompareFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen.shown = true;
            seen.verdict = dialog->Verdict()->text();
            if (dialog->Models()->isVisible()) seen.models = dialog->Models()->text();
            QTableWidget* t = dialog->Table();
            for (int r = 0; t->isVisible() && r < t->rowCount(); ++r)
                seen.rows << t->item(r, 0)->text() + "|" + t->item(r, 1)->text() + "|" + t->item(r, 2)->text() + "|" +
                                 t->item(r, 3)->text();
            QTest::qWait(50);
            test::CheckNothingCutOff(dialog, picture);
            if (!picture.isEmpty()) dialog->grab().save(test::ScreenshotFolder(temp_) + "/" + picture + ".png");
            dialog->accept();
        });
        frame.RunCommand(cmd::kCompareWithFile);
        QCoreApplication::processEvents();  // the check runs now when no window was shown
        return seen;
    }

private slots:
    void listsTheDifferencesOfAFileInBothLanguages() {
        for (const std::string lang : {"en", "de"}) {
            VirtualClock clock{{8, 0}};
            Application app(clock);
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            test::ScriptedFileDialogs dialogs;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            test::UseModel(app, 3, static_cast<std::uint16_t>(ModelCatalogue::BandList(3, ".").front().data));
            auto frame = test::ShowFrame(app, prompter, dialogs, settings);
            QVERIFY(frame);
            const LanguageTable& language = app.Language();

            // The same data as a file: identical.
            const std::string same = temp_.filePath(QString::fromStdString("same-" + lang + ".dat")).toStdString();
            QVERIFY(DataFile(app.Image(), app.Catalogue()).Write(same, {}, clock).Ok());
            dialogs.openAnswers = {same};
            const Seen identical = Compare(*frame, {});
            QVERIFY(identical.shown);
            QCOMPARE(identical.verdict, LangText(language, tid::kCompareFileIdentical));
            QVERIFY(identical.rows.isEmpty());
            // The file picker says what the file is for; Open's keeps its own title.
            QVERIFY(!dialogs.openRequests.empty());
            const FileDialogRequest pick = dialogs.openRequests.back();
            QCOMPARE(QString::fromStdString(pick.title), LangText(language, tid::kCompareFilePick));
            QCOMPARE(CCustomFileDlg(language, pick, nullptr).windowTitle(), LangText(language, tid::kCompareFilePick));
            QCOMPARE(CCustomFileDlg(language, FileDialogRequest{}, nullptr).windowTitle(),
                     WithoutMnemonic(LangText(language, tid::kCmdOpen)));

            // A file with channel 2 on 451.2 MHz and its name changed.
            const ImageBuffer before = app.Image().Live();
            QVERIFY(SetFromScript(app.Session(), "channel.2.rx", "451.2").Ok());
            QVERIFY(SetFromScript(app.Session(), "channel.2.tx", "456.2").Ok());
            const std::string other = temp_.filePath(QString::fromStdString("other-" + lang + ".dat")).toStdString();
            QVERIFY(DataFile(app.Image(), app.Catalogue()).Write(other, {}, clock).Ok());
            app.Image().Live() = before;
            frame->RefreshAllViews();
            dialogs.openAnswers = {other};
            const Seen differ = Compare(*frame, QString::fromStdString("compare-with-file-" + lang));
            QVERIFY(differ.shown);
            QCOMPARE(differ.verdict,
                     QString::fromStdString(FormatText(language.TextString(tid::kCompareFileDifferences),
                                                       {static_cast<long long>(differ.rows.size())})));
            const QString channel2 = LangText(language, tid::kEditorChannelInformation) + " 2|";
            QVERIFY(!differ.rows.isEmpty());
            QVERIFY2(differ.rows[0].startsWith(channel2 + LangText(language, tid::kChannelRxLabel) + "|"),
                     qPrintable(differ.rows[0]));
            QVERIFY2(differ.rows[0].endsWith("|451.20000"), qPrintable(differ.rows[0]));
            QVERIFY2(differ.rows.filter(channel2 + LangText(language, tid::kChannelTxLabel) + "|").size() == 1 &&
                         differ.rows.filter(channel2 + LangText(language, tid::kChannelTxLabel) + "|")[0].endsWith(
                             "|456.20000"),
                     qPrintable(differ.rows.join("\n")));
            QVERIFY(app.Image().Live() == before);

            // A file of another model (four channels): named with its model.
            RadioImage small;
            ModelCatalogue smallCatalogue(small);
            smallCatalogue.SetModel(1);
            smallCatalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(1, ".").front().data));
            small.InitialiseDefaults(smallCatalogue, false);
            const std::string four = temp_.filePath(QString::fromStdString("four-" + lang + ".dat")).toStdString();
            QVERIFY(DataFile(small, smallCatalogue).Write(four, {}, clock).Ok());
            dialogs.openAnswers = {four};
            const Seen models = Compare(*frame, QString::fromStdString("compare-with-file-model-" + lang));
            QVERIFY(models.shown);
            QVERIFY2(models.models.contains(QString::fromStdString(smallCatalogue.ModelSummaryText("."))),
                     qPrintable(models.models));
            QVERIFY(app.Image().Live() == before);

            // A file that is no data file: Open's message, nothing changes.
            const std::string bad = temp_.filePath(QStringLiteral("bad.dat")).toStdString();
            std::ofstream(bad) << "no data file";
            dialogs.openAnswers = {bad};
            const std::size_t messages = prompter.asked.size();
            QVERIFY(!Compare(*frame, {}).shown);
            QCOMPARE(prompter.asked.size(), messages + 1);
            QVERIFY(app.Image().Live() == before);
            QVERIFY(!app.Document().IsModified());
        }
    }
};

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toUtf8());
    QApplication app(argc, argv);
    CompareFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "compare_file_test.moc"
