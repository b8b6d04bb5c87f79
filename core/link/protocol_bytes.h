// Byte values of the radio's programming protocol, shared by the program's
// side (ProgrammingPort) and the radio's side (SimulatedRadio).
#pragma once

#include <cstdint>

namespace vrm::proto {

inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;

// Mode entry texts (7 bytes each; the tuning text ends in a blank).
inline constexpr const char* kProgramText = "PROGRAM";
inline constexpr const char* kTuningText = "TUNING ";

// Commands of the programming modes.
inline constexpr std::uint8_t kIdentify = 0x02;
inline constexpr std::uint8_t kTuningRead = 0x05;
inline constexpr std::uint8_t kSettingRead = 0x07;
inline constexpr std::uint8_t kBandPassFilter = 0x1F;    // handshake-wait, 2000 ms
inline constexpr std::uint8_t kComma = 0x2C;             // ',' before a write
inline constexpr std::uint8_t kStatusQuery = 0x3E;       // '>'
inline constexpr std::uint8_t kBootVersionRead = 0x40;
inline constexpr std::uint8_t kReferenceRead = 0x42;
inline constexpr std::uint8_t kExit = 0x45;              // 'E'
inline constexpr std::uint8_t kVersionRead = 0x50;
inline constexpr std::uint8_t kReadBlock = 0x53;         // 'S'
inline constexpr std::uint8_t kInfoBlock0 = 0x55;        // "URK": information block
inline constexpr std::uint8_t kInfoBlock1 = 0x52;
inline constexpr std::uint8_t kInfoBlock2 = 0x4B;
inline constexpr std::uint8_t kWriteTuningBlock = 0x56;  // 'V'
inline constexpr std::uint8_t kWriteBlock = 0x58;        // 'X'
inline constexpr std::uint8_t kChecksumRead = 0x7C;
inline constexpr std::uint8_t kWordRead = 0x7D;
inline constexpr std::uint8_t kAbortWrite = 0xE7;
inline constexpr const char* kStoreReferenceText = "+TDB";    // handshake-wait, 3000 ms
inline constexpr const char* kRestoreReferenceText = "+TDA";  // handshake-wait, 3000 ms

// Operation codes of the test and tuning grammar.
inline constexpr std::uint8_t kStepUp = 0x0A;
inline constexpr std::uint8_t kStepDown = 0x0B;
inline constexpr std::uint8_t kQuery = 0x0C;
inline constexpr std::uint8_t kOn = 0x0D;
inline constexpr std::uint8_t kOff = 0x0E;
inline constexpr std::uint8_t kStepUpBy = 0x1A;
inline constexpr std::uint8_t kStepDownBy = 0x1B;
inline constexpr std::uint8_t kSetValue = 0x1C;

// Test-mode command bytes.
inline constexpr std::uint8_t kTransmit = 0x08;
inline constexpr std::uint8_t kBeatShift = 0x0B;
inline constexpr std::uint8_t kSquelchLevel = 0x0C;
inline constexpr std::uint8_t kTestChannel = 0x10;
inline constexpr std::uint8_t kTestSignalling = 0x11;
inline constexpr std::uint8_t kVolume = 0x21;
inline constexpr std::uint8_t kSineWave = 0x6D;
inline constexpr std::uint8_t kTransmitPower = 0x75;
inline constexpr std::uint8_t kCompander = 0xA2;
inline constexpr std::uint8_t kMicMute = 0xBD;

// Sizes of fixed replies.
inline constexpr std::size_t kIdentificationSize = 48;
inline constexpr std::size_t kVersionSize = 12;
inline constexpr std::size_t kBootVersionSize = 8;
inline constexpr std::size_t kReferenceSize = 24;
inline constexpr std::size_t kInfoBlockSize = 32;
inline constexpr std::size_t kTuningDataSize = 14;
inline constexpr std::size_t kTestChannelReplySize = 8;

}  // namespace vrm::proto
