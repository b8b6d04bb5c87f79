// One radio transfer at a time, each on a port of its own.
//
// The desktop program's menus run one transfer at a time: a command that
// finds the gate busy does nothing. A transfer claims the gate for its whole
// length (test mode: from its start-up until the radio leaves tuning mode);
// the claim carries the transfer's own port, made fresh for it, and the
// port's stop flag. The flag follows the program's session flag, so that
// both the user's Cancel (on the claim) and the session-end signals (on the
// session flag) reach the thread that runs the transfer. The port is closed
// and destroyed when the claim ends.
//
// Begin, StopRunning, the claim's end and Busy belong to the thread that
// runs the menus; a claim's Stop may be called from any thread.
#pragma once

#include <csignal>
#include <functional>
#include <memory>

#include "core/link/programming_port.h"
#include "core/link/stop_flag.h"

namespace vrm {

class TransferGate {
public:
    using PortMaker = std::function<std::unique_ptr<ProgrammingPort>()>;

    // Ports on libpipelink.so by name and the system clock.
    TransferGate();
    // Ports from `makePort` (tests, other transports).
    explicit TransferGate(PortMaker makePort);
    // Ports on one chosen cable (its port path or serial number) of
    // libpipelink.so; an empty `cable` is the first cable found, as the
    // default ports have it.
    static PortMaker OnCable(std::string cable);
    TransferGate(const TransferGate&) = delete;
    TransferGate& operator=(const TransferGate&) = delete;

    // Off when the program was started with "noencryption".
    void SetScrambling(bool enabled) { scrambling_ = enabled; }
    // The program's session flag every claim's stop flag follows (null: none).
    void SetSessionFlag(const StopFlag* flag) { session_ = flag; }

    class Claim {
    public:
        ~Claim();
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;

        ProgrammingPort& Port() { return *port_; }
        // Asks the transfer to stop at its next step; `signal` names why
        // (SIGINT: the user).
        void Stop(int signal = SIGINT) { stop_.Set(signal); }
        bool StopAsked() const { return stop_.Value() != 0; }

    private:
        friend class TransferGate;
        Claim(TransferGate& gate, std::unique_ptr<ProgrammingPort> port);

        TransferGate& gate_;
        StopFlag stop_;
        std::unique_ptr<ProgrammingPort> port_;
    };

    // Claims the gate for one transfer; null while another transfer holds it
    // (or no port could be made).
    std::unique_ptr<Claim> Begin();
    bool Busy() const { return running_ != nullptr; }
    // Asks the running transfer (if any) to stop at its next step.
    void StopRunning(int signal = SIGINT);

private:
    PortMaker makePort_;
    bool scrambling_ = true;
    const StopFlag* session_ = nullptr;
    Claim* running_ = nullptr;
};

}  // namespace vrm
