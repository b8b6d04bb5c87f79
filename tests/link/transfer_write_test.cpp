// The write transfer against the simulated radio, through the drop-in
// library; the ','-command failure in process on virtual time.
#include <gtest/gtest.h>

#include <cstring>

#include "app/text_ids.h"
#include "link/sim_fixture.h"
#include "link/transfer_fixture.h"
#include "link/write_transfer.h"
#include "model/model_catalogue.h"

namespace vrm {
namespace {

using test::DropInTransfer;
using test::PatternRadio;

ModelIdentity IdentityOf(int model) {
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(model);
    const std::uint16_t bands[] = {0x0101, 0x0100, 0x0100, 0x0105, 0x0106};
    catalogue.SetBandWord(bands[model]);
    return image.Identity();
}

ModelIdentity Named(const char* name) {
    ModelIdentity id = IdentityOf(1);
    std::fill(id.begin(), id.begin() + 8, 0xFF);
    std::copy(name, name + std::strlen(name), id.begin());
    return id;
}

// The document's data: a pattern over the whole image, the identity on top.
ImageBuffer Document(const ModelIdentity& identity) {
    ImageBuffer image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(0xA0 ^ (i * 13));
    std::copy(identity.begin(), identity.end(), image.begin());
    return image;
}

std::vector<std::string> Writes(const std::vector<std::string>& session) {
    std::vector<std::string> w;
    for (const std::string& l : session)
        if (l.rfind("write ", 0) == 0) w.push_back(l);
    return w;
}

using WriteTransfer = DropInTransfer;

TEST_F(WriteTransfer, AFullWriteStoresAllButTheLastBlockWithTheSettingsBlockLast) {
    const SimulatedRadio before = PatternRadio(ModelCatalogue::DefaultIdentity(), 0x55);
    Install(before);
    const ImageBuffer data = Document(ModelCatalogue::DefaultIdentity());

    const TransferResult r = WriteDataToRadio(Context(), data, false);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(r.blocksDone, 63);

    ImageBuffer expected = data;
    std::copy(before.Memory().begin() + 0x3F0, before.Memory().end(), expected.begin() + 0x3F0);
    EXPECT_EQ(Radio().Memory(), expected);

    const auto session = Session();
    const auto writes = Writes(session);
    ASSERT_EQ(writes.size(), 63u);
    EXPECT_EQ(writes.front(), "write 0x000 16");
    EXPECT_EQ(writes[5], "write 0x050 16");
    EXPECT_EQ(writes[6], "write 0x070 16");
    EXPECT_EQ(writes[61], "write 0x3E0 16");
    EXPECT_EQ(writes.back(), "write 0x060 16");
    EXPECT_EQ(Count("comma 01"), 1);
    EXPECT_EQ(session.back(), "exit");
    EXPECT_FALSE(port.IsOpen());

    // 0 / 64 at the start, block i before each of the 63, then 64 / 64.
    std::vector<int> progress = {0};
    for (int i = 0; i < 63; ++i) progress.push_back(i);
    progress.push_back(64);
    EXPECT_EQ(observer.Progress(), progress);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10402003}) << "no question for the same identity";
    EXPECT_EQ(prompter.asked[0].caption, T(10402005));
    // Without Continuous the dialog ends: the running text stays.
    EXPECT_EQ(observer.WindowTexts(), std::vector<std::string>{T(10402002)});
}

TEST_F(WriteTransfer, AFailedBlockAbandonsTheWriteAndSaysTheRadioIsPartlyWritten) {
    const SimulatedRadio before = PatternRadio(ModelCatalogue::DefaultIdentity(), 0x55);
    Install(before);
    Faults("write-nak=10");
    const ImageBuffer data = Document(ModelCatalogue::DefaultIdentity());

    const TransferResult r = WriteDataToRadio(Context(), data, true);
    EXPECT_EQ(r.status, TransferStatus::kBlockFailed);
    EXPECT_EQ(r.failedBlock, 10);
    EXPECT_EQ(r.blocksDone, 9) << "blocks 0-9 without the settings block";
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\n" + T(tid::kTransferPartialWrite));
    const auto session = Session();
    EXPECT_EQ(session.back(), "abort") << "0xE7 after the failed block, no exit";
    EXPECT_EQ(Count("exit"), 0);
    EXPECT_FALSE(Has("write 0x060"));
    EXPECT_EQ(Radio().Memory()[0x090], data[0x090]);
    EXPECT_EQ(Radio().Memory()[0x0A0], before.Memory()[0x0A0]);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(observer.WindowTexts(), (std::vector<std::string>{T(10402002), T(10402001)}));

    // A radio that has gone silent still hears the abort.
    Faults("write-silent=20");
    prompter.asked.clear();
    EXPECT_EQ(RunWriteTransfer(Context(), data).failedBlock, 20);
    EXPECT_EQ(Count("heard E7"), 1);
}

TEST_F(WriteTransfer, TheSameModelFamilyWithAnotherIdentityAsksFirst) {
    // Data of the HRV-41A (market 5) into an HRV-41 P (market 6).
    const SimulatedRadio before = PatternRadio(IdentityOf(4), 0x55);
    const ImageBuffer data = Document(IdentityOf(3));

    Install(before);
    prompter.answers = {Answer::Cancel};
    TransferResult r = RunWriteTransfer(Context(), data);
    EXPECT_EQ(r.status, TransferStatus::kCancelled);
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007007});
    EXPECT_EQ(prompter.asked[0].kind, MessageKind::Warning);
    EXPECT_EQ(prompter.asked[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(prompter.asked[0].defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter.asked[0].caption, T(tid::kCaptionWarning));
    EXPECT_FALSE(Has("comma"));
    EXPECT_TRUE(Writes(Session()).empty());
    EXPECT_EQ(Session().back(), "exit");
    EXPECT_EQ(Radio().Memory(), before.Memory());

    prompter.asked.clear();
    prompter.answers = {Answer::Ok};
    r = RunWriteTransfer(Context(), data);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007007});
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 0x3F0, Radio().Memory().begin()))
        << "the document's identity goes into the radio with the data";
}

TEST_F(WriteTransfer, TheOtherMarketClassAndUnknownRadiosAreRefused) {
    struct Case {
        const char* what;
        ModelIdentity document;
        ModelIdentity radio;
    };
    ModelIdentity noModel = IdentityOf(3);
    noModel[8] = 0xFA;  // entry mode 2 with 16 channels: no model of the catalogue
    const Case cases[] = {
        {"market 0 data, market 5 radio", IdentityOf(1), IdentityOf(3)},
        {"market 6 data, market 0 radio", IdentityOf(4), IdentityOf(2)},
        {"a radio that matches no model", IdentityOf(3), noModel},
        {"LMX7208A counts as a non-zero market", IdentityOf(1), Named("LMX7208A")},
        {"LMX-7208 counts as market 0", IdentityOf(3), Named("LMX-7208")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Install(PatternRadio(ModelCatalogue::DefaultIdentity(), 0x55));
        Faults("identity=" + HexBytes(c.radio.data(), c.radio.size()));
        prompter.asked.clear();
        const TransferResult r = RunWriteTransfer(Context(), Document(c.document));
        EXPECT_EQ(r.status, TransferStatus::kModelRefused);
        EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007004});
        EXPECT_EQ(prompter.asked.at(0).caption, T(tid::kCaptionError));
        EXPECT_FALSE(Has("comma"));
        EXPECT_EQ(Session().back(), "exit");
        EXPECT_FALSE(port.IsOpen());
    }
}

TEST_F(WriteTransfer, ASiblingRadioOfTheSameMarketClassIsWrittenWithoutAQuestion) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity(), 0x55));
    Faults("model=LMX-7208");
    const TransferResult r = RunWriteTransfer(Context(), Document(IdentityOf(1)));
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(Writes(Session()).size(), 63u);
}

TEST_F(WriteTransfer, ContinuousModeIsReadyForTheNextRadioAfterEachSuccess) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity(), 0x55));
    const ImageBuffer data = Document(ModelCatalogue::DefaultIdentity());
    for (int radio = 0; radio < 2; ++radio) {
        observer.events.clear();
        ASSERT_TRUE(WriteDataToRadio(Context(), data, true).Ok());
        EXPECT_EQ(observer.Progress().back(), 0);
        EXPECT_EQ(observer.events.back().kind, test::RecordingObserver::Event::Kind::kWindowText);
        EXPECT_EQ(observer.events.back().text, T(10402001));
        EXPECT_FALSE(port.IsOpen());
    }
    EXPECT_EQ(prompter.TextIds(), (std::vector<int>{10402003, 10402003}));
}

TEST(WriteAcceptance, Judgements) {
    const ModelIdentity m1 = IdentityOf(1), m2 = IdentityOf(2), m3 = IdentityOf(3), m4 = IdentityOf(4);
    EXPECT_EQ(JudgeWrite(m3, m3), WriteAcceptance::kAccepted);
    ModelIdentity m3Tail = m3;
    m3Tail[12] = 0x00;  // bytes 12-15 are not compared
    EXPECT_EQ(JudgeWrite(m3, m3Tail), WriteAcceptance::kAccepted);
    EXPECT_EQ(JudgeWrite(m1, m2), WriteAcceptance::kConfirm);
    EXPECT_EQ(JudgeWrite(m3, m4), WriteAcceptance::kConfirm);
    EXPECT_EQ(JudgeWrite(m1, m3), WriteAcceptance::kRefusedMarket);
    EXPECT_EQ(JudgeWrite(m4, m1), WriteAcceptance::kRefusedMarket);
    // The never-offered market-1 model is still a catalogue radio.
    EXPECT_EQ(JudgeWrite(m3, IdentityOf(0)), WriteAcceptance::kConfirm);
    EXPECT_EQ(JudgeWrite(m3, Named("LMX7208A")), WriteAcceptance::kAccepted);
    EXPECT_EQ(JudgeWrite(m3, Named("LMX-7208")), WriteAcceptance::kRefused);
    EXPECT_EQ(JudgeWrite(m1, Named("PHRV-42")), WriteAcceptance::kRefused);
}

// The ','-command that opens the write fails (the cable is pulled as it is
// sent): one exit is tried, not two, and no block is sent.
struct WriteInProcess : test::SimFixture {};

TEST_F(WriteInProcess, AFailedPrepareCommandSendsOneExitAndNoBlock) {
    radio.SetIdentity(ModelCatalogue::DefaultIdentity());
    SimFaults faults;
    faults.pullStep = 4;
    link.SetFaults(faults);
    test::ScriptedPrompter prompter;
    NullTransferObserver observer;
    const TransferResult r =
        RunWriteTransfer({*port, prompter, test::EnglishTexts(), observer}, Document(ModelCatalogue::DefaultIdentity()));
    EXPECT_EQ(r.status, TransferStatus::kPrepareFailed);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    int exits = 0;
    for (const auto& call : transport->Calls())
        if (call.kind == SimulatedTransport::Call::Kind::kSend && call.bytes.size() == 1 &&
            (call.bytes[0] ^ port->Key()) == 0x45)
            ++exits;
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(Logged("write 0x000 16"));
    EXPECT_FALSE(port->IsOpen());
}

}  // namespace
}  // namespace vrm
