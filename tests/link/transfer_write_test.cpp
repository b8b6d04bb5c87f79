// The write transfer against the simulated radio, through the drop-in
// library; the ','-command failure in process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "core/base/text_ids.h"
#include "link/sim_fixture.h"
#include "link/transfer_fixture.h"
#include "core/link/write_transfer.h"
#include "core/model/model_catalogue.h"

namespace vrm {
namespace {

using namespace test;
using WriteTransfer = DropInTransfer;

ModelIdentity IdentityOf(int model) {
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(model);
    catalogue.SetBandWord(std::array<std::uint16_t, 5>{0x0101, 0x0100, 0x0100, 0x0105, 0x0106}[model]);
    return image.Identity();
}

ModelIdentity Named(const char* name) {
    ModelIdentity id = IdentityOf(1);
    std::fill(id.begin(), id.begin() + 8, 0xFF);
    std::memcpy(id.data(), name, std::strlen(name));
    return id;
}

// The document's data: a pattern over the whole image, its identity on top.
ImageBuffer Document(const ModelIdentity& identity) {
    ImageBuffer image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(0xA0 ^ (i * 13));
    std::copy(identity.begin(), identity.end(), image.begin());
    return image;
}

TEST_F(WriteTransfer, AFullWriteStoresAllButTheLastBlockWithTheSettingsBlockLast) {
    const SimulatedRadio before = PatternRadio(ModelCatalogue::DefaultIdentity());
    Install(before);
    const ImageBuffer data = Document(ModelCatalogue::DefaultIdentity());

    ASSERT_TRUE(WriteDataToRadio(Context(), data, false).Ok());
    ImageBuffer expected = data;
    std::copy(before.Memory().begin() + 0x3F0, before.Memory().end(), expected.begin() + 0x3F0);
    EXPECT_EQ(Radio().Memory(), expected);

    std::vector<std::string> writes;
    for (const std::string& l : Session())
        if (l.rfind("write ", 0) == 0) writes.push_back(l.substr(6, 5));
    ASSERT_EQ(writes.size(), 63u);
    EXPECT_EQ(writes[5], "0x050");
    EXPECT_EQ(writes[6], "0x070");
    EXPECT_EQ(writes[61], "0x3E0");
    EXPECT_EQ(writes.back(), "0x060");
    EXPECT_EQ(Count("comma 01"), 1);
    EXPECT_EQ(Session().back(), "exit");
    EXPECT_FALSE(port.IsOpen());

    std::vector<int> progress = {0};
    for (int i = 0; i < 63; ++i) progress.push_back(i);
    progress.push_back(64);
    EXPECT_EQ(observer.progress, progress);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10402003}) << "no question for the same identity";
    EXPECT_EQ(observer.texts, std::vector<std::string>{T(10402002)});
}

TEST_F(WriteTransfer, AFailedBlockAbandonsTheWriteAndSaysTheRadioIsPartlyWritten) {
    const ImageBuffer data = Document(ModelCatalogue::DefaultIdentity());
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-nak=10");
    const TransferResult r = WriteDataToRadio(Context(), data, true);
    EXPECT_EQ(r.failedBlock, 10);
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    EXPECT_EQ(prompter.asked[0].text, T(10007003) + "\n\nBlock 10 (address 0x0A0): the radio refused it.\n\n" +
                                          T(tid::kDocumentUnchanged) + "\n\n" + T(tid::kTransferPartialWrite));
    EXPECT_EQ(Session().back(), "abort") << "0xE7 after the failed block, and no exit";
    EXPECT_EQ(Count("exit"), 0);
    EXPECT_EQ(Count("write 0x060"), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(observer.texts, (std::vector<std::string>{T(10402002), T(10402001)}));

    // A radio that has gone silent still hears the abort.
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-silent=20");
    EXPECT_EQ(RunWriteTransfer(Context(), data).failedBlock, 20);
    EXPECT_EQ(Count("heard E7"), 1);
}

TEST_F(WriteTransfer, TheSameMarketClassWithAnotherIdentityAsksFirst) {
    // Data of the HRV-41A (market 5) into an HRV-41 P (market 6).
    const SimulatedRadio before = PatternRadio(IdentityOf(4));
    const ImageBuffer data = Document(IdentityOf(3));

    Install(before);
    prompter.answers = {Answer::Cancel};
    EXPECT_EQ(RunWriteTransfer(Context(), data).status, TransferStatus::kCancelled);
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007007});
    EXPECT_EQ(prompter.asked[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(prompter.asked[0].defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter.asked[0].caption, T(tid::kCaptionWarning));
    EXPECT_EQ(Count("comma"), 0);
    EXPECT_EQ(Session().back(), "exit");
    EXPECT_EQ(Radio().Memory(), before.Memory());

    Install(before);
    prompter.answers = {Answer::Ok};
    ASSERT_TRUE(RunWriteTransfer(Context(), data).Ok());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 0x3F0, Radio().Memory().begin()))
        << "the document's identity goes into the radio with the data";
}

TEST_F(WriteTransfer, RefusedRadiosGetNoBlock) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "identity=" + Hex(IdentityOf(3)));
    EXPECT_EQ(RunWriteTransfer(Context(), Document(IdentityOf(1))).status, TransferStatus::kModelRefused);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007004});
    EXPECT_EQ(Count("comma"), 0);
    EXPECT_EQ(Session().back(), "exit");
    // The refusal names the data's model and the radio's.
    const std::string document = ModelCatalogue::ModelSummaryText(IdentityOf(1), ".");
    const std::string radio = ModelCatalogue::ModelSummaryText(IdentityOf(3), ".");
    ASSERT_FALSE(document.empty() || radio.empty() || document == radio);
    EXPECT_THAT(prompter.asked[0].text, testing::StartsWith(T(10007004)));
    EXPECT_THAT(prompter.asked[0].text, testing::HasSubstr(document));
    EXPECT_THAT(prompter.asked[0].text, testing::HasSubstr(radio));

    // A radio no model of the catalogue fits is named as it names itself.
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "model=XRV-99");
    prompter.asked.clear();
    EXPECT_EQ(RunWriteTransfer(Context(), Document(IdentityOf(3))).status, TransferStatus::kModelRefused);
    ASSERT_EQ(prompter.TextIds(), std::vector<int>{10007004});
    EXPECT_THAT(prompter.asked[0].text, testing::HasSubstr(ModelCatalogue::ModelSummaryText(IdentityOf(3), ".")));
    EXPECT_THAT(prompter.asked[0].text, testing::HasSubstr("XRV-99"));
    prompter.asked.clear();

    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "model=LMX-7208");
    EXPECT_TRUE(RunWriteTransfer(Context(), Document(IdentityOf(1))).Ok()) << "a sibling radio of market class 0";
    EXPECT_TRUE(prompter.asked.empty());
}

TEST(WriteAcceptance, Judgements) {
    const ModelIdentity m1 = IdentityOf(1), m2 = IdentityOf(2), m3 = IdentityOf(3), m4 = IdentityOf(4);
    EXPECT_EQ(JudgeWrite(m3, WithBytes(m3, {{12, 0}})), WriteAcceptance::kAccepted) << "bytes 12-15 not compared";
    EXPECT_EQ(JudgeWrite(m1, m2), WriteAcceptance::kConfirm);
    EXPECT_EQ(JudgeWrite(m3, m4), WriteAcceptance::kConfirm);
    EXPECT_EQ(JudgeWrite(m3, IdentityOf(0)), WriteAcceptance::kConfirm) << "the market-1 model is a catalogue radio";
    EXPECT_EQ(JudgeWrite(m1, m3), WriteAcceptance::kRefusedMarket);
    EXPECT_EQ(JudgeWrite(m4, m2), WriteAcceptance::kRefusedMarket);
    EXPECT_EQ(JudgeWrite(m3, WithBytes(m3, {{8, 0xFA}})), WriteAcceptance::kRefused) << "matches no model";
    EXPECT_EQ(JudgeWrite(m3, Named("LMX7208A")), WriteAcceptance::kAccepted);
    EXPECT_EQ(JudgeWrite(m1, Named("LMX7208A")), WriteAcceptance::kRefused);
    EXPECT_EQ(JudgeWrite(m3, Named("LMX-7208")), WriteAcceptance::kRefused);
    EXPECT_EQ(JudgeWrite(m1, Named("PHRV-42")), WriteAcceptance::kRefused);
}

TEST_F(WriteTransfer, ContinuousModeIsReadyForTheNextRadioAfterEachSuccess) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    for (int radio = 0; radio < 2; ++radio) {
        ASSERT_TRUE(WriteDataToRadio(Context(), Document(ModelCatalogue::DefaultIdentity()), true).Ok());
        EXPECT_EQ(observer.progress.back(), 0);
        EXPECT_EQ(observer.lastEvent, "text");
        EXPECT_EQ(observer.texts.back(), T(10402001));
    }
    EXPECT_EQ(prompter.TextIds(), (std::vector<int>{10402003, 10402003}));
}

// The ','-command fails (the cable is pulled as it is sent): one exit is
// tried, not two, and no block is sent.
struct WriteInProcess : SimFixture {};

TEST_F(WriteInProcess, AFailedPrepareCommandSendsOneExitAndNoBlock) {
    radio.SetIdentity(ModelCatalogue::DefaultIdentity());
    SimFaults faults;
    faults.pullStep = 4;
    link.SetFaults(faults);
    ScriptedPrompter prompter;
    NullTransferObserver observer;
    const TransferResult r =
        RunWriteTransfer({*port, prompter, EnglishTexts(), observer}, Document(ModelCatalogue::DefaultIdentity()));
    EXPECT_EQ(r.status, TransferStatus::kPrepareFailed);
    EXPECT_EQ(prompter.TextIds(), std::vector<int>{10007003});
    int exits = 0;
    for (const auto& call : transport->Calls())
        exits += call.kind == SimulatedTransport::Call::Kind::kSend && call.bytes.size() == 1 &&
                 (call.bytes[0] ^ port->Key()) == 0x45;
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(port->IsOpen());
}

}  // namespace
}  // namespace vrm
