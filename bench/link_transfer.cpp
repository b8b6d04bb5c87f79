// The radio link's own cost. A whole read (64 blocks) and a whole write (63
// blocks, block 0x060 last) against the simulated radio:
//  - in process on a virtual clock, so the protocol's mandated delays and the
//    wire cost nothing: what is measured is the program's own work;
//  - through the drop-in libpipelink.so at 9600 baud (VRM650T_SIM_BAUD), on
//    real time, next to the sum of the wire time and the mandated delays.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/link/programming_port.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"
#include "sim/simulated_transport.h"

namespace vrm {
namespace {

constexpr std::uint32_t kBaud = 9600;
constexpr std::uint32_t kMandatedReadMs = 50;        // Identify
constexpr std::uint32_t kMandatedWriteMs = 50 + 250;  // Identify, the ','-command

bool ReadTransfer(ProgrammingPort& port, ImageBuffer& image) {
    if (!port.SetOpen(true)) return false;
    bool ok = port.EnterProgramMode() == 0;
    ModelIdentity id{};
    ok = ok && port.Identify(id) == 0;
    for (std::uint16_t a = 0; ok && a < kImageSize; a += 16) {
        ok = port.ReadBlock(a, 16, image.data() + a) == 0;
        port.PumpOneMessage();
    }
    port.ExitProgramMode();
    port.SetOpen(false);
    return ok;
}

bool WriteTransfer(ProgrammingPort& port, const ImageBuffer& image) {
    if (!port.SetOpen(true)) return false;
    bool ok = port.EnterProgramMode() == 0;
    ModelIdentity id{};
    ok = ok && port.Identify(id) == 0;
    ok = ok && port.CommaCommand(1) == 0;
    for (std::uint16_t a = 0; ok && a < 0x3F0; a += 16) {
        port.PumpOneMessage();
        if (a != 0x060) ok = port.WriteBlock(a, 16, image.data() + a) == 0;
    }
    ok = ok && port.WriteBlock(0x060, 16, image.data() + 0x060) == 0;
    port.ExitProgramMode();
    port.SetOpen(false);
    return ok;
}

struct InProcess {
    InProcess() : link(radio, clock) {
        auto t = std::make_unique<SimulatedTransport>(link);
        transport = t.get();
        transport->SetRecording(false);
        port = std::make_unique<ProgrammingPort>(std::move(t), clock);
    }
    VirtualClock clock;
    SimulatedRadio radio;
    SimulatedLink link;
    SimulatedTransport* transport;
    std::unique_ptr<ProgrammingPort> port;
};

void BM_ReadTransferProgramCost(benchmark::State& state) {
    InProcess p;
    ImageBuffer image{};
    for (auto _ : state) {
        if (!ReadTransfer(*p.port, image)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(image);
    }
    state.counters["blocks"] = 64;
}
BENCHMARK(BM_ReadTransferProgramCost)->Unit(benchmark::kMillisecond);

void BM_WriteTransferProgramCost(benchmark::State& state) {
    InProcess p;
    ImageBuffer image{};
    image.fill(0x5A);
    for (auto _ : state) {
        if (!WriteTransfer(*p.port, image)) {
            state.SkipWithError("write failed");
            break;
        }
    }
    state.counters["blocks"] = 63;
}
BENCHMARK(BM_WriteTransferProgramCost)->Unit(benchmark::kMillisecond);

// The bytes a transfer puts on the wire both ways, counted in process.
std::uint64_t WireBytes(bool write) {
    InProcess p;
    ImageBuffer image{};
    if (write) WriteTransfer(*p.port, image);
    else ReadTransfer(*p.port, image);
    // Closing ends the session; the link keeps its counts until the next one.
    return p.link.BytesOut() + p.link.BytesIn();
}

void Paced(benchmark::State& state, bool write) {
    const auto dir = std::filesystem::temp_directory_path() / ("vrm-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    ::setenv("VRM650T_SIM_STATE", (dir / "radio.state").c_str(), 1);
    ::setenv("VRM650T_SIM_BAUD", std::to_string(kBaud).c_str(), 1);
    ::unsetenv("VRM650T_SIM_FAULTS");
    ProgrammingPort port(std::make_unique<LibraryTransport>(std::string(VRM_SIM_DIR) + "/libpipelink.so"),
                         SystemClock::Instance());
    ImageBuffer image{};
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = write ? WriteTransfer(port, image) : ReadTransfer(port, image);
        const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start);
        if (!ok) {
            state.SkipWithError("transfer failed");
            break;
        }
        state.SetIterationTime(took.count() / 1000.0);
        total += took.count();
    }
    const std::uint64_t bytes = WireBytes(write);
    const double wireMs = static_cast<double>(bytes) * 10.0 * 1000.0 / kBaud;
    const double expected = wireMs + (write ? kMandatedWriteMs : kMandatedReadMs);
    const double measured = total / static_cast<double>(state.iterations());
    state.counters["wire_bytes"] = static_cast<double>(bytes);
    state.counters["wire_plus_delays_ms"] = expected;
    state.counters["transfer_ms"] = measured;
    state.counters["over_percent"] = 100.0 * (measured - expected) / expected;
    ::unsetenv("VRM650T_SIM_BAUD");
    ::unsetenv("VRM650T_SIM_STATE");
    std::filesystem::remove_all(dir);
}

void BM_ReadTransferAt9600(benchmark::State& state) { Paced(state, false); }
void BM_WriteTransferAt9600(benchmark::State& state) { Paced(state, true); }
BENCHMARK(BM_ReadTransferAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTransferAt9600)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vrm
