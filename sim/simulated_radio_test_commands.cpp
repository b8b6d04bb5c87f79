// The simulated radio's answers to the test and tuning grammar: the test
// mode controls and the tuning points of the adjustment dialog.
#include <algorithm>
#include <optional>

#include "core/link/protocol_bytes.h"
#include "sim/sim_log_text.h"
#include "sim/simulated_radio.h"

namespace vrm {

using namespace proto;

const SimulatedRadio::TestCommand* SimulatedRadio::FindTestCommand(std::uint8_t command) {
    static constexpr TestCommand kCommands[] = {
        {kTransmit, true, &SimulatedRadio::SetSwitch},
        {kTransmitPower, true, &SimulatedRadio::SetSwitch},
        {kMicMute, true, &SimulatedRadio::SetSwitch},
        {kCompander, true, &SimulatedRadio::SetSwitch},
        {kSineWave, true, &SimulatedRadio::SetSwitch},
        {kTestChannel, false, &SimulatedRadio::SelectTestChannel},
        {kTestSignalling, false, &SimulatedRadio::SetSignalling},
        {kSquelchLevel, false, &SimulatedRadio::SetSquelch},
        {kBeatShift, false, &SimulatedRadio::SetBeatShift},
        {kVolume, true, &SimulatedRadio::AdjustVolume},
    };
    // Every tuning point shares one handler.
    static constexpr TestCommand kPoint = {0, true, &SimulatedRadio::ParsePointCommand};
    for (const TestCommand& c : kCommands)
        if (c.command == command) return &c;
    return IsPoint(command) ? &kPoint : nullptr;
}

SimulatedRadio::Parse SimulatedRadio::ParseTestCommand(Replies& replies) {
    const TestCommand* command = FindTestCommand(input_[0]);
    if (!command) return Parse::kNotMine;
    if (input_.size() < 2) return Parse::kNeedMore;
    if (const auto refused = FaultRefusal(*command)) return *refused;
    return (this->*command->handler)(replies);
}

// A command that a fault refuses: its bytes are taken, nothing changes.
std::optional<SimulatedRadio::Parse> SimulatedRadio::FaultRefusal(const TestCommand& command) {
    const std::uint8_t cmd = input_[0], op = input_[1];
    const auto listed = [](const std::vector<std::uint8_t>& list, std::uint8_t c) {
        return std::find(list.begin(), list.end(), c) != list.end();
    };
    if (!listed(faults_.testNak, cmd) && !(op == kOff && listed(faults_.offNak, cmd))) return std::nullopt;
    const bool withValue = command.takesValue && (op == kStepUpBy || op == kStepDownBy || op == kSetValue);
    if (withValue && input_.size() < 3) return Parse::kNeedMore;
    Note(LogText("refused %02X %02X", cmd, op));
    Consume(withValue ? 3 : 2);
    return Parse::kRefused;
}

SimulatedRadio::Parse SimulatedRadio::SetSwitch(Replies& replies) {
    const std::uint8_t cmd = input_[0], op = input_[1];
    Consume(2);
    if (op != kOn && op != kOff) {
        Note(LogText("switch %02X %02X", cmd, op));
        return Parse::kRefused;
    }
    switches_[cmd] = op == kOn;
    Note(LogText(op == kOn ? "switch %02X on" : "switch %02X off", cmd));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SelectTestChannel(Replies& replies) {
    const std::uint8_t op = input_[1];
    Consume(2);
    Note(LogText("test-channel %u", op));
    if (op >= kTestChannels) return Parse::kRefused;
    testChannel_ = op;
    const auto* p = memory_.data() + kTestFrequencyArea.offset + 8u * op;
    Reply(replies, std::vector<std::uint8_t>(p, p + 8));
    ExpectHandshake(kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SetSignalling(Replies& replies) {
    const std::uint8_t op = input_[1];
    Consume(2);
    Note(LogText("signalling %u", op));
    signalling_ = op;
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SetSquelch(Replies& replies) {
    const std::uint8_t op = input_[1];
    Consume(2);
    Note(LogText("squelch %u", op));
    if (op > kMaxSquelch) return Parse::kRefused;
    squelch_ = op;
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SetBeatShift(Replies& replies) {
    const std::uint8_t op = input_[1];
    Consume(2);
    Note(LogText("beat-shift %u", op));
    if (op > 1) return Parse::kRefused;
    beatShift_ = op;
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::AdjustVolume(Replies& replies) {
    const std::uint8_t op = input_[1];
    int v = volume_;
    if (op == kQuery) {
        Consume(2);
        Note("volume query");
        Reply(replies, {volume_});
        ExpectHandshake(kAck);
        return Parse::kTaken;
    }
    if (op == kStepUp || op == kStepDown) {
        Consume(2);
        v += op == kStepUp ? 1 : -1;
    } else if (op == kStepUpBy || op == kStepDownBy || op == kSetValue) {
        if (input_.size() < 3) return Parse::kNeedMore;
        const int n = input_[2];
        Consume(3);
        if (op == kSetValue && n > kMaxVolume) {
            Note(LogText("volume set %u", static_cast<unsigned>(n)));
            return Parse::kRefused;
        }
        v = op == kSetValue ? n : v + (op == kStepUpBy ? n : -n);
    } else {
        Consume(2);
        Note(LogText("volume %02X", op));
        return Parse::kRefused;
    }
    volume_ = static_cast<std::uint8_t>(std::clamp(v, 0, static_cast<int>(kMaxVolume)));
    Note(LogText("volume %u", volume_));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SwitchPoint(Replies& replies) {
    const std::uint8_t cmd = input_[0], op = input_[1];
    Consume(2);
    if (op == kOn) activePoint_ = cmd;
    else if (activePoint_ == cmd) activePoint_ = -1;
    Note(LogText(op == kOn ? "point %02X on" : "point %02X off", cmd));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::QueryPoint(Replies& replies) {
    const std::uint8_t cmd = input_[0];
    const std::uint16_t v = PointValue(cmd);
    Consume(2);
    Note(LogText("point %02X query", cmd));
    // The volume-like item 3 answers one byte; the others two, high byte
    // first.
    if (cmd == 0x1E) Reply(replies, {static_cast<std::uint8_t>(v & 0xFF)});
    else Reply(replies, {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v & 0xFF)});
    ExpectHandshake(kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::ParsePointCommand(Replies& replies) {
    const std::uint8_t cmd = input_[0];
    const std::uint8_t op = input_[1];
    if (op == kOn || op == kOff) return SwitchPoint(replies);
    if (op == kQuery) return QueryPoint(replies);
    auto w = pointWidths_.find(cmd);
    const std::size_t width = w != pointWidths_.end() ? static_cast<std::size_t>(w->second) : 1;
    int v = PointValue(cmd);
    if (op == kStepUp || op == kStepDown) {
        Consume(2);
        v += op == kStepUp ? 1 : -1;
    } else if (op == kStepUpBy || op == kStepDownBy || op == kSetValue) {
        if (input_.size() < 2 + width) return Parse::kNeedMore;
        const int n = width == 2 ? (input_[2] << 8) | input_[3] : input_[2];
        Consume(2 + width);
        if (op == kSetValue) {
            Note(LogText("point %02X set %u", cmd, static_cast<unsigned>(n)));
            SetPointValue(cmd, static_cast<std::uint16_t>(n));
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        }
        v += op == kStepUpBy ? n : -n;
    } else {
        Consume(2);
        Note(LogText("point %02X %02X", cmd, op));
        return Parse::kRefused;
    }
    v = std::clamp(v, 0, PointMax(cmd));
    SetPointValue(cmd, static_cast<std::uint16_t>(v));
    Note(LogText("point %02X value %u", cmd, static_cast<unsigned>(v)));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

}  // namespace vrm
