// Program > Programming Station against three simulated radios, in English
// and German: a row per cable, Start from the keyboard, every radio written
// (one with a fault failing on its own), and the window kept as a picture
// (VRM_SCREENSHOT_DIR; the README's comes from here). Setup's cable choice
// offers the present cables after "First found".
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include "core/base/clock.h"
#include "core/document/application.h"
#include "core/document/settings_store.h"
#include "core/link/radio_info.h"
#include "core/link/transfer_gate.h"
#include "gui/transfer/safety_dialog.h"
#include "gui/transfer/station_dialog.h"
#include "gui/widgets/ui_fonts.h"
#include "gui_app.h"
#include "sim/sim_state.h"
#include "text/scripted_prompter.h"

using namespace vrm;

class StationScreensTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{9, 15}};

    void Run(const QString& lang) {
        std::string states;
        for (int i = 1; i <= 3; ++i) {
            const std::string state = temp_.filePath(QStringLiteral("%1-%2.state").arg(lang).arg(i)).toStdString();
            SimulatedRadio radio;
            radio.SetSerialNumber("A26004" + std::to_string(10 + i));
            std::string error;
            QVERIFY2(SaveSimState(state, radio, &error), error.c_str());
            states += (i > 1 ? ":" : "") + state;
        }
        ::setenv("VRM650T_SIM_STATE", states.c_str(), 1);
        ::setenv("VRM650T_SIM_FAULTS_2", "write-nak=20", 1);
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        QApplication::setFont(UiFonts::FromSettings(app.Language().Settings()).dialog);
        SafeWriteOptions options = app.WriteOptions();
        options.backupFolder = temp_.filePath(QStringLiteral("backups-%1").arg(lang)).toStdString();
        options.logPath = temp_.filePath(QStringLiteral("log-%1.csv").arg(lang)).toStdString();

        StationDialog dialog({app.Language(), prompter, app.Image().Live(), options, true}, nullptr);
        dialog.resize(1200, 360);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.Table()->rowCount(), 3);
        QCOMPARE(dialog.Table()->item(1, 0)->text(), QStringLiteral("sim-2  (SIMCABLE02)"));
        // Enter presses Start, the default button.
        dialog.StartButton()->setFocus();
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(dialog.Running());
        QVERIFY(dialog.StopButton()->isEnabled());
        dialog.WaitUntilDone();
        QVERIFY(!dialog.Running());
        QCOMPARE(dialog.Table()->item(0, 2)->text(), QStringLiteral("A2600411"));
        QCOMPARE(dialog.Table()->item(0, 6)->text(), QStringLiteral("1 / 0"));
        QCOMPARE(dialog.Table()->item(1, 6)->text(), QStringLiteral("0 / 1"));
        QCOMPARE(dialog.Table()->item(2, 6)->text(), QStringLiteral("1 / 0"));
        QVERIFY(dialog.Table()->item(1, 5)->text().contains(QStringLiteral("20")));
        QCOMPARE(dialog.Table()->item(2, 4)->data(Qt::UserRole).toInt(), 100);
        QVERIFY(!dialog.findChild<QLabel*>(QStringLiteral("total"))->text().isEmpty());
        QVERIFY(dialog.grab().save(QDir(outDir_).filePath(QStringLiteral("programming-station-%1.png").arg(lang))));

        // Setup > Programming Options: the cable choice.
        std::vector<StationCable> cables = ListStationCables().value_or(std::vector<StationCable>{});
        QCOMPARE(cables.size(), std::size_t{3});
        ProgrammingOptions chosen;
        chosen.cable = "sim-3";
        ProgrammingOptionsDialog setup(app.Language(), chosen, QString(), cables, nullptr);
        QComboBox* box = setup.CableBox();
        QCOMPARE(box->count(), 4);
        QCOMPARE(box->currentIndex(), 3);
        box->setCurrentIndex(0);
        QVERIFY2(setup.Options().cable.empty(), "first found");

        // The transfers of the program's dialogs use the cable chosen there.
        app.Programming().cable = "SIMCABLE02";
        {
            const auto claim = app.Transfers().Begin();
            QVERIFY(claim);
            RadioInformation info;
            NullTransferObserver observer;
            QVERIFY(RunRadioInformationTransfer({claim->Port(), prompter, app.Language(), observer}, info).Ok());
            QCOMPARE(ReadInformationTexts(info.information).serial, std::string("A2600412"));
        }
        ::unsetenv("VRM650T_SIM_FAULTS_2");
    }

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void english() { Run(QStringLiteral("en")); }
    void german() { Run(QStringLiteral("de")); }
};

int main(int argc, char** argv) {
    vrm::test::RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    StationScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "station_screens_test.moc"
