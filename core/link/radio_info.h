// Radio utilities: the radio-information transfer with its record and the
// texts the Radio Information dialog shows, and the texts of the Memory Map
// viewer's grid (headings, cells, the character view).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/link/protocol_bytes.h"
#include "core/link/read_transfer.h"
#include "core/model/radio_image.h"

namespace vrm {

// What the radio-information transfer reads. Cleared (all 0) before each
// transfer, and again when the transfer fails, so that a failed transfer
// shows empty values.
struct RadioInformation {
    std::array<std::uint8_t, 2> checksum{};                         // 0x7C, high byte first
    std::array<std::uint8_t, proto::kInfoBlockSize> information{};   // model name 0-11, code 12-15, serial 16-27
    std::array<std::uint8_t, proto::kVersionSize> version{};         // firmware text in bytes 0-7
    std::array<std::uint8_t, proto::kBootVersionSize> bootVersion{};
    ModelIdentity identity{};   // the identity the radio reported
    bool complete = false;      // every read succeeded

    void Clear() { *this = RadioInformation{}; }
};

// Where the 32-byte information block keeps its texts, and how long the
// firmware text of the version reply is.
namespace info_block {
inline constexpr std::size_t kModelNameOffset = 0;
inline constexpr std::size_t kModelNameSize = 12;
inline constexpr std::size_t kModelCodeOffset = 12;
inline constexpr std::size_t kModelCodeSize = 4;
inline constexpr std::size_t kSerialOffset = 16;
inline constexpr std::size_t kSerialSize = 12;
inline constexpr std::size_t kFirmwareSize = 8;
}  // namespace info_block

// The information block's texts (RadioText of each field).
struct InformationTexts {
    std::string modelName;  // "HRV-41A"
    std::string modelCode;  // "K"
    std::string serial;
};
InformationTexts ReadInformationTexts(const std::array<std::uint8_t, proto::kInfoBlockSize>& block);

// The six values of the dialog, each already in the form "  %s" (empty when
// the record is not complete).
struct RadioInformationTexts {
    std::string modelType;
    std::string frequency;
    std::string serialNumber;
    std::string firmwareVersion;
    std::string bootVersion;
    std::string checksum;
};

// A text field of the radio: 0xFF bytes (unused positions) become spaces and
// trailing spaces are removed; a 0x00 byte ends the text; any other byte
// outside printable ASCII shows as '.'.
std::string RadioText(const std::uint8_t* bytes, std::size_t length);
// The two checksum bytes as four hexadecimal digits, high nibble first
// (0x0A 0xF3 gives "0AF3").
std::string ChecksumDigits(const std::array<std::uint8_t, 2>& checksum);
// The band text the catalogue gives for a model name and model code as the
// information block holds them ("HRV-41A", "K"); when the model has several
// band records, the one of `identity` is preferred. Empty when no model has
// that name and code.
std::string BandTextForModel(std::string_view modelName, std::string_view modelCode, const ModelIdentity& identity,
                             std::string_view decimalSeparator);

// The dialog's values. `identityView` is the variant chosen by holding Ctrl
// and F2 as the dialog opens: Serial Number shows the whole information
// block, Model Type the catalogue's name of the radio's identity and
// Frequency the band text of the identity's market and band codes.
RadioInformationTexts RadioInformationDisplay(const RadioInformation& record, bool identityView,
                                              std::string_view decimalSeparator);

// The identity check of the radio-information transfer: a sibling radio
// ("LMX-7208", "LMX7208A"), or a name that begins with a catalogue model's
// name.
bool IsInformationRadio(const ModelIdentity& radio);

// The radio-information transfer: program mode, identification, the
// information block, the checksum, the firmware and boot versions. Every
// failure tells the user (text 10007003, or 10007004 for a radio it does not
// know), leaves the record cleared, takes the radio out of program mode and
// closes the port.
TransferResult RunRadioInformationTransfer(const TransferContext& ctx, RadioInformation& record);

// --- Memory Map viewer ------------------------------------------------------

inline constexpr int kMemoryMapColumns = 16;           // bytes a row
inline constexpr int kMemoryMapCharacterWidening = 238; // the character view widens the window by this

// "__%X": the heading of byte column 0-F.
std::string MemoryMapColumnHeading(int column);
// "   %.3X_" of the row's address divided by 16 (address 0x120 gives "   012_").
std::string MemoryMapRowHeading(std::size_t address);
// "%.2X".
std::string MemoryMapCell(std::uint8_t value);
// The byte as a character of the character view: printable ASCII as itself,
// any other byte as '.'.
std::string MemoryMapCharacter(std::uint8_t value);

}  // namespace vrm
