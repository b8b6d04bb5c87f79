// The simulated radio on its own: how it takes a byte stream, what it
// refuses, and what it keeps.
#include <gtest/gtest.h>

#include "core/link/protocol_bytes.h"
#include "sim/sim_faults.h"
#include "sim/simulated_radio.h"

namespace vrm {
namespace {

using namespace proto;

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// Feeds bytes and returns every reply packet, unscrambled with `key`.
std::vector<std::vector<std::uint8_t>> Feed(SimulatedRadio& radio, const std::vector<std::uint8_t>& bytes,
                                            std::uint8_t key = 0) {
    std::vector<std::uint8_t> wire = bytes;
    for (auto& b : wire) b = static_cast<std::uint8_t>(b ^ key);
    std::vector<std::vector<std::uint8_t>> out;
    for (auto& r : radio.Receive(wire.data(), wire.size())) {
        for (auto& b : r.bytes) b = static_cast<std::uint8_t>(b ^ key);
        out.push_back(r.bytes);
    }
    return out;
}

TEST(SimulatedRadio, IgnoresNoiseBeforeTheModeEntryAndTakesItByteByByte) {
    SimulatedRadio radio;
    radio.StartSession();
    EXPECT_TRUE(Feed(radio, {0x00, 0xFF, 'P', 'X'}).empty());
    std::vector<std::vector<std::uint8_t>> replies;
    for (char c : std::string("PROGRAM")) {
        auto r = Feed(radio, {static_cast<std::uint8_t>(c)});
        replies.insert(replies.end(), r.begin(), r.end());
    }
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], std::vector<std::uint8_t>{kAck});
    EXPECT_EQ(radio.CurrentMode(), SimulatedRadio::Mode::kProgram);
}

TEST(SimulatedRadio, DerivesTheLinkKeyFromTheExchangeByteAndItsKeyMaterial) {
    SimulatedRadio radio;
    radio.StartSession();
    Feed(radio, Bytes("PROGRAM"));
    auto ident = Feed(radio, {kIdentify});
    ASSERT_EQ(ident.size(), 1u);
    ASSERT_EQ(ident[0].size(), 48u);
    unsigned s = 0;
    for (std::size_t i = 32; i < 44; ++i) s += ident[0][i];
    EXPECT_EQ(Feed(radio, {0x3C, kAck}), std::vector<std::vector<std::uint8_t>>{{kAck}});
    const auto key = static_cast<std::uint8_t>(0x3C ^ (s & 0xFF));
    EXPECT_EQ(radio.LinkKey(), key);

    // From now on it reads and answers scrambled.
    auto reply = Feed(radio, {kReadBlock, 0x00, 0x00, 0x10}, key);
    ASSERT_EQ(reply.size(), 1u);
    ASSERT_EQ(reply[0].size(), 17u);
    EXPECT_TRUE(std::equal(reply[0].begin() + 1, reply[0].end(), radio.Memory().begin()));
    EXPECT_EQ(Feed(radio, {kAck}, key), std::vector<std::vector<std::uint8_t>>{{kAck}});

    // Exit answers with the key, then the radio is plain again.
    EXPECT_EQ(Feed(radio, {kExit}, key), std::vector<std::vector<std::uint8_t>>{{kAck}});
    EXPECT_EQ(radio.LinkKey(), 0);
    EXPECT_EQ(radio.CurrentMode(), SimulatedRadio::Mode::kNormal);
}

TEST(SimulatedRadio, ACommandSplitOverSeveralSendsIsOneCommand) {
    SimulatedRadio radio;
    radio.StartSession();
    Feed(radio, Bytes("PROGRAM"));
    EXPECT_TRUE(Feed(radio, {kWriteBlock, 0x01}).empty());
    EXPECT_TRUE(Feed(radio, {0x00, 0x04}).empty());
    EXPECT_TRUE(Feed(radio, {1, 2, 3}).empty());
    EXPECT_EQ(Feed(radio, {4}), std::vector<std::vector<std::uint8_t>>{{kAck}});
    EXPECT_EQ(radio.Memory()[0x103], 4);
    EXPECT_EQ(radio.Log().back(), "write 0x100 4");
}

TEST(SimulatedRadio, AnswersUnknownAndMalformedCommandsWithNak) {
    SimulatedRadio radio;
    radio.StartSession();
    Feed(radio, Bytes("TUNING "));
    EXPECT_EQ(Feed(radio, {0x99}), std::vector<std::vector<std::uint8_t>>{{kNak}});
    EXPECT_EQ(Feed(radio, {kTransmit, 0x42}), std::vector<std::vector<std::uint8_t>>{{kNak}});
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_EQ(Feed(radio, {'U', 0x00, 0x00}), (std::vector<std::vector<std::uint8_t>>{{kNak}, {kNak}, {kNak}}));
    EXPECT_EQ(Feed(radio, {'+', 'T', 'D', 'C'}), std::vector<std::vector<std::uint8_t>>{{kNak}});
    // Still in step: a good command works.
    EXPECT_EQ(Feed(radio, {kTransmit, kOn}), std::vector<std::vector<std::uint8_t>>{{kAck}});
    EXPECT_TRUE(radio.Transmitting());
}

// A command a fault refuses takes its whole length (with the value byte of a
// set where the command has one), so the next command is read in step.
TEST(SimulatedRadio, ARefusedTestCommandTakesItsWholeLength) {
    SimulatedRadio radio;
    SimFaults faults;
    faults.testNak = {kVolume, kTestChannel, 0x30};
    radio.StartSession(faults);
    Feed(radio, Bytes("TUNING "));
    const std::vector<std::vector<std::uint8_t>> nak = {{kNak}};
    EXPECT_TRUE(Feed(radio, {kVolume, kSetValue}).empty()) << "waits for the value byte";
    EXPECT_EQ(Feed(radio, {5}), nak);
    EXPECT_EQ(Feed(radio, {kTestChannel, kSetValue}), nak) << "a test channel takes no value byte";
    EXPECT_EQ(Feed(radio, {0x30, kStepUpBy, 2}), nak);
    EXPECT_EQ(Feed(radio, {kSquelchLevel, 4}), std::vector<std::vector<std::uint8_t>>{{kAck}});
    EXPECT_EQ(radio.Squelch(), 4);
    EXPECT_EQ(radio.Volume(), SimulatedRadio::kDefaultVolume);
    const std::vector<std::string> expected = {"tuning", "refused 21 1C", "refused 10 1C", "refused 30 1A", "squelch 4"};
    EXPECT_EQ(radio.Log(), expected);
}

TEST(SimulatedRadio, RecordsWhatItWasAskedInOrder) {
    SimulatedRadio radio;
    radio.StartSession();
    Feed(radio, Bytes("PROGRAM"));
    Feed(radio, {kComma, 0x01});
    std::vector<std::uint8_t> write = {kWriteBlock, 0x00, 0x60, 0x01, 0xAB};
    Feed(radio, write);
    Feed(radio, {kAbortWrite});
    const std::vector<std::string> expected = {"program", "comma 01", "write 0x060 1", "abort"};
    EXPECT_EQ(radio.Log(), expected);
}

TEST(SimulatedRadio, KeepsItsLogBounded) {
    SimulatedRadio radio;
    for (std::size_t i = 0; i < SimulatedRadio::kLogLimit + 10; ++i) radio.AppendLog("x" + std::to_string(i));
    EXPECT_LE(radio.Log().size(), SimulatedRadio::kLogLimit);
    EXPECT_EQ(radio.Log().back(), "x" + std::to_string(SimulatedRadio::kLogLimit + 9));
}

TEST(SimulatedRadio, FaultsSilenceAReadFromItsBlockOn) {
    SimulatedRadio radio;
    SimFaults f;
    f.readSilentBlock = 40;
    radio.StartSession(f);
    Feed(radio, Bytes("PROGRAM"));
    EXPECT_EQ(Feed(radio, {kReadBlock, 0x02, 0x70, 0x10}).size(), 1u);  // block 39
    Feed(radio, {kAck});
    EXPECT_TRUE(Feed(radio, {kReadBlock, 0x02, 0x80, 0x10}).empty());  // block 40
    EXPECT_TRUE(Feed(radio, {kAbortWrite}).empty()) << "and it stays silent";
    EXPECT_EQ(radio.Log().back(), "heard E7") << "but notes what reached it";
}

TEST(SimulatedRadio, AWriteNakLeavesTheBlockUnwritten) {
    SimulatedRadio radio;
    SimFaults f;
    f.writeNakBlock = 6;
    radio.StartSession(f);
    Feed(radio, Bytes("PROGRAM"));
    const std::uint8_t before = radio.Memory()[0x060];
    EXPECT_EQ(Feed(radio, {kWriteBlock, 0x00, 0x60, 0x01, static_cast<std::uint8_t>(~before)}),
              std::vector<std::vector<std::uint8_t>>{{kNak}});
    EXPECT_EQ(radio.Memory()[0x060], before);
}

TEST(SimulatedRadio, ReportsAnotherModelOrASiblingWhenTold) {
    SimulatedRadio radio;
    SimFaults f;
    ASSERT_TRUE(ParseSimFaults("model=LMX-7208", f, nullptr));
    radio.StartSession(f);
    Feed(radio, Bytes("PROGRAM"));
    auto ident = Feed(radio, {kIdentify});
    EXPECT_EQ(std::string(ident[0].begin(), ident[0].begin() + 8), "LMX-7208");
    EXPECT_EQ(radio.Identity()[0], 'P') << "only the report changes";
}

TEST(SimulatedRadio, KeepsTuningValuesWithinTheirByte) {
    SimulatedRadio radio;
    radio.StartSession();
    Feed(radio, Bytes("TUNING "));
    Feed(radio, {0x1E, kStepUpBy, 200});
    Feed(radio, {0x1E, kStepUpBy, 200});
    EXPECT_EQ(radio.PointValue(0x1E), 255);
    Feed(radio, {0x1E, kStepDownBy, 255});
    Feed(radio, {0x1E, kStepDown});
    EXPECT_EQ(radio.PointValue(0x1E), 0);
    EXPECT_EQ(radio.Tuning()[9], 0) << "item 3 is tuning byte 9";
}

// Each adjustment point reads and sets the tuning byte it adjusts (Low,
// Center, High of each item are its three tuning bytes), within that byte's
// range, so Test Mode shows what Tuning Data shows.
TEST(SimulatedRadio, TuningPointsAdjustTheirTuningBytes) {
    SimulatedRadio radio;
    for (std::size_t i = 0; i < SimulatedRadio::kTuningSize; ++i) radio.Tuning()[i] = static_cast<std::uint8_t>(20 + i);
    radio.StartSession();
    Feed(radio, Bytes("TUNING "));
    const std::uint8_t items[3][3] = {{0x12, 0x30, 0x31}, {0x14, 0x60, 0x61}, {0x17, 0x24, 0x25}};
    for (std::size_t item = 0; item < 3; ++item) {
        Feed(radio, {items[item][0], kOn});
        const auto read = Feed(radio, {kSettingRead});
        Feed(radio, {kAck});
        ASSERT_EQ(read.size(), 1u);
        ASSERT_EQ(read[0].size(), 4u);
        for (std::size_t p = 0; p < 3; ++p) EXPECT_EQ(read[0][p], 20 + 3 * item + p) << "item " << item << " point " << p;
        Feed(radio, {items[item][0], kOff});
    }
    // Steps and sets stay inside the byte's range: 0-63 for power, 0-127
    // for deviation; the fourth position adjusts no tuning byte.
    Feed(radio, {0x12, kStepUpBy, 200});
    EXPECT_EQ(radio.Tuning()[0], 63);
    Feed(radio, {0x25, kSetValue, 200});
    EXPECT_EQ(radio.Tuning()[8], 127);
    Feed(radio, {0x61, kStepDown});
    EXPECT_EQ(radio.Tuning()[5], 24);
    const auto before = radio.Tuning();
    Feed(radio, {0x32, kSetValue, 9});
    EXPECT_EQ(radio.Tuning(), before);
    EXPECT_EQ(radio.PointValue(0x32), 9);
}

TEST(SimFaultsParser, ReadsEveryItemAndNamesTheBadOne) {
    SimFaults f;
    std::string error;
    ASSERT_TRUE(ParseSimFaults(
        "program-nak, identify-short=10 read-silent=40,write-silent=3 write-nak=6 slow=2500@7 info-header "
        "info-checksum pull=9 identity=504852562D3431FFFBFF0001FFFFFFFF",
        f, &error))
        << error;
    EXPECT_TRUE(f.programNak);
    EXPECT_EQ(f.identifyLength, 10);
    EXPECT_EQ(f.readSilentBlock, 40);
    EXPECT_EQ(f.writeSilentBlock, 3);
    EXPECT_EQ(f.writeNakBlock, 6);
    EXPECT_EQ(f.slowMs, 2500u);
    EXPECT_EQ(f.slowStep, 7u);
    EXPECT_TRUE(f.infoBadHeader && f.infoBadChecksum);
    EXPECT_EQ(f.pullStep, 9u);
    ASSERT_TRUE(f.identity.has_value());
    EXPECT_EQ((*f.identity)[10], 0x00);

    SimFaults g;
    EXPECT_TRUE(ParseSimFaults("slow=100", g, nullptr));
    EXPECT_EQ(g.slowStep, 1u);
    EXPECT_TRUE(ParseSimFaults("identify-short", g, nullptr));
    EXPECT_EQ(g.identifyLength, 47);

    for (const char* bad : {"read-silent=64", "read-silent=", "pull=0", "slow=x", "model=TOOLONGNAME",
                            "identify-short=48", "identity=0102", "program-nak=1", "frobnicate"}) {
        SimFaults h;
        error.clear();
        EXPECT_FALSE(ParseSimFaults(bad, h, &error)) << bad;
        EXPECT_EQ(error, bad);
    }
}

}  // namespace
}  // namespace vrm
