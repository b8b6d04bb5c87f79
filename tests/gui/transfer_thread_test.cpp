// Transfers off the user-interface thread: while a slow radio is read, the
// window keeps answering (a timer on the user-interface thread keeps firing,
// the progress moves), the transfer's questions are asked on that thread,
// and a stop asked for from the window reaches the worker, which leaves the
// radio out of program mode. One transfer at a time.
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <csignal>

#include "core/base/clock.h"
#include "core/base/language_table.h"
#include "core/base/text_ids.h"
#include "core/link/transfer_gate.h"
#include "core/model/radio_image.h"
#include "gui/transfer/read_dialog.h"
#include "sim/radio_log_check.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"
#include "sim/simulated_transport.h"
#include "text/scripted_prompter.h"

using namespace vrm;

namespace {

// Records on which thread each question was asked.
class ThreadRecordingPrompter final : public Prompter {
public:
    Answer Ask(const Message& message) override {
        onUiThread = onUiThread && QThread::currentThread() == qApp->thread();
        inner.Ask(message);
        return message.defaultAnswer;
    }
    PasswordResult AskPassword(PasswordGate& gate) override { return inner.AskPassword(gate); }

    test::ScriptedPrompter inner;
    bool onUiThread = true;
};

}  // namespace

class TransferThreadTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowAnswersWhileASlowRadioIsReadAndAStopReachesTheWorker() {
        LanguageTable language;
        language.SetProgramFolder(VRM_BIN_DIR "/");
        QVERIFY(language.Load("vrm650t_en.lng", false, nullptr));
        SimulatedRadio radio;
        SimulatedLink link(radio, SystemClock::Instance());
        // 1200 baud: the identification's reply alone takes 0.4 s on the wire
        // (0.45 s with its mandated pause), each block about 0.2 s; the whole
        // read would take over 12 s.
        link.SetBaud(1200);
        TransferGate gate([&link] {
            return std::make_unique<ProgrammingPort>(std::make_unique<SimulatedTransport>(link),
                                                     SystemClock::Instance());
        });
        RadioImage image;
        ThreadRecordingPrompter prompter;
        ReadDialog dialog({gate, image, language, prompter}, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        // A 10 ms timer on the user-interface thread: the longest gap between
        // its ticks is how long the window stopped answering.
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 longestGap = 0;
        int ticks = 0;
        int progressSeen = 0;
        bool busySeen = false;
        QTimer ticker;
        ticker.setInterval(10);
        connect(&ticker, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longestGap = std::max(longestGap, now - last);
            last = now;
            ++ticks;
            progressSeen = std::max(progressSeen, dialog.Progress()->value());
            busySeen = busySeen || gate.Busy();
        });
        // Once blocks are on their way, the stop is asked for.
        QTimer::singleShot(2600, &dialog, [&] { dialog.RequestStop(); });

        clock.start();
        ticker.start();
        dialog.StartButton()->click();  // returns when the read has ended
        ticker.stop();
        const qint64 took = clock.elapsed();

        // The window answered all along: no gap near the identification's
        // 0.45 s, which a transfer on this thread would have held it for.
        QVERIFY2(longestGap < 250, qPrintable(QStringLiteral("longest gap %1 ms").arg(longestGap)));
        QVERIFY2(ticks > 100, qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(took)));
        QVERIFY(busySeen);
        QVERIFY2(progressSeen >= 1, "the progress moved while the blocks were read");
        // The stop reached the worker: the read ended well before its 64
        // blocks, as a stopped transfer, and the radio left program mode.
        QVERIFY2(took < 8000, qPrintable(QStringLiteral("took %1 ms").arg(took)));
        QCOMPARE(static_cast<int>(dialog.Result().status), static_cast<int>(TransferStatus::kStopped));
        QVERIFY(dialog.Result().blocksDone < kTransferBlocks);
        QCOMPARE(dialog.result(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(QString::fromStdString(test::ProgramModeProblem(radio.Log())), QString());
        QCOMPARE(radio.Log().back(), std::string("exit"));
        // Its message was asked on the user-interface thread.
        QCOMPARE(prompter.inner.TextIds(), std::vector<int>{static_cast<int>(tid::kLinkInterrupted)});
        QVERIFY(prompter.onUiThread);
        // The port is let go of: the next transfer may start.
        QVERIFY(!gate.Busy());
        QVERIFY(gate.Begin() != nullptr);
    }

    void oneTransferAtATime() {
        SimulatedRadio radio;
        SimulatedLink link(radio, SystemClock::Instance());
        TransferGate gate([&link] {
            return std::make_unique<ProgrammingPort>(std::make_unique<SimulatedTransport>(link),
                                                     SystemClock::Instance());
        });
        auto first = gate.Begin();
        QVERIFY(first && gate.Busy());
        QVERIFY(gate.Begin() == nullptr);
        // Each claim's port is its own, with its own stop flag.
        first->Stop();
        QVERIFY(first->Port().StopRequested());
        first.reset();
        const auto second = gate.Begin();
        QVERIFY(second != nullptr);
        QVERIFY(!second->Port().StopRequested());
    }

    // The session-end signals reach the running transfer's port.
    void theSessionFlagReachesTheRunningTransfersPort() {
        TransferGate gate;
        StopFlag session;
        gate.SetSessionFlag(&session);
        const auto claim = gate.Begin();
        QVERIFY(!claim->Port().StopRequested());
        session.Set(SIGTERM);
        QCOMPARE(claim->Port().StopValue(), SIGTERM);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TransferThreadTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "transfer_thread_test.moc"
