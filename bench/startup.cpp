// Start-up of the desktop program against a bare Qt window, in the same run:
// each is started as a process on the offscreen platform, alternately, and
// timed from fork to its first main window being exposed (the start-up probe
// writes that moment and ends the process). The figures are medians; the
// ratio is the program's median over the bare window's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_run.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 9;

// Starts `program` with the probe and a private home; the start-up time in
// ms, or a negative number when the program never showed its window.
double TimeToWindow(const std::string& program, const fs::path& home) {
    const std::vector<std::string> env = bench::Environment(
        {"VRM650T_STARTUP_PROBE=1", "QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(),
         "XDG_CONFIG_HOME=" + (home / "config").string(), "XDG_RUNTIME_DIR=" + (home / "run").string()},
        {"HOME=", "XDG_", "QT_QPA_PLATFORM=", "VRM650T_"});
    const bench::ProcessRun run = bench::RunProcess({program}, env, true);
    if (!run.ok || run.output.empty()) return -1;
    return static_cast<double>(std::stoll(run.output) - run.startMicros) / 1000.0;
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const fs::path home = fs::temp_directory_path() / ("vrm-bench-startup-" + std::to_string(::getpid()));
    fs::create_directories(home / "config");
    fs::create_directories(home / "run");
    fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
    const std::string program = std::string(VRM_BIN_DIR) + "/vrm650t";
    const std::string bare = std::string(VRM_BIN_DIR) + "/vrm-bench-bare-window";
    std::vector<double> programMs, bareMs;
    for (auto _ : state) {
        for (int i = 0; i < kRuns && !state.error_occurred(); ++i) {
            const double p = TimeToWindow(program, home);
            const double b = TimeToWindow(bare, home);
            if (p < 0 || b < 0) state.SkipWithError(p < 0 ? "vrm650t showed no main window" : "the bare window did not show");
            programMs.push_back(p);
            bareMs.push_back(b);
        }
    }
    fs::remove_all(home);
    if (state.error_occurred()) return;
    state.counters["program_ms"] = bench::Median(programMs);
    state.counters["bare_qt_ms"] = bench::Median(bareMs);
    state.counters["ratio"] = bench::Median(programMs) / bench::Median(bareMs);
}
BENCHMARK(BM_StartupAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
