// libpipelink.so over the real libusb-1.0 against an emulated cable. The
// cable's usbfs node is emulated by umockdev; its ioctl handler plays the
// cable: bulk OUT transfers go to a SimulatedRadio, the radio's answers come
// back as bulk IN transfers.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <umockdev.h>

#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <string>

#include "core/link/programming_port.h"
#include "pipelink/pipelink.h"
#include "sim/simulated_radio.h"
#include "tests/pipelink/emulated_cable.h"

namespace vrm {
namespace {

using namespace test;
using Clock = std::chrono::steady_clock;

struct UsbCable : ::testing::Test {
    void SetUp() override {
        if (!Preloaded()) GTEST_SKIP() << "run under umockdev-wrapper to emulate the USB cable";
        ::unsetenv("PIPELINK_DEVICE");
        testbed = umockdev_testbed_new();
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(Cable::Handle), &cable);
        radio.StartSession();
    }
    void TearDown() override {
        port.reset();
        if (handler) g_object_unref(handler);
        if (testbed) g_object_unref(testbed);
    }

    void Plug(const char* descriptors) {
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed, kNode, handler, nullptr));
        const std::string device = std::string(
                                       "P: /devices/usb1/1-1\n"
                                       "N: bus/usb/001/002\n"
                                       "E: SUBSYSTEM=usb\n"
                                       "E: DEVTYPE=usb_device\n"
                                       "E: DEVNAME=/dev/bus/usb/001/002\n"
                                       "E: BUSNUM=001\n"
                                       "E: DEVNUM=002\n"
                                       "A: idVendor=1209\\n\n"
                                       "A: idProduct=650a\\n\n"
                                       "A: busnum=1\\n\n"
                                       "A: devnum=2\\n\n"
                                       "A: speed=12\\n\n"
                                       "A: bConfigurationValue=1\\n\n"
                                       "H: descriptors=") +
                                   descriptors + "\n";
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, device.c_str(), nullptr));
    }

    ProgrammingPort& Port() {
        if (!port) port = std::make_unique<ProgrammingPort>(std::make_unique<LibraryTransport>(kLibrary),
                                                            SystemClock::Instance());
        return *port;
    }
    LibraryTransport& Library() { return static_cast<LibraryTransport&>(Port().GetTransport()); }

    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    SimulatedRadio radio;
    Cable cable{radio};
    std::unique_ptr<ProgrammingPort> port;
};

TEST_F(UsbCable, IdentifiesAndReadsAndWritesBlocksThroughTheRealLibrary) {
    Plug(kCableDescriptors);
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kNone);
    ASSERT_EQ(p.EnterProgramMode(), 0);
    ModelIdentity id{};
    ASSERT_EQ(p.Identify(id), 0);
    {
        std::lock_guard<std::mutex> lock(cable.mutex);
        EXPECT_EQ(id, radio.Identity());
        EXPECT_EQ(radio.LinkKey(), p.Key());
    }
    std::array<std::uint8_t, 16> block{};
    for (std::uint16_t a : {std::uint16_t{0x000}, std::uint16_t{0x120}, std::uint16_t{0x3F0}}) {
        ASSERT_EQ(p.ReadBlock(a, 16, block.data()), 0) << a;
        std::lock_guard<std::mutex> lock(cable.mutex);
        EXPECT_TRUE(std::equal(block.begin(), block.end(), radio.Memory().begin() + a));
    }
    block.fill(0xA5);
    ASSERT_EQ(p.WriteBlock(0x200, 16, block.data()), 0);
    ASSERT_EQ(p.WriteBlock(0x060, 16, block.data()), 0);
    ASSERT_EQ(p.ExitProgramMode(), 0);
    ASSERT_TRUE(p.SetOpen(false));
    std::lock_guard<std::mutex> lock(cable.mutex);
    EXPECT_EQ(radio.Memory()[0x200], 0xA5);
    EXPECT_EQ(radio.Memory()[0x06F], 0xA5);
    EXPECT_EQ(radio.Log().back(), "exit");
}

TEST_F(UsbCable, GetDevicePathCopiesOnlyWhatFits) {
    Plug(kCableDescriptors);
    ASSERT_TRUE(Library().Load());
    void* handle = ::dlopen(kLibrary.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr);
    auto fn = reinterpret_cast<PipelinkBool (*)(const PipelinkGuid*, char*, uint32_t)>(::dlsym(handle, "GetDevicePath"));
    ASSERT_NE(fn, nullptr);
    const PipelinkGuid guid = PIPELINK_INTERFACE_CLASS;
    char path[64];
    ASSERT_EQ(fn(&guid, path, sizeof path), 1);
    EXPECT_STREQ(path, kNode);
    const std::size_t need = std::strlen(kNode) + 1;
    char small[32];
    std::memset(small, 'x', sizeof small);
    EXPECT_EQ(fn(&guid, small, static_cast<uint32_t>(need - 1)), 0) << "one byte short";
    EXPECT_EQ(small[need - 1], 'x') << "nothing written past the buffer";
    EXPECT_EQ(fn(&guid, small, static_cast<uint32_t>(need)), 1);
    EXPECT_STREQ(small, kNode);
    ::dlclose(handle);
    Library().Unload();
}

TEST_F(UsbCable, WithoutACableTheOpenSucceedsButSaysWhyNothingWorks) {
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kNoCable);
    EXPECT_EQ(p.EnterProgramMode(), 1);
}

TEST_F(UsbCable, ADeviceWithoutBulkPipesIsNotACable) {
    Plug(kNoBulkDescriptors);
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kUnusableCable);
    EXPECT_EQ(p.EnterProgramMode(), 1);
}

TEST_F(UsbCable, ACableHeldByAnotherProgramIsBusy) {
    cable.busy = true;
    Plug(kCableDescriptors);
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kBusy);
}

TEST_F(UsbCable, AnotherDeviceIdIsFoundOnlyWhenAskedFor) {
    Plug(kCableDescriptors);
    ::setenv("PIPELINK_DEVICE", "1234:5678", 1);
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kNoCable);
    p.SetOpen(false);
    ::setenv("PIPELINK_DEVICE", "1209:650A", 1);
    ASSERT_TRUE(p.SetOpen(true));
    EXPECT_EQ(p.OpenError(), LinkError::kNone);
    ::unsetenv("PIPELINK_DEVICE");
}

TEST_F(UsbCable, AReceiveWithNothingComingFailsAfterTheTimeoutWithCountZero) {
    Plug(kCableDescriptors);
    LibraryTransport& lib = Library();
    ASSERT_TRUE(Port().SetOpen(true));
    ASSERT_EQ(lib.TimeOutSet(150), 1);
    std::uint8_t dst[PIPELINK_READ_SIZE];
    std::uint32_t count = 99;
    const auto start = Clock::now();
    EXPECT_EQ(lib.Recv(dst, &count), 0);
    const auto took = Clock::now() - start;
    EXPECT_EQ(count, 0u);
    EXPECT_GE(took, std::chrono::milliseconds(150));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
}

TEST_F(UsbCable, AReplyAfterTwoAndAHalfSecondsMissesTheFirstTimeoutAndMeetsThreeSeconds) {
    Plug(kCableDescriptors);
    cable.slowOut = 1;
    cable.slowBy = std::chrono::milliseconds(2500);
    LibraryTransport& lib = Library();
    ASSERT_TRUE(Port().SetOpen(true));
    const auto start = Clock::now();
    ASSERT_EQ(lib.Send(reinterpret_cast<const std::uint8_t*>("PROGRAM"), 7), 1);
    std::uint8_t dst[PIPELINK_READ_SIZE];
    std::uint32_t count = 0;
    EXPECT_EQ(lib.Recv(dst, &count), 0) << "the initial 500 ms are too short";
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(500));
    ASSERT_EQ(lib.TimeOutSet(3000), 1);
    ASSERT_EQ(lib.Recv(dst, &count), 1);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(dst[0], 0x06);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(2500));
}

TEST_F(UsbCable, OneReadDeliversAWhole34ByteReply) {
    Plug(kCableDescriptors);
    ProgrammingPort& p = Port();
    ASSERT_TRUE(p.SetOpen(true));
    ASSERT_EQ(p.EnterProgramMode(), 0);
    LibraryTransport& lib = Library();
    const std::uint8_t urk[3] = {'U', 'R', 'K'};
    ASSERT_EQ(lib.Send(urk, 3), 1);
    std::uint8_t dst[PIPELINK_READ_SIZE];
    std::uint32_t count = 0;
    ASSERT_EQ(lib.Recv(dst, &count), 1);
    EXPECT_EQ(count, 34u);
    EXPECT_EQ(dst[0], 0x55);
}

TEST_F(UsbCable, ASendToACableThatStopsReadingFailsInsteadOfHanging) {
    Plug(kCableDescriptors);
    cable.stopReading = true;
    LibraryTransport& lib = Library();
    ASSERT_TRUE(Port().SetOpen(true));
    const auto start = Clock::now();
    EXPECT_EQ(lib.Send(reinterpret_cast<const std::uint8_t*>("PROGRAM"), 7), 0);
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(PIPELINK_SEND_TIMEOUT_MS));
    EXPECT_LT(took, std::chrono::milliseconds(PIPELINK_SEND_TIMEOUT_MS + 2000));
}

}  // namespace
}  // namespace vrm
