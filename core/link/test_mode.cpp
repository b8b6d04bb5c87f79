#include "core/link/test_mode.h"

#include <algorithm>
#include <cstring>

#include "core/model/model_catalogue.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"

namespace vrm {

namespace {

using proto::kTestChannelReplySize;

constexpr std::array<TuningItem, kTuningItems> kItems = {{
    {tid::kTuningPowerHigh, {0x12, 0x30, 0x31, 0x32}, 3,
     {tid::kBandPointLow, tid::kBandPointCenter, tid::kBandPointHigh}, 340228, false},
    {tid::kTuningPowerLow, {0x14, 0x60, 0x61, 0x62}, 3,
     {tid::kBandPointLow, tid::kBandPointCenter, tid::kBandPointHigh}, 340229, false},
    {tid::kTuningMaxDeviation, {0x17, 0x24, 0x25, 0x26}, 3,
     {tid::kBandPointLow, tid::kBandPointCenter, tid::kBandPointHigh}, 340235, true},
    {tid::kTuningReferenceFrequency, {0x1E, 0x1E, 0x1E, 0x1E}, 1, {tid::kTuningReferenceFrequency, 0, 0}, 340251,
     false},
}};

// How many point values the setting read of an item answers: one byte for
// each of its distinct command bytes.
std::uint8_t PointsOf(const TuningItem& item) { return item.commands[0] == item.commands[3] ? 1 : 4; }

constexpr std::uint8_t kItemQueryCommand = 0x1E;

}  // namespace

const std::array<TuningItem, kTuningItems>& TuningItemTable() { return kItems; }

int TuningPageSize(int values) {
    if (values <= 64) return 10;
    if (values <= 127) return 20;
    if (values <= 256) return 50;
    if (values <= 1024) return 102;
    return 204;
}

TestModeSession::TestModeSession(const TransferContext& ctx, const ImageBuffer& live) : ctx_(ctx), live_(live) {}

TestModeSession::~TestModeSession() { (void)End(); }

void TestModeSession::Tell(tid::TextId text) { (void)ctx_.prompter.Ask(TransferErrorMessage(ctx_.language, text)); }

TestModeStart TestModeSession::Start() {
    scope_ = std::make_unique<TransferScope>(ctx_);
    ProgrammingPort& port = ctx_.port;
    port.PumpOneMessage();
    (void)port.SetOpen(true);
    const TestModeStart result = StartUp();
    if (result == TestModeStart::kOk) {
        active_ = true;
        return result;
    }
    if (result == TestModeStart::kFailed) {
        (void)RetryPrompt(ctx_);
        (void)port.ExitProgramModeOnce();
    }
    port.SetOpen(false);
    scope_.reset();
    return result;
}

TestModeStart TestModeSession::StartUp() {
    ProgrammingPort& port = ctx_.port;
    // The specific refusals leave tuning mode before they are shown.
    auto refuse = [&](TestModeStart why, tid::TextId text) {
        (void)port.ExitProgramMode();
        Tell(text);
        return why;
    };
    if (port.EnterTuningMode() != 0) return TestModeStart::kFailed;
    port.PumpOneMessage();
    ModelIdentity identity{};
    if (port.Identify(identity) != 0) return TestModeStart::kFailed;
    if (!IsReadableRadio(identity)) return refuse(TestModeStart::kModelRefused, tid::kMsgModelNotAccepted);
    if (!std::equal(identity.begin(), identity.begin() + 12, live_.begin()))
        return refuse(TestModeStart::kOtherIdentity, tid::kMsgTestModeOtherModel);
    port.PumpOneMessage();
    std::array<std::uint8_t, proto::kVersionSize> version{};
    if (port.ReadVersion(version) != 0) return TestModeStart::kFailed;
    port.PumpOneMessage();

    channel_ = -1;
    for (int i = 0; i < kTestChannels; ++i) {
        std::array<std::uint8_t, kTestChannelReplySize> reply{};
        if (port.SelectTestChannel(static_cast<std::uint8_t>(i), reply) != 0) return TestModeStart::kFailed;
        const auto* expected = live_.data() + kTestFrequencyArea.offset + 8 * i;
        if (!std::equal(reply.begin(), reply.end(), expected))
            return refuse(TestModeStart::kTestChannelDiffers, tid::kMsgTestFrequencyMismatch);
        frequencies_[static_cast<std::size_t>(i)] = reply;
        if (channel_ < 0 && ChannelValid(i)) channel_ = i;
        port.PumpOneMessage();
    }
    if (channel_ < 0) channel_ = 0;

    std::array<std::uint8_t, proto::kReferenceSize> reference{};
    if (port.ReadReferenceValues(reference) != 0) return TestModeStart::kFailed;
    if (!std::equal(reference.begin(), reference.end(), live_.data() + kBandPointArea.offset))
        return refuse(TestModeStart::kReferenceDiffers, tid::kMsgReferenceMismatch);
    port.PumpOneMessage();
    if (port.ReadTuningData(settings_.data(), static_cast<std::uint8_t>(settings_.size())) != 0)
        return TestModeStart::kFailed;
    port.PumpOneMessage();
    std::uint8_t volume = 0;
    if (port.QueryCommand(proto::kVolume, volume) != 0) return TestModeStart::kFailed;
    volume_ = std::min<int>(volume, kVolumeMax);
    port.PumpOneMessage();
    std::array<std::uint8_t, kTestChannelReplySize> reply{};
    if (port.SelectTestChannel(static_cast<std::uint8_t>(channel_), reply) != 0) return TestModeStart::kFailed;
    if (port.ValueCommand(proto::kTestSignalling, 0) != 0) return TestModeStart::kFailed;
    signalling_ = 0;
    return TestModeStart::kOk;
}

bool TestModeSession::End() {
    if (!active_) return true;
    bool confirmed = true;
    if (item_ >= 0) (void)PointOff();
    if (transmitting_) confirmed = SwitchTransmitterOff();
    (void)ctx_.port.ExitProgramModeOnce();
    ctx_.port.SetOpen(false);
    active_ = false;
    scope_.reset();
    return confirmed;
}

bool TestModeSession::SwitchTransmitterOff() {
    if (ctx_.port.TransmitSwitch(false) == 0) {
        transmitting_ = false;
        offUnconfirmed_ = false;
        return true;
    }
    offUnconfirmed_ = true;
    Tell(tid::kMsgTransmitterNotOff);
    return false;
}

bool TestModeSession::Failed() {
    Tell(tid::kMsgTestModeCommandFailed);
    if (transmitting_) (void)SwitchTransmitterOff();
    return false;
}

bool TestModeSession::ChannelValid(int channel) const {
    const auto* p = live_.data() + kTestFrequencyArea.offset + 8 * channel;
    return !(p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF && p[3] == 0xFF);
}

FrequencyCode TestModeSession::ChannelFrequency(int channel, int which) const {
    const auto& f = frequencies_[static_cast<std::size_t>(channel)];
    const std::size_t at = which == 0 ? 0 : 4;
    return static_cast<FrequencyCode>(f[at] | (f[at + 1] << 8) | (f[at + 2] << 16) |
                                      (static_cast<std::uint32_t>(f[at + 3]) << 24));
}

bool TestModeSession::SelectChannel(int channel) {
    if (!active_ || channel < 0 || channel >= kTestChannels) return false;
    std::array<std::uint8_t, kTestChannelReplySize> reply{};
    if (ctx_.port.SelectTestChannel(static_cast<std::uint8_t>(channel), reply) != 0) return Failed();
    channel_ = channel;
    frequencies_[static_cast<std::size_t>(channel)] = reply;
    return true;
}

bool TestModeSession::SelectSignalling(int signalling) {
    if (!active_ || signalling < 0 || signalling > 255) return false;
    if (ctx_.port.ValueCommand(proto::kTestSignalling, static_cast<std::uint8_t>(signalling)) != 0) return Failed();
    signalling_ = signalling;
    return true;
}

bool TestModeSession::SetTransmit(bool on) {
    if (!active_) return false;
    if (!on) return transmitting_ ? SwitchTransmitterOff() : true;
    if (ctx_.port.TransmitSwitch(true) != 0) {
        // The radio may have keyed up although its answer was lost.
        transmitting_ = true;
        return Failed();
    }
    transmitting_ = true;
    offUnconfirmed_ = false;  // the radio confirmed: it transmits
    return true;
}

bool TestModeSession::SetSquelch(int level) {
    if (!active_) return false;
    level = std::clamp(level, 0, kSquelchMax);
    if (ctx_.port.ValueCommand(proto::kSquelchLevel, static_cast<std::uint8_t>(level), true) != 0) return Failed();
    squelch_ = level;
    return true;
}

bool TestModeSession::SetPower(bool high) {
    if (!active_) return false;
    if (ctx_.port.SwitchCommand(proto::kTransmitPower, high, ProgrammingPort::SwitchForm::kOneBuffer) != 0)
        return Failed();
    return true;
}

bool TestModeSession::SetBeatShift(int value) {
    if (!active_ || value < 0 || value > 255) return false;
    if (ctx_.port.ValueCommand(proto::kBeatShift, static_cast<std::uint8_t>(value)) != 0) return Failed();
    return true;
}

bool TestModeSession::SetMicMute(bool on) {
    if (!active_) return false;
    if (ctx_.port.SwitchCommand(proto::kMicMute, on, ProgrammingPort::SwitchForm::kOneBuffer) != 0) return Failed();
    return true;
}

bool TestModeSession::SetCompander(bool on) {
    if (!active_) return false;
    if (ctx_.port.SwitchCommand(proto::kCompander, on, ProgrammingPort::SwitchForm::kTwoBytes) != 0) return Failed();
    return true;
}

bool TestModeSession::SetVolume(int position) {
    if (!active_) return false;
    position = std::clamp(position, 0, kVolumeMax);
    if (ctx_.port.StepCommand(proto::kVolume, position - volume_, ProgrammingPort::StepForm::kOneBuffer) != 0)
        return Failed();
    volume_ = position;
    return true;
}

bool TestModeSession::StoreReference() {
    if (!active_) return false;
    if (ctx_.prompter.Ask(TransferQuestion(ctx_.language, tid::kMsgStoreReferenceQuestion)) != Answer::Ok) return false;
    if (ctx_.port.StoreReferenceTuning() != 0) return Failed();
    (void)ctx_.prompter.Ask(TransferInformation(ctx_.language, tid::kWriteDone, tid::kTestModeReferenceCaption));
    return true;
}

bool TestModeSession::PointOn(int item, int tab, std::uint8_t& current) {
    if (!active_ || item < 0 || item >= kTuningItems) return false;
    const TuningItem& it = kItems[static_cast<std::size_t>(item)];
    if (tab < 0 || tab >= it.tabs) return false;
    if (transmitting_ && !SwitchTransmitterOff()) return false;
    if (item_ >= 0 && !PointOff()) return false;
    const std::uint8_t cmd = it.commands[static_cast<std::size_t>(tab)];
    if (ctx_.port.SwitchCommand(cmd, true, ProgrammingPort::SwitchForm::kOneBuffer) != 0) return Failed();
    item_ = item;
    tab_ = tab;
    std::array<std::uint8_t, 4> values{};
    if (ctx_.port.ReadSetting(values.data(), PointsOf(it)) != 0) return Failed();
    current = values[static_cast<std::size_t>(PointsOf(it) == 1 ? 0 : tab)];
    return true;
}

bool TestModeSession::PointOff() {
    if (item_ < 0) return true;
    const std::uint8_t cmd = kItems[static_cast<std::size_t>(item_)].commands[static_cast<std::size_t>(tab_)];
    item_ = -1;
    tab_ = -1;
    if (ctx_.port.SwitchCommand(cmd, false, ProgrammingPort::SwitchForm::kOneBuffer) != 0) {
        Tell(tid::kMsgTestModeCommandFailed);
        return false;
    }
    return true;
}

bool TestModeSession::PointStep(int delta) {
    if (!active_ || item_ < 0) return false;
    const std::uint8_t cmd = kItems[static_cast<std::size_t>(item_)].commands[static_cast<std::size_t>(tab_)];
    if (ctx_.port.StepCommand(cmd, delta) != 0) return Failed();
    return true;
}

bool TestModeSession::PointApply(std::uint8_t value) {
    if (!active_ || item_ < 0) return false;
    const std::uint8_t cmd = kItems[static_cast<std::size_t>(item_)].commands[static_cast<std::size_t>(tab_)];
    if (ctx_.port.SetCommand(cmd, value) != 0) return Failed();
    return true;
}

bool TestModeSession::PointQuery(std::uint8_t& value) {
    if (!active_ || item_ < 0) return false;
    const std::uint8_t cmd = kItems[static_cast<std::size_t>(item_)].commands[static_cast<std::size_t>(tab_)];
    if (cmd == kItemQueryCommand) return ctx_.port.QueryCommand(kItemQueryCommand, value) == 0 || Failed();
    std::array<std::uint8_t, 2> wide{};
    if (ctx_.port.WideQueryCommand(cmd, wide) != 0) return Failed();
    value = wide[1];
    return true;
}

bool TestModeSession::SineWave(bool on) {
    if (!active_) return false;
    if (ctx_.port.SwitchCommand(proto::kSineWave, on, ProgrammingPort::SwitchForm::kTwoBytes) != 0) return Failed();
    return true;
}

bool TestModeSession::BandPass() {
    if (!active_) return false;
    if (ctx_.port.BandPassFilter() != 0) return Failed();
    ctx_.port.Delay(2001);
    return true;
}

}  // namespace vrm
