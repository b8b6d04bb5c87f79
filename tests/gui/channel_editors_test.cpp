// The channel editors driven from the keyboard, offscreen: the grid's keys
// (Enter, typing, Backspace, Delete, Escape, the redirect of a disabled
// cell), Copy/Paste/Delete and "to Clip(w/Title)" to the byte, F11 and the
// form following the grid's row; the form builder's controls, enable rules,
// Enter as Tab, the channel number and Page Up/Down; Undo and Redo.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
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
#include "core/base/text_ids.h"
#include "gui/widgets/field_form.h"
#include "gui/widgets/record_grid.h"

using namespace vrm;

class ChannelEditorsTest : public QObject, public test::ProgramFixture {
    Q_OBJECT

private:
    CChInfoView* OpenGrid() {
        frame_->RunCommand(cmd::kChannelInformation);
        auto* view = dynamic_cast<CChInfoView*>(frame_->FindOpenEditor("CChInfoView"));
        if (view) view->Grid()->setFocus();
        return view;
    }

    QString Cell(RecordGridView* grid, int row, int column) {
        return grid->model()->index(row, column).data().toString();
    }

    // The editor open in the grid (the focused widget inside it).
    QWidget* CellEditor(RecordGridView* grid) {
        QWidget* w = QApplication::focusWidget();
        return w && grid->viewport()->isAncestorOf(w) ? w : nullptr;
    }

    void Type(QWidget* target, const QString& text) { QTest::keyClicks(target, text); }

private slots:
    void initTestCase() { QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false); }
    // A cell's editor is committed and closed once, while the grid holds it.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("does not belong to this view"))); }
    void cleanup() { Stop(); }

    void gridKeyboard() {
        Start(3, 0x0105);  // 16 channels, typed frequencies
        CChInfoView* view = OpenGrid();
        QVERIFY(view);
        RecordGridView* grid = view->Grid();
        QCOMPARE(grid->model()->rowCount(), 16);
        QCOMPARE(grid->model()->columnCount(), 7);

        // Enter on the decode column of an empty row edits the receive frequency.
        grid->setCurrentIndex(grid->model()->index(0, 3));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex().column(), 1);
        QWidget* editor = CellEditor(grid);
        QVERIFY(editor);
        Type(editor, QStringLiteral("462.5625"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Cell(grid, 0, 1), QStringLiteral("462.56250"));
        QCOMPARE(Cell(grid, 0, 2), QStringLiteral("462.56250"));

        // Typing starts the editor with the key; a key the filter refuses does nothing.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QTest::keyClick(grid, Qt::Key_X);
        QTRY_VERIFY(!CellEditor(grid));
        QTest::keyClick(grid, Qt::Key_5);
        editor = CellEditor(grid);
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("00"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(Cell(grid, 1, 1), QStringLiteral("480.00000"));
        QTRY_COMPARE(prompter_.TextIds(), std::vector<int>{static_cast<int>(tid::kMsgRxOutOfBand)});

        // Escape puts the old text back.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 1));
        QTest::keyClick(grid, Qt::Key_Backspace);
        editor = CellEditor(grid);
        QVERIFY(editor);
        QCOMPARE(qobject_cast<QLineEdit*>(editor)->text(), QString());
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!CellEditor(grid));
        QCOMPARE(Cell(grid, 1, 1), QStringLiteral("480.00000"));

        // A receive-only channel: Enter on its encode cell edits the transmit frequency.
        SetFromScript(app_->Session(), "channel.2.tx", "");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(1, 4));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->currentIndex().column(), 2);
        QTest::keyClick(CellEditor(grid), Qt::Key_Escape);

        // A list column opens its drop-down and takes the key.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 5));
        QTest::keyClick(grid, Qt::Key_L);
        auto* combo = grid->viewport()->findChild<QComboBox*>();
        QVERIFY(combo);
        QTRY_COMPARE(combo->view()->currentIndex().data().toString(), QStringLiteral("Low"));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        QTRY_COMPARE(Cell(grid, 0, 5), QStringLiteral("Low"));

        // The code column takes code forms only: a letter that starts none does nothing.
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 3));
        QTest::keyClick(grid, Qt::Key_X);
        QTRY_VERIFY(!CellEditor(grid));
        QTest::keyClick(grid, Qt::Key_D);
        QVERIFY(CellEditor(grid));
        QTest::keyClicks(CellEditor(grid), QStringLiteral("75!4I"));  // the "!" is refused
        // An entry of the code list: Enter ends the edit, the focus the closing
        // editor loses must not commit it again.
        QTest::keyClick(CellEditor(grid), Qt::Key_Return);
        QTRY_COMPARE(Cell(grid, 0, 3), QStringLiteral("D754I"));

        // Undo takes the last commit back, Redo makes it again.
        QTRY_VERIFY(frame_->Action(cmd::kUndo)->isEnabled());
        frame_->RunCommand(cmd::kUndo);
        frame_->RunCommand(cmd::kUndo);
        QCOMPARE(Cell(grid, 0, 5), QStringLiteral("High"));
        frame_->RunCommand(cmd::kRedo);
        QCOMPARE(Cell(grid, 0, 5), QStringLiteral("Low"));
        QCOMPARE(Cell(grid, 0, 3), QStringLiteral("Off"));
    }

    void gridRowsAndClipboard() {
        Start(1, 0x0100);  // 4 channels, typed frequencies
        const char* const plan[] = {"462.5625", "", "467.7125", "451.1"};
        for (int n = 0; n < 4; ++n)
            if (*plan[n]) SetFromScript(app_->Session(), "channel." + std::to_string(n + 1) + ".rx", plan[n]);
        SetFromScript(app_->Session(), "channel.1.decode", "D023N");
        CChInfoView* view = OpenGrid();
        RecordGridView* grid = view->Grid();

        grid->setCurrentIndex(grid->model()->index(0, 1));
        grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 1), grid->model()->index(0, 6)),
                                       QItemSelectionModel::ClearAndSelect);
        grid->CopyAsText(true);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(),
                 QByteArray("No.\tRX Frequency\tTX Frequency\tQT/DQT Decode\tQT/DQT Encode\tPower\tScan Add\r\n"
                            "1\t462.56250\t462.56250\tD023N\tD023N\tHigh\tOn"));

        // Ctrl+C on rows 1-2 (row 2 empty), Ctrl+V at row 4: row 4 takes row 1's
        // record, and the empty slot falls past the end.
        grid->selectionModel()->select(QItemSelection(grid->model()->index(0, 1), grid->model()->index(1, 1)),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        grid->selectionModel()->clear();
        grid->setCurrentIndex(grid->model()->index(3, 1));
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(grid, 3, 3), QStringLiteral("D023N"));
        QCOMPARE(Cell(grid, 2, 1), QStringLiteral("467.71250"));

        // Delete with a block of cells deletes the channels of its rows.
        grid->selectionModel()->select(QItemSelection(grid->model()->index(2, 1), grid->model()->index(3, 2)),
                                       QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(Cell(grid, 2, 1), QString());
        QCOMPARE(Cell(grid, 3, 1), QString());
        QVERIFY(!app_->Image().ChannelInUse(2));

        // The context menu over the selection, Paste greyed on another model's copy.
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTimer::singleShot(0, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QStringList texts;
            for (QAction* a : menu->actions())
                if (!a->isSeparator()) texts << a->text();
            QCOMPARE(texts.size(), 5);
            QVERIFY(menu->findChild<QAction*>(QStringLiteral("gridPaste"))->isEnabled());
            menu->close();
        });
        QTest::keyClick(grid, Qt::Key_Menu);
    }

    void formFollowsGridAndKeys() {
        Start(2, 0x0100);  // Varitel: preset lists, four preset channels
        CChInfoView* view = OpenGrid();
        RecordGridView* grid = view->Grid();
        QCOMPARE(grid->model()->columnCount(), 8);
        grid->SetCurrentRow(2);
        QTest::keyClick(grid, Qt::Key_F11);
        auto* form = dynamic_cast<CChEditView*>(frame_->FindOpenEditor("CChEditView"));
        QVERIFY(form);
        QCOMPARE(form->Channel(), 2);
        grid->SetCurrentRow(1);
        QCOMPARE(form->Channel(), 1);

        // The form's controls are named by their keys; the preset models show
        // repeater mode, and RX/TX frequency scan waits for it.
        FieldForm* fields = form->Form();
        auto* rx = qobject_cast<QComboBox*>(fields->Control("rx"));
        QVERIFY(rx && !rx->isEditable());
        QVERIFY(fields->Control("repeater")->isVisible());
        QVERIFY(!fields->Control("freq_scan")->isEnabled());
        QCOMPARE(fields->Control("tx")->focusPolicy(), Qt::ClickFocus);
        qobject_cast<QCheckBox*>(fields->Control("repeater"))->click();
        QVERIFY(fields->Control("freq_scan")->isEnabled());
        QCOMPARE(fields->Control("tx")->focusPolicy(), Qt::StrongFocus);
        QCOMPARE(qobject_cast<QComboBox*>(fields->Control("tx"))->currentText(), QStringLiteral("(09)  461.03750"));

        // Page Up / Page Down wrap; 99 in the number shows the last channel.
        form->StepChannel(-1);
        form->StepChannel(-1);
        QCOMPARE(form->Channel(), 3);
        QTest::keyClick(form->NumberSpin(), Qt::Key_PageUp);
        QCOMPARE(form->Channel(), 0);
        form->NumberSpin()->selectAll();
        QTest::keyClicks(form->NumberSpin(), QStringLiteral("99"));
        QTest::keyClick(form->NumberSpin(), Qt::Key_Return);
        QCOMPARE(form->Channel(), 3);
        QVERIFY2(!form->NumberSpin()->hasFocus(), "Enter moves on like Tab");
    }

    // A plan typed into the grid gives the bytes the same assignments give a
    // script (vrm650t-cli set goes through SetFromScript).
    void gridPlanEqualsScriptPlan() {
        Start(3, 0x0105);
        RecordGridView* grid = OpenGrid()->Grid();
        auto typeCell = [&](int row, int column, const QString& text) {
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(row, column));
            QTest::keyClick(grid, Qt::Key_Backspace);
            QWidget* editor = CellEditor(grid);
            QVERIFY(editor);
            QTest::keyClicks(editor, text);
            QTest::keyClick(editor, Qt::Key_Return);
            QTRY_VERIFY2(!CellEditor(grid), qPrintable(text));
        };
        typeCell(0, 1, QStringLiteral("462.5625"));
        typeCell(0, 3, QStringLiteral("D023N"));
        typeCell(2, 1, QStringLiteral("451.1875"));
        typeCell(2, 2, QStringLiteral("456.1875"));
        typeCell(2, 4, QStringLiteral("100"));
        const ImageBuffer typed = app_->Image().Live();

        RadioImage image;
        ModelCatalogue catalogue(image);
        image.Live() = app_->Image().Saved();
        catalogue.RecomputeBandLimits();
        EditSession script(image, catalogue, app_->Language());
        for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
                 {"channel.1.rx", "462.5625"}, {"channel.1.decode", "D023N"}, {"channel.3.rx", "451.1875"},
                 {"channel.3.tx", "456.1875"}, {"channel.3.encode", "100"}})
            QVERIFY(SetFromScript(script, key, value).Ok());
        QVERIFY(image.Live() == typed);
    }

    void newStartsAFreshHistory() {
        Start(3, 0x0105);
        SetFromScript(app_->Session(), "channel.1.rx", "462.5625");
        frame_->RunCommand(cmd::kChannelInformation);
        QVERIFY(frame_->Action(cmd::kUndo)->isEnabled());
        QVERIFY(!frame_->Action(cmd::kRedo)->isEnabled());
        prompter_.answers = {Answer::Ok, Answer::No};  // reset the data; don't save
        frame_->RunCommand(cmd::kNew);
        QVERIFY(!app_->Image().ChannelInUse(0));
        QVERIFY(!frame_->Action(cmd::kUndo)->isEnabled());
        auto* view = dynamic_cast<CChInfoView*>(frame_->FindOpenEditor("CChInfoView"));
        QVERIFY(view);
        QCOMPARE(Cell(view->Grid(), 0, 1), QString());
    }

    // An empty channel's form shows empty fields, as its grid row does; a
    // channel created there shows its values (Tab goes on to the transmit
    // frequency it enabled), and deleted it is empty again.
    void emptyChannelFormIsEmpty() {
        Start(3, 0x0105);
        CChInfoView* view = OpenGrid();
        view->OpenChannelEdit();
        frame_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
        auto* form = dynamic_cast<CChEditView*>(frame_->FindOpenEditor("CChEditView"));
        QVERIFY(form);
        FieldForm* fields = form->Form();
        auto shows = [fields](const char* key) {
            QWidget* w = fields->Control(key);
            if (auto* check = qobject_cast<QCheckBox*>(w)) return check->isChecked() ? QStringLiteral("On") : QString();
            if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->currentText();
            return qobject_cast<QLineEdit*>(w)->text();
        };
        const char* const keys[] = {"rx", "tx", "decode", "encode", "power", "bcl", "scan_add", "vox"};
        for (const char* key : keys) QVERIFY2(shows(key).isEmpty(), key);

        auto* rx = qobject_cast<QLineEdit*>(fields->Control("rx"));
        rx->setFocus();
        QTest::keyClicks(rx, QStringLiteral("462.55"));
        QTest::keyClick(rx, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), fields->Control("tx"));
        QCOMPARE(shows("power"), Cell(view->Grid(), 0, 5));
        QCOMPARE(shows("scan_add"), Cell(view->Grid(), 0, 6));
        QCOMPARE(shows("power"), QStringLiteral("High"));
        rx->setFocus();
        rx->selectAll();
        QTest::keyClick(rx, Qt::Key_Backspace);
        QTest::keyClick(rx, Qt::Key_Tab);
        for (const char* key : keys) QVERIFY2(shows(key).isEmpty(), key);
    }

    void formTypedModel() {
        Start(3, 0x0105);
        OpenGrid()->OpenChannelEdit();
        auto* form = dynamic_cast<CChEditView*>(frame_->FindOpenEditor("CChEditView"));
        QVERIFY(form);
        FieldForm* fields = form->Form();
        QVERIFY(!fields->Control("repeater")->isVisible());
        QVERIFY2(!fields->Control("decode")->isEnabled(), "empty channel");
        auto* rx = qobject_cast<QLineEdit*>(fields->Control("rx"));
        rx->setFocus();
        QTest::keyClicks(rx, QStringLiteral("462.55"));
        QTest::keyClick(rx, Qt::Key_Tab);
        QVERIFY(fields->Control("decode")->isEnabled());
        QCOMPARE(qobject_cast<QLineEdit*>(fields->Control("tx"))->text(), QStringLiteral("462.55000"));
        bool advanced = true;
        fields->Control("decode")->setFocus();
        QCOMPARE(form->HelpContext(advanced), std::optional<std::uint32_t>(0x31105));
        QVERIFY(!advanced);
        // A change to a preset-list model brings the preset list's controls.
        app_->Catalogue().SetModel(2);
        app_->Catalogue().SetBandWord(0x0100);
        frame_->RefreshAllViews();
        QVERIFY(qobject_cast<QComboBox*>(fields->Control("rx")));
        QVERIFY(fields->Control("repeater")->isVisible());
        QCOMPARE(form->NumberSpin()->maximum(), 4);
        // Escape closes the form.
        fields->Control("scan_add")->setFocus();
        QTest::keyClick(fields->Control("scan_add"), Qt::Key_Escape);
        QTRY_VERIFY(!frame_->FindOpenEditor("CChEditView"));
    }
};

QTEST_MAIN(ChannelEditorsTest)
#include "channel_editors_test.moc"
