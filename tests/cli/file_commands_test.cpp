// vrm650t-cli new, show, dump and check, run as a user runs them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli_process.h"
#include "core/base/language_table.h"
#include "core/base/prompter.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"
#include "core/fields/channel_fields.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "core/model/radio_image.h"
#include "model/shipped_language.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using test::Argv;
using test::Cli;
using test::CliRun;
using test::kCli;

// Runs the CLI on a pseudo-terminal. Each time the terminal has shown `cue`
// once more, the next of `lines` is typed. Returns everything it showed.
CliRun CliOnTerminal(std::vector<std::string> args, const std::string& cue, const std::vector<std::string>& lines) {
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        auto argv = Argv(args);
        ::execv(kCli.c_str(), argv.data());
        ::_exit(127);
    }
    CliRun r;
    std::size_t typed = 0;
    int quiet = 0;
    while (quiet < 100) {  // 10 s without a sign of life ends the test run
        std::size_t cues = 0;
        for (std::size_t at = r.out.find(cue); at != std::string::npos; at = r.out.find(cue, at + 1)) ++cues;
        if (typed < lines.size() && cues > typed) {
            ::usleep(50000);  // let the program turn echo off after its prompt
            const std::string line = lines[typed++] + "\n";
            EXPECT_EQ(::write(master, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        }
        struct pollfd p {master, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char buf[1024];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0) break;  // the program has ended and closed the terminal
            r.out.append(buf, static_cast<std::size_t>(n));
            quiet = 0;
        } else {
            ++quiet;
        }
    }
    if (quiet >= 100) ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    ::close(master);
    return r;
}

std::string T(std::uint32_t id) {
    const std::string text = test::EnglishTexts().TextString(id);
    EXPECT_FALSE(text.empty()) << "text " << id << " is missing from the English language file";
    return text;
}

std::string F(std::uint32_t id, std::initializer_list<FormatArg> args) { return FormatText(T(id), args); }

// The value of the listing line whose label is `label` ("" when none).
std::string ValueOf(const std::string& listing, const std::string& label) {
    std::istringstream in(listing);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line.compare(start, label.size(), label) != 0) continue;
        const std::size_t value = line.find_first_not_of(' ', start + label.size());
        if (value == start + label.size()) continue;  // a longer label
        return value == std::string::npos ? std::string() : line.substr(value);
    }
    return "<no line " + label + ">";
}

int Lines(const std::string& s) { return static_cast<int>(std::count(s.begin(), s.end(), '\n')); }

class FileCommands : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/vrm-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    static Bytes Load(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static void Store(const std::string& path, const Bytes& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // A data file of model 1 made by `new`.
    std::string Made(const std::string& name, std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"new", "--model", "1", "-o", Path(name)};
        args.insert(args.end(), extra.begin(), extra.end());
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return Path(name);
    }
};

TEST_F(FileCommands, NewWritesTheNewDefaultsOfEachModel) {
    const std::pair<int, std::uint16_t> models[] = {{1, 0x0100}, {2, 0x0100}, {3, 0x0105}, {4, 0x0106}};
    for (const auto& [model, band] : models) {
        const std::string path = Path("m" + std::to_string(model) + ".dat");
        const CliRun r = Cli({"new", "--model", std::to_string(model), "-o", path});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, F(19101007, {path}) + "\n");
        EXPECT_EQ(r.err, "");

        RadioImage expected;
        expected.SetPresetChannelWriter(WritePresetChannels);
        ModelCatalogue catalogue(expected);
        catalogue.SetModel(model);
        catalogue.SetBandWord(band);
        expected.InitialiseDefaults(catalogue, false);
        RadioImage read;
        ModelCatalogue readCatalogue(read);
        struct NoPrompt : Prompter {
            Answer Ask(const Message&) override { return Answer::Cancel; }
            PasswordResult AskPassword(PasswordGate&) override { return PasswordResult::Cancelled; }
        } none;
        ASSERT_EQ(DataFile(read, readCatalogue).Read(path, none, test::EnglishTexts()).code, 0);
        EXPECT_EQ(read.Transfer(), expected.Live()) << "model " << model;
        // The Varitel model starts with its preset channels in use.
        read.AdoptTransferImage();
        EXPECT_EQ(read.ChannelInUse(0), model == 2) << "model " << model;

        const CliRun check = Cli({"check", path});
        EXPECT_EQ(check.status, 0) << check.err;
        EXPECT_EQ(check.out, F(19101008, {path}) + "\n");
    }
    // A band given for the model that has two is taken.
    const CliRun low = Cli({"new", "--model=1", "--band=0x0100", "-o", Path("b.dat")});
    EXPECT_EQ(low.status, 0) << low.err;
}

TEST_F(FileCommands, NewRefusesBadValuesWithUsageStatus) {
    const std::string out = Path("x.dat");
    const struct {
        std::vector<std::string> args;
        std::uint32_t message;
    } cases[] = {
        {{"new", "-o", out}, 19101001},
        {{"new", "--model", "0", "-o", out}, 19101001},
        {{"new", "--model", "5", "-o", out}, 19101001},
        {{"new", "--model", "2x", "-o", out}, 19101001},
        {{"new", "--model", "1"}, 19101003},
        {{"new", "--model", "1", "--data-password", "12a", "-o", out}, 19101004},
        {{"new", "--model", "1", "--data-password", "1234567", "-o", out}, 19101004},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.status, 64) << c.args.size();
        EXPECT_EQ(r.err, T(c.message) + "\n");
        EXPECT_FALSE(fs::exists(out));
    }
    const CliRun band = Cli({"new", "--model", "3", "--band", "0x0100", "-o", out});
    EXPECT_EQ(band.status, 64);
    EXPECT_EQ(band.err, F(19101002, {"0x0100", 3, "0x0105 (440-480 MHz)"}) + "\n");
    const CliRun unknown = Cli({"new", "--model", "1", "--frob", "-o", out});
    EXPECT_EQ(unknown.status, 64);
    EXPECT_NE(unknown.err.find("--frob"), std::string::npos) << unknown.err;
    EXPECT_EQ(Cli({"new", "--model", "1", "-o", out, "extra"}).status, 64);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(FileCommands, NewAsksBeforeReplacingAFile) {
    const std::string path = Made("keep.dat");
    const Bytes before = Load(path);
    const CliRun refused = Cli({"new", "--model", "3", "-o", path});
    EXPECT_EQ(refused.status, cli::kExitNotWritten);
    EXPECT_NE(refused.err.find(T(10007011)), std::string::npos);
    EXPECT_NE(refused.err.find(F(19101016, {path})), std::string::npos);
    EXPECT_EQ(Load(path), before);

    const CliRun yes = Cli({"new", "--model", "3", "--yes", "-o", path});
    EXPECT_EQ(yes.status, 0) << yes.err;
    EXPECT_EQ(yes.err, "");
    EXPECT_EQ(Load(path)[24], 0xFB);  // model 3's identity byte 8
}

TEST_F(FileCommands, ProtectedFileNeedsItsPassword) {
    const std::string path = Made("locked.dat", {"--data-password", "4711"});
    const CliRun none = Cli({"check", path});
    EXPECT_EQ(none.status, cli::kExitInputRefused);
    EXPECT_EQ(none.err, F(19101009, {path}) + "\n");

    const CliRun wrong = Cli({"check", "--password", "1234", path});
    EXPECT_EQ(wrong.status, cli::kExitInputRefused);
    EXPECT_EQ(wrong.err, F(19101013, {path}) + "\n");

    const CliRun right = Cli({"check", "--password", "4711", path});
    EXPECT_EQ(right.status, 0) << right.err;

    const CliRun show = Cli({"show", "--password=4711", path});
    EXPECT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(ValueOf(show.out, T(19101021)), T(10300006)) << show.out;
}

TEST_F(FileCommands, CheckGivesTheReadResultAndOneLineReason) {
    const std::string good = Made("good.dat");
    const Bytes bytes = Load(good);

    auto variant = [&](const std::string& name, Bytes b) {
        Store(Path(name), b);
        return Path(name);
    };
    Bytes other = bytes;
    std::memcpy(other.data(), "VRM600T", 7);
    Bytes kind = bytes;
    kind[32] = 'T';
    Bytes model0 = bytes;
    model0[24] = 0xFF, model0[26] = 1, model0[27] = 0;
    Bytes longer = bytes;
    longer.push_back(0);
    const Bytes text(1089, 'x');

    // Every refusal exits 2; --json names the data file's own read result.
    const struct {
        std::string path;
        int result;
        std::string reason;
    } cases[] = {
        {Path("missing.dat"), 1, F(19101015, {Path("missing.dat"), std::strerror(ENOENT)})},
        {variant("short.dat", Bytes(bytes.begin(), bytes.begin() + 700)), 1, F(19101011, {Path("short.dat"), 700})},
        {variant("long.dat", longer), 1, F(19101012, {Path("long.dat")})},
        {variant("other.dat", other), 2, F(10007025, {Path("other.dat"), "VRM600T"})},
        {variant("text.dat", text), 2, F(10007026, {Path("text.dat")})},
        {variant("empty.dat", {}), 2, F(10007026, {Path("empty.dat")})},
        {variant("kind.dat", kind), 6, Path("kind.dat") + ": " + T(10007014)},
        {variant("model0.dat", model0), 5, Path("model0.dat") + ": " + T(10007014)},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli({"check", c.path});
        EXPECT_EQ(r.status, cli::kExitInputRefused) << c.path;
        EXPECT_EQ(r.err, c.reason + "\n") << c.path;
        EXPECT_EQ(Lines(r.err), 1);
        EXPECT_EQ(r.out, "");
        const CliRun j = Cli({"check", "--json", c.path});
        EXPECT_EQ(j.status, cli::kExitInputRefused);
        const auto doc = nlohmann::json::parse(j.out);
        EXPECT_EQ(doc["valid"], false);
        EXPECT_EQ(doc["result"], c.result) << c.path;
        EXPECT_EQ(doc["reason"], c.reason);
        // show and dump refuse the same files the same way.
        EXPECT_EQ(Cli({"show", c.path}).status, cli::kExitInputRefused);
        EXPECT_EQ(Cli({"dump", c.path}).status, cli::kExitInputRefused);
    }
    EXPECT_EQ(Cli({"check"}).status, 64);
    EXPECT_EQ(Cli({"check", good, good}).status, 64);
}

TEST_F(FileCommands, ShowListsTheSettings) {
    const std::string path = Path("varitel.dat");
    // Put a channel and a message line with a control byte into the file.
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(2);
    catalogue.SetBandWord(0x0100);
    image.InitialiseDefaults(catalogue, false);
    image.SetFrequency(0x070, 0x46455000);
    image.SetFrequency(0x074, 0x46455000);
    image.SetWord(0x078, 670);
    image.SetWord(0x07A, 0x2813);
    image.SetByte(0x07C, 1);
    image.SetByte(0x07D, 0x3C);  // power high, scan add, wide/narrow bits 3
    image.SetByte(0x07E, 0xA0);  // steps 6.25 kHz
    image.SetByte(0x07F, 0x91);  // decode from CQT1, encode from CDT1
    image.SetByte(0x06F, 0xFE);
    const char line[] = "SHOP\x1b[2J";
    std::memcpy(image.Live().data() + 0x3B0, line, sizeof line - 1);
    VirtualClock clock;
    ASSERT_EQ(DataFile(image, catalogue).Write(path, {}, clock).code, 0);

    const CliRun r = Cli({"show", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string& o = r.out;
    for (std::uint32_t heading : {10305000u, 10306000u, 10307000u, 10308000u, 10301000u, 10313109u,
                                  10319000u, 10313000u, 10403002u})
        EXPECT_NE(o.find("\n" + T(heading) + "\n"), std::string::npos) << heading;
    EXPECT_EQ(o.find(T(19101020) + "\n"), 0u);
    EXPECT_NE(o.find("HRV-41 Varitel : K UHF : 440-480 MHz"), std::string::npos);
    EXPECT_NE(o.find(F(19101026, {"464.55000", "6.25"})), std::string::npos);
    EXPECT_EQ(ValueOf(o, T(10305504)), "CQT1");               // decode from custom QT entry 1
    EXPECT_EQ(ValueOf(o, T(10305505)), "CDT1");
    EXPECT_EQ(ValueOf(o, T(10305501) + " 2"), T(19101025));  // not in use
    EXPECT_EQ(ValueOf(o, T(10305510)), T(10305614));         // busy lockout: carrier
    EXPECT_EQ(ValueOf(o, T(10305506)), T(10305601));         // transmit power high
    EXPECT_EQ(ValueOf(o, T(10305515)), T(10300006));         // scan add on
    EXPECT_EQ(ValueOf(o, T(10305019)), T(10300007));         // repeater mode: a Varitel item
    EXPECT_EQ(ValueOf(o, T(10305507)), "3");                 // raw wide/narrow bits, listed as stored
    EXPECT_EQ(ValueOf(o, T(10306101)), "60");                // time-out timer 4 x 15 s
    EXPECT_NE(o.find(F(19101026, {"460.05000", "6.25"})), std::string::npos);  // test pair 1
    EXPECT_NE(o.find(F(19101026, {"479.90000", "6.25"})), std::string::npos);
    EXPECT_NE(o.find("\"SHOP\\x1B[2J\""), std::string::npos);
    EXPECT_EQ(o.find('\x1b'), std::string::npos);  // nothing in a file drives the terminal
    EXPECT_EQ(r.err, "");
}

TEST_F(FileCommands, ShowAndGetDecodeMessagesAndMarkValuesNoEntryHolds) {
    const std::string path = Path("damaged.dat");
    RadioImage image;
    ModelCatalogue catalogue(image);
    catalogue.SetModel(2);
    catalogue.SetBandWord(0x0100);
    image.InitialiseDefaults(catalogue, false);
    const char line1[] = "S\xFC" "d";          // ISO 8859-1: one byte a character
    const char line2[] = "A\x9B" "2J\\\"";   // a C1 control (CSI), a backslash, a quote
    std::memcpy(image.Live().data() + kEmbeddedMessageArea.offset, line1, sizeof line1 - 1);
    std::memcpy(image.Live().data() + kEmbeddedMessageArea.offset + kMessageLineSize, line2, sizeof line2 - 1);
    image.SetByte(kFeatureArea.offset + 6, 7);  // microphone sensitivity: no entry
    image.SetByte(kFeatureArea.offset, 0);      // time-out timer below its range
    image.SetByte(kKeyArea.offset, 0x0C);       // key 1 short press: no function
    VirtualClock clock;
    ASSERT_EQ(DataFile(image, catalogue).Write(path, {}, clock).code, 0);

    const CliRun show = Cli({"show", path});
    ASSERT_EQ(show.status, 0) << show.err;
    const std::string& o = show.out;
    EXPECT_EQ(ValueOf(o, T(tid::kMessageLine1)), "\"Süd\"");
    EXPECT_EQ(ValueOf(o, T(tid::kMessageLine2)), "\"A\\x9B2J\\x5C\\x22\"");
    EXPECT_EQ(o.find("\xC2\x9B"), std::string::npos);  // the C1 control never reaches the terminal
    EXPECT_EQ(ValueOf(o, T(tid::kFeatureMicSense)), F(tid::kShowUnknownValue, {"0x07"}));
    EXPECT_EQ(ValueOf(o, T(tid::kFeatureTot)), F(tid::kShowUnknownValue, {"0x00"}));
    EXPECT_EQ(ValueOf(o, T(tid::kKey1) + "  " + T(tid::kKeyShortPress)), F(tid::kShowUnknownValue, {"0x0C"}));

    const CliRun get = Cli({"get", path, "message.line1", "message.line2", "features.mic_sense"});
    ASSERT_EQ(get.status, 0) << get.err;
    EXPECT_EQ(get.out, "Süd\nA\\x9B2J\\\"\n\n");  // as the editors show them

    // The QT/DQT customization belongs to the preset-list models only.
    EXPECT_NE(o.find("\n" + T(tid::kEditorQtDqtCustomization) + "\n"), std::string::npos);
    const CliRun typed = Cli({"show", Made("typed.dat")});
    EXPECT_EQ(typed.out.find("\n" + T(tid::kEditorQtDqtCustomization) + "\n"), std::string::npos);
    EXPECT_NE(typed.out.find("\n" + T(tid::kEditorAdvancedSettings) + "\n"), std::string::npos);
}

TEST_F(FileCommands, DumpIsTheDescrambledImage) {
    const std::string path = Made("d.dat");
    const CliRun r = Cli({"dump", path});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string line;
    std::vector<std::string> rows;
    while (std::getline(lines, line)) rows.push_back(line);
    ASSERT_EQ(rows.size(), 65u);
    EXPECT_EQ(rows[1], "000:  50 48 52 56 2D 34 31 FF FF FF 00 01 FF FF FF FF");
    EXPECT_EQ(rows[34].substr(0, 17), "210:  00 50 00 46");  // test pair 1: 460.05
    EXPECT_EQ(rows[64].substr(0, 5), "3F0: ");
    const CliRun chars = Cli({"dump", "--chars", path});
    EXPECT_NE(chars.out.find("|PHRV-41.........|"), std::string::npos);
}

TEST_F(FileCommands, TerminalAsksForThePasswordWithoutEcho) {
    const std::string path = Made("tty.dat", {"--data-password", "2468"});
    const CliRun r = CliOnTerminal({"check", path}, T(19101017), {"1357", "2468"});
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find(T(19101017)), std::string::npos);
    EXPECT_NE(r.out.find(T(10007027)), std::string::npos);
    EXPECT_EQ(r.out.find("1357"), std::string::npos) << "the password was echoed";
    EXPECT_EQ(r.out.find("2468"), std::string::npos) << "the password was echoed";

    const CliRun three = CliOnTerminal({"check", path}, T(19101017), {"1", "2", "3"});
    EXPECT_EQ(three.status, cli::kExitInputRefused);
    EXPECT_NE(three.out.find(F(19101013, {path})), std::string::npos) << three.out;
}

TEST_F(FileCommands, TerminalAnswersTheOverwriteQuestion) {
    const std::string path = Made("ask.dat");
    const Bytes before = Load(path);
    const CliRun cancel = CliOnTerminal({"new", "--model", "4", "-o", path}, "] ", {"c"});
    EXPECT_EQ(cancel.status, cli::kExitNotWritten) << cancel.out;
    EXPECT_EQ(Load(path), before);
    const CliRun enter = CliOnTerminal({"new", "--model", "4", "-o", path}, "] ", {""});  // Cancel is the default
    EXPECT_EQ(enter.status, cli::kExitNotWritten) << enter.out;
    const CliRun ok = CliOnTerminal({"new", "--model", "4", "-o", path}, "] ", {"ok"});
    EXPECT_EQ(ok.status, 0) << ok.out;
    EXPECT_EQ(Load(path)[26], 6);  // model 4's market code
    // The question lists what it takes; the shell's yes and no count too.
    EXPECT_NE(ok.out.find("[OK (o, yes, y) / Cancel (c, no, n)] "), std::string::npos) << ok.out;
    for (const char* no : {"no", "N"})
        EXPECT_EQ(CliOnTerminal({"new", "--model", "3", "-o", path}, "] ", {no}).status, cli::kExitNotWritten) << no;
    EXPECT_EQ(Load(path)[26], 6);
    EXPECT_EQ(CliOnTerminal({"new", "--model", "3", "-o", path}, "] ", {"y"}).status, 0);
    EXPECT_NE(Load(path)[26], 6);
}

// A file read back from a radio may hold a blank microphone sense: every
// command that reads a data file sees it as Open does, after the load
// fix-up (1, or 2 for destination class 5), and the export keeps the field.
TEST_F(FileCommands, CommandsSeeTheDataAsOpenShowsIt) {
    for (const int model : {1, 4}) {
        const std::string path = Path("blank-mic-" + std::to_string(model) + ".dat");
        RadioImage image;
        ModelCatalogue catalogue(image);
        catalogue.SetModel(model);
        catalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
        image.InitialiseDefaults(catalogue, false);
        image.SetByte(0x016, 0xFF);
        VirtualClock clock;
        ASSERT_EQ(DataFile(image, catalogue).Write(path, {}, clock).code, 0);
        const bool high = catalogue.DestinationClass() == 5;
        const std::string shown = T(high ? tid::kPowerHigh : tid::kFeatureMicNormal);

        const CliRun get = Cli({"get", path, "features.mic_sense"});
        EXPECT_EQ(get.out, shown + "\n") << get.err;
        EXPECT_EQ(ValueOf(Cli({"show", path}).out, T(tid::kFeatureMicSense)), shown);
        const CliRun text = Cli({"export", path});
        EXPECT_NE(text.out.find(high ? "mic_sense: high" : "mic_sense: normal"), std::string::npos) << text.out;
        EXPECT_NE(Cli({"dump", path}).out.find(high ? "010:  04 00 00 00 00 07 02" : "010:  04 00 00 00 00 07 01"),
                  std::string::npos);
    }
}

}  // namespace
}  // namespace vrm
