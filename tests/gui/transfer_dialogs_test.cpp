// The read and write dialogs offscreen against the simulated radio (with
// Continuous), driven as a user drives them, with the main frame's side of a
// read.
#include "gui/transfer_dialogs_fixture.h"

using namespace vrm;
using namespace vrm::test;

class TransferDialogsTest : public TransferDialogsFixture {
    Q_OBJECT

private slots:
    void init() { Start(); }
    void cleanup() { Stop(); }

    void readDialogOpensIdleAndReadsTheRadioIntoTheDocument() {
        SimulatedRadio radio;
        radio.Memory() = PatternMemory();
        radio.SetIdentity(radio.Identity());
        SetRadio(radio);
        const ModelIdentity identity = Radio().Identity();
        ImageBuffer expected = Radio().Memory();
        std::copy(identity.begin(), identity.end(), expected.begin());
        expected[12] = 0xFF;

        // An open editor and an unsaved name go when the read is adopted.
        frame_->OpenEditor("CKeyView");
        QCOMPARE(frame_->OpenEditors().size(), std::size_t{1});

        // The dialog as it opens.
        {
            ReadDialog dialog(Context(), frame_.get());
            QCOMPARE(dialog.windowTitle(), T(10401001));
            QCOMPARE(dialog.StartButton()->text(), T(10002005));
            QCOMPARE(dialog.CancelButton()->text(), T(10002002));
            QCOMPARE(dialog.HelpButton()->text(), T(10002004));
            QCOMPARE(dialog.Progress()->maximum(), 64);
            QCOMPARE(dialog.Progress()->value(), 0);
            QCOMPARE(dialog.Caption()->text(), T(10401004) + QStringLiteral(" 0 / 64"));
            QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
        }

        const RunningState running = ReadThroughFrame();
        QVERIFY(running.seen);
        QVERIFY(running.running);
        QVERIFY(running.controlsDisabled);
        QCOMPARE(running.title, T(10401002));
        QVERIFY(running.closeButtonWithdrawn);
        QVERIFY(running.stayedOpenOnClose);
        QVERIFY(running.stayedOpenOnEscape);
        QVERIFY(running.stayedInPlace);

        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10401003}));
        QCOMPARE(prompter_->asked.back().caption, S(10401005));
        QVERIFY(app_->Image().Transfer() == expected);
        QVERIFY(app_->Image().Live() == expected);
        QVERIFY(!app_->Document().IsModified());
        QVERIFY(frame_->OpenEditors().empty());
        QCOMPARE(app_->Document().FileName(), std::string("vrm650t.dat"));
        QVERIFY(frame_->windowTitle().contains(QStringLiteral("vrm650t.dat")));
    }

    void readAsksToSaveUnsavedChangesFirst() {
        app_->Image().SetByte(0x100, 0x42);
        QVERIFY(app_->Document().IsModified());
        const ImageBuffer before = app_->Image().Live();
        prompter_->answers = {Answer::Cancel};
        bool dialogShown = false;
        QTimer::singleShot(0, [&dialogShown] {
            if (auto* dialog = qobject_cast<ReadDialog*>(QApplication::activeModalWidget())) {
                dialogShown = true;
                dialog->reject();
            }
        });
        frame_->RunCommand(cmd::kReadData);
        QTest::qWait(20);
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007010}));
        QVERIFY(!dialogShown);
        QVERIFY(app_->Image().Live() == before);
        QVERIFY(!QFile::exists(QString::fromStdString(state_)));  // the radio was never reached

        // No: the read goes ahead and replaces the data.
        prompter_->asked.clear();
        prompter_->answers = {Answer::No};
        ReadThroughFrame();
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007010, 10401003}));
        QVERIFY(app_->Image().Live() != before);
    }

    void failedReadsLeaveTheDocumentAndEndTheDialog_data() {
        QTest::addColumn<QString>("faults");
        QTest::addColumn<int>("message");
        QTest::newRow("no answer to PROGRAM") << "program-silent" << 10007003;
        QTest::newRow("another model") << "model=XRV-99" << 10007004;
        QTest::newRow("sibling product") << "model=LMX-7208" << 10007021;
        QTest::newRow("block 40 fails") << "read-silent=40" << 10007003;
    }
    void failedReadsLeaveTheDocumentAndEndTheDialog() {
        QFETCH(QString, faults);
        QFETCH(int, message);
        SimulatedRadio radio;
        radio.Memory() = PatternMemory();
        radio.SetIdentity(radio.Identity());
        SetRadio(radio);
        Faults(faults.toUtf8().constData());
        app_->Image().SetByte(0x200, 0x11);
        app_->Image().TakeSnapshot();
        app_->Image().SetByte(0x3A1, 0x5C);  // an unsaved edit survives too
        const ImageBuffer live = app_->Image().Live();
        const ImageBuffer saved = app_->Image().Saved();
        prompter_->answers = {Answer::No};  // the unsaved-changes question

        bool ended = false;
        int result = -1;
        WhenModal<ReadDialog>([&](ReadDialog* dialog) {
            dialog->StartButton()->click();
            ended = !dialog->isVisible();
            result = dialog->result();
        });
        frame_->RunCommand(cmd::kReadData);
        QVERIFY(ended);
        QCOMPARE(result, static_cast<int>(QDialog::Rejected));
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007010, message}));
        QVERIFY(app_->Image().Live() == live);
        QVERIFY(app_->Image().Saved() == saved);
        QVERIFY(app_->Document().IsModified());
    }

    void readWithoutACableSaysWhy() {
        // The real transport library on a machine without the cable.
        TransferGate gate([] {
            return std::make_unique<ProgrammingPort>(
                std::make_unique<LibraryTransport>(std::string(VRM_BIN_DIR) + "/libpipelink.so"), SystemClock::Instance());
        });
        const ImageBuffer live = app_->Image().Live();
        ReadDialog dialog({gate, app_->Image(), app_->Language(), *prompter_}, frame_.get());
        dialog.show();
        dialog.StartButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007003}));
        const std::string& text = prompter_->asked.front().text;
        QVERIFY(text.find(S(10007003)) == 0);
        QVERIFY2(text.find(S(19103001)) != std::string::npos, text.c_str());
        QVERIFY(!gate.Busy());  // the port is closed and gone with the transfer
        QVERIFY(app_->Image().Live() == live);
    }

    void writeDialogWritesTheDocumentWithTheSettingsBlockLast() {
        RadioImage& image = app_->Image();
        for (std::size_t a = 0x70; a < 0x170; ++a) image.SetByte(a, static_cast<std::uint8_t>(a));
        image.SetByte(0x3F5, 0x12);  // never written
        SetRadio(SimulatedRadio{});
        const ImageBuffer radioBefore = Radio().Memory();

        WriteSettings settings;
        WriteDialog dialog(Context(), settings, frame_.get());
        QCOMPARE(dialog.windowTitle(), T(10402001));
        QCOMPARE(dialog.StartButton()->text(), T(10002006));
        QCOMPARE(dialog.AdjustTimeBox()->text(), T(10402004));
        QCOMPARE(dialog.ContinuousBox()->text(), T(10402006));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Continuous is off: the dialog ends at the separator.
        QVERIFY(!dialog.Separator()->isVisible());
        QVERIFY(!dialog.ContinuousBox()->isVisible());
        QVERIFY(!dialog.AdjustTimeBox()->isVisible());

        RunningState running;
        WatchWhileRunning(&dialog, running, {dialog.AdjustTimeBox(), dialog.ContinuousBox()});
        dialog.StartButton()->click();
        QVERIFY(running.running && running.controlsDisabled && running.closeButtonWithdrawn);
        QCOMPARE(running.title, T(10402002));
        QVERIFY(running.stayedOpenOnClose && running.stayedOpenOnEscape && running.stayedInPlace);

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Accepted));
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10402003}));
        QCOMPARE(prompter_->asked.back().caption, S(10402005));

        const SimulatedRadio after = Radio();
        for (std::size_t a = 0; a < 0x3F0; ++a) QCOMPARE(after.Memory()[a], image.Live()[a]);
        for (std::size_t a = 0x3F0; a < 0x400; ++a) QCOMPARE(after.Memory()[a], radioBefore[a]);
        const std::vector<std::string> writes = WritesLogged();
        QCOMPARE(writes.size(), std::size_t{63});
        QCOMPARE(writes.front(), std::string("write 0x000 16"));
        QCOMPARE(writes.back(), std::string("write 0x060 16"));
        QCOMPARE(std::count(writes.begin(), writes.end(), std::string("write 0x060 16")), 1L);
        QCOMPARE(std::count(writes.begin(), writes.end(), std::string("write 0x3F0 16")), 0L);
    }

    void failedWriteBlockAbortsAndEndsTheDialog() {
        SetRadio(SimulatedRadio{});
        Faults("write-nak=20");
        WriteSettings settings;
        settings.continuous = true;  // a failure ends the dialog even so
        WriteDialog dialog(Context(), settings, frame_.get());
        dialog.show();
        dialog.StartButton()->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(dialog.windowTitle(), T(10402001));
        QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007003}));
        const std::vector<std::string> log = RadioLog();
        const auto abort = std::find(log.begin(), log.end(), std::string("abort"));
        QVERIFY(abort != log.end());
        QCOMPARE(*(abort - 1), std::string("write 0x140 16"));
        QCOMPARE(dialog.RadiosWritten(), 0);
    }

    void writeIntoAnotherIdentityAsksFirst() {
        // The document is an HRV-41A (market 5); the radio an HRV-41 P
        // (market 6): same market class, other identity.
        SimulatedRadio radio;
        radio.SetIdentity(IdentityOf(4, 0x0106));
        SetRadio(radio);
        WriteSettings settings;
        {
            prompter_->answers = {Answer::Cancel};
            WriteDialog dialog(Context(), settings, frame_.get());
            dialog.show();
            dialog.StartButton()->click();
            QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007007}));
            QCOMPARE(prompter_->asked.back().buttons, Buttons::OkCancel);
            QCOMPARE(prompter_->asked.back().caption, S(10006002));
            QVERIFY(!dialog.isVisible());
            QVERIFY(WritesLogged().empty());
        }
        prompter_->asked.clear();
        {
            prompter_->answers = {Answer::Ok};
            WriteDialog dialog(Context(), settings, frame_.get());
            dialog.show();
            dialog.StartButton()->click();
            QCOMPARE(prompter_->TextIds(), (std::vector<int>{10007007, 10402003}));
            QCOMPARE(WritesLogged().size(), std::size_t{63});
        }
    }

    void continuousKeepsTheDialogOpenForTheNextRadio() {
        SetRadio(SimulatedRadio{});
        WriteSettings settings;
        settings.continuous = true;
        WriteDialog dialog(Context(), settings, frame_.get());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.Separator()->isVisible());
        QVERIFY(dialog.ContinuousBox()->isVisible());
        QVERIFY(dialog.ContinuousBox()->isChecked());
        QVERIFY(!dialog.AdjustTimeBox()->isVisible());
        const int tall = dialog.height();

        for (int radio = 1; radio <= 2; ++radio) {
            dialog.StartButton()->click();
            QVERIFY(dialog.isVisible());
            QVERIFY(!dialog.Running());
            QCOMPARE(dialog.Progress()->value(), 0);
            QCOMPARE(dialog.Caption()->text(), T(10401004) + QStringLiteral(" 0 / 64"));
            QCOMPARE(dialog.windowTitle(), T(10402001));
            QVERIFY(dialog.StartButton()->isEnabled() && dialog.CancelButton()->isEnabled() &&
                    dialog.HelpButton()->isEnabled() && dialog.ContinuousBox()->isEnabled());
            QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
            QCOMPARE(dialog.RadiosWritten(), radio);
        }
        QCOMPARE(WritesLogged().size(), std::size_t{126});

        // Switched off, it is remembered: the next dialog ends at the
        // separator, and Cancel closes this one.
        dialog.ContinuousBox()->setChecked(false);
        QVERIFY(!settings.continuous);
        dialog.CancelButton()->click();
        QVERIFY(!dialog.isVisible());
        WriteDialog next(Context(), settings, frame_.get());
        next.show();
        QVERIFY(QTest::qWaitForWindowExposed(&next));
        QVERIFY(!next.Separator()->isVisible());
        QVERIFY(next.height() < tall);
    }

    void continuousSwitchOnTheCommandLine() {
        Start({"CONTINUOUS"});
        SetRadio(SimulatedRadio{});
        bool open = false;
        bool boxShown = false;
        WhenModal<WriteDialog>([&](WriteDialog* dialog) {
            boxShown = dialog->ContinuousBox()->isVisible() && dialog->ContinuousBox()->isChecked();
            dialog->StartButton()->click();
            open = dialog->isVisible();
            dialog->CancelButton()->click();
        });
        frame_->RunCommand(cmd::kWriteData);
        QVERIFY(boxShown);
        QVERIFY(open);
    }

};

int main(int argc, char** argv) {
    RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    TransferDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "transfer_dialogs_test.moc"
