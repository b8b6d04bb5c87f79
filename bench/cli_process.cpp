// What vrm650t-cli costs a script, whole process from fork to exit, medians
// of several runs: `--version`, `get` of one field, and the PDF print-out of
// a full 16-channel configuration.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_run.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 15;

struct Scratch {
    Scratch() : dir(fs::temp_directory_path() / ("vrm-bench-cli-process-" + std::to_string(::getpid()))) {
        fs::create_directories(dir);
    }
    ~Scratch() { fs::remove_all(dir); }
    std::string File(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

bench::ProcessRun Cli(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {std::string(VRM_BIN_DIR) + "/vrm650t-cli", "--lang",
                                     std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"};
    argv.insert(argv.end(), args.begin(), args.end());
    return bench::RunProcess(argv, bench::Environment({}, {}));
}

// Runs `args` kRuns times per iteration; the median wall and CPU time.
void TimeCommand(benchmark::State& state, const std::vector<std::string>& args) {
    std::vector<double> wall, cpu;
    for (auto _ : state) {
        for (int i = 0; i < kRuns; ++i) {
            const bench::ProcessRun run = Cli(args);
            if (!run.ok) {
                state.SkipWithError(run.failure.c_str());
                return;
            }
            wall.push_back(run.wallMs);
            cpu.push_back(run.cpuMs);
        }
    }
    state.counters["median_ms"] = bench::Median(wall);
    state.counters["median_cpu_ms"] = bench::Median(cpu);
}

void BM_CliVersion(benchmark::State& state) { TimeCommand(state, {"--version"}); }

void BM_CliGet(benchmark::State& state) {
    Scratch s;
    if (!Cli({"new", "--model", "3", "--yes", "-o", s.File("radio.dat")}).ok) {
        state.SkipWithError("could not make the data file");
        return;
    }
    TimeCommand(state, {"get", s.File("radio.dat"), "channel.1.rx"});
}

// Model 3: sixteen channels, every list printed.
void BM_CliPrintPdf16Channels(benchmark::State& state) {
    Scratch s;
    if (!Cli({"new", "--model", "3", "--yes", "-o", s.File("radio.dat")}).ok) {
        state.SkipWithError("could not make the data file");
        return;
    }
    TimeCommand(state, {"print", "--yes", "-o", s.File("radio.pdf"), s.File("radio.dat")});
}

BENCHMARK(BM_CliVersion)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliGet)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliPrintPdf16Channels)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
