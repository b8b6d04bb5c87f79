// The radio's side of the programming protocol, byte for byte: mode entry,
// identification and the link key, block reads and writes of its 1024-byte
// configuration memory, the information reads, and the test-mode and tuning
// commands. It knows nothing of time or USB: bytes go in as they arrive on
// the wire, replies come out as the packets the radio sends back (one USB
// read each), already scrambled with the link key. SimulatedLink adds the
// timing; the drop-in libpipelink.so and SimulatedTransport put it behind the
// transport interface.
//
// It records what it was asked, one text line per command (Log()), so that
// tests can check the order of a write, the abort, the ','-command and so on.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/model/radio_image.h"
#include "sim/sim_faults.h"

namespace vrm {

struct SimReply {
    std::vector<std::uint8_t> bytes;  // as they go on the wire
    std::uint32_t delayMs = 0;        // the radio's own processing time before it
};

class SimulatedRadio {
public:
    static constexpr std::size_t kIdentificationSize = 48;
    static constexpr std::size_t kInformationSize = 32;
    static constexpr std::size_t kVersionSize = 12;
    static constexpr std::size_t kBootVersionSize = 8;
    static constexpr std::size_t kTuningSize = 14;
    static constexpr std::size_t kLogLimit = 5000;
    static constexpr std::uint8_t kDefaultVolume = 3;
    static constexpr std::uint8_t kMaxVolume = 7;
    static constexpr std::uint8_t kMaxSquelch = 9;
    static constexpr std::uint8_t kTestChannels = 8;

    enum class Mode { kNormal, kProgram, kTuning };

    SimulatedRadio() { ResetToDefaults(); }

    // A fresh radio of the default model: memory blank except its identity
    // and the default test frequencies and band points.
    void ResetToDefaults();

    // --- What the radio keeps (saved in the state file) ----------------------
    ImageBuffer& Memory() { return memory_; }
    const ImageBuffer& Memory() const { return memory_; }
    std::array<std::uint8_t, kIdentificationSize>& Identification() { return identification_; }
    const std::array<std::uint8_t, kIdentificationSize>& Identification() const { return identification_; }
    std::array<std::uint8_t, kInformationSize>& Information() { return information_; }
    const std::array<std::uint8_t, kInformationSize>& Information() const { return information_; }
    std::array<std::uint8_t, kVersionSize>& Version() { return version_; }
    const std::array<std::uint8_t, kVersionSize>& Version() const { return version_; }
    std::array<std::uint8_t, kBootVersionSize>& BootVersion() { return bootVersion_; }
    const std::array<std::uint8_t, kBootVersionSize>& BootVersion() const { return bootVersion_; }
    std::array<std::uint8_t, kTuningSize>& Tuning() { return tuning_; }
    const std::array<std::uint8_t, kTuningSize>& Tuning() const { return tuning_; }
    std::array<std::uint8_t, kTuningSize>& ReferenceTuning() { return referenceTuning_; }
    const std::array<std::uint8_t, kTuningSize>& ReferenceTuning() const { return referenceTuning_; }
    bool ReferenceStored() const { return referenceStored_; }
    void SetReferenceStored(bool stored) { referenceStored_ = stored; }
    std::uint8_t Volume() const { return volume_; }
    void SetVolume(std::uint8_t v) { volume_ = v > kMaxVolume ? kMaxVolume : v; }
    std::uint16_t VcoWord() const { return vcoWord_; }
    void SetVcoWord(std::uint16_t v) { vcoWord_ = v; }
    // The checksum the radio reports: the 16-bit sum of its memory, unless a
    // fixed value was set.
    std::uint16_t Checksum() const;
    std::optional<std::uint16_t> ChecksumOverride() const { return checksumOverride_; }
    void SetChecksumOverride(std::optional<std::uint16_t> v) { checksumOverride_ = v; }

    // Identification bytes 0-15 and memory bytes 0-15.
    ModelIdentity Identity() const;
    void SetIdentity(const ModelIdentity& identity);
    // The information block's texts (0xFF-padded): model name (12 bytes),
    // model code (4), serial number (12).
    void SetModelName(const std::string& text);
    void SetModelCode(const std::string& text);
    void SetSerialNumber(const std::string& text);

    // Tuning points: the command bytes of the tuning items. A point that
    // adjusts a tuning byte (positions 0-2 of items 0-2, and item 3) reads
    // and sets that byte of Tuning(), within the byte's range (0-63, 0-127,
    // 0-255), so Test Mode and Tuning Data show the same value; the others
    // are kept here.
    static bool IsPoint(std::uint8_t command);
    static bool AdjustsTuningByte(std::uint8_t command);
    std::uint16_t PointValue(std::uint8_t command) const;
    // The highest value the point holds.
    int PointMax(std::uint8_t command) const;
    // A value above the point's range is stored as its highest.
    void SetPointValue(std::uint8_t command, std::uint16_t value);
    const std::map<std::uint8_t, std::uint16_t>& ExtraPoints() const { return extraPoints_; }
    // A point that takes two-byte values (wide set and wide step).
    void SetPointWidth(std::uint8_t command, int bytes);

    // --- One session (from the cable's initialisation to its release) --------
    // The radio is back in normal mode with key 0, waiting for a mode entry.
    void StartSession(const SimFaults& faults = {});
    // Bytes from the program as they arrive; the packets the radio answers.
    std::vector<SimReply> Receive(const std::uint8_t* wire, std::size_t length);

    Mode CurrentMode() const { return mode_; }
    std::uint8_t LinkKey() const { return key_; }
    bool Transmitting() const { return switches_.count(0x08) && switches_.at(0x08); }
    bool SwitchState(std::uint8_t command) const {
        auto it = switches_.find(command);
        return it != switches_.end() && it->second;
    }
    std::uint8_t Squelch() const { return squelch_; }
    std::uint8_t TestChannel() const { return testChannel_; }
    std::uint8_t Signalling() const { return signalling_; }
    int ActivePoint() const { return activePoint_; }

    // --- What it was asked ---------------------------------------------------
    const std::vector<std::string>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }
    void AppendLog(std::string line);
    // True once after anything that the state file keeps has changed.
    bool TakeChanged() {
        const bool c = changed_;
        changed_ = false;
        return c;
    }
    // True once after a block of its memory or tuning was written over the
    // link: what a crash right after must not lose.
    bool TakeStored() {
        const bool c = stored_;
        stored_ = false;
        return c;
    }

private:
    using Replies = std::vector<SimReply>;
    // What a command handler made of the front of the input: the command was
    // answered; more bytes are needed; the radio refuses it (its bytes are
    // taken, the caller answers NAK); the byte is no command the handler knows.
    enum class Parse { kTaken, kNeedMore, kRefused, kNotMine };
    using CommandHandler = Parse (SimulatedRadio::*)(Replies&);

    // Tries to take one command from the front of the decoded input; false
    // when more bytes are needed.
    bool ParseOne(Replies& replies);
    bool ParseModeEntry(Replies& replies);
    bool ParseLinkKey(Replies& replies);
    bool TakeHandshake(Replies& replies);
    bool ParseCommand(Replies& replies);

    // The commands of both programming modes, looked up by command byte
    // (simulated_radio_commands.cpp); nullptr for any other byte.
    static CommandHandler ModeCommand(std::uint8_t command);
    Parse Identify(Replies& replies);
    Parse LeaveMode(Replies& replies);
    Parse SendVersion(Replies& replies);
    Parse SendBootVersion(Replies& replies);
    Parse SendReference(Replies& replies);
    Parse SendChecksum(Replies& replies);
    Parse SendVcoWord(Replies& replies);
    Parse SendTuning(Replies& replies);
    Parse SendSetting(Replies& replies);
    Parse SendInformation(Replies& replies);
    Parse ReportReferenceStatus(Replies& replies);
    Parse TakeComma(Replies& replies);
    Parse RunBandPassFilter(Replies& replies);
    Parse StoreOrRestoreReference(Replies& replies);
    Parse ReadBlock(Replies& replies);
    Parse WriteBlock(Replies& replies);
    Parse WriteTuningBlock(Replies& replies);
    // A fixed reply that the program acknowledges with a handshake.
    void ReplyForHandshake(Replies& replies, const char* note, std::vector<std::uint8_t> plain);
    struct WritePacket {
        unsigned address;
        std::vector<std::uint8_t> data;
    };
    // Takes a write packet (command, address, length, data) from the input;
    // nothing while it is incomplete.
    std::optional<WritePacket> TakeWritePacket();
    // The values of every position of the switched-on tuning point's item.
    std::vector<std::uint8_t> ActiveItemValues() const;

    // The test and tuning grammar of tuning mode, looked up by command byte
    // (simulated_radio_test_commands.cpp).
    struct TestCommand {
        std::uint8_t command;
        // Whether the step-by and set operations carry a value byte.
        bool takesValue;
        CommandHandler handler;
    };
    static const TestCommand* FindTestCommand(std::uint8_t command);
    Parse ParseTestCommand(Replies& replies);
    std::optional<Parse> FaultRefusal(const TestCommand& command);
    Parse SetSwitch(Replies& replies);
    Parse SelectTestChannel(Replies& replies);
    Parse SetSignalling(Replies& replies);
    Parse SetSquelch(Replies& replies);
    Parse SetBeatShift(Replies& replies);
    Parse AdjustVolume(Replies& replies);
    Parse ParsePointCommand(Replies& replies);
    Parse SwitchPoint(Replies& replies);
    Parse QueryPoint(Replies& replies);
    void Reply(std::vector<SimReply>& replies, std::vector<std::uint8_t> plain, std::uint32_t delayMs = 0);
    void ReplyByte(std::vector<SimReply>& replies, std::uint8_t b) { Reply(replies, {b}); }
    void ExpectHandshake(std::uint8_t finalByte) { handshake_ = finalByte; }
    void Consume(std::size_t n);
    void Note(std::string line);
    void Touch() { changed_ = true; }
    void TouchStored() { changed_ = stored_ = true; }
    std::uint8_t KeyMaterialSum() const;

    // kept
    ImageBuffer memory_{};
    std::array<std::uint8_t, kIdentificationSize> identification_{};
    std::array<std::uint8_t, kInformationSize> information_{};
    std::array<std::uint8_t, kVersionSize> version_{};
    std::array<std::uint8_t, kBootVersionSize> bootVersion_{};
    std::array<std::uint8_t, kTuningSize> tuning_{};
    std::array<std::uint8_t, kTuningSize> referenceTuning_{};
    bool referenceStored_ = true;
    std::uint8_t volume_ = kDefaultVolume;
    std::uint16_t vcoWord_ = 25;  // 2.5 V
    std::optional<std::uint16_t> checksumOverride_;
    std::map<std::uint8_t, std::uint16_t> extraPoints_;
    std::map<std::uint8_t, int> pointWidths_;
    std::vector<std::string> log_;
    bool changed_ = false;
    bool stored_ = false;

    // session
    SimFaults faults_;
    Mode mode_ = Mode::kNormal;
    std::uint8_t key_ = 0;
    bool awaitingKey_ = false;
    std::optional<std::uint8_t> handshake_;  // final byte owed for the program's ACK
    bool silent_ = false;
    std::vector<std::uint8_t> input_;  // decoded bytes not yet taken
    std::map<std::uint8_t, bool> switches_;
    std::uint8_t squelch_ = 0;
    std::uint8_t testChannel_ = 0;
    std::uint8_t signalling_ = 0;
    std::uint8_t beatShift_ = 0;
    int activePoint_ = -1;
};

}  // namespace vrm
