// The port layer: library binding, raw and scrambled operations, timeouts.
#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "core/link/programming_port.h"
#include "link/scripted_transport.h"

namespace vrm {
namespace {

using test::ScriptedTransport;

struct PortFixture : ::testing::Test {
    PortFixture() {
        auto t = std::make_unique<ScriptedTransport>();
        transport = t.get();
        port = std::make_unique<ProgrammingPort>(std::move(t), clock);
    }
    VirtualClock clock;
    ScriptedTransport* transport = nullptr;
    std::unique_ptr<ProgrammingPort> port;
};

TEST_F(PortFixture, ReceiveTakesTheFirstBytesOfOneLongerReadButNeverAccumulates) {
    ASSERT_TRUE(port->SetOpen(true));
    std::vector<std::uint8_t> twenty(20);
    for (std::size_t i = 0; i < twenty.size(); ++i) twenty[i] = static_cast<std::uint8_t>(i + 1);
    transport->Queue(twenty);
    std::array<std::uint8_t, 12> out{};
    ASSERT_TRUE(port->Receive(out.data(), 12));
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[11], 12);

    // 8 bytes now and 4 later: both reads are short of 12.
    transport->Queue(std::vector<std::uint8_t>(8, 0xAA));
    transport->Queue(std::vector<std::uint8_t>(4, 0xBB));
    out.fill(0x11);
    EXPECT_FALSE(port->Receive(out.data(), 12));
    EXPECT_FALSE(port->Receive(out.data(), 12));
    EXPECT_EQ(out, (std::array<std::uint8_t, 12>{0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11}))
        << "a failed receive leaves the buffer unchanged";
}

TEST_F(PortFixture, ReceiveNeverLetsTheLibraryWriteBeyondTheCallersBuffer) {
    ASSERT_TRUE(port->SetOpen(true));
    // The library writes 127 bytes; the caller's buffer is one byte with a
    // guard behind it.
    struct {
        std::uint8_t one;
        std::uint8_t guard[kUsbReadSize];
    } buffer{};
    std::fill(std::begin(buffer.guard), std::end(buffer.guard), 0x77);
    transport->Queue({0x06, 1, 2, 3});
    ASSERT_TRUE(port->Receive(&buffer.one, 1));
    EXPECT_EQ(buffer.one, 0x06);
    EXPECT_TRUE(std::all_of(std::begin(buffer.guard), std::end(buffer.guard), [](std::uint8_t b) { return b == 0x77; }));
}

TEST_F(PortFixture, ReceiveRefusesAnythingButResultOneAndABelievableCount) {
    ASSERT_TRUE(port->SetOpen(true));
    std::uint8_t b = 0;
    transport->Queue({0x06}, 2);  // nonzero but not 1
    EXPECT_FALSE(port->Receive(&b, 1));
    transport->Queue({}, 1);  // a zero-length read
    EXPECT_FALSE(port->Receive(&b, 1));
    transport->claimCount = 300;  // more than one USB read can hold
    transport->Queue({0x06});
    EXPECT_FALSE(port->Receive(&b, 1));
}

TEST_F(PortFixture, TheLinkKeyScramblesEveryByteBothWays) {
    ASSERT_TRUE(port->SetOpen(true));
    port->ApplyKey(0x5A);
    ASSERT_TRUE(port->SendByte(0x06));
    ASSERT_EQ(transport->sent.back(), std::vector<std::uint8_t>{0x5C});
    const std::uint8_t buf[3] = {0x00, 0x5A, 0xFF};
    ASSERT_TRUE(port->SendBuffer(buf, 3));
    EXPECT_EQ(transport->sent.back(), (std::vector<std::uint8_t>{0x5A, 0x00, 0xA5}));
    ASSERT_TRUE(port->SendString("E"));
    EXPECT_EQ(transport->sent.back(), std::vector<std::uint8_t>{0x45 ^ 0x5A});

    transport->Queue({0x5C, 0x5A});
    std::uint8_t r[2] = {};
    ASSERT_TRUE(port->Receive(r, 2));
    EXPECT_EQ(r[0], 0x06);
    EXPECT_EQ(r[1], 0x00);

    port->ClearKey();
    ASSERT_TRUE(port->SendByte(0x06));
    EXPECT_EQ(transport->sent.back(), std::vector<std::uint8_t>{0x06});
}

TEST_F(PortFixture, ReadBlockNeedsLengthPlusOneBytesInOneRead) {
    ASSERT_TRUE(port->SetOpen(true));
    std::array<std::uint8_t, 16> out{};
    transport->Queue(std::vector<std::uint8_t>(16, 0x11));
    EXPECT_EQ(port->ReadBlock(0x0120, 16, out.data()), 1);
    EXPECT_EQ(transport->sent.back(), (std::vector<std::uint8_t>{0x53, 0x01, 0x20, 0x10}));

    std::vector<std::uint8_t> reply(17, 0x22);
    reply[0] = 0x99;  // dropped
    transport->Queue(reply);
    transport->Queue({0x06});
    ASSERT_EQ(port->ReadBlock(0x0120, 16, out.data()), 0);
    EXPECT_EQ(out[0], 0x22);
    EXPECT_EQ(transport->sent.back(), std::vector<std::uint8_t>{0x06});
}

TEST_F(PortFixture, OpenAndCloseTouchTheLibraryOnlyOnAChangeOfState) {
    EXPECT_TRUE(port->SetOpen(false));
    EXPECT_EQ(transport->loads, 0);
    EXPECT_EQ(transport->deletes, 0);

    ASSERT_TRUE(port->SetOpen(true));
    ASSERT_TRUE(port->SetOpen(true));
    EXPECT_EQ(transport->loads, 1);
    EXPECT_EQ(transport->inits, 1);

    ASSERT_TRUE(port->SetOpen(false));
    EXPECT_EQ(transport->deletes, 1);
    EXPECT_EQ(transport->unloads, 1);
    EXPECT_FALSE(transport->loaded);
    EXPECT_TRUE(port->SetOpen(false));
    EXPECT_EQ(transport->deletes, 1);
}

TEST_F(PortFixture, OpeningSucceedsWhenTheCableIsMissingAndKeepsTheReason) {
    transport->initResult = 0;
    transport->lastError = 2;  // no permission
    ASSERT_TRUE(port->SetOpen(true));
    EXPECT_TRUE(port->IsOpen());
    EXPECT_EQ(port->OpenError(), LinkError::kNoPermission);
    EXPECT_NE(LinkErrorText(port->OpenError()), 0u);

    // A library without the extra export reports nothing.
    port->SetOpen(false);
    transport->missing.insert("PipelinkLastError");
    ASSERT_TRUE(port->SetOpen(true));
    EXPECT_EQ(port->OpenError(), LinkError::kNone);
    EXPECT_EQ(LinkErrorText(LinkError::kNone), 0u);
}

TEST_F(PortFixture, AMissingLibraryFailsTheOpenAndEverySend) {
    transport->loadable = false;
    EXPECT_FALSE(port->SetOpen(true));
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(port->OpenError(), LinkError::kLibraryMissing);
    EXPECT_FALSE(port->SendByte(0x45));
    std::uint8_t b = 0;
    EXPECT_FALSE(port->Receive(&b, 1));
    EXPECT_EQ(port->EnterProgramMode(), 1);
}

TEST_F(PortFixture, MissingExportsAreSkippedOrFail) {
    transport->missing = {"WinUSB_init", "WinUSB_Delete", "WinUSB_TimeOutSet", "WinUSB_Send", "WinUSB_Recv"};
    ASSERT_TRUE(port->SetOpen(true));
    EXPECT_EQ(transport->inits, 0);
    EXPECT_TRUE(port->SetTimeout(300));
    EXPECT_TRUE(transport->timeouts.empty());
    EXPECT_FALSE(port->SendByte(1));
    EXPECT_FALSE(port->SendString("X"));
    const std::uint8_t buf[1] = {0};
    EXPECT_FALSE(port->SendBuffer(buf, 1));
    std::uint8_t b = 0;
    EXPECT_FALSE(port->Receive(&b, 1));
    EXPECT_TRUE(port->SetOpen(false));
    EXPECT_EQ(transport->unloads, 1);
}

TEST_F(PortFixture, SetTimeoutOnAClosedPortOnlyStoresTheValue) {
    EXPECT_EQ(port->Timeout(), 1000u);
    ASSERT_TRUE(port->SetTimeout(250));
    EXPECT_EQ(port->Timeout(), 250u);
    ASSERT_TRUE(port->SetOpen(true));
    // Opening does not apply the stored value: the library keeps its own.
    EXPECT_TRUE(transport->timeouts.empty());
    ASSERT_TRUE(port->SetTimeout(700));
    EXPECT_EQ(transport->timeouts, std::vector<std::uint32_t>{700});
}

TEST_F(PortFixture, TheKeySurvivesCloseAndOpenAndThePortNumberIsOne) {
    port->ApplyKey(0x33);
    port->SetOpen(true);
    port->SetOpen(false);
    port->SetOpen(true);
    EXPECT_EQ(port->Key(), 0x33);
    EXPECT_EQ(port->PortNumber(), 1);
}

TEST_F(PortFixture, DelayWaitsOnThePortsClockAndPumpReachesTheObserver) {
    struct Counter : TransferObserver {
        int pumps = 0;
        void PumpOneMessage() override { ++pumps; }
    } observer;
    const auto start = clock.Now();
    port->Delay(600);
    EXPECT_EQ(clock.Now() - start, std::chrono::milliseconds(600));
    port->PumpOneMessage();  // no observer: nothing happens
    port->SetObserver(&observer);
    port->PumpOneMessage();
    EXPECT_EQ(observer.pumps, 1);
}

}  // namespace
}  // namespace vrm
