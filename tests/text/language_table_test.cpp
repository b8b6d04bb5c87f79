#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/base/language_table.h"
#include "core/base/required_text_ids.h"
#include "language_table_test_util.h"
#include "text/scripted_prompter.h"

namespace vrm {
namespace {

using test::CurrentFolder;
using test::LangFileBuilder;
using test::ScriptedPrompter;
using test::Loaded;
using test::TempFolder;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(LanguageTableRequiredIds, TheTableHoldsTheRequiredIdsExactlyOnce) {
    const std::vector<std::uint32_t> ids = LanguageTable::RequiredIds();
    ASSERT_EQ(ids.size(), 1108u);
    EXPECT_EQ(RequiredTextIdCount(), 1108u);
    for (std::size_t i = 1; i < ids.size(); ++i) ASSERT_LT(ids[i - 1], ids[i]);
    EXPECT_EQ(ids.front(), 10000001u);
    EXPECT_EQ(ids.back(), 19000002u);
    for (std::uint32_t id : {10000001u, 10001009u, 10001011u, 10303000u, 10408566u, 19000001u})
        EXPECT_TRUE(LanguageTable::IsRequiredId(id)) << id;
    for (std::uint32_t id : {0u, 10000000u, 10000002u, 10001010u, 10001016u, 10408567u, 19000003u, 19104001u})
        EXPECT_FALSE(LanguageTable::IsRequiredId(id)) << id;
}

TEST(LanguageTableRequiredIds, CompactListJoinsRuns) {
    EXPECT_EQ(CompactIdList({}), "");
    EXPECT_EQ(CompactIdList({5}), "5");
    EXPECT_EQ(CompactIdList({1, 2, 3, 7, 9, 10}), "1-3, 7, 9-10");
}

TEST(LanguageTableLookup, ReturnsTheStoredTextIdZeroAndAbsentIds) {
    LangFileBuilder b;
    b.texts[10000001] = "VRM-650T";
    b.extraRows = {"^#19100001,one,two", "^#19100002", "^#00000000,zero"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_EQ(l.table.LastError(), LanguageTable::kNoError);
    EXPECT_STREQ(l.table.Text(10000001), "VRM-650T");
    EXPECT_STREQ(l.table.Text(0), "VRM-650T");  // ID 0 is the program title
    EXPECT_STREQ(l.table.Text(10007003), "T10007003");
    EXPECT_EQ(l.table.TextString(10007003), "T10007003");
    EXPECT_STREQ(l.table.Text(19100001), "one");
    EXPECT_STREQ(l.table.Text(19100002), "");  // a row without texts
    EXPECT_TRUE(l.table.HasText(19100002));
    EXPECT_STREQ(l.table.Text(12345678), "");
    EXPECT_FALSE(l.table.HasText(12345678));
    EXPECT_STREQ(l.table.Text(0xFFFFFFFFu), "");
    // The pointer is the stored text, not a copy: it is the same on every call.
    EXPECT_EQ(l.table.Text(10007003), l.table.Text(10007003));
    EXPECT_TRUE(l.prompter.asked.empty());
}

TEST(LanguageTableLookup, EmptyTableBeforeTheFirstLoad) {
    LanguageTable t;
    EXPECT_STREQ(t.Text(0), "");
    EXPECT_STREQ(t.Text(10000001), "");
    EXPECT_EQ(t.LastError(), LanguageTable::kNoError);
    std::string msg = "x";
    EXPECT_EQ(t.ErrorText(msg), LanguageTable::kNoError);
    EXPECT_EQ(msg, "");
    EXPECT_EQ(t.Settings().FontName(), "Arial");
}

TEST(LanguageTableRows, OnlyExactlyEightDigitsAfterTheMarkMakeATextRow) {
    LangFileBuilder b;
    b.extraRows = {
        "^#1000001,seven",     // seven characters: no text row
        "^#010007012,nine",    // nine characters
        "^#1910000x,letter",   // eight characters, not all digits
        "^# 9100003,blank",    // a blank among them
        "^#-9100004,sign",
        "   \t^#19100005,indented",
        "^#19100006,kept",
    };
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_FALSE(l.table.HasText(1000001));
    EXPECT_STREQ(l.table.Text(10007012), "T10007012");
    EXPECT_FALSE(l.table.HasText(19100000));
    EXPECT_FALSE(l.table.HasText(9100003));
    EXPECT_FALSE(l.table.HasText(9100004));
    EXPECT_STREQ(l.table.Text(19100005), "indented");
    EXPECT_STREQ(l.table.Text(19100006), "kept");
    // None of the others became a row of some other ID.
    EXPECT_EQ(l.table.TextCount(), 1108u + 2u);
    EXPECT_FALSE(l.table.HasText(1000701));
}

TEST(LanguageTableRows, TheFirstRowOfAnIdWins) {
    LangFileBuilder b;
    b.extraRows = {"^#10007003,first", "^#19100001,a", "^#19100001,b"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_STREQ(l.table.Text(10007003), "first");  // the generated row comes later
    EXPECT_STREQ(l.table.Text(19100001), "a");
}

TEST(LanguageTableRows, QuotingCommasTabsAndTrailingCommas) {
    LangFileBuilder b;
    b.languageRow = "*Language,test.lng,second,third";
    b.extraRows = {
        "^#19100001,\"a,b\",c",
        "^#19100002,\"say \"\"hi\"\", then go\",x",
        "^#19100003,col1\\tend,a\\tb",
        "^#19100004,one,",
        "^#19100005,\"unterminated, to the end",
        "^#19100006,\"",
        "^#19100007,\"\"",
        "^#19100008,mid\"dle,x",
        "^#19100009,back\\slash\\",
    };
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    ASSERT_EQ(l.table.SelectedColumn(), 0);
    EXPECT_STREQ(l.table.Text(19100001), "a,b");
    EXPECT_STREQ(l.table.Text(19100002), "say \"hi\", then go");
    EXPECT_STREQ(l.table.Text(19100003), "col1\tend");
    EXPECT_STREQ(l.table.Text(19100004), "one");
    EXPECT_STREQ(l.table.Text(19100005), "\"unterminated, to the end");
    EXPECT_STREQ(l.table.Text(19100006), "\"");
    EXPECT_STREQ(l.table.Text(19100007), "");
    EXPECT_STREQ(l.table.Text(19100008), "mid\"dle,x");  // an odd quote joins the rest
    EXPECT_STREQ(l.table.Text(19100009), "back\\slash\\");

    // The other columns of the same rows, through a table that selects them.
    LanguageTable second;
    second.SetProgramFolder(l.folder.Path());
    l.folder.Write("second", b.Build());
    ASSERT_TRUE(second.Load("second", false, nullptr));
    EXPECT_EQ(second.SelectedColumn(), 1);
    EXPECT_STREQ(second.Text(19100001), "c");
    EXPECT_STREQ(second.Text(19100003), "a\tb");
    EXPECT_STREQ(second.Text(19100004), "");  // the trailing comma's empty text
    EXPECT_STREQ(second.Text(19100005), "");  // the row has one text only
    EXPECT_STREQ(second.Text(10007003), "");
}

TEST(LanguageTableRows, ABareLineFeedContinuesTheText) {
    LangFileBuilder b;
    b.extraRows = {"^#19100001,line one\nline two\n  line three", "^#19100002,after"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_STREQ(l.table.Text(19100001), "line one\nline two\n  line three");
    EXPECT_STREQ(l.table.Text(19100002), "after");
}

TEST(LanguageTableRows, ACarriageReturnInsideARecordStays) {
    LangFileBuilder b;
    b.extraRows = {"^#19100001,a\rb", "^#19100002,ends in two\r"};
    Loaded l(b.Build());
    ASSERT_TRUE(l.ok);
    EXPECT_STREQ(l.table.Text(19100001), "a\rb");
    EXPECT_STREQ(l.table.Text(19100002), "ends in two\r");  // only the final CR goes
}

TEST(LanguageTableErrors, EachFailureHasItsCodeAndMessage) {
    struct Case {
        const char* what;
        std::string file;
        int code;
        const char* message;
    };
    LangFileBuilder noAdHelp;
    noAdHelp.leaveOutHeaderKeys = {"*AdHelpFile"};
    LangFileBuilder noHelp;
    noHelp.leaveOutHeaderKeys = {"*GMRSonlyHelpFile"};
    LangFileBuilder noDisp;
    noDisp.leaveOutHeaderKeys = {"*DispLanguage"};
    LangFileBuilder missing;
    missing.leaveOutIds = {10000001, 10305501, 10305502, 10305503, 19000002};
    LangFileBuilder quoteInId;
    quoteInId.extraRows = {"^#1910\"001,x"};
    LangFileBuilder quoteInShortId;
    quoteInShortId.extraRows = {"^#\",x"};
    LangFileBuilder quoteInLanguageKey;
    quoteInLanguageKey.languageRow = "*Language\",test.lng";
    const Case cases[] = {
        {"no *AdHelpFile", noAdHelp.Build(), LanguageTable::kHeaderIncomplete, LanguageTable::kDamagedMessage},
        {"a help key missing", noHelp.Build(), LanguageTable::kHeaderIncomplete, LanguageTable::kDamagedMessage},
        {"no *DispLanguage", noDisp.Build(), LanguageTable::kHeaderIncomplete, LanguageTable::kDamagedMessage},
        {"empty file", "", LanguageTable::kHeaderIncomplete, LanguageTable::kDamagedMessage},
        {"required IDs missing", missing.Build(), LanguageTable::kRequiredIdMissing, LanguageTable::kDamagedMessage},
        {"quote in an ID", quoteInId.Build(), LanguageTable::kQuoteInFirstField, LanguageTable::kDamagedMessage},
        {"quote after the mark", quoteInShortId.Build(), LanguageTable::kQuoteInFirstField,
         LanguageTable::kDamagedMessage},
        {"quote in the *Language key", quoteInLanguageKey.Build(), LanguageTable::kQuoteInFirstField,
         LanguageTable::kDamagedMessage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Loaded l(c.file);
        EXPECT_FALSE(l.ok);
        std::string msg;
        EXPECT_EQ(l.table.ErrorText(msg), c.code);
        EXPECT_EQ(msg, c.message);
        ASSERT_EQ(l.prompter.asked.size(), 1u);
        EXPECT_EQ(l.prompter.asked[0].kind, MessageKind::Error);
        EXPECT_EQ(l.prompter.asked[0].caption, "VRM-650T");
        EXPECT_EQ(l.prompter.asked[0].text, c.message);
        EXPECT_STREQ(l.table.Text(10007003), "");  // nothing was loaded before
    }
    EXPECT_STREQ(LanguageTable::kDamagedMessage,
                 "Language file has been damaged.  Please install this software again.");
}

TEST(LanguageTableErrors, MissingRequiredIdsAreListed) {
    LangFileBuilder b;
    b.leaveOutIds = {10000001, 10305501, 10305502, 10305503, 19000002};
    Loaded l(b.Build());
    ASSERT_FALSE(l.ok);
    EXPECT_EQ(l.table.MissingRequiredIds(),
              (std::vector<std::uint32_t>{10000001, 10305501, 10305502, 10305503, 19000002}));
    EXPECT_EQ(CompactIdList(l.table.MissingRequiredIds()), "10000001, 10305501-10305503, 19000002");
    EXPECT_EQ(l.table.LastLoadReport().displayLanguage, "Testish");
}

TEST(LanguageTableErrors, NotFoundAndWouldNotOpen) {
    LanguageTable t;
    TempFolder f;
    t.SetProgramFolder(f.Path());
    ScriptedPrompter p;
    EXPECT_FALSE(t.Load("absent.lng", true, &p));
    std::string msg;
    EXPECT_EQ(t.ErrorText(msg), LanguageTable::kNotFound);
    EXPECT_EQ(msg, "Can't read language file.  Please install this software again.");
    ASSERT_EQ(p.asked.size(), 1u);
    EXPECT_EQ(p.asked[0].text, msg);
    EXPECT_EQ(p.asked[0].caption, "VRM-650T");

    EXPECT_FALSE(t.Load("", true, &p));
    EXPECT_EQ(t.LastError(), LanguageTable::kNotFound);

    // A folder of that name is not a language file.
    std::filesystem::create_directory(f.File("dir.lng"));
    EXPECT_FALSE(t.Load("dir.lng", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kNotFound);

    // A device is found but gives no file to read.
    EXPECT_FALSE(t.Load("/dev/null", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kWouldNotOpen);
    EXPECT_EQ(t.ErrorText(msg), LanguageTable::kWouldNotOpen);
    EXPECT_EQ(msg, LanguageTable::kDamagedMessage);

    // Silent with report off, and without a prompter.
    ScriptedPrompter quiet;
    EXPECT_FALSE(t.Load("absent.lng", false, &quiet));
    EXPECT_TRUE(quiet.asked.empty());
    EXPECT_FALSE(t.Load("absent.lng", true, nullptr));
}

TEST(LanguageTableErrors, UnreadableFileWouldNotOpen) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempFolder f;
    f.Write("locked.lng", LangFileBuilder{}.Build());
    ::chmod(f.File("locked.lng").c_str(), 0);
    LanguageTable t;
    t.SetProgramFolder(f.Path());
    EXPECT_FALSE(t.Load("locked.lng", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kWouldNotOpen);
}

TEST(LanguageTableSearch, ProgramFolderThenCurrentFolderThenThePreviousFolder) {
    TempFolder program, current, elsewhere;
    LangFileBuilder p, c, e;
    p.displayLanguage = "program";
    c.displayLanguage = "current";
    e.displayLanguage = "elsewhere";
    program.Write("a.lng", p.Build());
    current.Write("a.lng", c.Build());
    current.Write("b.lng", c.Build());
    elsewhere.Write("c.lng", e.Build());
    elsewhere.Write("d.lng", e.Build());

    CurrentFolder cd(current.Path());
    LanguageTable t;
    t.SetProgramFolder(program.Path() + "/");
    ASSERT_TRUE(t.Load("a.lng", false, nullptr));
    EXPECT_EQ(t.Settings().displayLanguage, "program");
    EXPECT_EQ(t.LoadedPath(), program.File("a.lng"));
    ASSERT_TRUE(t.Load("b.lng", false, nullptr));
    EXPECT_EQ(t.Settings().displayLanguage, "current");
    EXPECT_EQ(t.LoadedPath(), current.File("b.lng"));
    EXPECT_FALSE(t.Load("d.lng", false, nullptr));  // not yet a search place
    ASSERT_TRUE(t.Load(elsewhere.File("c.lng"), false, nullptr));
    EXPECT_EQ(t.Settings().displayLanguage, "elsewhere");
    ASSERT_TRUE(t.Load("d.lng", false, nullptr));  // now found where c.lng was
    EXPECT_EQ(t.LoadedPath(), elsewhere.File("d.lng"));
    // A name with a slash is used as it stands.
    EXPECT_FALSE(t.Load("./a/../d.lng", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kNotFound);
}

// A failed reload must not leave the program without captions: the table and
// its settings stay as they were.
TEST(LanguageTableReload, AFailedReloadKeepsTheLanguageInUse) {
    TempFolder f;
    LangFileBuilder good;
    good.extraHeader = {"*FontSize,22"};
    good.texts[10007003] = "kept";
    f.Write("good.lng", good.Build());
    LangFileBuilder bad;
    bad.leaveOutIds = {10007003};
    bad.extraHeader = {"*FontSize,33"};
    f.Write("bad.lng", bad.Build());
    LangFileBuilder header;
    header.leaveOutHeaderKeys = {"*AdHelpFile"};
    f.Write("header.lng", header.Build());

    LanguageTable t;
    t.SetProgramFolder(f.Path());
    ScriptedPrompter p;
    ASSERT_TRUE(t.Load("good.lng", true, &p));
    const std::string path = t.LoadedPath();
    for (const char* name : {"bad.lng", "header.lng", "absent.lng"}) {
        SCOPED_TRACE(name);
        t.ResetSettings();  // as the Language File Setup command does
        EXPECT_FALSE(t.Load(name, true, &p));
        EXPECT_STREQ(t.Text(10007003), "kept");
        EXPECT_EQ(t.Settings().fontSize, 22);
        EXPECT_EQ(t.Settings().advancedHelpFile, "adv.html");
        EXPECT_EQ(t.LoadedPath(), path);
    }
    EXPECT_EQ(p.asked.size(), 3u);
    // The failure stays readable until the next load.
    EXPECT_EQ(t.LastError(), LanguageTable::kNotFound);
    ASSERT_TRUE(t.Load("good.lng", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kNoError);
    EXPECT_TRUE(t.MissingRequiredIds().empty());
}

TEST(LanguageTableIdMode, EveryPresentTextReadsItsIdAndTheLoadWritesADump) {
    TempFolder f;
    LangFileBuilder b;
    b.languageRow = "*Language,test.lng,\"two, with comma\"";
    b.fontRow = "*Font,Sans,Serif";
    b.texts[10000001] = "VRM-650T,Zwei";
    b.texts[10007003] = "\"a,b\",\"say \"\"x\"\"\"";
    b.extraRows = {"^#19100001,only one"};
    f.Write("test.lng", b.Build());

    CurrentFolder cd(f.Path());
    LanguageTable t;
    t.SetProgramFolder(f.Path());
    t.SetIdMode(true);
    EXPECT_TRUE(t.IdMode());
    ASSERT_TRUE(t.Load("test.lng", false, nullptr));
    const char* first = t.Text(10007003);
    EXPECT_STREQ(first, "ID:10007003");
    EXPECT_STREQ(t.Text(0), "ID:10000001");
    EXPECT_EQ(first, t.Text(10000001));  // one shared buffer
    EXPECT_STREQ(t.Text(12345678), "");  // absent stays empty
    EXPECT_EQ(t.TextString(19100001), "ID:19100001");

    const std::string dump = ReadAll(f.File("LanguageAnalys.dump"));
    EXPECT_EQ(dump.rfind("*Language,test.lng,\"two, with comma\"\r\n*Font,Sans,Serif\r\n10000001,VRM-650T,Zwei\r\n", 0),
              0u)
        << dump.substr(0, 200);
    EXPECT_NE(dump.find("\r\n10007003,\"a,b\",\"say \"\"x\"\"\"\r\n"), std::string::npos);
    EXPECT_NE(dump.find("\r\n10007004,T10007004,\r\n"), std::string::npos);
    EXPECT_NE(dump.find("\r\n19000002,T19000002,\r\n19100001,only one,\r\n"), std::string::npos);
    EXPECT_EQ(dump.size() - dump.rfind("19100001"), std::string("19100001,only one,\r\n").size());
    // Ascending IDs, one line each, CR LF only.
    std::size_t lines = 0;
    for (std::size_t i = 0; i < dump.size(); ++i) {
        if (dump[i] == '\n') {
            ++lines;
            ASSERT_GT(i, 0u);
            ASSERT_EQ(dump[i - 1], '\r');
        }
    }
    EXPECT_EQ(lines, 2u + 1108u + 1u);
    // No temporary file left behind.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(f.Path())) ++entries;
    EXPECT_EQ(entries, 2u);

    t.SetIdMode(false);
    EXPECT_STREQ(t.Text(10007003), "a,b");
}

TEST(LanguageTableIdMode, NoDumpWithoutIdModeOrForAFailedFile) {
    TempFolder f;
    CurrentFolder cd(f.Path());
    f.Write("test.lng", LangFileBuilder{}.Build());
    LangFileBuilder bad;
    bad.leaveOutIds = {10000001};
    f.Write("bad.lng", bad.Build());
    LanguageTable t;
    t.SetProgramFolder(f.Path());
    ASSERT_TRUE(t.Load("test.lng", false, nullptr));
    EXPECT_FALSE(std::filesystem::exists(f.File("LanguageAnalys.dump")));
    t.SetIdMode(true);
    EXPECT_FALSE(t.Load("bad.lng", false, nullptr));
    EXPECT_FALSE(std::filesystem::exists(f.File("LanguageAnalys.dump")));
}

TEST(LanguageTableScan, TwentyAcceptedFilesAtMostSortedOnTheirFirstByte) {
    TempFolder f;
    // 25 valid files; display names so that the first byte decides.
    for (int i = 0; i < 25; ++i) {
        LangFileBuilder b;
        char name[32];
        std::snprintf(name, sizeof name, "l%02d.lng", i);
        b.displayLanguage = std::string(1, static_cast<char>('Y' - i)) + std::to_string(i);
        f.Write(name, b.Build());
    }
    // Broken files and other files are skipped.
    LangFileBuilder broken;
    broken.leaveOutHeaderKeys = {"*AdHelpFile"};
    f.Write("a_broken.lng", broken.Build());
    f.Write("a_junk.lng", "\x01\x02garbage");
    f.Write("a_text.txt", LangFileBuilder{}.Build());

    LanguageTable t;
    EXPECT_EQ(t.ScanInstalledLanguages(f.Path()), 1);
    const auto& list = t.InstalledLanguages();
    ASSERT_EQ(list.size(), 20u);
    // The first 20 files by name, l00 to l19, listed by first byte: 'F' (l19) first.
    for (std::size_t k = 0; k < list.size(); ++k) {
        const int i = 19 - static_cast<int>(k);
        char name[32];
        std::snprintf(name, sizeof name, "l%02d.lng", i);
        EXPECT_EQ(list[k].fileName, name);
        EXPECT_EQ(list[k].displayName, std::string(1, static_cast<char>('Y' - i)) + std::to_string(i));
    }
    // Scanning leaves the table itself alone.
    EXPECT_STREQ(t.Text(10007003), "");
}

TEST(LanguageTableScan, FirstByteComparedAsSignedOnlyTheFirstByte) {
    TempFolder f;
    const std::pair<const char*, const char*> files[] = {
        {"1.lng", "English"}, {"2.lng", "\xC3\x84sti"},  // a byte above 0x7F sorts first
        {"3.lng", "Deutsch"}, {"4.lng", "Ez"},  {"5.lng", "Ea"}, {"6.lng", ""},
    };
    for (const auto& [file, display] : files) {
        LangFileBuilder b;
        b.displayLanguage = display;
        f.Write(file, b.Build());
    }
    LanguageTable t;
    ASSERT_EQ(t.ScanInstalledLanguages(f.Path()), 1);
    std::vector<std::string> order;
    for (const auto& l : t.InstalledLanguages()) order.push_back(l.fileName);
    // Selection sort: E-names keep no order among themselves beyond the swaps.
    // Start: 1E 2Ä 3D 4E 5E 6"" ; pos0 takes 2 (Ä<0): 2 1 3 4 5 6; pos1 takes 6 (0): 2 6 3 4 5 1;
    // pos2 3 (D); pos3 first E among 4 5 1 is 4; pos4 5; pos5 1.
    EXPECT_EQ(order, (std::vector<std::string>{"2.lng", "6.lng", "3.lng", "4.lng", "5.lng", "1.lng"}));

    TempFolder empty;
    EXPECT_EQ(t.ScanInstalledLanguages(empty.Path()), -1);
    EXPECT_TRUE(t.InstalledLanguages().empty());
    EXPECT_EQ(t.ScanInstalledLanguages(empty.File("no-such-folder")), -1);
}

}  // namespace
}  // namespace vrm
