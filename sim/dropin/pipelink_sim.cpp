// The simulated radio's drop-in libpipelink.so: the same exports as the real
// transport library, answered by a SimulatedRadio. Put its folder first on
// LD_LIBRARY_PATH and the program talks to the simulated radio instead of a
// cable.
//
// Environment, read at every WinUSB_init:
//   VRM650T_SIM_STATE   the radio's state file (created when missing)
//   VRM650T_SIM_FAULTS  faults to show in this session (sim/sim_faults.h)
//   VRM650T_SIM_BAUD    bits per second on the radio's serial side; each byte
//                       then takes its time on the wire (0 or unset: none)
//
// As a cable can be held by one program at a time, a session holds a lock on
// "<state file>.lock" from WinUSB_init to WinUSB_Delete (or the end of the
// process); a second program's WinUSB_init is refused with PIPELINK_BUSY.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/base/clock.h"
#include "pipelink/pipelink.h"
#include "sim/sim_faults.h"
#include "sim/sim_state.h"
#include "sim/simulated_link.h"
#include "sim/simulated_radio.h"

#define PIPELINK_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct DropIn {
    vrm::SimulatedRadio radio;
    vrm::SimulatedLink link{radio, vrm::SystemClock::Instance()};
    std::string path;
    int lastError = PIPELINK_OK;
    int lockFd = -1;
};

DropIn& Sim() {
    static DropIn sim;
    return sim;
}

// Diagnostics for whoever runs the simulator; the program itself only sees
// the results and PipelinkLastError.
void Warn(const std::string& what) { std::fprintf(stderr, "libpipelink (simulated radio): %s\n", what.c_str()); }

bool LoadRadio() {
    DropIn& s = Sim();
    s.path = vrm::DefaultSimStatePath();
    std::string error;
    if (!vrm::LoadOrCreateSimState(s.path, s.radio, &error)) {
        Warn(error);
        s.lastError = PIPELINK_USB_ERROR;
        return false;
    }
    return true;
}

vrm::SimFaults FaultsFromEnvironment() {
    vrm::SimFaults faults;
    const char* env = std::getenv("VRM650T_SIM_FAULTS");
    if (!env || !*env) return faults;
    std::string error;
    if (!vrm::ParseSimFaults(env, faults, &error)) Warn("VRM650T_SIM_FAULTS: not understood: " + error);
    return faults;
}

std::uint32_t BaudFromEnvironment() {
    const char* env = std::getenv("VRM650T_SIM_BAUD");
    if (!env || !*env) return 0;
    char* end = nullptr;
    const unsigned long v = std::strtoul(env, &end, 10);
    if (*end != '\0' || v > 10'000'000UL) {
        Warn(std::string("VRM650T_SIM_BAUD: not a rate: ") + env);
        return 0;
    }
    return static_cast<std::uint32_t>(v);
}

// Takes the radio for this session; false (with the error set) when another
// program holds it.
bool Hold() {
    DropIn& s = Sim();
    if (s.lockFd >= 0) return true;
    const std::string lockPath = vrm::DefaultSimStatePath() + ".lock";
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        // A folder that is missing is created with the state file; without a
        // lock file the session still runs, as it did before locks.
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        s.lastError = errno == EWOULDBLOCK ? PIPELINK_BUSY : PIPELINK_USB_ERROR;
        return false;
    }
    s.lockFd = fd;
    return true;
}

void Release() {
    DropIn& s = Sim();
    if (s.lockFd < 0) return;
    ::close(s.lockFd);  // closing the descriptor drops the lock
    s.lockFd = -1;
}

void Save() {
    DropIn& s = Sim();
    std::string error;
    if (!vrm::SaveSimState(s.path, s.radio, &error)) Warn(error);
}

}  // namespace

PIPELINK_EXPORT PipelinkBool GetDevicePath(const PipelinkGuid* interfaceClass, char* out, uint32_t size) {
    (void)interfaceClass;
    if (!out || size == 0) return 0;
    const std::string path = "simulated:" + vrm::DefaultSimStatePath();
    if (path.size() + 1 > size) return 0;
    std::memcpy(out, path.c_str(), path.size() + 1);
    return 1;
}

PIPELINK_EXPORT PipelinkHandle OpenDevice(const PipelinkGuid* interfaceClass, uint32_t unused) {
    (void)interfaceClass;
    (void)unused;
    if (!LoadRadio()) return PIPELINK_INVALID_HANDLE;
    return reinterpret_cast<PipelinkHandle>(&Sim());
}

PIPELINK_EXPORT PipelinkBool WinUSB_init(void) {
    DropIn& s = Sim();
    s.lastError = PIPELINK_OK;
    s.link.Delete();
    // Held before the state is loaded, so that what is loaded is what the
    // last session left.
    if (!Hold() || !LoadRadio()) return 0;
    s.link.SetFaults(FaultsFromEnvironment());
    s.link.SetBaud(BaudFromEnvironment());
    s.link.SetOnChange(Save);
    s.radio.AppendLog("session");
    Save();
    const auto& log = s.radio.Log();
    s.link.SetNextSession(static_cast<std::uint32_t>(std::count(log.begin(), log.end(), std::string("session"))));
    return s.link.Init();
}

PIPELINK_EXPORT PipelinkBool WinUSB_Delete(void) {
    Release();
    return Sim().link.Delete();
}

PIPELINK_EXPORT PipelinkBool WinUSB_Send(const uint8_t* data, uint32_t length) {
    if (!data && length) return 0;
    return Sim().link.Send(data, length);
}

PIPELINK_EXPORT PipelinkBool WinUSB_Recv(uint8_t* dst, uint32_t* count) { return Sim().link.Recv(dst, count); }

PIPELINK_EXPORT PipelinkBool WinUSB_TimeOutSet(uint32_t ms) { return Sim().link.TimeOutSet(ms); }

PIPELINK_EXPORT int PipelinkLastError(void) {
    const DropIn& s = Sim();
    return s.lastError != PIPELINK_OK ? s.lastError : s.link.LastError();
}
