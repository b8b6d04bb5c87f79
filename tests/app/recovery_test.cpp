// The recovery copy of protected data: kept as a data file with the file's
// password and never as plain bytes, restored only with the password, then
// saved with it again; without the password it is set aside, not lost.
#include "core/document/recovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/document/document.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "model/shipped_language.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct ProtectedRecovery : ::testing::Test {
    ProtectedRecovery() {
        std::string t = (fs::temp_directory_path() / "vrm-recovery-XXXXXX").string();
        dir = ::mkdtemp(t.data());
        image.InitialiseDefaults(catalogue, true);
        // A message line no file format changes: found in plain text only.
        for (std::size_t i = 0; i < 16; ++i) image.SetByte(kEmbeddedMessageArea.offset + i, "CUSTOMER ACME 42"[i]);
        image.TakeSnapshot();
        doc.SetFolder(dir.string());
        // The file the data was opened from, protected with 4711.
        DataFile file(image, catalogue);
        EXPECT_TRUE(file.Write((dir / "fleet.dat").string(), {"4711", true}, clock).Ok());
        dialogs.openAnswers = {(dir / "fleet.dat").string()};
        prompter.passwords = {std::string("4711")};
        EXPECT_EQ(doc.OnFileOpen(prompter, dialogs), DocResult::Done);
        image.SetByte(kScanArea.offset + 3, 0x42);  // an unsaved edit
    }
    ~ProtectedRecovery() override { fs::remove_all(dir); }

    // The copy as the timer writes it for the document.
    void Keep(RecoveryCopy& copy) {
        ASSERT_EQ(copy.Write(image.Live(), doc.FilePath(), doc.RecoverySecurity(), !doc.OpenedPassword().empty()), 0);
    }
    std::string Everything(const fs::path& folder) const {
        std::string all;
        for (const auto& e : fs::directory_iterator(folder)) all += ReadAll(e.path());
        return all;
    }

    fs::path dir;
    SecuritySettings security;  // "Data File" off: only the opened file's password protects
    VirtualClock clock{{12, 34}};
    CZVQDoc doc{test::EnglishTexts(), security, clock};
    RadioImage& image = doc.Image();
    ModelCatalogue& catalogue = doc.Catalogue();
    test::ScriptedPrompter prompter;
    test::ScriptedFileDialogs dialogs;
};

TEST_F(ProtectedRecovery, TheCopyHoldsNoPlainDataAndRestoresOnlyWithThePassword) {
    const fs::path state = dir / "state";
    RecoveryCopy copy(state.string());
    Keep(copy);
    const std::string stored = Everything(state);
    EXPECT_EQ(stored.find("CUSTOMER ACME 42"), std::string::npos);
    EXPECT_EQ(stored.find("435553544F4D4552"), std::string::npos);  // nor as hex
    for (const auto& e : fs::directory_iterator(state))
        EXPECT_EQ(fs::status(e.path()).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write)
            << e.path();

    const ImageBuffer edited = image.Live();
    image.Live() = image.Saved();  // a new start: the edit is gone from the image
    prompter.answers = {Answer::Yes};
    prompter.passwords = {std::string("1234"), std::string("4711")};
    prompter.asked.clear();
    ASSERT_EQ(OfferRecoveredData(copy, doc, prompter, test::EnglishTexts()), RecoveryOutcome::kRestored);
    EXPECT_EQ(prompter.TextIds(),
              (std::vector<int>{static_cast<int>(tid::kRecoveryQuestion), static_cast<int>(tid::kMsgWrongPassword)}));
    EXPECT_EQ(image.Live(), edited);
    EXPECT_TRUE(doc.IsModified());

    // Save keeps the file's password, though the "Data File" switch is off.
    prompter.answers = {Answer::Ok};  // replace fleet.dat
    ASSERT_EQ(doc.OnFileSave(prompter), DocResult::Done);
    RadioImage again;
    ModelCatalogue againCatalogue(again);
    test::ScriptedPrompter asked;
    asked.passwords = {std::string("4711")};
    const DataFileResult r = DataFile(again, againCatalogue).Read((dir / "fleet.dat").string(), asked, test::EnglishTexts());
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(asked.passwordPrompts, 1);
    EXPECT_EQ(again.Transfer(), edited);
}

TEST_F(ProtectedRecovery, WithoutThePasswordTheDataIsSetAsideNotLost) {
    const fs::path state = dir / "state";
    RecoveryCopy copy(state.string());
    Keep(copy);
    const ImageBuffer edited = image.Live();
    prompter.answers = {Answer::Yes};
    prompter.passwords = {std::nullopt};  // Cancel
    prompter.asked.clear();
    ASSERT_EQ(OfferRecoveredData(copy, doc, prompter, test::EnglishTexts()), RecoveryOutcome::kKeptAside);
    EXPECT_FALSE(copy.Find());
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].textId, static_cast<int>(tid::kRecoveryKeptProtected));
    fs::path kept;
    for (const auto& e : fs::directory_iterator(state)) kept = e.path();
    EXPECT_NE(prompter.asked[1].text.find(kept.string()), std::string::npos);
    // It opens as a data file with the password.
    RadioImage other;
    ModelCatalogue otherCatalogue(other);
    test::ScriptedPrompter asked;
    asked.passwords = {std::string("4711")};
    ASSERT_TRUE(DataFile(other, otherCatalogue).Read(kept.string(), asked, test::EnglishTexts()).Ok());
    EXPECT_EQ(other.Transfer(), edited);
}

TEST_F(ProtectedRecovery, UnprotectedDataStaysAPlainCopyAndASwitchedOnDataFileProtectsIt) {
    const fs::path state = dir / "state";
    RecoveryCopy copy(state.string());
    doc.ResetFileName();  // as after New: no password of a file
    EXPECT_FALSE(doc.RecoverySecurity().dataFile);
    Keep(copy);
    EXPECT_NE(Everything(state).find("435553544F4D4552"), std::string::npos);
    EXPECT_FALSE(fs::exists(copy.DataPath()));
    security.dataFile = true;
    security.password = "90";
    Keep(copy);
    EXPECT_EQ(Everything(state).find("435553544F4D4552"), std::string::npos);
    const std::optional<RecoveredData> found = copy.Find();
    ASSERT_TRUE(found && found->protectedCopy);
    EXPECT_FALSE(found->keepsPassword);  // the switch protects it, no file's password
}

}  // namespace
}  // namespace vrm
