#include "core/model/radio_image.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "core/model/model_catalogue.h"

namespace vrm {
namespace {

void Put(ImageBuffer& image, std::size_t offset, std::initializer_list<int> bytes) {
    for (int b : bytes) image[offset++] = static_cast<std::uint8_t>(b);
}

// An image with the identity of `model` and `bandWord` and every other byte
// blank, as the New command starts from.
struct Fixture {
    RadioImage image;
    ModelCatalogue catalogue{image};

    void Select(int model, std::uint16_t bandWord) {
        image.Clear();
        catalogue.SetModel(model);
        catalogue.SetBandWord(bandWord);
    }
};

TEST(RadioImageModified, FollowsLiveAgainstSavedAndLeavesTransferAlone) {
    RadioImage image;
    EXPECT_FALSE(image.IsModified());
    image.Transfer().fill(0x5A);  // a read transfer half done
    image.Live()[0x123] = 0x00;
    EXPECT_TRUE(image.IsModified());
    image.Live()[0x123] = 0xFF;
    EXPECT_FALSE(image.IsModified());
    image.Live()[0x3FF] = 0x01;
    EXPECT_TRUE(image.IsModified());
    image.TakeSnapshot();
    EXPECT_FALSE(image.IsModified());
    for (std::uint8_t b : image.Transfer()) ASSERT_EQ(b, 0x5A);
}

TEST(RadioImageBuffers, ClearAdoptAndDeleteAllChannels) {
    RadioImage image;
    image.Live().fill(0x11);
    image.Transfer().fill(0x22);
    image.Clear();
    for (std::size_t i = 0; i < kImageSize; ++i) {
        ASSERT_EQ(image.Live()[i], 0xFF);
        ASSERT_EQ(image.Transfer()[i], 0xFF);
    }
    image.Transfer().fill(0x33);
    image.AdoptTransferImage();
    EXPECT_EQ(image.Live(), image.Transfer());

    image.Live().fill(0x00);
    image.DeleteAllChannels();
    for (std::size_t i = 0; i < kImageSize; ++i)
        ASSERT_EQ(image.Live()[i], (i >= 0x060 && i < 0x170) ? 0xFF : 0x00) << "offset " << i;
}

TEST(RadioImageChannels, AddressExistsOnlyBelowTheChannelCount) {
    Fixture f;
    f.Select(1, 0x0100);  // 4 channels
    EXPECT_EQ(f.image.ChannelAddress(0), 0x070);
    EXPECT_EQ(f.image.ChannelAddress(3), 0x0A0);
    EXPECT_EQ(f.image.ChannelAddress(4), -1);  // inside the table, but not on this model
    EXPECT_EQ(f.image.ChannelAddress(-1), -1);
    f.Select(3, 0x0105);  // 16 channels
    EXPECT_EQ(f.image.ChannelAddress(15), 0x160);
    EXPECT_EQ(f.image.ChannelAddress(16), -1);

    // In-use bits: channel 0 is bit 0 of 0x6F, channel 15 bit 7 of 0x6E.
    f.image.Live()[kChannelInUseLow] = 0xFE;
    f.image.Live()[kChannelInUseHigh] = 0x7F;
    EXPECT_TRUE(f.image.ChannelInUse(0));
    EXPECT_FALSE(f.image.ChannelInUse(1));
    EXPECT_TRUE(f.image.ChannelInUse(15));
    EXPECT_FALSE(f.image.ChannelInUse(16));
}

// The New defaults written out from the description, byte by byte, for a
// 440-480 MHz model of the given entry mode.
ImageBuffer ExpectedUhfDefaults(const ModelIdentity& identity, EntryMode mode) {
    ImageBuffer e;
    e.fill(0xFF);
    std::copy(identity.begin(), identity.end(), e.begin());
    // Test frequencies, pairs 0-5; 6 and 7 blank.
    Put(e, 0x210, {0x00, 0x50, 0x00, 0x46, 0x00, 0x00, 0x01, 0x46});  // 460.05, 460.10
    Put(e, 0x218, {0x00, 0x50, 0x00, 0x44, 0x00, 0x00, 0x01, 0x44});  // 440.05, 440.10
    Put(e, 0x220, {0x00, 0x50, 0x99, 0x47, 0x00, 0x00, 0x99, 0x47});  // 479.95, 479.90
    Put(e, 0x228, {0x00, 0x00, 0x00, 0x46, 0x00, 0x00, 0x00, 0x46});  // 460.00, 460.00
    Put(e, 0x230, {0x00, 0x00, 0x02, 0x46, 0x00, 0x00, 0x02, 0x46});  // 460.20, 460.20
    Put(e, 0x238, {0x00, 0x00, 0x04, 0x46, 0x00, 0x00, 0x04, 0x46});  // 460.40, 460.40
    Put(e, 0x200, {0x22, 0x22, 0x22, 0x22, 0x22, 0x22});               // all 6.25 kHz steps
    // Band points low, centre, high.
    Put(e, 0x2A0, {0x00, 0x50, 0x00, 0x44, 0x00, 0x00, 0x01, 0x44});
    Put(e, 0x2A8, {0x00, 0x50, 0x00, 0x46, 0x00, 0x00, 0x01, 0x46});
    Put(e, 0x2B0, {0x00, 0x50, 0x99, 0x47, 0x00, 0x00, 0x99, 0x47});
    Put(e, 0x2C0, {0x22, 0x22, 0x22});
    // Optional features: bytes 7, 12, 13 keep their (blank) value.
    Put(e, 0x010, {4, 0, 0, 0, 0, 7, 1});
    e[0x018] = mode == EntryMode::Typed ? 0x39 : mode == EntryMode::List99 ? 0x3F : 0x3D;
    Put(e, 0x019, {0xE1, 0x01, 0x04});
    Put(e, 0x01E, {0x02, 0x31});
    // Scan: dwell 3, dropout 3, revert channel 1.
    Put(e, 0x020, {0x00, 31, 31, 0x03, 0x00, 0x03, 0x00, 0x00, 0x01});
    // Keys.
    if (mode == EntryMode::Typed) Put(e, 0x040, {0, 4, 1, 0xFF});
    if (mode == EntryMode::List99) Put(e, 0x040, {0, 0, 0, 0xFF});
    // Embedded message lines and the first two special settings.
    for (std::size_t i = 0x3B0; i < 0x3F0; ++i) e[i] = 0;
    Put(e, 0x190, {0, 0});
    // Custom codes of the fixed-list models: 67.0 Hz and 0x2813.
    if (mode == EntryMode::List99) {
        for (int w = 0; w < 6; ++w) Put(e, 0x170 + 2 * w, {0x9E, 0x02});
        for (int w = 8; w < 14; ++w) Put(e, 0x170 + 2 * w, {0x13, 0x28});
    }
    return e;
}

TEST(RadioImageDefaults, EveryOfferedModelMatchesTheListedBytes) {
    const struct {
        int model;
        std::uint16_t band;
        EntryMode mode;
    } models[] = {{1, 0x0100, EntryMode::Typed},
                  {2, 0x0100, EntryMode::List99},
                  {3, 0x0105, EntryMode::Typed},
                  {4, 0x0106, EntryMode::Typed}};
    for (const auto& m : models) {
        Fixture f;
        f.Select(m.model, m.band);
        const ModelIdentity id = f.image.Identity();
        f.image.InitialiseDefaults(f.catalogue, false);
        const ImageBuffer expected = ExpectedUhfDefaults(id, m.mode);
        for (std::size_t i = 0; i < kImageSize; ++i)
            ASSERT_EQ(f.image.Live()[i], expected[i]) << "model " << m.model << " offset 0x" << std::hex << i;
        EXPECT_EQ(f.catalogue.CurrentBandLimits(), (BandLimits{440.0, 480.0}));
    }
}

TEST(RadioImageDefaults, ResetIdentityWritesModel3AndItsDefaults) {
    Fixture f;
    f.Select(2, 0x0100);
    f.image.InitialiseDefaults(f.catalogue, true);
    const ModelIdentity def = {'P', 'H', 'R', 'V', '-', '4', '1', 0xFF, 0xFB, 0xFF, 5, 1, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(f.image.Identity(), def);
    EXPECT_EQ(f.image.Live()[0x018], 0x39);  // a typed-frequency model now
    EXPECT_EQ(f.image.Live()[0x170], 0xFF);  // no custom codes
}

TEST(RadioImageDefaults, OtherBandUses325To360Frequencies) {
    Fixture f;
    f.Select(0, 0x0001);  // the only band-code-0 record
    f.image.InitialiseDefaults(f.catalogue, false);
    const auto& l = f.image.Live();
    const ImageBuffer::value_type pair0[] = {0x00, 0x50, 0x50, 0x32, 0x00, 0x00, 0x51, 0x32};  // 325.05, 325.10
    const ImageBuffer::value_type pair1[] = {0x00, 0x50, 0x25, 0x34, 0x00, 0x00, 0x26, 0x34};  // 342.55, 342.60
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(l[0x210 + i], pair0[i]) << i;
        EXPECT_EQ(l[0x218 + i], pair1[i]) << i;
        EXPECT_EQ(l[0x2A0 + i], pair0[i]) << i;
    }
    // 345.00000: digits 3 4 5 0 0 0 0 0.
    EXPECT_EQ(l[0x228], 0x00);
    EXPECT_EQ(l[0x229], 0x00);
    EXPECT_EQ(l[0x22A], 0x50);
    EXPECT_EQ(l[0x22B], 0x34);
    EXPECT_EQ(f.catalogue.CurrentBandLimits(), (BandLimits{325.0, 360.0}));
}

TEST(RadioImageDefaults, BytesNoStepNamesKeepTheirValue) {
    Fixture f;
    f.image.Live().fill(0xA5);
    f.catalogue.SetModel(3);
    f.catalogue.SetBandWord(0x0105);
    f.image.InitialiseDefaults(f.catalogue, false);
    const auto& l = f.image.Live();
    EXPECT_EQ(l[0x017], 0xA5);
    EXPECT_EQ(l[0x01C], 0xA5);
    EXPECT_EQ(l[0x01D], 0xA5);
    EXPECT_EQ(l[0x029], 0xA5);  // scan byte 9
    EXPECT_EQ(l[0x043], 0xFF);  // key byte 3 is blanked
    EXPECT_EQ(l[0x044], 0xA5);
    EXPECT_EQ(l[0x070], 0xA5);  // channel records stay; the bitmap empties them
    EXPECT_EQ(l[0x06E], 0xFF);
    EXPECT_EQ(l[0x06F], 0xFF);
    EXPECT_EQ(l[0x174], 0xA5);  // custom word 2 of a typed model
    EXPECT_EQ(l[0x192], 0xA5);
    EXPECT_EQ(l[0x206], 0xA5);  // step bytes of pairs 6 and 7
    EXPECT_EQ(l[0x250], 0xA5);  // test area beyond its 64 bytes
    EXPECT_EQ(l[0x2B8], 0xA5);  // band point area beyond its 24 bytes
    EXPECT_EQ(l[0x2C3], 0xA5);
    EXPECT_EQ(l[0x3F0], 0xA5);
    for (int i = 0x240; i < 0x250; ++i) EXPECT_EQ(l[i], 0xFF);  // pairs 6, 7 blank
}

TEST(RadioImageDefaults, PresetChannelWriterRunsForTheList99ModelOnly) {
    for (int model = 1; model <= 4; ++model) {
        Fixture f;
        int calls = 0;
        f.image.SetPresetChannelWriter([&](RadioImage& image, ModelCatalogue& catalogue) {
            EXPECT_EQ(&image, &f.image);
            EXPECT_EQ(&catalogue, &f.catalogue);
            // It runs after the bitmap was emptied and before the message
            // lines are written.
            EXPECT_EQ(image.Live()[0x06F], 0xFF);
            EXPECT_EQ(image.Live()[0x3B0], 0xFF);
            image.Live()[0x06F] = 0xF0;
            ++calls;
        });
        f.Select(model, model == 3 ? 0x0105 : model == 4 ? 0x0106 : 0x0100);
        f.image.InitialiseDefaults(f.catalogue, false);
        EXPECT_EQ(calls, model == 2 ? 1 : 0) << "model " << model;
        EXPECT_EQ(f.image.Live()[0x06F], model == 2 ? 0xF0 : 0xFF);
    }
}

TEST(RadioImageFixUp, MicSenseBlankBecomes1Or2ForDestinationClass5) {
    Fixture f;
    f.Select(1, 0x0100);
    for (int v : {0xFF, 0xFE}) {
        f.image.Live()[0x016] = static_cast<std::uint8_t>(v);
        f.image.FixUpAfterLoad(f.catalogue);
        EXPECT_EQ(f.image.Live()[0x016], 1);
    }
    f.image.Live()[0x016] = 0x02;
    f.image.FixUpAfterLoad(f.catalogue);
    EXPECT_EQ(f.image.Live()[0x016], 2);
    f.image.Live()[0x016] = 0xFD;
    f.image.FixUpAfterLoad(f.catalogue);
    EXPECT_EQ(f.image.Live()[0x016], 0xFD);

    f.image.Live()[10] = 2;  // market code 2: destination class 5
    f.image.Live()[0x016] = 0xFF;
    f.image.FixUpAfterLoad(f.catalogue);
    EXPECT_EQ(f.image.Live()[0x016], 2);
}

}  // namespace
}  // namespace vrm
