// The safe write against the simulated radio through the drop-in library:
// the backup holds what the radio held, verify catches a block the radio
// acknowledged but did not store, a failed backup writes nothing, and every
// attempt leaves its row in the programming log.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/files/data_file.h"
#include "core/link/safe_write.h"
#include "link/transfer_fixture.h"
#include "core/model/model_catalogue.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

using namespace test;

struct SafeWrite : DropInTransfer {
    SafeWrite() {
        options.backupFolder = (dir / "backups").string();
        options.logPath = (dir / "programming-log.csv").string();
        options.dataFile = "/data/site-a.dat";
        for (std::size_t i = 16; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(0xA0 ^ (i * 13));
        const ModelIdentity id = ModelCatalogue::DefaultIdentity();
        std::copy(id.begin(), id.end(), data.begin());
    }

    std::vector<std::string> LogLines() const {
        std::ifstream in(options.logPath);
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);) lines.push_back(l);
        return lines;
    }
    bool AnySuccessBox() const {
        for (const Message& m : prompter.asked)
            if (m.textId == static_cast<int>(tid::kWriteDone)) return true;
        return false;
    }
    std::string AllMessages() const {
        std::string all;
        for (const Message& m : prompter.asked) all += m.text + "\n";
        return all;
    }

    SafeWriteOptions options;
    ImageBuffer data{};
};

TEST_F(SafeWrite, TheBackupHoldsWhatTheRadioHeldAndTheLogNamesRadioFileAndBackup) {
    const SimulatedRadio before = PatternRadio(ModelCatalogue::DefaultIdentity());
    Install(before);

    const SafeWriteResult r = SafeWriteToRadio(Context(), data, false, options);
    ASSERT_TRUE(r.Ok()) << AllMessages();
    EXPECT_TRUE(r.verified);
    EXPECT_EQ(r.radio.serial, "00000001");
    EXPECT_EQ(r.radio.model, "HRV-41A:K");
    EXPECT_EQ(r.radio.firmware, "V1.10.00");
    // The success message names the backup file.
    ASSERT_TRUE(AnySuccessBox());
    EXPECT_NE(prompter.asked.back().text.find(r.backupPath), std::string::npos) << AllMessages();
    EXPECT_EQ(r.backupPath.rfind(options.backupFolder + "/00000001_", 0), 0u) << r.backupPath;

    // The backup opens as a data file and holds the radio's old memory.
    RadioImage image;
    ModelCatalogue catalogue(image);
    DataFile file(image, catalogue);
    ASSERT_TRUE(file.Read(r.backupPath, prompter, EnglishTexts()).Ok());
    EXPECT_EQ(image.Transfer(), before.Memory());
    // The radio now holds the data in the written range.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 0x3F0, Radio().Memory().begin()));

    // The write's row when it started, then the same with its outcome.
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], LogHeader());
    const std::string attempt = ",00000001,HRV-41A:K,V1.10.00,/data/site-a.dat," + ImageSha256(data) + "," + r.backupPath;
    EXPECT_NE(lines[1].find(attempt + ",started"), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find(attempt + ",written and verified"), std::string::npos) << lines[2];
    EXPECT_EQ(lines[1].substr(0, 25), lines[2].substr(0, 25));  // the attempt's time in both

    // A second radio appends its rows under the same header.
    Install(before);
    ASSERT_TRUE(SafeWriteToRadio(Context(), data, false, options).Ok());
    EXPECT_EQ(LogLines().size(), 5u);
}

TEST_F(SafeWrite, ABlockTheRadioAcknowledgedButLostIsCaughtByVerifyAtThatBlock) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-lost=12");
    const SafeWriteResult r = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_FALSE(r.Ok());
    EXPECT_EQ(r.failedPhase, SafeWritePhase::kVerify);
    EXPECT_EQ(r.differingBlocks, std::vector<int>{12});
    EXPECT_FALSE(AnySuccessBox());
    EXPECT_NE(AllMessages().find("12 (0x0C0)"), std::string::npos) << AllMessages();
    EXPECT_NE(AllMessages().find(r.backupPath), std::string::npos);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("verify failed: radio differs at blocks 12"), std::string::npos) << lines[2];

    // Without verify the same radio is reported written, and says it was not checked.
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-lost=12");
    options.verify = false;
    const SafeWriteResult unchecked = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_TRUE(unchecked.Ok());
    EXPECT_FALSE(unchecked.verified);
    EXPECT_NE(LogLines().back().find("written, not verified"), std::string::npos);
}

TEST_F(SafeWrite, ABackupThatCannotBeReadOrStoredWritesNothing) {
    // The radio goes silent while its memory is read for the backup.
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "read-silent=20");
    SafeWriteResult r = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_EQ(r.failedPhase, SafeWritePhase::kBackupRead);
    EXPECT_EQ(Count("write "), 0);
    EXPECT_EQ(Count("comma"), 0);
    EXPECT_NE(AllMessages().find("Block 20 (address 0x140)"), std::string::npos) << AllMessages();
    EXPECT_NE(LogLines().back().find("backup read failed at block 20 (0x140): no answer; nothing written"),
              std::string::npos);

    // The backup folder cannot be made: a file stands in its place.
    std::ofstream(options.backupFolder) << "x";
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    r = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_EQ(r.failedPhase, SafeWritePhase::kBackupStore);
    EXPECT_EQ(Count("write "), 0);
    EXPECT_EQ(Radio().Memory(), PatternRadio(ModelCatalogue::DefaultIdentity()).Memory());
    EXPECT_FALSE(AnySuccessBox());
}

TEST_F(SafeWrite, AFailedBlockIsNamedWithItsReasonAndTheStateOfRadioAndDocument) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-nak=7");
    const SafeWriteResult r = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_EQ(r.failedPhase, SafeWritePhase::kWrite);
    const std::string text = AllMessages();
    EXPECT_NE(text.find(T(tid::kBlockFailedRefused).substr(0, 5)), std::string::npos);
    EXPECT_NE(text.find("Block 7 (address 0x070): the radio refused it."), std::string::npos) << text;
    EXPECT_NE(text.find(T(tid::kDocumentUnchanged)), std::string::npos);
    EXPECT_NE(text.find(T(tid::kTransferPartialWrite)), std::string::npos);
    EXPECT_NE(text.find(r.backupPath), std::string::npos);
    EXPECT_NE(LogLines().back().find("write failed at block 7 (0x070): refused; radio partly written"),
              std::string::npos);

    Install(PatternRadio(ModelCatalogue::DefaultIdentity()), "write-silent=9");
    (void)SafeWriteToRadio(Context(), data, false, options);
    EXPECT_NE(AllMessages().find("Block 9 (address 0x090): no answer from the radio."), std::string::npos);
}

TEST_F(SafeWrite, WithEverythingOffOnlyTheWriteRuns) {
    Install(PatternRadio(ModelCatalogue::DefaultIdentity()));
    options.backup = options.verify = options.log = false;
    const SafeWriteResult r = SafeWriteToRadio(Context(), data, false, options);
    EXPECT_TRUE(r.Ok());
    EXPECT_TRUE(r.backupPath.empty());
    EXPECT_EQ(Count("read "), 0);
    EXPECT_FALSE(std::filesystem::exists(options.logPath));
    EXPECT_FALSE(std::filesystem::exists(options.backupFolder));
}

TEST(SafeWriteParts, LogFieldsAreQuotedAndTheLogRefusesWhatIsNoFile) {
    const std::string row = LogRow({IsoTime(0), "12,3", "HRV-41A:K", "V\"1", "/a b/c.dat", "ff", "", "ok"});
    EXPECT_NE(row.find(",\"12,3\",HRV-41A:K,\"V\"\"1\",/a b/c.dat,ff,,ok"), std::string::npos) << row;
    EXPECT_NE(AppendLogRow("/dev/null", "x"), 0);
    EXPECT_EQ(BackupFileName(" 0/1 ", 0).substr(0, 6), "_0_1__");
    EXPECT_EQ(BackupFileName("", 0).substr(0, 8), "unknown_");
}

}  // namespace
}  // namespace vrm
