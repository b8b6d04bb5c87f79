// The channel rules as a user meets them: each value goes in through the
// same path the editors and `vrm650t-cli set` use, and the bytes of the
// record are checked.
#include <gtest/gtest.h>

#include <type_traits>

#include "editor_fixture.h"
#include "core/fields/channel_model.h"
#include "core/fields/frequency_pairs.h"
#include "core/base/text_ids.h"

namespace vrm::test {
namespace {

using Status = ScriptWrite::Status;

TEST(ChannelCreateDelete, CreatingKeepsOnlyVoxScanAndPowerAndClearingDeletesTheRecord) {
    EditorFixture f;  // 16 channels, typed frequencies
    const std::size_t ch16 = f.Channel(15);
    ASSERT_TRUE(f.Set("channel.16.rx", "462.5625").Ok());
    EXPECT_EQ(f.Byte(kChannelInUseHigh), 0x7F);
    EXPECT_EQ(f.Byte(ch16 + 12), 0x00);
    EXPECT_EQ(f.Byte(ch16 + 13), 0x26);
    EXPECT_EQ(f.image.Frequency(ch16), 0x46256250u);
    EXPECT_EQ(f.image.Frequency(ch16 + 4), 0x46256250u) << "a new channel transmits on its receive frequency";
    EXPECT_EQ(f.Byte(ch16 + 14), 0xAF) << "step code 2 (6.25 kHz) for both frequencies";

    ASSERT_TRUE(f.Set("channel.16.rx", "").Ok());
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.Byte(ch16 + i), 0xFF) << i;
    EXPECT_EQ(f.Byte(kChannelInUseHigh), 0xFF);
}

TEST(ChannelFrequencies, ARefusedReceiveTextChangesNothingAndARefusedTransmitTextMakesTheChannelReceiveOnly) {
    EditorFixture f;
    const ImageBuffer blank = f.image.Live();
    ScriptWrite w = f.Set("channel.1.rx", "abc");
    EXPECT_EQ(w.status, Status::Refused);
    EXPECT_EQ(w.result.refusal, tid::kMsgNotAFrequency);
    EXPECT_EQ(f.image.Live(), blank) << "no channel is created from a text that is no frequency";

    ASSERT_TRUE(f.Set("channel.1.rx", "462.55").Ok());
    ASSERT_TRUE(f.Set("channel.1.encode", "88.5").Ok());
    const ImageBuffer before = f.image.Live();
    EXPECT_EQ(f.Set("channel.1.rx", "4x2").status, Status::Refused);
    EXPECT_EQ(f.image.Live(), before) << "an existing channel keeps its record";

    // The editor's edit lets "." through; scripts are refused texts that are no number.
    EXPECT_EQ(f.Set("channel.1.tx", "garbage").result.refusal, tid::kMsgNotAFrequency);
    ASSERT_TRUE(f.session.Commit(*FindField(f.session.Context(), "channel.1.tx"), FieldInput::Typed(".")).Ok());
    EXPECT_EQ(f.image.Frequency(f.Channel(0) + 4), kBlankFrequency);
    EXPECT_EQ(f.image.Word(f.Channel(0) + 10), kCodeOff);
    EXPECT_EQ(f.Get("channel.1.encode"), "Off");
    EXPECT_EQ(f.Get("channel.1.rx"), "462.55000");
}

TEST(ChannelFrequencies, BandClampReservedFrequenciesAndTheTransmitFollowUp) {
    EditorFixture f(1);  // 4 channels, typed, reserved frequencies of market class 1
    ScriptWrite w = f.Set("channel.1.rx", "500");
    ASSERT_TRUE(w.Ok());
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgRxOutOfBand});
    EXPECT_EQ(f.Get("channel.1.rx"), "480.00000");

    w = f.Set("channel.1.tx", "12");
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgTxOutOfBand});
    EXPECT_EQ(f.Get("channel.1.tx"), "440.00000");
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5575").Ok());
    EXPECT_EQ(f.Get("channel.1.rx"), "462.55500") << "cut down to the 5 kHz raster";
    EXPECT_EQ(f.Get("channel.1.tx"), "440.00000") << "a set transmit frequency stays on typed-frequency models";

    w = f.Set("channel.2.rx", "460.8");
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgReservedFrequency});
    EXPECT_FALSE(f.image.ChannelInUse(1));
    EXPECT_EQ(f.image.Frequency(f.Channel(1)), kBlankFrequency);
}

TEST(ChannelCodes, TypedDecodeFillsAnEmptyEncodeOnlyOnTypedModelsAndBusyLockoutFollowsTheDecode) {
    EditorFixture f;
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5625").Ok());
    ASSERT_TRUE(f.Set("channel.1.decode", "D023N").Ok());
    EXPECT_EQ(f.image.Word(f.Channel(0) + 10), 0x2013);
    ASSERT_TRUE(f.Set("channel.1.decode", "88.5").Ok());
    EXPECT_EQ(f.Get("channel.1.encode"), "D023N") << "an encode code already set is kept";

    // Busy channel lockout: the QT/DQT entries need a decode code.
    ASSERT_TRUE(f.Set("channel.1.bcl", "qt_dqt_mismatch").Ok());
    EXPECT_EQ(f.Byte(f.Channel(0) + 12), 3);
    ASSERT_TRUE(f.Set("channel.1.decode", "off").Ok());
    EXPECT_EQ(f.Byte(f.Channel(0) + 12), 0) << "turning the decode off resets the lockout";
    EXPECT_EQ(f.Set("channel.1.bcl", "qt_dqt").status, Status::Refused);
    EXPECT_TRUE(f.Set("channel.1.bcl", "Carrier").Ok()) << "a list entry by its text";

    // A stored 2 without a decode code reads as off, and reading writes nothing.
    f.image.Live()[f.Channel(0) + 12] = 2;
    const ImageBuffer before = f.image.Live();
    EXPECT_EQ(f.Get("channel.1.bcl"), "Off");
    EXPECT_EQ(f.image.Live(), before);
}

TEST(ChannelEnableRules, HiddenAndDisabledFieldsAreRefused) {
    EditorFixture f;
    EXPECT_EQ(f.Set("channel.1.decode", "88.5").status, Status::Disabled) << "empty channel";
    EXPECT_EQ(f.Set("channel.1.tx", "462.5").status, Status::Disabled) << "no receive frequency yet";
    EXPECT_EQ(f.Set("channel.1.repeater", "on").status, Status::Hidden) << "typed-frequency model";
    EXPECT_EQ(f.Set("channel.17.rx", "462.5").status, Status::UnknownKey);
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5").Ok());
    ASSERT_TRUE(f.Set("channel.1.tx", "").Ok());
    EXPECT_EQ(f.Set("channel.1.encode", "88.5").status, Status::Disabled) << "receive-only channel";
    EXPECT_EQ(f.Set("channel.1.power", "low").status, Status::Disabled);
    f.image.Live()[0x019] &= ~0x20;
    EXPECT_EQ(f.Set("channel.1.vox", "off").status, Status::Disabled) << "VOX function off in the features";
    f.image.Live()[0x019] |= 0x20;
    EXPECT_TRUE(f.Set("channel.1.vox", "off").Ok());
    EXPECT_EQ(f.Byte(f.Channel(0) + 13) & 0x02, 0);
}

TEST(ChannelPresetModels, NewDefaultsRepeaterPairingAndCustomCodes) {
    EditorFixture f(2);  // Varitel: 99 preset frequencies
    // New: channels 1-4 with presets 2, 8, 9, 10 and QT 67.0 both ways.
    const std::uint8_t expected[16] = {0x00, 0x50, 0x45, 0x46, 0x00, 0x50, 0x45, 0x46,
                                       0x9E, 0x02, 0x9E, 0x02, 0x00, 0x26, 0xAF, 0xFF};
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.Byte(f.Channel(0) + i), expected[i]) << i;
    EXPECT_EQ(f.Get("channel.4.rx"), "461.06250");
    EXPECT_EQ(f.Byte(kChannelInUseLow), 0xF0);
    EXPECT_FALSE(f.image.IsModified());

    EXPECT_EQ(f.Set("channel.1.rx", "462.5625").result.refusal, tid::kMsgNotAPresetFrequency);
    ASSERT_TRUE(f.Set("channel.1.repeater", "on").Ok());
    EXPECT_EQ(f.Get("channel.1.tx"), "467.76250") << "paired with the next preset";
    ScriptWrite w = f.Set("channel.1.tx", "464.55");
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgRepeaterPaired});
    EXPECT_EQ(f.Get("channel.1.tx"), "467.76250");
    ASSERT_TRUE(f.Set("channel.2.repeater", "on").Ok());
    ASSERT_TRUE(f.Set("channel.2.tx", "457.86250").Ok());
    ASSERT_TRUE(f.Set("channel.2.rx", "457.86250").Ok());  // entry 99, as the transmit frequency
    EXPECT_EQ(f.Get("channel.2.tx"), "464.50000") << "after the last preset comes entry 1";

    // A custom code is stored as its word and its link, and shown by name.
    ASSERT_TRUE(f.Set("channel.3.decode", "cqt2").Ok());
    EXPECT_EQ(f.Get("channel.3.decode"), "CQT2");
    EXPECT_EQ(f.Get("channel.3.encode"), "CQT2") << "copied with its link while repeater mode is off";
    EXPECT_EQ(f.Byte(f.Channel(2) + 15), 0x22);
    EXPECT_EQ(f.image.Word(f.Channel(2) + 8), 670);

    // Repeater off again: transmit and encode follow receive and decode.
    ASSERT_TRUE(f.Set("channel.1.decode", "D754I").Ok());
    ASSERT_TRUE(f.Set("channel.1.repeater", "off").Ok());
    EXPECT_EQ(f.Get("channel.1.tx"), "464.55000");
    EXPECT_EQ(f.Get("channel.1.encode"), "D754I");
}

TEST(ChannelPresetModels, ThePowerRuleOfThe22FrequencyList) {
    EditorFixture f(3);
    f.catalogue.SetEntryMode(EntryMode::List22);  // no offered model has it; the rule stands on its own
    ASSERT_TRUE(f.Set("channel.1.rx", "467.5625").Ok());  // entry 8: low power only
    EXPECT_EQ(f.Byte(f.Channel(0) + 13) & 0x20, 0);
    EXPECT_EQ(f.Set("channel.1.power", "high").status, Status::Refused);
    ASSERT_TRUE(f.Set("channel.1.rx", "462.55").Ok());  // entry 15: high only
    EXPECT_EQ(f.Get("channel.1.power"), "High");
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5625").Ok());  // entry 1: both
    EXPECT_TRUE(f.Set("channel.1.power", "low").Ok());
}

// The form's hidden zone item reads as the one zone, 1, like the channel
// number beside it; nothing past the model's channels.
TEST(ChannelItems, TheZoneItemShowsZoneOne) {
    EditorFixture f(1);
    const ChannelModel model(f.session.Context());
    EXPECT_EQ(model.ItemText(0, ChannelModel::kItemZone), "1");
    EXPECT_EQ(model.ItemText(3, ChannelModel::kItemZone), "1") << "an empty channel too";
    EXPECT_EQ(model.ItemText(4, ChannelModel::kItemZone), "");
}

// Views, exports and checks read through a const context; only the writers
// need one they may change.
TEST(ChannelItems, ReadersTakeAConstContextAndSeeWhatTheWriterStored) {
    static_assert(std::is_constructible_v<ChannelReader, const EditContext&>);
    static_assert(!std::is_constructible_v<ChannelModel, const EditContext&>);
    static_assert(std::is_constructible_v<FrequencyPairReader, const EditContext&, PairLayout>);
    static_assert(!std::is_constructible_v<FrequencyPairs, const EditContext&, PairLayout>);
    EditorFixture f;
    ASSERT_TRUE(f.Set("channel.2.rx", "462.5625").Ok());
    const EditContext& reading = f.session.Context();
    const ChannelReader channels(reading);
    EXPECT_TRUE(channels.Exists(1));
    EXPECT_FALSE(channels.Exists(0));
    EXPECT_EQ(channels.ItemText(1, ChannelReader::kItemRx), f.Get("channel.2.rx"));
    const FrequencyPairReader pairs(reading, {kTestFrequencyArea.offset, kTestStepArea.offset});
    EXPECT_EQ(pairs.Text(0, 0), f.Get("testfreq.1.rx"));
}

}  // namespace
}  // namespace vrm::test
