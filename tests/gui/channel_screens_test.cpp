// Renders Channel Information and Channel Edit on a 4-channel and a
// 16-channel model with typed frequencies and on the Varitel model, in
// English and German, and checks that nothing is cut off: labels, buttons,
// the grid's headers and cells, the window texts. With VRM_SCREENSHOT_DIR
// set the pictures are kept there (the manual's in docs/ come from here).
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>

#include "core/document/application.h"
#include "gui/app/main_frame.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "gui/editors/channel_edit_view.h"
#include "gui/editors/channel_info_view.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "gui_app.h"
#include "text/scripted_prompter.h"
#include "gui/widgets/record_grid.h"

using namespace vrm;

class ChannelScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{10, 5}};

    void Save(QWidget* w, const QString& name) {
        const QImage image = w->grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QDir(outDir_).filePath(name + QStringLiteral(".png"))));
    }

    // The screen tests' runs at a 1.5 scale or with a 14 pt desktop font.
    static bool Enlarged() {
        return qEnvironmentVariableIsSet("QT_SCALE_FACTOR") || qEnvironmentVariableIsSet("VRM_TEST_DESKTOP_POINTS");
    }

    void CheckGrid(RecordGridView* grid, const QString& where) {
        const QFontMetrics header(grid->horizontalHeader()->font());
        for (int c = 0; c < grid->model()->columnCount(); ++c) {
            const QString title = grid->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            QVERIFY2(grid->columnWidth(c) >= header.horizontalAdvance(title), qPrintable(where + ": header cut off: " + title));
            for (int r = 0; r < grid->model()->rowCount(); ++r) {
                const QString text = grid->model()->index(r, c).data().toString();
                QVERIFY2(grid->columnWidth(c) >= grid->fontMetrics().horizontalAdvance(text),
                         qPrintable(where + ": cell cut off: " + text));
            }
        }
        // Every row is in view without scrolling; at a large scale or font,
        // where the window has no more room, the grid scrolls to them.
        const bool allInView = grid->rowViewportPosition(grid->model()->rowCount() - 1) + grid->rowHeight(0) <=
                               grid->viewport()->height();
        QVERIFY2(allInView || (Enlarged() && grid->verticalScrollBar()->isVisible()),
                 qPrintable(where + ": rows hidden"));
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

        // A plan with every kind of value in it.
        EditSession& s = app.Session();
        const bool list = model == 2;
        for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
                 {"channel.1.rx", list ? "464.5" : "462.5625"},
                 {"channel.1.decode", list ? "CQT2" : "D023N"},
                 {"channel.2.rx", list ? "461.0375" : "467.9125"},
                 {"channel.2.decode", "88.5"},
                 {"channel.2.power", "low"},
                 {"channel.3.rx", list ? "467.8125" : "451.1875"},
                 {"channel.3.tx", list ? "" : "456.1875"},
                 {"channel.3.repeater", "on"}}) {
            SetFromScript(s, key, value);
        }
        s.ClearHistory();

        auto* info = dynamic_cast<CChInfoView*>(frame.OpenEditor("CChInfoView"));
        QVERIFY(info);
        auto* infoFrame = qobject_cast<QMdiSubWindow*>(info->parentWidget());
        // On the small screen the windows stay as the program opened them.
        const bool small = test::OnSmallScreen();
        if (!small) infoFrame->resize(infoFrame->sizeHint());
        info->Grid()->SetCurrentRow(1);
        QCoreApplication::processEvents();
        CheckGrid(info->Grid(), name + " grid");
        test::CheckNothingCutOff(info, name + " grid");
        if (small) test::CheckFitsArea(infoFrame, name + " grid");
        QVERIFY(infoFrame->windowTitle().contains(QStringLiteral("- 2 ]")));

        info->OpenChannelEdit();
        auto* edit = dynamic_cast<CChEditView*>(frame.FindOpenEditor("CChEditView"));
        QVERIFY(edit);
        QCOMPARE(edit->Channel(), 1);
        auto* editFrame = qobject_cast<QMdiSubWindow*>(edit->parentWidget());
        if (!small) {
            editFrame->resize(editFrame->sizeHint());
            editFrame->move(infoFrame->geometry().right() + 8, 0);
            infoFrame->move(0, 0);
        }
        QTest::qWait(20);  // the windows settle
        test::CheckNothingCutOff(edit, name + " form");
        QVERIFY(editFrame->width() >= editFrame->fontMetrics().horizontalAdvance(editFrame->windowTitle()) + 60);

        if (small) {
            // Both windows side by side, where there is room for both; at a
            // large scale or font the form lies over the grid, which fitted
            // on its own above (Ctrl+F6 goes between them).
            if (!Enlarged()) test::CheckFitsArea(infoFrame, name + " grid");
            test::CheckFitsArea(editFrame, name + " form");
            Save(&frame, "channel-edit-" + name + "-1366");
        } else {
            Save(infoFrame, "channel-information-" + name);
            Save(editFrame, "channel-edit-" + name);
        }
        frame.CloseAllEditors();
    }

private slots:
    void initTestCase() {
        outDir_ = test::ScreenshotFolder(temp_);
    }
    void english() {
        Shoot(QStringLiteral("en"), 1, 0x0100, QStringLiteral("4ch-en"));
        Shoot(QStringLiteral("en"), 3, 0x0105, QStringLiteral("16ch-en"));
        Shoot(QStringLiteral("en"), 2, 0x0100, QStringLiteral("varitel-en"));
    }
    void german() {
        Shoot(QStringLiteral("de"), 1, 0x0100, QStringLiteral("4ch-de"));
        Shoot(QStringLiteral("de"), 3, 0x0105, QStringLiteral("16ch-de"));
        Shoot(QStringLiteral("de"), 2, 0x0100, QStringLiteral("varitel-de"));
    }
};

QTEST_MAIN(ChannelScreensTest)
#include "channel_screens_test.moc"
