// Tuning Data, Test Mode and the tuning adjustment dialog against the
// simulated radio through the drop-in transport: what each control sends,
// the transmitter switched off as the dialogs close, Write enabled only with
// values held, the tuning-file round trip. The dialogs are drawn in English
// and German and checked for cut-off texts; with VRM_SCREENSHOT_DIR set the
// pictures are kept there.
#include <unistd.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "core/document/application.h"
#include "core/document/settings_store.h"
#include "core/files/tuning_file.h"
#include "core/link/transfer_gate.h"
#include "gui_app.h"
#include "core/base/clock.h"
#include "gui/transfer/test_mode_dialog.h"
#include "gui/transfer/tuning_data_dialog.h"
#include "core/link/tuning_transfer.h"
#include "core/exchange/print_document.h"
#include "sim/sim_state.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"
#include "gui/widgets/form_helpers.h"
#include "gui/widgets/ui_fonts.h"

using namespace vrm;

namespace {

// What screen readers were told of the transmit line: each alert with the
// name its object had when it was sent.
struct Alert {
    QObject* object;
    QString name;
};
QList<Alert>& Alerts() {
    static QList<Alert> alerts;
    return alerts;
}
void RecordAlert(QAccessibleEvent* event) {
    if (event->type() != QAccessible::Alert) return;
    QAccessibleInterface* accessible = event->accessibleInterface();
    QObject* object = event->object();
    // A line's alerts go with it: a later line may be made at the same address.
    const bool first = std::none_of(Alerts().begin(), Alerts().end(), [object](const Alert& a) { return a.object == object; });
    if (first)
        QObject::connect(object, &QObject::destroyed, [object] {
            Alerts().removeIf([object](const Alert& a) { return a.object == object; });
        });
    Alerts().append({object, accessible ? accessible->text(QAccessible::Name) : QString()});
}

}  // namespace

class TuningDialogsTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{9, 15}};
    std::string state_;

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
    std::vector<std::string> LogSinceLastSession() {
        const auto log = Radio().Log();
        auto it = std::find(log.rbegin(), log.rend(), "session");
        return {it == log.rend() ? log.begin() : it.base(), log.end()};
    }
    bool Logged(const std::string& line) {
        const auto log = LogSinceLastSession();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    void Save(QWidget* w, const QString& name) {
        QVERIFY(w->grab().save(QDir(outDir_).filePath(name + QStringLiteral(".png"))));
    }

    // The transmit line shows `text` on red (on the air) or amber (not
    // confirmed off), and screen readers meet it as an alert named by it,
    // told once of the change.
    void CheckTransmitLine(TransmitIndicator* line, const QString& text, bool red) {
        QVERIFY(line->isVisible());
        QCOMPARE(line->text(), text);
        QCoreApplication::processEvents();
        const QImage image = line->grab().toImage();
        const QColor c = image.pixelColor(image.width() / 2, 3);  // the padding above the words
        if (red) QVERIFY2(c.red() > 150 && c.green() < 60 && c.blue() < 60, qPrintable(c.name()));
        else QVERIFY2(c.red() > 200 && c.green() > 120 && c.green() < 220 && c.blue() < 60, qPrintable(c.name()));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(line);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::AlertMessage);
        QCOMPARE(accessible->text(QAccessible::Name), text);
        QList<Alert> told;
        for (const Alert& a : Alerts())
            if (a.object == line) told.append(a);
        // On a loaded machine the state may have changed more than once
        // before this check: each change is told once, the last with the
        // words now shown.
        QVERIFY(!told.isEmpty());
        QCOMPARE(told.back().name, text);
        for (qsizetype i = 1; i < told.size(); ++i) QVERIFY(told[i].name != told[i - 1].name);
        Alerts().clear();
    }

    // With a radio that does not confirm switching its transmitter off, the
    // window says so for as long as it does not.
    void NotConfirmedOff(Application& app, test::ScriptedPrompter& prompter) {
        ::setenv("VRM650T_SIM_FAULTS", "off-nak=08", 1);
        NullTransferObserver observer;
        TransferGate gate;  // the program's is held by the test mode before
        const auto claim = gate.Begin();
        TestModeSession session(TransferContext{claim->Port(), prompter, app.Language(), observer}, app.Image().Live());
        QCOMPARE(static_cast<int>(session.Start()), static_cast<int>(TestModeStart::kOk));
        {
            TestModeDialog dialog(session, app.Language(), nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.TransmitState()->text(), LangText(app.Language(), tid::kTransmitOff));
            dialog.Transmit()->click();
            CheckTransmitLine(dialog.TransmitState(), LangText(app.Language(), tid::kTransmitOnAir), true);
            prompter.asked.clear();
            dialog.Transmit()->click();  // off: the radio answers NAK
            QCOMPARE(prompter.TextIds(), std::vector<int>{static_cast<int>(tid::kMsgTransmitterNotOff)});
            QVERIFY(dialog.Transmit()->isChecked());
            CheckTransmitLine(dialog.TransmitState(), LangText(app.Language(), tid::kTransmitNotConfirmedOff), false);
            test::CheckNothingCutOff(&dialog, "test mode not off");
            Save(&dialog, "test-mode-not-off-" + QString::fromStdString(app.Language().TextString(tid::kPrintLanguageCode)));
            dialog.reject();
        }
        QVERIFY(!session.End());
        ::unsetenv("VRM650T_SIM_FAULTS");
    }

    void Run(const QString& lang) {
        state_ = temp_.filePath(QStringLiteral("radio-%1.state").arg(lang)).toStdString();
        ::setenv("VRM650T_SIM_STATE", state_.c_str(), 1);
        ::unsetenv("VRM650T_SIM_FAULTS");
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        QApplication::setFont(UiFonts::FromSettings(app.Language().Settings()).dialog);
        SimulatedRadio radio;
        radio.SetSerialNumber("A2600417");
        app.Image().Live() = radio.Memory();  // the document describes this radio
        SetRadio(radio);
        const TransferDialogContext context{app.Transfers(), app.Image(), app.Language(), prompter};
        const std::string backups = temp_.filePath(QStringLiteral("backups-%1").arg(lang)).toStdString();

        // --- Tuning Data ---------------------------------------------------
        {
            TuningDataDialog dialog(context, backups, nullptr);
            TuningDataDialog::Folder() = temp_.path().toStdString() + "/";
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QVERIFY(!dialog.WriteButton()->isEnabled());  // nothing held yet
            dialog.OnRead();
            QVERIFY(dialog.Values().held);
            QVERIFY(dialog.WriteButton()->isEnabled());
            QCOMPARE(dialog.Progress()->value(), kTuningProgressRange);
            QCOMPARE(dialog.Grid()->item(0, 1)->text(), QString::number(radio.Tuning()[0] + 1));
            QCOMPARE(dialog.Information()->text(), QStringLiteral("HRV-41A K/A2600417"));
            // A typed value beyond the row's range is clamped.
            dialog.Grid()->item(2, 1)->setData(Qt::EditRole, 99);
            QCOMPARE(dialog.Grid()->item(2, 1)->text(), QStringLiteral("64"));
            QCOMPARE(dialog.Values().values[2], 63);
            test::CheckNothingCutOff(&dialog, "tuning data " + lang);
            Save(&dialog, "tuning-data-" + lang);

            const std::string file = temp_.filePath(QStringLiteral("fleet-%1").arg(lang)).toStdString();
            dialog.SetFileChooser([&](bool, const std::string&, const std::string&) { return file; });
            dialog.OnSaveAs();
            QCOMPARE(dialog.FileName()->text(), QStringLiteral("fleet-%1.tun").arg(lang));
            QVERIFY(std::filesystem::exists(file + ".tun"));

            TuningDataDialog second(context, backups, nullptr);
            QVERIFY(!second.WriteButton()->isEnabled());
            second.SetFileChooser([&](bool, const std::string&, const std::string&) { return file + ".tun"; });
            second.OnOpen();
            QVERIFY(second.WriteButton()->isEnabled());
            prompter.answers = {Answer::Ok};
            second.OnWrite();
            QCOMPARE(Radio().Tuning()[2], 63);
            QVERIFY(!std::filesystem::is_empty(backups));
            QVERIFY(!second.Running());
        }

        // --- Test Mode -----------------------------------------------------
        NullTransferObserver observer;
        const auto claim = app.Transfers().Begin();
        TestModeSession session(TransferContext{claim->Port(), prompter, app.Language(), observer}, app.Image().Live());
        QCOMPARE(static_cast<int>(session.Start()), static_cast<int>(TestModeStart::kOk));
        {
            TestModeDialog dialog(session, app.Language(), nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QCOMPARE(dialog.ReceiveFrequency()->text(), QStringLiteral("460.05000"));
            const auto before = Radio().Log().size();
            dialog.Spacing()->setCurrentIndex(1);
            QCOMPARE(Radio().Log().size(), before);  // the spacing sends nothing
            dialog.Squelch()->setValue(4);
            QVERIFY(Logged("squelch 4"));
            QTest::keyClick(dialog.Volume(), Qt::Key_End);
            QVERIFY(Logged("volume 7"));
            QTest::keyClick(dialog.Volume(), Qt::Key_Left);
            QVERIFY(Logged("volume 6"));
            QCOMPARE(dialog.TransmitState()->text(), LangText(app.Language(), tid::kTransmitOff));
            dialog.Transmit()->click();
            QVERIFY(session.Transmitting());
            CheckTransmitLine(dialog.TransmitState(), LangText(app.Language(), tid::kTransmitOnAir), true);
            test::CheckNothingCutOff(&dialog, "test mode " + lang);
            Save(&dialog, "test-mode-" + lang);

            // Print: the test channels, the settings as shown, the tuning
            // values read at the start, each label on the line of its value.
            int printed = 0;
            dialog.SetPrintHandler([&] { ++printed; });
            dialog.PrintButton()->click();
            QCOMPARE(printed, 1);
            const std::string out = print::WriteText(dialog.PrintOut("2026-12-08 10:00"));
            const auto onOneLine = [&](const std::string& a, const std::string& b) {
                for (std::size_t at = out.find(a); at != std::string::npos; at = out.find(a, at + 1)) {
                    const std::size_t end = out.find('\n', at);
                    if (out.substr(at, end - at).find(b) != std::string::npos) return true;
                }
                return false;
            };
            QVERIFY(onOneLine("1 ", lang == "de" ? "460,05000" : "460.05000"));  // the language's numbers
            for (const TuningRow& row : TuningRowTable())
                QVERIFY(onOneLine(TuningRowLabel(app.Language(), row),
                                  std::to_string(TuningShownValue(Radio().Tuning()[row.offset]))));

            std::vector<std::uint32_t> help;
            dialog.SetHelpHandler([&](std::uint32_t topic) { help.push_back(topic); });
            QTest::keyClick(&dialog, Qt::Key_F1);
            // The item list opens the adjustment: transmitter off first.
            dialog.SetAdjustRunner([&](TuningAdjustDialog& adjust) {
                QVERIFY(!session.Transmitting());
                QVERIFY(Logged("switch 08 off"));
                adjust.show();
                QVERIFY(QTest::qWaitForWindowExposed(&adjust));
                adjust.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&adjust));
                QTest::keyClick(&adjust, Qt::Key_F1);  // the item's own help topic
                QVERIFY(Logged("point 14 on"));
                QCOMPARE(adjust.Tabs()->count(), 3);
                // The Low point of transmit power low is the tuning value
                // Tuning Data shows in its row (one higher there).
                const int low = Radio().Tuning()[3];
                QCOMPARE(adjust.CurrentValue()->text(), QString::number(low));
                QTest::keyClick(adjust.Slider(), Qt::Key_Up);
                QVERIFY(Logged("point 14 value " + std::to_string(low + 1)));
                QCOMPARE(static_cast<int>(Radio().Tuning()[3]), low + 1);
                QTest::keyClick(&adjust, Qt::Key_Tab, Qt::ControlModifier);
                QCOMPARE(adjust.Tabs()->currentIndex(), 1);
                QVERIFY(Logged("point 14 off") && Logged("point 60 on"));
                adjust.Spin()->setValue(50);
                adjust.ApplyButton()->click();
                QCOMPARE(adjust.AppliedValue()->text(), QStringLiteral("50"));
                QVERIFY(Logged("point 60 set 50"));
                QVERIFY(adjust.Refresh()->isActive());
                QTRY_COMPARE_WITH_TIMEOUT(adjust.CurrentValue()->text(), QStringLiteral("50"), 3000);
                QCOMPARE(adjust.TransmitState()->text(), LangText(app.Language(), tid::kTransmitOff));
                adjust.TransmitButton()->click();
                QVERIFY(session.Transmitting());
                CheckTransmitLine(adjust.TransmitState(), LangText(app.Language(), tid::kTransmitOnAir), true);
                test::CheckNothingCutOff(&adjust, "adjust " + lang);
                Save(&adjust, "tuning-adjust-" + lang);
                adjust.reject();
                QVERIFY(!session.Transmitting());
                QVERIFY(Logged("point 60 off"));
            });
            dialog.Adjust(1);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.TransmitState()->text(), LangText(app.Language(), tid::kTransmitOff));
            QCOMPARE(help, (std::vector<std::uint32_t>{0x53000, 340229}));
            dialog.Transmit()->click();
            QVERIFY(session.Transmitting());
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        }
        QVERIFY(session.End());
        QVERIFY(Logged("switch 08 off"));
        QCOMPARE(LogSinceLastSession().back(), std::string("exit"));
        QVERIFY(!claim->Port().IsOpen());
        NotConfirmedOff(app, prompter);
    }

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void english() { Run(QStringLiteral("en")); }
    void german() { Run(QStringLiteral("de")); }
};

int main(int argc, char** argv) {
    vrm::test::RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    TransmitIndicator::SetAnnouncer(RecordAlert);
    TuningDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tuning_dialogs_test.moc"
