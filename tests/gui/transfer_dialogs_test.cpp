// The transfer dialogs offscreen against the simulated radio: read, write
// (with Continuous), Radio Information and the Memory Map, driven as a user
// drives them, with the main frame's side of a read and of the memory map.
//
// The program's own port loads "libpipelink.so" by name. The test starts
// itself again with the simulated radio's copy first on the library path
// (as `make run` does), so the real dlopen path runs against a radio whose
// state lives in a temporary file.
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QProgressBar>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <functional>

#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/document.h"
#include "gui/app/main_frame.h"
#include "text/scripted_prompter.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "core/base/clock.h"
#include "gui/transfer/memory_map_dialog.h"
#include "core/link/programming_port.h"
#include "core/link/transfer_gate.h"
#include "core/link/transport.h"
#include "gui/transfer/radio_info_dialog.h"
#include "gui/transfer/read_dialog.h"
#include "gui/transfer/write_dialog.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "sim/sim_state.h"
#include "gui/widgets/editor_view.h"

using namespace vrm;

namespace {

class FakeView final : public EditorView {
public:
    explicit FakeView(const std::string& viewClass) : EditorView(viewClass) { resize(200, 100); }
    void RefreshFromImage() override { ++refreshes; }
    bool HandleCommand(int) override { return false; }
    int refreshes = 0;
};

// Runs `body` on the next modal dialog of type T once it shows.
template <typename T, typename F>
void WhenModal(F body) {
    QTimer::singleShot(0, [body] {
        for (int i = 0; i < 300; ++i) {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                body(dialog);
                return;
            }
            QTest::qWait(10);
        }
        qWarning("no modal dialog appeared");
    });
}

// What a transfer dialog looked like while its transfer ran (seen from the
// first pause between protocol steps).
struct RunningState {
    bool seen = false;
    bool running = false;
    bool controlsDisabled = false;
    bool closeButtonWithdrawn = false;
    bool stayedOpenOnClose = false;
    bool stayedOpenOnEscape = false;
    bool stayedInPlace = false;
    QString title;
};

void WatchWhileRunning(TransferDialog* dialog, RunningState& state, const std::vector<QWidget*>& more = {}) {
    QTimer::singleShot(0, dialog, [dialog, &state, more] {
        state.seen = true;
        state.running = dialog->Running();
        state.controlsDisabled = !dialog->StartButton()->isEnabled() && !dialog->CancelButton()->isEnabled() &&
                                 !dialog->HelpButton()->isEnabled();
        for (QWidget* w : more) state.controlsDisabled = state.controlsDisabled && !w->isEnabled();
        state.closeButtonWithdrawn = !(dialog->windowFlags() & Qt::WindowCloseButtonHint) &&
                                     dialog->windowHandle() &&
                                     !(dialog->windowHandle()->flags() & Qt::WindowCloseButtonHint);
        state.title = dialog->windowTitle();
        // The user tries to close it, to press Escape and to drag it away.
        const bool closed = dialog->close();
        state.stayedOpenOnClose = !closed && dialog->isVisible();
        QTest::keyClick(dialog, Qt::Key_Escape);
        state.stayedOpenOnEscape = dialog->isVisible();
        const QPoint before = dialog->pos();
        dialog->move(before + QPoint(60, 40));
        state.stayedInPlace = dialog->pos() == before;
    });
}

// A recognisable memory: every byte differs from its neighbours, none is
// 0xFF, and the microphone-sense byte is one the load fix-up keeps.
ImageBuffer PatternMemory() {
    ImageBuffer m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>((i * 7 + 3) % 251);
    m[kFeatureArea.offset + 6] = 1;
    return m;
}

ModelIdentity IdentityOf(int model, std::uint16_t bandWord) {
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(model);
    catalogue.SetBandWord(bandWord);
    return image.Identity();
}

}  // namespace

class TransferDialogsTest : public QObject {
    Q_OBJECT

private:
    VirtualClock clock_;
    std::unique_ptr<QTemporaryDir> temp_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<MemorySettingsStore> settings_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<test::ScriptedFileDialogs> dialogs_;
    std::unique_ptr<CMainFrame> frame_;
    std::string state_;

    QString T(tid::TextId id) const { return QString::fromUtf8(app_->Language().Text(id)); }
    std::string S(tid::TextId id) const { return app_->Language().TextString(id); }
    // What the frame hands a transfer dialog: the program's transfers, image
    // and language, and the test's prompter.
    TransferDialogContext Context() { return {app_->Transfers(), app_->Image(), app_->Language(), *prompter_}; }

    void Start(std::vector<std::string> args = {}) {
        frame_.reset();
        temp_ = std::make_unique<QTemporaryDir>();
        state_ = temp_->filePath(QStringLiteral("radio.state")).toStdString();
        ::setenv("VRM650T_SIM_STATE", state_.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        app_ = std::make_unique<Application>(clock_);
        settings_ = std::make_unique<MemorySettingsStore>();
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        dialogs_ = std::make_unique<test::ScriptedFileDialogs>();
        app_->ReadCommandLine(args);
        app_->SetProgramFolder(VRM_BIN_DIR);
        QVERIFY(app_->LoadLanguageAtStartup(*settings_, *prompter_));
        app_->PrepareData(*settings_, temp_->path().toStdString());
        frame_ = std::make_unique<CMainFrame>(*app_, *prompter_, *dialogs_, *settings_);
        QVERIFY(frame_->Create());
        RegisterViewsAndDialogs(*frame_);
        frame_->RegisterEditorView("CKeyView", [](CMainFrame&, QWidget*) -> EditorView* { return new FakeView("CKeyView"); });
        frame_->show();
        frame_->OnModelChanged();
    }

    // The simulated radio the next transfer finds.
    SimulatedRadio Radio() {
        SimulatedRadio radio;
        std::string error;
        if (!LoadSimState(state_, radio, &error)) qWarning("%s", error.c_str());
        return radio;
    }
    void SetRadio(const SimulatedRadio& radio) {
        std::string error;
        QVERIFY2(SaveSimState(state_, radio, &error), error.c_str());
    }
    void Faults(const char* faults) { ::setenv("VRM650T_SIM_FAULTS", faults, 1); }

    std::vector<std::string> RadioLog() { return Radio().Log(); }
    std::vector<std::string> WritesLogged() {
        std::vector<std::string> writes;
        for (const std::string& line : RadioLog())
            if (line.rfind("write ", 0) == 0) writes.push_back(line);
        return writes;
    }

    // Runs Program > Read Data from Radio and presses Read.
    RunningState ReadThroughFrame() {
        RunningState state;
        WhenModal<ReadDialog>([&state](ReadDialog* dialog) {
            WatchWhileRunning(dialog, state);
            dialog->StartButton()->click();
        });
        frame_->RunCommand(cmd::kReadData);
        return state;
    }

private slots:
    void init() { Start(); }
    void cleanup() {
        frame_.reset();
        app_.reset();
        ::unsetenv("VRM650T_SIM_FAULTS");
    }

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
    // The program's port loads "libpipelink.so" by name: put the simulated
    // radio's copy first on the library path and start again.
    if (!std::getenv("VRM_TRANSFER_TEST_STARTED")) {
        ::setenv("VRM_TRANSFER_TEST_STARTED", "1", 1);
        ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
        ::execv("/proc/self/exe", argv);
        return 1;
    }
    QApplication app(argc, argv);
    TransferDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "transfer_dialogs_test.moc"
