#include "core/link/programming_port.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace vrm {

using namespace proto;

namespace {
constexpr std::uint32_t kProgramReplyMs = 100;
constexpr std::uint32_t kProgramModeMs = 1100;
constexpr std::uint32_t kTuningReplyMs = 1000;
constexpr std::uint32_t kTuningModeMs = 550;
constexpr std::uint32_t kIdentifyDelayMs = 50;
constexpr std::uint32_t kWriteReplyMs = 3000;
constexpr std::uint32_t kVersionDelayMs = 600;
constexpr std::uint32_t kReferenceDelayMs = 200;
constexpr std::uint32_t kChecksumReplyMs = 4000;
constexpr std::uint32_t kChecksumDelayMs = 1000;
constexpr std::uint32_t kTuningReadDelayMs = 200;
constexpr std::uint32_t kCommaReplyMs = 2000;
constexpr std::uint32_t kCommaDelayMs = 250;
constexpr std::uint32_t kReferenceWaitMs = 3000;
constexpr std::uint32_t kBandPassWaitMs = 2000;
constexpr std::uint32_t kTransmitOnMs = 800;
constexpr std::uint32_t kTransmitOffMs = 2600;
constexpr std::uint32_t kWideSetReplyMs = 3000;
constexpr std::size_t kKeyMaterialFirst = 32;
constexpr std::size_t kKeyMaterialEnd = 44;

std::uint8_t Hi(std::uint16_t v) { return static_cast<std::uint8_t>(v >> 8); }
std::uint8_t Lo(std::uint16_t v) { return static_cast<std::uint8_t>(v & 0xFF); }
}  // namespace

ProgrammingPort::ProgrammingPort() : ScrambledPort() {}

ProgrammingPort::ProgrammingPort(std::unique_ptr<Transport> transport, Clock& clock, bool scrambling)
    : ScrambledPort(std::move(transport), clock), scrambling_(scrambling) {}

int ProgrammingPort::ExpectAck(bool nakAccepted) {
    std::uint8_t reply = 0;
    if (!Receive(&reply, 1)) return 1;
    return reply == kAck || (nakAccepted && reply == kNak) ? 0 : 1;
}

int ProgrammingPort::Handshake(bool nakAccepted) {
    if (!SendByte(kAck)) return 1;
    return ExpectAck(nakAccepted);
}

// ---------------------------------------------------------------------------
// Mode entry and exit

int ProgrammingPort::EnterMode(std::string_view text, std::uint32_t replyTimeoutMs, std::uint32_t modeTimeoutMs) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    ClearKey();
    const std::uint32_t saved = Timeout();
    PumpOneMessage();
    const bool sent = SendString(text);
    PumpOneMessage();
    if (!sent) {
        SetTimeout(saved);
        return 1;
    }
    SetTimeout(replyTimeoutMs);
    if (ExpectAck() != 0) {
        SetTimeout(saved);
        return 1;
    }
    SetTimeout(modeTimeoutMs);
    return 0;
}

int ProgrammingPort::EnterProgramMode() { return EnterMode(kProgramText, kProgramReplyMs, kProgramModeMs); }

int ProgrammingPort::EnterTuningMode() { return EnterMode(kTuningText, kTuningReplyMs, kTuningModeMs); }

int ProgrammingPort::Identify(ModelIdentity& identity) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    Delay(kIdentifyDelayMs);
    if (!SendByte(kIdentify)) return 1;
    if (!Receive(identification_.data(), static_cast<std::uint16_t>(identification_.size()))) return 1;
    std::copy_n(identification_.begin(), identity.size(), identity.begin());

    unsigned sum = 0;
    for (std::size_t i = kKeyMaterialFirst; i < kKeyMaterialEnd; ++i) sum += identification_[i];
    const auto s = static_cast<std::uint8_t>(sum & 0xFF);
    std::uint8_t b = s;
    if (scrambling_) {
        const LocalMinuteSecond t = GetClock().LocalTime();
        b = static_cast<std::uint8_t>((t.minute + t.second) & 0xFF);
    }
    // The key is still 0 here, so b travels plain.
    const std::uint8_t keyExchange[2] = {b, kAck};
    if (!SendBuffer(keyExchange, 2)) return 1;
    if (ExpectAck() != 0) return 1;
    ApplyKey(static_cast<std::uint8_t>(b ^ s));
    return 0;
}

int ProgrammingPort::ExitProgramModeOnce() {
    // A stop that came before anything of this session reached the radio
    // leaves it as it was: there is no program mode to leave.
    if (StopRequested() && SentSinceOpen() == 0) return 0;
    ClosingStep closing(*this);
    if (!SendByte(kExit)) return 1;
    return ExpectAck();
}

int ProgrammingPort::ExitProgramMode() {
    if (ExitProgramModeOnce() == 0) return 0;
    return ExitProgramModeOnce();
}

int ProgrammingPort::AbortWrite() {
    if (StopRequested() && SentSinceOpen() == 0) return 0;
    ClosingStep closing(*this);
    if (!SendByte(kAbortWrite)) return 1;
    return ExpectAck();
}

// ---------------------------------------------------------------------------
// Radio data image

int ProgrammingPort::ReadBlock(std::uint16_t address, std::uint8_t length, std::uint8_t* destination) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t command[4] = {kReadBlock, Hi(address), Lo(address), length};
    if (!SendBuffer(command, 4)) return 1;
    const auto replyLength = static_cast<std::uint16_t>(length + 1);
    std::vector<std::uint8_t> reply(replyLength);
    if (!Receive(reply.data(), replyLength)) return 1;
    std::memcpy(destination, reply.data() + 1, length);
    return Handshake();
}

int ProgrammingPort::WriteBlockAs(std::uint8_t commandByte, std::uint16_t address, std::uint8_t length,
                                  const std::uint8_t* source) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t command[4] = {commandByte, Hi(address), Lo(address), length};
    if (!SendBuffer(command, 4)) return 1;
    if (!SendBuffer(source, length)) return 1;
    const std::uint32_t saved = Timeout();
    SetTimeout(kWriteReplyMs);
    std::uint8_t reply = 0;
    const bool answered = Receive(&reply, 1);
    SetTimeout(saved);
    if (!answered) return 1;
    return reply == kAck ? 0 : (commandByte == kWriteBlock ? 2 : 1);
}

int ProgrammingPort::WriteBlock(std::uint16_t address, std::uint8_t length, const std::uint8_t* source) {
    return WriteBlockAs(kWriteBlock, address, length, source);
}

int ProgrammingPort::WriteTuningBlock(std::uint16_t address, std::uint8_t length, const std::uint8_t* source) {
    return WriteBlockAs(kWriteTuningBlock, address, length, source);
}

// ---------------------------------------------------------------------------
// Radio information

int ProgrammingPort::SimpleRead(std::uint8_t command, std::uint8_t* out, std::uint16_t length,
                                std::uint32_t delayMs, bool nakAccepted) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    if (!SendByte(command)) return 1;
    if (delayMs) Delay(delayMs);
    if (!Receive(out, length)) return 1;
    return Handshake(nakAccepted);
}

int ProgrammingPort::ReadVersion(std::array<std::uint8_t, kVersionSize>& out) {
    return SimpleRead(kVersionRead, out.data(), kVersionSize, kVersionDelayMs, false);
}

int ProgrammingPort::ReadBootVersion(std::array<std::uint8_t, kBootVersionSize>& out) {
    return SimpleRead(kBootVersionRead, out.data(), kBootVersionSize, 0, false);
}

int ProgrammingPort::ReadReferenceValues(std::array<std::uint8_t, kReferenceSize>& out) {
    return SimpleRead(kReferenceRead, out.data(), kReferenceSize, kReferenceDelayMs, true);
}

int ProgrammingPort::ReadChecksum(std::array<std::uint8_t, 2>& out) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    if (!SendByte(kChecksumRead)) return 1;
    const std::uint32_t saved = Timeout();
    SetTimeout(kChecksumReplyMs);
    Delay(kChecksumDelayMs);
    const bool got = Receive(out.data(), 2);
    SetTimeout(saved);
    if (!got) return 1;
    return Handshake();
}

int ProgrammingPort::ReadWord(std::array<std::uint8_t, 2>& out) {
    return SimpleRead(kWordRead, out.data(), 2, 0, false);
}

int ProgrammingPort::ReadTuningData(std::uint8_t* out, std::uint8_t length) {
    return SimpleRead(kTuningRead, out, length, kTuningReadDelayMs, false);
}

int ProgrammingPort::ReadSetting(std::uint8_t* out, std::uint8_t length) {
    return SimpleRead(kSettingRead, out, length, 0, false);
}

int ProgrammingPort::ReadSettingSwapped(std::uint8_t* out, std::uint8_t length) {
    const int result = ReadSetting(out, length);
    if (result != 0) return result;
    for (std::size_t i = 0; i + 1 < length; i += 2) std::swap(out[i], out[i + 1]);
    return 0;
}

int ProgrammingPort::ReadInformationBlock(std::array<std::uint8_t, kInfoBlockSize>& out) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t command[3] = {kInfoBlock0, kInfoBlock1, kInfoBlock2};
    if (!SendBuffer(command, 3)) return 1;
    std::uint8_t reply[kInfoBlockSize + 2];
    if (!Receive(reply, sizeof reply)) return 1;
    if (Handshake() != 0) return 1;
    if (reply[0] != kInfoBlock0) return 1;
    unsigned sum = 0;
    for (std::size_t i = 1; i <= kInfoBlockSize; ++i) sum += reply[i];
    if (static_cast<std::uint8_t>(sum & 0xFF) != reply[kInfoBlockSize + 1]) return 1;
    std::memcpy(out.data(), reply + 1, kInfoBlockSize);
    return 0;
}

int ProgrammingPort::QueryStatus() {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    if (!SendByte(kStatusQuery)) return 1;
    std::uint8_t reply = 0;
    if (!Receive(&reply, 1)) return 1;
    if (reply == kAck) return 0;
    if (reply == kNak) return 2;
    return 1;
}

int ProgrammingPort::CommaCommand(std::uint8_t argument) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint32_t saved = Timeout();
    SetTimeout(kCommaReplyMs);
    const std::uint8_t command[2] = {kComma, argument};
    const bool sent = SendBuffer(command, 2);
    Delay(kCommaDelayMs);
    std::uint8_t reply = 0;
    const bool got = Receive(&reply, 1);
    SetTimeout(saved);
    return sent && got && reply == kAck ? 0 : 1;
}

// ---------------------------------------------------------------------------
// Handshake waits

int ProgrammingPort::HandshakeWait(const std::uint8_t* command, std::uint16_t length, std::uint32_t limitMs) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint32_t saved = Timeout();
    const bool sent = length == 1 ? SendByte(command[0]) : SendBuffer(command, length);
    if (!sent) return 1;
    SetTimeout(limitMs);
    PumpOneMessage();
    Clock& clock = GetClock();
    const Clock::TimePoint start = clock.Now();
    const auto limit = Clock::Milliseconds(limitMs);
    std::uint8_t reply = 0;
    bool got = Receive(&reply, 1);
    while (got && reply != kAck && clock.Now() - start <= limit) got = Receive(&reply, 1);
    PumpOneMessage();
    SetTimeout(saved);
    return got && reply == kAck ? 0 : 1;
}

int ProgrammingPort::StoreReferenceTuning() {
    return HandshakeWait(reinterpret_cast<const std::uint8_t*>(kStoreReferenceText), 4, kReferenceWaitMs);
}

int ProgrammingPort::RestoreReferenceTuning() {
    return HandshakeWait(reinterpret_cast<const std::uint8_t*>(kRestoreReferenceText), 4, kReferenceWaitMs);
}

int ProgrammingPort::BandPassFilter() {
    const std::uint8_t command = kBandPassFilter;
    return HandshakeWait(&command, 1, kBandPassWaitMs);
}

// ---------------------------------------------------------------------------
// Test and tuning grammar

int ProgrammingPort::SwitchCommand(std::uint8_t command, bool on, SwitchForm form) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t op = on ? kOn : kOff;
    if (form == SwitchForm::kOneBuffer) {
        const std::uint8_t bytes[2] = {command, op};
        if (!SendBuffer(bytes, 2)) return 1;
    } else {
        if (!SendByte(command) || !SendByte(op)) return 1;
    }
    return ExpectAck();
}

int ProgrammingPort::TransmitSwitch(bool on) {
    std::optional<ClosingStep> closing;
    if (!on) closing.emplace(*this);  // the transmitter always goes off
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint32_t saved = Timeout();
    SetTimeout(on ? kTransmitOnMs : kTransmitOffMs);
    const int result = SwitchCommand(kTransmit, on, SwitchForm::kOneBuffer);
    SetTimeout(saved);
    return result;
}

int ProgrammingPort::ValueCommand(std::uint8_t command, std::uint8_t value, bool nakAccepted) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t bytes[2] = {command, value};
    if (!SendBuffer(bytes, 2)) return 1;
    return ExpectAck(nakAccepted);
}

int ProgrammingPort::SelectTestChannel(std::uint8_t channel, std::array<std::uint8_t, kTestChannelReplySize>& out) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t bytes[2] = {kTestChannel, channel};
    if (!SendBuffer(bytes, 2)) return 1;
    if (!Receive(out.data(), kTestChannelReplySize)) return 1;
    return Handshake(true);
}

int ProgrammingPort::SetCommand(std::uint8_t command, std::uint8_t value) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t bytes[3] = {command, kSetValue, value};
    if (!SendBuffer(bytes, 3)) return 1;
    return ExpectAck();
}

int ProgrammingPort::WideSetCommand(std::uint8_t command, std::uint16_t value) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    if (!SendByte(command) || !SendByte(kSetValue)) return 1;
    const std::uint8_t bytes[2] = {Hi(value), Lo(value)};
    if (!SendBuffer(bytes, 2)) return 1;
    const std::uint32_t saved = Timeout();
    SetTimeout(kWideSetReplyMs);
    const int result = ExpectAck();
    SetTimeout(saved);
    return result;
}

int ProgrammingPort::StepCommand(std::uint8_t command, int delta, StepForm form) {
    if (delta == 0) return 0;
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const unsigned magnitude = static_cast<unsigned>(std::abs(delta));
    if (magnitude > 0xFF) return 1;
    std::uint8_t bytes[3] = {command, 0, 0};
    std::uint16_t length = 2;
    if (delta == 1) {
        bytes[1] = kStepUp;
    } else if (delta == -1) {
        bytes[1] = kStepDown;
    } else {
        bytes[1] = delta > 0 ? kStepUpBy : kStepDownBy;
        bytes[2] = static_cast<std::uint8_t>(magnitude);
        length = 3;
    }
    if (form == StepForm::kOneBuffer) {
        if (!SendBuffer(bytes, length)) return 1;
    } else {
        for (std::uint16_t i = 0; i < length; ++i)
            if (!SendByte(bytes[i])) return 1;
    }
    return ExpectAck();
}

int ProgrammingPort::WideStepCommand(std::uint8_t command, int delta) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    if (delta >= -1 && delta <= 1) return StepCommand(command, delta);
    const unsigned magnitude = static_cast<unsigned>(std::abs(delta));
    if (magnitude > 0xFFFF) return 1;
    if (!SendByte(command) || !SendByte(delta > 0 ? kStepUpBy : kStepDownBy)) return 1;
    const auto m = static_cast<std::uint16_t>(magnitude);
    const std::uint8_t bytes[2] = {Hi(m), Lo(m)};
    if (!SendBuffer(bytes, 2)) return 1;
    return ExpectAck();
}

int ProgrammingPort::QueryCommand(std::uint8_t command, std::uint8_t& value) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t bytes[2] = {command, kQuery};
    if (!SendBuffer(bytes, 2)) return 1;
    std::uint8_t reply = 0;
    if (!Receive(&reply, 1)) return 1;
    value = reply;
    return Handshake();
}

int ProgrammingPort::WideQueryCommand(std::uint8_t command, std::array<std::uint8_t, 2>& value) {
    const Exchange exchange(*this);
    if (exchange.Refused()) return 1;
    const std::uint8_t bytes[2] = {command, kQuery};
    if (!SendBuffer(bytes, 2)) return 1;
    if (!Receive(value.data(), 2)) return 1;
    return Handshake(true);
}

}  // namespace vrm
