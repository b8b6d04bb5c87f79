// Radio Information, the function-key watch and the Memory Map offscreen
// against the simulated radio, with the main frame's side of the memory map.
#include "gui/transfer_dialogs_fixture.h"

using namespace vrm;
using namespace vrm::test;

class RadioToolsDialogsTest : public TransferDialogsFixture {
    Q_OBJECT

private slots:
    void init() { Start(); }
    void cleanup() { Stop(); }

    void radioInformationShowsTheRadiosTexts() {
        SimulatedRadio radio;
        radio.SetChecksumOverride(0x0AF3);
        radio.SetSerialNumber("");  // every serial-number byte 0xFF
        for (std::size_t i = 16; i < 28; ++i) QCOMPARE(radio.Information()[i], std::uint8_t{0xFF});
        SetRadio(radio);

        RadioInfoDialog dialog(Context(), false, frame_.get());
        QCOMPARE(dialog.windowTitle(), T(10502000));
        QCOMPARE(dialog.CloseButton()->text(), T(10002003));
        QCOMPARE(dialog.PrintButton()->text(), T(10002007));
        dialog.show();
        QTRY_VERIFY(dialog.Transferred());
        QVERIFY(prompter_->asked.empty());
        QCOMPARE(dialog.Checksum()->text(), QStringLiteral("  0AF3"));
        QVERIFY(dialog.SerialNumber()->text().trimmed().isEmpty());
        QCOMPARE(dialog.ModelType()->text(), QStringLiteral("  HRV-41A:K"));
        QCOMPARE(dialog.Frequency()->text(), QStringLiteral("  440-480 MHz"));
        QCOMPARE(dialog.FirmwareVersion()->text(), QStringLiteral("  V1.10.00"));
        QCOMPARE(dialog.BootVersion()->text(), QStringLiteral("  B1.02.00"));
        QCOMPARE(dialog.windowTitle(), T(10502000));
        // The Option Settings row is never shown; Print needs a print handler,
        // which only the frame gives.
        auto* options = dialog.findChild<QTableWidget*>(QStringLiteral("optionSettings"));
        QVERIFY(options && !options->isVisible());
        QVERIFY(!dialog.PrintButton()->isEnabled());
        QVERIFY(dialog.CloseButton()->isEnabled() && dialog.HelpButton()->isEnabled());
        dialog.CloseButton()->click();
        QVERIFY(!dialog.isVisible());

        // Held Ctrl+F2: the whole information block, the identity's model
        // and band.
        RadioInfoDialog variant(Context(), true, frame_.get());
        variant.show();
        QTRY_VERIFY(variant.Transferred());
        QVERIFY(variant.SerialNumber()->text().startsWith(QStringLiteral("  HRV-41A")));
        QVERIFY(variant.SerialNumber()->text().contains(QLatin1Char('K')));
        QCOMPARE(variant.ModelType()->text(),
                 QStringLiteral("  ") + QString::fromStdString(ModelCatalogue::ModelListText(3)));
        QCOMPARE(variant.Checksum()->text(), QStringLiteral("  0AF3"));
    }

    void radioInformationFailureStillOpensWithEmptyValues() {
        SetRadio(SimulatedRadio{});
        Faults("program-silent");
        bool visibleAfter = false;
        QString checksum = QStringLiteral("unset");
        WhenModal<RadioInfoDialog>([&](RadioInfoDialog* dialog) {
            QTRY_VERIFY(dialog->Transferred());
            visibleAfter = dialog->isVisible();
            checksum = dialog->Checksum()->text();
            dialog->CloseButton()->click();
        });
        frame_->RunCommand(cmd::kRadioInformation);
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007003}));
        QVERIFY(visibleAfter);
        QCOMPARE(checksum, QString());
    }

    void radioInformationPrintsThroughThePreview() {
        SimulatedRadio radio;
        radio.SetChecksumOverride(0x0AF3);
        SetRadio(radio);
        bool printEnabled = false, previewFlag = false, frameStayed = false, previewEnded = false;
        std::vector<std::pair<std::string, std::string>> printed;
        WhenModal<RadioInfoDialog>([&](RadioInfoDialog* dialog) {
            QTRY_VERIFY(dialog->Transferred());
            printEnabled = dialog->PrintButton()->isEnabled();
            const print::Document doc = dialog->PrintOut("now");
            for (const auto& row : doc.sections.at(0).tables.at(0).rows)
                printed.push_back({row.cells.at(0), row.cells.at(1)});
            WhenModal<QPrintPreviewDialog>([&](QPrintPreviewDialog*) {
                previewFlag = frame_->InPrintPreview();
                frame_->close();  // a close request only ends the preview
                frameStayed = frame_->isVisible();
            });
            dialog->PrintButton()->click();
            previewEnded = !frame_->InPrintPreview() && !QApplication::activeModalWidget()->inherits("QPrintPreviewDialog");
            dialog->CloseButton()->click();
        });
        frame_->RunCommand(cmd::kRadioInformation);
        QVERIFY(printEnabled);
        QVERIFY(previewFlag && frameStayed && previewEnded);
        QVERIFY(prompter_->asked.empty());
        QCOMPARE(printed.size(), std::size_t{6});
        QCOMPARE(printed[0].second, std::string("HRV-41A:K"));
        QCOMPARE(printed[5].second, std::string("0AF3"));
    }

    void functionKeyWatchFollowsF2() {
        FunctionKeyWatch::Install();
        QLineEdit edit;
        edit.show();
        QVERIFY(!FunctionKeyWatch::F2Held());
        QTest::keyPress(&edit, Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(FunctionKeyWatch::F2Held());
        // Held down, the keyboard repeats press and release.
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_F2, Qt::ControlModifier, QString(), true);
        QApplication::sendEvent(&edit, &repeat);
        QVERIFY(FunctionKeyWatch::F2Held());
        QTest::keyRelease(&edit, Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(!FunctionKeyWatch::F2Held());
        QTest::keyPress(&edit, Qt::Key_F3);
        QVERIFY(!FunctionKeyWatch::F2Held());
    }

    void memoryMapShowsTheImageAsAHexGrid() {
        ImageBuffer bytes{};
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i & 0xFF);
        bytes[0x123] = 'A';
        ImageBuffer reference = bytes;
        reference[0x124] = 0x00;  // one byte changed since

        MemoryMapDialog dialog(app_->Language(), frame_.get());
        dialog.Attach(bytes.data(), reference.data(), 0, bytes.size());
        QCOMPARE(dialog.windowTitle(), T(10404001));
        QCOMPARE(dialog.CharacterBox()->text(), T(10404002));
        QTableWidget* grid = dialog.Grid();
        QCOMPARE(grid->rowCount(), 64);
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("__0"));
        QCOMPARE(grid->horizontalHeaderItem(10)->text(), QStringLiteral("__A"));
        QCOMPARE(grid->horizontalHeaderItem(15)->text(), QStringLiteral("__F"));
        QCOMPARE(grid->verticalHeaderItem(0)->text(), QStringLiteral("   000_"));
        QCOMPARE(grid->verticalHeaderItem(0x12)->text(), QStringLiteral("   012_"));
        QCOMPARE(grid->verticalHeaderItem(63)->text(), QStringLiteral("   03F_"));
        QCOMPARE(grid->item(0x12, 3)->text(), QStringLiteral("41"));
        QCOMPARE(grid->item(0, 10)->text(), QStringLiteral("0A"));
        QCOMPARE(grid->item(63, 15)->text(), QStringLiteral("FF"));
        QVERIFY(grid->item(0x12, 4)->font().bold());
        QVERIFY(!grid->item(0x12, 3)->font().bold());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        for (int c = 16; c < 32; ++c) QVERIFY(grid->isColumnHidden(c));
        const int narrow = dialog.width();
        dialog.CharacterBox()->click();
        QVERIFY(dialog.CharacterView());
        for (int c = 16; c < 32; ++c) QVERIFY(!grid->isColumnHidden(c));
        QCOMPARE(grid->item(0x12, 16 + 3)->text(), QStringLiteral("A"));
        QCOMPARE(grid->item(0x12, 16 + 2)->text(), QStringLiteral("\""));
        QCOMPARE(grid->item(0, 16)->text(), QStringLiteral("."));
        QVERIFY(dialog.width() > narrow);
        // Every column is in view: nothing is cut off at the right; on a
        // screen too narrow for them all (this offscreen one is 800 wide) the
        // window stays on the screen and the grid scrolls across to them.
        const int last = grid->columnViewportPosition(31) + grid->columnWidth(31);
        const int needed = dialog.width() - grid->viewport()->width() + grid->horizontalHeader()->length();
        const int borders = 8;  // a window manager's left and right borders
        if (needed + borders <= dialog.screen()->availableGeometry().width()) {
            QVERIFY(last <= grid->viewport()->width());
        } else {
            QVERIFY(grid->horizontalScrollBar()->isVisible());
            QVERIFY(dialog.width() + borders <= dialog.screen()->availableGeometry().width());
        }
        dialog.CharacterBox()->click();
        QCOMPARE(dialog.width(), narrow);

        dialog.OpenAt(0x2A7);
        QCOMPARE(grid->currentRow(), 0x2A);
        QCOMPARE(grid->currentColumn(), 7);
        dialog.SetCaption(QStringLiteral("Tuning"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Tuning"));
    }

    void memoryMapFromTheFrameRefreshesTheViewsAfterwards() {
        auto* view = static_cast<FakeView*>(frame_->OpenEditor("CKeyView"));
        QVERIFY(view);
        const int before = view->refreshes;
        app_->Image().SetByte(0x011, 0x5A);
        QString cell;
        bool bold = false;
        WhenModal<MemoryMapDialog>([&](MemoryMapDialog* dialog) {
            cell = dialog->Grid()->item(1, 1)->text();
            bold = dialog->Grid()->item(1, 1)->font().bold();
            dialog->CloseButton()->click();
        });
        frame_->RunCommand(cmd::kMemoryMap);
        QCOMPARE(cell, QStringLiteral("5A"));
        QVERIFY(bold);  // changed since the snapshot
        QCOMPARE(view->refreshes, before + 1);
    }
};

int main(int argc, char** argv) {
    RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    RadioToolsDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "radio_tools_dialogs_test.moc"
