// Printing: the PDF of every list of every model read back as text
// (pdftotext) in English and German, nothing past the right margin on A4
// and Letter, long and wide tables over several pages with their headings
// repeated,
// and File > Print Preview from the menu with the "Print Out List" dialog,
// its lists remembered and a close request that only ends the preview.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "gui/app/print_commands_qt.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/editor_tables.h"
#include "core/fields/field_listing.h"
#include "core/fields/field_registry.h"
#include "gui_app.h"
#include "core/exchange/configuration_print.h"
#include "core/exchange/pdf_output.h"
#include "gui/print/print_list_dialog.h"
#include "gui/print/print_preview_qt.h"

using namespace vrm;

namespace {

constexpr double kMarginPt = 15 * 72 / 25.4;

template <typename T, typename F>
void WhenModal(F body) {
    QTimer::singleShot(0, [body] {
        for (int i = 0; i < 500; ++i) {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                body(dialog);
                return;
            }
            QTest::qWait(10);
        }
        qWarning("no modal dialog appeared");
    });
}

QString Run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct PdfText {
    QString layout;  // pdftotext -layout
    int pages = 0;
    bool insideMargins = true;
    QString outside;  // the first word past a side margin
};

// Writes the PDF and reads it back: its text, its pages and whether every
// word lies between the side margins.
PdfText ReadBack(const print::Document& doc, bool letter, const QString& path) {
    PdfText r;
    std::string bytes;
    print::PdfOptions options;
    options.letter = letter;
    if (!print::MakePdf(doc, options, bytes, &r.pages)) return r;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return r;
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
    f.close();
    r.layout = Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    const QString boxes = Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    static const QRegularExpression page(QStringLiteral("<page width=\"([0-9.]+)\""));
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    const double width = page.match(boxes).captured(1).toDouble();
    r.insideMargins = width > 500;
    for (auto it = word.globalMatch(boxes); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(1).toDouble() < kMarginPt - 1 || m.captured(2).toDouble() > width - kMarginPt + 1) {
            r.insideMargins = false;
            if (r.outside.isEmpty()) r.outside = m.captured(3);
        }
    }
    return r;
}

// A line of the text holds both texts, the first before the second.
bool OnOneLine(const QString& text, const QString& a, const QString& b) {
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const auto at = line.indexOf(a);
        if (at >= 0 && line.indexOf(b, at + a.size()) >= 0) return true;
    }
    return false;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class PrintTest : public QObject {
    Q_OBJECT

    QTemporaryDir temp_;
    VirtualClock clock_{{8, 0}};

    void EveryListOfEveryModel(const std::string& lang) {
        for (int model = 1; model <= 4; ++model) {
            Application app(clock_);
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            test::UseModel(app, model, static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
            EditSession& session = app.Session();
            session.SetDecimalSeparator(lang == "de" ? "," : ".");
            // Every channel in use, each with a frequency of its own.
            const double low = app.Catalogue().CurrentBandLimits().lowerMHz;
            for (int row = 0; row < session.RowCount(ChannelTable()); ++row) {
                if (session.RowExists(ChannelTable(), row)) continue;
                const std::string key = "channel." + std::to_string(row + 1) + ".rx";
                QVERIFY(SetFromScript(session, key, std::to_string(low + 0.5 + 0.0125 * row)).Ok());
            }
            std::vector<print::PrintList> all;
            for (const auto& info : print::PrintLists()) all.push_back(info.list);
            const print::Document doc = print::BuildConfigurationDocument(session, all, {"fleet.dat", "today"});
            for (const bool letter : {false, true}) {
                const QString where = QStringLiteral("model %1 %2 %3").arg(model).arg(Q(lang)).arg(letter ? "Letter" : "A4");
                const PdfText pdf = ReadBack(doc, letter, temp_.filePath(QStringLiteral("m.pdf")));
                QVERIFY2(pdf.pages > 0 && !pdf.layout.isEmpty(), qPrintable(where));
                QVERIFY2(pdf.insideMargins, qPrintable(where + ": past the margin: " + pdf.outside));
                QVERIFY2(pdf.layout.contains(Q(print::PageNumberText(doc, pdf.pages, pdf.pages))), qPrintable(where));
                for (const print::Section& s : doc.sections)
                    QVERIFY2(pdf.layout.contains(Q(s.heading)), qPrintable(where + ": " + Q(s.heading)));
                // Every channel's frequencies on the channel's line.
                for (int row = 0; row < session.RowCount(ChannelTable()); ++row) {
                    for (const char* key : {"rx", "tx"}) {
                        const std::string text = session.Text(FieldRef{&ChannelTable(), ChannelTable().Find(key), row});
                        if (text.empty()) continue;
                        QVERIFY2(OnOneLine(pdf.layout, QString::number(row + 1) + QLatin1Char(' '), Q(text)),
                                 qPrintable(where + ": channel " + QString::number(row + 1) + " " + Q(text)));
                    }
                }
                // Every feature with its value on one line.
                for (const FormLine& line : FormLines(session.Context(), FeatureTable())) {
                    const QString label = Q(session.Context().Text(line.ref.field->label));
                    if (line.caption) QVERIFY2(pdf.layout.contains(label), qPrintable(where + ": " + label));
                    else
                        QVERIFY2(OnOneLine(pdf.layout, label, Q(session.Text(line.ref))),
                                 qPrintable(where + ": " + label + " " + Q(session.Text(line.ref))));
                }
            }
        }
    }

private slots:
    void everyListOfEveryModelInEnglish() { EveryListOfEveryModel("en"); }
    void everyListOfEveryModelInGerman() { EveryListOfEveryModel("de"); }

    void longTablesGoOnWithTheirHeadingsAndStayInside() {
        print::Document doc;
        doc.title = "VRM-650T";
        doc.fileName = "long.dat";
        doc.pageNumbers = "Page %d of %d";
        print::Table t;
        for (int c = 0; c < 9; ++c) t.headings.push_back("Heading" + std::to_string(c) + " with words");
        for (int r = 0; r < 150; ++r) {
            std::vector<std::string> cells;
            for (int c = 0; c < 9; ++c) cells.push_back(c == 4 ? std::string(70, 'W') : "cell " + std::to_string(r));
            t.AddRow(cells);
        }
        doc.sections.push_back({"Long", {t}});
        for (const bool letter : {false, true}) {
            const PdfText pdf = ReadBack(doc, letter, temp_.filePath(QStringLiteral("long.pdf")));
            QVERIFY(pdf.pages > 2);
            QVERIFY2(pdf.insideMargins, qPrintable(pdf.outside));
            // Every page starts with headings: the table's first column goes
            // with each part of a table split for its width.
            const QStringList pages = pdf.layout.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
            QCOMPARE(pages.size(), pdf.pages);
            for (const QString& page : pages) QVERIFY(page.contains(QStringLiteral("Heading0")));
            QVERIFY(pdf.layout.contains(QStringLiteral("Heading8")));
            QVERIFY(pdf.layout.contains(QStringLiteral("cell 149")));
            QVERIFY(pdf.layout.contains(QStringLiteral("Page %1 of %1").arg(pdf.pages)));
        }
    }

    void printPreviewFromTheMenuRemembersTheLists() {
        test::ProgramFixture program;
        program.Start(3, static_cast<std::uint16_t>(ModelCatalogue::BandList(3, ".").front().data));
        CMainFrame& frame = *program.frame_;
        QVERIFY(frame.IsCommandEnabled(cmd::kPrint));
        QVERIFY(frame.IsCommandEnabled(cmd::kPrintPreview));
        bool offeredCustom = true, previewFlag = false, previewShown = false, frameStayed = false;
        WhenModal<PrintListDialog>([&](PrintListDialog* dialog) {
            offeredCustom = dialog->Box(print::PrintList::CustomCodes) != nullptr;  // typed frequencies: none
            QVERIFY(dialog->Box(print::PrintList::Keys)->isChecked());
            dialog->Box(print::PrintList::Keys)->setChecked(false);
            dialog->findChild<QPushButton*>(QStringLiteral("ok"))->click();
            WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
                previewShown = preview->isVisible();
                previewFlag = frame.InPrintPreview();
                frame.close();  // only ends the preview
                frameStayed = frame.isVisible();
            });
        });
        frame.RunCommand(cmd::kPrintPreview);
        QVERIFY(!offeredCustom);
        QVERIFY(previewShown && previewFlag);
        QVERIFY(frameStayed && frame.isVisible());
        QVERIFY(!frame.InPrintPreview());
        QVERIFY(program.prompter_.asked.empty());  // no "close the program?" question
        QCOMPARE(program.settings_.ReadString(kSettingPrintLists).value_or(""),
                 std::string("channels,features,scan,testfreq,bandpoints,message,advanced"));

        // The next time keys stay unchecked; with nothing checked OK is greyed.
        bool keysChecked = true, okWhenNone = true;
        WhenModal<PrintListDialog>([&](PrintListDialog* dialog) {
            keysChecked = dialog->Box(print::PrintList::Keys)->isChecked();
            dialog->findChild<QPushButton*>(QStringLiteral("none"))->click();
            okWhenNone = dialog->findChild<QPushButton*>(QStringLiteral("ok"))->isEnabled();
            dialog->reject();
        });
        frame.RunCommand(cmd::kPrint);
        QVERIFY(!keysChecked);
        QVERIFY(!okWhenNone);
        QCOMPARE(program.settings_.ReadString(kSettingPrintLists).value_or(""),
                 std::string("channels,features,scan,testfreq,bandpoints,message,advanced"));
    }

    void aDialogsOwnPreviewEndsOnACloseRequestToo() {
        // Test Mode's way: a dialog calls the print path itself.
        test::ProgramFixture program;
        program.Start(3, static_cast<std::uint16_t>(ModelCatalogue::BandList(3, ".").front().data));
        CMainFrame& frame = *program.frame_;
        QDialog dialog(&frame);
        print::Document doc;
        doc.title = "VRM-650T";
        print::Table t;
        t.AddRow({"Squelch", "3"});
        doc.sections.push_back({"Test Mode", {t}});
        bool shown = false;
        WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* preview) {
            shown = preview->isVisible();
            frame.close();
        });
        print::PreviewDocument(&dialog, doc, print::StyleFor(frame.Language()));
        QVERIFY(shown);
        QVERIFY(frame.isVisible());
        QVERIFY(program.prompter_.asked.empty());
    }

    void printOutListDialogScreens() {
        const QString dir = test::ScreenshotFolder(temp_);
        for (const std::string lang : {"en", "de"}) {
            Application app(clock_);
            MemorySettingsStore settings;
            test::ScriptedPrompter prompter;
            QVERIFY(test::StartApplication(app, settings, prompter, lang, temp_.path().toStdString()));
            std::vector<print::PrintList> all;
            for (const auto& info : print::PrintLists()) all.push_back(info.list);
            PrintListDialog dialog(app.Language(), all, all, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            test::CheckNothingCutOff(&dialog, QStringLiteral("print list ") + Q(lang));
            dialog.grab().save(dir + QStringLiteral("/print-out-list-") + Q(lang) + QStringLiteral(".png"));
        }
    }
};

QTEST_MAIN(PrintTest)
#include "print_test.moc"
