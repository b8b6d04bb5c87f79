// Several emulated cables at once through the library's handle-based exports:
// each cable is found by its port path or serial number and works on its own,
// whatever another cable does.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <thread>

#include "core/link/programming_port.h"
#include "pipelink/pipelink.h"
#include "tests/pipelink/emulated_cable.h"

namespace vrm {
namespace {

using namespace test;

struct EmulatedCables : ::testing::Test {
    static constexpr int kCount = 3;

    void SetUp() override {
        if (!Preloaded()) GTEST_SKIP() << "run under umockdev-wrapper to emulate the USB cables";
        ::unsetenv("PIPELINK_DEVICE");
        testbed = umockdev_testbed_new();
        for (int i = 0; i < kCount; ++i) {
            radios[i].StartSession();
            cables[i] = std::make_unique<Cable>(radios[i]);
            handlers[i] = umockdev_ioctl_base_new();
            g_signal_connect(handlers[i], "handle-ioctl", G_CALLBACK(Cable::Handle), cables[i].get());
        }
    }
    void TearDown() override {
        for (auto* h : handlers)
            if (h) g_object_unref(h);
        if (testbed) g_object_unref(testbed);
    }

    // Cable i on hub port i+1 as device 2+i, with serial VRMC000<i>.
    void Plug(int i) {
        const std::string dev = "00" + std::to_string(2 + i);
        const std::string node = "/dev/bus/usb/001/" + dev;
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed, node.c_str(), handlers[i], nullptr));
        const std::string device = "P: /devices/usb1/1-" + std::to_string(i + 1) + "\nN: bus/usb/001/" + dev +
                                   "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nE: DEVNAME=" + node +
                                   "\nE: BUSNUM=001\nE: DEVNUM=" + dev +
                                   "\nA: idVendor=1209\\n\nA: idProduct=650a\\n\nA: busnum=1\\n\nA: devnum=" +
                                   std::to_string(2 + i) + "\\n\nA: speed=12\\n\nA: serial=VRMC000" +
                                   std::to_string(i) + "\\n\nA: bConfigurationValue=1\\n\nH: descriptors=" +
                                   kCableDescriptors + "\n";
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, device.c_str(), nullptr));
    }

    static std::unique_ptr<ProgrammingPort> PortOn(const std::string& cable) {
        return std::make_unique<ProgrammingPort>(std::make_unique<LibraryTransport>(kLibrary, cable),
                                                 SystemClock::Instance());
    }

    UMockdevTestbed* testbed = nullptr;
    std::array<UMockdevIoctlBase*, kCount> handlers{};
    std::array<SimulatedRadio, kCount> radios;
    std::array<std::unique_ptr<Cable>, kCount> cables;
};

// A whole exchange on one port: program mode, identity, a block write and its
// read-back, program mode left. 0 when all went well.
int WriteAndReadBack(ProgrammingPort& p, std::uint8_t fill) {
    if (!p.SetOpen(true) || p.OpenError() != LinkError::kNone) return 1;
    ModelIdentity id{};
    if (p.EnterProgramMode() != 0 || p.Identify(id) != 0) return 2;
    std::array<std::uint8_t, 16> block{};
    block.fill(fill);
    if (p.WriteBlock(0x200, 16, block.data()) != 0) return 3;
    std::array<std::uint8_t, 16> back{};
    if (p.ReadBlock(0x200, 16, back.data()) != 0 || back != block) return 4;
    p.ExitProgramMode();
    p.SetOpen(false);
    return 0;
}

TEST_F(EmulatedCables, ListsEveryCableWithItsPortPathAndSerial) {
    for (int i = 0; i < kCount; ++i) Plug(i);
    LibraryTransport lib(kLibrary);
    ASSERT_TRUE(lib.Load());
    std::array<PipelinkCable, 2> few{};
    EXPECT_EQ(lib.ListCables(few.data(), 2), kCount) << "the count tells how many there are beyond max";
    std::array<PipelinkCable, 8> all{};
    ASSERT_EQ(lib.ListCables(all.data(), 8), kCount);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(std::string(all[i].portPath), "1-" + std::to_string(i + 1));
        EXPECT_EQ(std::string(all[i].serial), "VRMC000" + std::to_string(i));
        EXPECT_EQ(all[i].bus, 1);
        EXPECT_EQ(all[i].address, 2 + i);
    }
}

TEST_F(EmulatedCables, EachCableByPortPathOrSerialProgramsItsOwnRadioAtTheSameTime) {
    for (int i = 0; i < kCount; ++i) Plug(i);
    auto a = PortOn("1-1"), b = PortOn("VRMC0001"), c = PortOn("1-3");
    int ra = -1, rb = -1, rc = -1;
    std::thread ta([&] { ra = WriteAndReadBack(*a, 0x11); });
    std::thread tb([&] { rb = WriteAndReadBack(*b, 0x22); });
    std::thread tc([&] { rc = WriteAndReadBack(*c, 0x33); });
    ta.join();
    tb.join();
    tc.join();
    EXPECT_EQ(ra, 0);
    EXPECT_EQ(rb, 0);
    EXPECT_EQ(rc, 0);
    for (int i = 0; i < kCount; ++i) {
        std::lock_guard<std::mutex> lock(cables[i]->mutex);
        EXPECT_EQ(radios[i].Memory()[0x200], 0x11 * (i + 1)) << "radio " << i << " got another cable's block";
    }
}

TEST_F(EmulatedCables, ACableThatStopsAnsweringOrIsAbsentLeavesTheOthersAlone) {
    for (int i = 0; i < kCount; ++i) Plug(i);
    cables[1]->stopReading = true;  // every send to cable 2 stalls until its timeout
    auto a = PortOn("1-1"), b = PortOn("1-2"), c = PortOn("1-3");
    int ra = -1, rb = -1, rc = -1;
    std::thread tb([&] { rb = WriteAndReadBack(*b, 0x22); });
    std::thread ta([&] { ra = WriteAndReadBack(*a, 0x11); });
    std::thread tc([&] { rc = WriteAndReadBack(*c, 0x33); });
    ta.join();
    tc.join();
    tb.join();
    EXPECT_EQ(ra, 0);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(rb, 2) << "the stalled cable fails on its own";

    auto missing = PortOn("9-9");
    ASSERT_TRUE(missing->SetOpen(true));
    EXPECT_EQ(missing->OpenError(), LinkError::kNoCable);
    EXPECT_EQ(missing->EnterProgramMode(), 1);
}

TEST_F(EmulatedCables, ACableAlreadyHeldIsBusyWithoutDisturbingItsHolder) {
    Plug(0);
    auto first = PortOn("1-1");
    ASSERT_TRUE(first->SetOpen(true));
    ASSERT_EQ(first->EnterProgramMode(), 0);
    cables[0]->busy = true;  // the interface is claimed: a second claim fails
    auto second = PortOn("VRMC0000");
    ASSERT_TRUE(second->SetOpen(true));
    EXPECT_EQ(second->OpenError(), LinkError::kBusy);
    second->SetOpen(false);
    ModelIdentity id{};
    EXPECT_EQ(first->Identify(id), 0) << "closing the refused handle left the holder's session alone";
    first->SetOpen(false);
}

}  // namespace
}  // namespace vrm
