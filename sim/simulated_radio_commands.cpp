// The simulated radio's commands of both programming modes, one handler per
// command byte: identification, leaving the mode, the information reads, the
// reference store and restore, and the block reads and writes.
#include <algorithm>
#include <cstring>

#include "core/link/protocol_bytes.h"
#include "sim/sim_log_text.h"
#include "sim/simulated_radio.h"

namespace vrm {

using namespace proto;

SimulatedRadio::CommandHandler SimulatedRadio::ModeCommand(std::uint8_t command) {
    struct Entry {
        std::uint8_t command;
        CommandHandler handler;
    };
    static constexpr Entry kCommands[] = {
        {kIdentify, &SimulatedRadio::Identify},
        {kExit, &SimulatedRadio::LeaveMode},
        {kAbortWrite, &SimulatedRadio::LeaveMode},
        {kVersionRead, &SimulatedRadio::SendVersion},
        {kBootVersionRead, &SimulatedRadio::SendBootVersion},
        {kReferenceRead, &SimulatedRadio::SendReference},
        {kChecksumRead, &SimulatedRadio::SendChecksum},
        {kWordRead, &SimulatedRadio::SendVcoWord},
        {kTuningRead, &SimulatedRadio::SendTuning},
        {kSettingRead, &SimulatedRadio::SendSetting},
        {kInfoBlock0, &SimulatedRadio::SendInformation},
        {kStatusQuery, &SimulatedRadio::ReportReferenceStatus},
        {kComma, &SimulatedRadio::TakeComma},
        {kBandPassFilter, &SimulatedRadio::RunBandPassFilter},
        {static_cast<std::uint8_t>(kStoreReferenceText[0]), &SimulatedRadio::StoreOrRestoreReference},
        {kReadBlock, &SimulatedRadio::ReadBlock},
        {kWriteBlock, &SimulatedRadio::WriteBlock},
        {kWriteTuningBlock, &SimulatedRadio::WriteTuningBlock},
    };
    for (const Entry& e : kCommands)
        if (e.command == command) return e.handler;
    return nullptr;
}

void SimulatedRadio::ReplyForHandshake(Replies& replies, const char* note, std::vector<std::uint8_t> plain) {
    Consume(1);
    Note(note);
    Reply(replies, std::move(plain));
    ExpectHandshake(kAck);
}

SimulatedRadio::Parse SimulatedRadio::Identify(Replies& replies) {
    Consume(1);
    Note("identify");
    std::vector<std::uint8_t> block(identification_.begin(), identification_.end());
    if (faults_.identity) std::copy(faults_.identity->begin(), faults_.identity->end(), block.begin());
    if (faults_.modelName) std::copy(faults_.modelName->begin(), faults_.modelName->end(), block.begin());
    if (faults_.identifyLength >= 0) block.resize(static_cast<std::size_t>(faults_.identifyLength));
    Reply(replies, std::move(block));
    awaitingKey_ = true;
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::LeaveMode(Replies& replies) {
    const std::uint8_t cmd = input_[0];
    Consume(1);
    Note(cmd == kExit ? "exit" : "abort");
    ReplyByte(replies, kAck);
    mode_ = Mode::kNormal;
    key_ = 0;
    switches_.clear();
    activePoint_ = -1;
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendVersion(Replies& replies) {
    ReplyForHandshake(replies, "version", {version_.begin(), version_.end()});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendBootVersion(Replies& replies) {
    ReplyForHandshake(replies, "boot-version", {bootVersion_.begin(), bootVersion_.end()});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendReference(Replies& replies) {
    const auto* p = memory_.data() + kBandPointArea.offset;
    ReplyForHandshake(replies, "reference", {p, p + kReferenceSize});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendChecksum(Replies& replies) {
    const std::uint16_t cs = Checksum();
    ReplyForHandshake(replies, "checksum", {static_cast<std::uint8_t>(cs >> 8), static_cast<std::uint8_t>(cs & 0xFF)});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendVcoWord(Replies& replies) {
    ReplyForHandshake(replies, "word",
                      {static_cast<std::uint8_t>(vcoWord_ >> 8), static_cast<std::uint8_t>(vcoWord_ & 0xFF)});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendTuning(Replies& replies) {
    ReplyForHandshake(replies, "tuning-read", {tuning_.begin(), tuning_.end()});
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendSetting(Replies& replies) {
    if (activePoint_ < 0) {
        Consume(1);
        Note("setting-read");
        return Parse::kRefused;
    }
    ReplyForHandshake(replies, "setting-read", ActiveItemValues());
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::SendInformation(Replies& replies) {
    if (input_.size() < 3) return Parse::kNeedMore;
    if (input_[1] != kInfoBlock1 || input_[2] != kInfoBlock2) {
        // A "U" that does not start "URK" is refused alone; what follows it
        // is the next command.
        Consume(1);
        Note("unknown 55");
        return Parse::kRefused;
    }
    Consume(3);
    Note("information");
    std::vector<std::uint8_t> block;
    block.push_back(faults_.infoBadHeader ? 0x54 : kInfoBlock0);
    unsigned sum = 0;
    for (std::uint8_t b : information_) {
        block.push_back(b);
        sum += b;
    }
    block.push_back(static_cast<std::uint8_t>((sum + (faults_.infoBadChecksum ? 1 : 0)) & 0xFF));
    Reply(replies, std::move(block));
    ExpectHandshake(kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::ReportReferenceStatus(Replies& replies) {
    Consume(1);
    Note("status");
    ReplyByte(replies, referenceStored_ ? kAck : kNak);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::TakeComma(Replies& replies) {
    if (input_.size() < 2) return Parse::kNeedMore;
    const std::uint8_t arg = input_[1];
    Consume(2);
    Note(LogText("comma %02X", arg));
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::RunBandPassFilter(Replies& replies) {
    Consume(1);
    Note("band-pass");
    Reply(replies, {kAck}, 300);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::StoreOrRestoreReference(Replies& replies) {
    if (input_.size() < 4) return Parse::kNeedMore;
    const bool store = std::memcmp(input_.data(), kStoreReferenceText, 4) == 0;
    const bool restore = std::memcmp(input_.data(), kRestoreReferenceText, 4) == 0;
    Consume(4);
    if (!store && !restore) return Parse::kRefused;
    Note(store ? "store-reference" : "restore-reference");
    if (restore && !referenceStored_) return Parse::kRefused;
    if (store) {
        referenceTuning_ = tuning_;
        referenceStored_ = true;
    } else {
        tuning_ = referenceTuning_;
    }
    TouchStored();
    // The radio reports that it is busy, then that it is done.
    Reply(replies, {'.'}, 200);
    Reply(replies, {kAck}, 400);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::ReadBlock(Replies& replies) {
    if (input_.size() < 4) return Parse::kNeedMore;
    const unsigned address = (input_[1] << 8) | input_[2];
    const unsigned length = input_[3];
    Consume(4);
    Note(LogText("read 0x%03X %u", address, length));
    if (mode_ != Mode::kProgram) return Parse::kRefused;
    if (faults_.readSilentBlock >= 0 && address / 16 >= static_cast<unsigned>(faults_.readSilentBlock)) {
        silent_ = true;
        Note("silent");
        return Parse::kTaken;
    }
    if (address + length > kImageSize || length + 1 > 127) return Parse::kRefused;
    std::vector<std::uint8_t> reply;
    reply.push_back(kReadBlock);
    reply.insert(reply.end(), memory_.begin() + address, memory_.begin() + address + length);
    Reply(replies, std::move(reply));
    ExpectHandshake(kAck);
    return Parse::kTaken;
}

std::optional<SimulatedRadio::WritePacket> SimulatedRadio::TakeWritePacket() {
    if (input_.size() < 4) return std::nullopt;
    const unsigned length = input_[3];
    if (input_.size() < 4 + length) return std::nullopt;
    WritePacket packet{static_cast<unsigned>((input_[1] << 8) | input_[2]),
                       std::vector<std::uint8_t>(input_.begin() + 4, input_.begin() + 4 + length)};
    Consume(4 + length);
    return packet;
}

SimulatedRadio::Parse SimulatedRadio::WriteTuningBlock(Replies& replies) {
    const auto packet = TakeWritePacket();
    if (!packet) return Parse::kNeedMore;
    const unsigned address = packet->address, length = static_cast<unsigned>(packet->data.size());
    Note(LogText("tuning-write %u %u", address, length));
    if (address + length > kTuningSize) return Parse::kRefused;
    std::copy(packet->data.begin(), packet->data.end(), tuning_.begin() + address);
    TouchStored();
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

SimulatedRadio::Parse SimulatedRadio::WriteBlock(Replies& replies) {
    const auto packet = TakeWritePacket();
    if (!packet) return Parse::kNeedMore;
    const unsigned address = packet->address, length = static_cast<unsigned>(packet->data.size());
    Note(LogText("write 0x%03X %u", address, length));
    if (mode_ != Mode::kProgram) return Parse::kRefused;
    const unsigned block = address / 16;
    if (faults_.writeSilentBlock >= 0 && block >= static_cast<unsigned>(faults_.writeSilentBlock)) {
        silent_ = true;
        Note("silent");
        return Parse::kTaken;
    }
    if (faults_.writeNakBlock >= 0 && block == static_cast<unsigned>(faults_.writeNakBlock)) return Parse::kRefused;
    if (address + length > kImageSize) return Parse::kRefused;
    if (faults_.writeLostBlock >= 0 && block == static_cast<unsigned>(faults_.writeLostBlock)) {
        Note("lost");
        ReplyByte(replies, kAck);
        return Parse::kTaken;
    }
    std::copy(packet->data.begin(), packet->data.end(), memory_.begin() + address);
    TouchStored();
    ReplyByte(replies, kAck);
    return Parse::kTaken;
}

}  // namespace vrm
