// The simulated radio's answers to the test and tuning grammar: the test
// mode controls and the tuning points of the adjustment dialog.
#include <algorithm>

#include "core/link/protocol_bytes.h"
#include "sim/sim_log_text.h"
#include "sim/simulated_radio.h"

namespace vrm {

using namespace proto;

namespace {

constexpr std::uint8_t kSwitchCommands[] = {kTransmit, kTransmitPower, kMicMute, kCompander, kSineWave};

}  // namespace

SimulatedRadio::Parse SimulatedRadio::ParseTestCommand(std::vector<SimReply>& replies) {
    const std::uint8_t cmd = input_[0];
    const bool known = IsPoint(cmd) || cmd == kVolume || cmd == kTestChannel || cmd == kTestSignalling ||
                       cmd == kSquelchLevel || cmd == kBeatShift ||
                       std::find(std::begin(kSwitchCommands), std::end(kSwitchCommands), cmd) != std::end(kSwitchCommands);
    if (!known) return Parse::kNotMine;
    if (input_.size() < 2) return Parse::kNeedMore;
    const std::uint8_t op = input_[1];
    const auto listed = [](const std::vector<std::uint8_t>& list, std::uint8_t c) {
        return std::find(list.begin(), list.end(), c) != list.end();
    };
    if (listed(faults_.testNak, cmd) || (op == kOff && listed(faults_.offNak, cmd))) {
        // A refused command: its bytes are taken, nothing changes.
        const bool counted = op == kStepUpBy || op == kStepDownBy || op == kSetValue;
        if (counted && cmd != kTestChannel && cmd != kTestSignalling && cmd != kSquelchLevel && cmd != kBeatShift &&
            input_.size() < 3)
            return Parse::kNeedMore;
        const std::size_t length =
            counted && cmd != kTestChannel && cmd != kTestSignalling && cmd != kSquelchLevel && cmd != kBeatShift ? 3 : 2;
        Note(LogText("refused %02X %02X", cmd, op));
        Consume(length);
        ReplyByte(replies, kNak);
        return Parse::kTaken;
    }

    if (std::find(std::begin(kSwitchCommands), std::end(kSwitchCommands), cmd) != std::end(kSwitchCommands)) {
        Consume(2);
        if (op != kOn && op != kOff) {
            Note(LogText("switch %02X %02X", cmd, op));
            ReplyByte(replies, kNak);
            return Parse::kTaken;
        }
        switches_[cmd] = op == kOn;
        Note(LogText(op == kOn ? "switch %02X on" : "switch %02X off", cmd));
        ReplyByte(replies, kAck);
        return Parse::kTaken;
    }
    switch (cmd) {
        case kTestChannel:
            Consume(2);
            Note(LogText("test-channel %u", op));
            if (op >= kTestChannels) {
                ReplyByte(replies, kNak);
                return Parse::kTaken;
            }
            testChannel_ = op;
            {
                const auto* p = memory_.data() + kTestFrequencyArea.offset + 8u * op;
                Reply(replies, std::vector<std::uint8_t>(p, p + 8));
            }
            ExpectHandshake(kAck);
            return Parse::kTaken;
        case kTestSignalling:
            Consume(2);
            Note(LogText("signalling %u", op));
            signalling_ = op;
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        case kSquelchLevel:
            Consume(2);
            Note(LogText("squelch %u", op));
            if (op > kMaxSquelch) {
                ReplyByte(replies, kNak);
                return Parse::kTaken;
            }
            squelch_ = op;
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        case kBeatShift:
            Consume(2);
            Note(LogText("beat-shift %u", op));
            if (op > 1) {
                ReplyByte(replies, kNak);
                return Parse::kTaken;
            }
            beatShift_ = op;
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        case kVolume: {
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
                if (op == kSetValue) {
                    if (n > kMaxVolume) {
                        Note(LogText("volume set %u", static_cast<unsigned>(n)));
                        ReplyByte(replies, kNak);
                        return Parse::kTaken;
                    }
                    v = n;
                } else {
                    v += op == kStepUpBy ? n : -n;
                }
            } else {
                Consume(2);
                Note(LogText("volume %02X", op));
                ReplyByte(replies, kNak);
                return Parse::kTaken;
            }
            volume_ = static_cast<std::uint8_t>(std::clamp(v, 0, static_cast<int>(kMaxVolume)));
            Note(LogText("volume %u", volume_));
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        }
        default:
            return ParsePointCommand(replies);
    }
}

SimulatedRadio::Parse SimulatedRadio::ParsePointCommand(std::vector<SimReply>& replies) {
    const std::uint8_t cmd = input_[0];
    const std::uint8_t op = input_[1];
    auto w = pointWidths_.find(cmd);
    const std::size_t width = w != pointWidths_.end() ? static_cast<std::size_t>(w->second) : 1;
    const int maxValue = PointMax(cmd);
    int v = PointValue(cmd);

    switch (op) {
        case kOn:
        case kOff:
            Consume(2);
            if (op == kOn) activePoint_ = cmd;
            else if (activePoint_ == cmd) activePoint_ = -1;
            Note(LogText(op == kOn ? "point %02X on" : "point %02X off", cmd));
            ReplyByte(replies, kAck);
            return Parse::kTaken;
        case kQuery: {
            Consume(2);
            Note(LogText("point %02X query", cmd));
            // The volume-like item 3 answers one byte; the others two, high
            // byte first.
            if (cmd == 0x1E) Reply(replies, {static_cast<std::uint8_t>(v & 0xFF)});
            else Reply(replies, {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v & 0xFF)});
            ExpectHandshake(kAck);
            return Parse::kTaken;
        }
        case kStepUp:
        case kStepDown:
            Consume(2);
            v += op == kStepUp ? 1 : -1;
            break;
        case kStepUpBy:
        case kStepDownBy:
        case kSetValue: {
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
            break;
        }
        default:
            Consume(2);
            Note(LogText("point %02X %02X", cmd, op));
            ReplyByte(replies, kNak);
            return Parse::kTaken;
    }
    v = std::clamp(v, 0, maxValue);
    SetPointValue(cmd, static_cast<std::uint16_t>(v));
    Note(LogText("point %02X value %u", cmd, static_cast<unsigned>(v)));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

}  // namespace vrm
