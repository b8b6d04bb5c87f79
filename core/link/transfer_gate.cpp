#include "core/link/transfer_gate.h"

namespace vrm {

TransferGate::TransferGate()
    : TransferGate([] { return std::make_unique<ProgrammingPort>(); }) {}

TransferGate::TransferGate(PortMaker makePort) : makePort_(std::move(makePort)) {}

TransferGate::PortMaker TransferGate::OnCable(std::string cable) {
    if (cable.empty()) return [] { return std::make_unique<ProgrammingPort>(); };
    return [cable] {
        return std::make_unique<ProgrammingPort>(
            std::make_unique<LibraryTransport>(LibraryTransport::kDefaultName, cable), SystemClock::Instance());
    };
}

std::unique_ptr<TransferGate::Claim> TransferGate::Begin() {
    if (running_ != nullptr) return nullptr;
    std::unique_ptr<ProgrammingPort> port = makePort_();
    if (!port) return nullptr;
    port->SetScrambling(scrambling_);
    return std::unique_ptr<Claim>(new Claim(*this, std::move(port)));
}

void TransferGate::StopRunning(int signal) {
    if (running_ != nullptr) running_->Stop(signal);
}

TransferGate::Claim::Claim(TransferGate& gate, std::unique_ptr<ProgrammingPort> port)
    : gate_(gate), stop_(gate.session_), port_(std::move(port)) {
    port_->SetStopFlag(&stop_);
    gate_.running_ = this;
}

TransferGate::Claim::~Claim() {
    port_.reset();  // closes the port when the transfer left it open
    gate_.running_ = nullptr;
}

}  // namespace vrm
