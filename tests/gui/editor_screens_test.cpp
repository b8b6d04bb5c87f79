// Opens every editor of the Edit menu on a model with typed frequencies and
// on the Varitel model, in English and German, and checks that nothing in
// it is cut off. With VRM_SCREENSHOT_DIR set the pictures are kept there
// (the README's come from here).
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/application.h"
#include "app/main_frame.h"
#include "app/vrm_app.h"
#include "editors/key_view.h"
#include "editors/special_view.h"
#include "gui_app.h"
#include "link/clock.h"
#include "model/model_catalogue.h"
#include "model/radio_image.h"
#include "text/scripted_prompter.h"

using namespace vrm;

class EditorScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{11, 0}};

    QMdiSubWindow* FrameOf(EditorView* view) { return qobject_cast<QMdiSubWindow*>(view->parentWidget()); }

    void Shoot(const QString& lang, int model, std::uint16_t band, const QString& name) {
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        test::UseModel(app, model, band);
        const std::unique_ptr<CMainFrame> shown = test::ShowFrame(app, prompter, dialogs, settings);
        QVERIFY(shown);
        CMainFrame& frame = *shown;

        const bool list = model == 2;
        struct Editor {
            int command;
            const char* viewClass;
            const char* file;
        };
        for (const Editor& e : {Editor{cmd::kOptionalFeatures, "CFeatureView", "optional-features"},
                                Editor{cmd::kKeyAssignment, "CKeyView", "key-assignment"},
                                Editor{cmd::kScanInformation, "CScanView", "scan"},
                                Editor{cmd::kTestFrequency, "CTestFreqView", "test-frequency"},
                                Editor{cmd::kEmbeddedMessage, "CEmbView", "embedded-message"},
                                Editor{cmd::kQtDqtCustomization, "CCmqtdqtView", "qt-dqt-customization"},
                                Editor{cmd::kAdvancedSettings, "CSpecialView", "advanced-settings"}}) {
            const QString where = QString::fromLatin1(e.file) + " " + name;
            if (!list && e.command == cmd::kQtDqtCustomization) {
                QVERIFY(!frame.IsCommandEnabled(e.command) || !frame.Action(e.command)->isVisible() ||
                        !frame.Menu(MenuId::Edit)->actions().contains(frame.Action(e.command)));
                continue;
            }
            QVERIFY2(frame.IsCommandEnabled(e.command), qPrintable(where));
            frame.RunCommand(e.command);
            QTRY_VERIFY2(frame.FindOpenEditor(e.viewClass), qPrintable(where));
            EditorView* view = frame.FindOpenEditor(e.viewClass);
            QMdiSubWindow* sub = FrameOf(view);
            sub->resize(sub->sizeHint());
            sub->move(0, 0);
            QCoreApplication::processEvents();
            QVERIFY2(!sub->windowTitle().isEmpty(), qPrintable(where));
            test::CheckNothingCutOff(view, where);
            if (auto* special = dynamic_cast<CSpecialView*>(view)) {
                for (int tab = 0; tab < special->Tabs()->count(); ++tab) {
                    special->Tabs()->setCurrentIndex(tab);
                    QCoreApplication::processEvents();
                    test::CheckNothingCutOff(view, where + " tab " + QString::number(tab));
                    QVERIFY(sub->grab().save(QDir(outDir_).filePath(
                        QStringLiteral("%1-%2-%3.png").arg(QString::fromLatin1(e.file)).arg(tab).arg(name))));
                }
            } else if (e.command == cmd::kKeyAssignment) {
                // The key image opens beside the grid.
                QTRY_VERIFY2(frame.FindOpenEditor("CKeyImageView"), qPrintable(where));
                QMdiSubWindow* image = FrameOf(frame.FindOpenEditor("CKeyImageView"));
                QCOMPARE(frame.ActiveEditor(), view);
                QVERIFY(!image->geometry().intersects(sub->geometry()));
                QImage both(image->geometry().right() + 1, std::max(sub->height(), image->height()), QImage::Format_RGB32);
                both.fill(frame.MdiArea()->background().color());
                sub->render(&both, sub->pos());
                image->render(&both, image->pos());
                QVERIFY(both.save(QDir(outDir_).filePath(QStringLiteral("%1-%2.png").arg(e.file).arg(name))));
            } else {
                QVERIFY(sub->grab().save(QDir(outDir_).filePath(QStringLiteral("%1-%2.png").arg(e.file).arg(name))));
            }
            frame.CloseAllEditors();
        }
    }

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void english() {
        Shoot(QStringLiteral("en"), 3, 0x0105, QStringLiteral("lmr-en"));
        Shoot(QStringLiteral("en"), 2, 0x0100, QStringLiteral("varitel-en"));
    }
    void german() {
        Shoot(QStringLiteral("de"), 3, 0x0105, QStringLiteral("lmr-de"));
        Shoot(QStringLiteral("de"), 2, 0x0100, QStringLiteral("varitel-de"));
    }
};

QTEST_MAIN(EditorScreensTest)
#include "editor_screens_test.moc"
