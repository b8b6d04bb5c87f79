// The port: the one object through which the program talks to a radio.
//
// TransceiverPort binds the transport library at run time (through a
// Transport: by default libpipelink.so, loaded by name at every SetOpen(true)
// and unloaded at SetOpen(false)), sends bytes, texts and buffers and receives
// fixed-length replies with an adjustable timeout. ScrambledPort XORs every
// byte on the link with the one-byte link key. ProgrammingPort
// (programming_port.h) adds the programming protocol.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "core/base/clock.h"
#include "core/link/link_error.h"
#include "core/link/stop_flag.h"
#include "core/link/transfer_observer.h"
#include "core/link/transport.h"

namespace vrm {

class TransceiverPort {
public:
    static constexpr std::uint16_t kBufferSize = 512;
    static constexpr std::uint32_t kInitialTimeoutMs = 1000;

    // The program's port: libpipelink.so by name, on the system clock.
    TransceiverPort();
    // A port on another transport or clock (tests, the simulated radio).
    TransceiverPort(std::unique_ptr<Transport> transport, Clock& clock);
    virtual ~TransceiverPort();
    TransceiverPort(const TransceiverPort&) = delete;
    TransceiverPort& operator=(const TransceiverPort&) = delete;

    // Raw link operations; false when the library is not loaded, the export
    // is missing or the transport fails.
    virtual bool SendByte(std::uint8_t b);
    virtual bool SendString(std::string_view text);
    virtual bool SendBuffer(const std::uint8_t* bytes, std::uint16_t length);
    // One USB read; success only when it delivers at least `length` bytes
    // (the rest of that read is dropped). On failure `out` is unchanged.
    virtual bool Receive(std::uint8_t* out, std::uint16_t length);

    // Opening loads the library and initialises the cable; it fails only when
    // the library cannot be loaded. Closing deinitialises and unloads it.
    bool SetOpen(bool open);
    bool IsOpen() const { return openState_ != 0; }
    // Stores the receive timeout and, while open, hands it to the library.
    bool SetTimeout(std::uint32_t ms);
    std::uint32_t Timeout() const { return timeoutMs_; }
    std::uint8_t PortNumber() const { return portNumber_; }

    // Waits at least `ms` milliseconds on the port's clock.
    void Delay(std::uint32_t ms) { clock_->Delay(ms); }
    // Lets the front end handle one pending event (repaint) between steps.
    void PumpOneMessage() {
        if (observer_) observer_->PumpOneMessage();
    }
    void SetObserver(TransferObserver* observer) { observer_ = observer; }
    TransferObserver* Observer() const { return observer_; }
    Clock& GetClock() { return *clock_; }
    Transport& GetTransport() { return *transport_; }

    // Why the last SetOpen(true) did not reach a usable cable (kNone when it
    // did, kLibraryMissing when the library could not be loaded).
    LinkError OpenError() const { return openError_; }
    // The library's current view (e.g. kDisconnected after the cable was
    // pulled); the open error when the port is closed; kInterrupted once a
    // stop has been requested.
    LinkError CurrentLinkError();

    // Ending a transfer early and cleanly. The flag is set from outside (a
    // signal handler, or the user's Cancel from another thread) to the
    // number of the signal that asked for the stop.
    // A stop never cuts an exchange of the protocol in half: an exchange that
    // has begun (a command with its reply and handshake, a block with its
    // acknowledgement, the identification with its key exchange) runs to its
    // end, so that the radio waits for its next command; the next exchange is
    // refused before anything of it is sent, and the running transfer takes
    // its failure path. The steps that leave the radio in a known state
    // (abandoning a write, leaving program mode, switching the transmitter
    // off) run inside a ClosingStep and still go out.
    void SetStopFlag(const StopFlag* flag) { stopFlag_ = flag; }
    bool StopRequested() const { return StopValue() != 0; }
    // The flag's value: the signal that asked for the stop (0: none).
    int StopValue() const { return stopFlag_ != nullptr ? stopFlag_->Value() : 0; }
    // True once a stop has refused an exchange since the port was opened:
    // the transfer failed because it was stopped, not because of the radio.
    bool StoppedAnExchange() const { return stoppedExchange_; }
    // Sends that reached the transport since the port was opened.
    std::uint32_t SentSinceOpen() const { return sentSinceOpen_; }

    class ClosingStep {
    public:
        explicit ClosingStep(TransceiverPort& port) : port_(port) { ++port_.closing_; }
        ~ClosingStep() { --port_.closing_; }
        ClosingStep(const ClosingStep&) = delete;
        ClosingStep& operator=(const ClosingStep&) = delete;

    private:
        TransceiverPort& port_;
    };

    // One exchange of the protocol. Refused() when a stop came before it
    // began; inside it, sends and receives are not refused.
    class Exchange {
    public:
        explicit Exchange(TransceiverPort& port)
            : port_(port), refused_(port.exchange_ == 0 && port.closing_ == 0 && port.StopRequested()) {
            if (refused_) port_.stoppedExchange_ = true;
            ++port_.exchange_;
        }
        ~Exchange() { --port_.exchange_; }
        Exchange(const Exchange&) = delete;
        Exchange& operator=(const Exchange&) = delete;
        bool Refused() const { return refused_; }

    private:
        TransceiverPort& port_;
        bool refused_;
    };

protected:
    // True when a stop request keeps a send or receive made outside any
    // exchange from going out.
    bool Stopped() const { return closing_ == 0 && exchange_ == 0 && StopRequested(); }
    // Counts a send that reached the transport.
    bool Sent(bool ok) {
        if (ok) ++sentSinceOpen_;
        return ok;
    }
    // One USB read into `staging` (kUsbReadSize bytes); the count it
    // delivered, or -1 when the read failed.
    int ReadOnce(std::uint8_t* staging);

private:
    // Fields in the order of the original port object.
    std::unique_ptr<Transport> transport_;  // holds the library handle
    std::int32_t openState_ = 0;
    std::uint8_t portNumber_ = 1;
    std::uint16_t inputBufferSize_ = kBufferSize;
    std::uint16_t outputBufferSize_ = kBufferSize;
    std::vector<std::uint8_t> inputBuffer_;   // allocated, never used by the link
    std::vector<std::uint8_t> outputBuffer_;  // allocated, never used by the link
    std::uint32_t timeoutMs_ = kInitialTimeoutMs;
    std::int32_t reserved_ = 0;

    Clock* clock_;
    TransferObserver* observer_ = nullptr;
    LinkError openError_ = LinkError::kNone;
    const StopFlag* stopFlag_ = nullptr;
    int closing_ = 0;
    int exchange_ = 0;
    bool stoppedExchange_ = false;
    std::uint32_t sentSinceOpen_ = 0;
};

class ScrambledPort : public TransceiverPort {
public:
    ScrambledPort();
    ScrambledPort(std::unique_ptr<Transport> transport, Clock& clock);

    // XOR with the link key, then raw.
    bool SendByte(std::uint8_t b) override;
    bool SendString(std::string_view text) override;
    bool SendBuffer(const std::uint8_t* bytes, std::uint16_t length) override;
    // Raw, then XOR with the link key.
    bool Receive(std::uint8_t* out, std::uint16_t length) override;

    virtual void ClearKey() { ApplyKey(0); }
    virtual void ApplyKey(std::uint8_t key) { key_ = key; }
    std::uint8_t Key() const { return key_; }

private:
    std::uint8_t key_ = 0;
};

}  // namespace vrm
