// What screen readers and keyboard users get from the widgets themselves,
// offscreen: Ctrl+F6 goes round the editor windows while Ctrl+Tab stays in
// the grid; a larger desktop font wins over the language file's; a field's
// range follows its rule as it changes. (The whole tree as a screen reader
// sees it is walked over AT-SPI by the a11y_* tests.)
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include "core/fields/edit_session.h"
#include "gui_app.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/record_grid.h"
#include "gui/widgets/ui_fonts.h"

using namespace vrm;

class AccessibilityTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

private slots:
    void cleanup() {
        Stop();
        UiFonts::RememberDesktopFont(nullptr);
    }

    void ctrlF6GoesRoundTheWindowsAndCtrlTabStaysInTheGrid() {
        Start(3, 0x0105);
        for (int command : {cmd::kChannelInformation, cmd::kScanInformation, cmd::kTestFrequency})
            frame_->RunCommand(command);
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        auto* mdi = frame_->findChild<QMdiArea*>();
        QCOMPARE(mdi->subWindowList().size(), 3);
        QMdiSubWindow* start = mdi->activeSubWindow();
        QSet<QMdiSubWindow*> seen{start};
        for (int i = 0; i < 2; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
            QTRY_VERIFY(!seen.contains(mdi->activeSubWindow()));
            seen.insert(mdi->activeSubWindow());
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier);
        QTRY_COMPARE(mdi->activeSubWindow(), start);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(mdi->activeSubWindow() != start);

        frame_->OpenEditor("CTestFreqView");
        auto* grid = frame_->ActiveEditor()->findChild<RecordGridView*>();
        grid->setFocus();
        QMdiSubWindow* gridWindow = mdi->activeSubWindow();
        QTest::keyClick(grid, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(mdi->activeSubWindow(), gridWindow);
    }

    void aLargerDesktopFontWinsOverTheLanguageFile() {
        Start(3, 0x0105);
        const UiFonts plain = UiFonts::FromSettings(app_->Language().Settings());
        QFont large = QApplication::font();
        large.setPointSize(20);
        UiFonts::RememberDesktopFont(&large);
        const UiFonts fonts = UiFonts::FromSettings(app_->Language().Settings());
        QCOMPARE(fonts.dialog.pixelSize(), QFontInfo(large).pixelSize());
        QVERIFY(fonts.dialog.pixelSize() > plain.dialog.pixelSize());
        QCOMPARE(fonts.grid.pointSizeF(), 20.0);
        QFont small = large;
        small.setPointSize(5);
        UiFonts::RememberDesktopFont(&small);
        QCOMPARE(UiFonts::FromSettings(app_->Language().Settings()).dialog.pixelSize(), plain.dialog.pixelSize());
    }

    void aFieldSaysItsLabelAndItsRangeAsTheRangeMoves() {
        Start(3, 0x0105);
        frame_->RunCommand(cmd::kOptionalFeatures);
        auto* view = frame_->ActiveEditor();
        auto* minimum = view->findChild<FieldSpin*>(QStringLiteral("min_volume"));
        auto* maximum = view->findChild<FieldSpin*>(QStringLiteral("max_volume"));
        QVERIFY(minimum && maximum);
        QVERIFY(!minimum->accessibleName().isEmpty());
        QCOMPARE(minimum->findChild<QLineEdit*>()->accessibleName(), minimum->accessibleName());
        const QString before = minimum->accessibleDescription();
        QVERIFY(before.contains(QStringLiteral(" to ")));
        maximum->setValue(maximum->minimum() + 1);
        QTRY_VERIFY(minimum->accessibleDescription() != before);
        QVERIFY(minimum->accessibleDescription().endsWith(QString::number(maximum->value())));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
