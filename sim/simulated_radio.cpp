#include "sim/simulated_radio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

#include "core/link/protocol_bytes.h"
#include "sim/sim_log_text.h"

namespace vrm {

using namespace proto;

namespace {

// The default identity: the 16-channel HRV-41A, market 5, band 1.
constexpr ModelIdentity kDefaultIdentity = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF,
                                            0xFB, 0xFF, 0x05, 0x01, 0xFF, 0xFF, 0xFF, 0xFF};

// Identification bytes 32-43, whose sum enters the link key.
constexpr std::uint8_t kKeyMaterial[12] = {0x4B, 0x37, 0x91, 0x0C, 0x5E, 0xA3,
                                           0x28, 0x71, 0xD4, 0x19, 0x66, 0xB2};

constexpr std::uint8_t kDefaultTuning[SimulatedRadio::kTuningSize] = {32, 32, 32, 40, 40, 40, 64,
                                                                      64, 64, 128, 100, 100, 100, 90};
constexpr std::uint16_t kDefaultPointValue = 0x80;

// The tuning items' command bytes by position.
constexpr std::uint8_t kItems[4][4] = {
    {0x12, 0x30, 0x31, 0x32}, {0x14, 0x60, 0x61, 0x62}, {0x17, 0x24, 0x25, 0x26}, {0x1E, 0x1E, 0x1E, 0x1E}};

// The tuning byte a point adjusts, as in a radio: positions 0-2 of items 0-2
// are the Low, Center and High points of transmit power high (tuning bytes
// 0-2), transmit power low (3-5) and maximum deviation (6-8); item 3 is the
// reference frequency (byte 9). A point holds no more than its byte's range.
// Position 3 adjusts no tuning byte.
struct TiedByte {
    std::size_t offset;
    int max;
};

std::optional<TiedByte> TuningByteOf(std::uint8_t command) {
    constexpr int kItemMax[3] = {63, 63, 127};
    for (std::size_t item = 0; item < 3; ++item)
        for (std::size_t position = 0; position < 3; ++position)
            if (kItems[item][position] == command) return TiedByte{3 * item + position, kItemMax[item]};
    if (command == kItems[3][0]) return TiedByte{9, 255};
    return std::nullopt;
}

// A frequency in 10 Hz units as the radio stores it: eight BCD digits, the
// least significant pair first.
std::array<std::uint8_t, 4> FrequencyBytes(std::uint32_t tenHz) {
    std::array<std::uint8_t, 4> b{};
    for (int i = 0; i < 4; ++i) {
        const unsigned pair = tenHz % 100;
        tenHz /= 100;
        b[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(((pair / 10) << 4) | (pair % 10));
    }
    return b;
}

void PutPair(ImageBuffer& memory, std::size_t offset, std::uint32_t f0, std::uint32_t f1) {
    const auto a = FrequencyBytes(f0), b = FrequencyBytes(f1);
    std::copy(a.begin(), a.end(), memory.begin() + static_cast<long>(offset));
    std::copy(b.begin(), b.end(), memory.begin() + static_cast<long>(offset + 4));
}

void PutText(std::uint8_t* out, std::size_t size, const std::string& text) {
    std::memset(out, 0xFF, size);
    std::memcpy(out, text.data(), std::min(size, text.size()));
}

}  // namespace

void SimulatedRadio::ResetToDefaults() {
    memory_.fill(0xFF);
    identification_.fill(0xFF);
    std::copy(std::begin(kKeyMaterial), std::end(kKeyMaterial), identification_.begin() + 32);
    SetIdentity(kDefaultIdentity);

    // Test frequencies 0-5 and the three band points, as a new radio of band
    // 440-480 MHz carries them (in 10 Hz units).
    const std::uint32_t pairs[6][2] = {{46005000, 46010000}, {44005000, 44010000}, {47995000, 47990000},
                                       {46000000, 46000000}, {46020000, 46020000}, {46040000, 46040000}};
    for (std::size_t p = 0; p < 6; ++p) PutPair(memory_, kTestFrequencyArea.offset + 8 * p, pairs[p][0], pairs[p][1]);
    const std::uint32_t points[3][2] = {{44005000, 44010000}, {46005000, 46010000}, {47995000, 47990000}};
    for (std::size_t p = 0; p < 3; ++p) PutPair(memory_, kBandPointArea.offset + 8 * p, points[p][0], points[p][1]);

    information_.fill(0xFF);
    SetModelName("HRV-41A");
    SetModelCode("K");
    SetSerialNumber("00000001");
    PutText(version_.data(), version_.size(), "V1.10.00");
    PutText(bootVersion_.data(), bootVersion_.size(), "B1.02.00");
    std::copy(std::begin(kDefaultTuning), std::end(kDefaultTuning), tuning_.begin());
    referenceTuning_ = tuning_;
    referenceStored_ = true;
    volume_ = kDefaultVolume;
    vcoWord_ = 25;
    checksumOverride_.reset();
    extraPoints_.clear();
    pointWidths_.clear();
    log_.clear();
    changed_ = true;
}

ModelIdentity SimulatedRadio::Identity() const {
    ModelIdentity id{};
    std::copy_n(identification_.begin(), id.size(), id.begin());
    return id;
}

void SimulatedRadio::SetIdentity(const ModelIdentity& identity) {
    std::copy(identity.begin(), identity.end(), identification_.begin());
    std::copy(identity.begin(), identity.end(), memory_.begin());
    Touch();
}

void SimulatedRadio::SetModelName(const std::string& text) {
    PutText(information_.data(), 12, text);
    Touch();
}

void SimulatedRadio::SetModelCode(const std::string& text) {
    PutText(information_.data() + 12, 4, text);
    Touch();
}

void SimulatedRadio::SetSerialNumber(const std::string& text) {
    PutText(information_.data() + 16, 12, text);
    Touch();
}

std::uint16_t SimulatedRadio::Checksum() const {
    if (checksumOverride_) return *checksumOverride_;
    unsigned sum = 0;
    for (std::uint8_t b : memory_) sum += b;
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

bool SimulatedRadio::IsPoint(std::uint8_t command) {
    for (const auto& item : kItems)
        for (std::uint8_t c : item)
            if (c == command) return true;
    return false;
}

bool SimulatedRadio::AdjustsTuningByte(std::uint8_t command) { return TuningByteOf(command).has_value(); }

std::uint16_t SimulatedRadio::PointValue(std::uint8_t command) const {
    if (const auto tied = TuningByteOf(command)) return tuning_[tied->offset];
    auto it = extraPoints_.find(command);
    return it == extraPoints_.end() ? kDefaultPointValue : it->second;
}

int SimulatedRadio::PointMax(std::uint8_t command) const {
    if (const auto tied = TuningByteOf(command)) return tied->max;
    auto w = pointWidths_.find(command);
    return w != pointWidths_.end() && w->second == 2 ? 0xFFFF : 0xFF;
}

void SimulatedRadio::SetPointValue(std::uint8_t command, std::uint16_t value) {
    if (const auto tied = TuningByteOf(command))
        tuning_[tied->offset] = static_cast<std::uint8_t>(std::min<int>(value, tied->max));
    else extraPoints_[command] = value;
    Touch();
}

void SimulatedRadio::SetPointWidth(std::uint8_t command, int bytes) { pointWidths_[command] = bytes == 2 ? 2 : 1; }

void SimulatedRadio::AppendLog(std::string line) {
    if (log_.size() >= kLogLimit) log_.erase(log_.begin(), log_.begin() + kLogLimit / 10);
    log_.push_back(std::move(line));
    Touch();
}

void SimulatedRadio::Note(std::string line) { AppendLog(std::move(line)); }

std::uint8_t SimulatedRadio::KeyMaterialSum() const {
    unsigned sum = 0;
    for (std::size_t i = 32; i < 44; ++i) sum += identification_[i];
    return static_cast<std::uint8_t>(sum & 0xFF);
}

void SimulatedRadio::StartSession(const SimFaults& faults) {
    faults_ = faults;
    mode_ = Mode::kNormal;
    key_ = 0;
    awaitingKey_ = false;
    handshake_.reset();
    silent_ = false;
    input_.clear();
    switches_.clear();
    squelch_ = 0;
    testChannel_ = 0;
    signalling_ = 0;
    beatShift_ = 0;
    activePoint_ = -1;
}

void SimulatedRadio::Reply(std::vector<SimReply>& replies, std::vector<std::uint8_t> plain, std::uint32_t delayMs) {
    for (std::uint8_t& b : plain) b = static_cast<std::uint8_t>(b ^ key_);
    replies.push_back({std::move(plain), delayMs});
}

void SimulatedRadio::Consume(std::size_t n) {
    input_.erase(input_.begin(), input_.begin() + static_cast<long>(std::min(n, input_.size())));
}

std::vector<SimReply> SimulatedRadio::Receive(const std::uint8_t* wire, std::size_t length) {
    std::vector<SimReply> replies;
    std::vector<std::uint8_t> heard;
    for (std::size_t i = 0; i < length; ++i) {
        // Each byte is unscrambled with the key in force when it arrives.
        const auto b = static_cast<std::uint8_t>(wire[i] ^ key_);
        if (silent_) {
            // A radio that stopped answering: what reached it is noted, not done.
            heard.push_back(b);
            continue;
        }
        input_.push_back(b);
        while (!input_.empty() && ParseOne(replies)) {
        }
    }
    if (!heard.empty()) Note("heard " + HexBytes(heard.data(), heard.size()));
    return replies;
}

bool SimulatedRadio::ParseModeEntry(std::vector<SimReply>& replies) {
    const std::size_t n = std::min<std::size_t>(input_.size(), 7);
    const bool program = std::memcmp(input_.data(), kProgramText, n) == 0;
    const bool tuning = std::memcmp(input_.data(), kTuningText, n) == 0;
    if (!program && !tuning) {
        Consume(1);  // a radio in normal mode ignores anything else
        return true;
    }
    if (input_.size() < 7) return false;
    Consume(7);
    Note(program ? "program" : "tuning");
    if (faults_.programSilent) return true;
    if (faults_.programNak) {
        ReplyByte(replies, kNak);
        return true;
    }
    mode_ = program ? Mode::kProgram : Mode::kTuning;
    key_ = 0;
    awaitingKey_ = false;
    handshake_.reset();
    ReplyByte(replies, kAck);
    return true;
}

bool SimulatedRadio::ParseLinkKey(Replies& replies) {
    if (input_.size() < 2) return false;
    const std::uint8_t b = input_[0], ack = input_[1];
    Consume(2);
    awaitingKey_ = false;
    if (ack != kAck) {
        Note("key refused");
        ReplyByte(replies, kNak);
        return true;
    }
    ReplyByte(replies, kAck);  // still with the old key
    key_ = static_cast<std::uint8_t>(b ^ KeyMaterialSum());
    Note(LogText("key %02X", key_));
    return true;
}

bool SimulatedRadio::TakeHandshake(Replies& replies) {
    if (!handshake_) return false;
    const std::uint8_t finalByte = *handshake_;
    handshake_.reset();
    // Anything but ACK abandons the handshake and is a new command.
    if (input_[0] != kAck) return false;
    Consume(1);
    ReplyByte(replies, finalByte);
    return true;
}

bool SimulatedRadio::ParseCommand(Replies& replies) {
    const std::uint8_t cmd = input_[0];
    Parse result = Parse::kNotMine;
    if (const CommandHandler handler = ModeCommand(cmd)) result = (this->*handler)(replies);
    else if (mode_ == Mode::kTuning) result = ParseTestCommand(replies);
    switch (result) {
        case Parse::kTaken:
            return true;
        case Parse::kNeedMore:
            return false;
        case Parse::kRefused:
            // A known command that the radio refuses (wrong mode, out of
            // range, malformed): its bytes are taken.
            ReplyByte(replies, kNak);
            return true;
        case Parse::kNotMine:
            break;
    }
    Consume(1);
    Note(LogText("unknown %02X", cmd));
    ReplyByte(replies, kNak);
    return true;
}

bool SimulatedRadio::ParseOne(Replies& replies) {
    if (silent_) {
        input_.clear();
        return false;
    }
    if (mode_ == Mode::kNormal) return ParseModeEntry(replies);
    if (awaitingKey_) return ParseLinkKey(replies);
    if (TakeHandshake(replies)) return true;
    return ParseCommand(replies);
}

std::vector<std::uint8_t> SimulatedRadio::ActiveItemValues() const {
    std::vector<std::uint8_t> values;
    for (const auto& item : kItems) {
        if (std::find(std::begin(item), std::end(item), activePoint_) == std::end(item)) continue;
        const std::size_t positions = item[0] == item[3] ? 1 : 4;
        for (std::size_t i = 0; i < positions; ++i) {
            const std::uint16_t v = PointValue(item[i]);
            values.push_back(static_cast<std::uint8_t>(v & 0xFF));
            auto w = pointWidths_.find(item[i]);
            if (w != pointWidths_.end() && w->second == 2) values.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        break;
    }
    return values;
}

}  // namespace vrm
