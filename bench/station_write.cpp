// The programming station against one radio: the safe write (backup, write,
// verify, log) of 8 simulated radios at 9600 baud through `station write`,
// next to the safe write of one radio the same way. The cables run at the
// same time, so the eight should take hardly longer than the one (the
// target: at most 1.15 times as long), and the CPU per radio should stay
// within 20% of the single write's.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_run.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

struct Station {
    explicit Station(int radios) {
        dir = fs::temp_directory_path() / ("vrm-bench-station-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "backups");
        std::string states;
        for (int i = 1; i <= radios; ++i) states += (i > 1 ? ":" : "") + (dir / ("r" + std::to_string(i) + ".state")).string();
        env = {"VRM650T_SIM_STATE=" + states, std::string("LD_LIBRARY_PATH=") + VRM_SIM_DIR};
        file = (dir / "w.dat").string();
    }
    ~Station() { fs::remove_all(dir); }

    bench::ProcessRun Cli(std::vector<std::string> args, bool atBaud) const {
        std::vector<std::string> e = env;
        if (atBaud) e.push_back("VRM650T_SIM_BAUD=9600");
        std::vector<std::string> argv = {std::string(VRM_BIN_DIR) + "/vrm650t-cli", "--lang",
                                         std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"};
        argv.insert(argv.end(), args.begin(), args.end());
        return bench::RunProcess(argv, bench::Environment(e, {"LD_LIBRARY_PATH=", "VRM650T_SIM_"}));
    }

    fs::path dir;
    std::vector<std::string> env;
    std::string file;
};

// The station's safe write of `radios` radios; wall and CPU time per run.
void StationWrite(benchmark::State& state, int radios) {
    Station s(radios);
    if (!s.Cli({"new", "--model", "3", "-o", s.file}, false).ok) {
        state.SkipWithError("could not prepare the data file");
        return;
    }
    const std::string backups = (s.dir / "backups").string(), log = (s.dir / "log.csv").string();
    double cpu = 0;
    for (auto _ : state) {
        const bench::ProcessRun r =
            s.Cli({"station", "write", "--backup-dir", backups, "--log", log, s.file}, true);
        if (!r.ok) {
            state.SkipWithError(r.failure.c_str());
            break;
        }
        state.SetIterationTime(r.wallMs / 1000.0);
        cpu += r.cpuMs;
    }
    if (state.error_occurred()) return;
    state.counters["radios"] = radios;
    state.counters["cpu_ms_per_radio"] = cpu / static_cast<double>(state.iterations()) / radios;
}

void BM_StationSafeWriteOneRadioAt9600(benchmark::State& state) { StationWrite(state, 1); }
void BM_StationSafeWriteEightRadiosAt9600(benchmark::State& state) { StationWrite(state, 8); }
BENCHMARK(BM_StationSafeWriteOneRadioAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StationSafeWriteEightRadiosAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
