#include "core/fields/editor_tables.h"

#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

bool TypedFrequencies(const EditContext& ctx, int) { return !UsesPresetList(ctx.Mode()); }

constexpr Choice kRevert[] = {{0, tid::kScanSelectedChannel, "selected"}, {1, tid::kScanLastUsedChannel, "last_used"}};

// Scan area (image 0x020): byte 8 revert channel, bytes 3-4 dwell time and
// 5-6 dropout delay in seconds (16-bit).
const FieldDef kScanFields[] = {
    {.key = "revert_channel", .label = tid::kScanRevertChannel, .help = kScanHelp, .kind = FieldKind::List,
     .storage = {kScanArea.offset + 8, 1, 0, 0xFF}, .choices = kRevert},
    {.key = "dropout_delay", .label = tid::kScanDropoutDelay, .help = kScanHelp, .kind = FieldKind::Number,
     .storage = {kScanArea.offset + 5, 2, 0, 0xFFFF}, .number = {0, 300, 1, 1, false, 0}, .shown = TypedFrequencies},
    {.key = "dwell", .label = tid::kScanDwell, .help = kScanHelp, .kind = FieldKind::Number,
     .storage = {kScanArea.offset + 3, 2, 0, 0xFFFF}, .number = {0, 300, 1, 1, false, 0}, .shown = TypedFrequencies},
};

const FieldTable kScanTable{"scan", kScanFields, nullptr};

}  // namespace

const FieldTable& ScanTable() { return kScanTable; }

}  // namespace vrm
