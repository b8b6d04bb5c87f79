// Faults the simulated radio can be told to show, for trying out and testing
// what the program does when a radio or a cable misbehaves. The drop-in
// transport reads them from VRM650T_SIM_FAULTS at every initialisation; the
// syntax is a list of items separated by commas or blanks:
//
//   program-silent     no answer to "PROGRAM" or "TUNING "
//   program-nak        NAK to "PROGRAM" or "TUNING "
//   identify-short[=N] the identification reply is N bytes long (default 47)
//   model=TEXT         the identification reports the name TEXT (bytes 0-7,
//                      padded with 0xFF), e.g. model=LMX-7208
//   identity=HEX       the identification reports these 16 identity bytes
//   read-silent=N      silence from the read of block N (address 16*N) on
//   write-silent=N     silence from the write of block N on
//   write-nak=N        NAK to the write of block N (the block is not stored)
//   write-lost=N       ACK to the write of block N, but the block is not
//                      stored (only a read-back finds it)
//   slow=MS[@STEP]     the replies to send number STEP (default 1) come MS
//                      milliseconds late
//   info-header        the information block starts with 0x54, not 0x55
//   info-checksum      the information block's sum byte is wrong
//   pull=STEP          the cable is pulled at send number STEP: that send and
//                      everything after it fails
//   absent             no radio on the cable: the cable opens and takes what
//                      is sent, but nothing ever answers
//   test-nak=HH        NAK to every test-mode command with command byte HH
//                      (hex, e.g. test-nak=BD); the radio's state is unchanged
//   off-nak=HH         NAK when command HH is switched off: a transmitter
//                      (off-nak=08) or tuning point that stays on
//   signal=NAME@[S:]N  the program gets the signal NAME (TERM, HUP, INT,
//                      KILL, ...) once send number N of session S (default 1)
//                      has reached the radio, while it waits for the answer;
//                      sessions are counted from 1 in the radio's log (the
//                      drop-in) or from the link's making (in process)
//
// Sends are counted from 1 at each initialisation: "PROGRAM" is send 1, the
// identify byte send 2, the key exchange send 3; in a read, block i's command
// is send 4 + 2i and its handshake send 5 + 2i.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/radio_image.h"

namespace vrm {

struct SimFaults {
    bool programSilent = false;
    bool programNak = false;
    int identifyLength = -1;  // -1: the full 48 bytes
    std::optional<std::array<std::uint8_t, 8>> modelName;
    std::optional<ModelIdentity> identity;
    int readSilentBlock = -1;
    int writeSilentBlock = -1;
    int writeNakBlock = -1;
    int writeLostBlock = -1;
    std::uint32_t slowMs = 0;
    std::uint32_t slowStep = 0;  // 0: no slow reply
    bool infoBadHeader = false;
    bool infoBadChecksum = false;
    std::uint32_t pullStep = 0;  // 0: the cable stays in
    bool absent = false;         // the cable is there, its radio is not
    std::vector<std::uint8_t> testNak;  // test commands answered NAK
    std::vector<std::uint8_t> offNak;   // commands whose "off" is answered NAK
    int signal = 0;                     // raised in the program at send signalStep of session signalSession
    std::uint32_t signalSession = 1;
    std::uint32_t signalStep = 0;       // 0: no signal

    bool operator==(const SimFaults&) const = default;
};

// Parses the list; on a malformed item returns false with `error` naming it
// (the items before it are kept in `out`).
bool ParseSimFaults(std::string_view text, SimFaults& out, std::string* error);

// Parses hex digits (blanks allowed between them) into exactly `size` bytes.
bool ParseHexBytes(std::string_view text, std::uint8_t* out, std::size_t size);
std::string HexBytes(const std::uint8_t* bytes, std::size_t size);

}  // namespace vrm
