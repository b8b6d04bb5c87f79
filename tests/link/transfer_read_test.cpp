// The read transfer against the simulated radio, through the drop-in library.
#include <gtest/gtest.h>

#include "core/base/text_ids.h"
#include "link/transfer_fixture.h"
#include "core/model/model_catalogue.h"

namespace vrm {
namespace {

using namespace test;
using ReadTransfer = DropInTransfer;

TEST_F(ReadTransfer, AFullReadIsTheRadiosMemoryWithTheReportedIdentityAndByte12Blank) {
    SimulatedRadio radio = PatternRadio(ModelCatalogue::DefaultIdentity());
    radio.Memory()[3] = 0x00;  // memory bytes 0-15 that are not the identity the radio reports
    radio.Memory()[12] = 0x42;
    const ModelIdentity reported = WithBytes(ModelCatalogue::DefaultIdentity(), {{12, 0x42}, {14, 0x07}});
    Install(radio, "identity=" + Hex(reported));
    RadioImage image;
    image.Live().fill(0x33);
    image.TakeSnapshot();

    const TransferResult r = ReadDataFromRadio(Context(), image.Transfer());
    ASSERT_TRUE(r.Ok());
    ImageBuffer expected = radio.Memory();
    std::copy(reported.begin(), reported.end(), expected.begin());
    expected[12] = 0xFF;
    EXPECT_EQ(image.Transfer(), expected);
    EXPECT_FALSE(image.IsModified()) << "only the transfer image: the caller adopts it";
    EXPECT_EQ(Count("read "), 64);
    EXPECT_EQ(Session().back(), "exit");
    EXPECT_FALSE(port.IsOpen());

    // 0 / 64, each block before it is read, then 64 / 64.
    std::vector<int> progress = {0};
    for (int i = 0; i < 64; ++i) progress.push_back(i);
    progress.push_back(64);
    EXPECT_EQ(observer.progress, progress);
    EXPECT_EQ(observer.captions.back(), "Block 64 / 64");
    EXPECT_EQ(observer.texts, std::vector<std::string>{T(tid::kReadWindowRunning)});
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10401003});
    EXPECT_EQ(prompter.asked[0].caption, T(10401005));
}

TEST_F(ReadTransfer, AReadFailingAtBlock40LeavesTheDataAloneAndTellsTheUserOnce) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "read-silent=40");
    RadioImage image;
    image.Live().fill(0x33);
    image.TakeSnapshot();
    const ImageBuffer saved = image.Saved();

    const TransferResult r = ReadDataFromRadio(Context(), image.Transfer());
    EXPECT_EQ(r.status, TransferStatus::kBlockFailed);
    EXPECT_EQ(r.failedBlock, 40);
    EXPECT_EQ(image.Live(), saved);
    EXPECT_EQ(image.Saved(), saved);
    EXPECT_FALSE(port.IsOpen());
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    // The block and why, and that the document is as it was.
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\nBlock 40 (address 0x280): no answer from the radio.\n\n" +
                                          T(tid::kDocumentUnchanged));
    EXPECT_EQ(Count("heard 45"), 2) << "two exit tries";
    EXPECT_EQ(observer.texts, (std::vector<std::string>{T(10401002), T(10401001)}));
}

TEST_F(ReadTransfer, RadiosThatDoNotAnswerOrDoNotFitAreRefusedBeforeAnyBlock) {
    struct Case {
        std::string fault;
        int text;
        TransferStatus status;
    };
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    const Case cases[] = {
        {"program-silent", 10007003, TransferStatus::kNoAnswer},
        {"program-nak", 10007003, TransferStatus::kNoAnswer},
        {"identify-short", 10007003, TransferStatus::kIdentifyFailed},
        {"model=LMX-7208", 10007021, TransferStatus::kSiblingProduct},
        {"model=LMX7208A", 10007021, TransferStatus::kSiblingProduct},
        {"model=PHRV-42", 10007004, TransferStatus::kModelRefused},
        {"identity=" + Hex(WithBytes(id, {{11, 2}})), 10007004, TransferStatus::kModelRefused},
        {"identity=" + Hex(WithBytes(id, {{11, 0}})), 10007004, TransferStatus::kModelRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Install(PatternRadio(id), c.fault);
        ImageBuffer transfer{};
        EXPECT_EQ(RunReadTransfer(Context(), transfer).status, c.status);
        EXPECT_EQ(prompter.TextIds(), std::vector<int>{c.text});
        EXPECT_EQ(prompter.asked.at(0).caption, T(tid::kCaptionError));
        EXPECT_EQ(Count("read "), 0);
        if (c.text != 10007003) {
            EXPECT_EQ(Session().back(), "exit") << "the radio leaves program mode";
        }
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(transfer, ImageBuffer{});
    }
}

TEST(ReadAcceptance, TheMarketAndBandPairsOfTheBandRecords) {
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    // Market-1 radios (of the model never offered) may be read too.
    for (auto [market, band] : {std::pair{1, 0}, {1, 1}, {0, 1}, {5, 1}, {6, 1}})
        EXPECT_TRUE(IsReadableRadio(WithBytes(id, {{10, market}, {11, band}}))) << market << "," << band;
    for (auto [market, band] : {std::pair{0, 0}, {5, 0}, {2, 1}, {1, 2}, {0xFF, 0xFF}})
        EXPECT_FALSE(IsReadableRadio(WithBytes(id, {{10, market}, {11, band}}))) << market << "," << band;
}

TEST_F(ReadTransfer, APulledCableAndAMissingLibraryAreNamedInTheRetryMessage) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "pull=10");  // at block 3
    ImageBuffer transfer{};
    TransferResult r = RunReadTransfer(Context(), transfer);
    EXPECT_EQ(r.failedBlock, 3);
    EXPECT_EQ(r.link, LinkError::kDisconnected);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\nBlock 3 (address 0x030): the cable was unplugged.\n\n" +
                                          T(tid::kDocumentUnchanged));

    ProgrammingPort missing(std::make_unique<LibraryTransport>((dir / "libpipelink.so").string()),
                            SystemClock::Instance());
    prompter.asked.clear();
    r = RunReadTransfer({missing, prompter, EnglishTexts(), observer}, transfer);
    EXPECT_EQ(r.status, TransferStatus::kNoAnswer);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\n" + T(tid::kLinkLibraryMissing));
}

}  // namespace
}  // namespace vrm
