#include "core/model/code_tables.h"

#include <gtest/gtest.h>

#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"

namespace vrm {
namespace {

struct Fixture {
    RadioImage image;
    ModelCatalogue catalogue{image};
    CodeTables tables{catalogue, test::EnglishTexts()};

    // Model and band word, with the New defaults (custom codes included).
    explicit Fixture(int model = 1, std::uint16_t band = 0x0100) {
        catalogue.SetModel(model);
        catalogue.SetBandWord(band);
        image.InitialiseDefaults(catalogue, false);
    }
    std::string Off() const { return test::EnglishTexts().TextString(10300001); }
    std::string None() const { return test::EnglishTexts().TextString(10300003); }
};

TEST(CodeTablesLanguage, ShippedFileLoads) {
    ASSERT_FALSE(test::EnglishTexts().TextString(10300001).empty());
    ASSERT_FALSE(test::EnglishTexts().TextString(10300003).empty());
}

TEST(FrequencyParser, StepCodesAndCutDownValues) {
    using P = ParsedFrequency;
    EXPECT_EQ(CodeTables::ParseFrequency("462.5625"), (P{0x46256250, kStep6250}));
    EXPECT_EQ(CodeTables::ParseFrequency("462.555"), (P{0x46255500, kStep5000}));
    EXPECT_EQ(CodeTables::ParseFrequency("462.5575"), (P{0x46255500, kStep5000}));
    EXPECT_EQ(CodeTables::ParseFrequency("462.5525"), (P{0x46255000, kStep6250}));
    EXPECT_EQ(CodeTables::ParseFrequency("440.05"), (P{0x44005000, kStep6250}));
    // Rounded to the nearest hertz before the step test.
    EXPECT_EQ(CodeTables::ParseFrequency("462.5624996"), (P{0x46256250, kStep6250}));
    // strtod-like reading: blanks first, the number, anything after it ignored.
    EXPECT_EQ(CodeTables::ParseFrequency("  462.5625 MHz"), (P{0x46256250, kStep6250}));
    EXPECT_EQ(CodeTables::ParseFrequency("99.5"), (P{0x09950000, kStep6250}));
}

TEST(FrequencyParser, RefusesWhatCannotBeStored) {
    for (const char* text : {"", "0", "0.000", "abc", ".", "-460.1", "1000", "5000", "1e300", "inf", "nan"})
        EXPECT_FALSE(CodeTables::ParseFrequency(text).has_value()) << text;
    EXPECT_TRUE(CodeTables::ParseFrequency("999.99").has_value());
}

TEST(FrequencyText, DigitsSeparatorAndBlank) {
    EXPECT_EQ(CodeTables::FrequencyToText(0x46256250, "."), "462.56250");
    EXPECT_EQ(CodeTables::FrequencyToText(0x46256250, ","), "462,56250");
    EXPECT_EQ(CodeTables::FrequencyToText(0x09950000, "."), "99.50000");
    EXPECT_EQ(CodeTables::FrequencyToText(kBlankFrequency, "."), "");
    EXPECT_EQ(CodeTables::FrequencyToHz(0x46256250), 462562500);
    EXPECT_EQ(CodeTables::FrequencyToHz(0x4625625A), -1);
    EXPECT_EQ(CodeTables::HzToFrequency(462562500), 0x46256250u);
    EXPECT_EQ(CodeTables::HzToFrequency(1000000000), kBlankFrequency);
}

TEST(FrequencyChecks, BandClampAndExclusion) {
    Fixture uhf;
    std::string t = "500";
    EXPECT_FALSE(uhf.tables.BandCheck(t));
    EXPECT_EQ(t, "480.000000");
    t = "300";
    EXPECT_FALSE(uhf.tables.BandCheck(t));
    EXPECT_EQ(t, "440.000000");
    t = "460.1";
    EXPECT_TRUE(uhf.tables.BandCheck(t));
    EXPECT_EQ(t, "460.100000");
    t = "480";
    EXPECT_TRUE(uhf.tables.BandCheck(t));
    t = "";
    EXPECT_TRUE(uhf.tables.BandCheck(t));
    EXPECT_EQ(t, "");

    Fixture low(0, 0x0001);
    t = "361";
    EXPECT_FALSE(low.tables.BandCheck(t));
    EXPECT_EQ(t, "360.000000");

    t = "446.1";
    EXPECT_FALSE(CodeTables::ExclusionCheck(t));
    EXPECT_EQ(t, "445.995000");
    t = "446";
    EXPECT_FALSE(CodeTables::ExclusionCheck(t));
    EXPECT_EQ(t, "445.995000");
    t = "446.2";
    EXPECT_FALSE(CodeTables::ExclusionCheck(t));
    EXPECT_EQ(t, "446.205000");
    t = "446.21";
    EXPECT_TRUE(CodeTables::ExclusionCheck(t));
    EXPECT_EQ(t, "446.210000");
    t = "445.99999";
    EXPECT_TRUE(CodeTables::ExclusionCheck(t));
}

TEST(FrequencyChecks, ReservedFrequenciesOfTheMarketClass) {
    Fixture uhf;  // band word 0x0100: market class 1
    EXPECT_TRUE(uhf.tables.IsReserved(0x46079375));
    EXPECT_TRUE(uhf.tables.IsReserved(0x46080625));
    EXPECT_FALSE(uhf.tables.IsReserved(0x46079376));
    EXPECT_FALSE(uhf.tables.IsReserved(kBlankFrequency));
    Fixture low(0, 0x0001);  // market class 0
    EXPECT_FALSE(low.tables.IsReserved(0x46079375));
}

TEST(CodeWords, TextForms) {
    Fixture f;
    EXPECT_EQ(f.tables.CodeWordToText(0xFFFF), f.Off());
    EXPECT_EQ(f.tables.CodeWordToText(885), "88.5");
    EXPECT_EQ(f.tables.CodeWordToText(885, ","), "88,5");
    EXPECT_EQ(f.tables.CodeWordToText(1000), "100.0");
    EXPECT_EQ(f.tables.CodeWordToText(0x2013), "D023N");
    EXPECT_EQ(f.tables.CodeWordToText(0xA1EC), "D754I");
    EXPECT_EQ(f.tables.CodeWordToText(0x2813), "D023N");

    EXPECT_EQ(f.tables.CodeWordFromText(f.Off()), 0xFFFF);
    EXPECT_EQ(f.tables.CodeWordFromText(f.None()), 0xFFFF);
    EXPECT_EQ(f.tables.CodeWordFromText("D089X"), 0x203F);
    EXPECT_EQ(f.tables.CodeWordFromText("D754I"), 0xA1EC);
    EXPECT_EQ(f.tables.CodeWordFromText("D754IXYZ"), 0xA1EC);
    EXPECT_EQ(f.tables.CodeWordFromText("d023"), 0x2013);
    EXPECT_EQ(f.tables.CodeWordFromText("D"), 0x2000);
    EXPECT_EQ(f.tables.CodeWordFromText("60"), 670);
    EXPECT_EQ(f.tables.CodeWordFromText("300"), 2541);
    EXPECT_EQ(f.tables.CodeWordFromText("88.5"), 885);
    EXPECT_EQ(f.tables.CodeWordFromText("67.3"), 673);
    EXPECT_EQ(f.tables.CodeWordFromText("88.59"), 885);  // the fraction is cut off
    EXPECT_EQ(f.tables.CodeWordFromText("88,5", ","), 885);
    EXPECT_EQ(f.tables.CodeWordFromText(""), 670);
    EXPECT_EQ(f.tables.CodeWordFromText("-100"), 670);
    EXPECT_EQ(f.tables.CodeWordFromText("1e9"), 2541);
}

TEST(CodeLists, TypedListRoundTripsEveryEntry) {
    Fixture f;
    const auto list = f.tables.TypedCodeList(".");
    ASSERT_EQ(list.size(), 206u);
    EXPECT_EQ(list[0], f.Off());
    EXPECT_EQ(list[1], "67.0");
    EXPECT_EQ(list[2], "69.3");
    EXPECT_EQ(list[39], "250.3");
    EXPECT_EQ(list[40], "D023N");
    EXPECT_EQ(list[122], "D754N");
    EXPECT_EQ(list[123], "D023I");
    EXPECT_EQ(list[205], "D754I");
    for (int e = 0; e < 206; ++e) {
        const std::uint16_t word = CodeTables::TypedCodeWord(e);
        EXPECT_EQ(f.tables.CodeWordFromText(list[e]), word) << e;
        EXPECT_EQ(f.tables.CodeWordToText(word), list[e]) << e;
    }
    EXPECT_EQ(f.tables.TypedCodeText(3, ","), "71,9");
    EXPECT_EQ(f.tables.TypedCodeText(206, "."), "");
}

TEST(CodeLists, FixedListNumberingAndCustomEntries) {
    Fixture f(2, 0x0100);  // the list-of-99 model with the default custom codes
    f.image.SetWord(0x170 + 2 * 1, 885);     // CQT2 = 88.5
    f.image.SetWord(0x170 + 2 * 13, 0xA1EC); // CDT6 = D754I
    const auto lines = f.tables.FixedCodeList(",");
    ASSERT_EQ(lines.size(), 220u);  // slots 0-219
    EXPECT_EQ(lines[0], "(000)  " + f.None());
    EXPECT_EQ(lines[1], "(001)  67,0");
    EXPECT_EQ(lines[2], "(002)  71,9");
    EXPECT_EQ(lines[38], "(038)  250,3");
    EXPECT_EQ(lines[39], "(039)  69,3");
    EXPECT_EQ(lines[40], "(040)  QT (67,0)");
    EXPECT_EQ(lines[41], "(041)  QT (88,5)");
    EXPECT_EQ(lines[46], "(001)  D023N");
    EXPECT_EQ(lines[129], "(084)  D645N");
    EXPECT_EQ(lines[130], "(085)  D023I");
    EXPECT_EQ(lines[213], "(168)  D645I");
    EXPECT_EQ(lines[214], "(169)  DQT (D023N)");
    EXPECT_EQ(lines[219], "(174)  DQT (D754I)");

    EXPECT_EQ(f.tables.CodeLine("D023N", "."), "(001)  D023N");
    EXPECT_EQ(f.tables.CodeLine("69,3", ","), "(039)  69,3");
    EXPECT_EQ(f.tables.CodeLine("CQT2", ","), "(041)  QT (88,5)");
    EXPECT_EQ(f.tables.CodeLine("CDT1", "."), "(169)  DQT (D023N)");
    EXPECT_EQ(f.tables.CodeLine(f.Off(), "."), "(000)  " + f.None());
    EXPECT_EQ(f.tables.CodeLine("D754N", "."), "(083)  D754N");
    EXPECT_EQ(f.tables.CodeLine("D777N", "."), "");
    EXPECT_EQ(f.tables.CodeLine("CQT7", "."), "");
}

TEST(CodeLists, SlotTextsAndWords) {
    Fixture f(2, 0x0100);
    f.image.SetWord(0x170 + 2 * 1, 885);
    const CodeSlot qt = f.tables.CodeText(39);
    EXPECT_EQ(qt.text, "69.3");
    EXPECT_EQ(qt.word, 693);
    EXPECT_EQ(qt.customEntry, 0);
    EXPECT_EQ(qt.customTable, -1);
    const CodeSlot cqt = f.tables.CodeText(41);
    EXPECT_EQ(cqt.text, "88.5");
    EXPECT_EQ(cqt.word, 885);
    EXPECT_EQ(cqt.customEntry, 2);
    EXPECT_EQ(cqt.customTable, 0);
    const CodeSlot cdt = f.tables.CodeText(219);
    EXPECT_EQ(cdt.word, 0x2813);
    EXPECT_EQ(cdt.customEntry, 6);
    EXPECT_EQ(cdt.customTable, 1);
    EXPECT_EQ(f.tables.CodeText(0).text, f.None());
    EXPECT_EQ(f.tables.CodeText(220).text, "");
    EXPECT_EQ(f.tables.CodeText(-3).text, "");
    EXPECT_EQ(CodeTables::FixedSlotWord(46), 0x2013);
    EXPECT_EQ(CodeTables::FixedSlotWord(213), 0xA1A5);  // D645I
    EXPECT_EQ(CodeTables::FixedSlotWord(40), 0xFFFF);
}

TEST(PresetLists, LinesTextsAndNumbers) {
    Fixture varitel(2, 0x0100);
    const auto lines = varitel.tables.PresetList(".");
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines[0], "(00)  " + varitel.None());
    EXPECT_EQ(lines[2], "(02)  464.55000");
    EXPECT_EQ(lines[99], "(99)  457.86250");
    EXPECT_EQ(varitel.tables.PresetText(8, ","), "467,92500");
    EXPECT_EQ(varitel.tables.PresetText(0, "."), varitel.None());
    EXPECT_EQ(varitel.tables.PresetText(100, "."), varitel.None());
    EXPECT_EQ(varitel.tables.PresetNumber("467.92500"), 8);
    EXPECT_EQ(varitel.tables.PresetNumber("467,92500", ","), 8);
    EXPECT_EQ(varitel.tables.PresetNumber(""), 0);
    EXPECT_EQ(varitel.tables.PresetNumber("462.56250"), 0);  // a 22-list frequency
    EXPECT_EQ(varitel.tables.PresetLine("461.03750", "."), "(09)  461.03750");
    EXPECT_EQ(varitel.tables.PresetLine("", "."), "(00)  " + varitel.None());
    EXPECT_EQ(varitel.tables.PresetLine("1.0", "."), "");
    // Every preset is a frequency the parser stores unchanged.
    for (int e = 1; e <= 99; ++e) {
        const FrequencyCode code = varitel.tables.PresetFrequency(e);
        const auto parsed = CodeTables::ParseFrequency(CodeTables::FrequencyToText(code, "."));
        ASSERT_TRUE(parsed.has_value()) << e;
        EXPECT_EQ(parsed->code, code) << e;
    }

    // The list-of-22 mode has 22 presets; a typed-frequency model only line 0.
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(1);
    catalogue.SetBandWord(0x0100);
    CodeTables tables(catalogue, test::EnglishTexts());
    EXPECT_EQ(tables.PresetList(".").size(), 1u);
    catalogue.SetEntryMode(EntryMode::List22);
    const auto list22 = tables.PresetList(".");
    ASSERT_EQ(list22.size(), 23u);
    EXPECT_EQ(list22[1], "(01)  462.56250");
    EXPECT_EQ(list22[22], "(22)  462.72500");
    EXPECT_EQ(tables.PresetNumber("462.72500"), 22);
}

TEST(Numbers, ReadAndFormatIgnoreTheCLocale) {
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("12abc"), 12.0);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber(" -3.5"), -3.5);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("+7"), 7.0);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("4e2x"), 400.0);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("4e"), 4.0);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("x1"), 0.0);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("1.5.5"), 1.5);
    EXPECT_DOUBLE_EQ(CodeTables::ReadNumber("462,5", ","), 462.5);
    EXPECT_EQ(CodeTables::FormatFixed(480.0, 6), "480.000000");
    EXPECT_EQ(CodeTables::ReplaceAll("440.5.1", ".", ","), "440,5,1");
}

}  // namespace
}  // namespace vrm
