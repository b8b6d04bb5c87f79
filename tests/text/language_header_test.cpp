// The language file's header rows (settings, sizes, display name) and the
// choice of its text column.
#include <gtest/gtest.h>

#include "core/base/language_table.h"
#include "language_table_test_util.h"

namespace vrm {
namespace {

using test::LangFileBuilder;
using test::Loaded;
using test::TempFolder;

TEST(LanguageTableHeader, TheHeaderPassEndsAtTheFirstOtherRowOnceComplete) {
    LangFileBuilder b;
    // After the blank row that ends the header, a header row is not read.
    b.extraRows = {"*FontSize,30"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.table.Settings().fontSize, 14);

    // Header rows may come after text rows and comments, as long as the pass
    // has not yet seen them all.
    std::string file = "^#19100001,early\r\n; comment\r\n" + LangFileBuilder{}.Build();
    Loaded early(file);
    ASSERT_TRUE(early.ok);
    EXPECT_STREQ(early.table.Text(19100001), "early");
}

TEST(LanguageTableHeader, SettingsFromTheHeader) {
    LangFileBuilder b;
    b.fontRow = "*Font,,DejaVu Sans";  // commas after the key are stripped
    b.extraHeader = {"*FontSize,20", "*GridFontSize,9.5", "*FPitchFont,DejaVu Sans Mono", "*FPitchFontSize,11"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    const LanguageSettings& s = l.table.Settings();
    EXPECT_EQ(s.FontName(), "DejaVu Sans");
    EXPECT_EQ(s.fontSize, 20);
    EXPECT_FLOAT_EQ(s.gridFontSize, 9.5f);
    EXPECT_EQ(s.fixedPitchFont, "DejaVu Sans Mono");
    EXPECT_EQ(s.fixedPitchFont2, "DejaVu Sans Mono");
    EXPECT_EQ(s.fixedPitchFontSize, 11);
    EXPECT_EQ(s.displayLanguage, "Testish");
    for (int i = 0; i < LanguageSettings::kHelpFileSlots; ++i)
        EXPECT_EQ(s.helpFiles[static_cast<std::size_t>(i)], "help" + std::to_string(i) + ".html");
    EXPECT_EQ(s.helpFiles[static_cast<std::size_t>(HelpSlot::GMRSonly)], "help12.html");
    EXPECT_EQ(s.advancedHelpFile, "adv.html");
}

TEST(LanguageTableHeader, SizesOutOfRangeGiveTheDefaults) {
    struct Case {
        std::vector<std::string> rows;
        int fontSize;
        float grid;
        int fixedSize;
    };
    const Case cases[] = {
        {{"*FontSize,0", "*GridFontSize,100", "*FPitchFontSize,0"}, 14, 8.0f, 13},
        {{"*FontSize,150", "*GridFontSize,0.5", "*FPitchFontSize,100"}, 14, 8.0f, 13},
        {{"*FontSize,1", "*GridFontSize,1", "*FPitchFontSize,1"}, 1, 1.0f, 1},
        {{"*FontSize,99", "*GridFontSize,99.99", "*FPitchFontSize,99"}, 99, 99.99f, 99},
        {{"*FontSize,-5", "*GridFontSize,99.991", "*FPitchFontSize,abc"}, 14, 8.0f, 13},
        {{"*FontSize,99999999999", "*GridFontSize,nan", "*FPitchFontSize,12.7"}, 14, 8.0f, 12},
        {{"*FontSize, 16px", "*GridFontSize,+10.25", "*FPitchFontSize,inf"}, 16, 10.25f, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows[0] + " " + c.rows[1] + " " + c.rows[2]);
        LangFileBuilder b;
        b.extraHeader = c.rows;
        Loaded l(b.Build());
        ASSERT_TRUE(l.ok);
        EXPECT_EQ(l.table.Settings().fontSize, c.fontSize);
        EXPECT_FLOAT_EQ(l.table.Settings().gridFontSize, c.grid);
        EXPECT_EQ(l.table.Settings().fixedPitchFontSize, c.fixedSize);
    }
}

TEST(LanguageTableHeader, EmptyValuesKeepWhatTheCallerHas) {
    TempFolder f;
    LangFileBuilder first;
    first.extraHeader = {"*FontSize,20", "*GridFontSize,10", "*FPitchFont,Mono One", "*FPitchFontSize,11"};
    f.Write("first.lng", first.Build());
    LangFileBuilder second;
    second.fontRow = "*Font";
    second.extraHeader = {"*FontSize,", "*GridFontSize,", "*FPitchFont,", "*FPitchFontSize,"};
    f.Write("second.lng", second.Build());

    LanguageTable t;
    t.SetProgramFolder(f.Path());
    ASSERT_TRUE(t.Load("first.lng", false, nullptr));
    ASSERT_TRUE(t.Load("second.lng", false, nullptr));
    const LanguageSettings& s = t.Settings();
    EXPECT_EQ(s.fontSize, 20);
    EXPECT_FLOAT_EQ(s.gridFontSize, 10.0f);
    EXPECT_EQ(s.fixedPitchFontSize, 11);
    // An empty fixed-pitch name puts the first back to Courier; the second keeps its name.
    EXPECT_EQ(s.fixedPitchFont, "Courier");
    EXPECT_EQ(s.fixedPitchFont2, "Mono One");
    EXPECT_EQ(s.FontName(), "Arial");

    // The caller resets before a language change: then the defaults apply.
    t.ResetSettings();
    ASSERT_TRUE(t.Load("second.lng", false, nullptr));
    EXPECT_EQ(t.Settings().fontSize, 14);
    EXPECT_FLOAT_EQ(t.Settings().gridFontSize, 8.0f);
    EXPECT_EQ(t.Settings().fixedPitchFont2, "Courier New");
}

TEST(LanguageTableHeader, DisplayNameIsKeptToNinetyNineBytes) {
    LangFileBuilder b;
    b.displayLanguage = std::string(150, 'x');
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.table.Settings().displayLanguage, std::string(99, 'x'));

    // A cut never splits a UTF-8 character: "ä" is two bytes, at bytes 98 and 99.
    LangFileBuilder u;
    u.displayLanguage = std::string(98, 'y') + "\xC3\xA4" + "zz";
    Loaded lu(u.Build());
    ASSERT_TRUE(lu.ok);
    EXPECT_EQ(lu.table.Settings().displayLanguage, std::string(98, 'y'));

    LangFileBuilder exact;
    exact.displayLanguage = std::string(97, 'y') + "\xC3\xA4";
    Loaded le(exact.Build());
    EXPECT_EQ(le.table.Settings().displayLanguage, exact.displayLanguage);
}

TEST(LanguageTableColumns, TheColumnNamedLikeTheFileIsSelected) {
    TempFolder f;
    LangFileBuilder b;
    b.languageRow = "*Language,english.lng,deutsch.lng";
    b.columnsSuffix = ",de";
    const std::string file = b.Build();
    f.Write("deutsch.lng", file);
    f.Write("english.lng", file);
    f.Write("other.lng", file);

    LanguageTable t;
    t.SetProgramFolder(f.Path());
    ASSERT_TRUE(t.Load("deutsch.lng", false, nullptr));
    EXPECT_EQ(t.SelectedColumn(), 1);
    EXPECT_EQ(t.Columns(), (std::vector<std::string>{"english.lng", "deutsch.lng"}));
    EXPECT_STREQ(t.Text(10007003), "de");
    ASSERT_TRUE(t.Load("english.lng", false, nullptr));
    EXPECT_EQ(t.SelectedColumn(), 0);
    EXPECT_STREQ(t.Text(10007003), "T10007003");
    ASSERT_TRUE(t.Load("other.lng", false, nullptr));  // no match: the first column
    EXPECT_EQ(t.SelectedColumn(), 0);
    ASSERT_TRUE(t.Load(f.File("deutsch.lng"), false, nullptr));  // a path: its last part
    EXPECT_EQ(t.SelectedColumn(), 1);
}

TEST(LanguageTableColumns, ALanguageRowWithoutColumnsFailsSilently) {
    LangFileBuilder b;
    b.languageRow = "*Language";
    Loaded l(b.Build());
    EXPECT_FALSE(l.ok);
    EXPECT_EQ(l.table.LastError(), LanguageTable::kNoColumns);
    EXPECT_TRUE(l.prompter.asked.empty());
    EXPECT_STREQ(l.table.Text(10007003), "");

    // One empty column name is a column.
    LangFileBuilder e;
    e.languageRow = "*Language,";
    Loaded le(e.Build());
    EXPECT_TRUE(le.ok);
    EXPECT_STREQ(le.table.Text(10007003), "T10007003");
}

}  // namespace
}  // namespace vrm
