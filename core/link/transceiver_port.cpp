#include "core/link/transceiver_port.h"

#include <array>
#include <cstring>

namespace vrm {

TransceiverPort::TransceiverPort()
    : TransceiverPort(std::make_unique<LibraryTransport>(), SystemClock::Instance()) {}

TransceiverPort::TransceiverPort(std::unique_ptr<Transport> transport, Clock& clock)
    : transport_(std::move(transport)),
      inputBuffer_(inputBufferSize_),
      outputBuffer_(outputBufferSize_),
      clock_(&clock) {
    (void)reserved_;
}

TransceiverPort::~TransceiverPort() {
    // Transfers close the port; a port destroyed open still releases the
    // cable so that the next program run finds it free.
    if (IsOpen()) SetOpen(false);
}

bool TransceiverPort::SetOpen(bool open) {
    if ((openState_ != 0) == open) return true;
    if (open) {
        if (!transport_->Load()) {
            openError_ = LinkError::kLibraryMissing;
            return false;
        }
        (void)transport_->Init();
        const std::optional<int> code = transport_->LastError();
        openError_ = code ? LinkErrorFromCode(*code) : LinkError::kNone;
        openState_ = 1;
        stoppedExchange_ = false;
        sentSinceOpen_ = 0;
        return true;
    }
    if (transport_->IsLoaded()) {
        (void)transport_->Delete();
        transport_->Unload();
    }
    openState_ = 0;
    return true;
}

bool TransceiverPort::SetTimeout(std::uint32_t ms) {
    timeoutMs_ = ms;
    if (IsOpen() && transport_->IsLoaded()) (void)transport_->TimeOutSet(ms);
    return true;
}

LinkError TransceiverPort::CurrentLinkError() {
    if (StopRequested()) return LinkError::kInterrupted;
    if (!IsOpen() || !transport_->IsLoaded()) return openError_;
    const std::optional<int> code = transport_->LastError();
    return code ? LinkErrorFromCode(*code) : openError_;
}

bool TransceiverPort::SendByte(std::uint8_t b) {
    if (Stopped()) return false;
    const std::optional<int> r = transport_->Send(&b, 1);
    return Sent(r && *r != 0);
}

bool TransceiverPort::SendString(std::string_view text) {
    if (Stopped()) return false;
    // The text goes out without a terminator.
    std::vector<std::uint8_t> buffer(text.size() + 1, 0);
    std::memcpy(buffer.data(), text.data(), text.size());
    const std::optional<int> r = transport_->Send(buffer.data(), static_cast<std::uint32_t>(text.size()));
    return Sent(r && *r != 0);
}

bool TransceiverPort::SendBuffer(const std::uint8_t* bytes, std::uint16_t length) {
    if (Stopped()) return false;
    const std::optional<int> r = transport_->Send(bytes, length);
    return Sent(r && *r != 0);
}

int TransceiverPort::ReadOnce(std::uint8_t* staging) {
    std::uint32_t count = 0;
    const std::optional<int> r = transport_->Recv(staging, &count);
    // Only an exact 1 counts, and a library that claims more than one USB
    // read can hold is not believed.
    if (!r || *r != 1 || count == 0 || count > kUsbReadSize) return -1;
    return static_cast<int>(count);
}

bool TransceiverPort::Receive(std::uint8_t* out, std::uint16_t length) {
    // The library writes a whole USB read; never let it write into the
    // caller's buffer, which may be as short as one byte.
    if (Stopped()) return false;
    std::array<std::uint8_t, kUsbReadSize + 1> staging{};
    const int count = ReadOnce(staging.data());
    if (count < 0 || static_cast<std::size_t>(count) < length) return false;
    std::memcpy(out, staging.data(), length);
    return true;
}

ScrambledPort::ScrambledPort() : TransceiverPort() { ClearKey(); }

ScrambledPort::ScrambledPort(std::unique_ptr<Transport> transport, Clock& clock)
    : TransceiverPort(std::move(transport), clock) {
    ClearKey();
}

bool ScrambledPort::SendByte(std::uint8_t b) {
    return TransceiverPort::SendByte(static_cast<std::uint8_t>(b ^ key_));
}

bool ScrambledPort::SendString(std::string_view text) {
    std::string scrambled(text);
    for (char& c : scrambled) c = static_cast<char>(static_cast<std::uint8_t>(c) ^ key_);
    return TransceiverPort::SendString(scrambled);
}

bool ScrambledPort::SendBuffer(const std::uint8_t* bytes, std::uint16_t length) {
    std::vector<std::uint8_t> scrambled(static_cast<std::size_t>(length) + 1, 0);
    for (std::size_t i = 0; i < length; ++i) scrambled[i] = static_cast<std::uint8_t>(bytes[i] ^ key_);
    return TransceiverPort::SendBuffer(scrambled.data(), length);
}

bool ScrambledPort::Receive(std::uint8_t* out, std::uint16_t length) {
    if (Stopped()) return false;
    std::array<std::uint8_t, kUsbReadSize + 1> staging{};
    const int count = ReadOnce(staging.data());
    if (count < 0 || static_cast<std::size_t>(count) < length) return false;
    for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<std::uint8_t>(staging[i] ^ key_);
    return true;
}

}  // namespace vrm
