// Start-up of the desktop program against a bare Qt window, in the same run:
// each is started as a process on the offscreen platform, in turn, and timed
// from fork to its first main window being exposed (the start-up probe writes
// that moment and ends the process). The figures are medians; the ratio is
// the program's median over the bare window's. A second yardstick, a bare
// window with a menu and a status text, shows what any window with text pays
// for loading its fonts; and each process's peak resident set is reported.
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

struct Start {
    double ms = -1;  // negative when the program never showed its window
    double peakMiB = 0;
};

// Starts `program` with the probe and a private home.
Start TimeToWindow(const std::vector<std::string>& program, const fs::path& home) {
    const std::vector<std::string> env = bench::Environment(
        {"VRM650T_STARTUP_PROBE=1", "QT_QPA_PLATFORM=offscreen", "HOME=" + home.string(),
         "XDG_CONFIG_HOME=" + (home / "config").string(), "XDG_RUNTIME_DIR=" + (home / "run").string()},
        {"HOME=", "XDG_", "QT_QPA_PLATFORM=", "VRM650T_"});
    const bench::ProcessRun run = bench::RunProcess(program, env, true);
    if (!run.ok || run.output.empty()) return {};
    return {static_cast<double>(std::stoll(run.output) - run.startMicros) / 1000.0, run.peakMiB};
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const fs::path home = fs::temp_directory_path() / ("vrm-bench-startup-" + std::to_string(::getpid()));
    fs::create_directories(home / "config");
    fs::create_directories(home / "run");
    fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
    const std::string bare = std::string(VRM_BIN_DIR) + "/vrm-bench-bare-window";
    const std::vector<std::vector<std::string>> programs{
        {std::string(VRM_BIN_DIR) + "/vrm650t"}, {bare}, {bare, "--text"}};
    const char* const names[] = {"program", "bare_qt", "text_qt"};
    std::vector<double> ms[3], mib[3];
    for (auto _ : state) {
        for (int i = 0; i < kRuns && !state.error_occurred(); ++i) {
            for (std::size_t p = 0; p < programs.size(); ++p) {
                const Start start = TimeToWindow(programs[p], home);
                if (start.ms < 0) {
                    state.SkipWithError((std::string(names[p]) + " showed no main window").c_str());
                    break;
                }
                ms[p].push_back(start.ms);
                mib[p].push_back(start.peakMiB);
            }
        }
    }
    fs::remove_all(home);
    if (state.error_occurred()) return;
    for (std::size_t p = 0; p < programs.size(); ++p) {
        state.counters[std::string(names[p]) + "_ms"] = bench::Median(ms[p]);
        state.counters[std::string(names[p]) + "_MiB"] = bench::Median(mib[p]);
    }
    state.counters["ratio"] = bench::Median(ms[0]) / bench::Median(ms[1]);
    state.counters["ratio_text"] = bench::Median(ms[0]) / bench::Median(ms[2]);
}
BENCHMARK(BM_StartupAgainstBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
