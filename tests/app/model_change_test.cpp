#include "core/document/model_change.h"

#include <gtest/gtest.h>

#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {
namespace {

class ModelChangeTest : public ::testing::Test {
protected:
    void StartWith(int model, std::uint16_t word) {
        image_.Clear();
        catalogue_.SetModel(model);
        catalogue_.SetBandWord(word);
        image_.InitialiseDefaults(catalogue_, false);
        image_.TakeSnapshot();
    }
    ImageBuffer DefaultsOf(int model, std::uint16_t word) {
        RadioImage fresh;
        ModelCatalogue c(fresh);
        fresh.Clear();
        c.SetModel(model);
        c.SetBandWord(word);
        fresh.InitialiseDefaults(c, false);
        return fresh.Live();
    }

    RadioImage image_;
    ModelCatalogue catalogue_{image_};
    ModelChange rules_{catalogue_, ","};
};

TEST_F(ModelChangeTest, PreselectsTheCurrentModelAndBand) {
    StartWith(3, 0x0105);
    const auto models = rules_.Models();
    ASSERT_EQ(models.size(), 4u);  // model 0 is not offered
    const int entry = rules_.CurrentModelEntry();
    ASSERT_GE(entry, 0);
    EXPECT_EQ(models[static_cast<std::size_t>(entry)].data, 3);
    const auto bands = rules_.Bands(3);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].text, "440-480 MHz");
    EXPECT_EQ(bands[0].data, 0x0105);
    EXPECT_EQ(rules_.CurrentBandEntry(3), 0);
    StartWith(2, 0x0100);
    EXPECT_EQ(models[static_cast<std::size_t>(rules_.CurrentModelEntry())].data, 2);
}

TEST_F(ModelChangeTest, BandAfterAModelChangeKeepsTheBandCodeInTheNewMarket) {
    // Model 4's only band record is (band 1, market 6).
    EXPECT_EQ(rules_.BandEntryAfterModelChange(4, 0x0105), 0);
    // No entry with band code 0 in model 1's range: its first entry.
    EXPECT_EQ(rules_.BandEntryAfterModelChange(1, 0x0005), 0);
    EXPECT_EQ(rules_.BandEntryAfterModelChange(9, 0x0100), -1);
}

TEST_F(ModelChangeTest, WhatOkAsks) {
    StartWith(1, 0x0100);
    // Nothing changed: nothing to ask.
    auto plan = rules_.Evaluate(1, 0x0100);
    EXPECT_EQ(plan.question, 0u);
    EXPECT_FALSE(plan.dataReset || plan.bandsChanged);
    // Another band in the same market.
    plan = rules_.Evaluate(1, 0x0000);
    EXPECT_EQ(plan.question, tid::kMsgBandChange);
    EXPECT_TRUE(plan.bandsChanged);
    EXPECT_FALSE(plan.dataReset);
    // Another market.
    plan = rules_.Evaluate(3, 0x0105);
    EXPECT_EQ(plan.question, tid::kMsgDataReset);
    EXPECT_TRUE(plan.dataReset);
    // Same band word, other entry mode (model 1 typed, model 2 preset list).
    plan = rules_.Evaluate(2, 0x0100);
    EXPECT_EQ(plan.question, tid::kMsgDataReset);
    EXPECT_TRUE(plan.dataReset);
    // A band change and an entry-mode change together: the whole reset.
    plan = rules_.Evaluate(2, 0x0000);
    EXPECT_EQ(plan.question, tid::kMsgDataReset);
    EXPECT_TRUE(plan.dataReset);
    EXPECT_FALSE(plan.bandsChanged);
}

TEST_F(ModelChangeTest, DataResetGivesTheNewModelsDefaults) {
    StartWith(1, 0x0100);
    image_.SetByte(kScanArea.offset + 12, 0x42);  // a user setting
    const auto plan = rules_.Evaluate(3, 0x0105);
    EXPECT_TRUE(rules_.Apply(plan, 3, 0x0105));
    EXPECT_EQ(image_.Live(), DefaultsOf(3, 0x0105));
    EXPECT_EQ(catalogue_.FindModel(), 3);
    EXPECT_EQ(catalogue_.ChannelCount(), 16);
    EXPECT_TRUE(image_.IsModified());  // a model change is a modification

    // To the preset-list model: the list of 99 and its defaults.
    const auto toVaritel = rules_.Evaluate(2, 0x0100);
    EXPECT_TRUE(rules_.Apply(toVaritel, 2, 0x0100));
    EXPECT_EQ(catalogue_.EntryMode(), EntryMode::List99);
    EXPECT_EQ(image_.Live(), DefaultsOf(2, 0x0100));
}

TEST_F(ModelChangeTest, BandOnlyChangeDeletesChannelsAndRebuildsTestFrequenciesOnly) {
    StartWith(1, 0x0100);
    // A channel in use and settings of the user's.
    image_.SetByte(0x070, 0x00);
    image_.SetByte(kChannelInUseLow, 0xFE);
    image_.SetByte(kScanArea.offset + 12, 0x42);
    image_.SetByte(kEmbeddedMessageArea.offset, 'M');
    const ImageBuffer before = image_.Live();

    const auto plan = rules_.Evaluate(1, 0x0000);
    ASSERT_TRUE(plan.bandsChanged);
    EXPECT_TRUE(rules_.Apply(plan, 1, 0x0000));
    EXPECT_EQ(catalogue_.BandWord(), 0x0000);
    EXPECT_EQ(catalogue_.CurrentBandLimits().lowerMHz, 325.0);
    for (std::size_t i = kRadioSettingsArea.offset; i < kChannelTable.End(); ++i) EXPECT_EQ(image_.Byte(i), 0xFF);
    // 325.05 MHz is stored 00 50 50 32.
    EXPECT_EQ(image_.Byte(kTestFrequencyArea.offset + 0), 0x00);
    EXPECT_EQ(image_.Byte(kTestFrequencyArea.offset + 1), 0x50);
    EXPECT_EQ(image_.Byte(kTestFrequencyArea.offset + 2), 0x50);
    EXPECT_EQ(image_.Byte(kTestFrequencyArea.offset + 3), 0x32);
    EXPECT_EQ(image_.Byte(kBandPointArea.offset + 3), 0x32);
    // Everything else is kept.
    EXPECT_EQ(image_.Byte(kScanArea.offset + 12), 0x42);
    EXPECT_EQ(image_.Byte(kEmbeddedMessageArea.offset), 'M');
    for (std::size_t i = kFeatureArea.offset; i < kKeyArea.End(); ++i) EXPECT_EQ(image_.Byte(i), before[i]) << i;
    for (std::size_t i = kCustomCodeArea.offset; i < kTestStepArea.offset; ++i) EXPECT_EQ(image_.Byte(i), before[i]) << i;
}

TEST_F(ModelChangeTest, NothingChangedChangesNothing) {
    StartWith(4, 0x0106);
    const ImageBuffer before = image_.Live();
    const auto plan = rules_.Evaluate(4, 0x0106);
    EXPECT_FALSE(rules_.Apply(plan, 4, 0x0106));
    EXPECT_EQ(image_.Live(), before);
    EXPECT_FALSE(rules_.Apply(plan, 7, 0x0106));
}

}  // namespace
}  // namespace vrm
