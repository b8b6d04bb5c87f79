// Renders the shell's windows in English and German and checks that no
// caption is cut off and no text is missing. With VRM_SCREENSHOT_DIR set, the
// pictures are kept there as PNG files (the manual's in docs/ come from here).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTreeWidget>

#include "gui/app/about_dialog.h"
#include "core/document/application.h"
#include "gui/app/custom_file_dialog.h"
#include "core/document/document.h"
#include "gui/app/language_dialog.h"
#include "gui/app/main_frame.h"
#include "gui/app/model_dialog.h"
#include "gui_app.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "gui/widgets/help_window.h"

using namespace vrm;

class ShellScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{7, 30}};

    void Save(QWidget* w, const QString& name) { Save(w->grab().toImage(), name); }
    void Save(const QImage& image, const QString& name) {
        QVERIFY(!image.isNull());
        // A picture of one colour shows nothing.
        const QRgb first = image.pixel(image.width() / 2, image.height() / 2);
        bool varied = false;
        for (int y = 0; y < image.height() && !varied; y += 7)
            for (int x = 0; x < image.width() && !varied; x += 7) varied = image.pixel(x, y) != first;
        QVERIFY2(varied, qPrintable(name));
        QVERIFY(image.save(QDir(outDir_).filePath(name + QStringLiteral(".png"))));
    }

    // Every caption in `w` is shown whole and none is empty.
    void CheckTexts(QWidget* w, const QString& where) {
        QVERIFY2(!w->windowTitle().isEmpty(), qPrintable(where + ": no window title"));
        if (w->isWindow()) test::CheckFitsScreen(w, where);
        for (QLabel* l : w->findChildren<QLabel*>()) {
            if (!l->isVisible() || !l->pixmap().isNull()) continue;
            if (l->text().isEmpty() && l->buddy()) QFAIL(qPrintable(where + ": empty label"));
            QVERIFY2(l->width() >= l->minimumSizeHint().width() - 1,
                     qPrintable(where + ": label cut off: " + l->text()));
        }
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
            if (!b->isVisible() || b->inherits("QToolButton")) continue;
            QVERIFY2(!b->text().isEmpty() || !b->icon().isNull(), qPrintable(where + ": button without text"));
            QVERIFY2(b->width() >= b->sizeHint().width() - 1, qPrintable(where + ": button cut off: " + b->text()));
        }
        for (QGroupBox* g : w->findChildren<QGroupBox*>()) {
            if (g->isVisible()) QVERIFY2(!g->title().isEmpty(), qPrintable(where + ": group without title"));
        }
    }

    void Shoot(const QString& lang) {
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        QCOMPARE(app.LanguageFile(), "vrm650t_" + lang.toStdString() + ".lng");
        // The Varitel model: every editor is in the tree.
        app.Image().Clear();
        app.Catalogue().SetModel(2);
        app.Catalogue().SetBandWord(0x0100);
        app.Image().InitialiseDefaults(app.Catalogue(), false);
        app.Image().TakeSnapshot();

        CMainFrame frame(app, prompter, dialogs, settings);
        QVERIFY(frame.Create());
        RegisterViewsAndDialogs(frame);
        frame.RestorePlacement(std::string("0:1:-1:-1:-1:-1:0:0:1024:700"));
        frame.OnModelChanged();
        frame.RunCommand(cmd::kTreeView);
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCoreApplication::processEvents();
        Save(&frame, "main-window-" + lang);
        for (int i = 0; i < frame.Tree()->topLevelItem(0)->childCount(); ++i)
            QVERIFY(!frame.Tree()->topLevelItem(0)->child(i)->text(0).isEmpty());
        QVERIFY(frame.TreeBar()->width() >= 200);

        // Each menu, opened over the window.
        int index = 0;
        for (QAction* menuAction : frame.menuBar()->actions()) {
            QMenu* menu = menuAction->menu();
            if (!menu) continue;
            ++index;
            QVERIFY(!menuAction->text().isEmpty());
            frame.menuBar()->setActiveAction(menuAction);
            QTRY_VERIFY(menu->isVisible());
            QSet<QChar> keys;  // one entry per access key
            for (QAction* a : menu->actions()) {
                if (a->isSeparator()) continue;
                QVERIFY2(!a->text().isEmpty(), qPrintable(QString::number(a->data().toInt())));
                const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
                if (amp < 0 || amp + 1 >= a->text().size()) continue;
                const QChar key = a->text().at(amp + 1).toLower();
                QVERIFY2(!keys.contains(key), qPrintable(lang + ": " + a->text()));
                keys.insert(key);
            }
            QVERIFY(menu->width() >= menu->sizeHint().width());
            QImage shot = frame.grab().toImage();
            QPainter p(&shot);
            p.drawPixmap(frame.mapFromGlobal(menu->mapToGlobal(QPoint(0, 0))), menu->grab());
            p.end();
            Save(shot, QStringLiteral("menu-%1-%2").arg(index).arg(lang));
            menu->hide();
            frame.menuBar()->setActiveAction(nullptr);
        }

        {
            ModelDialog dialog(app, prompter, frame.GetFileDialogs(), &frame);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            CheckTexts(&dialog, "model dialog " + lang);
            QVERIFY(dialog.ModelList()->width() >= dialog.ModelList()->sizeHint().width() - 1);
            Save(&dialog, "model-dialog-" + lang);
        }
        {
            DataFile file(app.Image(), app.Catalogue());
            const char line1[] = "NORTH DEPOT - FLEET 12";
            const char line2[] = "Dispatch: channel 2";
            const ImageBuffer keep = app.Image().Live();
            for (std::size_t i = 0; i < sizeof line1 - 1; ++i) app.Image().SetByte(kEmbeddedMessageArea.offset + i, static_cast<std::uint8_t>(line1[i]));
            for (std::size_t i = 0; i < sizeof line2 - 1; ++i) app.Image().SetByte(kEmbeddedMessageArea.offset + 32 + i, static_cast<std::uint8_t>(line2[i]));
            const QString path = temp_.filePath(QStringLiteral("north-depot-12.dat"));
            QCOMPARE(file.Write(path.toStdString(), {}, clock_).code, static_cast<int>(kDataFileOk));
            app.Image().Live() = keep;
            FileDialogRequest request;
            request.filterText = app.Text(10100001) + " (*.dat)";
            request.pattern = "*.dat";
            request.folder = temp_.path().toStdString();
            CCustomFileDlg dialog(app.Language(), request, &frame);
            dialog.show();
            dialog.selectFile(path);
            QTRY_COMPARE(dialog.PreviewLine1(), QString::fromLatin1(line1));
            QTest::qWait(100);
            CheckTexts(&dialog, "open " + lang);
            Save(&dialog, "open-dialog-" + lang);
        }
        {
            AboutDialog dialog(app.Language(), &frame);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            CheckTexts(&dialog, "about " + lang);
            Save(&dialog, "about-" + lang);
        }
        {
            app.Language().ScanInstalledLanguages(app.ProgramFolder());
            LanguageDialog dialog(app.Language(), app.Language().InstalledLanguages(), app.LanguageFile(), &frame);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY(dialog.List()->count() >= 2);
            CheckTexts(&dialog, "language " + lang);
            Save(&dialog, "language-dialog-" + lang);
        }
        {
            frame.ShowHelp(*HelpForCommand(cmd::kOpen));
            HelpWindow* help = frame.Help().Window();
            QVERIFY(help);
            QVERIFY(QTest::qWaitForWindowExposed(help));
            QVERIFY(help->CurrentPath().contains("_" + lang + "_"));
            CheckTexts(help, "help " + lang);
            Save(help, "help-window-" + lang);
            frame.CloseHelpWindows();
        }
    }

private slots:
    void initTestCase() {
        outDir_ = test::ScreenshotFolder(temp_);
    }
    void english() { Shoot(QStringLiteral("en")); }
    void german() { Shoot(QStringLiteral("de")); }
};

QTEST_MAIN(ShellScreensTest)
#include "shell_screens_test.moc"
