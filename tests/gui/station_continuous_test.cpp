// Program > Programming Station with Continuous against two simulated
// radios, in English and German: each cable writes its radio, shows "done"
// while that radio stays on, "waiting for the next radio" once it is
// unplugged, writes the next one plugged into it, and counts them per row
// and in all, while it runs and after Stop.
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <filesystem>

#include "core/base/clock.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/document/application.h"
#include "core/document/settings_store.h"
#include "gui/transfer/station_dialog.h"
#include "gui_app.h"
#include "sim/sim_state.h"
#include "text/scripted_prompter.h"

using namespace vrm;

class StationContinuousTest : public QObject {
    Q_OBJECT

private:
    QString outDir_;
    QTemporaryDir temp_;
    VirtualClock clock_{{9, 15}};

private slots:
    void initTestCase() { outDir_ = test::ScreenshotFolder(temp_); }
    void continuous_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("de") << QStringLiteral("de");
    }
    void continuous() {
        QFETCH(QString, lang);
        std::vector<std::string> states;
        for (int i = 1; i <= 2; ++i) {
            states.push_back(temp_.filePath(QStringLiteral("c-%1-%2.state").arg(lang).arg(i)).toStdString());
            SimulatedRadio radio;
            radio.SetSerialNumber("A260042" + std::to_string(i));
            QVERIFY(SaveSimState(states.back(), radio, nullptr));
        }
        ::setenv("VRM650T_SIM_STATE", (states[0] + ":" + states[1]).c_str(), 1);
        Application app(clock_);
        MemorySettingsStore settings;
        test::ScriptedPrompter prompter;
        QVERIFY(test::StartApplication(app, settings, prompter, lang.toStdString(), temp_.path().toStdString()));
        SafeWriteOptions options = app.WriteOptions();
        options.backupFolder = temp_.filePath(QStringLiteral("c-backups-%1").arg(lang)).toStdString();
        options.logPath = temp_.filePath(QStringLiteral("c-log-%1.csv").arg(lang)).toStdString();
        const LanguageTable& language = app.Language();
        const auto phase = [&](StationPhase p) { return QString::fromStdString(StationPhaseText(language, p)); };

        StationDialog dialog({language, prompter, app.Image().Live(), options, true}, nullptr);
        dialog.resize(1200, 360);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTableWidget* table = dialog.Table();
        dialog.ContinuousBox()->setFocus();
        QTest::keyClick(dialog.ContinuousBox(), Qt::Key_Space);
        QVERIFY(dialog.ContinuousBox()->isChecked());
        QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
        QVERIFY(dialog.Running());
        // The radio stays on its cable: done, and not written again.
        QTRY_COMPARE_WITH_TIMEOUT(table->item(0, 6)->text(), QStringLiteral("1 / 0"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(table->item(1, 6)->text(), QStringLiteral("1 / 0"), 30000);
        QCOMPARE(table->item(0, 3)->text(), phase(StationPhase::kDone));

        QVERIFY(SetSimRadioPlugged(states[0], false, nullptr));
        QTRY_COMPARE_WITH_TIMEOUT(table->item(0, 3)->text(), phase(StationPhase::kNextRadio), 10000);
        QCOMPARE(table->item(0, 6)->text(), QStringLiteral("1 / 0"));
        QVERIFY(dialog.grab().save(QDir(outDir_).filePath(QStringLiteral("station-continuous-%1.png").arg(lang))));
        std::filesystem::rename(states[0], states[0] + ".first");
        SimulatedRadio next;
        next.SetSerialNumber("A2600431");
        QVERIFY(SaveSimState(states[0], next, nullptr));
        QVERIFY(SetSimRadioPlugged(states[0], true, nullptr));
        QTRY_COMPARE_WITH_TIMEOUT(table->item(0, 6)->text(), QStringLiteral("2 / 0"), 30000);
        QCOMPARE(table->item(0, 2)->text(), QStringLiteral("A2600431"));
        QCOMPARE(table->item(0, 3)->text(), phase(StationPhase::kDone));
        const QString total = QString::fromStdString(FormatText(language.TextString(tid::kStationTotal), {3, 0}));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("total"))->text(), total);
        QVERIFY2(dialog.Running(), "the total counts while the cables run");

        // Stop has the focus while the cables run.
        QCOMPARE(QApplication::focusWidget(), dialog.StopButton());
        QTest::keyClick(dialog.StopButton(), Qt::Key_Space);
        dialog.WaitUntilDone();
        QVERIFY(!dialog.Running());
        QCOMPARE(table->item(0, 6)->text(), QStringLiteral("2 / 0"));
        QCOMPARE(table->item(1, 6)->text(), QStringLiteral("1 / 0"));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("total"))->text(), total);
        ::unsetenv("VRM650T_SIM_STATE");
    }
};

int main(int argc, char** argv) {
    vrm::test::RestartWithSimulatedRadio(argv);
    QApplication app(argc, argv);
    StationContinuousTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "station_continuous_test.moc"
