// The print-out's document: which lists it holds, that its cells are the
// editors' texts (numbers and dates as the program's language writes them),
// and the text and HTML writers.
#include <gtest/gtest.h>

#include <algorithm>

#include "editors/editor_fixture.h"
#include "model/shipped_language.h"
#include "core/exchange/configuration_print.h"
#include "core/exchange/print_language.h"

namespace vrm::print {
namespace {

using test::EditorFixture;
using test::EnglishTexts;

std::vector<PrintList> Every() {
    std::vector<PrintList> lists;
    for (const PrintListInfo& info : PrintLists()) lists.push_back(info.list);
    return lists;
}

const Section* Find(const Document& doc, const std::string& heading) {
    for (const Section& s : doc.sections)
        if (s.heading == heading) return &s;
    return nullptr;
}

TEST(PrintLists, TokensParseAndComeBackInPrintOrder) {
    std::string bad;
    const auto lists = ParseLists(" scan , channels,scan,,advanced ", &bad);
    ASSERT_TRUE(lists);
    EXPECT_EQ(lists->size(), 3u);  // the repeated scan counts once
    EXPECT_EQ(ListTokens(*lists), "channels,scan,advanced");
    EXPECT_FALSE(ParseLists("channels,channel", &bad));
    EXPECT_EQ(bad, "channel");
    EXPECT_TRUE(ParseLists("", &bad)->empty());
    EXPECT_EQ(ParseLists(ListTokens(Every()))->size(), PrintLists().size());
}

TEST(ConfigurationDocument, HoldsTheChosenListsOfTheModelOnly) {
    EditorFixture typed(3);  // frequencies typed: no QT/DQT customization
    Document doc = BuildConfigurationDocument(typed.session, Every(), {"x.dat", "2026-01-02 03:04"});
    EXPECT_FALSE(Find(doc, "QT/DQT Customization"));
    EXPECT_TRUE(Find(doc, "Optional Features"));
    EXPECT_FALSE(ListOffered(typed.session.Context(), PrintList::CustomCodes));

    EditorFixture varitel(2);
    doc = BuildConfigurationDocument(varitel.session, {PrintList::CustomCodes, PrintList::Keys}, {"x.dat", ""});
    ASSERT_EQ(doc.sections.size(), 2u);
    EXPECT_EQ(doc.sections[0].heading, "Key Assignment");  // print order, not the order asked
    EXPECT_EQ(doc.sections[1].heading, "QT/DQT Customization");
    EXPECT_EQ(doc.pageNumbers, "Page %d of %d");
    EXPECT_EQ(PageNumberText(doc, 2, 7), "Page 2 of 7");
}

TEST(ConfigurationDocument, ChannelsShowTheEditorsTexts) {
    EditorFixture f(3);
    ASSERT_TRUE(f.Set("channel.2.rx", "462.5625").Ok());
    ASSERT_TRUE(f.Set("channel.2.decode", "D023N").Ok());
    const Document doc = BuildConfigurationDocument(f.session, {PrintList::Channels}, {"x.dat", ""});
    ASSERT_EQ(doc.sections.size(), 1u);
    const Table& t = doc.sections[0].tables[0];
    EXPECT_EQ(t.headings[0], "No.");
    EXPECT_EQ(static_cast<int>(t.rows.size()), f.catalogue.ChannelCount());
    const auto& row = t.rows[1].cells;
    EXPECT_EQ(row[0], "2");
    EXPECT_EQ(row[1], f.Get("channel.2.rx"));
    EXPECT_NE(row[1].find("462.5625"), std::string::npos);
    EXPECT_NE(std::find(row.begin(), row.end(), "D023N"), row.end());
    // Every item the channel editor shows has a column.
    for (const FieldDef& fd : ChannelTable().fields) {
        if (!f.session.Shown(FieldRef{&ChannelTable(), &fd, 0})) continue;
        const std::string text = f.session.Text(FieldRef{&ChannelTable(), &fd, 1});
        EXPECT_TRUE(std::find(row.begin(), row.end(), text) != row.end()) << fd.key;
    }
    // An unused channel says so.
    ASSERT_TRUE(f.session.DeleteRows(ChannelTable(), {1}));
    const Document after = BuildConfigurationDocument(f.session, {PrintList::Channels}, {"x.dat", ""});
    const auto& emptied = after.sections[0].tables[0].rows[1].cells;
    EXPECT_EQ(emptied[1], "not in use");
    EXPECT_TRUE(std::all_of(emptied.begin() + 2, emptied.end(), [](const std::string& c) { return c.empty(); }));
}

TEST(ConfigurationDocument, FormsListShownFieldsUnderTheirGroups) {
    EditorFixture f(3);
    ASSERT_TRUE(f.Set("features.tot", "135").Ok());
    const Document doc = BuildConfigurationDocument(f.session, {PrintList::Features}, {"x.dat", ""});
    const Table& t = doc.sections.at(0).tables.at(0);
    EXPECT_EQ(t.headings, (std::vector<std::string>{"Setting", "Value"}));
    const auto vox = std::find_if(t.rows.begin(), t.rows.end(), [](const TableRow& r) { return r.caption && r.cells[0] == "VOX"; });
    ASSERT_NE(vox, t.rows.end());
    ASSERT_NE(vox + 1, t.rows.end());
    EXPECT_FALSE((vox + 1)->caption);
    EXPECT_EQ((vox + 1)->indent, 1);
    EXPECT_EQ(t.rows[0].cells, (std::vector<std::string>{"Time-out Timer (TOT) [s]", "135"}));
}

const LanguageTable& GermanTexts() {
    static LanguageTable table;
    static const bool loaded = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_de.lng", false, nullptr);
    (void)loaded;
    return table;
}

const Table& ListOf(const Document& doc) { return doc.sections.at(0).tables.at(0); }

// Paper follows the program's language, whatever separator the screen uses:
// numbers, the date in the title block and the custom codes' values.
TEST(ConfigurationDocument, NumbersAndDatesFollowTheLanguage) {
    EditorFixture f(2);  // Varitel: custom codes
    ASSERT_TRUE(f.Set("custom.cqt2", "100.0").Ok());
    ASSERT_TRUE(f.Set("channel.2.decode", "CQT2").Ok());
    f.session.SetDecimalSeparator(",");  // the system's, as the screen shows it
    const Document en = BuildConfigurationDocument(f.session, {PrintList::Channels}, {"x.dat", ""});
    EXPECT_NE(ListOf(en).rows[1].cells[1].find("."), std::string::npos) << ListOf(en).rows[1].cells[1];
    EXPECT_NE(std::find(ListOf(en).rows[1].cells.begin(), ListOf(en).rows[1].cells.end(), "CQT2 (100.0)"),
              ListOf(en).rows[1].cells.end());

    EditSession german(f.image, f.catalogue, GermanTexts());
    german.SetDecimalSeparator(".");
    const Document de = BuildConfigurationDocument(german, {PrintList::Channels}, {"x.dat", ""});
    const auto& cells = ListOf(de).rows[1].cells;
    EXPECT_NE(cells[1].find(","), std::string::npos) << cells[1];
    EXPECT_NE(std::find(cells.begin(), cells.end(), "CQT2 (100,0)"), cells.end());

    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 9;
    when.tm_hour = 7;
    when.tm_min = 5;
    EXPECT_EQ(PrintedAtText(EnglishTexts(), when), "2026-12-09 07:05");
    EXPECT_EQ(PrintedAtText(GermanTexts(), when), "09.12.2026 07:05");
    // A language file without these texts prints "." and an ISO date.
    const LanguageTable none;
    EXPECT_EQ(PrintDecimalSeparator(none), ".");
    EXPECT_EQ(PrintedAtText(none, when), "2026-12-09 07:05");
    EXPECT_EQ(FormatDate("%d/%m %% %b%", when), "09/12 % %b%");
}

// A code linked to a custom entry gives the entry's value in both code
// columns; other codes and empty cells stay as the grid shows them.
TEST(ConfigurationDocument, CustomCodesGiveTheirValue) {
    EditorFixture f(2);
    ASSERT_TRUE(f.Set("custom.cdt3", "D754I").Ok());
    ASSERT_TRUE(f.Set("channel.1.decode", "67.0").Ok());
    ASSERT_TRUE(f.Set("channel.1.encode", "CDT3").Ok());
    const Table t = ListOf(BuildConfigurationDocument(f.session, {PrintList::Channels}, {"x.dat", ""}));
    const auto& cells = t.rows[0].cells;
    EXPECT_NE(std::find(cells.begin(), cells.end(), "67.0"), cells.end());
    EXPECT_NE(std::find(cells.begin(), cells.end(), "CDT3 (D754I)"), cells.end());
    for (const TableRow& r : t.rows)
        for (const std::string& c : r.cells) EXPECT_EQ(c.find("()"), std::string::npos) << c;
}

TEST(ConfigurationDocument, TheKeyTableIsHeadedKey) {
    EditorFixture f(3);
    EXPECT_EQ(ListOf(BuildConfigurationDocument(f.session, {PrintList::Keys}, {"x.dat", ""})).headings.at(0), "Key");
    EditSession german(f.image, f.catalogue, GermanTexts());
    EXPECT_EQ(ListOf(BuildConfigurationDocument(german, {PrintList::Keys}, {"x.dat", ""})).headings.at(0), "Taste");
}

TEST(DocumentWriters, TextAlignsByCharactersAndHtmlEscapes) {
    Document doc;
    doc.title = "T";
    doc.facts = {{"Datei", "a<b>&\"c\""}};
    Section s{"Kanäle", {}};
    Table t;
    t.headings = {"Nr.", "Empfangsfrequenz"};
    t.AddRow({"ä", "1"});
    t.AddCaption("Gruppe");
    t.AddRow({"x", "2"}, 1);
    s.tables.push_back(t);
    doc.sections.push_back(s);
    const std::string text = WriteText(doc);
    EXPECT_NE(text.find("Kanäle\n------\n"), std::string::npos);  // underlined by characters, not bytes
    EXPECT_NE(text.find("Nr.  Empfangsfrequenz\n---  ----------------\nä    1\nGruppe\n  x  2\n"), std::string::npos);
    const std::string html = WriteHtml(doc, "de");
    EXPECT_NE(html.find("<html lang=\"de\">"), std::string::npos);
    EXPECT_NE(html.find("a&lt;b&gt;&amp;&quot;c&quot;"), std::string::npos);
    EXPECT_EQ(html.find("a<b>"), std::string::npos);
    EXPECT_NE(html.find("<thead><tr><th>Nr.</th><th>Empfangsfrequenz</th></tr></thead>"), std::string::npos);
    EXPECT_NE(html.find("<td colspan=\"2\">Gruppe</td>"), std::string::npos);
}

}  // namespace
}  // namespace vrm::print
