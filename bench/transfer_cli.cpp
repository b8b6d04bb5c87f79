// What a radio transfer costs the user of vrm650t-cli: the whole command,
// from process start to exit, against the simulated radio's drop-in
// libpipelink.so (put first on the library path, as `make run` does).
//  - At 9600 baud (VRM650T_SIM_BAUD) each byte takes its time on the radio's
//    wire. The command is set next to the wire time of the bytes the
//    transfer moves (counted in process with the same transfer functions)
//    plus the protocol's mandated delays (Identify's 50 ms; the write's
//    ','-command 250 ms).
//  - At full speed: the process time (user + system CPU) of `radio read`.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/process_run.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/files/data_file.h"
#include "core/link/read_transfer.h"
#include "core/link/write_transfer.h"
#include "core/link/safe_write.h"
#include "core/model/model_catalogue.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"
#include "sim/simulated_transport.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kBaud = 9600;
constexpr double kMandatedReadMs = 50;         // Identify
constexpr double kMandatedWriteMs = 50 + 250;  // Identify, the ','-command

struct Quiet final : Prompter {
    Answer Ask(const Message& m) override { return m.defaultAnswer; }
    PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
};

// The bytes the read or write transfer moves both ways, in process.
std::uint64_t WireBytes(bool write) {
    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link(radio, clock);
    ProgrammingPort port(std::make_unique<SimulatedTransport>(link), clock);
    Quiet prompter;
    LanguageTable language;
    NullTransferObserver observer;
    const TransferContext ctx{port, prompter, language, observer};
    ImageBuffer image = radio.Memory();
    const bool ok = write ? RunWriteTransfer(ctx, image).Ok() : RunReadTransfer(ctx, image).Ok();
    return ok ? link.BytesOut() + link.BytesIn() : 0;
}

using ChildRun = bench::ProcessRun;

ChildRun RunCli(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env = extraEnv;
    env.push_back(std::string("LD_LIBRARY_PATH=") + VRM_SIM_DIR);
    std::vector<std::string> argv = {std::string(VRM_BIN_DIR) + "/vrm650t-cli", "--lang",
                                     std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_en.lng"};
    argv.insert(argv.end(), args.begin(), args.end());
    return bench::RunProcess(argv, bench::Environment(env, {"LD_LIBRARY_PATH=", "VRM650T_SIM_"}));
}

struct Scratch {
    Scratch() {
        dir = fs::temp_directory_path() / ("vrm-bench-cli-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        state = "VRM650T_SIM_STATE=" + (dir / "radio.state").string();
        file = (dir / "radio.dat").string();
    }
    ~Scratch() { fs::remove_all(dir); }
    fs::path dir;
    std::string state;
    std::string file;
};

void CliAt9600(benchmark::State& state, bool write) {
    Scratch s;
    const std::vector<std::string> env = {s.state, "VRM650T_SIM_BAUD=" + std::to_string(kBaud)};
    // The data file the write sends: what a read of the simulated radio saves.
    if (!RunCli({"radio", "read", "--yes", "-o", s.file}, {s.state}).ok) {
        state.SkipWithError("could not prepare the data file");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        // The bare write: backup, verify and log off (the safe write is
        // BM_CliSafeWriteAt9600).
        const ChildRun r = write ? RunCli({"radio", "write", "--no-backup", "--no-verify", "--no-log", s.file}, env)
                                 : RunCli({"radio", "read", "--yes", "-o", s.file}, env);
        if (!r.ok) {
            state.SkipWithError(r.failure.c_str());
            break;
        }
        state.SetIterationTime(r.wallMs / 1000.0);
        total += r.wallMs;
    }
    if (state.error_occurred()) return;
    const std::uint64_t bytes = WireBytes(write);
    const double wireMs = static_cast<double>(bytes) * 10.0 * 1000.0 / kBaud;
    const double expected = wireMs + (write ? kMandatedWriteMs : kMandatedReadMs);
    const double measured = total / static_cast<double>(state.iterations());
    state.counters["wire_bytes"] = static_cast<double>(bytes);
    state.counters["wire_plus_delays_ms"] = expected;
    state.counters["command_ms"] = measured;
    state.counters["over_percent"] = 100.0 * (measured - expected) / expected;
}

// The safe write in process on virtual time: the bytes its three sessions
// move, and the time the clock advanced, which without a baud rate is the
// protocol's mandated delays alone (three identifications, the firmware
// version read, the ','-command).
struct SafeWireCost {
    std::uint64_t bytes = 0;
    double delaysMs = 0;
};
SafeWireCost SafeWriteWire(const fs::path& dir) {
    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link(radio, clock);
    auto owned = std::make_unique<SimulatedTransport>(link);
    const SimulatedTransport& transport = *owned;
    ProgrammingPort port(std::move(owned), clock);
    Quiet prompter;
    LanguageTable language;
    NullTransferObserver observer;
    const TransferContext ctx{port, prompter, language, observer};
    SafeWriteOptions options;
    options.backupFolder = (dir / "wire-backups").string();
    options.logPath = (dir / "wire-log.csv").string();
    const auto start = clock.Now();
    const bool ok = SafeWriteToRadio(ctx, radio.Memory(), false, options).Ok();
    SafeWireCost cost;
    if (!ok) return cost;
    // The link counts one session; the transport's calls span all three.
    for (const SimulatedTransport::Call& c : transport.Calls())
        if (c.kind == SimulatedTransport::Call::Kind::kSend || c.kind == SimulatedTransport::Call::Kind::kRecv)
            cost.bytes += c.bytes.size();
    cost.delaysMs = std::chrono::duration<double, std::milli>(clock.Now() - start).count();
    return cost;
}

// Backup read, write and verify read, with the log, as `radio write` runs by
// default: against the wire time of all three sessions plus their mandated
// delays (the target: at most 1.05 times that).
void BM_CliSafeWriteAt9600(benchmark::State& state) {
    Scratch s;
    const std::vector<std::string> env = {s.state, "VRM650T_SIM_BAUD=" + std::to_string(kBaud)};
    if (!RunCli({"radio", "read", "--yes", "-o", s.file}, {s.state}).ok) {
        state.SkipWithError("could not prepare the data file");
        return;
    }
    const std::string backups = (s.dir / "backups").string(), log = (s.dir / "log.csv").string();
    fs::create_directories(backups);  // the CLI writes into an existing backup folder only
    double total = 0;
    for (auto _ : state) {
        const ChildRun r = RunCli({"radio", "write", "--backup-dir", backups, "--log", log, s.file}, env);
        if (!r.ok) {
            state.SkipWithError(r.failure.c_str());
            break;
        }
        state.SetIterationTime(r.wallMs / 1000.0);
        total += r.wallMs;
    }
    if (state.error_occurred()) return;
    const SafeWireCost cost = SafeWriteWire(s.dir);
    const double wireMs = static_cast<double>(cost.bytes) * 10.0 * 1000.0 / kBaud;
    const double expected = wireMs + cost.delaysMs;
    const double measured = total / static_cast<double>(state.iterations());
    state.counters["wire_bytes"] = static_cast<double>(cost.bytes);
    state.counters["delays_ms"] = cost.delaysMs;
    state.counters["wire_plus_delays_ms"] = expected;
    state.counters["command_ms"] = measured;
    state.counters["ratio"] = measured / expected;
}

void BM_CliReadAt9600(benchmark::State& state) { CliAt9600(state, false); }
void BM_CliWriteAt9600(benchmark::State& state) { CliAt9600(state, true); }
BENCHMARK(BM_CliReadAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliWriteAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CliSafeWriteAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_CliReadFullSpeed(benchmark::State& state) {
    Scratch s;
    double cpu = 0, wall = 0, worstCpu = 0;
    for (auto _ : state) {
        const ChildRun r = RunCli({"radio", "read", "--yes", "-o", s.file}, {s.state});
        if (!r.ok) {
            state.SkipWithError(r.failure.c_str());
            break;
        }
        state.SetIterationTime(r.wallMs / 1000.0);
        cpu += r.cpuMs;
        wall += r.wallMs;
        worstCpu = std::max(worstCpu, r.cpuMs);
    }
    if (state.error_occurred()) return;
    const auto n = static_cast<double>(state.iterations());
    state.counters["process_cpu_ms"] = cpu / n;
    state.counters["worst_cpu_ms"] = worstCpu;
    state.counters["wall_ms"] = wall / n;
}
BENCHMARK(BM_CliReadFullSpeed)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
