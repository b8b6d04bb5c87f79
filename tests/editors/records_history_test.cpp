// Copy, paste and delete of whole channels, the grid's clipboard text, and
// the undo history over all of them.
#include <gtest/gtest.h>

#include "editor_fixture.h"

namespace vrm::test {
namespace {

void Fill(EditorFixture& f, int channel, const std::string& rx) {
    ASSERT_TRUE(f.Set("channel." + std::to_string(channel) + ".rx", rx).Ok()) << rx;
}

TEST(ChannelRecords, PasteDropsRowsPastTheEndAndCarriesEmptySlots) {
    EditorFixture f;  // 16 channels
    Fill(f, 3, "462.5");
    Fill(f, 5, "462.6");
    Fill(f, 16, "470");
    const FieldTable& table = ChannelTable();
    f.session.CopyRows(table, 2, 4);  // rows 3-5, row 4 empty
    ASSERT_TRUE(f.session.PasteRows(table, 14));
    EXPECT_EQ(f.Get("channel.15.rx"), "462.50000");
    EXPECT_FALSE(f.image.ChannelInUse(15)) << "the empty slot empties row 16";
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.Byte(f.Channel(15) + i), 0xFF);
    EXPECT_EQ(f.Byte(kChannelInUseHigh), 0xBF);
    const std::size_t from = f.Channel(2), to = f.Channel(14);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(f.Byte(to + i), f.Byte(from + i)) << i;
}

TEST(ChannelRecords, DeletingOnlyEmptyRowsChangesNothingAndRecordsNoStep) {
    EditorFixture f;
    Fill(f, 1, "462.5");
    const std::size_t steps = f.session.UndoDepth();
    EXPECT_FALSE(f.session.DeleteRows(ChannelTable(), {1, 2, 3}));
    EXPECT_EQ(f.session.UndoDepth(), steps);
    EXPECT_TRUE(f.session.DeleteRows(ChannelTable(), {0, 1}));
    EXPECT_FALSE(f.image.ChannelInUse(0));
}

TEST(ChannelRecords, RecordsCopiedUnderOneModelAreNotPastedIntoAnother) {
    EditorFixture f;
    Fill(f, 1, "462.5");
    f.session.CopyRows(ChannelTable(), 0, 0);
    EXPECT_TRUE(f.session.CanPaste(ChannelTable()));
    f.catalogue.SetModel(4);  // another 16-channel model
    f.catalogue.SetBandWord(0x0106);
    EXPECT_FALSE(f.session.CanPaste(ChannelTable()));
    EXPECT_FALSE(f.session.PasteRows(ChannelTable(), 3));
}

TEST(ChannelGridText, TitleLineAndRowsAsTabSeparatedText) {
    EditorFixture f(1);  // typed frequencies: 7 columns
    Fill(f, 2, "462.5625");
    ASSERT_TRUE(f.Set("channel.2.decode", "D023N").Ok());
    const auto columns = ChannelGridColumns(f.session.Context());
    EXPECT_EQ(GridRowsText(f.session.Context(), ChannelTable(), columns, {1}, true),
              "No.\tRX Frequency\tTX Frequency\tQT/DQT Decode\tQT/DQT Encode\tPower\tScan Add\r\n"
              "2\t462.56250\t462.56250\tD023N\tD023N\tHigh\tOn");
    EXPECT_EQ(GridRowsText(f.session.Context(), ChannelTable(), columns, {0, 1}, false).substr(0, 10),
              "1\t\t\t\t\t\t\r\n2") << "an empty channel shows empty cells";
}

TEST(EditHistory, UndoRedoAcrossCommitsAndPasteAndBackToTheSavedState) {
    EditorFixture f;
    int notified = 0;
    ImageChange last;
    f.session.SetListener([&](const ImageChange& c) {
        ++notified;
        last = c;
    });
    Fill(f, 1, "462.5");
    EXPECT_TRUE(last.Touches(kChannelTable) && last.Touches(kRadioSettingsArea));
    Fill(f, 2, "462.6");
    const ImageBuffer twoChannels = f.image.Live();
    f.session.CopyRows(ChannelTable(), 0, 1);
    ASSERT_TRUE(f.session.PasteRows(ChannelTable(), 5));
    const ImageBuffer pasted = f.image.Live();
    EXPECT_EQ(f.session.UndoDepth(), 3u) << "one step per commit, one for the paste";

    ASSERT_TRUE(f.session.Undo());
    EXPECT_EQ(f.image.Live(), twoChannels);
    ASSERT_TRUE(f.session.Redo());
    EXPECT_EQ(f.image.Live(), pasted);
    EXPECT_FALSE(f.session.CanRedo());

    while (f.session.Undo()) {
    }
    EXPECT_FALSE(f.image.IsModified()) << "undone back to the saved state";
    EXPECT_EQ(notified, 3 + 1 + 1 + 3);

    // A new commit after undoing throws the redo steps away.
    Fill(f, 4, "462.7");
    EXPECT_FALSE(f.session.CanRedo());
    f.session.ClearHistory();
    EXPECT_FALSE(f.session.CanUndo());
}

TEST(EditHistory, ACommitThatChangesNothingIsNoStep) {
    EditorFixture f;
    Fill(f, 1, "462.5");
    Fill(f, 1, "462.5");
    ASSERT_TRUE(f.Set("channel.1.rx", "nonsense").status == ScriptWrite::Status::Refused);
    EXPECT_EQ(f.session.UndoDepth(), 1u);
}

}  // namespace
}  // namespace vrm::test
