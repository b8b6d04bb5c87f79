// The read transfer against the simulated radio, through the drop-in library.
#include <gtest/gtest.h>

#include "app/text_ids.h"
#include "link/read_transfer.h"
#include "link/transfer_fixture.h"
#include "model/model_catalogue.h"

namespace vrm {
namespace {

using test::DropInTransfer;
using test::PatternRadio;

ModelIdentity WithBytes(ModelIdentity id, std::initializer_list<std::pair<int, std::uint8_t>> bytes) {
    for (auto [at, v] : bytes) id[static_cast<std::size_t>(at)] = v;
    return id;
}

std::string Hex(const ModelIdentity& id) { return HexBytes(id.data(), id.size()); }

using ReadTransfer = DropInTransfer;

TEST_F(ReadTransfer, AFullReadIsTheRadiosMemoryWithTheReportedIdentityAndByte12Blank) {
    SimulatedRadio radio = PatternRadio(ModelCatalogue::DefaultIdentity());
    radio.Memory()[3] = 0x00;  // memory bytes 0-15 that differ from the identity the radio reports
    radio.Memory()[12] = 0x42;
    Install(radio);
    // The radio reports an identity whose byte 12 is not blank.
    const ModelIdentity reported = WithBytes(ModelCatalogue::DefaultIdentity(), {{12, 0x42}, {14, 0x07}});
    Faults("identity=" + Hex(reported));

    RadioImage image;
    image.Live().fill(0x33);
    image.TakeSnapshot();
    const TransferResult r = ReadDataFromRadio(Context(), image.Transfer());
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.blocksDone, 64);

    ImageBuffer expected = radio.Memory();
    std::copy(reported.begin(), reported.end(), expected.begin());
    expected[12] = 0xFF;
    EXPECT_EQ(image.Transfer(), expected);
    EXPECT_EQ(image.Live()[100], 0x33) << "the transfer image only: the caller adopts it";
    EXPECT_FALSE(image.IsModified());

    // Every block once, in order, then the exit; the port closed.
    std::vector<std::string> reads;
    for (const std::string& l : Session())
        if (l.rfind("read ", 0) == 0) reads.push_back(l);
    ASSERT_EQ(reads.size(), 64u);
    EXPECT_EQ(reads.front(), "read 0x000 16");
    EXPECT_EQ(reads.back(), "read 0x3F0 16");
    EXPECT_EQ(Session().back(), "exit");
    EXPECT_FALSE(port.IsOpen());

    // Progress 0 / 64, each block before it is read, then 64 / 64; the
    // window text while running and the success box.
    std::vector<int> progress = {0};
    for (int i = 0; i < 64; ++i) progress.push_back(i);
    progress.push_back(64);
    EXPECT_EQ(observer.Progress(), progress);
    const auto caption = [&](int done) {
        for (const auto& e : observer.events)
            if (e.kind == test::RecordingObserver::Event::Kind::kProgress && e.done == done) return e.text;
        return std::string();
    };
    EXPECT_EQ(caption(0), "Block 0 / 64");
    EXPECT_EQ(caption(64), "Block 64 / 64");
    EXPECT_EQ(observer.WindowTexts(), std::vector<std::string>{T(tid::kReadWindowRunning)});
    EXPECT_GE(observer.Pumps(), 64);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].textId, 10401003);
    EXPECT_EQ(prompter.asked[0].caption, T(10401005));
    EXPECT_EQ(prompter.asked[0].kind, MessageKind::Information);
}

TEST_F(ReadTransfer, AReadFailingAtBlock40LeavesTheDataAloneAndTellsTheUserOnce) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    Faults("read-silent=40");
    RadioImage image;
    image.Live().fill(0x33);
    image.TakeSnapshot();
    const ImageBuffer saved = image.Saved();

    const TransferResult r = ReadDataFromRadio(Context(), image.Transfer());
    EXPECT_EQ(r.status, TransferStatus::kBlockFailed);
    EXPECT_EQ(r.Code(), 1);
    EXPECT_EQ(r.failedBlock, 40);
    EXPECT_EQ(r.blocksDone, 40);
    EXPECT_EQ(image.Live(), saved);
    EXPECT_EQ(image.Saved(), saved);
    EXPECT_FALSE(port.IsOpen());

    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    EXPECT_EQ(prompter.asked[0].caption, T(tid::kCaptionError));
    EXPECT_EQ(prompter.asked[0].text, T(10007003)) << "the link itself had nothing to add";
    // The exit was tried twice; the silent radio heard both.
    EXPECT_EQ(Count("heard 45"), 2);
    EXPECT_EQ(observer.Progress().back(), 40);
    EXPECT_EQ(observer.WindowTexts(), (std::vector<std::string>{T(10401002), T(10401001)}));
}

TEST_F(ReadTransfer, NoAnswerToProgramOrANakEndsBeforeAnyBlock) {
    for (const char* fault : {"program-silent", "program-nak"}) {
        SCOPED_TRACE(fault);
        Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
        Faults(fault);
        prompter.asked.clear();
        ImageBuffer transfer{};
        const TransferResult r = RunReadTransfer(Context(), transfer);
        EXPECT_EQ(r.status, TransferStatus::kNoAnswer);
        EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007003});
        EXPECT_FALSE(Has("read "));
        EXPECT_FALSE(Has("identify"));
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(transfer, ImageBuffer{});
    }
}

TEST_F(ReadTransfer, AShortIdentificationIsACommunicationFailure) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    Faults("identify-short=47");
    ImageBuffer transfer{};
    const TransferResult r = RunReadTransfer(Context(), transfer);
    EXPECT_EQ(r.status, TransferStatus::kIdentifyFailed);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    EXPECT_FALSE(Has("read "));
    EXPECT_FALSE(port.IsOpen());
}

TEST_F(ReadTransfer, SiblingProductsAndUnknownModelsAreRefusedWithTheirOwnTexts) {
    struct Case {
        std::string fault;
        int text;
        TransferStatus status;
    };
    const ModelIdentity band2 = WithBytes(ModelCatalogue::DefaultIdentity(), {{11, 2}});
    const ModelIdentity market7 = WithBytes(ModelCatalogue::DefaultIdentity(), {{10, 7}});
    const ModelIdentity market5band0 = WithBytes(ModelCatalogue::DefaultIdentity(), {{11, 0}});
    const Case cases[] = {
        {"model=LMX-7208", 10007021, TransferStatus::kSiblingProduct},
        {"model=LMX7208A", 10007021, TransferStatus::kSiblingProduct},
        {"model=PHRV-42", 10007004, TransferStatus::kModelRefused},
        {"identity=" + Hex(band2), 10007004, TransferStatus::kModelRefused},
        {"identity=" + Hex(market7), 10007004, TransferStatus::kModelRefused},
        {"identity=" + Hex(market5band0), 10007004, TransferStatus::kModelRefused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
        Faults(c.fault);
        prompter.asked.clear();
        ImageBuffer transfer{};
        const TransferResult r = RunReadTransfer(Context(), transfer);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(prompter.TextIds(), std::vector<int>{c.text});
        EXPECT_EQ(prompter.asked.at(0).caption, T(tid::kCaptionError));
        EXPECT_FALSE(Has("read "));
        EXPECT_EQ(Session().back(), "exit") << "the radio leaves program mode";
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(transfer, ImageBuffer{});
    }
}

TEST(ReadAcceptance, TheMarketAndBandPairsOfTheBandRecords) {
    // Market-1 radios (the model that is never offered) may be read; any
    // other pair, or another name, may not.
    const ModelIdentity id = ModelCatalogue::DefaultIdentity();
    const std::pair<int, int> readable[] = {{1, 0}, {1, 1}, {0, 1}, {5, 1}, {6, 1}};
    const std::pair<int, int> unreadable[] = {{0, 0}, {5, 0}, {6, 0}, {2, 1}, {1, 2}, {0xFF, 0xFF}};
    for (auto [market, band] : readable)
        EXPECT_TRUE(IsReadableRadio(WithBytes(id, {{10, static_cast<std::uint8_t>(market)},
                                                   {11, static_cast<std::uint8_t>(band)}})))
            << market << "," << band;
    for (auto [market, band] : unreadable)
        EXPECT_FALSE(IsReadableRadio(WithBytes(id, {{10, static_cast<std::uint8_t>(market)},
                                                    {11, static_cast<std::uint8_t>(band)}})))
            << market << "," << band;
    EXPECT_FALSE(IsReadableRadio(WithBytes(id, {{7, 0x00}})));
}

TEST_F(ReadTransfer, APulledCableAndAMissingLibraryAreNamedInTheRetryMessage) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    Faults("pull=10");  // during the fourth block
    ImageBuffer transfer{};
    TransferResult r = RunReadTransfer(Context(), transfer);
    EXPECT_EQ(r.status, TransferStatus::kBlockFailed);
    EXPECT_EQ(r.failedBlock, 3);
    EXPECT_EQ(r.link, LinkError::kDisconnected);
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\n" + T(tid::kLinkDisconnected));

    ProgrammingPort missing(std::make_unique<LibraryTransport>((dir / "libpipelink.so").string()),
                            SystemClock::Instance());
    prompter.asked.clear();
    r = RunReadTransfer({missing, prompter, test::EnglishTexts(), observer}, transfer);
    EXPECT_EQ(r.status, TransferStatus::kNoAnswer);
    EXPECT_EQ(r.link, LinkError::kLibraryMissing);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\n" + T(tid::kLinkLibraryMissing));
}

}  // namespace
}  // namespace vrm
