// Language files are input: damaged ones must fail or load, never crash or
// read out of bounds (the sanitizer build runs these too).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <random>

#include "core/base/language_table.h"
#include "language_table_test_util.h"

namespace vrm {
namespace {

using test::LangFileBuilder;
using test::TempFolder;

// Loads the bytes and looks every required ID up; returns the load result.
bool LoadBytes(const std::string& bytes, LanguageTable& t, TempFolder& f) {
    f.Write("x.lng", bytes);
    t.SetProgramFolder(f.Path());
    const bool ok = t.Load("x.lng", false, nullptr);
    for (std::uint32_t id : LanguageTable::RequiredIds()) {
        const char* text = t.Text(id);
        EXPECT_NE(text, nullptr);
        if (ok) {
            EXPECT_TRUE(t.HasText(id));
        }
    }
    return ok;
}

TEST(LanguageTableDamaged, TruncatedFilesFailCleanly) {
    LangFileBuilder b;
    b.extraRows = {"^#19100001,\"quoted, with comma\",x", "^#19100002,line\nwrapped"};
    const std::string whole = b.Build();
    TempFolder f;
    int loaded = 0;
    // Every cut in the header and in the first rows, then every 37th byte, then
    // every cut within the last rows.
    for (std::size_t cut = 0; cut < whole.size(); cut += cut < 700 ? 1 : (cut + 200 < whole.size() ? 37 : 1)) {
        LanguageTable t;
        const bool ok = LoadBytes(whole.substr(0, cut), t, f);
        if (ok) ++loaded;
        if (!ok) {
            const int e = t.LastError();
            ASSERT_TRUE(e == LanguageTable::kHeaderIncomplete || e == LanguageTable::kRequiredIdMissing ||
                        e == LanguageTable::kQuoteInFirstField || e == LanguageTable::kNoColumns)
                << "cut at " << cut << " gave " << e;
        }
    }
    // Only cuts within the text of the very last required row may still load.
    EXPECT_LE(loaded, 16);
    LanguageTable t;
    EXPECT_TRUE(LoadBytes(whole, t, f));
}

TEST(LanguageTableDamaged, LoneQuotesAndUnbalancedQuoting) {
    TempFolder f;
    for (const std::string& bytes : {std::string("\""), std::string("\"\r\n"), std::string(",\"\r\n\""),
                                     std::string("^#\""), std::string("^#19100001,\""),
                                     std::string("*Language,\"\r\n*Font,\"")}) {
        LanguageTable t;
        EXPECT_FALSE(LoadBytes(bytes, t, f));
    }
    // A good file with a lone quote at its end, in a text of its own row.
    LangFileBuilder b;
    std::string file = b.Build() + "^#19100001,\"";
    LanguageTable t;
    ASSERT_TRUE(LoadBytes(file, t, f));
    EXPECT_STREQ(t.Text(19100001), "\"");
    // A lone quote that swallows every comma after it.
    LanguageTable t2;
    ASSERT_TRUE(LoadBytes(b.Build() + "^#19100001,\"a,b,c,d,e", t2, f));
    EXPECT_STREQ(t2.Text(19100001), "\"a,b,c,d,e");
}

TEST(LanguageTableDamaged, LongLinesLoadUpToTheBoundAndAreRefusedBeyond) {
    TempFolder f;
    // Within the bounds (16 KB a line, 256 commas a row): loaded as written.
    LangFileBuilder b;
    const std::string big(15000, 'x');
    std::string quotes(15000, '"');
    b.extraRows = {"^#19100001," + big, "^#19100002," + std::string(250, ','), "^#19100003," + quotes, big};
    b.fontRow = "*Font," + big;
    b.displayLanguage = big;
    LanguageTable t;
    ASSERT_TRUE(LoadBytes(b.Build(), t, f));
    EXPECT_EQ(std::string(t.Text(19100001)), big);
    EXPECT_STREQ(t.Text(19100002), "");
    EXPECT_EQ(std::strlen(t.Text(19100003)), quotes.size() / 2 - 1);
    EXPECT_EQ(t.Settings().fontName, big);
    EXPECT_EQ(t.Settings().displayLanguage.size(), LanguageTable::kMaxDisplayLanguageBytes);

    // Megabyte lines, rows of commas, quotes or mixtures, a header line without
    // any line end: refused as damaged, the table in use kept.
    const std::string mega(1 << 20, 'x');
    std::string mixed;
    for (int i = 0; i < (1 << 18); ++i) mixed += "\",a,";
    for (const std::string& row : {"^#19100001," + mega, "^#19100002," + std::string(1 << 20, ','),
                                   "^#19100003," + std::string(1 << 20, '"'), "^#19100004," + mixed, "^#" + mega}) {
        LangFileBuilder damaged;
        damaged.extraRows = {row};
        EXPECT_FALSE(LoadBytes(damaged.Build(), t, f));
        EXPECT_EQ(t.LastError(), LanguageTable::kWouldNotOpen);
        EXPECT_EQ(std::string(t.Text(19100001)), big);
    }
    LanguageTable t2;
    EXPECT_FALSE(LoadBytes("*Language,a.lng," + std::string(1 << 20, ','), t2, f));
    EXPECT_EQ(t2.LastError(), LanguageTable::kWouldNotOpen);
}

TEST(LanguageTableDamaged, BinaryJunkAndNulBytes) {
    TempFolder f;
    std::mt19937 rng(650);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        std::string junk(64 * 1024, '\0');
        for (char& c : junk) c = static_cast<char>(byte(rng));
        // Sprinkle the characters the reader reacts to.
        for (std::size_t i = 0; i < junk.size(); i += 97) junk.replace(i, 3, round % 2 ? "\r\n^" : ",\"#");
        LanguageTable t;
        EXPECT_FALSE(LoadBytes(junk, t, f));
        // The same junk after a good file: either fine or a clean failure.
        LanguageTable t2;
        LoadBytes(LangFileBuilder{}.Build() + junk, t2, f);
    }
    {
        LanguageTable t;
        EXPECT_FALSE(LoadBytes(std::string(100000, '\0'), t, f));
        EXPECT_FALSE(LoadBytes(std::string(100000, '\r'), t, f));
        EXPECT_FALSE(LoadBytes(std::string(100000, '\n'), t, f));
    }
    // A NUL inside a text ends the text as a caller sees it.
    LangFileBuilder b;
    b.extraRows = {std::string("^#19100001,ab\0cd,ef", 19), std::string("^#1910\0" "002,x", 12)};
    LanguageTable t;
    ASSERT_TRUE(LoadBytes(b.Build(), t, f));
    EXPECT_STREQ(t.Text(19100001), "ab");
    EXPECT_FALSE(t.HasText(19100002));
    EXPECT_FALSE(t.HasText(19100000));
}

TEST(LanguageTableDamaged, AFileTooLargeToBeALanguageFileIsRefused) {
    TempFolder f;
    const std::string path = f.File("huge.lng");
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 65 * 1024 * 1024), 0);  // sparse: no real bytes written
    ::close(fd);
    LanguageTable t;
    t.SetProgramFolder(f.Path());
    EXPECT_FALSE(t.Load("huge.lng", false, nullptr));
    EXPECT_EQ(t.LastError(), LanguageTable::kWouldNotOpen);
}

}  // namespace
}  // namespace vrm
