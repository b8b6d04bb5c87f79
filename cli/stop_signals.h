// Ctrl+C, SIGTERM and SIGHUP while a radio command runs. The first of them
// only asks the running transfer to stop: the port then fails the next step,
// and the transfer ends as a failed one does (a write abandoned with the
// abort byte, program mode left, the user told what the radio holds). A
// second signal ends the process at once, as the signal would have without
// us.
#pragma once

#include <csignal>

namespace vrm {
class StopFlag;
class TransferGate;
}

namespace vrm::cli {

struct Context;

class StopSignals {
public:
    // Installs the handlers; every port `transfers` hands out heeds them.
    explicit StopSignals(TransferGate& transfers);
    // Puts the handlers that were there before back.
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal that asked for the stop; 0 when none came.
    static int Received();
    // The flag the handlers set, for work that runs outside the gate's ports.
    static const StopFlag* Flag();
    // The exit status for a stopped command: 128 + the signal.
    static int ExitStatus() { return 128 + Received(); }

private:
    struct sigaction previous_[3];
};

// A radio command's exit status: `status`, or, when a signal stopped the
// command, 128 + the signal after a line that names it.
int FinishStopped(Context& ctx, int status);

}  // namespace vrm::cli
