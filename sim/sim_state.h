// The state file of a simulated radio. The program loads and frees the
// transport library for every transfer, so the drop-in simulator keeps its
// radio in a file (VRM650T_SIM_STATE): loaded at every initialisation,
// created with a default radio when missing, and rewritten (atomically) after
// every command that changes it.
//
// The file is text, one "key value" line each; '#' starts a comment line,
// missing keys keep their defaults, unknown keys are an error:
//
//   format 1
//   identification <96 hex digits>   the 48-byte identification reply
//   information <64 hex digits>      the 32-byte information block
//   version <24 hex digits>          the 12-byte version reply
//   boot-version <16 hex digits>
//   tuning <28 hex digits>           the 14 tuning bytes
//   reference-tuning <28 hex digits> the stored reference tuning
//   reference-stored 0|1
//   volume 0-7
//   word <4 hex digits>              the word read (VCO lock voltage, 0.1 V)
//   checksum auto|<4 hex digits>     auto: the 16-bit sum of the memory
//   point <2 hex> <4 hex>            a tuning point that is no tuning byte
//   memory <3 hex address> <32 hex digits>   16 bytes of memory, 64 lines
//   log <text>                        what the radio was asked, oldest first
//
// Hex digits may be separated by blanks between bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/simulated_radio.h"

namespace vrm {

std::string FormatSimState(const SimulatedRadio& radio);
// Starts from a default radio and applies the file's lines.
bool ParseSimState(std::string_view text, SimulatedRadio& radio, std::string* error);

// VRM650T_SIM_STATE, else ${XDG_STATE_HOME:-$HOME/.local/state}/vrm650t/sim-radio.state.
std::string DefaultSimStatePath();
// One state file per simulated radio (and cable): VRM650T_SIM_STATE split at
// ':' (a:b:c gives three radios), or, when it names a folder, every "*.state"
// file in it by name; the first is DefaultSimStatePath(). Never empty.
std::vector<std::string> SimStatePaths();

// Loads the file; `missing` tells a file that does not exist from a bad one.
bool LoadSimState(const std::string& path, SimulatedRadio& radio, std::string* error, bool* missing = nullptr);
// Writes a temporary file beside `path` and renames it over `path`.
bool SaveSimState(const std::string& path, const SimulatedRadio& radio, std::string* error);
// Loads the file, or creates it with a default radio when it does not exist
// (with its folder when that is missing).
bool LoadOrCreateSimState(const std::string& path, SimulatedRadio& radio, std::string* error);

// A radio is unplugged from its cable while "<state file>.unplugged" exists:
// the cable stays and opens, but nothing answers, and the state file is
// neither read nor written, so it may be replaced by another radio's (a
// different radio on the same cable once it is plugged in again).
std::string SimUnpluggedMarker(const std::string& path);
bool SimRadioUnplugged(const std::string& path);
// Unplugs (creates the marker) or plugs in (removes it); false with `error`
// when the marker cannot be made or removed.
bool SetSimRadioPlugged(const std::string& path, bool plugged, std::string* error);

}  // namespace vrm
