// The frame around the editor windows, offscreen: Ctrl+W is Write while an
// editor is open and Ctrl+F4 closes the editor; Ctrl+Z and Ctrl+Y undo and
// redo a committed field; the title marks modified data and the status bar
// says what was saved; after a change of model an open editor takes the
// size and columns a freshly opened one has.
#include <QApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QWindow>

#include "core/document/document.h"
#include "gui/app/model_dialog.h"
#include "gui/editors/channel_info_view.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "gui_app.h"
#include "gui/widgets/editor_views.h"
#include "gui/widgets/field_editors.h"
#include "gui/widgets/field_form.h"
#include "gui/widgets/record_grid.h"

using namespace vrm;

class EditorWindowsTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

private:
    // The frame shown and active, so that its shortcuts work.
    void Activate() {
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    }
    QString ShownTitle() const { return frame_->windowHandle()->title(); }
    std::uint8_t Byte(std::size_t at) const { return app_->Image().Live()[at]; }

    // The model dialog set to `model` and accepted, answering the warning.
    void ChangeModel(int model) {
        test::WhenModal<ModelDialog>([model](ModelDialog* d) {
            d->ModelList()->setCurrentIndex(d->ModelList()->findData(model));
            d->OkButton()->click();
        });
        // The warning; the unsaved-changes question (a changed model's defaults
        // are unsaved data) when it comes.
        prompter_.answers = {Answer::Ok, Answer::No};
        frame_->RunCommand(cmd::kModelInformation);
        prompter_.answers.clear();
        QCOMPARE(app_->Catalogue().FindModel(), model);
    }

private slots:
    void cleanup() { Stop(); }

    void ctrlWWritesAndCtrlF4ClosesTheEditor() {
        Start(3, 0x0105);
        int writes = 0;
        frame_->RegisterCommand(cmd::kWriteData, [&writes] { ++writes; });
        frame_->RunCommand(cmd::kScanInformation);
        Activate();
        QWidget* field = frame_->ActiveEditor()->findChild<FieldSpin*>(QStringLiteral("dwell"));
        QVERIFY(field);
        field->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(writes, 1);
        QVERIFY(frame_->FindOpenEditor("CScanView"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F4, Qt::ControlModifier);
        QTRY_VERIFY(!frame_->FindOpenEditor("CScanView"));
        QCOMPARE(writes, 1);
    }

    void undoKeysInAField() {
        Start(3, 0x0105);
        frame_->RunCommand(cmd::kOptionalFeatures);
        Activate();
        auto* tot = frame_->ActiveEditor()->findChild<FieldSpin*>(QStringLiteral("tot"));
        QVERIFY(tot);
        const std::uint8_t before = Byte(0x10);
        tot->setFocus();
        tot->selectAll();
        QTest::keyClicks(tot, QStringLiteral("100"));
        QTest::keyClick(tot, Qt::Key_Tab);
        QCOMPARE(Byte(0x10), std::uint8_t{6});  // 90 s

        // Committed: the keys are Edit > Undo and Redo, from any field.
        tot->setFocus();
        QTest::keyClick(tot, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Byte(0x10), before);
        QCOMPARE(tot->text(), QString::number(before * 15));
        QTest::keyClick(tot, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Byte(0x10), std::uint8_t{6});

        // Typing not yet committed: Ctrl+Z takes the typing back, the data stays.
        tot->selectAll();
        QTest::keyClicks(tot, QStringLiteral("3"));
        QTest::keyClick(tot, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tot->text(), QStringLiteral("90"));
        QCOMPARE(Byte(0x10), std::uint8_t{6});
        QVERIFY(!app_->Session().CanRedo());
        // The typing taken back, the field holds none: Ctrl+Z is Edit > Undo again.
        QTest::keyClick(tot, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Byte(0x10), before);
    }

    void titleMarksChangesAndSaveSaysSo() {
        Start(3, 0x0105);
        QVERIFY(ShownTitle().endsWith(QStringLiteral(": vrm650t.dat ]")));
        QVERIFY(SetFromScript(app_->Session(), "scan.dwell", "7").Ok());
        QVERIFY(frame_->isWindowModified());
        QVERIFY(ShownTitle().endsWith(QStringLiteral(": vrm650t.dat* ]")));

        frame_->RunCommand(cmd::kSave);
        QVERIFY(!frame_->isWindowModified());
        QVERIFY(ShownTitle().endsWith(QStringLiteral(": vrm650t.dat ]")));
        const QString path = QString::fromStdString(app_->Document().FilePath());
        QCOMPARE(frame_->statusBar()->currentMessage(), QStringLiteral("Saved ") + path);

        // The next change takes the message away; undoing it is the saved data again.
        QVERIFY(SetFromScript(app_->Session(), "scan.dwell", "8").Ok());
        QVERIFY(frame_->statusBar()->currentMessage().isEmpty());
        QVERIFY(ShownTitle().contains(QStringLiteral("vrm650t.dat*")));
        frame_->RunCommand(cmd::kUndo);
        QVERIFY(!ShownTitle().contains(QLatin1Char('*')));

        // A name with the mark's own placeholder shows as it is.
        dialogs_.saveAnswers = {(temp_.path() + QStringLiteral("/a[*].dat")).toStdString()};
        frame_->RunCommand(cmd::kSaveAs);
        QVERIFY(ShownTitle().endsWith(QStringLiteral(": a[*].dat ]")));
    }

    // Channel Information and Channel Edit on the 4-channel typed model, then
    // the Varitel model (a Repeater Mode column and two items more), then the
    // 16-channel model: the open windows each time as freshly opened ones.
    void anOpenEditorFollowsAModelChange() {
        Start(1, 0x0100);
        auto open = [this] {
            frame_->RunCommand(cmd::kChannelInformation);
            dynamic_cast<CChInfoView*>(frame_->FindOpenEditor("CChInfoView"))->OpenChannelEdit();
            QCoreApplication::processEvents();
        };
        // The windows' sizes and the grid's column widths, once their layouts settled.
        auto shape = [this] {
            QCoreApplication::processEvents();
            QList<int> list;
            for (const char* view : {"CChInfoView", "CChEditView"}) {
                const QSize size = frame_->FindOpenEditor(view)->parentWidget()->size();
                list << size.width() << size.height();
            }
            auto* grid = frame_->FindOpenEditor("CChInfoView")->findChild<RecordGridView*>();
            for (int c = 0; c < grid->model()->columnCount(); ++c) list << grid->columnWidth(c);
            return list;
        };
        open();
        for (int model : {2, 3, 1}) {
            ChangeModel(model);
            const QList<int> changed = shape();
            QVERIFY(!frame_->FindOpenEditor("CChInfoView")->findChild<RecordGridView*>()->horizontalScrollBar()->isVisible());
            frame_->CloseAllEditors();
            open();
            QCOMPARE(changed, shape());
        }
        // A model change is new data: "Saved ..." no longer holds.
        prompter_.answers = {Answer::Ok};  // replace the file an earlier test saved
        frame_->RunCommand(cmd::kSave);
        QVERIFY(!frame_->statusBar()->currentMessage().isEmpty());
        ChangeModel(3);
        QVERIFY(frame_->statusBar()->currentMessage().isEmpty());
    }
};

QTEST_MAIN(EditorWindowsTest)
#include "editor_windows_test.moc"
