// The channel CSV: the CSV layer, the round trip on every offered model, a
// CSV written by another program with its report, and the CLI commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "cli/cli_process.h"
#include "core/fields/channel_model.h"
#include "editors/editor_fixture.h"
#include "core/exchange/channel_csv.h"
#include "core/files/data_file.h"
#include "core/model/entry_mode.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Report(const test::EditorFixture& f, const ChannelCsvImport& plan) {
    std::vector<std::string> lines;
    for (const ChannelCsvNote& n : plan.notes) lines.push_back(ChannelCsvNoteText(f.session.Context(), n));
    return lines;
}

TEST(ChannelCsv, ReadsQuotedFieldsLineEndsBomAndBlankLines) {
    const CsvReadResult r = ReadCsv("\xEF\xBB\xBF" "a,b\r\n\r\n\"x, \"\"y\"\"\",\"two\nlines\"\r\n  \n3,4");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].fields, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(r.rows[1].line, 3);
    EXPECT_EQ(r.rows[1].fields, (std::vector<std::string>{"x, \"y\"", "two\nlines"}));
    EXPECT_EQ(r.rows[2].line, 6);  // after the quoted line break and a blank line
    EXPECT_FALSE(ReadCsv("a,b\n\"open,c\n").ok);
    EXPECT_FALSE(ReadCsv("a,b\nx\"y,c\n").ok);
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("plain"), "plain");
}

// Lone CR line ends count as lines, and a last row without a line end (here
// of one field) keeps its own line, so that the report names the right line.
TEST(ChannelCsv, RowsKnowTheirLineWithLoneCrAndNoFinalLineEnd) {
    const CsvReadResult r = ReadCsv("a\rb\r\"x\ny\"\rc");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.rows.size(), 4u);
    EXPECT_EQ(r.rows[1].line, 2);
    EXPECT_EQ(r.rows[2].line, 3);
    EXPECT_EQ(r.rows[2].fields, (std::vector<std::string>{"x\ny"}));
    EXPECT_EQ(r.rows[3].line, 5);
    EXPECT_EQ(ReadCsv("a\n462.5").rows.at(1).line, 2);
}

// Random channels through the editor's own rules: frequencies in the band
// (or from the preset list), codes from the code list, receive-only and
// repeater channels, power and scan.
void FillRandomly(test::EditorFixture& f, std::mt19937& rng) {
    ChannelModel model(f.session.Context());
    const bool list = UsesPresetList(f.session.Context().Mode());
    const int codes = static_cast<int>(model.CodeOptions().size());
    const auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    for (int n = 0; n < model.Count(); ++n) {
        const std::string key = "channel." + std::to_string(n + 1) + ".";
        if (pick(5) == 0) continue;  // left empty
        const auto freq = [&]() -> std::string {
            if (list) return std::to_string(1 + pick(CodeTables::kPresets99));
            return CodeTables::FrequencyToText(CodeTables::HzToFrequency(440000000 + 6250LL * pick(6400)), ".");
        };
        f.Set(key + "rx", freq());
        if (list && pick(2)) f.Set(key + "repeater", "on");
        f.Set(key + "power", pick(2) ? "high" : "low");
        f.Set(key + "scan_add", pick(2) ? "on" : "off");
        if (pick(3)) f.Set(key + "tx", freq());
        // Custom codes carry a link the CSV cannot hold: plain codes only.
        const auto code = [&]() {
            std::string t = model.CodeOptions()[static_cast<std::size_t>(pick(codes))].token;
            return t.rfind("CQT", 0) == 0 || t.rfind("CDT", 0) == 0 ? std::string("off") : t;
        };
        f.Set(key + "decode", code());
        f.Set(key + "encode", code());
        if (!list && pick(6) == 0) f.Set(key + "tx", "");
    }
}

TEST(ChannelCsv, RoundTripOnEveryOfferedModel) {
    std::mt19937 rng(14);
    for (int model = 1; model < ModelCatalogue::kModelCount; ++model) {
        for (int round = 0; round < 20; ++round) {
            SCOPED_TRACE("model " + std::to_string(model) + " round " + std::to_string(round));
            test::EditorFixture source(model);
            FillRandomly(source, rng);
            const std::string csv = ExportChannelCsv(source.session.Context());

            test::EditorFixture target(model);
            for (int n = 0; n < target.image.ChannelCount(); ++n) ChannelModel(target.session.Context()).Delete(n);
            const ChannelCsvImport plan = PlanChannelImport(target.session.Context(), csv);
            ASSERT_TRUE(plan.readable) << plan.failure;
            EXPECT_EQ(Report(target, plan), std::vector<std::string>{}) << csv;
            ApplyChannelImport(target.session, plan);
            EXPECT_EQ(ExportChannelCsv(target.session.Context()), csv);
            // What the CSV carries, byte for byte: in-use bitmap, frequencies,
            // codes, step codes, and the power, scan (and repeater) bits.
            EXPECT_EQ(target.Byte(kChannelInUseHigh), source.Byte(kChannelInUseHigh));
            EXPECT_EQ(target.Byte(kChannelInUseLow), source.Byte(kChannelInUseLow));
            const std::uint8_t flags = UsesPresetList(source.session.Context().Mode()) ? 0x25 : 0x24;
            for (int n = 0; n < source.image.ChannelCount(); ++n) {
                if (!source.image.ChannelInUse(n)) continue;
                for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(target.Byte(source.Channel(n) + i), source.Byte(source.Channel(n) + i)) << n << ":" << i;
                EXPECT_EQ(target.Byte(source.Channel(n) + 13) & flags, source.Byte(source.Channel(n) + 13) & flags) << n;
                EXPECT_EQ(target.Byte(source.Channel(n) + 14), source.Byte(source.Channel(n) + 14)) << n;
            }
        }
    }
}

// A CSV as another program writes it: columns reordered, the older header
// without RxDtcsCode, CrossMode, Power and DVCODE, a quoted name with a
// comma, a split row, a DTCS row, a row outside the band, a long name, a row
// past the model's channels.
TEST(ChannelCsv, ImportsAnotherProgramsCsvWithItsReport) {
    test::EditorFixture f(3);
    const std::string csv =
        "Name,Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,"
        "Comment,URCALL,RPT1CALL,RPT2CALL\r\n"
        "\"Depot, North\",1,462.5625,,0.000000,TSQL,88.5,88.5,023,NN,NFM,12.50,,,,,\r\n"
        "\r\n"
        ",2,445.5000,split,450.500000,,88.5,88.5,023,NN,FM,6.25,S,,,,\r\n"
        ",3,453.1000,+,5.000000,DTCS,88.5,88.5,754,NR,FM,5.00,,,,,\r\n"
        ",4,500.0,,0,Tone,60.0,88.5,023,NN,AM,5.00,P,,,,\r\n"
        "A very long channel name indeed,5,446.10000,-,0.6,,,,,,,,,,,,\r\n"
        ",17,446.0,,,,,,,,,,,,,,\r\n";
    const ChannelCsvImport plan = PlanChannelImport(f.session.Context(), csv);
    ASSERT_TRUE(plan.readable);
    EXPECT_EQ(plan.rows, 6);
    EXPECT_EQ(plan.taken, 5);
    EXPECT_EQ(Report(f, plan),
              (std::vector<std::string>{
                  "Line 1: The file has no Power column; High is taken for every row.",
                  "Line 2, channel 1: Name \"Depot, North\" not kept: the radio stores no channel names.",
                  "Line 2, channel 1: TStep 12.50 kHz not kept: the frequency is stored with a 6.25 kHz step.",
                  "Line 6, channel 4: receive frequency 500.000000 MHz stored as 480.000000 MHz (outside the band "
                  "of this model).",
                  "Line 6, channel 4: transmit code 60.0 stored as 67.0.",
                  "Line 6, channel 4: Skip P (priority scan) not kept; the channel is in the scan list.",
                  "Line 6, channel 4: Mode AM not kept: the radio's channels are FM.",
                  "Line 7, channel 5: Name \"A very long channel name indeed\" not kept: the radio stores no "
                  "channel names.",
                  "Line 8: Location 17 is not a channel of this model (1 to 16); row not taken.",
              }));
    // Nothing changed until applied.
    EXPECT_EQ(f.Get("channel.1.rx"), "");
    EXPECT_TRUE(ApplyChannelImport(f.session, plan));
    EXPECT_EQ(f.Get("channel.1.rx"), "462.56250");
    EXPECT_EQ(f.Get("channel.1.decode"), "88.5");
    EXPECT_EQ(f.Get("channel.1.encode"), "88.5");
    EXPECT_EQ(f.Get("channel.2.tx"), "450.50000");
    EXPECT_EQ(f.Get("channel.2.scan_add"), f.session.Context().Text(tid::kOffText));
    EXPECT_EQ(f.Get("channel.3.tx"), "458.10000");
    EXPECT_EQ(f.Get("channel.3.encode"), "D754N");
    EXPECT_EQ(f.Get("channel.3.decode"), "D754I");
    EXPECT_EQ(f.Get("channel.4.rx"), "480.00000");
    EXPECT_EQ(f.Get("channel.4.encode"), "67.0");
    EXPECT_EQ(f.Get("channel.4.decode"), f.session.Context().Text(tid::kCodeOff));
    EXPECT_EQ(f.Get("channel.5.tx"), "445.50000");
    EXPECT_TRUE(f.session.CanUndo());
}

// A polarity that is not two letters N or R is said once, with the one
// taken; lower-case letters are fine.
TEST(ChannelCsv, UnknownDtcsPolarityIsReported) {
    test::EditorFixture f(3);
    const std::string csv =
        "Location,Frequency,Duplex,Tone,DtcsCode,DtcsPolarity,Skip,Power\n"
        "1,462.5625,,DTCS,023,XR,,High\n"
        "2,462.5875,,DTCS,023,rn,,High\n"
        "3,462.6125,,DTCS,023,R,,High\n";
    const ChannelCsvImport plan = PlanChannelImport(f.session.Context(), csv);
    EXPECT_EQ(Report(f, plan), (std::vector<std::string>{
                                   "Line 2, channel 1: DtcsPolarity \"XR\" not understood; NR taken.",
                                   "Line 4, channel 3: DtcsPolarity \"R\" not understood; RN taken."}));
    ApplyChannelImport(f.session, plan);
    EXPECT_EQ(f.Get("channel.1.decode"), "D023I");
    EXPECT_EQ(f.Get("channel.2.encode"), "D023I");
    EXPECT_EQ(f.Get("channel.2.decode"), "D023N");
}

TEST(ChannelCsv, CrossModesAndThePresetListModel) {
    test::EditorFixture f(2);  // Varitel: 99 preset frequencies
    const std::string csv =
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Power\n"
        "1,464.5500,,,Cross,100.0,88.5,023,NR,131,Tone->DTCS,Low\n"
        "2,462.0000,,,,,,,,,,High\n"
        "3,464.5500,split,462.0000,Cross,,88.5,,,,->Tone,5W\n"
        "4,464.5500,off,,Cross,,,,,,Tone<-DTCS,\n";
    const ChannelCsvImport plan = PlanChannelImport(f.session.Context(), csv);
    const std::vector<std::string> report = Report(f, plan);
    ASSERT_EQ(report.size(), 5u) << ::testing::PrintToString(report);
    EXPECT_EQ(report[0], "Line 1: The file has no Skip column; every channel is in the scan list.");
    EXPECT_EQ(report[1].rfind("Line 3, channel 2: 462.000000 is not one of this model's preset frequencies", 0), 0u)
        << report[1];
    EXPECT_EQ(report[2].rfind("Line 4, channel 3: transmit frequency 462.000000 MHz not taken", 0), 0u) << report[2];
    EXPECT_EQ(report[3], "Line 4, channel 3: Power 5W taken as High (the radio has High and Low).");
    EXPECT_EQ(report[4], "Line 5, channel 4: CrossMode \"Tone<-DTCS\" not understood; no QT/DQT codes set.");
    ApplyChannelImport(f.session, plan);
    EXPECT_EQ(f.Get("channel.1.encode"), "100.0");
    EXPECT_EQ(f.Get("channel.1.decode"), "D131I");
    EXPECT_EQ(f.Get("channel.1.power"), f.session.Context().Text(tid::kPowerLow));
    EXPECT_EQ(f.Get("channel.2.rx"), "467.92500");  // the preset channel as it was
    EXPECT_EQ(f.Get("channel.3.tx"), "464.55000");
    EXPECT_EQ(f.Get("channel.3.decode"), "88.5");
    EXPECT_EQ(f.Get("channel.4.tx"), "");
}

// A file of the older format has no CrossMode and no Power: a Cross row
// means Tone->Tone there and a channel is High. Each missing column whose
// default a row took is said once, first; a value the rules change is said
// for its row, below one hertz and a hundredth of a hertz too.
TEST(ChannelCsv, OlderColumnsTakeTheFormatsDefaultsAndChangedValuesAreSaid) {
    test::EditorFixture f(3);
    ASSERT_TRUE(f.Set("channel.2.rx", "462.5875").Ok());
    ASSERT_TRUE(f.Set("channel.2.power", "low").Ok());
    const std::string csv =
        "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment\n"
        "1,,462.5625,,0.000000,Cross,100.0,123.0,023,NN,FM,6.25,,\n"
        "2,,462.5875,,0.000000,,88.5,88.5,023,NN,FM,6.25,,\n"
        "3,,462.6125001,,0.000000,TSQL,88.5,88.54,023,NN,FM,6.25,,\n";
    const ChannelCsvImport plan = PlanChannelImport(f.session.Context(), csv);
    ASSERT_TRUE(plan.readable) << plan.failure;
    EXPECT_EQ(Report(f, plan),
              (std::vector<std::string>{
                  "Line 1: The file has no CrossMode column; Tone->Tone is taken for every row.",
                  "Line 1: The file has no Power column; High is taken for every row.",
                  "Line 4, channel 3: receive frequency 462.6125001 MHz stored as 462.612500 MHz (rounded down to "
                  "the channel step).",
                  "Line 4, channel 3: receive code 88.54 stored as 88.5.",
                  "Line 4, channel 3: transmit code 88.54 stored as 88.5.",
              }));
    ApplyChannelImport(f.session, plan);
    EXPECT_EQ(f.Get("channel.1.encode"), "100.0");
    EXPECT_EQ(f.Get("channel.1.decode"), "123.0");
    EXPECT_EQ(f.Get("channel.1.power"), f.session.Context().Text(tid::kPowerHigh));
    EXPECT_EQ(f.Get("channel.2.power"), f.session.Context().Text(tid::kPowerHigh));
}

// A field longer than any column holds refuses the file before it is
// parsed (a megabyte in one field took the parser seconds).
TEST(ChannelCsv, AFieldLongerThanAnyColumnRefusesTheFile) {
    test::EditorFixture f(3);
    const auto csv = [](std::size_t length) {
        return "Location,Name,Frequency\n1,x,462.5625\n2,\"a,\n" + std::string(length - 3, 'x') + "\",462.55\n";
    };
    EXPECT_TRUE(PlanChannelImport(f.session.Context(), csv(kCsvMaxField)).readable);
    for (const std::size_t length : {kCsvMaxField + 1, std::size_t{1} << 20}) {
        const ChannelCsvImport plan = PlanChannelImport(f.session.Context(), csv(length));
        EXPECT_FALSE(plan.readable) << length;
        EXPECT_EQ(plan.failure, "The field beginning on line 3 is longer than 1024 characters, more than any column "
                                "holds; this is not a channel CSV.");
    }
    EXPECT_FALSE(ReadCsv(std::string(kCsvMaxField + 1, 'x')).ok);
}

TEST(ChannelCsv, RefusesWhatIsNoChannelCsv) {
    test::EditorFixture f(3);
    EXPECT_FALSE(PlanChannelImport(f.session.Context(), "").readable);
    EXPECT_FALSE(PlanChannelImport(f.session.Context(), "Location,Name\n1,x\n").readable);
    EXPECT_FALSE(PlanChannelImport(f.session.Context(), "Location,Frequency\n1,\"462\n").readable);
    // Rows that reach no channel or give no frequency are reported.
    const ChannelCsvImport plan =
        PlanChannelImport(f.session.Context(), "Frequency,Location\n462.5625,x\nabc,2\n462.5625,0\n462.55,\n462.6,3\n");
    EXPECT_EQ(Report(f, plan), (std::vector<std::string>{
                                   "Line 1: The file has no Duplex column; every channel transmits on its receive "
                                   "frequency.",
                                   "Line 1: The file has no Tone column; every channel has QT/DQT off.",
                                   "Line 1: The file has no Skip column; every channel is in the scan list.",
                                   "Line 1: The file has no Power column; High is taken for every row.",
                                   "Line 2: Location \"x\" is not a channel number; row not taken.",
                                   "Line 3, channel 2: Frequency \"abc\" is not a frequency in MHz; row not taken.",
                                   "Line 4: Location 0 is not a channel of this model (1 to 16); row not taken.",
                                   "Line 6, channel 3: the channel was already given on line 5; row not taken.",
                               }));
}

// ---------------------------------------------------------------------------
// The CLI

struct CliFiles {
    fs::path dir = fs::temp_directory_path() / ("vrm-channels-" + std::to_string(::getpid()));
    CliFiles() { fs::create_directories(dir); }
    ~CliFiles() { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Write(const std::string& name, const std::string& text) const { std::ofstream(dir / name, std::ios::binary) << text; }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

TEST(ChannelsCommand, ExportImportStrictAndExitStatuses) {
    CliFiles t;
    ASSERT_EQ(test::Cli({"new", "--model", "3", "-o", t.Path("a.dat")}).status, 0);
    const std::string before = t.Read("a.dat");
    t.Write("good.csv", "Location,Frequency,Tone,cToneFreq\n1,462.5625,TSQL,88.5\n");
    t.Write("noted.csv", "Location,Name,Frequency\n1,Depot,462.5625\n");

    // --strict with a report line: refused, nothing written.
    test::CliRun r = test::Cli({"channels", "import", "--strict", t.Path("a.dat"), t.Path("noted.csv")});
    EXPECT_EQ(r.status, cli::kExitValueRefused);
    EXPECT_NE(r.out.find("Line 2, channel 1: Name \"Depot\" not kept"), std::string::npos) << r.out;
    EXPECT_EQ(t.Read("a.dat"), before);
    // Not strict: taken, report on stdout, FILE replaced.
    r = test::Cli({"channels", "import", t.Path("a.dat"), t.Path("noted.csv")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(t.Read("a.dat"), before);
    r = test::Cli({"channels", "import", "--strict", t.Path("a.dat"), t.Path("good.csv"), "-o", t.Path("b.dat")});
    EXPECT_EQ(r.status, 0) << r.err;

    r = test::Cli({"channels", "export", t.Path("b.dat")});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\r\n1,,462.562500,,0.000000,TSQL,88.5,88.5,"), std::string::npos) << r.out;
    EXPECT_EQ(test::Cli({"channels", "export", t.Path("b.dat"), "-o", t.Path("out.csv")}).status, 0);
    EXPECT_EQ(t.Read("out.csv"), r.out);
    // The output exists: not replaced without --yes.
    EXPECT_EQ(test::Cli({"channels", "export", t.Path("b.dat"), "-o", t.Path("out.csv")}).status, 3);
    EXPECT_EQ(test::Cli({"channels", "export", "--yes", t.Path("b.dat"), "-o", t.Path("out.csv")}).status, 0);

    // Unreadable inputs: 2; wrong usage: 64.
    t.Write("bad.csv", "Location,Name\n1,x\n");
    EXPECT_EQ(test::Cli({"channels", "import", t.Path("b.dat"), t.Path("bad.csv")}).status, 2);
    EXPECT_EQ(test::Cli({"channels", "import", t.Path("b.dat"), t.Path("missing.csv")}).status, 2);
    EXPECT_EQ(test::Cli({"channels", "export", t.Path("missing.dat")}).status, 2);
    EXPECT_EQ(test::Cli({"channels", "import", t.Path("b.dat")}).status, 64);
    EXPECT_EQ(test::Cli({"channels", "export", "--bogus", t.Path("b.dat")}).status, 64);
}

}  // namespace
}  // namespace vrm
