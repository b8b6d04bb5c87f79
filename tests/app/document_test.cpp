// The document's file commands through scripted prompts and file dialogs,
// on real data files in a temporary folder.
#include "core/document/document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/base/language_table.h"
#include "text/scripted_prompter.h"
#include "core/base/text_ids.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using test::ScriptedFileDialogs;
using test::ScriptedPrompter;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrm-doc-XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
        language_.SetProgramFolder(VRM_BIN_DIR "/");
        ASSERT_TRUE(language_.Load("vrm650t_en.lng", false, nullptr));
        image_.Clear();
        image_.InitialiseDefaults(catalogue_, true);
        image_.TakeSnapshot();
        doc_.SetFolder(folder_);
        clock_.SetLocalTime({12, 34});
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder_, fs::perms::owner_all, ec);
        fs::remove_all(folder_, ec);
    }

    // A data file of the current image with a distinctive embedded message.
    std::string MakeDataFile(const std::string& name, const DataFileSecurity& security = {}) {
        const ImageBuffer keep = image_.Live();
        const ImageBuffer transfer = image_.Transfer();
        image_.SetByte(kEmbeddedMessageArea.offset, 'X');
        image_.SetByte(kFeatureArea.offset + 6, 0xFF);  // fixed up to 1 on load
        DataFile file(image_, catalogue_);
        EXPECT_EQ(file.Write(folder_ + name, security, clock_).code, kDataFileOk);
        image_.Live() = keep;
        image_.Transfer() = transfer;
        return folder_ + name;
    }

    void Modify() { image_.SetByte(kScanArea.offset + 20, static_cast<std::uint8_t>(image_.Byte(kScanArea.offset + 20) ^ 0x5A)); }

    // What a refused or cancelled command must leave as it was.
    struct State {
        ImageBuffer live, saved;
        std::string name, folder;
    };
    State Capture() const { return {image_.Live(), image_.Saved(), doc_.FileName(), doc_.Folder()}; }
    void ExpectUnchanged(const State& s) const {
        EXPECT_EQ(image_.Live(), s.live);
        EXPECT_EQ(image_.Saved(), s.saved);
        EXPECT_EQ(doc_.FileName(), s.name);
        EXPECT_EQ(doc_.Folder(), s.folder);
    }

    std::string folder_;
    LanguageTable language_;
    SecuritySettings security_;
    VirtualClock clock_;
    CZVQDoc doc_{language_, security_, clock_};
    RadioImage& image_ = doc_.Image();
    ModelCatalogue& catalogue_ = doc_.Catalogue();
    ScriptedPrompter prompter_;
    ScriptedFileDialogs dialogs_;
};

TEST_F(DocumentTest, SaveOnANeverSavedDataSetWritesTheDefaultNameAndAsksBeforeOverwriting) {
    EXPECT_EQ(doc_.FileName(), "vrm650t.dat");
    Modify();
    ASSERT_EQ(doc_.OnFileSave(prompter_), DocResult::Done);
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_TRUE(dialogs_.saveRequests.empty());
    EXPECT_EQ(ReadBytes(folder_ + "vrm650t.dat").size(), kDataFileSize);
    EXPECT_FALSE(doc_.IsModified());

    // The file is there now: Save asks, and Cancel keeps the old file.
    const auto before = ReadBytes(folder_ + "vrm650t.dat");
    Modify();
    prompter_.answers = {Answer::Cancel};
    EXPECT_EQ(doc_.OnFileSave(prompter_), DocResult::Cancelled);
    ASSERT_EQ(prompter_.asked.size(), 1u);
    EXPECT_EQ(prompter_.asked[0].textId, static_cast<int>(tid::kMsgOverwriteQuestion));
    EXPECT_EQ(prompter_.asked[0].defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter_.asked[0].caption, language_.TextString(tid::kCaptionWarning));
    EXPECT_NE(prompter_.asked[0].text.find("vrm650t.dat"), std::string::npos);
    EXPECT_NE(prompter_.asked[0].text.find(language_.TextString(tid::kMsgOverwriteFileLabel)), std::string::npos);
    EXPECT_EQ(ReadBytes(folder_ + "vrm650t.dat"), before);
    EXPECT_TRUE(doc_.IsModified());

    prompter_.answers = {Answer::Ok};
    EXPECT_EQ(doc_.OnFileSave(prompter_), DocResult::Done);
    EXPECT_NE(ReadBytes(folder_ + "vrm650t.dat"), before);
    EXPECT_FALSE(doc_.IsModified());
}

TEST_F(DocumentTest, SaveAsAppliesTheExtensionRule) {
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a/radio.txt"), "/a/radio.txt.dat");
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a/radio."), "/a/radio.dat");
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a/radio"), "/a/radio.dat");
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a/radio.dat"), "/a/radio.dat");
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a/RADIO.DAT"), "/a/RADIO.DAT");
    EXPECT_EQ(CZVQDoc::WithDataExtension("/a.b/radio"), "/a.b/radio.dat");

    dialogs_.saveAnswers = {folder_ + "radio.txt", folder_ + "radio."};
    ASSERT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Done);
    EXPECT_TRUE(fs::exists(folder_ + "radio.txt.dat"));
    EXPECT_FALSE(fs::exists(folder_ + "radio.txt"));
    EXPECT_EQ(doc_.FileName(), "radio.txt.dat");
    ASSERT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Done);
    EXPECT_TRUE(fs::exists(folder_ + "radio.dat"));
    EXPECT_EQ(doc_.FileName(), "radio.dat");
    EXPECT_TRUE(prompter_.asked.empty());

    // The dialog starts in the current folder with the current name.
    ASSERT_EQ(dialogs_.saveRequests.size(), 2u);
    EXPECT_EQ(dialogs_.saveRequests[1].fileName, "radio.txt.dat");
    EXPECT_EQ(dialogs_.saveRequests[1].folder, folder_);
    EXPECT_EQ(dialogs_.saveRequests[1].defaultExtension, "dat");
    EXPECT_EQ(dialogs_.saveRequests[1].pattern, "*.dat");
}

TEST_F(DocumentTest, SaveAsAsksBeforeOverwritingTheNameItReallyWrites) {
    WriteBytes(folder_ + "fleet.dat", {1, 2, 3});
    dialogs_.saveAnswers = {folder_ + "fleet"};
    prompter_.answers = {Answer::Cancel};
    EXPECT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Cancelled);
    EXPECT_EQ(prompter_.TextIds(), std::vector<int>{static_cast<int>(tid::kMsgOverwriteQuestion)});
    EXPECT_EQ(ReadBytes(folder_ + "fleet.dat"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(doc_.FileName(), "vrm650t.dat");
}

TEST_F(DocumentTest, SaveAsIntoAFolderThatCannotBeWrittenShowsTheSystemText) {
    const auto state = Capture();
    dialogs_.saveAnswers = {folder_ + "missing/radio.dat"};
    EXPECT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Failed);
    ASSERT_EQ(prompter_.asked.size(), 1u);
    EXPECT_EQ(prompter_.asked[0].kind, MessageKind::Error);
    EXPECT_EQ(prompter_.asked[0].caption, language_.TextString(tid::kCaptionError));
    EXPECT_EQ(prompter_.asked[0].text, std::system_category().message(ENOENT));
    ExpectUnchanged(state);
}

TEST_F(DocumentTest, OpenAdoptsTheFileAndFixesItUp) {
    const std::string path = MakeDataFile("fleet.dat");
    Modify();
    image_.TakeSnapshot();
    dialogs_.openAnswers = {path};
    bool before = false;
    ASSERT_EQ(doc_.OnFileOpen(prompter_, dialogs_, [&] { before = true; }), DocResult::Done);
    EXPECT_TRUE(before);
    EXPECT_EQ(doc_.FileName(), "fleet.dat");
    EXPECT_EQ(doc_.Folder(), folder_);
    EXPECT_EQ(image_.Byte(kEmbeddedMessageArea.offset), 'X');
    EXPECT_EQ(image_.Byte(kFeatureArea.offset + 6), 1);
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_TRUE(prompter_.asked.empty());
    ASSERT_EQ(dialogs_.openRequests.size(), 1u);
    EXPECT_EQ(dialogs_.openRequests[0].folder, folder_);
    EXPECT_EQ(dialogs_.openRequests[0].filterText, "VRM-650T Data Files (*.dat)");
}

TEST_F(DocumentTest, OpenOfEachRefusedKindOfFileShowsItsMessageAndChangesNothing) {
    const std::string good = MakeDataFile("good.dat");
    const auto goodBytes = ReadBytes(good);

    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int textId;
        const char* mustContain;
    };
    std::vector<std::uint8_t> otherProgram = goodBytes;
    const char other[10] = {'V', 'R', 'M', '7', '2', '0', '8', '\xFF', '\xFF', '\xFF'};
    std::copy(other, other + 10, otherProgram.begin());
    std::vector<std::uint8_t> foreign = goodBytes;
    const char text[10] = {'P', 'K', '\x03', '\x04', 'x', 'y', 'z', 'w', 'v', 'u'};
    std::copy(text, text + 10, foreign.begin());
    std::vector<std::uint8_t> wrongKind = goodBytes;
    wrongKind[kDataFileKindOffset] = 'T';
    std::vector<std::uint8_t> model0 = goodBytes;
    model0[kDataFileIdentityOffset + 8] = 0xFF;   // model 0: entry mode 3, 4 channels
    model0[kDataFileIdentityOffset + 10] = 1;     // market code 1
    model0[kDataFileIdentityOffset + 11] = 0;
    std::vector<std::uint8_t> shortFile(goodBytes.begin(), goodBytes.begin() + 500);

    const std::vector<Case> cases = {
        {"other.dat", otherProgram, static_cast<int>(tid::kMsgOtherProgramFile), "VRM7208"},
        {"foreign.dat", foreign, static_cast<int>(tid::kMsgNotADataFile), "foreign.dat"},
        {"kind.dat", wrongKind, static_cast<int>(tid::kMsgWrongKindOfFile), nullptr},
        {"model0.dat", model0, static_cast<int>(tid::kMsgWrongKindOfFile), nullptr},
        {"short.dat", shortFile, static_cast<int>(tid::kMsgFileUnreadable), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(folder_ + c.name, c.bytes);
        prompter_.asked.clear();
        const auto state = Capture();
        dialogs_.openAnswers = {folder_ + c.name};
        bool adopted = false;
        EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_, [&] { adopted = true; }), DocResult::Failed);
        EXPECT_FALSE(adopted);
        ASSERT_EQ(prompter_.asked.size(), 1u);
        EXPECT_EQ(prompter_.asked[0].textId, c.textId);
        EXPECT_EQ(prompter_.asked[0].kind, MessageKind::Error);
        EXPECT_EQ(prompter_.asked[0].caption, language_.TextString(tid::kCaptionError));
        if (c.mustContain) {
            EXPECT_NE(prompter_.asked[0].text.find(c.mustContain), std::string::npos);
        }
        ExpectUnchanged(state);
    }
    // The other program's message names the file too.
    prompter_.asked.clear();
    dialogs_.openAnswers = {folder_ + "other.dat"};
    doc_.OnFileOpen(prompter_, dialogs_);
    EXPECT_NE(prompter_.asked.at(0).text.find("\"other.dat\""), std::string::npos);
}

TEST_F(DocumentTest, ProtectedFileThreeWrongPasswordsOrCancel) {
    const std::string path = MakeDataFile("locked.dat", DataFileSecurity{"123456", true});
    const auto state = Capture();

    prompter_.passwords = {std::string("111111"), std::string("222222"), std::string("333333")};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Failed);
    const int wrong = static_cast<int>(tid::kMsgWrongPassword);
    EXPECT_EQ(prompter_.TextIds(), (std::vector<int>{wrong, wrong, static_cast<int>(tid::kMsgFileUnreadable)}));
    ExpectUnchanged(state);

    // Cancel at the first prompt: no message at all.
    prompter_.asked.clear();
    prompter_.passwords = {std::nullopt};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Cancelled);
    EXPECT_TRUE(prompter_.asked.empty());
    ExpectUnchanged(state);

    // The right password after a wrong one opens it.
    prompter_.passwords = {std::string("654321"), std::string("123456")};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Done);
    EXPECT_EQ(doc_.FileName(), "locked.dat");
}

TEST_F(DocumentTest, AFileOpenedWithAPasswordKeepsItThroughSaveAndSaveAs) {
    // The "Data File" switch is off: without the mend the save would drop
    // the password and leave the file unprotected.
    security_.dataFile = false;
    const std::string path = MakeDataFile("locked.dat", DataFileSecurity{"482916", true});
    prompter_.passwords = {std::string("482916")};
    dialogs_.openAnswers = {path};
    ASSERT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Done);
    Modify();
    prompter_.answers = {Answer::Ok};  // replace the file
    ASSERT_EQ(doc_.OnFileSave(prompter_), DocResult::Done);
    dialogs_.saveAnswers = {folder_ + "copy.dat"};
    ASSERT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Done);

    for (const std::string& saved : {path, folder_ + "copy.dat"}) {
        // Opening again asks for the same password; a wrong one is refused.
        RadioImage image;
        ModelCatalogue catalogue(image);
        ScriptedPrompter ask;
        ask.passwords = {std::string("482916")};
        const DataFileResult r = DataFile(image, catalogue).Read(saved, ask, language_);
        EXPECT_TRUE(r.Ok()) << saved;
        EXPECT_EQ(ask.passwordPrompts, 1) << saved;
        EXPECT_EQ(r.password, "482916");
        EXPECT_EQ(image.Transfer(), image_.Live());
    }

    // New data is not the protected file's: it saves without a password.
    prompter_.answers = {Answer::Ok};
    ASSERT_EQ(doc_.OnFileNew(prompter_, dialogs_), DocResult::Done);
    EXPECT_TRUE(doc_.OpenedPassword().empty());
    EXPECT_FALSE(doc_.SaveSecurity().dataFile);
}

TEST_F(DocumentTest, UnsavedChangesYesThenCancelledOrFailedSaveStopsTheCommand) {
    const std::string path = MakeDataFile("other.dat");
    Modify();
    const auto state = Capture();

    // Yes, then the Save As dialog is cancelled: Open does not go on.
    prompter_.answers = {Answer::Yes};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Cancelled);
    ASSERT_EQ(prompter_.asked.size(), 1u);
    EXPECT_EQ(prompter_.asked[0].textId, static_cast<int>(tid::kMsgSaveChangesFormat));
    EXPECT_EQ(prompter_.asked[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(prompter_.asked[0].caption, "VRM-650T");
    EXPECT_EQ(prompter_.asked[0].text, language_.TextString(tid::kMsgSaveChangesFormat) + " \"vrm650t.dat\" ?");
    EXPECT_EQ(dialogs_.saveRequests.size(), 1u);
    EXPECT_TRUE(dialogs_.openRequests.empty());
    ExpectUnchanged(state);
    EXPECT_TRUE(doc_.IsModified());

    // Yes, then the save fails: the error is shown and Open does not go on.
    prompter_.asked.clear();
    prompter_.answers = {Answer::Yes};
    dialogs_.saveAnswers = {folder_ + "no/such/folder/x.dat"};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Cancelled);
    ASSERT_EQ(prompter_.asked.size(), 2u);
    EXPECT_EQ(prompter_.asked[1].kind, MessageKind::Error);
    EXPECT_TRUE(dialogs_.openRequests.empty());
    ExpectUnchanged(state);

    // New stops the same way after its first question.
    prompter_.asked.clear();
    prompter_.answers = {Answer::Ok, Answer::Yes};
    EXPECT_EQ(doc_.OnFileNew(prompter_, dialogs_), DocResult::Cancelled);
    ExpectUnchanged(state);

    // Cancel stops it too; No goes on without saving.
    prompter_.answers = {Answer::Cancel};
    EXPECT_FALSE(doc_.SaveModified(prompter_, dialogs_));
    prompter_.answers = {Answer::No};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Done);
    EXPECT_FALSE(fs::exists(folder_ + "vrm650t.dat"));
}

TEST_F(DocumentTest, UnsavedChangesYesWithASuccessfulSaveGoesOn) {
    const std::string path = MakeDataFile("other.dat");
    Modify();
    const ImageBuffer edited = image_.Live();
    prompter_.answers = {Answer::Yes};
    dialogs_.saveAnswers = {folder_ + "kept"};
    dialogs_.openAnswers = {path};
    EXPECT_EQ(doc_.OnFileOpen(prompter_, dialogs_), DocResult::Done);
    EXPECT_EQ(doc_.FileName(), "other.dat");
    // The edits are in kept.dat.
    RadioImage check;
    ModelCatalogue checkCatalogue(check);
    DataFile file(check, checkCatalogue);
    ASSERT_EQ(file.Read(folder_ + "kept.dat", prompter_, language_).code, kDataFileOk);
    EXPECT_EQ(check.Transfer(), edited);
}

TEST_F(DocumentTest, NewOnAnUnmodifiedDataSetAsksOneQuestion) {
    image_.SetByte(kEmbeddedMessageArea.offset, 'Q');
    image_.TakeSnapshot();
    const ModelIdentity identity = image_.Identity();
    prompter_.answers = {Answer::Ok};
    ASSERT_EQ(doc_.OnFileNew(prompter_, dialogs_), DocResult::Done);
    ASSERT_EQ(prompter_.asked.size(), 1u);
    EXPECT_EQ(prompter_.asked[0].textId, static_cast<int>(tid::kMsgDataReset));
    EXPECT_EQ(prompter_.asked[0].defaultAnswer, Answer::Cancel);
    EXPECT_EQ(prompter_.asked[0].caption, language_.TextString(tid::kCaptionWarning));
    EXPECT_EQ(image_.Identity(), identity);
    EXPECT_EQ(image_.Byte(kEmbeddedMessageArea.offset), 0x00);
    EXPECT_FALSE(doc_.IsModified());

    // The default answer (Cancel) leaves everything.
    image_.SetByte(kEmbeddedMessageArea.offset, 'Q');
    prompter_.asked.clear();
    EXPECT_EQ(doc_.OnFileNew(prompter_, dialogs_), DocResult::Cancelled);
    EXPECT_EQ(image_.Byte(kEmbeddedMessageArea.offset), 'Q');
    EXPECT_EQ(prompter_.asked.size(), 1u);
}

TEST_F(DocumentTest, AdoptReadDataTakesTheTransferImage) {
    dialogs_.saveAnswers = {folder_ + "named.dat"};
    ASSERT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Done);
    ImageBuffer read = image_.Live();
    read[kEmbeddedMessageArea.offset] = 'R';
    read[kFeatureArea.offset + 6] = 0xFE;
    image_.Transfer() = read;
    doc_.AdoptReadData();
    EXPECT_EQ(image_.Byte(kEmbeddedMessageArea.offset), 'R');
    EXPECT_EQ(image_.Byte(kFeatureArea.offset + 6), 1);
    EXPECT_FALSE(doc_.IsModified());
    EXPECT_EQ(doc_.FileName(), "vrm650t.dat");
    EXPECT_EQ(doc_.Folder(), folder_);
}

TEST_F(DocumentTest, AModelChangeThatRebuildsDataStartsAsANewUnnamedDataSet) {
    dialogs_.saveAnswers = {folder_ + "named.dat"};
    ASSERT_EQ(doc_.OnFileSaveAs(prompter_, dialogs_), DocResult::Done);
    ModelChange rules(catalogue_, ".");
    doc_.Session().Change([](EditContext& ctx) {
        ctx.image.SetByte(kScanArea.offset + 12, 0x42);
        return true;
    });

    // OK without a change keeps the name and the history.
    const int model = catalogue_.FindModel();
    EXPECT_FALSE(doc_.ChangeModel(rules, rules.Evaluate(model, catalogue_.BandWord()), model, catalogue_.BandWord()));
    EXPECT_EQ(doc_.FileName(), "named.dat");
    EXPECT_TRUE(doc_.Session().CanUndo());

    const int other = model == 3 ? 1 : 3;
    const std::uint16_t band = other == 3 ? 0x0105 : 0x0100;
    EXPECT_TRUE(doc_.ChangeModel(rules, rules.Evaluate(other, band), other, band));
    EXPECT_EQ(catalogue_.FindModel(), other);
    EXPECT_EQ(doc_.FileName(), "vrm650t.dat");
    EXPECT_FALSE(doc_.Session().CanUndo());
    EXPECT_TRUE(doc_.IsModified());
}

}  // namespace
}  // namespace vrm
