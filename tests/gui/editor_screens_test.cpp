// Opens every editor of the Edit menu on a model with typed frequencies and
// on the Varitel model, in English and German, and checks that nothing in
// it is cut off. Run on a 1366 by 768 screen it also checks that each window
// opens inside the frame with its buttons in view, and that Tab walks a
// scrolling form into view. With VRM_SCREENSHOT_DIR set the pictures are kept
// there (the manual's in docs/ come from here).
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "core/document/application.h"
#include "gui/app/main_frame.h"
#include "gui/app/vrm_app.h"
#include "gui/editors/channel_info_view.h"
#include "gui/editors/key_view.h"
#include "gui/editors/special_view.h"
#include "gui_app.h"
#include "gui/widgets/child_frame.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/form_helpers.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "text/scripted_prompter.h"

using namespace vrm;

class EditorScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{11, 0}};

    QMdiSubWindow* FrameOf(EditorView* view) { return qobject_cast<QMdiSubWindow*>(view->parentWidget()); }

    // Tab walks through a scrolling form to its buttons; every field it
    // reaches is scrolled wholly into view.
    void WalkWithTab(CMainFrame& frame, EditorView* view, const QString& where) {
        auto* scroll = view->findChild<FormScrollArea*>();
        if (!scroll) return;
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        view->setFocus(Qt::TabFocusReason);
        QWidget* first = nullptr;
        for (QWidget* w : scroll->widget()->findChildren<QWidget*>())
            if (!first && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) first = w;
        QVERIFY2(first, qPrintable(where + ": no field"));
        first->setFocus(Qt::TabFocusReason);
        int fields = 0;
        for (QWidget* f = QApplication::focusWidget(); f && scroll->widget()->isAncestorOf(f);
             f = QApplication::focusWidget()) {
            const QRect shown(f->mapTo(scroll->viewport(), QPoint(0, 0)), f->size());
            QVERIFY2(scroll->viewport()->rect().contains(shown),
                     qPrintable(where + ": field out of view: " + f->objectName()));
            QVERIFY2(++fields < 100, qPrintable(where + ": Tab never leaves the form"));
            QTest::keyClick(f, Qt::Key_Tab);
        }
        QVERIFY2(qobject_cast<QAbstractButton*>(QApplication::focusWidget()),
                 qPrintable(where + ": Tab does not reach the buttons"));
    }

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
            // On the small screen the window stays where and as large as the
            // program opened it; elsewhere it is drawn at the size it asks for.
            const bool small = test::OnSmallScreen();
            if (!small) {
                sub->resize(sub->sizeHint());
                sub->move(0, 0);
            }
            QCoreApplication::processEvents();
            QVERIFY2(!sub->windowTitle().isEmpty(), qPrintable(where));
            test::CheckNothingCutOff(view, where);
            if (small) {
                if (e.command == cmd::kKeyAssignment) QTRY_VERIFY2(frame.FindOpenEditor("CKeyImageView"), qPrintable(where));
                QTest::qWait(20);  // the windows settle
                for (QMdiSubWindow* w : frame.MdiArea()->subWindowList()) test::CheckFitsArea(w, where);
                // Fitted once more (as the key picture is), a window keeps its
                // size: a scrolling form's bar is given room once.
                const QSize opened = sub->size();
                auto* child = qobject_cast<CChildFrame*>(sub);
                QVERIFY(child);
                child->FitIntoArea();
                QCOMPARE(sub->size(), opened);
            }
            // The pictures: the window, or on the small screen the frame with it.
            const auto save = [&](const QString& file) {
                QWidget* picture = small ? static_cast<QWidget*>(&frame) : sub;
                QVERIFY(picture->grab().save(QDir(outDir_).filePath(file + (small ? "-1366.png" : ".png"))));
            };
            if (auto* special = dynamic_cast<CSpecialView*>(view)) {
                for (int tab = 0; tab < special->Tabs()->count(); ++tab) {
                    special->Tabs()->setCurrentIndex(tab);
                    QCoreApplication::processEvents();
                    test::CheckNothingCutOff(view, where + " tab " + QString::number(tab));
                    save(QStringLiteral("%1-%2-%3").arg(QString::fromLatin1(e.file)).arg(tab).arg(name));
                }
            } else if (small) {
                save(QStringLiteral("%1-%2").arg(QString::fromLatin1(e.file), name));
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
            if (small) WalkWithTab(frame, view, where);
            frame.CloseAllEditors();
        }
    }

    // Every editor opened one after the other, none closed: each window opens
    // inside the frame's area, however many are open before it.
    void OpenAll(const QString& lang) {
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        test::ScriptedFileDialogs dialogs;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        test::UseModel(app, 3, 0x0105);
        const std::unique_ptr<CMainFrame> shown = test::ShowFrame(app, prompter, dialogs, settings);
        QVERIFY(shown);
        CMainFrame& frame = *shown;
        auto* info = dynamic_cast<CChInfoView*>(frame.OpenEditor("CChInfoView"));
        QVERIFY(info);
        info->OpenChannelEdit();
        for (const int command : {cmd::kOptionalFeatures, cmd::kKeyAssignment, cmd::kScanInformation,
                                  cmd::kTestFrequency, cmd::kEmbeddedMessage, cmd::kAdvancedSettings}) {
            frame.RunCommand(command);
            QTest::qWait(20);  // the windows settle
            const QString where = QStringLiteral("%1 after command %2").arg(lang).arg(command);
            for (QMdiSubWindow* w : frame.MdiArea()->subWindowList()) test::CheckInsideArea(w, where);
            // The window just opened is on top, its buttons in view.
            test::CheckFitsArea(frame.MdiArea()->activeSubWindow(), where);
        }
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 9);
        if (test::OnSmallScreen())
            QVERIFY(frame.grab().save(QDir(outDir_).filePath("all-editors-" + lang + "-1366.png")));
        frame.CloseAllEditors();
    }

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void allEditorsOpenInsideTheFrame() {
        OpenAll(QStringLiteral("en"));
        OpenAll(QStringLiteral("de"));
    }
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
