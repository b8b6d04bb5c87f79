// The configuration text: export -> import gives the image byte for byte on
// every offered model, and a damaged or hostile text is refused whole with
// its line and key.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <string>

#include "editor_fixture.h"
#include "core/exchange/config_text.h"
#include "core/exchange/config_text_plan.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"

namespace vrm::test {
namespace {

const LanguageTable& GermanTexts() {
    static LanguageTable table;
    static const bool loaded = table.Load(std::string(VRM_SOURCE_DIR) + "/lang/vrm650t_de.lng", false, nullptr);
    (void)loaded;
    return table;
}

ImageBuffer RoundTrip(const ImageBuffer& image, const LanguageTable& out = EnglishTexts(),
                      const LanguageTable& in = EnglishTexts()) {
    const ConfigTextExport text = ExportConfigText(image, out);
    EXPECT_TRUE(text.ok) << text.problem;
    const ConfigTextImport back = ImportConfigText(text.text, in);
    EXPECT_TRUE(back.ok) << back.problem << "\n" << text.text;
    EXPECT_EQ(back.notes, std::vector<std::string>{}) << "an export's values are stored as given";
    return back.image;
}

// Every band of every offered model: the New defaults come back byte for
// byte, and no field the editors show is left to the byte rows.
TEST(ConfigText, NewDefaultsKeepEveryFieldOnEveryModelAndBand) {
    for (const ListEntry& model : ModelCatalogue::ModelList()) {
        for (const ListEntry& band : ModelCatalogue::BandList(model.data, ".")) {
            EditorFixture f(model.data, static_cast<std::uint16_t>(band.data));
            SCOPED_TRACE(model.text + " / " + band.text);
            EXPECT_EQ(RoundTrip(f.image.Live()), f.image.Live());
            // A field is left to the byte rows only when its text does not
            // give its value back (the New defaults' custom DQT word is not
            // the word its text D023N stores).
            const config_text::Plan plan = config_text::Parse(ExportConfigText(f.image.Live(), EnglishTexts()).text);
            std::set<std::string> exported;
            for (const auto& e : plan.fields) exported.insert(e.key);
            EXPECT_GT(exported.size(), 40u);
            const ImageBuffer source = f.image.Live();
            const EditContext& ctx = f.session.Context();
            for (const FieldRef& ref : AllFields(ctx)) {
                const RecordLayout* r = ref.table->records;
                if (r && !r->exists(ctx, ref.row) && !(r->fillEmptyRows && r->fillEmptyRows(ctx))) continue;
                if (!f.session.Shown(ref) || !f.session.Enabled(ref) || exported.count(ref.Key())) continue;
                f.Set(ref.Key(), f.Get(ref.Key()));
                EXPECT_NE(f.image.Live(), source) << ref.Key();
                f.image.Live() = source;
            }
        }
    }
}

// Random images, from wholly random bytes to New defaults with a few bytes
// changed (where most fields hold values the editors know), exported in
// German and imported in English.
TEST(ConfigText, RandomImagesComeBackByteForByteOnEveryModel) {
    std::mt19937 random(14);
    for (const ListEntry& model : ModelCatalogue::ModelList()) {
        for (int round = 0; round < 24; ++round) {
            EditorFixture f(model.data);
            f.session.Change([&](EditContext& ctx) {
                auto& live = ctx.image.Live();
                const int percent = round % 4 == 0 ? 100 : 3 + round;
                for (std::size_t b = kIdentitySize; b < kImageSize; ++b)
                    if (static_cast<int>(random() % 100) < percent) live[b] = static_cast<std::uint8_t>(random());
                return true;
            });
            SCOPED_TRACE(model.text + " round " + std::to_string(round));
            const ImageBuffer source = f.image.Live();
            EXPECT_EQ(RoundTrip(source, GermanTexts(), EnglishTexts()), source);
        }
    }
}

// A hand-edited value goes through the field's rule, and the byte rows do
// not undo it.
TEST(ConfigText, EditedFieldIsAppliedOverTheByteRows) {
    EditorFixture f(3);
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5625").Ok());
    std::string text = ExportConfigText(f.image.Live(), EnglishTexts()).text;
    const std::size_t at = text.find("rx: 462.56250");
    ASSERT_NE(at, std::string::npos) << text;
    text.replace(at, 13, "rx: 470.1");
    const ConfigTextImport back = ImportConfigText(text, EnglishTexts());
    ASSERT_TRUE(back.ok) << back.problem;
    EXPECT_TRUE(f.Set("channel.1.rx", "470.1").Ok());
    EXPECT_EQ(back.image, f.image.Live());
}

struct Hostile {
    const char* name;
    std::string text;
    int line;
    const char* key;
    const char* says;  // part of the message
};

std::string Header(int model = 3) {
    EditorFixture f(model);
    std::string text = ExportConfigText(f.image.Live(), EnglishTexts()).text;
    const std::string row = text.substr(text.find("  0x000:"));
    return "model: " + std::to_string(model) + "\nbytes:\n" + row.substr(0, row.find('\n') + 1);
}

// Fields apply in the tables' order whatever the order of the text, and a
// field disabled until a later one is set waits for it.
TEST(ConfigText, FieldsApplyInTableOrderAndWaitForWhatEnablesThem) {
    const std::string h = Header(2) + "  0x010: 00 00 00 00\n";  // self-programming off
    const ConfigTextImport reversed = ImportConfigText(
        h + "fields:\n  features:\n    self_programming_timer: 10\n    self_programming: on\n", EnglishTexts());
    ASSERT_TRUE(reversed.ok) << reversed.problem;
    EditorFixture f(2);
    f.image.Live() = reversed.image;
    EXPECT_EQ(f.Get("features.self_programming_timer"), "10");

    // Switched off first (table order), the timer cannot be set after it.
    const ConfigTextImport off = ImportConfigText(
        h + "fields:\n  features:\n    self_programming_timer: 10\n    self_programming: off\n", EnglishTexts());
    EXPECT_FALSE(off.ok);
    EXPECT_EQ(off.key, "features.self_programming_timer");
    EXPECT_EQ(off.line, 7);
}

TEST(ConfigText, HostileTextsAreRefusedWithLineAndKey) {
    const std::string h = Header();  // three lines
    std::string nested = "[";
    for (int i = 0; i < 100000; ++i) nested += "[";
    // Aliases that fan out to a million entries from a few lines.
    std::string laughs = h + "fields:\n  a: &a {";
    for (int i = 0; i < 100; ++i) laughs += "k" + std::to_string(i) + ": 1, ";
    laughs += "z: 1}\n  b: &b {";
    for (int i = 0; i < 100; ++i) laughs += "k" + std::to_string(i) + ": *a, ";
    laughs += "z: 1}\n  c: {";
    for (int i = 0; i < 100; ++i) laughs += "k" + std::to_string(i) + ": *b, ";
    laughs += "z: 1}\n";
    const Hostile cases[] = {
        {"unknown top entry", h + "colour: red\n", 4, "colour", "unknown"},
        {"unknown field", h + "fields:\n  features:\n    nonsense: 1\n", 6, "features.nonsense", "no such field"},
        {"row past the model", h + "fields:\n  channel:\n    17:\n      rx: 462.5\n", 7, "channel.17.rx",
         "no such field"},
        {"map for a value", h + "fields:\n  features:\n    tot:\n      a: 1\n", 6, "features.tot", "single value"},
        {"list for a value", h + "fields:\n  features:\n    tot: [1, 2]\n", 6, "features.tot", "single value"},
        {"list for the fields", h + "fields: [1, 2]\n", 4, "fields", "map of keys"},
        {"huge value", h + "fields:\n  features:\n    tot: " + std::string(5000, '9') + "\n", 6, "features.tot",
         "longer than"},
        {"too deep", h + "fields:\n  a:\n    b:\n      c:\n        d:\n          e: 1\n", 9, "a.b.c.d", "deeply"},
        {"deep brackets", "fields: " + nested + "\n", 0, "", "YAML"},
        {"aliases", laughs, 0, "", "more entries"},
        {"given twice", h + "fields:\n  features:\n    tot: 60\n    tot: 90\n", 7, "features.tot", "twice"},
        {"refused choice", h + "fields:\n  features:\n    mic_sense: loud\n", 6, "features.mic_sense", "loud"},
        {"model missing", "fields: {}\n", 0, "model", "missing"},
        {"model unknown", "model: 9\n", 1, "model", "9 is not a model"},
        {"model not offered", "model: 0\n", 1, "model", "not a model"},
        {"model as a map", "model: {a: 1}\n", 1, "model", "single value"},
        {"other model's identity", Header(2).replace(7, 1, "3"), 1, "model", "identity bytes"},
        {"row past the end", h + "  0x3FF: 00 00\n", 4, "bytes.0x3FF", "inside the image"},
        {"address not hex", h + "  0x0G0: 00\n", 4, "bytes.0x0G0", "inside the image"},
        {"not hex bytes", h + "  0x010: 0G\n", 4, "bytes.0x010", "inside the image"},
        {"seventeen bytes", h + "  0x010: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n", 4, "bytes.0x010",
         "inside the image"},
        {"rows overlap", h + "  0x00F: 00\n", 4, "bytes.0x00F", "another row"},
        {"not UTF-8", h + "fields:\n  message:\n    line1: \xC3\x28\n", 6, "", "UTF-8"},
        {"not YAML", "model: [3\n", 2, "", "YAML"},
        {"a scalar", "hello\n", 1, "", "map with model"},
        {"empty", "", 0, "", "map with model"},
        {"no field", h, 0, "fields", "no field"},
        {"fields empty", h + "fields: {}\n", 0, "fields", "no field"},
    };
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        const ConfigTextImport r = ImportConfigText(c.text, EnglishTexts());
        ASSERT_FALSE(r.ok);
        if (c.line) {
            EXPECT_EQ(r.line, c.line) << r.problem;
            EXPECT_NE(r.problem.find("Line " + std::to_string(c.line)), std::string::npos) << r.problem;
        }
        EXPECT_EQ(r.key, c.key) << r.problem;
        EXPECT_NE(r.problem.find(c.says), std::string::npos) << r.problem;
    }
}

// A number past the range is clamped as the editor clamps it, with the
// editor's message.
TEST(ConfigText, HugeNumberIsClampedWithANote) {
    const ConfigTextImport r =
        ImportConfigText(Header() + "fields:\n  features:\n    tot: 99999999999999999999999\n", EnglishTexts());
    ASSERT_TRUE(r.ok) << r.problem;
    EditorFixture f(3);
    f.image.Live() = r.image;
    EXPECT_EQ(f.Get("features.tot"), "600");
}

TEST(ConfigText, TenMegabyteFileIsRefusedBeforeParsing) {
    const std::string path = testing::TempDir() + "config_text_big.yaml";
    {
        std::ofstream big(path, std::ios::binary);
        const std::string line = "# " + std::string(1021, 'x') + "\n";
        for (int i = 0; i < 10 * 1024; ++i) big << line;
    }
    const ConfigTextImport r = ImportConfigTextFile(path, EnglishTexts());
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.problem.find("larger than"), std::string::npos) << r.problem;
    std::remove(path.c_str());
}

// CR LF and lone CR line ends read as LF: a text saved on another system
// gives the same configuration, and its line numbers stay right.
TEST(ConfigText, EveryLineEndReadsTheSame) {
    EditorFixture f(2);
    ASSERT_TRUE(f.Set("features.tot", "120").Ok());
    const std::string lf = ExportConfigText(f.image.Live(), EnglishTexts()).text;
    for (const char* end : {"\r\n", "\r"}) {
        std::string text;
        for (const char c : lf) text += c == '\n' ? std::string(end) : std::string(1, c);
        const ConfigTextImport r = ImportConfigText(text, EnglishTexts());
        ASSERT_TRUE(r.ok) << r.problem;
        EXPECT_EQ(r.image, f.image.Live());
        EXPECT_TRUE(r.notes.empty());
        const ConfigTextImport bad = ImportConfigText(Header() + "fields:" + end + "  features:" + end + "    x: 1", EnglishTexts());
        EXPECT_EQ(bad.line, 6) << bad.problem;
    }
}

std::string WithField(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// Every value the rules store other than given is a note naming the key,
// the value given and the value stored; an unchanged export gives none.
TEST(ConfigText, ValuesStoredOtherThanGivenAreNoted) {
    EditorFixture f(3);
    ASSERT_TRUE(f.Set("channel.1.rx", "462.5625").Ok());
    const std::string text = ExportConfigText(f.image.Live(), EnglishTexts()).text;
    EXPECT_TRUE(ImportConfigText(text, EnglishTexts()).notes.empty());

    std::string edited = WithField(text, "squelch: 2", "squelch: 120");
    edited = WithField(edited, "min_volume: 0", "min_volume: -1");
    edited = WithField(edited, "decode: off", "decode: 6");
    edited = WithField(edited, "rx: 462.56250", "rx: 462.56254");
    const ConfigTextImport r = ImportConfigText(edited, EnglishTexts());
    ASSERT_TRUE(r.ok) << r.problem;
    const std::vector<std::string> expected = {
        R"(channel.1.rx: "462.56254" was given, "462.56000" is stored.)",
        R"(channel.1.decode: "6" was given, "67.0" is stored.)",
        R"(features.squelch: "120" was given, "5" is stored.)",
        R"(features.min_volume: "-1" was given, "0" is stored.)"};
    EXPECT_EQ(r.notes, expected);
}

// One rule for every test-frequency pair, as in the editor: clearing either
// side empties the pair, and only a text that empties them all gets the
// defaults back; each value not stored as given is noted.
TEST(ConfigText, ClearingOneSideOfAnyTestPairEmptiesThePair) {
    EditorFixture f(3);
    const std::string text = ExportConfigText(f.image.Live(), EnglishTexts()).text;
    std::string edited = WithField(text, "tx: 460.10000", "tx: off");  // pair 1
    edited = WithField(edited, "tx: 440.10000", "tx: off");           // pair 2
    edited = WithField(edited, "rx: 479.95000\n      tx: 479.90000", "rx: ''\n      tx: ''");  // pair 3, both
    const ConfigTextImport r = ImportConfigText(edited, EnglishTexts());
    ASSERT_TRUE(r.ok) << r.problem;
    f.image.Live() = r.image;
    for (const char* key : {"testfreq.1.rx", "testfreq.1.tx", "testfreq.2.rx", "testfreq.2.tx", "testfreq.3.rx"})
        EXPECT_EQ(f.Get(key), "") << key;
    EXPECT_EQ(f.Get("testfreq.4.rx"), "460.00000");
    const std::vector<std::string> expected = {R"(testfreq.1.rx: "460.05000" was given, "" is stored.)",
                                               R"(testfreq.2.rx: "440.05000" was given, "" is stored.)"};
    EXPECT_EQ(r.notes, expected);

    // Every pair emptied: the defaults, as after the editor's last pair.
    const std::size_t from = text.find("  testfreq:\n");
    const std::size_t to = text.find("\n  message:", from);
    ASSERT_LT(from, to);
    std::string pairs = "  testfreq:\n";
    for (int p = 1; p <= 8; ++p) pairs += "    " + std::to_string(p) + ":\n      rx: off\n";
    const std::string none = text.substr(0, from) + pairs + text.substr(to + 1);
    const ConfigTextImport reset = ImportConfigText(none, EnglishTexts());
    ASSERT_TRUE(reset.ok) << reset.problem;
    EditorFixture defaults(3);
    for (std::size_t b = kTestStepArea.offset; b < kTestFrequencyArea.offset + 64; ++b)
        EXPECT_EQ(reset.image[b], defaults.image.Live()[b]) << b;
    EXPECT_FALSE(reset.notes.empty());
}

}  // namespace
}  // namespace vrm::test
