#include "cli/stop_signals.h"

#include <cstring>

#include "cli/cli.h"
#include "core/link/transfer_gate.h"
#include "core/base/text_ids.h"

namespace vrm::cli {

namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};

StopFlag stopSignal;

extern "C" void OnStopSignal(int signal) {
    if (stopSignal.Value() != 0) {
        // The second one: what the signal does without us, now.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    stopSignal.Set(signal);
}

}  // namespace

StopSignals::StopSignals(TransferGate& transfers) {
    stopSignal.Clear();
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for the user's answer on the terminal returns,
    // so that a stop between two radios is not held up by it.
    action.sa_flags = 0;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
    transfers.SetSessionFlag(&stopSignal);
}

StopSignals::~StopSignals() {
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
}

int StopSignals::Received() { return stopSignal.Value(); }

const StopFlag* StopSignals::Flag() { return &stopSignal; }

int FinishStopped(Context& ctx, int status) {
    if (StopSignals::Received() == 0) return status;
    ctx.err << Format(ctx, tid::kCliInterrupted, {sigabbrev_np(StopSignals::Received())}) << "\n";
    return StopSignals::ExitStatus();
}

}  // namespace vrm::cli
