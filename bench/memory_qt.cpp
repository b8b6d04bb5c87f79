// The desktop program's memory: its resident set when its main window has
// just shown, and with every editor of the 16-channel model open at once, in
// a process of its own (this benchmark starts nothing else first). The
// program's budget is 50 MiB with every editor open; more is reported as an
// error, so that `make bench` fails on it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QEventLoop>
#include <QTimer>
#include <fstream>
#include <string>

#include "bench/bench_main.h"
#include "bench/bench_seams.h"
#include "core/base/prompter.h"
#include "core/document/application.h"
#include "core/document/command_tables.h"
#include "core/document/file_dialogs.h"
#include "core/document/settings_store.h"
#include "core/model/model_catalogue.h"
#include "gui/app/main_frame.h"
#include "gui/app/vrm_app.h"
#include "gui/editors/channel_info_view.h"

namespace {

constexpr double kBudgetMiB = 50;

using vrm::bench::DefaultAnswers;
using vrm::bench::NoFileDialogs;

// Lets the windows lay out and paint for `ms` milliseconds.
void Settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A line of /proc/self/status ("VmRSS", "VmHWM") in MiB.
double StatusMiB(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1)) / 1024.0;
    }
    return -1;
}

void BM_MemoryWithEveryEditorOpen(benchmark::State& state) {
    QTemporaryDir home;
    vrm::MemorySettingsStore settings;
    DefaultAnswers prompter;
    NoFileDialogs dialogs;
    vrm::ShellSeams seams;
    seams.settings = &settings;
    seams.prompter = &prompter;
    seams.fileDialogs = &dialogs;
    seams.programFolder = QStringLiteral(VRM_BIN_DIR);
    seams.documentsFolder = home.filePath(QStringLiteral("documents"));
    seams.runtimeFolder = home.path();
    seams.stateFolder = home.filePath(QStringLiteral("state"));
    for (auto _ : state) {
        vrm::DesktopApp program(seams);
        if (program.InitInstance({}) != vrm::DesktopApp::Start::Running) {
            state.SkipWithError("the program did not start");
            return;
        }
        vrm::CMainFrame& frame = *program.Frame();
        Settle(50);
        state.counters["shown_MiB"] = StatusMiB("VmRSS");

        // The 16-channel model, every editor of it open.
        vrm::Application& app = program.App();
        app.Image().Clear();
        app.Catalogue().SetModel(3);
        app.Catalogue().SetBandWord(0x0105);
        app.Image().InitialiseDefaults(app.Catalogue(), false);
        app.Image().TakeSnapshot();
        frame.OnModelChanged();
        auto* info = dynamic_cast<vrm::CChInfoView*>(frame.OpenEditor("CChInfoView"));
        if (!info) {
            state.SkipWithError("the channel information did not open");
            return;
        }
        info->OpenChannelEdit();
        for (const int command : {vrm::cmd::kOptionalFeatures, vrm::cmd::kKeyAssignment, vrm::cmd::kScanInformation,
                                  vrm::cmd::kTestFrequency, vrm::cmd::kEmbeddedMessage, vrm::cmd::kAdvancedSettings}) {
            frame.RunCommand(command);
            Settle(20);
        }
        const auto open = frame.MdiArea()->subWindowList().size();
        state.counters["editors_open"] = static_cast<double>(open);
        state.counters["every_editor_MiB"] = StatusMiB("VmRSS");
        state.counters["peak_MiB"] = StatusMiB("VmHWM");
        if (open < 9) state.SkipWithError("not every editor opened");
        else if (StatusMiB("VmHWM") > kBudgetMiB) state.SkipWithError("over the 50 MiB budget");
        frame.CloseAllEditors();
        program.ExitInstance();
    }
}
BENCHMARK(BM_MemoryWithEveryEditorOpen)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication qapp(argc, argv);
    return vrm::bench::RunBenchmarks(argc, argv);
}
