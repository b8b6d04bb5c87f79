// The programming protocol: every exchange between the program and the
// radio, as operations of the one port. All bytes go through the scrambling
// port, so after Identify's key exchange every byte both ways is XORed with
// the link key.
//
// Every operation returns 0 for success and nonzero for failure (1 unless
// stated). A reply is one Receive of exactly the stated length: one USB read
// must deliver at least that many bytes. Nothing is retried except
// ExitProgramMode (two tries).
//
// Each operation is one exchange (TransceiverPort::Exchange): once a stop has
// been requested the next operation fails before it sends anything, while an
// operation that has begun runs to its end. Exit and abort still go out; they
// send nothing when nothing of the session reached the radio.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/link/protocol_bytes.h"
#include "core/link/transceiver_port.h"
#include "core/model/radio_image.h"

namespace vrm {

class ProgrammingPort : public ScrambledPort {
public:
    using IdentificationBlock = std::array<std::uint8_t, proto::kIdentificationSize>;

    // The program's port: libpipelink.so by name, system clock, scrambling on.
    ProgrammingPort();
    // `scrambling` is off when the program was started with "noencryption".
    ProgrammingPort(std::unique_ptr<Transport> transport, Clock& clock, bool scrambling = true);

    void SetScrambling(bool enabled) { scrambling_ = enabled; }
    bool Scrambling() const { return scrambling_; }
    // The 48-byte reply of the last successful Identify (zero before).
    const IdentificationBlock& Identification() const { return identification_; }

    // --- Mode entry and exit -------------------------------------------------
    // "PROGRAM": 100 ms for the ACK, then 1100 ms for the rest of the
    // transfer; on failure the timeout in force before is restored.
    int EnterProgramMode();
    // "TUNING ": 1000 ms for the ACK, then 550 ms.
    int EnterTuningMode();
    // Reads the identification block, copies its model identity out and
    // agrees the link key.
    int Identify(ModelIdentity& identity);
    // 'E', tried twice; the result is that of the last try.
    int ExitProgramMode();
    // 'E', one try only (where a transfer sends a single exit).
    int ExitProgramModeOnce();
    // 0xE7: abandons a write.
    int AbortWrite();

    // --- Radio data image ------------------------------------------------------
    // 'S': `length` bytes from `address` into `destination`.
    int ReadBlock(std::uint16_t address, std::uint8_t length, std::uint8_t* destination);
    // 'X': `length` bytes from `source` to `address`; 3000 ms for the ACK.
    // 1: no answer; 2: the radio answered but refused the block.
    int WriteBlock(std::uint16_t address, std::uint8_t length, const std::uint8_t* source);
    // 'V': the same into the tuning data.
    int WriteTuningBlock(std::uint16_t address, std::uint8_t length, const std::uint8_t* source);

    // --- Radio information (each reply is followed by an ACK handshake) --------
    int ReadVersion(std::array<std::uint8_t, proto::kVersionSize>& out);          // 0x50
    int ReadBootVersion(std::array<std::uint8_t, proto::kBootVersionSize>& out);  // 0x40
    // 0x42; the final byte may be ACK or NAK.
    int ReadReferenceValues(std::array<std::uint8_t, proto::kReferenceSize>& out);
    int ReadChecksum(std::array<std::uint8_t, 2>& out);  // 0x7C, 4000 ms
    int ReadWord(std::array<std::uint8_t, 2>& out);      // 0x7D
    int ReadTuningData(std::uint8_t* out, std::uint8_t length);      // 0x05
    int ReadSetting(std::uint8_t* out, std::uint8_t length);         // 0x07
    // 0x07, then every 16-bit pair of the reply swapped in place.
    int ReadSettingSwapped(std::uint8_t* out, std::uint8_t length);
    // "URK": 34 bytes 0x55, 32 data bytes, their 8-bit sum. A bad header or
    // sum fails and leaves `out` unchanged.
    int ReadInformationBlock(std::array<std::uint8_t, proto::kInfoBlockSize>& out);

    // 0x3E: 0 for ACK, 2 for NAK, 1 otherwise.
    int QueryStatus();
    // ',' with its argument, before a write: 2000 ms, Delay(250).
    int CommaCommand(std::uint8_t argument);

    // --- Handshake waits: bytes are read one at a time until an ACK ------------
    int StoreReferenceTuning();    // "+TDB", 3000 ms
    int RestoreReferenceTuning();  // "+TDA", 3000 ms
    int BandPassFilter();          // 0x1F, 2000 ms
    int HandshakeWait(const std::uint8_t* command, std::uint16_t length, std::uint32_t limitMs);

    // --- Test and tuning grammar -------------------------------------------------
    enum class SwitchForm { kOneBuffer, kTwoBytes };
    enum class StepForm { kSingleBytes, kOneBuffer };

    // command, 0x0D (on) or 0x0E (off).
    int SwitchCommand(std::uint8_t command, bool on, SwitchForm form);
    // 0x08 as one buffer; 800 ms for the reply when switching on, 2600 off.
    int TransmitSwitch(bool on);
    // command, value; `nakAccepted` where a NAK also counts as success.
    int ValueCommand(std::uint8_t command, std::uint8_t value, bool nakAccepted = false);
    // 0x10, channel: the channel's 8 frequency bytes, then an ACK or NAK.
    int SelectTestChannel(std::uint8_t channel, std::array<std::uint8_t, proto::kTestChannelReplySize>& out);
    // command, 0x1C, value.
    int SetCommand(std::uint8_t command, std::uint8_t value);
    // command, 0x1C, value high byte first; 3000 ms for the reply.
    int WideSetCommand(std::uint8_t command, std::uint16_t value);
    // command, then 0x0A / 0x0B for +1 / -1, 0x1A n / 0x1B n beyond; nothing
    // for 0 (success). A magnitude above 255 cannot be sent and fails.
    int StepCommand(std::uint8_t command, int delta, StepForm form = StepForm::kSingleBytes);
    // As StepCommand, with a two-byte magnitude (high byte first, one buffer).
    int WideStepCommand(std::uint8_t command, int delta);
    // command, 0x0C: one value byte, then the ACK handshake.
    int QueryCommand(std::uint8_t command, std::uint8_t& value);
    // command, 0x0C: two value bytes, then the handshake (ACK or NAK).
    int WideQueryCommand(std::uint8_t command, std::array<std::uint8_t, 2>& value);

private:
    int EnterMode(std::string_view text, std::uint32_t replyTimeoutMs, std::uint32_t modeTimeoutMs);
    int ExpectAck(bool nakAccepted = false);
    int Handshake(bool nakAccepted = false);
    int WriteBlockAs(std::uint8_t command, std::uint16_t address, std::uint8_t length,
                     const std::uint8_t* source);
    int SimpleRead(std::uint8_t command, std::uint8_t* out, std::uint16_t length, std::uint32_t delayMs,
                   bool nakAccepted);

    IdentificationBlock identification_{};
    bool scrambling_ = true;
};

}  // namespace vrm
