// A safe write's outcome as a window shows it: in the user's language, with
// the English file giving exactly the programming log's words.
#include <gtest/gtest.h>

#include <csignal>

#include "core/base/language_table.h"
#include "core/link/safe_write.h"

namespace vrm {
namespace {

void LoadShipped(LanguageTable& t, const char* name) {
    t.SetProgramFolder(std::string(VRM_SOURCE_DIR) + "/lang");
    ASSERT_TRUE(t.Load(name, false, nullptr)) << name;
}

std::vector<SafeWriteResult> Outcomes() {
    std::vector<SafeWriteResult> all(6);
    all[0].verified = true;
    all[1].failedPhase = SafeWritePhase::kWrite;
    all[1].write.status = TransferStatus::kBlockFailed;
    all[1].write.failedBlock = 5;
    all[1].write.refused = true;
    all[2].failedPhase = SafeWritePhase::kWrite;
    all[2].write.status = TransferStatus::kStopped;
    all[2].write.failedBlock = 9;
    all[2].write.blocksDone = 9;
    all[2].stopSignal = SIGINT;
    all[3].failedPhase = SafeWritePhase::kVerify;
    all[3].differingBlocks = {3, 7};
    all[4].failedPhase = SafeWritePhase::kVerifyRead;
    all[4].stopSignal = SIGTERM;
    all[5].failedPhase = SafeWritePhase::kBackupRead;
    all[5].write.failedBlock = 2;
    all[5].write.link = LinkError::kDisconnected;
    return all;
}

TEST(ResultText, EnglishIsTheLogsWordingAndGermanIsItsOwn) {
    LanguageTable en, de;
    LoadShipped(en, "vrm650t_en.lng");
    LoadShipped(de, "vrm650t_de.lng");
    for (const SafeWriteResult& r : Outcomes()) {
        SCOPED_TRACE(LogResultText(r));
        EXPECT_EQ(ResultText(r, en), LogResultText(r));
        EXPECT_NE(ResultText(r, de), LogResultText(r));
    }
    EXPECT_EQ(ResultText(Outcomes()[1], de), "Schreiben fehlgeschlagen bei Block 5 (0x050): abgelehnt; Funkgerät teilweise beschrieben");
    EXPECT_EQ(ResultText(Outcomes()[2], de),
              "vom Benutzer angehalten bei Block 9 (0x090): 9 von 63 Blöcken geschrieben; Funkgerät teilweise beschrieben");
}

}  // namespace
}  // namespace vrm
