// The frequency-entry mode of a model: how the user gives a channel its
// frequencies. Bits 0-1 of identity byte 8 hold it.
#pragma once

#include <cstdint>

namespace vrm {

enum class EntryMode : int {
    List99 = 0,    // chosen from the preset list of 99 frequencies (Varitel)
    Unused1 = 1,   // no model of the catalogue has it; treated like List99 where asked
    List22 = 2,    // chosen from the preset list of 22 frequencies
    Typed = 3,     // typed freely within the band
};

constexpr EntryMode EntryModeFromByte8(std::uint8_t byte8) { return static_cast<EntryMode>(byte8 & 3); }
constexpr int EntryModeValue(EntryMode mode) { return static_cast<int>(mode); }

// True for the models whose frequencies come from a preset list.
constexpr bool UsesPresetList(EntryMode mode) { return mode == EntryMode::List99 || mode == EntryMode::List22; }

}  // namespace vrm
