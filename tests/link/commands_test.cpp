// Radio information reads, handshake waits and the test and tuning grammar.
#include <gtest/gtest.h>

#include "link/sim_fixture.h"

namespace vrm {
namespace {

using test::SimFixture;
using Kind = SimulatedTransport::Call::Kind;
using namespace proto;

struct Commands : SimFixture {};

// The bytes of every send from `from` on, unscrambled with `key`.
std::vector<std::vector<std::uint8_t>> SendsFrom(const SimulatedTransport& t, std::size_t from, std::uint8_t key) {
    std::vector<std::vector<std::uint8_t>> out;
    for (std::size_t i = from; i < t.Calls().size(); ++i) {
        if (t.Calls()[i].kind != Kind::kSend) continue;
        auto b = t.Calls()[i].bytes;
        for (auto& x : b) x = static_cast<std::uint8_t>(x ^ key);
        out.push_back(b);
    }
    return out;
}

TEST_F(Commands, InformationReadsReturnWhatTheRadioHolds) {
    Connect();
    std::array<std::uint8_t, kVersionSize> version{};
    auto start = clock.Now();
    ASSERT_EQ(port->ReadVersion(version), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(600));
    EXPECT_EQ(version, radio.Version());

    std::array<std::uint8_t, kBootVersionSize> boot{};
    ASSERT_EQ(port->ReadBootVersion(boot), 0);
    EXPECT_EQ(boot, radio.BootVersion());

    std::array<std::uint8_t, kInfoBlockSize> info{};
    ASSERT_EQ(port->ReadInformationBlock(info), 0);
    EXPECT_EQ(info, radio.Information());

    std::array<std::uint8_t, kReferenceSize> reference{};
    ASSERT_EQ(port->ReadReferenceValues(reference), 0);
    EXPECT_TRUE(std::equal(reference.begin(), reference.end(), radio.Memory().begin() + 0x2A0));

    std::array<std::uint8_t, 2> word{};
    ASSERT_EQ(port->ReadWord(word), 0);
    EXPECT_EQ(word[0] << 8 | word[1], radio.VcoWord());

    std::array<std::uint8_t, kTuningDataSize> tuning{};
    ASSERT_EQ(port->ReadTuningData(tuning.data(), kTuningDataSize), 0);
    EXPECT_EQ(tuning, radio.Tuning());
}

TEST_F(Commands, ChecksumReadWaitsWithItsOwnTimeoutAndRestoresTheOldOne) {
    radio.SetChecksumOverride(0x0AF3);
    Connect();
    std::array<std::uint8_t, 2> cs{};
    const auto start = clock.Now();
    ASSERT_EQ(port->ReadChecksum(cs), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(1000));
    EXPECT_EQ(cs, (std::array<std::uint8_t, 2>{0x0A, 0xF3}));
    const auto t = transport->Timeouts();
    EXPECT_EQ(t[t.size() - 2], 4000u);
    EXPECT_EQ(t.back(), 1100u);

    radio.SetChecksumOverride(std::nullopt);
    unsigned sum = 0;
    for (auto b : radio.Memory()) sum += b;
    ASSERT_EQ(port->ReadChecksum(cs), 0);
    EXPECT_EQ(cs[0] << 8 | cs[1], static_cast<int>(sum & 0xFFFF));
}

TEST_F(Commands, AnInformationBlockWithABadHeaderFailsAfterTheHandshake) {
    SimFaults f;
    f.infoBadHeader = true;
    link.SetFaults(f);
    Connect();
    std::array<std::uint8_t, kInfoBlockSize> info;
    info.fill(0x42);
    const std::size_t from = transport->Calls().size();
    EXPECT_EQ(port->ReadInformationBlock(info), 1);
    EXPECT_EQ(info[0], 0x42) << "destination unchanged";
    const auto sends = SendsFrom(*transport, from, port->Key());
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0], (std::vector<std::uint8_t>{'U', 'R', 'K'}));
    EXPECT_EQ(sends[1], std::vector<std::uint8_t>{kAck}) << "the handshake completed";
    // and the radio answered it
    EXPECT_EQ(transport->Calls().back().kind, Kind::kRecv);
    EXPECT_EQ(transport->Calls().back().result, 1);
}

TEST_F(Commands, AnInformationBlockWithABadSumFails) {
    SimFaults f;
    f.infoBadChecksum = true;
    link.SetFaults(f);
    Connect();
    std::array<std::uint8_t, kInfoBlockSize> info{};
    EXPECT_EQ(port->ReadInformationBlock(info), 1);
}

TEST_F(Commands, StatusQueryMapsAckNakAndSilence) {
    Connect(true);
    EXPECT_EQ(port->QueryStatus(), 0);
    radio.SetReferenceStored(false);
    EXPECT_EQ(port->QueryStatus(), 2);
}

TEST_F(Commands, CommaCommandIsRecordedAndWaits) {
    Connect();
    const auto start = clock.Now();
    EXPECT_EQ(port->CommaCommand(1), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(250));
    EXPECT_TRUE(Logged("comma 01"));
    EXPECT_EQ(port->Timeout(), 1100u);
}

TEST_F(Commands, AbortWriteIsRecorded) {
    Connect();
    EXPECT_EQ(port->AbortWrite(), 0);
    EXPECT_TRUE(Logged("abort"));
    EXPECT_EQ(radio.CurrentMode(), SimulatedRadio::Mode::kNormal);
}

TEST_F(Commands, ExitIsTriedTwiceOnlyWhenAsked) {
    SimFaults f;
    f.pullStep = 4;  // the cable goes at the first send after the key exchange
    link.SetFaults(f);
    Connect();
    auto countSends = [&] {
        std::size_t n = 0;
        for (const auto& c : transport->Calls()) n += c.kind == Kind::kSend;
        return n;
    };
    transport->ClearCalls();
    EXPECT_EQ(port->ExitProgramMode(), 1);
    EXPECT_EQ(countSends(), 2u);
    transport->ClearCalls();
    EXPECT_EQ(port->ExitProgramModeOnce(), 1);
    EXPECT_EQ(countSends(), 1u);
    EXPECT_EQ(port->CurrentLinkError(), LinkError::kDisconnected);
}

TEST_F(Commands, HandshakeWaitsReadUntilTheAckAndRestoreTheTimeout) {
    Connect(true);
    radio.Tuning()[0] = 5;
    const auto start = clock.Now();
    EXPECT_EQ(port->StoreReferenceTuning(), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(600));
    EXPECT_EQ(port->Timeout(), 550u);
    EXPECT_TRUE(Logged("store-reference"));
    EXPECT_EQ(radio.ReferenceTuning()[0], 5);

    radio.Tuning()[0] = 9;
    EXPECT_EQ(port->RestoreReferenceTuning(), 0);
    EXPECT_EQ(radio.Tuning()[0], 5);
    EXPECT_EQ(port->BandPassFilter(), 0);
    const auto t = transport->Timeouts();
    EXPECT_EQ(t[t.size() - 2], 2000u);

    radio.SetReferenceStored(false);
    EXPECT_EQ(port->RestoreReferenceTuning(), 1) << "a NAK is not an ACK";
}

TEST_F(Commands, AHandshakeWaitGivesUpWhenNoAckComes) {
    SimFaults f;
    f.slowMs = 10000;
    f.slowStep = 4;  // the first send after the key exchange
    link.SetFaults(f);
    Connect(true);
    const auto start = clock.Now();
    EXPECT_EQ(port->BandPassFilter(), 1);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(2000));
    EXPECT_LT(Elapsed(start), std::chrono::milliseconds(4100));
    EXPECT_EQ(port->Timeout(), 550u);
}

TEST_F(Commands, StepCommandsSendTheirForms) {
    Connect(true);
    const std::uint8_t key = port->Key();
    std::size_t from = transport->Calls().size();
    ASSERT_EQ(port->StepCommand(0x60, -5), 0);
    EXPECT_EQ(SendsFrom(*transport, from, key),
              (std::vector<std::vector<std::uint8_t>>{{0x60}, {0x1B}, {0x05}}));
    EXPECT_EQ(radio.PointValue(0x60), 40 - 5);

    from = transport->Calls().size();
    ASSERT_EQ(port->StepCommand(0x60, 0), 0);
    EXPECT_EQ(transport->Calls().size(), from) << "delta 0 sends nothing";

    from = transport->Calls().size();
    ASSERT_EQ(port->StepCommand(0x60, 1), 0);
    ASSERT_EQ(port->StepCommand(0x60, -1), 0);
    ASSERT_EQ(port->StepCommand(0x60, 3), 0);
    EXPECT_EQ(SendsFrom(*transport, from, key),
              (std::vector<std::vector<std::uint8_t>>{{0x60}, {0x0A}, {0x60}, {0x0B}, {0x60}, {0x1A}, {0x03}}));
    EXPECT_EQ(radio.PointValue(0x60), 38);

    from = transport->Calls().size();
    ASSERT_EQ(port->StepCommand(kVolume, 2, ProgrammingPort::StepForm::kOneBuffer), 0);
    EXPECT_EQ(SendsFrom(*transport, from, key), (std::vector<std::vector<std::uint8_t>>{{kVolume, 0x1A, 0x02}}));
    EXPECT_EQ(radio.Volume(), 5);
    ASSERT_EQ(port->StepCommand(kVolume, 9, ProgrammingPort::StepForm::kOneBuffer), 0);
    EXPECT_EQ(radio.Volume(), 7) << "the radio stops at its top position";

    from = transport->Calls().size();
    EXPECT_EQ(port->StepCommand(0x60, 300), 1);
    EXPECT_EQ(transport->Calls().size(), from) << "a magnitude that does not fit a byte is not sent";
}

TEST_F(Commands, WideFormsCarryTwoByteValuesHighByteFirst) {
    // A point of no tuning byte, whose value may take two bytes.
    radio.SetPointWidth(0x32, 2);
    Connect(true);
    const std::uint8_t key = port->Key();
    std::size_t from = transport->Calls().size();
    ASSERT_EQ(port->WideSetCommand(0x32, 0x0234), 0);
    EXPECT_EQ(SendsFrom(*transport, from, key),
              (std::vector<std::vector<std::uint8_t>>{{0x32}, {0x1C}, {0x02, 0x34}}));
    EXPECT_EQ(radio.PointValue(0x32), 0x0234);
    EXPECT_EQ(port->Timeout(), 550u);

    from = transport->Calls().size();
    ASSERT_EQ(port->WideStepCommand(0x32, -0x0100), 0);
    EXPECT_EQ(SendsFrom(*transport, from, key),
              (std::vector<std::vector<std::uint8_t>>{{0x32}, {0x1B}, {0x01, 0x00}}));
    EXPECT_EQ(radio.PointValue(0x32), 0x0134);

    std::array<std::uint8_t, 2> value{};
    ASSERT_EQ(port->WideQueryCommand(0x32, value), 0);
    EXPECT_EQ(value, (std::array<std::uint8_t, 2>{0x01, 0x34}));
}

TEST_F(Commands, SetQueryAndSwitchCommands) {
    Connect(true);
    ASSERT_EQ(port->SetCommand(0x61, 44), 0);
    EXPECT_EQ(radio.Tuning()[5], 44);  // transmit power low, High point
    std::uint8_t v = 0;
    ASSERT_EQ(port->QueryCommand(0x1E, v), 0);
    EXPECT_EQ(v, radio.Tuning()[9]);
    ASSERT_EQ(port->QueryCommand(kVolume, v), 0);
    EXPECT_EQ(v, radio.Volume());

    ASSERT_EQ(port->SwitchCommand(kCompander, true, ProgrammingPort::SwitchForm::kTwoBytes), 0);
    EXPECT_TRUE(radio.SwitchState(kCompander));
    ASSERT_EQ(port->SwitchCommand(kMicMute, true, ProgrammingPort::SwitchForm::kOneBuffer), 0);
    EXPECT_TRUE(radio.SwitchState(kMicMute));

    ASSERT_EQ(port->TransmitSwitch(true), 0);
    EXPECT_TRUE(radio.Transmitting());
    ASSERT_EQ(port->TransmitSwitch(false), 0);
    EXPECT_FALSE(radio.Transmitting());
    auto t = transport->Timeouts();
    EXPECT_EQ(std::vector<std::uint32_t>(t.end() - 4, t.end()), (std::vector<std::uint32_t>{800, 550, 2600, 550}));
}

TEST_F(Commands, ValueCommandsAndTheirNaks) {
    Connect(true);
    EXPECT_EQ(port->ValueCommand(kTestSignalling, 3), 0);
    EXPECT_EQ(radio.Signalling(), 3);
    EXPECT_EQ(port->ValueCommand(kSquelchLevel, 5, true), 0);
    EXPECT_EQ(radio.Squelch(), 5);
    EXPECT_EQ(port->ValueCommand(kSquelchLevel, 50), 1) << "out of range: NAK";
    EXPECT_EQ(port->ValueCommand(kSquelchLevel, 50, true), 0) << "where a NAK is accepted";
    EXPECT_EQ(radio.Squelch(), 5);
}

TEST_F(Commands, TestChannelsAnswerFromTheTestFrequencyArea) {
    Connect(true);
    for (std::uint8_t ch = 0; ch < 8; ++ch) {
        std::array<std::uint8_t, 8> f{};
        ASSERT_EQ(port->SelectTestChannel(ch, f), 0);
        EXPECT_TRUE(std::equal(f.begin(), f.end(), radio.Memory().begin() + 0x210 + 8 * ch));
    }
    std::array<std::uint8_t, 8> f{};
    EXPECT_EQ(port->SelectTestChannel(8, f), 1);
}

TEST_F(Commands, SettingReadGivesThePointsOfTheSwitchedOnItemAndTheSwappedFormSwapsPairs) {
    Connect(true);
    std::array<std::uint8_t, 4> values{};
    EXPECT_EQ(port->ReadSetting(values.data(), 1), 1) << "nothing switched on";
    ASSERT_EQ(port->SwitchCommand(0x61, true, ProgrammingPort::SwitchForm::kOneBuffer), 0);
    radio.SetPointValue(0x14, 0x11);
    radio.SetPointValue(0x60, 0x22);
    ASSERT_EQ(port->ReadSetting(values.data(), 4), 0);
    // Positions 0-2 are tuning bytes 3-5; the fourth adjusts none.
    EXPECT_EQ(values, (std::array<std::uint8_t, 4>{0x11, 0x22, 40, 0x80}));
    ASSERT_EQ(port->ReadSettingSwapped(values.data(), 4), 0);
    EXPECT_EQ(values, (std::array<std::uint8_t, 4>{0x22, 0x11, 0x80, 40}));
}

TEST_F(Commands, TuningDataWritesIntoTheRadio) {
    Connect(true);
    std::array<std::uint8_t, 14> data{};
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i + 1);
    ASSERT_EQ(port->WriteTuningBlock(0, 14, data.data()), 0);
    EXPECT_EQ(radio.Tuning(), data);
    EXPECT_TRUE(Logged("tuning-write 0 14"));
    EXPECT_EQ(port->WriteTuningBlock(10, 14, data.data()), 1);
}

TEST_F(Commands, TestCommandsAreRefusedInProgramMode) {
    Connect(false);
    EXPECT_EQ(port->TransmitSwitch(true), 1);
    EXPECT_FALSE(radio.Transmitting());
    // and block commands in tuning mode
    port->SetOpen(false);
    Connect(true);
    std::array<std::uint8_t, 16> out{};
    EXPECT_EQ(port->ReadBlock(0, 16, out.data()), 1);
}

}  // namespace
}  // namespace vrm
