// Test mode and tuning data against the simulated radio in process: the
// start-up refusals, each control's command as the radio logs it, the
// transmitter switched off on every way out, and the tuning transfers with
// their backups.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/files/tuning_file.h"
#include "core/link/test_mode.h"
#include "core/link/tuning_transfer.h"
#include "model/shipped_language.h"
#include "sim_fixture.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

struct TestModeTest : test::SimFixture {
    TestModeTest() {
        live = radio.Memory();
        std::string t = (std::filesystem::temp_directory_path() / "vrm-tuning-XXXXXX").string();
        dir = ::mkdtemp(t.data());
    }
    ~TestModeTest() override { std::filesystem::remove_all(dir); }

    TransferContext Ctx() { return {*port, prompter, test::EnglishTexts(), observer}; }
    void Faults(const std::string& text) {
        SimFaults f;
        ASSERT_TRUE(ParseSimFaults(text, f, nullptr));
        link.SetFaults(f);
    }
    std::vector<int> AskedIds() const {
        std::vector<int> ids;
        for (const auto& m : prompter.asked) ids.push_back(m.textId);
        return ids;
    }
    // The log lines after the last "tuning" entry.
    std::vector<std::string> Since(const std::string& marker) const {
        const auto& log = radio.Log();
        auto it = std::find(log.rbegin(), log.rend(), marker);
        return {it == log.rend() ? log.begin() : it.base(), log.end()};
    }

    ImageBuffer live{};
    test::ScriptedPrompter prompter;
    NullTransferObserver observer;
    std::filesystem::path dir;
};

TEST_F(TestModeTest, StartUpRefusesARadioThatIsNotTheDocuments) {
    struct Case {
        const char* what;
        std::size_t offset;
        TestModeStart result;
        tid::TextId text;
    } cases[] = {
        {"another identity", 10, TestModeStart::kOtherIdentity, tid::kMsgTestModeOtherModel},
        {"test channel 3", kTestFrequencyArea.offset + 8 * 3 + 1, TestModeStart::kTestChannelDiffers,
         tid::kMsgTestFrequencyMismatch},
        {"band point 2", kBandPointArea.offset + 8 * 2 + 5, TestModeStart::kReferenceDiffers,
         tid::kMsgReferenceMismatch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        live = radio.Memory();
        live[c.offset] ^= 0x01;
        prompter.asked.clear();
        radio.ClearLog();
        TestModeSession session(Ctx(), live);
        EXPECT_EQ(session.Start(), c.result);
        EXPECT_EQ(AskedIds(), std::vector<int>{static_cast<int>(c.text)});
        EXPECT_EQ(radio.Log().back(), "exit") << "the radio leaves tuning mode before the message";
        EXPECT_EQ(radio.CurrentMode(), SimulatedRadio::Mode::kNormal);
        EXPECT_FALSE(port->IsOpen());
        EXPECT_FALSE(session.Active());
        // Channel 3 differing stops before channel 4 is asked for.
        if (c.result == TestModeStart::kTestChannelDiffers) {
            EXPECT_FALSE(Logged("test-channel 4"));
        }
    }
}

TEST_F(TestModeTest, StartUpAsksInOrderAndEveryControlSendsItsCommand) {
    TestModeSession session(Ctx(), live);
    ASSERT_EQ(session.Start(), TestModeStart::kOk);
    EXPECT_TRUE(prompter.asked.empty());
    const auto start = Since("tuning");
    const std::vector<std::string> expected = {"identify", "key 00", "version", "test-channel 0", "test-channel 1",
                                               "test-channel 2", "test-channel 3", "test-channel 4", "test-channel 5",
                                               "test-channel 6", "test-channel 7", "reference", "tuning-read",
                                               "volume query", "test-channel 0", "signalling 0"};
    ASSERT_GE(start.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (i != 1) {
            EXPECT_EQ(start[i], expected[i]) << i;
        }
    EXPECT_EQ(session.Volume(), SimulatedRadio::kDefaultVolume);
    EXPECT_EQ(session.Settings()[13], radio.Tuning()[13]);

    radio.ClearLog();
    EXPECT_TRUE(session.SelectChannel(5));
    EXPECT_TRUE(session.SelectSignalling(3));
    EXPECT_TRUE(session.SetSquelch(12));  // clamped to the squelch range
    EXPECT_TRUE(session.SetPower(false));
    EXPECT_TRUE(session.SetBeatShift(1));
    EXPECT_TRUE(session.SetMicMute(true));
    EXPECT_TRUE(session.SetCompander(true));
    EXPECT_TRUE(session.SetVolume(7));
    EXPECT_TRUE(session.SetVolume(6));
    EXPECT_TRUE(session.SetVolume(6));  // no change: nothing sent
    EXPECT_EQ(radio.Log(), (std::vector<std::string>{"test-channel 5", "signalling 3", "squelch 9", "switch 75 off",
                                                      "beat-shift 1", "switch BD on", "switch A2 on", "volume 7",
                                                      "volume 6"}));
    EXPECT_EQ(session.Squelch(), kSquelchMax);

    // Register asks first; Cancel sends nothing.
    radio.ClearLog();
    prompter.answers = {Answer::Cancel};
    EXPECT_FALSE(session.StoreReference());
    EXPECT_TRUE(radio.Log().empty());
    prompter.answers = {Answer::Ok};
    radio.Tuning()[0] = 50;
    EXPECT_TRUE(session.StoreReference());
    EXPECT_EQ(radio.ReferenceTuning()[0], 50);
    EXPECT_EQ(prompter.asked.back().textId, static_cast<int>(tid::kWriteDone));
}

TEST_F(TestModeTest, TheTransmitterIsSwitchedOffOnEveryWayOut) {
    {   // Closing the dialog.
        TestModeSession session(Ctx(), live);
        ASSERT_EQ(session.Start(), TestModeStart::kOk);
        ASSERT_TRUE(session.SetTransmit(true));
        EXPECT_TRUE(radio.Transmitting());
        radio.ClearLog();
        EXPECT_TRUE(session.End());
        EXPECT_EQ(radio.Log(), (std::vector<std::string>{"switch 08 off", "exit"}));
        EXPECT_FALSE(port->IsOpen());
    }
    {   // A failed command while transmitting.
        Faults("test-nak=BD");
        TestModeSession session(Ctx(), live);
        ASSERT_EQ(session.Start(), TestModeStart::kOk);
        ASSERT_TRUE(session.SetTransmit(true));
        prompter.asked.clear();
        EXPECT_FALSE(session.SetMicMute(true));
        EXPECT_FALSE(radio.Transmitting());
        EXPECT_FALSE(session.Transmitting());
        EXPECT_EQ(AskedIds(), std::vector<int>{static_cast<int>(tid::kMsgTestModeCommandFailed)});
        EXPECT_TRUE(session.Active()) << "the dialog stays open";
    }
    {   // Opening an adjustment point; then leaving by the destructor.
        Faults("");
        TestModeSession session(Ctx(), live);
        ASSERT_EQ(session.Start(), TestModeStart::kOk);
        ASSERT_TRUE(session.SetTransmit(true));
        std::uint8_t value = 0;
        radio.ClearLog();
        ASSERT_TRUE(session.PointOn(1, 1, value));
        EXPECT_EQ(radio.Log().front(), "switch 08 off");
        EXPECT_FALSE(radio.Transmitting());
    }
    EXPECT_EQ(radio.Log().back(), "exit");
    {   // A radio that does not confirm: the user is told.
        Faults("off-nak=08");
        TestModeSession session(Ctx(), live);
        ASSERT_EQ(session.Start(), TestModeStart::kOk);
        ASSERT_TRUE(session.SetTransmit(true));
        prompter.asked.clear();
        EXPECT_FALSE(session.End());
        EXPECT_EQ(AskedIds(), std::vector<int>{static_cast<int>(tid::kMsgTransmitterNotOff)});
        EXPECT_EQ(radio.Log().back(), "exit");
    }
}

TEST_F(TestModeTest, AdjustingAPointStepsAppliesQueriesAndSwitchesItOff) {
    TestModeSession session(Ctx(), live);
    ASSERT_EQ(session.Start(), TestModeStart::kOk);
    std::uint8_t value = 0;
    radio.ClearLog();
    ASSERT_TRUE(session.PointOn(1, 1, value));
    EXPECT_EQ(value, radio.PointValue(0x60));
    EXPECT_TRUE(session.PointStep(1));
    EXPECT_TRUE(session.PointStep(-5));
    EXPECT_TRUE(session.PointApply(44));
    EXPECT_TRUE(session.PointQuery(value));
    EXPECT_EQ(value, 44);
    EXPECT_TRUE(session.SineWave(true));
    // Another tab switches the first point off before the next comes on.
    ASSERT_TRUE(session.PointOn(1, 2, value));
    const auto& log = radio.Log();
    EXPECT_EQ(log.front(), "point 60 on");
    EXPECT_NE(std::find(log.begin(), log.end(), "point 60 set 44"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "point 60 query"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "switch 6D on"), log.end());
    const auto off = std::find(log.begin(), log.end(), "point 60 off");
    const auto on = std::find(log.begin(), log.end(), "point 61 on");
    ASSERT_NE(off, log.end());
    EXPECT_LT(off, on);
    EXPECT_EQ(radio.PointValue(0x60), 44);

    // The single-position item queries with its own command.
    ASSERT_TRUE(session.PointOn(3, 0, value));
    EXPECT_EQ(value, radio.Tuning()[9]);
    EXPECT_TRUE(session.PointQuery(value));
    EXPECT_TRUE(Logged("point 1E query"));
    radio.ClearLog();
    prompter.asked.clear();
    EXPECT_TRUE(session.BandPass());
    EXPECT_TRUE(Logged("band-pass"));
    EXPECT_TRUE(session.PointOff());
    EXPECT_EQ(radio.ActivePoint(), -1);
}

TEST(TuningRows, ShownValueIsStoredPlusOneAndEntryIsClamped) {
    const auto& rows = TuningRowTable();
    EXPECT_EQ(TuningShownValue(63), 64);
    EXPECT_EQ(TuningStoredValue(rows[0], 0), 0);
    EXPECT_EQ(TuningStoredValue(rows[0], 64), 63);
    EXPECT_EQ(TuningStoredValue(rows[0], 65), 63);
    EXPECT_EQ(TuningStoredValue(rows[6], 500), 127);
    EXPECT_EQ(TuningStoredValue(rows[13], 256), 255);
    EXPECT_EQ(TuningRowLabel(test::EnglishTexts(), rows[1]), "Transmit Power High (Center)");
    EXPECT_EQ(TuningRowLabel(test::EnglishTexts(), rows[9]), "Reference Frequency");
}

TEST_F(TestModeTest, TuningReadSaveLoadWriteRoundTripWithBackup) {
    TuningSet set;
    ASSERT_TRUE(ReadTuning(Ctx(), set).Ok());
    EXPECT_TRUE(set.held);
    EXPECT_TRUE(std::equal(radio.Tuning().begin(), radio.Tuning().end(), set.values.begin()));
    EXPECT_EQ(TuningInformationText(set.information), "HRV-41A K/00000001");
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(radio.Log().back(), "exit");

    TuningFile file;
    file.SetValues(set.values);
    file.SetText(set.information);
    const std::string path = (dir / "radio.tun").string();
    ASSERT_TRUE(file.Write(path).Ok());

    const auto original = radio.Tuning();
    radio.Tuning().fill(9);
    TuningFile loaded;
    ASSERT_TRUE(loaded.Load(path).Ok());
    TuningSet back;
    ASSERT_EQ(loaded.GetValues(back.values), 0);
    back.information = loaded.Text();
    back.held = true;

    // Cancel at the confirmation changes nothing.
    prompter.answers = {Answer::Cancel};
    TuningBackupPlan plan{(dir / "tuning-backups").string(), 1700000000};
    EXPECT_EQ(WriteTuning(Ctx(), back, plan).status, TuningStatus::kCancelled);
    EXPECT_EQ(radio.Tuning()[0], 9);
    EXPECT_FALSE(std::filesystem::exists(plan.folder));
    const Message& question = prompter.asked.back();
    EXPECT_EQ(question.defaultAnswer, Answer::Cancel);
    EXPECT_NE(question.text.find("HRV-41A K/00000001"), std::string::npos) << question.text;

    prompter.answers = {Answer::Ok};
    const TuningResult r = WriteTuning(Ctx(), back, plan);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(radio.Tuning(), original);
    EXPECT_TRUE(Logged("tuning-write 0 14"));
    // The radio's values before the write were kept, named in the message.
    TuningFile kept;
    ASSERT_TRUE(kept.Load(r.backupPath).Ok()) << r.backupPath;
    TuningValues keptValues{};
    ASSERT_EQ(kept.GetValues(keptValues), 0);
    EXPECT_EQ(keptValues[0], 9);
    EXPECT_EQ(std::filesystem::path(r.backupPath).filename().string().rfind("00000001-", 0), 0u);
    EXPECT_NE(prompter.asked.back().text.find(r.backupPath), std::string::npos) << prompter.asked.back().text;
}

TEST_F(TestModeTest, WriteRefusesEmptyValuesAndAnUnwritableBackup) {
    TuningSet never;
    EXPECT_EQ(WriteTuning(Ctx(), never, {}).status, TuningStatus::kNoValues);
    EXPECT_FALSE(Logged("tuning"));

    TuningSet set;
    set.held = true;
    set.values.fill(1);
    const std::string blocker = (dir / "file").string();
    std::ofstream(blocker) << "x";
    prompter.answers = {Answer::Ok};
    EXPECT_EQ(WriteTuning(Ctx(), set, {blocker + "/backups", 0}).status, TuningStatus::kBackupFailed);
    EXPECT_FALSE(Logged("tuning-write 0 14")) << "no backup, no write";
    EXPECT_EQ(prompter.asked.back().textId, static_cast<int>(tid::kMsgTuningBackupFailed));
    EXPECT_FALSE(port->IsOpen());
}

TEST_F(TestModeTest, RestoreKeepsTheValuesThenReadsTheReferenceBack) {
    radio.ReferenceTuning().fill(33);
    radio.Tuning().fill(44);
    TuningSet set;
    EXPECT_EQ(RestoreTuning(Ctx(), set, {}).status, TuningStatus::kCancelled);
    EXPECT_EQ(radio.Tuning()[0], 44);
    EXPECT_FALSE(Logged("tuning")) << "Cancel asks the radio nothing";
    prompter.answers = {Answer::Ok};
    const TuningResult r = RestoreTuning(Ctx(), set, {(dir / "b").string(), 0});
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(set.values[0], 33);
    EXPECT_EQ(radio.Tuning()[0], 33);
    TuningFile kept;
    ASSERT_TRUE(kept.Load(r.backupPath).Ok());
    EXPECT_EQ(prompter.asked.back().textId, static_cast<int>(tid::kMsgTuningRestored));

    radio.SetReferenceStored(false);
    radio.Tuning().fill(44);
    prompter.asked.clear();
    prompter.answers = {Answer::Ok};
    EXPECT_EQ(RestoreTuning(Ctx(), set, {}).status, TuningStatus::kNoReference);
    EXPECT_EQ(AskedIds(), (std::vector<int>{static_cast<int>(tid::kMsgRestoreQuestion),
                                            static_cast<int>(tid::kMsgNoReferenceTuning)}));
    EXPECT_EQ(radio.Tuning()[0], 44);
}

}  // namespace
}  // namespace vrm
