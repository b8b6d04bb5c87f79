// The rules of the other editors that a table row cannot hold, through the
// script path the CLI uses (and, where the editor's own edit takes texts a
// script may not give, through the editor's commit).
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "core/fields/editor_tables.h"
#include "core/base/text_ids.h"

namespace vrm::test {
namespace {

using Status = ScriptWrite::Status;

// The editor's commit of a typed text, as a form or a grid cell makes it.
WriteResult Typed(EditorFixture& f, const std::string& key, const std::string& text) {
    return f.session.Commit(*FindField(f.session.Context(), key), FieldInput::Typed(text));
}

TEST(Features, NumbersAreClampedAndRoundedAndOffIsZero) {
    EditorFixture f;
    ASSERT_TRUE(f.Set("features.tot", "100").Ok());
    EXPECT_EQ(f.Byte(0x10), 6);
    EXPECT_EQ(f.Get("features.tot"), "90");
    ASSERT_TRUE(Typed(f, "features.tot", "").Ok());
    EXPECT_EQ(f.Get("features.tot"), "15") << "an empty time-out timer is its minimum";
    ASSERT_TRUE(f.Set("features.tot_pre_alert", "0").Ok());
    EXPECT_EQ(f.Get("features.tot_pre_alert"), "Off");
    ASSERT_TRUE(f.Set("features.tot_pre_alert", "12").Ok());
    EXPECT_EQ(f.Byte(0x11), 10);
    EXPECT_EQ(f.Set("features.squelch", "loud").status, Status::Refused);
    ASSERT_TRUE(f.Set("features.self_programming_timer", "17").Ok() == false)
        << "hidden on a model with typed frequencies";

    // The volume limits hold each other in.
    ASSERT_TRUE(f.Set("features.max_volume", "5").Ok());
    ASSERT_TRUE(f.Set("features.min_volume", "7").Ok());
    EXPECT_EQ(f.Byte(0x14), 5);
    ASSERT_TRUE(f.Set("features.max_volume", "2").Ok());
    EXPECT_EQ(f.Byte(0x15), 5);
}

TEST(Features, VoxSelfProgrammingAndBatteryWarningEnableTheirItems) {
    EditorFixture f(2);  // Varitel: self-programming shown
    ASSERT_TRUE(f.Set("features.vox", "on").Ok());
    ASSERT_TRUE(f.Set("features.vox_gain", "3").Ok());
    ASSERT_TRUE(f.Set("features.vox_delay", "1.5").Ok());
    EXPECT_EQ(f.Byte(0x1A), 0x33);
    EXPECT_EQ(f.Get("features.vox_delay"), "1.5");
    ASSERT_TRUE(f.Set("features.vox", "off").Ok());
    for (const char* key : {"features.vox_gain", "features.vox_delay", "features.cancel_operation",
                            "features.vox_proceed_tone", "features.tx_inhibit"})
        EXPECT_EQ(f.Set(key, "off").status, Status::Disabled) << key;
    EXPECT_EQ(f.Byte(0x1A), 0x33) << "disabled items keep their values";
    EXPECT_EQ(f.Set("channel.1.vox", "on").status, Status::Disabled) << "the channel's VOX follows the function";

    ASSERT_TRUE(f.Set("features.self_programming", "off").Ok());
    EXPECT_EQ(f.Set("features.self_programming_timer", "10").status, Status::Disabled);
    ASSERT_TRUE(f.Set("features.self_programming", "on").Ok());
    ASSERT_TRUE(f.Set("features.self_programming_timer", "17").Ok());
    EXPECT_EQ(f.Byte(0x1B), 3);

    ASSERT_TRUE(f.Set("features.battery_warning", "off").Ok());
    EXPECT_EQ(f.Byte(0x1F), 0xFF);
    EXPECT_EQ(f.Set("features.battery_warning_tone", "on").status, Status::Disabled);
    ASSERT_TRUE(f.Set("features.battery_warning", "level2").Ok());
    EXPECT_TRUE(f.Set("features.battery_warning_tone", "on").Ok());
}

TEST(Message, LinesAreStoredInOneByteCharactersWithoutTrailingBlanks) {
    EditorFixture f;
    const std::size_t line1 = kEmbeddedMessageArea.offset, line2 = line1 + 32;
    ASSERT_TRUE(f.Set("message.line1", "HELLO   ").Ok());
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(f.Byte(line1 + i), i < 5 ? "HELLO"[i] : 0) << i;
    ASSERT_TRUE(Typed(f, "message.line2", "   ").Ok());
    for (std::size_t i = 0; i < 32; ++i) EXPECT_EQ(f.Byte(line2 + i), 0);
    EXPECT_EQ(f.Get("message.line2"), "");

    const std::string full = "Zentrale Süd, Kanal 2 für Notfal";  // 32 characters, 34 bytes of UTF-8
    EXPECT_EQ(f.Set("message.line1", full + "l").result.refusal, tid::kMsgMessageTooLong);
    ASSERT_TRUE(f.Set("message.line1", full).Ok());
    EXPECT_EQ(f.Byte(line1 + 10), 0xFC);
    EXPECT_EQ(f.Byte(line1 + 31), 'l') << "a full line has no zero byte";
    EXPECT_EQ(f.Get("message.line1"), full);

    const ImageBuffer before = f.image.Live();
    const ScriptWrite euro = f.Set("message.line1", "Preis 5 €");
    EXPECT_EQ(euro.result.refusal, tid::kMsgMessageCharacter);
    EXPECT_EQ(euro.result.arguments, std::vector<std::string>{"€"});
    EXPECT_EQ(f.image.Live(), before);
}

TEST(Keys, OffersDependOnTheEntryModeAndTheColumn) {
    EditorFixture typed;
    EXPECT_EQ(typed.Set("key.1.short", "channel_down").status, Status::Refused);
    EXPECT_EQ(typed.Set("key.1.long", "channel_announcement").status, Status::Refused);
    EXPECT_EQ(typed.Set("key.2.long", "none").status, Status::Disabled) << "the fixed cell";
    EXPECT_EQ(typed.Get("key.2.long"), "Mode");

    EditorFixture list(2);
    EXPECT_TRUE(list.Set("key.1.long", "channel_announcement").Ok());
    EXPECT_EQ(list.Set("key.1.long", "channel_up").status, Status::Refused) << "short press only";
    ASSERT_TRUE(list.Set("key.2.short", "channel_up").Ok());
    EXPECT_EQ(list.Byte(kKeyArea.offset + 2), 8);
    EXPECT_EQ(list.Get("key.2.short"), "Channel Up");

    // A stored code the cell does not offer reads empty and stays.
    list.image.Live()[kKeyArea.offset + 1] = 5;
    EXPECT_EQ(list.Get("key.1.long"), "");
    EXPECT_EQ(list.Byte(kKeyArea.offset + 1), 5);
}

TEST(Scan, DelaysAreClampedAndHiddenOnPresetModels) {
    EditorFixture f;
    ASSERT_TRUE(f.Set("scan.dwell", "450").Ok());
    EXPECT_EQ(f.image.Word(kScanArea.offset + 3), 300);
    ASSERT_TRUE(f.Set("scan.dwell", "-5").Ok());
    EXPECT_EQ(f.Get("scan.dwell"), "0");
    ASSERT_TRUE(Typed(f, "scan.dropout_delay", "12abc").Ok());
    EXPECT_EQ(f.image.Word(kScanArea.offset + 5), 12);
    f.image.SetWord(kScanArea.offset + 3, 0xFFFF);
    EXPECT_EQ(f.Get("scan.dwell"), "");

    EditorFixture list(2);
    EXPECT_EQ(list.Set("scan.dwell", "5").status, Status::Hidden);
    EXPECT_TRUE(list.Set("scan.revert_channel", "last_used").Ok());
}

TEST(TestFrequencies, PairsAreCompleteOrEmptyAndTheLastOneBringsBackTheDefaults) {
    EditorFixture f;
    ASSERT_TRUE(f.Set("testfreq.7.rx", "460.1").Ok());
    EXPECT_EQ(f.Get("testfreq.7.tx"), "460.10000");
    EXPECT_EQ(f.Byte(kTestStepArea.offset + 6), 0x22);
    ScriptWrite w = f.Set("testfreq.7.tx", "500");
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgTxOutOfBand});
    EXPECT_EQ(f.Get("testfreq.7.tx"), "480.00000");
    ASSERT_TRUE(f.Set("testfreq.7.tx", "").Ok());
    EXPECT_EQ(f.Get("testfreq.7.rx"), "") << "clearing frequency 1 clears the pair";
    EXPECT_EQ(f.Set("testfreq.7.tx", "460.2").status, Status::Disabled);

    const ImageBuffer defaults = f.image.Live();
    for (int p = 1; p <= 6; ++p) ASSERT_TRUE(f.Set("testfreq." + std::to_string(p) + ".rx", "").Ok());
    EXPECT_EQ(f.image.Live(), defaults) << "the last pair cleared restores the six default pairs";
}

TEST(BandPoints, AClearedPointGetsItsDefaultAndFrequency1TakesTheStepOfFrequency0) {
    EditorFixture f;
    ASSERT_TRUE(f.Set("bandpoint.center.tx", "").Ok());
    EXPECT_EQ(f.Get("bandpoint.center.tx"), "460.10000");
    ScriptWrite w = f.Set("bandpoint.low.rx", "300");
    EXPECT_EQ(w.result.messages, std::vector<tid::TextId>{tid::kMsgRxOutOfBand});
    EXPECT_EQ(f.Get("bandpoint.low.rx"), "440.00000");

    // A blank frequency 1 follows frequency 0 with its step code too.
    f.image.SetFrequency(kBandPointArea.offset + 8 * 2 + 4, kBlankFrequency);
    f.image.Live()[kBandPointStepArea.offset + 2] = 0x1F;
    ASSERT_TRUE(f.Set("bandpoint.high.rx", "462.5625").Ok());
    EXPECT_EQ(f.Get("bandpoint.high.tx"), "462.56250");
    EXPECT_EQ(f.Byte(kBandPointStepArea.offset + 2), 0x22);
}

TEST(CustomCodes, EntriesNormaliseAndLinkedChannelsFollow) {
    EditorFixture f(2);
    ASSERT_TRUE(Typed(f, "custom.cqt2", "").Ok());
    EXPECT_EQ(f.Get("custom.cqt2"), "67.0");
    ASSERT_TRUE(f.Set("custom.cqt2", "300").Ok());
    EXPECT_EQ(f.Get("custom.cqt2"), "254.1");
    // A DQT box converts a text beginning with a capital D; anything else,
    // a lower-case d included, stores the default word 0x2813 (D023N).
    const std::size_t cdt1 = kCustomCodeArea.offset + 16;
    for (const auto& [typed, word] : {std::pair<const char*, int>{"D754I", 0xA1EC}, {"23", 0x2813}, {"D023N", 0x2013},
                                      {"d754i", 0x2813}, {"D025", 0x2015}, {"d023", 0x2813}, {"", 0x2813}}) {
        ASSERT_TRUE(Typed(f, "custom.cdt1", typed).Ok()) << typed;
        EXPECT_EQ(f.image.Word(cdt1), word) << typed;
    }
    EXPECT_EQ(f.Get("custom.cdt1"), "D023N");

    ASSERT_TRUE(f.Set("channel.2.decode", "CQT2").Ok());  // the encode follows with its link
    ASSERT_TRUE(f.Set("channel.3.encode", "CDT1").Ok());
    const ImageBuffer before = f.image.Live();
    ASSERT_TRUE(f.Set("custom.cqt2", "88.5").Ok());
    EXPECT_EQ(f.image.Word(f.Channel(1) + 8), 885);
    EXPECT_EQ(f.image.Word(f.Channel(1) + 10), 885);
    EXPECT_EQ(f.Get("channel.2.decode"), "CQT2");
    ASSERT_TRUE(f.Set("custom.cdt1", "D025N").Ok());
    EXPECT_EQ(f.image.Word(f.Channel(2) + 10), 0x2015);
    for (std::size_t word : {6u, 7u, 14u, 15u})
        EXPECT_EQ(f.image.Word(kCustomCodeArea.offset + 2 * word), before[kCustomCodeArea.offset + 2 * word] |
                                                                       (before[kCustomCodeArea.offset + 2 * word + 1] << 8));

    EditorFixture typed;
    EXPECT_EQ(typed.Set("custom.cqt1", "88.5").status, Status::Hidden);
}

// What a script is told about a value: nothing when the field holds the
// value given in any spelling; the text it shows when a rule changed it.
TEST(StoredDifferently, OnlyAValueTheRuleChangedIsNamed) {
    EditorFixture f(2);  // the Varitel model: preset list, custom codes
    ASSERT_TRUE(f.Set("channel.1.repeater", "on").Ok());
    const struct {
        const char* key;
        const char* given;
        const char* stored;  // nullptr: held as given
    } cases[] = {
        {"features.squelch", "120", "5"},          {"features.squelch", "003", nullptr},
        {"features.min_volume", "-1", "0"},        {"features.tot", "100", "90"},
        {"features.tot_pre_alert", "0", nullptr},  {"features.tot_pre_alert", "off", nullptr},
        {"features.mic_sense", "high", nullptr},   {"features.mic_sense", "Normal", nullptr},
        {"features.vox", "on", nullptr},           {"features.vox_delay", "1.0", nullptr},
        {"channel.1.decode", "6", "67.0"},         {"channel.1.decode", "88.50", nullptr},
        {"channel.1.decode", "d023", nullptr},     {"channel.1.decode", "D999I", "D777I"},
        {"channel.1.decode", "cqt2", nullptr},     {"channel.1.encode", "off", nullptr},
        {"channel.1.rx", "464.5", nullptr},        {"channel.1.tx", "464.5", "464.55000"},
        {"testfreq.1.rx", "462.56254", "462.56000"}, {"testfreq.2.rx", "off", nullptr},
        {"custom.cqt1", "", "67.0"},               {"custom.cdt1", "d754i", "D023N"},
        {"message.line1", "off", nullptr},         {"message.line1", "HELLO", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.given);
        const ScriptWrite w = f.Set(c.key, c.given);
        ASSERT_TRUE(w.Ok());
        EXPECT_EQ(w.stored.value_or("<as given>"), c.stored ? c.stored : "<as given>");
    }
}

}  // namespace
}  // namespace vrm::test
