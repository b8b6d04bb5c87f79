// The data set itself: what Open, Save and adopting a read leave in it.
#include "core/files/document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "core/base/clock.h"
#include "core/fields/edit_session.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "text/scripted_prompter.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMicSense = kFeatureArea.offset + 6;

class CoreDocument : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vrm-core-doc-XXXXXX";
        folder_ = std::string(mkdtemp(pattern)) + "/";
    }
    void TearDown() override { fs::remove_all(folder_); }

    // A protected data file whose microphone sense is blank, as old files
    // carry it.
    std::string ProtectedFile(const std::string& name, const std::string& password) {
        Document source(test::EnglishTexts());
        source.NewOfModel(3, 0x0105);
        source.Image().SetByte(kMicSense, 0xFF);
        EXPECT_TRUE(source.Save(folder_ + name, {password, true}, clock_).Ok());
        return folder_ + name;
    }
    std::string HeaderPassword(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (bytes.size() < kDataFileHeaderSize) return "?";
        if (static_cast<std::uint8_t>(bytes[kDataFilePasswordOffset]) == 0xFF) return "";
        return DataFile::UnscramblePassword(reinterpret_cast<const std::uint8_t*>(bytes.data()) + kDataFilePasswordOffset);
    }
    // An edit through the session, so that there is history to clear.
    static void Edit(Document& doc) {
        doc.Session().Change([](EditContext& ctx) {
            ctx.image.SetByte(kScanArea.offset + 20, static_cast<std::uint8_t>(ctx.image.Byte(kScanArea.offset + 20) ^ 0x5A));
            return true;
        });
    }

    std::string folder_;
    VirtualClock clock_{{12, 34}};
    test::ScriptedPrompter prompter_;
};

TEST_F(CoreDocument, OpenFixesUpTheLoadAndTakesNameFolderAndPasswordWhileARefusedOneChangesNothing) {
    const std::string path = ProtectedFile("old.dat", "4711");
    Document doc(test::EnglishTexts());
    doc.SetFolder("/nowhere");
    Edit(doc);
    int replaced = 0;
    doc.SetDataReplacedHandler([&] { ++replaced; });

    // A file that is no data file: the data, the name and the history stay.
    std::ofstream(folder_ + "junk.dat") << "not a data file";
    const ImageBuffer before = doc.Image().Live();
    EXPECT_EQ(doc.Open(folder_ + "junk.dat", prompter_).code, kDataFileBadSignature);
    EXPECT_EQ(doc.Image().Live(), before);
    EXPECT_EQ(doc.FilePath(), "/nowhere/vrm650t.dat");
    EXPECT_TRUE(doc.Session().CanUndo());
    EXPECT_EQ(replaced, 0);

    prompter_.passwords = {std::string("4711")};
    ASSERT_TRUE(doc.Open(path, prompter_).Ok());
    EXPECT_EQ(doc.Image().Byte(kMicSense), 1);  // the load fix-up
    EXPECT_EQ(doc.FileName(), "old.dat");
    EXPECT_EQ(doc.Folder(), folder_);
    EXPECT_EQ(doc.OpenedPassword(), "4711");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.Session().CanUndo());
    EXPECT_EQ(replaced, 1);
}

TEST_F(CoreDocument, SaveKeepsTheOpenedPasswordUnlessTheSettingsGiveOne) {
    Document doc(test::EnglishTexts());
    prompter_.passwords = {std::string("4711")};
    ASSERT_TRUE(doc.Open(ProtectedFile("old.dat", "4711"), prompter_).Ok());
    Edit(doc);

    ASSERT_TRUE(doc.Save(folder_ + "copy.dat", {}, clock_).Ok());
    EXPECT_EQ(HeaderPassword(folder_ + "copy.dat"), "4711");
    EXPECT_EQ(doc.FileName(), "copy.dat");
    EXPECT_FALSE(doc.IsModified());

    ASSERT_TRUE(doc.Save(folder_ + "other.dat", {"123", true}, clock_).Ok());
    EXPECT_EQ(HeaderPassword(folder_ + "other.dat"), "123");

    // A failed save leaves the data modified under its old name.
    Edit(doc);
    EXPECT_FALSE(doc.Save(folder_ + "missing/x.dat", {}, clock_).Ok());
    EXPECT_EQ(doc.FileName(), "other.dat");
    EXPECT_TRUE(doc.IsModified());

    // New data belongs to no protected file.
    doc.New();
    ASSERT_TRUE(doc.Save(folder_ + "new.dat", {}, clock_).Ok());
    EXPECT_EQ(HeaderPassword(folder_ + "new.dat"), "");
}

TEST_F(CoreDocument, AReadIsAdoptedWithTheFixUpUnderTheDefaultNameWhileHeldBytesStayAsGiven) {
    Document doc(test::EnglishTexts());
    prompter_.passwords = {std::string("4711")};
    ASSERT_TRUE(doc.Open(ProtectedFile("old.dat", "4711"), prompter_).Ok());
    Edit(doc);

    ImageBuffer read = doc.Image().Live();
    read[kMicSense] = 0xFE;
    doc.AdoptRead(read);
    EXPECT_EQ(doc.Image().Byte(kMicSense), 1);
    EXPECT_EQ(doc.FileName(), "vrm650t.dat");
    EXPECT_EQ(doc.OpenedPassword(), "");
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.Session().CanUndo());

    // A radio's memory to back up, a side of a comparison: exactly its bytes.
    Document held(test::EnglishTexts());
    held.Hold(read);
    EXPECT_EQ(held.Image().Live(), read);
    EXPECT_EQ(held.Catalogue().ChannelCount(), doc.Catalogue().ChannelCount());
}

TEST_F(CoreDocument, TheOverwriteQuestionNamesTheFileAndDefaultsToCancel) {
    const Message m = OverwriteQuestion(test::EnglishTexts(), "radio.csv");
    EXPECT_EQ(m.buttons, Buttons::OkCancel);
    EXPECT_EQ(m.defaultAnswer, Answer::Cancel);
    EXPECT_EQ(m.textId, static_cast<int>(tid::kMsgOverwriteQuestion));
    EXPECT_NE(m.text.find(" : radio.csv"), std::string::npos);
    prompter_.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_FALSE(ConfirmOverwrite(prompter_, test::EnglishTexts(), "a"));
    EXPECT_TRUE(ConfirmOverwrite(prompter_, test::EnglishTexts(), "a"));
}

}  // namespace
}  // namespace vrm
