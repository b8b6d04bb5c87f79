// The field tables of the editors besides the channels, and what their
// windows need beyond the fields: the grids' columns and the help contexts.
// Each table's rules that are more than its rows live beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/fields/field.h"

namespace vrm {

// Optional features ("features.tot" ...).
const FieldTable& FeatureTable();
inline constexpr std::uint32_t kFeatureHelp = 0x32000;

// Embedded message ("message.line1", "message.line2"): 32 characters of
// ISO 8859-1, one byte each.
const FieldTable& MessageTable();
inline constexpr std::uint32_t kMessageHelp = 0x42000;
inline constexpr std::size_t kMessageLineChars = 32;
// A stored line as UTF-8 text (up to its first zero byte).
std::string MessageLineText(const std::uint8_t* field);

// Key assignment ("key.1.short" ...): rows are the keys, columns the presses.
const FieldTable& KeyTable();
std::vector<GridColumn> KeyGridColumns(const EditContext& ctx);
inline constexpr std::uint32_t kKeyHelp = 0x33000;
inline constexpr std::uint32_t kKeyListHelp = 0x33101;

// Scan ("scan.revert_channel" ...).
const FieldTable& ScanTable();
inline constexpr std::uint32_t kScanHelp = 0x34000;

// Test frequencies ("testfreq.3.rx" ...): eight pairs.
const FieldTable& TestFrequencyTable();
std::vector<GridColumn> TestFrequencyGridColumns(const EditContext& ctx);
// When no pair holds a frequency any more, the test frequencies take their
// New defaults again (the rule after a pair is emptied; an import runs it
// once, at its end). True when it did.
bool RestoreEmptyTestFrequencies(EditContext& ctx);
inline constexpr std::uint32_t kTestFrequencyHelp = 0x41000;

// QT/DQT customization ("custom.cqt1" ...), on the preset-list models.
const FieldTable& CustomCodeTable();
inline constexpr std::uint32_t kCustomCodeHelp = 0x43000;

// Advanced settings ("advanced.qt_reverse_burst", "advanced.usb_charging")
// and the tuning frequencies ("bandpoint.low.rx" ...).
const FieldTable& AdvancedTable();
const FieldTable& BandPointTable();
std::vector<GridColumn> BandPointGridColumns(const EditContext& ctx);
inline constexpr std::uint32_t kAdvancedHelp = 0xF1000;

}  // namespace vrm
