// Reloading the channel grid of a 16-channel model, as every view does after
// each committed edit: every cell's text from the field model, and the
// view's repaint of all its rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "bench/bench_main.h"
#include "bench/bench_seams.h"
#include "core/document/application.h"
#include "core/document/file_dialogs.h"
#include "gui/app/main_frame.h"
#include "core/document/settings_store.h"
#include "gui/app/vrm_app.h"
#include "gui/editors/channel_info_view.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "core/base/prompter.h"
#include "gui/widgets/record_grid.h"

namespace {

using vrm::bench::DefaultAnswers;
using vrm::bench::NoFileDialogs;

void BM_ChannelGridReload(benchmark::State& state) {
    vrm::VirtualClock clock{{12, 0}};
    vrm::Application app(clock);
    vrm::MemorySettingsStore settings;
    DefaultAnswers prompter;
    NoFileDialogs dialogs;
    app.SetProgramFolder(VRM_BIN_DIR);
    if (!app.LoadLanguageAtStartup(settings, prompter)) {
        state.SkipWithError("no language file");
        return;
    }
    app.PrepareData(settings, "/tmp");  // the default model: 16 channels
    for (int n = 1; n <= 16; ++n)
        vrm::SetFromScript(app.Session(), "channel." + std::to_string(n) + ".rx", std::to_string(450 + n) + ".0125");
    vrm::CMainFrame frame(app, prompter, dialogs, settings);
    frame.Create();
    vrm::RegisterViewsAndDialogs(frame);
    frame.resize(1200, 900);
    frame.show();
    auto* view = dynamic_cast<vrm::CChInfoView*>(frame.OpenEditor("CChInfoView"));
    if (!view) {
        state.SkipWithError("no channel grid");
        return;
    }
    QApplication::processEvents();
    for (auto _ : state) {
        view->RefreshFromImage();
        view->Grid()->viewport()->repaint();
    }
}

}  // namespace

BENCHMARK(BM_ChannelGridReload)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication qtApp(argc, argv);
    return vrm::bench::RunBenchmarks(argc, argv);
}
