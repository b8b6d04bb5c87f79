// The text IDs of the language file that the code uses by name. Every caption
// and message is looked up through one of these. They are kept by area, one
// header each; this header brings them all in.
//
// Add new names in the group they belong to; keep each group sorted.
#pragma once

#include <cstdint>

namespace vrm::tid {

using TextId = std::uint32_t;

}  // namespace vrm::tid

// Program, About box, menus, tool bar and editor captions.
#include "core/base/text_ids_menus.h"
// Main frame, its dialogs, buttons, message boxes, code lists.
#include "core/base/text_ids_shell.h"
// The editors and the field commands.
#include "core/base/text_ids_editors.h"
// Data files, the password prompt, files that are not plain files.
#include "core/base/text_ids_files.h"
// Transfers, radio information, the cable and its doctor, the simulated radio.
#include "core/base/text_ids_link.h"
// Test mode and tuning.
#include "core/base/text_ids_test_mode.h"
// Printing.
#include "core/base/text_ids_print.h"
// The command line's conventions, text export and import, channel CSV and
// the comparison of two files.
#include "core/base/text_ids_exchange.h"
// Programming radios safely, interrupted programming, unfinished writes and
// protected recovery copies.
#include "core/base/text_ids_safety.h"
// The programming station: several radios at once, the plan, the cable choice.
#include "core/base/text_ids_station.h"
// What screen readers are told beyond the captions: ranges, grid cells, the
// key image, transfer progress.
#include "core/base/text_ids_access.h"
