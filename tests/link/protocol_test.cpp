// The programming protocol against the simulated radio, on virtual time.
#include <gtest/gtest.h>

#include "link/sim_fixture.h"

namespace vrm {
namespace {

using test::SimFixture;
using Kind = SimulatedTransport::Call::Kind;
using namespace proto;

struct Protocol : SimFixture {};
struct PlainProtocol : SimFixture {
    PlainProtocol() : SimFixture(false) {}
};

std::uint8_t KeyMaterialSum(const SimulatedRadio& radio) {
    unsigned s = 0;
    for (std::size_t i = 32; i < 44; ++i) s += radio.Identification()[i];
    return static_cast<std::uint8_t>(s);
}

TEST_F(Protocol, ModeEntrySetsItsTimeoutsAndAFailedEntryRestoresTheOldOne) {
    ASSERT_TRUE(port->SetOpen(true));
    port->SetTimeout(777);
    ASSERT_EQ(port->EnterProgramMode(), 0);
    EXPECT_EQ(port->Timeout(), 1100u);
    EXPECT_EQ(transport->Timeouts(), (std::vector<std::uint32_t>{777, 100, 1100}));
    EXPECT_TRUE(Logged("program"));

    port->SetOpen(false);
    port->SetOpen(true);
    transport->ClearCalls();
    ASSERT_EQ(port->EnterTuningMode(), 0);
    EXPECT_EQ(transport->Timeouts(), (std::vector<std::uint32_t>{1000, 550}));
    EXPECT_EQ(transport->SentBytes(), (std::vector<std::uint8_t>{'T', 'U', 'N', 'I', 'N', 'G', ' '}));
}

TEST_F(Protocol, ARadioAnsweringProgramWithNakLeavesTheTimeoutUnchanged) {
    SimFaults f;
    f.programNak = true;
    link.SetFaults(f);
    ASSERT_TRUE(port->SetOpen(true));
    port->SetTimeout(1000);
    EXPECT_EQ(port->EnterProgramMode(), 1);
    EXPECT_EQ(port->Timeout(), 1000u);
    EXPECT_EQ(transport->Timeouts().back(), 1000u);
}

TEST_F(Protocol, ASilentRadioFailsTheEntryAfterTheShortReplyTimeout) {
    SimFaults f;
    f.programSilent = true;
    link.SetFaults(f);
    ASSERT_TRUE(port->SetOpen(true));
    const auto start = clock.Now();
    EXPECT_EQ(port->EnterProgramMode(), 1);
    EXPECT_EQ(Elapsed(start), std::chrono::milliseconds(100));
    EXPECT_EQ(port->Timeout(), 1000u);
}

TEST_F(Protocol, ModeEntryClearsTheKeyAndPumpsTwice) {
    struct Counter : TransferObserver {
        int pumps = 0;
        void PumpOneMessage() override { ++pumps; }
    } observer;
    port->SetObserver(&observer);
    port->ApplyKey(0x77);
    ASSERT_TRUE(port->SetOpen(true));
    ASSERT_EQ(port->EnterProgramMode(), 0);
    EXPECT_EQ(observer.pumps, 2);
    EXPECT_EQ(transport->SentBytes(), (std::vector<std::uint8_t>{'P', 'R', 'O', 'G', 'R', 'A', 'M'}));
}

TEST_F(Protocol, IdentifyAgreesTheKeyWithTheRadioFromTheClockAndTheKeyMaterial) {
    ASSERT_TRUE(port->SetOpen(true));
    ASSERT_EQ(port->EnterProgramMode(), 0);
    ModelIdentity id{};
    const auto start = clock.Now();
    ASSERT_EQ(port->Identify(id), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(50));
    EXPECT_EQ(id, radio.Identity());
    EXPECT_TRUE(std::equal(radio.Identification().begin(), radio.Identification().end(),
                           port->Identification().begin()));

    const std::uint8_t b = 17 + 42;  // minute + second
    EXPECT_EQ(port->Key(), static_cast<std::uint8_t>(b ^ KeyMaterialSum(radio)));
    EXPECT_EQ(radio.LinkKey(), port->Key());
    // The exchange itself travels plain: b, ACK.
    const auto& calls = transport->Calls();
    auto exchange = std::find_if(calls.rbegin(), calls.rend(), [](const auto& c) { return c.kind == Kind::kSend; });
    EXPECT_EQ(exchange->bytes, (std::vector<std::uint8_t>{b, kAck}));
}

TEST_F(PlainProtocol, WithScramblingDisabledTheKeyIsZeroWhateverTheBlockHolds) {
    for (int fill : {0x00, 0x5A, 0xFF}) {
        std::fill(radio.Identification().begin() + 32, radio.Identification().begin() + 44, static_cast<std::uint8_t>(fill));
        port->SetOpen(false);
        ASSERT_TRUE(port->SetOpen(true));
        ASSERT_EQ(port->EnterProgramMode(), 0);
        ModelIdentity id{};
        ASSERT_EQ(port->Identify(id), 0);
        EXPECT_EQ(port->Key(), 0);
        EXPECT_EQ(radio.LinkKey(), 0);
    }
}

TEST_F(Protocol, AShortIdentificationFails) {
    SimFaults f;
    f.identifyLength = 47;
    link.SetFaults(f);
    ASSERT_TRUE(port->SetOpen(true));
    ASSERT_EQ(port->EnterProgramMode(), 0);
    ModelIdentity id{};
    EXPECT_EQ(port->Identify(id), 1);
    EXPECT_EQ(port->Key(), 0);
}

TEST_F(PlainProtocol, ReadBlockSendsItsCommandAndNeedsTheWholeReply) {
    Connect();
    transport->ClearCalls();
    std::array<std::uint8_t, 16> out{};
    ASSERT_EQ(port->ReadBlock(0x0120, 16, out.data()), 0);
    ASSERT_GE(transport->Calls().size(), 2u);
    EXPECT_EQ(transport->Calls()[0].bytes, (std::vector<std::uint8_t>{0x53, 0x01, 0x20, 0x10}));
    EXPECT_EQ(transport->Calls()[1].bytes.size(), 17u);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), radio.Memory().begin() + 0x120));
    EXPECT_TRUE(Logged("read 0x120 16"));
    // The handshake: ACK from the program, ACK from the radio.
    EXPECT_EQ(transport->Calls()[2].bytes, std::vector<std::uint8_t>{kAck});
}

TEST_F(Protocol, AWholeImageReadsBackAndWritesThroughScrambled) {
    for (std::size_t i = 16; i < kImageSize; ++i) radio.Memory()[i] = static_cast<std::uint8_t>(i * 7);
    Connect();
    ASSERT_NE(port->Key(), 0);
    ImageBuffer image{};
    for (std::uint16_t a = 0; a < kImageSize; a += 16) ASSERT_EQ(port->ReadBlock(a, 16, image.data() + a), 0) << a;
    EXPECT_EQ(image, radio.Memory());

    for (std::size_t i = 16; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(~image[i]);
    for (std::uint16_t a = 16; a < kImageSize; a += 16) ASSERT_EQ(port->WriteBlock(a, 16, image.data() + a), 0) << a;
    EXPECT_EQ(image, radio.Memory());
    EXPECT_EQ(port->ExitProgramMode(), 0);
    EXPECT_TRUE(Logged("exit"));
}

TEST_F(Protocol, ABlockOutsideTheMemoryIsRefused) {
    Connect();
    std::array<std::uint8_t, 16> out{};
    EXPECT_EQ(port->ReadBlock(0x3F8, 16, out.data()), 1);
    EXPECT_EQ(port->WriteBlock(0x3F8, 16, out.data()), 2);  // answered, but refused
    // The radio is still in step afterwards.
    EXPECT_EQ(port->ReadBlock(0x3F0, 16, out.data()), 0);
}

// Sends in a session: 1 "PROGRAM", 2 identify, 3 key exchange, then the
// operation under test from send 4 on.
TEST_F(Protocol, AWriteAckAfterTwoAndAHalfSecondsSucceedsAndTheTimeoutIsRestored) {
    SimFaults f;
    f.slowMs = 2500;
    f.slowStep = 5;  // the block's data; the command is send 4
    link.SetFaults(f);
    Connect();
    const std::array<std::uint8_t, 16> data{1, 2, 3};
    const auto start = clock.Now();
    ASSERT_EQ(port->WriteBlock(0x100, 16, data.data()), 0);
    EXPECT_GE(Elapsed(start), std::chrono::milliseconds(2500));
    EXPECT_EQ(port->Timeout(), 1100u);
    const auto timeouts = transport->Timeouts();
    ASSERT_GE(timeouts.size(), 2u);
    EXPECT_EQ(timeouts[timeouts.size() - 2], 3000u);
    EXPECT_EQ(timeouts.back(), 1100u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), radio.Memory().begin() + 0x100));
}

TEST_F(Protocol, AWriteAckLaterThanThreeSecondsFails) {
    SimFaults f;
    f.slowMs = 3500;
    f.slowStep = 5;
    link.SetFaults(f);
    Connect();
    const std::array<std::uint8_t, 16> data{};
    EXPECT_EQ(port->WriteBlock(0x100, 16, data.data()), 1);
    EXPECT_EQ(port->Timeout(), 1100u);
}

}  // namespace
}  // namespace vrm
