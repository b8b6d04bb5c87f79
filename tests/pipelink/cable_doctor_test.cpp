// The cable doctor against an emulated USB bus (umockdev): the real
// libpipelink.so lists and opens the emulated cable, and `vrm650t-cli doctor`
// runs as a process on the same bus.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/ioctl.h>
#include <linux/usbdevice_fs.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/link/cable_doctor.h"
#include "core/base/language_table.h"

namespace vrm {
namespace {

namespace fs = std::filesystem;

const std::string kLibrary = std::string(VRM_BIN_DIR) + "/libpipelink.so";
const std::string kCli = std::string(VRM_BIN_DIR) + "/vrm650t-cli";
const char* kNode = "/dev/bus/usb/001/002";
const char* kDescriptors =
    "120100020000004009120A65000100000001"
    "0902200001010080FA"
    "090400000202FF0000"
    "07058102400000"
    "07050202400000";
constexpr std::uint32_t kNobody = 65534;

bool Preloaded() {
    const char* p = std::getenv("LD_PRELOAD");
    return p && std::strstr(p, "libumockdev-preload");
}

// Open and claim succeed unless the interface is claimed by someone else.
struct Claims {
    bool busy = false;
    static gboolean Handle(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        switch (umockdev_ioctl_client_get_request(client)) {
            case USBDEVFS_GET_CAPABILITIES: {
                UMockdevIoctlData* d = umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0,
                                                                   sizeof(guint32), nullptr);
                *reinterpret_cast<guint32*>(d->data) = USBDEVFS_CAP_BULK_CONTINUATION;
                g_object_unref(d);
                umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            }
            case USBDEVFS_CLAIMINTERFACE:
                if (static_cast<Claims*>(self)->busy) umockdev_ioctl_client_complete(client, -1, EBUSY);
                else umockdev_ioctl_client_complete(client, 0, 0);
                return TRUE;
            case USBDEVFS_RELEASEINTERFACE: umockdev_ioctl_client_complete(client, 0, 0); return TRUE;
            case USBDEVFS_GETDRIVER: umockdev_ioctl_client_complete(client, -1, ENODATA); return TRUE;
            default: return FALSE;
        }
    }
};

struct DoctorRun {
    int status = -1;
    std::string out;
};

struct CableDoctor : ::testing::Test {
    void SetUp() override {
        if (!Preloaded()) GTEST_SKIP() << "run under umockdev-wrapper to emulate the USB bus";
        ::unsetenv("PIPELINK_DEVICE");
        testbed = umockdev_testbed_new();
        handler = umockdev_ioctl_base_new();
        g_signal_connect(handler, "handle-ioctl", G_CALLBACK(Claims::Handle), &claims);
        language.SetProgramFolder(std::string(VRM_BIN_DIR) + "/");
        ASSERT_TRUE(language.Load("vrm650t_en.lng", false, nullptr));
        scratch = fs::temp_directory_path() / ("vrm_doctor_" + std::to_string(::getpid()));
        fs::create_directories(scratch / "rules");
        fs::create_directories(scratch / "sessions");
        system.rulesFolders = {(scratch / "rules").string()};
        system.sessionsFolder = (scratch / "sessions").string();
        system.procFolder = "/proc";
        system.user = "dealer";
        system.programFolder = std::string(VRM_BIN_DIR) + "/";
    }
    void TearDown() override {
        if (handler) g_object_unref(handler);
        if (testbed) g_object_unref(testbed);
        if (!scratch.empty()) fs::remove_all(scratch);
    }

    void Plug() {
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
                                       "A: serial=VRM0042\\n\n"
                                       "A: bConfigurationValue=1\\n\n"
                                       "H: descriptors=") +
                                   kDescriptors + "\n";
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed, device.c_str(), nullptr));
    }

    // `vrm650t-cli doctor` as a process on the emulated bus; as the user
    // nobody when `asNobody` (root opens any node, so a refusal needs another
    // user).
    DoctorRun Doctor(bool asNobody = false) {
        int out[2];
        EXPECT_EQ(::pipe(out), 0);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(out[1], 1);
            ::dup2(out[1], 2);
            ::close(out[0]);
            if (asNobody && ::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(126);
            ::execl(kCli.c_str(), kCli.c_str(), "doctor", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        DoctorRun r;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(out[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0) r.out.append(buf, static_cast<std::size_t>(n));
        ::close(out[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return r;
    }

    // The emulated node as a file of the testbed, to change its mode.
    std::string NodeFile() {
        gchar* root = umockdev_testbed_get_root_dir(testbed);
        std::string path = std::string(root) + kNode;
        g_free(root);
        return path;
    }

    void WriteRule(const char* name, std::time_t mtime) {
        const fs::path p = scratch / "rules" / name;
        std::ofstream(p) << "# a comment naming ATTR{idVendor}==\"1209\", ATTR{idProduct}==\"650a\" does not count\n"
                         << "SUBSYSTEM==\"usb\", ATTR{idVendor}==\"1209\", ATTR{idProduct}==\"650A\", TAG+=\"uaccess\"\n";
        const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
    }

    CableProbe RefusedProbe() {
        CableProbe p;
        p.bus = 1;
        p.address = 2;
        p.vendor = 0x1209;
        p.product = 0x650A;
        p.open = LinkError::kNoPermission;
        return p;
    }

    UMockdevTestbed* testbed = nullptr;
    UMockdevIoctlBase* handler = nullptr;
    Claims claims;
    LanguageTable language;
    DoctorSystem system;
    fs::path scratch;
};

TEST_F(CableDoctor, APresentCableThatOpensIsListedAndTheDoctorSaysSo) {
    Plug();
    int found = 0;
    const auto probes = ProbeCables(kLibrary, found);
    ASSERT_EQ(found, 1);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].bus, 1);
    EXPECT_EQ(probes[0].address, 2);
    EXPECT_EQ(probes[0].vendor, 0x1209);
    EXPECT_EQ(probes[0].product, 0x650A);
    EXPECT_EQ(probes[0].serial, "VRM0042");
    EXPECT_EQ(probes[0].open, LinkError::kNone);

    const DoctorRun r = Doctor();
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Bus 001, device 002: 1209:650a, serial number VRM0042"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("this cable can be used"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Fix:"), std::string::npos) << r.out;
}

TEST_F(CableDoctor, NoDeviceMeansNoCableAndTheFixIsToConnectIt) {
    const DoctorRun r = Doctor();
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("No programming cable is plugged in."), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Fix: connect the programming cable to a USB port."), std::string::npos) << r.out;

    // Another device on the bus is not a cable either.
    Plug();
    ::setenv("PIPELINK_DEVICE", "1234:5678", 1);
    const DoctorRun other = Doctor();
    ::unsetenv("PIPELINK_DEVICE");
    EXPECT_EQ(other.status, 1) << other.out;
    EXPECT_NE(other.out.find("USB IDs 1234:5678"), std::string::npos) << other.out;
    EXPECT_NE(other.out.find("No programming cable is plugged in."), std::string::npos) << other.out;
}

TEST_F(CableDoctor, ANodeWithoutPermissionIsRefusedWithAFix) {
    Plug();
    // The user nobody must read the emulated bus to find the node at all.
    gchar* root = umockdev_testbed_get_root_dir(testbed);
    // (and bind the socket of its udev monitor there)
    fs::permissions(root, fs::perms::others_all, fs::perm_options::add);
    for (const auto& e : fs::recursive_directory_iterator(root))
        fs::permissions(e.path(),
                        fs::perms::others_read | (e.is_directory() ? fs::perms::others_exec : fs::perms::none) |
                            (e.is_socket() ? fs::perms::others_write : fs::perms::none),
                        fs::perm_options::add);
    g_free(root);
    ASSERT_EQ(::chmod(NodeFile().c_str(), 0), 0);

    const DoctorRun r = Doctor(true);
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Bus 001, device 002: 1209:650a"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("You may not open it"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Fix: "), std::string::npos) << r.out;
}

TEST_F(CableDoctor, ARefusedCableIsTracedToTheRuleTheReplugOrTheSession) {
    Plug();
    const CableProbe probe = RefusedProbe();
    struct stat node {};
    ASSERT_EQ(::stat(kNode, &node), 0);

    CableDiagnosis d = Diagnose(probe, system);
    EXPECT_EQ(d.finding, CableFinding::kRuleMissing) << "a rule in a comment does not count";
    EXPECT_NE(FixLine(d, system, language).find("sudo install -m 644 " + std::string(VRM_BIN_DIR) +
                                                "/60-vrm650t-cable.rules /etc/udev/rules.d/"),
              std::string::npos)
        << FixLine(d, system, language);

    WriteRule("60-vrm650t-cable.rules", node.st_ctime + 60);
    d = Diagnose(probe, system);
    EXPECT_EQ(d.finding, CableFinding::kReplug) << "the rule came after the cable";
    EXPECT_EQ(FixLine(d, system, language), "Fix: unplug the cable and plug it in again.");

    WriteRule("60-vrm650t-cable.rules", node.st_ctime - 60);
    system.sessionId = "c7";
    std::ofstream(scratch / "sessions" / "c7") << "UID=1000\nREMOTE=1\nACTIVE=1\nSEAT=\n";
    d = Diagnose(probe, system);
    EXPECT_EQ(d.finding, CableFinding::kNoSeatAccess) << "a remote login gets no uaccess";
    EXPECT_NE(FixLine(d, system, language).find("61-vrm650t-cable-plugdev.rules /etc/udev/rules.d/ && sudo usermod -aG plugdev dealer"),
              std::string::npos)
        << FixLine(d, system, language);

    std::ofstream(scratch / "sessions" / "c7") << "UID=1000\nREMOTE=0\nACTIVE=1\nSEAT=seat0\n";
    EXPECT_EQ(Diagnose(probe, system).finding, CableFinding::kNoAccessUnexplained);
}

TEST_F(CableDoctor, ABusyCableNamesTheProcessThatHoldsIt) {
    claims.busy = true;
    Plug();
    // Another process holds a file of the same name elsewhere (as another
    // program's emulated bus would): it does not hold this cable.
    const fs::path other = scratch / "other/dev/bus/usb/001/002";
    fs::create_directories(other.parent_path());
    std::ofstream(other) << 'x';
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int held = ::open(other.c_str(), O_RDONLY);
        if (::write(ready[1], held >= 0 ? "y" : "n", 1) == 1) ::pause();
        ::_exit(0);
    }
    char opened = 0;
    ASSERT_EQ(::read(ready[0], &opened, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(opened, 'y');
    struct Reap {
        pid_t pid;
        ~Reap() {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    } reap{holder};
    int found = 0;
    auto probes = ProbeCables(kLibrary, found);
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].open, LinkError::kBusy);
    EXPECT_EQ(FixLine(Diagnose(probes[0], system), system, language),
              "Fix: close the other program that uses the cable, then try again.");

    // This test process holds the node open.
    const int fd = ::open(kNode, O_RDWR);
    ASSERT_GE(fd, 0);
    const CableDiagnosis d = Diagnose(probes[0], system);
    ::close(fd);
    const std::string me = "(pid " + std::to_string(::getpid()) + ")";
    ASSERT_EQ(d.holders.size(), 1u);
    EXPECT_NE(d.holders[0].find(me), std::string::npos) << d.holders[0];
    EXPECT_NE(FixLine(d, system, language).find("Fix: close test_pipelink " + me), std::string::npos)
        << FixLine(d, system, language);
}

TEST_F(CableDoctor, TheTransfersNoPermissionAndBusyMessagesEndWithTheFixAndTheDoctor) {
    const std::string refused = LinkTroubleText(LinkError::kNoPermission, system, language);
    EXPECT_EQ(refused,
              "The programming cable was found, but you are not allowed to use it.\n"
              "Fix: install the cable's udev rule: sudo install -m 644 " +
                  std::string(VRM_BIN_DIR) +
                  "/60-vrm650t-cable.rules /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm "
                  "trigger --subsystem-match=usb\n"
                  "Run `vrm650t-cli doctor` for details.");
    const std::string busy = LinkTroubleText(LinkError::kBusy, system, language);
    EXPECT_EQ(busy,
              "The programming cable is in use by another program.\n"
              "Fix: close the other program that uses the cable, then try again.\n"
              "Run `vrm650t-cli doctor` for details.");
    EXPECT_EQ(LinkTroubleText(LinkError::kNoCable, system, language), language.TextString(LinkErrorText(LinkError::kNoCable)));
}

}  // namespace
}  // namespace vrm
