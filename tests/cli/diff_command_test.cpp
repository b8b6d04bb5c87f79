// vrm650t-cli diff: two data files compared item by item, run as a user runs it.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_process.h"
#include "core/files/data_file.h"
#include "core/base/clock.h"
#include "core/model/model_catalogue.h"
#include "model/shipped_language.h"
#include "core/base/text_format.h"
#include "core/base/text_ids.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;
using test::Cli;
using test::CliRun;

std::string T(tid::TextId id) { return test::EnglishTexts().TextString(id); }

class DiffCommand : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        char tmpl[] = "/tmp/vrm-diff-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // The New defaults of `model`, with `edit` applied to the image, as a data file.
    template <typename Edit>
    std::string Made(const std::string& name, int model, Edit edit, const DataFileSecurity& security = {}) {
        RadioImage image;
        ModelCatalogue catalogue(image);
        catalogue.SetModel(model);
        catalogue.SetBandWord(static_cast<std::uint16_t>(ModelCatalogue::BandList(model, ".").front().data));
        image.InitialiseDefaults(catalogue, false);
        edit(image);
        VirtualClock clock;
        EXPECT_EQ(DataFile(image, catalogue).Write(Path(name), security, clock).code, 0);
        return Path(name);
    }
    std::string Made(const std::string& name, int model) {
        return Made(name, model, [](RadioImage&) {});
    }
};

TEST_F(DiffCommand, NamesTheItemsThatDifferWithBothTextsAndTheBytesUnderRaw) {
    const std::string a = Made("a.dat", 3);
    const std::string b = Made("b.dat", 3, [](RadioImage& image) {
        image.SetByte(kChannelInUseLow, 0xFE);  // channel 1 in use, receiving 451.2000 MHz
        image.SetFrequency(0x070, 0x45120000);
        image.SetByte(0x2D0, 0x5A);             // a byte no item shows
    });

    const CliRun same = Cli({"diff", a, a});
    EXPECT_EQ(same.status, 0) << same.err;
    EXPECT_EQ(same.out, T(tid::kCliCompareIdentical) + "\n");

    const CliRun r = Cli({"diff", a, b});
    ASSERT_EQ(r.status, 1) << r.err;
    // KEY, where, label, the first file's text, the second's
    const std::string rx = "channel.1.rx\t" + T(tid::kEditorChannelInformation) + " 1\t" + T(tid::kChannelRxLabel) + "\t";
    const std::size_t at = r.out.find(rx);
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\t451.20000\n", at), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("0x2D0"), std::string::npos) << "bytes only under --raw";

    const CliRun raw = Cli({"diff", "--raw", a, b});
    ASSERT_EQ(raw.status, 1) << raw.err;
        EXPECT_NE(raw.out.find("0x2D0\t0xFF\t0x5A\n"), std::string::npos) << raw.out;
    EXPECT_NE(raw.out.find("0x070\t"), std::string::npos) << "the bytes of a differing item too";

    // Only a byte no item shows, and the bytes of a channel not in use (its
    // cells are empty in the editor): still "different", and the text says
    // how many bytes.
    const std::string c = Made("c.dat", 3, [](RadioImage& image) {
        image.SetByte(0x2D0, 0x5A);
        image.SetFrequency(0x080, 0x45120000);  // channel 2, not in use
    });
    const CliRun hidden = Cli({"diff", a, c});
    EXPECT_EQ(hidden.status, 1);
    EXPECT_EQ(hidden.out, FormatText(T(tid::kDiffOtherBytes), {5LL}) + "\n");
}

TEST_F(DiffCommand, ExitStatusNamesTheFileThatCannotBeRead) {
    const std::string good = Made("good.dat", 3);
    const std::string missing = Path("missing.dat");
    std::ofstream(Path("short.dat")) << "not a data file";
    const std::string damaged = Path("short.dat");

    const CliRun first = Cli({"diff", missing, good});
    EXPECT_EQ(first.status, 2);
    EXPECT_NE(first.err.find(missing), std::string::npos) << first.err;
    EXPECT_EQ(first.out, "");
    const CliRun second = Cli({"diff", good, damaged});
    EXPECT_EQ(second.status, 2);
    EXPECT_NE(second.err.find(damaged), std::string::npos) << second.err;
    EXPECT_EQ(second.err.find(good), std::string::npos) << second.err;

    EXPECT_EQ(Cli({"diff", good}).status, 64);
    EXPECT_EQ(Cli({"diff", good, good, good}).status, 64);
    EXPECT_EQ(Cli({"diff", "--colour", good, good}).status, 64);
    EXPECT_EQ(Cli({"diff", "--password", "1", "--password", "2", "--password", "3", good, good}).status, 64);

    // A protected file opens with its password; the second --password is the second file's.
    const std::string locked = Made("locked.dat", 3, [](RadioImage&) {}, {"4711", true});
    EXPECT_EQ(Cli({"diff", good, locked}).status, 2) << "no terminal to ask on";
    EXPECT_EQ(Cli({"diff", "--password", "4711", good, locked}).status, 0);
    EXPECT_EQ(Cli({"diff", "--password", "0", "--password", "4711", good, locked}).status, 0);
    const CliRun wrong = Cli({"diff", "--password", "4711", "--password", "1234", locked, locked});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find(locked), std::string::npos);
}

TEST_F(DiffCommand, JsonHoldsTheSameContentAndSaysWhenTheModelsDiffer) {
    const std::string a = Made("a.dat", 3, [](RadioImage& image) {
        image.SetByte(kChannelInUseLow, 0xFE);
        image.SetFrequency(0x070, 0x46256250);
    });
    const std::string b = Made("b.dat", 1);

    const CliRun text = Cli({"diff", a, b});
    ASSERT_EQ(text.status, 1) << text.err;
    const CliRun r = Cli({"diff", "--json", "--raw", a, b});
    ASSERT_EQ(r.status, 1) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    EXPECT_FALSE(doc["identical"].get<bool>());
    EXPECT_FALSE(doc["sameModel"].get<bool>());
    EXPECT_EQ(doc["first"]["file"], a);
    const std::string firstModel = doc["first"]["model"];
    const std::string secondModel = doc["second"]["model"];
    EXPECT_EQ(text.out.find(FormatText(T(tid::kDiffModels), {firstModel, secondModel})), 0u) << text.out;

    // Every difference of the text listing, with the same texts.
    std::size_t lines = 0;
    bool rx = false;
    for (const auto& d : doc["differences"]) {
        const std::string key = d["key"], textA = d["a"], textB = d["b"], label = d["label"];
        EXPECT_NE(text.out.find(key + "\t"), std::string::npos) << key;
        EXPECT_NE(text.out.find("\t" + label + "\t" + textA + "\t" + textB + "\n"), std::string::npos) << key;
        EXPECT_EQ(d["section"].get<std::string>().empty(), false) << key;
        if (key == "channel.1.rx") rx = textA == "462.56250";
        ++lines;
    }
    EXPECT_TRUE(rx);
    EXPECT_GT(lines, 1u);
    ASSERT_FALSE(doc["raw"].empty());
    for (const auto& byte : doc["raw"]) EXPECT_NE(byte["a"], byte["b"]);
    EXPECT_LT(doc["raw"][0]["address"].get<unsigned>(), kIdentitySize) << "the identities differ";

    const nlohmann::json same = nlohmann::json::parse(Cli({"diff", "--json", a, a}).out);
    EXPECT_TRUE(same["identical"].get<bool>());
    EXPECT_TRUE(same["differences"].empty());
    EXPECT_FALSE(same.contains("raw"));
}

}  // namespace
}  // namespace vrm
