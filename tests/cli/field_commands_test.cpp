// vrm650t-cli fields, get and set, run as a user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli_process.h"
#include "core/fields/channel_fields.h"
#include "core/fields/edit_session.h"
#include "core/fields/field_registry.h"
#include "core/files/data_file.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using test::Cli;
using test::CliRun;
using Assignments = std::vector<std::pair<std::string, std::string>>;

std::string T(tid::TextId id) { return test::EnglishTexts().TextString(id); }
std::string F(tid::TextId id, std::initializer_list<FormatArg> args) { return FormatText(T(id), args); }

// The image the editor makes of a model's New defaults with these
// assignments committed in order.
ImageBuffer Edited(int model, const Assignments& plan) {
    RadioImage image;
    image.SetPresetChannelWriter(WritePresetChannels);
    ModelCatalogue catalogue(image);
    image.Clear();
    catalogue.SetModel(model);
    catalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
    image.InitialiseDefaults(catalogue, false);
    EditSession session(image, catalogue, test::EnglishTexts());
    for (const auto& [key, value] : plan) EXPECT_TRUE(SetFromScript(session, key, value).Ok()) << key;
    return image.Live();
}

// The image a data file holds, opened with `password` when it asks for one.
ImageBuffer Body(const std::string& path, const std::string& password = "") {
    struct Entry : Prompter {
        std::string password;
        Answer Ask(const Message&) override { return Answer::Cancel; }
        PasswordResult AskPassword(PasswordGate& gate) override {
            if (password.empty()) return PasswordResult::Cancelled;
            return gate.Submit(password) == PasswordGate::Verdict::Accepted ? PasswordResult::Accepted
                                                                           : PasswordResult::Refused;
        }
    } entry;
    entry.password = password;
    RadioImage image;
    ModelCatalogue catalogue(image);
    EXPECT_EQ(DataFile(image, catalogue).Read(path, entry, test::EnglishTexts()).code, 0) << path;
    return image.Transfer();
}

std::string Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
    return parts;
}

class FieldCommands : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/vrm-fields-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    std::string Made(const std::string& name, int model, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"new", "--model", std::to_string(model), "-o", Path(name)};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(Cli(args).status, 0);
        return Path(name);
    }
    static CliRun Set(const std::string& path, const Assignments& plan, std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"set"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back(path);
        for (const auto& [key, value] : plan) args.push_back(key + "=" + value);
        return Cli(args);
    }
    // `get` of every key; the lines it printed.
    static std::vector<std::string> Get(const std::string& path, const std::vector<std::string>& keys) {
        std::vector<std::string> args = {"get", path};
        args.insert(args.end(), keys.begin(), keys.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return Split(r.out, '\n');
    }
};

TEST_F(FieldCommands, SetBuildsAChannelPlanAsTheEditorDoes) {
    // Model 3 (typed frequencies): values typed, a list entry by its token and
    // by its text, a receive-only channel.
    const std::string lmr = Made("lmr.dat", 3);
    const Assignments lmrPlan = {{"channel.1.rx", "462.5625"}, {"channel.1.decode", "D023N"},
                                 {"channel.1.power", "Low"},   {"channel.2.rx", "467.9125"},
                                 {"channel.2.tx", "off"},      {"channel.3.rx", "451.1875"},
                                 {"channel.3.tx", "456.1875"}, {"channel.3.encode", "88.5"},
                                 {"channel.3.bcl", "carrier"}, {"channel.3.scan_add", "off"}};
    const CliRun r = Set(lmr, lmrPlan);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, F(tid::kCliWroteFile, {lmr}) + "\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Body(lmr), Edited(3, lmrPlan));
    RadioImage read;
    read.Live() = Body(lmr);
    EXPECT_EQ(read.Frequency(kChannelTable.offset), 0x46256250u);
    EXPECT_EQ(Get(lmr, {"channel.1.rx", "channel.1.encode", "channel.1.power", "channel.2.tx", "channel.3.tx",
                        "channel.3.bcl", "channel.3.scan_add", "channel.4.rx", "channel.4.power"}),
              (std::vector<std::string>{"462.56250", "D023N", T(tid::kPowerLow), "", "456.18750",
                                        T(tid::kBusyCarrier), "Off", "", ""}))
        << "an empty channel shows empty cells";

    // The Varitel model: preset frequencies, custom codes, repeater mode; a
    // preset channel deleted still shows its cells.
    const std::string varitel = Made("varitel.dat", 2);
    const Assignments listPlan = {{"channel.1.rx", "464.5"},       {"channel.1.decode", "CQT2"},
                                  {"channel.2.power", "low"},      {"channel.3.repeater", "on"},
                                  {"channel.3.tx", "461.0375"},    {"channel.4.rx", "off"}};
    const CliRun v = Set(varitel, listPlan);
    ASSERT_EQ(v.status, 0) << v.err;
    EXPECT_EQ(v.err, "channel.3.tx: " + T(tid::kMsgRepeaterPaired) + "\n" +
                         F(tid::kMsgStoredDifferently, {"channel.3.tx", "461.0375", "461.06250"}) + "\n")
        << "a warning and the value stored, not a refusal";
    EXPECT_EQ(Body(varitel), Edited(2, listPlan));
    const auto got = Get(varitel, {"channel.1.rx", "channel.1.decode", "channel.3.rx", "channel.3.tx",
                                   "channel.3.repeater", "channel.4.rx", "channel.4.power"});
    EXPECT_EQ(got, (std::vector<std::string>{"464.50000", "CQT2", "461.03750", "461.06250", "On", "", "High"}));

    // A frequency the preset list does not hold is refused.
    const std::string before = Load(varitel);
    const CliRun off = Set(varitel, {{"channel.1.rx", "462.5625"}});
    EXPECT_EQ(off.status, cli::kExitValueRefused);
    EXPECT_EQ(off.err, "channel.1.rx: " + F(tid::kMsgNotAPresetFrequency, {"462.5625"}) + "\n");
    EXPECT_EQ(Load(varitel), before);
}

TEST_F(FieldCommands, ARefusedAssignmentWritesNothing) {
    const std::string path = Made("plan.dat", 3);
    ASSERT_EQ(Set(path, {{"channel.1.rx", "462.5625"}}).status, 0);
    const std::string before = Load(path);
    const struct {
        std::vector<std::string> args;  // after "set FILE"
        int status;
        std::string err;
    } cases[] = {
        // An earlier assignment that was applied is not written either.
        {{"channel.1.rx=451.1875", "channel.17.rx=462.5625"}, 64, F(tid::kCliUnknownField, {"channel.17.rx"})},
        {{"channel.1.repeater=on"}, 64, F(tid::kCliFieldHidden, {"channel.1.repeater"})},
        {{"channel.1.rx=451.1875", "channel.5.tx=462.5625"}, cli::kExitValueRefused, F(tid::kCliFieldDisabled, {"channel.5.tx"})},
        {{"channel.1.power=medium"}, cli::kExitValueRefused, "channel.1.power: " + F(tid::kMsgUnknownChoice, {"medium", "high, low"})},
        // Values the editor's edits do not take.
        {{"channel.1.tx=46x"}, cli::kExitValueRefused, "channel.1.tx: " + F(tid::kMsgNotAFrequency, {"46x"})},
        {{"channel.1.decode=CQT2"}, cli::kExitValueRefused, "channel.1.decode: " + F(tid::kMsgNotACode, {"CQT2"})},
        {{"channel.1.decode=xyz"}, cli::kExitValueRefused, "channel.1.decode: " + F(tid::kMsgNotACode, {"xyz"})},
        {{"--strict", "channel.2.rx=500"}, cli::kExitValueRefused,
         "channel.2.rx: " + T(tid::kMsgRxOutOfBand) + "\n" +
             F(tid::kMsgStoredDifferently, {"channel.2.rx", "500", "480.00000"}) + "\n" +
             F(tid::kCliStrictRefused, {"channel.2.rx"})},
        // A value clamped or rounded without a message is said, and refused
        // under --strict; what is held as given passes.
        {{"--strict", "features.squelch=3", "features.squelch=120"}, cli::kExitValueRefused,
         F(tid::kMsgStoredDifferently, {"features.squelch", "120", "5"}) + "\n" +
             F(tid::kCliStrictRefused, {"features.squelch"})},
        {{"--strict", "channel.1.decode=6"}, cli::kExitValueRefused,
         F(tid::kMsgStoredDifferently, {"channel.1.decode", "6", "67.0"}) + "\n" +
             F(tid::kCliStrictRefused, {"channel.1.decode"})},
        {{"--strict", "channel.1.rx=462.56254"}, cli::kExitValueRefused,
         F(tid::kMsgStoredDifferently, {"channel.1.rx", "462.56254", "462.56000"}) + "\n" +
             F(tid::kCliStrictRefused, {"channel.1.rx"})},
        {{"channel.1.rx"}, 64, F(tid::kCliAssignmentForm, {"channel.1.rx"})},
        {{"=462.5625"}, 64, F(tid::kCliAssignmentForm, {"=462.5625"})},
        {{}, 64, T(tid::kCliNoAssignment)},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"set", path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun r = Cli(args);
        const std::string name = c.args.empty() ? "(none)" : c.args.back();
        EXPECT_EQ(r.status, c.status) << name;
        EXPECT_EQ(r.err, c.err + "\n") << name;
        EXPECT_EQ(r.out, "") << name;
        EXPECT_EQ(Load(path), before) << name;
    }
    EXPECT_EQ(Set(Path("missing.dat"), {{"channel.1.rx", "462.5625"}}).status, cli::kExitInputRefused);

    // Without --strict the clamped value is written and the warning shown.
    const CliRun clamped = Set(path, {{"channel.2.rx", "500"}});
    EXPECT_EQ(clamped.status, 0);
    EXPECT_EQ(clamped.err, "channel.2.rx: " + T(tid::kMsgRxOutOfBand) + "\n" +
                               F(tid::kMsgStoredDifferently, {"channel.2.rx", "500", "480.00000"}) + "\n");
    EXPECT_EQ(Get(path, {"channel.2.rx"}), std::vector<std::string>{"480.00000"});
}

TEST_F(FieldCommands, ProtectedFileKeepsItsPasswordAndOutputLeavesFileAlone) {
    const std::string path = Made("locked.dat", 3, {"--data-password", "4711"});
    EXPECT_EQ(Set(path, {{"channel.1.rx", "462.5625"}}).status, cli::kExitInputRefused) << "no password, no edit";
    const CliRun r = Set(path, {{"channel.1.rx", "462.5625"}}, {"--password", "4711"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Cli({"check", path}).status, cli::kExitInputRefused) << "still protected";
    EXPECT_EQ(Body(path, "4711"), Edited(3, {{"channel.1.rx", "462.5625"}}));

    const std::string before = Load(path);
    const std::string out = Path("copy.dat");
    const Assignments more = {{"channel.2.rx", "467.9125"}};
    ASSERT_EQ(Set(path, more, {"--password=4711", "-o", out}).status, 0);
    EXPECT_EQ(Load(path), before);
    EXPECT_EQ(Body(out, "4711"), Edited(3, {{"channel.1.rx", "462.5625"}, {"channel.2.rx", "467.9125"}}));

    // An existing OUT is replaced only when allowed.
    const std::string copy = Load(out);
    const CliRun asked = Set(path, {{"channel.3.rx", "451.1875"}}, {"--password", "4711", "-o", out});
    EXPECT_EQ(asked.status, cli::kExitNotWritten);
    EXPECT_NE(asked.err.find(F(tid::kCliNotWritten, {out})), std::string::npos) << asked.err;
    EXPECT_EQ(Load(out), copy);
    EXPECT_EQ(Set(path, {{"channel.3.rx", "451.1875"}}, {"--password", "4711", "--yes", "-o", out}).status, 0);
    EXPECT_NE(Load(out), copy);
}

TEST_F(FieldCommands, FieldsListsKeysWithTheirStateAndGetRefusesUnknownKeys) {
    const std::string path = Made("f.dat", 3);
    ASSERT_EQ(Set(path, {{"channel.1.rx", "462.5625"}}).status, 0);
    const CliRun r = Cli({"fields", path});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Split(r.out, '\n')) rows.push_back(Split(line, '\t'));
    // 16 channels of 10 fields; the other editors: 24 features, 4 key cells,
    // 3 scan items, 8 test pairs, 2 message lines, 12 custom codes, 2 advanced
    // items and 3 band point pairs.
    ASSERT_EQ(rows.size(), 229u);
    auto state = [&](const std::string& key) {
        for (const auto& row : rows)
            if (row.size() == 5 && row[0] == key) return row[3] + " " + row[4];
        return "<no row " + key + ">";
    };
    EXPECT_EQ(state("channel.1.tx"), "shown enabled");
    EXPECT_EQ(state("channel.2.tx"), "shown disabled");  // channel 2 is empty
    EXPECT_EQ(state("channel.1.repeater"), "hidden disabled");
    EXPECT_EQ(rows[4][1], "list");
    EXPECT_EQ(rows[4][2], "high, low");

    const CliRun varitel = Cli({"fields", "--model", "2"});
    ASSERT_EQ(varitel.status, 0);
    EXPECT_NE(varitel.out.find("channel.1.repeater\tcheck\ton, off\tshown\tenabled\n"), std::string::npos);
    const CliRun plain = Cli({"fields"});
    EXPECT_EQ(Split(plain.out, '\n').size(), 229u);
    EXPECT_EQ(Split(Split(plain.out, '\n').front(), '\t').size(), 3u) << "without a file: no state columns";

    EXPECT_EQ(Cli({"fields", "--model", "2", path}).err, T(tid::kCliModelOrFile) + "\n");
    EXPECT_EQ(Cli({"fields", "--model", "5"}).status, 64);
    EXPECT_EQ(Cli({"fields", Path("missing.dat")}).status, cli::kExitInputRefused);

    // get answers all keys or none.
    const CliRun unknown = Cli({"get", path, "channel.1.rx", "channel.17.rx"});
    EXPECT_EQ(unknown.status, 64);
    EXPECT_EQ(unknown.out, "");
    EXPECT_EQ(unknown.err, F(tid::kCliUnknownField, {"channel.17.rx"}) + "\n");
    EXPECT_EQ(Cli({"get", path, "channel.1.repeater"}).status, 64);
    EXPECT_EQ(Cli({"get", path}).err, T(tid::kCliNoKey) + "\n");
}

}  // namespace
}  // namespace vrm
