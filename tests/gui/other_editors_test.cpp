// The other editors from the keyboard, offscreen: the spin boxes (off,
// wrap, blank), the enable rules on the form, the key grid's Delete and
// Left/Right, the test-frequency grid's cell copy, paste and delete, the key
// image opening with its grid, and Undo over all of it.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "core/document/application.h"
#include "gui/app/main_frame.h"
#include "gui/app/vrm_app.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "gui/editors/key_view.h"
#include "gui_app.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "text/scripted_prompter.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/field_form.h"

using namespace vrm;

class OtherEditorsTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

private:
    template <typename View>
    View* Open(int command, const char* viewClass) {
        frame_->RunCommand(command);
        return dynamic_cast<View*>(frame_->FindOpenEditor(viewClass));
    }

    std::uint8_t Byte(std::size_t at) const { return app_->Image().Live()[at]; }
    QString Cell(RecordGridView* grid, int row, int column) { return grid->model()->index(row, column).data().toString(); }

private slots:
    void cleanup() { Stop(); }

    void featureSpinsAndEnables() {
        Start(3, 0x0105);
        auto* view = Open<FormEditorView>(cmd::kOptionalFeatures, "CFeatureView");
        QVERIFY(view);
        FieldForm* form = view->Form();

        // An off value: 10 -> off -> 1, and down from off to 10.
        auto* preAlert = qobject_cast<FieldSpin*>(form->Control("tot_pre_alert"));
        QVERIFY(preAlert);
        SetFromScript(app_->Session(), "features.tot_pre_alert", "10");
        form->Load();
        preAlert->stepUp();
        QCOMPARE(Byte(0x11), 0);
        QCOMPARE(preAlert->text(), QStringLiteral("Off"));
        preAlert->stepUp();
        QCOMPARE(Byte(0x11), 1);
        preAlert->stepDown();
        preAlert->stepDown();
        QCOMPARE(Byte(0x11), 10);

        // A typed value goes through the rule: 100 s is 90 s on the 15 s raster.
        auto* tot = qobject_cast<FieldSpin*>(form->Control("tot"));
        tot->setFocus();
        tot->selectAll();
        QTest::keyClicks(tot, QStringLiteral("100"));
        QTest::keyClick(tot, Qt::Key_Return);
        QTRY_COMPARE(Byte(0x10), 6);
        QCOMPARE(tot->text(), QStringLiteral("90"));

        // VOX off disables its items; the minimum volume stops at the maximum.
        qobject_cast<QCheckBox*>(form->Control("vox"))->click();
        QVERIFY(!form->Control("vox_gain")->isEnabled());
        QVERIFY(!form->Control("tx_inhibit")->isEnabled());
        SetFromScript(app_->Session(), "features.max_volume", "4");
        QCOMPARE(qobject_cast<QSpinBox*>(form->Control("min_volume"))->maximum(), 4);

        // Undo takes the steps back one by one.
        frame_->RunCommand(cmd::kUndo);
        QCOMPARE(Byte(0x15), 7);
        QVERIFY(form->Control("vox_gain")->isEnabled() == false);
        frame_->RunCommand(cmd::kUndo);
        QVERIFY(form->Control("vox_gain")->isEnabled());
    }

    void scanBlankSpin() {
        Start(3, 0x0105);
        app_->Image().SetWord(kScanArea.offset + 3, 0xFFFF);
        auto* view = Open<FormEditorView>(cmd::kScanInformation, "CScanView");
        auto* dwell = qobject_cast<FieldSpin*>(view->Form()->Control("dwell"));
        QVERIFY(dwell);
        QCOMPARE(dwell->text(), QString());
        dwell->stepUp();
        QCOMPARE(app_->Image().Word(kScanArea.offset + 3), 0);
        dwell->stepDown();
        QCOMPARE(app_->Image().Word(kScanArea.offset + 3), 300);  // wraps
    }

    // A typed minus is taken and clamped: -5 is the minimum, not 5, and on a
    // field with an off value the minimum, not off.
    void typedNegativeNumbers() {
        Start(3, 0x0105);
        auto typeInto = [](FieldSpin* spin, const QString& text) {
            spin->setFocus();
            spin->selectAll();
            QTest::keyClicks(spin, text);
            QTest::keyClick(spin, Qt::Key_Tab);
        };
        auto* scan = Open<FormEditorView>(cmd::kScanInformation, "CScanView");
        auto* dropout = qobject_cast<FieldSpin*>(scan->Form()->Control("dropout_delay"));
        QVERIFY(dropout);
        QCOMPARE(app_->Image().Word(kScanArea.offset + 5), 3);
        typeInto(dropout, QStringLiteral("-5"));
        QCOMPARE(app_->Image().Word(kScanArea.offset + 5), 0);
        QCOMPARE(dropout->text(), QStringLiteral("0"));
        typeInto(dropout, QStringLiteral("12-"));  // a minus only leads
        QCOMPARE(app_->Image().Word(kScanArea.offset + 5), 12);

        auto* features = Open<FormEditorView>(cmd::kOptionalFeatures, "CFeatureView");
        auto* preAlert = qobject_cast<FieldSpin*>(features->Form()->Control("tot_pre_alert"));
        typeInto(preAlert, QStringLiteral("-5"));
        QCOMPARE(Byte(0x11), 1);
    }

    void keyGridAndImage() {
        Start(2, 0x0100);
        // Opening the image alone opens the grid beside it.
        frame_->OpenEditor("CKeyImageView");
        QTRY_VERIFY(frame_->FindOpenEditor("CKeyView"));
        QCOMPARE(frame_->ActiveEditor()->ViewClass(), std::string("CKeyImageView"));
        auto* keys = dynamic_cast<CKeyView*>(frame_->FindOpenEditor("CKeyView"));
        auto* image = dynamic_cast<CKeyImageView*>(frame_->FindOpenEditor("CKeyImageView"));
        RecordGridView* grid = keys->Grid();
        frame_->OpenEditor("CKeyView");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 2));
        QTRY_COMPARE(image->Picture()->Mark(), 2);

        // Delete stores the first entry; the fixed cell stays.
        SetFromScript(app_->Session(), "key.2.short", "scan");
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(Byte(kKeyArea.offset + 2), 0);
        const std::uint8_t fixed = Byte(kKeyArea.offset + 3);
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QTest::keyClick(grid, Qt::Key_Backspace);
        QCOMPARE(Byte(kKeyArea.offset + 3), fixed);

        // Left and Right go on across the rows and stop at the ends.
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, 2));
        QTest::keyClick(grid, Qt::Key_Left);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 1));
        QCOMPARE(image->Picture()->Mark(), 2);
    }

    void testFrequencyCells() {
        Start(3, 0x0105);
        auto* view = Open<GridEditorView>(cmd::kTestFrequency, "CTestFreqView");
        RecordGridView* grid = view->Grid();
        grid->setFocus();
        // Copy pair 2's two cells, paste them on pair 7.
        grid->selectionModel()->select(QItemSelection(grid->model()->index(1, 1), grid->model()->index(1, 2)),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        grid->selectionModel()->clear();
        grid->setCurrentIndex(grid->model()->index(6, 1));
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(grid, 6, 1), QStringLiteral("440.05000"));
        QCOMPARE(Cell(grid, 6, 2), QStringLiteral("440.10000"));
        // Deleting every pair brings back the defaults.
        const ImageBuffer defaults = app_->Session().Context().image.Live();
        grid->selectAll();
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(Cell(grid, 6, 1), QString());
        QCOMPARE(Cell(grid, 0, 1), QStringLiteral("460.05000"));
        frame_->RunCommand(cmd::kUndo);
        QCOMPARE(app_->Image().Live(), defaults);
    }
};

QTEST_MAIN(OtherEditorsTest)
#include "other_editors_test.moc"
