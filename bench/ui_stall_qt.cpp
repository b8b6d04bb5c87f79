// How long the desktop program's window stops answering while it writes a
// radio: the longest gap between two ticks of a 1 ms timer on the
// user-interface thread during a whole safe write (backup read, write,
// verify read) of the simulated radio at 9600 baud, run from the Program
// menu as a user runs it. Every message box is answered with its default.
// For comparison, the same safe write run on the user-interface thread
// itself, handling pending events between protocol steps (the way the
// program ran its transfers before they moved to a worker thread): there the
// stall is the longest protocol wait between two steps.
//
// The simulated radio's libpipelink.so has to be found by name, as the
// program loads it: the benchmark starts itself again with it first on the
// library path.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "bench/bench_main.h"
#include "bench/bench_seams.h"
#include "core/base/clock.h"
#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/settings_store.h"
#include "core/link/safe_write.h"
#include "core/link/transfer_gate.h"
#include "gui/app/main_frame.h"
#include "gui/app/vrm_app.h"
#include "gui/transfer/write_dialog.h"
#include "sim/sim_state.h"
#include "sim/simulated_radio.h"

namespace {

// Every question answered with its default, but Cancel taken as OK: the
// write goes ahead where a box offers to stop it.
class DefaultAnswers : public vrm::bench::DefaultAnswers {
public:
    vrm::Answer Ask(const vrm::Message& m) override {
        return m.defaultAnswer == vrm::Answer::Cancel ? vrm::Answer::Ok : m.defaultAnswer;
    }
};

// The longest gap between two ticks of a 1 ms timer while `run` runs.
class StallMeter {
public:
    StallMeter() {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const auto now = std::chrono::steady_clock::now();
            if (now - last_ > longest_) {
                longest_ = now - last_;
                at_ = last_ - start_;
            }
            last_ = now;
        });
    }
    void Start() {
        longest_ = {};
        start_ = last_ = std::chrono::steady_clock::now();
        timer_.start();
    }
    double StopMs() {
        timer_.stop();
        return std::chrono::duration<double, std::milli>(longest_).count();
    }
    // Runs `body` under the meter; keeps the longest gap of every run and
    // returns the run's time in seconds.
    template <typename F>
    double Measure(F body) {
        const auto start = std::chrono::steady_clock::now();
        Start();
        body();
        const double ms = StopMs();
        if (ms > worstMs) {
            worstMs = ms;
            worstAtMs = AtMs();
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    double worstMs = 0;
    double worstAtMs = 0;

private:
    QTimer timer_;
    std::chrono::steady_clock::time_point last_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::duration at_{};

public:
    // Where the longest gap began, from the start.
    double AtMs() const { return std::chrono::duration<double, std::milli>(at_).count(); }

private:
    std::chrono::steady_clock::duration longest_{};
};

// Handles pending events between protocol steps, as the dialogs once did.
class PumpingObserver final : public vrm::TransferObserver {
public:
    void PumpOneMessage() override { QCoreApplication::processEvents(QEventLoop::AllEvents, 10); }
};

enum class Way { kFromTheMenu, kPumpingOnUiThread };

// A simulated radio at 9600 baud that holds the program's model, in a fresh
// folder; false when its state cannot be written.
bool PrepareRadio(const std::filesystem::path& dir, vrm::Application& app) {
    const std::string radioState = (dir / "radio.state").string();
    ::setenv("VRM650T_SIM_STATE", radioState.c_str(), 1);
    ::setenv("VRM650T_SIM_BAUD", "9600", 1);
    ::unsetenv("VRM650T_SIM_FAULTS");
    vrm::SimulatedRadio radio;
    radio.SetIdentity(app.Image().Identity());
    return vrm::SaveSimState(radioState, radio, nullptr);
}

void UiStall(benchmark::State& state, Way way) {
    const auto dir = std::filesystem::temp_directory_path() / ("vrm-stall-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    vrm::Application app(vrm::SystemClock::Instance());
    vrm::MemorySettingsStore settings;
    DefaultAnswers prompter;
    vrm::bench::NoFileDialogs dialogs;
    app.SetProgramFolder(VRM_BIN_DIR);
    if (!app.LoadLanguageAtStartup(settings, prompter)) {
        state.SkipWithError("no language file");
        return;
    }
    app.PrepareData(settings, dir.string() + "/");
    app.ReadProgrammingOptions(settings);
    if (!PrepareRadio(dir, app)) {
        state.SkipWithError("no radio state");
        return;
    }
    vrm::CMainFrame frame(app, prompter, dialogs, settings);
    frame.Create();
    vrm::RegisterViewsAndDialogs(frame);
    frame.show();

    StallMeter meter;
    bool written = true;
    for (auto _ : state) {
        if (way == Way::kPumpingOnUiThread) {
            const auto claim = app.Transfers().Begin();
            PumpingObserver observer;
            const vrm::TransferContext ctx{claim->Port(), prompter, app.Language(), observer};
            state.SetIterationTime(meter.Measure([&] {
                written = vrm::SafeWriteToRadio(ctx, app.Image().Live(), false, app.WriteOptions()).Ok() && written;
            }));
            continue;
        }
        // The Write button is pressed once the dialog shows; the stall is
        // measured from there to the end of the write.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<vrm::WriteDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            state.SetIterationTime(meter.Measure([dialog] { dialog->StartButton()->click(); }));
            written = written && dialog->LastWrite().Ok();
            dialog->close();
        });
        frame.RunCommand(vrm::cmd::kWriteData);
    }
    if (!written) state.SkipWithError("the write failed");
    state.counters["longest_stall_ms"] = meter.worstMs;
    state.counters["stall_at_ms"] = meter.worstAtMs;
    ::unsetenv("VRM650T_SIM_BAUD");
    std::filesystem::remove_all(dir);
}
void BM_UiStallDuringSafeWriteAt9600(benchmark::State& state) { UiStall(state, Way::kFromTheMenu); }
void BM_UiStallPumpingOnUiThreadAt9600(benchmark::State& state) { UiStall(state, Way::kPumpingOnUiThread); }
BENCHMARK(BM_UiStallDuringSafeWriteAt9600)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UiStallPumpingOnUiThreadAt9600)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("VRM_STALL_BENCH_STARTED")) {
        ::setenv("VRM_STALL_BENCH_STARTED", "1", 1);
        ::setenv("LD_LIBRARY_PATH", VRM_SIM_DIR, 1);
        ::execv("/proc/self/exe", argv);
        return 1;
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);
    return vrm::bench::RunBenchmarks(argc, argv);
}
