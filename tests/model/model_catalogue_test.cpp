#include "core/model/model_catalogue.h"

#include <gtest/gtest.h>

namespace vrm {
namespace {

ModelIdentity Identity(int byte8, int market, int band) {
    return {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, static_cast<std::uint8_t>(byte8), 0xFF,
            static_cast<std::uint8_t>(market), static_cast<std::uint8_t>(band), 0xFF, 0xFF, 0xFF, 0xFF};
}

struct Fixture {
    RadioImage image;
    ModelCatalogue catalogue{image};
};

TEST(ModelCatalogueFind, RecognisesEachModelAndRefusesTheRest) {
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFF, 1, 0)), 0);
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFF, 0, 1)), 1);
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFC, 0, 1)), 2);
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFB, 5, 1)), 3);
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFB, 6, 1)), 4);
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFA, 5, 1)), -1);  // list of 22, 16 channels
    EXPECT_EQ(ModelCatalogue::FindModel(Identity(0xFF, 5, 1)), -1);  // 4-channel capacity, market 5
    ModelIdentity other = Identity(0xFF, 0, 1);
    other[7] = 0x00;  // name key compared as 8 raw bytes
    EXPECT_EQ(ModelCatalogue::FindModel(other), -1);

    EXPECT_EQ(ModelCatalogue::FindModelByName("PHRV"), 0);
    EXPECT_EQ(ModelCatalogue::FindModelByName(std::string_view("PHRV-41\xFF", 8)), 0);
    EXPECT_EQ(ModelCatalogue::FindModelByName(std::string_view("PHRV-41\xFFX", 9)), -1);
    EXPECT_EQ(ModelCatalogue::FindModelByName("LMX"), -1);
}

TEST(ModelCatalogueAcceptable, OnlyOfferedModelsInTheirOwnBand) {
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(Identity(0xFF, 0, 1)));
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(Identity(0xFC, 0, 1)));
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(Identity(0xFB, 5, 1)));
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(Identity(0xFB, 6, 1)));
    EXPECT_TRUE(ModelCatalogue::IsAcceptable(ModelCatalogue::DefaultIdentity()));
    // Model 0 is recognised but never offered, in either of its bands.
    EXPECT_FALSE(ModelCatalogue::IsAcceptable(Identity(0xFF, 1, 0)));
    EXPECT_FALSE(ModelCatalogue::IsAcceptable(Identity(0xFF, 1, 1)));
    // A known model with a band code that has no record.
    EXPECT_FALSE(ModelCatalogue::IsAcceptable(Identity(0xFB, 5, 0)));
    EXPECT_FALSE(ModelCatalogue::IsAcceptable(Identity(0xFB, 5, 2)));
    EXPECT_FALSE(ModelCatalogue::IsAcceptable(Identity(0xFA, 5, 1)));
    for (int m = -1; m <= 5; ++m) EXPECT_EQ(ModelCatalogue::IsOffered(m), m >= 1 && m <= 4) << m;
}

TEST(ModelCatalogueQueries, ChannelsModesBandsAndClasses) {
    EXPECT_EQ(ModelCatalogue::ChannelCount(Identity(0xFB, 5, 1)), 16);
    EXPECT_EQ(ModelCatalogue::ChannelCount(Identity(0xFF, 0, 1)), 4);
    EXPECT_EQ(ModelCatalogue::ChannelCount(Identity(0xFC, 0, 1)), 4);
    EXPECT_EQ(ModelCatalogue::EntryMode(Identity(0xFC, 0, 1)), EntryMode::List99);
    EXPECT_EQ(ModelCatalogue::BandWord(Identity(0xFB, 5, 1)), 0x0105);

    EXPECT_EQ(ModelCatalogue::BandLimitsOf(Identity(0xFF, 0, 1)), (BandLimits{440, 480}));
    EXPECT_EQ(ModelCatalogue::BandLimitsOf(Identity(0xFF, 1, 0)), (BandLimits{325, 360}));
    EXPECT_EQ(ModelCatalogue::BandLimitsOf(Identity(0xFF, 1, 7)), (BandLimits{325, 360}));

    EXPECT_EQ(ModelCatalogue::BandRecordOf(Identity(0xFF, 1, 0)), 0);
    EXPECT_EQ(ModelCatalogue::BandRecordOf(Identity(0xFB, 6, 1)), 5);
    EXPECT_EQ(ModelCatalogue::BandRecordOf(Identity(0xFB, 6, 0)), -1);

    EXPECT_EQ(ModelCatalogue::MarketClass(Identity(0xFF, 1, 0)), 0);
    for (int market : {0, 1, 5, 6}) EXPECT_EQ(ModelCatalogue::MarketClass(Identity(0xFF, market, 1)), 1);
    EXPECT_EQ(ModelCatalogue::MarketClass(Identity(0xFF, 2, 1)), -1);
    EXPECT_EQ(ModelCatalogue::ReservedFrequenciesHz(0).size(), 0u);
    EXPECT_EQ(ModelCatalogue::ReservedFrequenciesHz(1),
              (std::vector<std::int64_t>{460793750, 460795000, 460800000, 460805000, 460806250}));

    // Destination class 5 (market code 2) is the one the load fix-up asks about.
    RadioImage image;
    ModelCatalogue catalogue(image);
    image.SetIdentity(Identity(0xFF, 2, 1));
    EXPECT_TRUE(catalogue.IsDestinationClass5());
    image.SetIdentity(Identity(0xFF, 0, 1));
    EXPECT_FALSE(catalogue.IsDestinationClass5());
}

TEST(ModelCatalogueCompare, CurrentModelFamilyAndSiblings) {
    Fixture f;
    f.image.SetIdentity(Identity(0xFB, 5, 1));
    ModelIdentity same = Identity(0xFB, 5, 1);
    same[12] = 0x00;  // only the first 12 bytes count
    EXPECT_TRUE(f.catalogue.IsCurrentModel(same));
    EXPECT_FALSE(f.catalogue.IsCurrentModel(Identity(0xFB, 5, 0)));
    EXPECT_TRUE(f.catalogue.IsSameFamily(Identity(0xFF, 5, 0)));   // market 5, typed
    EXPECT_FALSE(f.catalogue.IsSameFamily(Identity(0xFC, 5, 1)));  // list of 99
    EXPECT_FALSE(f.catalogue.IsSameFamily(Identity(0xFB, 6, 1)));

    ModelIdentity sibling{};
    const char* names[] = {"LMX-7208", "LMX7208A", "LMX7208B"};
    for (int i = 0; i < 3; ++i) {
        std::copy_n(names[i], 8, sibling.begin());
        EXPECT_EQ(ModelCatalogue::IsSiblingProduct(sibling), i < 2 ? i : -1);
    }
}

TEST(ModelCatalogueTexts, ListSummaryAndBandTexts) {
    EXPECT_EQ(ModelCatalogue::ModelListText(1), "HRV-41  LMR  [UHF]: K");
    EXPECT_EQ(ModelCatalogue::ModelListText(2), "HRV-41  Varitel  [UHF]: K");
    EXPECT_EQ(ModelCatalogue::ModelListText(3), "HRV-41A  LMR  [UHF]: K");
    EXPECT_EQ(ModelCatalogue::ModelListText(4), "HRV-41  LMR  [UHF]: P");
    EXPECT_EQ(ModelCatalogue::ModelListText(5), "");
    EXPECT_EQ(ModelCatalogue::ModelListText(-1), "");

    EXPECT_EQ(ModelCatalogue::ModelSummaryText(Identity(0xFF, 0, 1), ","), "HRV-41 LMR : K UHF : 440-480 MHz");
    EXPECT_EQ(ModelCatalogue::ModelSummaryText(ModelCatalogue::DefaultIdentity(), "."),
              "HRV-41A LMR : K UHF : 440-480 MHz");
    EXPECT_EQ(ModelCatalogue::ModelSummaryText(Identity(0xFA, 5, 1), "."), "");

    EXPECT_EQ(ModelCatalogue::BandText(0, "."), "325-360 MHz");
    EXPECT_EQ(ModelCatalogue::BandText(6, "."), "");
    EXPECT_EQ(ModelCatalogue::BandText(-1, "."), "");

    const auto models = ModelCatalogue::ModelList();
    ASSERT_EQ(models.size(), 4u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(models[i], (ListEntry{ModelCatalogue::ModelListText(i + 1), i + 1}));
    EXPECT_EQ(ModelCatalogue::BandList(0, "."),
              (std::vector<ListEntry>{{"325-360 MHz", 0x0001}, {"440-480 MHz", 0x0101}}));
    EXPECT_EQ(ModelCatalogue::BandList(3, "."), (std::vector<ListEntry>{{"440-480 MHz", 0x0105}}));
    EXPECT_TRUE(ModelCatalogue::BandList(5, ".").empty());
}

TEST(ModelCatalogueWriters, SetModelBandWordAndReset) {
    Fixture f;
    f.image.Live().fill(0x00);
    ASSERT_TRUE(f.catalogue.SetModel(2));
    f.catalogue.SetBandWord(0x0100);
    EXPECT_EQ(f.image.Identity(), (ModelIdentity{'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFC, 0xFF, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(f.catalogue.FindModel(), 2);

    const ModelIdentity before = f.image.Identity();
    EXPECT_FALSE(f.catalogue.SetModel(5));
    EXPECT_FALSE(f.catalogue.SetModel(-1));
    EXPECT_EQ(f.image.Identity(), before);

    f.catalogue.SetEntryMode(EntryMode::Typed);
    EXPECT_EQ(f.image.Live()[8], 0xFF);

    f.catalogue.ResetIdentity();
    EXPECT_EQ(f.image.Identity(), ModelCatalogue::DefaultIdentity());
    EXPECT_EQ(f.catalogue.FindModel(), ModelCatalogue::kDefaultModel);
    EXPECT_EQ(f.catalogue.BandRecordOf(), ModelCatalogue::kDefaultBandRecord);
    EXPECT_EQ(f.image.Live()[16], 0x00);  // only the identity is written
}

TEST(ModelCatalogueLimits, CachedUntilRecomputed) {
    Fixture f;
    EXPECT_EQ(f.catalogue.CurrentBandLimits(), (BandLimits{325, 360}));  // blank image
    f.catalogue.ResetIdentity();
    EXPECT_EQ(f.catalogue.CurrentBandLimits(), (BandLimits{325, 360}));
    f.catalogue.RecomputeBandLimits();
    EXPECT_EQ(f.catalogue.CurrentBandLimits(), (BandLimits{440, 480}));
}

}  // namespace
}  // namespace vrm
