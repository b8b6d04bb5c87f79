#include "core/fields/editor_tables.h"

#include <cstdio>

#include "core/fields/field_access.h"
#include "core/model/code_tables.h"
#include "core/model/entry_mode.h"
#include "core/model/radio_image.h"
#include "core/base/text_ids.h"

namespace vrm {

namespace {

// Feature area bytes (image 0x010).
constexpr std::size_t kTot = 0x10;
constexpr std::size_t kPreAlert = 0x11;
constexpr std::size_t kRekey = 0x12;
constexpr std::size_t kReset = 0x13;
constexpr std::size_t kMinVolume = 0x14;
constexpr std::size_t kMaxVolume = 0x15;
constexpr std::size_t kMicSense = 0x16;
constexpr std::size_t kFlags1 = 0x18;  // tone, self-programming, clone, saver, -, LED, rollover, mute
constexpr std::size_t kFlags2 = 0x19;  // announcement (0-1), inhibit, proceed tone, cancel, VOX
constexpr std::size_t kVox = 0x1A;     // gain (4-7), delay (0-3)
constexpr std::size_t kSelfTimer = 0x1B;
constexpr std::size_t kSquelch = 0x1E;
constexpr std::size_t kBatteryWarning = 0x1F;
constexpr unsigned kWarningOff = 0xFF;

constexpr std::uint32_t Help(int item) { return 0x32100 + static_cast<std::uint32_t>(item); }

bool Typed(const EditContext& ctx, int) { return ctx.Mode() == EntryMode::Typed; }
bool List99(const EditContext& ctx, int) { return ctx.Mode() == EntryMode::List99; }
bool VoxOn(const EditContext& ctx, int) { return (ctx.image.Byte(kFlags2) >> 5) & 1; }
bool SelfProgrammingOn(const EditContext& ctx, int) { return (ctx.image.Byte(kFlags1) >> 1) & 1; }
bool BatteryWarningOn(const EditContext& ctx, int) { return ctx.image.Byte(kBatteryWarning) != kWarningOff; }

// The two volume limits hold each other in: the minimum goes up to the
// maximum, the maximum down to the minimum.
NumberRange MinVolumeRange(const EditContext& ctx, int) { return {0, std::min<int>(ctx.image.Byte(kMaxVolume), 7)}; }
NumberRange MaxVolumeRange(const EditContext& ctx, int) { return {std::min<int>(ctx.image.Byte(kMinVolume), 7), 7}; }

// The VOX delay shows the delay in seconds; its list the language texts with
// the user's decimal separator.
constexpr const char* kDelaySeconds[] = {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0"};
std::string VoxDelayText(const EditContext& ctx, const FieldDef&, int) {
    const unsigned index = ctx.image.Byte(kVox) & 0x0F;
    if (index >= std::size(kDelaySeconds)) return {};
    return CodeTables::ReplaceAll(kDelaySeconds[index], ".", ctx.separator);
}
std::vector<FieldOption> VoxDelayOptions(const EditContext& ctx, const FieldDef& f, int) {
    std::vector<FieldOption> lines;
    for (const Choice& c : f.choices) lines.push_back({CodeTables::ReplaceAll(ctx.Text(c.text), ".", ctx.separator), c.token});
    return lines;
}

constexpr Choice kMicSenseChoices[] = {{1, tid::kFeatureMicNormal, "normal"}, {2, tid::kPowerHigh, "high"}};
constexpr Choice kRollover[] = {{0, tid::kFeatureRolloverEntry, "rollover"}, {1, tid::kFeatureEndStop, "end_stop"}};
constexpr Choice kAnnouncement[] = {{0, tid::kCodeNone, "off"},
                                    {1, tid::kChannelLabel, "channel"},
                                    {2, tid::kFeatureChannelAndFunction, "channel_and_function"}};
constexpr Choice kSpeakerMute[] = {{0, tid::kCodeNone, "off"}, {1, tid::kOnList, "on"}};
constexpr Choice kVoxDelay[] = {{0, tid::kFeatureVoxDelay03, "0.3"}, {1, tid::kFeatureVoxDelay05, "0.5"},
                                {2, tid::kFeatureVoxDelay10, "1.0"}, {3, tid::kFeatureVoxDelay15, "1.5"},
                                {4, tid::kFeatureVoxDelay20, "2.0"}, {5, tid::kFeatureVoxDelay30, "3.0"}};
constexpr Choice kBatteryWarningChoices[] = {{static_cast<int>(kWarningOff), tid::kCodeNone, "off"},
                                      {48, tid::kFeatureBatteryLevel1, "level1"},
                                      {49, tid::kFeatureBatteryLevel2, "level2"},
                                      {50, tid::kFeatureBatteryLevel3, "level3"}};

constexpr FieldDef Number(const char* key, tid::TextId label, int item, std::size_t at, NumberRule rule,
                          FieldPredicate shown = nullptr, FieldPredicate enabled = nullptr, int shift = 0,
                          unsigned mask = 0xFF) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.help = Help(item);
    f.kind = FieldKind::Number;
    f.item = item;
    f.storage = {at, 1, shift, mask};
    f.number = rule;
    f.shown = shown;
    f.enabled = enabled;
    return f;
}

constexpr FieldDef List(const char* key, tid::TextId label, int item, Storage at, std::span<const Choice> choices,
                        FieldPredicate enabled = nullptr) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.help = Help(item);
    f.kind = FieldKind::List;
    f.item = item;
    f.storage = at;
    f.choices = choices;
    f.enabled = enabled;
    return f;
}

constexpr FieldDef Check(const char* key, tid::TextId label, int item, std::size_t at, int bit,
                         FieldPredicate shown = nullptr, FieldPredicate enabled = nullptr) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.help = Help(item);
    f.kind = FieldKind::Check;
    f.item = item;
    f.storage = {at, 1, bit, 1};
    f.shown = shown;
    f.enabled = enabled;
    return f;
}

constexpr FieldDef Group(const char* key, tid::TextId label, int item, int size, FieldPredicate shown = nullptr) {
    FieldDef f;
    f.key = key;
    f.label = label;
    f.kind = FieldKind::Group;
    f.item = item;
    f.groupSize = size;
    f.shown = shown;
    return f;
}

FieldDef VoxDelay() {
    FieldDef f = List("vox_delay", tid::kFeatureVoxDelay, 16, {kVox, 1, 0, 0x0F}, kVoxDelay, VoxOn);
    f.read = VoxDelayText;
    f.options = VoxDelayOptions;
    return f;
}

FieldDef Volume(const char* key, tid::TextId label, int item, std::size_t at, FieldRange range) {
    FieldDef f = Number(key, label, item, at, {0, 7, 1, 1, false, 0});
    f.range = range;
    return f;
}

const FieldDef kFeatureFields[] = {
    Number("tot", tid::kFeatureTot, 0, kTot, {15, 600, 15, 15, false, 0}),
    Number("tot_pre_alert", tid::kFeatureTotPreAlert, 1, kPreAlert, {1, 10, 1, 1, true, 0}),
    Number("tot_rekey", tid::kFeatureTotRekey, 2, kRekey, {1, 60, 1, 1, true, 0}, Typed),
    Number("tot_reset", tid::kFeatureTotReset, 3, kReset, {1, 15, 1, 1, true, 0}, Typed),
    Number("squelch", tid::kFeatureSquelch, 4, kSquelch, {0, 5, 1, 1, false, 0}),
    List("mic_sense", tid::kFeatureMicSense, 5, {kMicSense, 1, 0, 0xFF}, kMicSenseChoices),
    List("rollover", tid::kFeatureRollover, 6, {kFlags1, 1, 6, 1}, kRollover),
    List("voice_announcement", tid::kFeatureVoiceAnnouncement, 7, {kFlags2, 1, 0, 3}, kAnnouncement),
    List("speaker_mute", tid::kFeatureSpeakerMute, 8, {kFlags1, 1, 7, 1}, kSpeakerMute),
    Group("audio_volume", tid::kFeatureAudioVolumeGroup, 9, 2),
    Volume("min_volume", tid::kFeatureMinVolume, 10, kMinVolume, MinVolumeRange),
    Volume("max_volume", tid::kFeatureMaxVolume, 11, kMaxVolume, MaxVolumeRange),
    Check("power_on_led", tid::kFeaturePowerOnLed, 12, kFlags1, 5),
    Group("vox_group", tid::kChannelVoxLabel, 13, 6),
    Check("vox", tid::kFeatureVox, 14, kFlags2, 5),
    Number("vox_gain", tid::kFeatureVoxGain, 15, kVox, {1, 5, 1, 1, true, 0}, nullptr, VoxOn, 4, 0x0F),
    VoxDelay(),
    Check("cancel_operation", tid::kFeatureCancelOperation, 17, kFlags2, 4, nullptr, VoxOn),
    Check("vox_proceed_tone", tid::kFeatureVoxProceedTone, 18, kFlags2, 3, nullptr, VoxOn),
    Check("tx_inhibit", tid::kFeatureTxInhibit, 19, kFlags2, 2, nullptr, VoxOn),
    Group("mode_group", tid::kFeatureModeGroup, 20, 3),
    Check("clone", tid::kFeatureClone, 21, kFlags1, 2),
    Check("self_programming", tid::kFeatureSelfProgramming, 22, kFlags1, 1, List99),
    Number("self_programming_timer", tid::kFeatureSelfProgrammingTimer, 23, kSelfTimer, {5, 20, 5, 5, false, 0},
           List99, SelfProgrammingOn),
    Group("battery_group", tid::kFeatureBatteryGroup, 24, 3),
    Check("battery_saver", tid::kFeatureBatterySaver, 25, kFlags1, 3),
    List("battery_warning", tid::kFeatureBatteryWarning, 26, {kBatteryWarning, 1, 0, 0xFF}, kBatteryWarningChoices),
    Check("battery_warning_tone", tid::kFeatureBatteryWarningTone, 27, kFlags1, 0, nullptr, BatteryWarningOn),
};

const FieldTable kFeatureTable{"features", kFeatureFields, nullptr};

}  // namespace

const FieldTable& FeatureTable() { return kFeatureTable; }

}  // namespace vrm
